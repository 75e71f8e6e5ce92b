#include "draw/png_writer.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "base/fixed_string.h"
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

// The libpng calls, kept free of objects with destructors because an error
// leaves this function through longjmp. Returns false on a libpng error.
bool EncodeRows(png_structp png, png_infop info, std::FILE* file, const uint8_t* bmp, int width, int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
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

// Mode for the new file: that of the file it replaces, else what the user's
// umask allows for an ordinary file.
mode_t NewFileMode(const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

PngWriteResult Fail(std::string message) {
  PngWriteResult r;
  r.message = std::move(message);
  return r;
}

}  // namespace

PngWriteResult WritePngFile(const std::string& fileName, const uint8_t* bmp, int width, int height) {
  const std::string target(RightTrimmed(fileName));
  if (target.empty() || width <= 0 || height <= 0 || !bmp)
    return Fail("An error occured when attempting create a new PNG file");

  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return Fail("An error occured when attempting create a new PNG file");
  ::fchmod(fd, NewFileMode(target));
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail("An error occured when attempting create a new PNG file");
  }
  auto abandon = [&](std::string message) {
    std::fclose(file);
    ::unlink(temp.c_str());
    return Fail(std::move(message));
  };

  PngFailure failure;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (!png) return abandon("Could not create PNG write structure, call returned a null pointer");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return abandon("Could not create PNG info strcuture, call returned a null pointer");
  }
  const bool encoded = EncodeRows(png, info, file, bmp, width, height);
  png_destroy_write_struct(&png, &info);
  if (!encoded) return abandon(std::string("An error occured when writing the PNG file: ") + failure.text);

  // A full disk often shows only when the last bytes leave the buffer.
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const int flushErrno = errno;
  if (std::fclose(file) != 0 || !flushed) {
    ::unlink(temp.c_str());
    return Fail(std::string("An error occured when writing the PNG file: ") + std::strerror(flushed ? errno : flushErrno));
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    return Fail("Unable to delete the old PNG file before creating a new one. Error " + std::to_string(code) + ":" +
                std::strerror(code));
  }
  PngWriteResult ok;
  ok.ok = true;
  return ok;
}

}  // namespace tx
