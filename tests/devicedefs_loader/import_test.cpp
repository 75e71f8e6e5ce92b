// The definition import on small definition sets written for each case.
// Record fields are packed: numeric ones are compared as copies (+field).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "devicedefs/loader.h"
#include "import_support.h"
#include "test_masters.h"

namespace {

using txtest::Rows;
using txtest::WriteFile;
using namespace txtest::masters;

class Import : public ::testing::Test {
 protected:
  Import() : cwd_(dir_.path()) {}

  void WriteMasters() {
    WriteFile(dir_.path() / "Masters/Gen2/default.axeml", kGen2Layout);
    WriteFile(dir_.path() / "Masters/Gen2/default.profile", kGen2Profile);
    WriteFile(dir_.path() / "Masters/Gen1/default.axeml", kGen1Layout);
    WriteFile(dir_.path() / "Masters/Gen1/default.profile", kGen1Profile);
  }

  std::vector<tx::EffectRecord> Effects() { return Rows(t_.DBEffects, t_.effect); }
  std::vector<tx::CabRecord> Cabs() { return Rows(t_.DBCabs, t_.cab); }
  std::vector<tx::SelectionRecord> Selections() { return Rows(t_.DBSelection, t_.selection); }
  std::vector<tx::SelectionMasterRecord> SelectionMasters() { return Rows(t_.DBSelectionMaster, t_.selectionMaster); }
  std::vector<tx::ScreenMasterRecord> Screens() { return Rows(t_.DBScreenMaster, t_.screenMaster); }

