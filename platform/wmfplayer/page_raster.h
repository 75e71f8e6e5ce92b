#pragma once
// A page drawn by the player into an RGB picture, for checks and tools that
// do not paint on a window: white paper, the page's bounds at `dpi`.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/wmfplayer/wmf_page.h"

namespace tx {

struct PageRaster {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // rows top first, 3 bytes a pixel
  const uint8_t* Pixel(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// Makes a Qt GUI application object when there is none yet: a program that
// wants windows as well makes its toolkit first. Without a display, run with
// QT_QPA_PLATFORM=offscreen.
PageRaster RenderWmfPage(const WmfPage& page, double dpi);
// The page `width` pixels wide, its height in proportion.
PageRaster RenderWmfPageToWidth(const WmfPage& page, int width);

bool WritePagePng(const PageRaster& image, const std::string& path);

}  // namespace tx
