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
  page_.LASTCONTENT = doc_.CUROBJ;
  ++doc_.CUROBJ;
  page_.CONTENTS.push_back({doc_.CUROBJ});
  AddLocation(doc_.CUROBJ);
  OUTPUT->StartBuffering();
  OUTPUT->BeginObject(static_cast<uint32_t>(doc_.CUROBJ));
  doc_.COMPRESSCONTENT = doc_.COMPRESSTEXT != 0;
  if (doc_.COMPRESSCONTENT) OUTPUT->StartFlate();
}

void PDFGenerator::CloseStream() {
  int32_t number = CurrentStream();
  if (doc_.COMPRESSCONTENT) OUTPUT->Compress();
  OUTPUT->StopFlate();
  OUTPUT->EndObject();
  OUTPUT->StopBuffering();
  doc_.COMPRESSCONTENT = 0;
  AddLocation(number);
  OUTPUT->WriteLine(std::to_string(number) + " 0 obj");
  std::string length = std::to_string(OUTPUT->BUFFERLEN);
  OUTPUT->WriteLine(OUTPUT->FLATED ? "<< /Filter /Fl /Length " + length + " >>" : "<< /Length " + length + " >>");
  OUTPUT->WriteLine("stream");
  page_.STREAMSTART = OUTPUT->FPOS;
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
  if (page_.INIMAGE) return;
  EndText();
  page_.INIMAGE = 1;
  OpenStream();
  if (writeState) {
    OUTPUT->WriteLine(ColorLine(page_.PENCOLOR, " RG"));
    OUTPUT->WriteLine(ColorLine(page_.FILLCOLOR, " rg"));
    OUTPUT->WriteLine(pdf::LineWidth(page_.PENWIDTH) + " w");
    OUTPUT->WriteLine(DashLine(page_.PENSTYLE));
  }
}

void PDFGenerator::EndGraphics() {
  if (!page_.INIMAGE) return;
  page_.INIMAGE = 0;
  CloseStream();
}

void PDFGenerator::BeginText() {
  if (page_.INTEXT && !page_.INCLIPING) return;
  EndText();
  EndGraphics();
  page_.INTEXT = 1;
  OpenStream();
  OUTPUT->WriteLine("BT");
}

void PDFGenerator::BeginClippedText(int32_t x, int32_t y, int32_t w, int32_t h) {
  EndText();
  EndGraphics();
  page_.CLIPXPOS = x;
  page_.CLIPYPOS = y;
  page_.CLIPWIDTH = w;
  page_.CLIPHEIGHT = h;
  page_.INCLIPING = 1;
  page_.INTEXT = 1;
  OpenStream();
  OUTPUT->WriteLine("q");
  OUTPUT->WriteLine(Num(ToPoints(x)) + " " + Num(page_.PAGEHEIGHT - ToPoints(y)) + " " + Num(ToPoints(w)) + " " +
                    Num(-ToPoints(h)) + " re");
  OUTPUT->WriteLine("W n");
  OUTPUT->WriteLine("BT");
}

void PDFGenerator::EndText() {
  if (!page_.INTEXT) return;
  page_.INTEXT = 0;
  OUTPUT->WriteLine("ET");
  if (page_.INCLIPING) {
    page_.INCLIPING = 0;
    page_.CLIPXPOS = page_.CLIPYPOS = page_.CLIPWIDTH = page_.CLIPHEIGHT = 0;
    OUTPUT->WriteLine("Q");
  }
  CloseStream();
}

// ---- graphics state --------------------------------------------------------

void PDFGenerator::SetPenStyle(int32_t style) {
  BeginGraphics(false);
  if (CurrentStream() != page_.OBJPENSTYLE || style != page_.PENSTYLE) {
    OUTPUT->WriteLine(DashLine(style));
    page_.PENSTYLE = style;
    page_.OBJPENSTYLE = CurrentStream();
  }
}

void PDFGenerator::SetPenColor(int32_t color) {
  BeginGraphics(false);
  PdfColor c = Fractions(color);
  if (CurrentStream() != page_.OBJPENCOLOR || !(c == page_.PENCOLOR)) {
    OUTPUT->WriteLine(ColorLine(c, " RG"));
    page_.PENCOLOR = c;
    page_.OBJPENCOLOR = CurrentStream();
  }
}

void PDFGenerator::SetPenWidth(int32_t width) {
  BeginGraphics(false);
  if (CurrentStream() != page_.OBJPENWIDTH || width != page_.PENWIDTH) {
    OUTPUT->WriteLine(pdf::LineWidth(width) + " w");
    page_.PENWIDTH = width;
    page_.OBJPENWIDTH = CurrentStream();
  }
}

void PDFGenerator::SetFillColor(int32_t color) {
  BeginGraphics(false);
  PdfColor c = Fractions(color);
  if (CurrentStream() != page_.OBJFILLCOLOR || !(c == page_.FILLCOLOR)) {
    OUTPUT->WriteLine(ColorLine(c, " rg"));
    page_.FILLCOLOR = c;
    page_.OBJFILLCOLOR = CurrentStream();
  }
}

void PDFGenerator::SetFontColor(int32_t color) { page_.FONTCOLOR = Fractions(color); }

// ---- primitives ------------------------------------------------------------

