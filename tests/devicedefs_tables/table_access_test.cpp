// The table access objects of the master tables and the preset table, driven
// through the access layer with messages captured by the console toolkit.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/runtime_error.h"
#include "devicedefs/tables.h"
#include "platform/storage/storage_table.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/error_manager.h"
#include "support/temp_dir.h"
#include "tables_fixture.h"

namespace {

using namespace tx;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

EffectRecord Effect(uint8_t device, int effect, int variant, int parameter, std::string_view screen = "") {
  EffectRecord r;
  r.DEVICETYPE = device;
  r.EFFECTID = effect;
  r.EFFECTVARIANTID = variant;
  r.PARAMETERID = parameter;
  r.SCREENNAME = screen;
  return r;
}

class TableAccessTest : public txtest::TablesFixture {
 protected:
  std::string Captions() const {
    std::string s;
    for (const auto& m : Shown()) s += (s.empty() ? "" : "; ") + m.request.caption;
    return s;
  }

  void Insert(FileManager& fm, EffectRecord& buffer, const EffectRecord& row) {
    buffer = row;
    ASSERT_EQ(fm.Insert(), 0) << Captions();
  }

  // Another process's connection to a table file.
  sqlite3* Other(const char* file) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    return db;
  }
};

TEST_F(TableAccessTest, MissingFileIsCreatedEmptyAndOpenedInTheSameCall) {
  FileManager& fm = tables->DBEffects;
  ASSERT_FALSE(std::filesystem::exists("efx.mdl"));
  EXPECT_EQ(fm.Open(), tx::Level::Done);
  EXPECT_TRUE(std::filesystem::exists("efx.mdl"));
  EXPECT_TRUE(fm.OPENED);
  EXPECT_EQ(fm.Records(), 0);
  tables->effect.EFFECTID = 5;
  EXPECT_EQ(fm.Fetch(Effect_Key), tx::Level::NotDone);
  EXPECT_TRUE(Shown().empty()) << Captions();
}

TEST_F(TableAccessTest, MissingFileWithoutCreateIsAnAccessError) {
  FileManager& fm = tables->DBCabs;
  fm.CREATE = false;
  EXPECT_EQ(fm.Open(), tx::Level::Fatal);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "File Access Error");
  EXPECT_NE(Shown()[0].request.text.find("File DBCabs could not be opened"), std::string::npos) << Shown()[0].request.text;
  EXPECT_TRUE(toolkit.Halted());
  EXPECT_FALSE(std::filesystem::exists("cab.mdl"));
}

TEST_F(TableAccessTest, UsageCountKeepsTheFileOpenUntilTheLastClose) {
  FileManager& fm = tables->DBCabs;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  EXPECT_EQ(fm.USED, 2);
  EXPECT_EQ(fm.Close(), tx::Level::Done);
  EXPECT_EQ(fm.USED, 1);
  EXPECT_TRUE(fm.OPENED);
  EXPECT_TRUE(fm.Driver()->IsOpen());
  tables->cab.ID = 1;
  tables->cab.NAME = "4x12";
  EXPECT_EQ(fm.Insert(), tx::Level::Done);
  EXPECT_EQ(fm.Close(), tx::Level::Done);
  EXPECT_FALSE(fm.OPENED);
  EXPECT_FALSE(fm.Driver()->IsOpen());
  EXPECT_EQ(fm.Close(), tx::Level::NotDone);  // one Close too many changes nothing
  EXPECT_EQ(fm.USED, 0);
}

TEST_F(TableAccessTest, UsageIsCountedPerThread) {
  FileManager& fm = tables->DBCabs;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  int inThread = -1, closedInThread = -1;
  std::thread([&] {
    inThread = fm.Open();
    closedInThread = fm.Close();
  }).join();
  EXPECT_EQ(inThread, 0);
  EXPECT_EQ(closedInThread, 0);
  EXPECT_TRUE(fm.Driver()->IsOpen());  // still this thread's
  EXPECT_TRUE(fm.OPENED);
  EXPECT_EQ(fm.USED, 1);
  tables->cab.ID = 2;
  EXPECT_EQ(fm.Insert(), tx::Level::Done);
  EXPECT_EQ(fm.Close(), tx::Level::Done);
  EXPECT_FALSE(fm.Driver()->IsOpen());
}

