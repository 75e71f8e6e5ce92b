// Images: PNG, JPEG and GIF files and bitmaps embedded in page files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "image_fixtures.h"
#include "jpeg_fixture.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {

tx::ImageFormat At(int left, int top, int right, int bottom, uint32_t embed = 0) {
  tx::ImageFormat f;
  f.POS = {top, left, bottom, right};
  f.EMBEDSTART = embed;
  return f;
}

struct Written {
  std::string pdf;
  std::string list;    // pdfimages -list
  std::string render;  // mutool's complaints
  int check = -1;      // qpdf --check status
};

template <typename Draw>
Written Write(TempDir& dir, Draw draw, bool compress = true, const std::string& password = {}) {
  TestGenerator g;
  std::string path = dir.file("i.pdf");
  g.Init(path);
  g.SetCompression(compress, compress);
  if (!password.empty()) {
    g.SetPassword(password);
  }
  g.BeginDocument(1);
  g.BeginPage(dir.file("page1.wmf"), 0, 0, 8500, 11000);
  draw(g);
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  EXPECT_TRUE(g.messages.empty()) << g.messages.front();
  Written w;
  w.pdf = ReadFile(path);
  std::string pw = password.empty() ? "" : " -upw " + password;
  w.list = RunTool("pdfimages" + pw + " -list " + path).output;
  w.render = RunTool("mutool draw -q" + (password.empty() ? "" : " -p " + password) + " -o /dev/null " + path +
                     " 2>&1 | grep -v 'ICC support'")
                 .output;
  std::string qpw = password.empty() ? "" : " --password=" + password;
  w.check = RunTool("qpdf" + qpw + " --check " + path).status;
  EXPECT_EQ(XrefProblems(w.pdf), "");
  return w;
}

// Rows of pdfimages -list: "page num type width height color comp bpc enc ..."
std::vector<std::vector<std::string>> ListRows(const std::string& list) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(list);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<std::string> row;
    for (std::string f; fields >> f;) row.push_back(f);
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(PdfImages, PngDataIsCopiedWithItsPredictor) {
  TempDir dir;
  std::vector<Bytes> rgb(100, Bytes(600));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) rgb[y][3 * x] = static_cast<uint8_t>(x), rgb[y][3 * x + 1] = static_cast<uint8_t>(y);
  Bytes rgbPng = Png(200, 100, 8, 2, rgb, {}, true);
  Save(dir.file("rgb.png"), rgbPng);
  std::vector<Bytes> grey(3, Bytes{0x0F, 0xF0});
  Save(dir.file("grey.png"), Png(4, 3, 4, 0, grey));
  Bytes palette = {'(', 0, 0, 0, ')', 0, '\\', 0, 0x0D};
  std::vector<Bytes> indexed(2, Bytes{0, 1, 2, 1});
  Save(dir.file("pal.png"), Png(4, 2, 8, 3, indexed, palette));
  auto w = Write(dir, [&](TestGenerator& g) {
    g.EmitImage("", dir.file("rgb.png"), At(1000, 1000, 3000, 2000));
    g.EmitImage("", dir.file("grey.png"), At(1000, 3000, 1000, 3000));  // no size: pixel size in points
    g.EmitImage("", dir.file("pal.png"), At(4000, 3000, 5000, 4000));
  }, false);
  EXPECT_NE(w.pdf.find("/Width 200\r\n/Height 100\r\n/Length 9 0 R\r\n/Filter /FlateDecode\r\n"
                       "/DecodeParms <</Predictor 15 /Columns 200 /Colors 3 /BitsPerComponent 8>>\r\n"
                       "/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n>>\r\nstream\r\n"),
            std::string::npos) << w.pdf.substr(0, 3000);
  EXPECT_NE(w.pdf.find("/DecodeParms <</Predictor 15 /Columns 4 /Colors 1 /BitsPerComponent 4>>\r\n"
                       "/BitsPerComponent 4\r\n/ColorSpace /DeviceGray\r\n"),
            std::string::npos);
  EXPECT_NE(w.pdf.find(std::string("/ColorSpace [/Indexed /DeviceRGB 2 (\\(\0\0\0\\)\0\\\\\0\\r)]\r\n", 50)),
            std::string::npos);
  EXPECT_NE(w.pdf.find("q 144 0 0 72 72 648 cm /Im1 Do Q\r\n"), std::string::npos); 
  EXPECT_NE(w.pdf.find("q 4 0 0 3 72 573 cm /Im2 Do Q\r\n"), std::string::npos);
  EXPECT_NE(w.pdf.find("/XObject << /Im1 8 0 R /Im2 10 0 R /Im3 12 0 R >>\r\n"), std::string::npos);
  auto rows = ListRows(w.list);
  ASSERT_EQ(rows.size(), 3u) << w.list;
  EXPECT_EQ(rows[0][3] + "x" + rows[0][4] + " " + rows[0][5], "200x100 rgb");
  EXPECT_EQ(rows[1][3] + "x" + rows[1][4] + " " + rows[1][5] + " " + rows[1][7], "4x3 gray 4");
  EXPECT_EQ(rows[2][5], "index");
  EXPECT_EQ(w.render, "");
  EXPECT_EQ(w.check, 0);
  // The compressed rows are the file's own, both IDAT chunks joined.
  auto raw = RunTool("qpdf --show-object=8 --raw-stream-data " + dir.file("i.pdf"));
  Bytes idat = IdatData(rgbPng);
  EXPECT_TRUE(raw.output == std::string(idat.begin(), idat.end())) << raw.output.size() << " vs " << idat.size();
}

