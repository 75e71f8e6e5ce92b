#include "report/print_preview.h"

#include <algorithm>
#include <cstdlib>

#include "report/report_target_selector.h"
#include "report/wmf_parser.h"
#include "services/settings.h"

namespace tx {

namespace {

constexpr const char* kPreviewSection = "_PreviewWindow_";

// The number a spin box or a typed zoom holds: optional blanks and sign,
// then digits; `found` is false when there are no digits.
long LeadingNumber(std::string_view text, bool& found) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) {
    found = false;
    return 0;
  }
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  long value = 0;
  found = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    found = true;
    value = std::min(value * 10 + (text[i] - '0'), 1000000L);
  }
  return negative ? -value : value;
}

}  // namespace

PrintPreview::PrintPreview(WindowToolkit& toolkit) : toolkit_(toolkit) {}

PrintPreview::~PrintPreview() = default;

void PrintPreview::Init(std::vector<std::string>* pageList, ReportTargetSelector* selector, WMFParser* parser,
                        ErrorManager* errors) {
  IMAGEQUEUE = pageList;
  TARGETSELECTOR = selector;
  WMFPARSER = parser;
  errors_ = errors;
  OUTPUTFILEQUEUE.clear();
  ZOOMQUEUE = {{-2, "Tile pages", "Zoom: Tile Pages"}, {-1, "Page Width", "Zoom: Page Width"},
               {50, "50% Zoom", "Zoom: 50%"},          {75, "75% Zoom", "Zoom: 75%"},
               {100, "100% Zoom", "Zoom: 100%"},       {200, "200% Zoom", "Zoom: 200%"},
               {300, "300% Zoom", "Zoom: 300%"}};
  zoomMenu_.clear();
  for (const ZoomChoice& z : ZOOMQUEUE) zoomMenu_ += (zoomMenu_.empty() ? "" : "|") + z.menuText;
  WINXPOS = WINYPOS = WINWIDTH = WINHEIGHT = PREVIEW_UNSET;
}

void PrintPreview::Kill() {
  OUTPUTFILEQUEUE.clear();
  ZOOMQUEUE.clear();
  IMAGEQUEUE = nullptr;
  TARGETSELECTOR = nullptr;
  WMFPARSER = nullptr;
  REPORTTARGET = nullptr;
}

int16_t PrintPreview::CurrentZoom() const {
  if (ZOOMINDEX == 0 || ZOOMINDEX > ZOOMQUEUE.size()) return static_cast<int16_t>(USERPERCENTILE);
  return ZOOMQUEUE[ZOOMINDEX - 1].value;
}

std::string PrintPreview::ZoomMenuText() const {
  if (ZOOMINDEX == 0 || ZOOMINDEX > ZOOMQUEUE.size()) return std::to_string(USERPERCENTILE) + "% Zoom";
  return ZOOMQUEUE[ZOOMINDEX - 1].menuText;
}

std::string PrintPreview::ZoomStatusText() const {
  if (ZOOMINDEX == 0 || ZOOMINDEX > ZOOMQUEUE.size()) return "Zoom: " + std::to_string(USERPERCENTILE) + "%";
  return ZOOMQUEUE[ZOOMINDEX - 1].statusText;
}

void PrintPreview::OpenAtPosition() {
  WindowGeometry g = toolkit_.Geometry(window_);
  if (WINXPOS != PREVIEW_UNSET && WINYPOS != PREVIEW_UNSET) {
    g.x = WINXPOS;
    g.y = WINYPOS;
    if (WINWIDTH != PREVIEW_UNSET) g.width = WINWIDTH;
    if (WINHEIGHT != PREVIEW_UNSET) g.height = WINHEIGHT;
    toolkit_.SetGeometry(window_, g);
  } else if (SAVESIZE.SET) {
    g.x = SAVESIZE.XPOS;
    g.y = SAVESIZE.YPOS;
    g.width = SAVESIZE.WIDTH;
    g.height = SAVESIZE.HEIGHT;
    toolkit_.SetGeometry(window_, g);
  } else if (INIMGR) {
    INIMGR->FetchWindow(kPreviewSection, window_, toolkit_);
  }
  if (MAXIMIZE) {
    g = toolkit_.Geometry(window_);
    g.maximized = true;
    toolkit_.SetGeometry(window_, g);
  }
  toolkit_.KeepOnDesktop(window_);
}

