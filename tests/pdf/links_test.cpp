// Links, notes and bookmarks from attribute strings.
#include <gtest/gtest.h>

#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {
template <typename Draw>
std::string Document(Draw draw, bool pageBookmarks = false, int pages = 1, bool render = true) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("l.pdf"));
  g.SetPagesAsParentBookmark(pageBookmarks ? 1 : 0);
  g.BeginDocument(pages);
  for (int page = 1; page <= pages; ++page) {
    g.BeginPage("p", 0, 0, 8500, 11000);
    draw(g, page);
    g.FinishPage();
  }
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("l.pdf"));
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --check " + dir.file("l.pdf"));
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
  if (render) {
    auto drawn = RunTool("mutool draw -q -o /dev/null " + dir.file("l.pdf") + " 2>&1 | grep -v 'ICC support'");
    EXPECT_EQ(drawn.output, "");
  }
  return pdf;
}
}  // namespace

TEST(PdfLinks, MailLinkTakesTheObjectTextAfterTheScheme) {
  std::string pdf = Document([](TestGenerator& g, int) {
    auto f = Text(1000, 1000);
    f.POS = {1000, 1000, 1200, 3000};
    g.EmitString("PDF(PDFActionType=1|Hyperlink=Hyperlink|HyperType=mailto:)", "me@example.com", f);
  });
  // Text stream 6, page 7, the link 8.
  EXPECT_NE(pdf.find("/Annots [ 8 0 R ]\r\n"), std::string::npos) << pdf;
  EXPECT_NE(pdf.find("8 0 obj <<\r\n/Type /Annot \r\n/Subtype /Link\r\n/Rect [ 72 706 216 720 ]\r\n"
                     "/Border [ 0 0 0 ]\r\n/C [ 1 0 0 ]\r\n/A <</Type /Action /S /URI /URI (mailto:me@example.com)>>\r\n"
                     ">> \r\nendobj\r\n"),
            std::string::npos)
      << pdf;
}

TEST(PdfLinks, NamedActionsAndBoxedBorders) {
  std::string pdf = Document([](TestGenerator& g, int) {
    g.EmitBox("PDF(PDFActionType=4|PageAction=next|HyperBoxColor=65280)", Box(1000, 1000, 2000, 2000));
    g.EmitBox("PDF(PDFActionType=4|PageAction=Sideways)", Box(1000, 3000, 2000, 4000));
  });
  EXPECT_NE(pdf.find("/Border [ 0 0 1 ]\r\n/C [ 0 1 0 ]\r\n/A <</Type /Action /S /Named /N /NextPage>>\r\n"),
            std::string::npos) << pdf;
  EXPECT_NE(pdf.find("/Border [ 0 0 0 ]\r\n/C [ 0 1 0 ]\r\n/A <</Type /Action /S /Named>>\r\n"), std::string::npos);
}

TEST(PdfLinks, LaunchLinksCarryWindowsParameters) {
  // mupdf knows no Windows launch parameters and says so; qpdf checks the file.
  std::string pdf = Document(
      [](TestGenerator& g, int) {
        g.EmitLine("PDF(PDFActionType=2|CommandLine=notepad.exe|CommandLineParam=a.txt)", Line(0, 0, 1000, 1000));
        g.EmitLine("PDF(PDFActionType=2|CommandLine=calc.exe)", Line(0, 0, 1000, 1000));
      },
      false, 1, false);
  EXPECT_NE(pdf.find("/A <</Type /Action /S /Launch /Win <</F (notepad.exe) /P (a.txt)>>>>\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/A <</Type /Action /S /Launch /Win <</F (calc.exe)>>>>\r\n"), std::string::npos);
}

TEST(PdfLinks, LinksAreNumberedAfterThePageInQueueOrder) {
  std::string pdf = Document([](TestGenerator& g, int) {
    g.EmitBox("PDF(PDFActionType=1|Hyperlink=example.org/a|HyperType=https://)", Box(1000, 1000, 2000, 2000));
    g.EmitBox("PDF(PDFActionType=1|Hyperlink=example.org/b|HyperType=https://)", Box(1000, 3000, 2000, 4000));
  });
  EXPECT_NE(pdf.find("7 0 obj <<\r\n/Type /Page"), std::string::npos);
  EXPECT_NE(pdf.find("/Annots [ 8 0 R 9 0 R ]\r\n"), std::string::npos);
  size_t a = pdf.find("8 0 obj <<\r\n/Type /Annot");
  size_t b = pdf.find("9 0 obj <<\r\n/Type /Annot");
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(b, std::string::npos);
  EXPECT_LT(pdf.find("https://example.org/a"), b);
  EXPECT_GT(pdf.find("https://example.org/b"), b);
}

