// ParsePreset: header and model checks, both generations' unpacking, the
// header fields, the grid and the two record phases.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/toolkit/console_toolkit.h"
#include "preset/parse_preset.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

using tx::CurrentPreset;
using tx::FitPresetBuffer;
using tx::PresetBuffer;
using txtools::BuiltBlock;
using txtools::BuiltModifier;
using txtools::PresetBuilder;

PresetBuffer Fit(const std::vector<uint8_t>& bytes) {
  return FitPresetBuffer(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

class ParsePresetTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = tx::SetToolkit(&toolkit_); }
  void TearDown() override { tx::SetToolkit(previous_); }

  bool Parse(const std::vector<uint8_t>& bytes) { return tx::ParsePreset(Fit(bytes), preset_); }
  bool Parse(const PresetBuffer& buffer) { return tx::ParsePreset(buffer, preset_); }

  // The one message box shown since the last call, as "caption|text".
  std::string TakeMessage() {
    std::string shown;
    for (size_t i = seen_; i < toolkit_.Messages().size(); ++i) {
      const auto& m = toolkit_.Messages()[i].request;
      EXPECT_EQ(m.icon, tx::MessageIcon::Information);
      EXPECT_EQ(m.buttons, tx::BUTTON_OK);
      shown += (shown.empty() ? "" : ";") + m.caption + "|" + m.text;
    }
    seen_ = toolkit_.Messages().size();
    return shown;
  }

  tx::ConsoleToolkit toolkit_{nullptr};
  tx::WindowToolkit* previous_ = nullptr;
  size_t seen_ = 0;
  CurrentPreset preset_;
};

PresetBuilder Gen1Sample() {
  PresetBuilder b(1);
  b.Number(58).Name("Clean Chorus").Cell(1, 1, 106, 0).Cell(2, 3, 112, 5).Cell(4, 12, 200, 8);
  b.Modifier({7, 112, 3, 0});
  b.Block({112, false, {1, 2, 3}}).Block({106, false, {10, 20}});
  return b;
}

TEST_F(ParsePresetTest, FirstGenerationFileFillsStateAndQueues) {
  ASSERT_TRUE(Parse(Gen1Sample().Bytes()));
  EXPECT_EQ(TakeMessage(), "");
  const auto& s = preset_.state;
  EXPECT_EQ(s.deviceType, 1);
  EXPECT_EQ(s.PRESETNUMBER, 58);
  EXPECT_EQ(s.PRESETNAME.view(), "Clean Chorus");
  EXPECT_EQ(s.grid[0][0].blockId, 106);
  EXPECT_EQ(s.grid[1][2].blockId, 112);
  EXPECT_EQ(s.grid[1][2].inputMask, 5);
  EXPECT_EQ(s.grid[3][11].blockId, 200);
  EXPECT_EQ(s.grid[3][11].inputMask, 8);
  EXPECT_EQ(s.grid[0][1].blockId, 0);

  ASSERT_EQ(preset_.MQ.size(), 1u);
  EXPECT_EQ(preset_.MQ[0].ID, 7);
  EXPECT_EQ(preset_.MQ[0].EFFECTID, 112);
  EXPECT_EQ(preset_.MQ[0].PARAMETERID, 3);
  EXPECT_TRUE(preset_.MQ[0].EFFECTNAME.blank());

  ASSERT_EQ(preset_.PQ.size(), 2u);  // ascending effect id, whatever the file order
  EXPECT_EQ(preset_.PQ[0].EFFECTID, 106);
  EXPECT_EQ(preset_.PQ[0].PARAMETERCOUNT, 2);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[0], 10);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[1], 20);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[2], 0);
  EXPECT_EQ(preset_.PQ[1].EFFECTID, 112);
  EXPECT_EQ(preset_.PQ[1].PARAMETERS[2], 3);
  EXPECT_EQ(preset_.PQ[1].XYSTATE, 0);
}

