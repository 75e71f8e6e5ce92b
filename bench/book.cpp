// tonalyx-cli book over a folder of 384 sample-sized presets (the sample
// "Clean Chorus" with its number, name and block order changed, three report
// pages each: about 1,150 pages): the whole process, start-up included, wall
// clock, processor time and peak memory (the largest resident set, as
// /usr/bin/time -v gives it), median of 3 runs. Target: under 4 s and 150 MB
// on two cores. The machine's other load shows in the wall clock.
//
//   bench_book [RUNS] [PRESETS]
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
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/parse_preset.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Outcome {
  int status = -1;
  double seconds = 0;
  double cpuSeconds = 0;  // user and system, all threads
  long peakKb = 0;
  std::string err;
};

// Runs a program to its end, stderr kept in a file; its status, wall time
// and peak resident set.
Outcome Spawn(const std::vector<std::string>& args, const std::string& errFile) {
  Outcome o;
  const auto start = Clock::now();
  const pid_t pid = txbench::StartChild(args, errFile.c_str());
  if (pid < 0) return o;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  o.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  o.status = txbench::ExitStatus(status);
  o.peakKb = usage.ru_maxrss;
  o.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::ifstream in(errFile);
  o.err.assign(std::istreambuf_iterator<char>(in), {});
  return o;
}

// The sample's blocks and values under another number and name, its grid's
// occupied columns rotated so that every preset draws a picture of its own.
std::vector<uint8_t> Variant(const tx::CurrentPreset& sample, int index) {
  txtools::PresetBuilder b(3);
  b.Number(index % 256).Name("Bench Preset " + std::to_string(index));
  int used = 0;
  for (int c = 0; c < tx::GRID_COLUMNS; ++c)
    for (int r = 0; r < tx::GRID_ROWS; ++r)
      if (sample.state.grid[r][c].blockId != 0) used = std::max(used, c + 1);
  for (int c = 0; c < tx::GRID_COLUMNS; ++c)
    for (int r = 0; r < tx::GRID_ROWS; ++r) {
      const tx::BlockCell& cell = sample.state.grid[r][c];
      const int column = c < used ? (c + index) % used : c;
      b.Cell(r + 1, column + 1, cell.blockId, cell.inputMask);
    }
  for (const auto& m : sample.MQ) b.Modifier({m.ID, m.EFFECTID, m.PARAMETERID, 0});
  for (const auto& q : sample.PQ) {
    txtools::BuiltBlock block;
    block.effectId = static_cast<uint16_t>(q.EFFECTID);
    block.yActive = q.XYSTATE == 1;
    for (int n = 1; n <= q.PARAMETERCOUNT; ++n) block.values.push_back(static_cast<uint16_t>(q.Entry(n)));
    b.Block(block);
  }
  return b.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const int presets = argc > 2 ? std::max(1, std::atoi(argv[2])) : 384;
  const std::string cli = TONALYX_CLI;
  const fs::path source = TONALYX_SOURCE_DIR;
  const fs::path work = fs::temp_directory_path() / ("tonalyx-bench-book-" + std::to_string(getpid()));
  fs::create_directories(work / "presets");
  fs::copy(source / "Masters", work / "Masters", fs::copy_options::recursive);
  fs::create_directory_symlink(source / "assets", work / "assets");
  const std::string errFile = (work / "stderr.txt").string();
  if (Spawn({cli, "--workdir", work.string(), "refresh"}, errFile).status != 0) {
    std::fprintf(stderr, "refresh failed\n");
    return 1;
  }

  tx::ConsoleToolkit console(nullptr);
  tx::SetToolkit(&console);
  std::ifstream in(source / "examples" / "gen2_clean_chorus.syx", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  tx::CurrentPreset sample;
  if (!tx::ParsePreset(tx::FitPresetBuffer(bytes), sample)) return 1;
  for (int i = 1; i <= presets; ++i) {
    const auto preset = Variant(sample, i);
    char name[32];
    std::snprintf(name, sizeof name, "preset%04d.syx", i);
    std::ofstream(work / "presets" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(preset.data()), static_cast<std::streamsize>(preset.size()));
  }

  const std::string out = (work / "book.pdf").string();
  std::vector<double> seconds, cpu;
  std::vector<long> peaks;
  std::string pages = "?";
  for (int r = 0; r < runs; ++r) {
    Outcome o = Spawn({cli, "--workdir", work.string(), "book", out, (work / "presets").string()}, errFile);
    if (o.status != 0) {
      std::fprintf(stderr, "book failed (%d):\n%s", o.status, o.err.c_str());
      return 1;
    }
    std::smatch m;
    if (std::regex_search(o.err, m, std::regex(R"((\d+) presets on (\d+) pages)"))) pages = m[2];
    seconds.push_back(o.seconds);
    cpu.push_back(o.cpuSeconds);
    peaks.push_back(o.peakKb);
  }
  std::sort(seconds.begin(), seconds.end());
  std::sort(cpu.begin(), cpu.end());
  std::sort(peaks.begin(), peaks.end());
  std::printf("tonalyx-cli book, %d presets, %s pages, %d runs (whole process; target under 4 s, 150 MB)\n", presets,
              pages.c_str(), runs);
  std::printf("  wall clock  median %6.2f s   best %6.2f s\n", seconds[seconds.size() / 2], seconds.front());
  std::printf("  processor   median %6.2f s   (user and system, all threads)\n", cpu[cpu.size() / 2]);
  std::printf("  peak memory median %6.1f MB  largest %6.1f MB\n", peaks[peaks.size() / 2] / 1024.0,
              peaks.back() / 1024.0);
  std::printf("  document    %.1f MB\n", static_cast<double>(fs::file_size(out)) / (1024.0 * 1024.0));
  std::error_code ec;
  fs::remove_all(work, ec);
  return 0;
}
