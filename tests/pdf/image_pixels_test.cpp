// Images as a reader paints them: every image of a page is placed at its
// natural size (one pixel a point), rendered by poppler at four device pixels
// a point, and the centre of each pixel's square compared with the source.
// (Below four times its size poppler smooths an image; from there on it
// repeats pixels as they are.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "image_fixtures.h"
#include "jpeg_fixture.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {

// Pixels as 0xRRGGBB, row by row from the top.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// A binary PPM (P6) or PGM (P5) with a maximum of 255.
Picture ReadPnm(const std::string& path) {
  Picture p;
  std::string data = ReadFile(path);
  std::istringstream in(data);
  std::string magic;
  int max = 0;
  in >> magic >> p.width >> p.height >> max;
  if ((magic != "P6" && magic != "P5") || max != 255) return {};
  in.get();
  size_t at = static_cast<size_t>(in.tellg());
  size_t channels = magic == "P6" ? 3 : 1;
  if (data.size() < at + channels * p.width * p.height) return {};
  for (int i = 0; i < p.width * p.height; ++i) {
    const auto* px = reinterpret_cast<const uint8_t*>(data.data() + at + channels * i);
    p.rgb.push_back(channels == 3 ? px[0] << 16 | px[1] << 8 | px[2] : px[0] * 0x010101u);
  }
  return p;
}

// Values of `depth` bits packed into bytes, first value in the high bits.
Bytes Pack(const std::vector<int>& values, int depth) {
  Bytes out;
  int bits = 0;
  for (int v : values) {
    if (bits % 8 == 0) out.push_back(0);
    out.back() |= static_cast<uint8_t>(v << (8 - depth - bits % 8));
    bits += depth;
  }
  return out;
}

uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }

