// Fixed-width text queues: sorts by text, look-ups on sorted keys.
#include <gtest/gtest.h>

#include <string>

#include "platform/xml/text_queue.h"

namespace {

using tx::TextQueue;

TextQueue Make(std::initializer_list<std::pair<const char*, const char*>> rows) {
  TextQueue q("T", {{"A", 4}, {"B", 6}});
  for (auto [a, b] : rows) {
    size_t r = q.AppendBlank();
    q.Set(r, 0, a);
    q.Set(r, 1, b);
  }
  return q;
}

TEST(TextQueue, SortsByTextNotByNumber) {
  TextQueue q = Make({{"9", "x"}, {"10", "y"}, {"100", "z"}, {"2", "w"}});
  q.Sort({0});
  EXPECT_EQ(q.Text(0, 0), "10");
  EXPECT_EQ(q.Text(1, 0), "100");
  EXPECT_EQ(q.Text(2, 0), "2");
  EXPECT_EQ(q.Text(3, 0), "9");
}

TEST(TextQueue, SortIsStableAndUsesEveryKeyField) {
  TextQueue q = Make({{"5", "b"}, {"5", "a"}, {"4", "z"}, {"5", "a"}});
  q.Set(1, 1, "a1");
  q.Set(3, 1, "a");
  q.Sort({0});
  EXPECT_EQ(q.Text(0, 0), "4");
  EXPECT_EQ(q.Text(1, 1), "b");  // equal keys keep their order
  EXPECT_EQ(q.Text(2, 1), "a1");
  EXPECT_EQ(q.Text(3, 1), "a");
  q.Sort({0, 1});
  EXPECT_EQ(q.Text(1, 1), "a");
  EXPECT_EQ(q.Text(2, 1), "a1");
  EXPECT_EQ(q.Text(3, 1), "b");
}

TEST(TextQueue, TrailingSpacesDoNotCountAndCaseDoes) {
  TextQueue q = Make({{"ab", "1"}, {"AB", "2"}, {"a", "3"}});
  q.Sort({0});
  // "AB" < "a" < "ab" by byte value.
  EXPECT_EQ(q.Text(0, 0), "AB");
  EXPECT_EQ(q.Text(1, 0), "a");
  EXPECT_EQ(q.Find({0}, {"ab  "}), 2);
  EXPECT_EQ(q.Find({0}, {"Ab"}), -1);
  EXPECT_EQ(q.Find({0}, {""}), -1);
}

TEST(TextQueue, EqualRangeFindsEveryMatchingRow) {
  TextQueue q = Make({{"7", "a"}, {"3", "b"}, {"7", "c"}, {"12", "d"}, {"7", "e"}});
  q.Sort({0});
  auto [first, last] = q.EqualRange({0}, {"7"});
  ASSERT_EQ(last - first, 3u);
  EXPECT_EQ(q.Text(first, 1), "a");
  EXPECT_EQ(q.Text(last - 1, 1), "e");
  auto [f2, l2] = q.EqualRange({0}, {"8"});
  EXPECT_EQ(f2, l2);
  q.Sort({0, 1});
  EXPECT_EQ(q.Find({0, 1}, {"7", "c"}), 3);  // order: 12, 3, 7a, 7c, 7e
}

TEST(TextQueue, SetCutsAndPads) {
  TextQueue q("T", {{"A", 4}});
  q.AppendBlank();
  q.Set(0, 0, "123456");
  EXPECT_EQ(q.Raw(0, 0), "1234");
  q.Set(0, 0, "1");
  EXPECT_EQ(q.Raw(0, 0), "1   ");
  EXPECT_EQ(q.FieldIndex("a"), 0);
  EXPECT_EQ(q.FieldIndex("B"), -1);
}

}  // namespace
