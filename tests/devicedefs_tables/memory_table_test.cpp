// The in-memory preset table through the access layer: reading to the end,
// ties, changes to the row last read, transactions as the preset filler
// frames them, and unique keys on a memory table.
#include <gtest/gtest.h>

#include <filesystem>
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

class MemoryTableTest : public txtest::TablesFixture {
 protected:
  void SetUp() override {
    TablesFixture::SetUp();
    ASSERT_EQ(tables->MXPreset.Open(), tx::Level::Done);
  }

  FileManager& Preset() { return tables->MXPreset; }
  PresetRecord& Row() { return tables->preset; }
  void Insert(int effect, int parameter, std::string_view x) {
    Row() = PresetRecord{};
    Row().EFFECTID = effect;
    Row().PARAMETERID = parameter;
    Row().XVALUE = x;
    ASSERT_EQ(Preset().Insert(), tx::Level::Done);
  }
  // "effect/parameter:x" of every row, read with Next in the given order.
  std::vector<std::string> Rows(int order) {
    std::vector<std::string> rows;
    EXPECT_EQ(Preset().SetOrder(order), tx::Level::Done);
    while (Preset().Next() == 0)
      rows.push_back(std::to_string(Row().EFFECTID) + "/" + std::to_string(Row().PARAMETERID) + ":" + Row().XVALUE.str());
    EXPECT_TRUE(Preset().ATEOF);
    return rows;
  }
};

