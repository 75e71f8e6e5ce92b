#pragma once
// The platform font engine: finds an installed font for a face name (through
// fontconfig, so "Arial" lands on a metric-compatible substitute) and reads
// its metrics with FreeType. All metrics are in units of an em of 1000.
// Character codes are single bytes of the Windows-1252 code page. One engine
// serves every thread: its calls take turns.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tx {

struct FontRequest {
  std::string face;       // face name as the report names it ("Arial")
  int weight = 400;       // 100..900, 700 = bold
  bool italic = false;
};

struct FontMetrics {
  std::string familyName;   // of the font actually found ("Liberation Sans")
  std::string fileName;     // the font file
  int faceIndex = 0;        // of the face within it (a collection holds several)
  int bboxLeft = 0, bboxBottom = 0, bboxRight = 0, bboxTop = 0;
  int weight = 0;           // weight class of the font, 0 when unknown
  int ascent = 0;           // above the baseline, positive
  int descent = 0;          // below the baseline, positive
  int internalLeading = 0;  // ascent + descent - em
  int externalLeading = 0;  // line gap
  int avgWidth = 0;
  int maxWidth = 0;
  uint8_t firstChar = 0;    // first and last code with a glyph
  uint8_t lastChar = 0;
  bool fixedPitch = false;
  double italicAngle = 0;   // degrees, negative for a right-leaning slant
  std::array<int, 256> widths{};  // advance of each code; 0 without a glyph
  std::array<uint16_t, 256> glyphs{};  // glyph number of each code; 0 without a glyph
};

// A font program for a document to carry (TrueType outlines).
struct FontProgram {
  std::string data;
  bool subset = false;  // only the glyphs asked for have outlines
};

class FontEngine {
 public:
  FontEngine();
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  // Metrics of the best installed match, or nothing when no font can be loaded.
  // Results are cached per request.
  std::optional<FontMetrics> Metrics(const FontRequest& request);

  // Advance of a byte string at an em of 1000 (sum of the code widths);
  // 0 when no font is found.
  long TextWidth(const FontRequest& request, std::string_view text);

  // The program of the font found for `request`, with outlines for the
  // codes marked in `codes` (and whatever their glyphs are built from); the
  // whole face when it cannot be cut down soundly. Nothing when the font
  // cannot be carried at all (LastError says why).
  std::optional<FontProgram> Program(const FontRequest& request, const std::array<bool, 256>& codes);

  // The text of the last failure, for messages.
  const std::string& LastError() const { return lastError_; }

  // Unicode code point of a Windows-1252 byte (0 for the five unassigned codes).
  static uint32_t Cp1252ToUnicode(uint8_t code);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string lastError_;
  const std::optional<FontMetrics>& MetricsLocked(const FontRequest& request);
};

// One engine per process; fonts are expensive to open and never change.
FontEngine& SharedFontEngine();

}  // namespace tx
