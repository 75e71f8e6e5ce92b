#include "draw/png_writer.h"

#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>

#include "base/file_replacer.h"
#include "draw/display_bitmap.h"

namespace tx {
namespace {

struct PngFailure {
  char text[256] = {0};
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->text, sizeof failure->text, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// The libpng calls, kept free of objects with destructors because an error
// leaves this function through longjmp. Returns false on a libpng error.
bool EncodeRows(png_structp png, png_infop info, std::vector<uint8_t>* out, const uint8_t* bmp, int width,
                int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The stored triples are blue-green-red; libpng swaps them to red-green-blue
  // as it takes each row (on its own copy), so the rows go in as they are.
  png_set_bgr(png);
  const size_t stride = BmpStride(width);
  // The picture is stored bottom-up: the top canvas row is the last stored row.
  for (int y = 1; y <= height; ++y)
    png_write_row(png, bmp + 54 + static_cast<size_t>(height - y) * stride);
  png_write_end(png, nullptr);
  return true;
}

PngWriteResult Fail(std::string message) {
  PngWriteResult r;
  r.message = std::move(message);
  return r;
}

// A target that is there but cannot be replaced, or no file at all yet.
PngWriteResult OpenFailure(const std::string& fileName, const FileReplacer& out) {
  struct stat st;
  if (::lstat(fileName.c_str(), &st) == 0)
    return Fail("Unable to delete the old PNG file before creating a new one. Error " +
                std::to_string(out.ErrorCode()) + ":" + out.Error());
  return Fail("An error occured when attempting create a new PNG file: " + out.Error());
}

}  // namespace

PngWriteResult EncodePng(const uint8_t* bmp, int width, int height, std::vector<uint8_t>& out) {
  out.clear();
  if (width <= 0 || height <= 0 || !bmp) return Fail("An error occured when attempting create a new PNG file");
  PngFailure failure;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (!png) return Fail("Could not create PNG write structure, call returned a null pointer");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return Fail("Could not create PNG info strcuture, call returned a null pointer");
  }
  const bool encoded = EncodeRows(png, info, &out, bmp, width, height);
  png_destroy_write_struct(&png, &info);
  if (!encoded) {
    out.clear();
    return Fail(std::string("An error occured when writing the PNG file: ") + failure.text);
  }
  PngWriteResult ok;
  ok.ok = true;
  return ok;
}

// The name is taken as given: a name with trailing blanks is another file.
PngWriteResult WritePngFile(const std::string& fileName, const uint8_t* bmp, int width, int height) {
  if (fileName.empty()) return Fail("An error occured when attempting create a new PNG file");
  std::vector<uint8_t> png;
  PngWriteResult encoded = EncodePng(bmp, width, height, png);
  return encoded.ok ? WritePngBytes(fileName, png) : encoded;
}

PngWriteResult WritePngBytes(const std::string& fileName, const std::vector<uint8_t>& png) {
  if (fileName.empty() || png.empty()) return Fail("An error occured when attempting create a new PNG file");

  FileReplacer out;
  if (!out.Open(fileName)) return OpenFailure(fileName, out);

  // In pieces of one IDAT chunk's size, as libpng hands them out when it
  // writes to a file itself.
  constexpr size_t kPiece = 8192;
  for (size_t at = 0; at < png.size(); at += kPiece) {
    if (!out.Write(png.data() + at, std::min(kPiece, png.size() - at)))
      return Fail("An error occured when writing the PNG file: " + out.Error());
  }
  if (!out.Commit()) {
    if (out.ErrorCode() == EISDIR || out.ErrorCode() == ENOTEMPTY || out.ErrorCode() == EBUSY)
      return Fail("Unable to delete the old PNG file before creating a new one. Error " +
                  std::to_string(out.ErrorCode()) + ":" + out.Error());
    return Fail("An error occured when writing the PNG file: " + out.Error());
  }
  PngWriteResult ok;
  ok.ok = true;
  return ok;
}

}  // namespace tx
