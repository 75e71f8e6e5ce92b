// The page player: pages written record by record, drawn at several
// resolutions, and the drawing checked pixel by pixel.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "platform/reportengine/wmf_writer.h"
#include "platform/wmfplayer/page_raster.h"

namespace {

using tx::PageRaster;
using tx::WmfWriter;

// A page of one inch square at 1000 units per inch, ready for records.
WmfWriter Inch() {
  WmfWriter w(1000, 1000, 1000);
  w.SetMapMode(8);
  w.SetWindowOrg(0, 0);
  w.SetWindowExt(1000, 1000);
  w.SetBkMode(1);
  return w;
}

PageRaster Draw(WmfWriter& w, double dpi) {
  auto page = tx::WmfPage::Parse(w.Finish());
  EXPECT_TRUE(page);
  return page ? tx::RenderWmfPage(*page, dpi) : PageRaster{};
}

uint32_t Rgb(const PageRaster& p, int x, int y) {
  const uint8_t* q = p.Pixel(x, y);
  return static_cast<uint32_t>(q[0]) << 16 | q[1] << 8 | q[2];
}

bool Dark(const PageRaster& p, int x, int y) {
  const uint8_t* q = p.Pixel(x, y);
  return q[0] + q[1] + q[2] < 3 * 128;
}

// Pixels within `box` (in pixels) that are dark.
int DarkIn(const PageRaster& p, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = std::max(0, top); y < std::min(p.height, bottom); ++y)
    for (int x = std::max(0, left); x < std::min(p.width, right); ++x) n += Dark(p, x, y);
  return n;
}

std::vector<uint8_t> Dib24(int width, int height, uint32_t rgb) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> dib(40 + stride * height, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(width));
  put32(8, static_cast<uint32_t>(height));
  dib[12] = 1;
  dib[14] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // The bottom row (stored first) is black, the rest the colour.
      uint8_t* px = &dib[40 + static_cast<size_t>(y) * stride + 3 * x];
      const uint32_t c = y == 0 ? 0 : rgb;
      px[0] = c & 0xFF;
      px[1] = (c >> 8) & 0xFF;
      px[2] = (c >> 16) & 0xFF;
    }
  return dib;
}

std::vector<uint8_t> PngDib(int width, int height, uint32_t rgb) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = (rgb >> 16) & 0xFF;
    pixels[i + 1] = (rgb >> 8) & 0xFF;
    pixels[i + 2] = rgb & 0xFF;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<uint8_t> dib(40 + size, 0);
  png_image_write_to_memory(&image, dib.data() + 40, &size, 0, pixels.data(), 0, nullptr);
  dib[0] = 40;
  dib[4] = static_cast<uint8_t>(width);
  dib[8] = static_cast<uint8_t>(height);
  dib[12] = 1;
  dib[16] = 5;  // the pixels are a PNG file
  return dib;
}

TEST(PagePlayer, ShapesLandWhereThePageSaysAtAnyResolution) {
  WmfWriter w = Inch();
  const uint16_t brush = w.CreateBrush(0, 0x0000FF);  // red, as 0x00BBGGRR
  const uint16_t pen = w.CreatePen(5, 0, 0);
  w.SelectObject(brush);
  w.SelectObject(pen);
  w.Rectangle(100, 200, 500, 600);
  w.DeleteObject(brush);
  w.DeleteObject(pen);
  const uint16_t line = w.CreatePen(0, 60, 0x00FF00);
  w.SelectObject(line);
  w.MoveTo(600, 900);
  w.LineTo(950, 900);
  auto bytes = w.Finish();
  auto page = tx::WmfPage::Parse(bytes);
  ASSERT_TRUE(page);
  for (double dpi : {50.0, 100.0, 300.0}) {
    const PageRaster p = tx::RenderWmfPage(*page, dpi);
    ASSERT_EQ(p.width, static_cast<int>(dpi));
    auto at = [&](double inchX, double inchY) { return Rgb(p, int(inchX * dpi), int(inchY * dpi)); };
    EXPECT_EQ(at(0.3, 0.4), 0xFF0000u) << dpi;
    EXPECT_EQ(at(0.05, 0.4), 0xFFFFFFu) << dpi;
    EXPECT_EQ(at(0.55, 0.4), 0xFFFFFFu) << dpi;
    EXPECT_EQ(at(0.3, 0.65), 0xFFFFFFu) << dpi;
    EXPECT_EQ(at(0.8, 0.9), 0x00FF00u) << dpi;
    EXPECT_EQ(at(0.8, 0.95), 0xFFFFFFu) << dpi;
  }
}

