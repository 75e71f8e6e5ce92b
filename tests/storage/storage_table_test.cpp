// The SQLite keyed-file driver, driven through its public operations against
// real files in a scratch directory.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/fixed_string.h"
#include "platform/storage/storage_table.h"
#include "support/temp_dir.h"

namespace {

using namespace tx;
namespace st = tx::storage;

#pragma pack(push, 1)
struct Row {
  int32_t ID = 0;
  FixedString<8> NAME;
  double VALUE = 0;
  int16_t SMALL = 0;
  uint8_t FLAG = 0;
  uint32_t BIG = 0;
  FixedString<4> LIST[3];
};
#pragma pack(pop)

const RecordLayout& TestLayout() {
  static const RecordLayout l = [] {
    RecordLayout r{"Things", "things.dat", "THG", sizeof(Row), {}, {}, false};
    r.fields = {{"ID", FieldType::Long, offsetof(Row, ID), 4},
                {"NAME", FieldType::String, offsetof(Row, NAME), 8},
                {"VALUE", FieldType::Real, offsetof(Row, VALUE), 8},
                {"SMALL", FieldType::Short, offsetof(Row, SMALL), 2},
                {"FLAG", FieldType::Byte, offsetof(Row, FLAG), 1},
                {"BIG", FieldType::ULong, offsetof(Row, BIG), 4},
                {"LIST", FieldType::String, offsetof(Row, LIST), 4, 3}};
    r.keys = {{"THG:Id_Key", {0}, true}, {"THG:Name_Key", {1, 3}, false}};
    return r;
  }();
  return l;
}

const RecordLayout& MemoryLayout() {
  static const RecordLayout l = [] {
    RecordLayout r = TestLayout();
    r.label = "Scratch";
    r.fileName = "SCRATCH";
    r.inMemory = true;
    return r;
  }();
  return l;
}

Row MakeRow(int id, std::string_view name, int16_t small = 0, double value = 0) {
  Row r;
  r.ID = id;
  r.NAME = name;
  r.SMALL = small;
  r.VALUE = value;
  return r;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class StorageTableTest : public ::testing::Test {
 protected:
  txtest::TempDir dir;
  std::string path = dir.file("things.dat");

  void CreateAndOpen(StorageTable& t, bool writable = true) {
    ASSERT_EQ(t.Create(path), st::kOk) << t.ErrorText();
    ASSERT_EQ(t.Open(path, writable), st::kOk) << t.ErrorText();
  }
  void Append(StorageTable& t, const Row& r) { ASSERT_EQ(t.Append(&r), st::kOk) << t.ErrorText(); }

  // A second connection, as another process would hold it.
  sqlite3* OtherConnection() {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    return db;
  }
};

TEST_F(StorageTableTest, CreatedFileIsAPlainDatabaseWithOneColumnPerFieldAndOneIndexPerKey) {
  StorageTable t(TestLayout());
  ASSERT_EQ(t.Create(path), st::kOk);
  sqlite3* db = OtherConnection();
  sqlite3_stmt* s = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('Things')", -1, &s, nullptr), SQLITE_OK);
  std::vector<std::string> columns;
  while (sqlite3_step(s) == SQLITE_ROW) columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
  sqlite3_finalize(s);
  EXPECT_EQ(columns, (std::vector<std::string>{"ID", "NAME", "VALUE", "SMALL", "FLAG", "BIG", "LIST"}));

  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name, \"unique\" FROM pragma_index_list('Things') ORDER BY name", -1, &s, nullptr),
            SQLITE_OK);
  std::vector<std::pair<std::string, int>> indexes;
  while (sqlite3_step(s) == SQLITE_ROW)
    indexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), sqlite3_column_int(s, 1));
  sqlite3_finalize(s);
  sqlite3_close(db);
  EXPECT_EQ(indexes, (std::vector<std::pair<std::string, int>>{{"Id_Key", 1}, {"Name_Key", 0}}));
}

TEST_F(StorageTableTest, OpenAndCreateReportMissingAndExistingFiles) {
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Open(path, true), st::kNoFile);
  EXPECT_FALSE(std::filesystem::exists(path));
  CreateAndOpen(t);
  EXPECT_EQ(t.Open(path, true), st::kAlreadyOpen);
  ASSERT_EQ(t.Close(), st::kOk);
  // A second create never replaces what is there.
  Row r = MakeRow(1, "one");
  ASSERT_EQ(t.Open(path, true), st::kOk);
  Append(t, r);
  t.Close();
  EXPECT_EQ(t.Create(path), st::kNoAccess);
  ASSERT_EQ(t.Open(path, false), st::kOk);
  EXPECT_EQ(t.Count(), 1);
  EXPECT_TRUE(t.IsReadOnly());
}

