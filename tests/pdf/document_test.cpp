// Document structure: header, object plan, page objects, resources, xref,
// trailer, output file handling and the save dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pdf_test_support.h"
#include "support/failing_files.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {
std::string OnePage(TestGenerator& g, const std::string& path, bool draw) {
  g.Init(path);
  g.BeginDocument(1);
  g.BeginPage("p1", 0, 0, 8500, 11000);
  if (draw) g.EmitString("", "Text", Text(1000, 1000));
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  return ReadFile(path);
}
}  // namespace

TEST(PdfDocument, StartsWithTheSixteenHeaderBytesAndInfoAndCatalog) {
  TempDir dir;
  TestGenerator g;
  std::string pdf = OnePage(g, dir.file("a.pdf"), true);
  ASSERT_GE(pdf.size(), 16u);
  EXPECT_EQ(pdf.substr(0, 16), std::string("%PDF-1.3\r%\xE2\xE3\xCF\xD3\r\n", 16));
  EXPECT_EQ(pdf.compare(16, 14, "1 0 obj\r\n<< \r\n"), 0);
  EXPECT_NE(pdf.find("/Title (PDF Document)\r\n/Creator (Vantor PDF)\r\n/Producer (Vantor PDF)\r\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("/Subject ()\r\n/Author ()\r\n/Keywords ()\r\n>> \r\nendobj\r\n2 0 obj\r\n<< \r\n"
                     "/Type /Catalog\r\n/Outlines 5 0 R\r\n/Pages 3 0 R\r\n>> \r\nendobj\r\n"),
            std::string::npos);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/CreationDate \\(D:(\\d{14})\\)\r\n")));
  EXPECT_NE(pdf.find("/ModDate (D:" + m[1].str() + ")"), std::string::npos);
  // No bare LF anywhere outside stream data: every line ends CR LF.
  std::string outside = pdf.substr(0, pdf.find("stream\r\n"));
  for (size_t i = 0; i < outside.size(); ++i) {
    if (outside[i] == '\n') {
      EXPECT_EQ(outside[i - 1], '\r') << "at " << i;
    }
  }
  EXPECT_EQ(XrefProblems(pdf), "");
}

TEST(PdfDocument, ZeroPagesStillMakeACompleteDocument) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("empty.pdf"));
  g.BeginDocument(0);
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("empty.pdf"));
  EXPECT_NE(pdf.find("3 0 obj\r\n<< \r\n/Type /Pages\r\n/Count 0\r\n/MediaBox [ 0 0 612 792 ]\r\n/Kids [ ]\r\n>>\r\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("4 0 obj\r\n<< \r\n/ProcSet [ /PDF /Text /ImageC ]\r\n>>\r\nendobj\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("5 0 obj\r\n<< \r\n/Type /Outlines\r\n/Count 0\r\n>> \r\nendobj\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("xref\r\n0 6 \r\n0000000000 65535 f\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("trailer\r\n<< \r\n/Size 6\r\n/Info 1 0 R\r\n/Root 2 0 R\r\n"
                     "/ID[<3f7a1c9e05b2d84a6e91c07f2b5d38e6><3f7a1c9e05b2d84a6e91c07f2b5d38e6>]\r\n>>\r\nstartxref\r\n"),
            std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
  EXPECT_EQ(XrefProblems(pdf), "");
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("empty.pdf")).status, 0);
}

TEST(PdfDocument, PageObjectsFollowTheirContentStreams) {
  TempDir dir;
  TestGenerator g;
  std::string pdf = OnePage(g, dir.file("a.pdf"), true);
  // The text stream is object 6, the page 7, the font 8.
  EXPECT_NE(pdf.find("7 0 obj <<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/Resources 4 0 R\r\n/MediaBox [ 0 0 612 792 ]\r\n"
                     "/Contents [ 6 0 R]\r\n>> \r\nendobj\r\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("/Kids [ 7 0 R ]"), std::string::npos);
  // The font sub-dictionary ends in a lone CR.
  EXPECT_NE(pdf.find("4 0 obj\r\n<< \r\n/Font << /F1 8 0 R >>\r/ProcSet"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
}

TEST(PdfDocument, PageWithoutDrawingHasNoContents) {
  TempDir dir;
  TestGenerator g;
  std::string pdf = OnePage(g, dir.file("a.pdf"), false);
  EXPECT_EQ(pdf.find("/Contents"), std::string::npos);
  EXPECT_NE(pdf.find("6 0 obj <<\r\n/Type /Page"), std::string::npos);
}

TEST(PdfDocument, MediaBoxIsTruncatedToWholePoints) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("a.pdf"));
  g.BeginDocument(2);
  g.BeginPage("a", 100, 200, 100 + 8499, 200 + 11013);  // 611.928 x 792.936 points
  EXPECT_EQ(g.Page().PAGETYPE, 256);
  g.FinishPage();
  g.BeginPage("b", 0, 0, 11000, 8500);
  g.FinishPage();
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("a.pdf"));
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 611 792 ]"), std::string::npos);
  // The pages tree carries the last page's size.
  EXPECT_NE(pdf.find("/Count 2\r\n/MediaBox [ 0 0 792 612 ]\r\n/Kids [ 6 0 R 7 0 R ]"), std::string::npos);
  EXPECT_EQ(g.Page().PAGENAME, "b");
}