TEST(PdfImages, TheSameFileOnManyPlacesIsOneImage) {
  TempDir dir;
  Save(dir.file("a.png"), Png(2, 2, 8, 0, {Bytes{0, 255}, Bytes{255, 0}}));
  auto w = Write(dir, [&](TestGenerator& g) {
    for (int i = 0; i < 5; ++i) g.EmitImage("", dir.file("a.png"), At(1000, 1000 + 500 * i, 1500, 1400 + 500 * i));
  }, false);
  EXPECT_EQ(Count(w.pdf, " /Im1 Do Q"), 5u);
  EXPECT_EQ(Count(w.pdf, "/Subtype /Image"), 1u);
  EXPECT_EQ(w.check, 0);
}

TEST(PdfImages, UnsupportedOrMissingImagesAreNotDrawn) {
  TempDir dir;
  std::vector<Bytes> rows(2, Bytes(8));
  Save(dir.file("alpha.png"), Png(2, 2, 8, 6, rows));
  Save(dir.file("deep.png"), Png(2, 2, 16, 0, rows));
  Save(dir.file("junk.png"), Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  for (const char* name : {"alpha.png", "deep.png", "junk.png"}) g.EmitImage("", dir.file(name), At(0, 0, 100, 100));
  g.EmitImage("", "    ", At(0, 0, 100, 100));
  EXPECT_TRUE(g.messages.empty());
  g.EmitImage("", dir.file("missing.png"), At(0, 0, 100, 100));
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_EQ(g.messages[0].rfind("GetImageInfo: ERROR (2)", 0), 0u) << g.messages[0];
  EXPECT_NE(g.messages[0].find(" FILE:" + dir.file("missing.png")), std::string::npos);
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("i.pdf"));
  EXPECT_EQ(pdf.find("/XObject"), std::string::npos);
  EXPECT_EQ(pdf.find("/Contents"), std::string::npos);
  EXPECT_EQ(g.Images().IMAGENO, 0);
}

TEST(PdfImages, JpegDataIsCopiedWhole) {
  TempDir dir;
  Save(dir.file("p.jpg"), Bytes(std::begin(kJpeg8x4), std::end(kJpeg8x4)));
  auto w = Write(dir, [&](TestGenerator& g) { g.EmitImage("", dir.file("p.jpg"), At(1000, 1000, 2000, 1500)); });
  EXPECT_NE(w.pdf.find("/Width 8\r\n/Height 4\r\n/Length 9 0 R\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n"
                       "/Filter /DCTDecode\r\n>>\r\nstream\r\n" +
                       std::string(reinterpret_cast<const char*>(kJpeg8x4), sizeof kJpeg8x4) + "\r\nendstream\r\n"),
            std::string::npos);
  EXPECT_NE(w.pdf.find("9 0 obj\r\n" + std::to_string(sizeof kJpeg8x4) + "\r\nendobj\r\n"), std::string::npos);
  auto rows = ListRows(w.list);
  ASSERT_EQ(rows.size(), 1u) << w.list;
  EXPECT_EQ(rows[0][8], "jpeg");
  EXPECT_EQ(w.render, "");
  EXPECT_EQ(w.check, 0);
}