TEST_F(StorageTableTest, GarbageFileIsRefusedAndLeftUntouched) {
  std::string garbage(3000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 131 + 7) & 0xff);
  std::ofstream(path, std::ios::binary) << garbage;
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Open(path, true), st::kBadKeys);
  EXPECT_NE(t.ErrorText().find("not a database"), std::string::npos) << t.ErrorText();
  EXPECT_FALSE(t.IsOpen());
  EXPECT_EQ(t.Open(path, false), st::kBadKeys);
  EXPECT_NE(t.RebuildKeys(), st::kOk);
  EXPECT_EQ(t.Create(path), st::kNoAccess);
  EXPECT_EQ(Slurp(path), garbage);
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
}

// Damage inside an otherwise valid database file: every operation answers
// with a code, none crashes, and nothing is written back.
TEST_F(StorageTableTest, DamagedDatabaseAnswersWithCodesOnly) {
  {
    StorageTable t(TestLayout());
    CreateAndOpen(t);
    ASSERT_EQ(t.BeginTransaction(), st::kOk);
    for (int i = 0; i < 400; ++i) Append(t, MakeRow(i, "row " + std::to_string(i % 37), static_cast<int16_t>(i)));
    ASSERT_EQ(t.Commit(), st::kOk);
  }
  const std::string good = Slurp(path);
  ASSERT_GT(good.size(), 8192u);
  const size_t cuts[] = {100, 1024 + 8, 2048 + 3, good.size() / 2, good.size() - 700};
  for (size_t at : cuts) {
    for (bool truncate : {false, true}) {
      std::string bad = truncate ? good.substr(0, at) : good;
      if (!truncate)
        for (size_t i = at; i < at + 600 && i < bad.size(); ++i) bad[i] = static_cast<char>(0xA5 ^ (i * 7));
      std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
      StorageTable t(TestLayout());
      if (t.Open(path, false) != st::kOk) {
        EXPECT_NE(t.Error(), st::kOther) << "at " << at << ": " << t.ErrorText();
        EXPECT_EQ(Slurp(path), bad);
        continue;
      }
      Row r;
      int rc = st::kOk;
      for (int key : {0, 1, st::kPhysicalOrder}) {
        t.SetOrder(key);
        for (int n = 0; n < 500 && (rc = t.Next(&r)) == st::kOk; ++n) {
        }
        EXPECT_TRUE(rc == st::kNoRow || rc == st::kBadKeys) << "at " << at << ": " << rc << " " << t.ErrorText();
      }
      Row probe = MakeRow(200, "x");
      rc = t.Fetch(0, &probe);
      EXPECT_TRUE(rc == st::kOk || rc == st::kNoRow || rc == st::kBadKeys) << rc;
      t.Close();
      EXPECT_EQ(Slurp(path), bad);
    }
  }
}

TEST_F(StorageTableTest, DirectoryUnderTheTableNameIsNotATable) {
  std::filesystem::create_directory(path);
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Open(path, true), st::kOther);
  EXPECT_EQ(t.ErrorText(), "not a regular file");
  EXPECT_NE(t.Create(path), st::kOk);
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(StorageTableTest, FileHoldingAnotherLayoutIsRefused) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Things (ID INTEGER, NAME TEXT)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Open(path, true), st::kBadKeys);
  EXPECT_NE(t.RebuildKeys(), st::kOk);
}

