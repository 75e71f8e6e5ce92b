// The output file stages: buffering, compression, counting and the file.
#include <gtest/gtest.h>

#include <zlib.h>

#include "pdf/pdf_output_file.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

TEST(PdfOutputFile, CountsEveryByteAndWritesThemInOrder) {
  TempDir dir;
  tx::PDFOutputFile out;
  out.Reset(false, dir.file("o.bin"));
  ASSERT_TRUE(out.OpenTarget(true));
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    std::string line = "line " + std::to_string(i) + std::string(i % 37, 'x');
    out.WriteLine(line);
    expected += line + "\r\n";
  }
  out.Write("trailing   ", true);
  expected += "trailing";
  EXPECT_GT(expected.size(), 2 * tx::PDFOutputFile::kPiece);
  EXPECT_EQ(out.FPOS, static_cast<int32_t>(expected.size()));
  ASSERT_TRUE(out.CloseTarget());
  EXPECT_EQ(ReadFile(dir.file("o.bin")), expected);
  EXPECT_FALSE(out.Failed());
}

TEST(PdfOutputFile, BufferingHoldsBytesOutsideTheCount) {
  TempDir dir;
  tx::PDFOutputFile out;
  out.Reset(false, dir.file("o.bin"));
  ASSERT_TRUE(out.OpenTarget(true));
  out.Write("head ");
  out.StartBuffering();
  out.Write("body");
  EXPECT_EQ(out.FPOS, 5);
  EXPECT_EQ(out.BUFFERLEN, 4u);
  out.StopBuffering();
  out.Write("tail ");
  out.Flush(false);
  EXPECT_EQ(out.FPOS, 14);
  EXPECT_EQ(out.BUFFERLEN, 0u);
  out.CloseTarget();
  EXPECT_EQ(ReadFile(dir.file("o.bin")), "head tail body");
}

TEST(PdfOutputFile, CompressedBufferInflatesBack) {
  TempDir dir;
  tx::PDFOutputFile out;
  out.Reset(false, dir.file("o.bin"));
  ASSERT_TRUE(out.OpenTarget(true));
  out.StartFlate();
  std::string text;
  for (int i = 0; i < 200; ++i) text += "0 0 0 rg 1 0 0 1 72 710 Tm [(Row)] TJ\r\n";
  out.Write(text);
  uint32_t length = out.Compress();
  EXPECT_EQ(out.FLATED, 1);
  EXPECT_LT(length, text.size() / 10);
  out.StopFlate();
  out.Flush(false);
  EXPECT_EQ(out.FPOS, static_cast<int32_t>(length));
  out.CloseTarget();
  std::string packed = ReadFile(dir.file("o.bin"));
  std::string plain(text.size(), '\0');
  uLongf size = plain.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                       reinterpret_cast<const Bytef*>(packed.data()), packed.size()),
            Z_OK);
  EXPECT_EQ(plain, text);
}

TEST(PdfOutputFile, EscapedFlushReplacesSpecialBytes) {
  TempDir dir;
  tx::PDFOutputFile out;
  out.Reset(false, dir.file("o.bin"));
  ASSERT_TRUE(out.OpenTarget(true));
  out.StartBuffering();
  out.Write(std::string("a(b)c\\d\ne\rf\tg\bh\fi", 17));
  out.StopBuffering();
  out.Flush(true);
  out.CloseTarget();
  EXPECT_EQ(ReadFile(dir.file("o.bin")), "a\\(b\\)c\\\\d\\ne\\rf\\tg\\bh\\fi");
}

TEST(PdfOutputFile, UnopenedTargetStillCountsAndReportsFailure) {
  TempDir dir;
  tx::PDFOutputFile out;
  std::vector<std::string> shown;
  out.SetMessageHandler([&](std::string_view title, std::string_view text) {
    shown.push_back(std::string(title) + "|" + std::string(text));
  });
  out.Reset(false, dir.file("no/such/dir/o.bin"));
  EXPECT_FALSE(out.OpenTarget(true));
  out.Write("12345");
  EXPECT_EQ(out.FPOS, 5);
  EXPECT_TRUE(out.Failed());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Target OpenFile|ERROR:(2) ", 0), 0u) << shown[0];
  EXPECT_NE(shown[0].find("|Can't create target file "), std::string::npos);
  // Opening without create names its own failure.
  shown.clear();
  out.Reset(true);
  EXPECT_FALSE(out.OpenTarget(false));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("|Can't open target file "), std::string::npos);
  // A new run starts without the old failure.
  out.Reset(false, dir.file("ok.bin"));
  EXPECT_FALSE(out.Failed());
}

TEST(PdfOutputFile, SourceFilesAreReadInPieces) {
  TempDir dir;
  std::string data(150000, 'a');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  {
    std::ofstream f(dir.file("src.bin"), std::ios::binary);
    f << data;
  }
  tx::PDFOutputFile out;
  std::vector<std::string> shown;
  out.SetMessageHandler([&](std::string_view title, std::string_view) { shown.push_back(std::string(title)); });
  ASSERT_TRUE(out.OpenSource(dir.file("src.bin")));
  std::vector<uint8_t> buf(200000);
  std::string back;
  size_t n;
  while ((n = out.ReadSource(buf.data(), buf.size())) > 0) {
    EXPECT_LE(n, tx::PDFOutputFile::kPiece);
    back.append(reinterpret_cast<char*>(buf.data()), n);
  }
  EXPECT_EQ(back, data);
  out.CloseSource();
  EXPECT_FALSE(out.OpenSource(dir.file("missing.bin")));
  EXPECT_EQ(out.SOURCEFILENAME, "");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Target OpenSourceFile");
}
