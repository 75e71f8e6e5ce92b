#pragma once
// Picture files for image controls: a PNG decoded into a 24-bit bottom-up
// device-independent bitmap (BITMAPINFOHEADER followed by the pixel rows),
// the form a metafile's stretch-DIB record carries.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tx {

// Empty when the file cannot be read or is not a PNG. Transparent pixels are
// blended onto white, the page colour.
std::optional<std::vector<uint8_t>> LoadPngAsDib(const std::string& path);

}  // namespace tx
