#include <gtest/gtest.h>

#include <set>

#include "services/messages.h"

namespace {

const tx::MessageEntry* Find(const std::vector<tx::MessageEntry>& all, uint16_t id) {
  for (const auto& e : all)
    if (e.id == id) return &e;
  return nullptr;
}

TEST(BuiltinMessages, HoldIdsOneToFiftyThreeExceptThirtyTwo) {
  bool complete = false;
  const std::vector<uint8_t>& block = tx::BuiltinMessageBlock();
  std::vector<tx::MessageEntry> all = tx::UnpackMessages(block.data(), block.size(), &complete);
  EXPECT_TRUE(complete);
  ASSERT_EQ(all.size(), 52u);
  std::set<uint16_t> ids;
  for (const auto& e : all) {
    ids.insert(e.id);
    EXPECT_FALSE(e.TITLE.empty()) << e.id;
    EXPECT_FALSE(e.MESSAGE.empty()) << e.id;
    EXPECT_TRUE(e.CATEGORY.empty());
  }
  EXPECT_EQ(ids.size(), 52u);
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), 53);
  EXPECT_EQ(ids.count(32), 0u);
  // Stored count, little-endian.
  EXPECT_EQ(block[0], 52);
  EXPECT_EQ(block[1], 0);
}

TEST(BuiltinMessages, TextsTitlesAndLevelsAreExact) {
  const std::vector<uint8_t>& block = tx::BuiltinMessageBlock();
  std::vector<tx::MessageEntry> all = tx::UnpackMessages(block.data(), block.size());
  struct Expect {
    uint16_t id;
    int level;
    const char* title;
    const char* text;
  } checks[] = {
      {1, 5, "Record Retrieval Error",
       "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window."},
      {4, 5, "Record Insert Error", "An error was experienced during the creation of a record.|File: %File|Error: %ErrorText."},
      {6, 5, "File Access Error", "File %File could not be closed.  Error: %ErrorText."},
      {11, 1, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
      {12, 3, "File Creation Error", "Error: (%ErrorText) creating %File."},
      {21, 5, "File Load Error", "%File File Load Error.  Error: %ErrorText."},
      {22, 3, "WMF Parser Error", "Get next record from file %File failed."},
      {26, 3, "File Access Error", "File %File could not be opened.  Error: %ErrorText."},
      {29, 3, "Key was not built", "Error: (%ErrorText) repairing key for %File."},
      {35, 1, "Auto Increment Error",
       "Attempts to automatically number this record have failed.|File: %File|Key: %Key|Error: %ErrorText.|Try Again?"},
      {42, 2, "File Usage Error", "Attempt to use file (%File) before it was opened"},
      {45, 5, "SMTP Error", "The following SMTP Error occurred: %Message "},
      {46, 5, "NNTP Error", "%Message "},
      {47, 5, "Winsock Error", "%Message "},
      {49, 3, "WMF Parser Error", "The File %File is not a valid WMF file."},
      {52, 5, "Report Writer Error", "Poorly Formed Comment String \"%Message\" at Position %Field."},
      {53, 5, "Report Writer Error", "Unknown Property %Message."},
  };
  for (const Expect& c : checks) {
    const tx::MessageEntry* e = Find(all, c.id);
    ASSERT_NE(e, nullptr) << c.id;
    EXPECT_EQ(e->FATALITY, c.level) << c.id;
    EXPECT_EQ(e->TITLE, c.title) << c.id;
    EXPECT_EQ(e->MESSAGE, c.text) << c.id;
  }
  int questions = 0;
  for (const auto& e : all) questions += e.FATALITY == 1;
  EXPECT_EQ(questions, 9);  // 3, 10, 11, 35..40
}

TEST(PackedMessages, RoundTripAndCutLongStrings) {
  std::vector<tx::MessageEntry> in = {{0x1234, 4, "T", "", {}}, {7, 0, std::string(300, 'x'), "m", {}}};
  std::vector<uint8_t> block = tx::PackMessages(in);
  EXPECT_EQ(block[2], 0x34);
  EXPECT_EQ(block[3], 0x12);
  std::vector<tx::MessageEntry> out = tx::UnpackMessages(block.data(), block.size());
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].id, 0x1234);
  EXPECT_EQ(out[0].FATALITY, 4);
  EXPECT_EQ(out[0].MESSAGE, "");
  EXPECT_EQ(out[1].TITLE.size(), 255u);
  EXPECT_EQ(out[1].MESSAGE, "m");
}

TEST(PackedMessages, EveryTruncationIsSafe) {
  std::vector<uint8_t> block = tx::PackMessages({{1, 5, "abc", "defgh", {}}, {2, 5, "ij", "kl", {}}});
  for (size_t n = 0; n < block.size(); ++n) {
    bool complete = true;
    std::vector<tx::MessageEntry> out = tx::UnpackMessages(block.data(), n, &complete);
    EXPECT_FALSE(complete) << n;
    EXPECT_LE(out.size(), 1u) << n;
  }
  bool complete = false;
  EXPECT_EQ(tx::UnpackMessages(block.data(), block.size(), &complete).size(), 2u);
  EXPECT_TRUE(complete);
}

}  // namespace
