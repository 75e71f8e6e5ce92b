#pragma once
// Writes one page as a standard placeable Windows metafile in memory. Every
// call appends one record; Finish() puts the placeable and standard headers in
// front, the end-of-file record behind, and returns the file's bytes.
//
// Coordinates are logical units (with 1000 units per inch they are report
// units). Objects (pens, brushes, fonts) take the lowest free slot of the
// metafile's object table, as every player assigns them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

struct WmfFont {
  std::string face = "Arial";
  int16_t height = 0;    // negative: character height in logical units
  int16_t escapement = 0;  // tenths of a degree
  int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charset = 0;
};

struct WmfPoint {
  int16_t x = 0;
  int16_t y = 0;
};

// Kinds of the report engine's comments (escape records with a private payload).
enum WmfCommentKind : uint16_t {
  COMMENT_IMAGE_NAME = 9,
  COMMENT_BEGIN = 11,
  COMMENT_END = 12,
  COMMENT_IMAGE_NAME_LENGTH = 13,
  COMMENT_SECTION_OPEN = 14,
  COMMENT_SECTION_CLOSE = 15,
};
constexpr uint16_t COMMENT_SIGNATURE = 0x0527;

// Options of META_EXTTEXTOUT.
enum : uint16_t { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };

class WmfWriter {
 public:
  // Page bounds in logical units (placeable bounding box 0, 0, width, height).
  WmfWriter(int16_t width, int16_t height, uint16_t unitsPerInch = 1000);

  uint16_t CreatePen(uint16_t style, int16_t width, int32_t color);
  uint16_t CreateBrush(uint16_t style, int32_t color, uint16_t hatch = 0);
  uint16_t CreateFont(const WmfFont& font);
  void SelectObject(uint16_t slot);
  void DeleteObject(uint16_t slot);

  void SetTextColor(int32_t color);
  void SetBkColor(int32_t color);
  void SetBkMode(uint16_t mode);  // 1 transparent, 2 opaque
  void SetTextAlign(uint16_t align);
  void SetMapMode(uint16_t mode);
  void SetWindowOrg(int16_t x, int16_t y);
  void SetWindowExt(int16_t x, int16_t y);
  void SetStretchBltMode(uint16_t mode);
  void SaveDC();
  void RestoreDC();

  // Text with its reference point at (x, y); `clip` (left, top, right, bottom)
  // is written when the options ask for a rectangle.
  void ExtTextOut(int16_t x, int16_t y, std::string_view text, uint16_t options = 0,
                  const int16_t* clip = nullptr);
  void Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
  void RoundRect(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t cornerWidth,
                 int16_t cornerHeight);
  void Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom);
  void MoveTo(int16_t x, int16_t y);
  void LineTo(int16_t x, int16_t y);
  void Polygon(const std::vector<WmfPoint>& points);
  // A device-independent bitmap (BITMAPINFOHEADER + pixels) stretched onto
  // the destination rectangle.
  void StretchDib(int16_t x, int16_t y, int16_t width, int16_t height, const std::vector<uint8_t>& dib);

  // Report engine comments.
  void BeginControl(std::string_view keyword, std::string_view attributes, bool continued = false);
  void EndControl(std::string_view keyword, bool continued = false);
  void ImageName(std::string_view fileName);
  void Section(std::string_view tag, bool open);

  // Any record, for callers that need one the writer has no call for.
  void Record(uint16_t function, const std::vector<uint16_t>& params);
  void RawRecord(uint16_t function, const std::vector<uint8_t>& payload);

  std::vector<uint8_t> Finish();

 private:
  uint16_t TakeSlot();
  void Comment(uint16_t kind, std::string_view tag, uint16_t length, uint16_t flag,
               std::string_view tail);

  int16_t width_, height_;
  uint16_t unitsPerInch_;
  std::vector<uint8_t> records_;
  std::vector<bool> slots_;  // object table: true = in use
  uint32_t maxRecordWords_ = 0;
};

}  // namespace tx
