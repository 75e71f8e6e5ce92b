#pragma once
// Builds small BMP files for the canvas tests, including damaged ones.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace txtest {

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A 24-bit bottom-up picture; pixel(col, row) gives 0x00BBGGRR, row 0 at the top.
template <typename F>
std::vector<uint8_t> Bmp24(int width, int height, F pixel) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> b(54 + stride * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) {
      uint32_t c = pixel(col, row);
      uint8_t* p = &b[54 + (height - 1 - row) * stride + 3 * col];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  return b;
}

// An 8-bit bottom-up picture with the given palette (0x00BBGGRR entries);
// index(col, row) gives the palette index, row 0 at the top.
template <typename F>
std::vector<uint8_t> Bmp8(int width, int height, const std::vector<uint32_t>& palette, F index) {
  const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  const size_t offset = 54 + 4 * palette.size();
  std::vector<uint8_t> b(offset + stride * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(offset));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, 8);
  Put32(b, 46, palette.size() == 256 ? 0 : static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    b[54 + 4 * i] = static_cast<uint8_t>(palette[i] >> 16);
    b[54 + 4 * i + 1] = static_cast<uint8_t>(palette[i] >> 8);
    b[54 + 4 * i + 2] = static_cast<uint8_t>(palette[i]);
  }
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      b[offset + (height - 1 - row) * stride + col] = static_cast<uint8_t>(index(col, row));
  return b;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace txtest
