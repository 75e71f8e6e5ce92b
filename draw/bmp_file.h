#pragma once
// Reading an uncompressed 24-bit or 8-bit BMP file for blitting. Every size
// and offset in the headers is checked against the bytes the file really
// holds before it is used, so a damaged or lying file is refused rather than
// read past its end or allowed to ask for a huge buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tx {

struct BmpPicture {
  enum Status { OK, CANNOT_OPEN, NOT_BMP, UNSUPPORTED_DEPTH };

  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  // 8-bit pictures: the colour table as read (blue, green, red, unused).
  std::vector<std::array<uint8_t, 4>> palette;
  std::vector<uint8_t> bytes;  // the whole file
  size_t pixelOffset = 0;
  size_t stride = 0;           // bytes per stored row, padding included
  bool topDown = false;

  // Bytes of picture row `row`, counted from the top (0-based).
  const uint8_t* Row(int row) const {
    int stored = topDown ? row : height - 1 - row;
    return bytes.data() + pixelOffset + static_cast<size_t>(stored) * stride;
  }
};

// The largest file we read, and the largest picture side we accept: block
// pictures are a few kilobytes, so anything near these is not ours.
constexpr size_t kMaxBmpFileSize = 64u << 20;
constexpr int kMaxBmpSide = 16384;

struct BmpReadResult {
  BmpPicture::Status status = BmpPicture::CANNOT_OPEN;
  int errorCode = 0;         // errno when the file could not be opened or read
  std::string errorText;
};

BmpReadResult ReadBmpFile(const std::string& fileName, BmpPicture& picture);
// The same checks over bytes already in memory (used by ReadBmpFile).
BmpPicture::Status ParseBmp(std::vector<uint8_t> bytes, BmpPicture& picture);

}  // namespace tx
