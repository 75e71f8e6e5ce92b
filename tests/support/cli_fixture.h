#pragma once
// Tests of tonalyx-cli as a user runs it: a working directory refreshed from
// the shipped Masters once per suite, each test with a scratch directory of
// its own (also the command's TMPDIR).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace txtest {

struct Shell {
  int status;
  std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// For the shell, whatever the text holds.
inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline bool Have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class CliFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    namespace fs = std::filesystem;
    work_ = new TempDir;
    fs::copy(fs::path(TONALYX_SOURCE_DIR) / "Masters", work_->path() / "Masters", fs::copy_options::recursive);
    fs::create_directory_symlink(fs::path(TONALYX_SOURCE_DIR) / "assets", work_->path() / "assets");
    ASSERT_EQ(std::system((Quote(TONALYX_CLI) + " --workdir " + Quote(work_->path()) + " refresh >/dev/null").c_str()),
              0);
  }
  static void TearDownTestSuite() {
    delete work_;
    work_ = nullptr;
  }
  void SetUp() override { std::filesystem::create_directory(scratch_.path() / "tmp"); }

  // Runs the command with its own temporary directory and stderr not a terminal.
  Shell Cli(const std::string& args, const std::filesystem::path& workdir = {}) {
    const std::string out = scratch_.file("stdout"), err = scratch_.file("stderr");
    const std::string command = "TMPDIR=" + Quote(scratch_.file("tmp")) + " " + Quote(TONALYX_CLI) + " --workdir " +
                                Quote(workdir.empty() ? work_->path() : workdir) + " " + args + " >" + Quote(out) +
                                " 2>" + Quote(err);
    const int st = std::system(command.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, Slurp(out), Slurp(err)};
  }
  // Another program; its stdout, and its stderr where `stderrTo` says
  // ("&1" to keep it with stdout).
  Shell Run(const std::string& command, const std::string& stderrTo) {
    const std::string out = scratch_.file("run.out");
    const int st = std::system((command + " >" + Quote(out) + " 2>" + stderrTo).c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, Slurp(out), {}};
  }
  static std::string Sample(const std::string& name) {
    return (std::filesystem::path(TONALYX_SOURCE_DIR) / "examples" / (name + ".syx")).string();
  }

  static inline TempDir* work_ = nullptr;
  TempDir scratch_;
};

}  // namespace txtest
