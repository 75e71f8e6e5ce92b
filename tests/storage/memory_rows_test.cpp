// Memory-only tables: the rows kept natively must behave as the same rows in
// a database file. Checked case by case, and by running long random sequences
// of operations on a memory table and on a file table of the same layout side
// by side, comparing every answer and every record read.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
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
  FixedString<6> NAME;
  int16_t SMALL = 0;
  double VALUE = 0;
  FixedString<3> LIST[2];
};
#pragma pack(pop)

// A unique key, a key with duplicates over text and number, and a key on a
// field no other key has.
RecordLayout Layout(bool inMemory) {
  RecordLayout r{"Rows", "rows.dat", "ROW", sizeof(Row), {}, {}, inMemory};
  r.fields = {{"ID", FieldType::Long, offsetof(Row, ID), 4},
              {"NAME", FieldType::String, offsetof(Row, NAME), 6},
              {"SMALL", FieldType::Short, offsetof(Row, SMALL), 2},
              {"VALUE", FieldType::Real, offsetof(Row, VALUE), 8},
              {"LIST", FieldType::String, offsetof(Row, LIST), 3, 2}};
  r.keys = {{"ROW:Id_Key", {0}, true}, {"ROW:Name_Key", {1, 2}, false}, {"ROW:Value_Key", {3}, false}};
  return r;
}

