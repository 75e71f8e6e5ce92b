#include "preset/format_value.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

#include "base/picture.h"

namespace tx {

namespace {

constexpr size_t VALUE_WIDTH = 20;
constexpr int32_t LIST_ENTRIES = 256;

// "N-8", "N-8.1", "N-8.2", "N-8.3".
NumberPicture ValuePicture(int precision) {
  NumberPicture p;
  p.width = 8;
  p.decimals = precision;
  p.allowMinus = true;
  return p;
}

// Where to cut `text` to at most `width` bytes without splitting a UTF-8
// character: before the lead byte of a sequence the cut would run through.
size_t Utf8CutPoint(std::string_view text, size_t width) {
  if (text.size() <= width) return text.size();
  size_t lead = width;
  while (lead > 0 && width - lead < 3 && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) --lead;
  unsigned char c = static_cast<unsigned char>(text[lead]);
  size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return lead < width && lead + length > width ? lead : width;
}

}  // namespace

bool SelectionMakesList(const SelectionRecord& row) {
  // Blank entries are all spaces, so the whole list is compared at once:
  // every numeric parameter has such a row, and this runs for each of them.
  static const std::array<char, sizeof row.SELECTION> blank = [] {
    std::array<char, sizeof row.SELECTION> b;
    b.fill(' ');
    return b;
  }();
  return std::memcmp(row.SELECTION, blank.data(), blank.size()) != 0;
}

ValueScale::ValueScale(const EffectRecord& d)
    : steps(d.NUMBEROFVALUES), minimum(d.MINIMUMVALUE), maximum(d.MAXIMUMVALUE), precision(d.PRECISION) {
  if (d.PARAMTYPE == "LIN" || d.PARAMTYPE == "INT") {
    kind = Kind::Linear;
  } else if (d.PARAMTYPE == "LOG") {
    // A logarithmic sweep needs a range that does not touch or cross 0;
    // otherwise the value sweeps linearly, which still runs from MIN to MAX.
    if (minimum != 0 && maximum / minimum > 0) {
      kind = Kind::Logarithmic;
      logRatio = std::log10(maximum / minimum);
    } else {
      kind = Kind::Linear;
    }
  }
}

std::optional<double> ValueScale::Scaled(int32_t raw) const {
  // No steps to divide by: the value stays at the low end of the range.
  const double f = steps == 0 ? 0.0 : static_cast<double>(raw) / steps;
  switch (kind) {
    case Kind::Linear: return minimum + (maximum - minimum) * f;
    case Kind::Logarithmic: return minimum * std::pow(10.0, logRatio * f);
    case Kind::None: break;
  }
  return std::nullopt;
}

std::optional<double> ScaledParameterValue(int32_t raw, const EffectRecord& d) { return ValueScale(d).Scaled(raw); }

std::string FormatParameterValue(int32_t raw, const EffectRecord& definition, const SelectionRecord* selection) {
  if (selection) return FormatListValue(raw, {selection->SELECTION, LIST_ENTRIES});
  return FormatScaledValue(raw, ValueScale(definition));
}

std::string FormatListValue(int32_t raw, SelectionList list) {
  if (raw < 0 || raw >= LIST_ENTRIES || static_cast<size_t>(raw) >= list.count) return {};
  std::string_view text = list.entries[raw].raw();
  // The import stores the lists' UTF-8 text: the cut must not leave half a
  // character behind, so it moves back to the start of the one it would split.
  return std::string(RightTrimmed(text.substr(0, Utf8CutPoint(text, VALUE_WIDTH))));
}

std::string FormatScaledValue(int32_t raw, const ValueScale& scale) {
  std::optional<double> value = scale.Scaled(raw);
  if (scale.precision >= 0 && scale.precision <= 3) return ValuePicture(scale.precision).Format(value.value_or(0.0));
  if (!value) return {};
  // Outside the pictures the plain text has up to 15 significant digits.
  std::string text = PlainDecimalText(*value);
  if (text.size() > VALUE_WIDTH) text.resize(VALUE_WIDTH);
  return text;
}

}  // namespace tx