TEST_F(ParsePresetTest, ModelByteZeroIsTheFirstGeneration) {
  ASSERT_TRUE(Parse(Gen1Sample().Model(0).Bytes()));
  EXPECT_EQ(preset_.state.deviceType, 1);
  EXPECT_EQ(preset_.PQ.size(), 2u);
}

TEST_F(ParsePresetTest, FirstGenerationNibblesAreAddedUnmasked) {
  auto bytes = Gen1Sample().Bytes();
  bytes[11] = 0x0A;
  bytes[12] = 0x03;
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 58);
  bytes[11] = 0xFF;  // 255 + 16 = 271, cut to 8 bits
  bytes[12] = 0x01;
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 15);
  bytes[11] = 0x00;
  bytes[12] = 0xF1;  // 16 * 241 = 3856, low 8 bits 16
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 16);
}

TEST_F(ParsePresetTest, FirstGenerationNameKeepsWhatTheFileHolds) {
  PresetBuilder b(1);
  b.Name("Lead");
  auto units = b.Units();
  units[5] = 'X';  // character 5, past the short name
  units[6] = 0;
  units[20] = 'Z';
  ASSERT_TRUE(Parse(b.Encode(units)));
  const auto& name = preset_.state.PRESETNAME;
  EXPECT_EQ(std::string(name.raw().substr(0, 6)), std::string("LeadX\0", 6));
  EXPECT_EQ(name.data[19], 'Z');
  EXPECT_EQ(std::string(name.raw().substr(20)), std::string(10, ' '));
}

TEST_F(ParsePresetTest, SecondGenerationTriplesAreCutTo16Bits) {
  PresetBuilder b(3);
  b.Name("Y");
  auto bytes = b.Bytes();
  // Word 2 (the first name character) sits at 12 + 8 + 3 * 2.
  auto setWord = [&](uint8_t b0, uint8_t b1, uint8_t b2) {
    bytes[26] = b0;
    bytes[27] = b1;
    bytes[28] = b2;
  };
  auto word = [&]() {
    EXPECT_TRUE(Parse(bytes));
    return static_cast<unsigned char>(preset_.state.PRESETNAME.data[0]);
  };
  setWord(0x05, 0x01, 0x00);  // 133
  EXPECT_EQ(word(), 133);
  setWord(0x7F, 0x7F, 0x03);  // 65535: low byte 255
  EXPECT_EQ(word(), 255);
  setWord(0x00, 0x00, 0x04);  // only two bits of the third byte count
  EXPECT_EQ(word(), 0);
  setWord(0xC1, 0x00, 0x00);  // not masked to 7 bits
  EXPECT_EQ(word(), 0xC1);

  // The full word reaches a block value.
  PresetBuilder g(3);
  g.Block({106, false, {0}});
  auto units = g.Units();
  auto file = g.Encode(units);
  size_t valueUnit = 130 + 2;  // message 2, word 2
  size_t at = 12 + 202 * (valueUnit / 64) + 8 + 3 * (valueUnit % 64);
  file[at] = 0x7F;
  file[at + 1] = 0x7F;
  file[at + 2] = 0x03;
  ASSERT_TRUE(Parse(file));
  ASSERT_EQ(preset_.PQ.size(), 1u);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[0], 65535);
}

TEST_F(ParsePresetTest, SecondGenerationNumberAndNoNumberMark) {
  PresetBuilder b(3);
  b.Name("Big Rig").Number(5).Block({106, false, {1}});
  auto bytes = b.Bytes();
  bytes[6] = 0x01;
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.deviceType, 3);
  EXPECT_EQ(preset_.state.PRESETNUMBER, 5);
  EXPECT_EQ(preset_.state.PRESETNAME.view(), "Big Rig");
  bytes[6] = 0x7F;
  bytes[7] = 0x42;
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 0);
  bytes[6] = 0x00;
  bytes[7] = 0xC8;  // taken as it is
  ASSERT_TRUE(Parse(bytes));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 200);
}

