#include "devicedefs/loader_rows.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <limits>

namespace tx {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The number at the start of the text, or nothing: leading white space and a
// sign allowed, then digits with an optional point and exponent. Words such
// as "inf" or "nan" are not numbers.
std::optional<double> LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i >= s.size() || !((s[i] >= '0' && s[i] <= '9') || s[i] == '.')) return std::nullopt;
  double v = 0;
  auto r = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small gives 0; too large goes beyond any field and is clamped by the caller.
    std::string_view digits(s.data() + i, static_cast<size_t>(r.ptr - (s.data() + i)));
    size_t e = digits.find_first_of("eE");
    bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    v = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (r.ec != std::errc()) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

int64_t TextToWide(std::string_view s, int64_t lo, int64_t hi) {
  std::optional<double> v = LeadingNumber(s);
  if (!v) return 0;
  double t = std::trunc(*v);  // the fraction is dropped: "12.7" gives 12
  if (t <= static_cast<double>(lo)) return lo;
  if (t >= static_cast<double>(hi)) return hi;
  return static_cast<int64_t>(t);
}

}  // namespace

int32_t TextToLong(std::string_view text) {
  return static_cast<int32_t>(
      TextToWide(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int16_t TextToShort(std::string_view text) {
  return static_cast<int16_t>(
      TextToWide(text, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

double TextToReal(std::string_view text) {
  std::optional<double> v = LeadingNumber(text);
  return v && std::isfinite(*v) ? *v : 0;
}

EffectRowMapper::EffectRowMapper(const TextQueue& efq)
    : q_(efq),
      effectId_(efq.F("EFFECTID")),
      typeId_(efq.F("TYPEID")),
      effectType_(efq.F("EFFECTTYPE")),
      variantParam_(efq.F("VARIANTPARAMID")),
      bypassParam_(efq.F("BYPASSPARAMID")),
      effectName_(efq.F("EFFECTNAME")),
      variantId_(efq.F("EFFECTVARIANTID")),
      paramId_(efq.F("PARAMID")),
      modifierId_(efq.F("MODIFIERID")),
      internalName_(efq.F("PARAMETERINTERNALNAME")),
      screenName_(efq.F("PARAMETERSCREENNAME")),
      controlType_(efq.F("CONTROLTYPE")),
      paramType_(efq.F("PARAMTYPE")),
      default_(efq.F("DEFAULT")),
      minimum_(efq.F("MINIMUM")),
      maximum_(efq.F("MAXIMUM")),
      precision_(efq.F("PRECISION")),
      numVals_(efq.F("NUMVALS")),
      unit_(efq.F("UNIT")) {}

EffectRecord EffectRowMapper::operator()(size_t row, uint8_t deviceType) const {
  EffectRecord r;
  r.DEVICETYPE = deviceType;
  r.EFFECTID = TextToLong(q_.Text(row, effectId_));
  r.EFFECTTYPEID = TextToLong(q_.Text(row, typeId_));
  r.EFFECTTYPE = q_.Text(row, effectType_);
  r.EFFECTVARIANTPARAMETERID = TextToLong(q_.Text(row, variantParam_));
  r.EFFECTBYPASSPARAMETERID = TextToLong(q_.Text(row, bypassParam_));
  r.EFFECTNAME = q_.Text(row, effectName_);
  r.EFFECTVARIANTID = TextToLong(q_.Text(row, variantId_));
  r.PARAMETERID = TextToLong(q_.Text(row, paramId_));
  r.MODIFIERID = TextToLong(q_.Text(row, modifierId_));
  r.INTERNALNAME = q_.Text(row, internalName_);
  r.SCREENNAME = q_.Text(row, screenName_);  // the first 32 of its 64 characters
  r.CONTROLTYPE = q_.Text(row, controlType_);
  r.PARAMTYPE = q_.Text(row, paramType_);
  r.DEFAULTVALUE = TextToReal(q_.Text(row, default_));
  r.MINIMUMVALUE = TextToReal(q_.Text(row, minimum_));
  r.MAXIMUMVALUE = TextToReal(q_.Text(row, maximum_));
  r.PRECISION = TextToLong(q_.Text(row, precision_));
  r.NUMBEROFVALUES = TextToLong(q_.Text(row, numVals_));
  r.UNIT = q_.Text(row, unit_);
  return r;
}

CabRecord CabRow(const TextQueue& cpq, size_t row) {
  CabRecord r;
  r.ID = TextToLong(cpq.Text(row, cpq.F("ID")));
  r.NAME = cpq.Text(row, cpq.F("NAME"));
  return r;
}

SelectionRowMapper::SelectionRowMapper(const TextQueue& slq, bool gen1)
    : q_(slq), gen1_(gen1), effectId_(slq.F("EFFECTID")), paramId_(slq.F("PARAMID")), item0_(slq.F("ITEM0")) {
  if (!gen1) {
    typeId_ = slq.F("TYPEID");
    variantId_ = slq.F("EFFECTVARIANTID");
  }
  // The items follow one another, ITEM0 first.
  size_t count = gen1 ? 100 : 256;
  if (slq.F("ITEM" + std::to_string(count - 1)) != item0_ + count - 1)
    throw std::logic_error("selection items out of order in queue " + slq.prefix());
}

SelectionRecord SelectionRowMapper::operator()(size_t row) const {
  SelectionRecord r;
  r.DEVICETYPE = gen1_ ? 1 : 3;
  r.EFFECTID = TextToLong(q_.Text(row, effectId_));
  r.EFFECTTYPEID = gen1_ ? 0 : TextToLong(q_.Text(row, typeId_));
  r.EFFECTVARIANTID = gen1_ ? 0 : TextToLong(q_.Text(row, variantId_));
  r.PARAMETERID = TextToLong(q_.Text(row, paramId_));
  // Gen1 fills entries 1 to 100 (its item 100 is read but not used); the rest stay blank.
  size_t count = gen1_ ? 100 : 256;
  for (size_t i = 0; i < count; ++i) r.SELECTION[i] = q_.Raw(row, item0_ + i);
  return r;
}

ScreenRowMapper::ScreenRowMapper(const TextQueue& xmcq) : q_(xmcq) {
  static const char* const names[24] = {
      "EDITORCONTROLSNAME", "EDITORCONTROLSVALUE", "EDITORCONTROLSTYPEID", "EDITORCONTROLSTYPE",
      "SYNCVARIANTSTOTYPE", "SUBTYPEPARAMETER", "SUBTYPEPARAMETERPAGE", "EFFECTVARIANTNAME",
      "EFFECTVARIANTVALUE", "EFFECTVARIANTTYPEID", "PAGENAME", "PAGESUBTYPE", "NOTE", "MONITOR", "LAYOUT",
      "PAGESECTION", "ROWFLAG", "EDITORCONTROLNAME", "EDITORCONTROLTYPE", "PARAMETERNAME", "OFFSETX",
      "OFFSETY", "EDITORCONTROLSUBTYPE", "LOCK"};
  for (size_t i = 0; i < 24; ++i) f_[i] = xmcq.F(names[i]);
}

ScreenMasterRecord ScreenRowMapper::operator()(size_t row, uint8_t deviceType, int16_t gridRow,
                                               int16_t gridColumn) const {
  auto T = [&](size_t k) { return q_.Text(row, f_[k]); };
  ScreenMasterRecord r;
  r.DEVICETYPE = deviceType;
  r.EDITORCONTROLNAME = T(0);
  r.EDITORCONTROLVALUE = TextToShort(T(1));
  r.EDITORCONTROLTYPEID = TextToShort(T(2));
  r.EDITORCONTROLTYPE = T(3);
  r.SYNCVARIANTSTOTYPE = T(4);  // its first 8 characters
  r.SUBTYPEPARAMETER = T(5);
  r.SUBTYPEPARAMETERPAGE = T(6);
  r.EFFECTVARIANTNAME = T(7);
  r.EFFECTVARIANTVALUE = TextToShort(T(8));
  r.EFFECTVARIANTTYPEID = TextToShort(T(9));
  r.PAGENAME = T(10);
  r.SUBTYPE = TextToShort(T(11));
  r.NOTE = T(12);
  r.MONITOR = T(13);
  r.LAYOUT = T(14);
  r.PAGESECTION = T(15);
  r.ROW = gridRow;
  r.COLUMN = gridColumn;
  r.CONTROLNAME = T(17);
  r.CONTROLTYPE = T(18);
  r.PARAMETERNAME = T(19);
  r.OFFSETX = TextToShort(T(20));
  r.OFFSETY = TextToShort(T(21));
  r.LOCK = T(23);
  return r;
}

}  // namespace tx
