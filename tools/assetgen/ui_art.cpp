// The program's artwork besides the block pictures. Icons are drawn on a
// design grid (64 units for the application icon, 32 for button icons) and
// rendered at each size, so small sizes stay sharp.
#include <cstdio>
#include <string>

#include "raster.h"

namespace assetgen {

namespace {

const Colour kDrive = Hex(0xE0850B), kAmp = Hex(0xC0392B), kMod = Hex(0x8E44AD), kDelay = Hex(0x2E86C1);
const Colour kLink = Grey(192.0f / 255.0f);

std::function<Colour(float, float)> Vertical(Colour top, Colour bottom, float y0, float y1) {
  return [=](float, float y) { return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

// A block of the signal chain, lit from above like the block pictures.
void Block(Picture& p, float s, float l, float t, float r, float b, Colour c) {
  p.Fill(RoundRect(l * s, t * s, r * s, b * s, 2.6f * s), Mix(c, Grey(1), 0.45f));
  p.Fill(RoundRect((l + 0.8f) * s, (t + 0.8f) * s, (r - 0.8f) * s, (b - 0.8f) * s, 2.0f * s),
         Vertical(Mix(c, Grey(1), 0.2f), Mix(c, Grey(0), 0.25f), t * s, b * s));
}

// The application icon: a dark tile with a small signal chain, one block on
// a branch below, as the block layout shows presets.
Picture AppIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 64.0f;
  p.Fill(RoundRect(1.5f * s, 1.5f * s, 62.5f * s, 62.5f * s, 12 * s), Hex(0x4A5968));
  p.Fill(RoundRect(2.5f * s, 2.5f * s, 61.5f * s, 61.5f * s, 11 * s), Vertical(Hex(0x2E3B48), Hex(0x131920), 2, 62 * s));
  const float w = std::max(2.2f, 2.6f) * s;
  p.Fill(Stroke(20 * s, 24 * s, 27 * s, 24 * s, w), kLink);
  p.Fill(Stroke(37 * s, 24 * s, 44 * s, 24 * s, w), kLink);
  p.Fill(Stroke(14.5f * s, 30 * s, 14.5f * s, 44 * s, w), kLink);
  p.Fill(Stroke(14.5f * s, 44 * s, 27 * s, 44 * s, w), kLink);
  p.Fill(Stroke(37 * s, 44 * s, 49.5f * s, 44 * s, w), kLink);
  p.Fill(Stroke(49.5f * s, 44 * s, 49.5f * s, 30 * s, w), kLink);
  Block(p, s, 7, 17, 22, 31, kDrive);
  Block(p, s, 25, 17, 39, 31, kAmp);
  Block(p, s, 42, 17, 57, 31, kDelay);
  Block(p, s, 25, 37, 39, 51, kMod);
  return p;
}

// "Close": a red disc with a white cross.
Picture CloseIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(Circle(16 * s, 16 * s, 13.5f * s), Hex(0x922B21));
  p.Fill(Circle(16 * s, 16 * s, 12.5f * s), Vertical(Hex(0xEC6B5E), Hex(0xB83227), 3 * s, 29 * s));
  p.Fill(Stroke(11 * s, 11 * s, 21 * s, 21 * s, 3.4f * s), Grey(1));
  p.Fill(Stroke(21 * s, 11 * s, 11 * s, 21 * s, 3.4f * s), Grey(1));
  return p;
}

// "Select Preset": an open folder.
Picture BrowseIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(Polygon({{3 * s, 7 * s}, {12 * s, 7 * s}, {15 * s, 10 * s}, {29 * s, 10 * s}, {29 * s, 26 * s}, {3 * s, 26 * s}}),
         Hex(0xB9802A));
  p.Fill(Polygon({{4 * s, 8 * s}, {11.5f * s, 8 * s}, {14.5f * s, 11 * s}, {28 * s, 11 * s}, {28 * s, 25 * s}, {4 * s, 25 * s}}),
         Hex(0xD9A241));
  p.Fill(RoundRect(8 * s, 12 * s, 26 * s, 20 * s, 0.5f * s), Grey(0.96f));
  p.Fill(Polygon({{2 * s, 15 * s}, {30 * s, 15 * s}, {28 * s, 27 * s}, {3.5f * s, 27 * s}}), Hex(0xB9802A));
  p.Fill(Polygon({{3 * s, 16 * s}, {29 * s, 16 * s}, {27.2f * s, 26 * s}, {4.3f * s, 26 * s}}),
         Vertical(Hex(0xF9CF6B), Hex(0xE6A936), 16 * s, 26 * s));
  return p;
}

// "Print PDF": a printer with a printed sheet.
Picture PrintIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(RoundRect(8.5f * s, 3 * s, 23.5f * s, 13 * s, 0.5f * s), Grey(0.45f));
  p.Fill(RoundRect(9.5f * s, 4 * s, 22.5f * s, 13 * s, 0.3f * s), Grey(0.98f));
  p.Fill(RoundRect(2.5f * s, 11 * s, 29.5f * s, 24 * s, 3 * s), Hex(0x3E4750));
  p.Fill(RoundRect(3.5f * s, 12 * s, 28.5f * s, 23 * s, 2.4f * s), Vertical(Hex(0x9AA5AF), Hex(0x5F6A74), 12 * s, 23 * s));
  p.Fill(Circle(25 * s, 15.5f * s, 1.5f * s), Hex(0x2ECC71));
  p.Fill(RoundRect(8.5f * s, 18 * s, 23.5f * s, 30 * s, 0.5f * s), Grey(0.45f));
  p.Fill(RoundRect(9.5f * s, 19 * s, 22.5f * s, 29 * s, 0.3f * s), Grey(0.98f));
  for (float y : {22.0f, 25.0f}) p.Fill(Stroke(11.5f * s, y * s, 20.5f * s, y * s, 1.1f * s), Grey(0.55f));
  return p;
}