  std::vector<tx::EffectRecord> EffectsOf(uint8_t device, int effectId) {
    std::vector<tx::EffectRecord> out;
    for (const auto& e : Effects())
      if (e.DEVICETYPE == device && e.EFFECTID == effectId) out.push_back(e);
    return out;
  }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_;
  tx::TableSet t_;
};

TEST_F(Import, WithoutMastersCreatesTheFiveTablesEmpty) {
  tx::ImportReport r = tx::ImportDefinitions(t_);
  for (const char* f : {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"})
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / f)) << f;
  EXPECT_EQ(r.effects + r.cabs + r.selections + r.selectionMasters + r.screenMasters, 0);
  EXPECT_EQ(r.unreadFiles.size(), 4u);  // each missing file named once
  EXPECT_TRUE(r.failedBlocks.empty());
  EXPECT_TRUE(Effects().empty());
  EXPECT_TRUE(Screens().empty());
}

TEST_F(Import, EveryInstanceGetsItsTypesParametersInTextOrder) {
  WriteMasters();
  tx::ImportReport r = tx::ImportDefinitions(t_);
  EXPECT_TRUE(r.unreadFiles.empty());
  std::vector<tx::EffectRecord> e = Effects();
  ASSERT_GE(e.size(), 9u);
  // Gen2 first, ordered by effect id as text: "10" before "1234" before "9".
  EXPECT_EQ(+e[0].DEVICETYPE, 3);
  EXPECT_EQ(+e[0].EFFECTID, 10);
  EXPECT_EQ(e[0].EFFECTNAME, "Amp Ten");
  EXPECT_EQ(+e[4].EFFECTID, 1234);  // the pool id "12345" was cut to four characters
  EXPECT_EQ(e[4].EFFECTNAME, "Delay");
  EXPECT_EQ(+e[5].EFFECTID, 9);
  EXPECT_EQ(e[5].EFFECTNAME, "Amp Nine");
  // Both amps carry the full parameter set of the type.
  EXPECT_EQ(EffectsOf(3, 9).size(), 4u);
  EXPECT_EQ(EffectsOf(3, 10).size(), 4u);
  // The profile's delay belongs to effect 12345, which the pool knows as 1234:
  // the join goes by type, so the pool's instance gets it.
  ASSERT_EQ(EffectsOf(3, 1234).size(), 1u);
  EXPECT_EQ(+EffectsOf(3, 1234)[0].EFFECTVARIANTPARAMETERID, -1);
  EXPECT_EQ(r.effects, static_cast<long>(e.size()));
}

TEST_F(Import, ParameterRowsTakeNamesScalingAndBypassFromTheirSources) {
  WriteMasters();
  tx::ImportDefinitions(t_);
  std::vector<tx::EffectRecord> amp = EffectsOf(3, 9);
  ASSERT_EQ(amp.size(), 4u);
  const tx::EffectRecord& gain = amp[0];
  EXPECT_EQ(+gain.PARAMETERID, 0);
  EXPECT_EQ(+gain.EFFECTTYPEID, 5);
  EXPECT_EQ(gain.EFFECTTYPE, "Amp");
  EXPECT_EQ(gain.INTERNALNAME, "AMP_GAIN");
  // A 64-character control name keeps its first 32 characters.
  EXPECT_EQ(gain.SCREENNAME, "Gain knob with a very long scree");
  EXPECT_EQ(gain.CONTROLTYPE, "Knob");
  EXPECT_EQ(gain.PARAMTYPE, "LIN");
  EXPECT_EQ(+gain.MODIFIERID, 1);
  EXPECT_EQ(+gain.EFFECTBYPASSPARAMETERID, 2);  // the parameter list's BypassParam wins
  EXPECT_DOUBLE_EQ(+gain.DEFAULTVALUE, 5);
  EXPECT_DOUBLE_EQ(+gain.MAXIMUMVALUE, 10);
  EXPECT_EQ(+gain.PRECISION, 2);
  EXPECT_EQ(+gain.NUMBEROFVALUES, 65534);
  EXPECT_EQ(gain.UNIT, "dB");
  // Parameter 4 has no entry in the parameter lists: blank names, and the
  // profile's bypass id.
  const tx::EffectRecord& orphan = amp[3];
  EXPECT_EQ(+orphan.PARAMETERID, 4);
  EXPECT_TRUE(orphan.INTERNALNAME.blank());
  EXPECT_TRUE(orphan.SCREENNAME.blank());
  EXPECT_TRUE(orphan.CONTROLTYPE.blank());
  EXPECT_EQ(+orphan.EFFECTBYPASSPARAMETERID, 7);
  EXPECT_EQ(orphan.PARAMTYPE, "LOG");
}

TEST_F(Import, FirstGenerationBypassIsTheModifier255Parameter) {
  WriteMasters();
  tx::ImportDefinitions(t_);
  std::vector<tx::EffectRecord> a = EffectsOf(1, 20), b = EffectsOf(1, 21), wah = EffectsOf(1, 30);
  ASSERT_EQ(a.size(), 2u);
  ASSERT_EQ(b.size(), 2u);
  ASSERT_EQ(wah.size(), 1u);
  // Two parameters carry 255; sorted by id as text ("10", "9") the last, 9, wins,
  // for every instance of the type.
  for (const auto& row : a) EXPECT_EQ(+row.EFFECTBYPASSPARAMETERID, 9);
  for (const auto& row : b) EXPECT_EQ(+row.EFFECTBYPASSPARAMETERID, 9);
  EXPECT_EQ(+wah[0].EFFECTBYPASSPARAMETERID, 0);
  EXPECT_EQ(+wah[0].MODIFIERID, 255);
  EXPECT_EQ(a[0].EFFECTNAME, "Drive A");
  EXPECT_EQ(b[0].EFFECTNAME, "Drive B");
  EXPECT_EQ(+a[0].EFFECTTYPEID, 10);
  EXPECT_EQ(+a[0].EFFECTVARIANTID, 0);
  EXPECT_EQ(+a[0].EFFECTVARIANTPARAMETERID, 0);
  // Screen name through the attribute "parameterName"; a child element of
  // that name does not count.
  EXPECT_EQ(a[0].INTERNALNAME, "DRV_GAIN");
  EXPECT_EQ(a[0].SCREENNAME, "Gain");
  // Parameter 5 is in no parameter list.
  EXPECT_EQ(+a[1].PARAMETERID, 5);
  EXPECT_TRUE(a[1].INTERNALNAME.blank());
  EXPECT_TRUE(a[1].SCREENNAME.blank());
  // The wah's parameter has a list entry but no control.
  EXPECT_EQ(wah[0].INTERNALNAME, "WAH_FREQ");
  EXPECT_TRUE(wah[0].SCREENNAME.blank());
}

TEST_F(Import, CabinetsKeepTheFirstRowOfADuplicateId) {
  WriteMasters();
  tx::ImportReport r = tx::ImportDefinitions(t_);
  std::vector<tx::CabRecord> cabs = Cabs();
  ASSERT_EQ(cabs.size(), 2u);
  EXPECT_EQ(+cabs[0].ID, 1);
  EXPECT_EQ(+cabs[1].ID, 3);
  EXPECT_EQ(cabs[1].NAME, "first three");
  EXPECT_EQ(r.cabs, 2);
  EXPECT_GE(r.refused, 1);
}

TEST_F(Import, SelectionListsStopAtTheFirstBlankEntry) {
  WriteMasters();
  tx::ImportDefinitions(t_);
  std::vector<tx::SelectionRecord> sel = Selections();
  // Every Gen2 profile parameter gives a row, in document order (9/0, 9/1, 9/2,
  // 9/4, 12345/0); only 9/1 carries texts. Gen1 rows for 20/0, 20/5 and 30/0
  // follow, but all Gen1 rows have type and variant 0, so 30/0 repeats the key
  // of 20/0 and is refused.
  ASSERT_EQ(sel.size(), 7u);
  const int gen2Params[] = {0, 1, 2, 4, 0};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(+sel[i].DEVICETYPE, 3);
    EXPECT_EQ(+sel[i].PARAMETERID, gen2Params[i]);
  }
  EXPECT_EQ(+sel[1].EFFECTID, 9);
  EXPECT_EQ(+sel[1].EFFECTTYPEID, 5);
  EXPECT_EQ(sel[1].SELECTION[0], "Clean");
  EXPECT_TRUE(sel[1].SELECTION[2].blank());
  EXPECT_EQ(sel[1].SELECTION[3], "Lead");
  for (int i : {0, 2, 3, 4})
    for (const auto& entry : sel[i].SELECTION) EXPECT_TRUE(entry.blank());
  EXPECT_EQ(+sel[4].EFFECTID, 1234);  // the queue field holds four characters
  EXPECT_EQ(+sel[5].DEVICETYPE, 1);
  EXPECT_EQ(+sel[5].EFFECTTYPEID, 0);
  EXPECT_EQ(+sel[5].EFFECTVARIANTID, 0);
  EXPECT_EQ(+sel[5].EFFECTID, 20);
  EXPECT_EQ(+sel[5].PARAMETERID, 0);
  EXPECT_EQ(+sel[6].EFFECTID, 20);
  EXPECT_EQ(+sel[6].PARAMETERID, 5);