TEST(PdfImages, GifCodesAreRepackedForTheLzwFilter) {
  TempDir dir;
  Bytes pixels;
  for (int i = 0; i < 30 * 20; ++i) pixels.push_back(static_cast<uint8_t>(i % 7));
  Bytes table = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, '(', ')', '\\', 0x0D, 0x0A, 9, 200, 200, 200};
  Save(dir.file("g.gif"), Gif(30, 20, pixels, table));
  auto w = Write(dir, [&](TestGenerator& g) { g.EmitImage("", dir.file("g.gif"), At(1000, 1000, 3000, 2000)); });
  // Brackets and backslash escaped, CR kept as "\r" so that reading it does not turn it into a line feed.
  std::string head = "/BitsPerComponent 8\r\n/Filter /LZWDecode\r\n/DecodeParms <</EarlyChange 0>>\r\n"
                     "/ColorSpace [/Indexed /DeviceRGB 255 (";
  std::string colours = std::string("\0\0\0\xff\0\0\0\xff\0\0\0\xff", 12) + "\\(\\)\\\\\\r\n\t";
  EXPECT_NE(w.pdf.find(head + colours), std::string::npos);
  auto rows = ListRows(w.list);
  ASSERT_EQ(rows.size(), 1u) << w.list;
  EXPECT_EQ(rows[0][3] + "x" + rows[0][4], "30x20");
  EXPECT_EQ(w.render, "");
  EXPECT_EQ(w.check, 0);
  // The decoded samples are the pixel indices, in order.
  auto q = RunTool("qpdf --show-object=8 --filtered-stream-data " + dir.file("i.pdf"));
  ASSERT_EQ(q.status, 0) << q.output;
  EXPECT_EQ(q.output, std::string(pixels.begin(), pixels.end()));
}

TEST(PdfImages, EmbeddedBitmapsComeFromThePageFile) {
  TempDir dir;
  // A page file with some leading bytes and two bitmaps inside.
  Bytes page(57, 0xAA);
  size_t first = page.size() + 1;
  Bytes rgb = Dib(2, 2, 24, {}, {Bytes{10, 20, 30, 1, 2, 3}, Bytes{4, 5, 6, 7, 8, 9}});
  page.insert(page.end(), rgb.begin(), rgb.end());
  size_t second = page.size() + 1;
  Bytes indexed = Dib(3, 1, 8, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}, {Bytes{0, 1, 2}});
  page.insert(page.end(), indexed.begin(), indexed.end());
  size_t third = page.size() + 1;
  Bytes mono = Dib(8, 2, 1, {255, 255, 255, 0, 0, 0, 0, 0}, {Bytes{0xF0}, Bytes{0x0F}});
  page.insert(page.end(), mono.begin(), mono.end());
  Save(dir.file("page1.wmf"), page);
  auto w = Write(
      dir,
      [&](TestGenerator& g) {
        g.EmitImage("", "ignored", At(1000, 1000, 2000, 2000, static_cast<uint32_t>(first)));
        g.EmitImage("", "", At(3000, 1000, 4000, 2000, static_cast<uint32_t>(second)));
        g.EmitImage("", "", At(5000, 1000, 6000, 2000, static_cast<uint32_t>(third)));
        g.EmitImage("", "", At(5000, 3000, 6000, 4000, static_cast<uint32_t>(third)));
      },
      false);
  // Rows top first; blue-green-red pixels turned to red-green-blue.
  EXPECT_NE(w.pdf.find("/BitsPerComponent 8\r\n/ColorSpace/DeviceRGB\r\n/Length 12\r\n>>\r\nstream\r\n" +
                       std::string("\x06\x05\x04\x09\x08\x07\x1e\x14\x0a\x03\x02\x01", 12)),
            std::string::npos);
  EXPECT_NE(w.pdf.find("[/Indexed/DeviceRGB 2 "), std::string::npos);
  EXPECT_NE(w.pdf.find(std::string("stream\r\n\xff\0\0\0\xff\0\0\0\xff\r\nendstream", 28)), std::string::npos);
  EXPECT_NE(w.pdf.find("/BitsPerComponent 1\r\n/ImageMask true\r\n/Decode[1 0]\r\n"), std::string::npos);
  EXPECT_EQ(Count(w.pdf, "/Subtype /Image"), 3u);
  EXPECT_EQ(Count(w.pdf, " /Im3 Do Q"), 2u);
  auto rows = ListRows(w.list);
  ASSERT_EQ(rows.size(), 4u) << w.list;
  EXPECT_EQ(rows[0][5], "rgb");
  EXPECT_EQ(rows[1][5], "index");
  EXPECT_EQ(rows[2][2], "stencil");
  EXPECT_EQ(w.render, "");
  EXPECT_EQ(w.check, 0);
}

