// Whole documents checked by independent readers: qpdf, poppler, mupdf.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {

struct Placed {
  std::string text;
  int left, top, size;
};

// Two letter pages with every drawing kind; returns the texts and where they were put.
std::vector<Placed> WriteSample(TestGenerator& g, const std::string& path, bool compress) {
  g.Init(path);
  g.SetCompression(compress, false);
  g.SetDocumentInfo("Preset Report", "Tonalyx", "Tonalyx", "Axe-FX", "Tester", "preset");
  std::vector<Placed> placed = {{"Helvetica line", 1000, 1000, 10}, {"Arial bold", 1000, 2000, 12},
                                {"Times italic", 4000, 2000, 11},   {"Courier mono", 1000, 3000, 9},
                                {"Clipped cell", 5000, 3000, 10}};
  g.BeginDocument(2);
  for (int page = 1; page <= 2; ++page) {
    g.BeginPage("page" + std::to_string(page), 0, 0, 8500, 11000);
    g.EmitString("", placed[0].text, Text(1000, 1000, "Helvetica", 10));
    auto bold = Text(1000, 2000, "Arial", 12);
    bold.STYLE = 700;
    g.EmitString("", placed[1].text, bold);
    auto italic = Text(4000, 2000, "Times New Roman", 11);
    italic.STYLE = 400 | 0x1000 | 0x2000;
    g.EmitString("", placed[2].text, italic);
    g.EmitLine("", Line(1000, 2500, 7500, 2500, 0x0000FF, 16));
    g.EmitString("", placed[3].text, Text(1000, 3000, "Courier", 9));
    auto clipped = Text(5000, 3000, "Helvetica", 10);
    clipped.POS = {3000, 5000, 3200, 7000};
    clipped.BACKGROUNDCOLOR = 0xC0C0C0;
    g.EmitString("", placed[4].text, clipped);
    g.EmitBox("", Box(500, 500, 8000, 10500));
    g.EmitBox("", Box(1000, 4000, 3000, 5000, 0x00FF00));
    tx::EllipseFormat e;
    e.POS = {6000, 1000, 7000, 3000};
    e.STYLE.BACKGROUNDCOLOR = 0xFF0000;
    e.STYLE.BORDERWIDTH = 8;
    g.EmitEllipse("", e);
    tx::ShapeStyle ps;
    ps.BACKGROUNDCOLOR = 0x00FFFF;
    ps.BORDERWIDTH = 8;
    g.EmitPolygon("", {{4000, 6000}, {5000, 7000}, {3000, 7000}}, ps);
    tx::CheckFormat c;
    c.POS = {8000, 1000, 8150, 1150};
    c.STYLE.BORDERWIDTH = 8;
    c.CHECKED = 1;
    c.PROMPT = Text(1300, 8000);
    g.EmitCheck("", "Checked box", c);
    std::vector<tx::TextRow> rows(2);
    rows[0].FORMAT = Text(4000, 8000);
    rows[0].TEXT = "Block line one";
    rows[1].FORMAT = Text(4000, 8200);
    rows[1].TEXT = "Block line two";
    g.EmitTextBlock("", rows);
    g.FinishPage();
  }
  g.FinishDocument();
  placed.push_back({"Checked box", 1300, 8000, 10});
  placed.push_back({"Block line one", 4000, 8000, 10});
  placed.push_back({"Block line two", 4000, 8200, 10});
  return placed;
}

}  // namespace

TEST(PdfReaders, QpdfChecksWithoutReconstruction) {
  TempDir dir;
  for (bool compress : {false, true}) {
    TestGenerator g;
    std::string path = dir.file(compress ? "z.pdf" : "plain.pdf");
    WriteSample(g, path, compress);
    auto r = RunTool("qpdf --check " + path);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("No syntax or stream encoding errors"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("WARNING"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("reconstruct"), std::string::npos) << r.output;
    EXPECT_TRUE(g.messages.empty());
  }
}

TEST(PdfReaders, PdftotextFindsEveryTextWhereItWasPut) {
  TempDir dir;
  TestGenerator g;
  std::string path = dir.file("bbox.pdf");
  auto placed = WriteSample(g, path, true);
  auto r = RunTool("pdftotext -bbox " + path + " -");
  ASSERT_EQ(r.status, 0) << r.output;
  // Words with their boxes, page by page.
  std::regex word(R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  std::vector<std::tuple<double, double, double, std::string>> words;  // xMin, yMin, yMax, text
  size_t firstPageEnd = r.output.find("</page>");
  ASSERT_NE(firstPageEnd, std::string::npos);
  std::string firstPage = r.output.substr(0, firstPageEnd);
  for (std::sregex_iterator it(firstPage.begin(), firstPage.end(), word), end; it != end; ++it) {
    words.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[4]), (*it)[5]);
  }
  for (const auto& p : placed) {
    std::string first = p.text.substr(0, p.text.find(' '));
    double x = p.left * 0.072, baseline = p.top * 0.072 + p.size;
    bool found = false;
    for (const auto& [xMin, yMin, yMax, text] : words) {
      if (text != first) continue;
      if (std::fabs(xMin - x) <= 1.0 && yMin < baseline && baseline <= yMax + 1.0) found = true;
    }
    EXPECT_TRUE(found) << p.text << " expected at x=" << x << " baseline=" << baseline << "\n" << firstPage;
  }
  EXPECT_EQ(Count(r.output, "<page "), 2u);
}

