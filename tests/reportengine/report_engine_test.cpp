// The band report engine: page breaks, automatic header and footer, group
// headers, text running on, the page files, and that an independent reader
// (libwmf's wmf2svg) accepts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/reportengine/png_dib.h"
#include "platform/reportengine/report_engine.h"
#include "platform/reportengine/wmf_writer.h"
#include "support/temp_dir.h"

namespace {

using tx::ReportBand;
using tx::ReportControl;
using tx::ReportControlKind;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// What a page holds, in drawing order: texts and report engine comments.
struct PageItems {
  std::vector<std::string> texts;
  std::vector<std::string> comments;  // "+KEYWORD" / "-KEYWORD", "~" when continued
};

PageItems Scan(const std::vector<uint8_t>& f) {
  PageItems items;
  size_t at = 40;
  auto w16 = [&](size_t i) { return static_cast<unsigned>(f[i] | f[i + 1] << 8); };
  while (at + 6 <= f.size()) {
    size_t size = (w16(at) | w16(at + 2) << 16) * 2u;
    if (size < 6 || at + size > f.size()) break;
    unsigned fn = w16(at + 4);
    if (fn == 0x0A32) {
      unsigned n = w16(at + 10), options = w16(at + 12);
      size_t start = at + ((options & 6) ? 22 : 14);
      items.texts.emplace_back(reinterpret_cast<const char*>(&f[start]), n);
    } else if (fn == 0x0626 && w16(at + 10) == 0x0527) {
      unsigned kind = w16(at + 12);
      std::string keyword(reinterpret_cast<const char*>(&f[at + 14]));
      if (kind == 11 || kind == 12)
        items.comments.push_back((kind == 11 ? "+" : "-") + keyword + (w16(at + 36) ? "~" : ""));
    }
    at += size;
  }
  return items;
}

ReportControl Text(int x, int y, std::string field, std::string picture = "s32") {
  ReportControl c;
  c.kind = ReportControlKind::String;
  c.x = x;
  c.y = y;
  c.field = std::move(field);
  c.picture = std::move(picture);
  return c;
}

tx::ReportLayout ListLayout() {
  tx::ReportLayout layout;
  ReportBand header{"header", 500, 500, 7250, 500, {}};
  ReportControl title = Text(31, 31, "TITLE", "s30");
  title.width = 7167;
  title.background = 0;
  title.font = tx::ReportFont{"Arial", 14, 700, false, false, false, 0xFFFFFF};
  header.controls.push_back(title);
  layout.pageHeader = header;
  ReportBand footer{"footer", 500, 10500, 7250, 1000, {}};
  ReportControl label;
  label.text = "Page:";
  label.x = 6469;
  label.y = 146;
  footer.controls.push_back(label);
  footer.controls.push_back(Text(6823, 146, tx::PAGE_NUMBER_FIELD, "n_3"));
  layout.pageFooter = footer;
  ReportBand groupHeader{"group", 0, 0, 7250, 333, {Text(31, 83, "NAME")}};
  layout.group = tx::ReportGroup{"NAME", groupHeader, {"row"}};
  layout.details.push_back(ReportBand{"row", 0, 0, 7208, 219, {Text(187, 10, "ROW")}});
  ReportControl box;
  box.kind = ReportControlKind::Box;
  box.x = 531;
  box.y = 312;
  box.width = 5885;
  box.height = 1823;
  layout.details.push_back(ReportBand{"once", 0, 0, 7250, 2354, {box}});
  return layout;
}

class EngineTest : public ::testing::Test {
 protected:
  std::vector<std::string> pages;
  tx::ReportEngine engine;
};

TEST_F(EngineTest, BandsFillPagesWithHeaderFooterAndGroupHeaders) {
  ASSERT_EQ(engine.Open(ListLayout()), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  engine.SetValue("TITLE", "My Preset");
  ASSERT_EQ(engine.PrintBand("once"), tx::Level::Done);
  for (int i = 0; i < 100; ++i) {
    engine.SetValue("NAME", "Block " + std::to_string(i / 30));
    engine.SetValue("ROW", "Row " + std::to_string(i));
    ASSERT_EQ(engine.PrintBand("row"), tx::Level::Done);
  }
  EXPECT_EQ(engine.PrintBand("no such band"), tx::Level::NotDone);
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);

  // 2354 + 4 x 333 + 100 x 219 = 25586 of body, 9500 a page.
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(engine.PageCount(), 3);
  std::vector<std::string> allTexts;
  for (size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(std::filesystem::path(pages[p]).parent_path(), engine.PageDirectory());
    std::vector<uint8_t> bytes = ReadFile(pages[p]);
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[3], 0x9A);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 1000);  // units per inch
    PageItems items = Scan(bytes);
    ASSERT_GE(items.texts.size(), 3u);
    EXPECT_EQ(items.texts.front(), "My Preset");  // header first
    EXPECT_EQ(items.texts[items.texts.size() - 2], "Page:");
    EXPECT_EQ(items.texts.back(), "  " + std::to_string(p + 1));  // footer last, "n_3"
    allTexts.insert(allTexts.end(), items.texts.begin(), items.texts.end());
  }
  // Each block's header comes once, right before its first row.
  std::vector<std::string> expected;
  for (int i = 0; i < 100; ++i) {
    if (i % 30 == 0) expected.push_back("Block " + std::to_string(i / 30));
    expected.push_back("Row " + std::to_string(i));
  }
  std::vector<std::string> body;
  for (const auto& t : allTexts)
    if (t.rfind("Row ", 0) == 0 || t.rfind("Block ", 0) == 0) body.push_back(t);
  EXPECT_EQ(body, expected);
}

