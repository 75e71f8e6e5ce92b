#include "preset/definition_lookup.h"

namespace tx {

int SetModifierKey(EffectRecord& r, uint8_t device, int32_t effectId, int32_t id) {
  r.EFFECTID = effectId;
  if (device == DEVICE_GEN2) {
    r.DEVICETYPE = DEVICE_GEN2;
    r.PARAMETERID = id;
    return EffectParameter_Key;
  }
  // The modifier key also holds the variant; first-generation definitions
  // all carry variant 0, so that is the variant asked for rather than
  // whatever the previous lookup left in the record.
  r.DEVICETYPE = DEVICE_GEN1;
  r.EFFECTVARIANTID = 0;
  r.MODIFIERID = id;
  return EffectModifier_Key;
}

void StartRow(PresetRecord& row, const EffectRecord& eff) {
  row = PresetRecord{};
  row.EFFECTID = eff.EFFECTID;
  row.EFFECTNAME = eff.EFFECTNAME.raw();
  row.PARAMETERID = eff.PARAMETERID;
  row.SCREENNAME = eff.SCREENNAME.blank() ? eff.INTERNALNAME.raw() : eff.SCREENNAME.raw();
  row.UNIT = eff.UNIT.raw();
}

}  // namespace tx