uint8_t PrintPreview::Display(int16_t zoom, int32_t firstPage, uint16_t across, uint16_t down) {
  PRINTOK = 0;
  const int32_t count = PageCount();
  if (count == 0) return 0;
  INITZOOM = zoom == 0 ? -2 : zoom;
  FIRSTPAGE = CURRENTPAGE = std::clamp(firstPage, 1, count);
  PAGESACROSS = std::max<uint16_t>(across, 1);
  PAGESDOWN = std::max<uint16_t>(down, 1);
  // Print with no selection ever made would keep no page at all.
  if (PAGESTOPRINT.empty()) SetDefaultPages();

  WindowLayout layout = PreviewLayout();
  for (ControlLayout& c : layout.controls)
    if (c.number == PREVIEW_ZOOM || c.number == PREVIEW_ZOOM_PROMPT) c.hidden = !ALLOWUSERZOOM;
  window_ = toolkit_.OpenWindow(layout);
  OpenAtPosition();

  toolkit_.SetControlRange(window_, PREVIEW_PAGE, 1, count);
  toolkit_.SetControlTip(window_, PREVIEW_PAGE, "Enter a page number from 1 to " + std::to_string(count));
  toolkit_.SetControlRange(window_, PREVIEW_ACROSS, 1, count);
  toolkit_.SetControlRange(window_, PREVIEW_DOWN, 1, count);
  if (count == 1)
    for (int c : {PREVIEW_PAGE, PREVIEW_ACROSS, PREVIEW_DOWN}) toolkit_.SetControlEnabled(window_, c, false);

  auto found = std::find_if(ZOOMQUEUE.begin(), ZOOMQUEUE.end(), [&](const ZoomChoice& z) { return z.value == INITZOOM; });
  if (found != ZOOMQUEUE.end()) {
    ZOOMINDEX = static_cast<uint8_t>(found - ZOOMQUEUE.begin() + 1);
  } else {
    ZOOMINDEX = 0;
    USERPERCENTILE = static_cast<uint16_t>(std::clamp<int>(std::abs(INITZOOM), 1, PREVIEW_MAX_ZOOM));
  }
  std::vector<std::string> rows;
  for (const ZoomChoice& z : ZOOMQUEUE) rows.push_back(z.menuText);
  toolkit_.SetListRows(window_, PREVIEW_ZOOM, rows);

  const int targets = TARGETSELECTOR ? TARGETSELECTOR->Items() : 0;
  toolkit_.SetControlEnabled(window_, PREVIEW_MENU_SAVE_AS, targets > 0);
  if (targets == 1)
    toolkit_.SetControlText(window_, PREVIEW_MENU_SAVE_AS, "Save As " + TARGETSELECTOR->GetReportGeneratorName(1));

  Event e;
  while (toolkit_.NextEvent(window_, e)) {
    bool stays = true;
    if (e.kind == EventKind::OpenWindow)
      Redraw();
    else
      stays = Command(e);
    if (!stays) break;
    RefreshState();
  }
  if (toolkit_.IsOpen(window_)) {
    if (INIMGR) INIMGR->UpdateWindow(kPreviewSection, window_, toolkit_);
    toolkit_.CloseWindow(window_);
  }
  if (PRINTOK == 1) SyncPages();
  return PRINTOK;
}