TEST_F(EngineTest, AGroupHeaderThatWouldEndAPageAloneStartsTheNextOne) {
  ASSERT_EQ(engine.Open(ListLayout()), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  ASSERT_EQ(engine.PrintBand("once"), tx::Level::Done);
  // 2354 + 333 + 29 x 219 leaves 462 of the body: room for B's header (333),
  // not for it and its first row.
  for (int i = 0; i < 30; ++i) {
    engine.SetValue("NAME", i < 29 ? "A" : "B");
    engine.SetValue("ROW", "Row " + std::to_string(i));
    ASSERT_EQ(engine.PrintBand("row"), tx::Level::Done);
  }
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  ASSERT_EQ(pages.size(), 2u);
  std::vector<std::string> first = Scan(ReadFile(pages[0])).texts, second = Scan(ReadFile(pages[1])).texts;
  EXPECT_EQ(std::count(first.begin(), first.end(), "B"), 0);
  ASSERT_GE(second.size(), 3u);
  EXPECT_EQ(second[1], "B");  // after the page header's title
  EXPECT_EQ(second[2], "Row 29");
}

TEST_F(EngineTest, ControlsAreWrappedInBeginAndEndComments) {
  tx::ReportLayout layout;
  ReportBand band{"all", 0, 0, 7000, 3000, {}};
  ReportControl c;
  for (auto kind : {ReportControlKind::String, ReportControlKind::Box, ReportControlKind::Line,
                    ReportControlKind::Check, ReportControlKind::Radio, ReportControlKind::Group,
                    ReportControlKind::Ellipse, ReportControlKind::Polygon, ReportControlKind::Image}) {
    c.kind = kind;
    c.text = kind == ReportControlKind::Image ? "missing.png" : "caption";
    c.width = 1000;
    c.height = 500;
    c.points = {{0, 0}, {100, 0}, {50, 80}};
    band.controls.push_back(c);
  }
  layout.details.push_back(band);
  ASSERT_EQ(engine.Open(layout), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  ASSERT_EQ(engine.PrintBand("all"), tx::Level::Done);
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  ASSERT_EQ(pages.size(), 1u);
  PageItems items = Scan(ReadFile(pages[0]));
  EXPECT_EQ(items.comments,
            (std::vector<std::string>{"+STRING", "-STRING", "+BOX", "-BOX", "+LINE", "-LINE", "+CHECK", "-CHECK",
                                      "+RADIO", "-RADIO", "+GROUP", "-GROUP", "+ELLIPSE", "-ELLIPSE", "+POLYGON",
                                      "-POLYGON", "+IMAGE", "-IMAGE"}));
}

TEST_F(EngineTest, StandInsMarkWherePicturesGoWithoutCopyingThem) {
  tx::ReportLayout layout;
  ReportControl image;
  image.kind = ReportControlKind::Image;
  image.text = "/pictures/block.png";  // never read: a stand-in needs no file
  image.x = 100;
  image.y = 200;
  image.width = 5500;
  image.height = 1500;
  layout.details.push_back(ReportBand{"image", 0, 0, 7000, 2000, {image}});
  engine.SetPictureStandIns(true);
  ASSERT_EQ(engine.Open(layout), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  ASSERT_EQ(engine.PrintBand("image"), tx::Level::Done);
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  const std::vector<uint8_t> f = ReadFile(pages.at(0));
  auto w16 = [&](size_t i) { return static_cast<int>(f[i] | f[i + 1] << 8); };
  int found = 0;
  for (size_t at = 40; at + 6 <= f.size();) {
    const size_t size = (w16(at) | w16(at + 2) << 16) * 2u;
    if (size < 6 || at + size > f.size()) break;
    if (w16(at + 4) == 0x0F43) {
      ++found;
      EXPECT_EQ(w16(at + 12), 1);  // source height and width: one pixel
      EXPECT_EQ(w16(at + 14), 1);
      EXPECT_EQ(w16(at + 20), 1500);  // stretched over the control
      EXPECT_EQ(w16(at + 22), 5500);
      EXPECT_EQ(size, 28u + 44u);  // no more than the stand-in
    }
    at += size;
  }
  EXPECT_EQ(found, 1);
}

TEST_F(EngineTest, LongTextRunsOnToTheNextPageMarkedAsContinued) {
  tx::ReportLayout layout;
  ReportControl text;
  text.kind = ReportControlKind::Text;
  text.width = 7000;
  for (int i = 0; i < 80; ++i) text.text += "line " + std::to_string(i) + "\n";
  text.text.pop_back();
  layout.details.push_back(ReportBand{"text", 0, 0, 7000, 0, {text}});
  layout.details.push_back(ReportBand{"after", 0, 0, 7000, 200, {Text(0, 0, "AFTER")}});
  ASSERT_EQ(engine.Open(layout), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  engine.SetValue("AFTER", "after the text");
  ASSERT_EQ(engine.PrintBand("after"), tx::Level::Done);
  ASSERT_EQ(engine.PrintBand("text"), tx::Level::Done);
  ASSERT_EQ(engine.PrintBand("after"), tx::Level::Done);
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  ASSERT_EQ(pages.size(), 2u);
  PageItems one = Scan(ReadFile(pages[0]));
  PageItems two = Scan(ReadFile(pages[1]));
  EXPECT_EQ(one.comments, (std::vector<std::string>{"+STRING", "-STRING", "+TEXT", "-TEXT~"}));
  EXPECT_EQ(two.comments, (std::vector<std::string>{"+TEXT~", "-TEXT", "+STRING", "-STRING"}));
  // Every line once, in order, across both pages.
  std::vector<std::string> lines;
  for (const auto* items : {&one, &two})
    for (const auto& t : items->texts)
      if (t.rfind("line ", 0) == 0) lines.push_back(t);
  ASSERT_EQ(lines.size(), 80u);
  EXPECT_EQ(lines[79], "line 79");
  EXPECT_EQ(two.texts.back(), "after the text");
}

TEST_F(EngineTest, PageFilesGoAwayWithTheRun) {
  std::string directory;
  {
    tx::ReportEngine run;
    ASSERT_EQ(run.Open(ListLayout()), tx::Level::Done);
    run.RenderToPageFiles(&pages);
    ASSERT_EQ(run.PrintBand("row"), tx::Level::Done);
    ASSERT_EQ(run.EndReport(), tx::Level::Done);
    directory = run.PageDirectory();
    ASSERT_TRUE(std::filesystem::exists(pages.at(0)));
  }
  EXPECT_FALSE(std::filesystem::exists(directory));
}

TEST(EnginePictures, FieldValuesShowThroughTheirPictures) {
  using tx::ReportEngine;
  EXPECT_EQ(ReportEngine::FormatValue("s5", "abcdefgh"), "abcde");
  EXPECT_EQ(ReportEngine::FormatValue("s30", "name   "), "name");
  EXPECT_EQ(ReportEngine::FormatValue("N_3B", "0"), "");
  EXPECT_EQ(ReportEngine::FormatValue("N_3B", "7"), "  7");
  EXPECT_EQ(ReportEngine::FormatValue("n_3", "12"), " 12");
  EXPECT_EQ(ReportEngine::FormatValue("n_3", "1234"), "###");
  EXPECT_EQ(ReportEngine::FormatValue("N03B", "5"), "005");
  EXPECT_EQ(ReportEngine::FormatValue("", "as is  "), "as is");
}

TEST(EnginePictures, PngBecomesABottomUp24BitBitmap) {
  txtest::TempDir dir;
  // 3 x 2 pixels: top row red, bottom row half-transparent blue.
  uint8_t rgba[] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 128, 0, 0, 255, 128, 0, 0, 255, 128};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 2;
  image.format = PNG_FORMAT_RGBA;
  std::string path = dir.file("p.png");
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr));
  auto dib = tx::LoadPngAsDib(path);
  ASSERT_TRUE(dib.has_value());
  ASSERT_EQ(dib->size(), 40u + 2 * 12);  // rows padded to 12 bytes
  EXPECT_EQ((*dib)[4], 3);
  EXPECT_EQ((*dib)[8], 2);
  EXPECT_EQ((*dib)[14], 24);
  // First stored row is the bottom one: blue blended onto white, as B, G, R.
  EXPECT_EQ((*dib)[40], 255);
  EXPECT_GT((*dib)[41], 60);
  EXPECT_LT((*dib)[41], 250);
  EXPECT_EQ((*dib)[41], (*dib)[42]);
  // Then the red top row.
  EXPECT_EQ((*dib)[52], 0);
  EXPECT_EQ((*dib)[54], 255);
  EXPECT_FALSE(tx::LoadPngAsDib(dir.file("none.png")).has_value());
  std::ofstream(dir.file("bad.png")) << "not a png";
  EXPECT_FALSE(tx::LoadPngAsDib(dir.file("bad.png")).has_value());
}

// libwmf is an independent reader: every page must convert and keep its texts.
TEST_F(EngineTest, EveryPageConvertsWithWmf2svg) {
  if (std::system("command -v wmf2svg > /dev/null 2>&1") != 0) GTEST_SKIP() << "wmf2svg not installed";
  txtest::TempDir dir;
  tx::ReportLayout layout = ListLayout();
  ReportControl check;
  check.kind = ReportControlKind::Check;
  check.text = "Checked";
  check.checked = true;
  check.y = 20;
  ReportControl group;
  group.kind = ReportControlKind::Group;
  group.text = "Frame";
  group.x = 2000;
  group.width = 3000;
  group.height = 150;
  layout.details.push_back(ReportBand{"extras", 0, 0, 7250, 300, {check, group}});
  ASSERT_EQ(engine.Open(layout), tx::Level::Done);
  engine.RenderToPageFiles(&pages);
  engine.SetValue("TITLE", "Svg Check");
  for (int i = 0; i < 60; ++i) {
    engine.SetValue("NAME", "Group" + std::to_string(i / 20));
    engine.SetValue("ROW", "Entry" + std::to_string(i));
    ASSERT_EQ(engine.PrintBand("row"), tx::Level::Done);
  }
  ASSERT_EQ(engine.PrintBand("extras"), tx::Level::Done);
  ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  ASSERT_EQ(pages.size(), 2u);
  for (size_t p = 0; p < pages.size(); ++p) {
    std::string svg = dir.file("page" + std::to_string(p) + ".svg");
    std::string command = "wmf2svg -o '" + svg + "' '" + pages[p] + "' 2>" + dir.file("err.txt");
    ASSERT_EQ(std::system(command.c_str()), 0) << "page " << p;
    std::ifstream in(svg);
    std::stringstream content;
    content << in.rdbuf();
    const std::string s = content.str();
    EXPECT_NE(s.find("Svg Check"), std::string::npos);
    EXPECT_NE(s.find("Page:"), std::string::npos);
    EXPECT_NE(s.find(p == 0 ? "Entry0" : "Entry59"), std::string::npos);
    if (p == 1) {
      EXPECT_NE(s.find("Checked"), std::string::npos);
      EXPECT_NE(s.find("Frame"), std::string::npos);
    }
  }
}

}  // namespace
