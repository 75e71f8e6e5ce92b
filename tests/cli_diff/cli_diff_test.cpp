// tonalyx-cli diff on presets made with the preset builder: the same preset,
// changed values and marks, blocks added and removed, a block moved in the
// grid, and the exits for usage, unreadable and rejected files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "devicedefs/tables.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/definition_rows.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

using txtools::PresetBuilder;

struct Result {
  int status = -1;
  std::string out, err;
};

class CliDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    txtest::ScopedCwd cwd(dir_.path());
    tx::TableSet t;
    ASSERT_EQ(t.DBEffects.Open(), tx::Level::Done);
    ASSERT_EQ(t.DBSelection.Open(), tx::Level::Done);
    txtools::EffectRow amp;
    amp.effectId = 106;
    amp.effectTypeId = 5;  // Y-capable
    amp.effectName = "Amp 1";
    amp.screenName = "Drive";
    amp.unit = "dB";
    ASSERT_EQ(txtools::InsertEffect(t, amp), 0);
    txtools::EffectRow cab = amp;
    cab.effectId = 108;
    cab.effectTypeId = 3;
    cab.effectName = "Cab 1";
    cab.screenName = "Level";
    ASSERT_EQ(txtools::InsertEffect(t, cab), 0);
  }

  static PresetBuilder Base() {
    PresetBuilder b(3);
    b.Number(7).Name("Clean").Cell(1, 1, 106).Cell(1, 2, 108, 1);
    b.Block({106, false, {10, 20}}).Block({108, false, {30}});
    return b;
  }

  std::string Preset(const std::string& name, const PresetBuilder& b) {
    const auto bytes = b.Bytes();
    std::ofstream(dir_.file(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                           static_cast<std::streamsize>(bytes.size()));
    return name;
  }

  Result Run(const std::string& args) {
    const std::string out = dir_.file("stdout"), err = dir_.file("stderr");
    const int raw = std::system((std::string(TONALYX_CLI) + " --workdir '" + dir_.path().string() + "' diff " + args +
                                 " >'" + out + "' 2>'" + err + "'")
                                    .c_str());
    auto slurp = [](const std::string& p) {
      std::stringstream s;
      s << std::ifstream(p).rdbuf();
      return s.str();
    };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
  }

  txtest::TempDir dir_;
};

TEST_F(CliDiffTest, TheSamePresetExitsZeroAndPrintsNothing) {
  Result r = Run(Preset("a.syx", Base()) + " " + Preset("b.syx", Base()));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  r = Run("--json a.syx b.syx");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("{\"same\": true, ", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\"onlyInA\": [], \"onlyInB\": [], \"grid\": [], \"states\": [], \"parameters\": []}\n"),
            std::string::npos)
      << r.out;
}

TEST_F(CliDiffTest, ChangedValuesMarksAndStatesWithBothSides) {
  PresetBuilder b(3);
  b.Number(7).Name("Clean").Cell(1, 1, 106).Cell(1, 2, 108, 1);
  b.Modifier({1, 108, 0, 0});
  b.Block({106, true, {10, 90}}).Block({108, false, {30}});  // Y value and state of 106; a modifier on 108
  Result r = Run(Preset("a.syx", Base()) + " " + Preset("b.syx", b));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("state of block 106 Amp 1: X -> Y\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("block 106 Amp 1, Drive: Y 20.0 -> 90.0\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("block 108 Cab 1, Level: modifier (blank) -> *\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("only in"), std::string::npos);
  EXPECT_EQ(r.out.find("grid"), std::string::npos);

  r = Run("--json a.syx b.syx");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"states\": [{\"effectId\": 106, \"effectName\": \"Amp 1\", \"a\": \"X\", \"b\": \"Y\"}]"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("{\"effectId\": 106, \"effectName\": \"Amp 1\", \"parameterId\": 0, \"screenName\": \"Drive\", "
                       "\"a\": {\"xValue\": \"10.0\", \"yValue\": \"20.0\", \"unit\": \"dB\", \"modifier\": \"\"}, "
                       "\"b\": {\"xValue\": \"10.0\", \"yValue\": \"90.0\", \"unit\": \"dB\", \"modifier\": \"\"}}"),
            std::string::npos)
      << r.out;
}

TEST_F(CliDiffTest, AddedRemovedAndMovedBlocks) {
  PresetBuilder b(3);
  b.Number(8).Name("Clean 2").Cell(1, 1, 106).Cell(2, 3, 110, 1);  // 108 gone, 110 new, in another cell
  b.Block({106, false, {10, 20}}).Block({110, false, {5}});
  Result r = Run(Preset("a.syx", Base()) + " " + Preset("b.syx", b));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("number: 007 -> 008\nname: \"Clean\" -> \"Clean 2\"\n"
                       "only in A: block 108 Cab 1\nonly in B: block 110\n"
                       "grid row 1, column 2: block 108 Cab 1 (linked from row 1) -> empty\n"
                       "grid row 2, column 3: empty -> block 110 (linked from row 1)\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Level"), std::string::npos);  // a removed block's rows are told by the block

  // Moved: the same blocks, one of them in another cell.
  PresetBuilder moved = Base();
  moved.Cell(1, 2, 0).Cell(3, 2, 108, 1);
  r = Run("--json a.syx " + Preset("m.syx", moved));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"onlyInA\": [], \"onlyInB\": [], \"grid\": ["
                       "{\"row\": 1, \"column\": 2, \"a\": {\"block\": 108, \"mask\": 1}, \"b\": {\"block\": 0, \"mask\": 0}}, "
                       "{\"row\": 3, \"column\": 2, \"a\": {\"block\": 0, \"mask\": 0}, \"b\": {\"block\": 108, \"mask\": 1}}]"),
            std::string::npos)
      << r.out;
}

TEST_F(CliDiffTest, TroubleExitsAboveOne) {
  Preset("a.syx", Base());
  std::ofstream(dir_.file("text.syx")) << "not a preset";
  EXPECT_EQ(Run("a.syx").status, 2);
  EXPECT_EQ(Run("--color a.syx a.syx").status, 2);
  Result r = Run("a.syx missing.syx");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("'missing.syx'"), std::string::npos) << r.err;
  r = Run("text.syx a.syx");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.err.find("'text.syx' is rejected: This does not appear to be a valid Axe-FX Preset File!"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Run(Preset("m.syx", Base().Model(2)) + " a.syx").status, 4);
  EXPECT_EQ(r.out, "");
}

}  // namespace
