#include "draw/display_bitmap.h"

#include <cstring>

namespace tx {
namespace {

void Put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* at, uint32_t v) {
  Put16(at, v & 0xFFFF);
  Put16(at + 2, v >> 16);
}

}  // namespace

void FillBmpHeader(uint8_t* buffer, int width, int height) {
  const uint32_t imageSize = static_cast<uint32_t>(BmpStride(width) * static_cast<size_t>(height));
  std::memset(buffer, 0, 54);
  buffer[0] = 'B';
  buffer[1] = 'M';
  Put32(buffer + 2, 54 + imageSize);
  Put32(buffer + 10, 54);
  Put32(buffer + 14, 40);
  Put32(buffer + 18, static_cast<uint32_t>(width));
  Put32(buffer + 22, static_cast<uint32_t>(height));
  Put16(buffer + 26, 1);
  Put16(buffer + 28, 24);
  Put32(buffer + 34, imageSize);
}

}  // namespace tx
