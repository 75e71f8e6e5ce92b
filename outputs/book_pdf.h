#pragma once
// The PDF writer as a book of presets uses it: one document over the page
// runs of many presets. The page parser starts and finishes a document for
// every run; here only the first start opens the file, and the book finishes
// the document itself once the last preset is in. The first page begun after
// StartPreset carries that preset's outline entry.
//
// Images are placed from their picture files, never from the bitmap a page
// file holds: a preset's page files are gone long before the document's end,
// where the images are written, while every preset's picture file (a name of
// its own) stays until then.
#include <optional>
#include <string>

#include "pdf/pdf_generator.h"

namespace tx {

class BookPdf : public PDFGenerator {
 public:
  struct Settings {
    std::string subject;
    bool compress = true;
    std::optional<std::string> password;
    bool embedFonts = false;
  };
  explicit BookPdf(Settings settings) : settings_(std::move(settings)) {}

  void SetUp() override;
  // The next page begun is the first of the preset titled `title`.
  void StartPreset(std::string title) { title_ = std::move(title); }

  uint8_t BeginDocument(int32_t pageCount) override;
  uint8_t FinishDocument() override { return Level::Done; }
  uint8_t BeginPage(std::string_view pageName, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  uint8_t EmitImage(std::string_view attributes, std::string_view imageName, const ImageFormat& image) override;

  // Writes the closing objects and puts the file in place.
  uint8_t Finish();
  bool Begun() const { return begun_; }
  int Pages() { return Page().PAGENO; }

 private:
  Settings settings_;
  std::optional<std::string> title_;
  bool begun_ = false;
};

}  // namespace tx
