// From bands to PDF: reports printed by the engine, their pages parsed into
// the PDF generator, and the PDF checked by independent readers (qpdf,
// pdftotext). Also the pages2pdf command that does the same from saved pages.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "pdf/pdf_generator.h"
#include "platform/reportengine/report_engine.h"
#include "recording_generator.h"
#include "report/wmf_parser.h"
#include "support/temp_dir.h"
#include "wmf_bytes.h"

namespace {

using tx::ReportBand;
using tx::ReportControl;
using tx::ReportControlKind;

struct Shell {
  int status;
  std::string out;
};

Shell Sh(const std::string& command) {
  Shell r{-1, {}};
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A word pdftotext found, with its box in points.
struct Word {
  double xMin, yMin, xMax, yMax;
  std::string text;
  int page;
};

std::vector<Word> Words(const std::string& pdf, const std::string& password = {}) {
  std::string html = pdf + ".html";
  std::string pw = password.empty() ? "" : " -upw '" + password + "'";
  Sh("pdftotext -bbox" + pw + " '" + pdf + "' '" + html + "'");
  std::string s = Slurp(html);
  std::vector<Word> words;
  static const std::regex item(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  int pageNo = 0;
  for (auto it = std::sregex_iterator(s.begin(), s.end(), item); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m.str(0) == "<page ")
      ++pageNo;
    else
      words.push_back({std::stod(m.str(1)), std::stod(m.str(2)), std::stod(m.str(3)), std::stod(m.str(4)), m.str(5),
                       pageNo});
  }
  return words;
}

const Word* Find(const std::vector<Word>& words, const std::string& text) {
  for (const auto& w : words)
    if (w.text == text) return &w;
  return nullptr;
}

bool Have(const char* tool) { return Sh(std::string("command -v ") + tool).status == 0; }

void WritePng(const std::string& path) {
  std::vector<uint8_t> rgb(40 * 20 * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = static_cast<uint8_t>(i % 255);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 40;
  image.height = 20;
  image.format = PNG_FORMAT_RGB;
  png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
}

// A report with one of every control the pages carry, and rows enough for
// three pages.
tx::ReportLayout SampleLayout(const std::string& picture) {
  tx::ReportLayout layout;
  ReportControl name;
  name.field = "TITLE";
  name.picture = "s30";
  name.x = 31;
  name.y = 31;
  name.width = 7167;
  name.background = 0;
  name.font = tx::ReportFont{"Arial", 14, 700, false, false, false, 0xFFFFFF};
  layout.pageHeader = ReportBand{"header", 500, 500, 7250, 500, {name}};
  ReportControl label, number;
  label.text = "Page:";
  label.x = 6469;
  label.y = 146;
  number.field = tx::PAGE_NUMBER_FIELD;
  number.picture = "n_3";
  number.x = 6823;
  number.y = 146;
  layout.pageFooter = ReportBand{"footer", 500, 10500, 7250, 1000, {label, number}};

  ReportBand shapes{"shapes", 0, 0, 7250, 2600, {}};
  ReportControl c;
  c.kind = ReportControlKind::Box;
  c.x = 531, c.y = 312, c.width = 5885, c.height = 1823;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Image;
  c.text = picture;
  c.x = 708, c.y = 479, c.width = 5500, c.height = 1500;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Line;
  c.x = 0, c.y = 2200, c.width = 7000, c.height = 0, c.penWidth = 10;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Group;
  c.text = "Framed";
  c.x = 100, c.y = 2300, c.width = 3000, c.height = 250;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Check;
  c.text = "Ticked";
  c.checked = true;
  c.x = 3300, c.y = 2350;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Radio;
  c.text = "Chosen";
  c.checked = true;
  c.x = 4500, c.y = 2350;
  shapes.controls.push_back(c);
  c = {};
  c.kind = ReportControlKind::Polygon;
  c.background = 0x0000FF;
  c.x = 6000, c.y = 2300;
  c.points = {{0, 0}, {300, 0}, {150, 250}};
  shapes.controls.push_back(c);
  layout.details.push_back(shapes);

  ReportControl groupName;
  groupName.field = "BLOCK";
  groupName.x = 31, groupName.y = 83;
  groupName.font = tx::ReportFont{"Arial", 10, 700};
  layout.group = tx::ReportGroup{"BLOCK", ReportBand{"group", 0, 0, 7250, 333, {groupName}}, {"row"}};
  ReportControl row;
  row.field = "ROW";
  row.picture = "s32";
  row.x = 187, row.y = 10;
  ReportControl value = row;
  value.field = "VALUE";
  value.x = 4062;
  layout.details.push_back(ReportBand{"row", 0, 0, 7208, 219, {row, value}});

  ReportControl text;
  text.kind = ReportControlKind::Text;
  text.width = 7000;
  text.field = "NOTES";
  layout.details.push_back(ReportBand{"notes", 0, 0, 7250, 0, {text}});
  return layout;
}

class PipelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture = dir.file("tmp01.png");
    WritePng(picture);
    ASSERT_EQ(engine.Open(SampleLayout(picture)), tx::Level::Done);
    engine.RenderToPageFiles(&pages);
    engine.SetValue("TITLE", "Crunchy Lead");
    ASSERT_EQ(engine.PrintBand("shapes"), tx::Level::Done);
    for (int i = 0; i < 70; ++i) {
      engine.SetValue("BLOCK", "Amp" + std::to_string(i / 25 + 1));
      engine.SetValue("ROW", "Param" + std::to_string(i));
      engine.SetValue("VALUE", std::to_string(i * 3));
      ASSERT_EQ(engine.PrintBand("row"), tx::Level::Done);
    }
    std::string notes;
    for (int i = 0; i < 70; ++i) notes += "Note" + std::to_string(i) + "\n";
    engine.SetValue("NOTES", notes + "LastNote");
    ASSERT_EQ(engine.PrintBand("notes"), tx::Level::Done);
    ASSERT_EQ(engine.EndReport(), tx::Level::Done);
  }

  txtest::TempDir dir;
  std::string picture;
  std::vector<std::string> pages;
  tx::ReportEngine engine;
};

TEST_F(PipelineTest, EveryControlReachesTheGeneratorPageByPage) {
  txtest::RecordingGenerator gen;
  txtest::RecordingErrors errors;
  tx::WMFParser parser;
  parser.Init(&pages, &gen, &errors);
  ASSERT_EQ(parser.Run(false), tx::Level::Done);
  EXPECT_TRUE(errors.raised.empty());
  // Rows fill pages 1 to 3; the notes start on page 3 and run on to page 4.
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(gen.pageCount, 4);
  int begins = 0, texts = 0;
  for (const auto& c : gen.calls) {
    begins += c.op == "BeginPage";
    texts += c.op == "EmitTextBlock";
  }
  EXPECT_EQ(begins, 4);
  EXPECT_EQ(texts, 2);  // the notes run on to the next page
  ASSERT_EQ(gen.boxes.size(), 1u);
  EXPECT_EQ(gen.boxes[0].POS.LEFT, 500 + 531);
  EXPECT_EQ(gen.boxes[0].POS.TOP, 1000 + 312);
  EXPECT_EQ(gen.boxes[0].POS.RIGHT, 500 + 531 + 5885);
  ASSERT_EQ(gen.images.size(), 1u);
  EXPECT_EQ(gen.images[0].POS.LEFT, 1208);
  EXPECT_EQ(gen.images[0].POS.BOTTOM, 1000 + 479 + 1500);
  EXPECT_GT(gen.images[0].EMBEDSTART, 0u);
  ASSERT_EQ(gen.groups.size(), 1u);
  EXPECT_EQ(gen.groups[0].POS.LEFT, 600);
  EXPECT_EQ(gen.groups[0].POS.RIGHT, 3600);
  EXPECT_EQ(gen.groups[0].POS.BOTTOM, 1000 + 2300 + 250);
  ASSERT_EQ(gen.checks.size(), 1u);
  EXPECT_EQ(gen.checks[0].CHECKED, 1);
  ASSERT_EQ(gen.radios.size(), 1u);
  EXPECT_EQ(gen.radios[0].CHECKED, 1);
  ASSERT_EQ(gen.polygons.size(), 1u);
  EXPECT_EQ(gen.polygons[0].size(), 3u);
  EXPECT_EQ(gen.polygonStyles[0].BACKGROUNDCOLOR, 0x0000FF);
  ASSERT_FALSE(gen.strings.empty());
  // The header's name: white on a black bar across the header.
  EXPECT_EQ(gen.calls[2].text, "Crunchy Lead");
  EXPECT_EQ(gen.strings[0].COLOR, 0xFFFFFF);
  EXPECT_EQ(gen.strings[0].BACKGROUNDCOLOR, 0);
  EXPECT_EQ(gen.strings[0].POS.RIGHT, 500 + 31 + 7167);
  EXPECT_EQ(gen.strings[0].SIZE, 14);
}

TEST_F(PipelineTest, PdfFromThePagesReadsBackWithTextsInPlace) {
  if (!Have("qpdf") || !Have("pdftotext") || !Have("pdfimages")) GTEST_SKIP() << "poppler-utils or qpdf missing";
  std::string pdf = dir.file("report.pdf");
  tx::PDFGenerator gen;
  gen.Init(pdf);
  gen.SetCompression(true, true);
  txtest::RecordingErrors errors;
  tx::WMFParser parser;
  parser.Init(&pages, &gen, &errors);
  ASSERT_EQ(parser.Run(false), tx::Level::Done);
  EXPECT_TRUE(errors.raised.empty());
  Shell check = Sh("qpdf --check '" + pdf + "'");
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(check.out.find("No syntax or stream encoding errors"), std::string::npos) << check.out;

  // The block picture travels inside the page file and lands as one image.
  Shell images = Sh("pdfimages -list '" + pdf + "'");
  ASSERT_EQ(images.status, 0) << images.out;
  std::istringstream list(images.out);
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(list, line))
    if (!line.empty() && line[0] != '-' && line.find("page") == std::string::npos) rows.push_back(line);
  ASSERT_EQ(rows.size(), 1u) << images.out;
  std::istringstream row(rows[0]);
  int page = 0, number = 0, width = 0, height = 0;
  std::string type;
  row >> page >> number >> type >> width >> height;
  EXPECT_EQ(page, 1);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 20);

  std::vector<Word> words = Words(pdf);
  const double k = 1000.0 / 72.0;  // report units per point
  const Word* title = Find(words, "Crunchy");
  ASSERT_NE(title, nullptr);
  EXPECT_NEAR(title->xMin, (500 + 31) / k, 2.0);
  EXPECT_NEAR(title->yMin, (500 + 31) / k, 4.0);
  const Word* first = Find(words, "Param0");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->page, 1);
  EXPECT_NEAR(first->xMin, (500 + 187) / k, 2.0);
  const Word* last = Find(words, "Param69");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->page, 3);
  ASSERT_NE(Find(words, "Amp3"), nullptr);
  ASSERT_NE(Find(words, "Framed"), nullptr);
  ASSERT_NE(Find(words, "Ticked"), nullptr);
  ASSERT_NE(Find(words, "Chosen"), nullptr);
  const Word* lastNote = Find(words, "LastNote");
  ASSERT_NE(lastNote, nullptr);
  EXPECT_EQ(lastNote->page, 4);
  // Page numbers from 1 in every footer.
  int footers = 0;
  for (const auto& w : words)
    if (w.text == "Page:") ++footers;
  EXPECT_EQ(footers, 4);
  for (int p = 1; p <= 4; ++p) {
    bool found = false;
    for (const auto& w : words)
      if (w.page == p && w.text == std::to_string(p) && w.xMin > 6823 / k) found = true;
    EXPECT_TRUE(found) << "page number on page " << p;
  }
}

