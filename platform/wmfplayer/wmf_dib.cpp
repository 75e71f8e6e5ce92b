#include "platform/wmfplayer/wmf_dib.h"

#include <array>
#include <vector>

namespace tx {

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_JPEG = 4, BI_PNG = 5 };
constexpr int kMaxSide = 30000;

uint32_t Le(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// Where the highest bit of a mask lies and how many bits it has.
struct Channel {
  uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while ((m >> (shift + bits)) & 1) ++bits;
  }
  int Value(uint32_t pixel) const {
    if (!bits) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    return static_cast<int>(v * 255 / ((1u << bits) - 1));
  }
};

}  // namespace

QImage DecodeDib(const uint8_t* data, size_t size) {
  if (!data || size < 12) return {};
  const uint32_t headerSize = Le(data, 4);
  if (headerSize > size) return {};
  int64_t width, height;
  int bits;
  uint32_t compression = BI_RGB, used = 0;
  if (headerSize == 12) {
    width = Le(data + 4, 2);
    height = static_cast<int16_t>(Le(data + 6, 2));
    bits = static_cast<int>(Le(data + 10, 2));
  } else if (headerSize >= 40) {
    width = static_cast<int32_t>(Le(data + 4, 4));
    height = static_cast<int32_t>(Le(data + 8, 4));
    bits = static_cast<int>(Le(data + 14, 2));
    compression = Le(data + 16, 4);
    used = Le(data + 32, 4);
  } else {
    return {};
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};

  size_t at = headerSize;
  if (compression == BI_PNG || compression == BI_JPEG) {
    QImage image;
    image.loadFromData(data + at, static_cast<int>(size - at), compression == BI_PNG ? "PNG" : "JPEG");
    return image;
  }
  if (compression != BI_RGB && compression != BI_BITFIELDS) return {};  // run-length pictures are not drawn

  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bits == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0xFF00;
    masks[2] = 0xFF;
  }
  if (compression == BI_BITFIELDS) {
    if (bits != 16 && bits != 32) return {};
    // An info header keeps its masks behind it; later headers hold them.
    const size_t m = headerSize == 40 ? at : 40;
    if (m + 12 > size) return {};
    for (int i = 0; i < 3; ++i) masks[i] = Le(data + m + 4 * i, 4);
    if (headerSize == 40) at += 12;
  }

  std::vector<QRgb> palette;
  if (bits <= 8) {
    if (bits != 1 && bits != 4 && bits != 8) return {};
    const size_t entries = used ? used : (1u << bits);
    const size_t entrySize = headerSize == 12 ? 3 : 4;
    if (entries > 256 || at + entries * entrySize > size) return {};
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = data + at + i * entrySize;
      palette.push_back(qRgb(e[2], e[1], e[0]));
    }
    at += entries * entrySize;
  } else if (bits != 16 && bits != 24 && bits != 32) {
    return {};
  }

  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (at > size || stride * static_cast<size_t>(height) > size - at) return {};
  const Channel r(masks[0]), g(masks[1]), b(masks[2]);
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* row = data + at + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    for (int64_t x = 0; x < width; ++x) {
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const int64_t bit = x * bits;
          const int index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
          out[x] = static_cast<size_t>(index) < palette.size() ? palette[static_cast<size_t>(index)] : qRgb(0, 0, 0);
          break;
        }
        case 16: {
          const uint32_t p = Le(row + 2 * x, 2);
          out[x] = qRgb(r.Value(p), g.Value(p), b.Value(p));
          break;
        }
        case 24:
          out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
          break;
        case 32: {
          const uint32_t p = Le(row + 4 * x, 4);
          out[x] = qRgb(r.Value(p), g.Value(p), b.Value(p));
          break;
        }
      }
    }
  }
  return image;
}

}  // namespace tx
