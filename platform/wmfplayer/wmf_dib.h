#pragma once
// Device-independent bitmaps as metafile records carry them: an info header
// (core, info or a later version), the colour table, then the pixels, or a
// whole PNG or JPEG file in place of the pixels.
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace tx {

// The picture, top row first; a null image when the bytes do not hold one.
QImage DecodeDib(const uint8_t* data, size_t size);

}  // namespace tx
