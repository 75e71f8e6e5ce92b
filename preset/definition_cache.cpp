#include "preset/definition_cache.h"

#include <cstring>

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
  // Most lists are short or empty: the entries end at the last byte that is
  // not a space, found eight bytes at a time.
  const auto* bytes = reinterpret_cast<const unsigned char*>(row.SELECTION);
  size_t n = sizeof row.SELECTION;
  constexpr uint64_t SPACES = 0x2020202020202020ull;
  for (uint64_t word; n >= sizeof word; n -= sizeof word) {
    std::memcpy(&word, bytes + n - sizeof word, sizeof word);
    if (word != SPACES) break;
  }
  while (n > 0 && bytes[n - 1] == ' ') --n;
  const size_t count = (n + sizeof row.SELECTION[0] - 1) / sizeof row.SELECTION[0];
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
