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

bool IsTextKeyword(std::string_view k) { return k == "TEXT" || k == "RTF" || k == "SPLITTEXT"; }

// The zero-terminated text at `offset`, never past the record's end.
std::string_view ZeroTerminated(const uint8_t* bytes, size_t length, size_t offset, size_t max) {
  if (offset >= length) return {};
  const char* start = reinterpret_cast<const char*>(bytes + offset);
  return std::string_view(start, strnlen(start, std::min(length - offset, max)));
}

}  // namespace

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
  if (k == "ARC") {
    INSIDEARC = 1;
    ARCFORMAT = {};
  } else if (k == "BOX") {
    INSIDEBOX = 1;
    RECTFORMAT = {};
  } else if (k == "CHECK") {
    INSIDECHECK = 1;
    CHECKFORMAT = {};
  } else if (k == "CHORD") {
    INSIDECHORD = 1;
    ARCFORMAT = {};
  } else if (k == "ELLIPSE") {
    INSIDEELLIPSE = 1;
    ELLIPSEFORMAT = {};
  } else if (k == "LINE") {
    INSIDELINE = 1;
    LINEFORMAT = {};
  } else if (k == "IMAGE") {
    INSIDEIMAGE = 1;
    IMAGEFORMAT = {};
  } else if (k == "OPTION" || k == "GROUP") {
    INSIDEGROUP = 1;
    GROUPFORMAT = {};
  } else if (k == "RADIO") {
    INSIDERADIO = 1;
    RADIOFORMAT = {};
  } else if (k == "STRING" || k == "SMARTSTRING") {
    INSIDESTRING = 1;
    STRINGFORMAT = {};
  } else if (IsTextKeyword(k)) {
    INSIDETEXT = 1;
    // A part on a later page keeps the attributes of the part before it.
    if (continued) COMMENT = PRESERVECOMMENT.raw();
  } else if (k == "PIE") {
    INSIDEPIE = 1;
    FIRSTSLICE = 1;
  } else if (k == "POLYGON") {
    INSIDEPOLYGON = 1;
  }
  return Level::Done;
}

uint8_t WMFRecordParser::EndControl(std::string_view k, uint16_t continued) {
  uint8_t* flag = nullptr;
  if (k == "ARC") flag = &INSIDEARC;
  else if (k == "BOX") flag = &INSIDEBOX;
  else if (k == "CHECK") flag = &INSIDECHECK;
  else if (k == "CHORD") flag = &INSIDECHORD;
  else if (k == "ELLIPSE") flag = &INSIDEELLIPSE;
  else if (k == "LINE") flag = &INSIDELINE;
  else if (k == "IMAGE") flag = &INSIDEIMAGE;
  else if (k == "OPTION" || k == "GROUP") flag = &INSIDEGROUP;
  else if (k == "RADIO") flag = &INSIDERADIO;
  else if (k == "STRING" || k == "SMARTSTRING") flag = &INSIDESTRING;
  else if (IsTextKeyword(k)) flag = &INSIDETEXT;
  else if (k == "PIE") flag = &INSIDEPIE;
  else if (k == "POLYGON") flag = &INSIDEPOLYGON;
  if (!flag) return Level::Done;
  if (*flag == 0) {
    if (IsTextKeyword(k) && continued) return Level::Done;
    return RaiseField(Msg::InvalidControl, k);
  }
  if (IsTextKeyword(k) && continued) PRESERVECOMMENT = COMMENT.raw();
  IREPORTGENERATOR* g = REPORTGENERATOR;
  const std::string_view attributes = COMMENT.raw();
  if (g) {
    if (flag == &INSIDEARC) g->EmitArc(attributes, ARCFORMAT);
    else if (flag == &INSIDEBOX) g->EmitBox(attributes, RECTFORMAT);
    else if (flag == &INSIDECHECK) g->EmitCheck(attributes, Text(), CHECKFORMAT);
    else if (flag == &INSIDECHORD) g->EmitChord(attributes, ARCFORMAT);
    else if (flag == &INSIDEELLIPSE) g->EmitEllipse(attributes, ELLIPSEFORMAT);
    else if (flag == &INSIDELINE) g->EmitLine(attributes, LINEFORMAT);
    else if (flag == &INSIDEIMAGE) {
      if (!RightTrimmed(Text()).empty()) g->EmitImage(attributes, TEMPTEXT.raw(), IMAGEFORMAT);
    } else if (flag == &INSIDEGROUP) g->EmitGroup(attributes, Text(), GROUPFORMAT);
    else if (flag == &INSIDERADIO) g->EmitRadio(attributes, Text(), RADIOFORMAT);
    else if (flag == &INSIDESTRING) g->EmitString(attributes, Text(), STRINGFORMAT);
    else if (flag == &INSIDETEXT) g->EmitTextBlock(attributes, TEXTFORMATQ);
    else if (flag == &INSIDEPIE) g->EmitPie(attributes, SLICEFORMATQ, POS);
    else if (flag == &INSIDEPOLYGON) g->EmitPolygon(attributes, POINTQ, STYLE);
  }
  if (flag == &INSIDETEXT) TEXTFORMATQ.clear();
  if (flag == &INSIDEPIE) SLICEFORMATQ.clear();
  if (flag == &INSIDEPOLYGON) POINTQ.clear();
  *flag = 0;
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
  if (INSIDEGROUP) {
    GROUPFORMAT.HEADER = STRINGFORMAT;
  } else if (INSIDECHECK) {
    CHECKFORMAT.PROMPT = STRINGFORMAT;
  } else if (INSIDERADIO) {
    RADIOFORMAT.PROMPT = STRINGFORMAT;
  } else if (INSIDETEXT) {
    TextRow row;
    row.FORMAT = STRINGFORMAT;
    row.TEXT = text;
    TEXTFORMATQ.push_back(row);
  }
  return Level::Done;
}

