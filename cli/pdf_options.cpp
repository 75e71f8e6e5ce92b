#include "cli/pdf_options.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace txcli {

namespace {

// The PDF standard security handler pads or cuts every password to 32 bytes.
constexpr size_t kPasswordBytes = 32;

// Takes "--name VALUE" or "--name=VALUE"; false when args[i] is neither.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::optional<std::string>& value, bool& missing) {
  const std::string& a = args[i];
  missing = false;
  if (a == name) {
    if (i + 1 >= args.size()) {
      missing = true;
      return true;
    }
    value = args[++i];
    return true;
  }
  if (a.rfind(name + "=", 0) == 0) {
    value = a.substr(name.size() + 1);
    return true;
  }
  return false;
}

}  // namespace

int TakePdfOption(const std::vector<std::string>& args, size_t& i, PdfOptions& options, std::string_view command) {
  const std::string prefix = std::string(command) + ": ";
  if (args[i] == "--no-compress") {
    options.compress = false;
    return EXIT_OK;
  }
  if (args[i] == "--embed-fonts") {
    options.embedFonts = true;
    return EXIT_OK;
  }
  bool missing = false;
  if (TakeValue(args, i, "--password", options.password, missing)) {
    if (missing) return UsageError(prefix + "--password needs a password");
    if (options.password->empty()) return UsageError(prefix + "--password must not be empty");
    return EXIT_OK;
  }
  if (TakeValue(args, i, "--password-file", options.passwordFile, missing)) {
    if (missing) return UsageError(prefix + "--password-file needs a file");
    return EXIT_OK;
  }
  return -1;
}

int FinishPdfOptions(PdfOptions& options, std::string_view command) {
  const std::string prefix = std::string(command) + ": ";
  if (options.passwordFile) {
    if (options.password) return UsageError(prefix + "give --password or --password-file, not both");
    const std::string& file = *options.passwordFile;
    std::FILE* f = std::fopen(InputPath(file).c_str(), "rb");
    if (!f) return UsageError(prefix + "cannot read the password file '" + file + "': " + std::strerror(errno));
    std::string line;
    // The first line only; a password file holds nothing else of interest.
    for (int c; line.size() < 4096 && (c = std::fgetc(f)) != EOF && c != '\n';) line.push_back(static_cast<char>(c));
    const bool failed = std::ferror(f);
    const int error = errno;
    std::fclose(f);
    if (failed) return UsageError(prefix + "cannot read the password file '" + file + "': " + std::strerror(error));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return UsageError(prefix + "the first line of the password file '" + file + "' is empty");
    options.password = line;
  }
  if (options.password && options.password->size() > kPasswordBytes)
    std::fprintf(stderr,
                 "tonalyx-cli: warning: the password is %zu bytes long; only its first %zu bytes protect the PDF, "
                 "and they alone open it\n",
                 options.password->size(), kPasswordBytes);
  return EXIT_OK;
}

}  // namespace txcli
