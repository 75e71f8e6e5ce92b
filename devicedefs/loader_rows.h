#pragma once
// From queue rows (all text) to table records: the number conversions and the
// row mappings of the definition import.
#include <cstdint>
#include <string_view>

#include "devicedefs/tables.h"
#include "platform/xml/text_queue.h"

namespace tx {

// The numeric value of a text, its fraction dropped. Leading white space and
// a sign are allowed; the number is read up to the first character that
// cannot continue it, so "12.7" gives 12, "1e3" 1000 and "abc" 0; empty text
// gives 0. Values beyond the target type stop at its limits.
int32_t TextToLong(std::string_view text);
int16_t TextToShort(std::string_view text);
// Floating-point value of the text (point as decimal separator); empty or
// unreadable text, "inf" and "nan" included, gives 0.
double TextToReal(std::string_view text);

// EFQ row -> DBEffects record.
class EffectRowMapper {
 public:
  explicit EffectRowMapper(const TextQueue& efq);
  EffectRecord operator()(size_t row, uint8_t deviceType) const;

 private:
  const TextQueue& q_;
  size_t effectId_, typeId_, effectType_, variantParam_, bypassParam_, effectName_, variantId_, paramId_,
      modifierId_, internalName_, screenName_, controlType_, paramType_, default_, minimum_, maximum_,
      precision_, numVals_, unit_;
};

// CPQ row -> DBCabs record.
CabRecord CabRow(const TextQueue& cpq, size_t row);

// SLQ row (Gen2, 256 items) or SLQG1 row (Gen1, items 0 to 99 used) -> DBSelection record.
class SelectionRowMapper {
 public:
  SelectionRowMapper(const TextQueue& slq, bool gen1);
  SelectionRecord operator()(size_t row) const;

 private:
  const TextQueue& q_;
  bool gen1_;
  size_t effectId_, typeId_ = 0, variantId_ = 0, paramId_, item0_;
};

// XMCQ row and its grid place -> DBScreenMaster record.
class ScreenRowMapper {
 public:
  explicit ScreenRowMapper(const TextQueue& xmcq);
  ScreenMasterRecord operator()(size_t row, uint8_t deviceType, int16_t gridRow, int16_t gridColumn) const;

 private:
  const TextQueue& q_;
  size_t f_[24];
};

}  // namespace tx
