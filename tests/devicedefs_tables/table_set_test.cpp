// The table set: record layouts as the tables store them, the registry of
// access objects, and opening and closing the five disk tables together.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/error_manager.h"
#include "support/temp_dir.h"
#include "tables_fixture.h"

namespace {

using namespace tx;

std::vector<const RecordLayout*> AllLayouts() {
  return {&EffectLayout(), &CabLayout(), &SelectionLayout(), &SelectionMasterLayout(), &ScreenMasterLayout(),
          &PresetLayout()};
}

std::vector<std::string> KeyFields(const RecordLayout& l, size_t key) {
  std::vector<std::string> names;
  for (size_t f : l.keys[key].fields) names.push_back(l.fields[f].name);
  return names;
}

TEST(TableLayouts, FieldsTileEachRecordWithoutGapsOrOverlaps) {
  for (const RecordLayout* l : AllLayouts()) {
    size_t end = 0;
    for (const FieldDef& f : l->fields) {
      EXPECT_EQ(f.offset, end) << l->label << ":" << f.name;
      end = f.offset + f.size * f.count;
    }
    EXPECT_EQ(end, l->recordSize) << l->label;
  }
  EXPECT_EQ(EffectLayout().recordSize, 256u);
  EXPECT_EQ(CabLayout().recordSize, 68u);
  EXPECT_EQ(SelectionLayout().recordSize, 8209u);
  EXPECT_EQ(SelectionMasterLayout().recordSize, 51u);
  EXPECT_EQ(ScreenMasterLayout().recordSize, 355u);
  EXPECT_EQ(EffectLayout().fields.size(), 20u);
  EXPECT_EQ(ScreenMasterLayout().fields.size(), 25u);
  EXPECT_EQ(PresetLayout().fields.size(), 10u);
}

TEST(TableLayouts, KeysHaveTheirComponentsInOrderAndTheirUniqueness) {
  const RecordLayout& eff = EffectLayout();
  ASSERT_EQ(eff.keys.size(), 4u);
  EXPECT_EQ(eff.keys[Effect_Primary_Key].name, "EFF:Effect_Primary_Key");
  EXPECT_TRUE(eff.keys[Effect_Primary_Key].unique);
  EXPECT_EQ(KeyFields(eff, Effect_Primary_Key),
            (std::vector<std::string>{"DEVICETYPE", "EFFECTID", "EFFECTVARIANTID", "PARAMETERID"}));
  EXPECT_EQ(eff.keys[Effect_Key].name, "EFF:Effect_Key");
  EXPECT_FALSE(eff.keys[Effect_Key].unique);
  EXPECT_EQ(KeyFields(eff, Effect_Key), (std::vector<std::string>{"EFFECTID"}));
  EXPECT_EQ(eff.keys[EffectParameter_Key].name, "EFF:EffectParameter_Key");
  EXPECT_FALSE(eff.keys[EffectParameter_Key].unique);
  EXPECT_EQ(KeyFields(eff, EffectParameter_Key), (std::vector<std::string>{"DEVICETYPE", "EFFECTID", "PARAMETERID"}));
  EXPECT_EQ(eff.keys[EffectModifier_Key].name, "EFF:EffectModifier_Key");
  EXPECT_FALSE(eff.keys[EffectModifier_Key].unique);
  EXPECT_EQ(KeyFields(eff, EffectModifier_Key),
            (std::vector<std::string>{"DEVICETYPE", "EFFECTID", "EFFECTVARIANTID", "MODIFIERID"}));

  ASSERT_EQ(CabLayout().keys.size(), 1u);
  EXPECT_TRUE(CabLayout().keys[ID_Key].unique);
  EXPECT_EQ(KeyFields(CabLayout(), ID_Key), (std::vector<std::string>{"ID"}));
  ASSERT_EQ(SelectionLayout().keys.size(), 1u);
  EXPECT_TRUE(SelectionLayout().keys[Selection_Key].unique);
  EXPECT_EQ(KeyFields(SelectionLayout(), Selection_Key),
            (std::vector<std::string>{"DEVICETYPE", "EFFECTTYPEID", "EFFECTVARIANTID", "PARAMETERID"}));
  EXPECT_TRUE(SelectionMasterLayout().keys.empty());
  EXPECT_TRUE(ScreenMasterLayout().keys.empty());
  ASSERT_EQ(PresetLayout().keys.size(), 1u);
  EXPECT_FALSE(PresetLayout().keys[PresetEffect_Key].unique);
  EXPECT_EQ(KeyFields(PresetLayout(), PresetEffect_Key), (std::vector<std::string>{"EFFECTID", "PARAMETERID"}));
  EXPECT_TRUE(PresetLayout().inMemory);
}

class TableSetTest : public txtest::TablesFixture {
 protected:
  std::vector<FileManager*> DiskTables() {
    return {&tables->DBSelectionMaster, &tables->DBScreenMaster, &tables->DBSelection, &tables->DBCabs,
            &tables->DBEffects};
  }
};

TEST_F(TableSetTest, AccessObjectsAreSetUpForTheirTables) {
  const std::vector<std::pair<FileManager*, std::string>> expected{
      {&tables->DBEffects, "efx.mdl"},       {&tables->DBCabs, "cab.mdl"},
      {&tables->DBSelection, "sel.mdl"},     {&tables->DBSelectionMaster, "EdtSel.kvr"},
      {&tables->DBScreenMaster, "EdtLay.kvr"}, {&tables->MXPreset, "MXPRESET"}};
  for (const auto& [fm, file] : expected) {
    EXPECT_EQ(fm->FILENAME, file);
    EXPECT_TRUE(fm->CREATE) << file;
    EXPECT_EQ(fm->LOCKRECOVER, 10) << file;
    EXPECT_TRUE(fm->INITIALIZED) << file;
    EXPECT_EQ(fm->ERRORS, errors.get());
  }
  EXPECT_EQ(tables->DBEffects.KEYS, (std::vector<std::string>{"EFF:Effect_Primary_Key", "EFF:Effect_Key",
                                                              "EFF:EffectParameter_Key", "EFF:EffectModifier_Key"}));
  EXPECT_EQ(tables->DBEffects.BUFFER, &tables->effect);
  EXPECT_EQ(tables->DBSelection.BUFFER, &tables->selection);
  EXPECT_EQ(tables->MXPreset.BUFFER, &tables->preset);
}

TEST_F(TableSetTest, ProcessWideTablesAreFoundByName) {
  for (const char* name : {"DBEffects", "DBCabs", "DBSelection", "DBSelectionMaster", "DBScreenMaster", "MXPreset"}) {
    FileManager* fm = FindTable(name);
    ASSERT_NE(fm, nullptr) << name;
    EXPECT_EQ(fm->Name(), name);
    EXPECT_EQ(fm->ERRORS, &GlobalErrors());
  }
  EXPECT_EQ(FindTable("DBEffects"), &Tables().DBEffects);
  EXPECT_EQ(FindTable("IMPreset"), nullptr);
  EXPECT_EQ(FindTable("dbeffects"), nullptr);
}

TEST_F(TableSetTest, OpenAllCreatesTheFiveFilesAndCloseAllClosesThemOnce) {
  ASSERT_EQ(OpenAllTables(*tables), 0);
  EXPECT_TRUE(tables->opened);
  for (const char* f : {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"})
    EXPECT_TRUE(std::filesystem::exists(f)) << f;
  EXPECT_FALSE(tables->MXPreset.OPENED);
  for (FileManager* fm : DiskTables()) EXPECT_TRUE(fm->OPENED) << fm->Name();
  tables->effect.EFFECTID = 1;
  EXPECT_EQ(tables->DBEffects.Fetch(Effect_Key), tx::Level::NotDone);  // empty tables find nothing

  ASSERT_EQ(tables->DBEffects.Open(), tx::Level::Done);  // a user of its own
  CloseAllTables(*tables);
  EXPECT_FALSE(tables->opened);
  for (FileManager* fm : DiskTables()) EXPECT_EQ(fm->OPENED, fm == &tables->DBEffects) << fm->Name();
  CloseAllTables(*tables);  // not marked open: leaves the other user's table alone
  EXPECT_TRUE(tables->DBEffects.OPENED);
  EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(TableSetTest, OpenAllGoesInItsOrderAndReportsEachFailure) {
  for (const char* f : {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"})
    std::ofstream(f, std::ios::binary) << "garbage, not a table " << f;
  EXPECT_EQ(OpenAllTables(*tables), 5);
  std::vector<std::string> texts;
  for (const auto& m : toolkit.Messages()) texts.push_back(m.request.text);
  const std::string tail = " key file is invalid. Key must be rebuilt.";
  EXPECT_EQ(texts, (std::vector<std::string>{"DBSelectionMaster" + tail, "DBScreenMaster" + tail,
                                             "DBSelection" + tail, "DBCabs" + tail, "DBEffects" + tail}));
  CloseAllTables(*tables);
  EXPECT_FALSE(tables->opened);
}

TEST_F(TableSetTest, ImportFramedInOneTransactionOverTheFiveTables) {
  ASSERT_EQ(OpenAllTables(*tables), 0);
  ASSERT_EQ(BeginAllTables(*tables), 0);
  for (int i = 0; i < 50; ++i) {
    tables->selectionMaster.SELECTIONVALUE = static_cast<int16_t>(i);
    tables->selectionMaster.SELECTIONSTRING = "entry " + std::to_string(i);
    ASSERT_EQ(tables->DBSelectionMaster.Insert(), tx::Level::Done);
    tables->cab.ID = i;
    ASSERT_EQ(tables->DBCabs.Insert(), tx::Level::Done);
  }
  ASSERT_EQ(RollbackAllTables(*tables), 0);
  EXPECT_EQ(tables->DBCabs.Records(), 0);
  ASSERT_EQ(BeginAllTables(*tables), 0);
  tables->cab.ID = 1;
  ASSERT_EQ(tables->DBCabs.Insert(), tx::Level::Done);
  tables->screenMaster.ROW = 2;
  ASSERT_EQ(tables->DBScreenMaster.Insert(), tx::Level::Done);
  ASSERT_EQ(CommitAllTables(*tables), 0);
  CloseAllTables(*tables);
  ASSERT_EQ(OpenAllTables(*tables), 0);
  EXPECT_EQ(tables->DBCabs.Records(), 1);
  EXPECT_EQ(tables->DBScreenMaster.Records(), 1);
  ASSERT_EQ(tables->DBScreenMaster.Next(), tx::Level::Done);
  EXPECT_EQ(+tables->screenMaster.ROW, 2);
  CloseAllTables(*tables);
}

// A second process holds the write lock of "efx.mdl" until told to let go.
TEST_F(TableSetTest, TableHeldForWritingByAnotherProcessOpensReadOnlyAfterOneNotice) {
  ASSERT_EQ(tables->DBEffects.Open(), tx::Level::Done);
  tables->effect.EFFECTID = 12;
  ASSERT_EQ(tables->DBEffects.Insert(), tx::Level::Done);
  tables->DBEffects.Close();

  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sqlite3* db = nullptr;
    char c = 'x';
    bool locked = sqlite3_open_v2("efx.mdl", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                  sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    c = locked ? 'L' : 'F';
    if (write(ready[1], &c, 1) != 1 || read(release[0], &c, 1) != 1) _exit(2);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    _exit(locked ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'L');

  FileManager& fm = tables->DBEffects;
  fm.LOCKRECOVER = 1;
  int opened = fm.Open();
  tables->effect.EFFECTID = 12;
  int fetched = fm.Fetch(Effect_Key);
  c = 'r';
  EXPECT_EQ(write(release[1], &c, 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  EXPECT_EQ(opened, 0);
  EXPECT_EQ(fetched, 0);
  ASSERT_EQ(toolkit.Messages().size(), 1u);
  EXPECT_EQ(toolkit.Messages()[0].request.caption, "Access Denied");
  EXPECT_EQ(fm.OPENMODE & 3u, 0u);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

}  // namespace
