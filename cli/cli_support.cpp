// Helpers shared by the subcommands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/commands.h"
#include "preset/parse_preset.h"

namespace txcli {

namespace {
std::string& InvocationDir() {
  static std::string dir;
  return dir;
}
}  // namespace

void SetInvocationDir(const std::string& dir) { InvocationDir() = dir; }

std::string InputPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty() || fs::path(path).is_absolute() || fs::exists(path, ec) || InvocationDir().empty()) return path;
  fs::path there = fs::path(InvocationDir()) / path;
  return fs::exists(there, ec) ? there.string() : path;
}

namespace {
bool LoadPresetFile(const std::string& path, std::string& content) {
  content.clear();
  std::string reason;
  std::FILE* f = std::fopen(InputPath(path).c_str(), "rb");
  if (!f) {
    reason = std::strerror(errno);
  } else {
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) content.append(chunk, n);
    // A directory opens but cannot be read (EISDIR).
    const bool failed = std::ferror(f);
    const int error = errno;
    std::fclose(f);
    if (failed)
      reason = std::strerror(error);
    else if (content.empty())
      reason = "the file is empty";
  }
  if (reason.empty()) return true;
  std::fprintf(stderr, "tonalyx-cli: cannot read '%s': %s\n", path.c_str(), reason.c_str());
  return false;
}
}  // namespace

int ReadPresetFile(const std::string& path, tx::CurrentPreset& preset) {
  std::string content;
  if (!LoadPresetFile(path, content)) return EXIT_UNREADABLE;
  return tx::ParsePreset(tx::FitPresetBuffer(content), preset) ? EXIT_OK : EXIT_FAILED;
}

}  // namespace txcli