  std::vector<tx::SelectionMasterRecord> flat = SelectionMasters();
  // "Clean", "Crunch" only: the third entry is blank, "Lead" is never reached.
  ASSERT_EQ(flat.size(), 2u);
  EXPECT_EQ(+flat[0].SELECTIONVALUE, 0);
  EXPECT_EQ(flat[0].SELECTIONSTRING, "Clean");
  EXPECT_EQ(+flat[1].SELECTIONVALUE, 1);
  EXPECT_EQ(flat[1].SELECTIONSTRING, "Crunch");
  EXPECT_EQ(+flat[1].EFFECTTYPEID, 5);
  EXPECT_EQ(+flat[1].PARAMETERID, 1);
}

TEST_F(Import, ASecondRunAddsOnlyToTheUnkeyedTables) {
  WriteMasters();
  tx::ImportReport first = tx::ImportDefinitions(t_);
  size_t effects = Effects().size(), cabs = Cabs().size(), sel = Selections().size();
  size_t screens = Screens().size(), flat = SelectionMasters().size();
  ASSERT_GT(screens, 0u);
  ASSERT_GT(flat, 0u);

  tx::ImportReport second = tx::ImportDefinitions(t_);
  EXPECT_EQ(second.effects, 0);
  EXPECT_EQ(second.cabs, 0);
  EXPECT_EQ(second.selections, 0);
  EXPECT_EQ(second.screenMasters, first.screenMasters);
  EXPECT_EQ(second.selectionMasters, first.selectionMasters);
  EXPECT_EQ(Effects().size(), effects);
  EXPECT_EQ(Cabs().size(), cabs);
  EXPECT_EQ(Selections().size(), sel);
  EXPECT_EQ(Screens().size(), 2 * screens);
  EXPECT_EQ(SelectionMasters().size(), 2 * flat);
}

