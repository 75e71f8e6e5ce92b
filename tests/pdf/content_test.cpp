// Page content: streams, graphics state, text placement, escaping and the
// drawing objects, checked on the uncompressed content streams.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cmath>

#include "pdf/pdf_format.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {

// Runs `draw` on one letter page and returns the page's content streams.
template <typename Draw>
std::vector<std::string> Streams(Draw draw, std::string* whole = nullptr) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("c.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  draw(g);
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("c.pdf"));
  EXPECT_EQ(XrefProblems(pdf), "");
  if (whole) *whole = pdf;
  return PlainStreams(pdf);
}

}  // namespace

TEST(PdfContent, StringAtAngleZeroSitsOneSizeBelowItsTop) {
  auto s = Streams([](TestGenerator& g) { g.EmitString("", "Hi", Text(1000, 1000, "Helvetica", 10)); });
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0], "BT\r\n/F1 10 Tf\r\n0 0 0 rg\r\n1 0 0 1 72 710 Tm [(Hi)] TJ\r\nET\r\n");
}

TEST(PdfContent, UnclippedStringsShareOneTextObjectAndALineSplitsThem) {
  auto shared = Streams([](TestGenerator& g) {
    g.EmitString("", "One", Text(1000, 1000));
    g.EmitString("", "Two", Text(1000, 1200));
  });
  ASSERT_EQ(shared.size(), 1u);
  EXPECT_EQ(Count(shared[0], "BT\r\n"), 1u);
  EXPECT_EQ(Count(shared[0], " TJ\r\n"), 2u);

  std::string pdf;
  auto split = Streams(
      [](TestGenerator& g) {
        g.EmitString("", "One", Text(1000, 1000));
        g.EmitLine("", Line(1000, 1100, 3000, 1100));
        g.EmitString("", "Two", Text(1000, 1200));
      },
      &pdf);
  ASSERT_EQ(split.size(), 3u);
  EXPECT_EQ(split[0].rfind("BT", 0), 0u);
  EXPECT_EQ(split[1].find("BT"), std::string::npos);
  EXPECT_EQ(split[2].rfind("BT", 0), 0u);
  EXPECT_NE(pdf.find("/Contents [ 6 0 R 7 0 R 8 0 R]"), std::string::npos);
}

TEST(PdfContent, ClippedStringIsWrappedInItsOwnClip) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(1000, 1000);
    f.POS = {1000, 1000, 1250, 3000};  // top, left, bottom, right
    g.EmitString("", "Cell", f);
    g.EmitString("", "Free", Text(1000, 2000));
  });
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "q\r\n72 720 144 -18 re\r\nW n\r\nBT\r\n/F1 10 Tf\r\n0 0 0 rg\r\n1 0 0 1 72 710 Tm [(Cell)] TJ\r\nET\r\nQ\r\n");
  EXPECT_EQ(s[1].rfind("BT\r\n", 0), 0u);
}

TEST(PdfContent, BackgroundOfAStringIsAFilledBoxBeforeTheText) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(1000, 1000);
    f.POS = {1000, 1000, 1250, 3000};
    f.BACKGROUNDCOLOR = 0x0000FF;
    f.COLOR = 0xFF0000;
    g.EmitString("", "Cell", f);
  });
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "[] 0 d\r\n1 0 0 RG\r\n0 w\r\n1 0 0 rg\r\n72 720 144 -18 re\r\nB\r\n");
  EXPECT_NE(s[1].find("0 0 1 rg\r\n"), std::string::npos);  // blue text
}

TEST(PdfContent, ColoursWidthsAndDashesAreWrittenOncePerStream) {
  auto s = Streams([](TestGenerator& g) {
    auto box = Box(1000, 1000, 2000, 2000);
    box.STYLE.BORDERCOLOR = 0x0000FF;
    box.STYLE.BORDERWIDTH = 0;
    g.EmitBox("", box);
    g.EmitBox("", box);  // same state: nothing restated
    box.STYLE.BORDERSTYLE = 1;
    box.STYLE.BORDERWIDTH = 8;
    g.EmitBox("", box);
    for (int style : {2, 3, 7}) {
      auto line = Line(0, 0, 100, 100);
      line.STYLE = style;
      g.EmitLine("", line);
    }
  });
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(Count(s[0], "1 0 0 RG\r\n"), 1u);
  EXPECT_EQ(Count(s[0], "0 w\r\n"), 1u);
  EXPECT_EQ(Count(s[0], "[] 0 d\r\n"), 2u);
  EXPECT_EQ(Count(s[0], "[3] 3 d\r\n"), 1u);
  EXPECT_EQ(Count(s[0], "[1] 1 d\r\n"), 1u);
  EXPECT_EQ(Count(s[0], "[3 2 1 2] 0 d\r\n"), 1u);
  EXPECT_EQ(Count(s[0], "0.955 w\r\n"), 1u);  // 8 pen units = 8 * 567 / 4750 points
  EXPECT_EQ(Count(s[0], "72 720 72 -72 re\r\ns\r\n"), 3u);
}

