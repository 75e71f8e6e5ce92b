#include "preset/fill_preset_table.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "preset/format_value.h"
#include "services/file_manager.h"

namespace tx {

namespace {
// More kept lookups than the device's definitions ever need: a guard
// against presets full of unknown ids and tables far larger than usual.
constexpr size_t CACHE_LIMIT = 200000;

uint64_t Mix(uint64_t h, uint32_t v) {
  h = (h ^ v) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}

void SetParameterKey(EffectRecord& r, uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId) {
  r.DEVICETYPE = device;
  r.EFFECTID = effectId;
  r.EFFECTVARIANTID = variant;
  r.PARAMETERID = parameterId;
}

// The parts of a preset row that come from the parameter's definition alone.
void StartRow(PresetRecord& row, const EffectRecord& eff) {
  row = PresetRecord{};
  row.EFFECTID = eff.EFFECTID;
  row.EFFECTNAME = eff.EFFECTNAME.raw();
  row.PARAMETERID = eff.PARAMETERID;
  row.SCREENNAME = eff.SCREENNAME.blank() ? eff.INTERNALNAME.raw() : eff.SCREENNAME.raw();
  row.UNIT = eff.UNIT.raw();
}
}  // namespace

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

void PresetTableFiller::DefinitionCache::Clear() {
  effects.clear();
  modifiers.clear();
  parameters.clear();
  selections.clear();
  entries = 0;
  lastFound = nullptr;
  lastWasFound = false;
}

size_t PresetTableFiller::KeyHash::operator()(const InstanceKey& k) const {
  return Mix(Mix(Mix(0, k.device), static_cast<uint32_t>(k.effectId)), static_cast<uint32_t>(k.variant));
}

size_t PresetTableFiller::KeyHash::operator()(const SelectionKey& k) const {
  uint64_t h = Mix(Mix(0, k.device), static_cast<uint32_t>(k.typeId));
  return Mix(Mix(h, static_cast<uint32_t>(k.variant)), static_cast<uint32_t>(k.parameterId));
}

size_t PresetTableFiller::KeyHash::operator()(const ModifierKey& k) const {
  return Mix(Mix(Mix(1, k.device), static_cast<uint32_t>(k.effectId)), static_cast<uint32_t>(k.id));
}

bool PresetTableFiller::MayRead() {
  if (!unvouched_) return true;
  unvouched_ = false;
  if (lateLockHook_) lateLockHook_();
  // Under the read locks the tables tell whether anything was committed
  // since the kept rows were read.
  if (t_.effects.ContentVersion() == cache_.effectsVersion && t_.selection.ContentVersion() == cache_.selectionVersion)
    return true;
  stale_ = true;
  return false;
}

int PresetTableFiller::FetchEffect(CachedEffect* c, int key) {
  if (!c) return t_.effects.Fetch(key);
  if (c->state == Lookup::Found) {
    t_.eff = *c->row;
    return FOUND;
  }
  if (c->state == Lookup::Missing) return NOT_FOUND;
  if (!MayRead()) return NOT_FOUND;
  const int rc = t_.effects.Fetch(key);
  if (rc == FOUND) {
    c->state = Lookup::Found;
    c->row = std::make_unique<EffectRecord>(t_.eff);
  } else if (rc == NOT_FOUND) {
    c->state = Lookup::Missing;
  }
  return rc;
}

// DBEffects by Effect_Key, EFFECTID set in the buffer.
bool PresetTableFiller::FindBlockEffect(bool& none) {
  CachedEffect* c = nullptr;
  if (caching_) {
    c = &cache_.Slot(cache_.effects, int32_t{t_.eff.EFFECTID});
  }
  const int rc = FetchEffect(c, Effect_Key);
  none = c && c->state == Lookup::Missing;
  return rc == FOUND;
}

// DBEffects by Effect_Primary_Key: the parameter's definition row, or nullptr.
// Kept rows are not copied into the buffer one by one; pending_ holds what
// the lookups would have left there until LeaveEffectBuffer puts it in.
const EffectRecord* PresetTableFiller::FindParameter(CachedParameter* cached, uint8_t device, int32_t effectId,
                                                     int32_t variant, int32_t parameterId) {
  if (cached && cached->state == Lookup::Found) {
    pending_.row = &cached->found->row;
    pending_.keys = false;
    return &cached->found->row;
  }
  if (cached && cached->state == Lookup::Missing) {
    PendingMiss(device, effectId, variant, parameterId);
    return nullptr;
  }
  if (cached && !MayRead()) return nullptr;
  LeaveEffectBuffer();
  SetParameterKey(t_.eff, device, effectId, variant, parameterId);
  const int rc = t_.effects.Fetch(Effect_Primary_Key);
  if (!cached) return rc == FOUND ? &t_.eff : nullptr;
  if (rc == FOUND) {
    cached->state = Lookup::Found;
    cached->found = std::make_unique<FoundParameter>();
    cached->found->row = t_.eff;
    StartRow(cached->found->start, t_.eff);
    cached->found->scale = ValueScale(t_.eff);
    return &cached->found->row;
  }
  if (rc == NOT_FOUND) cached->state = Lookup::Missing;
  return nullptr;
}

void PresetTableFiller::PendingMiss(uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId) {
  pending_.keys = true;
  pending_.device = device;
  pending_.effectId = effectId;
  pending_.variant = variant;
  pending_.parameterId = parameterId;
}

void PresetTableFiller::LeaveEffectBuffer() {
  if (pending_.row) t_.eff = *pending_.row;
  if (pending_.keys) SetParameterKey(t_.eff, pending_.device, pending_.effectId, pending_.variant, pending_.parameterId);
  pending_ = PendingEffect{};
}

SelectionList PresetTableFiller::LookupSelection(uint8_t deviceType, const EffectRecord& eff, CachedParameter* cached) {
  t_.sel.DEVICETYPE = deviceType;
  t_.sel.EFFECTTYPEID = eff.EFFECTTYPEID;
  t_.sel.EFFECTVARIANTID = variantParameterValue_;
  t_.sel.PARAMETERID = eff.PARAMETERID;
  if (!cached) {
    if (t_.selection.Fetch(Selection_Key) != FOUND || !SelectionMakesList(t_.sel)) return {};
    return {t_.sel.SELECTION, std::size(t_.sel.SELECTION)};
  }
  const CachedSelection* c = cached->selection;
  if (!c || cached->selectionVariant != variantParameterValue_) {
    CachedSelection& entry =
        cache_.Slot(cache_.selections, {deviceType, t_.sel.EFFECTTYPEID, variantParameterValue_, t_.sel.PARAMETERID});
    if (entry.state == Lookup::Unknown) {
      if (!MayRead()) return {};
      const int rc = t_.selection.Fetch(Selection_Key);
      if (rc == FOUND) {
        entry.state = Lookup::Found;
        std::memcpy(entry.head.data(), &t_.sel, entry.head.size());
        size_t count = std::size(t_.sel.SELECTION);
        while (count > 0 && t_.sel.SELECTION[count - 1].blank()) --count;
        entry.entries.assign(t_.sel.SELECTION, t_.sel.SELECTION + count);
      } else if (rc == NOT_FOUND) {
        entry.state = Lookup::Missing;
      } else {
        cache_.lastWasFound = false;
        return {};  // a failed read: nothing to remember
      }
    }
    cached->selection = c = &entry;
    cached->selectionVariant = variantParameterValue_;
  }
  cache_.lastWasFound = c->state == Lookup::Found;
  if (c->state != Lookup::Found) return {};
  cache_.lastFound = c;
  return c->List();
}

// The selection buffer as the last lookup would have left it: the last row
// found, with the key of a later lookup that found nothing.
void PresetTableFiller::LeaveSelectionBuffer() {
  const CachedSelection* found = cache_.lastFound;
  if (!found) return;
  const uint8_t device = t_.sel.DEVICETYPE;
  const int32_t typeId = t_.sel.EFFECTTYPEID, variant = t_.sel.EFFECTVARIANTID, parameterId = t_.sel.PARAMETERID;
  std::memcpy(static_cast<void*>(&t_.sel), found->head.data(), found->head.size());
  std::copy(found->entries.begin(), found->entries.end(), t_.sel.SELECTION);
  std::fill(t_.sel.SELECTION + found->entries.size(), std::end(t_.sel.SELECTION), FixedString<32>());
  if (!cache_.lastWasFound) {
    t_.sel.DEVICETYPE = device;
    t_.sel.EFFECTTYPEID = typeId;
    t_.sel.EFFECTVARIANTID = variant;
    t_.sel.PARAMETERID = parameterId;
  }
}

void PresetTableFiller::AddBlockRows(const BlockQueueEntry& block, uint8_t deviceType) {
  t_.eff.EFFECTID = block.EFFECTID;
  // A block without any definition row yields no rows whatever variant is
  // used below, so 0 is as good as any there.
  int32_t variant = 0;
  bool none = false;
  if (FindBlockEffect(none)) {
    variantParameterValue_ = t_.eff.EFFECTVARIANTPARAMETERID;
    variant = t_.eff.EFFECTVARIANTID;
  }
  if (stale_) return;
  if (variantParameterValue_ == -1) variantParameterValue_ = 0;

  // Only the held values can be shown, even when the record states more.
  const long count = block.PARAMETERCOUNT;
  const long shown = std::min<long>(count, MAX_BLOCK_VALUES);
  if (none) {
    // No row of this effect id at all: every parameter lookup would find
    // nothing, and the last one would leave its key in the buffer.
    if (shown > 0) {
      PendingMiss(deviceType, block.EFFECTID, variant, static_cast<int32_t>(shown - 1));
      LeaveEffectBuffer();
    }
    return;
  }
  std::vector<CachedParameter>* cached = nullptr;
  if (caching_ && shown > 0) {
    cached = &cache_.parameters[{deviceType, block.EFFECTID, variant}];
    if (cached->size() < static_cast<size_t>(shown)) {
      cache_.entries += static_cast<size_t>(shown) - cached->size();
      cached->resize(static_cast<size_t>(shown));
    }
  }
  for (long i = 1; i <= shown; ++i) {
    CachedParameter* parameter = cached ? &(*cached)[static_cast<size_t>(i - 1)] : nullptr;
    const EffectRecord* found = FindParameter(parameter, deviceType, block.EFFECTID, variant, static_cast<int32_t>(i - 1));
    if (stale_) return;
    if (!found) continue;
    const EffectRecord& eff = *found;

    PresetRecord& row = t_.pre;
    if (parameter)
      row = parameter->found->start;
    else
      StartRow(row, eff);

    const SelectionList list = LookupSelection(deviceType, eff, parameter);
    if (stale_) return;
    // Kept parameters carry their scale; the others work it out here.
    const ValueScale own = parameter ? ValueScale() : ValueScale(eff);
    const ValueScale& scale = parameter ? parameter->found->scale : own;
    auto format = [&](int32_t raw) { return list.entries ? FormatListValue(raw, list) : FormatScaledValue(raw, scale); };
    row.XVALUE = format(block.Entry(i));
    if (deviceType == DEVICE_GEN2 && IsYCapableEffectType(eff.EFFECTTYPEID)) {
      // count / 2 is made whole by dropping the half, so an odd count puts
      // the Y half one entry early. A Y position past the held values has
      // no value to show and stays blank.
      int32_t y = block.Entry(count / 2 + i);
      if (y >= 0) row.YVALUE = format(y);
    }
    row.XACTIVE = block.XYSTATE == 1 ? " " : "*";
    row.YACTIVE = block.XYSTATE == 1 ? "*" : " ";
    t_.preset.Insert();
  }
  // Before the next block's lookups, and before the cache may move its rows.
  LeaveEffectBuffer();
}

void PresetTableFiller::MarkModifier(ModifierQueueEntry& modifier, uint8_t deviceType) {
  t_.eff.EFFECTID = modifier.EFFECTID;
  const bool gen2 = deviceType == DEVICE_GEN2;
  if (gen2) {
    t_.eff.DEVICETYPE = DEVICE_GEN2;
    t_.eff.PARAMETERID = modifier.PARAMETERID;
  } else {
    // The modifier key also holds the variant; first-generation definitions
    // all carry variant 0, so that is the variant asked for rather than
    // whatever the previous lookup left in the record.
    t_.eff.DEVICETYPE = DEVICE_GEN1;
    t_.eff.EFFECTVARIANTID = 0;
    t_.eff.MODIFIERID = modifier.PARAMETERID;
  }
  CachedEffect* c = nullptr;
  if (caching_) {
    c = &cache_.Slot(cache_.modifiers, {deviceType, modifier.EFFECTID, modifier.PARAMETERID});
  }
  if (FetchEffect(c, gen2 ? EffectParameter_Key : EffectModifier_Key) != FOUND) return;
  t_.pre.EFFECTID = t_.eff.EFFECTID;
  t_.pre.PARAMETERID = t_.eff.PARAMETERID;
  if (t_.preset.Fetch(PresetEffect_Key) != FOUND) return;
  t_.pre.MODIFIERFLAG = "*";
  t_.preset.Update();
  modifier.EFFECTNAME = t_.eff.EFFECTNAME.raw();
  modifier.PARAMETERNAME = t_.eff.INTERNALNAME.raw();
}

void PresetTableFiller::Vouch() {
  const uint64_t effectsVersion = t_.effects.ContentVersion();
  const uint64_t selectionVersion = t_.selection.ContentVersion();
  if (effectsVersion == 0 || selectionVersion == 0) {
    caching_ = false;
    cache_.Clear();
    cache_.effectsVersion = cache_.selectionVersion = 0;
    cache_.stamped = false;
    return;
  }
  if (effectsVersion != cache_.effectsVersion || selectionVersion != cache_.selectionVersion ||
      cache_.entries > CACHE_LIMIT) {
    cache_.Clear();
    cache_.effectsVersion = effectsVersion;
    cache_.selectionVersion = selectionVersion;
  }
  // Read under the locks just taken, so they belong to this content.
  cache_.stamped = t_.effects.ReadCommitStamp(cache_.effectsStamp) && t_.selection.ReadCommitStamp(cache_.selectionStamp);
}

void PresetTableFiller::Run(CurrentPreset& preset, uint8_t deviceType) {
  t_.preset.Empty();
  cache_.lastFound = nullptr;
  cache_.lastWasFound = false;
  for (const BlockQueueEntry& block : preset.PQ) {
    AddBlockRows(block, deviceType);
    if (stale_) return;
  }
  for (ModifierQueueEntry& modifier : preset.MQ) {
    MarkModifier(modifier, deviceType);
    if (stale_) return;
  }
  if (caching_) LeaveSelectionBuffer();
}

void PresetTableFiller::FillPresetTable(CurrentPreset& preset) {
  const uint8_t deviceType = preset.state.deviceType;
  // One transaction per table around the whole fill: the definitions read
  // form one consistent view even if another process imports meanwhile, and
  // the driver takes its file locks once instead of for every lookup. When
  // one cannot be started (a transaction already running, a lock held
  // elsewhere) the fill runs without it. The transactions are deferred: no
  // lock is taken before the first read.
  const bool effects = t_.effects.BeginTransaction() == Level::Done;
  const bool selection = t_.selection.BeginTransaction() == Level::Done;
  const bool rows = t_.preset.BeginTransaction() == Level::Done;

  // Kept rows serve only inside both transactions. When neither file has had
  // a commit since they were read, as a look at the files' headers without
  // any lock tells, the fill starts on them alone and takes the locks only
  // if it has to read after all.
  caching_ = effects && selection;
  CommitStamp effectsNow, selectionNow;
  unvouched_ = caching_ && cache_.stamped && t_.effects.ReadCommitStamp(effectsNow) &&
               t_.selection.ReadCommitStamp(selectionNow) && effectsNow == cache_.effectsStamp &&
               selectionNow == cache_.selectionStamp && cache_.entries <= CACHE_LIMIT;
  if (caching_ && !unvouched_) Vouch();

  // A fill that finds its kept rows stale part way starts over; what it
  // changed on the way is put back first.
  if (unvouched_) {
    saved_.eff = t_.eff;
    std::memcpy(saved_.selKeys.data(), &t_.sel, saved_.selKeys.size());
    saved_.pre = t_.pre;
    saved_.variant = variantParameterValue_;
    saved_.names.clear();
    for (const ModifierQueueEntry& m : preset.MQ) saved_.names.emplace_back(m.EFFECTNAME, m.PARAMETERNAME);
  }
  stale_ = false;
  Run(preset, deviceType);
  if (stale_) {
    t_.eff = saved_.eff;
    std::memcpy(static_cast<void*>(&t_.sel), saved_.selKeys.data(), saved_.selKeys.size());
    t_.pre = saved_.pre;
    variantParameterValue_ = saved_.variant;
    for (size_t i = 0; i < preset.MQ.size(); ++i) {
      preset.MQ[i].EFFECTNAME = saved_.names[i].first;
      preset.MQ[i].PARAMETERNAME = saved_.names[i].second;
    }
    pending_ = PendingEffect{};
    stale_ = false;
    unvouched_ = false;
    Vouch();  // the content has moved on: this forgets the kept rows
    Run(preset, deviceType);
  }
  caching_ = false;
  unvouched_ = false;

  if (rows) t_.preset.Commit();
  if (selection) t_.selection.Commit();
  if (effects) t_.effects.Commit();
}

}  // namespace tx
