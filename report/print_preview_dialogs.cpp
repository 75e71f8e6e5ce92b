// The preview's small windows (pages to print, jump to a page, the display
// grid) and the page selection they lead to.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "report/print_preview.h"
#include "services/settings.h"

namespace tx {

namespace {

constexpr const char* kAskPagesSection = "_PreviewAskPagesWindow_";

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A whole number of digits alone; -1 for anything else.
long Number(std::string_view s) {
  s = Trimmed(s);
  if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  return std::strtol(std::string(s).c_str(), nullptr, 10);
}

ControlLayout CommandButton(int number, std::string text, int x, int y, bool isDefault = false) {
  ControlLayout c = PlacedControl(number, ControlKind::Button, std::move(text), x, y, 40, 14);
  c.defaultButton = isDefault;
  return c;
}

long SpinValue(WindowToolkit& tk, WindowId w, int control, long low, long high) {
  long v = Number(tk.ControlText(w, control));
  return std::clamp(v < 0 ? low : v, low, high);
}

}  // namespace

bool PrintPreview::PageSelected(std::string_view selection, int32_t n) {
  size_t start = 0;
  while (start <= selection.size()) {
    size_t comma = selection.find(',', start);
    if (comma == std::string_view::npos) comma = selection.size();
    std::string_view item = selection.substr(start, comma - start);
    size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
      if (Number(item) == n) return true;
    } else {
      long a = Number(item.substr(0, dash)), b = Number(item.substr(dash + 1));
      if (a > 0 && b > 0 && b >= a && n >= a && n <= b) return true;
    }
    start = comma + 1;
  }
  return false;
}

void PrintPreview::SetDefaultPages() { PAGESTOPRINT = "1-" + std::to_string(PageCount()); }

void PrintPreview::DeletePage(int32_t n) {
  if (n < 1 || n > PageCount()) return;
  auto at = IMAGEQUEUE->begin() + (n - 1);
  std::error_code ec;
  std::filesystem::remove(*at, ec);
  IMAGEQUEUE->erase(at);
}

void PrintPreview::SyncPages() {
  for (int32_t n = PageCount(); n >= 1; --n)
    if (!PageSelected(PAGESTOPRINT, n)) DeletePage(n);
}

uint8_t PrintPreview::AskPages() {
  enum : int { PAGES = 1, RESET, OK, CANCEL };
  WindowLayout l;
  l.title = "Pages to Print";
  l.width = 200;
  l.height = 56;
  l.controls = {PlacedControl(5, ControlKind::Text, "Pages to print (for example 1-3,5):", 6, 6, 188, 10),
                PlacedControl(PAGES, ControlKind::Entry, PAGESTOPRINT, 6, 18, 188, 12), CommandButton(RESET, "&Reset", 6, 36),
                CommandButton(OK, "&Ok", 110, 36, true), CommandButton(CANCEL, "&Cancel", 154, 36)};
  const std::string before = PAGESTOPRINT;
  WindowId w = toolkit_.OpenWindow(l);
  if (INIMGR) INIMGR->FetchWindow(kAskPagesSection, w, toolkit_);
  toolkit_.KeepOnDesktop(w);
  uint8_t result = 0;
  bool done = false;
  Event e;
  while (!done && toolkit_.NextEvent(w, e)) {
    if (e.kind == EventKind::CloseRequested || (e.kind == EventKind::Accepted && e.control == CANCEL)) {
      done = true;
    } else if (e.kind == EventKind::Accepted && e.control == RESET) {
      SetDefaultPages();
      toolkit_.SetControlText(w, PAGES, PAGESTOPRINT);
    } else if (e.kind == EventKind::Accepted && e.control == OK) {
      PAGESTOPRINT = toolkit_.ControlText(w, PAGES).substr(0, 255);
      result = 1;
      done = true;
    }
  }
  if (!result) PAGESTOPRINT = before;
  if (toolkit_.IsOpen(w)) {
    if (INIMGR) INIMGR->UpdateWindow(kAskPagesSection, w, toolkit_);
    toolkit_.CloseWindow(w);
  }
  return result;
}

uint8_t PrintPreview::AskJump() {
  enum : int { PAGE = 1, OK, CANCEL };
  const int32_t count = PageCount();
  WindowLayout l;
  l.title = "Jump to a Report Page";
  l.width = 140;
  l.height = 44;
  ControlLayout spin = PlacedControl(PAGE, ControlKind::Spin, std::to_string(CURRENTPAGE), 40, 6, 40, 12);
  spin.low = 1;
  spin.high = count;
  spin.tip = "Enter a page number from 1 to " + std::to_string(count);
  l.controls = {PlacedControl(4, ControlKind::Text, "&Page:", 6, 8, 30, 10), spin, CommandButton(OK, "&OK", 50, 24, true),
                CommandButton(CANCEL, "&Cancel", 94, 24)};
  WindowId w = toolkit_.OpenWindow(l);
  uint8_t result = 0;
  Event e;
  while (toolkit_.NextEvent(w, e)) {
    if (e.kind == EventKind::CloseRequested || (e.kind == EventKind::Accepted && e.control == CANCEL)) {
      toolkit_.CloseWindow(w);
    } else if (e.kind == EventKind::Accepted && e.control == OK) {
      const int32_t page = static_cast<int32_t>(SpinValue(toolkit_, w, PAGE, 1, count));
      result = page != CURRENTPAGE;
      CURRENTPAGE = page;
      toolkit_.CloseWindow(w);
    }
  }
  return result;
}

void PrintPreview::AskDisplay() {
  enum : int { ACROSS = 1, DOWN, OK, CANCEL };
  const int32_t count = PageCount();
  WindowLayout l;
  l.title = "Change the Report Display";
  l.width = 150;
  l.height = 60;
  ControlLayout across = PlacedControl(ACROSS, ControlKind::Spin, std::to_string(PAGESACROSS), 50, 6, 36, 12);
  across.low = 1;
  across.high = count;
  ControlLayout down = across;
  down.number = DOWN;
  down.text = std::to_string(PAGESDOWN);
  down.y = 22;
  l.controls = {PlacedControl(5, ControlKind::Text, "&Across:", 6, 8, 40, 10), across,
                PlacedControl(6, ControlKind::Text, "&Down:", 6, 24, 40, 10), down, CommandButton(OK, "&OK", 60, 40, true),
                CommandButton(CANCEL, "&Cancel", 104, 40)};
  WindowId w = toolkit_.OpenWindow(l);
  Event e;
  while (toolkit_.NextEvent(w, e)) {
    if (e.kind == EventKind::CloseRequested || (e.kind == EventKind::Accepted && e.control == CANCEL)) {
      toolkit_.CloseWindow(w);
    } else if (e.kind == EventKind::Accepted && e.control == OK) {
      const long a = SpinValue(toolkit_, w, ACROSS, 1, std::max(count, 1));
      const long d = SpinValue(toolkit_, w, DOWN, 1, std::max(count, 1));
      if (a * d > count) {
        toolkit_.SetFocus(w, ACROSS);
        continue;
      }
      PAGESACROSS = static_cast<uint16_t>(a);
      PAGESDOWN = static_cast<uint16_t>(d);
      toolkit_.CloseWindow(w);
    }
  }
}

}  // namespace tx
