#pragma once
// The small raster kit the generator draws with: colours in 0..1, a picture
// with coverage-blended shapes (4 x 4 supersampling) and FreeType text, and
// writers for 24-bit BMP and RGBA PNG.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Colour {
  float r = 0, g = 0, b = 0;
};

inline Colour Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f};
}
inline Colour Mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour Grey(float v) { return {v, v, v}; }
inline float Luma(Colour c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

class Picture {
 public:
  // Opaque black, or fully transparent.
  Picture(int width, int height, bool transparent = false)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height),
        alpha_(static_cast<size_t>(width) * height, transparent ? 0.0f : 1.0f) {}
  int width() const { return width_; }
  int height() const { return height_; }
  Colour& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  float& alpha(int x, int y) { return alpha_[static_cast<size_t>(y) * width_ + x]; }
  // Paints `c` over the pixel with the given opacity.
  void Blend(int x, int y, Colour c, float opacity) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || opacity <= 0) return;
    const float a = std::min(opacity, 1.0f);
    float& da = alpha(x, y);
    const float out = a + da * (1 - a);
    Colour& d = at(x, y);
    if (out > 0) {
      d.r = (c.r * a + d.r * da * (1 - a)) / out;
      d.g = (c.g * a + d.g * da * (1 - a)) / out;
      d.b = (c.b * a + d.b * da * (1 - a)) / out;
    }
    da = out;
  }
  // Paints every pixel by the share of it inside `inside`, at 4 x 4 samples.
  void Fill(const std::function<bool(float, float)>& inside, const std::function<Colour(float, float)>& colour,
            float opacity = 1.0f) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        int n = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) n += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
        if (n) Blend(x, y, colour(x + 0.5f, y + 0.5f), opacity * n / 16.0f);
      }
  }
  void Fill(const std::function<bool(float, float)>& inside, Colour colour, float opacity = 1.0f) {
    Fill(inside, [colour](float, float) { return colour; }, opacity);
  }

  bool WriteBmp(const std::string& path) const {
    const int stride = (width_ * 3 + 3) & ~3;
    std::vector<uint8_t> b(54 + static_cast<size_t>(stride) * height_, 0);
    auto put32 = [&](size_t at, uint32_t v) {
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width_));
    put32(22, static_cast<uint32_t>(height_));
    b[26] = 1;
    b[28] = 24;
    put32(34, static_cast<uint32_t>(stride * height_));
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const Colour& c = pixels_[static_cast<size_t>(y) * width_ + x];
        uint8_t* p = &b[54 + static_cast<size_t>(height_ - 1 - y) * stride + 3 * x];
        p[0] = Byte(c.b);
        p[1] = Byte(c.g);
        p[2] = Byte(c.r);
      }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(out);
  }

  bool WritePng(const std::string& path, bool withAlpha = true) const {
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> rows(static_cast<size_t>(width_) * height_ * channels);
    for (size_t i = 0; i < pixels_.size(); ++i) {
      rows[i * channels] = Byte(pixels_[i].r);
      rows[i * channels + 1] = Byte(pixels_[i].g);
      rows[i * channels + 2] = Byte(pixels_[i].b);
      if (withAlpha) rows[i * channels + 3] = Byte(alpha_[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rows.data(), 0, nullptr) != 0;
  }

 private:
  static uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
  int width_, height_;
  std::vector<Colour> pixels_;
  std::vector<float> alpha_;
};

// Shapes as point tests, for Picture::Fill.
inline std::function<bool(float, float)> RoundRect(float left, float top, float right, float bottom, float radius) {
  return [=](float px, float py) {
    if (px < left || px > right || py < top || py > bottom) return false;
    const float cx = std::clamp(px, left + radius, right - radius);
    const float cy = std::clamp(py, top + radius, bottom - radius);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius;
  };
}
inline std::function<bool(float, float)> Circle(float cx, float cy, float r) {
  return [=](float px, float py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; };
}
// A stroke of the given width from (ax, ay) to (bx, by), round ends.
inline std::function<bool(float, float)> Stroke(float ax, float ay, float bx, float by, float width) {
  return [=](float px, float py) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float qx = ax + t * dx - px, qy = ay + t * dy - py;
    return qx * qx + qy * qy <= width * width / 4;
  };
}
inline std::function<bool(float, float)> Polygon(std::vector<std::pair<float, float>> points) {
  return [points](float px, float py) {
    bool in = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}

class Font {
 public:
  explicit Font(const char* path) {
    ok_ = FT_Init_FreeType(&library_) == 0 && FT_New_Face(library_, path, 0, &face_) == 0;
  }
  ~Font() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  bool ok() const { return ok_; }

  void SetSize(int pixels) { FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)); }
  int Advance(const std::string& text) {
    int width = 0;
    for (unsigned char ch : text)
      if (FT_Load_Char(face_, ch, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) == 0) width += face_->glyph->advance.x;
    return (width + 32) >> 6;
  }
  // Height of a capital letter above the baseline.
  int CapHeight() {
    if (FT_Load_Char(face_, 'H', FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return 0;
    return face_->glyph->bitmap_top;
  }
  void Draw(Picture& p, const std::string& text, int x, int baseline, Colour colour, float opacity) {
    int pen = x << 6;
    for (unsigned char ch : text) {
      if (FT_Load_Char(face_, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
      const FT_GlyphSlot g = face_->glyph;
      const int left = (pen >> 6) + g->bitmap_left;
      const int top = baseline - g->bitmap_top;
      for (unsigned row = 0; row < g->bitmap.rows; ++row)
        for (unsigned col = 0; col < g->bitmap.width; ++col) {
          const float a = g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0f;
          p.Blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, a * opacity);
        }
      pen += g->advance.x;
    }
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  bool ok_ = false;
};

// The program's own artwork around the block pictures: the application icon
// at the usual sizes, the button icons and the main window's background, as
// PNG files in `dir`. False when a file cannot be written.
bool WriteUiArt(const std::string& dir);

}  // namespace assetgen