const RecordLayout& MemoryLayout() {
  static const RecordLayout l = Layout(true);
  return l;
}
const RecordLayout& FileLayout() {
  static const RecordLayout l = Layout(false);
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

class MemoryRowsTest : public ::testing::Test {
 protected:
  StorageTable t{MemoryLayout()};

  void SetUp() override { ASSERT_EQ(t.Open("ROWS", true), st::kOk); }
  void Append(const Row& r) { ASSERT_EQ(t.Append(&r), st::kOk) << t.ErrorText(); }
  void Append(std::initializer_list<Row> rows) {
    for (const Row& r : rows) Append(r);
  }
  // Ids read with Next (or Previous) until the end.
  std::vector<int> Read(bool forward = true) {
    std::vector<int> ids;
    Row r;
    int rc;
    while ((rc = forward ? t.Next(&r) : t.Previous(&r)) == st::kOk) ids.push_back(r.ID);
    EXPECT_EQ(rc, st::kNoRow);
    return ids;
  }
  std::vector<int> InOrder(int key, bool forward = true) {
    EXPECT_EQ(t.SetOrder(key), st::kOk);
    return Read(forward);
  }
};

TEST_F(MemoryRowsTest, FetchTakesTheFirstStoredAmongEqualKeysAndLeavesTheBufferWhenNotFound) {
  Append({MakeRow(3, "dup", 1), MakeRow(1, "dup", 1), MakeRow(2, "dup", 1), MakeRow(4, "dup", 0)});
  Row probe = MakeRow(0, "dup   ", 1);  // trailing spaces do not count
  ASSERT_EQ(t.Fetch(1, &probe), st::kOk);
  EXPECT_EQ(probe.ID, 3);
  probe = MakeRow(2, "");
  ASSERT_EQ(t.Fetch(0, &probe), st::kOk);
  EXPECT_EQ(probe.NAME, "dup");

  Row missing = MakeRow(99, "zz", 5, 1.5);
  const Row before = missing;
  EXPECT_EQ(t.Fetch(0, &missing), st::kNoRow);
  EXPECT_EQ(t.Fetch(1, &missing), st::kNoRow);
  EXPECT_EQ(std::memcmp(&missing, &before, sizeof missing), 0);
  EXPECT_EQ(t.Fetch(3, &missing), st::kOther);  // no such key
}

TEST_F(MemoryRowsTest, KeyOrderBreaksTiesInStoredOrderBothWays) {
  Append({MakeRow(1, "b"), MakeRow(2, "a", 5), MakeRow(3, "b"), MakeRow(4, "a", 1), MakeRow(5, "ab", -1)});
  EXPECT_EQ(InOrder(1), (std::vector<int>{4, 2, 5, 1, 3}));
  Row r;
  EXPECT_EQ(t.Next(&r), st::kNoRow);  // stays at the end
  EXPECT_EQ(InOrder(1, false), (std::vector<int>{3, 1, 5, 2, 4}));
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(InOrder(st::kPhysicalOrder, false), (std::vector<int>{5, 4, 3, 2, 1}));

  Row from = MakeRow(0, "b");
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(Read(), (std::vector<int>{1, 3}));
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(Read(false), (std::vector<int>{3, 1, 5, 2, 4}));
  from = MakeRow(0, "a", 3);  // between two rows
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(Read(), (std::vector<int>{2, 5, 1, 3}));
  ASSERT_EQ(t.SetFrom(1, &from), st::kOk);
  EXPECT_EQ(Read(false), (std::vector<int>{4}));
  EXPECT_EQ(t.SetOrder(3), st::kOther);
}

TEST_F(MemoryRowsTest, UniqueKeyRefusesAppendAndPutAndLeavesTheRowsAlone) {
  Append({MakeRow(1, "first"), MakeRow(2, "second")});
  Row dup = MakeRow(1, "other");
  EXPECT_EQ(t.Append(&dup), st::kDuplicateKey);
  EXPECT_EQ(t.Count(), 2);
  EXPECT_EQ(t.ExistingUniqueKey(&dup), 0);
  Row fresh = MakeRow(3, "first");
  EXPECT_EQ(t.ExistingUniqueKey(&fresh), -1);  // equal values in a key with duplicates are fine
  Append(fresh);

  Row r = MakeRow(2, "");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  r.ID = 1;
  r.NAME = "moved";
  EXPECT_EQ(t.Put(&r), st::kDuplicateKey);
  r.ID = 2;  // its own value is no clash
  EXPECT_EQ(t.Put(&r), st::kOk);
  EXPECT_EQ(InOrder(0), (std::vector<int>{1, 2, 3}));
  r = MakeRow(1, "");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  EXPECT_EQ(r.NAME, "first");
}

TEST_F(MemoryRowsTest, PutMovesTheRowInKeyOrderAndDeleteLetsReadingGoOn) {
  for (int i = 1; i <= 5; ++i) Append(MakeRow(i, "r", static_cast<int16_t>(i)));
  Row r;
  ASSERT_EQ(t.SetOrder(1), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(r.ID, 2);
  r.SMALL = 9;  // now last in key 1; reading goes on from where it was read
  ASSERT_EQ(t.Put(&r), st::kOk);
  EXPECT_EQ(Read(), (std::vector<int>{3, 4, 5, 2}));
  ASSERT_EQ(t.Reget(&r), st::kOk);
  EXPECT_EQ(r.ID, 2);
  EXPECT_EQ(r.SMALL, 9);

  ASSERT_EQ(t.SetOrder(0), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(t.Next(&r), st::kOk);
  ASSERT_EQ(t.Delete(), st::kOk);
  EXPECT_EQ(t.Delete(), st::kNoRow);  // no current row any more
  EXPECT_EQ(t.Put(&r), st::kNoRow);
  EXPECT_EQ(t.Reget(&r), st::kNoRow);
  EXPECT_EQ(Read(), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(t.Count(), 4);
  EXPECT_EQ(InOrder(1), (std::vector<int>{1, 3, 4, 5}));
}

TEST_F(MemoryRowsTest, RowDeletedLastGivesItsPlaceToTheNextAppend) {
  Append({MakeRow(1, "a"), MakeRow(2, "b"), MakeRow(3, "c")});
  Row r;
  ASSERT_EQ(t.SetOrder(st::kPhysicalOrder), st::kOk);
  EXPECT_EQ(Read(false).size(), 3u);
  ASSERT_EQ(t.SetOrder(st::kPhysicalOrder), st::kOk);
  ASSERT_EQ(t.Previous(&r), st::kOk);
  ASSERT_EQ(r.ID, 3);
  ASSERT_EQ(t.Delete(), st::kOk);
  // The new row takes the deleted one's place in stored order, so reading on
  // from there does not meet it: as with a file's row numbers.
  Append(MakeRow(4, "d"));
  EXPECT_EQ(Read(), (std::vector<int>{}));
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{1, 2, 4}));
}

TEST_F(MemoryRowsTest, RollbackBringsBackTheRowsAsTheyWereAndCommitKeepsThem) {
  Append({MakeRow(1, "one"), MakeRow(2, "two")});
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  EXPECT_TRUE(t.InTransaction());
  EXPECT_EQ(t.BeginTransaction(), st::kOther);
  ASSERT_EQ(t.Empty(), st::kOk);
  Append({MakeRow(7, "seven"), MakeRow(8, "eight")});
  Row r = MakeRow(7, "");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  r.NAME = "SEVEN";
  ASSERT_EQ(t.Put(&r), st::kOk);
  ASSERT_EQ(t.Rollback(), st::kOk);
  EXPECT_FALSE(t.InTransaction());
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{1, 2}));
  EXPECT_EQ(InOrder(1), (std::vector<int>{1, 2}));
  r = MakeRow(7, "");
  EXPECT_EQ(t.Fetch(0, &r), st::kNoRow);

  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  r = MakeRow(1, "");
  ASSERT_EQ(t.Fetch(0, &r), st::kOk);
  ASSERT_EQ(t.Delete(), st::kOk);
  Append(MakeRow(3, "three"));
  ASSERT_EQ(t.Rollback(), st::kOk);
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{1, 2}));

  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  ASSERT_EQ(t.Empty(), st::kOk);
  Append(MakeRow(5, "five"));
  ASSERT_EQ(t.Commit(), st::kOk);
  EXPECT_EQ(t.Commit(), st::kOther);
  EXPECT_EQ(t.Rollback(), st::kOther);
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{5}));

  // A close keeps what a running transaction did, and the rows outlive it.
  ASSERT_EQ(t.BeginTransaction(), st::kOk);
  Append(MakeRow(6, "six"));
  ASSERT_EQ(t.Close(), st::kOk);
  EXPECT_FALSE(t.InTransaction());
  EXPECT_EQ(t.Count(), -1);
  EXPECT_EQ(t.Error(), st::kNotOpen);
  ASSERT_EQ(t.Open("ROWS", true), st::kOk);
  EXPECT_FALSE(t.InTransaction());
  EXPECT_EQ(InOrder(st::kPhysicalOrder), (std::vector<int>{5, 6}));
}

