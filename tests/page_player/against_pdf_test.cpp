// The player against the PDF: every report page of every sample preset,
// drawn by the player at 100 dpi, and the same page of the PDF made from the
// page files (tonalyx-cli pages2pdf) rendered by pdftoppm at 100 dpi, agree
// pixel by pixel within a small colour tolerance.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/wmfplayer/page_raster.h"
#include "sample_pages.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTolerance = 48;  // per colour channel, of 255

int Shell(const std::string& command) {
  const int status = std::system((command + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A binary PPM (P6) as pdftoppm writes it.
tx::PageRaster ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, max = 0;
  in >> magic >> width >> height >> max;
  in.get();
  tx::PageRaster image;
  if (magic != "P6" || max != 255 || width <= 0 || height <= 0) return image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
  return in ? image : tx::PageRaster{};
}

struct Agreement {
  long pixels = 0, same = 0;
  long ink = 0, inkSame = 0;  // pixels that are not white in either picture
  double Share() const { return pixels ? 100.0 * same / pixels : 0; }
  double InkShare() const { return ink ? 100.0 * inkSame / ink : 100; }
  void Add(const Agreement& a) {
    pixels += a.pixels;
    same += a.same;
    ink += a.ink;
    inkSame += a.inkSame;
  }
};

Agreement Compare(const tx::PageRaster& a, const tx::PageRaster& b) {
  Agreement r;
  const int w = std::min(a.width, b.width), h = std::min(a.height, b.height);
  r.pixels = static_cast<long>(std::max(a.width, b.width)) * std::max(a.height, b.height);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t *p = a.Pixel(x, y), *q = b.Pixel(x, y);
      bool close = true, white = true;
      for (int c = 0; c < 3; ++c) {
        close = close && std::abs(p[c] - q[c]) <= kTolerance;
        white = white && p[c] > 250 && q[c] > 250;
      }
      r.same += close;
      if (!white) {
        ++r.ink;
        r.inkSame += close;
      }
    }
  return r;
}

TEST(PagePlayerAgainstPdf, SamplePresetPagesAgreeWithPdftoppm) {
  if (Shell("command -v pdftoppm") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  txtest::ImportSampleDefinitions(dir.path());
  const char* keep = std::getenv("TONALYX_KEEP_PAGES");  // a folder for the pictures, to look at them
  Agreement all;
  int pageCount = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(TONALYX_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".syx") continue;
    const std::string name = entry.path().stem().string();
    tx::ReportEngine engine;
    const std::vector<std::string> pages = txtest::SamplePresetPages(entry.path().string(), engine);
    ASSERT_FALSE(pages.empty()) << name;
    const std::string pdf = dir.file(name + ".pdf");
    std::string command = std::string(TONALYX_CLI) + " pages2pdf '" + pdf + "'";
    for (const std::string& p : pages) command += " '" + p + "'";
    ASSERT_EQ(Shell(command), 0) << command;
    ASSERT_EQ(Shell("pdftoppm -r 100 '" + pdf + "' '" + dir.file(name) + "'"), 0);
    for (size_t i = 0; i < pages.size(); ++i) {
      auto page = tx::WmfPage::Load(pages[i]);
      ASSERT_TRUE(page) << pages[i];
      const tx::PageRaster ours = tx::RenderWmfPage(*page, 100);
      char suffix[32];
      std::snprintf(suffix, sizeof suffix, "-%0*zu.ppm", pages.size() >= 10 ? 2 : 1, i + 1);
      const tx::PageRaster theirs = ReadPpm(dir.file(name + suffix));
      ASSERT_GT(theirs.width, 0) << name << suffix;
      EXPECT_NEAR(ours.width, theirs.width, 1);
      EXPECT_NEAR(ours.height, theirs.height, 1);
      const Agreement a = Compare(ours, theirs);
      std::printf("%s page %zu: %.2f %% of pixels agree, %.2f %% of the ink\n", name.c_str(), i + 1, a.Share(),
                  a.InkShare());
      EXPECT_GE(a.Share(), 97.0) << name << " page " << i + 1;
      // The marks on the page, not only the white paper, must match.
      EXPECT_GE(a.InkShare(), 70.0) << name << " page " << i + 1;
      all.Add(a);
      ++pageCount;
      if (keep) {
        tx::WritePagePng(ours, (fs::path(keep) / (name + "-player-" + std::to_string(i + 1) + ".png")).string());
        tx::WritePagePng(theirs, (fs::path(keep) / (name + "-pdf-" + std::to_string(i + 1) + ".png")).string());
      }
    }
  }
  EXPECT_GE(pageCount, 4);
  std::printf("all %d pages: %.2f %% of pixels agree, %.2f %% of the ink\n", pageCount, all.Share(), all.InkShare());
}

}  // namespace
