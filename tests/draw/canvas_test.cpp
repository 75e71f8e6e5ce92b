#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "draw/canvas.h"
#include "recording_canvas.h"

namespace {

using txtest::RecordingCanvas;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGrey = 12632256;

int CountColour(const tx::Canvas& c, int32_t colour) {
  int n = 0;
  for (int y = 1; y <= c.Height(); ++y)
    for (int x = 1; x <= c.Width(); ++x) n += c.Pixel(x, y) == colour;
  return n;
}

TEST(CanvasLayout, BuffersFollowBottomUpBmpRowsWithPadding) {
  tx::Canvas c;
  c.Init(5, 3);
  EXPECT_EQ(c.RowPadding(), 1);
  ASSERT_EQ(c.Store().size(), 54u + 3 * 16 + 1);
  EXPECT_EQ(c.PictureSize(), 54u + 3 * 16);
  EXPECT_EQ(c.PenWidth(), 1);
  c.Plot(1, 1, 0x00332211);  // top-left lands in the last stored row
  const auto& s = c.Store();
  EXPECT_EQ(s[54 + 2 * 16 + 0], 0x33);
  EXPECT_EQ(s[54 + 2 * 16 + 1], 0x22);
  EXPECT_EQ(s[54 + 2 * 16 + 2], 0x11);
  c.Plot(5, 3, 0x00665544);  // bottom-right: first stored row, last pixel
  EXPECT_EQ(s[54 + 12], 0x66);
  EXPECT_EQ(s[54 + 14], 0x44);
  EXPECT_EQ(s[54 + 15], 0);  // padding untouched
  EXPECT_EQ(c.Pixel(1, 1), 0x00332211);
  EXPECT_EQ(c.Pixel(0, 1), tx::kNoColour);
  EXPECT_EQ(c.Pixel(6, 1), tx::kNoColour);
}

TEST(CanvasLayout, PaddingForEachWidthModulo4) {
  const int expected[4] = {0, 1, 2, 3};  // widths 4, 5, 6, 7
  for (int w = 4; w < 8; ++w) {
    tx::Canvas c;
    c.Init(w, 2);
    EXPECT_EQ(c.RowPadding(), expected[w - 4]) << w;
    EXPECT_EQ((3 * w + c.RowPadding()) % 4, 0);
  }
}

TEST(CanvasBlank, NoColourAndWhiteAndOtherColours) {
  tx::Canvas c;
  c.Init(3, 2);
  c.Blank(0xFFFFFF);
  for (uint8_t b : c.Store()) ASSERT_EQ(b, 0xFF);
  c.Blank(-1);
  for (uint8_t b : c.Store()) ASSERT_EQ(b, 0);
  c.Blank(1);  // 1 counts as white
  EXPECT_EQ(c.Pixel(2, 2), 0xFFFFFF);
  c.Blank(0x7FFFFFFF);
  EXPECT_EQ(c.Pixel(2, 2), 0xFFFFFF);
  c.Blank(0);
  c.Blank(0x123456);
  EXPECT_EQ(CountColour(c, 0x123456), 6);
  EXPECT_EQ(c.Store()[54 + 9], 0) << "row padding stays zero";
}

TEST(CanvasPlot, OutsideAndPenColourRules) {
  RecordingCanvas c;
  c.Init(4, 4);
  c.Plot(0, 1, kRed);
  c.Plot(1, 0, kRed);
  c.Plot(5, 1, kRed);
  c.Plot(1, 5, kRed);
  c.Plot(-3, -3, kRed);
  EXPECT_EQ(CountColour(c, 0), 16);
  c.Plot(2, 2);  // no colour and no pen colour: nothing
  EXPECT_EQ(CountColour(c, 0), 16);
  c.SetPenColor(0x00C0FFEE & 0xFFFFFF);
  c.Plot(2, 2);
  EXPECT_EQ(c.Pixel(2, 2), 0x00C0FFEE & 0xFFFFFF);
  c.Plot(3, 3, kRed);  // an explicit colour wins over the pen
  EXPECT_EQ(c.Pixel(3, 3), kRed);
  c.Plot(4, 4, 0);  // black is a colour
  c.Blank(0xFFFFFF);
  c.Plot(4, 4, 0);
  EXPECT_EQ(c.Pixel(4, 4), 0);
  EXPECT_TRUE(c.errors.empty());
}

TEST(CanvasLine, StraightRunsCoverTheirExtentOnly) {
  tx::Canvas c;
  c.Init(10, 10);
  c.SetPenColor(kRed);
  c.Line(2, 2, 5, 0);
  for (int x = 2; x <= 6; ++x) EXPECT_EQ(c.Pixel(x, 2), kRed) << x;
  EXPECT_EQ(c.Pixel(1, 2), 0);
  EXPECT_EQ(c.Pixel(7, 2), 0);
  c.Line(9, 3, 0, -3);  // upwards: rows 3, 2, 1
  EXPECT_EQ(c.Pixel(9, 3), kRed);
  EXPECT_EQ(c.Pixel(9, 1), kRed);
  EXPECT_EQ(c.Pixel(9, 4), 0);
  EXPECT_EQ(CountColour(c, kRed), 8);
  c.Line(5, 5, 0, 0);
  EXPECT_EQ(c.Pixel(5, 5), 0);
}

TEST(CanvasLine, ExactDiagonalPlotsOnePixelPerStep) {
  tx::Canvas c;
  c.Init(10, 10);
  c.SetPenColor(kRed);
  c.Line(1, 1, 3, 3);
  c.Line(10, 1, -4, 4);
  EXPECT_EQ(c.Pixel(1, 1), kRed);
  EXPECT_EQ(c.Pixel(3, 3), kRed);
  EXPECT_EQ(c.Pixel(4, 4), 0);
  EXPECT_EQ(c.Pixel(7, 4), kRed);
  EXPECT_EQ(c.Pixel(6, 5), 0);
  EXPECT_EQ(CountColour(c, kRed), 7);
}

TEST(CanvasLine, SlantedThinLineIsConnectedOnePixelPerRow) {
  tx::Canvas c;
  c.Init(20, 20);
  c.SetPenColor(kRed);
  c.Line(2, 1, 4, 12);  // steep: 12 rows, 4 columns
  int previous = 0;
  for (int y = 1; y <= 12; ++y) {
    int inRow = 0, at = 0;
    for (int x = 1; x <= 20; ++x)
      if (c.Pixel(x, y) == kRed) {
        ++inRow;
        at = x;
      }
    ASSERT_EQ(inRow, 1) << "row " << y;
    if (previous) {
      EXPECT_LE(std::abs(at - previous), 1);
    }
    previous = at;
  }
  EXPECT_EQ(c.Pixel(2, 1), kRed);
  EXPECT_EQ(c.Pixel(5, 12), kRed);
  EXPECT_EQ(CountColour(c, kRed), 12);
}

TEST(CanvasLine, LinesOutsideTheCanvasDrawNothingAndHugeExtentsAreClipped) {
  tx::Canvas c;
  c.Init(8, 8);
  c.SetPenColor(kRed);
  c.Line(-30, 4, 20, 0);
  c.Line(4, 20, 0, 5);
  c.Line(20, 20, -5, 9);
  c.Line(-5, -5, -3, -3);
  c.SetPenWidth(2);
  c.Line(-30, 4, 20, 0);
  c.Line(30, 30, -21, 57);
  EXPECT_EQ(CountColour(c, kRed), 0);
  c.SetPenWidth(1);
  c.Line(1, 1, INT_MAX, 0);
  c.Line(INT_MIN + 1, 2, INT_MAX, 3);
  EXPECT_EQ(CountColour(c, kRed) >= 8, true);
  for (int x = 1; x <= 8; ++x) EXPECT_EQ(c.Pixel(x, 1), kRed);
}

TEST(CanvasLine, NoPenColourDrawsNothing) {
  tx::Canvas c;
  c.Init(8, 8);
  c.Line(1, 1, 5, 0);
  c.SetPenWidth(2);
  c.Line(1, 4, 5, 0);
  EXPECT_EQ(CountColour(c, 0), 64);
}

TEST(CanvasWideLine, HorizontalTwoPixelBandCoversTheGapExactly) {
  tx::Canvas c;
  c.Init(40, 40);
  c.SetPenColor(kGrey);
  c.SetPenWidth(2);
  c.Line(30, 18, -21, 0);
  for (int x = 9; x <= 29; ++x) {
    EXPECT_EQ(c.Pixel(x, 17), kGrey) << x;
    EXPECT_EQ(c.Pixel(x, 18), kGrey) << x;
  }
  EXPECT_EQ(CountColour(c, kGrey), 42);
  EXPECT_EQ(c.Pixel(8, 17), 0);
  EXPECT_EQ(c.Pixel(30, 17), 0);
  EXPECT_EQ(c.Pixel(20, 16), 0);
  EXPECT_EQ(c.Pixel(20, 19), 0);
}

TEST(CanvasWideLine, SteepBandIsTwoPixelsWideOnEveryRow) {
  tx::Canvas c;
  c.Init(80, 120);
  c.SetPenColor(kGrey);
  c.SetPenWidth(2);
  c.Line(66, 18, -21, 57);  // a link down one grid row
  for (int y = 18; y < 75; ++y) {
    int inRow = 0;
    for (int x = 1; x <= 80; ++x) inRow += c.Pixel(x, y) == kGrey;
    EXPECT_EQ(inRow, 2) << "row " << y;
  }
  EXPECT_EQ(CountColour(c, kGrey), 2 * 57);
  EXPECT_NE(c.Pixel(65, 18), 0);
  EXPECT_NE(c.Pixel(45, 74) | c.Pixel(46, 74) | c.Pixel(44, 74), 0);
}

TEST(CanvasWideLine, WidePenOnDiagonalAndThickPens) {
  tx::Canvas c;
  c.Init(40, 40);
  c.SetPenColor(kRed);
  c.SetPenWidth(2);
  c.Line(5, 5, 20, 20);
  EXPECT_EQ(c.Pixel(15, 15), kRed);
  int inRow = 0;
  for (int x = 1; x <= 40; ++x) inRow += c.Pixel(x, 15) == kRed;
  EXPECT_GE(inRow, 2);
  EXPECT_LE(inRow, 4);
  c.Blank();
  c.SetPenWidth(5);
  c.Line(10, 20, 20, 0);
  int rows = 0;
  for (int y = 1; y <= 40; ++y) rows += c.Pixel(15, y) == kRed;
  EXPECT_EQ(rows, 5);
}

class FakeHost : public tx::CanvasHost {
 public:
  bool ControlSize(int control, int& width, int& height) override {
    asked = control;
    width = 7;
    height = 3;
    return sizeKnown;
  }
  void ShowPicture(int control, const uint8_t* bmp, size_t size) override {
    shownOn = control;
    shown.assign(bmp, bmp + size);
  }
  void CopyPicture(int control) override { copied = control; }
  bool sizeKnown = true;
  int asked = 0, shownOn = 0, copied = 0;
  std::vector<uint8_t> shown;
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(CanvasDisplay, MergeCopiesLayerOneAndShowHandsACompleteBmpToTheControl) {
  FakeHost host;
  tx::Canvas c;
  c.Init(host, 5);
  EXPECT_EQ(host.asked, 5);
  ASSERT_EQ(c.Width(), 7);
  ASSERT_EQ(c.Height(), 3);
  c.Plot(1, 1, kRed);
  EXPECT_EQ(c.DisplayPixel(1, 1), 0) << "display picture changes only on display";
  c.Display(tx::Canvas::DISPLAY_SHOW);
  EXPECT_EQ(c.DisplayPixel(1, 1), 0) << "show alone does not merge";
  c.Display();
  EXPECT_EQ(c.DisplayPixel(1, 1), kRed);
  EXPECT_EQ(host.shownOn, 5);
  const auto& b = host.shown;
  ASSERT_EQ(b.size(), 54u + 3 * 24);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(Le32(b, 2), b.size());
  EXPECT_EQ(Le32(b, 6), 0u);
  EXPECT_EQ(Le32(b, 10), 54u);
  EXPECT_EQ(Le32(b, 14), 40u);
  EXPECT_EQ(Le32(b, 18), 7u);
  EXPECT_EQ(Le32(b, 22), 3u);
  EXPECT_EQ(b[26] | (b[27] << 8), 1);
  EXPECT_EQ(b[28] | (b[29] << 8), 24);
  EXPECT_EQ(Le32(b, 30), 0u);
  EXPECT_EQ(Le32(b, 34), 3u * 24);
  for (size_t at = 38; at < 54; ++at) EXPECT_EQ(b[at], 0) << at;
  EXPECT_EQ(b[54 + 2 * 24 + 2], 0xFF) << "top-left red in the last stored row";
  c.CopyPicture();
  EXPECT_EQ(host.copied, 5);
}

TEST(CanvasDisplay, UnknownControlSizeIsReportedAndLeavesAnEmptyCanvas) {
  FakeHost host;
  host.sizeKnown = false;
  RecordingCanvas c;
  c.Init(host, 9);
  EXPECT_EQ(c.Width(), 0);
  ASSERT_EQ(c.errors.size(), 1u);
  EXPECT_EQ(c.errors[0].first, "Init");
  c.Plot(1, 1, kRed);
  c.SetPenColor(kRed);
  c.Line(1, 1, 5, 5);
  c.Blank(0x123456);
  c.Display();
  EXPECT_EQ(host.shown.size(), 54u);
}

std::string ReadAll(std::FILE* f) {
  std::rewind(f);
  std::string s;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

TEST(CanvasErrors, SilentUnlessDebugFlagThenOneLinePerError) {
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  tx::Canvas c;
  c.Init(4, 4);
  c.SetDebugStream(sink);
  c.Image("/nonexistent/block_none.bmp", 1, 1);
  EXPECT_EQ(ReadAll(sink), "");
  c.SetDebug(true);
  c.Image("/nonexistent/block_none.bmp", 1, 1);
  EXPECT_EQ(ReadAll(sink),
            "Tonalyx canvas: An error occured in Image(), error: Unable to open bitmap file: "
            "/nonexistent/block_none.bmp, file may be missing or filename may be incorrect. Error 2:"
            "No such file or directory\n");
  std::fclose(sink);
}

TEST(CanvasLifecycle, KillReleasesAndDrawingAfterwardsIsHarmless) {
  tx::Canvas c;
  c.Init(6, 6);
  c.Kill();
  EXPECT_EQ(c.Width(), 0);
  c.SetPenColor(kRed);
  c.Plot(1, 1);
  c.Line(1, 1, 3, 3);
  c.Blank(0x10);
  c.Display();
  EXPECT_TRUE(c.Store().empty());
  c.Init(2, 2);
  EXPECT_EQ(c.PenWidth(), 1);
  EXPECT_EQ(c.Pixel(2, 2), 0);
}

}  // namespace
