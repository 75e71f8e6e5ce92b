// Fonts: the 14 standard fonts by name, all other faces as TrueType fonts
// described through the platform font engine.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "pdf/pdf_format.h"
#include "pdf/pdf_generator.h"
#include "platform/fonts/font_engine.h"

namespace tx {

namespace {

std::string Upper(std::string_view s) {
  std::string out(RightTrimmed(s));
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

struct StandardFace {
  const char* face;
  const char* name;
  bool styled;  // takes bold / italic from the flags
};

constexpr StandardFace kStandard[] = {
    {"COURIER", "Courier", true},
    {"HELVETICA", "Helvetica", true},
    {"TIMES-ROMAN", "Times-Roman", true},
    {"TIMES", "Times-Roman", true},
    {"ROMAN", "Times-Roman", true},
    {"SYMBOL", "Symbol", false},
    {"ZAPFDINGBATS", "ZapfDingbats", false},
    {"COURIER-BOLD", "Courier-Bold", false},
    {"COURIER-BOLDOBLIQUE", "Courier-BoldOblique", false},
    {"COURIER-OBLIQUE", "Courier-Oblique", false},
    {"HELVETICA-BOLD", "Helvetica-Bold", false},
    {"HELVETICA-BOLDOBLIQUE", "Helvetica-BoldOblique", false},
    {"HELVETICA-OBLIQUE", "Helvetica-Oblique", false},
    {"TIMES-BOLD", "Times-Bold", false},
    {"TIMES-ITALIC", "Times-Italic", false},
    {"TIMES-BOLDITALIC", "Times-BoldItalic", false},
};

// Metric twins of the standard families among the installed fonts, for
// measuring underlines of standard-font text.
FontRequest StandardTwin(std::string_view pdfName, int style) {
  FontRequest r;
  std::string up = Upper(pdfName);
  r.face = up.rfind("COURIER", 0) == 0 ? "Courier New" : up.rfind("TIMES", 0) == 0 ? "Times New Roman" : "Arial";
  r.weight = up.find("BOLD") != std::string::npos ? 700 : (style & 0x7FF);
  r.italic = up.find("ITALIC") != std::string::npos || up.find("OBLIQUE") != std::string::npos;
  return r;
}

// Six capital letters naming a subset, taken from the font and the codes it
// shows: the same document gets the same tags every time.
std::string SubsetTag(const FontRow& font) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&](unsigned char c) { h = (h ^ c) * 1099511628211ull; };
  for (char c : font.NAME.view()) mix(static_cast<unsigned char>(c));
  mix(static_cast<unsigned char>(font.STYLE >> 8));
  for (size_t code = 0; code < font.shown.size(); ++code)
    if (font.shown[code]) mix(static_cast<unsigned char>(code));
  std::string tag;
  for (int i = 0; i < 6; ++i, h /= 26) tag += static_cast<char>('A' + h % 26);
  return tag;
}

FontRequest RequestOf(const FontRow& font) {
  FontRequest r;
  r.face = font.REALNAME.str();
  r.weight = font.STYLE & ~(4096 | 8192 | 16384);
  r.italic = (font.STYLE & 4096) != 0;
  return r;
}

}  // namespace

std::string PDFGenerator::StandardName(std::string_view face, bool bold, bool italic) {
  std::string up = Upper(face);
  for (const auto& s : kStandard) {
    if (up != s.face) continue;
    std::string name = s.name;
    if (s.styled && (bold || italic)) {
      if (name == "Times-Roman") name = "Times";
      name += "-";
      if (bold) name += "Bold";
      if (italic) name += Upper(name).rfind("TIMES-", 0) == 0 ? "Italic" : "Oblique";
    }
    return name;
  }
  return {};
}

