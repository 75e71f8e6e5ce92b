// Fonts: standard names, registration, TrueType descriptors and widths.
#include <gtest/gtest.h>

#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

TEST(PdfFonts, StandardNamesTakeBoldAndItalicWhereTheFamilyAllows) {
  using G = TestGenerator;
  EXPECT_EQ(G::StandardName("Courier", true, true), "Courier-BoldOblique");
  EXPECT_EQ(G::StandardName("times", true, false), "Times-Bold");
  EXPECT_EQ(G::StandardName("Times-Roman", false, true), "Times-Italic");
  EXPECT_EQ(G::StandardName("ROMAN", true, true), "Times-BoldItalic");
  EXPECT_EQ(G::StandardName("Helvetica", false, true), "Helvetica-Oblique");
  EXPECT_EQ(G::StandardName("Helvetica   ", false, false), "Helvetica");
  EXPECT_EQ(G::StandardName("SYMBOL", true, false), "Symbol");
  EXPECT_EQ(G::StandardName("ZapfDingbats", true, true), "ZapfDingbats");
  EXPECT_EQ(G::StandardName("Helvetica-Bold", false, true), "Helvetica-Bold");
  EXPECT_EQ(G::StandardName("Arial", false, false), "");
  EXPECT_EQ(G::StandardName("", false, false), "");
}

TEST(PdfFonts, RegistrationByNameAndCharacterSet) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("f.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "a", Text(0, 0, "Courier", 9));
  g.EmitString("", "b", Text(0, 200, "courier", 12));
  auto baltic = Text(0, 400, "Courier", 12);
  baltic.CHARSET = 186;
  g.EmitString("", "c", baltic);
  auto bi = Text(0, 600, "Arial", 10);
  bi.STYLE = 700 | 0x1000;
  g.EmitString("", "d", bi);
  ASSERT_EQ(g.Fonts().FONTSNAMES.size(), 3u);
  EXPECT_EQ(g.Fonts().FONTSNAMES[0].NAME, "Courier");
  EXPECT_EQ(g.Fonts().FONTSNAMES[0].BUILTIN, 1);
  EXPECT_EQ(g.Fonts().FONTSNAMES[1].CHARSET, 186);
  EXPECT_EQ(g.Fonts().FONTSNAMES[1].NUMBER, 2);
  EXPECT_EQ(g.Fonts().FONTSNAMES[2].NAME, "Arial,BoldItalic");
  EXPECT_EQ(g.Fonts().FONTSNAMES[2].REALNAME, "Arial");
  EXPECT_EQ(g.Fonts().FONTSNAMES[2].STYLE, 700 + 4096);
  EXPECT_EQ(g.Fonts().FONTSNAMES[2].BUILTIN, 0);
  g.FinishPage();
  g.FinishDocument();
  // The descriptor renames the font after the family actually found.
  EXPECT_EQ(g.Fonts().FONTSNAMES[2].NAME, "LiberationSans,BoldItalic");
  std::string pdf = ReadFile(dir.file("f.pdf"));
  auto streams = PlainStreams(pdf);
  ASSERT_FALSE(streams.empty());
  EXPECT_NE(streams[0].find("/F1 9 Tf"), std::string::npos);
  EXPECT_NE(streams[0].find("/F1 12 Tf"), std::string::npos);
  EXPECT_NE(streams[0].find("/F2 12 Tf"), std::string::npos);
  EXPECT_NE(pdf.find("/Font << /F1 8 0 R /F2 9 0 R /F3 11 0 R >>\r"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
}

TEST(PdfFonts, TrueTypeFontHasDescriptorAndWidthsTypeOneHasNeither) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("f.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Serif", [] {
    auto f = Text(0, 0, "Times New Roman", 10);
    f.STYLE = 700 | 0x1000;
    return f;
  }());
  g.EmitString("", "Sans", Text(0, 200, "Helvetica", 10));
  g.FinishPage();
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("f.pdf"));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex(
      "(\\d+) 0 obj\r\n<< \r\n/Type /FontDescriptor\r\n/FontName /LiberationSerif,BoldItalic\r\n/Flags 262240\r\n"
      "/FontBBox \\[-?\\d+ -\\d+ \\d+ \\d+\\]\r\n/StemV (\\d+)\r\n/StemH \\d+\r\n/ItalicAngle (-[0-9.]+)\r\n"
      "/Ascent (\\d+)\r\n/Descent (-\\d+)\r\n/Leading \\d+\r\n/MaxWidth \\d+\r\n/AvgWidth \\d+\r\n>> \r\nendobj\r\n")))
      << pdf;
  int descriptor = std::stoi(m[1]);
  EXPECT_EQ(m[2], "123");  // weight 700 / 5.7
  EXPECT_LT(std::stod(m[3]), -5);
  std::string font = std::to_string(descriptor + 1) + " 0 obj\r\n<< \r\n/Type /Font\r\n/Subtype /TrueType\r\n/Name /F1\r\n"
                     "/BaseFont /LiberationSerif,BoldItalic\r\n/FirstChar 32\r\n/LastChar 255\r\n"
                     "/Encoding /WinAnsiEncoding\r\n/FontDescriptor " + std::to_string(descriptor) + " 0 R\r\n/Widths [ 250";
  EXPECT_NE(pdf.find(font), std::string::npos) << pdf;
  size_t type1 = pdf.find("/Subtype /Type1\r\n/Name /F2\r\n/BaseFont /Helvetica\r\n/Encoding /WinAnsiEncoding\r\n>> \r\nendobj");
  EXPECT_NE(type1, std::string::npos);
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("f.pdf")).status, 0);
}

