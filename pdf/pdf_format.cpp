#include "pdf/pdf_format.h"

#include <cmath>
#include <cstdio>

namespace tx::pdf {

std::string Num(double value) {
  double rounded = std::round(value * 1000.0) / 1000.0;
  if (rounded == 0) rounded = 0;  // no "-0"
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", rounded);
  std::string out(text);
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
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
