#include "pdf/pdf_generator.h"

#include <algorithm>
#include <ctime>

#include "pdf/pdf_format.h"
#include "platform/fonts/font_engine.h"

namespace tx {

namespace {
constexpr std::string_view kStoredId = "3f7a1c9e05b2d84a6e91c07f2b5d38e6";

std::string LeftJustified(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(RightTrimmed(s));
}

std::string Padded10(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%010d", value);
  return text;
}
}  // namespace

PDFGenerator::PDFGenerator() : OUTPUT(std::make_unique<PDFOutputFile>()), fonts_(SharedFontEngine()) {
  doc_.ID = kStoredId;
  link_.BASEPAGEBOOKMARKNAME = "Page_";
  OUTPUT->SetMessageHandler([this](std::string_view title, std::string_view text) { ShowMessage(title, text); });
}

PDFGenerator::~PDFGenerator() = default;

void PDFGenerator::Init(std::string_view name, bool keepName) {
  doc_.PAGEOBS.clear();
  doc_.LOCATIONS.clear();
  image_.XOBJECT.clear();
  image_.IMAGES.clear();
  link_.PAGEHYPERLINKS.clear();
  page_.CONTENTS.clear();
  link_.BOOKMARKS.clear();
  page_.POLYPOINT.clear();
  font_.FONTSNAMES.clear();
  doc_.ACCESSPERMISSIONS = 0;
  page_.INTEXT = page_.INCLIPING = page_.INIMAGE = page_.INPOLYGON = 0;
  page_.FONTCOLOR = page_.FILLCOLOR = page_.PENCOLOR = PdfColor{};
  page_.PENWIDTH = 1;
  page_.PENSTYLE = 0;
  page_.OBJPENCOLOR = page_.OBJPENWIDTH = page_.OBJPENSTYLE = page_.OBJFONTNUMBER = page_.OBJFONTSIZE = page_.OBJFONTCOLOR = page_.OBJFILLCOLOR = 0;
  page_.OBJCHARSET = 0;
  page_.PAGENO = 0;
  font_.FONTSNUM = 0;
  image_.IMAGENO = 0;
  pageOpen_ = false;
  if (!keepName) OUTPUT->Reset(false, name);
  if (doc_.TITLE.blank()) doc_.TITLE = "PDF Document";
  if (doc_.APPNAME.blank()) doc_.APPNAME = "Vantor PDF";
  if (doc_.PROGNAME.blank()) doc_.PROGNAME = "Vantor PDF";
  link_.PAGESASPARENTBOOKMARK = 0;
  link_.BASEPAGEBOOKMARKNAME = "Page_";
  doc_.ISOENC = 1;
  SetUp();
}

void PDFGenerator::SetDocumentInfo(std::string_view title, std::string_view creator, std::string_view producer,
                                   std::string_view subject, std::string_view author, std::string_view keywords) {
  doc_.TITLE = title;
  doc_.APPNAME = creator;
  doc_.PROGNAME = producer;
  doc_.SUBJECT = subject;
  doc_.AUTHOR = author;
  doc_.KEYWORDS = keywords;
}

void PDFGenerator::SetOutputFileList(std::vector<std::string>* list) {
  doc_.OUTPUTFILEQUEUE = list;
  if (list) list->clear();
}

void PDFGenerator::AddLocation(int32_t objectNumber) {
  if (objectNumber < 0) return;
  const size_t n = static_cast<size_t>(objectNumber);
  if (n >= doc_.LOCATIONS.size()) doc_.LOCATIONS.resize(std::max(n + 1, doc_.LOCATIONS.size() * 2), -1);
  doc_.LOCATIONS[n] = OUTPUT->FPOS;
}

std::vector<int32_t> PDFGenerator::PageObjectsByNumber(bool last) const {
  int32_t highest = 0;
  for (const auto& row : doc_.PAGEOBS) highest = std::max(highest, row.NUMBER);
  std::vector<int32_t> pages(static_cast<size_t>(highest) + 1, 0);
  for (const auto& row : doc_.PAGEOBS) {
    if (row.NUMBER < 1) continue;
    int32_t& slot = pages[static_cast<size_t>(row.NUMBER)];
    if (last || slot == 0) slot = row.OBJECTNO;
  }
  return pages;
}

void PDFGenerator::WriteInfoString(std::string_view key, std::string_view value, int32_t objectNumber) {
  OUTPUT->Write(key);
  std::string text = LeftJustified(value);
  if (OUTPUT->KeysReady()) {
    OUTPUT->WriteEncryptedString(static_cast<uint32_t>(objectNumber), text, false);
  } else {
    OUTPUT->Write(EscapeText(text, true));
  }
  OUTPUT->WriteLine(")");
}

uint8_t PDFGenerator::BeginDocument(int32_t pageCount) {
  doc_.TOTALPAGENO = static_cast<int16_t>(pageCount);
  OUTPUT->Reset(true);
  OUTPUT->OpenTarget(true);
  OUTPUT->Write(std::string_view("%PDF-1.3\r%\xE2\xE3\xCF\xD3\r\n", 16));
  AddLocation(1);
  OUTPUT->WriteLine("1 0 obj");
  OUTPUT->WriteLine("<< ");
  if (doc_.TITLE.blank()) doc_.TITLE = "PDF-VT-Job";
  if (doc_.ENCRYPT) {
    OUTPUT->SetEncryption(true, doc_.PASSWORD.view(), doc_.ACCESSPERMISSIONS);
    OUTPUT->SetEncryptID(doc_.ID.view());
  } else {
    OUTPUT->SetEncryption(false, {}, 0);
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[64];
  std::snprintf(date, sizeof date, "D:%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  WriteInfoString("/CreationDate (", date, 1);
  WriteInfoString("/Title (", doc_.TITLE.view(), 1);
  WriteInfoString("/Creator (", doc_.APPNAME.view(), 1);
  WriteInfoString("/Producer (", doc_.PROGNAME.view(), 1);
  WriteInfoString("/ModDate (", date, 1);
  WriteInfoString("/Subject (", doc_.SUBJECT.view(), 1);
  WriteInfoString("/Author (", doc_.AUTHOR.view(), 1);
  WriteInfoString("/Keywords (", doc_.KEYWORDS.view(), 1);
  OUTPUT->WriteLine(">> ");
  OUTPUT->WriteLine("endobj");
  AddLocation(2);
  for (auto line : {"2 0 obj", "<< ", "/Type /Catalog", "/Outlines 5 0 R", "/Pages 3 0 R", ">> ", "endobj"}) {
    OUTPUT->WriteLine(line);
  }
  doc_.CUROBJ = 5;
  return Level::Done;
}

std::pair<int32_t, int32_t> PDFGenerator::PaperSize(int code) {
  switch (code) {
    case 1: case 2: case 18: return {8500, 11000};
    case 3: case 17: return {11000, 17000};
    case 4: return {17000, 11000};
    case 5: return {8500, 14000};
    case 6: return {5500, 8500};
    case 7: return {7250, 10500};
    case 8: return {11688, 16500};
    case 9: case 10: return {8250, 11688};
    case 11: return {5844, 8250};
    case 12: return {9842, 13937};
    case 13: return {7165, 10118};
    case 14: case 41: return {8500, 13000};
    case 15: return {8464, 10826};
    case 16: return {10000, 14000};
    case 19: return {3875, 8875};
    case 20: return {4125, 9500};
    case 21: return {4500, 10375};
    case 22: return {4500, 11000};
    case 23: return {5000, 11500};
    case 24: case 25: case 26: return {10000, 10000};
    case 27: return {4330, 8660};
    case 28: return {6377, 9015};
    case 29: return {12755, 18031};
    case 30: return {9015, 12755};
    case 31: return {4488, 6377};
    case 32: return {4488, 9015};
    case 33: return {9842, 13897};
    case 34: return {6929, 9842};
    case 35: return {6929, 4921};
    case 36: return {4330, 9055};
    case 37: return {3875, 7500};
    case 38: return {3625, 6500};
    case 39: return {14875, 11000};
    case 40: return {8500, 12000};
    default: return {0, 0};
  }
}

uint8_t PDFGenerator::BeginPage(std::string_view pageName, int32_t left, int32_t top, int32_t right,
                                int32_t bottom) {
  if (pageOpen_) FinishPage();  // the previous page was never finished
  page_.PAGETYPE = 256;
  // Whole points, truncated toward zero: x * 612 / 8500 in integers.
  page_.PAGEWIDTH = static_cast<int16_t>(static_cast<int64_t>(right - left) * 612 / 8500);
  page_.PAGEHEIGHT = static_cast<int16_t>(static_cast<int64_t>(bottom - top) * 612 / 8500);
  page_.PAGENAME = pageName;
  pageOpen_ = true;
  ++page_.PAGENO;
  link_.PAGEHYPERLINKS.clear();
  page_.CONTENTS.clear();
  if (link_.PAGESASPARENTBOOKMARK) {
    AddBookmark(0, 0, true, link_.BASEPAGEBOOKMARKNAME.str() + std::to_string(page_.PAGENO), "");
  }
  return Level::Done;
}

uint8_t PDFGenerator::FinishPage() {
  pageOpen_ = false;
  EndText();
  EndGraphics();
  int32_t page = ++doc_.CUROBJ;
  AddLocation(page);
  doc_.PAGEOBS.push_back({page, page_.PAGENO});
  OUTPUT->WriteLine(std::to_string(page) + " 0 obj <<");
  OUTPUT->WriteLine("/Type /Page");
  OUTPUT->WriteLine("/Parent 3 0 R");
  OUTPUT->WriteLine("/Resources 4 0 R");
  int w = page_.PAGELANDSCAPE ? page_.PAGEHEIGHT : page_.PAGEWIDTH;
  int h = page_.PAGELANDSCAPE ? page_.PAGEWIDTH : page_.PAGEHEIGHT;
  OUTPUT->WriteLine("/MediaBox [ 0 0 " + std::to_string(w) + " " + std::to_string(h) + " ]");
  if (!page_.CONTENTS.empty()) {
    OUTPUT->Write("/Contents [");
    for (const auto& c : page_.CONTENTS) OUTPUT->Write(" " + std::to_string(c.OBJECTNO) + " 0 R");
    OUTPUT->WriteLine("]");
  }
  if (!link_.PAGEHYPERLINKS.empty()) {
    OUTPUT->Write("/Annots [");
    int32_t n = doc_.CUROBJ;
    for (auto& link : link_.PAGEHYPERLINKS) {
      link.OBJECTNO = ++n;
      OUTPUT->Write(" " + std::to_string(n) + " 0 R");
    }
    OUTPUT->WriteLine(" ]");
  }
  OUTPUT->WriteLine(">> ");
  OUTPUT->WriteLine("endobj");
  WriteAnnotations();
  return Level::Done;
}


void PDFGenerator::WriteEncryptionDictionary() {
  encryptObject_ = ++doc_.CUROBJ;
  AddLocation(encryptObject_);
  OUTPUT->WriteLine(std::to_string(encryptObject_) + " 0 obj");
  OUTPUT->WriteLine("<< ");
  OUTPUT->WriteLine("/Filter /Standard");
  OUTPUT->WriteLine("/R 2");
  OUTPUT->WriteLine("/O (" + OUTPUT->OValue() + ")");
  OUTPUT->WriteLine("/U (" + OUTPUT->UValue() + ")");
  OUTPUT->WriteLine("/P -" + std::to_string(doc_.ACCESSPERMISSIONS));
  OUTPUT->WriteLine("/V 1");
  OUTPUT->WriteLine("/Length " + std::to_string(2 * doc_.ID.view().size() + 8));
  OUTPUT->WriteLine(">> ");
  OUTPUT->WriteLine("endobj");
}

uint8_t PDFGenerator::FinishDocument() {
  // A page left open would leave its stream unwritten and the xref wrong;
  // finish it so the file stays consistent.
  if (pageOpen_) FinishPage();
  WriteOutlines();
  WriteFonts();
  WriteImages();

  AddLocation(3);
  OUTPUT->WriteLine("3 0 obj");
  OUTPUT->WriteLine("<< ");
  OUTPUT->WriteLine("/Type /Pages");
  OUTPUT->WriteLine("/Count " + std::to_string(page_.PAGENO));
  int w = page_.PAGELANDSCAPE ? page_.PAGEHEIGHT : page_.PAGEWIDTH;
  int h = page_.PAGELANDSCAPE ? page_.PAGEWIDTH : page_.PAGEHEIGHT;
  OUTPUT->WriteLine("/MediaBox [ 0 0 " + std::to_string(w) + " " + std::to_string(h) + " ]");
  OUTPUT->Write("/Kids [");
  const std::vector<int32_t> pages = PageObjectsByNumber(false);
  for (int page = 1; page <= page_.PAGENO && static_cast<size_t>(page) < pages.size(); ++page) {
    if (pages[static_cast<size_t>(page)]) OUTPUT->Write(" " + std::to_string(pages[static_cast<size_t>(page)]) + " 0 R");
  }
  OUTPUT->WriteLine(" ]");
  OUTPUT->WriteLine(">>");
  OUTPUT->WriteLine("endobj");

  AddLocation(4);
  OUTPUT->WriteLine("4 0 obj");
  OUTPUT->WriteLine("<< ");
  if (!font_.FONTSNAMES.empty()) {
    OUTPUT->Write("/Font <<");
    for (const auto& font : font_.FONTSNAMES) {
      OUTPUT->Write(" /F" + std::to_string(font.NUMBER) + " " + std::to_string(font.OBJECTNO) + " 0 R");
    }
    OUTPUT->Write(" >>\r");
  }
  if (image_.IMAGENO > 0) {
    OUTPUT->Write("/XObject <<");
    for (const auto& image : image_.IMAGES) {
      OUTPUT->Write(" /Im" + std::to_string(image.IMAGENO) + " " + std::to_string(image.OBJECTNO) + " 0 R");
    }
    OUTPUT->WriteLine(" >>");
  }
  OUTPUT->WriteLine("/ProcSet [ /PDF /Text /ImageC ]");
  OUTPUT->WriteLine(">>");
  OUTPUT->WriteLine("endobj");

  // A dictionary is written only when strings and streams really were
  // encrypted; without a password the document stays open.
  encryptObject_ = 0;
  if (doc_.ENCRYPT && OUTPUT->KeysReady()) WriteEncryptionDictionary();

  int32_t xref = OUTPUT->FPOS;
  ++doc_.CUROBJ;
  OUTPUT->WriteLine("xref");
  OUTPUT->WriteLine("0 " + std::to_string(doc_.CUROBJ) + " ");
  OUTPUT->WriteLine("0000000000 65535 f");
  for (int32_t n = 1; n < doc_.CUROBJ; ++n) {
    const int32_t at = static_cast<size_t>(n) < doc_.LOCATIONS.size() ? doc_.LOCATIONS[static_cast<size_t>(n)] : -1;
    // A number that never became an object is listed free, so the table
    // keeps exactly the size it announces.
    OUTPUT->WriteLine(at >= 0 ? Padded10(at) + " 00000 n" : std::string("0000000000 65535 f"));
  }
  OUTPUT->WriteLine("trailer");
  OUTPUT->WriteLine("<< ");
  OUTPUT->WriteLine("/Size " + std::to_string(doc_.CUROBJ));
  OUTPUT->WriteLine("/Info 1 0 R");
  if (encryptObject_) OUTPUT->WriteLine("/Encrypt " + std::to_string(encryptObject_) + " 0 R");
  OUTPUT->WriteLine("/Root 2 0 R");
  OUTPUT->WriteLine("/ID[<" + doc_.ID.str() + "><" + doc_.ID.str() + ">]");
  OUTPUT->WriteLine(">>");
  OUTPUT->WriteLine("startxref");
  OUTPUT->WriteLine(std::to_string(xref));
  OUTPUT->WriteLine("%%EOF");
  bool ok = OUTPUT->CloseTarget();
  OUTPUT->ReleaseEncryption();
  ok = ok && !OUTPUT->Failed();
  if (ok && doc_.OUTPUTFILEQUEUE && !OUTPUT->GetName().empty()) doc_.OUTPUTFILEQUEUE->push_back(OUTPUT->GetName());
  OUTPUT->SetName("");
  return ok ? Level::Done : Level::Fatal;
}

uint8_t PDFGenerator::ChooseOutput(uint8_t /*flag*/) {
  Init({}, true);
  if (!OUTPUT->GetName().empty()) return Level::Done;
  std::string name;
  if (!AskSaveName("Save PDF File", "PDF|*.PDF|All|*.*", name) || name.empty()) return Level::NotDone;
  size_t slash = name.find_last_of('/');
  std::string_view base = std::string_view(name).substr(slash == std::string::npos ? 0 : slash + 1);
  if (base.find('.') == std::string_view::npos) name += ".PDF";
  OUTPUT->SetName(name);
  return Level::Done;
}

}  // namespace tx
