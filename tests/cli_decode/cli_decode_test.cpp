// tonalyx-cli decode: the output of both forms, exit statuses and messages,
// run as a separate process against tables prepared in a scratch directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string Bytes(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

class CliDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    txtest::ScopedCwd cwd(dir_.path());
    tx::TableSet t;
    ASSERT_EQ(t.DBEffects.Open(), tx::Level::Done);
    ASSERT_EQ(t.DBSelection.Open(), tx::Level::Done);
    txtools::EffectRow type;
    type.deviceType = 3;
    type.effectId = 106;
    type.effectTypeId = 5;
    type.parameterId = 0;
    type.effectName = "Amp 1";
    type.internalName = "AMP_TYPE";
    type.screenName = "Type";
    ASSERT_EQ(txtools::InsertEffect(t, type), 0);
    txtools::EffectRow drive = type;
    drive.parameterId = 1;
    drive.modifierId = 2;
    drive.internalName = "AMP_DRIVE";
    drive.screenName = "Drive";
    drive.numberOfValues = 65534;
    drive.unit = "dB";
    ASSERT_EQ(txtools::InsertEffect(t, drive), 0);
    ASSERT_EQ(txtools::InsertSelection(t, 3, 5, 0, 0, {"Clean", "Crunch"}), 0);
    t.DBEffects.Close();
    t.DBSelection.Close();
  }

  Result Run(const std::string& args) {
    std::string out = dir_.file("stdout.txt"), err = dir_.file("stderr.txt");
    std::string cmd = std::string(TONALYX_CLI) + " --workdir '" + dir_.path().string() + "' " + args + " >'" + out +
                      "' 2>'" + err + "'";
    int raw = std::system(cmd.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }
  std::string Preset(const std::string& name, const std::string& content) {
    std::string path = dir_.file(name);
    WriteFile(path, content);
    return "'" + path + "'";
  }

  static PresetBuilder Sample() {
    PresetBuilder b(3);
    b.Number(7).Name("Tone \"A\"\\").Cell(1, 1, 106, 0).Cell(1, 2, 108, 1).Cell(4, 12, 65535, 15);
    b.Modifier({1, 106, 1, 0});
    b.Block({106, true, {1, 32767, 0, 65534}});
    return b;
  }

  txtest::TempDir dir_;
};

std::string ExpectedGrid() {
  std::string g = "[";
  for (int r = 1; r <= 4; ++r) {
    g += r > 1 ? ", [" : "[";
    for (int c = 1; c <= 12; ++c) {
      int block = 0, mask = 0;
      if (r == 1 && c == 1) block = 106;
      if (r == 1 && c == 2) block = 108, mask = 1;
      if (r == 4 && c == 12) block = 65535, mask = 15;
      g += (c > 1 ? ", " : "") + std::string("{\"block\": ") + std::to_string(block) + ", \"mask\": " +
           std::to_string(mask) + "}";
    }
    g += "]";
  }
  return g + "]";
}

TEST_F(CliDecodeTest, JsonHoldsStateGridAndRowsExactly) {
  Result r = Run("decode --json " + Preset("a.syx", Bytes(Sample().Bytes())));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string expected =
      "{\"deviceType\": 3, \"number\": 7, \"name\": \"Tone \\\"A\\\"\\\\\", \"grid\": " + ExpectedGrid() +
      ", \"rows\": ["
      "{\"effectId\": 106, \"effectName\": \"Amp 1\", \"parameterId\": 0, \"screenName\": \"Type\", "
      "\"xValue\": \"Crunch\", \"yValue\": \"Clean\", \"unit\": \"\", \"modifier\": \"\", \"xActive\": \"\", "
      "\"yActive\": \"*\"}, "
      "{\"effectId\": 106, \"effectName\": \"Amp 1\", \"parameterId\": 1, \"screenName\": \"Drive\", "
      "\"xValue\": \"     5.0\", \"yValue\": \"    10.0\", \"unit\": \"dB\", \"modifier\": \"*\", \"xActive\": \"\", "
      "\"yActive\": \"*\"}]}\n";
  EXPECT_EQ(r.out, expected);
}

TEST_F(CliDecodeTest, TextShowsTheNumberAsTheWindowDoes) {
  Result r = Run("decode " + Preset("a.syx", Bytes(Sample().Bytes())));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Device type: 3 (Axe-FX II)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Number:      007\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Name:        Tone \"A\"\\\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 parameter rows"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Crunch"), std::string::npos);
  EXPECT_NE(r.out.find("     5.0"), std::string::npos);

  PresetBuilder none = Sample();
  none.NoNumber();
  r = Run("decode " + Preset("b.syx", Bytes(none.Bytes())));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Number:         \n"), std::string::npos) << r.out;
  r = Run("decode --json " + Preset("b.syx", Bytes(none.Bytes())));
  EXPECT_NE(r.out.find("\"number\": 0,"), std::string::npos) << r.out;
}

TEST_F(CliDecodeTest, NamesWithControlAndHighBytesStayValidJson) {
  PresetBuilder b(1);
  b.Name(std::string("A\x01\xE9\t", 4));
  auto units = b.Units();
  units[5] = 0;  // a 0 unit becomes a 0 character
  Result r = Run("decode --json " + Preset("c.syx", Bytes(b.Encode(units))));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"name\": \"A\\u0001\\u00e9\\t\\u0000\", \"grid\""), std::string::npos) << r.out;
  r = Run("decode " + Preset("c.syx", Bytes(b.Encode(units))));
  EXPECT_NE(r.out.find("Name:        A?\xC3\xA9??\n"), std::string::npos) << r.out;
}

