#pragma once
// The four definition lookups a fill of the preset table makes, behind one
// interface. DirectLookup asks the tables every time; CachingLookup keeps
// what they answered from one fill to the next. Either leaves the record
// buffers of DBEffects and DBSelection, by the end of a fill, exactly as the
// lookups themselves would.
#include <cstdint>
#include <functional>

#include "devicedefs/tables.h"
#include "preset/format_value.h"
#include "preset/preset_state.h"

namespace tx {

class FileManager;

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

// A parameter's definition row and what a preset row takes from it alone.
struct ParameterDefinition {
  const EffectRecord* row = nullptr;
  PresetRecord start;  // the preset row's texts, before its values
  ValueScale scale;
};

class DefinitionLookup {
 public:
  virtual ~DefinitionLookup() = default;

  // One fill: `fill` runs with the lookups to use. A caching lookup that
  // finds part way that its kept rows no longer hold puts back what the
  // attempt changed (record buffers, `variantValue`, the modifier names of
  // `preset`) and runs `fill` again; MXPreset is the fill's to empty.
  virtual void Fill(CurrentPreset& preset, int32_t& variantValue,
                    const std::function<void(DefinitionLookup&)>& fill) = 0;

  // DBEffects by Effect_Key: the first row stored for the effect id.
  virtual const EffectRecord* FindEffect(int32_t effectId) = 0;
  // DBEffects by Effect_Primary_Key.
  virtual const ParameterDefinition* FindParameter(uint8_t device, int32_t effectId, int32_t variant,
                                                   int32_t parameterId) = 0;
  // DBSelection by Selection_Key, for a parameter this lookup found: its
  // list, or no entries for a numeric parameter.
  virtual SelectionList FindSelection(uint8_t device, const ParameterDefinition& parameter, int32_t variantValue) = 0;
  // The parameter a modifier drives: by EffectParameter_Key on the second
  // generation, by EffectModifier_Key on the first.
  virtual const EffectRecord* FindModifier(uint8_t device, int32_t effectId, int32_t id) = 0;
};

// Key fields set in the buffers as the lookups set them.
inline void SetParameterKey(EffectRecord& r, uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId) {
  r.DEVICETYPE = device;
  r.EFFECTID = effectId;
  r.EFFECTVARIANTID = variant;
  r.PARAMETERID = parameterId;
}
inline void SetSelectionKey(SelectionRecord& r, uint8_t device, const EffectRecord& parameter, int32_t variantValue) {
  r.DEVICETYPE = device;
  r.EFFECTTYPEID = parameter.EFFECTTYPEID;
  r.EFFECTVARIANTID = variantValue;
  r.PARAMETERID = parameter.PARAMETERID;
}
// Returns the key to fetch by.
int SetModifierKey(EffectRecord& r, uint8_t device, int32_t effectId, int32_t id);
// The parts of a preset row that come from the parameter's definition alone.
void StartRow(PresetRecord& row, const EffectRecord& eff);

}  // namespace tx
