#pragma once
// Reads one rendered page metafile at a time, record by record, keeps the
// graphics state (object table, device-context stack, window origin) and
// assembles the report controls between the report engine's comments into
// drawing calls on the generator. Used by WMFParser only.
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "report/report_generator.h"

namespace tx {

class ErrorManager;

// A converted value dropped toward zero, kept within 32 bits (a hostile page
// can ask for sizes no page has).
inline int32_t TruncToLong(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(v);
}

// The controls the report engine's comments open and close.
enum class PageControl : uint8_t { Arc, Box, Check, Chord, Ellipse, Image, Line, Group, Pie, Polygon, Radio, String, Text };

// The control a begin or end comment's keyword names (compared exactly,
// trailing blanks already removed), or none for a keyword that opens nothing.
std::optional<PageControl> PageControlOf(std::string_view keyword);

class WMFRecordParser {
 public:
  static constexpr size_t RECORD_BUFFER = 5000;
  static constexpr size_t READ_AHEAD = 64 * 1024;

  struct DeviceContext {
    int32_t CURRENTBRUSH = -1;
    int32_t CURRENTFONT = -1;
    int32_t CURRENTPEN = -1;
    int32_t BKCOLOR = -1;
    uint16_t BKMODE = 0;
    uint16_t TEXTALIGN = 0;
    int32_t TEXTCOLOR = 0;
  };
  struct BrushRow {
    uint16_t ID = 0;
    int32_t COLOR = 0;
    uint16_t STYLE = 0;
    uint16_t HATCH = 0;
  };
  struct PenRow {
    uint16_t ID = 0;
    int32_t COLOR = 0;
    int32_t WIDTH = 0;
    uint16_t STYLE = 0;
  };
  struct FontRow {
    uint16_t ID = 0;
    int32_t COLOR = 0;
    uint16_t SIZE = 0;
    uint16_t STYLE = 0;
    CStringField<32> FACE;
    uint16_t ANGLE = 0;
    uint8_t CHARSET = 0;
  };
  enum ObjectKind : uint8_t { OBJECT_BRUSH = 1, OBJECT_FONT = 2, OBJECT_PEN = 3 };

  WMFRecordParser();
  ~WMFRecordParser();
  WMFRecordParser(const WMFRecordParser&) = delete;
  WMFRecordParser& operator=(const WMFRecordParser&) = delete;

  void SetPageFile(std::string_view fileName, IREPORTGENERATOR* generator, ErrorManager* errors);
  // Bare image file names (no drive, no directory) get this in front, as given.
  void SetImageDirectory(std::string prefix) { IMAGEDIRECTORY = std::move(prefix); }

  uint8_t Open();
  uint8_t ReadHeader();
  uint8_t ParseRecord();
  uint8_t ParseAll();
  uint8_t Close();
  void FreeTables();

  int32_t GetBoxLeft() const { return BOXLEFT; }
  int32_t GetBoxTop() const { return BOXTOP; }
  int32_t GetBoxRight() const { return BOXRIGHT; }
  int32_t GetBoxBottom() const { return BOXBOTTOM; }
  const std::string& FileName() const { return FILENAME; }
  const DeviceContext& CurrentDC() const { return dc_; }
  uint16_t CurrentObject() const { return CURRENTOBJECT; }

 private:
  // One record as held in the buffer: `length` bytes of it, never more.
  struct Record {
    const uint8_t* bytes;
    size_t length;
    uint16_t function;
    bool Has(size_t bytesNeeded) const { return length >= bytesNeeded; }
    uint16_t Word(size_t offset) const { return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8); }
    int16_t P(size_t i) const { return static_cast<int16_t>(Word(6 + 2 * i)); }
    uint16_t UP(size_t i) const { return Word(6 + 2 * i); }
    int32_t Color(size_t i) const {
      return static_cast<int32_t>(static_cast<uint32_t>(UP(i)) | static_cast<uint32_t>(UP(i + 1)) << 16);
    }
  };

  uint8_t Dispatch(const Record& r);
  uint8_t RaiseField(uint16_t id, std::string_view field);
  uint8_t Raise(uint16_t id);

