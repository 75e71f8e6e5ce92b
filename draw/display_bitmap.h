#pragma once
// The 54-byte header that turns a canvas buffer into a complete 24-bit
// bottom-up BMP file, so the picture can be shown or saved as it is.
#include <cstddef>
#include <cstdint>

namespace tx {

// Bytes per stored row of a 24-bit picture, padded to a multiple of 4.
inline size_t BmpStride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }

// Fills buffer[0..53] for a width x height picture whose rows follow the header.
void FillBmpHeader(uint8_t* buffer, int width, int height);

}  // namespace tx
