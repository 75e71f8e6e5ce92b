#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "draw/png_writer.h"
#include "recording_canvas.h"
#include "support/failing_files.h"
#include "support/temp_dir.h"

namespace {

using txtest::RecordingCanvas;

struct DecodedPng {
  bool ok = false;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0;
  size_t rowBytes = 0;
  std::vector<std::vector<uint8_t>> rows;
};

// Reads a PNG with libpng's own reader, keeping the header fields as stored.
DecodedPng ReadPng(const std::string& path) {
  DecodedPng d;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return d;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    d.ok = false;
    return d;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  png_get_IHDR(png, info, &d.width, &d.height, &d.bitDepth, &d.colourType, &d.interlace, nullptr, nullptr);
  d.rowBytes = png_get_rowbytes(png, info);
  d.rows.assign(d.height, std::vector<uint8_t>(d.rowBytes));
  for (auto& row : d.rows) png_read_row(png, row.data(), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  d.ok = true;
  return d;
}

std::vector<std::string> ChunkTypes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> types;
  size_t at = 8;
  while (at + 12 <= b.size()) {
    const size_t length = (size_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
    types.emplace_back(reinterpret_cast<const char*>(&b[at + 4]), 4);
    at += 12 + length;
  }
  EXPECT_EQ(at, b.size()) << "chunks end exactly at the end of the file";
  return types;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t EntriesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for (auto it = std::filesystem::directory_iterator(dir); it != std::filesystem::directory_iterator(); ++it) ++n;
  return n;
}

class PngOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    canvas.Init(5, 3);  // 15 bytes a row: not a multiple of 4
    canvas.Plot(1, 1, 0x000000FF);
    canvas.Plot(2, 1, 0x0000FF00);
    canvas.Plot(5, 3, 0x00FF0000);
    canvas.Plot(3, 2, 0x00332211);
    canvas.Display();
  }
  txtest::TempDir dir;
  RecordingCanvas canvas;
};

TEST_F(PngOutput, RowsTopToBottomInRgbWithoutPadding) {
  const std::string path = dir.file("out.png");
  ASSERT_TRUE(canvas.WritePNG(path));
  EXPECT_TRUE(canvas.errors.empty());
  DecodedPng d = ReadPng(path);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.width, 5u);
  EXPECT_EQ(d.height, 3u);
  EXPECT_EQ(d.bitDepth, 8);
  EXPECT_EQ(d.colourType, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(d.interlace, PNG_INTERLACE_NONE);
  EXPECT_EQ(d.rowBytes, 15u);
  const std::vector<uint8_t> first = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(d.rows[0], first) << "pixel (1, 1) starts the first row";
  EXPECT_EQ(d.rows[1][6], 0x11);
  EXPECT_EQ(d.rows[1][7], 0x22);
  EXPECT_EQ(d.rows[1][8], 0x33);
  EXPECT_EQ(d.rows[2][14], 0xFF);
  EXPECT_EQ(d.rows[2][12], 0);
  // The rows go to the encoder straight from the display picture: writing
  // must not swap its colours in place, so a second file is the same.
  const std::string again = dir.file("again.png");
  ASSERT_TRUE(canvas.WritePNG(again));
  EXPECT_EQ(ReadText(again), ReadText(path));
}

TEST_F(PngOutput, OnlyHeaderDataAndEndChunks) {
  const std::string path = dir.file("chunks.png");
  ASSERT_TRUE(canvas.WritePNG(path));
  auto types = ChunkTypes(path);
  ASSERT_GE(types.size(), 3u);
  EXPECT_EQ(types.front(), "IHDR");
  EXPECT_EQ(types.back(), "IEND");
  for (size_t i = 1; i + 1 < types.size(); ++i) EXPECT_EQ(types[i], "IDAT");
}

TEST_F(PngOutput, PassesPngcheck) {
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "pngcheck not installed";
  const std::string path = dir.file("checked.png");
  ASSERT_TRUE(canvas.WritePNG(path));
  EXPECT_EQ(std::system(("pngcheck -q '" + path + "' >/dev/null").c_str()), 0);
}