TEST(PdfImages, EncryptedImagesDecodeWithThePassword) {
  TempDir dir;
  std::vector<Bytes> rgb(4, Bytes(12, 0x80));
  Save(dir.file("rgb.png"), Png(4, 4, 8, 2, rgb));
  Bytes palette = {'(', 0, 0, 0, ')', 0};
  Save(dir.file("pal.png"), Png(2, 1, 8, 3, {Bytes{0, 1}}, palette));
  Bytes page(10, 0);
  Bytes dib = Dib(2, 1, 8, {0, 0, 255, 0, 0, 255, 0, 0}, {Bytes{0, 1}});
  page.insert(page.end(), dib.begin(), dib.end());
  Save(dir.file("page1.wmf"), page);
  auto w = Write(
      dir,
      [&](TestGenerator& g) {
        g.EmitImage("", dir.file("rgb.png"), At(1000, 1000, 2000, 2000));
        g.EmitImage("", dir.file("pal.png"), At(3000, 1000, 4000, 2000));
        g.EmitImage("", "", At(5000, 1000, 6000, 2000, 11));
      },
      true, "pw");
  EXPECT_EQ(w.check, 0);
  EXPECT_EQ(w.render, "");
  EXPECT_EQ(ListRows(w.list).size(), 3u) << w.list;
  auto q = RunTool("qpdf --password=pw --show-object=12 --filtered-stream-data " + dir.file("i.pdf"));
  EXPECT_EQ(q.output, std::string("\xff\0\0\0\xff\0", 6));
}

TEST(PdfImages, CutFilesNeitherCrashNorBreakTheDocument) {
  TempDir dir;
  std::vector<Bytes> samples;
  samples.push_back(Png(3, 2, 8, 3, {Bytes{0, 1, 0}, Bytes{1, 0, 1}}, Bytes{1, 2, 3, 4, 5, 6}));
  samples.push_back(Gif(5, 3, Bytes(15, 1), Bytes{9, 9, 9}));
  samples.push_back(Bytes(std::begin(kJpeg8x4), std::end(kJpeg8x4)));
  Bytes page(20, 0);
  Bytes dib = Dib(4, 2, 4, Bytes(64, 7), {Bytes{0x12, 0x34}, Bytes{0x56, 0x78}});
  page.insert(page.end(), dib.begin(), dib.end());
  samples.push_back(page);
  TestGenerator g;
  g.Init(dir.file("cut.pdf"));
  g.SetCompression(false, true);
  g.BeginDocument(1);
  g.BeginPage(dir.file("page.wmf"), 0, 0, 8500, 11000);
  int n = 0;
  for (size_t s = 0; s < samples.size(); ++s) {
    const Bytes& whole = samples[s];
    for (size_t cut = 0; cut <= whole.size(); cut += 1 + whole.size() / 60) {
      std::string name = dir.file("cut" + std::to_string(n++));
      Save(name, Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
      if (s == 3) {
        // Each cut page file is its own page, with the bitmap where the whole one has it.
        g.FinishPage();
        g.BeginPage(name, 0, 0, 8500, 11000);
        g.EmitImage("", "", At(0, 0, 100, 100, 21));
      } else {
        g.EmitImage("", name, At(0, 0, 100, 100));
      }
    }
  }
  // A page file that changes after its bitmap was placed.
  std::string last = dir.file("cut" + std::to_string(n - 1));
  Save(last, Bytes(10, 0));
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("cut.pdf"));
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --check " + dir.file("cut.pdf"));
  EXPECT_EQ(check.status == 0 || check.status == 3, true) << check.output;  // damaged image data may warn
  EXPECT_EQ(check.output.find("reconstruct"), std::string::npos) << check.output;
  // Every image named on the page has an object, even where the page file
  // changed under it before the document was finished.
  EXPECT_FALSE(std::regex_search(pdf, std::regex("/Im\\d+ 0 0 R"))) << pdf.substr(pdf.find("/XObject"), 300);
  EXPECT_GT(Count(pdf, "/Width 1\r\n/Height 1\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceGray"), 0u);
}

