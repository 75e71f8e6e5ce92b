#include "services/picture.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tx {

namespace {

// A non-negative number as decimal digits: value = 0.D * 10^point. Formatting
// runs for every parameter value shown, so the digits live on the stack.
struct DecimalDigits {
  char digits[24];
  int count = 0;
  int point = 0;  // digits before the decimal point (may be <= 0 or > count)
};

// Fifteen significant digits is what a double carries reliably; the digits
// beyond are binary noise and must not decide the rounding. to_chars rounds
// exactly as printf's "%.14e" does, without its multi-precision arithmetic.
DecimalDigits DigitsOf(double magnitude) {
  char buf[40];
  char* end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14).ptr;
  DecimalDigits d;
  const char* p = buf;
  for (; p < end && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits[d.count++] = *p;
  int exponent = 0;
  if (p < end) {
    ++p;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    std::from_chars(p, end, exponent);
    if (negative) exponent = -exponent;
  }
  d.point = exponent + 1;
  return d;
}

// Rounds half away from zero on the decimal digits, keeping `decimals` after the point.
void RoundDigits(DecimalDigits& d, int decimals) {
  long keep = static_cast<long>(d.point) + decimals;
  if (keep >= d.count) return;
  if (keep < 0) {
    d.digits[0] = '0';
    d.count = 1;
    d.point = 1;
    return;
  }
  bool up = d.digits[keep] >= '5';
  d.count = static_cast<int>(keep);
  if (up) {
    long i = keep - 1;
    for (; i >= 0; --i) {
      char& c = d.digits[i];
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        break;
      }
    }
    if (i < 0) {
      std::memmove(d.digits + 1, d.digits, static_cast<size_t>(d.count));
      d.digits[0] = '1';
      ++d.count;
      ++d.point;
    }
  }
  if (d.count == 0) {
    d.digits[0] = '0';
    d.count = 1;
    d.point = 1;
  }
}

char DigitAt(const DecimalDigits& d, long index) {
  if (index < 0 || index >= d.count) return '0';
  return d.digits[index];
}

std::string Hashes(int width) { return std::string(static_cast<size_t>(width), '#'); }

}  // namespace

std::optional<NumberPicture> NumberPicture::Parse(std::string_view picture) {
  size_t i = 0;
  auto at = [&](size_t k) { return k < picture.size() ? picture[k] : '\0'; };
  if (at(i) != 'N' && at(i) != 'n') return std::nullopt;
  ++i;
  NumberPicture p;
  if (at(i) == '-') {
    p.allowMinus = true;
    ++i;
  }
  if (at(i) == '0') {
    p.zeroFill = true;
    ++i;
  }
  size_t start = i;
  while (std::isdigit(static_cast<unsigned char>(at(i))) && i - start < 3) p.width = p.width * 10 + (at(i++) - '0');
  if (i == start || p.width == 0) return std::nullopt;
  if (at(i) == '.') {
    ++i;
    if (!std::isdigit(static_cast<unsigned char>(at(i)))) return std::nullopt;
    start = i;
    while (std::isdigit(static_cast<unsigned char>(at(i))) && i - start < 2) p.decimals = p.decimals * 10 + (at(i++) - '0');
  }
  if (at(i) == 'B' || at(i) == 'b') {
    p.blankWhenZero = true;
    ++i;
  }
  if (i != picture.size()) return std::nullopt;
  return p;
}

std::string NumberPicture::Format(double value) const {
  if (!std::isfinite(value)) return Hashes(width);
  DecimalDigits d = DigitsOf(std::fabs(value));
  RoundDigits(d, decimals);

  // The integer part without leading zeros ("0" when it has no digit), then
  // `decimals` digits of fraction.
  long first = 0;
  while (first < d.point && DigitAt(d, first) == '0') ++first;
  const bool integerZero = first >= d.point;
  const long integerDigits = integerZero ? 1 : d.point - first;
  bool fractionZero = true;
  for (long i = d.point; i < d.point + decimals && fractionZero; ++i) fractionZero = DigitAt(d, i) == '0';

  bool zero = integerZero && fractionZero;
  if (zero && blankWhenZero) return std::string(static_cast<size_t>(width), ' ');
  bool negative = value < 0 && !zero;
  if (negative && !allowMinus) return Hashes(width);

  const bool grouped = !zeroFill && integerDigits > 3;
  const long commas = grouped ? (integerDigits - 1) / 3 : 0;
  const long number = integerDigits + commas + (decimals > 0 ? 1 + decimals : 0);
  const long used = (negative ? 1 : 0) + number;
  if (used > width) return Hashes(width);

  std::string out(static_cast<size_t>(width), zeroFill ? '0' : ' ');
  size_t at = static_cast<size_t>(width - number);
  if (negative) out[zeroFill ? 0 : at - 1] = '-';
  for (long i = 0; i < integerDigits; ++i) {
    if (grouped && i > 0 && (integerDigits - i) % 3 == 0) out[at++] = ',';
    out[at++] = integerZero ? '0' : DigitAt(d, first + i);
  }
  if (decimals > 0) {
    out[at++] = '.';
    for (long i = d.point; i < d.point + decimals; ++i) out[at++] = DigitAt(d, i);
  }
  return out;
}

std::string FormatPicture(std::string_view picture, double value) {
  if (auto p = NumberPicture::Parse(picture)) return p->Format(value);
  return PlainDecimalText(value);
}

std::string PlainDecimalText(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

}  // namespace tx
