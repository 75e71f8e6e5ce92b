#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmp_builder.h"
#include "draw/bmp_file.h"
#include "recording_canvas.h"
#include "support/temp_dir.h"

namespace {

using txtest::Bmp24;
using txtest::Bmp8;
using txtest::Put16;
using txtest::Put32;
using txtest::RecordingCanvas;
using txtest::WriteFile;

// A picture whose every pixel tells where it came from: red = column + 1,
// green = row + 1, blue = 0x40.
uint32_t Marker(int col, int row) { return 0x400000u | static_cast<uint32_t>((row + 1) << 8) | (col + 1); }

class CanvasImage : public ::testing::Test {
 protected:
  void SetUp() override { canvas.Init(12, 10); }
  std::string Put(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = dir.file(name);
    WriteFile(path, bytes);
    return path;
  }
  int Drawn() const {
    int n = 0;
    for (int y = 1; y <= canvas.Height(); ++y)
      for (int x = 1; x <= canvas.Width(); ++x) n += canvas.Pixel(x, y) != 0;
    return n;
  }
  void ExpectRejected(const std::string& path, const std::string& message) {
    canvas.errors.clear();
    canvas.Image(path, 1, 1);
    ASSERT_EQ(canvas.errors.size(), 1u) << path;
    EXPECT_EQ(canvas.errors[0].first, "Image");
    EXPECT_EQ(canvas.errors[0].second, message);
    EXPECT_EQ(Drawn(), 0) << "a refused picture leaves the canvas alone";
  }
  txtest::TempDir dir;
  RecordingCanvas canvas;
};

TEST_F(CanvasImage, TwentyFourBitPictureLandsWithItsTopLeftAtXY) {
  const std::string path = Put("p.bmp", Bmp24(5, 3, Marker));
  canvas.Image(path, 3, 2);
  EXPECT_TRUE(canvas.errors.empty());
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 5; ++col) EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(3 + col, 2 + row)), Marker(col, row));
  EXPECT_EQ(Drawn(), 15);
}

TEST_F(CanvasImage, PlacedAtZeroLosesLeftColumnAndTopRow) {
  const std::string path = Put("p.bmp", Bmp24(4, 3, Marker));
  canvas.Image(path, 0, 0);
  EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(1, 1)), Marker(1, 1));
  EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(3, 2)), Marker(3, 2));
  EXPECT_EQ(Drawn(), 3 * 2);
}

TEST_F(CanvasImage, PartsBeyondTheRightAndBottomEdgeAreNotDrawn) {
  const std::string path = Put("p.bmp", Bmp24(5, 5, Marker));
  canvas.Image(path, 10, 8);
  EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(12, 10)), Marker(2, 2));
  EXPECT_EQ(Drawn(), 3 * 3);
  canvas.Blank();
  canvas.Image(path, 13, 1);
  canvas.Image(path, 1, 11);
  canvas.Image(path, -5, 1);
  canvas.Image(path, -2000000000, -2000000000);
  canvas.Image(path, 2000000000, 2000000000);
  EXPECT_EQ(Drawn(), 0);
  EXPECT_TRUE(canvas.errors.empty());
}

TEST_F(CanvasImage, TransparentColourIsSkipped) {
  const std::string path = Put("p.bmp", Bmp24(3, 1, [](int col, int) { return col == 1 ? 0x00FF00u : 0x0000FFu; }));
  canvas.Blank(0x123456);
  canvas.Image(path, 1, 1, 0x00FF00);
  EXPECT_EQ(canvas.Pixel(1, 1), 0x0000FF);
  EXPECT_EQ(canvas.Pixel(2, 1), 0x123456);
  canvas.Image(path, 1, 1);
  EXPECT_EQ(canvas.Pixel(2, 1), 0x00FF00);
}

TEST_F(CanvasImage, EightBitPaletteLookupAndIndex255LeftUndrawn) {
  std::vector<uint32_t> palette(256, 0x0A0B0C);
  palette[1] = 0x0000FF;
  palette[2] = 0xFF0000;
  const std::string path = Put("p8.bmp", Bmp8(3, 2, palette, [](int col, int row) { return row == 0 ? col : 255; }));
  canvas.Blank(0x123456);
  canvas.Image(path, 1, 1);
  EXPECT_TRUE(canvas.errors.empty());
  EXPECT_EQ(canvas.Pixel(1, 1), 0x0A0B0C);
  EXPECT_EQ(canvas.Pixel(2, 1), 0x0000FF);
  EXPECT_EQ(canvas.Pixel(3, 1), 0xFF0000);
  for (int x = 1; x <= 3; ++x) EXPECT_EQ(canvas.Pixel(x, 2), 0x123456) << x;
}

TEST_F(CanvasImage, EightBitIndexBeyondAShortPaletteIsUndrawn) {
  const std::string path = Put("p8.bmp", Bmp8(4, 1, {0x0000FF, 0x00FF00}, [](int col, int) { return col; }));
  canvas.Image(path, 1, 1);
  EXPECT_EQ(canvas.Pixel(1, 1), 0x0000FF);
  EXPECT_EQ(canvas.Pixel(2, 1), 0x00FF00);
  EXPECT_EQ(canvas.Pixel(3, 1), 0);
  EXPECT_EQ(canvas.Pixel(4, 1), 0);
}

