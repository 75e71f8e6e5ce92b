// pdf: a preset file's Preset Report as a PDF, made the way "Print PDF" makes
// it: the preset is decoded, its block image drawn into "tmp01.png", and the
// report run through the report manager and the preview, with the console
// answering the preview's "Save As" and the save dialog, then leaving it.
//
// The PDF writer puts the document in place only once it is complete: a
// failed run leaves no OUT.pdf, and an existing one as it was.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/line_console.h"
#include "cli/pdf_options.h"
#include "devicedefs/tables.h"
#include "outputs/preset_report.h"
#include "platform/toolkit/console_toolkit.h"
#include "report/print_preview.h"
#include "services/settings.h"

namespace {

using txcli::ToolkitScope;

int Run(const std::vector<std::string>& args) {
  txcli::PdfOptions pdf;
  bool quiet = false;
  std::vector<std::string> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const int taken = txcli::TakePdfOption(args, i, pdf, "pdf");
    if (taken == txcli::EXIT_OK) continue;
    if (taken != -1) return taken;
    if (a == "--quiet") {
      quiet = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("pdf: unknown option '" + a + "'");
    } else {
      paths.push_back(a);
    }
  }
  if (paths.size() != 2) return txcli::UsageError("pdf needs a preset file and an output file");
  if (const int finished = txcli::FinishPdfOptions(pdf, "pdf"); finished != txcli::EXIT_OK) return finished;

  const std::string& target = paths[1];
  txcli::LineConsole console;
  ToolkitScope scope(console);
  if (!quiet) console.SetProgressOutput(&std::cerr, isatty(STDERR_FILENO) == 1);

  tx::CurrentPreset& preset = tx::Current();
  if (const int prepared = txcli::PrepareReport(paths[0], preset); prepared != txcli::EXIT_OK) return prepared;
  tx::TableSet& t = tx::Tables();

  // The preview's "Save As" (the PDF writer being the only target, no choice
  // is offered), the save dialog's answer, then Exit. The dialog completes a
  // name without an extension with ".PDF"; a name given here is taken as it
  // stands, so such a one goes to the writer directly.
  const bool bareName = std::filesystem::path(target).filename().string().find('.') == std::string::npos;
  if (!bareName) console.QueueFilePath(target);
  console.QueueWindowEvent(tx::Event{tx::EventKind::Accepted, tx::PREVIEW_MENU_SAVE_AS}, "Report Preview");
  console.QueueWindowEvent(tx::Event{tx::EventKind::Accepted, tx::PREVIEW_MENU_EXIT}, "Report Preview");

  tx::SettingsManager noSettings;  // window positions mean nothing here
  bool written = false;
  tx::PresetReportOptions options;
  options.toolkit = &console;
  options.settings = &noSettings;
  options.compress = pdf.compress;
  options.password = pdf.password;
  if (bareName) options.targetName = target;
  options.embedFonts = pdf.embedFonts;
  options.filesWritten = [&](const std::vector<std::string>& files) {
    for (const std::string& f : files) written = written || f == target;
  };
  tx::PresetReport(options);
  t.MXPreset.Close();

  if (written) return txcli::EXIT_OK;
  if (console.shown == 0) std::fprintf(stderr, "tonalyx-cli: no PDF was written to '%s'\n", target.c_str());
  return txcli::EXIT_FAILED;
}

txcli::Registration reg({"pdf", "[--password PW | --password-file FILE] [--no-compress] [--embed-fonts] [--quiet] PRESET.syx OUT.pdf",
                         "write a preset's Preset Report as a PDF document", Run});

}  // namespace
