// Raw parameter values turned into texts: numeric scaling and pictures, list texts.
#include <gtest/gtest.h>

#include <memory>

#include "preset/format_value.h"

namespace {

using tx::EffectRecord;
using tx::FormatParameterValue;
using tx::SelectionRecord;

EffectRecord Numeric(const char* type, double min, double max, int values, int precision) {
  EffectRecord d;
  d.PARAMTYPE = type;
  d.MINIMUMVALUE = min;
  d.MAXIMUMVALUE = max;
  d.NUMBEROFVALUES = values;
  d.PRECISION = precision;
  return d;
}

TEST(NumericValue, LinearSweepWithOneDecimal) {
  EXPECT_EQ(FormatParameterValue(32767, Numeric("LIN", 0, 10, 65534, 1), nullptr), "     5.0");
  EXPECT_EQ(FormatParameterValue(0, Numeric("LIN", 0, 10, 65534, 1), nullptr), "     0.0");
  EXPECT_EQ(FormatParameterValue(65534, Numeric("LIN", 0, 10, 65534, 1), nullptr), "    10.0");
}

TEST(NumericValue, LogarithmicSweep) {
  EXPECT_EQ(FormatParameterValue(50, Numeric("LOG", 20, 20000, 100, 0), nullptr), "     632");
  EXPECT_EQ(FormatParameterValue(50, Numeric("LOG", 20, 20000, 100, 1), nullptr), "   632.5");
  EXPECT_EQ(FormatParameterValue(0, Numeric("LOG", 20, 20000, 100, 0), nullptr), "      20");
  EXPECT_EQ(FormatParameterValue(100, Numeric("LOG", 20, 20000, 100, 0), nullptr), "  20,000");
}

TEST(NumericValue, FullRangeGetsGroupingComma) {
  EXPECT_EQ(FormatParameterValue(500, Numeric("LIN", 0, 20000, 500, 0), nullptr), "  20,000");
}

TEST(NumericValue, IntegerKindIsNotRoundedBeforeThePicture) {
  EXPECT_EQ(FormatParameterValue(1, Numeric("INT", 1, 2, 4, 2), nullptr), "    1.25");
  EXPECT_EQ(FormatParameterValue(1, Numeric("INT", 1, 2, 4, 0), nullptr), "       1");
}

TEST(NumericValue, NegativeRange) {
  EXPECT_EQ(FormatParameterValue(6, Numeric("LIN", -12, 12, 24, 0), nullptr), "      -6");
  EXPECT_EQ(FormatParameterValue(12, Numeric("LIN", -12, 12, 24, 0), nullptr), "       0");
}

TEST(NumericValue, UnknownKindShowsZeroOrBlank) {
  EXPECT_EQ(FormatParameterValue(1234, Numeric("", 5, 10, 100, 0), nullptr), "       0");
  EXPECT_EQ(FormatParameterValue(1234, Numeric("XYZ", 5, 10, 100, 2), nullptr), "    0.00");
  EXPECT_EQ(FormatParameterValue(1234, Numeric("", 5, 10, 100, 7), nullptr), "");
  EXPECT_EQ(FormatParameterValue(1234, Numeric("LI", 5, 10, 100, -1), nullptr), "");
}

TEST(NumericValue, PrecisionChoosesThePicture) {
  EXPECT_EQ(FormatParameterValue(3, Numeric("LIN", 0, 10, 10, 0), nullptr), "       3");
  EXPECT_EQ(FormatParameterValue(3, Numeric("LIN", 0, 10, 10, 2), nullptr), "    3.00");
  EXPECT_EQ(FormatParameterValue(3, Numeric("LIN", 0, 10, 10, 3), nullptr), "   3.000");
}

TEST(NumericValue, PrecisionOutsidePicturesGivesPlainText) {
  EXPECT_EQ(FormatParameterValue(1, Numeric("LIN", 0, 1, 3, 4), nullptr), "0.333333333333333");
  EXPECT_EQ(FormatParameterValue(3, Numeric("LIN", 0, 10, 10, 5), nullptr), "3");
  EXPECT_EQ(FormatParameterValue(1, Numeric("LIN", -1e300, 0, 1, 9), nullptr), "0");
  EXPECT_EQ(FormatParameterValue(0, Numeric("LIN", -1.2345678901234e-200, 0, 1, 9), nullptr), "-1.2345678901234e-20");
}

TEST(NumericValue, DegenerateRangesStayDefined) {
  // No steps: the low end of the range.
  EXPECT_EQ(FormatParameterValue(7, Numeric("LIN", 2, 9, 0, 0), nullptr), "       2");
  // A logarithmic range starting at 0 or crossing 0 sweeps linearly.
  EXPECT_EQ(FormatParameterValue(50, Numeric("LOG", 0, 100, 100, 0), nullptr), "      50");
  EXPECT_EQ(FormatParameterValue(50, Numeric("LOG", -10, 10, 100, 0), nullptr), "       0");
  EXPECT_EQ(FormatParameterValue(0, Numeric("LOG", 0, 0, 0, 1), nullptr), "     0.0");
  // Overflowing values fill the picture with hashes rather than a wrong number.
  EXPECT_EQ(FormatParameterValue(65535, Numeric("LIN", 0, 1e12, 1, 0), nullptr), "########");
  EXPECT_EQ(FormatParameterValue(1, Numeric("LIN", 0, 1e308, 0x7fffffff, 2), nullptr).size(), 8u);
}

std::unique_ptr<SelectionRecord> List(std::initializer_list<const char*> entries) {
  auto row = std::make_unique<SelectionRecord>();
  size_t i = 0;
  for (const char* e : entries) row->SELECTION[i++] = e;
  return row;
}

TEST(ListValue, RawValuePicksTheEntry) {
  auto row = List({"OFF", "ON", "  Centered"});
  EffectRecord d = Numeric("LIN", 0, 10, 10, 1);
  EXPECT_EQ(FormatParameterValue(0, d, row.get()), "OFF");
  EXPECT_EQ(FormatParameterValue(1, d, row.get()), "ON");
  EXPECT_EQ(FormatParameterValue(2, d, row.get()), "  Centered");
  // Past the list's texts but within its 256 entries: the blank entry.
  EXPECT_EQ(FormatParameterValue(3, d, row.get()), "");
}

TEST(ListValue, NoEntryBeyond256) {
  auto row = List({"A"});
  row->SELECTION[255] = "LAST";
  EffectRecord d = Numeric("LIN", 0, 10, 10, 1);
  EXPECT_EQ(FormatParameterValue(255, d, row.get()), "LAST");
  EXPECT_EQ(FormatParameterValue(256, d, row.get()), "");
  EXPECT_EQ(FormatParameterValue(300, d, row.get()), "");
  EXPECT_EQ(FormatParameterValue(65535, d, row.get()), "");
}

TEST(ListValue, LongEntryIsCutTo20) {
  auto row = List({"Twenty-Five Characters!!!"});
  EXPECT_EQ(FormatParameterValue(0, Numeric("LIN", 0, 1, 1, 0), row.get()), "Twenty-Five Characte");
}

TEST(ListValue, CutKeepsWholeUtf8Characters) {
  EffectRecord d = Numeric("LIN", 0, 1, 1, 0);
  // "\xC3\xA9" (e acute) would straddle the twentieth byte: it goes whole.
  auto straddling = List({"Nineteen characters\xC3\xA9 and more"});
  EXPECT_EQ(FormatParameterValue(0, d, straddling.get()), "Nineteen characters");
  // Ending exactly on the twentieth byte it stays.
  auto fitting = List({"Eighteen character\xC3\xA9s"});
  EXPECT_EQ(FormatParameterValue(0, d, fitting.get()), "Eighteen character\xC3\xA9");
  // A three-byte character (euro sign) starting at byte 19.
  auto euro = List({"Eighteen character\xE2\x82\xAC"});
  EXPECT_EQ(FormatParameterValue(0, d, euro.get()), "Eighteen character");
}

TEST(ListValue, OnlyARowWithTextMakesAList) {
  auto blank = std::make_unique<SelectionRecord>();
  EXPECT_FALSE(tx::SelectionMakesList(*blank));
  blank->SELECTION[200] = "x";
  EXPECT_TRUE(tx::SelectionMakesList(*blank));
  EXPECT_TRUE(tx::SelectionMakesList(*List({"OFF"})));
}

TEST(ListValue, AnyByteOtherThanASpaceAnywhereInTheListMakesAList) {
  auto row = std::make_unique<SelectionRecord>();
  row->EFFECTID = 0x20202020;  // the fields before the list do not count
  char* list = row->SELECTION[0].data;
  for (size_t at = 0; at < sizeof row->SELECTION; ++at) {
    for (char c : {'\0', 'x', '\x21', '\xA0'}) {
      list[at] = c;
      ASSERT_TRUE(tx::SelectionMakesList(*row)) << at;
    }
    list[at] = ' ';
  }
  EXPECT_FALSE(tx::SelectionMakesList(*row));
}

}  // namespace