// The command line ----------------------------------------------------------

class Pages2PdfTest : public PipelineTest {
 protected:
  Shell Cli(const std::string& arguments) {
    return Sh(std::string("'") + TONALYX_CLI + "' pages2pdf " + arguments);
  }
  std::string PageArgs() const {
    std::string s;
    for (const auto& p : pages) s += " '" + p + "'";
    return s;
  }
  bool LeftoverTemporaries() const {
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      if (e.path().filename().string().rfind(".out.pdf.", 0) == 0) return true;
    return false;
  }
};

TEST_F(Pages2PdfTest, WritesACleanDocument) {
  if (!Have("qpdf")) GTEST_SKIP() << "qpdf missing";
  std::string out = dir.file("out.pdf");
  Shell r = Cli("'" + out + "'" + PageArgs());
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(Sh("qpdf --check '" + out + "'").status, 0);
  EXPECT_FALSE(LeftoverTemporaries());
  std::string bytes = Slurp(out);
  EXPECT_EQ(bytes.rfind("%PDF-1.3", 0), 0u);
  EXPECT_NE(bytes.find("/Filter"), std::string::npos);
  EXPECT_EQ(bytes.find("Param0"), std::string::npos);  // compressed
  EXPECT_EQ(std::filesystem::status(out).permissions() & std::filesystem::perms::others_read,
            std::filesystem::perms::others_read);
}

