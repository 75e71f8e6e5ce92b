#pragma once
// The options of every command that writes a PDF:
//   --password PW | --password=PW       encrypt, opening only with PW
//   --password-file FILE | =FILE        the same, PW being FILE's first line
//   --no-compress                       streams written as they are
//   --embed-fonts                       the TrueType fonts carried in the PDF
// An empty password is a usage error (it would silently leave the document
// open); a password longer than 32 bytes counts by its first 32 only, which
// the user is told.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace txcli {

struct PdfOptions {
  std::optional<std::string> password;
  std::optional<std::string> passwordFile;
  bool compress = true;
  bool embedFonts = false;
};

// When args[i] is one of the options above, takes it (and its value, moving
// i past it) and returns EXIT_OK; returns -1 when it is not; EXIT_USAGE
// after the usage message.
int TakePdfOption(const std::vector<std::string>& args, size_t& i, PdfOptions& options, std::string_view command);

// After the options: reads the password file and checks the password.
// EXIT_OK, or EXIT_USAGE after the message.
int FinishPdfOptions(PdfOptions& options, std::string_view command);

}  // namespace txcli
