// FillPresetTable against real tables in a scratch directory: matching
// blocks and parameters with their definitions, X and Y values, the active
// marks, list parameters and the modifier marks.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/definition_rows.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

using tx::PresetRecord;
using txtools::BuiltBlock;
using txtools::EffectRow;
using txtools::PresetBuilder;

struct Row {
  int effectId, parameterId;
  std::string effectName, screenName, x, y, unit, modifier, xActive, yActive;
};

class FillPresetTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = tx::SetToolkit(&toolkit_);
    tables_ = std::make_unique<tx::TableSet>();
    for (tx::FileManager* f : {&tables_->DBEffects, &tables_->DBSelection, &tables_->MXPreset})
      ASSERT_EQ(f->Open(), tx::Level::Done);
    filler_ = std::make_unique<tx::PresetTableFiller>(tx::AccessPresetTables(*tables_));
  }
  void TearDown() override {
    for (tx::FileManager* f : {&tables_->DBEffects, &tables_->DBSelection, &tables_->MXPreset}) f->Close();
    filler_.reset();
    tables_.reset();
    tx::SetToolkit(previous_);
    EXPECT_EQ(toolkit_.Messages().size(), expectedMessages_);
  }

  static EffectRow Param(uint8_t device, int effectId, int typeId, int parameterId) {
    EffectRow r;
    r.deviceType = device;
    r.effectId = effectId;
    r.effectTypeId = typeId;
    r.parameterId = parameterId;
    return r;
  }
  void Define(const EffectRow& row) { ASSERT_EQ(txtools::InsertEffect(*tables_, row), 0); }
  // Reads the second-generation definition row of one parameter (variant 0)
  // into the effect buffer of `t`, for a change to it.
  static void FetchParameter(tx::TableSet& t, int effectId, int parameterId) {
    t.effect.DEVICETYPE = 3;
    t.effect.EFFECTID = effectId;
    t.effect.EFFECTVARIANTID = 0;
    t.effect.PARAMETERID = parameterId;
    ASSERT_EQ(t.DBEffects.Fetch(tx::Effect_Primary_Key), tx::Level::Done);
  }
  // Parameters 0..count-1 of one block, 0..10 in `values` steps with one decimal.
  void DefineBlock(uint8_t device, int effectId, int typeId, int count, int variant = 0, int variantParam = 0) {
    ASSERT_EQ(tables_->DBEffects.BeginTransaction(), tx::Level::Done);
    for (int p = 0; p < count; ++p) {
      EffectRow r;
      r.deviceType = device;
      r.effectId = effectId;
      r.effectTypeId = typeId;
      r.variantId = variant;
      r.variantParameterId = variantParam;
      r.parameterId = p;
      r.modifierId = p + 1;
      r.effectName = "Block " + std::to_string(effectId);
      r.screenName = "Param " + std::to_string(p);
      r.unit = "dB";
      Define(r);
    }
    ASSERT_EQ(tables_->DBEffects.Commit(), tx::Level::Done);
  }

  void Decode(const PresetBuilder& b) {
    ASSERT_TRUE(tx::ParsePreset(tx::FitPresetBuffer(Text(b.Bytes())), preset_));
    filler_->FillPresetTable(preset_);
  }
  static std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

  std::vector<Row> Rows() {
    std::vector<Row> rows;
    tables_->MXPreset.SetOrder(-1);
    while (tables_->MXPreset.Next() == 0) {
      const PresetRecord& p = tables_->preset;
      rows.push_back({p.EFFECTID, p.PARAMETERID, p.EFFECTNAME.str(), p.SCREENNAME.str(), std::string(p.XVALUE.raw()),
                      std::string(p.YVALUE.raw()), p.UNIT.str(), std::string(p.MODIFIERFLAG.raw()),
                      std::string(p.XACTIVE.raw()), std::string(p.YACTIVE.raw())});
    }
    return rows;
  }
  static std::string Field20(const std::string& s) { return s + std::string(20 - s.size(), ' '); }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_{dir_.path()};
  tx::ConsoleToolkit toolkit_{nullptr};
  tx::WindowToolkit* previous_ = nullptr;
  std::unique_ptr<tx::TableSet> tables_;
  std::unique_ptr<tx::PresetTableFiller> filler_;
  tx::CurrentPreset preset_;
  size_t expectedMessages_ = 0;
};

