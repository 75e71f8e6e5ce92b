#include "draw/toolkit_canvas_host.h"

#include <vector>

namespace tx {

bool ToolkitCanvasHost::ControlSize(int control, int& width, int& height) {
  const PixelSize size = toolkit_.ControlPixelSize(window_, control);
  width = size.width;
  height = size.height;
  return size.width > 0 && size.height > 0;
}

void ToolkitCanvasHost::ShowPicture(int control, const uint8_t* bmp, size_t size) {
  toolkit_.SetControlBitmap(window_, control, std::vector<uint8_t>(bmp, bmp + size));
  toolkit_.Redisplay(window_, control);
}

void ToolkitCanvasHost::CopyPicture(int control) { toolkit_.CopyImageToClipboard(window_, control); }

bool ToolkitCanvasHost::DebugRequested() { return toolkit_.HasFlag("/DrawDebug"); }

}  // namespace tx