  // Graphics state.
  int32_t X(int v) const;
  int32_t Y(int v) const;
  uint16_t TakeSlot(ObjectKind kind);
  bool CurrentBrush(const BrushRow*& brush, uint8_t& result);
  bool CurrentPen(const PenRow*& pen, uint8_t& result);
  bool CurrentFont(const FontRow*& font, uint8_t& result);
  bool StyleFromBrushAndPen(ShapeStyle& style, uint8_t& result);
  uint8_t SelectObject(uint16_t slot);
  uint8_t DeleteObject(uint16_t slot);
  void CreateBrush(const Record& r);
  void CreatePen(const Record& r);
  void CreateFont(const Record& r);

  // Control assembly.
  ReportPos Rect(int left, int top, int right, int bottom) const;
  uint8_t Escape(const Record& r);
  uint8_t BeginControl(std::string_view keyword, uint16_t continued, std::string_view attributes);
  uint8_t EndControl(std::string_view keyword, uint16_t continued);
  void SetImageName(std::string_view name);
  uint8_t ExtTextOut(const Record& r);
  uint8_t MoveTo(const Record& r);
  uint8_t LineTo(const Record& r);
  uint8_t Ellipse(const Record& r);
  uint8_t Rectangle(const Record& r);
  uint8_t RoundRect(const Record& r);
  uint8_t Arc(const Record& r, bool wholeStyle);
  uint8_t Pie(const Record& r);
  uint8_t Polygon(const Record& r);
  void StretchDib(const Record& r);
  std::string_view Text() const { return std::string_view(TEMPTEXT.data, TEMPTEXTLEN); }

  ErrorManager* ERRORS = nullptr;
  IREPORTGENERATOR* REPORTGENERATOR = nullptr;
  std::string FILENAME;
  std::string IMAGEDIRECTORY;
  // Bytes [at, at + n) of the open page file, through a read-ahead window:
  // records come from memory, the file is read in large sequential pieces.
  bool ReadAt(long long at, uint8_t* into, size_t n);

  FILE* file_ = nullptr;
  long long fileSize_ = 0;
  std::vector<uint8_t> window_;
  long long windowStart_ = 0;  // file position of window_[0]
  uint8_t FILEOPEN = 0;
  uint16_t CURRENTOBJECT = 0;
  uint8_t FIRSTSLICE = 0;
  // The control between its begin and end comments, and how far it has
  // come: the segments of a group frame (1 to 5), the ellipses of a radio
  // button (1, 2). One control at a time: a begin replaces an open control.
  std::optional<PageControl> inside_;
  uint8_t step_ = 0;
  bool Inside(PageControl kind) const { return inside_ == kind; }
  ReportPos POS;
  ShapeStyle STYLE;
  ArcFormat ARCFORMAT;
  CheckFormat CHECKFORMAT;
  EllipseFormat ELLIPSEFORMAT;
  ImageFormat IMAGEFORMAT;
  LineFormat LINEFORMAT;
  GroupFormat GROUPFORMAT;
  RadioFormat RADIOFORMAT;
  RectFormat RECTFORMAT;
  TextFormat STRINGFORMAT;
  std::vector<PointRow> POINTQ;
  std::vector<SliceRow> SLICEFORMATQ;
  std::vector<TextRow> TEXTFORMATQ;
  std::vector<DeviceContext> DC;  // saved contexts; dc_ is the current one
  DeviceContext dc_;
  std::map<uint16_t, BrushRow> BRUSH;
  std::map<uint16_t, FontRow> FONTS;
  std::map<uint16_t, PenRow> PENS;
  std::map<uint16_t, uint8_t> OBJECTS;
  std::vector<uint16_t> HOLES;  // ascending
  uint16_t LINESTARTXPOS = 0, LINESTARTYPOS = 0;
  FixedString<256> TEMPTEXT;
  uint16_t TEMPTEXTLEN = 0;
  FixedString<2048> COMMENT;
  FixedString<2048> PRESERVECOMMENT;
  int32_t BOXLEFT = 0, BOXTOP = 0, BOXRIGHT = 0, BOXBOTTOM = 0;
  uint16_t PIXELSPERINCH = 0;
  double TOINCH = 0;
  long long WMFFPOS = 1;
  int32_t WINDOWORIGINX = 0, WINDOWORIGINY = 0;
  uint8_t buffer_[RECORD_BUFFER];
};

}  // namespace tx
