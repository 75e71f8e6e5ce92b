#include "draw/canvas.h"

#include <algorithm>
#include <cstring>

#include "draw/bmp_file.h"
#include "draw/display_bitmap.h"
#include "draw/png_writer.h"

namespace tx {
namespace {

// Large enough for any window we open; it keeps a host's odd answer from
// turning into a huge allocation.
constexpr int kMaxCanvasSide = 16384;

}  // namespace

Canvas::Canvas() = default;
Canvas::~Canvas() = default;

void Canvas::Init(CanvasHost& host, int control) {
  host_ = &host;
  control_ = control;
  debug_ = host.DebugRequested();
  int width = 0, height = 0;
  if (!host.ControlSize(control, width, height)) {
    ReportError("ControlSize failed for control " + std::to_string(control), "Init");
    width = height = 0;
  }
  Allocate(width, height);
}

void Canvas::Init(int width, int height) {
  host_ = nullptr;
  control_ = 0;
  Allocate(width, height);
}

void Canvas::Allocate(int width, int height) {
  width_ = std::clamp(width, 0, kMaxCanvasSide);
  height_ = std::clamp(height, 0, kMaxCanvasSide);
  stride_ = BmpStride(width_);
  padding_ = static_cast<int>(stride_ - 3 * static_cast<size_t>(width_));
  const size_t bytes = kBmpHeaderSize + static_cast<size_t>(height_) * stride_ + 1;
  store_.assign(bytes, 0);
  display_.assign(bytes, 0);
  ++displayVersion_;
  penWidth_ = 1;
  layers_.assign(1, 1);
}

void Canvas::Resize(int width, int height) {
  const int32_t penWidth = penWidth_;
  Allocate(width, height);
  penWidth_ = penWidth;
}

void Canvas::Kill() {
  host_ = nullptr;
  control_ = 0;
  width_ = height_ = padding_ = 0;
  stride_ = 0;
  store_.clear();
  display_.clear();
  ++displayVersion_;
  layers_.clear();
}

size_t Canvas::Offset(int x, int y) const {
  return kBmpHeaderSize + static_cast<size_t>(height_ - y) * stride_ + 3 * static_cast<size_t>(x - 1);
}

size_t Canvas::PictureSize() const { return display_.empty() ? 0 : display_.size() - 1; }

int32_t Canvas::PixelOf(const std::vector<uint8_t>& buffer, int x, int y) const {
  if (!Inside(x, y) || buffer.empty()) return kNoColour;
  const uint8_t* p = &buffer[Offset(x, y)];
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

void Canvas::PutPixel(int x, int y, int32_t colour) {
  uint8_t* p = &store_[Offset(x, y)];
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
}

void Canvas::Blank(int32_t colour) {
  if (store_.empty()) return;
  if (colour <= 0) {
    std::fill(store_.begin(), store_.end(), 0);
  } else if (colour == 1 || colour >= 0xFFFFFF) {
    std::fill(store_.begin(), store_.end(), 0xFF);
  } else {
    for (int y = 1; y <= height_; ++y)
      for (int x = 1; x <= width_; ++x) PutPixel(x, y, colour);
  }
}

void Canvas::SetPenColor(int32_t colour) {
  penColour_ = colour;
  penRed_ = static_cast<uint8_t>(colour);
  penGreen_ = static_cast<uint8_t>(colour >> 8);
  penBlue_ = static_cast<uint8_t>(colour >> 16);
}

void Canvas::SetPenWidth(int32_t width) { penWidth_ = width; }

void Canvas::Plot(int x, int y, int32_t colour) {
  if (colour < 0) colour = penColour_;
  if (colour < 0 || !Inside(x, y)) return;
  PutPixel(x, y, colour);
}

void Canvas::Image(const std::string& fileName, int x, int y, int32_t transparent) {
  BmpPicture picture;
  BmpReadResult read = ReadBmpFile(fileName, picture);
  switch (read.status) {
    case BmpPicture::CANNOT_OPEN:
      ReportError("Unable to open bitmap file: " + fileName +
                      ", file may be missing or filename may be incorrect. Error " +
                      std::to_string(read.errorCode) + ":" + read.errorText,
                  "Image()");
      return;
    case BmpPicture::NOT_BMP:
      ReportError(fileName + " is not a valid image file, or is of an unknown type", "Image");
      return;
    case BmpPicture::UNSUPPORTED_DEPTH:
      ReportError("Sorry, but " + fileName + " contains an unsupported number of colors.", "Image");
      return;
    case BmpPicture::OK:
      break;
  }
  DrawPicture(picture, x, y, transparent);
}

void Canvas::DrawPicture(const BmpPicture& picture, int x, int y, int32_t transparent) {
  if (store_.empty() || picture.width <= 0 || picture.height <= 0) return;

  // Only the part of the picture that lands on the canvas is visited.
  const long long px = x, py = y;
  const int firstColumn = static_cast<int>(std::max(0LL, 1 - px));
  const int lastColumn = static_cast<int>(std::min<long long>(picture.width - 1, width_ - px));
  const int firstRow = static_cast<int>(std::max(0LL, 1 - py));
  const int lastRow = static_cast<int>(std::min<long long>(picture.height - 1, height_ - py));
  if (firstColumn > lastColumn || firstRow > lastRow) return;
  for (int row = firstRow; row <= lastRow; ++row) {
    const uint8_t* source = picture.Row(row);
    uint8_t* target = &store_[Offset(x + firstColumn, y + row)];
    for (int column = firstColumn; column <= lastColumn; ++column, target += 3) {
      if (picture.bitsPerPixel == 24) {
        const uint8_t* s = source + 3 * static_cast<size_t>(column);
        if (transparent >= 0 && (s[2] | (s[1] << 8) | (s[0] << 16)) == transparent) continue;
        std::memcpy(target, s, 3);
      } else {
        const uint8_t index = source[column];
        // Index 255 marks pixels the picture leaves alone.
        if (index == 255 || index >= picture.palette.size()) continue;
        std::memcpy(target, picture.palette[index].data(), 3);
      }
    }
  }
}

void Canvas::Display(int flags) {
  if (display_.empty()) return;
  ++displayVersion_;
  if (flags & DISPLAY_MERGE) {
    // Layer 1 is the only layer we ever draw on, so merging is a copy of it.
    for (int layer : layers_) {
      if (layer < 1) break;
      if (layer == 1) display_ = store_;
    }
  }
  if (flags & DISPLAY_SHOW) {
    FillBmpHeader(display_.data(), width_, height_);
    if (host_) host_->ShowPicture(control_, display_.data(), PictureSize());
  }
}

const std::vector<uint8_t>& Canvas::EncodedPNG() {
  if (pngVersion_ != displayVersion_) {
    PngWriteResult encoded = EncodePng(display_.data(), width_, height_, png_);
    if (!encoded.ok) {
      png_.clear();
      writeError_ = encoded.message;
      ReportError(encoded.message, "WritePNG");
      return png_;
    }
    pngVersion_ = displayVersion_;
  }
  return png_;
}

bool Canvas::WritePNG(const std::string& fileName) {
  if (EncodedPNG().empty()) return false;
  PngWriteResult result = WritePngBytes(fileName, png_);
  writeError_ = result.message;
  if (!result.ok) ReportError(result.message, "WritePNG");
  return result.ok;
}

void Canvas::CopyPicture() {
  if (host_) host_->CopyPicture(control_);
}

void Canvas::ReportError(const std::string& message, const std::string& operation) {
  if (!debug_ || !debugStream_) return;
  std::fprintf(debugStream_, "Tonalyx canvas: An error occured in %s, error: %s\n", operation.c_str(),
               message.c_str());
  std::fflush(debugStream_);
}

}  // namespace tx
