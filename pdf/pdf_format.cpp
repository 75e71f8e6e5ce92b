#include "pdf/pdf_format.h"

#include <cmath>

namespace tx::pdf {

std::string Num(double value) {
  // Thousandths as an integer, printed by hand: this runs for every number
  // of every content stream, and printf's float path is the slow part.
  long long milli = std::llround(value * 1000.0);
  std::string out;
  if (milli < 0) {
    out += '-';
    milli = -milli;
  }
  out += std::to_string(milli / 1000);
  int frac = static_cast<int>(milli % 1000);
  if (frac != 0) {
    char digits[4] = {static_cast<char>('0' + frac / 100), static_cast<char>('0' + frac / 10 % 10),
                      static_cast<char>('0' + frac % 10), 0};
    int n = 3;
    while (digits[n - 1] == '0') --n;
    out += '.';
    out.append(digits, n);
  }
  return out;
}

std::string ColorPart(int byte) { return Num(static_cast<double>(byte & 0xFF) / 255.0); }

std::string ColorText(int32_t color) {
  return ColorPart(color) + " " + ColorPart(color >> 8) + " " + ColorPart(color >> 16);
}

std::string LineWidth(int32_t width) {
  // Pen units per point: 4750 / 567.
  return Num(static_cast<double>(width) / 8.3774250440917107583774250440917);
}

}  // namespace tx::pdf