TEST_F(CanvasImage, TopDownPictureKeepsItsOrientation) {
  auto bytes = Bmp24(3, 2, Marker);
  // Same pixels stored top row first, announced by a negative height.
  std::vector<uint8_t> flipped = bytes;
  std::copy(bytes.begin() + 54, bytes.begin() + 66, flipped.begin() + 66);
  std::copy(bytes.begin() + 66, bytes.begin() + 78, flipped.begin() + 54);
  Put32(flipped, 22, static_cast<uint32_t>(-2));
  canvas.Image(Put("td.bmp", flipped), 1, 1);
  EXPECT_TRUE(canvas.errors.empty());
  EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(1, 1)), Marker(0, 0));
  EXPECT_EQ(static_cast<uint32_t>(canvas.Pixel(3, 2)), Marker(2, 1));
}

TEST_F(CanvasImage, MissingFileIsReportedWithTheSystemError) {
  const std::string path = dir.file("block_none.bmp");
  canvas.Image(path, 1, 1);
  ASSERT_EQ(canvas.errors.size(), 1u);
  EXPECT_EQ(canvas.errors[0].first, "Image()");
  EXPECT_EQ(canvas.errors[0].second, "Unable to open bitmap file: " + path +
                                         ", file may be missing or filename may be incorrect. Error 2:"
                                         "No such file or directory");
  canvas.errors.clear();
  canvas.Image(dir.path().string(), 1, 1);  // a directory is no picture either
  EXPECT_EQ(canvas.errors.size(), 1u);
}

TEST_F(CanvasImage, MalformedFilesAreRefused) {
  const auto good = Bmp24(4, 4, Marker);
  const std::string notValid = " is not a valid image file, or is of an unknown type";

  auto magic = good;
  magic[0] = 'M';
  std::string p = Put("magic.bmp", magic);
  ExpectRejected(p, p + notValid);

  p = Put("empty.bmp", {});
  ExpectRejected(p, p + notValid);
  p = Put("header.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 40));
  ExpectRejected(p, p + notValid);
  p = Put("rows.bmp", std::vector<uint8_t>(good.begin(), good.end() - 13));
  ExpectRejected(p, p + notValid);

  for (int bits : {1, 4, 16, 32}) {
    auto deep = good;
    Put16(deep, 28, static_cast<uint32_t>(bits));
    p = Put("bits" + std::to_string(bits) + ".bmp", deep);
    ExpectRejected(p, "Sorry, but " + p + " contains an unsupported number of colors.");
  }
}

TEST_F(CanvasImage, HeadersClaimingMoreThanTheFileHoldsAreRefused) {
  const auto good = Bmp24(4, 4, Marker);
  const std::string notValid = " is not a valid image file, or is of an unknown type";
  struct Lie {
    const char* name;
    size_t at;
    uint32_t value;
    bool wide;
  };
  const Lie lies[] = {
      {"width", 18, 0x7FFFFFFF, true},   {"width16", 18, 0xFFFF, true},  {"height", 22, 0xFFFF, true},
      {"height2", 22, 5, true},          {"negwidth", 18, 0xFFFFFFFC, true},
      {"zeroheight", 22, 0, true},       {"offset", 10, 0xFFFFFF00, true}, {"offset2", 10, 60, true},
      {"infosize", 14, 0x7FFFFFF0, true}, {"coreheader", 14, 12, true},   {"compressed", 30, 1, true},
      {"minheight", 22, 0x80000000, true},
  };
  for (const Lie& lie : lies) {
    auto bytes = good;
    Put32(bytes, lie.at, lie.value);
    const std::string p = Put(std::string(lie.name) + ".bmp", bytes);
    ExpectRejected(p, p + notValid);
  }

  auto eight = Bmp8(4, 4, {0x0000FF, 0x00FF00}, [](int, int) { return 1; });
  auto manyColours = eight;
  Put32(manyColours, 46, 1000);
  std::string p = Put("palette1000.bmp", manyColours);
  ExpectRejected(p, p + notValid);
  auto moreColours = eight;
  Put32(moreColours, 46, 200);  // fits the 256 limit, not the file
  p = Put("palette200.bmp", moreColours);
  ExpectRejected(p, p + notValid);
}

TEST(BmpParse, EveryTruncationOfAValidFileIsRefusedWithoutReadingPastIt) {
  const auto full = Bmp8(5, 3, {0x0000FF, 0x00FF00, 0xFF0000}, [](int col, int row) { return (col + row) % 3; });
  tx::BmpPicture picture;
  ASSERT_EQ(tx::ParseBmp(full, picture), tx::BmpPicture::OK);
  EXPECT_EQ(picture.width, 5);
  EXPECT_EQ(picture.height, 3);
  EXPECT_EQ(picture.palette.size(), 3u);
  // The final row may come without its padding bytes.
  const size_t lastRowPadding = 3;
  for (size_t n = 0; n + lastRowPadding < full.size(); ++n) {
    std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
    EXPECT_NE(tx::ParseBmp(cut, picture), tx::BmpPicture::OK) << n;
  }
  std::vector<uint8_t> unpadded(full.begin(), full.end() - lastRowPadding);
  EXPECT_EQ(tx::ParseBmp(unpadded, picture), tx::BmpPicture::OK);
}

}  // namespace