void PDFGenerator::SelectFont(std::string_view face, int size, bool bold, bool italic, uint8_t charset) {
  std::string standard = StandardName(face, bold, italic);
  std::string realName, name;
  if (!standard.empty()) {
    realName = name = standard;
  } else {
    realName = std::string(RightTrimmed(face));
    name = realName + (bold && italic ? ",BoldItalic" : italic ? ",Italic" : bold ? ",Bold" : "");
  }
  FontRow* font = nullptr;
  std::string key = Upper(name);
  for (auto& row : font_.FONTSNAMES) {
    if (Upper(row.NAME.view()) == key && row.CHARSET == charset) {
      font = &row;
      break;
    }
  }
  if (!font) {
    FontRow row;
    row.NAME = name;
    row.REALNAME = realName;
    row.NUMBER = static_cast<int16_t>(font_.FONTSNAMES.size() + 1);
    row.STYLE = (bold ? 700 : 400) + (italic ? 4096 : 0);
    row.CHARSET = charset;
    row.BUILTIN = standard.empty() ? 0 : 1;
    font_.FONTSNAMES.push_back(row);
    font_.FONTSNUM = static_cast<int16_t>(font_.FONTSNAMES.size());
    font = &font_.FONTSNAMES.back();
  }
  int32_t stream = CurrentStream();
  if (stream != page_.OBJFONTNUMBER || charset != page_.OBJCHARSET || size != page_.POINTSIZE || font->NUMBER != page_.ACTUALFONTNUMBER) {
    page_.OBJCHARSET = charset;
    if (size != 0) {
      page_.POINTSIZE = static_cast<int16_t>(size & 0xFF);
      page_.OBJFONTSIZE = stream;
    }
    page_.OBJFONTNUMBER = stream;
    page_.ACTUALFONTNUMBER = font->NUMBER;
  }
}

double PDFGenerator::TextWidth(std::string_view text, bool measureStandard) {
  if (page_.ACTUALFONTNUMBER < 1 || page_.ACTUALFONTNUMBER > static_cast<int>(font_.FONTSNAMES.size())) return 0;
  const FontRow& font = font_.FONTSNAMES[page_.ACTUALFONTNUMBER - 1];
  FontRequest request;
  if (font.BUILTIN) {
    if (!measureStandard) return 0;
    std::string up = Upper(font.NAME.view());
    if (up == "SYMBOL" || up == "ZAPFDINGBATS") return 0;
    request = StandardTwin(font.NAME.view(), font.STYLE);
  } else {
    request = RequestOf(font);
  }
  long em = fonts_.TextWidth(request, text);
  // Thousandths of the size in points -> report units (1000 per inch).
  double width = static_cast<double>(em) * std::abs(page_.POINTSIZE) / 1000.0 * 1000.0 / 72.0;
  return width + width / 20;
}

bool PDFGenerator::FontMetricsOf(const FontRequest& request, FontMetrics& metrics) {
  auto found = fonts_.Metrics(request);
  if (!found) return false;
  metrics = std::move(*found);
  return true;
}

bool PDFGenerator::FontProgramOf(const FontRequest& request, const std::array<bool, 256>& codes,
                                 FontProgram& program, std::string& why) {
  auto found = fonts_.Program(request, codes);
  if (!found) {
    why = fonts_.LastError();
    return false;
  }
  program = std::move(*found);
  return true;
}

void PDFGenerator::NoteShown(std::string_view escaped) {
  const int n = page_.ACTUALFONTNUMBER;
  if (n < 1 || n > static_cast<int>(font_.FONTSNAMES.size())) return;
  std::array<bool, 256>& shown = font_.FONTSNAMES[static_cast<size_t>(n - 1)].shown;
  for (size_t i = 0; i < escaped.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(escaped[i]);
    if (c == '\\' && i + 1 < escaped.size()) {
      // An octal escape stands for one code; any other escaped byte for itself.
      size_t digits = 0;
      unsigned value = 0;
      while (digits < 3 && i + 1 + digits < escaped.size() && escaped[i + 1 + digits] >= '0' &&
             escaped[i + 1 + digits] <= '7')
        value = value * 8 + static_cast<unsigned>(escaped[i + 1 + digits++] - '0');
      c = digits ? static_cast<unsigned char>(value) : static_cast<unsigned char>(escaped[i + 1]);
      i += digits ? digits : 1;
    }
    shown[c] = true;
  }
}

