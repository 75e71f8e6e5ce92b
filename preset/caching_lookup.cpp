#include "preset/caching_lookup.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

namespace tx {

namespace {
// More kept lookups than the device's definitions ever need: a guard
// against presets full of unknown ids and tables far larger than usual.
constexpr size_t CACHE_LIMIT = 200000;
}  // namespace

void CachingLookup::Fill(CurrentPreset& preset, int32_t& variantValue,
                         const std::function<void(DefinitionLookup&)>& fill) {
  CommitStamp effectsNow, selectionNow;
  unvouched_ = stamped_ && t_.effects.ReadCommitStamp(effectsNow) && t_.selection.ReadCommitStamp(selectionNow) &&
               effectsNow == effectsStamp_ && selectionNow == selectionStamp_ && cache_.entries <= CACHE_LIMIT;
  if (!unvouched_) {
    if (Vouch())
      Attempt(fill);
    else
      fill(direct_);
    return;
  }
  Save(preset, variantValue);
  try {
    Attempt(fill);
  } catch (const Stale&) {
    Restore(preset, variantValue);
    unvouched_ = false;
    // The content has moved on: this forgets the kept rows.
    if (Vouch())
      Attempt(fill);
    else
      fill(direct_);
  }
  unvouched_ = false;
}

void CachingLookup::Attempt(const std::function<void(DefinitionLookup&)>& fill) {
  pending_ = PendingEffect{};
  noRows_ = false;
  lastFound_ = nullptr;
  lastWasFound_ = false;
  fill(*this);
  LeaveEffectBuffer();
  LeaveSelectionBuffer();
}

bool CachingLookup::Vouch() {
  const uint64_t effectsVersion = t_.effects.ContentVersion();
  const uint64_t selectionVersion = t_.selection.ContentVersion();
  if (effectsVersion == 0 || selectionVersion == 0) {
    cache_.Clear();
    effectsVersion_ = selectionVersion_ = 0;
    stamped_ = false;
    return false;
  }
  if (effectsVersion != effectsVersion_ || selectionVersion != selectionVersion_ || cache_.entries > CACHE_LIMIT) {
    cache_.Clear();
    effectsVersion_ = effectsVersion;
    selectionVersion_ = selectionVersion;
  }
  // Read under the locks just taken, so they belong to this content.
  stamped_ = t_.effects.ReadCommitStamp(effectsStamp_) && t_.selection.ReadCommitStamp(selectionStamp_);
  return true;
}

void CachingLookup::MayRead() {
  if (!unvouched_) return;
  unvouched_ = false;
  if (lateLockHook_) lateLockHook_();
  // Under the read locks the tables tell whether anything was committed
  // since the kept rows were read.
  if (t_.effects.ContentVersion() != effectsVersion_ || t_.selection.ContentVersion() != selectionVersion_)
    throw Stale{};
}

bool CachingLookup::FetchEffect(EffectSlot& slot, int key) {
  if (slot.state == Answer::Found) {
    t_.eff = *slot.row;
    return true;
  }
  if (slot.state == Answer::Missing) return false;
  MayRead();
  const int rc = t_.effects.Fetch(key);
  if (rc == FOUND) {
    slot.state = Answer::Found;
    slot.row = std::make_unique<EffectRecord>(t_.eff);
  } else if (rc == NOT_FOUND) {
    slot.state = Answer::Missing;
  }
  return rc == FOUND;
}

const EffectRecord* CachingLookup::FindEffect(int32_t effectId) {
  LeaveEffectBuffer();
  t_.eff.EFFECTID = effectId;
  EffectSlot& slot = cache_.Slot(cache_.effects, effectId);
  const bool found = FetchEffect(slot, Effect_Key);
  noRows_ = slot.state == Answer::Missing;
  noRowsEffectId_ = effectId;
  return found ? &t_.eff : nullptr;
}

const ParameterDefinition* CachingLookup::FindParameter(uint8_t device, int32_t effectId, int32_t variant,
                                                        int32_t parameterId) {
  if (noRows_ && effectId == noRowsEffectId_) {
    PendingMiss(device, effectId, variant, parameterId);
    return nullptr;
  }
  ParameterSlot& slot = cache_.Parameter({device, effectId, variant}, parameterId);
  if (slot.state == Answer::Found) {
    pending_.row = slot.found->row;
    pending_.keys = false;
    return slot.found.get();
  }
  if (slot.state == Answer::Missing) {
    PendingMiss(device, effectId, variant, parameterId);
    return nullptr;
  }
  return ReadParameter(slot, device, effectId, variant, parameterId);
}

const ParameterDefinition* CachingLookup::ReadParameter(ParameterSlot& slot, uint8_t device, int32_t effectId,
                                                        int32_t variant, int32_t parameterId) {
  MayRead();
  LeaveEffectBuffer();
  SetParameterKey(t_.eff, device, effectId, variant, parameterId);
  const int rc = t_.effects.Fetch(Effect_Primary_Key);
  if (rc == FOUND) {
    slot.state = Answer::Found;
    slot.found = std::make_unique<KeptParameter>(t_.eff);
    return slot.found.get();
  }
  if (rc == NOT_FOUND) slot.state = Answer::Missing;
  return nullptr;
}

// A parameter lookup that finds nothing leaves its key in the buffer.
void CachingLookup::PendingMiss(uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId) {
  pending_.keys = true;
  pending_.device = device;
  pending_.effectId = effectId;
  pending_.variant = variant;
  pending_.parameterId = parameterId;
}

void CachingLookup::LeaveEffectBuffer() {
  if (pending_.row) t_.eff = *pending_.row;
  if (pending_.keys) SetParameterKey(t_.eff, pending_.device, pending_.effectId, pending_.variant, pending_.parameterId);
  pending_ = PendingEffect{};
}

SelectionList CachingLookup::FindSelection(uint8_t device, const ParameterDefinition& parameter,
                                           int32_t variantValue) {
  // Every parameter this lookup returns is kept.
  const auto& kept = static_cast<const KeptParameter&>(parameter);
  SetSelectionKey(t_.sel, device, kept.record, variantValue);
  const KeptSelection* c = kept.selection;
  if (!c || kept.selectionVariant != variantValue) {
    KeptSelection& entry =
        cache_.Slot(cache_.selections, {device, t_.sel.EFFECTTYPEID, variantValue, t_.sel.PARAMETERID});
    if (entry.state == Answer::Unknown) {
      MayRead();
      const int rc = t_.selection.Fetch(Selection_Key);
      if (rc == FOUND) {
        entry.Keep(t_.sel);
      } else if (rc == NOT_FOUND) {
        entry.state = Answer::Missing;
      } else {
        lastWasFound_ = false;
        return {};  // a failed read: nothing to remember
      }
    }
    kept.selection = c = &entry;
    kept.selectionVariant = variantValue;
  }
  lastWasFound_ = c->state == Answer::Found;
  if (!lastWasFound_) return {};
  lastFound_ = c;
  return c->List();
}

void CachingLookup::LeaveSelectionBuffer() {
  const KeptSelection* found = lastFound_;
  if (!found) return;
  const uint8_t device = t_.sel.DEVICETYPE;
  const int32_t typeId = t_.sel.EFFECTTYPEID, variant = t_.sel.EFFECTVARIANTID, parameterId = t_.sel.PARAMETERID;
  std::memcpy(static_cast<void*>(&t_.sel), found->head.data(), found->head.size());
  std::copy(found->entries.begin(), found->entries.end(), t_.sel.SELECTION);
  std::fill(t_.sel.SELECTION + found->entries.size(), std::end(t_.sel.SELECTION), FixedString<32>());
  if (!lastWasFound_) {
    t_.sel.DEVICETYPE = device;
    t_.sel.EFFECTTYPEID = typeId;
    t_.sel.EFFECTVARIANTID = variant;
    t_.sel.PARAMETERID = parameterId;
  }
}

const EffectRecord* CachingLookup::FindModifier(uint8_t device, int32_t effectId, int32_t id) {
  LeaveEffectBuffer();
  const int key = SetModifierKey(t_.eff, device, effectId, id);
  EffectSlot& slot = cache_.Slot(cache_.modifiers, {device, effectId, id});
  return FetchEffect(slot, key) ? &t_.eff : nullptr;
}

void CachingLookup::Save(const CurrentPreset& preset, int32_t variantValue) {
  saved_.eff = t_.eff;
  std::memcpy(saved_.selKeys.data(), &t_.sel, saved_.selKeys.size());
  saved_.pre = t_.pre;
  saved_.variant = variantValue;
  saved_.names.clear();
  for (const ModifierQueueEntry& m : preset.MQ) saved_.names.emplace_back(m.EFFECTNAME, m.PARAMETERNAME);
}

void CachingLookup::Restore(CurrentPreset& preset, int32_t& variantValue) {
  t_.eff = saved_.eff;
  std::memcpy(static_cast<void*>(&t_.sel), saved_.selKeys.data(), saved_.selKeys.size());
  t_.pre = saved_.pre;
  variantValue = saved_.variant;
  for (size_t i = 0; i < preset.MQ.size(); ++i) {
    preset.MQ[i].EFFECTNAME = saved_.names[i].first;
    preset.MQ[i].PARAMETERNAME = saved_.names[i].second;
  }
}

}  // namespace tx