TEST(PdfContent, ANewStreamRestatesTheStateItNeeds) {
  auto s = Streams([](TestGenerator& g) {
    g.EmitLine("", Line(0, 0, 1000, 0, 0x00FF00, 8));
    g.EmitString("", "Break", Text(1000, 1000));
    g.EmitLine("", Line(0, 100, 1000, 100, 0x00FF00, 8));
  });
  ASSERT_EQ(s.size(), 3u);
  EXPECT_NE(s[0].find("0 1 0 RG\r\n"), std::string::npos);
  EXPECT_NE(s[2].find("0 1 0 RG\r\n"), std::string::npos);
  EXPECT_NE(s[2].find("0.955 w\r\n"), std::string::npos);
}

TEST(PdfContent, LinesBoxesEllipsesAndPolygonsDrawTheirPaths) {
  auto s = Streams([](TestGenerator& g) {
    g.EmitLine("", Line(1000, 1000, 3000, 2000));
    g.EmitBox("", Box(1000, 1000, 2000, 1500, 0xFFFFFF));
    tx::EllipseFormat e;
    e.POS = {6000, 1000, 7000, 3000};
    e.STYLE.BACKGROUNDCOLOR = -1;
    g.EmitEllipse("", e);
    tx::ShapeStyle ps;
    ps.BACKGROUNDCOLOR = 0x00FFFF;
    g.EmitPolygon("", {{1000, 1000}, {2000, 2000}, {500, 2000}}, ps);
    ps.BACKGROUNDCOLOR = -1;
    g.EmitPolygon("", {{0, 0}, {100, 0}}, ps);
    g.EmitPolygon("", {}, ps);
  });
  ASSERT_EQ(s.size(), 1u);
  EXPECT_NE(s[0].find("72 720 m\r\n216 648 l\r\ns\r\n"), std::string::npos);
  EXPECT_NE(s[0].find("1 1 1 rg\r\n72 720 72 -36 re\r\nB\r\n"), std::string::npos);
  EXPECT_NE(s[0].find("216 324 m\r\n216 343 183 360 143 360 c\r\n104 359 71 343 72 323 c\r\n"
                      "72 304 104 287 144 288 c\r\n183 288 216 304 216 324 c\r\ns\r\n"),
            std::string::npos);
  EXPECT_NE(s[0].find("1 1 0 rg\r\n72 720 m\r\n144 648 l\r\n36 648 l\r\nh\r\nB\r\n"), std::string::npos);
  EXPECT_NE(s[0].find("0 792 m\r\n7.2 792 l\r\nh\r\ns\r\n"), std::string::npos);
}

TEST(PdfContent, TextEscapingCoversBracketsBackslashAndControls) {
  TestGenerator g;
  EXPECT_EQ(g.EscapeText("(a\\b)", false), "\\(a\\\\b\\)");
  EXPECT_EQ(g.EscapeText("a\tb\nc\x1d" "d", false), "a b c d");
  EXPECT_EQ(g.EscapeText(std::string("\x1e\x7f\x81\x80", 4), false), std::string("\x1e  \x80", 4));
  g.Page().OBJCHARSET = 186;
  EXPECT_EQ(g.EscapeText(std::string("a\xd0" "b\x83", 4), false), "a)<8A>(b ");
  EXPECT_EQ(g.EscapeText(std::string("\x8d\x8f\xa8\xaf\xb8\xbf\xde\xfe\x88\x8a\x8c", 11), false),
            ")<A8>()<B8>()<D8>()<C6>()<F8>()<E6>()<8E>()<9E>(   ");
  EXPECT_EQ(g.EscapeText(std::string("\xd0", 1), true), std::string("\xd0", 1));
  g.Page().OBJCHARSET = 0;
  EXPECT_EQ(g.EscapeText(std::string("\xd0", 1), false), std::string("\xd0", 1));
}

