// Images: each distinct image file or embedded bitmap becomes one image
// XObject "/Im" + number, placed on pages with a transformation matrix.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "pdf/pdf_format.h"
#include "pdf/pdf_generator.h"

namespace tx {

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Le16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const Bytes& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
uint32_t Be16(const Bytes& b, size_t at) { return b[at] << 8 | b[at + 1]; }
uint32_t Be32(const Bytes& b, size_t at) { return Be16(b, at) << 16 | Be16(b, at + 2); }

// The whole file, read in pieces of at most 64000 bytes; errno on failure.
// Only regular files, and only as much as the file held when it was opened:
// a device or a pipe named as an image would never end.
int ReadWhole(const std::string& path, Bytes& out) {
  out.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return EINVAL;
  }
  uint8_t piece[PDFOutputFile::kPiece];
  for (size_t left = static_cast<size_t>(st.st_size); left > 0;) {
    ssize_t n = ::read(fd, piece, std::min(sizeof piece, left));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int code = errno;
      ::close(fd);
      return code;
    }
    if (n == 0) break;
    out.insert(out.end(), piece, piece + n);
    left -= static_cast<size_t>(n);
  }
  ::close(fd);
  return 0;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Skips GIF data sub-blocks from `at`; the position after the terminator, or 0.
size_t SkipSubBlocks(const Bytes& b, size_t at) {
  while (at < b.size()) {
    uint8_t n = b[at];
    at += 1 + n;
    if (n == 0) return at;
  }
  return 0;
}

// Bitmap information header of an embedded device-independent bitmap.
struct Dib {
  uint32_t headerSize = 0;
  int32_t width = 0, height = 0;
  int bits = 0;
  uint32_t colours = 0;
  size_t table = 0;   // offset of the colour table
  size_t pixels = 0;  // offset of the pixel rows
  size_t rowBytes = 0;
  bool ok = false;
};

Dib ReadDib(const Bytes& b, size_t at) {
  Dib d;
  if (at + 40 > b.size()) return d;
  d.headerSize = Le32(b, at);
  d.width = static_cast<int32_t>(Le32(b, at + 4));
  d.height = static_cast<int32_t>(Le32(b, at + 8));
  d.bits = static_cast<int>(Le16(b, at + 14));
  uint32_t compression = Le32(b, at + 16);
  uint32_t used = Le32(b, at + 32);
  // Only uncompressed 1, 4, 8 and 24-bit rows can be copied as they stand.
  if (d.headerSize < 40 || compression != 0 || d.width <= 0 || d.height == 0 || d.width > 65535 ||
      d.height > 65535 || d.height < -65535) {
    return d;
  }
  if (d.bits != 1 && d.bits != 4 && d.bits != 8 && d.bits != 24) return d;
  d.colours = d.bits <= 8 ? (used ? used : 1u << d.bits) : 0;
  if (d.colours > 256 || used > 256) return d;
  d.table = at + d.headerSize;
  // A true-colour bitmap may still carry a colour table (for display on
  // palette devices); its rows start after it.
  d.pixels = d.table + (d.bits == 24 ? used : d.colours) * 4;
  d.rowBytes = (static_cast<size_t>(d.width) * d.bits + 31) / 32 * 4;
  size_t rows = static_cast<size_t>(d.height < 0 ? -d.height : d.height);
  d.ok = d.pixels <= b.size() && d.rowBytes * rows <= b.size() - d.pixels;
  return d;
}