TEST_F(MemoryRowsTest, ClosedTableSaysNotOpen) {
  ASSERT_EQ(t.Close(), st::kOk);
  Row r;
  EXPECT_EQ(t.Fetch(0, &r), st::kNotOpen);
  EXPECT_EQ(t.Next(&r), st::kNotOpen);
  EXPECT_EQ(t.Append(&r), st::kNotOpen);
  EXPECT_EQ(t.Put(&r), st::kNotOpen);
  EXPECT_EQ(t.Delete(), st::kNotOpen);
  EXPECT_EQ(t.Empty(), st::kNotOpen);
  EXPECT_EQ(t.BeginTransaction(), st::kNotOpen);
  EXPECT_EQ(t.RebuildKeys(), st::kNotOpen);
  EXPECT_EQ(t.ExistingUniqueKey(&r), -1);
  EXPECT_EQ(t.Close(), st::kNotOpen);
  ASSERT_EQ(t.Open("ROWS", true), st::kOk);
  EXPECT_EQ(t.Open("ROWS", true), st::kAlreadyOpen);
  EXPECT_EQ(t.RebuildKeys(), st::kOk);
}

// Random operations on both tables; every answer and every record read must
// agree. Names are short and few, so keys collide often; values repeat, so
// key 2 has long runs of ties.
class SideBySide {
 public:
  SideBySide(const std::string& file, unsigned seed) : random_(seed) {
    EXPECT_EQ(memory_.Open("ROWS", true), st::kOk);
    EXPECT_EQ(disk_.Create(file), st::kOk);
    EXPECT_EQ(disk_.Open(file, true), st::kOk);
    EXPECT_EQ(disk_.BeginTransaction(), st::kOk);  // a file commit per change would be slow
    EXPECT_EQ(memory_.BeginTransaction(), st::kOk);
  }

