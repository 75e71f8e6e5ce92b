// Writes a 50-page document (per page 40 text lines, 10 boxes, 10 lines)
// through the report generator interface, and the same content through
// cairo's PDF surface, in the same run. Prints the median of several runs.
#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf_sample_page.h"

namespace {

constexpr int kPages = 50;
constexpr int kRuns = 9;

using txbench::LineText;

void WriteOurs(const std::string& path) {
  txbench::QuietGenerator g;
  g.Init(path);
  g.SetCompression(true, true);
  g.BeginDocument(kPages);
  for (int page = 0; page < kPages; ++page) txbench::EmitSamplePage(g, page);
  if (g.FinishDocument() != 0) std::fprintf(stderr, "writer failed\n");
}

void WriteCairo(const std::string& path) {
  constexpr double k = 0.072;  // report units to points
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 612, 792);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "Helvetica", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 10);
  for (int page = 0; page < kPages; ++page) {
    for (int i = 0; i < 10; ++i) {
      cairo_rectangle(cr, 500 * k, (500 + i * 1000) * k, 7500 * k, 800 * k);
      if (i % 2 == 0) {
        cairo_set_source_rgb(cr, 0xEE / 255.0, 0xEE / 255.0, 0xEE / 255.0);
        cairo_fill_preserve(cr);
      }
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_set_line_width(cr, 0.955);
      cairo_stroke(cr);
      cairo_move_to(cr, 500 * k, (1400 + i * 1000) * k);
      cairo_line_to(cr, 8000 * k, (1400 + i * 1000) * k);
      cairo_set_source_rgb(cr, 0.502, 0.502, 0.502);
      cairo_stroke(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int row = 0; row < 40; ++row) {
      cairo_move_to(cr, 600 * k, (600 + row * 250) * k + 10);
      cairo_show_text(cr, LineText(page, row).c_str());
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) std::fprintf(stderr, "cairo failed\n");
  cairo_surface_destroy(surface);
}

template <typename Fn>
double MedianMs(Fn fn) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    fn();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  auto dir = std::filesystem::temp_directory_path() / "tonalyx-bench-pdf";
  std::filesystem::create_directories(dir);
  std::string ours = (dir / "ours.pdf").string(), theirs = (dir / "cairo.pdf").string();
  WriteOurs(ours);  // warm-up: fonts, page cache
  WriteCairo(theirs);
  double oursMs = MedianMs([&] { WriteOurs(ours); });
  double cairoMs = MedianMs([&] { WriteCairo(theirs); });
  std::printf("pdf writer: %d pages, median of %d runs\n", kPages, kRuns);
  std::printf("  Tonalyx PDFGenerator: %8.2f ms  %8ju bytes\n", oursMs,
              static_cast<uintmax_t>(std::filesystem::file_size(ours)));
  std::printf("  cairo PDF surface:    %8.2f ms  %8ju bytes\n", cairoMs,
              static_cast<uintmax_t>(std::filesystem::file_size(theirs)));
  std::printf("  ratio (ours / cairo): %8.3f\n", oursMs / cairoMs);
  std::filesystem::remove_all(dir);
  return 0;
}
