// The drawing objects of the report generator interface, their attribute
// strings and the escaping of their texts.
#include <algorithm>

#include "pdf/pdf_generator.h"

namespace tx {

bool PDFGenerator::Skipped(std::string_view attributes) {
  return !GetAttribute(attributes, "SKIP", "ALL").empty() || !GetAttribute(attributes, "SKIP", "PDF").empty();
}

bool PDFGenerator::Hidden(std::string_view attributes) { return !GetAttribute(attributes, "HIDE", "PDF").empty(); }

namespace {
void ApplyFontName(TextFormat& format, std::string_view attributes) {
  std::string face = PDFGenerator::GetAttribute(attributes, "FONTNAME", "PDF");
  if (!face.empty()) format.FACE = std::string_view(face).substr(0, 12);
}
}  // namespace

uint8_t PDFGenerator::EmitString(std::string_view attributes, std::string_view text, const TextFormat& format) {
  TextFormat f = format;
  if (!ObjectLinks(f.POS, attributes, text)) return Level::Done;
  ApplyFontName(f, attributes);
  DrawStringObject(f, text, Hidden(attributes));
  return Level::Done;
}

uint8_t PDFGenerator::EmitTextBlock(std::string_view attributes, const std::vector<TextRow>& lines) {
  if (lines.empty() || Skipped(attributes)) return Level::Done;
  bool hidden = Hidden(attributes);
  const TextFormat& first = lines.front().FORMAT;
  // Links and the bookmark come from the first line; a note from the text
  // of the whole block.
  std::string all;
  for (const auto& line : lines) all += line.TEXT.view();
  bool note = GetAttribute(attributes, "PDFActionType", "PDF") == "3";
  Links(first.POS, attributes, note ? std::string_view(all) : lines.front().TEXT.view());
  Bookmark(first.POS, attributes, lines.front().TEXT.view());
  int32_t boxW = first.POS.RIGHT - first.POS.LEFT;
  int32_t boxH = first.POS.BOTTOM - first.POS.TOP;
  if (first.BACKGROUNDCOLOR != -1 && boxW > 0 && boxH > 0) {
    SetPenStyle(0);
    SetPenColor(first.BACKGROUNDCOLOR);
    SetPenWidth(0);
    DrawBox(first.POS.LEFT, first.POS.TOP, boxW, first.BACKGROUNDCOLOR, boxH);
  }
  if (hidden) return Level::Done;
  std::string face = GetAttribute(attributes, "FONTNAME", "PDF");
  for (const auto& line : lines) {
    TextFormat f = line.FORMAT;
    f.POS = ReportPos{};
    if (!face.empty()) {
      f.FACE = std::string_view(face).substr(0, 12);
      f.ANGLE = 0;
    }
    DrawStringObject(f, line.TEXT.view(), false);
  }
  return Level::Done;
}

uint8_t PDFGenerator::EmitCheck(std::string_view attributes, std::string_view text, const CheckFormat& check) {
  // Links cover the box and its prompt; the box itself is drawn as given.
  ReportPos area = check.POS;
  area.RIGHT = check.PROMPT.POS.RIGHT;
  if (!ObjectLinks(area, attributes, text) || Hidden(attributes)) return Level::Done;
  const ReportPos& p = check.POS;
  SetPenStyle(0);
  SetPenColor(check.STYLE.BORDERCOLOR);
  SetPenWidth(check.STYLE.BORDERWIDTH);
  DrawBox(p.LEFT, p.TOP, p.RIGHT - p.LEFT, -1, p.BOTTOM - p.TOP);
  if (check.CHECKED) {
    DrawLine(p.LEFT, p.TOP, p.RIGHT - p.LEFT, p.BOTTOM - p.TOP);
    DrawLine(p.LEFT, p.BOTTOM, p.RIGHT - p.LEFT, -(p.BOTTOM - p.TOP));
  }
  TextFormat prompt = check.PROMPT;
  ApplyFontName(prompt, attributes);
  prompt.ANGLE = 0;
  DrawStringObject(prompt, text, false);
  return Level::Done;
}

uint8_t PDFGenerator::EmitBox(std::string_view attributes, const RectFormat& box) {
  ReportPos p = box.POS;
  if (!ObjectLinks(p, attributes, {}) || Hidden(attributes)) return Level::Done;
  SetPenStyle(box.STYLE.BORDERSTYLE);
  SetPenColor(box.STYLE.BORDERCOLOR);
  SetPenWidth(box.STYLE.BORDERWIDTH);
  DrawBox(p.LEFT, p.TOP, p.RIGHT - p.LEFT, box.STYLE.BACKGROUNDCOLOR, p.BOTTOM - p.TOP);
  return Level::Done;
}

uint8_t PDFGenerator::EmitEllipse(std::string_view attributes, const EllipseFormat& ellipse) {
  ReportPos p = ellipse.POS;
  if (!ObjectLinks(p, attributes, {}) || Hidden(attributes)) return Level::Done;
  SetPenStyle(ellipse.STYLE.BORDERSTYLE);
  SetPenColor(ellipse.STYLE.BORDERCOLOR);
  SetPenWidth(ellipse.STYLE.BORDERWIDTH);
  DrawEllipse(p.LEFT, p.TOP, p.RIGHT - p.LEFT, ellipse.STYLE.BACKGROUNDCOLOR, p.BOTTOM - p.TOP);
  return Level::Done;
}

uint8_t PDFGenerator::EmitLine(std::string_view attributes, const LineFormat& line) {
  ReportPos p = line.POS;
  if (!ObjectLinks(p, attributes, {}) || Hidden(attributes)) return Level::Done;
  SetPenStyle(line.STYLE);
  SetPenColor(line.COLOR);
  SetPenWidth(line.WIDTH);
  DrawLine(p.LEFT, p.TOP, p.RIGHT - p.LEFT, p.BOTTOM - p.TOP);
  return Level::Done;
}

uint8_t PDFGenerator::EmitGroup(std::string_view attributes, std::string_view text, const GroupFormat& group) {
  ReportPos p = group.POS;
  if (!ObjectLinks(p, attributes, text) || Hidden(attributes)) return Level::Done;
  RectFormat frame;
  frame.POS = p;
  frame.STYLE.BACKGROUNDCOLOR = -1;
  frame.STYLE.BORDERCOLOR = group.LINECOLOR;
  frame.STYLE.BORDERWIDTH = group.LINEWIDTH;
  frame.STYLE.BORDERSTYLE = 0;
  EmitBox("", frame);
  LineFormat gap;
  gap.POS.LEFT = group.X1;
  gap.POS.RIGHT = group.X2;
  gap.POS.TOP = gap.POS.BOTTOM = group.POS.TOP;
  gap.COLOR = 0xFFFFFF;
  gap.WIDTH = group.LINEWIDTH;
  gap.STYLE = 0;
  EmitLine("", gap);
  TextFormat header = group.HEADER;
  ApplyFontName(header, attributes);
  header.ANGLE = 0;
  EmitString("", text, header);
  return Level::Done;
}

uint8_t PDFGenerator::EmitRadio(std::string_view attributes, std::string_view text, const RadioFormat& radio) {
  ReportPos area = radio.OUTER.POS;
  area.RIGHT = std::max(area.RIGHT, radio.PROMPT.POS.RIGHT);
  if (!ObjectLinks(area, attributes, text, false) || Hidden(attributes)) return Level::Done;
  EllipseFormat outer = radio.OUTER;
  outer.STYLE.BACKGROUNDCOLOR = -1;
  EmitEllipse("", outer);
  if (radio.CHECKED) EmitEllipse("", radio.INNER);
  TextFormat prompt = radio.PROMPT;
  ApplyFontName(prompt, attributes);
  prompt.ANGLE = 0;
  DrawStringObject(prompt, text, false);
  return Level::Done;
}

uint8_t PDFGenerator::EmitPolygon(std::string_view attributes, const std::vector<PointRow>& points,
                                  const ShapeStyle& style) {
  if (Skipped(attributes) || Hidden(attributes) || points.empty()) return Level::Done;
  PolygonBegin(style.BACKGROUNDCOLOR, style.BORDERCOLOR, style.BORDERWIDTH, style.BORDERSTYLE);
  for (const auto& p : points) PolygonAddPoint(p.XPOS, p.YPOS);
  PolygonEnd();
  return Level::Done;
}

uint8_t PDFGenerator::EmitImage(std::string_view attributes, std::string_view imageName, const ImageFormat& image) {
  ReportPos p = image.POS;
  if (!ObjectLinks(p, attributes, imageName) || Hidden(attributes)) return Level::Done;
  std::string_view name = image.EMBEDSTART > 0 ? page_.PAGENAME.view() : RightTrimmed(imageName);
  PlaceImage(name, p.LEFT, p.TOP, p.RIGHT - p.LEFT, static_cast<int32_t>(image.EMBEDSTART), p.BOTTOM - p.TOP);
  return Level::Done;
}

// ---- attributes and escaping ------------------------------------------------

std::string PDFGenerator::GetAttribute(std::string_view attributes, std::string_view name,
                                       std::string_view target) {
  size_t at = attributes.find(target);
  if (at == std::string_view::npos || name.empty()) return {};
  size_t close = attributes.find(')', at);
  size_t found = attributes.find(name, at);
  if (close == std::string_view::npos || found == std::string_view::npos || found >= close) return {};
  size_t start = found + name.size() + 1;  // past the "="
  if (start > close) return {};
  size_t end = attributes.find('|', start);
  if (end == std::string_view::npos || end > close) end = close;
  return std::string(attributes.substr(start, end - start));
}

std::string PDFGenerator::EscapeText(std::string_view text, bool plain) const {
  std::string out;
  out.reserve(text.size() * 2);
  bool baltic = page_.OBJCHARSET == 186 && !plain;
  for (unsigned char c : text) {
    if (c < 30 || c == 127 || c == 129) {
      out += ' ';
      continue;
    }
    if (c == '\\' || c == '(' || c == ')') {
      out += '\\';
      out += static_cast<char>(c);
      continue;
    }
    if (baltic) {
      const char* hex = nullptr;
      switch (c) {
        case 131: case 136: case 138: case 140: out += ' '; continue;
        case 141: hex = "A8"; break;
        case 143: hex = "B8"; break;
        case 168: hex = "D8"; break;
        case 175: hex = "C6"; break;
        case 184: hex = "F8"; break;
        case 191: hex = "E6"; break;
        case 208: hex = "8A"; break;
        case 222: hex = "8E"; break;
        case 254: hex = "9E"; break;
        default: break;
      }
      if (hex) {
        out += ")<";
        out += hex;
        out += ">(";
        continue;
      }
    }
    out += static_cast<char>(c);
  }
  return out;
}

}  // namespace tx
