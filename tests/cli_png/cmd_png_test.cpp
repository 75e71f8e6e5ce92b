// tonalyx-cli png, run as a separate process in a scratch working directory
// holding a small DBEffects table and the block pictures.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "devicedefs/tables.h"
#include "draw/bmp_file.h"
#include "outputs/block_image.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/error_manager.h"
#include "services/file_manager.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class PngCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory_symlink(fs::path(TONALYX_SOURCE_DIR) / "assets", dir.path() / "assets");
    // DBEffects with an amp (bypass parameter 4, variant parameter 0) and a delay.
    txtest::ScopedCwd cwd(dir.path());
    tx::ConsoleToolkit toolkit;
    tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
    {
      auto errors = std::make_unique<tx::ErrorManager>();
      auto tables = std::make_unique<tx::TableSet>();
      tx::InitTables(*tables, errors.get());
      ASSERT_EQ(tables->DBEffects.Open(), tx::Level::Done);
      for (auto [id, type] : {std::pair{106, "Amp"}, std::pair{112, "Delay"}}) {
        tables->effect = tx::EffectRecord();
        tables->effect.DEVICETYPE = 3;
        tables->effect.EFFECTID = id;
        tables->effect.EFFECTTYPE = type;
        tables->effect.EFFECTVARIANTPARAMETERID = 0;
        tables->effect.EFFECTBYPASSPARAMETERID = 4;
        ASSERT_EQ(tables->DBEffects.Insert(), tx::Level::Done);
      }
      tables->DBEffects.Close();
    }
    tx::SetToolkit(previous);

    txtools::PresetBuilder b(3);
    b.Name("Lead").Number(7).Cell(2, 1, 106).Cell(2, 2, 112, 2).Cell(2, 3, 200, 2);
    b.Block({106, false, {0, 0, 0, 0, 1}}).Block({112, false, {0, 0, 0, 0, 0}});
    const auto bytes = b.Bytes();
    std::ofstream(dir.file("lead.syx"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream(dir.file("junk.syx")) << "not a preset at all";
  }

  int Run(const std::string& args) {
    const std::string command = std::string("'") + TONALYX_CLI + "' --workdir '" + dir.path().string() + "' " + args +
                                " >'" + dir.file("out.txt") + "' 2>'" + dir.file("err.txt") + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  txtest::TempDir dir;
};

TEST_F(PngCommand, WritesTmp01AndTheNamedFileWithTheWholeGrid) {
  ASSERT_EQ(Run("png lead.syx lead.png"), 0) << Slurp(dir.file("err.txt"));
  const std::string tmp = Slurp(dir.path() / "tmp01.png");
  ASSERT_FALSE(tmp.empty());
  EXPECT_EQ(tmp, Slurp(dir.path() / "lead.png"));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, dir.file("lead.png").c_str()));
  EXPECT_EQ(static_cast<int>(image.width), tx::BLOCK_IMAGE_MIN_WIDTH);
  EXPECT_EQ(static_cast<int>(image.height), tx::BLOCK_IMAGE_MIN_HEIGHT);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));

  // Cell (2, 1) shows the bypassed amp (bypass value 1), cell (2, 2) the delay.
  auto matches = [&](const char* picture, int x0, int y0) {
    tx::BmpPicture p;
    if (tx::ReadBmpFile(std::string(TONALYX_SOURCE_DIR) + "/assets/" + picture, p).status != tx::BmpPicture::OK)
      return false;
    for (int row = 0; row < p.height; ++row)
      for (int col = 0; col < p.width; ++col) {
        const int x = x0 + col, y = y0 + row;
        if (x < 1 || y < 1) continue;
        const uint8_t* s = p.Row(row) + 3 * col;
        const uint8_t* q = &rgb[3 * static_cast<size_t>((y - 1) * static_cast<int>(image.width) + (x - 1))];
        if (q[0] != s[2] || q[1] != s[1] || q[2] != s[0]) return false;
      }
    return true;
  };
  EXPECT_TRUE(matches("block_amp_bypass.bmp", 0, 57));
  EXPECT_TRUE(matches("block_delay.bmp", 65, 57));
  EXPECT_TRUE(matches("block_block.bmp", 11 * 65, 3 * 57)) << "bottom-right cell is inside the picture";
}

TEST_F(PngCommand, ExitCodesFollowTheDecodeCommand) {
  EXPECT_EQ(Run("png junk.syx out.png"), 1);
  EXPECT_FALSE(fs::exists(dir.path() / "out.png"));
  EXPECT_FALSE(fs::exists(dir.path() / "tmp01.png"));
  EXPECT_EQ(Run("png lead.syx"), 2);
  EXPECT_EQ(Run("png --bogus lead.syx out.png"), 2);
  EXPECT_EQ(Run("png missing.syx out.png"), 3);
  EXPECT_NE(Slurp(dir.file("err.txt")).find("missing.syx"), std::string::npos);
}

TEST_F(PngCommand, UnwritableOutputFailsAndCanvasErrorsShowWithDrawDebug) {
  EXPECT_EQ(Run("png lead.syx no-such-folder/out.png"), 1);
  EXPECT_TRUE(fs::exists(dir.path() / "tmp01.png"));
  EXPECT_NE(Slurp(dir.file("err.txt")).find("no-such-folder/out.png"), std::string::npos);

  EXPECT_EQ(Run("png --draw-debug lead.syx no-such-folder/out.png"), 1);
  EXPECT_NE(Slurp(dir.file("err.txt")).find("An error occured in WritePNG, error: An error occured when attempting "
                                             "create a new PNG file"),
            std::string::npos);
}

}  // namespace