TEST_F(FillPresetTableTest, RowsFollowEffectIdThenParameterId) {
  DefineBlock(3, 120, 15, 3);
  DefineBlock(3, 106, 5, 2);
  // Parameter 1 of block 112 has no definition row; block 200 has none at all.
  Define(Param(3, 112, 9, 0));
  Define(Param(3, 112, 9, 2));
  PresetBuilder b(3);
  b.Block({200, false, {1, 2}}).Block({120, false, {1, 2, 3, 4}}).Block({112, false, {5, 6, 7}}).Block({106, false, {8}});
  Decode(b);
  std::vector<std::pair<int, int>> keys;
  for (const Row& r : Rows()) keys.push_back({r.effectId, r.parameterId});
  // Block 106 stores one value, so only its parameter 0 appears.
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{106, 0}, {112, 0}, {112, 2}, {120, 0}, {120, 1}, {120, 2}}));
}

TEST_F(FillPresetTableTest, RowTextsComeFromTheDefinition) {
  EffectRow rate = Param(3, 120, 15, 0);
  rate.effectName = "Rotary 1";
  rate.internalName = "ROT_RATE";
  rate.screenName = "Rate";
  rate.numberOfValues = 65534;
  rate.unit = "Hz";
  Define(rate);
  EffectRow depth = Param(3, 120, 15, 1);
  depth.internalName = "ROT_DEPTH";
  depth.unit = "%";
  Define(depth);
  PresetBuilder b(3);
  b.Block({120, false, {32767, 0}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].effectName, "Rotary 1");
  EXPECT_EQ(rows[0].screenName, "Rate");
  EXPECT_EQ(rows[0].x, Field20("     5.0"));
  EXPECT_EQ(rows[0].y, Field20(""));  // not a Y-capable type
  EXPECT_EQ(rows[0].unit, "Hz");
  EXPECT_EQ(rows[0].modifier, " ");
  EXPECT_EQ(rows[0].xActive, "*");
  EXPECT_EQ(rows[0].yActive, " ");
  EXPECT_EQ(rows[1].screenName, "ROT_DEPTH");  // blank screen name: the internal name
}

TEST_F(FillPresetTableTest, YCapableBlockShowsXAndYHalves) {
  DefineBlock(3, 106, 5, 10);
  std::vector<uint16_t> values(20);
  for (int i = 0; i < 20; ++i) values[static_cast<size_t>(i)] = static_cast<uint16_t>(i < 10 ? 1 : 9);
  values[0] = 2;
  values[10] = 7;
  PresetBuilder b(3);
  b.Block({106, true, values});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0].x, Field20("     2.0"));  // entry 1
  EXPECT_EQ(rows[0].y, Field20("     7.0"));  // entry 11
  EXPECT_EQ(rows[9].x, Field20("     1.0"));
  EXPECT_EQ(rows[9].y, Field20("     9.0"));
  EXPECT_EQ(rows[0].xActive, " ");
  EXPECT_EQ(rows[0].yActive, "*");
}

TEST_F(FillPresetTableTest, OddCountPutsTheYHalfOneEntryEarly) {
  DefineBlock(3, 110, 19, 1);
  std::vector<uint16_t> values(21, 0);
  values[10] = 4;  // entry 11 = 21 / 2 (made whole: 10) + 1
  values[11] = 6;
  PresetBuilder b(3);
  b.Block({110, false, values});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].y, Field20("     4.0"));
}

TEST_F(FillPresetTableTest, YPositionPastTheHeldValuesStaysBlank) {
  DefineBlock(3, 106, 5, 255);
  std::vector<uint16_t> values(300, 3);
  PresetBuilder b(3);
  b.Block({106, false, values});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 255u);  // only 255 values are held
  EXPECT_EQ(rows[0].y, Field20("     3.0"));     // entry 151
  EXPECT_EQ(rows[104].y, Field20("     3.0"));   // entry 255
  EXPECT_EQ(rows[105].y, Field20(""));           // entry 256 does not exist
  EXPECT_EQ(rows[254].x, Field20("     3.0"));
}