void PDFGenerator::DrawLine(int32_t x, int32_t y, int32_t w, int32_t h) {
  BeginGraphics(true);
  double px = ToPoints(x), py = page_.PAGEHEIGHT - ToPoints(y);
  page_.LASTXPOS = static_cast<int32_t>(px);
  page_.LASTYPOS = static_cast<int32_t>(py);
  OUTPUT->WriteLine(Num(px) + " " + Num(py) + " m");
  OUTPUT->WriteLine(Num(ToPoints(x) + ToPoints(w)) + " " + Num(page_.PAGEHEIGHT - ToPoints(y) - ToPoints(h)) + " l");
  OUTPUT->WriteLine("s");
}

void PDFGenerator::DrawBox(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h) {
  BeginGraphics(true);
  double px = ToPoints(x), py = page_.PAGEHEIGHT - ToPoints(y);
  page_.LASTXPOS = static_cast<int32_t>(px);
  page_.LASTYPOS = static_cast<int32_t>(py);
  if (fill >= 0) SetFillColor(fill);
  OUTPUT->WriteLine(Num(px) + " " + Num(py) + " " + Num(ToPoints(w)) + " " + Num(-ToPoints(h)) + " re");
  OUTPUT->WriteLine(fill == -1 ? "s" : "B");
}

void PDFGenerator::DrawEllipse(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h) {
  BeginGraphics(true);
  if (fill >= 0) SetFillColor(fill);
  double cx = std::trunc(ToPoints(w / 2.0 + x));
  double cy = std::trunc(page_.PAGEHEIGHT - ToPoints(h / 2.0 + y));
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
  page_.POLYPOINT.clear();
  page_.POLYGONCOLOR = fill;
  page_.POLYGONPENCOLOR = penColor;
  page_.POLYGONPENWIDTH = penWidth;
  page_.POLYGONPENSTYLE = penStyle;
  page_.INPOLYGON = 1;
}

void PDFGenerator::PolygonAddPoint(int32_t x, int32_t y) {
  if (page_.INPOLYGON) page_.POLYPOINT.push_back({x, y});
}

void PDFGenerator::PolygonEnd() {
  if (!page_.INPOLYGON) return;
  page_.INPOLYGON = 0;
  if (page_.POLYPOINT.empty()) return;
  BeginGraphics(true);
  SetPenStyle(page_.POLYGONPENSTYLE);
  SetPenWidth(page_.POLYGONPENWIDTH);
  SetPenColor(page_.POLYGONPENCOLOR);
  if (page_.POLYGONCOLOR != -1) SetFillColor(page_.POLYGONCOLOR);
  bool first = true;
  for (const auto& p : page_.POLYPOINT) {
    double px = ToPoints(p.XPOS), py = page_.PAGEHEIGHT - ToPoints(p.YPOS);
    if (first) {
      page_.LASTXPOS = static_cast<int32_t>(px);
      page_.LASTYPOS = static_cast<int32_t>(py);
    }
    OUTPUT->WriteLine(Num(px) + " " + Num(py) + (first ? " m" : " l"));
    first = false;
  }
  OUTPUT->WriteLine("h");
  OUTPUT->WriteLine(page_.POLYGONCOLOR != -1 ? "B" : "s");
  page_.POLYPOINT.clear();
}

// ---- text ------------------------------------------------------------------

void PDFGenerator::DrawText(const TextFormat& format, std::string_view text) {
  page_.FONTANGLE = static_cast<int16_t>(format.ANGLE);
  bool bold = (format.STYLE & 0x7FF) >= 700;
  bool italic = (format.STYLE & 0x1000) != 0;
  SelectFont(format.FACE.view(), format.SIZE, bold, italic, format.CHARSET);

  double dx = 0, dy = 0, sx = 0, sy = -page_.POINTSIZE;
  if (page_.FONTANGLE != 0) {
    double width = TextWidth(text);
    double turned = (page_.FONTANGLE >= 180 && page_.FONTANGLE <= 360) ? page_.FONTANGLE - 180 : page_.FONTANGLE + 180;
    double t = turned * kDegree;
    if (page_.FONTANGLE != 90 && page_.FONTANGLE != 180 && page_.FONTANGLE != 270) {
      dx = width / 2 * std::cos(t);
      dy = width / 2 * std::sin(t);
    }
    sx = std::sin(t) * page_.POINTSIZE;
    sy = std::cos(t) * page_.POINTSIZE;
  }
  int32_t boxW = format.POS.RIGHT - format.POS.LEFT;
  int32_t boxH = format.POS.BOTTOM - format.POS.TOP;
  if (boxW != 0 || boxH != 0) {
    BeginClippedText(format.POS.LEFT, format.POS.TOP, boxW, boxH);
  } else {
    BeginText();
  }
  OUTPUT->WriteLine("/F" + std::to_string(page_.ACTUALFONTNUMBER) + " " + std::to_string(page_.POINTSIZE) + " Tf");
  OUTPUT->WriteLine(ColorLine(page_.FONTCOLOR, " rg"));
  double theta = page_.FONTANGLE * kDegree;
  double x = std::fabs(ToPoints(format.LEFTTEXT + dx) - sx);
  double y = page_.PAGEHEIGHT - std::fabs(ToPoints(format.TOPTEXT - dy) - sy);
  const std::string shown = EscapeText(text, false);
  if (doc_.embedFonts) NoteShown(shown);
  OUTPUT->WriteLine(Num(std::cos(theta)) + " " + Num(std::sin(theta)) + " " + Num(-std::sin(theta)) + " " +
                    Num(std::cos(theta)) + " " + Num(x) + " " + Num(y) + " Tm [(" + shown + ")] TJ");
  page_.FONTANGLE = 0;
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