TEST_F(StorageTableTest, MissingKeyAsksForARebuildWhichRestoresIt) {
  StorageTable t(TestLayout());
  ASSERT_EQ(t.Create(path), st::kOk);
  sqlite3* db = OtherConnection();
  ASSERT_EQ(sqlite3_exec(db, "DROP INDEX Name_Key", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(t.Open(path, true), st::kBadKeys);
  EXPECT_NE(t.ErrorText().find("THG:Name_Key"), std::string::npos);
  ASSERT_EQ(t.RebuildKeys(), st::kOk) << t.ErrorText();
  ASSERT_EQ(t.Open(path, true), st::kOk);
  Append(t, MakeRow(1, "x"));
  Row probe = MakeRow(0, "x");
  EXPECT_EQ(t.Fetch(1, &probe), st::kOk);
  EXPECT_EQ(t.RebuildKeys(), st::kOk);  // on an open table too
  EXPECT_EQ(t.Fetch(1, &probe), st::kOk);
}

TEST_F(StorageTableTest, EveryFieldTypeSurvivesTheRoundTrip) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Row r = MakeRow(-7, "name", -32768, -2.5e-3);
  r.FLAG = 255;
  r.BIG = 4000000000u;
  r.LIST[0] = "a";
  r.LIST[2] = "cccc";
  Append(t, r);
  Row back;
  back.ID = -7;
  ASSERT_EQ(t.Fetch(0, &back), st::kOk);
  EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
  EXPECT_EQ(back.NAME.raw(), "name    ");
  EXPECT_EQ(back.LIST[1].raw(), "    ");
}

TEST_F(StorageTableTest, NotANumberAndInfinitiesAreKept) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Row r = MakeRow(1, "nan", 0, std::numeric_limits<double>::quiet_NaN());
  Append(t, r);
  r = MakeRow(2, "inf", 0, -std::numeric_limits<double>::infinity());
  Append(t, r);
  Row back;
  back.ID = 1;
  ASSERT_EQ(t.Fetch(0, &back), st::kOk);
  EXPECT_TRUE(std::isnan(back.VALUE));
  back.ID = 2;
  ASSERT_EQ(t.Fetch(0, &back), st::kOk);
  EXPECT_EQ(+back.VALUE, -std::numeric_limits<double>::infinity());
}

TEST_F(StorageTableTest, CloseReportsAPendingTransactionItCouldNotSave) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  Append(t, MakeRow(1, "lost"));
  sqlite3* db = OtherConnection();
  ASSERT_EQ(sqlite3_exec(db, "BEGIN; SELECT count(*) FROM Things;", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(t.Close(), st::kHeld);
  EXPECT_NE(t.ErrorText().find("not saved"), std::string::npos);
  EXPECT_FALSE(t.IsOpen());
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_EQ(t.Open(path, false), st::kOk);
  EXPECT_EQ(t.Count(), 0);
}

TEST_F(StorageTableTest, TextKeysIgnoreTrailingSpacesAndAreStoredTrimmed) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "ab"));
  Row probe;
  std::memcpy(probe.NAME.data, "ab      ", 8);
  EXPECT_EQ(t.Fetch(1, &probe), st::kOk);
  EXPECT_EQ(+probe.ID, 1);
  probe.NAME = "ab x";
  EXPECT_EQ(t.Fetch(1, &probe), st::kNoRow);
  t.Close();
  sqlite3* db = OtherConnection();
  sqlite3_stmt* s = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT length(NAME) FROM Things", -1, &s, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(s, 0), 2);
  sqlite3_finalize(s);
  sqlite3_close(db);
}

TEST_F(StorageTableTest, FetchReturnsTheFirstStoredRowAmongEqualKeysAndLeavesTheBufferWhenNotFound) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(3, "dup", 1));
  Append(t, MakeRow(1, "dup", 1));
  Append(t, MakeRow(2, "dup", 1));
  Row probe = MakeRow(0, "dup", 1);
  ASSERT_EQ(t.Fetch(1, &probe), st::kOk);
  EXPECT_EQ(+probe.ID, 3);

  Row missing = MakeRow(99, "zz", 5, 1.5);
  Row before = missing;
  EXPECT_EQ(t.Fetch(0, &missing), st::kNoRow);
  EXPECT_EQ(std::memcmp(&missing, &before, sizeof missing), 0);
}

TEST_F(StorageTableTest, KeyOrderBreaksTiesInStoredOrderBothWays) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "b", 0));
  Append(t, MakeRow(2, "a", 5));
  Append(t, MakeRow(3, "b", 0));
  Append(t, MakeRow(4, "a", 1));
  auto readAll = [&](bool forward) {
    std::vector<int> ids;
    Row r;
    while ((forward ? t.Next(&r) : t.Previous(&r)) == st::kOk) ids.push_back(r.ID);
    EXPECT_EQ(t.Error(), st::kNoRow);
    return ids;
  };
  ASSERT_EQ(t.SetOrder(1), st::kOk);
  EXPECT_EQ(readAll(true), (std::vector<int>{4, 2, 1, 3}));
  Row r;
  EXPECT_EQ(t.Next(&r), st::kNoRow);  // stays at the end
  ASSERT_EQ(t.SetOrder(1), st::kOk);
  EXPECT_EQ(readAll(false), (std::vector<int>{3, 1, 2, 4}));
  ASSERT_EQ(t.SetOrder(st::kPhysicalOrder), st::kOk);
  EXPECT_EQ(readAll(true), (std::vector<int>{1, 2, 3, 4}));

  Row from = MakeRow(0, "b", 0);
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(readAll(true), (std::vector<int>{1, 3}));
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(readAll(false), (std::vector<int>{3, 1, 2, 4}));
  EXPECT_EQ(t.SetOrder(7), st::kOther);
}

