// The desktop program's command line and its working directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/app_options.h"
#include "app/working_dir.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(AppOptions, FlagsTheirAliasesWorkdirAndPresetFiles) {
  const tx::AppOptions a = tx::ParseAppOptions({"/ADMIN", "/DrawDebug", "--workdir", "/tmp/w", "x.syx", "/data/y.syx"});
  EXPECT_TRUE(a.admin);
  EXPECT_TRUE(a.drawDebug);
  EXPECT_EQ(a.workdir, "/tmp/w");
  EXPECT_EQ(a.presets, (std::vector<std::string>{"x.syx", "/data/y.syx"}));
  EXPECT_TRUE(a.error.empty());
  const tx::AppOptions b = tx::ParseAppOptions({"--admin", "--draw-debug", "--workdir=w", "--", "--odd.syx"});
  EXPECT_TRUE(b.admin && b.drawDebug);
  EXPECT_EQ(b.workdir, "w");
  EXPECT_EQ(b.presets, (std::vector<std::string>{"--odd.syx"}));
  EXPECT_FALSE(tx::ParseAppOptions({}).admin);
  EXPECT_EQ(tx::ParseAppOptions({"--workdir"}).error, "--workdir needs a directory");
  EXPECT_EQ(tx::ParseAppOptions({"--workdir="}).error, "--workdir needs a directory");
  EXPECT_EQ(tx::ParseAppOptions({"--bogus"}).error, "unknown option '--bogus'");
}

TEST(WorkDir, TheUsersDataDirectoryUnderXdgDataHomeOrHome) {
  const char* oldData = std::getenv("XDG_DATA_HOME");
  const std::string keep = oldData ? oldData : "";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(tx::DefaultWorkDir(), "/srv/data/tonalyx");
  setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  setenv("HOME", "/home/guitarist", 1);
  EXPECT_EQ(tx::DefaultWorkDir(), "/home/guitarist/.local/share/tonalyx");
  if (oldData) setenv("XDG_DATA_HOME", keep.c_str(), 1); else unsetenv("XDG_DATA_HOME");
}

TEST(WorkDir, FirstStartCopiesTheShippedDataAndMakesTheTablesOnce) {
  txtest::TempDir dir;
  const fs::path old = fs::current_path();
  const std::string work = dir.file("share/tonalyx");
  const tx::WorkDirSetup first = tx::PrepareUserWorkDir(work, TONALYX_SOURCE_DIR);
  EXPECT_TRUE(first.error.empty()) << first.error;
  EXPECT_TRUE(first.created);
  EXPECT_TRUE(first.imported);
  EXPECT_EQ(fs::current_path(), fs::path(work));
  EXPECT_TRUE(fs::exists("assets/block_amp.bmp"));
  EXPECT_TRUE(fs::exists("assets/ui/tonalyx.png"));
  EXPECT_TRUE(fs::exists("Masters/Gen2/default.profile"));
  EXPECT_GT(fs::file_size("efx.mdl"), 0u);
  // The user's own pictures stay; nothing is imported twice.
  std::ofstream("assets/block_amp.bmp") << "mine";
  const tx::WorkDirSetup again = tx::PrepareUserWorkDir(work, TONALYX_SOURCE_DIR);
  EXPECT_FALSE(again.created);
  EXPECT_FALSE(again.imported);
  EXPECT_EQ(again.copied, 0);
  EXPECT_EQ(fs::file_size("assets/block_amp.bmp"), 4u);
  fs::current_path(old);
  EXPECT_FALSE(tx::EnterWorkDir(dir.file("missing")).empty());
  EXPECT_EQ(fs::current_path(), old);
}

}  // namespace
