#include "preset/fill_preset_table.h"

#include <algorithm>

#include "preset/format_value.h"
#include "services/file_manager.h"

namespace tx {

namespace {
constexpr int FOUND = 0;  // level "done" of the access layer
}

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

const SelectionRecord* PresetTableFiller::LookupSelection(uint8_t deviceType) {
  t_.sel.DEVICETYPE = deviceType;
  t_.sel.EFFECTTYPEID = t_.eff.EFFECTTYPEID;
  t_.sel.EFFECTVARIANTID = variantParameterValue_;
  t_.sel.PARAMETERID = t_.eff.PARAMETERID;
  if (t_.selection.Fetch(Selection_Key) != FOUND) return nullptr;
  return SelectionMakesList(t_.sel) ? &t_.sel : nullptr;
}

void PresetTableFiller::AddBlockRows(const BlockQueueEntry& block, uint8_t deviceType) {
  t_.eff.EFFECTID = block.EFFECTID;
  // A block without any definition row yields no rows whatever variant is
  // used below, so 0 is as good as any there.
  int32_t variant = 0;
  if (t_.effects.Fetch(Effect_Key) == FOUND) {
    variantParameterValue_ = t_.eff.EFFECTVARIANTPARAMETERID;
    variant = t_.eff.EFFECTVARIANTID;
  }
  if (variantParameterValue_ == -1) variantParameterValue_ = 0;

  // Only the held values can be shown, even when the record states more.
  const long count = block.PARAMETERCOUNT;
  const long shown = std::min<long>(count, MAX_BLOCK_VALUES);
  for (long i = 1; i <= shown; ++i) {
    t_.eff.DEVICETYPE = deviceType;
    t_.eff.EFFECTID = block.EFFECTID;
    t_.eff.EFFECTVARIANTID = variant;
    t_.eff.PARAMETERID = static_cast<int32_t>(i - 1);
    if (t_.effects.Fetch(Effect_Primary_Key) != FOUND) continue;

    PresetRecord& row = t_.pre;
    row = PresetRecord{};
    row.EFFECTID = t_.eff.EFFECTID;
    row.EFFECTNAME = t_.eff.EFFECTNAME.raw();
    row.PARAMETERID = t_.eff.PARAMETERID;
    row.SCREENNAME = t_.eff.SCREENNAME.blank() ? t_.eff.INTERNALNAME.raw() : t_.eff.SCREENNAME.raw();
    row.UNIT = t_.eff.UNIT.raw();

    const SelectionRecord* list = LookupSelection(deviceType);
    row.XVALUE = FormatParameterValue(block.Entry(i), t_.eff, list);
    if (deviceType == DEVICE_GEN2 && IsYCapableEffectType(t_.eff.EFFECTTYPEID)) {
      // count / 2 is made whole by dropping the half, so an odd count puts
      // the Y half one entry early. A Y position past the held values has
      // no value to show and stays blank.
      int32_t y = block.Entry(count / 2 + i);
      if (y >= 0) row.YVALUE = FormatParameterValue(y, t_.eff, list);
    }
    row.XACTIVE = block.XYSTATE == 1 ? " " : "*";
    row.YACTIVE = block.XYSTATE == 1 ? "*" : " ";
    t_.preset.Insert();
  }
}

void PresetTableFiller::MarkModifier(ModifierQueueEntry& modifier, uint8_t deviceType) {
  t_.eff.EFFECTID = modifier.EFFECTID;
  int found;
  if (deviceType == DEVICE_GEN2) {
    t_.eff.DEVICETYPE = DEVICE_GEN2;
    t_.eff.PARAMETERID = modifier.PARAMETERID;
    found = t_.effects.Fetch(EffectParameter_Key);
  } else {
    // The modifier key also holds the variant; first-generation definitions
    // all carry variant 0, so that is the variant asked for rather than
    // whatever the previous lookup left in the record.
    t_.eff.DEVICETYPE = DEVICE_GEN1;
    t_.eff.EFFECTVARIANTID = 0;
    t_.eff.MODIFIERID = modifier.PARAMETERID;
    found = t_.effects.Fetch(EffectModifier_Key);
  }
  if (found != FOUND) return;
  t_.pre.EFFECTID = t_.eff.EFFECTID;
  t_.pre.PARAMETERID = t_.eff.PARAMETERID;
  if (t_.preset.Fetch(PresetEffect_Key) != FOUND) return;
  t_.pre.MODIFIERFLAG = "*";
  t_.preset.Update();
  modifier.EFFECTNAME = t_.eff.EFFECTNAME.raw();
  modifier.PARAMETERNAME = t_.eff.INTERNALNAME.raw();
}

void PresetTableFiller::FillPresetTable(CurrentPreset& preset) {
  const uint8_t deviceType = preset.state.deviceType;
  // One transaction per table around the whole fill: the definitions read
  // form one consistent view even if another process imports meanwhile, and
  // the driver takes its file locks once instead of for every lookup. When
  // one cannot be started (a transaction already running, a lock held
  // elsewhere) the fill runs without it.
  const bool effects = t_.effects.BeginTransaction() == FOUND;
  const bool selection = t_.selection.BeginTransaction() == FOUND;
  const bool rows = t_.preset.BeginTransaction() == FOUND;
  t_.preset.Empty();
  for (const BlockQueueEntry& block : preset.PQ) AddBlockRows(block, deviceType);
  for (ModifierQueueEntry& modifier : preset.MQ) MarkModifier(modifier, deviceType);
  if (rows) t_.preset.Commit();
  if (selection) t_.selection.Commit();
  if (effects) t_.effects.Commit();
}

}  // namespace tx
