#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "draw/bmp_file.h"
#include "outputs/block_image.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// DBEffects as a map from effect id to its first row.
class FakeEffects : public tx::EffectRows {
 public:
  bool FirstByEffectId(int32_t effectId, tx::EffectRecord& row) override {
    ++lookups;
    auto it = rows.find(effectId);
    if (it == rows.end()) return false;
    row = it->second;
    return true;
  }
  void Add(int32_t id, const char* type, int32_t variantParameter, int32_t bypassParameter) {
    tx::EffectRecord r;
    r.DEVICETYPE = 3;
    r.EFFECTID = id;
    r.EFFECTTYPE = type;
    r.EFFECTVARIANTPARAMETERID = variantParameter;
    r.EFFECTBYPASSPARAMETERID = bypassParameter;
    rows[id] = r;
  }
  std::map<int32_t, tx::EffectRecord> rows;
  int lookups = 0;
};

class RecordingCanvas : public tx::Canvas {
 public:
  void ReportError(const std::string& message, const std::string& operation) override {
    errors.push_back(operation + ": " + message);
  }
  std::vector<std::string> errors;
};

tx::BlockQueueEntry Entry(int32_t id, int parameterId, int32_t value) {
  tx::BlockQueueEntry e;
  e.EFFECTID = id;
  e.PARAMETERS[static_cast<size_t>(parameterId)] = value;
  return e;
}

// Runs each test in a scratch working directory that sees the real pictures.
class BlockImage : public ::testing::Test {
 protected:
  BlockImage() : cwd_(dir_.path()) {
    fs::create_directory_symlink(fs::path(TONALYX_SOURCE_DIR) / "assets", dir_.path() / "assets");
    for (auto& row : preset.state.grid)
      for (auto& cell : row) cell.blockId = 400;  // empty unless a test says otherwise
  }
  void SetCell(int r, int c, uint16_t id, uint16_t mask = 0) {
    preset.state.grid[r - 1][c - 1] = tx::BlockCell{id, mask};
  }
  // The canvas shows `file` with its top-left pixel at (x, y).
  bool ShowsPicture(const std::string& file, int x, int y) {
    tx::BmpPicture p;
    if (tx::ReadBmpFile(file, p).status != tx::BmpPicture::OK) return false;
    for (int row = 0; row < p.height; ++row)
      for (int col = 0; col < p.width; ++col) {
        if (x + col < 1 || y + row < 1) continue;
        const uint8_t* s = p.Row(row) + 3 * col;
        if (canvas.Pixel(x + col, y + row) != (s[2] | (s[1] << 8) | (s[0] << 16))) return false;
      }
    return true;
  }
  bool CellBlack(int r, int c) {
    const int x0 = (c - 1) * 65, y0 = (r - 1) * 57;
    for (int y = std::max(1, y0); y < y0 + tx::BLOCK_PICTURE_HEIGHT; ++y)
      for (int x = std::max(1, x0); x < x0 + tx::BLOCK_PICTURE_WIDTH; ++x)
        if (canvas.Pixel(x, y) != 0) return false;
    return true;
  }
  int GreyIn(int left, int right, int top, int bottom) {
    int n = 0;
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) n += canvas.Pixel(x, y) == tx::BLOCK_LINK_COLOUR;
    return n;
  }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_;

 public:
  tx::CurrentPreset preset;
  FakeEffects effects;
  RecordingCanvas canvas;
};

TEST_F(BlockImage, AllZeroGridShowsTheEmptyBlockInEveryCellAndNoLinks) {
  for (auto& row : preset.state.grid)
    for (auto& cell : row) cell = tx::BlockCell{0, 0};
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_TRUE(canvas.errors.empty()) << canvas.errors.front();
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 12; ++c)
      EXPECT_TRUE(ShowsPicture("assets/block_block.bmp", (c - 1) * 65, (r - 1) * 57)) << r << "," << c;
  EXPECT_EQ(GreyIn(1, canvas.Width(), 1, canvas.Height()), 0);
  EXPECT_EQ(effects.lookups, 0);
}

TEST_F(BlockImage, BlockIdClasses) {
  SetCell(1, 1, 99);
  SetCell(1, 2, 200);
  SetCell(1, 3, 399);
  SetCell(1, 4, 400);
  SetCell(1, 5, 65535);
  SetCell(2, 1, 150);  // an effect the definitions do not know
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_TRUE(ShowsPicture("assets/block_block.bmp", 0, 0));
  EXPECT_TRUE(ShowsPicture("assets/block_shunt.bmp", 65, 0));
  EXPECT_TRUE(ShowsPicture("assets/block_shunt.bmp", 130, 0));
  EXPECT_TRUE(CellBlack(1, 4));
  EXPECT_TRUE(CellBlack(1, 5));
  EXPECT_TRUE(ShowsPicture("assets/block_unknown.bmp", 0, 57));
  EXPECT_TRUE(canvas.errors.empty());
}

TEST_F(BlockImage, EffectPictureByTypeNameInLowerCase) {
  effects.Add(106, "Amp", 0, 7);
  effects.Add(120, "Graphic EQ", 0, 7);
  SetCell(3, 12, 106);
  tx::BlockCell twoWords{120, 0};
  EXPECT_EQ(tx::BlockPicture(twoWords, preset.PQ, effects), "assets/block_graphic eq.bmp");
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_TRUE(ShowsPicture("assets/block_amp.bmp", 11 * 65, 2 * 57)) << "the last column is not cut off";
}

