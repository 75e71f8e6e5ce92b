#pragma once
// The PDF output target: turns the drawing objects of rendered report pages
// into one PDF 1.3 file. Document structure lives in pdf_generator.cpp,
// streams and primitives in pdf_content.cpp, the drawing objects in
// pdf_objects.cpp, fonts in pdf_fonts.cpp, images in pdf_images.cpp, links
// and bookmarks in pdf_links.cpp, dialogs in pdf_dialogs.cpp.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "pdf/pdf_output_file.h"
#include "report/report_generator.h"

namespace tx {

class FontEngine;
struct FontMetrics;
struct FontProgram;
struct FontRequest;

struct PdfColor {
  double RED = 0, GREEN = 0, BLUE = 0;
  bool operator==(const PdfColor&) const = default;
};

struct PageObjectRow {
  int32_t OBJECTNO = 0;
  int32_t NUMBER = 0;
};
struct XObjectRow {
  int32_t PAGENO = 0;
  int32_t XOBJECTNO = 0;
};
struct ContentRow {
  int32_t OBJECTNO = 0;
};

// One registered font.
struct FontRow {
  FixedString<31> NAME;
  FixedString<31> REALNAME;
  int32_t STYLE = 0;
  uint16_t ANGLE = 0;
  uint8_t CHARSET = 0;
  int16_t NUMBER = 0;
  uint8_t BUILTIN = 0;
  int32_t OBJECTNO = 0;
  uint8_t FIRSTCHAR = 0;
  uint8_t LASTCHAR = 0;
  std::array<int16_t, 255> CHARWIDTH{};  // codes 1..255
  // Codes shown in this font: the glyphs a font program carried along needs.
  std::array<bool, 256> shown{};
  std::string subsetTag;  // "ABCDEF+" before the names of a subset carried along
};

// One distinct image of the document.
struct ImageRow {
  int32_t IMAGENO = 0;
  int32_t OBJECTNO = 0;
  std::string FILENAME;            // file to read (case kept: file names are case-sensitive here)
  uint8_t EXTERNAL = 0;
  int32_t EMBEDED = 0;             // 0 for an image file, else the 1-based position of a bitmap in FILENAME
  std::string EMBEDEDFILENAME;     // identity: upper-cased name, plus "|" and EMBEDED when embedded
  int32_t WIDTH = 0, HEIGHT = 0;   // pixels
  int32_t COLORTABLELEN = 0;       // GIF: size exponent; bitmap: colour table bytes
  int32_t COLORTABLESTART = 0;     // GIF: colour table position; bitmap: colour table position
  int32_t STREEMSTART = 0;         // GIF: image data position; bitmap: pixel data position
  uint8_t BIT_DEPTH = 0;
  uint8_t COLOR_TYPE = 0;          // PNG colour type; bitmap bits per pixel; JPEG components
  uint8_t TYPE = 0;                // 0 unknown, 1 JPEG, 2 GIF, 3 PNG, 5 embedded bitmap
};

// A link or note of the current page.
struct HyperlinkRow {
  int16_t XPOS = 0, YPOS = 0;      // left, top in points from the page's top-left corner
  int16_t WIDTH = 0, HEIGHT = 0;   // points
  std::string TEXT;                // "ANNOTATION" for text notes (up to 500)
  std::string DEST;                // target, program, action name or note text (up to 5000)
  std::string PARAMETERS;          // program parameters of a launch link (up to 1048)
  int32_t OBJECTNO = 0;
  uint8_t BOXED = 0;
  int32_t BOXCOLOR = 0;
  uint8_t TYPE = 0;                // 1 URI, 2 launch, 3 text note, 4 named action
};

// One outline item.
struct BookmarkRow {
  int16_t XPOS = 0, YPOS = 0;
  FixedString<50> NAME;
  int32_t OBJECTNO = 0;
  int32_t PARENTOBJECTNO = 0;
  int32_t ORDER = 0;
  int32_t FIRST = 0, LAST = 0;
  int32_t COUNT = 0;               // minus the number of children
  int32_t DEST = 0;                // page number
  int32_t PARENT = 0;
  int32_t LEVEL = 0;
  int32_t ORDERBYLEVEL = 0;
  int32_t NEXT = 0;
  int32_t PREV = 0;                // written as /Prev so the sibling chain runs both ways
};

class PDFGenerator : public IREPORTGENERATOR {
 public:
  PDFGenerator();
  ~PDFGenerator() override;

