#include "app/working_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "devicedefs/loader.h"
#include "devicedefs/tables.h"

namespace tx {

namespace fs = std::filesystem;

namespace {

fs::path ProgramDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

bool HasPictures(const fs::path& dir) {
  std::error_code ec;
  return fs::exists(dir / "assets" / "block_block.bmp", ec);
}

// Copies the files under `from` that `to` lacks; returns how many.
long CopyMissing(const fs::path& from, const fs::path& to, std::error_code& ec) {
  long copied = 0;
  if (!fs::is_directory(from, ec)) return 0;
  for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path target = to / fs::relative(it->path(), from, ec);
    if (ec) return copied;
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
    } else if (it->is_regular_file(ec) && !fs::exists(target, ec)) {
      fs::create_directories(target.parent_path(), ec);
      if (fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec)) ++copied;
    }
    if (ec) return copied;
  }
  return copied;
}

}  // namespace

std::string DefaultWorkDir() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return (fs::path(data) / "tonalyx").string();
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  return (fs::path(home) / ".local" / "share" / "tonalyx").string();
}

std::string ShippedDataDir() {
  const fs::path installed = ProgramDir().parent_path() / TONALYX_DATA_SUBDIR;
  if (HasPictures(installed)) return installed.string();
  if (HasPictures(TONALYX_SOURCE_DATA)) return TONALYX_SOURCE_DATA;
  return {};
}

std::string UiPicture(const std::string& name) {
  std::error_code ec;
  const fs::path own = fs::path("assets") / "ui" / name;
  if (fs::exists(own, ec)) return own.string();
  const std::string shipped = ShippedDataDir();
  if (shipped.empty()) return {};
  const fs::path there = fs::path(shipped) / "assets" / "ui" / name;
  return fs::exists(there, ec) ? there.string() : std::string();
}

std::string EnterWorkDir(const std::string& dir) {
  std::error_code ec;
  fs::current_path(dir, ec);
  return ec ? "cannot use working directory '" + dir + "': " + ec.message() : std::string();
}

WorkDirSetup PrepareUserWorkDir(const std::string& dir, const std::string& shipped) {
  WorkDirSetup setup;
  std::error_code ec;
  if (dir.empty()) {
    setup.error = "no working directory: neither XDG_DATA_HOME nor HOME is set";
    return setup;
  }
  setup.created = !fs::exists(dir, ec);
  fs::create_directories(dir, ec);
  if (ec) {
    setup.error = "cannot create working directory '" + dir + "': " + ec.message();
    return setup;
  }
  if (!shipped.empty()) {
    setup.copied += CopyMissing(fs::path(shipped) / "assets", fs::path(dir) / "assets", ec);
    for (const char* gen : {"Gen1", "Gen2"})
      for (const char* file : {"default.axeml", "default.profile"}) {
        const fs::path from = fs::path(shipped) / "Masters" / gen / file;
        const fs::path to = fs::path(dir) / "Masters" / gen / file;
        if (!fs::exists(from, ec) || fs::exists(to, ec)) continue;
        fs::create_directories(to.parent_path(), ec);
        if (fs::copy_file(from, to, fs::copy_options::skip_existing, ec)) ++setup.copied;
      }
  }
  if (std::string error = EnterWorkDir(dir); !error.empty()) {
    setup.error = error;
    return setup;
  }
  // Without tables every preset would decode to nothing: the definitions
  // just put in place are imported once, as an administrator's Refresh would.
  if (!fs::exists("efx.mdl", ec) && fs::exists(kGen2Layout, ec)) {
    ImportDefinitions(Tables());
    setup.imported = true;
  }
  return setup;
}

}  // namespace tx
