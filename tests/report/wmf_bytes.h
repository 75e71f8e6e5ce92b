#pragma once
// Page metafiles put together byte by byte, for the parser's edge cases.
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace txtest {

class WmfBytes {
 public:
  // The placeable header (22 bytes) and the standard header (18 bytes).
  explicit WmfBytes(uint16_t unitsPerInch = 1000, int16_t right = 8500, int16_t bottom = 11000,
                    uint32_t key = 0x9AC6CDD7) {
    U32(key);
    U16(0);
    U16(0);
    U16(0);
    U16(static_cast<uint16_t>(right));
    U16(static_cast<uint16_t>(bottom));
    U16(unitsPerInch);
    U32(0);
    U16(0);
    for (uint16_t w : {1, 9, 0x0300, 0, 0, 0, 0, 0, 0}) U16(w);
  }

  // A record of 16-bit parameters.
  WmfBytes& Rec(uint16_t function, std::initializer_list<int> params) {
    U32(static_cast<uint32_t>(3 + params.size()));
    U16(function);
    for (int p : params) U16(static_cast<uint16_t>(p));
    return *this;
  }
  // A record with a payload of bytes (padded to whole words).
  WmfBytes& Raw(uint16_t function, std::vector<uint8_t> payload) {
    if (payload.size() % 2) payload.push_back(0);
    U32(static_cast<uint32_t>(3 + payload.size() / 2));
    U16(function);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return *this;
  }
  // Colours take two parameters, low word first.
  static int Lo(uint32_t c) { return static_cast<int>(c & 0xFFFF); }
  static int Hi(uint32_t c) { return static_cast<int>(c >> 16); }

  WmfBytes& Pen(int style, int width, uint32_t color) { return Rec(0x02FA, {style, width, 0, Lo(color), Hi(color)}); }
  WmfBytes& Brush(int style, uint32_t color, int hatch = 0) { return Rec(0x02FC, {style, Lo(color), Hi(color), hatch}); }
  WmfBytes& Font(int height, std::string_view face, int weight = 400, bool italic = false, int escapement = 0) {
    std::vector<uint8_t> p;
    auto w16 = [&](int v) {
      p.push_back(static_cast<uint8_t>(v & 0xFF));
      p.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    w16(height);
    w16(0);
    w16(escapement);
    w16(escapement);
    w16(weight);
    p.push_back(italic ? 1 : 0);
    p.push_back(0);
    p.push_back(0);
    p.push_back(0);  // charset
    for (int i = 0; i < 4; ++i) p.push_back(0);
    p.insert(p.end(), face.begin(), face.end());
    p.resize(18 + 32, 0);
    return Raw(0x02FB, p);
  }
  WmfBytes& Palette() { return Rec(0x00F7, {0x300, 1, 0, 0}); }
  WmfBytes& Select(int slot) { return Rec(0x012D, {slot}); }
  WmfBytes& Delete(int slot) { return Rec(0x01F0, {slot}); }
  WmfBytes& WindowOrg(int x, int y) { return Rec(0x020B, {y, x}); }
  WmfBytes& MoveTo(int x, int y) { return Rec(0x0214, {y, x}); }
  WmfBytes& LineTo(int x, int y) { return Rec(0x0213, {y, x}); }
  WmfBytes& Rectangle(int l, int t, int r, int b) { return Rec(0x041B, {b, r, t, l}); }
  WmfBytes& Ellipse(int l, int t, int r, int b) { return Rec(0x0418, {b, r, t, l}); }
  WmfBytes& Pie(int l, int t, int r, int b, int sx, int sy, int ex, int ey) {
    return Rec(0x081A, {ey, ex, sy, sx, b, r, t, l});
  }
  // Text with no rectangle (options 0) or with one.
  WmfBytes& Text(int x, int y, std::string_view s, int options = 0, std::initializer_list<int> rect = {}) {
    std::vector<uint8_t> p;
    auto w16 = [&](int v) {
      p.push_back(static_cast<uint8_t>(v & 0xFF));
      p.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    w16(y);
    w16(x);
    w16(static_cast<int>(s.size()));
    w16(options);
    for (int v : rect) w16(v);
    p.insert(p.end(), s.begin(), s.end());
    return Raw(0x0A32, p);
  }

  // A report engine comment: kind 11/12 with keyword, 13 with a name, 9, 14, 15.
  WmfBytes& Comment(uint16_t kind, std::string_view tag, std::string_view text = {}, uint16_t flag = 0) {
    std::vector<uint8_t> d(28, 0);
    d[0] = 0x27;
    d[1] = 0x05;
    d[2] = static_cast<uint8_t>(kind);
    if (kind == 9) {
      d.resize(14);
      d.insert(d.end(), text.begin(), text.end());
      d.push_back(0);
    } else {
      for (size_t i = 0; i < tag.size() && i < 19; ++i) d[4 + i] = static_cast<uint8_t>(tag[i]);
      d[24] = static_cast<uint8_t>(text.size() & 0xFF);
      d[25] = static_cast<uint8_t>(text.size() >> 8);
      d[26] = static_cast<uint8_t>(flag);
      d.insert(d.end(), text.begin(), text.end());
    }
    std::vector<uint8_t> p{0x0F, 0x00, static_cast<uint8_t>(d.size() & 0xFF), static_cast<uint8_t>(d.size() >> 8)};
    p.insert(p.end(), d.begin(), d.end());
    return Raw(0x0626, p);
  }
  WmfBytes& Begin(std::string_view keyword, std::string_view attributes = {}, uint16_t flag = 0) {
    return Comment(11, keyword, attributes, flag);
  }
  WmfBytes& End(std::string_view keyword, uint16_t flag = 0) { return Comment(12, keyword, {}, flag); }
  WmfBytes& Eof() { return Rec(0x0000, {}); }

  void U16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v & 0xFFFF));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  std::vector<uint8_t> bytes;
};

}  // namespace txtest