TEST_F(Pages2PdfTest, NoCompressAndPasswordAreHonoured) {
  if (!Have("qpdf") || !Have("pdftotext")) GTEST_SKIP() << "qpdf or pdftotext missing";
  std::string plain = dir.file("plain.pdf");
  ASSERT_EQ(Cli("--no-compress '" + plain + "'" + PageArgs()).status, 0);
  std::string bytes = Slurp(plain);
  EXPECT_EQ(bytes.find("/Filter"), std::string::npos);
  EXPECT_NE(bytes.find("Param0"), std::string::npos);

  std::string locked = dir.file("locked.pdf");
  Shell r = Cli("--password s3cret '" + locked + "'" + PageArgs());
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(Slurp(locked).find("/Encrypt"), std::string::npos);
  Shell check = Sh("qpdf --password=s3cret --check '" + locked + "'");
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(Find(Words(locked, "s3cret"), "Param0"), nullptr);
}

TEST_F(Pages2PdfTest, BadPageFailsWithTheParsersMessageAndKeepsTheOldFile) {
  std::string out = dir.file("out.pdf");
  std::ofstream(out) << "old contents";
  txtest::WmfBytes bad(1000, 8500, 11000, 0xDEADBEEF);
  std::string badPage = dir.file("bad.wmf");
  bad.Save(badPage);
  Shell r = Cli("'" + out + "' '" + pages[0] + "' '" + badPage + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("The File " + badPage + " is not a valid WMF file."), std::string::npos) << r.out;
  EXPECT_EQ(Slurp(out), "old contents");
  EXPECT_FALSE(LeftoverTemporaries());

  r = Cli("'" + out + "' '" + dir.file("missing.wmf") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("File " + dir.file("missing.wmf") + " could not be opened.  Error: No such file or directory (2)."),
            std::string::npos)
      << r.out;
  EXPECT_EQ(Slurp(out), "old contents");
}

TEST_F(Pages2PdfTest, TargetThatCannotBeWrittenIsAFailure) {
  std::string out = dir.file("no-such-dir/out.pdf");
  Shell r = Cli("'" + out + "'" + PageArgs());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(out), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A file size limit makes the writes fail part-way through the document.
  std::string limited = dir.file("out.pdf");
  std::ofstream(limited) << "old contents";
  r = Sh("sh -c \"trap '' XFSZ; ulimit -f 2; '" + std::string(TONALYX_CLI) + "' pages2pdf --no-compress '" + limited +
         "'" + PageArgs() + PageArgs() + PageArgs() + "\"");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find(limited), std::string::npos) << r.out;
  EXPECT_EQ(Slurp(limited), "old contents");
  EXPECT_FALSE(LeftoverTemporaries());
}

TEST_F(Pages2PdfTest, UsageErrors) {
  EXPECT_EQ(Cli("").status, 2);
  EXPECT_EQ(Cli("'" + dir.file("out.pdf") + "'").status, 2);
  EXPECT_EQ(Cli("--password").status, 2);
  EXPECT_EQ(Cli("--bogus out.pdf page.wmf").status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdf")));
}

}  // namespace
