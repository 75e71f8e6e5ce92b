#include <gtest/gtest.h>

#include "platform/toolkit/console_toolkit.h"

namespace {

TEST(CommandLine, FlagsMatchAsGiven) {
  const char* argv[] = {"tonalyx", "/ADMIN", "preset.syx"};
  tx::CommandLine cl = tx::CommandLine::FromMain(3, argv);
  EXPECT_TRUE(cl.Has("/ADMIN"));
  EXPECT_FALSE(cl.Has("/admin"));  // case as given
  EXPECT_FALSE(cl.Has("/DrawDebug"));
  EXPECT_FALSE(cl.Has("tonalyx"));  // the program name is not an argument
  EXPECT_FALSE(cl.Has(""));
  ASSERT_EQ(cl.Args().size(), 2u);
}

TEST(CommandLine, GnuAliasesAreAccepted) {
  tx::CommandLine cl({"--admin", "--draw-debug"});
  EXPECT_TRUE(cl.Has("/ADMIN"));
  EXPECT_TRUE(cl.Has("/DrawDebug"));
  EXPECT_FALSE(cl.Has("/Draw"));
  tx::CommandLine wrong({"--drawdebug", "-admin", "/ADMINX"});
  EXPECT_FALSE(wrong.Has("/DrawDebug"));
  EXPECT_FALSE(wrong.Has("/ADMIN"));
}

TEST(CommandLine, AliasOfFlagNames) {
  EXPECT_EQ(tx::CommandLine::GnuAlias("/ADMIN"), "--admin");
  EXPECT_EQ(tx::CommandLine::GnuAlias("/DrawDebug"), "--draw-debug");
  EXPECT_EQ(tx::CommandLine::GnuAlias("--admin"), "");
  EXPECT_EQ(tx::CommandLine::GnuAlias("/"), "");
}

TEST(CommandLine, ToolkitAnswersForItsProgram) {
  tx::ConsoleToolkit tk(nullptr);
  EXPECT_FALSE(tk.HasFlag("/ADMIN"));
  tk.SetCommandLine({"/DrawDebug"});
  EXPECT_TRUE(tk.HasFlag("/DrawDebug"));
  EXPECT_FALSE(tk.HasFlag("/ADMIN"));
}

}  // namespace