TEST_F(TableAccessTest, OperationsOpenAClosedTableOnFirstUse) {
  FileManager& fm = tables->DBCabs;
  tables->cab.ID = 3;
  EXPECT_EQ(fm.Fetch(ID_Key), tx::Level::NotDone);
  EXPECT_TRUE(fm.OPENED);
  EXPECT_TRUE(std::filesystem::exists("cab.mdl"));
  fm.LAZYOPEN = false;
  fm.Close();
  EXPECT_EQ(fm.Fetch(ID_Key), tx::Level::Fatal);
  EXPECT_FALSE(fm.OPENED);
}

TEST_F(TableAccessTest, ReadingPastTheEndReturnsFiveAndSetsAtEofSilently) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  Insert(fm, tables->effect, Effect(3, 100, 0, 1));
  Insert(fm, tables->effect, Effect(3, 100, 0, 2));
  ASSERT_EQ(fm.SetOrder(Effect_Primary_Key), tx::Level::Done);
  EXPECT_EQ(fm.Next(), tx::Level::Done);
  EXPECT_EQ(fm.Next(), tx::Level::Done);
  EXPECT_FALSE(fm.ATEOF);
  EXPECT_EQ(fm.Next(), tx::Level::NotDone);
  EXPECT_TRUE(fm.ATEOF);
  EXPECT_EQ(+tables->effect.PARAMETERID, 2);  // the buffer keeps the last row read
  EXPECT_EQ(fm.Previous(), tx::Level::Done);
  EXPECT_EQ(fm.SetOrder(Effect_Primary_Key), tx::Level::Done);
  EXPECT_FALSE(fm.ATEOF);
  EXPECT_EQ(fm.Previous(), tx::Level::Done);
  EXPECT_EQ(+tables->effect.PARAMETERID, 2);
  EXPECT_TRUE(Shown().empty()) << Captions();
}

TEST_F(TableAccessTest, DuplicateUniqueKeyNamesTheKeyAndLeavesTheTableUnchanged) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  Insert(fm, tables->effect, Effect(3, 100, 0, 1, "Gain"));
  tables->effect = Effect(3, 100, 0, 1, "Other");
  EXPECT_EQ(fm.Insert(), tx::Level::NotDone);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Duplicate Key Error");
  EXPECT_EQ(Shown()[0].request.text, "Adding this record creates a duplicate entry for the key: EFF:Effect_Primary_Key");
  EXPECT_EQ(errors->KeyName(), "EFF:Effect_Primary_Key");
  EXPECT_EQ(errors->FileName(), "DBEffects");
  EXPECT_EQ(fm.Records(), 1);
  tables->effect = Effect(3, 100, 0, 1);
  ASSERT_EQ(fm.Fetch(Effect_Primary_Key), tx::Level::Done);
  EXPECT_EQ(tables->effect.SCREENNAME, "Gain");
}

