#pragma once
// The report generator interface: what the page parser calls while it replays
// rendered report pages, and the drawing-object records it hands over. An
// output target (the PDF writer) implements IREPORTGENERATOR.
//
// Units: positions and sizes in thousandths of an inch, origin top left.
// Colours: 0x00BBGGRR, -1 = none. Texts are the report's single-byte text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "base/level.h"

namespace tx {

// Bounds of a control (`POS`). Note the field order.
struct ReportPos {
  int32_t TOP = 0;
  int32_t LEFT = 0;
  int32_t BOTTOM = 0;
  int32_t RIGHT = 0;
};

// Shape style (`STYLE`): brush and pen of a shape.
struct ShapeStyle {
  int32_t BACKGROUNDCOLOR = 0;
  uint16_t BACKGROUNDSTYLE = 0;  // brush style
  int32_t BORDERCOLOR = 0;
  int32_t BORDERWIDTH = 0;
  uint16_t BORDERSTYLE = 0;      // pen style
};

// Text format record (`STRINGFORMAT`, and the `PROMPT` / `HEADER` of other kinds).
struct TextFormat {
  ReportPos POS;          // text box; zero width and height = no clip
  int32_t TOPTEXT = 0;    // reference point of the text
  int32_t LEFTTEXT = 0;
  int32_t BACKGROUNDCOLOR = 0;
  int32_t COLOR = 0;
  CStringField<32> FACE;
  int32_t SIZE = 0;       // points
  int32_t STYLE = 0;      // weight (& 0x7FF), italic 0x1000, underline 0x2000, strike-out 0x4000
  uint8_t CHARSET = 0;
  int32_t ANGLE = 0;      // degrees
};

struct ArcFormat {
  ReportPos POS;
  ShapeStyle STYLE;
  int32_t STARTX = 0;
  int32_t STARTY = 0;
  int32_t ENDX = 0;
  int32_t ENDY = 0;
};

struct CheckFormat {
  ReportPos POS;
  ShapeStyle STYLE;
  TextFormat PROMPT;
  uint8_t CHECKED = 0;
};

struct EllipseFormat {
  ReportPos POS;
  ShapeStyle STYLE;
};

struct ImageFormat {
  ReportPos POS;
  uint16_t STRETCHMODE = 0;
  uint32_t EMBEDSTART = 0;  // 1-based byte position of a bitmap inside the page file; 0 = image file
};

// A line runs from (LEFT, TOP) to (RIGHT, BOTTOM).
struct LineFormat {
  ReportPos POS;
  int32_t COLOR = 0;
  int32_t WIDTH = 0;
  int32_t STYLE = 0;
};

struct GroupFormat {
  ReportPos POS;
  TextFormat HEADER;
  uint16_t X1 = 0;  // ends of the gap that the caption leaves in the top edge
  uint16_t X2 = 0;
  int32_t LINECOLOR = 0;
  int32_t LINEWIDTH = 0;
  uint16_t LINESTYLE = 0;
};

struct RadioFormat {
  TextFormat PROMPT;
  EllipseFormat OUTER;
  EllipseFormat INNER;
  uint8_t CHECKED = 0;
};

struct RectFormat {
  ReportPos POS;
  ShapeStyle STYLE;
  uint16_t ELL_WIDTH = 0;   // corner ellipse of a rounded box; 0 for a square box
  uint16_t ELL_HEIGHT = 0;
};

// `POINTQ` row.
struct PointRow {
  int32_t XPOS = 0;
  int32_t YPOS = 0;
};

// `SLICEFORMATQ` row.
struct SliceFormat {
  ShapeStyle STYLE;
  int32_t STARTX = 0;
  int32_t STARTY = 0;
  int32_t ENDX = 0;
  int32_t ENDY = 0;
};
struct SliceRow {
  SliceFormat FORMAT;
};

// `TEXTFORMATQ` row: one line of a multi-line text.
struct TextRow {
  TextFormat FORMAT;
  CStringField<257> TEXT;
};

// The report generator interface. The operations keep their fixed order.
// `attributes` is the control attribute string (up to 2048 characters,
// blank-padded), e.g. "PDF(SKIP=1|FONTNAME=Arial)". Results are levels:
// Results are levels (base/level.h): Done, Fatal = failed, Cancelled, NotDone.
class IREPORTGENERATOR {
 public:
  virtual ~IREPORTGENERATOR() = default;

  // Slot kept for the order of the table; no caller uses it.
  virtual uint8_t Reserved() { return Level::Done; }

  virtual uint8_t BeginDocument(int32_t pageCount) = 0;
  // Writes the closing objects and closes the target. Returns Level::Done when the whole
  // file reached the disk, Fatal when creating, writing or closing it failed, so
  // the caller can fail the run instead of reporting success.
  virtual uint8_t FinishDocument() = 0;
  virtual uint8_t BeginPage(std::string_view pageName, int32_t left, int32_t top, int32_t right,
                            int32_t bottom) = 0;
  virtual uint8_t FinishPage() = 0;
  // Done when a target name is set (asking the user if needed), NotDone when cancelled.
  virtual uint8_t ChooseOutput(uint8_t flag) = 0;
  virtual std::string TargetKind() = 0;
  virtual std::string TargetName() = 0;
  virtual std::string TargetIcon() = 0;

  virtual uint8_t EmitArc(std::string_view attributes, const ArcFormat& arc) = 0;
  // tag: at most 9 characters; flag 1 opens a section, 0 closes it.
  virtual uint8_t EmitSection(std::string_view tag, uint8_t flag) = 0;
  virtual uint8_t EmitCheck(std::string_view attributes, std::string_view text, const CheckFormat& check) = 0;
  virtual uint8_t EmitChord(std::string_view attributes, const ArcFormat& chord) = 0;
  virtual uint8_t EmitEllipse(std::string_view attributes, const EllipseFormat& ellipse) = 0;
  // imageName: the image file name (256 characters, blank-padded), or the text
  // of the control; for an embedded bitmap image.EMBEDSTART is non-zero.
  virtual uint8_t EmitImage(std::string_view attributes, std::string_view imageName,
                            const ImageFormat& image) = 0;
  virtual uint8_t EmitLine(std::string_view attributes, const LineFormat& line) = 0;
  virtual uint8_t EmitGroup(std::string_view attributes, std::string_view text, const GroupFormat& group) = 0;
  virtual uint8_t EmitPie(std::string_view attributes, const std::vector<SliceRow>& slices,
                          const ReportPos& pos) = 0;
  virtual uint8_t EmitPolygon(std::string_view attributes, const std::vector<PointRow>& points,
                              const ShapeStyle& style) = 0;
  virtual uint8_t EmitRadio(std::string_view attributes, std::string_view text, const RadioFormat& radio) = 0;
  virtual uint8_t EmitBox(std::string_view attributes, const RectFormat& box) = 0;
  virtual uint8_t EmitString(std::string_view attributes, std::string_view text, const TextFormat& format) = 0;
  virtual uint8_t EmitTextBlock(std::string_view attributes, const std::vector<TextRow>& lines) = 0;

  // The caller's list of produced file names (not owned); the generator empties
  // it and adds the target file name at document finish.
  virtual void SetOutputFileList(std::vector<std::string>* list) = 0;
  virtual uint8_t ProducesFiles() = 0;
};

}  // namespace tx