  // Per report run. keepName keeps the target name already set.
  void Init(std::string_view name = {}, bool keepName = false);
  // Overridden by a report to set the document strings and switches.
  virtual void SetUp() {}
  void SetDocumentInfo(std::string_view title, std::string_view creator, std::string_view producer,
                       std::string_view subject, std::string_view author, std::string_view keywords);
  void SetPageBookmarkName(std::string_view text) { link_.BASEPAGEBOOKMARKNAME = text; }
  // A bookmark per page (off by default).
  void SetPagesAsParentBookmark(uint8_t flag) { link_.PAGESASPARENTBOOKMARK = flag; }
  void SetTargetName(std::string_view name) { OUTPUT->SetName(name); }
  // Deflated text (content) streams and image streams.
  void SetCompression(bool text, bool images) {
    doc_.COMPRESSTEXT = text ? 1 : 0;
    doc_.COMPRESSIMAGES = images ? 1 : 0;
  }
  // A password encrypts the document (40-bit RC4); empty leaves it open.
  // `permissions` is the value written after "/P -". Set after Init.
  void SetPassword(std::string_view password, int32_t permissions = 0) {
    doc_.ENCRYPT = password.empty() ? 0 : 1;
    doc_.PASSWORD = password;
    doc_.ACCESSPERMISSIONS = permissions;
  }
  // TrueType fonts carried in the document (cut down to the glyphs shown),
  // so that it reads the same where the fonts are not installed. Off by
  // default; set after Init.
  void SetEmbedFonts(bool on) { doc_.embedFonts = on; }

  // The output file: its name and how far it got.
  const PDFOutputFile& Output() const { return *OUTPUT; }
  // True when the last document could not be written completely.
  bool OutputFailed() const { return OUTPUT->Failed(); }

