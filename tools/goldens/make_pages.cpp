// Writes the golden report pages: a report of every control kind and enough
// parameter rows for three pages, printed by the band report engine. Its
// picture is a block image reduced to a quarter (every fourth pixel), written
// as "tmp01.png" in the current directory (the name the pages keep), so the
// pages stay small. The page files go to OUTDIR as report_page1.wmf, ...
//
//   golden_pages BLOCKIMAGE.png OUTDIR
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/reportengine/report_engine.h"

namespace {

using tx::ReportBand;

bool WriteReducedPicture(const char* from, const char* to) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, from)) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
  const unsigned width = image.width / 4, height = image.height / 4;
  std::vector<uint8_t> reduced;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x)
      for (unsigned c = 0; c < 3; ++c) reduced.push_back(pixels[(y * 4 * image.width + x * 4) * 3 + c]);
  png_image out{};
  out.version = PNG_IMAGE_VERSION;
  out.width = width;
  out.height = height;
  out.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&out, to, 0, reduced.data(), 0, nullptr) != 0;
}
using tx::ReportControl;
using tx::ReportControlKind;

ReportControl Field(const char* field, int x, int y) {
  ReportControl c;
  c.field = field;
  c.x = x;
  c.y = y;
  return c;
}

ReportControl Shape(ReportControlKind kind, int x, int y, int width, int height) {
  ReportControl c;
  c.kind = kind;
  c.x = x, c.y = y, c.width = width, c.height = height;
  return c;
}

tx::ReportLayout Layout() {
  tx::ReportLayout layout;
  ReportControl name = Field("TITLE", 31, 31);
  name.picture = "s30";
  name.width = 7167;
  name.background = 0;
  name.font = tx::ReportFont{"Arial", 14, 700, false, false, false, 0xFFFFFF};
  layout.pageHeader = ReportBand{"header", 500, 500, 7250, 500, {name}};
  ReportControl label;
  label.text = "Page:";
  label.x = 6469, label.y = 146;
  ReportControl number = Field(tx::PAGE_NUMBER_FIELD, 6823, 146);
  number.picture = "n_3";
  ReportControl credit;
  credit.text = "Made by the golden page tool";
  credit.x = 31, credit.y = 146;
  credit.font = tx::ReportFont{"Arial", 8, 400, true};
  layout.pageFooter = ReportBand{"footer", 500, 10500, 7250, 1000, {label, number, credit}};

  ReportBand shapes{"shapes", 0, 0, 7250, 2600, {}};
  ReportControl box = Shape(ReportControlKind::Box, 531, 312, 5885, 1823);
  box.cornerWidth = box.cornerHeight = 100;
  shapes.controls.push_back(box);
  ReportControl image = Shape(ReportControlKind::Image, 708, 479, 5500, 1495);
  image.text = "tmp01.png";
  shapes.controls.push_back(image);
  ReportControl line = Shape(ReportControlKind::Line, 0, 2200, 7000, 0);
  line.penWidth = 10;
  shapes.controls.push_back(line);
  ReportControl group = Shape(ReportControlKind::Group, 100, 2300, 3000, 250);
  group.text = "Framed";
  shapes.controls.push_back(group);
  ReportControl check = Shape(ReportControlKind::Check, 3300, 2350, 0, 0);
  check.text = "Ticked";
  check.checked = true;
  shapes.controls.push_back(check);
  ReportControl radio = Shape(ReportControlKind::Radio, 4500, 2350, 0, 0);
  radio.text = "Chosen";
  radio.checked = true;
  shapes.controls.push_back(radio);
  ReportControl polygon = Shape(ReportControlKind::Polygon, 6000, 2300, 0, 0);
  polygon.background = 0x0000FF;
  polygon.points = {{0, 0}, {300, 0}, {150, 250}};
  shapes.controls.push_back(polygon);
  ReportControl ellipse = Shape(ReportControlKind::Ellipse, 6500, 2300, 400, 250);
  ellipse.background = 0x00C000;
  shapes.controls.push_back(ellipse);
  layout.details.push_back(shapes);

  ReportControl groupName = Field("BLOCK", 31, 83);
  groupName.font = tx::ReportFont{"Arial", 10, 700};
  ReportControl bar = Shape(ReportControlKind::Box, 0, 0, 7250, 333);
  bar.background = 0xC0C0C0;
  bar.penColor = -1;
  layout.group = tx::ReportGroup{"BLOCK", ReportBand{"group", 0, 0, 7250, 333, {bar, groupName}}, {"row"}};
  ReportControl row = Field("ROW", 187, 10);
  row.picture = "s32";
  ReportControl x = Field("XVALUE", 4062, 10);
  ReportControl y = Field("YVALUE", 5600, 10);
  y.align = tx::TextAlign::Right;
  y.width = 1400;
  layout.details.push_back(ReportBand{"row", 0, 0, 7208, 219, {row, x, y}});

  ReportControl notes = Shape(ReportControlKind::Text, 0, 0, 7000, 0);
  notes.field = "NOTES";
  layout.details.push_back(ReportBand{"notes", 0, 0, 7250, 0, {notes}});
  return layout;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: golden_pages BLOCKIMAGE.png OUTDIR\n");
    return 2;
  }
  if (!WriteReducedPicture(argv[1], "tmp01.png")) {
    std::fprintf(stderr, "golden_pages: cannot reduce %s into tmp01.png\n", argv[1]);
    return 1;
  }
  const std::filesystem::path out = argv[2];
  std::vector<std::string> pages;
  tx::ReportEngine engine;
  if (engine.Open(Layout()) != 0) return 1;
  engine.RenderToPageFiles(&pages);
  engine.SetValue("TITLE", "Clean Chorus");
  if (engine.PrintBand("shapes") != 0) return 1;
  static const char* const kBlocks[] = {"Compressor 1", "Amp 1", "Cab 1", "Chorus 1", "Delay 1", "Reverb 1"};
  for (int i = 0; i < 90; ++i) {
    engine.SetValue("BLOCK", kBlocks[i / 15]);
    engine.SetValue("ROW", "Parameter " + std::to_string(i % 15 + 1));
    engine.SetValue("XVALUE", std::to_string(i * 7 % 100) + ".0 dB");
    engine.SetValue("YVALUE", i % 3 ? std::to_string(i * 13 % 1000) + " ms" : "Off");
    if (engine.PrintBand("row") != 0) return 1;
  }
  std::string notes;
  for (int i = 0; i < 30; ++i) notes += "Note line " + std::to_string(i + 1) + " about the preset\n";
  engine.SetValue("NOTES", notes + "Last note");
  if (engine.PrintBand("notes") != 0 || engine.EndReport() != 0) return 1;
  std::filesystem::create_directories(out);
  for (size_t i = 0; i < pages.size(); ++i) {
    std::error_code ec;
    std::filesystem::copy_file(pages[i], out / ("report_page" + std::to_string(i + 1) + ".wmf"),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
      std::fprintf(stderr, "golden_pages: %s\n", ec.message().c_str());
      return 1;
    }
  }
  std::printf("%zu pages\n", pages.size());
  return 0;
}