TEST_F(FillPresetTableTest, FirstGenerationHasNoYValues) {
  DefineBlock(1, 106, 5, 2);
  PresetBuilder b(1);
  b.Block({106, false, {5, 5, 5, 5}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("     5.0"));
  EXPECT_EQ(rows[0].y, Field20(""));
  EXPECT_EQ(rows[0].xActive, "*");
}

TEST_F(FillPresetTableTest, YActiveMarkAlsoOnBlocksWithoutY) {
  DefineBlock(3, 120, 15, 1);
  PresetBuilder b(3);
  b.Block({120, true, {1}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].y, Field20(""));
  EXPECT_EQ(rows[0].xActive, " ");
  EXPECT_EQ(rows[0].yActive, "*");
}

TEST_F(FillPresetTableTest, ListParameterShowsItsTexts) {
  DefineBlock(3, 106, 5, 2);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 0, 0, {"Clean", "Crunch", "Lead"}), 0);
  PresetBuilder b(3);
  b.Block({106, false, {2, 4, 300, 4}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("Lead"));
  EXPECT_EQ(rows[0].y, Field20(""));  // raw value 300: beyond the list, in Y as in X
  EXPECT_EQ(rows[1].x, Field20("     4.0"));
  EXPECT_EQ(rows[1].y, Field20("     4.0"));
}

TEST_F(FillPresetTableTest, AllBlankSelectionRowKeepsTheParameterNumeric) {
  DefineBlock(3, 106, 5, 2);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 0, 0, {}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 0, 1, {"", "", "Only"}), 0);
  PresetBuilder b(3);
  b.Block({106, false, {3, 2}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("     3.0"));  // numeric despite the blank row
  EXPECT_EQ(rows[1].x, Field20("Only"));      // one text is enough to make a list
}

TEST_F(FillPresetTableTest, SelectionLookupUsesTheVariantParameterValue) {
  // Block 130's first row names parameter 6 as its variant parameter: the
  // list is looked up with variant 6. Block 131 says -1, which counts as 0.
  DefineBlock(3, 130, 17, 1, 0, 6);
  DefineBlock(3, 131, 4, 1, 0, -1);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 17, 6, 0, {"Six"}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 17, 0, 0, {"Zero"}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 4, 0, 0, {"Four"}), 0);
  PresetBuilder b(3);
  b.Block({130, false, {0}}).Block({131, false, {0}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("Six"));
  EXPECT_EQ(rows[1].x, Field20("Four"));
  EXPECT_EQ(filler_->VariantParameterValue(), 0);
}

TEST_F(FillPresetTableTest, VariantParameterValueOutlivesBlocksAndRuns) {
  DefineBlock(3, 130, 17, 1, 0, 6);
  PresetBuilder b(3);
  b.Block({130, false, {0}});
  Decode(b);
  EXPECT_EQ(filler_->VariantParameterValue(), 6);
  // A block without any definition keeps the value, in this run and the next.
  PresetBuilder unknown(3);
  unknown.Block({199, false, {0}});
  Decode(unknown);
  EXPECT_EQ(filler_->VariantParameterValue(), 6);
  EXPECT_TRUE(Rows().empty());
}

TEST_F(FillPresetTableTest, FirstStoredRowOfTheEffectIdChoosesTheVariant) {
  // The effect-id lookup ignores the device type: a second-generation row
  // of variant 1 stored first sends a first-generation block to variant 1,
  // where it has no rows.
  EffectRow other = Param(3, 107, 5, 0);
  other.variantId = 1;
  Define(other);
  DefineBlock(1, 107, 5, 1);
  DefineBlock(1, 108, 6, 1);
  PresetBuilder b(1);
  b.Block({107, false, {1}}).Block({108, false, {1}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].effectId, 108);
}

TEST_F(FillPresetTableTest, ModifiersMarkTheirParameterOnce) {
  DefineBlock(3, 106, 5, 3);
  PresetBuilder b(3);
  b.Modifier({1, 106, 2, 0}).Modifier({2, 106, 2, 0}).Modifier({3, 106, 7, 0}).Modifier({4, 150, 0, 0});
  b.Block({106, false, {1, 1, 1}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].modifier, " ");
  EXPECT_EQ(rows[1].modifier, " ");
  EXPECT_EQ(rows[2].modifier, "*");
  ASSERT_EQ(preset_.MQ.size(), 4u);
  EXPECT_EQ(preset_.MQ[0].EFFECTNAME.view(), "Block 106");
  EXPECT_EQ(preset_.MQ[0].PARAMETERNAME.view(), "P2");
  EXPECT_EQ(preset_.MQ[1].PARAMETERNAME.view(), "P2");
  EXPECT_TRUE(preset_.MQ[2].EFFECTNAME.blank());  // no definition of parameter 7
  EXPECT_TRUE(preset_.MQ[3].EFFECTNAME.blank());  // no block 150
}

