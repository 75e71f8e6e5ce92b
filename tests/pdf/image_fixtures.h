#pragma once
// Image files made byte by byte for the image tests: PNG (with real row
// filters), GIF (LZW-coded, with or without growing code widths) and bitmap
// information headers as page files embed them.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace txtest {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}
inline void PutLe(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void Chunk(Bytes& png, const char* type, const Bytes& data) {
  Put32(png, static_cast<uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  Put32(png, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// Row `r` filtered with PNG filter `type` (0 none, 1 sub, 2 up, 3 average,
// 4 Paeth) against the previous unfiltered row; `bpp` bytes per pixel (at least 1).
inline Bytes FilterRow(int type, const Bytes& r, const Bytes& prior, size_t bpp) {
  Bytes out{static_cast<uint8_t>(type)};
  for (size_t i = 0; i < r.size(); ++i) {
    int a = i >= bpp ? r[i - bpp] : 0, b = prior.empty() ? 0 : prior[i],
        c = i >= bpp && !prior.empty() ? prior[i - bpp] : 0;
    int predicted = 0;
    if (type == 1) predicted = a;
    if (type == 2) predicted = b;
    if (type == 3) predicted = (a + b) / 2;
    if (type == 4) {
      int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    out.push_back(static_cast<uint8_t>(r[i] - predicted));
  }
  return out;
}

// A PNG with the given packed rows, split over two IDAT chunks. With
// `filters` the rows cycle through all five row filters, as encoders do.
inline Bytes Png(int width, int height, int depth, int type, const std::vector<Bytes>& rows,
                 const Bytes& palette = {}, bool filters = false, int interlace = 0) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  Put32(ihdr, static_cast<uint32_t>(width));
  Put32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {static_cast<uint8_t>(depth), static_cast<uint8_t>(type), 0, 0,
                           static_cast<uint8_t>(interlace)});
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "tEXt", Bytes{'C', 0, 'x'});
  if (!palette.empty()) Chunk(png, "PLTE", palette);
  size_t channels = type == 2 ? 3 : type == 6 ? 4 : type == 4 ? 2 : 1;
  size_t bpp = std::max<size_t>(1, channels * static_cast<size_t>(depth) / 8);
  Bytes raw;
  for (size_t y = 0; y < rows.size(); ++y) {
    Bytes f = FilterRow(filters ? static_cast<int>(y % 5) : 0, rows[y], y ? rows[y - 1] : Bytes{}, bpp);
    raw.insert(raw.end(), f.begin(), f.end());
  }
  Bytes packed(compressBound(static_cast<uLong>(raw.size())));
  uLongf size = packed.size();
  compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(size);
  size_t half = packed.size() / 2;
  Chunk(png, "IDAT", Bytes(packed.begin(), packed.begin() + static_cast<long>(half)));
  Chunk(png, "IDAT", Bytes(packed.begin() + static_cast<long>(half), packed.end()));
  Chunk(png, "IEND", {});
  return png;
}

// LZW codes for GIF pixels of 8-bit indices. Plain: a clear code every 199
// pixels keeps every code 9 bits wide. Otherwise a real encoder: strings
// grow, the width climbs to 12 bits and the table is cleared when full.
inline std::vector<std::pair<uint16_t, int>> GifCodes(const Bytes& pixels, bool plain) {
  std::vector<std::pair<uint16_t, int>> codes;  // code, width
  if (plain) {
    codes.push_back({256, 9});
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (i % 200 == 199) codes.push_back({256, 9});
      codes.push_back({pixels[i], 9});
    }
    codes.push_back({257, 9});
    return codes;
  }
  std::map<std::pair<int, int>, int> table;
  int width = 9, slot = 257, next = 258, prefix = -1;
  auto emit = [&](int code) {
    codes.push_back({static_cast<uint16_t>(code), width});
    if (code == 256) {
      width = 9, slot = 257, next = 258;
      table.clear();
      return;
    }
    if (slot < 4096) ++slot;
    if (slot == (1 << width) && width < 12) ++width;
  };
  emit(256);
  for (uint8_t p : pixels) {
    if (prefix < 0) {
      prefix = p;
      continue;
    }
    auto found = table.find({prefix, p});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    emit(prefix);
    if (next < 4094) {
      table[{prefix, p}] = next++;
    } else {
      emit(256);
    }
    prefix = p;
  }
  if (prefix >= 0) emit(prefix);
  emit(257);
  return codes;
}

// A GIF of one colour index per pixel. `table` fills the global colour table
// of 256 colours, or, with `local`, a local table of 4 colours.
inline Bytes Gif(int width, int height, const Bytes& pixels, const Bytes& table, bool plain = true,
                 bool local = false, uint8_t codeSize = 8, bool endCode = true) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
  PutLe(g, static_cast<uint32_t>(width), 2);
  PutLe(g, static_cast<uint32_t>(height), 2);
  g.insert(g.end(), {static_cast<uint8_t>(local ? 0x70 : 0xF7), 0, 0});
  Bytes t = table;
  if (!local) {
    t.resize(768, 0);
    g.insert(g.end(), t.begin(), t.end());
  }
  g.insert(g.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});                       // graphic control
  g.insert(g.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 0});                    // comment
  g.insert(g.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
  g.push_back(0x2C);
  PutLe(g, 0, 4);
  PutLe(g, static_cast<uint32_t>(width), 2);
  PutLe(g, static_cast<uint32_t>(height), 2);
  g.push_back(local ? 0x81 : 0);
  if (local) {
    t.resize(12, 0);
    g.insert(g.end(), t.begin(), t.end());
  }
  g.push_back(codeSize);
  auto codes = GifCodes(pixels, plain);
  if (!endCode) codes.pop_back();
  Bytes data;
  uint32_t acc = 0;
  int bits = 0;
  for (auto [c, w] : codes) {
    acc |= static_cast<uint32_t>(c) << bits;
    bits += w;
    while (bits >= 8) {
      data.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) data.push_back(static_cast<uint8_t>(acc));
  for (size_t at = 0; at < data.size(); at += 255) {
    size_t n = std::min<size_t>(255, data.size() - at);
    g.push_back(static_cast<uint8_t>(n));
    g.insert(g.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
  }
  g.push_back(0);
  g.push_back(0x3B);
  return g;
}

// A bitmap information header, colour table and rows (bottom-up unless the
// height is negative, each padded to 4 bytes). `used` overrides the header's
// colour count (0: the table's size).
inline Bytes Dib(int width, int height, int bits, const Bytes& table, const std::vector<Bytes>& storedRows,
                 int used = -1) {
  Bytes d;
  PutLe(d, 40, 4);
  PutLe(d, static_cast<uint32_t>(width), 4);
  PutLe(d, static_cast<uint32_t>(height), 4);
  PutLe(d, 1, 2);
  PutLe(d, static_cast<uint32_t>(bits), 2);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, used >= 0 ? static_cast<uint32_t>(used) : static_cast<uint32_t>(table.size() / 4), 4);
  PutLe(d, 0, 4);
  d.insert(d.end(), table.begin(), table.end());
  for (const auto& r : storedRows) {
    Bytes row = r;
    while (row.size() % 4) row.push_back(0);
    d.insert(d.end(), row.begin(), row.end());
  }
  return d;
}

// The data of every IDAT chunk of a PNG, in order.
inline Bytes IdatData(const Bytes& png) {
  Bytes out;
  for (size_t at = 8; at + 12 <= png.size();) {
    size_t length = static_cast<size_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    if (std::equal(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8, "IDAT")) {
      out.insert(out.end(), png.begin() + static_cast<long>(at) + 8, png.begin() + static_cast<long>(at + 8 + length));
    }
    at += 12 + length;
  }
  return out;
}

inline void Save(const std::string& path, const Bytes& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace txtest