  void Step(int step) {
    const int op = Pick(100);
    int a = 0, b = 0;
    Row ra = buffer_, rb = buffer_;
    const char* what = "";
    if (op < 22) {
      what = "Append";
      Row r = RandomRow();
      ra = rb = r;
      a = memory_.Append(&ra);
      b = disk_.Append(&rb);
    } else if (op < 34) {
      what = "Fetch";
      int key = Pick(3);
      Row probe = RandomRow();
      ra = rb = probe;
      a = memory_.Fetch(key, &ra);
      b = disk_.Fetch(key, &rb);
    } else if (op < 40) {
      what = "SetOrder";
      int key = Pick(4) - 1;
      a = memory_.SetOrder(key);
      b = disk_.SetOrder(key);
    } else if (op < 44) {
      what = "SetFrom";
      int key = Pick(4) - 1;
      Row probe = RandomRow();
      a = memory_.SetFrom(key, &probe);
      b = disk_.SetFrom(key, &probe);
    } else if (op < 62) {
      what = "Next";
      a = memory_.Next(&ra);
      b = disk_.Next(&rb);
    } else if (op < 72) {
      what = "Previous";
      a = memory_.Previous(&ra);
      b = disk_.Previous(&rb);
    } else if (op < 80) {
      what = "Put";
      Row r = buffer_;
      if (Pick(2)) r.NAME = Name();
      if (Pick(2)) r.ID = Pick(40);
      if (Pick(3) == 0) r.VALUE = Pick(4) * 0.5;
      r.LIST[0] = Name();
      ra = rb = r;
      a = memory_.Put(&ra);
      b = disk_.Put(&rb);
    } else if (op < 85) {
      what = "Delete";
      a = memory_.Delete();
      b = disk_.Delete();
    } else if (op < 89) {
      what = "Reget";
      a = memory_.Reget(&ra);
      b = disk_.Reget(&rb);
    } else if (op < 92) {
      what = "ExistingUniqueKey";
      Row probe = RandomRow();
      a = memory_.ExistingUniqueKey(&probe);
      b = disk_.ExistingUniqueKey(&probe);
    } else if (op < 93) {
      what = "Empty";
      a = memory_.Empty();
      b = disk_.Empty();
    } else if (op < 96) {
      what = "Rollback";
      a = memory_.Rollback();
      b = disk_.Rollback();
      EXPECT_EQ(memory_.BeginTransaction(), disk_.BeginTransaction());
    } else {
      what = "Commit";
      a = memory_.Commit();
      b = disk_.Commit();
      EXPECT_EQ(memory_.BeginTransaction(), disk_.BeginTransaction());
    }
    ASSERT_EQ(a, b) << "step " << step << ": " << what << " (" << memory_.ErrorText() << " / " << disk_.ErrorText() << ")";
    ASSERT_EQ(std::memcmp(&ra, &rb, sizeof ra), 0) << "step " << step << ": " << what << " read different records";
    if (a == st::kOk) buffer_ = ra;
    ASSERT_EQ(memory_.Count(), disk_.Count()) << "step " << step;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  std::string Name() {
    static const char* names[] = {"", "a", "a ", "ab", "b", "\xe9t\xe9", "zz", "a\x01"};
    return names[Pick(8)];
  }
  Row RandomRow() {
    Row r = MakeRow(Pick(40), Name(), static_cast<int16_t>(Pick(5) - 2), Pick(4) * 0.5);
    r.LIST[Pick(2)] = Name();
    return r;
  }

  std::mt19937 random_;
  StorageTable memory_{MemoryLayout()};
  StorageTable disk_{FileLayout()};
  Row buffer_;
};

TEST(MemoryRowsSideBySide, RandomOperationsAnswerAsAFileTableDoes) {
  txtest::TempDir dir;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SideBySide both(dir.file("rows" + std::to_string(seed) + ".dat"), seed);
    for (int step = 0; step < 4000; ++step) {
      both.Step(step);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

}  // namespace