TEST(PdfLinks, NoteAtTheTopLeftCorner) {
  std::string pdf = Document([](TestGenerator& g, int) {
    g.EmitBox("PDF(PDFActionType=3|Annotation=Check this)", Box(0, 0, 500, 500));
  });
  EXPECT_NE(pdf.find("/Subtype /Text\r\n/Rect [ 0 779 50 792 ]\r\n/Contents (Check this)\r\n>> \r\nendobj"),
            std::string::npos) << pdf;
}

TEST(PdfLinks, TextBlockNoteJoinsAllLines) {
  std::string pdf = Document([](TestGenerator& g, int) {
    std::vector<tx::TextRow> rows(3);
    for (int i = 0; i < 3; ++i) rows[i].FORMAT = Text(1000, 1000 + 200 * i);
    rows[0].TEXT = "One ";
    rows[1].TEXT = "two ";
    rows[2].TEXT = "three";
    g.EmitTextBlock("PDF(PDFActionType=3|Annotation=Annotation)", rows);
  });
  EXPECT_EQ(Count(pdf, "/Subtype /Text"), 1u);
  EXPECT_NE(pdf.find("/Contents (One two three)"), std::string::npos) << pdf;
}

TEST(PdfLinks, HotAreaWidensTheObject) {
  std::string pdf = Document([](TestGenerator& g, int) {
    g.EmitBox("ALL(HW=2000|HH=1000) PDF(PDFActionType=4|PageAction=last)", Box(1000, 1000, 1100, 1100));
  });
  EXPECT_NE(pdf.find("/Rect [ 72 648 216 720 ]"), std::string::npos) << pdf;
  EXPECT_NE(pdf.find("72 720 144 -72 re"), std::string::npos);  // the box is drawn widened too
}

TEST(PdfLinks, SkippedObjectsMakeNoLinksButHiddenOnesDo) {
  std::string pdf = Document([](TestGenerator& g, int) {
    g.EmitBox("ALL(SKIP=1) PDF(PDFActionType=4|PageAction=next)", Box(0, 0, 100, 100));
    g.EmitBox("PDF(HIDE=1|PDFActionType=4|PageAction=prev)", Box(0, 0, 100, 100));
  });
  EXPECT_EQ(pdf.find("/NextPage"), std::string::npos);
  EXPECT_NE(pdf.find("/PrevPage"), std::string::npos);
  EXPECT_EQ(pdf.find(" re\r\n"), std::string::npos);
}

TEST(PdfLinks, BookmarksBecomeAnOutlineTree) {
  std::string pdf = Document([](TestGenerator& g, int) {
    auto at = [](int top) {
      auto f = Text(1000, top);
      f.POS = {top, 1000, top + 200, 3000};
      return f;
    };
    g.EmitString("PDF(Bookmark=Bookmark)", "Amp block", at(2000));
    g.EmitString("PDF(Bookmark=Drive|BookmarkParent=Amp block)", "x", at(3000));
    g.EmitString("PDF(Bookmark=Cab block)", "y", Text(1000, 4000));
  });
  // Content 6 to 8, page 9; items 10 (Amp), 11 (Drive), 12 (Cab).
  EXPECT_NE(pdf.find("10 0 obj <<\r\n/Parent 5 0 R\r\n/First 11 0 R\r\n/Last 11 0 R\r\n/Count -1\r\n"
                     "/Dest [9 0 R /XYZ 72 648 null]\r\n% TEXT:Amp block OBJ:10 PAGE:1\r\n/Title (Amp block)\r\n"
                     "/Next 12 0 R\r\n>>\r\nendobj\r\n"),
            std::string::npos) << pdf;
  EXPECT_NE(pdf.find("11 0 obj <<\r\n/Parent 10 0 R\r\n/Dest [9 0 R /XYZ 72 576 null]"), std::string::npos);
  // A bookmark at the page corner has no position to go to.
  EXPECT_NE(pdf.find("12 0 obj <<\r\n/Parent 5 0 R\r\n/Prev 10 0 R\r\n/Dest [9 0 R /XYZ null null null]"),
            std::string::npos);
  EXPECT_NE(pdf.find("5 0 obj\r\n<< \r\n/Type /Outlines\r\n/Count 3\r\n/First 10 0 R\r\n/Last 12 0 R\r\n>> "),
            std::string::npos);
}

