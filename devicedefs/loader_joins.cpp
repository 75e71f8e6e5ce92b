#include "devicedefs/loader_joins.h"

#include <string_view>
#include <utility>
#include <vector>

namespace tx {

namespace {

// Field numbers of the same names in two queues.
std::vector<std::pair<size_t, size_t>> SameNames(const TextQueue& to, const TextQueue& from,
                                                 std::initializer_list<const char*> names) {
  std::vector<std::pair<size_t, size_t>> pairs;
  for (const char* n : names) pairs.emplace_back(to.F(n), from.F(n));
  return pairs;
}

// Appends all rows first and sorts once: the same order as inserting each
// row at its sorted place behind its equals, without the quadratic cost.
void SortEffects(TextQueue& efq) { efq.Sort({efq.F("EFFECTID"), efq.F("TYPEID")}); }

// Screen name and control type of the control that edits `internalName`.
void TakeControl(TextQueue& efq, size_t row, const TextQueue& cnq, std::string_view internalName) {
  long c = cnq.Find({cnq.F("PARAMETERNAME")}, {internalName});
  if (c < 0) return;
  efq.Set(row, efq.F("PARAMETERSCREENNAME"), cnq.Text(static_cast<size_t>(c), cnq.F("NAME")));
  efq.Set(row, efq.F("CONTROLTYPE"), cnq.Text(static_cast<size_t>(c), cnq.F("TYPE")));
}

void TakeEffectName(TextQueue& efq, size_t row, const TextQueue& eoq) {
  long e = eoq.Find({eoq.F("ID")}, {efq.Text(row, efq.F("EFFECTID"))});
  if (e >= 0) efq.Set(row, efq.F("EFFECTNAME"), eoq.Text(static_cast<size_t>(e), eoq.F("NAME")));
}

}  // namespace

void BuildEffectsGen2(const TextQueue& eoq, const TextQueue& efq1, TextQueue& efq) {
  const auto copied = SameNames(efq, efq1,
                                {"TYPEID", "EFFECTTYPE", "VARIANTPARAMID", "BYPASSPARAMID", "EFFECTVARIANTID",
                                 "PARAMID", "PARAMTYPE", "DEFAULT", "MINIMUM", "MAXIMUM", "PRECISION", "UNIT",
                                 "NUMVALS"});
  const size_t eoqId = eoq.F("ID"), eoqType = eoq.F("TYPEID"), efq1Type = efq1.F("TYPEID"),
               efqId = efq.F("EFFECTID");
  for (size_t i = 0; i < eoq.size(); ++i) {
    auto [first, last] = efq1.EqualRange({efq1Type}, {eoq.Text(i, eoqType)});
    for (size_t p = first; p < last; ++p) {
      size_t r = efq.AppendBlank();
      efq.Set(r, efqId, eoq.Text(i, eoqId));
      for (auto [to, from] : copied) efq.Set(r, to, efq1.Text(p, from));
    }
  }
  SortEffects(efq);
}

void CompleteEffectsGen2(TextQueue& efq, const TextQueue& eoq, const TextQueue& epq, const TextQueue& cnq) {
  const size_t typeId = efq.F("TYPEID"), paramId = efq.F("PARAMID"), epqType = epq.F("TYPEID"),
               epqId = epq.F("ID"), epqName = epq.F("EFFECTPARAMETERNAME");
  for (size_t r = 0; r < efq.size(); ++r) {
    TakeEffectName(efq, r, eoq);
    long p = epq.Find({epqType, epqId}, {efq.Text(r, typeId), efq.Text(r, paramId)});
    if (p < 0) continue;
    size_t e = static_cast<size_t>(p);
    efq.Set(r, efq.F("PARAMETERINTERNALNAME"), epq.Text(e, epqName));
    efq.Set(r, efq.F("BYPASSPARAMID"), epq.Text(e, epq.F("BYPASSPARAM")));
    efq.Set(r, efq.F("MODIFIERID"), epq.Text(e, epq.F("MODIFIERID")));
    TakeControl(efq, r, cnq, epq.Text(e, epqName));
  }
}

void MarkBypassGen1(TextQueue& eoq, const TextQueue& epqg1) {
  const size_t type = eoq.F("TYPE"), bypass = eoq.F("BYPASSID"), listName = epqg1.F("EFFECTPARAMETERSNAME"),
               modifier = epqg1.F("MODIFIERID"), id = epqg1.F("ID");
  for (size_t i = 0; i < eoq.size(); ++i) {
    auto [first, last] = epqg1.EqualRange({listName}, {eoq.Text(i, type)});
    for (size_t p = first; p < last; ++p)
      if (epqg1.Text(p, modifier) == "255") eoq.Set(i, bypass, epqg1.Text(p, id));
  }
}

void BuildEffectsGen1(const TextQueue& eoq, const TextQueue& efq1g1, TextQueue& efq) {
  const auto copied = SameNames(efq, efq1g1,
                                {"PARAMID", "PARAMTYPE", "DEFAULT", "MINIMUM", "MAXIMUM", "PRECISION", "UNIT",
                                 "NUMVALS"});
  const size_t eoqId = eoq.F("ID"), eoqType = eoq.F("TYPE"), eoqTypeId = eoq.F("TYPEID"),
               eoqBypass = eoq.F("BYPASSID"), profType = efq1g1.F("EFFECTTYPE");
  const size_t efqId = efq.F("EFFECTID"), efqTypeId = efq.F("TYPEID"), efqType = efq.F("EFFECTTYPE"),
               efqVariantParam = efq.F("VARIANTPARAMID"), efqVariant = efq.F("EFFECTVARIANTID"),
               efqBypass = efq.F("BYPASSPARAMID");
  for (size_t i = 0; i < eoq.size(); ++i) {
    auto [first, last] = efq1g1.EqualRange({profType}, {eoq.Text(i, eoqType)});
    for (size_t p = first; p < last; ++p) {
      size_t r = efq.AppendBlank();
      efq.Set(r, efqId, eoq.Text(i, eoqId));
      efq.Set(r, efqTypeId, eoq.Text(i, eoqTypeId));
      efq.Set(r, efqType, efq1g1.Text(p, profType));
      efq.Set(r, efqVariantParam, "0");
      efq.Set(r, efqVariant, "0");
      efq.Set(r, efqBypass, eoq.Text(i, eoqBypass));
      for (auto [to, from] : copied) efq.Set(r, to, efq1g1.Text(p, from));
    }
  }
  SortEffects(efq);
}

void CompleteEffectsGen1(TextQueue& efq, const TextQueue& eoq, const TextQueue& epqg1, const TextQueue& cnq) {
  const size_t type = efq.F("EFFECTTYPE"), paramId = efq.F("PARAMID"), listName = epqg1.F("EFFECTPARAMETERSNAME"),
               id = epqg1.F("ID"), name = epqg1.F("EFFECTPARAMETERNAME");
  for (size_t r = 0; r < efq.size(); ++r) {
    TakeEffectName(efq, r, eoq);
    long p = epqg1.Find({listName, id}, {efq.Text(r, type), efq.Text(r, paramId)});
    if (p < 0) continue;
    size_t e = static_cast<size_t>(p);
    efq.Set(r, efq.F("PARAMETERINTERNALNAME"), epqg1.Text(e, name));
    efq.Set(r, efq.F("MODIFIERID"), epqg1.Text(e, epqg1.F("MODIFIERID")));
    // No control for the parameter: its screen name stays blank.
    TakeControl(efq, r, cnq, epqg1.Text(e, name));
  }
}

}  // namespace tx