TEST(PdfFonts, WidthsAreWrittenTenToALine) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("w.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "x", Text(0, 0, "Arial", 10));
  g.FinishPage();
  // A font whose range is already known keeps it: codes 32 to 126 only.
  g.Fonts().FONTSNAMES[0].FIRSTCHAR = 32;
  g.Fonts().FONTSNAMES[0].LASTCHAR = 126;
  for (int code = 32; code <= 126; ++code) g.Fonts().FONTSNAMES[0].CHARWIDTH[code - 1] = 1;
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("w.pdf"));
  size_t at = pdf.find("/Widths [");
  ASSERT_NE(at, std::string::npos);
  std::string block = pdf.substr(at, pdf.find("]\r\n", at) + 3 - at);
  EXPECT_EQ(Count(block, "\r\n"), 10u);
  EXPECT_EQ(block.rfind("/Widths [ 278 278 355 556 556 889 667 191 333 333\r\n", 0), 0u) << block;
  EXPECT_NE(block.find("\r\n 556 556 556 556 556 556 278 278 584 584\r\n"), std::string::npos) << block;
  std::string last = "\r\n 500 334 260 334 584]\r\n";  // z { | } ~
  EXPECT_EQ(block.substr(block.size() - last.size()), last) << block;
}

TEST(PdfFonts, FlagsMarkStyleFixedPitchAndSymbolCharacterSet) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("f.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Mono", Text(0, 0, "Courier New", 10));
  auto symbol = Text(0, 200, "Arial", 10);
  symbol.CHARSET = 2;
  g.EmitString("", "Sym", symbol);
  auto italic = Text(0, 400, "Arial", 10);
  italic.STYLE = 400 | 0x1000;
  g.EmitString("", "Slanted", italic);
  auto bold = Text(0, 600, "Arial", 10);
  bold.STYLE = 700;
  g.EmitString("", "Heavy", bold);
  g.FinishPage();
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("f.pdf"));
  EXPECT_NE(pdf.find("/FontName /LiberationMono\r\n/Flags 33\r\n"), std::string::npos) << pdf;
  EXPECT_NE(pdf.find("/FontName /LiberationSans\r\n/Flags 4\r\n"), std::string::npos) << pdf;
  EXPECT_NE(pdf.find("/FontName /LiberationSans,Italic\r\n/Flags 96\r\n"), std::string::npos) << pdf;
  EXPECT_NE(pdf.find("/FontName /LiberationSans,Bold\r\n/Flags 262176\r\n"), std::string::npos) << pdf;
  EXPECT_EQ(XrefProblems(pdf), "");
}

namespace {
// A platform without the requested font at all.
class NoFontsGenerator : public TestGenerator {
 protected:
  bool FontMetricsOf(const tx::FontRequest&, tx::FontMetrics&) override { return false; }
};
}  // namespace

TEST(PdfFonts, FontWithoutMetricsIsReportedAndStillMakesAReadableFile) {
  TempDir dir;
  NoFontsGenerator g;
  g.Init(dir.file("n.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  auto f = Text(1000, 1000, "Times New Roman", 10);
  f.STYLE = 700;
  g.EmitString("", "Plain", f);
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_EQ(g.messages[0], "Font Error: Font Name:Times New Roman|NOT LOC:HFont");
  std::string pdf = ReadFile(dir.file("n.pdf"));
  // Stream 6, page 7: the font takes 8 and nothing is written as a descriptor.
  EXPECT_NE(pdf.find("endobj\r\n% FontDescriptor missing\r\n8 0 obj\r\n<< \r\n/Type /Font\r\n/Subtype /TrueType\r\n"
                     "/Name /F1\r\n/BaseFont /TimesNewRoman,Bold\r\n/FirstChar 0\r\n/LastChar 0\r\n"
                     "/Encoding /WinAnsiEncoding\r\n/Widths [ 0]\r\n>> \r\nendobj\r\n"),
            std::string::npos)
      << pdf;
  EXPECT_EQ(pdf.find("/FontDescriptor"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --check " + dir.file("n.pdf"));
  EXPECT_EQ(check.status, 0) << check.output;
}
