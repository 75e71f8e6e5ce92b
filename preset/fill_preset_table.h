#pragma once
// FillPresetTable: matches the decoded blocks and their raw values with the
// effect definitions and fills the in-memory preset table (MXPreset), one row
// per known parameter, in ascending effect id and parameter id.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "devicedefs/tables.h"
#include "preset/format_value.h"
#include "preset/preset_state.h"

namespace tx {

class FileManager;
struct TableSet;

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

// DBEffects, DBSelection and MXPreset of a table set.
PresetTableAccess AccessPresetTables(TableSet& tables);

class PresetTableFiller {
 public:
  explicit PresetTableFiller(PresetTableAccess tables) : t_(tables) {}

  // Empties and refills MXPreset from the preset's queues; sets the names of
  // the modifier queue entries it matches.
  void FillPresetTable(CurrentPreset& preset);
  void FillPresetTable() { FillPresetTable(Current()); }

  // Kept from one block to the next and from one run to the next: a block
  // without a definition row reuses the previous block's value.
  int32_t VariantParameterValue() const { return variantParameterValue_; }
  // Starts that value over, as a window opened anew does: a caller filling
  // several presets one by one can show each as it reads alone.
  void ResetVariantParameterValue() { variantParameterValue_ = 0; }

  // Runs when a fill that started on its kept rows alone takes the read
  // locks after all: the moment another process's commit would make those
  // rows stale. For tests, which commit from elsewhere there.
  void SetLateLockHook(std::function<void()> hook) { lateLockHook_ = std::move(hook); }

 private:
  // Definition rows found by earlier lookups. A preset asks for the same few
  // hundred rows on every decode, and finding them costs more than all the
  // rest; they are kept for as long as both definition tables report the
  // same content, and forgotten as soon as either may have changed. The
  // record buffers end up as the lookups themselves would leave them.
  enum class Lookup : uint8_t { Unknown, Missing, Found };
  struct CachedSelection {
    Lookup state = Lookup::Unknown;
    // A found row: the part before the entries, and the entries up to the
    // last one that is not blank (none for a numeric parameter's row).
    std::array<unsigned char, offsetof(SelectionRecord, SELECTION)> head{};
    std::vector<FixedString<32>> entries;
    SelectionList List() const { return entries.empty() ? SelectionList{} : SelectionList{entries.data(), entries.size()}; }
  };
  struct FoundParameter {
    EffectRecord row;
    PresetRecord start;  // the row's texts, before the values
    ValueScale scale;
  };
  // Slots for parameters a block states but the definitions lack stay small:
  // only rows found carry their data.
  struct CachedParameter {
    Lookup state = Lookup::Unknown;
    std::unique_ptr<FoundParameter> found;
    // The selection lookup last made for this parameter, and the variant
    // value it was made with.
    const CachedSelection* selection = nullptr;
    int32_t selectionVariant = 0;
  };
  struct CachedEffect {
    Lookup state = Lookup::Unknown;
    std::unique_ptr<EffectRecord> row;
  };
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
  struct DefinitionCache {
    // The content the kept rows were read from, as the tables vouched for it
    // under their read locks.
    uint64_t effectsVersion = 0, selectionVersion = 0;
    bool stamped = false;
    CommitStamp effectsStamp, selectionStamp;
    std::unordered_map<int32_t, CachedEffect> effects;  // by EFFECTID (the block's first lookup)
    std::unordered_map<ModifierKey, CachedEffect, KeyHash> modifiers;
    std::unordered_map<InstanceKey, std::vector<CachedParameter>, KeyHash> parameters;
    std::unordered_map<SelectionKey, CachedSelection, KeyHash> selections;
    size_t entries = 0;  // slots of all the maps: what a limit on memory counts
    // The entry for `key` in one of the maps, added and counted when new.
    template <class Map>
    typename Map::mapped_type& Slot(Map& map, const typename Map::key_type& key) {
      auto [it, added] = map.try_emplace(key);
      if (added) ++entries;
      return it->second;
    }
    // The last selection lookup of a fill, for the buffer at the end.
    const CachedSelection* lastFound = nullptr;
    bool lastWasFound = false;
    void Clear();
  };

  // What the parameter lookups of a block would have left in the effect buffer.
  struct PendingEffect {
    const EffectRecord* row = nullptr;  // the last row found
    bool keys = false;                  // then a lookup that found nothing, with these keys
    uint8_t device = 0;
    int32_t effectId = 0, variant = 0, parameterId = 0;
  };

  // The whole fill once; stops early when the kept rows turn out stale.
  void Run(CurrentPreset& preset, uint8_t deviceType);
  // Takes the read locks and makes the cache agree with the tables: kept
  // rows stay only while the tables report the content they were read from.
  void Vouch();
  // Before a lookup that reads a table: a fill that started on the kept
  // rows alone takes the read locks now. False when the tables have changed
  // since those rows were read; the fill then starts over.
  bool MayRead();
  // A DBEffects lookup by `key`, the key fields set in the buffer, kept in `c`.
  int FetchEffect(CachedEffect* c, int key);
  // Whether the block's effect id has a definition row; `none` is set when
  // the tables are known to hold no row of that id at all.
  bool FindBlockEffect(bool& none);
  const EffectRecord* FindParameter(CachedParameter* cached, uint8_t device, int32_t effectId, int32_t variant,
                                    int32_t parameterId);
  // A parameter lookup that finds nothing leaves its key in the buffer.
  void PendingMiss(uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId);
  void LeaveEffectBuffer();
  // The parameter's list; no entries for a numeric parameter.
  SelectionList LookupSelection(uint8_t deviceType, const EffectRecord& eff, CachedParameter* cached);
  void AddBlockRows(const BlockQueueEntry& block, uint8_t deviceType);
  void MarkModifier(ModifierQueueEntry& modifier, uint8_t deviceType);
  void LeaveSelectionBuffer();

  PresetTableAccess t_;
  int32_t variantParameterValue_ = 0;
  bool caching_ = false;     // this fill may use and fill cache_
  bool unvouched_ = false;  // ... on the kept rows alone, without the read locks yet
  bool stale_ = false;      // the kept rows no longer hold: the fill starts over
  std::function<void()> lateLockHook_;
  DefinitionCache cache_;
  PendingEffect pending_;
  // What a fill on kept rows alone may change before it finds them stale.
  struct Saved {
    EffectRecord eff;
    std::array<unsigned char, offsetof(SelectionRecord, SELECTION)> selKeys{};
    PresetRecord pre;
    int32_t variant = 0;
    std::vector<std::pair<FixedString<32>, FixedString<32>>> names;  // of the modifier queue
  } saved_;
};

// Whether an effect type carries X and Y values on the second generation.
bool IsYCapableEffectType(int32_t effectTypeId);

}  // namespace tx