TEST_F(FillPresetTableTest, ModifierOfAParameterWithoutRowChangesNothing) {
  // Parameter 2 is defined, but the block stores only two values.
  DefineBlock(3, 106, 5, 3);
  PresetBuilder b(3);
  b.Modifier({1, 106, 2, 0});
  b.Block({106, false, {1, 1}});
  Decode(b);
  for (const Row& r : Rows()) EXPECT_EQ(r.modifier, " ");
  EXPECT_TRUE(preset_.MQ[0].EFFECTNAME.blank());
}

TEST_F(FillPresetTableTest, FirstGenerationModifierNamesTheModifierId) {
  DefineBlock(1, 112, 8, 4);  // parameter p has modifier id p + 1
  PresetBuilder b(1);
  b.Modifier({10, 112, 3, 0});
  b.Block({112, false, {1, 1, 1, 1}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].modifier, "*");  // parameter 2 carries modifier id 3
  EXPECT_EQ(rows[3].modifier, " ");
  EXPECT_EQ(preset_.MQ[0].PARAMETERNAME.view(), "P2");
}

TEST_F(FillPresetTableTest, EqualEffectIdsGiveTwoSetsInFileOrder) {
  DefineBlock(3, 106, 5, 1);
  PresetBuilder b(3);
  b.Block({106, false, {1}}).Block({106, false, {2}});
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("     1.0"));
  EXPECT_EQ(rows[1].x, Field20("     2.0"));
}

TEST_F(FillPresetTableTest, EveryRunReplacesTheRows) {
  DefineBlock(3, 106, 5, 2);
  PresetBuilder b(3);
  b.Block({106, false, {1, 1}});
  Decode(b);
  Decode(b);
  EXPECT_EQ(Rows().size(), 2u);
  // A rejected file leaves the queues empty; a fill then empties the table.
  EXPECT_FALSE(tx::ParsePreset(tx::FitPresetBuffer("nonsense"), preset_));
  expectedMessages_ = 1;
  filler_->FillPresetTable(preset_);
  EXPECT_TRUE(Rows().empty());
}

}  // namespace

namespace {

TEST_F(FillPresetTableTest, LeavesATransactionOfSomeoneElseOpen) {
  DefineBlock(3, 106, 5, 1);
  ASSERT_EQ(tables_->DBEffects.BeginTransaction(), tx::Level::Done);
  EffectRow late = Param(3, 106, 5, 1);
  Define(late);
  PresetBuilder b(3);
  b.Block({106, false, {1, 2}});
  Decode(b);
  EXPECT_EQ(Rows().size(), 2u);  // sees the running transaction's row
  // The fill did not commit it: rolling back still drops the row.
  ASSERT_EQ(tables_->DBEffects.Rollback(), tx::Level::Done);
  Decode(b);
  EXPECT_EQ(Rows().size(), 1u);
}

}  // namespace

