// Arbitrary bytes as a block picture: parsed, then blitted at a few places
// on a canvas, including partly and wholly outside it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/bmp_file.h"
#include "draw/canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tx::BmpPicture picture;
  if (tx::ParseBmp(std::vector<uint8_t>(data, data + size), picture) != tx::BmpPicture::OK) return 0;
  static tx::Canvas canvas;
  if (canvas.Width() == 0) canvas.Init(61, 37);
  for (auto [x, y] : {std::pair{1, 1}, std::pair{0, 0}, std::pair{-20, 30}, std::pair{60, -5}, std::pair{200, 200}})
    canvas.DrawPicture(picture, x, y, size % 2 ? 0x00FF00 : tx::kNoColour);
  return 0;
}
