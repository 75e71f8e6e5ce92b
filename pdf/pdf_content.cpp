// Page content: content streams, graphics state and the drawing primitives.
#include <algorithm>
#include <cmath>

#include "pdf/pdf_format.h"
#include "pdf/pdf_generator.h"

namespace tx {

using pdf::Num;
using pdf::ToPoints;

namespace {
constexpr double kPi = 3.1415926535898;
constexpr double kDegree = 0.0174532925199;

PdfColor Fractions(int32_t color) {
  auto part = [](int byte) { return std::round(static_cast<double>(byte & 0xFF) / 255.0 * 1000.0) / 1000.0; };
  return {part(color), part(color >> 8), part(color >> 16)};
}

std::string ColorLine(const PdfColor& c, std::string_view op) {
  return Num(c.RED) + " " + Num(c.GREEN) + " " + Num(c.BLUE) + std::string(op);
}

std::string DashLine(int32_t style) {
  switch (style) {
    case 1: return "[3] 3 d";
    case 2: return "[1] 1 d";
    case 3: return "[3 2 1 2] 0 d";
    default: return "[] 0 d";
  }
}

bool BlankText(std::string_view text) { return RightTrimmed(text).empty(); }
}  // namespace

// ---- streams ---------------------------------------------------------------

void PDFGenerator::OpenStream() {
  LASTCONTENT = CUROBJ;
  ++CUROBJ;
  CONTENTS.push_back({CUROBJ});
  AddLocation(CUROBJ);
  OUTPUT->StartBuffering();
  OUTPUT->BeginObject(static_cast<uint32_t>(CUROBJ));
  COMPRESSCONTENT = COMPRESSTEXT != 0;
  if (COMPRESSCONTENT) OUTPUT->StartFlate();
}

void PDFGenerator::CloseStream() {
  int32_t number = CurrentStream();
  if (COMPRESSCONTENT) OUTPUT->Compress();
  OUTPUT->StopFlate();
  OUTPUT->EndObject();
  OUTPUT->StopBuffering();
  COMPRESSCONTENT = 0;
  AddLocation(number);
  OUTPUT->WriteLine(std::to_string(number) + " 0 obj");
  std::string length = std::to_string(OUTPUT->BUFFERLEN);
  OUTPUT->WriteLine(OUTPUT->FLATED ? "<< /Filter /Fl /Length " + length + " >>" : "<< /Length " + length + " >>");
  OUTPUT->WriteLine("stream");
  STREAMSTART = OUTPUT->FPOS;
  // Plain content ends with its own line end; compressed or encrypted data
  // gets one so that "endstream" starts a line as readers expect.
  bool endsWithLine = !OUTPUT->FLATED && !OUTPUT->KeysReady() && OUTPUT->BUFFERLEN > 0 &&
                      OUTPUT->Buffered().back() == '\n';
  OUTPUT->Flush(false);
  if (!endsWithLine) OUTPUT->Write("\r\n");
  OUTPUT->WriteLine("endstream");
  OUTPUT->WriteLine("endobj");
}

void PDFGenerator::BeginGraphics(bool writeState) {
  if (INIMAGE) return;
  EndText();
  INIMAGE = 1;
  OpenStream();
  if (writeState) {
    OUTPUT->WriteLine(ColorLine(PENCOLOR, " RG"));
    OUTPUT->WriteLine(ColorLine(FILLCOLOR, " rg"));
    OUTPUT->WriteLine(pdf::LineWidth(PENWIDTH) + " w");
    OUTPUT->WriteLine(DashLine(PENSTYLE));
  }
}

void PDFGenerator::EndGraphics() {
  if (!INIMAGE) return;
  INIMAGE = 0;
  CloseStream();
}

void PDFGenerator::BeginText() {
  if (INTEXT && !INCLIPING) return;
  EndText();
  EndGraphics();
  INTEXT = 1;
  OpenStream();
  OUTPUT->WriteLine("BT");
}

void PDFGenerator::BeginClippedText(int32_t x, int32_t y, int32_t w, int32_t h) {
  EndText();
  EndGraphics();
  CLIPXPOS = x;
  CLIPYPOS = y;
  CLIPWIDTH = w;
  CLIPHEIGHT = h;
  INCLIPING = 1;
  INTEXT = 1;
  OpenStream();
  OUTPUT->WriteLine("q");
  OUTPUT->WriteLine(Num(ToPoints(x)) + " " + Num(PAGEHEIGHT - ToPoints(y)) + " " + Num(ToPoints(w)) + " " +
                    Num(-ToPoints(h)) + " re");
  OUTPUT->WriteLine("W n");
  OUTPUT->WriteLine("BT");
}

void PDFGenerator::EndText() {
  if (!INTEXT) return;
  INTEXT = 0;
  OUTPUT->WriteLine("ET");
  if (INCLIPING) {
    INCLIPING = 0;
    CLIPXPOS = CLIPYPOS = CLIPWIDTH = CLIPHEIGHT = 0;
    OUTPUT->WriteLine("Q");
  }
  CloseStream();
}

// ---- graphics state --------------------------------------------------------

void PDFGenerator::SetPenStyle(int32_t style) {
  BeginGraphics(false);
  if (CurrentStream() != OBJPENSTYLE || style != PENSTYLE) {
    OUTPUT->WriteLine(DashLine(style));
    PENSTYLE = style;
    OBJPENSTYLE = CurrentStream();
  }
}

void PDFGenerator::SetPenColor(int32_t color) {
  BeginGraphics(false);
  PdfColor c = Fractions(color);
  if (CurrentStream() != OBJPENCOLOR || !(c == PENCOLOR)) {
    OUTPUT->WriteLine(ColorLine(c, " RG"));
    PENCOLOR = c;
    OBJPENCOLOR = CurrentStream();
  }
}

void PDFGenerator::SetPenWidth(int32_t width) {
  BeginGraphics(false);
  if (CurrentStream() != OBJPENWIDTH || width != PENWIDTH) {
    OUTPUT->WriteLine(pdf::LineWidth(width) + " w");
    PENWIDTH = width;
    OBJPENWIDTH = CurrentStream();
  }
}

void PDFGenerator::SetFillColor(int32_t color) {
  BeginGraphics(false);
  PdfColor c = Fractions(color);
  if (CurrentStream() != OBJFILLCOLOR || !(c == FILLCOLOR)) {
    OUTPUT->WriteLine(ColorLine(c, " rg"));
    FILLCOLOR = c;
    OBJFILLCOLOR = CurrentStream();
  }
}

void PDFGenerator::SetFontColor(int32_t color) { FONTCOLOR = Fractions(color); }

// ---- primitives ------------------------------------------------------------

void PDFGenerator::DrawLine(int32_t x, int32_t y, int32_t w, int32_t h) {
  BeginGraphics(true);
  double px = ToPoints(x), py = PAGEHEIGHT - ToPoints(y);
  LASTXPOS = static_cast<int32_t>(px);
  LASTYPOS = static_cast<int32_t>(py);
  OUTPUT->WriteLine(Num(px) + " " + Num(py) + " m");
  OUTPUT->WriteLine(Num(ToPoints(x) + ToPoints(w)) + " " + Num(PAGEHEIGHT - ToPoints(y) - ToPoints(h)) + " l");
  OUTPUT->WriteLine("s");
}

void PDFGenerator::DrawBox(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h) {
  BeginGraphics(true);
  double px = ToPoints(x), py = PAGEHEIGHT - ToPoints(y);
  LASTXPOS = static_cast<int32_t>(px);
  LASTYPOS = static_cast<int32_t>(py);
  if (fill >= 0) SetFillColor(fill);
  OUTPUT->WriteLine(Num(px) + " " + Num(py) + " " + Num(ToPoints(w)) + " " + Num(-ToPoints(h)) + " re");
  OUTPUT->WriteLine(fill == -1 ? "s" : "B");
}

void PDFGenerator::DrawEllipse(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h) {
  BeginGraphics(true);
  if (fill >= 0) SetFillColor(fill);
  double cx = std::trunc(ToPoints(w / 2.0 + x));
  double cy = std::trunc(PAGEHEIGHT - ToPoints(h / 2.0 + y));
  double rx = std::trunc(ToPoints(w) / 2);
  double ry = std::trunc(ToPoints(h) / 2);
  auto whole = [](double v) { return std::to_string(static_cast<long>(std::trunc(v))); };
  OUTPUT->WriteLine(whole(cx + rx) + " " + whole(cy) + " m");
  for (int quarter = 0; quarter < 4; ++quarter) {
    double a = quarter * 90 * kPi / 180;
    double b = (quarter + 1) * 90 * kPi / 180;
    double k = 4.0 / 3.0 * (1 - std::cos((b - a) / 2)) / std::sin((b - a) / 2);
    double x1 = std::cos(a) - k * std::sin(a), y1 = std::sin(a) + k * std::cos(a);
    double x2 = std::cos(b) + k * std::sin(b), y2 = std::sin(b) - k * std::cos(b);
    double x3 = std::cos(b), y3 = std::sin(b);
    OUTPUT->WriteLine(whole(cx + rx * x1) + " " + whole(cy + ry * y1) + " " + whole(cx + rx * x2) + " " +
                      whole(cy + ry * y2) + " " + whole(cx + rx * x3) + " " + whole(cy + ry * y3) + " c");
  }
  OUTPUT->WriteLine(fill == -1 ? "s" : "B");
}

void PDFGenerator::PolygonBegin(int32_t fill, int32_t penColor, int32_t penWidth, int32_t penStyle) {
  POLYPOINT.clear();
  POLYGONCOLOR = fill;
  POLYGONPENCOLOR = penColor;
  POLYGONPENWIDTH = penWidth;
  POLYGONPENSTYLE = penStyle;
  INPOLYGON = 1;
}

void PDFGenerator::PolygonAddPoint(int32_t x, int32_t y) {
  if (INPOLYGON) POLYPOINT.push_back({x, y});
}

void PDFGenerator::PolygonEnd() {
  if (!INPOLYGON) return;
  INPOLYGON = 0;
  if (POLYPOINT.empty()) return;
  BeginGraphics(true);
  SetPenStyle(POLYGONPENSTYLE);
  SetPenWidth(POLYGONPENWIDTH);
  SetPenColor(POLYGONPENCOLOR);
  if (POLYGONCOLOR != -1) SetFillColor(POLYGONCOLOR);
  bool first = true;
  for (const auto& p : POLYPOINT) {
    double px = ToPoints(p.XPOS), py = PAGEHEIGHT - ToPoints(p.YPOS);
    if (first) {
      LASTXPOS = static_cast<int32_t>(px);
      LASTYPOS = static_cast<int32_t>(py);
    }
    OUTPUT->WriteLine(Num(px) + " " + Num(py) + (first ? " m" : " l"));
    first = false;
  }
  OUTPUT->WriteLine("h");
  OUTPUT->WriteLine(POLYGONCOLOR != -1 ? "B" : "s");
  POLYPOINT.clear();
}

// ---- text ------------------------------------------------------------------

void PDFGenerator::DrawText(const TextFormat& format, std::string_view text) {
  FONTANGLE = static_cast<int16_t>(format.ANGLE);
  bool bold = (format.STYLE & 0x7FF) >= 700;
  bool italic = (format.STYLE & 0x1000) != 0;
  SelectFont(format.FACE.view(), format.SIZE, bold, italic, format.CHARSET);

  double dx = 0, dy = 0, sx = 0, sy = -POINTSIZE;
  if (FONTANGLE != 0) {
    double width = TextWidth(text);
    double turned = (FONTANGLE >= 180 && FONTANGLE <= 360) ? FONTANGLE - 180 : FONTANGLE + 180;
    double t = turned * kDegree;
    if (FONTANGLE != 90 && FONTANGLE != 180 && FONTANGLE != 270) {
      dx = width / 2 * std::cos(t);
      dy = width / 2 * std::sin(t);
    }
    sx = std::sin(t) * POINTSIZE;
    sy = std::cos(t) * POINTSIZE;
  }
  int32_t boxW = format.POS.RIGHT - format.POS.LEFT;
  int32_t boxH = format.POS.BOTTOM - format.POS.TOP;
  if (boxW != 0 || boxH != 0) {
    BeginClippedText(format.POS.LEFT, format.POS.TOP, boxW, boxH);
  } else {
    BeginText();
  }
  OUTPUT->WriteLine("/F" + std::to_string(ACTUALFONTNUMBER) + " " + std::to_string(POINTSIZE) + " Tf");
  OUTPUT->WriteLine(ColorLine(FONTCOLOR, " rg"));
  double theta = FONTANGLE * kDegree;
  double x = std::fabs(ToPoints(format.LEFTTEXT + dx) - sx);
  double y = PAGEHEIGHT - std::fabs(ToPoints(format.TOPTEXT - dy) - sy);
  OUTPUT->WriteLine(Num(std::cos(theta)) + " " + Num(std::sin(theta)) + " " + Num(-std::sin(theta)) + " " +
                    Num(std::cos(theta)) + " " + Num(x) + " " + Num(y) + " Tm [(" + EscapeText(text, false) +
                    ")] TJ");
  FONTANGLE = 0;
}

void PDFGenerator::DrawStringObject(TextFormat format, std::string_view text, bool hidden) {
  if (hidden || BlankText(text)) return;
  int32_t boxW = format.POS.RIGHT - format.POS.LEFT;
  int32_t boxH = format.POS.BOTTOM - format.POS.TOP;
  if (format.BACKGROUNDCOLOR != -1 && boxW > 0 && boxH > 0) {
    SetPenStyle(0);
    SetPenColor(format.BACKGROUNDCOLOR);
    SetPenWidth(0);
    DrawBox(format.POS.LEFT, format.POS.TOP, boxW, format.BACKGROUNDCOLOR, boxH);
  }
  SetFontColor(format.COLOR);
  DrawText(format, text);
  bool underline = (format.STYLE & 0x2000) != 0;
  bool strike = (format.STYLE & 0x4000) != 0;
  if (!underline && !strike) return;
  // Standard fonts are measured too (through their metric twins), and a text
  // without a box is underlined over its whole width: otherwise the line
  // would have no length at all.
  double width = TextWidth(text);
  if (width == 0) width = TextWidth(text, true);
  int32_t length = static_cast<int32_t>(boxW > 0 ? std::min<double>(boxW, width) : width);
  SetPenStyle(0);
  SetPenColor(format.COLOR);
  SetPenWidth(1);
  if (underline) DrawLine(format.LEFTTEXT, format.TOPTEXT + format.SIZE * 15, length, 0);
  if (strike) DrawLine(format.LEFTTEXT, format.TOPTEXT + format.SIZE * 9, length, 0);
}

}  // namespace tx