int32_t PDFGenerator::WriteFontProgram(const FontProgram& program) {
  const int32_t number = ++doc_.CUROBJ;
  const bool compress = doc_.COMPRESSTEXT != 0;
  OUTPUT->StartBuffering();
  OUTPUT->BeginObject(static_cast<uint32_t>(number));
  if (compress) OUTPUT->StartFlate();
  OUTPUT->Write(program.data);
  if (compress) OUTPUT->Compress();
  OUTPUT->StopFlate();
  OUTPUT->EndObject();
  OUTPUT->StopBuffering();
  AddLocation(number);
  OUTPUT->WriteLine(std::to_string(number) + " 0 obj");
  OUTPUT->WriteLine(std::string("<< ") + (OUTPUT->FLATED ? "/Filter /FlateDecode " : "") + "/Length " +
                    std::to_string(OUTPUT->BUFFERLEN) + " /Length1 " + std::to_string(program.data.size()) + " >>");
  OUTPUT->WriteLine("stream");
  page_.STREAMSTART = OUTPUT->FPOS;
  OUTPUT->Flush(false);
  OUTPUT->WriteLine("");
  OUTPUT->WriteLine("endstream");
  OUTPUT->WriteLine("endobj");
  return number;
}

bool PDFGenerator::WriteFontDescriptor(FontRow& font) {
  FontMetrics m;
  if (!FontMetricsOf(RequestOf(font), m)) {
    ShowMessage("Font Error", "Font Name:" + font.REALNAME.str() + "|NOT LOC:HFont");
    return false;
  }
  // The program goes first, so that the descriptor stays right before the font.
  int32_t programObject = 0;
  std::string tag;
  if (doc_.embedFonts) {
    FontProgram program;
    std::string why;
    if (FontProgramOf(RequestOf(font), font.shown, program, why)) {
      programObject = WriteFontProgram(program);
      if (program.subset) tag = SubsetTag(font) + "+";
    } else {
      ShowMessage("Font Error", "Font Name:" + font.REALNAME.str() + "|not embedded: " + why);
    }
  }
  font.subsetTag = tag;
  ++doc_.CUROBJ;
  AddLocation(doc_.CUROBJ);
  OUTPUT->WriteLine(std::to_string(doc_.CUROBJ) + " 0 obj");
  OUTPUT->WriteLine("<< ");
  OUTPUT->WriteLine("/Type /FontDescriptor");
  bool italic = (font.STYLE & 4096) != 0;
  bool bold = (font.STYLE & 700) == 700;
  std::string name = m.familyName + (bold && italic ? ",BoldItalic" : italic ? ",Italic" : bold ? ",Bold" : "");
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  font.NAME = name;
  OUTPUT->WriteLine("/FontName /" + tag + font.NAME.str());
  int flags = bold && italic ? 0x40040 : italic ? 64 : bold ? 0x40000 : 0;
  flags += font.CHARSET == 2 ? 4 : 32;
  if (m.fixedPitch) flags += 1;
  OUTPUT->WriteLine("/Flags " + std::to_string(flags));
  OUTPUT->WriteLine("/FontBBox [" + std::to_string(m.bboxLeft) + " " + std::to_string(m.bboxBottom) + " " +
                    std::to_string(m.bboxRight) + " " + std::to_string(m.bboxTop) + "]");
  int stem = m.weight != 0 ? static_cast<int>(std::lround(m.weight / 5.7)) : 80;
  OUTPUT->WriteLine("/StemV " + std::to_string(stem));
  OUTPUT->WriteLine("/StemH " + std::to_string(stem));
  // Readers expect the italic angle in degrees; the engine gives it so.
  OUTPUT->WriteLine("/ItalicAngle " + pdf::Num(m.italicAngle));
  OUTPUT->WriteLine("/Ascent " + std::to_string(m.ascent));
  OUTPUT->WriteLine("/Descent " + std::to_string(-m.descent));
  OUTPUT->WriteLine("/Leading " + std::to_string(m.internalLeading + m.externalLeading));
  OUTPUT->WriteLine("/MaxWidth " + std::to_string(m.maxWidth));
  OUTPUT->WriteLine("/AvgWidth " + std::to_string(m.avgWidth));
  if (programObject) OUTPUT->WriteLine("/FontFile2 " + std::to_string(programObject) + " 0 R");
  OUTPUT->WriteLine(">> ");
  OUTPUT->WriteLine("endobj");
  if (font.FIRSTCHAR == 0) {
    font.FIRSTCHAR = m.firstChar;
    font.LASTCHAR = m.lastChar;
    for (int code = std::max(1, int{font.FIRSTCHAR}); code <= font.LASTCHAR; ++code) {
      font.CHARWIDTH[code - 1] = static_cast<int16_t>(m.widths[code]);
    }
  } else {
    for (int code = 1; code < 256; ++code) {
      if (font.CHARWIDTH[code - 1] != 0) font.CHARWIDTH[code - 1] = static_cast<int16_t>(m.widths[code]);
    }
  }
  return true;
}