// Re-packs GIF LZW codes (least significant bit first, in sub-blocks) most
// significant bit first for /LZWDecode with /EarlyChange 0. Empty when the
// codes do not end with the end code inside the sub-blocks.
Bytes RepackGif(const Bytes& b, size_t at) {
  Bytes in;
  while (at < b.size() && b[at] != 0) {
    size_t n = b[at];
    if (at + 1 + n > b.size()) return {};
    in.insert(in.end(), b.begin() + static_cast<long>(at) + 1, b.begin() + static_cast<long>(at + 1 + n));
    at += 1 + n;
  }
  Bytes out;
  uint32_t acc = 0;
  int accBits = 0, width = 9, slot = 257;
  size_t bit = 0;
  uint32_t outAcc = 0;
  int outBits = 0;
  auto put = [&](uint32_t code, int w) {
    outAcc = outAcc << w | code;
    outBits += w;
    while (outBits >= 8) {
      out.push_back(static_cast<uint8_t>(outAcc >> (outBits - 8)));
      outBits -= 8;
    }
    outAcc &= (1u << outBits) - 1;
  };
  for (;;) {
    while (accBits < width) {
      if (bit / 8 >= in.size()) return {};
      acc |= static_cast<uint32_t>(in[bit / 8]) << accBits;
      accBits += 8;
      bit += 8;
    }
    uint32_t code = acc & ((1u << width) - 1);
    acc >>= width;
    accBits -= width;
    put(code, width);
    if (code == 257) break;
    if (code == 256) {
      width = 9;
      slot = 257;
      continue;
    }
    if (slot < 4096) ++slot;
    if (slot == (1 << width) && width < 12) ++width;
  }
  if (outBits > 0) out.push_back(static_cast<uint8_t>(outAcc << (8 - outBits)));
  return out;
}

// Where a PNG keeps its palette and its image data.
struct PngParts {
  size_t palette = 0, paletteLength = 0;  // offset and length of the PLTE data
  Bytes data;                             // every IDAT chunk's data, in order
};

// Walks the chunks after the signature and IHDR; a chunk that runs past the
// end of the file ends the walk, so a cut file gives what it still holds.
PngParts WalkPng(const Bytes& b) {
  PngParts parts;
  size_t at = 33;
  while (at + 8 <= b.size()) {
    size_t length = Be32(b, at);
    if (length > b.size() - at - 8) break;
    const uint8_t* type = b.data() + at + 4;
    if (std::memcmp(type, "IDAT", 4) == 0) {
      parts.data.insert(parts.data.end(), b.begin() + static_cast<long>(at + 8),
                        b.begin() + static_cast<long>(at + 8 + length));
    } else if (std::memcmp(type, "PLTE", 4) == 0 && parts.data.empty()) {
      parts.palette = at + 8;
      parts.paletteLength = length;
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      break;
    }
    at += 8 + length + 4;
  }
  return parts;
}

bool PngDepthFits(uint8_t type, uint8_t depth) {
  switch (type) {
    case 0:
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
      return depth == 8;
    default:
      return false;
  }
}

