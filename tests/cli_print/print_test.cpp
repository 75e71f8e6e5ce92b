// tonalyx-cli print: the Preset Report through the printing path, to a PDF
// file read back with pdftotext, and the refusals with their reasons.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
};

Result Sh(const std::string& command) {
  Result r;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class CliPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(TONALYX_SOURCE_DIR) / "Masters", dir.path() / "Masters", fs::copy_options::recursive);
    fs::copy(fs::path(TONALYX_SOURCE_DIR) / "assets", dir.path() / "assets", fs::copy_options::recursive);
    ASSERT_EQ(Cli("refresh").status, 0);
  }
  Result Cli(const std::string& args, const std::string& env = {}) {
    return Sh(env + std::string(TONALYX_CLI) + " --workdir '" + dir.path().string() + "' " + args);
  }
  std::string Sample(const std::string& name) { return std::string(TONALYX_SOURCE_DIR) + "/examples/" + name; }
  txtest::TempDir dir;
};

TEST_F(CliPrintTest, ChosenPagesArePrintedOnThePaperOfTheReport) {
  if (Sh("command -v pdftotext && command -v pdfinfo").status != 0) GTEST_SKIP() << "poppler-utils missing";
  const std::string pdf = dir.file("printed.pdf");
  // Run as by a tool, without a session's runtime directory: the console
  // carries our own lines only, and nothing is left in the temporary directory.
  fs::create_directory(dir.file("tmp"));
  const Result r = Cli("print --output '" + pdf + "' --pages 1,3 '" + Sample("gen2_clean_chorus.syx") + "'",
                       "env -u XDG_RUNTIME_DIR TMPDIR='" + dir.file("tmp") +
                           "' LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" ");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "tonalyx-cli: print: 2 pages sent to '" + pdf + "'\n");
  EXPECT_TRUE(fs::is_empty(dir.file("tmp")));
  const Result info = Sh("pdfinfo '" + pdf + "'");
  EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("612 x 792 pts (letter)"), std::string::npos) << info.out;
  const Result text = Sh("pdftotext -layout '" + pdf + "' -");
  EXPECT_NE(text.out.find("Clean Chorus"), std::string::npos);
  EXPECT_NE(text.out.find("Compressor 1"), std::string::npos);  // page 1
  // Pages 1 and 3, page 2 left out.
  const std::regex footer(R"(Page:\s+(\d+))");
  std::string numbers;
  for (auto it = std::sregex_iterator(text.out.begin(), text.out.end(), footer); it != std::sregex_iterator(); ++it)
    numbers += (*it)[1].str() + " ";
  EXPECT_EQ(numbers, "1 3 ");
}

TEST_F(CliPrintTest, RefusalsSayWhy) {
  Result r = Cli("print --printer 'No Such Printer' '" + Sample("gen1_wah_trem.syx") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("unknown printer 'No Such Printer'"), std::string::npos) << r.out;
  if (Sh("lpstat -d 2>/dev/null | grep -q 'system default destination'").status != 0) {
    r = Cli("print '" + Sample("gen1_wah_trem.syx") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("print: no"), std::string::npos) << r.out;
  }
  r = Cli("print --output '" + dir.file("none.pdf") + "' --pages 9-3 '" + Sample("gen1_wah_trem.syx") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no page to print"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(dir.file("none.pdf")));
  EXPECT_EQ(Cli("print").status, 2);
  EXPECT_EQ(Cli("print --printer P --output x.pdf '" + Sample("gen1_wah_trem.syx") + "'").status, 2);
  EXPECT_EQ(Cli("print --output '" + dir.file("x.pdf") + "' missing.syx").status, 3);
  // Printing goes through the desktop program beside tonalyx-cli.
  fs::copy_file(TONALYX_CLI, dir.file("tonalyx-cli"));
  r = Sh("'" + dir.file("tonalyx-cli") + "' --workdir '" + dir.path().string() + "' print --output '" +
         dir.file("x.pdf") + "' '" + Sample("gen1_wah_trem.syx") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("print: printing needs the desktop program '" + dir.file("tonalyx") + "'"), std::string::npos)
      << r.out;
}

TEST(CliWithoutQt, OnlyThePrintServiceLoadsQt) {
  // Every command starts without loading Qt; print hands its pages over.
  const Result ldd = Sh("ldd '" + std::string(TONALYX_CLI) + "'");
  ASSERT_EQ(ldd.status, 0) << ldd.out;
  EXPECT_EQ(ldd.out.find("libQt"), std::string::npos) << ldd.out;
}

}  // namespace
