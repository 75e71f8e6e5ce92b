// Pages per second from bands to PDF: the band engine renders a 20-page
// report of 40 lines a page into page metafiles, the page parser replays them
// into the PDF generator. When LibreOffice is installed, the same pages are
// also converted by it (soffice --headless --convert-to pdf) for comparison.
//
//   bench_report_pipeline [--keep DIR]   (DIR receives the pages and the PDF)
//
// Times are processor time (ours: this process; LibreOffice: its processes),
// so other work on a shared machine does not count against either side.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf/pdf_generator.h"
#include "platform/reportengine/report_engine.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"

namespace {

// Processor seconds of this process, or of its finished children.
double CpuSeconds(int who = RUSAGE_SELF) {
  rusage u{};
  getrusage(who, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

tx::ReportLayout BenchLayout() {
  tx::ReportLayout layout;
  tx::ReportControl name;
  name.field = "TITLE";
  name.picture = "s30";
  name.x = 31;
  name.y = 31;
  name.width = 7167;
  name.background = 0;
  name.font = tx::ReportFont{"Arial", 14, 700, false, false, false, 0xFFFFFF};
  layout.pageHeader = tx::ReportBand{"header", 500, 500, 7250, 500, {name}};
  tx::ReportControl label, number;
  label.text = "Page:";
  label.x = 6469;
  label.y = 146;
  number.field = tx::PAGE_NUMBER_FIELD;
  number.picture = "n_3";
  number.x = 6823;
  number.y = 146;
  layout.pageFooter = tx::ReportBand{"footer", 500, 10500, 7250, 1000, {label, number}};
  // 40 lines of 235 fill a body of 9500; a 41st would not fit.
  tx::ReportBand line{"line", 0, 0, 7208, 235, {}};
  const struct {
    const char* field;
    int x, width;
    bool italic;
  } columns[] = {{"SCREENNAME", 187, 2406, true}, {"XVALUE", 4062, 1021, false}, {"MODIFIER", 5110, 146, false},
                 {"YVALUE", 5281, 1125, false}, {"UNIT", 6469, 365, true}};
  for (const auto& col : columns) {
    tx::ReportControl c;
    c.field = col.field;
    c.picture = "s32";
    c.x = col.x;
    c.y = 10;
    c.width = col.width;
    tx::ReportFont f;
    f.italic = col.italic;
    c.font = f;
    line.controls.push_back(c);
  }
  layout.details.push_back(line);
  return layout;
}

// One run of the engine; returns the page files (in `engine`'s directory).
std::vector<std::string> RenderPages(tx::ReportEngine& engine, int lines) {
  std::vector<std::string> pages;
  engine.Open(BenchLayout());
  engine.RenderToPageFiles(&pages);
  engine.SetValue("TITLE", "Benchmark Preset");
  for (int i = 0; i < lines; ++i) {
    engine.SetValue("SCREENNAME", "Parameter " + std::to_string(i));
    engine.SetValue("XVALUE", "   " + std::to_string(i * 7 % 1000) + ".00");
    engine.SetValue("MODIFIER", i % 5 ? "" : "*");
    engine.SetValue("YVALUE", "   " + std::to_string(i * 3 % 1000) + ".50");
    engine.SetValue("UNIT", "dB");
    engine.PrintBand("line");
  }
  engine.EndReport();
  return pages;
}

int ToPdf(const std::vector<std::string>& pages, const std::string& pdf, bool compress = true) {
  tx::PDFGenerator generator;
  generator.Init(pdf);
  generator.SetCompression(compress, compress);
  tx::ErrorManager errors;
  tx::WMFParser parser;
  parser.Init(&pages, &generator, &errors);
  return parser.Run(false);
}

}  // namespace

int main(int argc, char** argv) {
  std::string keep;
  if (argc == 3 && std::string(argv[1]) == "--keep") keep = argv[2];
  const int lines = 20 * 40;
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "tonalyx-bench-pipeline";
  std::filesystem::create_directories(scratch);
  const std::string pdf = (scratch / "bench.pdf").string();

  // Warm-up: fonts are found and loaded once per process.
  {
    tx::ReportEngine engine;
    auto pages = RenderPages(engine, lines);
    if (pages.size() != 20 || ToPdf(pages, pdf) != 0) {
      std::fprintf(stderr, "pipeline failed (%zu pages)\n", pages.size());
      return 1;
    }
  }

  const int runs = 10;
  double engineSeconds = 0, parseSeconds = 0;
  size_t pageCount = 0;
  for (int r = 0; r < runs; ++r) {
    tx::ReportEngine engine;
    double t0 = CpuSeconds();
    auto pages = RenderPages(engine, lines);
    double t1 = CpuSeconds();
    if (ToPdf(pages, pdf) != 0) return 1;
    double t2 = CpuSeconds();
    engineSeconds += t1 - t0;
    parseSeconds += t2 - t1;
    pageCount += pages.size();
    if (r == runs - 1 && !keep.empty()) {
      std::filesystem::create_directories(keep);
      for (const auto& p : pages)
        std::filesystem::copy_file(p, std::filesystem::path(keep) / std::filesystem::path(p).filename(),
                                   std::filesystem::copy_options::overwrite_existing);
      std::filesystem::copy_file(pdf, std::filesystem::path(keep) / "bench.pdf",
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }
  const double total = engineSeconds + parseSeconds;
  std::printf("report pipeline: %zu pages in %d runs of a 20-page report (40 lines a page), processor time\n",
              pageCount, runs);
  std::printf("  engine -> WMF:        %8.1f pages/s\n", pageCount / engineSeconds);
  std::printf("  WMF -> parser -> PDF: %8.1f pages/s\n", pageCount / parseSeconds);
  std::printf("  engine -> PDF:        %8.1f pages/s\n", pageCount / total);
  {
    // Every clipped string is a stream of its own, so compression's set-up
    // cost per stream shows here.
    tx::ReportEngine engine;
    auto pages = RenderPages(engine, lines);
    double t0 = CpuSeconds();
    for (int r = 0; r < runs; ++r)
      if (ToPdf(pages, pdf, false) != 0) return 1;
    double seconds = CpuSeconds() - t0;
    std::printf("  WMF -> PDF, no compression: %8.1f pages/s\n", pages.size() * runs / seconds);
  }

  if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
    std::printf("  LibreOffice: soffice not installed, no comparison\n");
  } else {
    tx::ReportEngine engine;
    auto pages = RenderPages(engine, lines);
    const std::filesystem::path out = scratch / "soffice";
    std::filesystem::create_directories(out);
    std::string command = "soffice --headless --convert-to pdf --outdir '" + out.string() + "'";
    for (const auto& p : pages) command += " '" + p + "'";
    command += " > /dev/null 2>&1";
    double t0 = CpuSeconds(RUSAGE_CHILDREN);
    auto w0 = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double seconds = CpuSeconds(RUSAGE_CHILDREN) - t0;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    size_t converted = 0;
    for (const auto& e : std::filesystem::directory_iterator(out)) converted += e.path().extension() == ".pdf";
    std::printf("  LibreOffice: %zu of %zu pages converted in %.2f s processor time (%.2f s elapsed)\n", converted,
                pages.size(), seconds, wall);
    const double theirs = pages.size() / seconds, ours = pageCount / parseSeconds;
    std::printf("  LibreOffice WMF -> PDF: %8.1f pages/s (status %d); ours %.1f x faster\n", theirs, status,
                ours / theirs);
  }
  std::filesystem::remove_all(scratch);
  return 0;
}