// Definitions found once are kept from run to run; they must never outlive
// a change of the tables, by this program or by another connection.
namespace {

TEST_F(FillPresetTableTest, ChangesOfTheDefinitionsShowInTheNextRun) {
  DefineBlock(3, 106, 5, 2);
  PresetBuilder b(3);
  b.Block({106, false, {1, 2, 3}});
  Decode(b);
  Decode(b);  // the second run reads what the first one kept
  ASSERT_EQ(Rows().size(), 2u);

  // A new parameter row, a new screen name and a list for parameter 0.
  Define(Param(3, 106, 5, 2));
  FetchParameter(*tables_, 106, 1);
  tables_->effect.SCREENNAME = "Renamed";
  ASSERT_EQ(tables_->DBEffects.Update(), tx::Level::Done);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 0, 0, {"A", "B"}), 0);
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].x, Field20("B"));
  EXPECT_EQ(rows[1].screenName, "Renamed");
  EXPECT_EQ(rows[2].parameterId, 2);

  // A deleted row is gone in the next run.
  FetchParameter(*tables_, 106, 2);
  ASSERT_EQ(tables_->DBEffects.Delete(), tx::Level::Done);
  Decode(b);
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(FillPresetTableTest, AnotherConnectionsImportShowsInTheNextRun) {
  DefineBlock(3, 106, 5, 1);
  PresetBuilder b(3);
  b.Block({106, false, {1, 2}});
  Decode(b);
  Decode(b);
  ASSERT_EQ(Rows().size(), 1u);
  {
    // The same files through another connection, as another process
    // importing would change them.
    tx::TableSet other;
    ASSERT_EQ(other.DBEffects.Open(), tx::Level::Done);
    ASSERT_EQ(other.DBSelection.Open(), tx::Level::Done);
    EffectRow second = Param(3, 106, 5, 1);
    second.screenName = "Added";
    other.effect = second.Record();
    ASSERT_EQ(other.DBEffects.Insert(), tx::Level::Done);
    ASSERT_EQ(txtools::InsertSelection(other, 3, 5, 0, 0, {"Zero", "One"}), 0);
    other.DBEffects.Close();
    other.DBSelection.Close();
  }
  Decode(b);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, Field20("One"));
  EXPECT_EQ(rows[1].screenName, "Added");
}

TEST_F(FillPresetTableTest, KeptDefinitionsGiveWhatTheLookupsGive) {
  // Lists, blank lists, parameters without a selection row or without a
  // definition, Y halves, and two variant parameter values in one preset.
  DefineBlock(3, 106, 5, 4, 0, 2);
  DefineBlock(3, 107, 6, 3, 0, -1);
  DefineBlock(3, 130, 17, 3);
  Define(Param(3, 131, 4, 1));
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 2, 0, {"Two:A", "Two:B", "Two:C"}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 5, 2, 1, {}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 6, 0, 1, {"Six:A", "Six:B"}), 0);
  ASSERT_EQ(txtools::InsertSelection(*tables_, 3, 17, 0, 0, {"Y:A", "Y:B"}), 0);
  PresetBuilder b(3);
  b.Block({106, false, {0, 1, 2, 3}})
      .Block({107, false, {1, 1, 7}})
      .Block({130, true, {1, 2, 3, 0, 1, 9}})
      .Block({131, false, {4, 5}})
      .Block({199, false, {1}});
  b.Modifier({1, 107, 1, 0});

  struct Result {
    std::vector<Row> rows;
    tx::EffectRecord eff;
    tx::SelectionRecord sel;
    int32_t variant;
  };
  auto run = [&] {
    Decode(b);
    return Result{Rows(), tables_->effect, tables_->selection, filler_->VariantParameterValue()};
  };
  auto same = [](const Result& a, const Result& c) {
    EXPECT_EQ(a.rows.size(), c.rows.size());
    for (size_t i = 0; i < std::min(a.rows.size(), c.rows.size()); ++i) {
      EXPECT_EQ(a.rows[i].effectId, c.rows[i].effectId) << i;
      EXPECT_EQ(a.rows[i].parameterId, c.rows[i].parameterId) << i;
      EXPECT_EQ(a.rows[i].screenName, c.rows[i].screenName) << i;
      EXPECT_EQ(a.rows[i].x, c.rows[i].x) << i;
      EXPECT_EQ(a.rows[i].y, c.rows[i].y) << i;
      EXPECT_EQ(a.rows[i].modifier, c.rows[i].modifier) << i;
    }
    EXPECT_EQ(std::memcmp(&a.eff, &c.eff, sizeof a.eff), 0);
    EXPECT_EQ(std::memcmp(&a.sel, &c.sel, sizeof a.sel), 0);
    EXPECT_EQ(a.variant, c.variant);
  };

  // Without a transaction of its own on the selections, the fill keeps
  // nothing and every lookup is made.
  ASSERT_EQ(tables_->DBSelection.BeginTransaction(), tx::Level::Done);
  Result looked = run();
  ASSERT_EQ(tables_->DBSelection.Commit(), tx::Level::Done);
  ASSERT_EQ(looked.rows.size(), 11u);
  EXPECT_EQ(looked.rows[0].x, Field20("Two:A"));
  EXPECT_EQ(looked.rows[1].x, Field20("     1.0"));
  EXPECT_EQ(looked.rows[5].x, Field20("Six:B"));
  EXPECT_EQ(looked.rows[7].y, Field20("Y:A"));

  Result first = run();
  Result kept = run();
  same(looked, first);
  same(looked, kept);
}

}  // namespace