TEST_F(StorageTableTest, DuplicateUniqueKeyIsRejectedAndNamed) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "first"));
  Row dup = MakeRow(1, "second");
  EXPECT_EQ(t.Append(&dup), st::kDuplicateKey);
  EXPECT_EQ(t.Count(), 1);
  EXPECT_EQ(t.ExistingUniqueKey(&dup), 0);
  Row fresh = MakeRow(2, "first");
  EXPECT_EQ(t.ExistingUniqueKey(&fresh), -1);  // equal values in a key with duplicates are fine
  Append(t, fresh);
}

TEST_F(StorageTableTest, PutAndDeleteWorkOnTheCurrentRowAndReadingGoesOn) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  for (int i = 1; i <= 4; ++i) Append(t, MakeRow(i, "r"));
  Row r;
  ASSERT_EQ(t.SetOrder(0), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(+r.ID, 2);
  r.NAME = "changed";
  ASSERT_EQ(t.Put(&r), st::kOk);
  ASSERT_EQ(t.Delete(), st::kOk);
  EXPECT_EQ(t.Delete(), st::kNoRow);  // no current row any more
  ASSERT_EQ(t.Next(&r), st::kOk);
  EXPECT_EQ(+r.ID, 3);
  r.ID = 1;  // a unique key taken by another row
  EXPECT_EQ(t.Put(&r), st::kDuplicateKey);
  EXPECT_EQ(t.Count(), 3);
  ASSERT_EQ(t.Empty(), st::kOk);
  EXPECT_EQ(t.Count(), 0);
  EXPECT_EQ(t.Put(&r), st::kNoRow);
}

TEST_F(StorageTableTest, PutRefusesARowAnotherConnectionChangedSinceItWasRead) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "mine"));
  Row r;
  r.ID = 1;
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  sqlite3* db = OtherConnection();
  ASSERT_EQ(sqlite3_exec(db, "UPDATE Things SET NAME = 'theirs'", nullptr, nullptr, nullptr), SQLITE_OK);
  r.NAME = "new";
  EXPECT_EQ(t.Put(&r), st::kChanged);
  ASSERT_EQ(t.Reget(&r), st::kOk);
  EXPECT_EQ(r.NAME, "theirs");
  r.NAME = "new";
  EXPECT_EQ(t.Put(&r), st::kOk);  // read again, so writable again
  ASSERT_EQ(sqlite3_exec(db, "DELETE FROM Things", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(t.Put(&r), st::kChanged);
}

TEST_F(StorageTableTest, WriteLockOfAnotherConnectionDeniesWritableOpenButNotReading) {
  {
    StorageTable t(TestLayout());
    CreateAndOpen(t);
    Append(t, MakeRow(1, "x"));
  }
  sqlite3* db = OtherConnection();
  ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO Things VALUES (9, 'y', 0, 0, 0, 0, x'')", nullptr, nullptr, nullptr),
            SQLITE_OK);
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Open(path, true), st::kNoAccess);
  EXPECT_NE(t.ErrorText().find("locked"), std::string::npos);
  ASSERT_EQ(t.Open(path, false), st::kOk);
  EXPECT_EQ(t.Count(), 1);
  Row r = MakeRow(5, "z");
  EXPECT_EQ(t.Append(&r), st::kNoAccess);
  t.Close();
  // Once the other side is done, writing works again.
  ASSERT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(t.Open(path, true), st::kOk);
  EXPECT_EQ(t.Count(), 2);
  t.Close();
  // An exclusive lock (the other side committing) holds up readers too.
  ASSERT_EQ(t.Open(path, false), st::kOk);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  StorageTable late(TestLayout());
  EXPECT_EQ(late.Open(path, false), st::kHeld);
  EXPECT_NE(late.ErrorText().find("busy"), std::string::npos) << late.ErrorText();
  EXPECT_EQ(t.SetOrder(0), st::kOk);
  EXPECT_EQ(t.Next(&r), st::kHeld);
  ASSERT_EQ(sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(t.Next(&r), st::kOk);
  sqlite3_close(db);
}

