// The font engine: face resolution through fontconfig and metrics at an em of 1000.
#include <gtest/gtest.h>

#include "platform/fonts/font_engine.h"

using tx::FontEngine;
using tx::FontRequest;

TEST(FontEngine, ArialResolvesToItsMetricTwin) {
  FontEngine engine;
  auto m = engine.Metrics({"Arial", 400, false});
  ASSERT_TRUE(m);
  EXPECT_EQ(m->familyName, "Liberation Sans");
  EXPECT_EQ(m->widths['A'], 667);  // Arial's advances, unit for unit
  EXPECT_EQ(m->widths[' '], 278);
  EXPECT_EQ(m->widths['i'], 222);
  EXPECT_EQ(m->widths[0x80], 556);  // the euro sign through the code page
  EXPECT_EQ(m->firstChar, 32);
  EXPECT_EQ(m->lastChar, 255);
  EXPECT_FALSE(m->fixedPitch);
  EXPECT_EQ(m->italicAngle, 0);
  EXPECT_EQ(m->weight, 400);
  EXPECT_GT(m->ascent, 800);
  EXPECT_GT(m->descent, 150);
  EXPECT_EQ(m->internalLeading, m->ascent + m->descent - 1000);
  EXPECT_LT(m->bboxLeft, 0);
  EXPECT_LT(m->bboxBottom, 0);
  EXPECT_GT(m->bboxRight, 1000);
  EXPECT_GT(m->maxWidth, 1000);
  EXPECT_GT(m->avgWidth, 300);
}

TEST(FontEngine, StyleAndPitchComeFromTheFontFound) {
  FontEngine engine;
  auto bold = engine.Metrics({"Arial", 700, true});
  ASSERT_TRUE(bold);
  EXPECT_EQ(bold->weight, 700);
  EXPECT_LT(bold->italicAngle, -5);
  EXPECT_EQ(bold->widths['A'], 722);
  auto mono = engine.Metrics({"Courier New", 400, false});
  ASSERT_TRUE(mono);
  EXPECT_TRUE(mono->fixedPitch);
  EXPECT_EQ(mono->widths['i'], mono->widths['W']);
  auto serif = engine.Metrics({"Times New Roman", 400, false});
  ASSERT_TRUE(serif);
  EXPECT_EQ(serif->familyName, "Liberation Serif");
}

TEST(FontEngine, TextWidthSumsTheAdvances) {
  FontEngine engine;
  FontRequest arial{"Arial", 400, false};
  EXPECT_EQ(engine.TextWidth(arial, "AA i"), 667 + 667 + 278 + 222);
  EXPECT_EQ(engine.TextWidth(arial, ""), 0);
  // An unassigned code of the code page has no glyph and no width.
  EXPECT_EQ(engine.TextWidth(arial, "\x81"), 0);
}

TEST(FontEngine, CodePageMapsTheHighControlRange) {
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0x41), 0x41u);
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0x80), 0x20ACu);
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0x8A), 0x0160u);
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0x9F), 0x0178u);
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0x81), 0u);
  EXPECT_EQ(FontEngine::Cp1252ToUnicode(0xE9), 0xE9u);
}

TEST(FontEngine, RepeatedRequestsGiveTheSameAnswer) {
  FontEngine engine;
  auto a = engine.Metrics({"Arial", 400, false});
  auto b = engine.Metrics({"Arial", 400, false});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->widths, b->widths);
  EXPECT_EQ(a->fileName, b->fileName);
  EXPECT_EQ(&tx::SharedFontEngine(), &tx::SharedFontEngine());
}