TEST_F(ParsePresetTest, SecondGenerationFullNameAndGrid) {
  PresetBuilder b(3);
  std::string name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456";  // 33: only 30 are stored
  b.Name(name).Cell(1, 1, 106, 0).Cell(4, 12, 0x1234, 0xF);
  ASSERT_TRUE(Parse(b.Bytes()));
  EXPECT_EQ(preset_.state.PRESETNAME.raw(), name.substr(0, 30));
  EXPECT_EQ(preset_.state.grid[0][0].blockId, 106);
  EXPECT_EQ(preset_.state.grid[3][11].blockId, 0x1234);
  EXPECT_EQ(preset_.state.grid[3][11].inputMask, 0xF);
}

TEST_F(ParsePresetTest, YStateAndEffectIdFromTheFirstUnit) {
  PresetBuilder b(3);
  b.Block({0x65, true, {1, 2}});
  auto units = b.Units();
  EXPECT_EQ(units[130], 0x8065);
  units[134] = 0x7F6A;  // a second block: bits 8 to 14 ignored, bit 15 clear
  units[135] = 1;
  units[136] = 9;
  ASSERT_TRUE(Parse(b.Encode(units)));
  ASSERT_EQ(preset_.PQ.size(), 2u);
  EXPECT_EQ(preset_.PQ[0].EFFECTID, 101);
  EXPECT_EQ(preset_.PQ[0].XYSTATE, 1);
  EXPECT_EQ(preset_.PQ[1].EFFECTID, 106);
  EXPECT_EQ(preset_.PQ[1].XYSTATE, 0);
  EXPECT_EQ(preset_.PQ[1].PARAMETERS[0], 9);
}

TEST_F(ParsePresetTest, SecondGenerationFirstUnitWithZeroLowByteIsABlock) {
  // Only a first unit of 0 ends the walk; 0x0100 and 0x8000 are blocks of effect id 0.
  PresetBuilder b(3);
  b.Block({110, false, {1}});
  auto units = b.Units();
  units[133] = 0x0100;
  units[134] = 1;
  units[135] = 5;
  units[136] = 0x8000;
  units[137] = 1;
  units[138] = 6;
  units[139] = 0x0107;
  units[140] = 1;
  units[141] = 7;
  units[142] = 0;
  ASSERT_TRUE(Parse(b.Encode(units)));
  ASSERT_EQ(preset_.PQ.size(), 4u);
  EXPECT_EQ(preset_.PQ[0].EFFECTID, 0);
  EXPECT_EQ(preset_.PQ[0].XYSTATE, 0);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[0], 5);
  EXPECT_EQ(preset_.PQ[1].EFFECTID, 0);
  EXPECT_EQ(preset_.PQ[1].XYSTATE, 1);
  EXPECT_EQ(preset_.PQ[1].PARAMETERS[0], 6);
  EXPECT_EQ(preset_.PQ[2].EFFECTID, 7);
  EXPECT_EQ(preset_.PQ[3].EFFECTID, 110);
}

TEST_F(ParsePresetTest, RecordPhases) {
  // Modifier records while the first unit is below 100 (0 included); then
  // blocks, where any non-zero first unit counts, down to the 0 that ends the walk.
  PresetBuilder b(1);
  b.Modifier({0, 106, 4, 0}).Modifier({99, 107, 5, 12});
  b.Block({150, false, {1}});
  auto units = b.Units();
  size_t r = 129 + 10 + 14 + 3;
  units[r] = 50;  // a block now, although below 100
  units[r + 1] = 2;
  units[r + 2] = 7;
  units[r + 3] = 8;
  units[r + 4] = 0;
  units[r + 5] = 120;  // after the end of the walk: not read
  units[r + 6] = 0;
  ASSERT_TRUE(Parse(b.Encode(units)));
  ASSERT_EQ(preset_.MQ.size(), 2u);
  EXPECT_EQ(preset_.MQ[0].ID, 0);
  EXPECT_EQ(preset_.MQ[0].EFFECTID, 106);
  EXPECT_EQ(preset_.MQ[1].ID, 99);
  EXPECT_EQ(preset_.MQ[1].EFFECTID, 107);
  EXPECT_EQ(preset_.MQ[1].PARAMETERID, 5);
  ASSERT_EQ(preset_.PQ.size(), 2u);
  EXPECT_EQ(preset_.PQ[0].EFFECTID, 50);
  EXPECT_EQ(preset_.PQ[0].PARAMETERCOUNT, 2);
  EXPECT_EQ(preset_.PQ[1].EFFECTID, 150);
}

