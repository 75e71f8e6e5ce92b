// The programs' outputs on real files, byte for byte against tests/data: the
// sample presets decoded, exported and drawn after a Refresh of the sample
// definitions, and saved report pages made into PDF. A difference means an
// output changed; if it was meant to, `bash scripts/goldens.sh` rewrites the
// files and `git diff tests/data` shows what changed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = TONALYX_SOURCE_DIR;
const fs::path kGolden = kSource / "tests/data/golden";
const fs::path kPages = kSource / "tests/data/pages";

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Sh(const std::string& command) {
  int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

// Byte comparison that names the first differing offset instead of dumping both files.
void ExpectSameBytes(const fs::path& produced, const fs::path& golden) {
  const std::string got = Slurp(produced), want = Slurp(golden);
  ASSERT_FALSE(want.empty()) << golden << " is missing";
  if (got == want) return;
  size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  ADD_FAILURE() << produced.filename() << " differs from " << golden << " at byte " << at << " (sizes " << got.size()
                << " and " << want.size() << ")";
}

std::vector<fs::path> GoldenPages() {
  std::vector<fs::path> pages;
  for (const auto& e : fs::directory_iterator(kPages)) pages.push_back(e.path());
  std::sort(pages.begin(), pages.end());
  return pages;
}

class GoldenTest : public ::testing::Test {
 protected:
  // One Refresh of the sample definitions serves every test.
  static void SetUpTestSuite() {
    work_ = new txtest::TempDir;
    fs::copy(kSource / "Masters", work_->path() / "Masters", fs::copy_options::recursive);
    fs::copy(kSource / "assets", work_->path() / "assets", fs::copy_options::recursive);
    refreshed_ = Cli("refresh >/dev/null") == 0;
  }
  static void TearDownTestSuite() {
    delete work_;
    work_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(refreshed_); }

  static int Cli(const std::string& args) {
    return Sh(std::string(TONALYX_CLI) + " --workdir " + Quote(work_->path()) + " " + args);
  }

  static txtest::TempDir* work_;
  static bool refreshed_;
  txtest::TempDir out_;
};

txtest::TempDir* GoldenTest::work_ = nullptr;
bool GoldenTest::refreshed_ = false;

TEST_F(GoldenTest, SamplePresetsDecodeExportAndDrawAsBefore) {
  int presets = 0;
  for (const auto& e : fs::directory_iterator(kSource / "examples")) {
    if (e.path().extension() != ".syx") continue;
    ++presets;
    const std::string name = e.path().stem().string();
    SCOPED_TRACE(name);
    const fs::path json = out_.path() / (name + ".json"), xml = out_.path() / (name + ".xml"),
                   png = out_.path() / (name + ".png");
    ASSERT_EQ(Cli("decode --json " + Quote(e.path()) + " >" + Quote(json)), 0);
    ExpectSameBytes(json, kGolden / (name + ".json"));
    ASSERT_EQ(Cli("xml " + Quote(e.path()) + " " + Quote(xml) + " 2>/dev/null"), 0);
    ExpectSameBytes(xml, kGolden / (name + ".xml"));
    ASSERT_EQ(Cli("png " + Quote(e.path()) + " " + Quote(png)), 0);
    ExpectSameBytes(png, kGolden / (name + ".png"));
  }
  EXPECT_EQ(presets, 4);
}

TEST_F(GoldenTest, ReportEngineWritesTheSamePages) {
  const std::vector<fs::path> golden = GoldenPages();
  ASSERT_EQ(golden.size(), 4u);
  const fs::path made = out_.path() / "pages";
  ASSERT_EQ(Sh("cd " + Quote(out_.path()) + " && " + GOLDEN_PAGES + " " + Quote(kGolden / "gen2_clean_chorus.png") +
               " " + Quote(made) + " >/dev/null"),
            0);
  for (const fs::path& page : golden) ExpectSameBytes(made / page.filename(), page);
}

TEST_F(GoldenTest, PagesMakeTheSamePdf) {
  std::string pages;
  for (const fs::path& page : GoldenPages()) pages += " " + Quote(page);
  const fs::path normalise = kSource / "scripts/normalise-pdf.sh";
  const fs::path pdf = out_.path() / "report.pdf", plain = out_.path() / "report-plain.pdf";
  ASSERT_EQ(Cli("pages2pdf " + Quote(pdf) + pages), 0);
  ASSERT_EQ(Sh("bash " + Quote(normalise) + " " + Quote(pdf) + " " + Quote(pdf.string() + ".qdf")), 0);
  ExpectSameBytes(pdf.string() + ".qdf", kGolden / "report.pdf");
  // Uncompressed, our own bytes count: offsets, cross-reference table and all.
  ASSERT_EQ(Cli("pages2pdf --no-compress " + Quote(plain) + pages), 0);
  ASSERT_EQ(Sh("bash " + Quote(normalise) + " --dates-only " + Quote(plain) + " " + Quote(plain.string() + ".n")), 0);
  ExpectSameBytes(plain.string() + ".n", kGolden / "report-plain.pdf");
}

}  // namespace