uint8_t WMFRecordParser::MoveTo(const Record& r) {
  const int32_t x = X(r.P(1)), y = Y(r.P(0));
  if (INSIDEGROUP) {
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
  switch (INSIDEGROUP) {
    case 1: {
      const PenRow* pen = nullptr;
      if (!CurrentPen(pen, result)) return result;
      GROUPFORMAT.LINESTYLE = pen->STYLE;
      GROUPFORMAT.LINECOLOR = pen->COLOR;
      GROUPFORMAT.LINEWIDTH = pen->WIDTH;
      GROUPFORMAT.POS.LEFT = x;
      if (GROUPFORMAT.POS.LEFT == GROUPFORMAT.X1) {
        GROUPFORMAT.POS.BOTTOM = y;
        INSIDEGROUP = 3;
      } else {
        INSIDEGROUP = 2;
      }
      return Level::Done;
    }
    case 2:
      GROUPFORMAT.POS.BOTTOM = y;
      INSIDEGROUP = 3;
      return Level::Done;
    case 3:
      GROUPFORMAT.POS.RIGHT = x;
      INSIDEGROUP = 4;
      return Level::Done;
    case 4:
      INSIDEGROUP = 5;
      return Level::Done;
    case 5:
      GROUPFORMAT.X2 = static_cast<uint16_t>(x);
      return Level::Done;
    default:
      break;
  }
  if (INSIDECHECK) {
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
  if (INSIDERADIO == 1) {
    RADIOFORMAT.OUTER = ELLIPSEFORMAT;
    INSIDERADIO = 2;
  } else if (INSIDERADIO == 2) {
    RADIOFORMAT.INNER = ELLIPSEFORMAT;
    RADIOFORMAT.CHECKED = 1;
  }
  return Level::Done;
}

uint8_t WMFRecordParser::Rectangle(const Record& r) {
  uint8_t result = Level::Done;
  if (INSIDECHECK) {
    CHECKFORMAT.PROMPT = STRINGFORMAT;
    CHECKFORMAT.POS = Rect(r.P(3), r.P(2), r.P(1), r.P(0));
    if (!StyleFromBrushAndPen(CHECKFORMAT.STYLE, result)) return result;
  } else if (INSIDEBOX) {
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
  if (!INSIDEPIE) return Level::Done;
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
  if (!INSIDEPOLYGON) return Level::Done;
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