TEST_F(ParsePresetTest, EqualEffectIdsKeepFileOrder) {
  PresetBuilder b(3);
  b.Block({110, false, {1}}).Block({106, false, {2}}).Block({110, false, {3}}).Block({106, false, {4}});
  ASSERT_TRUE(Parse(b.Bytes()));
  ASSERT_EQ(preset_.PQ.size(), 4u);
  std::vector<int> seen;
  for (const auto& e : preset_.PQ) seen.push_back(e.EFFECTID * 10 + e.PARAMETERS[0]);
  EXPECT_EQ(seen, (std::vector<int>{1062, 1064, 1101, 1103}));
}

TEST_F(ParsePresetTest, SecondGenerationCountAbove255KeepsTheFirst255) {
  PresetBuilder b(3);
  std::vector<uint16_t> values(300);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint16_t>(1000 + i);
  b.Block({106, false, values}).Block({107, false, {42}});
  ASSERT_TRUE(Parse(b.Bytes()));
  ASSERT_EQ(preset_.PQ.size(), 2u);
  EXPECT_EQ(preset_.PQ[0].PARAMETERCOUNT, 300);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[254], 1254);
  EXPECT_EQ(preset_.PQ[0].Entry(255), 1254);
  EXPECT_EQ(preset_.PQ[0].Entry(256), -1);
  // The walk goes on after the whole record.
  EXPECT_EQ(preset_.PQ[1].EFFECTID, 107);
  EXPECT_EQ(preset_.PQ[1].PARAMETERS[0], 42);
}

TEST_F(ParsePresetTest, LengthUnitRunningPastTheAreaStopsThere) {
  for (int gen : {1, 3}) {
    PresetBuilder b(gen);
    auto units = b.Units();
    const size_t n = units.size();
    const size_t last = n - 6;  // five units left after it, four of them values
    // Blocks of at most 200 values (a first-generation unit is a byte) up to `last`.
    size_t r = b.recordStart();
    uint16_t id = 101;
    while (r < last) {
      size_t count = std::min<size_t>(200, last - r - 2);
      if (last - r < 2) count = 0;
      units[r] = id++;
      units[r + 1] = static_cast<uint16_t>(count);
      r += count + 2;
    }
    ASSERT_EQ(r, last) << gen;
    units[last] = 250;
    units[last + 1] = 250;  // runs far past the end
    for (size_t i = last + 2; i < n; ++i) units[i] = static_cast<uint16_t>(i & 0x7F);
    ASSERT_TRUE(Parse(b.Encode(units))) << gen;
    ASSERT_EQ(preset_.PQ.size(), size_t{id} - 101 + 1) << gen;
    const auto& cut = preset_.PQ.back();
    EXPECT_EQ(cut.EFFECTID, 250);
    EXPECT_EQ(cut.PARAMETERCOUNT, 4);
    EXPECT_EQ(cut.PARAMETERS[3], static_cast<int32_t>((n - 1) & 0x7F));
    EXPECT_EQ(cut.PARAMETERS[4], 0);
  }
}

TEST_F(ParsePresetTest, RecordsAtTheVeryEndStayInside) {
  PresetBuilder b(3);
  auto units = b.Units();
  // A modifier record leaps to unit 2040: the one there would have its
  // fields past the end, so it is dropped and the walk ends.
  units[130] = 5;
  units[131] = 2040 - 132;
  units[2040] = 6;
  ASSERT_TRUE(Parse(b.Encode(units)));
  EXPECT_EQ(preset_.MQ.size(), 1u);
  EXPECT_TRUE(preset_.PQ.empty());
  // A block whose first unit is the last unit has no length unit: not read.
  units[131] = 2036 - 132;
  units[2036] = 7;  // its fields end at 2047: kept
  units[2037] = 9;  // next record at 2047
  units[2040] = 0;
  units[2046] = 3;
  units[2047] = 200;
  ASSERT_TRUE(Parse(b.Encode(units)));
  ASSERT_EQ(preset_.MQ.size(), 2u);
  EXPECT_EQ(preset_.MQ[1].EFFECTID, 3);
  EXPECT_EQ(preset_.MQ[1].PARAMETERID, 200);
  EXPECT_TRUE(preset_.PQ.empty());
}