TEST(PdfImages, SourceGoneBeforeTheEndStillLeavesAnImageObject) {
  TempDir dir;
  Save(dir.file("a.png"), Png(2, 2, 8, 0, {Bytes{0, 255}, Bytes{255, 0}}));
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitImage("", dir.file("a.png"), At(0, 0, 1000, 1000));
  g.FinishPage();
  std::filesystem::remove(dir.file("a.png"));
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_EQ(g.messages[0].rfind("Target OpenSourceFile: ", 0), 0u);
  auto drawn = RunTool("mutool draw -q -o /dev/null " + dir.file("i.pdf") + " 2>&1 | grep -v 'ICC support'");
  EXPECT_EQ(drawn.output, "");
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("i.pdf")).status, 0);
}

TEST(PdfImages, UnusableFilesAreSilentlyNotDrawn) {
  TempDir dir;
  std::vector<Bytes> rows(2, Bytes(8));
  Bytes pixels(15, 1), table{9, 9, 9};
  Bytes goodPng = Png(3, 2, 8, 0, {Bytes{1, 2, 3}, Bytes{4, 5, 6}});
  auto withIhdr = [&](int at, uint8_t value) {
    Bytes b = goodPng;
    b[static_cast<size_t>(at)] = value;
    return b;
  };
  Bytes jpeg(std::begin(kJpeg8x4), std::end(kJpeg8x4));
  size_t sof = 0;
  while (!(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0)) ++sof;
  auto withSof = [&](size_t at, uint8_t value) {
    Bytes b = jpeg;
    b[sof + at] = value;
    return b;
  };
  std::map<std::string, Bytes> cases = {
      {"interlaced.png", Png(2, 2, 8, 0, rows, {}, false, 1)},
      {"alpha.png", Png(2, 2, 8, 6, rows)},
      {"grey-alpha.png", Png(2, 2, 8, 4, rows)},
      {"deep.png", Png(2, 2, 16, 2, rows)},
      {"rgb-4-bit.png", Png(2, 2, 4, 2, rows)},
      {"grey-3-bit.png", Png(2, 2, 3, 0, rows)},
      {"no-palette.png", Png(2, 2, 8, 3, rows)},
      {"empty-palette.png", Png(2, 2, 8, 3, rows, Bytes{})},
      {"short-palette.png", Png(2, 2, 8, 3, rows, Bytes{1, 2})},
      {"long-palette.png", Png(2, 2, 8, 3, rows, Bytes(771, 1))},
      {"zero-width.png", withIhdr(19, 0)},
      {"huge-width.png", withIhdr(16, 0x80)},
      {"ihdr-length.png", withIhdr(11, 12)},
      {"no-idat.png", Bytes(goodPng.begin(), goodPng.begin() + 33 + 15)},  // IHDR and tEXt only
      {"idat-cut.png", Bytes(goodPng.begin(), goodPng.begin() + 33 + 15 + 12)},
      {"gif-code-size-7.gif", Gif(5, 3, pixels, table, true, false, 7)},
      {"gif-no-end-code.gif", Gif(5, 3, pixels, table, true, false, 8, false)},
      {"gif-lzw-no-end.gif", Gif(5, 3, pixels, table, false, false, 8, false)},
      {"gif-cut-in-table.gif", Bytes(6 + 7 + 100, 'G')},
      {"jpeg-12-bit.jpg", withSof(4, 12)},
      {"jpeg-arithmetic.jpg", withSof(1, 0xC9)},
      {"jpeg-no-height.jpg", withSof(6, 0)},
      {"jpeg-cut-before-frame.jpg", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(sof + 5))},
      {"jpeg-no-jfif.jpg", withSof(0, 0xFF)},
  };
  cases["gif-cut-in-table.gif"] = Gif(5, 3, pixels, table);
  cases["gif-cut-in-table.gif"].resize(400);
  cases["jpeg-no-jfif.jpg"][6] = 'E';
  // Interlaced GIF rows come in four passes; copied as they stand they would be out of order.
  Bytes interlaced = Gif(5, 3, pixels, table);
  size_t descriptor = 13 + 768 + 8 + 7 + 19;
  EXPECT_EQ(interlaced[descriptor], 0x2C);
  interlaced[descriptor + 9] |= 0x40;
  cases["gif-interlaced.gif"] = interlaced;
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  // Bitmaps in the page file whose headers claim more than it holds.
  Bytes page(8, 0);
  Bytes tall = Dib(4, 1000, 24, {}, {Bytes(12, 1), Bytes(12, 2)});
  page.insert(page.end(), tall.begin(), tall.end());
  Bytes wide = Dib(65535, 2, 8, Bytes(1024, 0), {Bytes(8, 1)});
  page.insert(page.end(), wide.begin(), wide.end());
  Bytes many = Dib(2, 1, 8, Bytes(16, 0), {Bytes(2, 1)}, 100000);
  page.insert(page.end(), many.begin(), many.end());
  Save(dir.file("page.wmf"), page);
  g.BeginPage(dir.file("page.wmf"), 0, 0, 8500, 11000);
  for (const auto& [name, bytes] : cases) {
    Save(dir.file(name), bytes);
    int32_t before = g.Images().IMAGENO;
    g.EmitImage("", dir.file(name), At(0, 0, 100, 100));
    EXPECT_EQ(g.Images().IMAGENO, before) << name;
  }
  for (size_t at : std::vector<size_t>{9, 9 + tall.size(), 9 + tall.size() + wide.size(), page.size() + 1, 3}) {
    int32_t before = g.Images().IMAGENO;
    g.EmitImage("", "", At(0, 0, 100, 100, static_cast<uint32_t>(at)));
    EXPECT_EQ(g.Images().IMAGENO, before) << "bitmap at " << at;
  }
  ASSERT_EQ(g.Images().IMAGENO, 0);
  EXPECT_TRUE(g.messages.empty()) << g.messages.front();
  // The same files whole are drawn; a GIF's size is its image's, whatever
  // screen it claims.
  Save(dir.file("good.png"), goodPng);
  g.EmitImage("", dir.file("good.png"), At(0, 0, 100, 100));
  Bytes giant = Gif(5, 3, pixels, table);
  for (size_t i = 6; i < 10; ++i) giant[i] = 0xFF;
  Save(dir.file("good.gif"), giant);
  g.EmitImage("", dir.file("good.gif"), At(0, 0, 100, 100));
  ASSERT_EQ(g.Images().IMAGENO, 2);
  EXPECT_EQ(g.Images().IMAGES[1].WIDTH, 5);
  EXPECT_EQ(g.Images().IMAGES[1].HEIGHT, 3);
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("i.pdf"));
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 2u);
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --check " + dir.file("i.pdf"));
  EXPECT_EQ(check.status, 0) << check.output;
}

