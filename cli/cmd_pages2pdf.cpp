// pages2pdf: turns saved report pages (page metafiles) into one PDF file, the
// way a report run writes its PDF, outside a report run.
//
// The document is written to a temporary file beside OUT.pdf and renamed
// only once it is complete, so a failed run leaves no half-written PDF and an
// existing OUT.pdf untouched.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/pdf_options.h"
#include "cli/staged_file.h"
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

// The generator's file messages, naming the output file rather than the
// temporary one it really writes.
class ConsolePdfGenerator : public tx::PDFGenerator {
 public:
  explicit ConsolePdfGenerator(const txcli::StagedFile& output) : output_(output) {}
  int shown = 0;

 protected:
  void ShowMessage(std::string_view title, std::string_view text) override {
    std::string s = output_.Mention(std::string(text));
    for (char& c : s)
      if (c == '|') c = ' ';
    std::fprintf(stderr, "tonalyx-cli: %.*s: %s\n", static_cast<int>(title.size()), title.data(), s.c_str());
    ++shown;
  }

 private:
  const txcli::StagedFile& output_;
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

  txcli::StagedFile output(target);
  if (!output.Create()) return txcli::EXIT_FAILED;

  ConsoleErrors errors;
  ConsolePdfGenerator generator(output);
  generator.Init(output.Temporary());
  generator.COMPRESSTEXT = generator.COMPRESSIMAGES = pdf.compress ? 1 : 0;
  if (pdf.password) {
    generator.ENCRYPT = 1;
    generator.PASSWORD = *pdf.password;
  }
  tx::WMFParser parser;
  parser.Init(&pages, &generator, &errors);
  uint8_t result = parser.Run(false);

  if (result == tx::Level::Done) return output.Commit() ? txcli::EXIT_OK : txcli::EXIT_FAILED;
  if (errors.shown == 0 && generator.shown == 0)
    std::fprintf(stderr, "tonalyx-cli: Target CloseFile: Can't write target file %s\n", target.c_str());
  return txcli::EXIT_FAILED;
}

txcli::Registration reg({"pages2pdf", "[--password PW | --password-file FILE] [--no-compress] OUT.pdf PAGE.wmf...",
                         "write report page metafiles as one PDF document", Run});

}  // namespace
