// pages2pdf: turns saved report pages (page metafiles) into one PDF file, the
// way a report run writes its PDF, outside a report run.
//
// The document is written to a temporary file beside OUT.pdf and renamed
// only once it is complete, so a failed run leaves no half-written PDF and an
// existing OUT.pdf untouched.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
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
    if (entry.FATALITY == tx::LEVEL_BENIGN || entry.FATALITY == tx::LEVEL_NOTIFY) return entry.FATALITY;
    return tx::LEVEL_FATAL;
  }
  int shown = 0;
};

// The generator's file messages, naming the output file rather than the
// temporary one it really writes.
class ConsolePdfGenerator : public tx::PDFGenerator {
 public:
  ConsolePdfGenerator(std::string temporary, std::string target)
      : temporary_(std::move(temporary)), target_(std::move(target)) {}
  int shown = 0;

 protected:
  void ShowMessage(std::string_view title, std::string_view text) override {
    std::string s(text);
    for (size_t at = s.find(temporary_); at != std::string::npos; at = s.find(temporary_, at + target_.size()))
      s.replace(at, temporary_.size(), target_);
    for (char& c : s)
      if (c == '|') c = ' ';
    std::fprintf(stderr, "tonalyx-cli: %.*s: %s\n", static_cast<int>(title.size()), title.data(), s.c_str());
    ++shown;
  }

 private:
  std::string temporary_, target_;
};

int Run(const std::vector<std::string>& args) {
  std::string password;
  bool encrypt = false, compress = true;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--password") {
      if (i + 1 >= args.size()) return txcli::UsageError("--password needs a password");
      password = args[++i];
      encrypt = true;
    } else if (a.rfind("--password=", 0) == 0) {
      password = a.substr(11);
      encrypt = true;
    } else if (a == "--no-compress") {
      compress = false;
    } else if (a == "--") {
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
  for (std::string& page : pages) page = txcli::InputPath(page);

  // The temporary file sits in the target's directory so the rename stays on one file system.
  std::filesystem::path targetPath(target);
  std::string temporary = (targetPath.parent_path() / ("." + targetPath.filename().string() + ".XXXXXX")).string();
  if (targetPath.filename().empty()) {
    std::fprintf(stderr, "tonalyx-cli: Target OpenFile: Can't create target file %s\n", target.c_str());
    return txcli::EXIT_FAILED;
  }
  int fd = mkstemp(temporary.data());
  if (fd < 0) {
    int err = errno;
    std::fprintf(stderr, "tonalyx-cli: Target OpenFile: ERROR:(%d) %s Can't create target file %s\n", err,
                 std::strerror(err), target.c_str());
    return txcli::EXIT_FAILED;
  }
  // mkstemp makes the file private; the document gets the usual permissions.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);

  ConsoleErrors errors;
  ConsolePdfGenerator generator(temporary, target);
  generator.Init(temporary);
  generator.COMPRESSTEXT = generator.COMPRESSIMAGES = compress ? 1 : 0;
  if (encrypt) {
    generator.ENCRYPT = 1;
    generator.PASSWORD = password;
  }
  tx::WMFParser parser;
  parser.Init(&pages, &generator, &errors);
  uint8_t result = parser.Run(false);

  std::error_code ec;
  if (result == 0) {
    std::filesystem::rename(temporary, target, ec);
    if (!ec) return txcli::EXIT_OK;
    std::fprintf(stderr, "tonalyx-cli: Target CloseFile: ERROR:(%d) %s Can't create target file %s\n", ec.value(),
                 ec.message().c_str(), target.c_str());
  } else if (errors.shown == 0 && generator.shown == 0) {
    std::fprintf(stderr, "tonalyx-cli: Target CloseFile: Can't write target file %s\n", target.c_str());
  }
  std::filesystem::remove(temporary, ec);
  return txcli::EXIT_FAILED;
}

txcli::Registration reg({"pages2pdf", "[--password PW] [--no-compress] OUT.pdf PAGE.wmf...",
                         "write report page metafiles as one PDF document", Run});

}  // namespace