// Fills the image's kind, size and positions from the bytes of its file;
// TYPE stays 0 for anything that could not be drawn as it stands.
void Examine(const Bytes& b, ImageRow& image) {
  image.TYPE = 0;
  if (image.EMBEDED >= 1) {
    Dib d = ReadDib(b, static_cast<size_t>(image.EMBEDED) - 1);
    if (!d.ok) return;
    image.TYPE = 5;
    image.BIT_DEPTH = image.COLOR_TYPE = static_cast<uint8_t>(d.bits);
    image.COLORTABLELEN = static_cast<int32_t>(d.colours * 4);
    image.COLORTABLESTART = static_cast<int32_t>(d.table + 1);
    image.STREEMSTART = static_cast<int32_t>(d.pixels + 1);
    image.WIDTH = d.width;
    image.HEIGHT = d.height < 0 ? -d.height : d.height;
    return;
  }
  if (b.size() > 11 && std::memcmp(b.data() + 6, "JFIF", 4) == 0 && b[10] == 0) {
    // Walk the segments to the frame header rather than trusting one layout.
    size_t at = 2;
    while (at + 9 < b.size() && b[at] == 0xFF) {
      uint8_t marker = b[at + 1];
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
        // The DCT filter knows 8-bit Huffman-coded frames only, baseline or progressive.
        uint8_t components = b[at + 9];
        uint32_t height = Be16(b, at + 5), width = Be16(b, at + 7);
        if (marker > 0xC2 || b[at + 4] != 8 || width == 0 || height == 0) return;
        if (components != 1 && components != 3 && components != 4) return;
        image.TYPE = 1;
        image.HEIGHT = static_cast<int32_t>(height);
        image.WIDTH = static_cast<int32_t>(width);
        image.COLOR_TYPE = components;
        return;
      }
      at += 2 + Be16(b, at + 2);
    }
    return;
  }
  if (b.size() > 13 && std::memcmp(b.data(), "GIF", 3) == 0) {
    size_t at = 13;
    bool global = b[10] & 0x80;
    if (global) {
      image.COLORTABLELEN = b[10] & 7;
      image.COLORTABLESTART = 14;
      at += 3u << ((b[10] & 7) + 1);
    }
    while (at < b.size()) {
      if (b[at] == 0x21 && at + 1 < b.size()) {
        uint8_t label = b[at + 1];
        size_t skip = label == 0xF9 ? 8 : label == 0x01 ? 15 : label == 0xFF ? 14 : 2;
        at += skip;
        if (label != 0xF9 && !(at = SkipSubBlocks(b, at))) return;
        continue;
      }
      if (b[at] != 0x2C || at + 10 >= b.size()) return;
      uint8_t flags = b[at + 9];
      image.WIDTH = static_cast<int32_t>(Le16(b, at + 5));
      image.HEIGHT = static_cast<int32_t>(Le16(b, at + 7));
      if (flags & 0x40) return;  // interlaced rows would come out of order
      if (image.WIDTH == 0 || image.HEIGHT == 0) return;
      at += 10;
      if (flags & 0x80) {
        image.COLORTABLELEN = flags & 7;
        image.COLORTABLESTART = static_cast<int32_t>(at + 1);
        at += 3u << ((flags & 7) + 1);
      } else if (!global) {
        return;
      }
      if (at + 1 >= b.size() || b[at] != 8) return;
      // Codes that never reach the end code would leave the page with an
      // image of no data: such a file is not drawn at all.
      if (RepackGif(b, at + 1).empty()) return;
      image.STREEMSTART = static_cast<int32_t>(at + 2);
      image.TYPE = 2;
      return;
    }
    return;
  }
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (b.size() >= 33 && std::memcmp(b.data(), kPng, 8) == 0 && Be32(b, 8) == 13 &&
      std::memcmp(b.data() + 12, "IHDR", 4) == 0) {
    uint32_t width = Be32(b, 16), height = Be32(b, 20);
    uint8_t depth = b[24], type = b[25], interlace = b[28];
    // Alpha, 16 bits and interlaced rows cannot be handed to the Flate
    // predictor as they stand.
    if (!PngDepthFits(type, depth) || interlace != 0 || b[26] != 0 || b[27] != 0) return;
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return;
    PngParts parts = WalkPng(b);
    if (parts.data.empty()) return;
    // A palette image needs its palette: without one there is nothing the
    // indices could stand for.
    if (type == 3 && (parts.paletteLength < 3 || parts.paletteLength > 768 || parts.paletteLength % 3)) return;
    image.TYPE = 3;
    image.WIDTH = static_cast<int32_t>(width);
    image.HEIGHT = static_cast<int32_t>(height);
    image.BIT_DEPTH = depth;
    image.COLOR_TYPE = type;
  }
}

bool SameImage(const ImageRow& a, const ImageRow& b) {
  return a.TYPE == b.TYPE && a.WIDTH == b.WIDTH && a.HEIGHT == b.HEIGHT && a.BIT_DEPTH == b.BIT_DEPTH &&
         a.COLOR_TYPE == b.COLOR_TYPE && a.COLORTABLELEN == b.COLORTABLELEN &&
         a.COLORTABLESTART == b.COLORTABLESTART && a.STREEMSTART == b.STREEMSTART;
}

}  // namespace