TEST(PagePlayer, TextIsDrawnFromItsTopLeftOnItsBackgroundAndClipped) {
  WmfWriter w = Inch();
  w.SetTextAlign(0);
  w.SetTextColor(0);
  tx::WmfFont font;
  font.height = -139;  // ten points
  w.SelectObject(w.CreateFont(font));
  // Opaque, on silver, clipped to its box: the text shows from its top left
  // within the box, the background fills the box.
  w.SetBkMode(2);
  w.SetBkColor(0xC0C0C0);
  const int16_t box[4] = {100, 100, 600, 300};
  w.ExtTextOut(100, 100, "HHHHHHHHHHHHHHHHHHHHHHHHHHHH", 0x0006, box);
  w.SetBkMode(1);
  w.ExtTextOut(100, 600, "Tonalyx");
  const PageRaster p = Draw(w, 200);
  // Inside the box: dark letters and the silver background; beyond its right
  // edge (the text is much longer) nothing.
  EXPECT_GT(DarkIn(p, 20, 20, 120, 60), 50);
  EXPECT_EQ(Rgb(p, 118, 58), 0xC0C0C0u);
  EXPECT_EQ(DarkIn(p, 121, 0, 200, 70), 0);
  // The transparent text: letters right of and below its reference point,
  // starting within a character of it and no higher than it.
  EXPECT_GT(DarkIn(p, 20, 120, 120, 150), 30);
  EXPECT_EQ(DarkIn(p, 0, 100, 200, 119), 0);
  EXPECT_EQ(DarkIn(p, 0, 120, 19, 160), 0);
}

TEST(PagePlayer, SavedContextsAndTheWindowOriginShiftAndRestore) {
  WmfWriter w = Inch();
  w.SelectObject(w.CreatePen(5, 0, 0));
  const uint16_t blue = w.CreateBrush(0, 0xFF0000);
  w.SelectObject(blue);
  w.SaveDC();
  w.SetWindowOrg(-500, 0);  // logical (0, 0) is now half an inch in
  w.SelectObject(w.CreateBrush(0, 0x00FF00));
  w.Rectangle(0, 0, 200, 200);
  w.RestoreDC();
  w.Rectangle(0, 0, 200, 200);  // origin and brush as before the save
  const PageRaster p = Draw(w, 100);
  EXPECT_EQ(Rgb(p, 60, 10), 0x00FF00u);
  EXPECT_EQ(Rgb(p, 10, 10), 0x0000FFu);
  EXPECT_EQ(Rgb(p, 30, 10), 0xFFFFFFu);
}

TEST(PagePlayer, NewObjectsTakeTheLowestFreeSlot) {
  WmfWriter w = Inch();
  const uint16_t red = w.CreateBrush(0, 0x0000FF);
  w.CreateBrush(0, 0x00FF00);
  w.DeleteObject(red);
  w.SelectObject(w.CreatePen(5, 0, 0));  // slot 0 again: a pen, no longer the red brush
  w.SelectObject(w.CreateBrush(0, 0xFF0000));
  w.SelectObject(0);
  w.Rectangle(0, 0, 500, 500);
  const PageRaster p = Draw(w, 100);
  EXPECT_EQ(Rgb(p, 25, 25), 0x0000FFu);  // blue fill, no red
}

TEST(PagePlayer, BitmapsWithDibOrPngContentFillTheirRectangle) {
  WmfWriter w = Inch();
  w.SetStretchBltMode(3);
  w.StretchDib(0, 0, 500, 500, Dib24(4, 4, 0x3366CC));
  w.StretchDib(500, 500, 400, 400, PngDib(3, 3, 0xCC6633));
  const PageRaster p = Draw(w, 100);
  EXPECT_EQ(Rgb(p, 25, 10), 0x3366CCu);
  EXPECT_EQ(Rgb(p, 25, 48), 0x000000u);  // the stored first row is the bottom one
  EXPECT_EQ(Rgb(p, 70, 70), 0xCC6633u);
  EXPECT_EQ(Rgb(p, 95, 95), 0xFFFFFFu);
}

TEST(PagePlayer, DamagedPagesAreDrawnUpToTheDamageOrRefused) {
  EXPECT_FALSE(tx::WmfPage::Parse({1, 2, 3}));
  EXPECT_FALSE(tx::WmfPage::Parse(std::vector<uint8_t>(100, 0xFF)));
  WmfWriter w = Inch();
  w.SelectObject(w.CreatePen(5, 0, 0));
  w.SelectObject(w.CreateBrush(0, 0));
  w.Rectangle(0, 0, 500, 500);
  w.Rectangle(500, 500, 1000, 1000);
  std::vector<uint8_t> bytes = w.Finish();
  // The second rectangle claims more words than the file has left.
  const size_t second = bytes.size() - 6 - 14;
  bytes[second] = 0xFF;
  bytes[second + 1] = 0x7F;
  auto page = tx::WmfPage::Parse(bytes);
  ASSERT_TRUE(page);
  const PageRaster p = tx::RenderWmfPage(*page, 100);
  EXPECT_EQ(Rgb(p, 25, 25), 0u);
  EXPECT_EQ(Rgb(p, 75, 75), 0xFFFFFFu);
  // Records cut short anywhere never make the player read past them.
  for (size_t cut = 40; cut < bytes.size(); cut += 3) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    if (auto broken = tx::WmfPage::Parse(part)) tx::RenderWmfPage(*broken, 20);
  }
}

}  // namespace