TEST(PdfContent, BalticTextInsertsHexStringsInsideTheArray) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(1000, 1000);
    f.CHARSET = 186;
    g.EmitString("", std::string("x\xd0y", 3), f);
  });
  ASSERT_EQ(s.size(), 1u);
  EXPECT_NE(s[0].find("Tm [(x)<8A>(y)] TJ\r\n"), std::string::npos) << s[0];
}

TEST(PdfContent, AttributesAreReadInsideTheirTarget) {
  using G = TestGenerator;
  EXPECT_EQ(G::GetAttribute("PDF(SKIP=1|FONTNAME=Arial)", "SKIP", "PDF"), "1");
  EXPECT_EQ(G::GetAttribute("PDF(SKIP=1|FONTNAME=Arial)", "FONTNAME", "PDF"), "Arial");
  EXPECT_EQ(G::GetAttribute("PDF(SKIP=1|FONTNAME=Arial)", "HIDE", "PDF"), "");
  EXPECT_EQ(G::GetAttribute("ALL(HIDE=1) PDF(SKIP=1)", "HIDE", "PDF"), "");
  EXPECT_EQ(G::GetAttribute("ALL(HIDE=1) PDF(SKIP=1)", "HIDE", "ALL"), "1");
  EXPECT_EQ(G::GetAttribute("pdf(SKIP=1)", "SKIP", "PDF"), "");
  EXPECT_EQ(G::GetAttribute("PDF(SKIP=1", "SKIP", "PDF"), "");
  EXPECT_EQ(G::GetAttribute("", "SKIP", "PDF"), "");
  std::string padded = "PDF(FONTNAME=Courier)" + std::string(2027, ' ');
  EXPECT_EQ(G::GetAttribute(padded, "FONTNAME", "PDF"), "Courier");
}

TEST(PdfContent, SkippedObjectsLeaveNoTraceAndHiddenOnesDrawNothing) {
  std::string pdf;
  auto s = Streams(
      [](TestGenerator& g) {
        g.EmitString("ALL(SKIP=1)", "Gone", Text(1000, 1000));
        g.EmitBox("PDF(SKIP=yes)", Box(0, 0, 100, 100));
        g.EmitLine("PDF(HIDE=1)", Line(0, 0, 100, 100));
        g.EmitString("PDF(HIDE=1)", "Hidden", Text(1000, 1000));
        std::vector<tx::TextRow> rows(1);
        rows[0].FORMAT = Text(0, 0);
        rows[0].TEXT = "Row";
        g.EmitTextBlock("ALL(SKIP=1)", rows);
      },
      &pdf);
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(pdf.find("/Contents"), std::string::npos);
  EXPECT_EQ(pdf.find("/Font"), std::string::npos);
}

TEST(PdfContent, FontNameAttributeReplacesTheFace) {
  std::string pdf;
  Streams([](TestGenerator& g) { g.EmitString("PDF(FONTNAME=Courier)", "Mono", Text(1000, 1000, "Arial")); },
          &pdf);
  EXPECT_NE(pdf.find("/BaseFont /Courier\r\n"), std::string::npos);
  EXPECT_EQ(pdf.find("Liberation"), std::string::npos);
}

TEST(PdfContent, TextBlockDrawsEveryLineWithoutClipAndOneBackground) {
  auto s = Streams([](TestGenerator& g) {
    std::vector<tx::TextRow> rows(3);
    for (int i = 0; i < 3; ++i) {
      rows[i].FORMAT = Text(1000, 1000 + 200 * i);
      rows[i].FORMAT.POS = {1000 + 200 * i, 1000, 1200 + 200 * i, 4000};
      rows[i].FORMAT.BACKGROUNDCOLOR = 0x00FF00;
    }
    rows[0].TEXT = "First";
    rows[1].TEXT = "";
    rows[2].TEXT = "Third";
    g.EmitTextBlock("", rows);
  });
  ASSERT_EQ(s.size(), 2u);
  EXPECT_NE(s[0].find("72 720 216 -14.4 re\r\nB\r\n"), std::string::npos) << s[0];
  EXPECT_EQ(s[1].find(" re\r\n"), std::string::npos);
  EXPECT_EQ(Count(s[1], " TJ\r\n"), 2u);
  EXPECT_NE(s[1].find("[(First)]"), std::string::npos);
  EXPECT_NE(s[1].find("[(Third)]"), std::string::npos);
}

