#include "outputs/book_pdf.h"

#include "outputs/preset_report.h"

namespace tx {

namespace {
// One report unit below the page's top: the outline entry opens the page at
// its top edge (a position of 0 would leave the view where it was).
constexpr int32_t kPageTop = 14;
}  // namespace

void BookPdf::SetUp() {
  SetDocumentInfo("Tonalyx", "Tonalyx", "Tonalyx", settings_.subject, PRESET_REPORT_AUTHOR, PRESET_REPORT_KEYWORDS);
  SetPagesAsParentBookmark(0);
  SetCompression(settings_.compress, settings_.compress);
  SetPassword(settings_.password ? *settings_.password : std::string());
  SetEmbedFonts(settings_.embedFonts);
}

uint8_t BookPdf::BeginDocument(int32_t pageCount) {
  if (begun_) return Level::Done;
  begun_ = true;
  return PDFGenerator::BeginDocument(pageCount);
}

uint8_t BookPdf::BeginPage(std::string_view pageName, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const uint8_t result = PDFGenerator::BeginPage(pageName, left, top, right, bottom);
  if (title_) {
    AddBookmark(0, kPageTop, false, *title_, "");
    title_.reset();
  }
  return result;
}

uint8_t BookPdf::EmitImage(std::string_view attributes, std::string_view imageName, const ImageFormat& image) {
  ImageFormat byFile = image;
  byFile.EMBEDSTART = 0;
  return PDFGenerator::EmitImage(attributes, imageName, byFile);
}

uint8_t BookPdf::Finish() { return PDFGenerator::FinishDocument(); }

}  // namespace tx
