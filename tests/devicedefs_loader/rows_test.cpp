// Number conversions, row mappings and the JSON form of table rows.
// Record fields are packed: numeric ones are compared as copies (+field).
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "devicedefs/loader_queues.h"
#include "devicedefs/loader_rows.h"
#include "devicedefs/table_dump.h"

namespace {

TEST(TextNumbers, IntegersReadDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(tx::TextToLong(""), 0);
  EXPECT_EQ(tx::TextToLong("   "), 0);
  EXPECT_EQ(tx::TextToLong("42"), 42);
  EXPECT_EQ(tx::TextToLong("  -7"), -7);
  EXPECT_EQ(tx::TextToLong("+8"), 8);
  EXPECT_EQ(tx::TextToLong("12.7"), 12);
  EXPECT_EQ(tx::TextToLong("abc"), 0);
  EXPECT_EQ(tx::TextToLong("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(tx::TextToLong("-99999999999"), INT32_MIN);
  EXPECT_EQ(tx::TextToShort("40000"), 32767);
  EXPECT_EQ(tx::TextToShort("-40000"), -32768);
}

TEST(TextNumbers, IntegersTakeTheWholeNumericValueOfTheText) {
  EXPECT_EQ(tx::TextToLong("1e3"), 1000);
  EXPECT_EQ(tx::TextToLong("-3.9"), -3);
  EXPECT_EQ(tx::TextToLong(".5"), 0);
  EXPECT_EQ(tx::TextToLong("\n  16\n"), 16);  // a child element's line breaks around the value
  EXPECT_EQ(tx::TextToLong("1e300"), INT32_MAX);
  EXPECT_EQ(tx::TextToLong("inf"), 0);
  EXPECT_EQ(tx::TextToLong("-"), 0);
  EXPECT_EQ(tx::TextToShort("2.5e2"), 250);
}

TEST(TextNumbers, RealsUseAPointAndGiveZeroForAnythingElse) {
  EXPECT_DOUBLE_EQ(tx::TextToReal(""), 0);
  EXPECT_DOUBLE_EQ(tx::TextToReal("0.5"), 0.5);
  EXPECT_DOUBLE_EQ(tx::TextToReal(" -12.25"), -12.25);
  EXPECT_DOUBLE_EQ(tx::TextToReal("+3"), 3);
  EXPECT_DOUBLE_EQ(tx::TextToReal("2e3"), 2000);
  EXPECT_DOUBLE_EQ(tx::TextToReal("1,5"), 1);  // reads up to the comma
  EXPECT_DOUBLE_EQ(tx::TextToReal("x"), 0);
  EXPECT_DOUBLE_EQ(tx::TextToReal("nan"), 0);
  EXPECT_DOUBLE_EQ(tx::TextToReal("-inf"), 0);
  EXPECT_DOUBLE_EQ(tx::TextToReal(".25"), 0.25);
  EXPECT_DOUBLE_EQ(tx::TextToReal("\t7.5"), 7.5);
  EXPECT_DOUBLE_EQ(tx::TextToReal("1e-400"), 0);
  EXPECT_DOUBLE_EQ(tx::TextToReal("1e400"), 0);
  EXPECT_EQ(tx::TextToLong("1e400"), INT32_MAX);
  EXPECT_EQ(tx::TextToLong("-1e400"), INT32_MIN);
}

TEST(RowMappings, GenOneSelectionsFillOneHundredEntries) {
  tx::TextQueue q = tx::MakeSLQG1();
  size_t r = q.AppendBlank();
  q.Set(r, q.F("EFFECTID"), "106");
  q.Set(r, q.F("PARAMID"), "3");
  q.Set(r, q.F("ITEM0"), "first");
  q.Set(r, q.F("ITEM99"), "hundredth");
  q.Set(r, q.F("ITEM100"), "not used");
  tx::SelectionRecord s = tx::SelectionRowMapper(q, true)(r);
  EXPECT_EQ(+s.DEVICETYPE, 1);
  EXPECT_EQ(+s.EFFECTID, 106);
  EXPECT_EQ(+s.EFFECTTYPEID, 0);
  EXPECT_EQ(+s.PARAMETERID, 3);
  EXPECT_EQ(s.SELECTION[0], "first");
  EXPECT_EQ(s.SELECTION[99], "hundredth");
  for (int i = 100; i < 256; ++i) EXPECT_TRUE(s.SELECTION[i].blank()) << i;
}

TEST(RowMappings, GenTwoSelectionsFillAll256Entries) {
  tx::TextQueue q = tx::MakeSLQ();
  size_t r = q.AppendBlank();
  q.Set(r, q.F("TYPEID"), "5");
  q.Set(r, q.F("EFFECTVARIANTID"), "1");
  q.Set(r, q.F("ITEM255"), "last");
  tx::SelectionRecord s = tx::SelectionRowMapper(q, false)(r);
  EXPECT_EQ(+s.DEVICETYPE, 3);
  EXPECT_EQ(+s.EFFECTTYPEID, 5);
  EXPECT_EQ(+s.EFFECTVARIANTID, 1);
  EXPECT_EQ(s.SELECTION[255], "last");
}

TEST(RowMappings, ScreenRowsCutTheSyncFlagToEightCharacters) {
  tx::TextQueue q = tx::MakeXMCQ();
  size_t r = q.AppendBlank();
  q.Set(r, q.F("SYNCVARIANTSTOTYPE"), "TrueAndMore");
  q.Set(r, q.F("PAGESUBTYPE"), "12");
  q.Set(r, q.F("OFFSETX"), "-3");
  q.Set(r, q.F("LOCK"), "locked");
  tx::ScreenMasterRecord s = tx::ScreenRowMapper(q)(r, 1, 4, 5);
  EXPECT_EQ(s.SYNCVARIANTSTOTYPE, "TrueAndM");
  EXPECT_EQ(+s.SUBTYPE, 12);
  EXPECT_EQ(+s.OFFSETX, -3);
  EXPECT_EQ(+s.ROW, 4);
  EXPECT_EQ(+s.COLUMN, 5);
  EXPECT_EQ(s.LOCK, "locked");
}

TEST(TableJson, RowsKeepLeadingSpacesAndEscapeText) {
  tx::CabRecord cab;
  cab.ID = -4;
  cab.NAME = "  4x12 \"Quote\" \\ end";
  EXPECT_EQ(tx::RowToJson(tx::CabLayout(), &cab), R"({"ID":-4,"NAME":"  4x12 \"Quote\" \\ end"})");
  cab.NAME = std::string("a\tb\x01", 4);
  EXPECT_EQ(tx::RowToJson(tx::CabLayout(), &cab), "{\"ID\":-4,\"NAME\":\"a\\u0009b\\u0001\"}");
}

TEST(TableJson, SelectionsAreAnArrayOf256Texts) {
  tx::SelectionRecord s;
  s.DEVICETYPE = 3;
  s.SELECTION[0] = "A";
  s.SELECTION[255] = "Z";
  std::string json = tx::RowToJson(tx::SelectionLayout(), &s);
  std::string entries = json.substr(json.find("\"SELECTION\":[") + 13);
  size_t commas = 0;
  for (char c : entries) commas += c == ',';
  EXPECT_EQ(commas, 255u);
  EXPECT_EQ(entries.rfind("\"A\",\"\",", 0), 0u);
  EXPECT_NE(json.find(",\"Z\"]}"), std::string::npos);
}

TEST(TableJson, RealsAreNumbers) {
  tx::EffectRecord e;
  e.MINIMUMVALUE = -0.5;
  e.MAXIMUMVALUE = 20000;
  std::string json = tx::RowToJson(tx::EffectLayout(), &e);
  EXPECT_NE(json.find("\"MINIMUMVALUE\":-0.5,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"MAXIMUMVALUE\":20000,"), std::string::npos) << json;
  EXPECT_EQ(json.rfind("{\"DEVICETYPE\":0,\"EFFECTID\":0,", 0), 0u) << json;
}

}  // namespace
