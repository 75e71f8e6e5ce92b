#pragma once
// Numeric display pictures: "N-8.2" (eight characters, minus sign allowed,
// two decimals, grouping commas), "N03B" (three digits with leading zeros,
// blank when zero) and the like. Rounding works on the value's decimal text,
// so 2.675 shown with two decimals reads 2.68 even though the binary double
// lies just below it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tx {

struct NumberPicture {
  int width = 0;           // characters of the result
  int decimals = 0;        // digits after the point
  bool allowMinus = false; // "-" in the picture
  bool zeroFill = false;   // "0" before the width: leading zeros, no grouping
  bool blankWhenZero = false;  // trailing "B"

  // Parses "N[-][0]W[.K][B]" (letter case ignored); nullopt when it is not such a picture.
  static std::optional<NumberPicture> Parse(std::string_view picture);

  // Exactly `width` characters, right-aligned. A number that does not fit, a
  // negative number without "-" in the picture, or a value that is not finite
  // shows as `width` "#" characters. A value that rounds to zero has no minus
  // sign; values between -1 and 1 keep the 0 before the point.
  std::string Format(double value) const;

 private:
  std::string FormatRounded(bool negative, uint64_t q) const;
};

// The fifteen significant digits the pictures round from, as "%.14e" prints
// them ("1.23450000000000e+02"); empty for a negative or non-finite value.
std::string SignificantText(double magnitude);

// Formats `value` with `picture`; an unparsable picture gives the plain decimal text.
std::string FormatPicture(std::string_view picture, double value);

// The decimal text of a value as printing shows it: at most 15 significant
// digits, no exponent for ordinary magnitudes, no trailing zeros after the
// point ("632.455532033676", "5", "-0.25"); "1e+20" style for very large or
// very small magnitudes. Empty for a value that is not finite.
std::string PlainDecimalText(double value);

}  // namespace tx