bool PrintPreview::Command(const Event& e) {
  switch (e.kind) {
    case EventKind::CloseRequested:
      return false;
    case EventKind::Key:
      if (e.code == KEY_PAGE_UP && toolkit_.ControlEnabled(window_, PREVIEW_MENU_PREVIOUS))
        return Command(Event{EventKind::Accepted, PREVIEW_MENU_PREVIOUS});
      if (e.code == KEY_PAGE_DOWN && toolkit_.ControlEnabled(window_, PREVIEW_MENU_NEXT))
        return Command(Event{EventKind::Accepted, PREVIEW_MENU_NEXT});
      return true;
    case EventKind::LeftClick:
      if (e.control == PREVIEW_PAGES) PageClicked(e.x, e.y);
      return true;
    case EventKind::Resized: {
      WindowGeometry g = toolkit_.Geometry(window_);
      if (!g.maximized && !g.minimized) {
        SAVESIZE = {1, static_cast<int16_t>(g.x), static_cast<int16_t>(g.y), static_cast<uint16_t>(g.width),
                    static_cast<uint16_t>(g.height)};
      }
      Redraw();
      return true;
    }
    case EventKind::Accepted:
      break;
    default:
      return true;
  }
  const int32_t count = PageCount();
  bool ok = false;
  switch (e.control) {
    case PREVIEW_MENU_PAGES:
      AskPages();
      Redraw();
      break;
    case PREVIEW_MENU_PRINT:
    case PREVIEW_TOOL_PRINT:
      PRINTOK = CONFIRMPAGES ? AskPages() : 1;
      return false;
    case PREVIEW_MENU_SAVE_AS:
      SaveAs();
      break;
    case PREVIEW_MENU_EXIT:
    case PREVIEW_TOOL_EXIT:
      return false;
    case PREVIEW_MENU_NEXT:
      if (CURRENTPAGE < count) {
        ++CURRENTPAGE;
        PageChanged();
      }
      break;
    case PREVIEW_MENU_PREVIOUS:
      if (CURRENTPAGE > 1) {
        --CURRENTPAGE;
        PageChanged();
      }
      break;
    case PREVIEW_MENU_JUMP:
      if (AskJump()) PageChanged();
      break;
    case PREVIEW_MENU_DISPLAY:
      AskDisplay();
      CURRENTPAGE = 1;
      PageChanged();
      break;
    case PREVIEW_TOOL_ZOOM:
      if (int chosen = toolkit_.PopupMenu(window_, zoomMenu_)) ZoomChosen(chosen);
      break;
    case PREVIEW_ZOOM: {
      std::string typed = toolkit_.ControlText(window_, PREVIEW_ZOOM);
      ZoomTyped(typed);
      break;
    }
    case PREVIEW_PAGE: {
      long page = LeadingNumber(toolkit_.ControlText(window_, PREVIEW_PAGE), ok);
      if (ok) CURRENTPAGE = static_cast<int32_t>(std::clamp<long>(page, 1, count));
      PageChanged();
      break;
    }
    case PREVIEW_ACROSS:
    case PREVIEW_DOWN:
      GridChanged(e.control == PREVIEW_ACROSS);
      break;
    default:
      if (e.control > PREVIEW_MENU_ZOOM && e.control <= PREVIEW_MENU_ZOOM + static_cast<int>(ZOOMQUEUE.size()))
        ZoomChosen(e.control - PREVIEW_MENU_ZOOM);
      break;
  }
  return true;
}

void PrintPreview::SaveAs() {
  if (!TARGETSELECTOR || !TARGETSELECTOR->Ask(0)) return;
  IREPORTGENERATOR* target = TARGETSELECTOR->GetReportSelected();
  if (!target || !WMFPARSER) return;
  REPORTTARGET = target;
  if (REPORTTARGET->ProducesFiles() == 1) REPORTTARGET->SetOutputFileList(&OUTPUTFILEQUEUE);
  if (REPORTTARGET->ChooseOutput(1) != 0) return;
  WMFPARSER->Init(IMAGEQUEUE, REPORTTARGET, errors_);
  if (WMFPARSER->Run(true) != 0) return;
  if (REPORTTARGET->ProducesFiles() == 1) OutputHook(OUTPUTFILEQUEUE);
}

uint8_t PrintPreview::OutputHook(std::vector<std::string>&) { return 0; }

void PrintPreview::ZoomChosen(int index) {
  if (index < 1 || index > static_cast<int>(ZOOMQUEUE.size()) || index == ZOOMINDEX) return;
  ZOOMINDEX = static_cast<uint8_t>(index);
  if (TileMode())
    PageChanged();
  else
    Redraw();
}