TEST(PdfDocument, TitleDefaultsDependOnWhenItIsEmpty) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("a.pdf"));
  EXPECT_EQ(g.Document().TITLE, "PDF Document");
  g.Document().TITLE = "";
  g.BeginDocument(0);
  g.FinishDocument();
  EXPECT_NE(ReadFile(dir.file("a.pdf")).find("/Title (PDF-VT-Job)"), std::string::npos);
}

TEST(PdfDocument, InfoStringsAreTrimmedAndEscapedWithoutSubstitutions) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("a.pdf"));
  g.SetDocumentInfo("  Preset (A\\B)  ", "C\tD", "", "", "", std::string(1, static_cast<char>(208)));
  g.Page().OBJCHARSET = 186;
  g.BeginDocument(0);
  g.FinishDocument();
  std::string pdf = ReadFile(dir.file("a.pdf"));
  EXPECT_NE(pdf.find("/Title (Preset \\(A\\\\B\\))\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/Creator (C D)\r\n"), std::string::npos);
  EXPECT_NE(pdf.find(std::string("/Keywords (") + static_cast<char>(208) + ")\r\n"), std::string::npos);
}

TEST(PdfDocument, PaperCodesGiveTheirSizes) {
  using P = std::pair<int32_t, int32_t>;
  EXPECT_EQ(TestGenerator::PaperSize(1), P(8500, 11000));
  EXPECT_EQ(TestGenerator::PaperSize(18), P(8500, 11000));
  EXPECT_EQ(TestGenerator::PaperSize(4), P(17000, 11000));
  EXPECT_EQ(TestGenerator::PaperSize(9), P(8250, 11688));
  EXPECT_EQ(TestGenerator::PaperSize(35), P(6929, 4921));
  EXPECT_EQ(TestGenerator::PaperSize(41), P(8500, 13000));
  EXPECT_EQ(TestGenerator::PaperSize(42), P(0, 0));
  EXPECT_EQ(TestGenerator::PaperSize(0), P(0, 0));
}

TEST(PdfDocument, XrefOffsetsHoldForLongCompressedDocuments) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("long.pdf"));
  g.SetCompression(true, false);
  g.BeginDocument(30);
  for (int page = 0; page < 30; ++page) {
    g.BeginPage("p", 0, 0, 8500, 11000);
    for (int row = 0; row < 40; ++row) {
      g.EmitString("", "Row " + std::to_string(row) + " of page " + std::to_string(page),
                   Text(500, 500 + row * 250, row % 2 ? "Arial" : "Helvetica"));
      if (row % 4 == 0) g.EmitLine("", Line(500, 560 + row * 250, 8000, 560 + row * 250));
    }
    g.FinishPage();
  }
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("long.pdf"));
  EXPECT_GT(pdf.size(), tx::PDFOutputFile::kPiece);
  EXPECT_EQ(static_cast<size_t>(g.Output().FPOS), pdf.size());
  EXPECT_EQ(XrefProblems(pdf), "");
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("long.pdf")).status, 0);
}

TEST(PdfDocument, ChooseOutputAsksOnlyWithoutATargetName) {
  TempDir dir;
  TestGenerator g;
  g.Init();
  g.cancelDialog = true;
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::NotDone);
  EXPECT_EQ(g.dialogs, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  g.cancelDialog = false;
  g.dialogAnswer = dir.file("report");
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::Done);
  EXPECT_EQ(g.Output().GetName(), dir.file("report.PDF"));
  EXPECT_EQ(g.dialogs, 2);
  // A name is now set: no second question.
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::Done);
  EXPECT_EQ(g.dialogs, 2);

  g.SetTargetName("");
  g.dialogAnswer = dir.file("keep.pdf");
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::Done);
  EXPECT_EQ(g.Output().GetName(), dir.file("keep.pdf"));
}

TEST(PdfDocument, FinishedFileJoinsTheOutputListAndTheNameIsCleared) {
  TempDir dir;
  TestGenerator g;
  std::vector<std::string> files = {"stale"};
  g.SetOutputFileList(&files);
  EXPECT_TRUE(files.empty());
  g.Init(dir.file("a.pdf"));
  g.BeginDocument(0);
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], dir.file("a.pdf"));
  EXPECT_EQ(g.Output().GetName(), "");
  EXPECT_FALSE(g.OutputFailed());
  EXPECT_EQ(g.ProducesFiles(), 1);
  EXPECT_EQ(g.TargetKind(), "PDF");
  EXPECT_EQ(g.TargetName(), "PDF");
  EXPECT_EQ(g.TargetIcon(), "~EXP_PDF.ICO");
}