TEST(PdfImages, FilesAreOpenedByTheNameAsGiven) {
  // The upper-cased name is only the image's identity: on a file system that
  // tells cases apart, "tmp01.png" must be opened as "tmp01.png".
  TempDir dir;
  ScopedCwd cwd(dir.path());
  Save("tmp01.png", Png(2, 2, 8, 0, {Bytes{0, 255}, Bytes{255, 0}}));
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitImage("", "tmp01.png", At(0, 0, 1000, 1000));
  ASSERT_TRUE(g.messages.empty()) << g.messages.front();
  ASSERT_EQ(g.Images().IMAGENO, 1);
  EXPECT_EQ(g.Images().IMAGES[0].EMBEDEDFILENAME, "TMP01.PNG");
  EXPECT_EQ(g.Images().IMAGES[0].FILENAME, "tmp01.png");
  // Another spelling of the same name is the same image.
  g.EmitImage("", "Tmp01.PNG  ", At(0, 2000, 1000, 3000));
  EXPECT_EQ(g.Images().IMAGENO, 1);
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("i.pdf"));
  EXPECT_EQ(Count(pdf, " /Im1 Do Q"), 2u);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 1u);
  EXPECT_EQ(pdf.find("/Width 1\r\n/Height 1\r\n"), std::string::npos) << "the file was found again at the end";
}