TEST_F(BlockImage, BypassNeedsAVariantParameterAndBypassValueOne) {
  effects.Add(106, "Amp", 0, 7);
  effects.Add(112, "Delay", -1, 7);
  effects.Add(116, "Chorus", 2, 300);
  effects.Add(108, "Cab", 1, 0);
  preset.PQ = {Entry(106, 7, 1), Entry(108, 0, 1), Entry(112, 7, 1), Entry(116, 254, 1)};
  const auto picture = [&](uint16_t id) { return tx::BlockPicture(tx::BlockCell{id, 0}, preset.PQ, effects); };
  EXPECT_EQ(picture(106), "assets/block_amp_bypass.bmp");
  EXPECT_EQ(picture(108), "assets/block_cab_bypass.bmp") << "bypass parameter id 0 is entry 1";
  EXPECT_EQ(picture(112), "assets/block_delay.bmp") << "variant parameter -1: never bypassed";
  EXPECT_EQ(picture(116), "assets/block_chorus.bmp") << "bypass parameter beyond the held values";
  preset.PQ[0].PARAMETERS[7] = 2;
  EXPECT_EQ(picture(106), "assets/block_amp.bmp");
  preset.PQ.erase(preset.PQ.begin());
  EXPECT_EQ(picture(106), "assets/block_amp.bmp") << "no queue entry";

  preset.PQ = {Entry(106, 7, 1)};
  SetCell(1, 1, 106);
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_TRUE(ShowsPicture("assets/block_amp_bypass.bmp", 0, 0));
}

TEST_F(BlockImage, MissingPictureIsReportedAndDrawingGoesOn) {
  effects.Add(130, "Theremin", 0, 1);
  SetCell(1, 1, 130);
  SetCell(1, 2, 0);
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  ASSERT_EQ(canvas.errors.size(), 1u);
  EXPECT_EQ(canvas.errors[0].rfind("Image(): Unable to open bitmap file: assets/block_theremin.bmp", 0), 0u);
  EXPECT_TRUE(CellBlack(1, 1));
  EXPECT_TRUE(ShowsPicture("assets/block_block.bmp", 65, 0));
}

TEST_F(BlockImage, StraightLinkFillsTheGapAtTheConnectionPoint) {
  SetCell(2, 3, 400, 2);  // from row 2 of column 2
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  // Column 3 starts at x = 130; the gap is x = 109..129; row 2 connects at y = 74.
  EXPECT_EQ(GreyIn(109, 129, 74, 75), 42);
  EXPECT_EQ(GreyIn(1, canvas.Width(), 1, canvas.Height()), 42);
}

TEST_F(BlockImage, MaskFiveGivesTwoLinksToRowsOneAndThree) {
  SetCell(2, 3, 400, 5 | 0x30);  // bits above 8 are ignored
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  const int total = GreyIn(1, canvas.Width(), 1, canvas.Height());
  EXPECT_EQ(GreyIn(108, 131, 18, 131), total) << "everything lies in the gap left of column 3";
  EXPECT_GT(GreyIn(108, 131, 18, 74), 100) << "up to row 1";
  EXPECT_GT(GreyIn(108, 131, 76, 131), 100) << "down to row 3";
  EXPECT_GT(GreyIn(126, 131, 72, 78), 2) << "both start at the cell's left edge, at its own row";
  EXPECT_GT(GreyIn(108, 112, 18, 22), 0) << "one ends at row 1 of the previous column";
  EXPECT_GT(GreyIn(108, 112, 127, 131), 0) << "the other at row 3";
}

TEST_F(BlockImage, LinksOfTheFirstColumnFallOutsideTheCanvas) {
  for (int r = 1; r <= 4; ++r) SetCell(r, 1, 400, 15);
  canvas.Init(800, 220);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_EQ(GreyIn(1, canvas.Width(), 1, canvas.Height()), 0);
}

TEST_F(BlockImage, SmallControlIsGrownToHoldTheWholeGridAndLargeOneKept) {
  canvas.Init(663, 177);  // what 442 x 109 dialog units give at the usual font
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_EQ(canvas.Width(), tx::BLOCK_IMAGE_MIN_WIDTH);
  EXPECT_EQ(canvas.Height(), tx::BLOCK_IMAGE_MIN_HEIGHT);
  EXPECT_EQ(canvas.PenWidth(), 2);
  RecordingCanvas big;
  big.Init(900, 300);
  tx::DrawBlockImage(big, preset, effects);
  EXPECT_EQ(big.Width(), 900);
  EXPECT_EQ(big.Height(), 300);
}

TEST_F(BlockImage, WritesTmp01PngOfTheCanvasAndShowsIt) {
  SetCell(1, 1, 0);
  SetCell(4, 12, 200, 8);
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::DrawBlockImage(canvas, preset, effects);
  EXPECT_EQ(canvas.DisplayPixel(760 - 10, 190), canvas.Pixel(760 - 10, 190));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, "tmp01.png"));
  EXPECT_EQ(static_cast<int>(image.width), canvas.Width());
  EXPECT_EQ(static_cast<int>(image.height), canvas.Height());
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  for (int y = 1; y <= canvas.Height(); y += 7)
    for (int x = 1; x <= canvas.Width(); x += 5) {
      const uint8_t* p = &rgb[3 * ((y - 1) * canvas.Width() + (x - 1))];
      ASSERT_EQ(p[0] | (p[1] << 8) | (p[2] << 16), canvas.Pixel(x, y)) << x << "," << y;
    }
  if (std::system("command -v pngcheck >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system("pngcheck -q tmp01.png >/dev/null"), 0);
  }
  const std::string saved = (fs::current_path() / "Clean Tone.png").string();
  preset.state.PRESETNAME = "Clean Tone";
  EXPECT_EQ(tx::ProposedImageName(preset.state), "Clean Tone.png");
  EXPECT_TRUE(tx::SaveBlockImage(canvas, saved));
  EXPECT_TRUE(fs::exists(saved));
}

}  // namespace
