// Milliseconds to draw a report page with the page player, at 100 dpi and at
// the width of a page filling a large preview window (1900 pixels): the
// pages of every sample preset, made as the report makes them, each drawn
// many times into an image.
//
//   bench_wmf_player
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "page_player/sample_pages.h"
#include "platform/wmfplayer/page_raster.h"
#include "support/temp_dir.h"

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  namespace fs = std::filesystem;
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  txtest::ImportSampleDefinitions(dir.path());
  std::vector<tx::WmfPage> pages;
  for (const auto& entry : fs::directory_iterator(fs::path(TONALYX_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".syx") continue;
    tx::ReportEngine engine;
    for (const std::string& p : txtest::SamplePresetPages(entry.path().string(), engine))
      if (auto page = tx::WmfPage::Load(p)) pages.push_back(std::move(*page));
  }
  if (pages.empty()) {
    std::fprintf(stderr, "no pages\n");
    return 1;
  }
  std::printf("page player: %zu pages of the sample presets\n", pages.size());
  for (int width : {850, 1280, 1900}) {
    tx::RenderWmfPageToWidth(pages[0], width);  // fonts found and loaded once
    const int rounds = 20;
    double worst = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r)
      for (const tx::WmfPage& page : pages) {
        const auto a = std::chrono::steady_clock::now();
        tx::RenderWmfPageToWidth(page, width);
        worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count());
      }
    const double total = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("  %4d pixels wide: %6.2f ms a page on average, %6.2f ms at worst\n", width,
                total / (rounds * pages.size()), worst);
  }
  return 0;
}