TEST(PdfContent, CheckGroupAndRadioAreBuiltFromSimplerObjects) {
  auto check = Streams([](TestGenerator& g) {
    tx::CheckFormat c;
    c.POS = {1000, 1000, 1150, 1150};
    c.STYLE.BORDERWIDTH = 8;
    c.CHECKED = 1;
    c.PROMPT = Text(1300, 1000);
    g.EmitCheck("", "Yes", c);
  });
  ASSERT_EQ(check.size(), 2u);
  EXPECT_NE(check[0].find("72 720 10.8 -10.8 re\r\ns\r\n"), std::string::npos) << check[0];
  EXPECT_NE(check[0].find("72 720 m\r\n82.8 709.2 l\r\ns\r\n"), std::string::npos) << check[0];
  EXPECT_NE(check[0].find("72 709.2 m\r\n82.8 720 l\r\ns\r\n"), std::string::npos) << check[0];
  EXPECT_NE(check[1].find("[(Yes)] TJ"), std::string::npos);

  auto group = Streams([](TestGenerator& g) {
    tx::GroupFormat gr;
    gr.POS = {1000, 1000, 3000, 5000};
    gr.HEADER = Text(1200, 950);
    gr.X1 = 1150;
    gr.X2 = 2000;
    gr.LINECOLOR = 0x808080;
    gr.LINEWIDTH = 8;
    g.EmitGroup("PDF(FONTNAME=Times)", "Caption", gr);
  });
  ASSERT_EQ(group.size(), 2u);
  EXPECT_NE(group[0].find("72 720 288 -144 re\r\ns\r\n"), std::string::npos) << group[0];
  EXPECT_NE(group[0].find("1 1 1 RG\r\n"), std::string::npos);
  EXPECT_NE(group[0].find("82.8 720 m\r\n144 720 l\r\ns\r\n"), std::string::npos) << group[0];
  EXPECT_NE(group[1].find("[(Caption)] TJ"), std::string::npos);

  std::string pdf;
  auto radio = Streams(
      [](TestGenerator& g) {
        tx::RadioFormat r;
        r.OUTER.POS = {1000, 1000, 1150, 1150};
        r.OUTER.STYLE.BACKGROUNDCOLOR = 0xFFFFFF;
        r.INNER.POS = {1050, 1050, 1100, 1100};
        r.INNER.STYLE.BACKGROUNDCOLOR = 0;
        r.CHECKED = 1;
        r.PROMPT = Text(1300, 1000);
        g.EmitRadio("", "Option", r);
      },
      &pdf);
  ASSERT_EQ(radio.size(), 2u);
  EXPECT_EQ(Count(radio[0], " c\r\n"), 8u);
  EXPECT_EQ(Count(radio[0], "\r\ns\r\n"), 1u);  // outer ring not filled
  EXPECT_EQ(Count(radio[0], "\r\nB\r\n"), 1u);  // inner dot filled
}

TEST(PdfContent, UnderlineOfAStandardFontHasTheTextLength) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(1000, 1000, "Helvetica", 10);
    f.STYLE = 400 | 0x2000 | 0x4000;
    g.EmitString("", "Underlined", f);
  });
  ASSERT_EQ(s.size(), 2u);
  // Underline at top + 150 units, strike-out at top + 90; both start at the text.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(s[1], m, std::regex("72 709.2 m\r\n([0-9.]+) 709.2 l\r\n"))) << s[1];
  double end = std::stod(m[1]);
  // "Underlined" is about 49 points wide in Helvetica 10; plus 5 %.
  EXPECT_GT(end, 72 + 45);
  EXPECT_LT(end, 72 + 56);
  EXPECT_NE(s[1].find("72 713.52 m\r\n"), std::string::npos) << s[1];
}

TEST(PdfContent, RotatedTextTurnsTheMatrix) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(3000, 3000, "Helvetica", 10);
    f.ANGLE = 90;
    g.EmitString("", "Up", f);
    f.ANGLE = 0;
    g.EmitString("", "Flat", f);
  });
  ASSERT_EQ(s.size(), 1u);
  EXPECT_NE(s[0].find("0 1 -1 0 226 576 Tm [(Up)] TJ"), std::string::npos) << s[0];
  EXPECT_NE(s[0].find("1 0 0 1 216 566 Tm [(Flat)] TJ"), std::string::npos) << s[0];
}

