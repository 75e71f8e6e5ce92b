#include "platform/fonts/font_program.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace tx {

namespace {

uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) << 8 | static_cast<uint8_t>(b[at + 1]));
}
uint32_t U32(std::string_view b, size_t at) { return static_cast<uint32_t>(U16(b, at)) << 16 | U16(b, at + 2); }
void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v >> 16));
  Put16(b, at + 2, static_cast<uint16_t>(v));
}
void Append32(std::string& b, uint32_t v) {
  b.resize(b.size() + 4);
  Put32(b, b.size() - 4, v);
}

uint32_t Tag(const char* t) { return U32(std::string_view(t, 4), 0); }

uint32_t Checksum(std::string_view data) {
  uint32_t sum = 0;
  for (size_t i = 0; i < data.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = word << 8 | (i + k < data.size() ? static_cast<uint8_t>(data[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

// What a document's reader uses of a TrueType face.
bool Kept(uint32_t tag) {
  for (const char* t : {"cmap", "cvt ", "fpgm", "gasp", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name",
                        "OS/2", "post", "prep"})
    if (tag == Tag(t)) return true;
  return false;
}

// The glyphs a composite glyph is built from (none for a simple one). False
// when its description runs past its data.
bool Components(std::string_view glyph, std::vector<uint16_t>& out) {
  if (glyph.size() < 10 || static_cast<int16_t>(U16(glyph, 0)) >= 0) return true;
  constexpr uint16_t kWords = 0x1, kScale = 0x8, kMore = 0x20, kXYScale = 0x40, kTwoByTwo = 0x80;
  size_t at = 10;
  for (;;) {
    if (at + 4 > glyph.size()) return false;
    const uint16_t flags = U16(glyph, at);
    out.push_back(U16(glyph, at + 2));
    at += 4 + ((flags & kWords) ? 4 : 2);
    if (flags & kScale) at += 2;
    else if (flags & kXYScale) at += 4;
    else if (flags & kTwoByTwo) at += 8;
    if (!(flags & kMore)) return at <= glyph.size();
  }
}

}  // namespace

std::optional<std::string> TrueTypeProgram(std::string_view file, int faceIndex,
                                           const std::optional<std::vector<uint16_t>>& glyphs, std::string& why) {
  auto fail = [&](const char* reason) -> std::optional<std::string> {
    why = reason;
    return std::nullopt;
  };
  if (file.size() < 12) return fail("not a font file");
  size_t face = 0;
  if (U32(file, 0) == Tag("ttcf")) {
    const uint32_t faces = U32(file, 8);
    if (faceIndex < 0 || static_cast<uint32_t>(faceIndex) >= faces || 12 + 4 * size_t(faces) > file.size())
      return fail("no such face in the collection");
    face = U32(file, 12 + 4 * static_cast<size_t>(faceIndex));
  } else if (faceIndex != 0) {
    return fail("no such face in the file");
  }
  if (face + 12 > file.size()) return fail("the face's table directory lies outside the file");
  const uint32_t version = U32(file, face);
  if (version != 0x00010000 && version != Tag("true")) return fail("no TrueType outlines (glyf) in the face");
  const uint16_t count = U16(file, face + 4);
  if (face + 12 + 16 * size_t{count} > file.size()) return fail("the face's table directory lies outside the file");

  std::map<uint32_t, std::string_view> tables;
  for (size_t i = 0; i < count; ++i) {
    const size_t record = face + 12 + 16 * i;
    const uint32_t tag = U32(file, record), offset = U32(file, record + 8), length = U32(file, record + 12);
    if (offset > file.size() || length > file.size() - offset) return fail("a table lies outside the file");
    tables[tag] = file.substr(offset, length);
  }
  const auto head = tables.find(Tag("head")), maxp = tables.find(Tag("maxp")), loca = tables.find(Tag("loca")),
             glyf = tables.find(Tag("glyf"));
  if (head == tables.end() || maxp == tables.end() || loca == tables.end() || glyf == tables.end())
    return fail("no TrueType outlines (glyf) in the face");
  if (head->second.size() < 54 || maxp->second.size() < 6) return fail("a short head or maxp table");
  const bool longOffsets = static_cast<int16_t>(U16(head->second, 50)) == 1;
  const size_t glyphCount = U16(maxp->second, 4);
  if (loca->second.size() < (glyphCount + 1) * (longOffsets ? 4 : 2)) return fail("a short loca table");
  // Where each glyph's description lies in glyf.
  std::vector<std::string_view> descriptions(glyphCount);
  for (size_t g = 0; g < glyphCount; ++g) {
    const size_t from = longOffsets ? U32(loca->second, 4 * g) : size_t{U16(loca->second, 2 * g)} * 2;
    const size_t to = longOffsets ? U32(loca->second, 4 * g + 4) : size_t{U16(loca->second, 2 * g + 2)} * 2;
    if (from > to || to > glyf->second.size()) return fail("a glyph lies outside the glyf table");
    descriptions[g] = glyf->second.substr(from, to - from);
  }

  // The glyphs kept: those asked for and, through composites, what they are made of.
  std::vector<bool> keep(glyphCount, !glyphs.has_value());
  if (glyphs) {
    std::vector<uint16_t> pending(glyphs->begin(), glyphs->end());
    pending.push_back(0);
    while (!pending.empty()) {
      const uint16_t g = pending.back();
      pending.pop_back();
      if (g >= glyphCount || keep[g]) continue;
      keep[g] = true;
      if (!Components(descriptions[g], pending)) return fail("a composite glyph runs past its data");
    }
  }

  std::string newGlyf, newLoca;
  for (size_t g = 0; g < glyphCount; ++g) {
    Append32(newLoca, static_cast<uint32_t>(newGlyf.size()));
    if (!keep[g]) continue;
    newGlyf.append(descriptions[g]);
    newGlyf.resize((newGlyf.size() + 3) & ~size_t{3}, '\0');
  }
  Append32(newLoca, static_cast<uint32_t>(newGlyf.size()));
  std::string newHead(head->second);
  Put32(newHead, 8, 0);  // checkSumAdjustment, set once the whole font is known
  Put16(newHead, 50, 1);  // long loca offsets

  std::map<uint32_t, std::string_view> out;  // by tag, as the directory wants them
  for (const auto& [tag, data] : tables)
    if (Kept(tag)) out[tag] = data;
  out[Tag("glyf")] = newGlyf;
  out[Tag("loca")] = newLoca;
  out[Tag("head")] = newHead;

  const uint16_t n = static_cast<uint16_t>(out.size());
  uint16_t power = 1, selector = 0;
  while (power * 2 <= n) power *= 2, ++selector;
  std::string font(12 + 16 * size_t{n}, '\0');
  Put32(font, 0, 0x00010000);
  Put16(font, 4, n);
  Put16(font, 6, static_cast<uint16_t>(power * 16));
  Put16(font, 8, selector);
  Put16(font, 10, static_cast<uint16_t>(n * 16 - power * 16));
  size_t record = 12, headAt = 0;
  for (const auto& [tag, data] : out) {
    const size_t at = font.size();
    if (tag == Tag("head")) headAt = at;
    font.append(data);
    font.resize((font.size() + 3) & ~size_t{3}, '\0');
    Put32(font, record, tag);
    Put32(font, record + 4, Checksum(data));
    Put32(font, record + 8, static_cast<uint32_t>(at));
    Put32(font, record + 12, static_cast<uint32_t>(data.size()));
    record += 16;
  }
  Put32(font, headAt + 8, 0xB1B0AFBAu - Checksum(font));
  return font;
}

}  // namespace tx