TEST_F(MemoryTableTest, ReadingPastTheLastRowSetsAtEofWithoutAMessageEitherWay) {
  Insert(100, 1, "a");
  Insert(100, 0, "b");
  ASSERT_EQ(Preset().SetOrder(PresetEffect_Key), tx::Level::Done);
  EXPECT_FALSE(Preset().ATEOF);
  ASSERT_EQ(Preset().Next(), tx::Level::Done);
  EXPECT_EQ(Row().XVALUE, "b");
  ASSERT_EQ(Preset().Next(), tx::Level::Done);
  EXPECT_EQ(Preset().Next(), tx::Level::NotDone);
  EXPECT_TRUE(Preset().ATEOF);
  EXPECT_EQ(Preset().Next(), tx::Level::NotDone);
  EXPECT_EQ(Preset().LASTERROR, 33);
  ASSERT_EQ(Preset().SetOrder(-1), tx::Level::Done);
  EXPECT_FALSE(Preset().ATEOF);
  ASSERT_EQ(Preset().Previous(), tx::Level::Done);
  EXPECT_EQ(Row().XVALUE, "b");
  ASSERT_EQ(Preset().Previous(), tx::Level::Done);
  EXPECT_EQ(Preset().Previous(), tx::Level::NotDone);
  EXPECT_TRUE(Preset().ATEOF);
  Preset().Empty();
  EXPECT_FALSE(Preset().ATEOF);
  EXPECT_EQ(Preset().Next(), tx::Level::NotDone);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(MemoryTableTest, EqualKeysStayInInsertionOrderAndFetchTakesTheFirst) {
  Insert(106, 2, "first");
  Insert(100, 7, "second");
  Insert(106, 2, "third");
  Insert(106, 2, "fourth");
  Insert(100, 3, "fifth");
  EXPECT_EQ(Rows(PresetEffect_Key), (std::vector<std::string>{"100/3:fifth", "100/7:second", "106/2:first", "106/2:third",
                                                              "106/2:fourth"}));
  Row() = PresetRecord{};
  Row().EFFECTID = 106;
  Row().PARAMETERID = 2;
  ASSERT_EQ(Preset().Fetch(PresetEffect_Key), tx::Level::Done);
  EXPECT_EQ(Row().XVALUE, "first");
  Row().PARAMETERID = 9;
  Row().XVALUE = "kept";
  EXPECT_EQ(Preset().Fetch(PresetEffect_Key), tx::Level::NotDone);
  EXPECT_EQ(Row().XVALUE, "kept");
  EXPECT_EQ(Preset().LASTERROR, 33);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(MemoryTableTest, UpdateAndDeleteWorkOnTheRowLastRead) {
  Insert(100, 1, "one");
  Insert(100, 2, "two");
  Insert(100, 3, "three");
  // The filler's modifier mark: fetch by key, change, store.
  Row().EFFECTID = 100;
  Row().PARAMETERID = 2;
  ASSERT_EQ(Preset().Fetch(PresetEffect_Key), tx::Level::Done);
  Row().MODIFIERFLAG = "*";
  ASSERT_EQ(Preset().Update(), tx::Level::Done);
  // Changing the key moves the row in key order, not in stored order.
  ASSERT_EQ(Preset().SetOrder(-1), tx::Level::Done);
  ASSERT_EQ(Preset().Next(), tx::Level::Done);
  Row().PARAMETERID = 9;
  ASSERT_EQ(Preset().Update(), tx::Level::Done);
  ASSERT_EQ(Preset().Next(), tx::Level::Done);
  EXPECT_EQ(Row().MODIFIERFLAG, "*");
  ASSERT_EQ(Preset().Delete(), tx::Level::Done);
  EXPECT_EQ(Preset().Next(), tx::Level::Done);  // reading goes on after the deleted row
  EXPECT_EQ(Row().XVALUE, "three");
  EXPECT_EQ(Rows(-1), (std::vector<std::string>{"100/9:one", "100/3:three"}));
  EXPECT_EQ(Rows(PresetEffect_Key), (std::vector<std::string>{"100/3:three", "100/9:one"}));
  EXPECT_EQ(Preset().Records(), 2);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(MemoryTableTest, TransactionAroundARefillKeepsOrBringsBackTheRows) {
  Insert(100, 0, "old");
  ASSERT_EQ(Preset().BeginTransaction(), tx::Level::Done);
  ASSERT_EQ(Preset().Empty(), tx::Level::Done);
  Insert(200, 0, "new");
  Insert(200, 1, "new");
  ASSERT_EQ(Preset().Rollback(), tx::Level::Done);
  EXPECT_EQ(Rows(-1), (std::vector<std::string>{"100/0:old"}));

  ASSERT_EQ(Preset().BeginTransaction(), tx::Level::Done);
  EXPECT_EQ(Preset().BeginTransaction(), tx::Level::NotDone);  // one at a time
  ASSERT_EQ(Preset().Empty(), tx::Level::Done);
  Insert(200, 1, "new");
  Insert(200, 0, "new");
  ASSERT_EQ(Preset().Commit(), tx::Level::Done);
  EXPECT_EQ(Preset().Commit(), tx::Level::NotDone);
  EXPECT_EQ(Rows(PresetEffect_Key), (std::vector<std::string>{"200/0:new", "200/1:new"}));
  // A close with the transaction running keeps its rows; the table is memory
  // only and writes no file.
  ASSERT_EQ(Preset().BeginTransaction(), tx::Level::Done);
  Insert(300, 0, "last");
  ASSERT_EQ(Preset().Close(), tx::Level::Done);
  ASSERT_EQ(Preset().Open(), tx::Level::Done);
  EXPECT_EQ(Preset().Records(), 3);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

#pragma pack(push, 1)
struct Note {
  int32_t ID = 0;
  FixedString<10> TEXT;
};
#pragma pack(pop)

TEST_F(MemoryTableTest, UniqueKeyOnAMemoryTableRefusesTheDuplicateAndNamesIt) {
  static const RecordLayout layout = [] {
    RecordLayout l{"Notes", "NOTES", "NOT", sizeof(Note), {}, {}, true};
    l.fields = {{"ID", FieldType::Long, offsetof(Note, ID), 4}, {"TEXT", FieldType::String, offsetof(Note, TEXT), 10}};
    l.keys = {{"NOT:Text_Key", {1}, false}, {"NOT:Id_Key", {0}, true}};
    return l;
  }();
  Note note;
  FileManager notes;
  notes.Init(&note, sizeof note, layout, errors.get());
  notes.CREATE = true;
  ASSERT_EQ(notes.Open(), tx::Level::Done);
  note.ID = 1;
  note.TEXT = "one";
  ASSERT_EQ(notes.Insert(), tx::Level::Done);
  note.TEXT = "again";
  EXPECT_EQ(notes.Insert(), tx::Level::NotDone);
  EXPECT_EQ(notes.LASTERROR, 40);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].request.caption, "Duplicate Key Error");
  EXPECT_EQ(Shown()[0].request.text, "Adding this record creates a duplicate entry for the key: NOT:Id_Key");
  EXPECT_EQ(errors->FileName(), "Notes");
  EXPECT_EQ(notes.Records(), 1);

  note.ID = 2;
  ASSERT_EQ(notes.Insert(), tx::Level::Done);
  note.ID = 1;
  ASSERT_EQ(notes.Fetch(1), tx::Level::Done);
  EXPECT_EQ(note.TEXT, "one");
  note.ID = 2;  // taken by the other row
  EXPECT_EQ(notes.Update(), tx::Level::NotDone);
  EXPECT_EQ(Shown().size(), 2u);
  note.ID = 1;
  ASSERT_EQ(notes.Fetch(1), tx::Level::Done);
  EXPECT_EQ(note.TEXT, "one");
  notes.Close();
}

}  // namespace
