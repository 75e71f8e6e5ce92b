#include "platform/toolkit/command_line.h"

#include <cctype>

namespace tx {

CommandLine CommandLine::FromMain(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
  return CommandLine(std::move(args));
}

std::string CommandLine::GnuAlias(std::string_view flag) {
  if (flag.size() < 2 || flag[0] != '/') return {};
  std::string alias = "--";
  for (size_t i = 1; i < flag.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(flag[i]);
    // A capital that follows a small letter starts a new word: DrawDebug -> draw-debug.
    if (std::isupper(c) && i > 1 && std::islower(static_cast<unsigned char>(flag[i - 1]))) alias += '-';
    alias += static_cast<char>(std::tolower(c));
  }
  return alias;
}

bool CommandLine::Has(std::string_view flag) const {
  if (flag.empty()) return false;
  std::string alias = GnuAlias(flag);
  for (const std::string& a : args_) {
    if (a == flag) return true;
    if (!alias.empty() && a == alias) return true;
  }
  return false;
}

}  // namespace tx
