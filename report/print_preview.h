#pragma once
// The print preview: the "Report Preview" window over the rendered pages of a
// report run. The user moves through the pages, zooms, tiles thumbnails,
// saves the report through an output target or picks the pages to print.
// Everything here is state and commands; the toolkit's Pages control draws
// the page files at the rectangles the preview gives it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_generator.h"
#include "platform/toolkit/toolkit.h"

namespace tx {

class ErrorManager;
class ReportTargetSelector;
class SettingsManager;
class WMFParser;

// Controls and menu items of "Report Preview".
enum PreviewControl : int {
  PREVIEW_PAGES = 1,  // the Pages control
  PREVIEW_PAGE_PROMPT, PREVIEW_PAGE, PREVIEW_ACROSS_PROMPT, PREVIEW_ACROSS, PREVIEW_DOWN_PROMPT, PREVIEW_DOWN,
  PREVIEW_ZOOM_PROMPT, PREVIEW_ZOOM,
  PREVIEW_TOOL_PRINT, PREVIEW_TOOL_EXIT, PREVIEW_TOOL_ZOOM,
  PREVIEW_MENU_PAGES = 100, PREVIEW_MENU_PRINT, PREVIEW_MENU_SAVE_AS, PREVIEW_MENU_EXIT,
  PREVIEW_MENU_NEXT, PREVIEW_MENU_PREVIOUS, PREVIEW_MENU_JUMP, PREVIEW_MENU_DISPLAY,
  PREVIEW_MENU_ZOOM = 120,  // + index of the zoom choice, from 1
};

// The forced window position's "unset" marker.
constexpr int32_t PREVIEW_UNSET = INT32_MIN;
// Pixels per inch of a page shown at 100 %.
constexpr int PREVIEW_PIXELS_PER_INCH = 96;
// Gap around and between pages, in pixels.
constexpr int PREVIEW_GAP = 3;
// A typed zoom above this is taken as this.
constexpr int PREVIEW_MAX_ZOOM = 1000;

struct ZoomChoice {
  int16_t value;  // -2 tile, -1 page width, else a percentage
  std::string menuText;
  std::string statusText;
};

class PrintPreview {
 public:
  explicit PrintPreview(WindowToolkit& toolkit = Toolkit());
  virtual ~PrintPreview();
  PrintPreview(const PrintPreview&) = delete;
  PrintPreview& operator=(const PrintPreview&) = delete;

  // The page list is shared with the caller (pages deleted here leave it).
  void Init(std::vector<std::string>* pageList, ReportTargetSelector* selector, WMFParser* parser,
            ErrorManager* errors = nullptr);
  void Kill();
  // Runs the window; 1 when the user chose Print (the unselected pages are
  // then deleted), 0 otherwise.
  uint8_t Display(int16_t zoom, int32_t firstPage, uint16_t across, uint16_t down);
  void SetINIManager(SettingsManager* settings) { INIMGR = settings; }
  void SetDefaultPages();
  uint8_t AskPages();
  uint8_t AskJump();
  void AskDisplay();
  void DeletePage(int32_t n);
  void SyncPages();
  // Called with OUTPUTFILEQUEUE after a save through a target that produces files.
  virtual uint8_t OutputHook(std::vector<std::string>& files);

  // Does the selection text take in page n?
  static bool PageSelected(std::string_view selection, int32_t n);
  // The window layout (menus, toolbar, controls).
  static WindowLayout PreviewLayout();

  int32_t PageCount() const { return IMAGEQUEUE ? static_cast<int32_t>(IMAGEQUEUE->size()) : 0; }
  WindowId Window() const { return window_; }
  int16_t CurrentZoom() const;  // the zoom value now in force
  const std::vector<ZoomChoice>& ZoomChoices() const { return ZOOMQUEUE; }

  uint8_t ALLOWUSERZOOM = 0;
  uint8_t CONFIRMPAGES = 0;
  int32_t CURRENTPAGE = 1;
  int32_t FIRSTPAGE = 1;
  std::vector<std::string>* IMAGEQUEUE = nullptr;
  std::vector<std::string> OUTPUTFILEQUEUE;
  SettingsManager* INIMGR = nullptr;
  int16_t INITZOOM = 0;
  uint8_t MAXIMIZE = 0;
  uint16_t PAGESACROSS = 1, PAGESDOWN = 1;
  std::string PAGESTOPRINT;  // CSTRING(256)
  uint8_t PRINTOK = 0;
  ReportTargetSelector* TARGETSELECTOR = nullptr;
  struct {
    uint8_t SET = 0;
    int16_t XPOS = 0, YPOS = 0;
    uint16_t WIDTH = 0, HEIGHT = 0;
  } SAVESIZE;
  int32_t WINXPOS = PREVIEW_UNSET, WINYPOS = PREVIEW_UNSET, WINWIDTH = PREVIEW_UNSET, WINHEIGHT = PREVIEW_UNSET;
  WMFParser* WMFPARSER = nullptr;
  std::vector<ZoomChoice> ZOOMQUEUE;
  IREPORTGENERATOR* REPORTTARGET = nullptr;
  uint8_t ZOOMINDEX = 1;
  std::string ZOOMLIST;  // STRING(16)
  uint16_t USERPERCENTILE = 100;

 protected:
  WindowToolkit& toolkit_;

 private:
  void OpenAtPosition();
  bool Command(const Event& e);  // false when the window is to close
  void SaveAs();
  void Print();
  void PageChanged();
  void GridChanged(bool across);
  void ZoomChosen(int index);
  void ZoomTyped(const std::string& text);
  void PageClicked(int x, int y);
  void RefreshState();
  void Redraw();
  bool TileMode() const { return ZOOMINDEX == 1; }
  int32_t LastShownPage() const;
  // Page size in inches (width, height) from a page file's header.
  std::pair<double, double> PageInches(int32_t page) const;
  std::string ZoomMenuText() const;
  std::string ZoomStatusText() const;

  ErrorManager* errors_ = nullptr;
  std::string zoomMenu_;  // the pop-up menu's entries
  WindowId window_ = 0;
  std::vector<PageImage> shown_;  // what the Pages control shows, with page numbers below
  std::vector<int32_t> shownPages_;
};

}  // namespace tx
