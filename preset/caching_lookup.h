#pragma once
// Definition lookups that keep what the tables answered, for as long as both
// definition tables report the same content, and forget it as soon as
// either may have changed. Only inside a transaction on each table, which
// the filler holds around a fill.
//
// When neither file has had a commit since the kept rows were read, as a
// look at the files' headers without any lock tells, a fill starts on the
// kept rows alone and takes the read locks only if it must read after all.
// If the content changed in the meantime, the fill starts over.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "preset/definition_cache.h"
#include "preset/definition_lookup.h"
#include "preset/direct_lookup.h"
#include "services/file_manager.h"

namespace tx {

class CachingLookup final : public DefinitionLookup {
 public:
  explicit CachingLookup(PresetTableAccess tables) : t_(tables), direct_(tables) {}

  void Fill(CurrentPreset& preset, int32_t& variantValue,
            const std::function<void(DefinitionLookup&)>& fill) override;
  const EffectRecord* FindEffect(int32_t effectId) override;
  // `parameterId` from 0 to MAX_BLOCK_VALUES - 1.
  const ParameterDefinition* FindParameter(uint8_t device, int32_t effectId, int32_t variant,
                                           int32_t parameterId) override;
  SelectionList FindSelection(uint8_t device, const ParameterDefinition& parameter, int32_t variantValue) override;
  const EffectRecord* FindModifier(uint8_t device, int32_t effectId, int32_t id) override;

  // Runs when a fill that started on its kept rows alone takes the read
  // locks after all: the moment another process's commit would make those
  // rows stale. For tests, which commit from elsewhere there.
  void SetLateLockHook(std::function<void()> hook) { lateLockHook_ = std::move(hook); }

 private:
  // Thrown by a lookup that finds the kept rows stale; Fill starts over.
  struct Stale {};

  // Takes the read locks and makes the cache agree with the tables: kept
  // rows stay only while the tables report the content they were read from.
  // False when the tables can promise nothing; the fill then looks up directly.
  bool Vouch();
  // Before a lookup that reads a table: a fill that started on the kept
  // rows alone takes the read locks now, and throws Stale when the tables
  // have changed since those rows were read.
  void MayRead();
  void Attempt(const std::function<void(DefinitionLookup&)>& fill);
  // A DBEffects lookup by `key`, the key fields set in the buffer.
  bool FetchEffect(EffectSlot& slot, int key);
  // The lookup of a parameter not asked for since the cache was last cleared.
  const ParameterDefinition* ReadParameter(ParameterSlot& slot, uint8_t device, int32_t effectId, int32_t variant,
                                           int32_t parameterId);

  // Kept rows are not copied into the effect buffer one by one: pending_
  // holds what the parameter lookups would have left there, until the next
  // lookup that writes the buffer itself, or the end of the fill.
  struct PendingEffect {
    const EffectRecord* row = nullptr;  // the last row found
    bool keys = false;                  // then a lookup that found nothing, with these keys
    uint8_t device = 0;
    int32_t effectId = 0, variant = 0, parameterId = 0;
  };
  void PendingMiss(uint8_t device, int32_t effectId, int32_t variant, int32_t parameterId);
  void LeaveEffectBuffer();
  // The selection buffer as the last lookup would have left it: the last row
  // found, with the key of a later lookup that found nothing.
  void LeaveSelectionBuffer();

  // What a fill on kept rows alone may change before it finds them stale.
  void Save(const CurrentPreset& preset, int32_t variantValue);
  void Restore(CurrentPreset& preset, int32_t& variantValue);

  PresetTableAccess t_;
  DirectLookup direct_;
  DefinitionCache cache_;
  // The content the kept rows were read from, as the tables vouched for it
  // under their read locks.
  uint64_t effectsVersion_ = 0, selectionVersion_ = 0;
  bool stamped_ = false;
  CommitStamp effectsStamp_, selectionStamp_;
  bool unvouched_ = false;  // this fill runs on the kept rows alone, without the read locks yet
  std::function<void()> lateLockHook_;

  PendingEffect pending_;
  // The effect id of the last block whose Effect_Key lookup found no row at
  // all: its parameter lookups, which share that key, find nothing either.
  bool noRows_ = false;
  int32_t noRowsEffectId_ = 0;
  // The last selection lookup of a fill, for the buffer at the end.
  const KeptSelection* lastFound_ = nullptr;
  bool lastWasFound_ = false;

  struct Saved {
    EffectRecord eff;
    std::array<unsigned char, offsetof(SelectionRecord, SELECTION)> selKeys{};
    PresetRecord pre;
    int32_t variant = 0;
    std::vector<std::pair<FixedString<32>, FixedString<32>>> names;  // of the modifier queue
  } saved_;
};

}  // namespace tx
