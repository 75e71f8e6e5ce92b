#include "platform/qt/runtime_dir.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tx {

namespace {

struct OwnRuntimeDir {
  std::string path;
  OwnRuntimeDir() = default;
  OwnRuntimeDir(const OwnRuntimeDir&) = delete;
  OwnRuntimeDir& operator=(const OwnRuntimeDir&) = delete;
  ~OwnRuntimeDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

void EnsureRuntimeDir() {
  static OwnRuntimeDir own;
  const char* given = std::getenv("XDG_RUNTIME_DIR");
  if ((given && *given) || !own.path.empty()) return;
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  std::string name = (temp / "tonalyx-runtime-XXXXXX").string();
  // mkdtemp makes it 0700, as the runtime directory must be. Should it fail,
  // Qt falls back on its own directory and says so.
  if (!mkdtemp(name.data())) return;
  own.path = name;
  setenv("XDG_RUNTIME_DIR", own.path.c_str(), 1);
}

}  // namespace tx