TEST(PdfReaders, PdffontsListsStandardAndTrueTypeFonts) {
  TempDir dir;
  TestGenerator g;
  std::string path = dir.file("fonts.pdf");
  WriteSample(g, path, true);
  auto r = RunTool("pdffonts " + path);
  ASSERT_EQ(r.status, 0) << r.output;
  std::regex row(R"(^(\S+)\s+(Type 1|TrueType)\s+(\S+)\s+(no|yes)\s+(no|yes)\s+(no|yes)\s+(\d+)\s+0)");
  std::map<std::string, std::pair<std::string, std::string>> fonts;
  std::istringstream lines(r.output);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, row)) fonts[m[1]] = {m[2], m[3]};
  }
  ASSERT_TRUE(fonts.count("Helvetica")) << r.output;
  EXPECT_EQ(fonts["Helvetica"].first, "Type 1");
  EXPECT_EQ(fonts["Helvetica"].second, "WinAnsi");
  EXPECT_TRUE(fonts.count("Courier")) << r.output;
  ASSERT_TRUE(fonts.count("LiberationSans,Bold")) << r.output;
  EXPECT_EQ(fonts["LiberationSans,Bold"].first, "TrueType");
  EXPECT_EQ(fonts["LiberationSans,Bold"].second, "WinAnsi");
  EXPECT_TRUE(fonts.count("LiberationSerif,Italic")) << r.output;
  EXPECT_EQ(fonts.size(), 4u) << r.output;
}

TEST(PdfReaders, MutoolRendersEveryPageWithoutWarnings) {
  TempDir dir;
  TestGenerator g;
  std::string path = dir.file("draw.pdf");
  WriteSample(g, path, true);
  auto r = RunTool("mutool draw -q -o " + dir.file("page%d.png") + " " + path);
  EXPECT_EQ(r.status, 0) << r.output;
  // This mupdf build announces its missing colour management on every run;
  // anything else it says is about the file.
  std::string said = std::regex_replace(r.output, std::regex("warning: ICC support is not available\n?"), "");
  EXPECT_TRUE(said.empty()) << r.output;
  EXPECT_FALSE(ReadFile(dir.file("page1.png")).empty());
  EXPECT_FALSE(ReadFile(dir.file("page2.png")).empty());
}

TEST(PdfReaders, EncryptedDocumentOpensOnlyWithThePassword) {
  TempDir dir;
  TestGenerator g;
  std::string path = dir.file("secret.pdf");
  g.SetPassword("tonalyx");
  // Init keeps the password; permissions are set again after it.
  g.Init(path);
  g.SetPassword("tonalyx", 44);
  g.SetCompression(true, false);
  g.SetDocumentInfo("Secret (title)", "Tonalyx", "Tonalyx", "", "", "");
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Hidden words", Text(1000, 1000, "Arial", 10));
  g.EmitBox("", Box(1000, 2000, 3000, 3000));
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);

  auto check = RunTool("qpdf --password=tonalyx --check " + path);
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
  auto show = RunTool("qpdf --password=tonalyx --show-encryption --show-encryption-key " + path);
  EXPECT_NE(show.output.find("R = 2"), std::string::npos) << show.output;
  std::smatch key;
  std::string showText = show.output;
  ASSERT_TRUE(std::regex_search(showText, key, std::regex("Encryption key = ([0-9a-f]+)"))) << show.output;
  EXPECT_EQ(key[1].length(), 10u) << "a 40-bit key is 5 bytes";

  auto text = RunTool("pdftotext -upw tonalyx " + path + " -");
  EXPECT_EQ(text.status, 0) << text.output;
  EXPECT_NE(text.output.find("Hidden words"), std::string::npos) << text.output;
  auto info = RunTool("pdfinfo -upw tonalyx " + path);
  EXPECT_NE(info.output.find("Secret (title)"), std::string::npos) << info.output;

  auto locked = RunTool("pdftotext " + path + " -");
  EXPECT_NE(locked.status, 0);
  EXPECT_EQ(locked.output.find("Hidden words"), std::string::npos);
  auto wrong = RunTool("pdftotext -upw wrong " + path + " -");
  EXPECT_NE(wrong.status, 0);
  // Nothing of the text or the title is readable in the file itself.
  std::string raw = ReadFile(path);
  EXPECT_EQ(raw.find("Hidden"), std::string::npos);
  EXPECT_EQ(raw.find("Secret"), std::string::npos);
}