void PDFGenerator::WriteFonts() {
  for (auto& font : font_.FONTSNAMES) {
    if (font.BUILTIN) {
      font.OBJECTNO = ++doc_.CUROBJ;
      AddLocation(doc_.CUROBJ);
      OUTPUT->WriteLine(std::to_string(doc_.CUROBJ) + " 0 obj");
      OUTPUT->WriteLine("<< ");
      OUTPUT->WriteLine("/Type /Font");
      OUTPUT->WriteLine("/Subtype /Type1");
      OUTPUT->WriteLine("/Name /F" + std::to_string(font.NUMBER));
      OUTPUT->WriteLine("/BaseFont /" + font.NAME.str());
      OUTPUT->WriteLine("/Encoding /WinAnsiEncoding");
      OUTPUT->WriteLine(">> ");
      OUTPUT->WriteLine("endobj");
      continue;
    }
    bool described = WriteFontDescriptor(font);
    if (!described) OUTPUT->WriteLine("% FontDescriptor missing");
    font.OBJECTNO = ++doc_.CUROBJ;
    AddLocation(doc_.CUROBJ);
    OUTPUT->WriteLine(std::to_string(doc_.CUROBJ) + " 0 obj");
    OUTPUT->WriteLine("<< ");
    OUTPUT->WriteLine("/Type /Font");
    OUTPUT->WriteLine("/Subtype /TrueType");
    OUTPUT->WriteLine("/Name /F" + std::to_string(font.NUMBER));
    // Without a descriptor the name is still the face as registered; a
    // blank inside it would end the PDF name and break the dictionary.
    std::string baseFont = font.NAME.str();
    baseFont.erase(std::remove(baseFont.begin(), baseFont.end(), ' '), baseFont.end());
    OUTPUT->WriteLine("/BaseFont /" + font.subsetTag + baseFont);
    OUTPUT->WriteLine("/FirstChar " + std::to_string(font.FIRSTCHAR));
    OUTPUT->WriteLine("/LastChar " + std::to_string(font.LASTCHAR));
    OUTPUT->WriteLine("/Encoding /WinAnsiEncoding");
    // Without a descriptor the entry is left out rather than pointing at
    // whatever object came before.
    if (described) OUTPUT->WriteLine("/FontDescriptor " + std::to_string(doc_.CUROBJ - 1) + " 0 R");
    OUTPUT->Write("/Widths [");
    int count = 0;
    int total = font.LASTCHAR >= font.FIRSTCHAR ? font.LASTCHAR - font.FIRSTCHAR + 1 : 0;
    for (int code = font.FIRSTCHAR; code <= font.LASTCHAR; ++code) {
      int width = code >= 1 ? font.CHARWIDTH[code - 1] : 0;
      OUTPUT->Write(" " + std::to_string(width));
      if (++count % 10 == 0 && count < total) OUTPUT->Write("\r\n");
    }
    OUTPUT->WriteLine("]");
    OUTPUT->WriteLine(">> ");
    OUTPUT->WriteLine("endobj");
  }
}

}  // namespace tx