TEST(PdfImages, AFileReplacedBeforeTheEndIsNotCopiedAsWhatItWas) {
  TempDir dir;
  Save(dir.file("a.png"), Png(2, 2, 8, 0, {Bytes{0, 255}, Bytes{255, 0}}));
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitImage("", dir.file("a.png"), At(0, 0, 1000, 1000));
  g.FinishPage();
  Save(dir.file("a.png"), Gif(5, 3, Bytes(15, 1), Bytes{9, 9, 9}));
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("i.pdf"));
  EXPECT_NE(pdf.find("/Width 1\r\n/Height 1\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceGray"), std::string::npos);
  EXPECT_EQ(pdf.find("LZWDecode"), std::string::npos);
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("i.pdf")).status, 0);
}

TEST(PdfImages, WideningGifCodesDecodeToTheSamePixels) {
  TempDir dir;
  Bytes pixels;
  uint32_t noise = 7;
  for (int i = 0; i < 120 * 80; ++i) {
    noise = noise * 1103515245 + 12345;
    pixels.push_back(static_cast<uint8_t>(i < 4000 ? i / 50 % 3 : noise >> 16));
  }
  Bytes table(768, 0x40);
  Save(dir.file("g.gif"), Gif(120, 80, pixels, table, false));
  auto w = Write(dir, [&](TestGenerator& g) { g.EmitImage("", dir.file("g.gif"), At(1000, 1000, 3000, 2000)); });
  EXPECT_EQ(w.check, 0);
  auto q = RunTool("qpdf --show-object=8 --filtered-stream-data " + dir.file("i.pdf"));
  ASSERT_EQ(q.status, 0) << q.output;
  EXPECT_TRUE(q.output == std::string(pixels.begin(), pixels.end())) << q.output.size() << " bytes";
}

TEST(PdfImages, DevicesAndPipesAreNotReadAsImages) {
  // Neither would ever reach its end: the box names them and nothing is drawn.
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.png").c_str(), 0600), 0);
  TestGenerator g;
  g.Init(dir.file("i.pdf"));
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitImage("", "/dev/zero", At(0, 0, 100, 100));
  g.EmitImage("", dir.file("pipe.png"), At(0, 0, 100, 100));
  g.EmitImage("", dir.path().string(), At(0, 0, 100, 100));
  ASSERT_EQ(g.messages.size(), 3u);
  EXPECT_EQ(g.messages[0], "GetImageInfo: ERROR (22)Invalid argument FILE:/dev/zero");
  EXPECT_NE(g.messages[1].find(" FILE:" + dir.file("pipe.png")), std::string::npos);
  EXPECT_EQ(g.messages[2].rfind("GetImageInfo: ERROR (", 0), 0u);
  EXPECT_EQ(g.Images().IMAGENO, 0);
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
}