TEST(PdfLinks, PageBookmarksParentEveryOtherBookmarkOfTheirPage) {
  std::string pdf = Document(
      [](TestGenerator& g, int page) {
        auto f = Text(1000, 2000);
        f.POS = {2000, 1000, 2200, 3000};
        g.EmitString("PDF(Bookmark=Bookmark)", "Entry " + std::to_string(page), f);
      },
      true, 2);
  // Items in creation order: Page_1, Entry 1, Page_2, Entry 2.
  EXPECT_NE(pdf.find("/Count 4\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("% TEXT:Page_1 OBJ:"), std::string::npos);
  EXPECT_NE(pdf.find("% TEXT:Page_2 OBJ:"), std::string::npos);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("(\\d+) 0 obj <<\r\n/Parent (\\d+) 0 R\r\n/Dest \\[\\d+ 0 R /XYZ 72 648 null\\]"
                                                   "\r\n% TEXT:Entry 2")));
  std::string parent = m[2];
  EXPECT_NE(pdf.find(parent + " 0 obj <<\r\n/Parent 5 0 R\r\n/First " + m[1].str() + " 0 R"), std::string::npos);
}

TEST(PdfLinks, EncryptedAnnotationsAndTitlesAreUnreadableWithoutThePassword) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("e.pdf"));
  g.SetPassword("pw");
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitBox("PDF(PDFActionType=3|Annotation=Private note|Bookmark=Private mark)", Box(0, 0, 100, 100));
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("e.pdf"));
  EXPECT_EQ(pdf.find("Private"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --password=pw --check " + dir.file("e.pdf"));
  EXPECT_EQ(check.status, 0) << check.output;
  auto json = RunTool("qpdf --password=pw --json --json-key=outlines " + dir.file("e.pdf"));
  EXPECT_NE(json.output.find("Private mark"), std::string::npos) << json.output;
}

namespace {
std::string Squeezed(const std::string& json) {
  std::string out;
  bool quoted = false;
  for (size_t i = 0; i < json.size(); ++i) {
    char c = json[i];
    if (c == '"' && (i == 0 || json[i - 1] != '\\')) quoted = !quoted;
    if (!quoted && (c == ' ' || c == '\n' || c == '\r' || c == '\t')) continue;
    out += c;
  }
  return out;
}
}  // namespace

TEST(PdfLinks, ReadersSeeTheAnnotationsAndTheOutlineTree) {
  for (std::string password : {"", "pw"}) {
    TempDir dir;
    TestGenerator g;
    std::string path = dir.file("r.pdf");
    if (!password.empty()) g.SetPassword(password);
    g.Init(path);
    g.SetPagesAsParentBookmark(1);
    g.BeginDocument(2);
    for (int page = 1; page <= 2; ++page) {
      g.BeginPage("p", 0, 0, 8500, 11000);
      g.EmitBox("PDF(PDFActionType=1|Hyperlink=example.org/a|HyperType=https://|HyperBoxColor=16711680|Bookmark=Amp)",
                Box(1000, 1000, 2000, 2000));
      g.EmitBox("ALL(HW=3000|HH=500) PDF(PDFActionType=4|PageAction=next|Bookmark=Drive|BookmarkParent=Amp)",
                Box(1000, 3000, 2000, 4000));
      g.EmitBox("PDF(PDFActionType=3|Annotation=Note here)", Box(1000, 5000, 2000, 6000));
      g.EmitBox("PDF(PDFActionType=2|CommandLine=notepad.exe|CommandLineParam=a.txt)", Box(1000, 7000, 2000, 8000));
      g.FinishPage();
    }
    ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
    std::string pw = password.empty() ? "" : " --password=" + password;
    auto check = RunTool("qpdf" + pw + " --check " + path);
    EXPECT_EQ(check.status, 0) << check.output;

    // Page 1 is object 7 (after content stream 6); its annotations follow it.
    std::string objects = Squeezed(RunTool("qpdf" + pw + " --json --json-key=qpdf " + path).output);
    EXPECT_NE(objects.find("\"obj:7 0 R\":{\"value\":{\"/Annots\":[\"8 0 R\",\"9 0 R\",\"10 0 R\",\"11 0 R\"]"),
              std::string::npos) << objects;
    EXPECT_NE(objects.find("\"obj:8 0 R\":{\"value\":{\"/A\":{\"/S\":\"/URI\",\"/Type\":\"/Action\",\"/URI\":"
                           "\"u:https://example.org/a\"},\"/Border\":[0,0,1],\"/C\":[0,0,1],"
                           "\"/Rect\":[72,648,144,720],\"/Subtype\":\"/Link\",\"/Type\":\"/Annot\"}}"),
              std::string::npos) << objects;
    // The hot area makes the link 3000 by 500 units; the colour stays, the border goes.
    EXPECT_NE(objects.find("\"obj:9 0 R\":{\"value\":{\"/A\":{\"/N\":\"/NextPage\",\"/S\":\"/Named\",\"/Type\":"
                           "\"/Action\"},\"/Border\":[0,0,0],\"/C\":[0,0,1],\"/Rect\":[72,540,288,576]"),
              std::string::npos) << objects;
    EXPECT_NE(objects.find("\"obj:10 0 R\":{\"value\":{\"/Contents\":\"u:Note here\",\"/Rect\":[72,419,122,432],"
                           "\"/Subtype\":\"/Text\",\"/Type\":\"/Annot\"}}"),
              std::string::npos) << objects;
    EXPECT_NE(objects.find("\"/A\":{\"/S\":\"/Launch\",\"/Type\":\"/Action\",\"/Win\":{\"/F\":\"u:notepad.exe\","
                           "\"/P\":\"u:a.txt\"}}"),
              std::string::npos) << objects;
    // Page 2 is object 13, its annotations 14 to 17.
    EXPECT_NE(objects.find("\"obj:13 0 R\":{\"value\":{\"/Annots\":[\"14 0 R\",\"15 0 R\",\"16 0 R\",\"17 0 R\"]"),
              std::string::npos);

    // The tree: each page's bookmark holds "Amp", which holds "Drive"; parents
    // with children are shown closed.
    std::string outlines = Squeezed(RunTool("qpdf" + pw + " --json --json-key=outlines " + path).output);
    for (std::string page : {"7", "13"}) {
      std::string n = page == "7" ? "1" : "2";
      std::string drive = "{\"dest\":[\"" + page + " 0 R\",\"/XYZ\",72,576,null],\"destpageposfrom1\":" + n +
                          ",\"kids\":[],\"object\":\"";
      std::string amp = "{\"dest\":[\"" + page + " 0 R\",\"/XYZ\",72,720,null],\"destpageposfrom1\":" + n +
                        ",\"kids\":[" + drive;
      std::string pageItem = "{\"dest\":[\"" + page + " 0 R\",\"/XYZ\",null,null,null],\"destpageposfrom1\":" + n +
                             ",\"kids\":[" + amp;
      EXPECT_NE(outlines.find(pageItem), std::string::npos) << outlines;
      EXPECT_NE(outlines.find("\"open\":true,\"title\":\"Drive\"}],\"object\""), std::string::npos);
      EXPECT_NE(outlines.find("\"open\":false,\"title\":\"Amp\"}],\"object\""), std::string::npos);
      EXPECT_NE(outlines.find("\"open\":false,\"title\":\"Page_" + n + "\"}"), std::string::npos);
    }
    // mupdf walks the tree by /First and /Next and shows it as a viewer would.
    auto shown = RunTool("mutool show" + (password.empty() ? "" : " -p " + password) + " " + path + " outline");
    EXPECT_EQ(std::regex_replace(shown.output, std::regex("warning: ICC support is not available\n"), ""),
              "+\t\"Page_1\"\t#page=1&zoom=nan,nan,nan\n"
              "+\t\t\"Amp\"\t#page=1&zoom=nan,72,72\n"
              "|\t\t\t\"Drive\"\t#page=1&zoom=nan,72,216\n"
              "+\t\"Page_2\"\t#page=2&zoom=nan,nan,nan\n"
              "+\t\t\"Amp\"\t#page=2&zoom=nan,72,72\n"
              "|\t\t\t\"Drive\"\t#page=2&zoom=nan,72,216\n");
    // Siblings linked both ways, closed parents counting their children.
    std::string pdfText = ReadFile(path);
    EXPECT_NE(pdfText.find("/Count 6\r\n"), std::string::npos);
  }
}