namespace {

// A fill whose kept rows still match the files' headers starts without the
// read locks. If it must read after all and finds that another process
// committed in the meantime, it starts over on the new content.
TEST_F(FillPresetTableTest, CommitJustBeforeALateLockMakesTheFillStartOver) {
  DefineBlock(3, 106, 5, 2);
  DefineBlock(3, 107, 6, 1);
  PresetBuilder first(3);
  first.Block({106, false, {1, 2}});
  Decode(first);
  Decode(first);  // 106 is kept; 107 was never asked for

  bool committed = false;
  filler_->SetLateLockHook([&] {
    tx::TableSet other;
    ASSERT_EQ(other.DBEffects.Open(), tx::Level::Done);
    FetchParameter(other, 106, 0);
    other.effect.SCREENNAME = "Changed";
    other.effect.EFFECTNAME = "Renamed block";
    ASSERT_EQ(other.DBEffects.Update(), tx::Level::Done);
    other.DBEffects.Close();
    committed = true;
  });
  PresetBuilder second(3);
  second.Block({106, false, {1, 2}}).Block({107, false, {3}});
  second.Modifier({1, 106, 0, 0});
  Decode(second);
  ASSERT_TRUE(committed);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].screenName, "Changed");
  EXPECT_EQ(rows[0].effectName, "Renamed block");
  EXPECT_EQ(rows[0].modifier, "*");
  EXPECT_EQ(rows[1].screenName, "Param 1");
  EXPECT_EQ(rows[2].effectId, 107);
  ASSERT_EQ(preset_.MQ.size(), 1u);
  EXPECT_EQ(preset_.MQ[0].EFFECTNAME.str(), "Renamed block");

  // Nothing committed at the late lock: the kept rows serve on.
  committed = false;
  filler_->SetLateLockHook([&] { committed = true; });
  PresetBuilder third(3);
  third.Block({106, false, {1}}).Block({108, false, {1}});
  Decode(third);
  EXPECT_TRUE(committed);  // 108 is unknown and had to be looked up
  rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].screenName, "Changed");
}

}  // namespace

namespace {

TEST_F(FillPresetTableTest, FillStartedOverKeepsNothingOfItsFirstAttempt) {
  DefineBlock(3, 106, 5, 2);
  PresetBuilder first(3);
  first.Block({106, false, {1, 2}});
  first.Modifier({1, 106, 1, 0});
  Decode(first);
  Decode(first);

  // The first attempt names the kept modifier, then must look up the second
  // one; by then parameter 1 is gone.
  filler_->SetLateLockHook([&] {
    tx::TableSet other;
    ASSERT_EQ(other.DBEffects.Open(), tx::Level::Done);
    FetchParameter(other, 106, 1);
    ASSERT_EQ(other.DBEffects.Delete(), tx::Level::Done);
    other.DBEffects.Close();
  });
  PresetBuilder second(3);
  second.Block({106, false, {1, 2}});
  second.Modifier({1, 106, 1, 0}).Modifier({2, 106, 0, 0});
  Decode(second);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].modifier, "*");
  ASSERT_EQ(preset_.MQ.size(), 2u);
  EXPECT_TRUE(preset_.MQ[0].EFFECTNAME.blank());
  EXPECT_TRUE(preset_.MQ[0].PARAMETERNAME.blank());
  EXPECT_EQ(preset_.MQ[1].EFFECTNAME.str(), "Block 106");
}

}  // namespace

namespace {

// The kept rows must also notice a commit by another process, which has its
// own SQLite state and file locks.
TEST_F(FillPresetTableTest, AnotherProcesssCommitShowsInTheNextRun) {
  DefineBlock(3, 106, 5, 1);
  PresetBuilder b(3);
  b.Block({106, false, {1}});
  Decode(b);
  Decode(b);
  ASSERT_EQ(Rows()[0].screenName, "Param 0");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open_v2("efx.mdl", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, "UPDATE DBEffects SET SCREENNAME = 'Forked' WHERE EFFECTID = 106", nullptr,
                                 nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Decode(b);
  EXPECT_EQ(Rows()[0].screenName, "Forked");
}

}  // namespace
