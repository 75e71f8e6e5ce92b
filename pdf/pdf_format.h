#pragma once
// Number formats of the PDF writer. Report units (thousandths of an inch)
// become points by dividing by 8500/612, i.e. multiplying by 0.072.
#include <cstdint>
#include <string>

namespace tx::pdf {

// Report units to points.
inline double ToPoints(double reportUnits) { return reportUnits * 72.0 / 1000.0; }

// A decimal without exponent, rounded to 3 decimals, trailing zeros dropped
// ("72", "0.5", "-1.25"). Coordinates are exact multiples of 0.072, so 3
// decimals keep them exact.
std::string Num(double value);

// A colour component byte as a fraction rounded to 3 decimals.
std::string ColorPart(int byte);
// "r g b" of a 0x00BBGGRR colour.
std::string ColorText(int32_t color);

// A line width in report pen units as points, rounded to 3 decimals.
std::string LineWidth(int32_t width);

}  // namespace tx::pdf
