// Time per page of the PDF writer at 10, 100 and 1,000 pages: it must stay
// flat as the document grows. Two ways in:
//   generator  the report generator interface driven directly (per page 40
//              text lines, 10 boxes, 10 lines), compressed;
//   pages2pdf  the page parser replaying a saved report page (the golden page
//              tests/data/pages/report_page2.wmf, once per page) into the
//              generator, as `tonalyx-cli pages2pdf` does.
// Processor time of this process, median of several runs.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pdf_sample_page.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"

namespace {

using txbench::QuietGenerator;

class QuietErrors : public tx::ErrorManager {
 public:
  int Raise(uint16_t) override { return tx::Level::Fatal; }
};

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Configure(QuietGenerator& g, const std::string& path) {
  g.Init(path);
  g.SetCompression(true, true);
}

bool WriteDirect(const std::string& path, int pages) {
  QuietGenerator g;
  Configure(g, path);
  g.BeginDocument(pages);
  for (int page = 0; page < pages; ++page) txbench::EmitSamplePage(g, page);
  return g.FinishDocument() == tx::Level::Done;
}

bool WriteFromPages(const std::string& path, int pages) {
  static const std::string page = std::string(TONALYX_SOURCE_DIR) + "/tests/data/pages/report_page2.wmf";
  std::vector<std::string> list(static_cast<size_t>(pages), page);
  QuietGenerator g;
  Configure(g, path);
  QuietErrors errors;
  tx::WMFParser parser;
  parser.Init(&list, &g, &errors);
  return parser.Run(false) == tx::Level::Done;
}

// Median processor time per page, in microseconds.
double PerPage(const std::function<bool(const std::string&, int)>& write, const std::string& path, int pages) {
  const int runs = pages >= 1000 ? 3 : pages >= 100 ? 5 : 15;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    double start = CpuSeconds();
    if (!write(path, pages)) std::fprintf(stderr, "writing %d pages failed\n", pages);
    times.push_back((CpuSeconds() - start) * 1e6 / pages);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  auto dir = std::filesystem::temp_directory_path() / "tonalyx-bench-pdf-pages";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "out.pdf").string();
  WriteDirect(path, 10);  // warm-up: fonts, page cache
  std::printf("PDF writer, processor time per page (median)\n");
  std::printf("%8s %14s %14s %12s\n", "pages", "generator us", "pages2pdf us", "file bytes");
  for (int pages : {10, 100, 1000}) {
    double direct = PerPage(WriteDirect, path, pages);
    double fromPages = PerPage(WriteFromPages, path, pages);
    std::printf("%8d %14.1f %14.1f %12ju\n", pages, direct, fromPages,
                static_cast<uintmax_t>(std::filesystem::file_size(path)));
  }
  std::filesystem::remove_all(dir);
  return 0;
}
