#include "services/picture.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tx {

namespace {

// A non-negative number as decimal digits: value = 0.D * 10^point.
struct DecimalDigits {
  std::string digits;
  int point = 0;  // digits before the decimal point (may be <= 0 or > digits.size())
};

// Fifteen significant digits is what a double carries reliably; the digits
// beyond are binary noise and must not decide the rounding.
DecimalDigits DigitsOf(double magnitude) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", magnitude);
  DecimalDigits d;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (std::isdigit(static_cast<unsigned char>(*p))) d.digits.push_back(*p);
  int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  d.point = exponent + 1;
  return d;
}

// Rounds half away from zero on the decimal digits, keeping `decimals` after the point.
void RoundDigits(DecimalDigits& d, int decimals) {
  long keep = static_cast<long>(d.point) + decimals;
  if (keep >= static_cast<long>(d.digits.size())) return;
  if (keep < 0) {
    d.digits = "0";
    d.point = 1;
    return;
  }
  bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    long i = keep - 1;
    for (; i >= 0; --i) {
      char& c = d.digits[static_cast<size_t>(i)];
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        break;
      }
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  if (d.digits.empty()) {
    d.digits = "0";
    d.point = 1;
  }
}

char DigitAt(const DecimalDigits& d, long index) {
  if (index < 0 || index >= static_cast<long>(d.digits.size())) return '0';
  return d.digits[static_cast<size_t>(index)];
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

  std::string integer;
  for (long i = 0; i < d.point; ++i) integer.push_back(DigitAt(d, i));
  size_t nonZero = integer.find_first_not_of('0');
  integer = nonZero == std::string::npos ? "0" : integer.substr(nonZero);
  std::string fraction;
  for (long i = d.point; i < d.point + decimals; ++i) fraction.push_back(DigitAt(d, i));

  bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
  if (zero && blankWhenZero) return std::string(static_cast<size_t>(width), ' ');
  bool negative = value < 0 && !zero;
  if (negative && !allowMinus) return Hashes(width);

  if (!zeroFill && integer.size() > 3) {
    std::string grouped;
    for (size_t i = 0; i < integer.size(); ++i) {
      if (i > 0 && (integer.size() - i) % 3 == 0) grouped.push_back(',');
      grouped.push_back(integer[i]);
    }
    integer = grouped;
  }
  std::string number = decimals > 0 ? integer + "." + fraction : integer;
  std::string sign = negative ? "-" : "";
  size_t used = sign.size() + number.size();
  if (used > static_cast<size_t>(width)) return Hashes(width);
  std::string pad(static_cast<size_t>(width) - used, zeroFill ? '0' : ' ');
  return zeroFill ? sign + pad + number : pad + sign + number;
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
