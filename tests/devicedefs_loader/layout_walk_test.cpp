// Placing editor controls on their pages' grids.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicedefs/loader_queues.h"
#include "devicedefs/screen_layout.h"

namespace {

struct Control {
  const char* page;
  const char* section;
  const char* parameter;
  const char* pageSubType = "";
  const char* controlSubType = "";
  const char* rowFlag = "";
};

struct Placed {
  std::string parameter;
  int row, column;
};

std::vector<Placed> Walk(const std::vector<Control>& controls) {
  tx::TextQueue q = tx::MakeXMCQ();
  for (const Control& c : controls) {
    size_t r = q.AppendBlank();
    q.Set(r, q.F("PAGENAME"), c.page);
    q.Set(r, q.F("PAGESECTION"), c.section);
    q.Set(r, q.F("PARAMETERNAME"), c.parameter);
    q.Set(r, q.F("PAGESUBTYPE"), c.pageSubType);
    q.Set(r, q.F("EDITORCONTROLSUBTYPE"), c.controlSubType);
    q.Set(r, q.F("ROWFLAG"), c.rowFlag);
  }
  std::vector<Placed> out;
  tx::WalkScreenLayout(q, 3, [&](const tx::ScreenMasterRecord& s) {
    out.push_back({std::string(s.PARAMETERNAME.view()), s.ROW, s.COLUMN});
  });
  return out;
}

void ExpectPlaced(const std::vector<Placed>& got, const std::vector<Placed>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].parameter, want[i].parameter) << i;
    EXPECT_EQ(got[i].row, want[i].row) << want[i].parameter;
    EXPECT_EQ(got[i].column, want[i].column) << want[i].parameter;
  }
}

TEST(LayoutWalk, SpacersTakeAColumnAndWriteNothing) {
  ExpectPlaced(Walk({{"P", "S", "A"},
                     {"P", "S", "SPACER", "", "", "Row"},  // a spacer's row flag is not looked at
                     {"P", "S", "B", "", "", "Row"},
                     {"P", "S", "SPACER"},
                     {"P", "S", "C"}}),
               {{"A", 1, 1}, {"B", 1, 3}, {"C", 2, 2}});
}

TEST(LayoutWalk, RowFlagStartsTheNextRowEvenForALeftOutControl) {
  ExpectPlaced(Walk({{"P", "S", "A", "1", "", "Row"},
                     {"P", "S", "B", "1", "2", "Row"},  // not on sub-type 1, but still ends the row
                     {"P", "S", "C", "1"}}),
               {{"A", 1, 1}, {"C", 3, 1}});
}

TEST(LayoutWalk, SubTypeIsAPlainTextSearch) {
  ExpectPlaced(Walk({{"P", "S", "A", "1", "10"},   // "1" occurs in "10"
                     {"P", "S", "B", "2", "10"},   // "2" does not: no column taken
                     {"P", "S", "C", "2", "1,2"},
                     {"P", "S", "D", "", "3"},     // a blank page sub-type matches any
                     {"P", "S", "E", "3", ""}}),   // a control without one is on every page
               {{"A", 1, 1}, {"C", 1, 2}, {"D", 1, 3}, {"E", 1, 4}});
}

TEST(LayoutWalk, NewPageOrSectionRestartsTheGrid) {
  ExpectPlaced(Walk({{"P1", "S1", "A"},
                     {"P1", "S1", "B", "", "", "Row"},
                     {"P1", "S1", "C"},
                     {"P1", "S2", "D"},
                     {"P2", "S2", "E"},
                     {"P2", "S2", "F"},
                     {"P1", "S2", "G"}}),
               {{"A", 1, 1}, {"B", 1, 2}, {"C", 2, 1}, {"D", 1, 1}, {"E", 1, 1}, {"F", 1, 2}, {"G", 1, 1}});
}

TEST(LayoutWalk, FlagsAndNamesCompareExactlyApartFromTrailingSpaces) {
  ExpectPlaced(Walk({{"P", "S", "spacer"},           // not the spacer mark
                     {"P", "S", "X", "", "", "row"},  // not the row flag
                     {"P", "S", "Y", "", "", "Row "}}),
               {{"spacer", 1, 1}, {"X", 1, 2}, {"Y", 1, 3}});
}

TEST(LayoutWalk, AFirstControlWithBlankPageAndSectionStartsAtOneOne) {
  ExpectPlaced(Walk({{"", "", "A"}, {"", "", "B"}}), {{"A", 1, 1}, {"B", 1, 2}});
}

}  // namespace
