// tonalyx-cli pdf on the sample second-generation presets: the whole process
// (median of 30 runs, wall clock and processor time), and where a run's time
// goes: start-up, decode, block image, report engine, parser + PDF.
//
//   bench_pdf_command [RUNS]
//
// The split runs each phase once in a fresh child process, as the command
// does (fonts, tables and caches start cold every time), 30 times; start-up
// is a process that only starts and ends (`tonalyx-cli --version`).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "outputs/block_image.h"
#include "outputs/preset_report.h"
#include "outputs/preset_report_layout.h"
#include "pdf/pdf_generator.h"
#include "platform/reportengine/report_engine.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "report/wmf_parser.h"

namespace {

using txbench::ChildCpuMs;
using txbench::Median;
using txbench::Spawn;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

struct Phases {
  double decode = 0, image = 0, engine = 0, pdf = 0;
};

// One cold run of the command's phases, in this (child) process.
Phases RunPhases(const std::string& preset, const std::string& out) {
  tx::ConsoleToolkit console(nullptr);
  tx::SetToolkit(&console);
  Phases p;
  auto t0 = Clock::now();
  std::ifstream in(preset, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  tx::CurrentPreset& current = tx::Current();
  if (!tx::ParsePreset(tx::FitPresetBuffer(bytes), current)) std::_Exit(2);
  tx::TableSet& t = tx::Tables();
  if (t.DBEffects.Open() || t.DBSelection.Open() || t.MXPreset.Open()) std::_Exit(2);
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(current);
  auto t1 = Clock::now();
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::TableEffectRows effects(t.DBEffects, t.effect);
  if (!tx::DrawBlockImage(canvas, current, effects)) std::_Exit(2);
  auto t2 = Clock::now();
  tx::ReportEngine engine;
  std::vector<std::string> pages;
  engine.Open(tx::PresetReportLayout());
  engine.RenderToPageFiles(&pages);
  tx::SetPresetValues(engine, current.state);
  tx::PrintBlockImageBand(engine, tx::BLOCK_IMAGE_FILE);
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next() == 0) tx::PrintParameterLine(engine, t.preset);
  engine.EndReport();
  auto t3 = Clock::now();
  tx::PDFGenerator generator;
  generator.Init(out);
  generator.SetDocumentInfo("Tonalyx", "Tonalyx", "Tonalyx", current.state.PRESETNAME.view(), tx::PRESET_REPORT_AUTHOR,
                            tx::PRESET_REPORT_KEYWORDS);
  generator.SetCompression(true, true);
  tx::WMFParser parser;
  parser.Init(&pages, &generator);
  if (parser.Run(true) != 0) std::_Exit(2);
  auto t4 = Clock::now();
  return {Ms(t0, t1), Ms(t1, t2), Ms(t2, t3), Ms(t3, t4)};
}

bool ForkPhases(const fs::path& workdir, const std::string& preset, const std::string& out, Phases& phases) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    fs::current_path(workdir);
    Phases p = RunPhases(preset, out);
    ssize_t n = write(pipeFds[1], &p, sizeof p);
    std::_Exit(n == sizeof p ? 0 : 1);
  }
  close(pipeFds[1]);
  ssize_t n = read(pipeFds[0], &phases, sizeof phases);
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return n == sizeof phases && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  const std::string cli = TONALYX_CLI;
  const fs::path source = TONALYX_SOURCE_DIR;
  const fs::path work = fs::temp_directory_path() / ("tonalyx-bench-pdf-" + std::to_string(getpid()));
  fs::create_directories(work);
  fs::copy(source / "Masters", work / "Masters", fs::copy_options::recursive);
  fs::create_directory_symlink(source / "assets", work / "assets");
  if (Spawn({cli, "--workdir", work.string(), "refresh"}) != 0) {
    std::fprintf(stderr, "refresh failed\n");
    return 1;
  }
  const std::string out = (work / "bench.pdf").string();

  std::vector<double> startup;
  for (int r = 0; r < runs; ++r) {
    auto a = Clock::now();
    Spawn({cli, "--version"});
    startup.push_back(Ms(a, Clock::now()));
  }
  std::printf("tonalyx-cli pdf, median of %d runs (ms; wall clock, the machine's load included)\n", runs);
  std::printf("  start-up (a process that only starts and ends): %6.1f\n", Median(startup));

  for (const char* name : {"gen2_clean_chorus", "gen2_lead_pitch"}) {
    const std::string preset = (source / "examples" / (std::string(name) + ".syx")).string();
    std::vector<double> wall, cpu;
    for (int r = 0; r < runs; ++r) {
      double c0 = ChildCpuMs();
      auto a = Clock::now();
      if (Spawn({cli, "--workdir", work.string(), "pdf", "--quiet", preset, out}) != 0) {
        std::fprintf(stderr, "pdf failed on %s\n", name);
        return 1;
      }
      wall.push_back(Ms(a, Clock::now()));
      cpu.push_back(ChildCpuMs() - c0);
    }
    std::vector<double> decode, image, engine, pdf;
    for (int r = 0; r < runs; ++r) {
      Phases p;
      if (!ForkPhases(work, preset, out, p)) {
        std::fprintf(stderr, "phases failed on %s\n", name);
        return 1;
      }
      decode.push_back(p.decode);
      image.push_back(p.image);
      engine.push_back(p.engine);
      pdf.push_back(p.pdf);
    }
    std::printf("  %-18s whole process %6.1f (processor %5.1f) | decode %5.1f  block image %5.1f  report engine %5.1f  "
                "parser + PDF %5.1f\n",
                name, Median(wall), Median(cpu), Median(decode), Median(image), Median(engine), Median(pdf));
  }
  std::error_code ec;
  fs::remove_all(work, ec);
  return 0;
}