// Colour table entries: RGB triplets for PNG and GIF, blue-green-red-reserved for bitmaps.
std::vector<uint32_t> Colours(int n, int seed) {
  std::vector<uint32_t> c;
  for (int i = 0; i < n; ++i) c.push_back(Rgb((i * 37 + seed) & 255, (i * 91 + 3 * seed) & 255, (i * 53 + 7) & 255));
  return c;
}
Bytes Triplets(const std::vector<uint32_t>& colours) {
  Bytes t;
  for (uint32_t c : colours) t.insert(t.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
  return t;
}
Bytes Quads(const std::vector<uint32_t>& colours) {
  Bytes t;
  for (uint32_t c : colours) t.insert(t.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
  return t;
}

// One image of the page: where it goes (in points from the top left, a
// multiple of 9 so that report units convert without remainder), how it is
// named, and what it must look like.
struct Placed {
  std::string what;
  int left = 0, top = 0;
  std::string file;     // image file, or empty for a bitmap in the page file
  uint32_t embed = 0;   // position of that bitmap
  Picture expected;
  std::string listed;   // pdfimages -list: type, colour, components, bits, encoding
  int tolerance = 0;    // per colour component
};

// Indexed pictures: `index(x, y)` picks from `palette`.
Picture Indexed(int w, int h, const std::vector<uint32_t>& palette, const std::function<int(int, int)>& index) {
  Picture p{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.rgb.push_back(palette[static_cast<size_t>(index(x, y))]);
  return p;
}

class PdfImagePixels : public ::testing::Test {
 protected:
  static constexpr int kScale = 4;
  TempDir dir;
  std::vector<Placed> placed;
  Bytes page = Bytes(33, 0x5A);  // the page file with its embedded bitmaps
  int column = 0, rowTop = 18, rowHeight = 0;

  // Places the next image in the flow of the page.
  void Add(std::string what, const std::string& file, uint32_t embed, Picture expected, std::string listed,
           int tolerance = 0) {
    int left = 18 + column;
    if (left + expected.width > 600) {
      column = 0, left = 18;
      rowTop += rowHeight + 9;
      rowHeight = 0;
    }
    column += (expected.width + 9 + 8) / 9 * 9;
    rowHeight = std::max(rowHeight, (expected.height + 8) / 9 * 9);
    placed.push_back({std::move(what), left, rowTop, file, embed, std::move(expected), std::move(listed), tolerance});
  }
  void AddFile(const std::string& what, const std::string& name, const Bytes& bytes, Picture expected,
               const std::string& listed) {
    Save(dir.file(name), bytes);
    Add(what, dir.file(name), 0, std::move(expected), listed);
  }
  void AddBitmap(const std::string& what, const Bytes& dib, Picture expected, const std::string& listed) {
    uint32_t at = static_cast<uint32_t>(page.size() + 1);
    page.insert(page.end(), dib.begin(), dib.end());
    Add(what, "", at, std::move(expected), listed);
  }

  void AddPngs() {
    Picture rgb{37, 23, {}};
    std::vector<Bytes> rows;
    for (int y = 0; y < rgb.height; ++y) {
      Bytes r;
      for (int x = 0; x < rgb.width; ++x) {
        int red = x * 7 & 255, green = (y * 11 + x) & 255, blue = (x * y * 5) & 255;
        r.insert(r.end(), {uint8_t(red), uint8_t(green), uint8_t(blue)});
        rgb.rgb.push_back(Rgb(red, green, blue));
      }
      rows.push_back(r);
    }
    AddFile("RGB PNG", "rgb.png", Png(rgb.width, rgb.height, 8, 2, rows, {}, true), rgb, "image rgb 3 8 image");

    for (int depth : {1, 2, 4, 8}) {
      int w = 13, h = 6, max = (1 << depth) - 1;
      auto value = [&](int x, int y) { return (x * 3 + y * 5) % (max + 1); };
      std::vector<Bytes> greyRows, indexRows;
      std::vector<uint32_t> greys;
      for (int v = 0; v <= max; ++v) greys.push_back(static_cast<uint32_t>(v * 255 / max) * 0x010101u);
      for (int y = 0; y < h; ++y) {
        std::vector<int> values;
        for (int x = 0; x < w; ++x) values.push_back(value(x, y));
        greyRows.push_back(Pack(values, depth));
      }
      std::string d = std::to_string(depth);
      AddFile(d + "-bit grey PNG", "grey" + d + ".png", Png(w, h, depth, 0, greyRows, {}, true),
              Indexed(w, h, greys, value), "image gray 1 " + d + " image");
      auto palette = Colours(1 << depth, depth);
      AddFile(d + "-bit palette PNG", "pal" + d + ".png",
              Png(w, h, depth, 3, greyRows, Triplets(palette), true), Indexed(w, h, palette, value),
              "image index 1 " + d + " image");
    }
  }

  void AddGifs() {
    auto table = Colours(256, 11);
    Bytes pixels;
    for (int i = 0; i < 30 * 20; ++i) pixels.push_back(static_cast<uint8_t>(i * 13 % 256));
    AddFile("9-bit GIF", "plain.gif", Gif(30, 20, pixels, Triplets(table)),
            Indexed(30, 20, table, [&](int x, int y) { return pixels[y * 30 + x]; }), "image index 1 8 image");
    // Runs and noise: strings grow, so the codes widen to 12 bits and the
    // encoder clears its table on the way.
    Bytes mixed;
    uint32_t noise = 12345;
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 96; ++x) {
        noise = noise * 1103515245 + 12345;
        mixed.push_back(static_cast<uint8_t>(y < 32 ? x / 8 : y < 64 ? noise >> 16 : (x + y) % 5));
      }
    AddFile("LZW GIF", "lzw.gif", Gif(96, 96, mixed, Triplets(table), false),
            Indexed(96, 96, table, [&](int x, int y) { return mixed[y * 96 + x]; }), "image index 1 8 image");
    auto local = Colours(4, 99);
    Bytes four;
    for (int i = 0; i < 21 * 9; ++i) four.push_back(static_cast<uint8_t>(i % 4));
    AddFile("local table GIF", "local.gif", Gif(21, 9, four, Triplets(local), false, true),
            Indexed(21, 9, local, [&](int x, int y) { return four[y * 21 + x]; }), "image index 1 8 image");
  }

  void AddBitmaps() {
    // Monochrome: black index 0 is painted in the fill colour (black), white shows the page.
    std::vector<uint32_t> mono = {0x000000, 0xFFFFFF};
    auto bit = [](int x, int y) { return (x + y) % 3 == 0 ? 0 : 1; };
    std::vector<Bytes> monoRows;
    for (int y = 5; y-- > 0;) {
      std::vector<int> v;
      for (int x = 0; x < 13; ++x) v.push_back(bit(x, y));
      monoRows.push_back(Pack(v, 1));
    }
    AddBitmap("1-bit bitmap", Dib(13, 5, 1, Quads(mono), monoRows), Indexed(13, 5, mono, bit),
              "stencil - 1 1 image");

    for (int bits : {4, 8}) {
      int w = bits == 4 ? 7 : 9, h = 4;
      auto palette = Colours(1 << bits, bits * 5);
      auto index = [&](int x, int y) { return (x * 5 + y * 3) % (1 << bits); };
      std::vector<Bytes> stored;
      for (int y = h; y-- > 0;) {
        std::vector<int> v;
        for (int x = 0; x < w; ++x) v.push_back(index(x, y));
        stored.push_back(Pack(v, bits));
      }
      AddBitmap(std::to_string(bits) + "-bit bitmap", Dib(w, h, bits, Quads(palette), stored),
                Indexed(w, h, palette, index), "image index 1 " + std::to_string(bits) + " image");
    }

    Picture rgb{5, 3, {}};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) rgb.rgb.push_back(Rgb(40 * x + 10, 70 * y + 20, (x * y * 31 + 5) & 255));
    auto rows = [&](bool bottomUp) {
      std::vector<Bytes> stored;
      for (int i = 0; i < 3; ++i) {
        int y = bottomUp ? 2 - i : i;
        Bytes r;
        for (int x = 0; x < 5; ++x) {
          uint32_t c = rgb.at(x, y);
          r.insert(r.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
        }
        stored.push_back(r);
      }
      return stored;
    };
    AddBitmap("24-bit bitmap", Dib(5, 3, 24, {}, rows(true)), rgb, "image rgb 3 8 image");
    AddBitmap("top-down 24-bit bitmap", Dib(5, -3, 24, {}, rows(false)), rgb, "image rgb 3 8 image");
    AddBitmap("24-bit bitmap with a colour table", Dib(5, 3, 24, Quads({0x123456, 0x654321}), rows(true)), rgb,
              "image rgb 3 8 image");
  }

  void AddJpeg() {
    // The reference is mupdf's own decoding of the file; two decoders may
    // round differently.
    Save(dir.file("p.jpg"), Bytes(std::begin(kJpeg8x4), std::end(kJpeg8x4)));
    auto r = RunTool("mutool draw -q -c rgb -w 8 -h 4 -F pnm -o " + dir.file("jpeg.ppm") + " " + dir.file("p.jpg"));
    Picture reference = ReadPnm(dir.file("jpeg.ppm"));
    ASSERT_EQ(reference.width, 8) << r.output;
    ASSERT_EQ(reference.height, 4);
    Add("JPEG", dir.file("p.jpg"), 0, reference, "image rgb 3 8 jpeg", 3);
  }

  // Writes the page with every placed image, renders it and compares.
  void WriteRenderCompare(const std::string& password = {}) {
    std::string pageFile = dir.file("page1.wmf");
    Save(pageFile, page);
    std::string path = dir.file("pixels.pdf");
    TestGenerator g;
    if (!password.empty()) g.SetPassword(password);
    g.Init(path);
    g.SetCompression(true, true);
    g.BeginDocument(1);
    g.BeginPage(pageFile, 0, 0, 8500, 11000);
    for (const auto& p : placed) {
      tx::ImageFormat f;
      int left = p.left * 125 / 9, top = p.top * 125 / 9;
      f.POS = {top, left, top, left};  // no size: drawn at its pixel size in points
      f.EMBEDSTART = p.embed;
      g.EmitImage("PDF(PDFActionType=1|Hyperlink=example.org|HyperType=https://)", p.file, f);
    }
    g.FinishPage();
    ASSERT_EQ(g.FinishDocument(), tx::Level::Done);
    ASSERT_TRUE(g.messages.empty()) << g.messages.front();
    std::string pw = password.empty() ? "" : " -upw " + password;
    std::string qpw = password.empty() ? "" : " --password=" + password;
    auto check = RunTool("qpdf" + qpw + " --check " + path);
    EXPECT_EQ(check.status, 0) << check.output;
    auto drawn = RunTool("mutool draw -q" + (password.empty() ? "" : " -p " + password) + " -o /dev/null " + path +
                         " 2>&1 | grep -v 'ICC support'");
    EXPECT_EQ(drawn.output, "");
    // poppler's list: every image with its real size, colour space and bits.
    std::istringstream list(RunTool("pdfimages" + pw + " -list " + path).output);
    std::string line;
    std::getline(list, line);
    std::getline(list, line);
    for (const auto& p : placed) {
      std::getline(list, line);
      std::istringstream fields(line);
      std::vector<std::string> f;
      for (std::string w; fields >> w;) f.push_back(w);
      ASSERT_GE(f.size(), 9u) << p.what << ": " << line;
      EXPECT_EQ(f[3] + "x" + f[4], std::to_string(p.expected.width) + "x" + std::to_string(p.expected.height))
          << p.what;
      EXPECT_EQ(f[2] + " " + f[5] + " " + f[6] + " " + f[7] + " " + f[8], p.listed) << p.what;
    }
    int used = kScale * (rowTop + rowHeight + 9);  // only the part of the page that holds images
    auto r = RunTool("pdftoppm -r " + std::to_string(72 * kScale) + " -W " + std::to_string(612 * kScale) +
                     " -H " + std::to_string(used) + pw + " " + path + " " + dir.file("shot"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    Picture shot = ReadPnm(dir.file("shot-1.ppm"));
    ASSERT_EQ(shot.width, 612 * kScale);
    ASSERT_EQ(shot.height, used);
    // The centre of image pixel (x, y), and of the point next to an edge.
    auto centre = [&](int px, int py) { return shot.at(kScale * px + kScale / 2, kScale * py + kScale / 2); };
    for (const auto& p : placed) {
      int wrong = 0;
      std::string first;
      for (int y = 0; y < p.expected.height; ++y)
        for (int x = 0; x < p.expected.width; ++x) {
          uint32_t want = p.expected.at(x, y), got = centre(p.left + x, p.top + y);
          bool close = true;
          for (int s = 0; s < 24; s += 8) {
            close = close && std::abs(static_cast<int>(want >> s & 255) - static_cast<int>(got >> s & 255)) <=
                                 p.tolerance;
          }
          if (close) continue;
          if (!wrong++) {
            char text[80];
            std::snprintf(text, sizeof text, "first at %d,%d: %06x instead of %06x", x, y, got, want);
            first = text;
          }
        }
      EXPECT_EQ(wrong, 0) << p.what << ": " << first;
      // Nothing painted just outside the image.
      EXPECT_EQ(centre(p.left - 1, p.top), 0xFFFFFFu) << p.what;
      EXPECT_EQ(centre(p.left + p.expected.width, p.top + p.expected.height - 1), 0xFFFFFFu) << p.what;
    }
  }
};

}  // namespace

TEST_F(PdfImagePixels, PngImagesAreDrawnWithTheirOwnPixels) {
  AddPngs();
  WriteRenderCompare();
}

TEST_F(PdfImagePixels, GifImagesAreDrawnWithTheirOwnPixels) {
  AddGifs();
  WriteRenderCompare();
}

TEST_F(PdfImagePixels, EmbeddedBitmapsAreDrawnWithTheirOwnPixels) {
  AddBitmaps();
  WriteRenderCompare();
}

TEST_F(PdfImagePixels, JpegImagesAreDrawnAsADecoderReadsThem) {
  AddJpeg();
  WriteRenderCompare();
}

TEST_F(PdfImagePixels, EncryptedDocumentsDrawTheSamePixelsWithThePassword) {
  AddPngs();
  AddGifs();
  AddBitmaps();
  AddJpeg();
  WriteRenderCompare("secret");
}