TEST_F(StorageTableTest, RecoverCommandTakesSecondsAndRejectsNonsense) {
  StorageTable t(TestLayout());
  EXPECT_EQ(t.Send("Recover=10"), st::kOk);
  EXPECT_EQ(t.Send("Recover=ten"), st::kOther);
  EXPECT_EQ(t.Send("Shrink"), st::kOther);
}

TEST_F(StorageTableTest, TransactionsCommitOnCloseAndRollBackOnRequest) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  EXPECT_TRUE(t.InTransaction());
  EXPECT_EQ(t.BeginTransaction(), st::kOther);
  Append(t, MakeRow(1, "gone"));
  ASSERT_EQ(t.Rollback(), st::kOk);
  EXPECT_EQ(t.Count(), 0);
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  for (int i = 0; i < 100; ++i) Append(t, MakeRow(i, "kept"));
  ASSERT_EQ(t.Close(), st::kOk);
  ASSERT_EQ(t.Open(path, false), st::kOk);
  EXPECT_EQ(t.Count(), 100);
  EXPECT_EQ(t.Commit(), st::kOther);
}

// Lookups repeated inside transactions are served from memory; they must
// still see every change made since, by this connection or by another.
TEST_F(StorageTableTest, RepeatedLookupsSeeEveryChange) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "one"));
  auto nameOf = [&](int id) {
    Row r = MakeRow(id, "?");
    int rc = t.Fetch(0, &r);
    return rc == st::kOk ? r.NAME.str() : rc == st::kNoRow ? std::string("(none)") : "error " + std::to_string(rc);
  };
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  EXPECT_EQ(nameOf(1), "one");
  EXPECT_EQ(nameOf(2), "(none)");
  Row r = MakeRow(1, "?");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  r.NAME = "uno";
  ASSERT_EQ(t.Put(&r), st::kOk);
  Append(t, MakeRow(2, "two"));
  EXPECT_EQ(nameOf(1), "uno");
  EXPECT_EQ(nameOf(2), "two");
  ASSERT_EQ(t.Rollback(), st::kOk);
  EXPECT_EQ(nameOf(1), "one");
  EXPECT_EQ(nameOf(2), "(none)");

  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  EXPECT_EQ(nameOf(1), "one");
  EXPECT_EQ(nameOf(3), "(none)");
  sqlite3* db = OtherConnection();
  // While this side reads inside its transaction, the other cannot commit.
  EXPECT_EQ(sqlite3_exec(db, "UPDATE Things SET NAME = 'eins' WHERE ID = 1", nullptr, nullptr, nullptr), SQLITE_BUSY);
  ASSERT_EQ(t.Commit(), st::kOk);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE Things SET NAME = 'eins' WHERE ID = 1; "
                             "INSERT INTO Things VALUES (3, 'drei', 0, 0, 0, 0, x'')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  EXPECT_EQ(nameOf(1), "eins");
  EXPECT_EQ(nameOf(3), "drei");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);  // r.ID is 1
  ASSERT_EQ(t.Delete(), st::kOk);
  EXPECT_EQ(nameOf(1), "(none)");
  ASSERT_EQ(t.Empty(), st::kOk);
  EXPECT_EQ(nameOf(3), "(none)");
  ASSERT_EQ(t.Commit(), st::kOk);
}

