#pragma once
// A report layout as the band report engine prints it: page header and
// footer, an optional group header printed when its break field changes, and
// named detail bands. Positions and sizes are thousandths of an inch; a band's
// position is on the page (header, footer) or within the body area (others),
// a control's position is within its band.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tx {

struct ReportFont {
  std::string face = "Arial";
  int size = 10;  // points
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int32_t color = 0;  // 0x00BBGGRR
  uint8_t charset = 0;
  int angle = 0;  // degrees
};

enum class ReportControlKind { String, Text, Box, Line, Image, Check, Radio, Group, Ellipse, Polygon };

enum class TextAlign { Left, Right, Centre };

struct ReportPoint {
  int x = 0;
  int y = 0;
};

struct ReportControl {
  ReportControlKind kind = ReportControlKind::String;
  int x = 0, y = 0;
  int width = 0, height = 0;  // 0 = sized to the content
  // Shown content: the value of `field` when one is named, else `text`
  // (strings, text blocks, prompts, captions; the picture file of an image).
  std::string text;
  std::string field;
  std::string picture;  // e.g. "s30", "N_3B", "n_3"; empty = as it stands
  std::optional<ReportFont> font;  // the report's font when not set
  TextAlign align = TextAlign::Left;
  int32_t background = -1;  // fill colour, -1 = transparent
  int32_t penColor = 0;     // border or line colour, -1 = none
  int penWidth = 1;
  int penStyle = 0;
  int cornerWidth = 0, cornerHeight = 0;  // a rounded box
  bool checked = false;                   // check box, radio button
  std::vector<ReportPoint> points;        // polygon, within the band
  std::string attributes;                 // the control attribute string
};

struct ReportBand {
  std::string name;
  int x = 0, y = 0;
  int width = 0, height = 0;  // height grows with text blocks
  std::vector<ReportControl> controls;
};

struct ReportGroup {
  std::string breakField;
  ReportBand header;
  // The detail bands inside the break; empty = every detail band. Bands
  // outside it (a band printed once before the rows) print no group header.
  std::vector<std::string> members;
};

struct ReportLayout {
  ReportFont font;
  int pageWidth = 8500, pageHeight = 11000;
  int bodyX = 500, bodyY = 1000, bodyWidth = 7250, bodyHeight = 9500;
  std::optional<ReportBand> pageHeader;
  std::optional<ReportBand> pageFooter;
  std::optional<ReportGroup> group;
  std::vector<ReportBand> details;
};

// The field that always holds the current page number.
inline constexpr const char* PAGE_NUMBER_FIELD = "PAGE";

}  // namespace tx