TEST(PdfContent, CompressedStreamsNameTheShortFilterAndInflateToTheContent) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("z.pdf"));
  g.SetCompression(true, false);
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Hi", Text(1000, 1000, "Helvetica", 10));
  g.FinishPage();
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("z.pdf"));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("6 0 obj\r\n<< /Filter /Fl /Length (\\d+) >>\r\nstream\r\n")));
  size_t start = static_cast<size_t>(m.position(0) + m.length(0));
  size_t length = std::stoul(m[1]);
  EXPECT_EQ(pdf.compare(start + length, 13, "\r\nendstream\r\n"), 0);
  std::string plain(200, '\0');
  uLongf size = plain.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                       reinterpret_cast<const Bytef*>(pdf.data() + start), length),
            Z_OK);
  plain.resize(size);
  EXPECT_EQ(plain, "BT\r\n/F1 10 Tf\r\n0 0 0 rg\r\n1 0 0 1 72 710 Tm [(Hi)] TJ\r\nET\r\n");
  EXPECT_EQ(XrefProblems(pdf), "");
}

TEST(PdfContent, NumbersHaveThreeDecimalsAtMostAndNoExponent) {
  using tx::pdf::Num;
  EXPECT_EQ(Num(72), "72");
  EXPECT_EQ(Num(0.5), "0.5");
  EXPECT_EQ(Num(-1.25), "-1.25");
  EXPECT_EQ(Num(-0.0001), "0");
  EXPECT_EQ(Num(1e-9), "0");
  EXPECT_EQ(Num(123456789.0), "123456789");
  EXPECT_EQ(Num(0.0725), "0.073");
  EXPECT_EQ(Num(-0.072), "-0.072");
  EXPECT_EQ(Num(611.928), "611.928");
  EXPECT_EQ(Num(1.0 / 3), "0.333");
  EXPECT_EQ(tx::pdf::ColorText(0x0000FF), "1 0 0");
  EXPECT_EQ(tx::pdf::ColorText(0x808080), "0.502 0.502 0.502");
  EXPECT_EQ(tx::pdf::LineWidth(0), "0");
  EXPECT_EQ(tx::pdf::LineWidth(8), "0.955");
}

TEST(PdfContent, TurnedTrueTypeTextIsShiftedByHalfItsMeasuredWidth) {
  auto s = Streams([](TestGenerator& g) {
    auto f = Text(3000, 3000, "Arial", 10);
    f.ANGLE = 45;
    g.EmitString("", "Wide text", f);
  });
  ASSERT_EQ(s.size(), 1u);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(s[0], m, std::regex("0\\.707 0\\.707 -0\\.707 0\\.707 ([0-9.]+) ([0-9.]+) Tm"))) << s[0];
  // "Wide text" is 4168 thousandths of an em in Arial: 41.68 points at size 10,
  // in report units plus 5 %. The turned angle is 225 degrees.
  double w = 4168 / 72.0 * 10 * 1.05, c = std::cos(225 * 0.0174532925199), sn = std::sin(225 * 0.0174532925199);
  double x = std::fabs((3000 + w / 2 * c) * 0.072 - sn * 10);
  double y = 792 - std::fabs((3000 - w / 2 * sn) * 0.072 - c * 10);
  EXPECT_NEAR(std::stod(m[1]), x, 0.01);
  EXPECT_NEAR(std::stod(m[2]), y, 0.01);
  EXPECT_LT(std::stod(m[1]), 216 - 5);  // an unmeasured text would sit at 223.07
}

TEST(PdfContent, PolygonOpeningAStreamStatesTheCurrentStateThenItsOwn) {
  auto s = Streams([](TestGenerator& g) {
    tx::ShapeStyle ps;
    ps.BACKGROUNDCOLOR = 0x0000FF;
    ps.BORDERCOLOR = 0x00FF00;
    ps.BORDERWIDTH = 8;
    ps.BORDERSTYLE = 1;
    g.EmitPolygon("", {{1000, 1000}, {2000, 1000}, {2000, 2000}}, ps);
  });
  ASSERT_EQ(s.size(), 1u);
  // The opening restates pen, fill, width 1 and solid dash; the polygon's
  // dash, width and colours follow because this stream has not set them yet.
  EXPECT_EQ(s[0],
            "0 0 0 RG\r\n0 0 0 rg\r\n0.119 w\r\n[] 0 d\r\n"
            "[3] 3 d\r\n0.955 w\r\n0 1 0 RG\r\n1 0 0 rg\r\n"
            "72 720 m\r\n144 720 l\r\n144 648 l\r\nh\r\nB\r\n");
}
