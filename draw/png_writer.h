#pragma once
// Writing a canvas picture as a PNG file: 8-bit RGB, not interlaced, chunks
// IHDR, IDAT and IEND only, rows from the top. The file is written through a
// FileReplacer, so a failed write leaves an existing file as it was.
#include <cstdint>
#include <string>
#include <vector>

namespace tx {

struct PngWriteResult {
  bool ok = false;
  std::string message;  // why not, in the words the canvas reports
};

// `bmp` is a bottom-up 24-bit picture in canvas layout: 54 header bytes, then
// `height` rows of BmpStride(width) bytes, blue-green-red.
PngWriteResult WritePngFile(const std::string& fileName, const uint8_t* bmp, int width, int height);

// The two halves of WritePngFile, for a picture written to more than one file:
// the encoded bytes, and those bytes written to a file.
PngWriteResult EncodePng(const uint8_t* bmp, int width, int height, std::vector<uint8_t>& png);
PngWriteResult WritePngBytes(const std::string& fileName, const std::vector<uint8_t>& png);

}  // namespace tx
