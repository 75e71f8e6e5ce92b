#include "draw/bmp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tx {
namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

}  // namespace

BmpPicture::Status ParseBmp(std::vector<uint8_t> bytes, BmpPicture& picture) {
  picture = BmpPicture();
  const size_t size = bytes.size();
  if (size < 54 || bytes[0] != 'B' || bytes[1] != 'M') return BmpPicture::NOT_BMP;

  const uint32_t infoSize = U32(bytes, 14);
  const int32_t width = static_cast<int32_t>(U32(bytes, 18));
  const int32_t rawHeight = static_cast<int32_t>(U32(bytes, 22));
  const uint32_t bits = U16(bytes, 28);
  const uint32_t compression = U32(bytes, 30);

  if (bits != 24 && bits != 8) return BmpPicture::UNSUPPORTED_DEPTH;
  // Older core headers and compressed pixel data are other formats than ours.
  if (infoSize < 40 || infoSize > size - 14 || compression != 0) return BmpPicture::NOT_BMP;
  if (width <= 0 || width > kMaxBmpSide) return BmpPicture::NOT_BMP;
  if (rawHeight == 0 || rawHeight < -kMaxBmpSide || rawHeight > kMaxBmpSide) return BmpPicture::NOT_BMP;
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;

  size_t tableEnd = 14 + static_cast<size_t>(infoSize);
  if (bits == 8) {
    uint32_t entries = U32(bytes, 46);
    if (entries == 0) entries = 256;
    if (entries > 256 || static_cast<size_t>(entries) * 4 > size - tableEnd) return BmpPicture::NOT_BMP;
    picture.palette.resize(entries);
    for (uint32_t i = 0; i < entries; ++i) std::memcpy(picture.palette[i].data(), &bytes[tableEnd + 4 * i], 4);
    tableEnd += static_cast<size_t>(entries) * 4;
  }

  size_t pixelOffset = U32(bytes, 10);
  if (pixelOffset == 0) pixelOffset = tableEnd;
  if (pixelOffset < tableEnd || pixelOffset > size) return BmpPicture::NOT_BMP;

  const size_t rowBytes = static_cast<size_t>(width) * (bits / 8);
  const size_t stride = (rowBytes + 3) & ~static_cast<size_t>(3);
  // The last row may come without its padding; every row must be there.
  const size_t needed = stride * static_cast<size_t>(height - 1) + rowBytes;
  if (needed > size - pixelOffset) return BmpPicture::NOT_BMP;

  picture.width = width;
  picture.height = height;
  picture.bitsPerPixel = static_cast<int>(bits);
  picture.pixelOffset = pixelOffset;
  picture.stride = stride;
  picture.topDown = rawHeight < 0;
  picture.bytes = std::move(bytes);
  return BmpPicture::OK;
}

BmpReadResult ReadBmpFile(const std::string& fileName, BmpPicture& picture) {
  BmpReadResult result;
  picture = BmpPicture();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"), std::fclose);
  if (!file) {
    result.errorCode = errno;
    result.errorText = std::strerror(errno);
    return result;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  for (;;) {
    size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > kMaxBmpFileSize) {
      result.status = BmpPicture::NOT_BMP;
      return result;
    }
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get())) {
    // A directory opens but cannot be read: treat it like a file that is not there.
    result.errorCode = errno;
    result.errorText = std::strerror(errno);
    return result;
  }
  result.status = ParseBmp(std::move(bytes), picture);
  return result;
}

}  // namespace tx
