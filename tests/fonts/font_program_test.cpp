// Font programs to carry in a document: a subset keeps the outlines asked
// for and what composite glyphs are built from, and holds together as a font
// file; faces that cannot be carried are refused with a reason.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/fonts/font_engine.h"
#include "platform/fonts/font_program.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

// The length of a glyph's outline in a font whose loca is long (as written).
size_t OutlineLength(const std::string& font, uint16_t glyph) {
  const size_t tables = U32(font, 4) >> 16;
  for (size_t i = 0; i < tables; ++i)
    if (font.compare(12 + 16 * i, 4, "loca") == 0) {
      const size_t loca = U32(font, 12 + 16 * i + 8);
      return U32(font, loca + 4 * (glyph + 1u)) - U32(font, loca + 4 * glyph);
    }
  return 0;
}

}  // namespace

TEST(FontProgram, ASubsetKeepsTheGlyphsShownAndTheirParts) {
  tx::FontEngine engine;
  auto m = engine.Metrics({"Arial", 400, false});
  ASSERT_TRUE(m);
  std::ifstream in(m->fileName, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), {});
  const uint16_t a = m->glyphs['A'], b = m->glyphs['B'], aUmlaut = m->glyphs[0xC4];
  ASSERT_NE(a, 0);
  ASSERT_NE(aUmlaut, 0);

  std::string why;
  auto subset = tx::TrueTypeProgram(file, m->faceIndex, std::vector<uint16_t>{aUmlaut}, why);
  ASSERT_TRUE(subset) << why;
  EXPECT_LT(subset->size(), file.size() / 2);
  EXPECT_GT(OutlineLength(*subset, aUmlaut), 0u);
  EXPECT_GT(OutlineLength(*subset, a), 0u);  // "Ä" is made of "A" and its dots
  EXPECT_EQ(OutlineLength(*subset, b), 0u);
  EXPECT_GT(OutlineLength(*subset, 0), 0u);  // .notdef always stays
  // The result is a font file of its own: it can be cut again.
  EXPECT_TRUE(tx::TrueTypeProgram(*subset, 0, std::nullopt, why)) << why;

  std::array<bool, 256> codes{};
  codes['B'] = true;
  auto program = engine.Program({"Arial", 400, false}, codes);
  ASSERT_TRUE(program);
  EXPECT_TRUE(program->subset);
  EXPECT_GT(OutlineLength(program->data, b), 0u);
  EXPECT_EQ(OutlineLength(program->data, a), 0u);
}

TEST(FontProgram, FilesThatDoNotHoldTogetherAreRefused) {
  std::string why;
  EXPECT_FALSE(tx::TrueTypeProgram("short", 0, std::nullopt, why));
  EXPECT_FALSE(tx::TrueTypeProgram(std::string("OTTO\0\1\0\0\0\0\0\0", 12), 0, std::nullopt, why));
  EXPECT_EQ(why, "no TrueType outlines (glyf) in the face");
  // A collection of one face, asked for its second.
  EXPECT_FALSE(tx::TrueTypeProgram(std::string("ttcf\0\1\0\0\0\0\0\1\0\0\0\20", 16), 1, std::nullopt, why));
  EXPECT_EQ(why, "no such face in the collection");
  // A table directory that promises more than the file holds.
  std::string cut("\0\1\0\0\0\11\0\0\0\0\0\0head", 16);
  cut += std::string(12, '\xff');
  EXPECT_FALSE(tx::TrueTypeProgram(cut, 0, std::nullopt, why));
}
