// Value pictures: width, grouping, rounding on the decimal text, blanks.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/picture.h"

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

// The rule worked out with integers: the value's fifteen significant digits
// as printf gives them, scaled to `decimals` and rounded half away from zero.
// Good for magnitudes below 1e12 with up to 3 decimals.
std::string IntegerReference(double value, int width, int decimals, bool minus) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  const char* e = buf;
  int64_t mantissa = 0;
  for (; *e != 'e'; ++e)
    if (*e >= '0' && *e <= '9') mantissa = mantissa * 10 + (*e - '0');
  int shift = std::atoi(e + 1) - 14 + decimals;  // value * 10^decimals = mantissa * 10^shift
  int64_t scaled = mantissa;
  if (shift >= 0) {
    for (int i = 0; i < shift; ++i) scaled *= 10;
  } else if (shift < -18) {
    scaled = 0;
  } else {
    int64_t unit = 1;
    for (int i = 0; i < -shift; ++i) unit *= 10;
    scaled = (mantissa + unit / 2) / unit;
  }
  int64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  std::string integer = std::to_string(scaled / unit);
  for (int at = static_cast<int>(integer.size()) - 3; at > 0; at -= 3) integer.insert(static_cast<size_t>(at), ",");
  std::string text = integer;
  if (decimals > 0) {
    std::string fraction = std::to_string(scaled % unit);
    text += "." + std::string(static_cast<size_t>(decimals) - fraction.size(), '0') + fraction;
  }
  if (value < 0 && scaled != 0) {
    if (!minus) return std::string(static_cast<size_t>(width), '#');
    text = "-" + text;
  }
  if (text.size() > static_cast<size_t>(width)) return std::string(static_cast<size_t>(width), '#');
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

NumberPicture Picture(int width, int decimals) {
  NumberPicture p;
  p.width = width;
  p.decimals = decimals;
  p.allowMinus = true;
  return p;
}

TEST(Picture, AgreesWithIntegerRoundingOverParameterSweeps) {
  // Every raw value of a second-generation parameter over the scalings the
  // definitions use, at every precision.
  for (int decimals = 0; decimals <= 3; ++decimals) {
    const NumberPicture p = Picture(8, decimals);
    for (int raw = 0; raw <= 65535; ++raw) {
      const double f = raw / 65534.0;
      const double values[] = {-12 + 24 * f, 20 * std::pow(10.0, std::log10(1000.0) * f), 10 * f, 0.1 + 0.9 * f};
      for (double v : values) ASSERT_EQ(p.Format(v), IntegerReference(v, 8, decimals, true)) << v << " " << decimals;
    }
  }
}

TEST(Picture, AgreesWithIntegerRoundingOnAnyMagnitude) {
  std::mt19937_64 random(20260);
  std::uniform_real_distribution<double> exponent(-7, 11);
  for (int i = 0; i < 200000; ++i) {
    double v = std::pow(10.0, exponent(random)) * (random() % 2 ? -1 : 1);
    int decimals = static_cast<int>(random() % 4);
    ASSERT_EQ(Picture(20, decimals).Format(v), IntegerReference(v, 20, decimals, true)) << v << " " << decimals;
  }
  // Ties in the seventeenth digit and halves in the last kept one.
  for (double v : {1234567890.5, 99999999999.5, 0.0005, 0.00049999999999999, 2.675, 1.005, 9.995, 999999.9995})
    for (int decimals = 0; decimals <= 3; ++decimals)
      EXPECT_EQ(Picture(20, decimals).Format(v), IntegerReference(v, 20, decimals, true)) << v << " " << decimals;
}

}  // namespace

namespace {

std::string LibraryDigits(double magnitude) {
  char buf[40];
  char* end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14).ptr;
  return std::string(buf, end);
}

// The digits the pictures round from are computed without text for the usual
// magnitudes; they must be exactly the library's "%.14e" digits everywhere,
// ties to even included.
TEST(Picture, SignificantDigitsMatchTheLibrary) {
  std::vector<double> values = {0.0, 1.0, 10.0, 0.1, 1e14, 1e15, 1e-8, 1e22, 9.999999999999995, 99999999999999.95,
                                999999999999999.5, 1234567890123455.0, 1234567890123465.0, 2.675, 5e-324,
                                1.7976931348623157e308, 4503599627370495.5, 0.30000000000000004, 20000.0,
                                632.455532033676, 1e-9, 1e23, 123456789012345678.0};
  for (int p = -30; p <= 30; ++p) {
    double ten = std::pow(10.0, p);
    values.push_back(ten);
    values.push_back(std::nextafter(ten, 0.0));
    values.push_back(std::nextafter(ten, 1e300));
  }
  // Exact ties at the 16th digit: 16-digit integers ending in 5.
  for (uint64_t n = 1000000000000005; n < 9000000000000000; n += 731234567890130) values.push_back(static_cast<double>(n));
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 200000; ++i) {
    uint64_t bits = random() & 0x7FFFFFFFFFFFFFFFull;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    // And the magnitudes parameter values take.
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 90)));
  }
  int mismatches = 0;
  for (double v : values) {
    if (tx::SignificantText(v) != LibraryDigits(v) && ++mismatches <= 10)
      ADD_FAILURE() << v << ": " << tx::SignificantText(v) << " vs " << LibraryDigits(v);
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(tx::SignificantText(-1.0), "");
}

}  // namespace
