// Where the preview puts its pages: the thumbnail grid of tile mode, one page
// at a zoom, and what a click on a page does.
#include <algorithm>
#include <cstdio>

#include "report/print_preview.h"

namespace tx {

namespace {

// A letter page, for a page file whose header cannot be read.
constexpr double kLetterWidth = 8.5, kLetterHeight = 11.0;

}  // namespace

WindowLayout PrintPreview::PreviewLayout() {
  WindowLayout w;
  w.title = "Report Preview";
  w.width = 480;
  w.height = 320;
  w.resizable = true;
  w.statusBar = true;
  w.modal = true;
  MenuLayout file{"&File",
                  {{PREVIEW_MENU_PAGES, "Pa&ges to Print...", {}},
                   {PREVIEW_MENU_PRINT, "&Print", {}},
                   {PREVIEW_MENU_SAVE_AS, "&Save As...", {}},
                   {PREVIEW_MENU_EXIT, "E&xit", {}}}};
  MenuItemLayout zoom{0, "&Zoom", {}};
  const char* zoomTexts[] = {"Tile pages", "Page Width", "50% Zoom", "75% Zoom", "100% Zoom", "200% Zoom", "300% Zoom"};
  for (int i = 0; i < 7; ++i) zoom.items.push_back({PREVIEW_MENU_ZOOM + 1 + i, zoomTexts[i], {}});
  MenuLayout view{"&View",
                  {{PREVIEW_MENU_NEXT, "&Next Page(s)", {}},
                   {PREVIEW_MENU_PREVIOUS, "&Previous Page(s)", {}},
                   {PREVIEW_MENU_JUMP, "&Jump to a page", {}},
                   {PREVIEW_MENU_DISPLAY, "&Change Display", {}},
                   zoom}};
  w.menus = {file, view};
  auto add = [&](int number, ControlKind kind, std::string text, std::string picture, int x, int y, int width,
                 int height) {
    w.controls.push_back(PlacedControl(number, kind, std::move(text), x, y, width, height));
    w.controls.back().picture = std::move(picture);
    return &w.controls.back();
  };
  add(PREVIEW_TOOL_PRINT, ControlKind::ToolButton, "Print", "~PRINT.ICO", 0, 0, 16, 16);
  add(PREVIEW_TOOL_EXIT, ControlKind::ToolButton, "Exit", "~EXIT.ICO", 0, 0, 16, 16);
  add(PREVIEW_TOOL_ZOOM, ControlKind::ToolButton, "Zoom", "~ZOOM.ICO", 0, 0, 16, 16);
  add(PREVIEW_PAGE_PROMPT, ControlKind::Text, "&Page:", "", 4, 4, 24, 10);
  add(PREVIEW_PAGE, ControlKind::Spin, "1", "", 30, 2, 40, 12);
  add(PREVIEW_ACROSS_PROMPT, ControlKind::Text, "&Across:", "", 80, 4, 30, 10);
  add(PREVIEW_ACROSS, ControlKind::Spin, "1", "", 112, 2, 32, 12);
  add(PREVIEW_DOWN_PROMPT, ControlKind::Text, "&Down:", "", 152, 4, 26, 10);
  add(PREVIEW_DOWN, ControlKind::Spin, "1", "", 180, 2, 32, 12);
  add(PREVIEW_ZOOM_PROMPT, ControlKind::Text, "Z&oom:", "", 222, 4, 24, 10);
  add(PREVIEW_ZOOM, ControlKind::Combo, "", "", 248, 2, 70, 60);
  add(PREVIEW_PAGES, ControlKind::Pages, "", "", 0, 16, 480, 304)->stretches = true;
  return w;
}

std::pair<double, double> PrintPreview::PageInches(int32_t page) const {
  if (page < 1 || page > PageCount()) return {kLetterWidth, kLetterHeight};
  // The placeable header: key, handle, bounding box, units per inch.
  uint8_t h[16] = {};
  std::FILE* f = std::fopen((*IMAGEQUEUE)[static_cast<size_t>(page - 1)].c_str(), "rb");
  size_t n = f ? std::fread(h, 1, sizeof h, f) : 0;
  if (f) std::fclose(f);
  auto word = [&](int at) { return static_cast<int16_t>(h[at] | h[at + 1] << 8); };
  if (n < sizeof h || h[0] != 0xD7 || h[1] != 0xCD || h[2] != 0xC6 || h[3] != 0x9A) return {kLetterWidth, kLetterHeight};
  const int inch = static_cast<uint16_t>(word(14));
  const int width = word(10) - word(6), height = word(12) - word(8);
  if (inch == 0 || width <= 0 || height <= 0) return {kLetterWidth, kLetterHeight};
  return {static_cast<double>(width) / inch, static_cast<double>(height) / inch};
}

int32_t PrintPreview::LastShownPage() const {
  if (!TileMode()) return CURRENTPAGE;
  return std::min(PageCount(), FIRSTPAGE + PAGESACROSS * PAGESDOWN - 1);
}

void PrintPreview::Redraw() {
  if (!toolkit_.IsOpen(window_)) return;
  const PixelSize view = toolkit_.ControlPixelSize(window_, PREVIEW_PAGES);
  shown_.clear();
  shownPages_.clear();
  PixelSize content = view;
  auto place = [&](int32_t page, int x, int y, int width, int height) {
    shown_.push_back({(*IMAGEQUEUE)[static_cast<size_t>(page - 1)], x, y, std::max(width, 1), std::max(height, 1),
                      TileMode() && page == CURRENTPAGE});
    shownPages_.push_back(page);
  };
  if (TileMode()) {
    // Cells as the grid gives them; each page keeps its shape, centred in its cell.
    const int cellW = std::max(1, (view.width - (PAGESACROSS * PREVIEW_GAP + PREVIEW_GAP)) / PAGESACROSS);
    const int cellH = std::max(1, (view.height - (PAGESDOWN * PREVIEW_GAP + PREVIEW_GAP)) / PAGESDOWN);
    for (int32_t i = 0; i < PAGESACROSS * PAGESDOWN; ++i) {
      const int32_t page = FIRSTPAGE + i;
      if (page > PageCount()) break;
      auto [inchW, inchH] = PageInches(page);
      const double scale = std::min(cellW / inchW, cellH / inchH);
      const int w = static_cast<int>(inchW * scale), h = static_cast<int>(inchH * scale);
      const int cellX = PREVIEW_GAP + (i % PAGESACROSS) * (cellW + PREVIEW_GAP);
      const int cellY = PREVIEW_GAP + (i / PAGESACROSS) * (cellH + PREVIEW_GAP);
      place(page, cellX + (cellW - w) / 2, cellY + (cellH - h) / 2, w, h);
    }
  } else {
    auto [inchW, inchH] = PageInches(CURRENTPAGE);
    int w, h;
    if (CurrentZoom() == -1) {
      w = std::max(1, view.width - 2 * PREVIEW_GAP);
      h = static_cast<int>(w * inchH / inchW);
    } else {
      const double pixels = PREVIEW_PIXELS_PER_INCH * CurrentZoom() / 100.0;
      w = static_cast<int>(inchW * pixels);
      h = static_cast<int>(inchH * pixels);
    }
    content = {std::max(view.width, w + 2 * PREVIEW_GAP), std::max(view.height, h + 2 * PREVIEW_GAP)};
    place(CURRENTPAGE, (content.width - w) / 2, PREVIEW_GAP, w, h);
  }
  toolkit_.SetControlPages(window_, PREVIEW_PAGES, shown_, content);
}

void PrintPreview::PageClicked(int x, int y) {
  for (size_t i = 0; i < shown_.size(); ++i) {
    const PageImage& r = shown_[i];
    if (x < r.x || y < r.y || x >= r.x + r.width || y >= r.y + r.height) continue;
    CURRENTPAGE = shownPages_[i];
    if (!TileMode()) {
      ZOOMINDEX = 1;
      PageChanged();
      return;
    }
    // From a thumbnail to the page at full width, with the clicked spot in view.
    const double height = static_cast<double>(y - r.y) / r.height;
    ZOOMINDEX = 2;
    Redraw();
    const PageImage& page = shown_.front();
    const PixelSize view = toolkit_.ControlPixelSize(window_, PREVIEW_PAGES);
    toolkit_.SetControlScroll(window_, PREVIEW_PAGES,
                              PixelPoint{0, page.y + static_cast<int>(height * page.height) - view.height / 2});
    return;
  }
}

}  // namespace tx
