#include "base/picture.h"

#include <array>
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
// beyond are binary noise and must not decide the rounding. The digits are
// those of printf's "%.14e": the exact binary value rounded to 15 digits,
// ties to even.
DecimalDigits DigitsByText(double magnitude) {
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

using u128 = unsigned __int128;

constexpr auto kPowersOfTen = [] {
  std::array<u128, 31> p{};
  p[0] = 1;
  for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

u128 PowerOfTen(int n) { return kPowersOfTen[static_cast<size_t>(n)]; }

// magnitude = m * 2^e scaled by 10^k and rounded to a whole number (ties to
// even), when the arithmetic stays exact in 128 bits; false otherwise.
bool ScaledRounded(uint64_t m, int e, int k, uint64_t& result, uint64_t& truncated) {
  u128 q, r, half2, den;
  if (k >= 0) {
    if (k > 22 || e > 0 || e < -120) return false;
    const u128 num = u128{m} * PowerOfTen(k);
    const int s = -e;
    if (s == 0) {
      q = num;
      r = 0;
      den = 1;
    } else {
      q = num >> s;
      r = num & ((u128{1} << s) - 1);
      den = u128{1} << s;
    }
  } else {
    if (-k > 30 || e > 70 || e < -8) return false;
    u128 num = u128{m};
    den = PowerOfTen(-k);
    if (e >= 0)
      num <<= e;
    else
      den <<= -e;
    q = num / den;
    r = num % den;
  }
  if (q >> 63) return false;
  truncated = static_cast<uint64_t>(q);
  half2 = r * 2;
  uint64_t n = truncated;
  if (half2 > den || (half2 == den && (n & 1))) ++n;
  result = n;
  return true;
}

// The first sixteen, as 64-bit numbers.
constexpr auto kPowersOfTen64 = [] {
  std::array<uint64_t, 16> p{};
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint64_t>(kPowersOfTen[i]);
  return p;
}();

// The same digits as one integer: magnitude ~ n * 10^(point - 15), n of 15
// digits (0 for 0). The usual magnitudes only, in exact integer arithmetic;
// false for the rest.
bool DigitsAsInteger(double magnitude, uint64_t& n, int& point) {
  constexpr uint64_t kLow = kPowersOfTen64[14];
  constexpr uint64_t kHigh = kPowersOfTen64[15];
  if (magnitude == 0) {
    n = 0;
    point = 1;
    return true;
  }
  uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>(bits >> 52 & 0x7FF);
  if (biased == 0 || biased == 0x7FF) return false;  // subnormal, infinite or NaN
  const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | uint64_t{1} << 52;
  const int e = biased - 1075;  // magnitude = m * 2^e, 2^52 <= m < 2^53
  // floor(log10(magnitude)) is floor(log10(2^(e + 52))) or one more.
  int exponent = ((e + 52) * 78913) >> 18;
  uint64_t truncated = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!ScaledRounded(m, e, 14 - exponent, n, truncated)) return false;
    if (truncated < kHigh) break;
    ++exponent;
  }
  if (truncated < kLow || truncated >= kHigh) return false;
  if (n == kHigh) {  // 9.99..95 rounded up to the next power of ten
    n = kLow;
    ++exponent;
  }
  point = exponent + 1;
  return true;
}

// Writes `n` as exactly `count` digits, leading zeros included.
void PutDigits(DecimalDigits& d, uint64_t n, int count) {
  for (int i = count - 1; i >= 0; --i) {
    d.digits[i] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  d.count = count;
}

DecimalDigits DigitsOf(double magnitude) {
  DecimalDigits d;
  uint64_t n;
  int point;
  if (!DigitsAsInteger(magnitude, n, point)) return DigitsByText(magnitude);
  PutDigits(d, n, 15);
  d.point = point;
  return d;
}

// n / 10^count for count 1..15, with constant divisors the compiler turns
// into multiplications.
uint64_t DropDigits(uint64_t n, int count) {
  switch (count) {
    case 1: return n / 10ull;
    case 2: return n / 100ull;
    case 3: return n / 1000ull;
    case 4: return n / 10000ull;
    case 5: return n / 100000ull;
    case 6: return n / 1000000ull;
    case 7: return n / 10000000ull;
    case 8: return n / 100000000ull;
    case 9: return n / 1000000000ull;
    case 10: return n / 10000000000ull;
    case 11: return n / 100000000000ull;
    case 12: return n / 1000000000000ull;
    case 13: return n / 10000000000000ull;
    case 14: return n / 100000000000000ull;
    default: return n / 1000000000000000ull;
  }
}

// DigitsOf then RoundDigits as one integer: magnitude rounded to `decimals`
// places is q / 10^decimals. False where that does not apply.
bool RoundedInteger(double magnitude, int decimals, uint64_t& q) {
  uint64_t n;
  int point;
  if (decimals > 15 || !DigitsAsInteger(magnitude, n, point)) return false;
  const long keep = static_cast<long>(point) + decimals;
  if (keep >= 15) return false;
  if (keep < 0) {
    q = 0;
    return true;
  }
  const uint64_t unit = kPowersOfTen64[15 - keep];
  q = DropDigits(n, static_cast<int>(15 - keep));
  if (n - q * unit >= unit / 2) ++q;  // the first digit dropped is 5 or more
  return true;
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
  uint64_t q;
  if (RoundedInteger(std::fabs(value), decimals, q)) return FormatRounded(value < 0, q);

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

// The same layout for a value already rounded to q / 10^decimals: written
// from the right, without spelling out digits that are not shown.
std::string NumberPicture::FormatRounded(bool negativeValue, uint64_t q) const {
  const uint64_t integerPart = decimals > 0 ? DropDigits(q, decimals) : q;
  const uint64_t fraction = q - integerPart * kPowersOfTen64[decimals];
  long integerDigits = 1;
  while (integerDigits < 16 && integerPart >= kPowersOfTen64[integerDigits]) ++integerDigits;

  const bool zero = q == 0;
  if (zero && blankWhenZero) return std::string(static_cast<size_t>(width), ' ');
  const bool negative = negativeValue && !zero;
  if (negative && !allowMinus) return Hashes(width);

  const bool grouped = !zeroFill && integerDigits > 3;
  const long commas = grouped ? (integerDigits - 1) / 3 : 0;
  const long number = integerDigits + commas + (decimals > 0 ? 1 + decimals : 0);
  if ((negative ? 1 : 0) + number > width) return Hashes(width);

  std::string out(static_cast<size_t>(width), zeroFill ? '0' : ' ');
  size_t at = static_cast<size_t>(width);
  if (decimals > 0) {
    uint64_t f = fraction;
    for (int i = 0; i < decimals; ++i) {
      out[--at] = static_cast<char>('0' + f % 10);
      f /= 10;
    }
    out[--at] = '.';
  }
  uint64_t digits = integerPart;
  for (long i = 0; i < integerDigits; ++i) {
    if (grouped && i > 0 && i % 3 == 0) out[--at] = ',';
    out[--at] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  if (negative) out[zeroFill ? 0 : at - 1] = '-';
  return out;
}

std::string SignificantText(double magnitude) {
  if (!std::isfinite(magnitude) || magnitude < 0) return {};
  const DecimalDigits d = DigitsOf(magnitude);
  std::string out;
  out += d.digits[0];
  out += '.';
  out.append(d.digits + 1, static_cast<size_t>(d.count - 1));
  const int exponent = d.point - 1;
  char buf[16];
  std::snprintf(buf, sizeof buf, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
  return out + buf;
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
