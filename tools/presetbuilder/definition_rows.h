#pragma once
// Definition rows put straight into DBEffects and DBSelection, for tests,
// benchmarks and fuzzing that need definitions without the import.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "devicedefs/tables.h"

namespace txtools {

// One DBEffects row; the scaling defaults to a plain 0..10 sweep.
struct EffectRow {
  uint8_t deviceType = 3;
  int32_t effectId = 0;
  int32_t effectTypeId = 0;
  int32_t variantParameterId = 0;
  int32_t variantId = 0;
  int32_t parameterId = 0;
  int32_t modifierId = 0;
  std::string effectName = "Effect";
  std::string internalName;
  std::string screenName;
  std::string paramType = "LIN";
  double minimum = 0;
  double maximum = 10;
  int32_t precision = 1;
  int32_t numberOfValues = 10;
  std::string unit;

  tx::EffectRecord Record() const {
    tx::EffectRecord r;
    r.DEVICETYPE = deviceType;
    r.EFFECTID = effectId;
    r.EFFECTTYPEID = effectTypeId;
    r.EFFECTTYPE = "Type" + std::to_string(effectTypeId);
    r.EFFECTVARIANTPARAMETERID = variantParameterId;
    r.EFFECTNAME = effectName;
    r.EFFECTVARIANTID = variantId;
    r.PARAMETERID = parameterId;
    r.MODIFIERID = modifierId;
    r.INTERNALNAME = internalName.empty() ? "P" + std::to_string(parameterId) : internalName;
    r.SCREENNAME = screenName;
    r.PARAMTYPE = paramType;
    r.MINIMUMVALUE = minimum;
    r.MAXIMUMVALUE = maximum;
    r.PRECISION = precision;
    r.NUMBEROFVALUES = numberOfValues;
    r.UNIT = unit;
    return r;
  }
};

// Appends the row; returns the table's result level.
inline int InsertEffect(tx::TableSet& t, const EffectRow& row) {
  t.effect = row.Record();
  return t.DBEffects.Insert();
}

// Appends a DBSelection row with the given entries (entry 1 first; an empty
// list gives the all-blank row the import writes for numeric parameters).
inline int InsertSelection(tx::TableSet& t, uint8_t deviceType, int32_t effectTypeId, int32_t variantId,
                           int32_t parameterId, std::initializer_list<std::string> entries) {
  t.selection = tx::SelectionRecord{};
  t.selection.DEVICETYPE = deviceType;
  t.selection.EFFECTTYPEID = effectTypeId;
  t.selection.EFFECTVARIANTID = variantId;
  t.selection.PARAMETERID = parameterId;
  size_t i = 0;
  for (const auto& e : entries) t.selection.SELECTION[i++] = e;
  return t.DBSelection.Insert();
}

}  // namespace txtools