TEST(PdfImages, OneImageOnFivePagesIsOneObject) {
  TempDir dir;
  Save(dir.file("tmp01.png"), Png(3, 2, 8, 2, {Bytes(9, 0x40), Bytes(9, 0x80)}));
  TestGenerator g;
  g.Init(dir.file("five.pdf"));
  g.BeginDocument(5);
  for (int page = 1; page <= 5; ++page) {
    g.BeginPage("p", 0, 0, 8500, 11000);
    g.EmitImage("", dir.file("tmp01.png"), At(1000, 1000 * page, 2000, 1000 * page + 500));
    g.FinishPage();
  }
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  std::string pdf = ReadFile(dir.file("five.pdf"));
  EXPECT_EQ(Count(pdf, " /Im1 Do Q"), 5u);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 1u);
  EXPECT_EQ(pdf.find("/Im2"), std::string::npos);
  // poppler lists the image once per page, always the same object.
  auto rows = ListRows(RunTool("pdfimages -list " + dir.file("five.pdf")).output);
  ASSERT_EQ(rows.size(), 5u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    EXPECT_EQ(rows[i][3] + "x" + rows[i][4] + " " + rows[i][5] + " " + rows[i][7], "3x2 rgb 8");
    EXPECT_EQ(rows[i][10], rows[0][10]) << "object number";
  }
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("five.pdf")).status, 0);
}

TEST(PdfImages, LyingHeaderBytesNeitherCrashNorBreakTheDocument) {
  // Every early byte of each kind of file set to 0, 0x7F and 0xFF in turn:
  // sizes, lengths, offsets, flags and code sizes that lie. Run under the
  // address sanitizer, any read past a buffer fails the test.
  TempDir dir;
  std::vector<Bytes> samples;
  samples.push_back(Png(3, 2, 4, 3, {Bytes{0x01, 0x20}, Bytes{0x10, 0x02}}, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  Bytes pixels;
  for (int i = 0; i < 40; ++i) pixels.push_back(static_cast<uint8_t>(i % 3));
  samples.push_back(Gif(8, 5, pixels, Bytes{9, 9, 9, 1, 1, 1, 5, 5, 5}, false, true));
  samples.push_back(Bytes(std::begin(kJpeg8x4), std::end(kJpeg8x4)));
  TestGenerator g;
  g.Init(dir.file("lies.pdf"));
  g.SetCompression(false, true);
  g.BeginDocument(1);
  // Bitmaps first, each in a page file of its own.
  Bytes dib = Dib(5, 2, 4, Bytes(64, 3), {Bytes{0x12, 0x34, 0x50}, Bytes{0x56, 0x78, 0x90}});
  int n = 0;
  for (size_t at = 0; at < 44; ++at) {
    for (uint8_t value : {0x00, 0x7F, 0xFF}) {
      Bytes page(6, 0);
      page.insert(page.end(), dib.begin(), dib.end());
      page[6 + at] = value;
      std::string name = dir.file("page" + std::to_string(n++));
      Save(name, page);
      g.BeginPage(name, 0, 0, 8500, 11000);
      g.EmitImage("", "", At(0, 0, 100, 100, 7));
      g.FinishPage();
    }
  }
  g.BeginPage("p", 0, 0, 8500, 11000);
  for (const Bytes& whole : samples) {
    size_t upTo = std::min<size_t>(whole.size(), &whole == &samples[2] ? 180 : 120);
    for (size_t at = 0; at < upTo; ++at) {
      for (uint8_t value : {0x00, 0x7F, 0xFF}) {
        Bytes b = whole;
        b[at] = value;
        std::string name = dir.file("lie" + std::to_string(n++));
        Save(name, b);
        g.EmitImage("", name, At(0, 0, 100, 100));
      }
    }
  }
  g.FinishPage();
  ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
  EXPECT_TRUE(g.messages.empty());
  EXPECT_GT(g.Images().IMAGENO, 0);
  std::string pdf = ReadFile(dir.file("lies.pdf"));
  EXPECT_EQ(XrefProblems(pdf), "");
  auto check = RunTool("qpdf --check " + dir.file("lies.pdf"));
  EXPECT_TRUE(check.status == 0 || check.status == 3) << check.output;  // damaged image data may warn
  EXPECT_EQ(check.output.find("reconstruct"), std::string::npos) << check.output;
  // Every palette named by an image is a whole number of colours.
  std::smatch m;
  std::string rest = pdf;
  while (std::regex_search(rest, m, std::regex("/Indexed ?/DeviceRGB (-?\\d+)"))) {
    ASSERT_LE(m[1].length(), 3u) << m[0];
    EXPECT_GE(std::stol(m[1]), 0);
    EXPECT_LE(std::stol(m[1]), 255);
    rest = m.suffix();
  }
}