void PDFGenerator::PlaceImage(std::string_view name, int32_t x, int32_t y, int32_t w, int32_t embedStart, int32_t h) {
  name = RightTrimmed(name);
  if (name.empty()) return;
  std::string identity = Upper(name);
  if (embedStart != 0) identity += "|" + std::to_string(embedStart);
  ImageRow* image = nullptr;
  for (auto& row : image_.IMAGES) {
    if (Upper(row.EMBEDEDFILENAME) == identity) image = &row;
  }
  if (!image) {
    ImageRow row;
    row.IMAGENO = image_.IMAGENO + 1;
    row.FILENAME = std::string(name.substr(0, 255));
    row.EMBEDEDFILENAME = identity;
    row.EMBEDED = embedStart;
    if (!GetImageInfo(row) || row.TYPE == 0) return;
    ++image_.IMAGENO;
    image_.IMAGES.push_back(row);
    image = &image_.IMAGES.back();
  }
  int32_t wp = w != 0 ? static_cast<int32_t>(static_cast<int64_t>(w) * 612 / 8500) : image->WIDTH;
  int32_t hp = h != 0 ? static_cast<int32_t>(static_cast<int64_t>(h) * 612 / 8500) : image->HEIGHT;
  BeginGraphics(true);
  OUTPUT->WriteLine("q " + std::to_string(wp) + " 0 0 " + std::to_string(hp) + " " + pdf::Num(pdf::ToPoints(x)) + " " +
                    pdf::Num(page_.PAGEHEIGHT - pdf::ToPoints(y) - hp) + " cm /Im" + std::to_string(image->IMAGENO) +
                    " Do Q");
}

bool PDFGenerator::GetImageInfo(ImageRow& image) {
  Bytes b;
  if (int code = ReadWhole(image.FILENAME, b)) {
    ShowMessage("GetImageInfo",
                "ERROR (" + std::to_string(code) + ")" + std::strerror(code) + " FILE:" + image.FILENAME);
    return false;
  }
  Examine(b, image);
  return true;
}

void PDFGenerator::WriteImages() {
  for (auto& image : image_.IMAGES) WriteImage(image);
}