// Callers keep what they read while this number stays the same: it must
// move with every change, whoever makes it, and only then.
TEST_F(StorageTableTest, ContentVersionMovesWithEveryChangeAndOnlyThen) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "one"));
  EXPECT_EQ(t.ContentVersion(), 0u);  // outside a transaction nothing is promised
  auto versionOfATransaction = [&] {
    EXPECT_EQ(t.BeginTransaction(), st::kOk);
    uint64_t v = t.ContentVersion();
    EXPECT_EQ(t.Commit(), st::kOk);
    return v;
  };
  const uint64_t first = versionOfATransaction();
  EXPECT_NE(first, 0u);
  EXPECT_EQ(versionOfATransaction(), first);  // reading changes nothing

  // This connection's own writes.
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  Append(t, MakeRow(2, "two"));
  const uint64_t afterAppend = t.ContentVersion();
  EXPECT_NE(afterAppend, first);
  ASSERT_EQ(t.Rollback(), st::kOk);
  const uint64_t afterRollback = versionOfATransaction();
  EXPECT_NE(afterRollback, afterAppend);
  EXPECT_NE(afterRollback, first);

  // Another connection's commit.
  sqlite3* db = OtherConnection();
  ASSERT_EQ(sqlite3_exec(db, "UPDATE Things SET NAME = 'eins' WHERE ID = 1", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  const uint64_t afterOther = versionOfATransaction();
  EXPECT_NE(afterOther, afterRollback);
  EXPECT_EQ(versionOfATransaction(), afterOther);

  // A reopened file, and another table, never give a number seen before.
  ASSERT_EQ(t.Close(), st::kOk);
  ASSERT_EQ(t.Open(path, true), st::kOk);
  const uint64_t reopened = versionOfATransaction();
  EXPECT_NE(reopened, afterOther);
  StorageTable other(TestLayout());
  ASSERT_EQ(other.Open(path, true), st::kOk);
  ASSERT_EQ(other.BeginTransaction(), st::kOk);
  EXPECT_NE(other.ContentVersion(), reopened);
  ASSERT_EQ(other.Commit(), st::kOk);
}

TEST_F(StorageTableTest, MemoryTableKeepsItsRowsAcrossCloseAndWritesNoFile) {
  txtest::ScopedCwd cwd(dir.path());
  StorageTable t(MemoryLayout());
  ASSERT_EQ(t.Open("SCRATCH", true), st::kOk);
  EXPECT_EQ(t.Count(), 0);
  Row r = MakeRow(1, "kept");
  ASSERT_EQ(t.Append(&r), st::kOk);
  ASSERT_EQ(t.Close(), st::kOk);
  EXPECT_EQ(t.Count(), -1);
  EXPECT_EQ(t.Error(), st::kNotOpen);
  ASSERT_EQ(t.Open("SCRATCH", true), st::kOk);
  EXPECT_EQ(t.Count(), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(StorageTableTest, OperationsOnAClosedTableSayNotOpen) {
  StorageTable t(TestLayout());
  Row r;
  EXPECT_EQ(t.Fetch(0, &r), st::kNotOpen);
  EXPECT_EQ(t.Next(&r), st::kNotOpen);
  EXPECT_EQ(t.Append(&r), st::kNotOpen);
  EXPECT_EQ(t.Close(), st::kNotOpen);
}

}  // namespace

namespace {

// The stamp is read without any lock; it must change with every commit of
// any connection and with this connection's own changes, and a file in
// write-ahead-log mode, whose header does not count commits, gives none.
TEST_F(StorageTableTest, CommitStampMovesWithEveryCommitAndKnowsWhenItCannotTell) {
  StorageTable t(TestLayout());
  CreateAndOpen(t);
  Append(t, MakeRow(1, "one"));
  st::CommitStamp a, b;
  ASSERT_TRUE(t.ReadCommitStamp(a));
  ASSERT_TRUE(t.ReadCommitStamp(b));
  EXPECT_EQ(a, b);
  Row r = MakeRow(1, "?");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);  // reading changes nothing
  ASSERT_TRUE(t.ReadCommitStamp(b));
  EXPECT_EQ(a, b);

  Append(t, MakeRow(2, "two"));
  ASSERT_TRUE(t.ReadCommitStamp(b));
  EXPECT_NE(a, b);

  sqlite3* db = OtherConnection();
  ASSERT_TRUE(t.ReadCommitStamp(a));
  // Same size, same free list: only the change counter tells.
  ASSERT_EQ(sqlite3_exec(db, "UPDATE Things SET NAME = 'uno' WHERE ID = 1", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_TRUE(t.ReadCommitStamp(b));
  EXPECT_NE(a, b);
  EXPECT_EQ(a.version, b.version);

  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ASSERT_EQ(t.Close(), st::kOk);
  ASSERT_EQ(t.Open(path, true), st::kOk);
  EXPECT_FALSE(t.ReadCommitStamp(b));

  StorageTable memory(MemoryLayout());
  ASSERT_EQ(memory.Open("SCRATCH", true), st::kOk);
  EXPECT_FALSE(memory.ReadCommitStamp(b));
}

}  // namespace
