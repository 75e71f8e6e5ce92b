#include "preset/definition_cache.h"

#include <cstring>
#include <iterator>

namespace tx {

namespace {
uint64_t Mix(uint64_t h, uint32_t v) {
  h = (h ^ v) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}
}  // namespace

void KeptSelection::Keep(const SelectionRecord& row) {
  state = Answer::Found;
  std::memcpy(head.data(), &row, head.size());
  size_t count = std::size(row.SELECTION);
  while (count > 0 && row.SELECTION[count - 1].blank()) --count;
  entries.assign(row.SELECTION, row.SELECTION + count);
}

KeptParameter::KeptParameter(const EffectRecord& found) : record(found) {
  row = &record;
  StartRow(start, record);
  scale = ValueScale(record);
}

size_t DefinitionCache::KeyHash::operator()(const InstanceKey& k) const {
  return Mix(Mix(Mix(0, k.device), static_cast<uint32_t>(k.effectId)), static_cast<uint32_t>(k.variant));
}

size_t DefinitionCache::KeyHash::operator()(const SelectionKey& k) const {
  uint64_t h = Mix(Mix(0, k.device), static_cast<uint32_t>(k.typeId));
  return Mix(Mix(h, static_cast<uint32_t>(k.variant)), static_cast<uint32_t>(k.parameterId));
}

size_t DefinitionCache::KeyHash::operator()(const ModifierKey& k) const {
  return Mix(Mix(Mix(1, k.device), static_cast<uint32_t>(k.effectId)), static_cast<uint32_t>(k.id));
}

ParameterSlot& DefinitionCache::NewParameter(const InstanceKey& instance, size_t i) {
  if (!lastSlots_ || !(lastInstance_ == instance)) {
    lastSlots_ = &parameters[instance];
    lastInstance_ = instance;
  }
  std::vector<ParameterSlot>& slots = *lastSlots_;
  if (slots.size() <= i) {
    entries += i + 1 - slots.size();
    slots.resize(i + 1);
  }
  return slots[i];
}

void DefinitionCache::Clear() {
  effects.clear();
  modifiers.clear();
  parameters.clear();
  selections.clear();
  entries = 0;
  lastSlots_ = nullptr;
}

}  // namespace tx
