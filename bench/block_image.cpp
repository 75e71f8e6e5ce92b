// Time to draw a full 48-cell block grid with its links and write tmp01.png.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "outputs/block_image.h"
#include "support/temp_dir.h"

namespace {

class Effects : public tx::EffectRows {
 public:
  Effects() {
    const char* types[] = {"Amp", "Cab", "Drive", "Delay", "Reverb", "Chorus", "Flanger", "Phaser",
                           "Pitch", "Filter", "Compressor", "GraphicEQ", "ParametricEQ", "Wah", "Tremolo",
                           "Rotary", "Gate", "Volume", "Enhancer", "Mixer", "MultiDelay", "Formant"};
    for (int id = 100; id < 148; ++id) {
      tx::EffectRecord r;
      r.EFFECTID = id;
      r.EFFECTTYPE = types[id % (sizeof types / sizeof *types)];
      r.EFFECTVARIANTPARAMETERID = 0;
      r.EFFECTBYPASSPARAMETERID = 5;
      rows_[id] = r;
    }
  }
  bool FirstByEffectId(int32_t id, tx::EffectRecord& row) override {
    auto it = rows_.find(id);
    if (it == rows_.end()) return false;
    row = it->second;
    return true;
  }

 private:
  std::map<int32_t, tx::EffectRecord> rows_;
};

// Every cell an effect, every other one bypassed, each linked to all four
// rows of the column before it.
tx::CurrentPreset FullPreset() {
  tx::CurrentPreset p;
  for (int r = 0; r < tx::GRID_ROWS; ++r)
    for (int c = 0; c < tx::GRID_COLUMNS; ++c) {
      const uint16_t id = static_cast<uint16_t>(100 + c * tx::GRID_ROWS + r);
      p.state.grid[r][c] = tx::BlockCell{id, 15};
      tx::BlockQueueEntry e;
      e.EFFECTID = id;
      e.PARAMETERS[5] = id % 2;
      p.PQ.push_back(e);
    }
  return p;
}

struct Workdir {
  Workdir() : cwd(dir.path()) {
    std::filesystem::create_directory_symlink(std::filesystem::path(TONALYX_SOURCE_DIR) / "assets",
                                              dir.path() / "assets");
  }
  txtest::TempDir dir;
  txtest::ScopedCwd cwd;
};

void BM_DrawFullGridAndWriteTmp01(benchmark::State& state) {
  Workdir work;
  Effects effects;
  const tx::CurrentPreset preset = FullPreset();
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  for (auto _ : state) {
    if (!tx::DrawBlockImage(canvas, preset, effects)) state.SkipWithError("tmp01.png not written");
  }
}
BENCHMARK(BM_DrawFullGridAndWriteTmp01)->Unit(benchmark::kMillisecond);

void BM_WriteTmp01Only(benchmark::State& state) {
  Workdir work;
  Effects effects;
  const tx::CurrentPreset preset = FullPreset();
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::DrawBlockImage(canvas, preset, effects);
  for (auto _ : state) canvas.WritePNG(tx::BLOCK_IMAGE_FILE);
}
BENCHMARK(BM_WriteTmp01Only)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