TEST_F(TableAccessTest, GarbageTableFileIsReportedByNumberAndNotOverwritten) {
  std::string garbage = "this is not a table file at all\n";
  for (int i = 0; i < 200; ++i) garbage += static_cast<char>(i * 37);
  std::ofstream("efx.mdl", std::ios::binary) << garbage;
  FileManager& fm = tables->DBEffects;
  EXPECT_EQ(fm.Open(), tx::Level::NotDone);
  EXPECT_FALSE(fm.OPENED);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Invalid Key");
  EXPECT_EQ(Shown()[0].request.text, "DBEffects key file is invalid. Key must be rebuilt.");
  EXPECT_EQ(errors->Current().id, tx::Msg::KeysInvalid);
  EXPECT_EQ(CurrentRuntimeError().fileErrorCode, "46");
  EXPECT_NE(CurrentRuntimeError().fileError.find("not a database"), std::string::npos);
  EXPECT_FALSE(toolkit.Halted());
  // Later operations try the open again and fail as unusable, without
  // repeating the notice and still without touching the file.
  tables->effect.EFFECTID = 1;
  EXPECT_EQ(fm.Fetch(Effect_Key), tx::Level::Fatal);
  EXPECT_EQ(fm.Next(), tx::Level::Fatal);
  EXPECT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Slurp("efx.mdl"), garbage);
  // Once the file is replaced by a good one, the next use opens it.
  std::filesystem::remove("efx.mdl");
  EXPECT_EQ(fm.Fetch(Effect_Key), tx::Level::NotDone);
  EXPECT_TRUE(fm.OPENED);
  EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(TableAccessTest, RepairRebuildsAMissingKeyButCannotMendGarbage) {
  ASSERT_EQ(tables->DBCabs.Open(), tx::Level::Done);
  tables->DBCabs.Close();
  sqlite3* db = Other("cab.mdl");
  ASSERT_EQ(sqlite3_exec(db, "DROP INDEX ID_Key", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  FileManager& fm = tables->DBCabs;
  fm.REPAIR = true;
  EXPECT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Invalid Key");
  fm.Close();

  std::ofstream("sel.mdl", std::ios::binary) << std::string(4096, 'x');
  tables->DBSelection.REPAIR = true;
  EXPECT_EQ(tables->DBSelection.Open(), tx::Level::Fatal);
  ASSERT_EQ(Shown().size(), 3u);
  EXPECT_EQ(Shown()[2].request.caption, "Key was not built");
  EXPECT_EQ(Slurp("sel.mdl"), std::string(4096, 'x'));
}

TEST_F(TableAccessTest, WriteLockedTableIsDeniedOnceThenOpenedReadOnly) {
  ASSERT_EQ(tables->DBEffects.Open(), tx::Level::Done);
  Insert(tables->DBEffects, tables->effect, Effect(1, 7, 0, 3, "Level"));
  tables->DBEffects.Close();

  sqlite3* db = Other("efx.mdl");
  ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  FileManager& fm = tables->DBEffects;
  fm.LOCKRECOVER = 1;  // the lock is live, so waiting the full ten seconds gains nothing here
  EXPECT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(Shown().size(), 1u) << Captions();
  EXPECT_EQ(Shown()[0].request.caption, "Access Denied");
  EXPECT_EQ(Shown()[0].request.text, "Could not get write access to DBEffects so trying read-only.");
  EXPECT_EQ(fm.OPENMODE & 3u, 0u);
  EXPECT_TRUE(fm.Driver()->IsReadOnly());
  tables->effect = Effect(1, 7, 0, 3);
  ASSERT_EQ(fm.Fetch(Effect_Primary_Key), tx::Level::Done);
  EXPECT_EQ(tables->effect.SCREENNAME, "Level");
  tables->effect.PARAMETERID = 4;
  EXPECT_EQ(fm.Insert(), tx::Level::NotDone);
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[1].request.caption, "Record Insert Error");
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

TEST_F(TableAccessTest, ReadingNeedsNoWriteAccessAndATableLockedPastTheWaitIsBusy) {
  ASSERT_EQ(tables->DBEffects.Open(), tx::Level::Done);
  Insert(tables->DBEffects, tables->effect, Effect(1, 7, 0, 3, "Level"));
  tables->DBEffects.Close();
  sqlite3* db = Other("efx.mdl");
  ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);  // a writer at work
  FileManager& fm = tables->DBEffects;
  fm.OPENMODE = OPEN_READ_ONLY;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  tables->effect = Effect(1, 7, 0, 3);
  EXPECT_EQ(fm.Fetch(Effect_Primary_Key), tx::FOUND);
  EXPECT_TRUE(Shown().empty()) << Captions();
  fm.Close();
  // A writer committing bars reading for as long as it takes.
  ASSERT_EQ(sqlite3_exec(db, "COMMIT; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  fm.LOCKRECOVER = 0;
  EXPECT_EQ(fm.Open(), tx::Level::Fatal);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_NE(Shown()[0].request.text.find("busy"), std::string::npos) << Shown()[0].request.text;
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

TEST_F(TableAccessTest, ReportOffPreparesTheMessageWithoutShowingIt) {
  std::ofstream("EdtLay.kvr", std::ios::binary) << std::string(600, '\x7f');
  EXPECT_EQ(tables->DBScreenMaster.Open(false), tx::Level::NotDone);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(errors->Current().id, tx::Msg::KeysInvalid);
  EXPECT_EQ(errors->FileName(), "DBScreenMaster");
}

TEST_F(TableAccessTest, FetchTakesTheFirstStoredRowAmongEqualKeys) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  // Two variants of one parameter: same device, effect and parameter id.
  Insert(fm, tables->effect, Effect(3, 106, 2, 10, "second variant"));
  Insert(fm, tables->effect, Effect(3, 106, 1, 10, "first variant"));
  Insert(fm, tables->effect, Effect(1, 106, 0, 10, "other device"));
  tables->effect = Effect(3, 106, 99, 10);
  ASSERT_EQ(fm.Fetch(EffectParameter_Key), tx::Level::Done);
  EXPECT_EQ(tables->effect.SCREENNAME, "second variant");
  tables->effect = Effect(0, 106, 0, 0);
  ASSERT_EQ(fm.Fetch(Effect_Key), tx::Level::Done);
  EXPECT_EQ(tables->effect.SCREENNAME, "second variant");
  tables->effect = Effect(3, 106, 1, 10);
  ASSERT_EQ(fm.Fetch(Effect_Primary_Key), tx::Level::Done);
  EXPECT_EQ(tables->effect.SCREENNAME, "first variant");
}

TEST_F(TableAccessTest, TextIsCutToWidthAndComparedWithoutTrailingSpaces) {
  FileManager& fm = tables->DBSelection;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  SelectionRecord& sel = tables->selection;
  sel = SelectionRecord{};
  sel.DEVICETYPE = 1;
  sel.PARAMETERID = 4;
  for (int i = 0; i < 100; ++i) sel.SELECTION[i] = "entry " + std::to_string(i) + std::string(40, '!');
  ASSERT_EQ(fm.Insert(), tx::Level::Done);
  sel = SelectionRecord{};
  sel.DEVICETYPE = 1;
  sel.PARAMETERID = 4;
  ASSERT_EQ(fm.Fetch(Selection_Key), tx::Level::Done);
  EXPECT_EQ(sel.SELECTION[0].raw(), "entry 0" + std::string(25, '!'));
  EXPECT_TRUE(sel.SELECTION[100].blank());
  EXPECT_TRUE(sel.SELECTION[255].blank());

  FileManager& cabs = tables->DBCabs;
  tables->cab.ID = 9;
  tables->cab.NAME = "1x12 American";
  ASSERT_EQ(cabs.Insert(), tx::Level::Done);
  EXPECT_EQ(tables->cab.NAME, "1x12 American   ");
}

TEST_F(TableAccessTest, UpdateAndDeleteWorkOnTheRowLastRead) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  for (int p = 1; p <= 3; ++p) Insert(fm, tables->effect, Effect(3, 100, 0, p));
  tables->effect = Effect(3, 100, 0, 2);
  ASSERT_EQ(fm.Fetch(Effect_Primary_Key), tx::Level::Done);
  tables->effect.UNIT = "dB";
  EXPECT_EQ(fm.Update(), tx::Level::Done);
  toolkit.QueueAnswer(BUTTON_NO);
  EXPECT_EQ(fm.Delete(true), tx::Level::Cancelled);
  EXPECT_EQ(fm.Records(), 3);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Confirm Delete");
  toolkit.QueueAnswer(BUTTON_YES);
  EXPECT_EQ(fm.Delete(true), tx::Level::Done);
  EXPECT_EQ(fm.Records(), 2);
  EXPECT_EQ(fm.Delete(), tx::Level::NotDone);  // nothing read since
  EXPECT_EQ(Shown().back().request.caption, "Record was not deleted");
}

TEST_F(TableAccessTest, UpdateOfARowChangedElsewhereShowsTheStoredValues) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  Insert(fm, tables->effect, Effect(3, 100, 0, 1, "Mine"));
  tables->effect = Effect(3, 100, 0, 1);
  ASSERT_EQ(fm.Fetch(Effect_Primary_Key), tx::Level::Done);
  sqlite3* db = Other("efx.mdl");
  ASSERT_EQ(sqlite3_exec(db, "UPDATE DBEffects SET SCREENNAME = 'Theirs'", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  tables->effect.SCREENNAME = "Changed";
  EXPECT_EQ(fm.Update(), tx::Level::NotDone);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Record Was Not Updated");
  EXPECT_EQ(tables->effect.SCREENNAME, "Theirs");
}

TEST_F(TableAccessTest, PresetTableLivesInMemoryAndIsReadByKeyAndInStoredOrder) {
  FileManager& fm = tables->MXPreset;
  PresetRecord& pre = tables->preset;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(fm.Empty(), tx::Level::Done);
  const int rows[][2] = {{106, 2}, {100, 7}, {106, 1}, {100, 7}};
  for (const auto& r : rows) {
    pre = PresetRecord{};
    pre.EFFECTID = r[0];
    pre.PARAMETERID = r[1];
    pre.XVALUE = std::to_string(r[0] * 10 + r[1]);
    ASSERT_EQ(fm.Insert(), tx::Level::Done);
  }
  pre.EFFECTID = 100;
  pre.PARAMETERID = 7;
  ASSERT_EQ(fm.Fetch(PresetEffect_Key), tx::Level::Done);
  pre.YVALUE = "updated";
  ASSERT_EQ(fm.Update(), tx::Level::Done);

  std::vector<std::string> stored;
  ASSERT_EQ(fm.SetOrder(-1), tx::Level::Done);
  while (fm.Next() == 0) stored.push_back(std::to_string(pre.EFFECTID) + "/" + std::to_string(pre.PARAMETERID) + ":" + pre.YVALUE.str());
  EXPECT_EQ(stored, (std::vector<std::string>{"106/2:", "100/7:updated", "106/1:", "100/7:"}));
  std::vector<int> byKey;
  ASSERT_EQ(fm.SetOrder(PresetEffect_Key), tx::Level::Done);
  while (fm.Next() == 0) byKey.push_back(pre.EFFECTID * 10 + pre.PARAMETERID);
  EXPECT_EQ(byKey, (std::vector<int>{1007, 1007, 1061, 1062}));

  fm.Close();
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  EXPECT_EQ(fm.Records(), 4);
  ASSERT_EQ(fm.Empty(), tx::Level::Done);
  EXPECT_EQ(fm.Records(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_TRUE(Shown().empty()) << Captions();
}

TEST_F(TableAccessTest, ReadingWhileAnotherProcessCommitsReportsAHeldRecord) {
  FileManager& fm = tables->DBEffects;
  fm.LOCKRECOVER = 0;  // the lock is held for the whole test: waiting for it gains nothing
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  Insert(fm, tables->effect, Effect(3, 1, 0, 1));
  sqlite3* db = Other("efx.mdl");
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(fm.SetOrder(-1), tx::Level::Done);
  EXPECT_EQ(fm.Next(), tx::Level::NotDone);
  EXPECT_FALSE(fm.ATEOF);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Record not read");
  EXPECT_EQ(fm.LASTERROR, 43);
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(fm.Next(), tx::Level::Done);
}

TEST_F(TableAccessTest, CloseThatCannotSaveAPendingTransactionSaysSo) {
  FileManager& fm = tables->DBCabs;
  fm.LOCKRECOVER = 0;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(fm.BeginTransaction(), tx::Level::Done);
  tables->cab.ID = 4;
  ASSERT_EQ(fm.Insert(), tx::Level::Done);
  sqlite3* db = Other("cab.mdl");
  // A reader in the middle of its own transaction keeps the commit out.
  ASSERT_EQ(sqlite3_exec(db, "BEGIN; SELECT count(*) FROM DBCabs;", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(fm.Close(), tx::Level::NotDone);
  EXPECT_FALSE(fm.OPENED);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "File Access Error");
  EXPECT_NE(Shown()[0].request.text.find("DBCabs could not be closed"), std::string::npos) << Shown()[0].request.text;
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(fm.Records(), 0);
}

TEST_F(TableAccessTest, TransactionFramesAnImport) {
  FileManager& fm = tables->DBEffects;
  ASSERT_EQ(fm.Open(), tx::Level::Done);
  ASSERT_EQ(fm.BeginTransaction(), tx::Level::Done);
  for (int p = 0; p < 500; ++p) Insert(fm, tables->effect, Effect(3, 1, 0, p));
  ASSERT_EQ(fm.Rollback(), tx::Level::Done);
  EXPECT_EQ(fm.Records(), 0);
  ASSERT_EQ(fm.BeginTransaction(), tx::Level::Done);
  for (int p = 0; p < 500; ++p) Insert(fm, tables->effect, Effect(3, 1, 0, p));
  ASSERT_EQ(fm.Commit(), tx::Level::Done);
  EXPECT_EQ(fm.Records(), 500);
}

}  // namespace
