#pragma once
// A scratch directory for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>
#include <cstdlib>
#include <unistd.h>

namespace txtest {

class TempDir {
 public:
  TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
  // Under `root`: a memory file system, say, where syncing costs nothing.
  explicit TempDir(const std::filesystem::path& root) {
    std::string tmpl = (root / "tonalyx-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Runs a test body with the process working directory switched to `dir`,
// since the tables and settings are found relative to it.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~ScopedCwd() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
  }
 private:
  std::filesystem::path old_;
};

}  // namespace txtest
