#pragma once
// Definition lookups that ask the tables every time, through their access
// objects and record buffers.
#include "preset/definition_lookup.h"

namespace tx {

class DirectLookup final : public DefinitionLookup {
 public:
  explicit DirectLookup(PresetTableAccess tables) : t_(tables) {}

  void Fill(CurrentPreset&, int32_t&, const std::function<void(DefinitionLookup&)>& fill) override { fill(*this); }
  const EffectRecord* FindEffect(int32_t effectId) override;
  const ParameterDefinition* FindParameter(uint8_t device, int32_t effectId, int32_t variant,
                                           int32_t parameterId) override;
  SelectionList FindSelection(uint8_t device, const ParameterDefinition& parameter, int32_t variantValue) override;
  const EffectRecord* FindModifier(uint8_t device, int32_t effectId, int32_t id) override;

 private:
  PresetTableAccess t_;
  ParameterDefinition found_;  // the last parameter found; its row is the buffer
};

}  // namespace tx