TEST_F(ParsePresetTest, ForeignHeaderIsRejected) {
  ASSERT_TRUE(Parse(Gen1Sample().Bytes()));
  auto state = preset_.state;
  auto bytes = Gen1Sample().Bytes();
  bytes[3] = 0x75;
  EXPECT_FALSE(Parse(bytes));
  EXPECT_EQ(TakeMessage(), "Preset Warning|This does not appear to be a valid Axe-FX Preset File!");
  EXPECT_TRUE(preset_.PQ.empty());
  EXPECT_TRUE(preset_.MQ.empty());
  EXPECT_EQ(preset_.state.deviceType, state.deviceType);
  EXPECT_EQ(preset_.state.PRESETNAME, state.PRESETNAME);
  EXPECT_EQ(preset_.state.grid[1][2].blockId, 112);
}

TEST_F(ParsePresetTest, EmptyFileIsRejectedAsForeign) {
  EXPECT_FALSE(Parse(FitPresetBuffer(std::string_view())));
  EXPECT_EQ(TakeMessage(), "Preset Warning|This does not appear to be a valid Axe-FX Preset File!");
  EXPECT_FALSE(Parse(FitPresetBuffer("")));
  EXPECT_EQ(TakeMessage(), "Preset Warning|This does not appear to be a valid Axe-FX Preset File!");
  EXPECT_FALSE(Parse(FitPresetBuffer(std::string_view("\xF0\x00\x01", 3))));
  EXPECT_EQ(TakeMessage(), "Preset Warning|This does not appear to be a valid Axe-FX Preset File!");
}

TEST_F(ParsePresetTest, UnknownModelIsRejectedAndRemembered) {
  ASSERT_TRUE(Parse(Gen1Sample().Bytes()));
  auto bytes = Gen1Sample().Model(2).Name("Other").Number(3).Bytes();
  EXPECT_FALSE(Parse(bytes));
  EXPECT_EQ(TakeMessage(), "Axe-FX Parser|Invalid Device Found");
  EXPECT_EQ(preset_.state.deviceType, 2);
  EXPECT_EQ(preset_.state.PRESETNUMBER, 58);
  EXPECT_EQ(preset_.state.PRESETNAME.view(), "Clean Chorus");
  EXPECT_EQ(preset_.state.grid[0][0].blockId, 106);
  EXPECT_TRUE(preset_.PQ.empty());
  EXPECT_TRUE(preset_.MQ.empty());
  for (uint8_t model : {uint8_t{4}, uint8_t{0x7F}, uint8_t{0xFF}}) {
    EXPECT_FALSE(Parse(Gen1Sample().Model(model).Bytes()));
    EXPECT_EQ(TakeMessage(), "Axe-FX Parser|Invalid Device Found");
    EXPECT_EQ(preset_.state.deviceType, model);
  }
}

