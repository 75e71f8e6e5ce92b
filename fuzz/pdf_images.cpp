// Arbitrary bytes as an image the PDF writer embeds: a file it takes for a
// JPEG, GIF or PNG by its content, or a device-independent bitmap inside a
// page file at a given place. The first byte picks which (odd: embedded, at
// the position the next two bytes give), the rest is the file. The image is
// placed twice, then written with the document, read again as it is then.
//
// Seeds: image files with three leading bytes, e.g. printf '\0\0\0' | cat - a.png;
// a bitmap file as embedded: printf '\1\16\0' | cat - a.bmp (its header at byte 15).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdf/pdf_generator.h"

namespace {

class QuietPdf : public tx::PDFGenerator {
 protected:
  void ShowMessage(std::string_view, std::string_view) override {}
};

std::string InputFile(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("image", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return {};
  return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::string file = InputFile(data + 3, size - 3);
  if (file.empty()) return 0;
  tx::ImageFormat image;
  image.POS = {1000, 1000, 2000, 3000};
  if (data[0] & 1) image.EMBEDSTART = 1 + (static_cast<uint32_t>(data[1]) | static_cast<uint32_t>(data[2]) << 8);
  QuietPdf generator;
  generator.Init("/dev/null");  // written in place: the document itself is not the point
  generator.SetCompression(true, (data[0] & 2) != 0);
  generator.BeginDocument(1);
  generator.BeginPage(file, 0, 0, 8500, 11000);
  generator.EmitImage("", file, image);
  image.POS = {4000, 1000, 4000, 1000};  // at its own size
  generator.EmitImage("", file, image);
  generator.FinishPage();
  generator.FinishDocument();
  return 0;
}
