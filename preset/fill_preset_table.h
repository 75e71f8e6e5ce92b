#pragma once
// FillPresetTable: matches the decoded blocks and their raw values with the
// effect definitions and fills the in-memory preset table (MXPreset), one row
// per known parameter, in ascending effect id and parameter id.
#include <cstdint>

#include "devicedefs/tables.h"
#include "preset/preset_state.h"

namespace tx {

class FileManager;
struct TableSet;

// The three tables the filler works on, each with the record buffer its
// access object was initialised with. The main window keeps them open.
struct PresetTableAccess {
  FileManager& effects;
  EffectRecord& eff;
  FileManager& selection;
  SelectionRecord& sel;
  FileManager& preset;
  PresetRecord& pre;
};

// DBEffects, DBSelection and MXPreset of a table set.
PresetTableAccess AccessPresetTables(TableSet& tables);

class PresetTableFiller {
 public:
  explicit PresetTableFiller(PresetTableAccess tables) : t_(tables) {}

  // Empties and refills MXPreset from the preset's queues; sets the names of
  // the modifier queue entries it matches.
  void FillPresetTable(CurrentPreset& preset);
  void FillPresetTable() { FillPresetTable(Current()); }

  // Kept from one block to the next and from one run to the next: a block
  // without a definition row reuses the previous block's value.
  int32_t VariantParameterValue() const { return variantParameterValue_; }

 private:
  const SelectionRecord* LookupSelection(uint8_t deviceType);
  void AddBlockRows(const BlockQueueEntry& block, uint8_t deviceType);
  void MarkModifier(ModifierQueueEntry& modifier, uint8_t deviceType);

  PresetTableAccess t_;
  int32_t variantParameterValue_ = 0;
};

// Whether an effect type carries X and Y values on the second generation.
bool IsYCapableEffectType(int32_t effectTypeId);

}  // namespace tx
