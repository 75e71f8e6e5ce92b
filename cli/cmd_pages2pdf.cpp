// pages2pdf: turns saved report pages (page metafiles) into one PDF file, the
// way a report run writes its PDF, outside a report run. The PDF writer puts
// the document in place only once it is complete, so a failed run leaves no
// half-written PDF and an existing OUT.pdf untouched.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/pdf_options.h"
#include "pdf/pdf_generator.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"

namespace {

// Messages go to stderr instead of a window, and never end the program: the
// level goes back to the parser, which ends the run.
class ConsoleErrors : public tx::ErrorManager {
 public:
  int Raise(uint16_t id) override {
    SetErrors();  // %ErrorText names the failure that led here
    SetId(id);
    const tx::MessageEntry& entry = Current();
    std::fprintf(stderr, "tonalyx-cli: %s: %s\n", entry.TITLE.c_str(), FilledMessage().c_str());
    ++shown;
    if (entry.FATALITY == tx::MessageLevel::Silent) return tx::Level::Done;
    if (entry.FATALITY == tx::MessageLevel::Notice) return tx::Level::NotDone;
    return tx::Level::Fatal;
  }
  int shown = 0;
};

// The generator's file messages, one line each.
class ConsolePdfGenerator : public tx::PDFGenerator {
 public:
  int shown = 0;

 protected:
  void ShowMessage(std::string_view title, std::string_view text) override {
    std::string s(text);
    for (char& c : s)
      if (c == '|') c = ' ';
    std::fprintf(stderr, "tonalyx-cli: %.*s: %s\n", static_cast<int>(title.size()), title.data(), s.c_str());
    ++shown;
  }
};

int Run(const std::vector<std::string>& args) {
  txcli::PdfOptions pdf;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    const int taken = txcli::TakePdfOption(args, i, pdf, "pages2pdf");
    if (taken == txcli::EXIT_OK) continue;
    if (taken != -1) return taken;
    if (a == "--") {
      ++i;
      break;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("pages2pdf: unknown option '" + a + "'");
    } else {
      break;
    }
  }
  if (i >= args.size()) return txcli::UsageError("pages2pdf needs the output file and at least one page file");
  const std::string target = args[i++];
  std::vector<std::string> pages(args.begin() + static_cast<long>(i), args.end());
  if (pages.empty()) return txcli::UsageError("pages2pdf needs at least one page file");
  if (const int finished = txcli::FinishPdfOptions(pdf, "pages2pdf"); finished != txcli::EXIT_OK) return finished;
  for (std::string& page : pages) page = txcli::InputPath(page);

  ConsoleErrors errors;
  ConsolePdfGenerator generator;
  generator.Init(target);
  generator.SetCompression(pdf.compress, pdf.compress);
  generator.SetEmbedFonts(pdf.embedFonts);
  if (pdf.password) generator.SetPassword(*pdf.password);
  tx::WMFParser parser;
  parser.Init(&pages, &generator, &errors);
  if (parser.Run(false) == tx::Level::Done) return txcli::EXIT_OK;
  if (errors.shown == 0 && generator.shown == 0)
    std::fprintf(stderr, "tonalyx-cli: pages2pdf: the document could not be finished; %s was not written\n",
                 target.c_str());
  return txcli::EXIT_FAILED;
}

txcli::Registration reg({"pages2pdf", "[--password PW | --password-file FILE] [--no-compress] [--embed-fonts] OUT.pdf PAGE.wmf...",
                         "write report page metafiles as one PDF document", Run});

}  // namespace
