#include "platform/reportengine/text_measure.h"

#include <cmath>

#include "platform/fonts/font_engine.h"

namespace tx {

int MeasureTextWidth(const ReportFont& font, std::string_view text) {
  if (text.empty()) return 0;
  long ems = SharedFontEngine().TextWidth(FontRequest{font.face, font.weight, font.italic}, text);
  if (ems <= 0) return EstimateTextWidth(font, text);
  return static_cast<int>(std::lround(static_cast<double>(ems) * font.size / 72.0));
}

int EstimateTextWidth(const ReportFont& font, std::string_view text) {
  // Advance widths in thousandths of an em, close to those of Arial.
  double ems = 0;
  for (unsigned char ch : text) {
    if (ch == ' ' || ch == 'i' || ch == 'j' || ch == 'l' || ch == '.' || ch == ',' || ch == '\'' || ch == '!' ||
        ch == 'I' || ch == ':' || ch == ';' || ch == '|')
      ems += 0.28;
    else if (ch == 'f' || ch == 't' || ch == 'r' || ch == '(' || ch == ')' || ch == '-')
      ems += 0.33;
    else if (ch == 'm' || ch == 'w' || ch == 'M' || ch == 'W')
      ems += 0.85;
    else if (ch >= 'A' && ch <= 'Z')
      ems += 0.68;
    else
      ems += 0.56;
  }
  if (font.weight >= 600) ems *= 1.08;
  return static_cast<int>(std::lround(ems * font.size * 1000.0 / 72.0));
}

}  // namespace tx
