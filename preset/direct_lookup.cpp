#include "preset/direct_lookup.h"

#include <iterator>

#include "services/file_manager.h"

namespace tx {

const EffectRecord* DirectLookup::FindEffect(int32_t effectId) {
  t_.eff.EFFECTID = effectId;
  return t_.effects.Fetch(Effect_Key) == FOUND ? &t_.eff : nullptr;
}

const ParameterDefinition* DirectLookup::FindParameter(uint8_t device, int32_t effectId, int32_t variant,
                                                       int32_t parameterId) {
  SetParameterKey(t_.eff, device, effectId, variant, parameterId);
  if (t_.effects.Fetch(Effect_Primary_Key) != FOUND) return nullptr;
  found_.row = &t_.eff;
  StartRow(found_.start, t_.eff);
  found_.scale = ValueScale(t_.eff);
  return &found_;
}

SelectionList DirectLookup::FindSelection(uint8_t device, const ParameterDefinition& parameter, int32_t variantValue) {
  SetSelectionKey(t_.sel, device, *parameter.row, variantValue);
  if (t_.selection.Fetch(Selection_Key) != FOUND || !SelectionMakesList(t_.sel)) return {};
  return {t_.sel.SELECTION, std::size(t_.sel.SELECTION)};
}

const EffectRecord* DirectLookup::FindModifier(uint8_t device, int32_t effectId, int32_t id) {
  const int key = SetModifierKey(t_.eff, device, effectId, id);
  return t_.effects.Fetch(key) == FOUND ? &t_.eff : nullptr;
}

}  // namespace tx