TEST_F(CliDecodeTest, DefinitionTextsInUtf8ComeOutUnchanged) {
  {
    txtest::ScopedCwd cwd(dir_.path());
    tx::TableSet t;
    ASSERT_EQ(t.DBEffects.Open(), tx::Level::Done);
    txtools::EffectRow grosse;
    grosse.deviceType = 3;
    grosse.effectId = 106;
    grosse.effectTypeId = 5;
    grosse.parameterId = 2;
    grosse.effectName = "Amp 1";
    grosse.screenName = "Gr\xC3\xB6\xC3\x9F" "e";
    grosse.unit = "\xC2\xB5s";
    ASSERT_EQ(txtools::InsertEffect(t, grosse), 0);
    t.DBEffects.Close();
  }
  PresetBuilder b = Sample();
  b.Name(std::string("Caf\xE9", 4));  // a preset name byte is not UTF-8: Latin-1
  Result r = Run("decode --json " + Preset("u.syx", Bytes(b.Bytes())));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"name\": \"Caf\\u00e9\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"screenName\": \"Gr\xC3\xB6\xC3\x9F" "e\", \"xValue\": \"     0.0\", "
                       "\"yValue\": \"     0.0\", \"unit\": \"\xC2\xB5s\""),
            std::string::npos)
      << r.out;
  r = Run("decode " + Preset("u.syx", Bytes(b.Bytes())));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Name:        Caf\xC3\xA9\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Gr\xC3\xB6\xC3\x9F" "e"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\xC2\xB5s"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("\xC3\x82"), std::string::npos) << r.out;  // no UTF-8 read as Latin-1
}

TEST_F(CliDecodeTest, RejectedFilesExitOneWithTheMessageOnStderr) {
  Result r = Run("decode " + Preset("x.syx", "not a preset at all"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("This does not appear to be a valid Axe-FX Preset File!"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  r = Run("decode --json " + Preset("m.syx", Bytes(Sample().Model(2).Bytes())));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Invalid Device Found"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDecodeTest, UsageErrorsExitTwo) {
  EXPECT_EQ(Run("decode").status, 2);
  EXPECT_EQ(Run("decode a.syx b.syx").status, 2);
  Result r = Run("decode --xml a.syx");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--xml"), std::string::npos);
}

TEST_F(CliDecodeTest, UnreadableFilesExitThreeWithAnError) {
  Result r = Run("decode '" + dir_.file("missing.syx") + "'");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("missing.syx"), std::string::npos) << r.err;
  r = Run("decode " + Preset("empty.syx", ""));
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
  r = Run("decode '" + dir_.path().string() + "'");
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDecodeTest, ShortAndLongFilesAreCutOrPaddedTo8192) {
  // The header alone: every missing byte reads as a space.
  Result r = Run("decode --json " + Preset("short.syx", std::string("\xF0\x00\x01\x74\x01", 5)));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"number\": 32, \"name\": \"\""), std::string::npos) << r.out;
  // Bytes after 8192 are not seen.
  std::string full = Bytes(Sample().Bytes());
  full.resize(8192, '\x7F');
  Result cut = Run("decode --json " + Preset("cut.syx", full));
  Result longer = Run("decode --json " + Preset("long.syx", full + std::string(5000, '\x01')));
  ASSERT_EQ(longer.status, 0) << longer.err;
  EXPECT_EQ(longer.out, cut.out);
}

}  // namespace

namespace {

// The sample presets against the sample definitions, imported by "refresh".
TEST(CliDecodeSamples, EverySamplePresetDecodesToRows) {
  txtest::TempDir dir;
  std::filesystem::create_directory_symlink(std::filesystem::path(TONALYX_SOURCE_DIR) / "Masters",
                                            dir.path() / "Masters");
  std::string cli = std::string(TONALYX_CLI) + " --workdir '" + dir.path().string() + "' ";
  ASSERT_EQ(std::system((cli + "refresh >/dev/null 2>&1").c_str()), 0);
  struct Sample {
    const char* file;
    const char* expect;  // a text the decoded rows must hold
  };
  for (const Sample& s : {Sample{"gen2_clean_chorus.syx", "\"xValue\": \"Clean American\""},
                          Sample{"gen2_lead_pitch.syx", "\"yActive\": \"*\""},
                          Sample{"gen1_brit_crunch.syx", "\"modifier\": \"*\""},
                          Sample{"gen1_wah_trem.syx", "\"effectName\": \"Tremolo 1\""}}) {
    std::string out = dir.file("out.json");
    std::string path = std::string(TONALYX_SOURCE_DIR) + "/examples/" + s.file;
    ASSERT_EQ(std::system((cli + "decode --json '" + path + "' >'" + out + "'").c_str()), 0) << s.file;
    std::string json = ReadFile(out);
    EXPECT_NE(json.find(s.expect), std::string::npos) << s.file;
    EXPECT_EQ(json.find("\"rows\": []"), std::string::npos) << s.file;
  }
}

}  // namespace

TEST_F(CliDecodeTest, RelativePresetPathsAlsoResolveFromWhereTheCommandStarted) {
  txtest::TempDir elsewhere;
  WriteFile(elsewhere.file("mine.syx"), Bytes(Sample().Bytes()));
  std::string out = dir_.file("stdout.txt");
  std::string cmd = "cd '" + elsewhere.path().string() + "' && " + std::string(TONALYX_CLI) + " --workdir '" +
                    dir_.path().string() + "' decode --json mine.syx >'" + out + "' 2>/dev/null";
  int raw = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  EXPECT_NE(ReadFile(out).find("\"effectName\": \"Amp 1\""), std::string::npos);
  // Neither in the working directory nor where the command started: unreadable.
  EXPECT_EQ(Run("decode nowhere.syx").status, 3);
}