TEST_F(ParsePresetTest, ShortFileReadsSpacesForMissingBytes) {
  // First generation: the header alone; every nibble pair is two spaces.
  std::vector<uint8_t> gen1 = {0xF0, 0x00, 0x01, 0x74, 0x01};
  ASSERT_TRUE(Parse(gen1));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 0x20);
  EXPECT_EQ(preset_.state.PRESETNAME.raw(), std::string(30, ' '));
  EXPECT_EQ(preset_.state.grid[0][0].blockId, 0x20);
  // Every unit is 0x20, below 100: modifier records of 32 units each.
  EXPECT_TRUE(preset_.PQ.empty());
  // Records at 129 + 34k; the last whose fields fit starts at 1013.
  ASSERT_EQ(preset_.MQ.size(), 27u);
  EXPECT_EQ(preset_.MQ[0].ID, 0x20);
  EXPECT_EQ(preset_.MQ[0].EFFECTID, 0x20);

  // Second generation: every triple of spaces is 0x1020.
  std::vector<uint8_t> gen2 = {0xF0, 0x00, 0x01, 0x74, 0x03};
  ASSERT_TRUE(Parse(gen2));
  EXPECT_EQ(preset_.state.PRESETNUMBER, 0x20);
  EXPECT_EQ(preset_.state.grid[2][5].blockId, 0x1020);
  ASSERT_FALSE(preset_.PQ.empty());
  EXPECT_EQ(preset_.PQ[0].EFFECTID, 0x20);
  EXPECT_EQ(preset_.PQ[0].PARAMETERCOUNT, 2048 - 132);  // cut by the end of the area
  EXPECT_EQ(preset_.PQ.size(), 1u);
  EXPECT_EQ(preset_.PQ[0].PARAMETERS[254], 0x1020);
}

TEST_F(ParsePresetTest, LongFileIsCutAt8192) {
  auto bytes = Gen1Sample().Bytes();
  bytes.resize(10000, 0x55);
  PresetBuffer buffer = Fit(bytes);
  EXPECT_EQ(buffer[8191], 0x55);
  ASSERT_TRUE(Parse(buffer));
  EXPECT_EQ(preset_.PQ.size(), 2u);
  auto padded = Fit({0xF0, 0x00});
  EXPECT_EQ(padded[2], ' ');
  EXPECT_EQ(padded[8191], ' ');
}

TEST_F(ParsePresetTest, RandomBytesAfterAValidHeaderStayInBounds) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 300; ++round) {
    PresetBuffer buffer;
    for (auto& byte : buffer) byte = static_cast<uint8_t>(rng());
    buffer[0] = 0xF0;
    buffer[1] = 0x00;
    buffer[2] = 0x01;
    buffer[3] = 0x74;
    buffer[4] = static_cast<uint8_t>(round % 2 ? 3 : round % 4 ? 1 : 0);
    if (round % 5 == 0) std::fill(buffer.begin() + 300, buffer.end(), static_cast<uint8_t>(rng() & 1 ? 0 : 0x7F));
    ASSERT_TRUE(Parse(buffer));
    EXPECT_TRUE(std::is_sorted(preset_.PQ.begin(), preset_.PQ.end(),
                               [](const auto& a, const auto& b) { return a.EFFECTID < b.EFFECTID; }));
    int limit = buffer[4] == 3 ? 2048 : 1024;
    for (const auto& e : preset_.PQ) {
      // A second-generation first unit may be non-zero with a zero low byte.
      if (limit == 1024) {
        EXPECT_NE(e.EFFECTID, 0);
      }
      EXPECT_LE(e.EFFECTID, 255);
      EXPECT_GE(e.PARAMETERCOUNT, 0);
      EXPECT_LT(e.PARAMETERCOUNT, limit);
    }
  }
  EXPECT_EQ(TakeMessage(), "");
}

TEST_F(ParsePresetTest, EachParseStartsFromEmptyQueues) {
  ASSERT_TRUE(Parse(Gen1Sample().Bytes()));
  ASSERT_TRUE(Parse(Gen1Sample().Bytes()));
  EXPECT_EQ(preset_.PQ.size(), 2u);
  EXPECT_EQ(preset_.MQ.size(), 1u);
}

TEST(PresetBuilder, RejectsRecordsThatDoNotFit) {
  PresetBuilder b(1);
  b.Block({106, false, std::vector<uint16_t>(900, 1)});
  EXPECT_THROW(b.Units(), std::length_error);
  EXPECT_THROW(PresetBuilder(2), std::invalid_argument);
  EXPECT_EQ(PresetBuilder(1).Bytes().size(), 2061u);
  EXPECT_EQ(PresetBuilder(3).Bytes().size(), 6476u);
}

}  // namespace