void PrintPreview::ZoomTyped(const std::string& text) {
  std::string_view trimmed = text;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  for (size_t i = 0; i < ZOOMQUEUE.size(); ++i)
    if (ZOOMQUEUE[i].menuText == trimmed) {
      ZoomChosen(static_cast<int>(i + 1));
      return;
    }
  bool found = false;
  long value = std::labs(LeadingNumber(trimmed, found));
  // No number, or nothing to see at 0 %: the zoom stays as it was.
  if (!found || value == 0) return;
  USERPERCENTILE = static_cast<uint16_t>(std::min<long>(value, PREVIEW_MAX_ZOOM));
  ZOOMINDEX = 0;
  Redraw();
}

void PrintPreview::PageChanged() {
  const int32_t count = PageCount();
  CURRENTPAGE = std::clamp(CURRENTPAGE, 1, std::max(count, 1));
  if (!TileMode()) {
    toolkit_.SetControlScroll(window_, PREVIEW_PAGES, PixelPoint{});
    Redraw();
    return;
  }
  const int32_t places = PAGESACROSS * PAGESDOWN;
  if (CURRENTPAGE < FIRSTPAGE || CURRENTPAGE >= FIRSTPAGE + places) {
    FIRSTPAGE = CURRENTPAGE;
    while (FIRSTPAGE > 1 && FIRSTPAGE + places - 1 > count) --FIRSTPAGE;
  }
  Redraw();
}

void PrintPreview::GridChanged(bool across) {
  const int control = across ? PREVIEW_ACROSS : PREVIEW_DOWN;
  uint16_t& dimension = across ? PAGESACROSS : PAGESDOWN;
  bool ok = false;
  long value = LeadingNumber(toolkit_.ControlText(window_, control), ok);
  if (ok) dimension = static_cast<uint16_t>(std::clamp<long>(value, 1, std::max(PageCount(), 1)));
  bool lowered = false;
  while (FIRSTPAGE + PAGESACROSS * PAGESDOWN - 1 > PageCount() && dimension >= 2) {
    --dimension;
    lowered = true;
  }
  if (!lowered) Redraw();
}

void PrintPreview::RefreshState() {
  if (!toolkit_.IsOpen(window_)) return;
  const int32_t count = PageCount();
  toolkit_.SetControlEnabled(window_, PREVIEW_MENU_PREVIOUS, CURRENTPAGE > 1);
  toolkit_.SetControlEnabled(window_, PREVIEW_MENU_NEXT, CURRENTPAGE < count);
  toolkit_.SetControlEnabled(window_, PREVIEW_MENU_JUMP, count > 1);
  toolkit_.SetControlEnabled(window_, PREVIEW_MENU_DISPLAY, count > 1);
  toolkit_.SetControlEnabled(window_, PREVIEW_ACROSS, TileMode() && count > 1);
  toolkit_.SetControlEnabled(window_, PREVIEW_DOWN, TileMode() && count > 1);
  toolkit_.SetControlText(window_, PREVIEW_PAGE, std::to_string(CURRENTPAGE));
  toolkit_.SetControlText(window_, PREVIEW_ACROSS, std::to_string(PAGESACROSS));
  toolkit_.SetControlText(window_, PREVIEW_DOWN, std::to_string(PAGESDOWN));
  ZOOMLIST = ZoomMenuText().substr(0, 16);
  toolkit_.SetControlText(window_, PREVIEW_ZOOM, ZOOMLIST);
  toolkit_.SetControlSelection(window_, PREVIEW_ZOOM, ZOOMINDEX);
  std::string pages;
  if (TileMode() && LastShownPage() != FIRSTPAGE)
    pages = "Page " + std::to_string(FIRSTPAGE) + "-" + std::to_string(LastShownPage());
  else
    pages = "Page " + std::to_string(TileMode() ? FIRSTPAGE : CURRENTPAGE);
  toolkit_.SetStatusText(window_, pages + " of " + std::to_string(count) + "\t" + ZoomStatusText());
  toolkit_.Redisplay(window_);
}

}  // namespace tx