TEST_F(Import, ScreenLayoutRowsCarryTheirPageAndPlace) {
  WriteMasters();
  tx::ImportDefinitions(t_);
  std::vector<tx::ScreenMasterRecord> s = Screens();
  ASSERT_EQ(s.size(), 5u);  // three Gen2 controls, two Gen1
  EXPECT_EQ(+s[0].DEVICETYPE, 3);
  EXPECT_EQ(s[0].EDITORCONTROLNAME, "Amp");
  EXPECT_EQ(+s[0].EDITORCONTROLVALUE, 9);
  EXPECT_EQ(+s[0].EDITORCONTROLTYPEID, 5);
  EXPECT_EQ(s[0].EDITORCONTROLTYPE, "Effect");
  EXPECT_EQ(s[0].EFFECTVARIANTNAME, "Standard");
  EXPECT_EQ(+s[0].EFFECTVARIANTTYPEID, 5);
  EXPECT_EQ(s[0].PAGENAME, "Main");
  EXPECT_EQ(+s[0].SUBTYPE, 1);
  EXPECT_EQ(s[0].PAGESECTION, "Knobs");
  // The control name was cut to the queue's 20 characters.
  EXPECT_EQ(s[0].CONTROLNAME, "Gain knob with a ver");
  EXPECT_EQ(s[0].PARAMETERNAME, "AMP_GAIN");
  EXPECT_EQ(+s[0].ROW, 1);
  EXPECT_EQ(+s[0].COLUMN, 1);
  EXPECT_EQ(+s[1].COLUMN, 2);
  EXPECT_EQ(+s[2].ROW, 2);  // after the row flag
  EXPECT_EQ(+s[2].COLUMN, 1);
  EXPECT_EQ(+s[3].DEVICETYPE, 1);
  EXPECT_EQ(s[3].PARAMETERNAME, "DRV_GAIN");
  // The Gen1 tree's parameter name comes from the attribute only.
  EXPECT_TRUE(s[4].PARAMETERNAME.blank());
}

TEST_F(Import, AMalformedFileGivesNothingAndTheRestGoesOn) {
  WriteMasters();
  WriteFile(dir_.path() / "Masters/Gen2/default.axeml", "<AxeML><EffectPool><EffectPoolInstance ID='9'></AxeML>");
  tx::ImportReport r = tx::ImportDefinitions(t_);
  ASSERT_EQ(r.unreadFiles.size(), 1u);
  EXPECT_NE(r.unreadFiles[0].find("Masters/Gen2/default.axeml"), std::string::npos);
  EXPECT_TRUE(r.failedBlocks.empty());
  EXPECT_EQ(r.cabs, 0);
  for (const auto& e : Effects()) EXPECT_EQ(+e.DEVICETYPE, 1);  // no Gen2 pool, no Gen2 effects
  EXPECT_EQ(r.effects, 5);
  // The Gen2 profile was fine: its list still arrives.
  std::vector<tx::SelectionRecord> sel = Selections();
  ASSERT_FALSE(sel.empty());
  EXPECT_EQ(+sel[0].DEVICETYPE, 3);
}

TEST_F(Import, AFailedWriteRollsItsWholeBlockBack) {
  if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "sqlite3 is not installed";
  tx::ImportDefinitions(t_);  // creates the empty tables
  // Writing Gen2's second amp fails as a full disk would.
  ASSERT_EQ(std::system("sqlite3 efx.mdl \"CREATE TRIGGER full BEFORE INSERT ON DBEffects "
                        "WHEN NEW.DEVICETYPE = 3 AND NEW.EFFECTID = 9 BEGIN SELECT RAISE(ABORT, 'full'); END;\""),
            0);
  WriteMasters();
  tx::ImportReport r = tx::ImportDefinitions(t_);
  ASSERT_EQ(r.failedBlocks.size(), 1u);
  EXPECT_NE(r.failedBlocks[0].what.find("Gen2"), std::string::npos);
  // The cabinets and the Gen2 effects written before the failure are gone too.
  EXPECT_TRUE(Cabs().empty());
  EXPECT_EQ(r.cabs, 0);
  for (const auto& e : Effects()) EXPECT_EQ(+e.DEVICETYPE, 1);
  for (const auto& s : Selections()) EXPECT_EQ(+s.DEVICETYPE, 1);
  // Blocks of their own went through.
  EXPECT_EQ(Screens().size(), 5u);
  EXPECT_EQ(EffectsOf(1, 20).size(), 2u);
}