// "Export XML": a page with a tag mark.
Picture XmlIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(Polygon({{6 * s, 2 * s}, {20.5f * s, 2 * s}, {27 * s, 8.5f * s}, {27 * s, 30 * s}, {6 * s, 30 * s}}), Grey(0.42f));
  p.Fill(Polygon({{7 * s, 3 * s}, {20 * s, 3 * s}, {26 * s, 9 * s}, {26 * s, 29 * s}, {7 * s, 29 * s}}), Grey(0.98f));
  p.Fill(Polygon({{20 * s, 3 * s}, {20 * s, 9 * s}, {26 * s, 9 * s}}), Grey(0.78f));
  const Colour tag = Hex(0x1F6FA8);
  const float w = 2.0f * s;
  p.Fill(Stroke(13 * s, 14.5f * s, 9.5f * s, 19 * s, w), tag);
  p.Fill(Stroke(9.5f * s, 19 * s, 13 * s, 23.5f * s, w), tag);
  p.Fill(Stroke(18 * s, 13.5f * s, 15 * s, 24.5f * s, w), tag);
  p.Fill(Stroke(20 * s, 14.5f * s, 23.5f * s, 19 * s, w), tag);
  p.Fill(Stroke(23.5f * s, 19 * s, 20 * s, 23.5f * s, w), tag);
  return p;
}

// The PDF writer as an output target: a page with a red band and text lines.
Picture PdfIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(Polygon({{6 * s, 2 * s}, {20.5f * s, 2 * s}, {27 * s, 8.5f * s}, {27 * s, 30 * s}, {6 * s, 30 * s}}), Grey(0.42f));
  p.Fill(Polygon({{7 * s, 3 * s}, {20 * s, 3 * s}, {26 * s, 9 * s}, {26 * s, 29 * s}, {7 * s, 29 * s}}), Grey(0.98f));
  p.Fill(Polygon({{20 * s, 3 * s}, {20 * s, 9 * s}, {26 * s, 9 * s}}), Grey(0.78f));
  p.Fill(RoundRect(3 * s, 12 * s, 22 * s, 19 * s, 1 * s), Vertical(Hex(0xE74C3C), Hex(0xB03A2E), 12 * s, 19 * s));
  for (float y : {22.5f, 25.5f}) p.Fill(Stroke(10 * s, y * s, 23 * s, y * s, 1.1f * s), Grey(0.6f));
  return p;
}

// "Zoom" of the report preview: a magnifying glass.
Picture ZoomIcon(int size) {
  Picture p(size, size, true);
  const float s = size / 32.0f;
  p.Fill(Stroke(19 * s, 19 * s, 28 * s, 28 * s, 4.6f * s), Hex(0x3E4750));
  p.Fill(Stroke(19.5f * s, 19.5f * s, 27.5f * s, 27.5f * s, 3.0f * s), Hex(0x8A6A3A));
  p.Fill(Circle(13 * s, 13 * s, 10.5f * s), Hex(0x3E4750));
  p.Fill(Circle(13 * s, 13 * s, 8.5f * s), Vertical(Hex(0xE8F4FC), Hex(0xA9CCE6), 4 * s, 22 * s));
  p.Fill(Stroke(9 * s, 13 * s, 17 * s, 13 * s, 2.0f * s), Hex(0x1F6FA8));
  p.Fill(Stroke(13 * s, 9 * s, 13 * s, 17 * s, 2.0f * s), Hex(0x1F6FA8));
  return p;
}

// The main window's background: dark slate, lighter towards the top left,
// with a faint sweep of light across it.
Picture Background(int width, int height) {
  Picture p(width, height);
  const Colour top = Hex(0x2A3440), bottom = Hex(0x0F1318);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float fy = static_cast<float>(y) / height, fx = static_cast<float>(x) / width;
      Colour c = Mix(top, bottom, fy);
      const float dx = fx - 0.15f, dy = fy - 0.0f;
      const float glow = std::max(0.0f, 1.0f - std::sqrt(dx * dx * 1.6f + dy * dy * 2.2f));
      c = Mix(c, Hex(0x4B5D70), 0.35f * glow * glow);
      const float band = std::exp(-std::pow((fy - 0.9f * fx + 0.15f) * 7.0f, 2.0f));
      c = Mix(c, Hex(0x5A6E82), 0.08f * band);
      p.at(x, y) = c;
    }
  return p;
}

}  // namespace

bool WriteUiArt(const std::string& dir) {
  bool ok = true;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    ok = ok && AppIcon(size).WritePng(dir + "/tonalyx-" + std::to_string(size) + ".png");
  ok = ok && AppIcon(256).WritePng(dir + "/tonalyx.png");
  ok = ok && CloseIcon(32).WritePng(dir + "/close.png");
  ok = ok && BrowseIcon(32).WritePng(dir + "/browse.png");
  ok = ok && PrintIcon(32).WritePng(dir + "/print.png");
  ok = ok && XmlIcon(32).WritePng(dir + "/xml.png");
  ok = ok && ZoomIcon(32).WritePng(dir + "/zoom.png");
  ok = ok && PdfIcon(32).WritePng(dir + "/pdf.png");
  ok = ok && Background(1040, 420).WritePng(dir + "/background.png", false);
  return ok;
}

}  // namespace assetgen
