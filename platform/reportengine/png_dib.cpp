#include "platform/reportengine/png_dib.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace tx {

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

std::optional<std::vector<uint8_t>> LoadPngAsDib(const std::string& path) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_stdio(&image, file.get())) return std::nullopt;
  image.format = PNG_FORMAT_BGR;
  if (image.width == 0 || image.height == 0 || image.width > 30000 || image.height > 30000) {
    png_image_free(&image);
    return std::nullopt;
  }
  const uint32_t width = image.width, height = image.height;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> dib(40 + stride * height, 0);
  png_color white{255, 255, 255};
  // A negative row stride puts the bottom row first, as a DIB keeps them.
  if (!png_image_finish_read(&image, &white, dib.data() + 40, -static_cast<png_int_32>(stride), nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  Put32(dib, 0, 40);
  Put32(dib, 4, width);
  Put32(dib, 8, height);
  dib[12] = 1;   // planes
  dib[14] = 24;  // bits per pixel
  Put32(dib, 16, 0);  // BI_RGB
  Put32(dib, 20, static_cast<uint32_t>(stride * height));
  Put32(dib, 24, 3937);  // 100 dots per inch, in dots per metre
  Put32(dib, 28, 3937);
  return dib;
}

}  // namespace tx