TEST_F(PngOutput, WritesTheLastDisplayedStateAndReplacesAnOlderFile) {
  const std::string path = dir.file("twice.png");
  ASSERT_TRUE(canvas.WritePNG(path));
  canvas.Blank(0xFFFFFF);
  ASSERT_TRUE(canvas.WritePNG(path));
  EXPECT_EQ(ReadPng(path).rows[0][3], 0) << "not displayed yet: the old picture";
  canvas.Display();
  ASSERT_TRUE(canvas.WritePNG(path));
  DecodedPng d = ReadPng(path);
  ASSERT_TRUE(d.ok);
  for (uint8_t b : d.rows[1]) EXPECT_EQ(b, 0xFF);
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary files left behind";
}

TEST_F(PngOutput, UncreatableFileIsReportedAndNothingWritten) {
  const std::string path = dir.file("missing-folder/out.png");
  EXPECT_FALSE(canvas.WritePNG(path));
  ASSERT_EQ(canvas.errors.size(), 1u);
  EXPECT_EQ(canvas.errors[0].first, "WritePNG");
  EXPECT_EQ(canvas.errors[0].second, "An error occured when attempting create a new PNG file: No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PngOutput, TargetThatCannotBeReplacedIsReportedAndLeftAsItWas) {
  const std::filesystem::path target = dir.path() / "taken.png";
  std::filesystem::create_directories(target / "inside");
  EXPECT_FALSE(canvas.WritePNG(target.string()));
  ASSERT_EQ(canvas.errors.size(), 1u);
  EXPECT_EQ(canvas.errors[0].second.rfind("Unable to delete the old PNG file before creating a new one. Error ", 0), 0u)
      << canvas.errors[0].second;
  EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(PngWriter, FailedEncodingKeepsTheOldFile) {
  txtest::TempDir dir;
  const std::string path = dir.file("old.png");
  { std::ofstream(path) << "previous picture"; }
  // Wider than libpng accepts by default: the encoder fails after the file was opened.
  const int width = 2000000;
  std::vector<uint8_t> bmp(54 + static_cast<size_t>(width) * 3, 0);
  tx::PngWriteResult r = tx::WritePngFile(path, bmp.data(), width, 1);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message.rfind("An error occured when writing the PNG file: ", 0), 0u) << r.message;
  EXPECT_EQ(ReadText(path), "previous picture");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(PngWriter, EmptyCanvasOrNameWritesNothing) {
  txtest::TempDir dir;
  RecordingCanvas empty;
  empty.Init(0, 0);
  empty.Display();
  EXPECT_FALSE(empty.WritePNG(dir.file("empty.png")));
  EXPECT_EQ(empty.errors.size(), 1u);
  EXPECT_FALSE(empty.WritePNG("   "));
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

TEST(PngWriter, ReplacedFileKeepsItsPermissions) {
  txtest::TempDir dir;
  const std::string path = dir.file("perm.png");
  { std::ofstream(path) << "x"; }
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  tx::Canvas c;
  c.Init(2, 2);
  c.Display();
  ASSERT_TRUE(c.WritePNG(path));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

TEST(PngWriter, EveryFailingWriteKeepsTheOldFileAndLeavesNothingBeside) {
  txtest::TempDir dir;
  const std::string path = dir.file("old.png");
  { std::ofstream(path) << "previous picture"; }
  tx::Canvas c;
  c.Init(300, 200);  // more than one write's worth of compressed rows: noise barely compresses
  uint32_t noise = 12345;
  for (int y = 1; y <= 200; ++y)
    for (int x = 1; x <= 300; ++x) c.Plot(x, y, static_cast<int32_t>((noise = noise * 1664525u + 1013904223u) >> 8));
  c.Display();
  const int writes = txtest::UnderEveryWriteFailure([&] { return c.WritePNG(path); },
                                                    [&] { return txtest::DirectoryState(dir.path()); });
  EXPECT_GT(writes, 1);
}

}  // namespace
