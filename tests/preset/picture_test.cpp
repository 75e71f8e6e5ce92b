// Value pictures: width, grouping, rounding on the decimal text, blanks.
#include <gtest/gtest.h>

#include "services/picture.h"

namespace {

using tx::FormatPicture;
using tx::NumberPicture;

TEST(Picture, ParsesTheProgramsPictures) {
  auto p = NumberPicture::Parse("N-8.2");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 8);
  EXPECT_EQ(p->decimals, 2);
  EXPECT_TRUE(p->allowMinus);
  EXPECT_FALSE(p->zeroFill);
  auto q = NumberPicture::Parse("N03B");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->width, 3);
  EXPECT_TRUE(q->zeroFill);
  EXPECT_TRUE(q->blankWhenZero);
  EXPECT_FALSE(q->allowMinus);
  for (const char* bad : {"", "N", "N-", "8.2", "N-8.", "N-8.2X", "s30", "N0"}) EXPECT_FALSE(NumberPicture::Parse(bad)) << bad;
}

TEST(Picture, RightAlignsInEightCharacters) {
  EXPECT_EQ(FormatPicture("N-8.1", 5.0), "     5.0");
  EXPECT_EQ(FormatPicture("N-8", 632.455532033676), "     632");
  EXPECT_EQ(FormatPicture("N-8.1", 632.455532033676), "   632.5");
  EXPECT_EQ(FormatPicture("N-8.2", 1.25), "    1.25");
  EXPECT_EQ(FormatPicture("N-8", 3), "       3");
  EXPECT_EQ(FormatPicture("N-8.2", 3), "    3.00");
}

TEST(Picture, GroupsThousandsWithCommas) {
  EXPECT_EQ(FormatPicture("N-8", 20000), "  20,000");
  EXPECT_EQ(FormatPicture("N-8", 999), "     999");
  EXPECT_EQ(FormatPicture("N-8", 1000), "   1,000");
  EXPECT_EQ(FormatPicture("N-8", -1000), "  -1,000");
  EXPECT_EQ(FormatPicture("N-8", 123456), " 123,456");
  EXPECT_EQ(FormatPicture("N-8", -123456), "-123,456");
}

TEST(Picture, ShowsZeroAndNegativeValues) {
  EXPECT_EQ(FormatPicture("N-8", 0), "       0");
  EXPECT_EQ(FormatPicture("N-8.3", 0), "   0.000");
  EXPECT_EQ(FormatPicture("N-8", -6), "      -6");
  EXPECT_EQ(FormatPicture("N-8.1", -0.5), "    -0.5");
  EXPECT_EQ(FormatPicture("N-8.1", 0.25), "     0.3");
  // Rounds to zero: no minus sign left over.
  EXPECT_EQ(FormatPicture("N-8.1", -0.04), "     0.0");
  EXPECT_EQ(FormatPicture("N-8", -0.4), "       0");
}

TEST(Picture, RoundsOnTheDecimalTextHalfAwayFromZero) {
  // 2.675 and 1.005 lie just below their decimal text as doubles.
  EXPECT_EQ(FormatPicture("N-8.2", 2.675), "    2.68");
  EXPECT_EQ(FormatPicture("N-8.2", 1.005), "    1.01");
  EXPECT_EQ(FormatPicture("N-8.1", 0.15), "     0.2");
  EXPECT_EQ(FormatPicture("N-8", 2.5), "       3");
  EXPECT_EQ(FormatPicture("N-8", -2.5), "      -3");
  EXPECT_EQ(FormatPicture("N-8.2", 9.995), "   10.00");
  EXPECT_EQ(FormatPicture("N-8", 999.5), "   1,000");
  EXPECT_EQ(FormatPicture("N-8.3", 0.0005), "   0.001");
  EXPECT_EQ(FormatPicture("N-8.3", 0.0004), "   0.000");
  // Binary noise beyond fifteen digits does not count.
  EXPECT_EQ(FormatPicture("N-8.1", 0.1 + 0.2), "     0.3");
}

TEST(Picture, FillsWithHashesWhatDoesNotFit) {
  EXPECT_EQ(FormatPicture("N-8", 100000000), "########");
  EXPECT_EQ(FormatPicture("N-8.3", 99999.9999), "########");
  EXPECT_EQ(FormatPicture("N-8", 1234567), "########");  // "1,234,567" needs nine
  EXPECT_EQ(FormatPicture("N-8.3", 999.999), " 999.999");
  EXPECT_EQ(FormatPicture("N-8", 1.0 / 0.0), "########");
  EXPECT_EQ(FormatPicture("N-8", 0.0 / 0.0), "########");
  EXPECT_EQ(FormatPicture("N03B", 1000), "###");
  EXPECT_EQ(FormatPicture("N03B", -7), "###");  // no minus in the picture
}

TEST(Picture, WindowNumberHasLeadingZerosAndBlankForZero) {
  EXPECT_EQ(FormatPicture("N03B", 7), "007");
  EXPECT_EQ(FormatPicture("N03B", 58), "058");
  EXPECT_EQ(FormatPicture("N03B", 255), "255");
  EXPECT_EQ(FormatPicture("N03B", 0), "   ");
  EXPECT_EQ(FormatPicture("N03", 0), "000");
}

TEST(Picture, PlainDecimalText) {
  EXPECT_EQ(tx::PlainDecimalText(5), "5");
  EXPECT_EQ(tx::PlainDecimalText(-0.25), "-0.25");
  EXPECT_EQ(tx::PlainDecimalText(632.455532033676), "632.455532033676");
  EXPECT_EQ(tx::PlainDecimalText(-0.0), "0");
  EXPECT_EQ(tx::PlainDecimalText(1e20), "1e+20");
  EXPECT_EQ(tx::PlainDecimalText(1.0 / 0.0), "");
  EXPECT_EQ(FormatPicture("s30", 1.5), "1.5");
}

}  // namespace
