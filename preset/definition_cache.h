#pragma once
// What CachingLookup keeps: the answers of earlier definition lookups, by
// their keys. A preset asks for the same few hundred rows on every decode,
// and finding them costs more than all the rest of a fill. Misses are kept
// too; slots for parameters a block states but the definitions lack stay
// small, as only rows found carry their data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "preset/definition_lookup.h"

namespace tx {

enum class Answer : uint8_t { Unknown, Missing, Found };

// A DBSelection row found: the part before the entries, and the entries up
// to the last one that is not blank (none for a numeric parameter's row).
struct KeptSelection {
  Answer state = Answer::Unknown;
  std::array<unsigned char, offsetof(SelectionRecord, SELECTION)> head{};
  std::vector<FixedString<32>> entries;

  void Keep(const SelectionRecord& row);
  SelectionList List() const { return entries.empty() ? SelectionList{} : SelectionList{entries.data(), entries.size()}; }
};

// A parameter's definition found, with the selection lookup last made for
// it and the variant value that lookup was made with.
struct KeptParameter : ParameterDefinition {
  explicit KeptParameter(const EffectRecord& found);
  KeptParameter(const KeptParameter&) = delete;
  KeptParameter& operator=(const KeptParameter&) = delete;

  EffectRecord record;
  mutable const KeptSelection* selection = nullptr;
  mutable int32_t selectionVariant = 0;
};

struct ParameterSlot {
  Answer state = Answer::Unknown;
  std::unique_ptr<KeptParameter> found;
};

struct EffectSlot {
  Answer state = Answer::Unknown;
  std::unique_ptr<EffectRecord> row;
};

struct DefinitionCache {
  struct InstanceKey {
    uint8_t device;
    int32_t effectId, variant;
    bool operator==(const InstanceKey&) const = default;
  };
  struct SelectionKey {
    uint8_t device;
    int32_t typeId, variant, parameterId;
    bool operator==(const SelectionKey&) const = default;
  };
  // A modifier's lookup: by parameter id on the second generation, by
  // modifier id (and variant 0) on the first.
  struct ModifierKey {
    uint8_t device;
    int32_t effectId, id;
    bool operator==(const ModifierKey&) const = default;
  };
  struct KeyHash {
    size_t operator()(const InstanceKey& k) const;
    size_t operator()(const SelectionKey& k) const;
    size_t operator()(const ModifierKey& k) const;
  };

  std::unordered_map<int32_t, EffectSlot> effects;  // by EFFECTID (a block's first lookup)
  std::unordered_map<ModifierKey, EffectSlot, KeyHash> modifiers;
  std::unordered_map<InstanceKey, std::vector<ParameterSlot>, KeyHash> parameters;  // by parameter id
  std::unordered_map<SelectionKey, KeptSelection, KeyHash> selections;
  size_t entries = 0;  // slots of all the maps: what a limit on memory counts

  // The entry for `key` in one of the maps, added and counted when new.
  template <class Map>
  typename Map::mapped_type& Slot(Map& map, const typename Map::key_type& key) {
    auto [it, added] = map.try_emplace(key);
    if (added) ++entries;
    return it->second;
  }
  // A parameter's slot. A block asks for its parameters one after another,
  // so the instance's slots found last serve the next call.
  ParameterSlot& Parameter(const InstanceKey& instance, int32_t parameterId) {
    const auto i = static_cast<size_t>(parameterId);
    if (lastSlots_ && lastInstance_ == instance && i < lastSlots_->size()) return (*lastSlots_)[i];
    return NewParameter(instance, i);
  }
  void Clear();

 private:
  ParameterSlot& NewParameter(const InstanceKey& instance, size_t i);
  InstanceKey lastInstance_{};
  std::vector<ParameterSlot>* lastSlots_ = nullptr;
};

}  // namespace tx
