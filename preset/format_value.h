#pragma once
// Turning a raw parameter value into the text a user reads: a text of the
// parameter's selection list, or the value scaled into the parameter's range
// and shown with its number of decimals.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "devicedefs/tables.h"

namespace tx {

// Whether a DBSelection row makes its parameter a list parameter. The
// definition import writes a row for every parameter, and for numeric ones
// all 256 entries are blank; such a row must not turn a number into a blank
// list text, so only a row with at least one non-blank entry counts.
bool SelectionMakesList(const SelectionRecord& row);

// The numeric value of a raw value, or nullopt when the parameter's scaling
// kind is none of "LIN", "INT" and "LOG".
std::optional<double> ScaledParameterValue(int32_t raw, const EffectRecord& definition);

// What formatting needs of a parameter's definition, worked out once: its
// scaling kind, range, steps and picture.
struct ValueScale {
  enum class Kind : uint8_t { Linear, Logarithmic, None } kind = Kind::None;
  int32_t steps = 0;  // NUMBEROFVALUES
  double minimum = 0, maximum = 0;
  double logRatio = 0;  // log10(maximum / minimum) for Logarithmic
  int32_t precision = 0;

  explicit ValueScale(const EffectRecord& definition);
  ValueScale() = default;
  std::optional<double> Scaled(int32_t raw) const;
};

// A list parameter's texts: entries[i] is the text for raw value i, and
// every entry from `count` on is blank.
struct SelectionList {
  const FixedString<32>* entries = nullptr;
  size_t count = 0;
};

// The text a list gives a raw value.
std::string FormatListValue(int32_t raw, SelectionList list);

// The text of a numeric parameter's raw value, as FormatParameterValue gives
// it, from the scale of its definition.
std::string FormatScaledValue(int32_t raw, const ValueScale& scale);

// The text of one raw value, at most 20 characters. `selection` is the
// parameter's list row, or nullptr for a numeric parameter.
std::string FormatParameterValue(int32_t raw, const EffectRecord& definition, const SelectionRecord* selection);

}  // namespace tx