TEST(PdfDocument, TargetThatCannotBeCreatedFailsTheRun) {
  TempDir dir;
  TestGenerator g;
  std::vector<std::string> files;
  g.SetOutputFileList(&files);
  std::string path = dir.file("missing/dir/a.pdf");
  g.Init(path);
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Text", Text(1000, 1000));
  g.FinishPage();
  int32_t counted = g.Output().FPOS;
  EXPECT_EQ(g.FinishDocument(), tx::Level::Fatal);
  EXPECT_TRUE(g.OutputFailed());
  EXPECT_GT(g.Output().FPOS, counted);  // still counted
  EXPECT_TRUE(files.empty());
  ASSERT_FALSE(g.messages.empty());
  EXPECT_EQ(g.messages[0].rfind("Target OpenFile: ERROR:(2) ", 0), 0u) << g.messages[0];
  EXPECT_NE(g.messages[0].find("|Can't create target file " + path), std::string::npos) << g.messages[0];
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PdfDocument, WriteFailureIsNotReportedAsSuccess) {
  TestGenerator g;
  std::vector<std::string> files;
  g.SetOutputFileList(&files);
  g.Init("/dev/full");
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Text", Text(1000, 1000));
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Fatal);
  EXPECT_TRUE(g.OutputFailed());
  EXPECT_TRUE(files.empty());
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_NE(g.messages[0].find("Target WriteFile"), std::string::npos) << g.messages[0];
  EXPECT_NE(g.messages[0].find("|Can't write target file /dev/full"), std::string::npos) << g.messages[0];
}

TEST(PdfDocument, EveryFailingWriteKeepsTheOldFileAndLeavesNothingBeside) {
  TempDir dir;
  const std::string path = dir.file("old.pdf");
  { std::ofstream(path) << "previous document"; }
  const int writes = txtest::UnderEveryWriteFailure(
      [&] {
        TestGenerator g;
        g.Init(path);
        g.SetCompression(false, false);  // more than one piece of the file
        g.BeginDocument(3);
        for (int page = 0; page < 3; ++page) {
          g.BeginPage("p", 0, 0, 8500, 11000);
          for (int row = 0; row < 400; ++row) g.EmitString("", "Row " + std::to_string(row), Text(500, 500 + row * 25));
          g.FinishPage();
        }
        return g.FinishDocument() == tx::Level::Done;
      },
      [&] { return txtest::DirectoryState(dir.path()); });
  EXPECT_GT(writes, 1);
}

TEST(PdfDocument, ASecondRunAfterChooseOutputStartsClean) {
  TempDir dir;
  TestGenerator g;
  std::string first = OnePage(g, dir.file("one.pdf"), true);
  g.dialogAnswer = dir.file("two.pdf");
  ASSERT_EQ(g.ChooseOutput(0), tx::Level::Done);
  g.BeginDocument(1);
  g.BeginPage("p1", 0, 0, 8500, 11000);
  g.EmitString("", "Text", Text(1000, 1000));
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string second = ReadFile(dir.file("two.pdf"));
  EXPECT_EQ(XrefProblems(second), "");
  // Same objects in the same places; only the dates may differ.
  std::regex date("D:\\d{14}");
  EXPECT_EQ(std::regex_replace(first, date, "D"), std::regex_replace(second, date, "D"));
}

TEST(PdfDocument, UnfinishedPagesAreFinishedBeforeTheNextOrAtTheEnd) {
  TempDir dir;
  TestGenerator g;
  g.Init(dir.file("a.pdf"));
  g.BeginDocument(2);
  g.BeginPage("one", 0, 0, 8500, 11000);
  g.EmitString("", "First", Text(1000, 1000));
  g.BeginPage("two", 0, 0, 8500, 14000);
  g.EmitString("", "Second", Text(1000, 1000));
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("a.pdf"));
  EXPECT_EQ(XrefProblems(pdf), "");
  EXPECT_NE(pdf.find("7 0 obj <<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/Resources 4 0 R\r\n/MediaBox [ 0 0 612 792 ]\r\n"
                     "/Contents [ 6 0 R]"),
            std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 612 1008 ]\r\n/Contents [ 8 0 R]"), std::string::npos);
  EXPECT_NE(pdf.find("/Count 2\r\n/MediaBox [ 0 0 612 1008 ]\r\n/Kids [ 7 0 R 9 0 R ]"), std::string::npos);
  auto text = RunTool("pdftotext " + dir.file("a.pdf") + " -");
  EXPECT_NE(text.output.find("Second"), std::string::npos);
}
