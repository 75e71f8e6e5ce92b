// The Preset Report's bands as the page parser reads them back: the name bar,
// the group headers with their labels and marks, the parameter lines and the
// footer, for hand-made rows that reach the edge cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outputs/preset_report_layout.h"
#include "report/recording_generator.h"
#include "report/wmf_parser.h"
#include "support/temp_dir.h"

namespace {

tx::PresetRecord Row(const char* effect, const char* screen, const char* x, const char* y, const char* modifier,
                     const char* xActive, const char* yActive) {
  tx::PresetRecord r;
  r.EFFECTNAME = effect;
  r.SCREENNAME = screen;
  r.XVALUE = x;
  r.YVALUE = y;
  r.UNIT = "dB";
  r.MODIFIERFLAG = modifier;
  r.XACTIVE = xActive;
  r.YACTIVE = yActive;
  return r;
}

class PresetReportBands : public ::testing::Test {
 protected:
  // Prints the rows as the report does and reads the pages back.
  void Print(uint8_t deviceType, int32_t number, const std::vector<tx::PresetRecord>& rows) {
    tx::PresetState state;
    state.deviceType = deviceType;
    state.PRESETNUMBER = number;
    state.PRESETNAME = "Crunch";
    ASSERT_EQ(engine_.Open(tx::PresetReportLayout()), 0);
    engine_.RenderToPageFiles(&pages_);
    tx::SetPresetValues(engine_, state);
    ASSERT_EQ(tx::PrintBlockImageBand(engine_, dir_.file("none.png")), 0);
    for (const auto& r : rows) ASSERT_EQ(tx::PrintParameterLine(engine_, r), 0);
    ASSERT_EQ(engine_.EndReport(), 0);
    tx::WMFParser parser;
    parser.Init(&pages_, &gen_, &errors_);
    ASSERT_EQ(parser.Run(false), 0);
  }
  // The strings drawn with this text, with their formats.
  std::vector<tx::TextFormat> Strings(const std::string& text) const {
    std::vector<tx::TextFormat> found;
    size_t s = 0;
    for (const auto& c : gen_.calls) {
      if (c.op != "EmitString") continue;
      if (c.text == text) found.push_back(gen_.strings[s]);
      ++s;
    }
    return found;
  }

  txtest::TempDir dir_;
  tx::ReportEngine engine_;
  std::vector<std::string> pages_;
  txtest::RecordingGenerator gen_;
  txtest::RecordingErrors errors_;
};

TEST_F(PresetReportBands, ASecondGenerationReportShowsBothColumnsAndItsMarks) {
  Print(3, 7, {Row("Amp 1", "Drive", "    5.00", "    9.00", "*", "", "*"),
               Row("Amp 1", "Bass", "    1.00", "    5.00", "", "", "*"),
               Row("Delay 1", "Time", "   2,401", "   5,600", "", "*", "")});
  // The name bar: white bold on black across the header; the number on it.
  auto name = Strings("Crunch");
  ASSERT_EQ(name.size(), 2u);  // header and footer
  EXPECT_EQ(name[0].COLOR, 0xFFFFFF);
  EXPECT_EQ(name[0].BACKGROUNDCOLOR, 0);
  EXPECT_EQ(name[0].POS.LEFT, 531);
  EXPECT_EQ(name[0].POS.RIGHT, 531 + 7167);
  EXPECT_EQ(name[0].SIZE, 14);
  EXPECT_EQ(name[0].STYLE & 0x7FF, 700);
  auto number = Strings("  7");
  ASSERT_EQ(number.size(), 2u);
  EXPECT_EQ(number[0].COLOR, 0xFFFFFF);
  EXPECT_EQ(number[0].POS.LEFT, 500 + 6531);
  EXPECT_EQ(number[1].SIZE, 8);
  EXPECT_EQ(number[1].STYLE & 0x1000, 0x1000);  // italic in the footer

  // One group header per effect, silver, labels italic, marks bold.
  auto amp = Strings("Amp 1");
  ASSERT_EQ(amp.size(), 1u);
  EXPECT_EQ(amp[0].BACKGROUNDCOLOR, 0xC0C0C0);
  EXPECT_EQ(amp[0].POS.RIGHT - amp[0].POS.LEFT, 7167);
  EXPECT_EQ(Strings("X Value").size(), 2u);
  EXPECT_EQ(Strings("Y Value").size(), 2u);
  EXPECT_EQ(Strings("X Value")[0].STYLE & 0x1000, 0x1000);
  auto marks = Strings("*");
  ASSERT_EQ(marks.size(), 3u);  // Y mark of Amp 1, the modifier, X mark of Delay 1
  EXPECT_EQ(marks[0].POS.LEFT, 500 + 6365);
  EXPECT_GT(marks[1].POS.LEFT, 500 + 4062 + 1021);  // between the X value and the Y value
  EXPECT_LT(marks[1].POS.RIGHT, 500 + 5281);
  EXPECT_EQ(marks[2].POS.LEFT, 500 + 5010);
  EXPECT_EQ(Strings("    5.00").size(), 2u);  // values keep their alignment
  EXPECT_EQ(Strings("Page:").size(), 1u);
  EXPECT_EQ(Strings("  1").size(), 1u);
  EXPECT_EQ(Strings(tx::PRESET_REPORT_CREDIT).size(), 1u);
  // The frame of the block image comes first, right after the page header.
  ASSERT_EQ(gen_.boxes.size(), 1u);
  EXPECT_EQ(gen_.boxes[0].POS.TOP, 1000 + 312);
}

TEST_F(PresetReportBands, AFirstGenerationReportHasOneValueColumnAndSharesHeadersByName) {
  // Two blocks whose definitions give them one name share one header.
  Print(1, 0, {Row("Amp 1", "Drive", "    2.00", "", "", "*", ""), Row("Amp 1", "Bass", "    9.02", "", "", "*", ""),
               Row("Amp 1", "Drive", "    3.00", "", "", "*", "")});
  EXPECT_EQ(Strings("Amp 1").size(), 1u);
  EXPECT_EQ(Strings("Value").size(), 1u);
  EXPECT_TRUE(Strings("Y Value").empty());
  EXPECT_TRUE(Strings("X Value").empty());
  auto marks = Strings("*");
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].POS.LEFT, 500 + 5010);  // beside the X label
  // Number 0 shows nothing, in the header or the footer.
  for (const char* zero : {"0", "  0", "000"}) EXPECT_TRUE(Strings(zero).empty()) << zero;
  EXPECT_EQ(Strings("Crunch").size(), 2u);
}

}  // namespace
