#pragma once
// FillPresetTable: matches the decoded blocks and their raw values with the
// effect definitions and fills the in-memory preset table (MXPreset), one row
// per known parameter, in ascending effect id and parameter id.
#include <cstdint>
#include <functional>
#include <utility>

#include "devicedefs/tables.h"
#include "preset/caching_lookup.h"
#include "preset/definition_lookup.h"
#include "preset/direct_lookup.h"
#include "preset/preset_state.h"

namespace tx {

struct TableSet;

// DBEffects, DBSelection and MXPreset of a table set.
PresetTableAccess AccessPresetTables(TableSet& tables);

class PresetTableFiller {
 public:
  explicit PresetTableFiller(PresetTableAccess tables) : t_(tables), direct_(tables), caching_(tables) {}

  // Empties and refills MXPreset from the preset's queues; sets the names of
  // the modifier queue entries it matches.
  void FillPresetTable(CurrentPreset& preset);
  void FillPresetTable() { FillPresetTable(Current()); }

  // Kept from one block to the next and from one run to the next: a block
  // without a definition row reuses the previous block's value.
  int32_t VariantParameterValue() const { return variantParameterValue_; }
  // Starts that value over, as a window opened anew does: a caller filling
  // several presets one by one can show each as it reads alone.
  void ResetVariantParameterValue() { variantParameterValue_ = 0; }

  // See CachingLookup::SetLateLockHook.
  void SetLateLockHook(std::function<void()> hook) { caching_.SetLateLockHook(std::move(hook)); }

 private:
  void Run(DefinitionLookup& lookup, CurrentPreset& preset);
  void AddBlockRows(DefinitionLookup& lookup, const BlockQueueEntry& block, uint8_t deviceType);
  void MarkModifier(DefinitionLookup& lookup, ModifierQueueEntry& modifier, uint8_t deviceType);

  PresetTableAccess t_;
  int32_t variantParameterValue_ = 0;
  DirectLookup direct_;
  CachingLookup caching_;
};

// Whether an effect type carries X and Y values on the second generation.
bool IsYCapableEffectType(int32_t effectTypeId);

}  // namespace tx