// Another process in the middle of reading "sel.mdl", as a decode is.
TEST_F(Import, AReaderIsWaitedForAndOneThatStaysCostsItsBlocksInEveryTable) {
  tx::ImportDefinitions(t_);  // the empty tables
  WriteMasters();
  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open("sel.mdl", &reader), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM DBSelection;", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread done([reader] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
  });
  tx::ImportReport waited = tx::ImportDefinitions(t_);
  done.join();
  sqlite3_close(reader);
  EXPECT_TRUE(waited.failedBlocks.empty());
  EXPECT_EQ(Cabs().size(), 2u);

  // Past the wait: the blocks that write "sel.mdl" keep nothing anywhere.
  for (const char* f : {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"}) std::filesystem::remove(f);
  std::filesystem::rename("Masters", "Later");
  tx::ImportDefinitions(t_);
  std::filesystem::rename("Later", "Masters");
  for (tx::FileManager* fm : {&t_.DBEffects, &t_.DBCabs, &t_.DBSelection, &t_.DBSelectionMaster, &t_.DBScreenMaster})
    fm->LOCKRECOVER = 0;
  ASSERT_EQ(sqlite3_open("sel.mdl", &reader), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM DBSelection;", nullptr, nullptr, nullptr), SQLITE_OK);
  tx::ImportReport r = tx::ImportDefinitions(t_);
  sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(reader);
  ASSERT_EQ(r.failedBlocks.size(), 2u);
  EXPECT_NE(r.failedBlocks[0].cause.find("busy"), std::string::npos) << r.failedBlocks[0].cause;
  EXPECT_EQ(r.keptBlocks, (std::vector<std::string>{"Gen2 screen layout", "Gen1 screen layout"}));
  EXPECT_TRUE(Cabs().empty());
  EXPECT_TRUE(Effects().empty());
  EXPECT_TRUE(Selections().empty());
  EXPECT_TRUE(SelectionMasters().empty());
  EXPECT_EQ(Screens().size(), 5u);
  EXPECT_EQ(r.cabs + r.effects + r.selections + r.selectionMasters, 0);
}

TEST(ImportShippedMasters, EveryBlockOfTheSampleDefinitionsIsComplete) {
  txtest::TempDir dir;
  std::filesystem::copy(std::filesystem::path(TONALYX_SOURCE_DIR) / "Masters", dir.path() / "Masters",
                        std::filesystem::copy_options::recursive);
  txtest::ScopedCwd cwd(dir.path());
  tx::TableSet t;
  tx::ImportReport r = tx::ImportDefinitions(t);
  EXPECT_TRUE(r.unreadFiles.empty());
  EXPECT_TRUE(r.failedBlocks.empty());
  EXPECT_GT(r.cabs, 0);
  std::vector<tx::EffectRecord> effects = Rows(t.DBEffects, t.effect);
  ASSERT_EQ(static_cast<long>(effects.size()), r.effects);
  bool gen1Bypass = false;
  for (const auto& e : effects) {
    SCOPED_TRACE(std::to_string(e.DEVICETYPE) + "/" + std::to_string(e.EFFECTID) + "/" + std::to_string(e.PARAMETERID));
    EXPECT_GE(+e.EFFECTID, 100);
    EXPECT_LE(+e.EFFECTID, 199);
    EXPECT_FALSE(e.EFFECTNAME.blank());
    EXPECT_FALSE(e.INTERNALNAME.blank());
    EXPECT_FALSE(e.SCREENNAME.blank());
    EXPECT_TRUE(e.PARAMTYPE == "LIN" || e.PARAMTYPE == "LOG" || e.PARAMTYPE == "INT");
    EXPECT_GE(+e.PRECISION, 0);
    EXPECT_LE(+e.PRECISION, 3);
    EXPECT_GT(+e.NUMBEROFVALUES, 0);
    if (e.DEVICETYPE == 1 && e.MODIFIERID == 255) gen1Bypass = gen1Bypass || e.PARAMETERID == e.EFFECTBYPASSPARAMETERID;
  }
  EXPECT_TRUE(gen1Bypass);
  EXPECT_GT(Rows(t.DBScreenMaster, t.screenMaster).size(), 100u);
  EXPECT_GT(Rows(t.DBSelectionMaster, t.selectionMaster).size(), 100u);
}

}  // namespace
