#include "report/wmf_record_parser.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/runtime_error.h"
#include "services/error_manager.h"

namespace tx {

namespace {

constexpr uint32_t PLACEABLE_KEY = 0x9AC6CDD7;

}  // namespace

WMFRecordParser::WMFRecordParser() { std::memset(buffer_, 0, sizeof buffer_); }

WMFRecordParser::~WMFRecordParser() {
  if (file_) std::fclose(file_);
}

void WMFRecordParser::SetPageFile(std::string_view fileName, IREPORTGENERATOR* generator, ErrorManager* errors) {
  FILENAME = std::string(RightTrimmed(fileName));
  REPORTGENERATOR = generator;
  ERRORS = errors;
  FILEOPEN = 0;
  WMFFPOS = 1;
  CURRENTOBJECT = 0;
  dc_ = DeviceContext{};
  WINDOWORIGINX = WINDOWORIGINY = 0;
}

uint8_t WMFRecordParser::Raise(uint16_t id) {
  if (!ERRORS) return Level::Fatal;
  int r = ERRORS->Raise(id);
  return static_cast<uint8_t>(r < 0 || r > 255 ? Level::Fatal : r);
}

uint8_t WMFRecordParser::RaiseField(uint16_t id, std::string_view field) {
  if (ERRORS) ERRORS->SetField(field);
  return Raise(id);
}

uint8_t WMFRecordParser::Open() {
  // A page file left open by a failed page is closed before the next one opens.
  if (file_) Close();
  if (ERRORS) ERRORS->SetFile(FILENAME);
  file_ = std::fopen(FILENAME.c_str(), "rb");
  if (!file_) {
    SetRuntimeError(errno, std::strerror(errno));
    return Raise(Msg::FileNotOpened);
  }
  // The size bounds every later read, so a record running past the end is seen
  // before it is read.
  if (std::fseek(file_, 0, SEEK_END) != 0 || (fileSize_ = std::ftell(file_)) < 0 ||
      std::fseek(file_, 0, SEEK_SET) != 0) {
    std::fclose(file_);
    file_ = nullptr;
    return Raise(Msg::FileNotOpened);
  }
  window_.clear();
  windowStart_ = 0;
  FILEOPEN = 1;
  return Level::Done;
}

bool WMFRecordParser::ReadAt(long long at, uint8_t* into, size_t n) {
  const long long end = windowStart_ + static_cast<long long>(window_.size());
  if (at < windowStart_ || at + static_cast<long long>(n) > end) {
    if (at >= windowStart_ && at <= end) {
      // What is still ahead stays; the file goes on from where the window ends.
      window_.erase(window_.begin(), window_.begin() + (at - windowStart_));
    } else {
      window_.clear();
      if (std::fseek(file_, static_cast<long>(at), SEEK_SET) != 0) return false;
    }
    windowStart_ = at;
    const size_t have = window_.size();
    window_.resize(std::max(n, READ_AHEAD));
    window_.resize(have + std::fread(window_.data() + have, 1, window_.size() - have, file_));
    if (window_.size() < n) return false;
  }
  std::memcpy(into, window_.data() + (at - windowStart_), n);
  return true;
}

uint8_t WMFRecordParser::Close() {
  if (!file_) return Level::Done;
  int failed = std::fclose(file_);
  file_ = nullptr;
  FILEOPEN = 0;
  if (failed) {
    SetRuntimeError(errno, std::strerror(errno));
    return Raise(Msg::FileNotClosed);
  }
  return Level::Done;
}

void WMFRecordParser::FreeTables() {
  POINTQ.clear();
  SLICEFORMATQ.clear();
  TEXTFORMATQ.clear();
  DC.clear();
  BRUSH.clear();
  FONTS.clear();
  PENS.clear();
  OBJECTS.clear();
  HOLES.clear();
}

uint8_t WMFRecordParser::ReadHeader() {
  uint8_t header[22];
  if (!file_ || !ReadAt(0, header, 22)) {
    // The message names why: a read error (a directory, say) or a file too short.
    const int error = errno;
    if (file_ && std::ferror(file_))
      SetRuntimeError(error, std::strerror(error));
    else
      SetRuntimeError(0, "the file ends inside its header");
    uint8_t r = Raise(Msg::FileNotOpened);
    return r ? r : Level::Fatal;  // nothing to go on with
  }
  uint32_t key = header[0] | header[1] << 8 | header[2] << 16 | static_cast<uint32_t>(header[3]) << 24;
  auto word = [&](int at) { return static_cast<uint16_t>(header[at] | header[at + 1] << 8); };
  PIXELSPERINCH = word(14);
  // Without units per inch no position or font size can be converted, so
  // this page cannot go on whatever the answer to the message.
  if (PIXELSPERINCH == 0) {
    uint8_t r = Raise(Msg::NotAPageFile);
    return r ? r : Level::Fatal;
  }
  TOINCH = 1000.0 / PIXELSPERINCH;
  BOXLEFT = TruncToLong(static_cast<int16_t>(word(6)) * TOINCH);
  BOXTOP = TruncToLong(static_cast<int16_t>(word(8)) * TOINCH);
  BOXRIGHT = TruncToLong(static_cast<int16_t>(word(10)) * TOINCH);
  BOXBOTTOM = TruncToLong(static_cast<int16_t>(word(12)) * TOINCH);
  if (key != PLACEABLE_KEY)
    if (uint8_t r = Raise(Msg::NotAPageFile)) return r;
  WMFFPOS += 22;
  uint8_t standard[18];
  if (!ReadAt(22, standard, 18)) {
    // Cut off inside the metafile header that follows the placeable one.
    SetRuntimeError(0, "the file ends inside its header");
    uint8_t r = Raise(Msg::FileNotOpened);
    return r ? r : Level::Fatal;
  }
  WMFFPOS += 18;
  return Level::Done;
}

uint8_t WMFRecordParser::ParseAll() {
  for (;;) {
    uint8_t r = ParseRecord();
    if (r == Level::NotDone) return Level::Done;
    if (r != Level::Done) return r;
  }
}

uint8_t WMFRecordParser::ParseRecord() {
  if (!file_) return Raise(Msg::PageRecordNotRead);
  const long long at = WMFFPOS - 1;
  if (at + 4 > fileSize_) return Level::NotDone;
  uint8_t head[4];
  if (!ReadAt(at, head, 4)) return Raise(Msg::PageRecordNotRead);
  const uint32_t words = head[0] | head[1] << 8 | head[2] << 16 | static_cast<uint32_t>(head[3]) << 24;
  if (words == 0) return Raise(Msg::NotAPageFile);
  const long long bytes = static_cast<long long>(words) * 2;
  // A record cut off by the end of the file cannot be replayed: the page ends there.
  if (at + bytes > fileSize_) return Level::NotDone;
  const size_t held = static_cast<size_t>(std::min<long long>(bytes, RECORD_BUFFER));
  std::memcpy(buffer_, head, std::min<size_t>(4, held));
  if (held > 4 && !ReadAt(at + 4, buffer_ + 4, held - 4)) return Raise(Msg::PageRecordNotRead);
  const long long recordPos = WMFFPOS;
  WMFFPOS += bytes;
  if (held < 6) return Level::Done;  // no room for a function: nothing to act on
  Record r{buffer_, held, static_cast<uint16_t>(buffer_[4] | buffer_[5] << 8)};
  uint8_t result = Level::Done;
  if (r.function == 0x0F43) {
    // The bitmap's position is that of this record, not of the next.
    const long long next = WMFFPOS;
    WMFFPOS = recordPos;
    StretchDib(r);
    WMFFPOS = next;
  } else {
    result = Dispatch(r);
  }
  return result;
}

// A record shorter than the fields its kind reads is skipped: acting on part
// of it would mean reading past the record.
uint8_t WMFRecordParser::Dispatch(const Record& r) {
  switch (r.function) {
    case 0x001E:  // META_SAVEDC
      DC.push_back(dc_);
      return Level::Done;
    case 0x0127:  // META_RESTOREDC
      if (DC.empty()) return RaiseField(Msg::ControlIdNotFound, "Device Context");
      dc_ = DC.back();
      DC.pop_back();
      return Level::Done;
    case 0x0201:  // META_SETBKCOLOR
      if (r.Has(10)) dc_.BKCOLOR = r.Color(0);
      return Level::Done;
    case 0x0102:  // META_SETBKMODE
      if (r.Has(8)) dc_.BKMODE = r.UP(0);
      return Level::Done;
    case 0x012E:  // META_SETTEXTALIGN
      if (r.Has(8)) dc_.TEXTALIGN = r.UP(0);
      return Level::Done;
    case 0x0209:  // META_SETTEXTCOLOR
      if (r.Has(10)) dc_.TEXTCOLOR = r.Color(0);
      return Level::Done;
    case 0x020B:  // META_SETWINDOWORG
      if (r.Has(10)) {
        WINDOWORIGINX = -static_cast<int32_t>(r.P(1));
        WINDOWORIGINY = -static_cast<int32_t>(r.P(0));
      }
      return Level::Done;
    case 0x02FC:  // META_CREATEBRUSHINDIRECT
      if (r.Has(14)) CreateBrush(r);
      return Level::Done;
    case 0x02FA:  // META_CREATEPENINDIRECT
      if (r.Has(16)) CreatePen(r);
      return Level::Done;
    case 0x02FB:  // META_CREATEFONTINDIRECT
      if (r.Has(20)) CreateFont(r);
      return Level::Done;
    case 0x012D:  // META_SELECTOBJECT
      return r.Has(8) ? SelectObject(r.UP(0)) : Level::Done;
    case 0x01F0:  // META_DELETEOBJECT
      return r.Has(8) ? DeleteObject(r.UP(0)) : Level::Done;
    case 0x0107:  // META_SETSTRETCHBLTMODE
      if (r.Has(8)) {
        IMAGEFORMAT.STRETCHMODE = r.UP(0);
        // A stretch mode starts an image, unless another control is open.
        if (!inside_) {
          inside_ = PageControl::Image;
          step_ = 1;
        }
      }
      return Level::Done;
    case 0x0214: return r.Has(10) ? MoveTo(r) : Level::Done;
    case 0x0213: return r.Has(10) ? LineTo(r) : Level::Done;
    case 0x0324: return r.Has(8) ? Polygon(r) : Level::Done;
    case 0x0418: return r.Has(14) ? Ellipse(r) : 0;
    case 0x041B: return r.Has(14) ? Rectangle(r) : 0;
    case 0x0626: return r.Has(14) ? Escape(r) : 0;
    case 0x061C: return r.Has(18) ? RoundRect(r) : 0;
    case 0x0817: return r.Has(22) ? Arc(r, false) : 0;
    case 0x081A: return r.Has(22) ? Pie(r) : 0;
    case 0x0830: return r.Has(22) ? Arc(r, true) : 0;
    case 0x0A32: return r.Has(14) ? ExtTextOut(r) : 0;
    default: return Level::Done;
  }
}

// Graphics state -------------------------------------------------------------

int32_t WMFRecordParser::X(int v) const {
  return TruncToLong((v + WINDOWORIGINX) * TOINCH);
}

int32_t WMFRecordParser::Y(int v) const {
  return TruncToLong((v + WINDOWORIGINY) * TOINCH);
}

uint16_t WMFRecordParser::TakeSlot(ObjectKind kind) {
  uint16_t slot;
  if (!HOLES.empty()) {
    slot = HOLES.front();
    HOLES.erase(HOLES.begin());
  } else {
    slot = CURRENTOBJECT++;
  }
  // After 65536 objects the counter comes round to slots that may be alive:
  // the new object replaces whatever held the slot.
  BRUSH.erase(slot);
  FONTS.erase(slot);
  PENS.erase(slot);
  OBJECTS[slot] = kind;
  return slot;
}

void WMFRecordParser::CreateBrush(const Record& r) {
  BrushRow b;
  b.ID = TakeSlot(OBJECT_BRUSH);
  b.STYLE = r.UP(0);
  b.COLOR = (b.STYLE == 1 || b.STYLE == 3) ? -1 : r.Color(1);
  b.HATCH = r.UP(3);
  BRUSH[b.ID] = b;
  dc_.CURRENTBRUSH = b.ID;
}

void WMFRecordParser::CreatePen(const Record& r) {
  PenRow p;
  p.ID = TakeSlot(OBJECT_PEN);
  p.WIDTH = r.Color(1);  // x with the y half above it, as one 32-bit value
  p.STYLE = r.UP(0);
  p.COLOR = p.STYLE == 5 ? -1 : r.Color(3);
  PENS[p.ID] = p;
  dc_.CURRENTPEN = p.ID;
}

void WMFRecordParser::CreateFont(const Record& r) {
  FontRow f;
  f.ID = TakeSlot(OBJECT_FONT);
  f.SIZE = static_cast<uint16_t>(std::lround(std::abs(static_cast<int>(r.P(0))) * 72.0 / PIXELSPERINCH));
  f.COLOR = dc_.TEXTCOLOR;
  int style = r.UP(4);
  if (r.bytes[16]) style += 4096;
  if (r.bytes[17]) style += 8192;
  if (r.bytes[18]) style += 16384;
  f.STYLE = static_cast<uint16_t>(style);
  f.ANGLE = static_cast<uint16_t>(r.P(2) / 10);
  f.CHARSET = r.bytes[19];
  if (r.length > 24) {
    const char* face = reinterpret_cast<const char*>(r.bytes + 24);
    f.FACE = std::string_view(face, strnlen(face, std::min<size_t>(r.length - 24, 31)));
  }
  FONTS[f.ID] = f;
  dc_.CURRENTFONT = f.ID;
}

uint8_t WMFRecordParser::SelectObject(uint16_t slot) {
  auto it = OBJECTS.find(slot);
  if (it == OBJECTS.end()) return RaiseField(Msg::ControlIdNotFound, "object");
  switch (it->second) {
    case OBJECT_BRUSH: dc_.CURRENTBRUSH = slot; break;
    case OBJECT_FONT: dc_.CURRENTFONT = slot; break;
    case OBJECT_PEN: dc_.CURRENTPEN = slot; break;
  }
  return Level::Done;
}

uint8_t WMFRecordParser::DeleteObject(uint16_t slot) {
  auto it = OBJECTS.find(slot);
  if (it == OBJECTS.end()) return RaiseField(Msg::ControlIdNotFound, "Object");
  OBJECTS.erase(it);
  HOLES.insert(std::lower_bound(HOLES.begin(), HOLES.end(), slot), slot);
  if (FONTS.erase(slot) || PENS.erase(slot) || BRUSH.erase(slot)) return Level::Done;
  return RaiseField(Msg::ControlIdNotFound, "Brush");
}

// Each lookup that fails raises 51; `result` is what the step then returns.
bool WMFRecordParser::CurrentBrush(const BrushRow*& brush, uint8_t& result) {
  auto it = dc_.CURRENTBRUSH < 0 ? BRUSH.end() : BRUSH.find(static_cast<uint16_t>(dc_.CURRENTBRUSH));
  if (it == BRUSH.end()) {
    result = RaiseField(Msg::ControlIdNotFound, "Brush");
    return false;
  }
  brush = &it->second;
  return true;
}

bool WMFRecordParser::CurrentPen(const PenRow*& pen, uint8_t& result) {
  auto it = dc_.CURRENTPEN < 0 ? PENS.end() : PENS.find(static_cast<uint16_t>(dc_.CURRENTPEN));
  if (it == PENS.end()) {
    result = RaiseField(Msg::ControlIdNotFound, "Pen");
    return false;
  }
  pen = &it->second;
  return true;
}

bool WMFRecordParser::CurrentFont(const FontRow*& font, uint8_t& result) {
  auto it = dc_.CURRENTFONT < 0 ? FONTS.end() : FONTS.find(static_cast<uint16_t>(dc_.CURRENTFONT));
  if (it == FONTS.end()) {
    result = RaiseField(Msg::ControlIdNotFound, "Fonts");
    return false;
  }
  font = &it->second;
  return true;
}

bool WMFRecordParser::StyleFromBrushAndPen(ShapeStyle& style, uint8_t& result) {
  const BrushRow* brush = nullptr;
  if (!CurrentBrush(brush, result)) return false;
  style.BACKGROUNDCOLOR = brush->COLOR;
  style.BACKGROUNDSTYLE = brush->STYLE;
  const PenRow* pen = nullptr;
  if (!CurrentPen(pen, result)) return false;
  style.BORDERSTYLE = pen->STYLE;
  style.BORDERCOLOR = pen->COLOR;
  style.BORDERWIDTH = pen->WIDTH;
  return true;
}

}  // namespace tx