void PDFGenerator::WriteImage(ImageRow& image) {
  // Pages already name the image, so a source that went missing or changed
  // since it was placed still gets an object: one white pixel.
  auto placeholder = [&] {
    int32_t n = image.OBJECTNO = ++doc_.CUROBJ;
    AddLocation(n);
    OUTPUT->WriteLine(std::to_string(n) + " 0 obj <<");
    OUTPUT->WriteLine("/Type /XObject");
    OUTPUT->WriteLine("/Subtype /Image");
    OUTPUT->WriteLine("/Name /Im" + std::to_string(image.IMAGENO));
    OUTPUT->WriteLine("/Width 1");
    OUTPUT->WriteLine("/Height 1");
    OUTPUT->WriteLine("/BitsPerComponent 8");
    OUTPUT->WriteLine("/ColorSpace /DeviceGray");
    OUTPUT->StartBuffering();
    OUTPUT->BeginObject(static_cast<uint32_t>(n));
    OUTPUT->Write("\xff");
    OUTPUT->EndObject();
    OUTPUT->StopBuffering();
    OUTPUT->WriteLine("/Length 1");
    OUTPUT->WriteLine(">>");
    OUTPUT->WriteLine("stream");
    OUTPUT->Flush(false);
    OUTPUT->WriteLine("");
    OUTPUT->WriteLine("endstream");
    OUTPUT->WriteLine("endobj");
  };
  Bytes b;
  if (!OUTPUT->OpenSource(image.FILENAME)) return placeholder();
  OUTPUT->CloseSource();
  if (ReadWhole(image.FILENAME, b) != 0) return placeholder();
  // The file is read again at the end: what was placed must still be there.
  ImageRow now = image;
  Examine(b, now);
  if (!SameImage(now, image)) return placeholder();

  // A byte string inside a dictionary: encrypted like every string of the
  // object, and escaped so that no byte ends it or changes in reading.
  auto bytesString = [&](int32_t object, const uint8_t* data, size_t length) {
    std::string raw(reinterpret_cast<const char*>(data), length);
    if (OUTPUT->KeysReady()) {
      OUTPUT->WriteEncryptedString(static_cast<uint32_t>(object), raw, false);
      return;
    }
    std::string out;
    for (char c : raw) {
      if (c == '(' || c == ')' || c == '\\') out += '\\';
      if (c == '\r') {
        out += "\\r";
        continue;
      }
      out += c;
    }
    OUTPUT->Write(out);
  };
  // Buffers a stream's data, compressed and encrypted as asked.
  auto bufferStream = [&](int32_t object, bool compress, auto fill) {
    OUTPUT->StartBuffering();
    OUTPUT->BeginObject(static_cast<uint32_t>(object));
    if (compress) OUTPUT->StartFlate();
    fill();
    if (compress) OUTPUT->Compress();
    OUTPUT->StopFlate();
    OUTPUT->EndObject();
    OUTPUT->StopBuffering();
  };
  auto writeStreamTail = [&] {
    OUTPUT->WriteLine("stream");
    page_.STREAMSTART = OUTPUT->FPOS;
    OUTPUT->Flush(false);
    OUTPUT->WriteLine("");
    OUTPUT->WriteLine("endstream");
    OUTPUT->WriteLine("endobj");
  };

  Dib dib;
  if (image.TYPE == 5) {
    dib = ReadDib(b, static_cast<size_t>(image.EMBEDED) - 1);
    if (!dib.ok || dib.bits != image.BIT_DEPTH) return placeholder();
    if (dib.bits == 4 || dib.bits == 8) {
      int32_t palette = ++doc_.CUROBJ;
      AddLocation(palette);
      OUTPUT->WriteLine(std::to_string(palette) + " 0 obj <<");
      bufferStream(palette, doc_.COMPRESSIMAGES != 0, [&] {
        std::string rgb;
        for (uint32_t c = 0; c < dib.colours; ++c) {
          size_t e = dib.table + c * 4;
          rgb += static_cast<char>(b[e + 2]);
          rgb += static_cast<char>(b[e + 1]);
          rgb += static_cast<char>(b[e]);
        }
        OUTPUT->Write(rgb);
      });
      if (OUTPUT->FLATED) OUTPUT->WriteLine("/Filter[/FlateDecode]");
      OUTPUT->WriteLine("/Length " + std::to_string(OUTPUT->BUFFERLEN));
      OUTPUT->WriteLine(">>");
      writeStreamTail();
      int32_t space = ++doc_.CUROBJ;
      AddLocation(space);
      OUTPUT->WriteLine(std::to_string(space) + " 0 obj");
      OUTPUT->WriteLine("[/Indexed/DeviceRGB " + std::to_string(dib.colours - 1) + " " + std::to_string(palette) +
                        " 0 R]");
      OUTPUT->WriteLine("endobj");
    }
  }

  int32_t n = image.OBJECTNO = ++doc_.CUROBJ;
  AddLocation(n);
  OUTPUT->WriteLine(std::to_string(n) + " 0 obj <<");
  OUTPUT->WriteLine("/Type /XObject");
  OUTPUT->WriteLine("/Subtype /Image");
  OUTPUT->WriteLine("/Name /Im" + std::to_string(image.IMAGENO));
  OUTPUT->WriteLine("/Width " + std::to_string(image.WIDTH));
  OUTPUT->WriteLine("/Height " + std::to_string(image.HEIGHT));
  bool fileImage = image.TYPE >= 1 && image.TYPE <= 3;
  if (fileImage) OUTPUT->WriteLine("/Length " + std::to_string(n + 1) + " 0 R");

  Bytes data;
  switch (image.TYPE) {
    case 1:
      OUTPUT->WriteLine("/BitsPerComponent 8");
      OUTPUT->WriteLine(image.COLOR_TYPE == 1   ? "/ColorSpace /DeviceGray"
                        : image.COLOR_TYPE == 4 ? "/ColorSpace /DeviceCMYK"
                                                : "/ColorSpace /DeviceRGB");
      OUTPUT->WriteLine("/Filter /DCTDecode");
      data = b;
      break;
    case 2: {
      int colours = 2 << image.COLORTABLELEN;
      OUTPUT->WriteLine("/BitsPerComponent 8");
      OUTPUT->WriteLine("/Filter /LZWDecode");
      OUTPUT->WriteLine("/DecodeParms <</EarlyChange 0>>");
      OUTPUT->Write("/ColorSpace [/Indexed /DeviceRGB " + std::to_string(colours - 1) + " (");
      size_t table = static_cast<size_t>(image.COLORTABLESTART) - 1;
      size_t length = std::min<size_t>(3u * colours, b.size() > table ? b.size() - table : 0);
      bytesString(n, b.data() + table, length);
      OUTPUT->WriteLine(")]");
      data = RepackGif(b, static_cast<size_t>(image.STREEMSTART) - 1);
      break;
    }
    case 3: {
      OUTPUT->WriteLine("/Filter /FlateDecode");
      std::string colors = image.COLOR_TYPE == 2 ? " /Colors 3" : " /Colors 1";
      OUTPUT->WriteLine("/DecodeParms <</Predictor 15 /Columns " + std::to_string(image.WIDTH) + colors +
                        " /BitsPerComponent " + std::to_string(image.BIT_DEPTH) + ">>");
      // The real depth for palette images too: the rows carry indices of that size.
      OUTPUT->WriteLine("/BitsPerComponent " + std::to_string(image.BIT_DEPTH));
      PngParts parts = WalkPng(b);
      if (image.COLOR_TYPE == 3) {
        OUTPUT->Write("/ColorSpace [/Indexed /DeviceRGB " + std::to_string(parts.paletteLength / 3 - 1) + " (");
        bytesString(n, b.data() + parts.palette, parts.paletteLength);
        OUTPUT->WriteLine(")]");
      }
      data = std::move(parts.data);
      if (image.COLOR_TYPE == 0) OUTPUT->WriteLine("/ColorSpace /DeviceGray");
      if (image.COLOR_TYPE == 2) OUTPUT->WriteLine("/ColorSpace /DeviceRGB");
      break;
    }
    case 5:
      if (dib.bits == 1) {
        OUTPUT->WriteLine("/BitsPerComponent 1");
        OUTPUT->WriteLine("/ImageMask true");
        bool light = dib.colours > 0 && (b[dib.table] || b[dib.table + 1] || b[dib.table + 2]);
        OUTPUT->WriteLine(std::string("/Decode[") + (light ? "1 0" : "0 1") + "]");
      } else if (dib.bits == 24) {
        OUTPUT->WriteLine("/BitsPerComponent 8");
        OUTPUT->WriteLine("/ColorSpace/DeviceRGB");
      } else {
        OUTPUT->WriteLine("/BitsPerComponent " + std::to_string(dib.bits));
        OUTPUT->WriteLine("/ColorSpace " + std::to_string(n - 1) + " 0 R");
      }
      break;
    default:
      break;
  }

  if (fileImage) {
    OUTPUT->WriteLine(">>");
    // Not recompressed, but encrypted like every other stream: a reader
    // decrypts every stream of an encrypted document before decoding it.
    bufferStream(n, false, [&] {
      OUTPUT->Write(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    });
    uint32_t length = OUTPUT->BUFFERLEN;
    writeStreamTail();
    // The length object always follows, so the reference above never dangles.
    int32_t lengthObject = ++doc_.CUROBJ;
    AddLocation(lengthObject);
    OUTPUT->WriteLine(std::to_string(lengthObject) + " 0 obj");
    OUTPUT->WriteLine(std::to_string(length));
    OUTPUT->WriteLine("endobj");
    return;
  }
  bufferStream(n, doc_.COMPRESSIMAGES != 0, [&] {
    size_t rowLength = dib.bits == 1   ? (static_cast<size_t>(dib.width) + 7) / 8
                       : dib.bits == 4 ? (static_cast<size_t>(dib.width) + 1) / 2
                       : dib.bits == 8 ? static_cast<size_t>(dib.width)
                                       : 3 * static_cast<size_t>(dib.width);
    size_t rows = static_cast<size_t>(image.HEIGHT);
    std::string row(rowLength, '\0');
    for (size_t r = 0; r < rows; ++r) {
      // Bottom-up rows (positive height) are written top row first.
      size_t source = dib.height > 0 ? rows - 1 - r : r;
      const uint8_t* p = b.data() + dib.pixels + source * dib.rowBytes;
      std::memcpy(row.data(), p, rowLength);
      if (dib.bits == 24) {
        for (size_t px = 0; px + 2 < rowLength; px += 3) std::swap(row[px], row[px + 2]);
      }
      OUTPUT->Write(row);
    }
  });
  if (OUTPUT->FLATED) OUTPUT->WriteLine("/Filter[/FlateDecode]");
  OUTPUT->WriteLine("/Length " + std::to_string(OUTPUT->BUFFERLEN));
  OUTPUT->WriteLine(">>");
  writeStreamTail();
}

}  // namespace tx