  // IREPORTGENERATOR
  uint8_t BeginDocument(int32_t pageCount) override;
  uint8_t FinishDocument() override;
  uint8_t BeginPage(std::string_view pageName, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  uint8_t FinishPage() override;
  uint8_t ChooseOutput(uint8_t flag) override;
  std::string TargetKind() override { return "PDF"; }
  std::string TargetName() override { return "PDF"; }
  std::string TargetIcon() override { return "~EXP_PDF.ICO"; }
  uint8_t EmitArc(std::string_view, const ArcFormat&) override { return Level::Done; }
  uint8_t EmitSection(std::string_view, uint8_t) override { return Level::Done; }
  uint8_t EmitCheck(std::string_view attributes, std::string_view text, const CheckFormat& check) override;
  uint8_t EmitChord(std::string_view, const ArcFormat&) override { return Level::Done; }
  uint8_t EmitEllipse(std::string_view attributes, const EllipseFormat& ellipse) override;
  uint8_t EmitImage(std::string_view attributes, std::string_view imageName, const ImageFormat& image) override;
  uint8_t EmitLine(std::string_view attributes, const LineFormat& line) override;
  uint8_t EmitGroup(std::string_view attributes, std::string_view text, const GroupFormat& group) override;
  uint8_t EmitPie(std::string_view, const std::vector<SliceRow>&, const ReportPos&) override { return Level::Done; }
  uint8_t EmitPolygon(std::string_view attributes, const std::vector<PointRow>& points,
                      const ShapeStyle& style) override;
  uint8_t EmitRadio(std::string_view attributes, std::string_view text, const RadioFormat& radio) override;
  uint8_t EmitBox(std::string_view attributes, const RectFormat& box) override;
  uint8_t EmitString(std::string_view attributes, std::string_view text, const TextFormat& format) override;
  uint8_t EmitTextBlock(std::string_view attributes, const std::vector<TextRow>& lines) override;
  void SetOutputFileList(std::vector<std::string>* list) override;
  uint8_t ProducesFiles() override { return 1; }

  // The value of `name` inside `target(...)` of an attribute string, e.g.
  // GetAttribute("PDF(SKIP=1|FONTNAME=Arial)", "FONTNAME", "PDF") == "Arial".
  static std::string GetAttribute(std::string_view attributes, std::string_view name, std::string_view target);
  // Escapes text for a literal string; plain skips the character-set 186 substitutions.
  std::string EscapeText(std::string_view text, bool plain) const;
  // Width of a text in the current font in report units plus 5 %; 0 for a
  // standard font unless measureStandard asks for its metric twin.
  double TextWidth(std::string_view text, bool measureStandard = false);
  static std::string StandardName(std::string_view face, bool bold, bool italic);
  // Size in thousandths of an inch of a paper code, {0, 0} for an unknown code.
  static std::pair<int32_t, int32_t> PaperSize(int code);

 protected:
  // The generator's state, in the groups its files work on; the field names
  // are the writer's own. Reached from outside only through the operations
  // above (and, for a derived generator, the accessors below).
  struct DocumentState {
    FixedString<50> TITLE, APPNAME, PROGNAME;
    FixedString<200> SUBJECT, AUTHOR, KEYWORDS;
    int16_t TOTALPAGENO = 0;
    int32_t CUROBJ = 5;
    std::vector<PageObjectRow> PAGEOBS;
    std::vector<int32_t> LOCATIONS;  // file position by object number, -1 for none
    int16_t ISOENC = 0;
    CStringField<256> ID;
    uint8_t ENCRYPT = 0;
    int32_t ACCESSPERMISSIONS = 0;
    CStringField<256> PASSWORD;
    uint8_t COMPRESSTEXT = 0, COMPRESSIMAGES = 0, COMPRESSCONTENT = 0;
    bool embedFonts = false;
    std::vector<std::string>* OUTPUTFILEQUEUE = nullptr;
  };
  // The current page and its drawing state.
  struct PageState {
    int16_t PAGENO = 0;
    FixedString<256> PAGENAME;
    int16_t PAGEHEIGHT = 792, PAGEWIDTH = 612;
    int16_t PAGETYPE = 1;
    uint8_t PAGELANDSCAPE = 0;
    int32_t LASTCONTENT = 0;
    std::vector<ContentRow> CONTENTS;
    int32_t STREAMSTART = 0;
    std::vector<PointRow> POLYPOINT;
    PdfColor FONTCOLOR, FILLCOLOR, PENCOLOR;
    int32_t POLYGONCOLOR = 0, POLYGONPENCOLOR = 0, POLYGONPENWIDTH = 0, POLYGONPENSTYLE = 0;
    int32_t PENWIDTH = 1, PENSTYLE = 0;
    int16_t ACTUALFONTNUMBER = 1, POINTSIZE = 10;
    int32_t OBJPENCOLOR = 0, OBJPENWIDTH = 0, OBJPENSTYLE = 0, OBJFONTNUMBER = 0, OBJFONTSIZE = 0,
            OBJFONTCOLOR = 0, OBJFILLCOLOR = 0;
    uint8_t OBJCHARSET = 0;
    int16_t FONTANGLE = 0;
    uint8_t INTEXT = 0, INCLIPING = 0, INIMAGE = 0, INPOLYGON = 0;
    int32_t LASTXPOS = 0, LASTYPOS = 0;
    int32_t CLIPXPOS = 0, CLIPYPOS = 0, CLIPWIDTH = 0, CLIPHEIGHT = 0;
  };
  struct FontState {
    std::vector<FontRow> FONTSNAMES;
    int16_t FONTSNUM = 0;
  };
  struct ImageState {
    std::vector<XObjectRow> XOBJECT;
    std::vector<ImageRow> IMAGES;
    int32_t IMAGENO = 0;
  };
  struct LinkState {
    std::vector<HyperlinkRow> PAGEHYPERLINKS;
    std::vector<BookmarkRow> BOOKMARKS;
    uint8_t HYPERLINKBOXED = 0;
    int32_t HYPERLINKBOXCOLOR = 255;
    uint8_t PAGESASPARENTBOOKMARK = 0;
    FixedString<15> BASEPAGEBOOKMARKNAME;
  };

  DocumentState& Document() { return doc_; }
  PageState& Page() { return page_; }
  FontState& Fonts() { return font_; }
  ImageState& Images() { return image_; }
  LinkState& Links() { return link_; }

  // The user-facing side, through the window toolkit; tests replace them.
  virtual void ShowMessage(std::string_view title, std::string_view text);
  // Asks for a file name to save to; false when the user cancels.
  virtual bool AskSaveName(std::string_view title, std::string_view filter, std::string& name);

  // Content streams and graphics state (pdf_content.cpp).
  void OpenStream();
  void CloseStream();
  void BeginGraphics(bool writeState);
  void EndGraphics();
  void BeginText();
  void BeginClippedText(int32_t x, int32_t y, int32_t w, int32_t h);
  void EndText();
  void SetPenStyle(int32_t style);
  void SetPenColor(int32_t color);
  void SetPenWidth(int32_t width);
  void SetFillColor(int32_t color);
  void SetFontColor(int32_t color);
  void DrawLine(int32_t x, int32_t y, int32_t w, int32_t h);
  void DrawBox(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h);
  void DrawEllipse(int32_t x, int32_t y, int32_t w, int32_t fill, int32_t h);
  void PolygonBegin(int32_t fill, int32_t penColor, int32_t penWidth, int32_t penStyle);
  void PolygonAddPoint(int32_t x, int32_t y);
  void PolygonEnd();
  void DrawText(const TextFormat& format, std::string_view text);
  void DrawStringObject(TextFormat format, std::string_view text, bool hidden);
  // SKIP (under ALL or PDF) leaves an object out entirely; HIDE keeps only its links.
  static bool Skipped(std::string_view attributes);
  static bool Hidden(std::string_view attributes);

  // Fonts (pdf_fonts.cpp).
  void SelectFont(std::string_view face, int size, bool bold, bool italic, uint8_t charset);
  void WriteFonts();
  bool WriteFontDescriptor(FontRow& font);
  // Metrics of a TrueType font from the platform font engine; false when
  // the engine has none (tests replace it to reach that case).
  virtual bool FontMetricsOf(const FontRequest& request, FontMetrics& metrics);
  // The font program to carry for a TrueType font; false, with the reason,
  // when there is none.
  virtual bool FontProgramOf(const FontRequest& request, const std::array<bool, 256>& codes, FontProgram& program,
                             std::string& why);
  // The program as a stream object of its own; its number.
  int32_t WriteFontProgram(const FontProgram& program);
  // Notes the codes of a string as the content stream shows it (escaped).
  void NoteShown(std::string_view escaped);

  // Links, notes and bookmarks (pdf_links.cpp).
  static void HotArea(ReportPos& pos, std::string_view attributes);
  bool Links(const ReportPos& pos, std::string_view attributes, std::string_view text);
  bool Bookmark(const ReportPos& pos, std::string_view attributes, std::string_view text);
  void AddLink(int32_t x, int32_t y, int32_t w, bool noParameters, uint8_t type, int32_t h, std::string_view dest,
               std::string_view parameters);
  void AddNote(int32_t x, int32_t y, std::string_view text);
  void AddBookmark(int32_t x, int32_t y, bool usePageParent, std::string_view title, std::string_view parentName);
  // Links and bookmarks of one drawing object; false when it is skipped.
  bool ObjectLinks(ReportPos& pos, std::string_view attributes, std::string_view text, bool hotArea = true);

  // Images (pdf_images.cpp).
  void PlaceImage(std::string_view name, int32_t x, int32_t y, int32_t w, int32_t embedStart, int32_t h);
  bool GetImageInfo(ImageRow& image);
  void WriteImage(ImageRow& image);

  // Document pieces (pdf_generator.cpp).
  void WriteInfoString(std::string_view key, std::string_view value, int32_t objectNumber);
  void WriteOutlines();     // pdf_links.cpp
  void WriteImages();       // pdf_images.cpp
  void WriteAnnotations();  // pdf_links.cpp
  void AddLocation(int32_t objectNumber);
  // Page objects by page number (index 0 unused, 0 for none): the first or
  // the last recorded in PAGEOBS for each number.
  std::vector<int32_t> PageObjectsByNumber(bool last) const;
  void WriteEncryptionDictionary();
  int32_t CurrentStream() const { return page_.CONTENTS.empty() ? 0 : page_.CONTENTS.back().OBJECTNO; }

 private:
  std::unique_ptr<PDFOutputFile> OUTPUT;
  DocumentState doc_;
  PageState page_;
  FontState font_;
  ImageState image_;
  LinkState link_;
  FontEngine& fonts_;
  int32_t encryptObject_ = 0;  // the encryption dictionary's number, 0 for none
  bool pageOpen_ = false;       // a page was begun and not yet finished
};

}  // namespace tx
