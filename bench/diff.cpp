// tonalyx-cli diff on two sample presets of each generation: the whole
// process, start-up included, median of 50 runs (wall clock), next to a
// process that only starts and ends.
//
//   bench_diff [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

using txbench::ChildCpuMs;
using txbench::Median;
using txbench::Spawn;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Median wall clock and processor time of a command, "wall (processor)".
std::string Timed(const std::vector<std::string>& args, int runs, int expected) {
  std::vector<double> wall, cpu;
  for (int r = 0; r < runs; ++r) {
    const double c0 = ChildCpuMs();
    const auto a = Clock::now();
    if (Spawn(args) != expected) {
      std::fprintf(stderr, "unexpected exit from %s\n", args.back().c_str());
      std::exit(1);
    }
    wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
    cpu.push_back(ChildCpuMs() - c0);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%6.1f (processor %5.1f)", Median(wall), Median(cpu));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const std::string cli = TONALYX_CLI;
  const fs::path source = TONALYX_SOURCE_DIR;
  const fs::path work = fs::temp_directory_path() / ("tonalyx-bench-diff-" + std::to_string(getpid()));
  fs::create_directories(work);
  fs::copy(source / "Masters", work / "Masters", fs::copy_options::recursive);
  if (Spawn({cli, "--workdir", work.string(), "refresh"}) != 0) {
    std::fprintf(stderr, "refresh failed\n");
    return 1;
  }
  auto sample = [&](const char* name) { return (source / "examples" / (std::string(name) + ".syx")).string(); };
  std::printf("tonalyx-cli diff, median of %d runs (ms, wall clock, whole process; target under 20)\n", runs);
  std::printf("  start-up alone (--version)         %s\n", Timed({cli, "--version"}, runs, 0).c_str());
  std::printf("  two second-generation presets      %s\n",
              Timed({cli, "--workdir", work.string(), "diff", sample("gen2_clean_chorus"), sample("gen2_lead_pitch")},
                    runs, 1).c_str());
  std::printf("  the same, --json                   %s\n",
              Timed({cli, "--workdir", work.string(), "diff", "--json", sample("gen2_clean_chorus"),
                     sample("gen2_lead_pitch")},
                    runs, 1).c_str());
  std::printf("  two first-generation presets       %s\n",
              Timed({cli, "--workdir", work.string(), "diff", sample("gen1_brit_crunch"), sample("gen1_wah_trem")},
                    runs, 1).c_str());
  std::printf("  a preset with itself               %s\n",
              Timed({cli, "--workdir", work.string(), "diff", sample("gen2_clean_chorus"), sample("gen2_clean_chorus")},
                    runs, 0).c_str());
  std::error_code ec;
  fs::remove_all(work, ec);
  return 0;
}
