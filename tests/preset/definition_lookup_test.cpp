// The two definition lookups side by side: the caching one answers every
// lookup as the direct one does, on its first fill and on a fill served from
// what it kept, and leaves the same record buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit/console_toolkit.h"
#include "preset/caching_lookup.h"
#include "preset/direct_lookup.h"
#include "preset/fill_preset_table.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/definition_rows.h"

namespace {

using tx::DefinitionLookup;
using Blocks = std::vector<std::pair<int32_t, int32_t>>;  // effect id, parameters asked for

TEST(DefinitionLookup, CachingAnswersAsDirectAndLeavesTheSameBuffers) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  tx::ConsoleToolkit toolkit(nullptr);
  tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
  tx::TableSet t;
  for (tx::FileManager* f : {&t.DBEffects, &t.DBSelection}) ASSERT_EQ(f->Open(), tx::Level::Done);
  for (uint8_t device : {uint8_t{1}, uint8_t{3}})
    for (int p : {0, 1, 3}) {
      txtools::EffectRow r;
      r.deviceType = device;
      r.effectId = 106;
      r.effectTypeId = 5;
      r.variantParameterId = 2;
      r.parameterId = p;
      r.modifierId = p + 4;
      r.screenName = p == 1 ? "" : "Screen " + std::to_string(p);
      ASSERT_EQ(txtools::InsertEffect(t, r), tx::Level::Done);
    }
  ASSERT_EQ(txtools::InsertSelection(t, 3, 5, 2, 0, {"Off", "On"}), tx::Level::Done);
  ASSERT_EQ(txtools::InsertSelection(t, 3, 5, 2, 1, {}), tx::Level::Done);

  // Found and missing rows of every lookup, modifiers of both generations, a
  // list, a blank list and no list, a block without any row; a miss between
  // two rows found. The blocks in both orders, as the buffers at the end
  // show the last lookups.
  auto script = [](DefinitionLookup& l, const Blocks& blocks) {
    std::string log;
    for (auto [device, id] : {std::pair{3, 1}, {3, 7}, {1, 7}, {1, 1}}) {
      const tx::EffectRecord* m = l.FindModifier(static_cast<uint8_t>(device), 106, id);
      log += m ? m->INTERNALNAME.str() + " " : "- ";
    }
    for (auto [effectId, count] : blocks) {
      const tx::EffectRecord* e = l.FindEffect(effectId);
      log += std::string("| ") + (e ? std::to_string(e->EFFECTVARIANTPARAMETERID) : "-");
      for (int32_t p = 0; p < count; ++p) {
        const tx::ParameterDefinition* d = l.FindParameter(3, effectId, 0, p);
        if (!d) {
          log += " -";
          continue;
        }
        const tx::SelectionList list = l.FindSelection(3, *d, 2);
        log += " " + d->start.SCREENNAME.str() + "=" +
               (list.entries ? tx::FormatListValue(1, list) : tx::FormatScaledValue(1, d->scale));
      }
      log += " ";
    }
    return log;
  };
  struct Result {
    std::string log;
    tx::EffectRecord eff;
    tx::SelectionRecord sel;
    const DefinitionLookup* used;
  };
  tx::CurrentPreset preset;
  int32_t variant = 0;
  auto fill = [&](DefinitionLookup& lookup, const Blocks& blocks) {
    std::memset(static_cast<void*>(&t.effect), 'x', sizeof t.effect);
    std::memset(static_cast<void*>(&t.selection), 'x', sizeof t.selection);
    // The caching lookup keeps rows only inside a transaction on each table.
    EXPECT_EQ(t.DBEffects.BeginTransaction(), tx::Level::Done);
    EXPECT_EQ(t.DBSelection.BeginTransaction(), tx::Level::Done);
    Result r;
    lookup.Fill(preset, variant, [&](DefinitionLookup& l) {
      r.used = &l;
      r.log = script(l, blocks);
    });
    t.DBSelection.Commit();
    t.DBEffects.Commit();
    r.eff = t.effect;
    r.sel = t.selection;
    return r;
  };

  tx::PresetTableAccess access = tx::AccessPresetTables(t);
  tx::DirectLookup direct(access);
  tx::CachingLookup caching(access);
  const std::string known = "| 2 Screen 0=On P1=     1.0 - Screen 3=     1.0 ", unknown = "| - - - ";
  const struct {
    Blocks blocks;
    std::string log;
  } scripts[] = {{{{106, 4}, {199, 2}}, "P1 - P3 - " + known + unknown},
                 {{{199, 2}, {106, 4}}, "P1 - P3 - " + unknown + known}};
  for (const auto& [blocks, log] : scripts) {
    const Result looked = fill(direct, blocks);
    EXPECT_EQ(looked.log, log);
    for (int run = 0; run < 2; ++run) {
      const Result kept = fill(caching, blocks);
      EXPECT_EQ(kept.used, &caching) << run;  // not handed on to direct lookups
      EXPECT_EQ(kept.log, looked.log) << run;
      EXPECT_EQ(std::memcmp(&kept.eff, &looked.eff, sizeof kept.eff), 0) << run;
      EXPECT_EQ(std::memcmp(&kept.sel, &looked.sel, sizeof kept.sel), 0) << run;
    }
  }
  tx::SetToolkit(previous);
}

}  // namespace
