// print: a preset file's Preset Report sent to a printer, made the way "Print
// PDF" makes it and printed the way the preview's Print does, without a
// window: the console answers the preview ("Pages to Print" when --pages is
// given, then Print) and the pages go to the print service, which plays them
// onto the printer.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/line_console.h"
#include "cli/print_service.h"
#include "devicedefs/tables.h"
#include "outputs/preset_report.h"
#include "platform/toolkit/console_toolkit.h"
#include "report/print_preview.h"
#include "services/settings.h"

namespace {

constexpr const char* kPreview = "Report Preview";
constexpr const char* kPagesToPrint = "Pages to Print";
enum AskPagesControl : int { ASK_PAGES_ENTRY = 1, ASK_PAGES_OK = 3 };

// Messages as one line on stderr; the pages the preview prints go to the printer.
class PrintConsole : public tx::ConsoleToolkit {
 public:
  explicit PrintConsole(txcli::PrintService& service) : tx::ConsoleToolkit(nullptr), service_(service) {
    SetHaltExits(false);
  }
  unsigned MessageBox(const tx::MessageRequest& request) override {
    std::string text = request.text.substr(0, request.text.size() - std::min(request.promptLength, request.text.size()));
    for (char& c : text)
      if (c == '|' || c == '\n') c = ' ';
    std::fprintf(stderr, "tonalyx-cli: %s: %s\n", request.caption.c_str(), text.c_str());
    return tx::ConsoleToolkit::MessageBox(request);
  }
  bool PrintPages(const std::vector<std::string>& pageFiles, std::string_view jobName) override {
    asked = true;
    problem = service_.Print(pageFiles, jobName);
    pages = pageFiles.size();
    return problem.empty();
  }
  bool asked = false;
  size_t pages = 0;
  std::string problem;

 private:
  txcli::PrintService& service_;
};

int Fail(const std::string& reason) {
  std::fprintf(stderr, "tonalyx-cli: print: %s\n", reason.c_str());
  return txcli::EXIT_FAILED;
}

int Run(const std::vector<std::string>& args) {
  txcli::PrintTarget target;
  std::string pages;
  bool pagesGiven = false;
  std::vector<std::string> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == "--printer") {
      if (!value(target.printer) || target.printer.empty())
        return txcli::UsageError("print: --printer needs a printer name");
    } else if (a == "--pages") {
      if (!value(pages)) return txcli::UsageError("print: --pages needs a list such as 1-3,5");
      pagesGiven = true;
    } else if (a == "--output") {
      if (!value(target.pdfFile) || target.pdfFile.empty())
        return txcli::UsageError("print: --output needs a file name");
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("print: unknown option '" + a + "'");
    } else {
      paths.push_back(a);
    }
  }
  if (paths.size() != 1) return txcli::UsageError("print needs one preset file");
  if (!target.printer.empty() && !target.pdfFile.empty())
    return txcli::UsageError("print: --printer and --output exclude each other");
  // Before any work: a job nobody can take.
  txcli::PrintService service;
  if (std::string problem = service.Start(target); !problem.empty()) return Fail(problem);

  PrintConsole console(service);
  txcli::ToolkitScope scope(console);
  tx::CurrentPreset& preset = tx::Current();
  if (const int prepared = txcli::PrepareReport(paths[0], preset); prepared != txcli::EXIT_OK) return prepared;
  tx::TableSet& t = tx::Tables();

  // The preview as a user works it: the pages chosen, then Print.
  if (pagesGiven) {
    console.QueueWindowEvent(tx::Event{tx::EventKind::Accepted, tx::PREVIEW_MENU_PAGES}, kPreview);
    console.QueueControlText(ASK_PAGES_ENTRY, pages, kPagesToPrint);
    console.QueueWindowEvent(tx::Event{tx::EventKind::Accepted, ASK_PAGES_OK}, kPagesToPrint);
  }
  console.QueueWindowEvent(tx::Event{tx::EventKind::Accepted, tx::PREVIEW_MENU_PRINT}, kPreview);

  tx::SettingsManager noSettings;  // window positions mean nothing here
  tx::PresetReportOptions options;
  options.toolkit = &console;
  options.settings = &noSettings;
  tx::PresetReport(options);
  t.MXPreset.Close();

  if (!console.asked) return Fail("the report was not printed");
  if (!console.problem.empty()) return Fail(console.problem);
  std::fprintf(stderr, "tonalyx-cli: print: %zu page%s sent to %s\n", console.pages, console.pages == 1 ? "" : "s",
               !target.pdfFile.empty() ? ("'" + target.pdfFile + "'").c_str()
               : target.printer.empty() ? "the default printer"
                                        : ("printer '" + target.printer + "'").c_str());
  return txcli::EXIT_OK;
}

txcli::Registration reg({"print", "[--printer NAME | --output FILE.pdf] [--pages LIST] PRESET.syx",
                         "print a preset's Preset Report (LIST: pages such as 1-3,5; --output: to a PDF file)",
                         Run});

}  // namespace
