// The control assembly of the record parser: the report engine's comments
// open and close controls, the drawing records between them fill the
// control's drawing-object record, and the end comment hands it on.
#include <cmath>
#include <cstring>

#include "report/wmf_record_parser.h"
#include "services/error_manager.h"

namespace tx {

namespace {

constexpr uint16_t COMMENT_SIGNATURE = 0x0527;

struct Keyword {
  std::string_view keyword;
  PageControl kind;
};
constexpr Keyword kControlKeywords[] = {
    {"ARC", PageControl::Arc},       {"BOX", PageControl::Box},         {"CHECK", PageControl::Check},
    {"CHORD", PageControl::Chord},   {"ELLIPSE", PageControl::Ellipse}, {"LINE", PageControl::Line},
    {"IMAGE", PageControl::Image},   {"OPTION", PageControl::Group},    {"GROUP", PageControl::Group},
    {"RADIO", PageControl::Radio},   {"STRING", PageControl::String},   {"SMARTSTRING", PageControl::String},
    {"TEXT", PageControl::Text},     {"RTF", PageControl::Text},        {"SPLITTEXT", PageControl::Text},
    {"PIE", PageControl::Pie},       {"POLYGON", PageControl::Polygon},
};

// The zero-terminated text at `offset`, never past the record's end.
std::string_view ZeroTerminated(const uint8_t* bytes, size_t length, size_t offset, size_t max) {
  if (offset >= length) return {};
  const char* start = reinterpret_cast<const char*>(bytes + offset);
  return std::string_view(start, strnlen(start, std::min(length - offset, max)));
}

}  // namespace

std::optional<PageControl> PageControlOf(std::string_view keyword) {
  for (const Keyword& k : kControlKeywords)
    if (k.keyword == keyword) return k.kind;
  return std::nullopt;
}

ReportPos WMFRecordParser::Rect(int left, int top, int right, int bottom) const {
  ReportPos pos;
  pos.TOP = Y(top);
  pos.LEFT = X(left);
  pos.BOTTOM = Y(bottom);
  pos.RIGHT = X(right);
  return pos;
}

uint8_t WMFRecordParser::Escape(const Record& r) {
  if (r.Word(10) != COMMENT_SIGNATURE) return Level::Done;
  const uint16_t kind = r.Word(12);
  const uint16_t length = r.Has(36) ? r.Word(34) : 0;
  const uint16_t continued = r.Has(38) ? r.Word(36) : 0;
  switch (kind) {
    case 11: {
      std::string_view keyword = RightTrimmed(ZeroTerminated(r.bytes, r.length, 14, 20));
      size_t n = r.length > 38 ? std::min<size_t>({length, r.length - 38, 2048}) : 0;
      COMMENT = std::string_view(reinterpret_cast<const char*>(r.bytes + 38), n);
      TEMPTEXT.clear();
      TEMPTEXTLEN = 0;
      return BeginControl(keyword, continued, COMMENT.view());
    }
    case 12:
      return EndControl(RightTrimmed(ZeroTerminated(r.bytes, r.length, 14, 20)), continued);
    case 9: {
      std::string_view name = ZeroTerminated(r.bytes, r.length, 24, 256);
      TEMPTEXT = name;
      TEMPTEXTLEN = static_cast<uint16_t>(RightTrimmed(name).size());
      SetImageName(Text());
      return Level::Done;
    }
    case 13: {
      size_t n = r.length > 38 ? std::min<size_t>({length, r.length - 38, 256}) : 0;
      TEMPTEXT = std::string_view(reinterpret_cast<const char*>(r.bytes + 38), n);
      TEMPTEXTLEN = static_cast<uint16_t>(n);
      SetImageName(Text());
      return Level::Done;
    }
    case 14:
    case 15:
      if (REPORTGENERATOR)
        REPORTGENERATOR->EmitSection(ZeroTerminated(r.bytes, r.length, 14, 9), kind == 14 ? 1 : 0);
      return Level::Done;
    default:
      return Level::Done;
  }
}

// A bare name (no drive, no directory) gets the image directory in front.
// A blank name stays blank: the prefix alone names no picture.
void WMFRecordParser::SetImageName(std::string_view name) {
  if (RightTrimmed(name).empty()) return;
  bool drive = name.size() >= 2 && name[1] == ':';
  bool directory = name.find_first_of("\\/") != std::string_view::npos;
  if (drive || directory) return;
  std::string full = IMAGEDIRECTORY + std::string(RightTrimmed(name));
  TEMPTEXT = full;
  TEMPTEXTLEN = static_cast<uint16_t>(std::min<size_t>(full.size(), 256));
}

uint8_t WMFRecordParser::BeginControl(std::string_view k, uint16_t continued, std::string_view) {
  const std::optional<PageControl> kind = PageControlOf(k);
  if (!kind) return Level::Done;
  switch (*kind) {
    case PageControl::Arc: case PageControl::Chord: ARCFORMAT = {}; break;
    case PageControl::Box: RECTFORMAT = {}; break;
    case PageControl::Check: CHECKFORMAT = {}; break;
    case PageControl::Ellipse: ELLIPSEFORMAT = {}; break;
    case PageControl::Line: LINEFORMAT = {}; break;
    case PageControl::Image: IMAGEFORMAT = {}; break;
    case PageControl::Group: GROUPFORMAT = {}; break;
    case PageControl::Radio: RADIOFORMAT = {}; break;
    case PageControl::String: STRINGFORMAT = {}; break;
    case PageControl::Text:
      // A part on a later page keeps the attributes of the part before it.
      if (continued) COMMENT = PRESERVECOMMENT.raw();
      break;
    case PageControl::Pie: FIRSTSLICE = 1; break;
    case PageControl::Polygon: break;
  }
  inside_ = kind;
  step_ = 1;
  return Level::Done;
}

uint8_t WMFRecordParser::EndControl(std::string_view k, uint16_t continued) {
  const std::optional<PageControl> kind = PageControlOf(k);
  if (!kind) return Level::Done;
  const bool text = *kind == PageControl::Text;
  if (!Inside(*kind)) {
    if (text && continued) return Level::Done;
    return RaiseField(Msg::InvalidControl, k);
  }
  if (text && continued) PRESERVECOMMENT = COMMENT.raw();
  const std::string_view attributes = COMMENT.raw();
  if (IREPORTGENERATOR* g = REPORTGENERATOR) {
    switch (*kind) {
      case PageControl::Arc: g->EmitArc(attributes, ARCFORMAT); break;
      case PageControl::Box: g->EmitBox(attributes, RECTFORMAT); break;
      case PageControl::Check: g->EmitCheck(attributes, Text(), CHECKFORMAT); break;
      case PageControl::Chord: g->EmitChord(attributes, ARCFORMAT); break;
      case PageControl::Ellipse: g->EmitEllipse(attributes, ELLIPSEFORMAT); break;
      case PageControl::Line: g->EmitLine(attributes, LINEFORMAT); break;
      case PageControl::Image:
        if (!RightTrimmed(Text()).empty()) g->EmitImage(attributes, TEMPTEXT.raw(), IMAGEFORMAT);
        break;
      case PageControl::Group: g->EmitGroup(attributes, Text(), GROUPFORMAT); break;
      case PageControl::Radio: g->EmitRadio(attributes, Text(), RADIOFORMAT); break;
      case PageControl::String: g->EmitString(attributes, Text(), STRINGFORMAT); break;
      case PageControl::Text: g->EmitTextBlock(attributes, TEXTFORMATQ); break;
      case PageControl::Pie: g->EmitPie(attributes, SLICEFORMATQ, POS); break;
      case PageControl::Polygon: g->EmitPolygon(attributes, POINTQ, STYLE); break;
    }
  }
  if (*kind == PageControl::Text) TEXTFORMATQ.clear();
  if (*kind == PageControl::Pie) SLICEFORMATQ.clear();
  if (*kind == PageControl::Polygon) POINTQ.clear();
  inside_.reset();
  step_ = 0;
  return Level::Done;
}

uint8_t WMFRecordParser::ExtTextOut(const Record& r) {
  const int y = r.P(0), x = r.P(1);
  const uint16_t n = r.UP(2), options = r.UP(3);
  const bool rect = (options & 2) || (options & 4);
  if (rect && !r.Has(22)) return Level::Done;
  uint8_t result = Level::Done;
  STRINGFORMAT = {};
  STRINGFORMAT.TOPTEXT = Y(y);
  STRINGFORMAT.LEFTTEXT = X(x);
  size_t start;
  if (rect) {
    STRINGFORMAT.POS = Rect(r.P(4), r.P(5), r.P(6), r.P(7));
    start = 22;
  } else {
    const FontRow* font = nullptr;
    if (!CurrentFont(font, result)) return result;
    STRINGFORMAT.POS.LEFT = X(x);
    STRINGFORMAT.POS.TOP = Y(y);
    STRINGFORMAT.POS.RIGHT = TruncToLong((static_cast<double>(n) * font->SIZE * 5.8 + x + WINDOWORIGINX) * TOINCH);
    STRINGFORMAT.POS.BOTTOM = TruncToLong((font->SIZE * 9.5 + y + WINDOWORIGINY) * TOINCH);
    start = 14;
  }
  if (n == 0 || r.length < start) return Level::Done;
  const FontRow* font = nullptr;
  if (!CurrentFont(font, result)) return result;
  STRINGFORMAT.SIZE = font->SIZE;
  STRINGFORMAT.STYLE = font->STYLE;
  STRINGFORMAT.CHARSET = font->CHARSET;
  STRINGFORMAT.FACE = font->FACE.view();
  STRINGFORMAT.ANGLE = font->ANGLE;
  STRINGFORMAT.COLOR = dc_.TEXTCOLOR == -1 ? font->COLOR : dc_.TEXTCOLOR;
  STRINGFORMAT.BACKGROUNDCOLOR = dc_.BKMODE == 1 ? -1 : dc_.BKCOLOR;
  const size_t count = std::min<size_t>({n, r.length - start, 256});
  const std::string_view text(reinterpret_cast<const char*>(r.bytes + start), count);
  TEMPTEXT = text;
  TEMPTEXTLEN = static_cast<uint16_t>(count);
  if (Inside(PageControl::Group)) {
    GROUPFORMAT.HEADER = STRINGFORMAT;
  } else if (Inside(PageControl::Check)) {
    CHECKFORMAT.PROMPT = STRINGFORMAT;
  } else if (Inside(PageControl::Radio)) {
    RADIOFORMAT.PROMPT = STRINGFORMAT;
  } else if (Inside(PageControl::Text)) {
    TextRow row;
    row.FORMAT = STRINGFORMAT;
    row.TEXT = text;
    TEXTFORMATQ.push_back(row);
  }
  return Level::Done;
}

uint8_t WMFRecordParser::MoveTo(const Record& r) {
  const int32_t x = X(r.P(1)), y = Y(r.P(0));
  if (Inside(PageControl::Group)) {
    GROUPFORMAT.X1 = static_cast<uint16_t>(x);
    GROUPFORMAT.POS.TOP = y;
  } else {
    LINESTARTXPOS = static_cast<uint16_t>(x);
    LINESTARTYPOS = static_cast<uint16_t>(y);
  }
  return Level::Done;
}

uint8_t WMFRecordParser::LineTo(const Record& r) {
  const int32_t x = X(r.P(1)), y = Y(r.P(0));
  uint8_t result = Level::Done;
  switch (Inside(PageControl::Group) ? step_ : 0) {
    case 1: {
      const PenRow* pen = nullptr;
      if (!CurrentPen(pen, result)) return result;
      GROUPFORMAT.LINESTYLE = pen->STYLE;
      GROUPFORMAT.LINECOLOR = pen->COLOR;
      GROUPFORMAT.LINEWIDTH = pen->WIDTH;
      GROUPFORMAT.POS.LEFT = x;
      if (GROUPFORMAT.POS.LEFT == GROUPFORMAT.X1) {
        GROUPFORMAT.POS.BOTTOM = y;
        step_ = 3;
      } else {
        step_ = 2;
      }
      return Level::Done;
    }
    case 2:
      GROUPFORMAT.POS.BOTTOM = y;
      step_ = 3;
      return Level::Done;
    case 3:
      GROUPFORMAT.POS.RIGHT = x;
      step_ = 4;
      return Level::Done;
    case 4:
      step_ = 5;
      return Level::Done;
    case 5:
      GROUPFORMAT.X2 = static_cast<uint16_t>(x);
      return Level::Done;
    default:
      break;
  }
  if (Inside(PageControl::Check)) {
    CHECKFORMAT.CHECKED = 1;
  } else {
    const PenRow* pen = nullptr;
    if (!CurrentPen(pen, result)) return result;
    LINEFORMAT.POS.LEFT = LINESTARTXPOS;
    LINEFORMAT.POS.TOP = LINESTARTYPOS;
    LINEFORMAT.POS.RIGHT = x;
    LINEFORMAT.POS.BOTTOM = y;
    LINEFORMAT.STYLE = pen->STYLE;
    LINEFORMAT.COLOR = pen->COLOR;
    LINEFORMAT.WIDTH = pen->WIDTH;
  }
  LINESTARTXPOS = static_cast<uint16_t>(x);
  LINESTARTYPOS = static_cast<uint16_t>(y);
  return Level::Done;
}

uint8_t WMFRecordParser::Ellipse(const Record& r) {
  uint8_t result = Level::Done;
  ELLIPSEFORMAT.POS = Rect(r.P(3), r.P(2), r.P(1), r.P(0));
  if (!StyleFromBrushAndPen(ELLIPSEFORMAT.STYLE, result)) return result;
  if (Inside(PageControl::Radio) && step_ == 1) {
    RADIOFORMAT.OUTER = ELLIPSEFORMAT;
    step_ = 2;
  } else if (Inside(PageControl::Radio) && step_ == 2) {
    RADIOFORMAT.INNER = ELLIPSEFORMAT;
    RADIOFORMAT.CHECKED = 1;
  }
  return Level::Done;
}

uint8_t WMFRecordParser::Rectangle(const Record& r) {
  uint8_t result = Level::Done;
  if (Inside(PageControl::Check)) {
    CHECKFORMAT.PROMPT = STRINGFORMAT;
    CHECKFORMAT.POS = Rect(r.P(3), r.P(2), r.P(1), r.P(0));
    if (!StyleFromBrushAndPen(CHECKFORMAT.STYLE, result)) return result;
  } else if (Inside(PageControl::Box)) {
    RECTFORMAT = {};
    RECTFORMAT.POS = Rect(r.P(3), r.P(2), r.P(1), r.P(0));
    if (!StyleFromBrushAndPen(RECTFORMAT.STYLE, result)) return result;
  }
  return Level::Done;
}

uint8_t WMFRecordParser::RoundRect(const Record& r) {
  uint8_t result = Level::Done;
  RECTFORMAT = {};
  RECTFORMAT.ELL_WIDTH = static_cast<uint16_t>(TruncToLong(r.P(1) * TOINCH));
  RECTFORMAT.ELL_HEIGHT = static_cast<uint16_t>(TruncToLong(r.P(0) * TOINCH));
  RECTFORMAT.POS = Rect(r.P(5), r.P(4), r.P(3), r.P(2));
  if (!StyleFromBrushAndPen(RECTFORMAT.STYLE, result)) return result;
  return Level::Done;
}

uint8_t WMFRecordParser::Arc(const Record& r, bool wholeStyle) {
  uint8_t result = Level::Done;
  ARCFORMAT.POS = Rect(r.P(7), r.P(6), r.P(5), r.P(4));
  ARCFORMAT.STARTX = X(r.P(3));
  ARCFORMAT.STARTY = Y(r.P(2));
  ARCFORMAT.ENDX = X(r.P(1));
  ARCFORMAT.ENDY = Y(r.P(0));
  if (wholeStyle) return StyleFromBrushAndPen(ARCFORMAT.STYLE, result) ? Level::Done : result;
  const PenRow* pen = nullptr;
  if (!CurrentPen(pen, result)) return result;
  ARCFORMAT.STYLE.BORDERSTYLE = pen->STYLE;
  ARCFORMAT.STYLE.BORDERCOLOR = pen->COLOR;
  ARCFORMAT.STYLE.BORDERWIDTH = pen->WIDTH;
  return Level::Done;
}

uint8_t WMFRecordParser::Pie(const Record& r) {
  if (!Inside(PageControl::Pie)) return Level::Done;
  uint8_t result = Level::Done;
  SliceRow slice;
  if (!StyleFromBrushAndPen(slice.FORMAT.STYLE, result)) return result;
  if (FIRSTSLICE) {
    POS = Rect(r.P(7), r.P(6), r.P(5), r.P(4));
    FIRSTSLICE = 0;
  }
  slice.FORMAT.STARTX = X(r.P(3));
  slice.FORMAT.STARTY = Y(r.P(2));
  slice.FORMAT.ENDX = X(r.P(1));
  slice.FORMAT.ENDY = Y(r.P(0));
  SLICEFORMATQ.push_back(slice);
  return Level::Done;
}

uint8_t WMFRecordParser::Polygon(const Record& r) {
  if (!Inside(PageControl::Polygon)) return Level::Done;
  uint8_t result = Level::Done;
  if (!StyleFromBrushAndPen(STYLE, result)) return result;
  // Only the points the record really holds.
  const size_t held = (r.length - 8) / 4;
  const size_t count = std::min<size_t>(r.UP(0), held);
  for (size_t i = 0; i < count; ++i) POINTQ.push_back({X(r.P(1 + 2 * i)), Y(r.P(2 + 2 * i))});
  return Level::Done;
}

void WMFRecordParser::StretchDib(const Record& r) {
  if (!r.Has(28)) return;
  IMAGEFORMAT.POS.LEFT = X(r.P(10));
  IMAGEFORMAT.POS.TOP = Y(r.P(9));
  IMAGEFORMAT.POS.RIGHT = X(r.P(10) + r.P(8));
  IMAGEFORMAT.POS.BOTTOM = Y(r.P(9) + r.P(7));
  IMAGEFORMAT.EMBEDSTART = static_cast<uint32_t>(WMFFPOS + 28);
}

}  // namespace tx
