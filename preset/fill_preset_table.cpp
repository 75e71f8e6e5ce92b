#include "preset/fill_preset_table.h"

#include <algorithm>

#include "preset/format_value.h"
#include "services/file_manager.h"

namespace tx {

PresetTableAccess AccessPresetTables(TableSet& t) {
  return {t.DBEffects, t.effect, t.DBSelection, t.selection, t.MXPreset, t.preset};
}

bool IsYCapableEffectType(int32_t effectTypeId) {
  switch (effectTypeId) {
    case 5: case 6: case 7: case 8: case 10: case 11: case 13: case 14: case 17: case 19:
      return true;
    default:
      return false;
  }
}

void PresetTableFiller::AddBlockRows(DefinitionLookup& lookup, const BlockQueueEntry& block, uint8_t deviceType) {
  // A block without any definition row yields no rows whatever variant is
  // used below, so 0 is as good as any there.
  int32_t variant = 0;
  if (const EffectRecord* effect = lookup.FindEffect(block.EFFECTID)) {
    variantParameterValue_ = effect->EFFECTVARIANTPARAMETERID;
    variant = effect->EFFECTVARIANTID;
  }
  if (variantParameterValue_ == -1) variantParameterValue_ = 0;

  // Only the held values can be shown, even when the record states more.
  const long count = block.PARAMETERCOUNT;
  const long shown = std::min<long>(count, MAX_BLOCK_VALUES);
  for (long i = 1; i <= shown; ++i) {
    const ParameterDefinition* parameter =
        lookup.FindParameter(deviceType, block.EFFECTID, variant, static_cast<int32_t>(i - 1));
    if (!parameter) continue;
    PresetRecord& row = t_.pre;
    row = parameter->start;
    const SelectionList list = lookup.FindSelection(deviceType, *parameter, variantParameterValue_);
    auto format = [&](int32_t raw) {
      return list.entries ? FormatListValue(raw, list) : FormatScaledValue(raw, parameter->scale);
    };
    row.XVALUE = format(block.Entry(i));
    if (deviceType == DEVICE_GEN2 && IsYCapableEffectType(parameter->row->EFFECTTYPEID)) {
      // count / 2 is made whole by dropping the half, so an odd count puts
      // the Y half one entry early. A Y position past the held values has
      // no value to show and stays blank.
      const int32_t y = block.Entry(count / 2 + i);
      if (y >= 0) row.YVALUE = format(y);
    }
    row.XACTIVE = block.XYSTATE == 1 ? " " : "*";
    row.YACTIVE = block.XYSTATE == 1 ? "*" : " ";
    t_.preset.Insert();
  }
}

void PresetTableFiller::MarkModifier(DefinitionLookup& lookup, ModifierQueueEntry& modifier, uint8_t deviceType) {
  const EffectRecord* driven = lookup.FindModifier(deviceType, modifier.EFFECTID, modifier.PARAMETERID);
  if (!driven) return;
  t_.pre.EFFECTID = driven->EFFECTID;
  t_.pre.PARAMETERID = driven->PARAMETERID;
  if (t_.preset.Fetch(PresetEffect_Key) != FOUND) return;
  t_.pre.MODIFIERFLAG = "*";
  t_.preset.Update();
  modifier.EFFECTNAME = driven->EFFECTNAME.raw();
  modifier.PARAMETERNAME = driven->INTERNALNAME.raw();
}

void PresetTableFiller::Run(DefinitionLookup& lookup, CurrentPreset& preset) {
  const uint8_t deviceType = preset.state.deviceType;
  t_.preset.Empty();
  for (const BlockQueueEntry& block : preset.PQ) AddBlockRows(lookup, block, deviceType);
  for (ModifierQueueEntry& modifier : preset.MQ) MarkModifier(lookup, modifier, deviceType);
}

void PresetTableFiller::FillPresetTable(CurrentPreset& preset) {
  // One transaction per table around the whole fill: the definitions read
  // form one consistent view even if another process imports meanwhile, and
  // the driver takes its file locks once instead of for every lookup. When
  // one cannot be started (a transaction already running, a lock held
  // elsewhere) the fill runs without it. The transactions are deferred: no
  // lock is taken before the first read.
  const bool effects = t_.effects.BeginTransaction() == Level::Done;
  const bool selection = t_.selection.BeginTransaction() == Level::Done;
  const bool rows = t_.preset.BeginTransaction() == Level::Done;

  // Kept definitions serve only inside both transactions.
  DefinitionLookup& lookup = effects && selection ? static_cast<DefinitionLookup&>(caching_) : direct_;
  lookup.Fill(preset, variantParameterValue_, [this, &preset](DefinitionLookup& found) { Run(found, preset); });

  if (rows) t_.preset.Commit();
  if (selection) t_.selection.Commit();
  if (effects) t_.effects.Commit();
}

}  // namespace tx
