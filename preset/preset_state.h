#pragma once
// The current preset: what the last parse of a preset file left behind. The
// window, the block image, the report and the export read it; only
// ParsePreset writes the state and the two queues.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/fixed_string.h"

namespace tx {

constexpr int DEVICE_GEN1 = 1;  // Axe-FX
constexpr int DEVICE_GEN2 = 3;  // Axe-FX II

constexpr int GRID_ROWS = 4;
constexpr int GRID_COLUMNS = 12;

struct BlockCell {
  uint16_t blockId = 0;
  uint16_t inputMask = 0;  // bits 1, 2, 4, 8: links from rows 1..4 of the previous column
};

struct PresetState {
  uint8_t deviceType = 0;
  int32_t PRESETNUMBER = 0;
  FixedString<30> PRESETNAME;
  // grid[row][column], both from 0 here (row 1 column 1 is grid[0][0]).
  std::array<std::array<BlockCell, GRID_COLUMNS>, GRID_ROWS> grid{};
};

constexpr int MAX_BLOCK_VALUES = 255;

// One block of the block queue (PQ).
struct BlockQueueEntry {
  int32_t EFFECTID = 0;
  // The count as the record states it, cut to the units present when the
  // record runs past the end of the decoded area. It can exceed
  // MAX_BLOCK_VALUES on the second generation; only that many values are held.
  int32_t PARAMETERCOUNT = 0;
  // PARAMETERS[n - 1] is entry n, the raw value of parameter id n - 1.
  std::array<int32_t, MAX_BLOCK_VALUES> PARAMETERS{};
  uint8_t XYSTATE = 0;  // 1: the Y state is active

  // Entry n (from 1), or -1 when n lies outside the held values.
  int32_t Entry(long n) const { return n >= 1 && n <= MAX_BLOCK_VALUES ? PARAMETERS[static_cast<size_t>(n - 1)] : -1; }
};

// One modifier record of the modifier queue (MQ), in file order.
struct ModifierQueueEntry {
  uint16_t ID = 0;
  uint16_t EFFECTID = 0;
  FixedString<32> EFFECTNAME;
  uint16_t PARAMETERID = 0;  // parameter id (second generation) or modifier id (first)
  FixedString<32> PARAMETERNAME;
};

struct CurrentPreset {
  PresetState state;
  std::vector<BlockQueueEntry> PQ;     // ascending EFFECTID
  std::vector<ModifierQueueEntry> MQ;  // file order
};

// The process-wide current preset.
CurrentPreset& Current();

}  // namespace tx
