// Images: PNG, JPEG and GIF files and bitmaps embedded in page files.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>

#include "jpeg_fixture.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}
void PutLe(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Chunk(Bytes& png, const char* type, const Bytes& data) {
  Put32(png, static_cast<uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  Put32(png, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A PNG with the given rows (filter byte added), split over two IDAT chunks.
Bytes Png(int width, int height, int depth, int type, const std::vector<Bytes>& rows, const Bytes& palette = {}) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  Put32(ihdr, static_cast<uint32_t>(width));
  Put32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {static_cast<uint8_t>(depth), static_cast<uint8_t>(type), 0, 0, 0});
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "tEXt", Bytes{'C', 0, 'x'});
  if (!palette.empty()) Chunk(png, "PLTE", palette);
  Bytes raw;
  for (const auto& r : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), r.begin(), r.end());
  }
  Bytes packed(compressBound(static_cast<uLong>(raw.size())));
  uLongf size = packed.size();
  compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(size);
  size_t half = packed.size() / 2;
  Chunk(png, "IDAT", Bytes(packed.begin(), packed.begin() + static_cast<long>(half)));
  Chunk(png, "IDAT", Bytes(packed.begin() + static_cast<long>(half), packed.end()));
  Chunk(png, "IEND", {});
  return png;
}

// A GIF of one colour index per pixel, LZW-coded with a clear code often
// enough that the code width stays at 9 bits.
Bytes Gif(int width, int height, const Bytes& pixels, const Bytes& table) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
  PutLe(g, static_cast<uint32_t>(width), 2);
  PutLe(g, static_cast<uint32_t>(height), 2);
  g.insert(g.end(), {0xF7, 0, 0});  // global table of 256 colours
  Bytes t = table;
  t.resize(768, 0);
  g.insert(g.end(), t.begin(), t.end());
  g.insert(g.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // graphic control
  g.insert(g.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 0});  // comment
  g.push_back(0x2C);
  PutLe(g, 0, 4);
  PutLe(g, static_cast<uint32_t>(width), 2);
  PutLe(g, static_cast<uint32_t>(height), 2);
  g.push_back(0);
  g.push_back(8);
  std::vector<uint16_t> codes = {256};
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (i % 200 == 199) codes.push_back(256);
    codes.push_back(pixels[i]);
  }
  codes.push_back(257);
  Bytes data;
  uint32_t acc = 0;
  int bits = 0;
  for (uint16_t c : codes) {
    acc |= static_cast<uint32_t>(c) << bits;
    bits += 9;
    while (bits >= 8) {
      data.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) data.push_back(static_cast<uint8_t>(acc));
  for (size_t at = 0; at < data.size(); at += 255) {
    size_t n = std::min<size_t>(255, data.size() - at);
    g.push_back(static_cast<uint8_t>(n));
    g.insert(g.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
  }
  g.push_back(0);
  g.push_back(0x3B);
  return g;
}

// A bitmap information header, colour table and rows (bottom-up, padded).
Bytes Dib(int width, int height, int bits, const Bytes& table, const std::vector<Bytes>& bottomUpRows) {
  Bytes d;
  PutLe(d, 40, 4);
  PutLe(d, static_cast<uint32_t>(width), 4);
  PutLe(d, static_cast<uint32_t>(height), 4);
  PutLe(d, 1, 2);
  PutLe(d, static_cast<uint32_t>(bits), 2);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, 0, 4);
  PutLe(d, static_cast<uint32_t>(table.size() / 4), 4);
  PutLe(d, 0, 4);
  d.insert(d.end(), table.begin(), table.end());
  for (const auto& r : bottomUpRows) {
    Bytes row = r;
    while (row.size() % 4) row.push_back(0);
    d.insert(d.end(), row.begin(), row.end());
  }
  return d;
}

void Save(const std::string& path, const Bytes& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

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
  g.COMPRESSTEXT = g.COMPRESSIMAGES = compress ? 1 : 0;
  if (!password.empty()) {
    g.ENCRYPT = 1;
    g.PASSWORD = password;
  }
  g.BeginDocument(1);
  g.BeginPage(dir.file("page1.wmf"), 0, 0, 8500, 11000);
  draw(g);
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), 0);
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
  Save(dir.file("rgb.png"), Png(200, 100, 8, 2, rgb));
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
  ASSERT_EQ(g.FinishDocument(), 0);
  std::string pdf = ReadFile(dir.file("i.pdf"));
  EXPECT_EQ(pdf.find("/XObject"), std::string::npos);
  EXPECT_EQ(pdf.find("/Contents"), std::string::npos);
  EXPECT_EQ(g.IMAGENO, 0);
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
  g.COMPRESSIMAGES = 1;
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
  ASSERT_EQ(g.FinishDocument(), 0);
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
  ASSERT_EQ(g.FinishDocument(), 0);
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_EQ(g.messages[0].rfind("Target OpenSourceFile: ", 0), 0u);
  auto drawn = RunTool("mutool draw -q -o /dev/null " + dir.file("i.pdf") + " 2>&1 | grep -v 'ICC support'");
  EXPECT_EQ(drawn.output, "");
  EXPECT_EQ(RunTool("qpdf --check " + dir.file("i.pdf")).status, 0);
}
