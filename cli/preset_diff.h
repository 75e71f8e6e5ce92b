#pragma once
// What differs between two decoded presets, each category in stored order:
// header fields, blocks only in one of them, grid cells, the X/Y state of a
// block, and parameters whose X value, Y value, unit or modifier mark
// differ. Texts compare as they are shown (without padding).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "preset/preset_state.h"

namespace txcli {

// A preset as the commands decode it: its state, its block and modifier
// queues and its MXPreset rows in stored order.
struct DecodedPreset {
  std::string file;
  tx::PresetState state;
  std::vector<tx::BlockQueueEntry> blocks;
  std::vector<tx::ModifierQueueEntry> modifiers;
  std::vector<tx::PresetRecord> rows;
  // The effect name of a block from its rows, empty without definitions.
  std::string EffectName(int32_t effectId) const;
};

struct BlockRef {
  int32_t effectId = 0;
  std::string effectName;
};

struct CellChange {
  int row = 0, column = 0;  // from 1
  tx::BlockCell a, b;
};

struct StateChange {
  BlockRef block;
  uint8_t a = 0, b = 0;  // 1: the Y state is active
};

struct ParameterValues {
  std::string xValue, yValue, unit, modifier;
  bool operator==(const ParameterValues&) const = default;
};

struct ParameterChange {
  BlockRef block;
  int32_t parameterId = 0;
  std::string screenName;
  // A side without the parameter (its block is in both presets) has none.
  std::optional<ParameterValues> a, b;
};

struct PresetDiff {
  bool deviceTypeChanged = false, numberChanged = false, nameChanged = false;
  std::vector<BlockRef> onlyInA, onlyInB;
  std::vector<CellChange> grid;  // column by column, as the file stores them
  std::vector<StateChange> states;
  std::vector<ParameterChange> parameters;

  bool Same() const {
    return !deviceTypeChanged && !numberChanged && !nameChanged && onlyInA.empty() && onlyInB.empty() &&
           grid.empty() && states.empty() && parameters.empty();
  }
};

PresetDiff ComparePresets(const DecodedPreset& a, const DecodedPreset& b);

}  // namespace txcli
