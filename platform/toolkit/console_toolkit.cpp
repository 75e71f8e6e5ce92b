#include "platform/toolkit/console_toolkit.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <system_error>

namespace tx {

namespace {

// Dialog units to pixels for the usual 8-point dialog font: a character cell
// is 4 x 8 units and about 6 x 13 pixels.
int XPixels(int units) { return units * 3 / 2; }
int YPixels(int units) { return units * 13 / 8; }

// Size given to "auto" controls: enough for their text on one line.
PixelSize AutoSize(const ControlLayout& c) {
  int w = c.width == AUTO_SIZE ? static_cast<int>(c.text.size()) * 6 + 12 : XPixels(c.width);
  int h = c.height == AUTO_SIZE ? 14 : YPixels(c.height);
  return {w, h};
}

const WindowLayout kNoLayout{};
const std::vector<uint8_t> kNoBytes{};
const std::vector<std::string> kNoRows{};

unsigned DefaultAnswer(const MessageRequest& r) {
  unsigned buttons = r.buttons ? r.buttons : BUTTON_OK;
  if (r.defaultButton & buttons) return r.defaultButton;
  return buttons & (~buttons + 1);  // lowest button of the set
}

}  // namespace

ConsoleToolkit::ConsoleToolkit(std::ostream* out) : out_(out) {}
ConsoleToolkit::~ConsoleToolkit() { ClearProgressLine(); }

ConsoleToolkit::Window* ConsoleToolkit::Find(WindowId w) {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

const ConsoleToolkit::Window* ConsoleToolkit::Find(WindowId w) const {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

ConsoleToolkit::Control* ConsoleToolkit::Find(WindowId w, int control) {
  Window* win = Find(w);
  if (!win) return nullptr;
  auto it = win->controls.find(control);
  return it == win->controls.end() ? nullptr : &it->second;
}

const ConsoleToolkit::Control* ConsoleToolkit::Find(WindowId w, int control) const {
  const Window* win = Find(w);
  if (!win) return nullptr;
  auto it = win->controls.find(control);
  return it == win->controls.end() ? nullptr : &it->second;
}

WindowId ConsoleToolkit::OpenWindow(const WindowLayout& layout) {
  WindowId id = nextId_++;
  Window& win = windows_[id];
  win.layout = layout;
  for (const ControlLayout& c : layout.controls) {
    Control& ctl = win.controls[c.number];
    ctl.layout = c;
    ctl.text = c.text;
    ctl.picture = c.picture;
    ctl.hidden = c.hidden;
    ctl.enabled = !c.disabled;
    ctl.tip = c.tip;
    ctl.low = c.low;
    ctl.high = c.high;
    if (c.defaultButton) win.defaultControl = c.number;
  }
  // Menu items are addressed like controls, so they can be disabled.
  std::function<void(const std::vector<MenuItemLayout>&)> addItems = [&](const std::vector<MenuItemLayout>& items) {
    for (const MenuItemLayout& item : items) {
      if (!item.items.empty()) {
        addItems(item.items);
        continue;
      }
      Control& ctl = win.controls[item.number];
      ctl.layout.number = item.number;
      ctl.layout.kind = ControlKind::Button;
      ctl.text = item.text;
    }
  };
  for (const MenuLayout& m : layout.menus) addItems(m.items);
  win.geometry.width = XPixels(layout.width);
  win.geometry.height = YPixels(layout.height);
  if (layout.centred) {
    win.geometry.x = (desktopWidth_ - win.geometry.width) / 2;
    win.geometry.y = (desktopHeight_ - win.geometry.height) / 2;
  } else {
    win.geometry.x = XPixels(layout.x);
    win.geometry.y = YPixels(layout.y);
  }
  win.geometry.maximized = layout.maximized;
  return id;
}

void ConsoleToolkit::HideWindow(WindowId w) {
  if (Window* win = Find(w)) win->hidden = true;
}

void ConsoleToolkit::ShowWindow(WindowId w) {
  if (Window* win = Find(w)) win->hidden = false;
}

void ConsoleToolkit::CloseWindow(WindowId w) {
  if (Window* win = Find(w)) {
    win->open = false;
    win->timer = 0;
    win->posted.clear();
  }
}

bool ConsoleToolkit::IsOpen(WindowId w) const {
  const Window* win = Find(w);
  return win && win->open;
}

bool ConsoleToolkit::NextEvent(WindowId w, Event& event) {
  Window* win = Find(w);
  if (!win || !win->open) return false;
  if (!win->openDelivered) {
    win->openDelivered = true;
    event = Event{EventKind::OpenWindow};
    return true;
  }
  if (!win->posted.empty()) {
    event = win->posted.front();
    win->posted.pop_front();
    win->idle = 0;
    return true;
  }
  auto script = std::find_if(scripted_.begin(), scripted_.end(), [&](const Scripted& s) {
    return s.title.empty() || s.title == win->layout.title;
  });
  if (script != scripted_.end()) {
    Scripted s = *script;
    scripted_.erase(script);
    if (Control* c = Find(w, s.event.control)) {
      if (s.text) c->text = *s.text;
      if (s.selection) c->selection = *s.selection;
    }
    event = s.event;
    win->idle = 0;
    return true;
  }
  if (win->timer > 0) {
    now_ += win->timer;
    event = Event{EventKind::Timer};
    win->idle = 0;
    return true;
  }
  // Nobody is going to press anything: take the default button, then ask to
  // close, then close, so that no loop waits forever.
  ++win->idle;
  const Control* def = Find(w, win->defaultControl);
  bool hasDefault = def && !def->hidden && def->enabled;
  if (win->idle == 1 && hasDefault) {
    event = Event{EventKind::Accepted, win->defaultControl};
    return true;
  }
  if (win->idle <= (hasDefault ? 2 : 1)) {
    event = Event{EventKind::CloseRequested};
    return true;
  }
  CloseWindow(w);
  return false;
}

void ConsoleToolkit::QueueWindowEvent(const Event& event, std::string title) {
  scripted_.push_back({event, std::move(title), std::nullopt, std::nullopt});
}

void ConsoleToolkit::QueueControlText(int control, std::string text, std::string title) {
  scripted_.push_back({Event{EventKind::Accepted, control}, std::move(title), std::move(text), std::nullopt});
}

void ConsoleToolkit::QueueControlSelection(int control, int selection, std::string title) {
  scripted_.push_back({Event{EventKind::Accepted, control}, std::move(title), std::nullopt, selection});
}

void ConsoleToolkit::PostEvent(WindowId w, const Event& event) {
  Window* win = Find(w);
  if (win && win->open) win->posted.push_back(event);
}

void ConsoleToolkit::SetTimer(WindowId w, int hundredths) {
  if (Window* win = Find(w)) win->timer = std::max(0, hundredths);
}

void ConsoleToolkit::SetControlText(WindowId w, int control, std::string_view text) {
  if (Control* c = Find(w, control)) c->text = std::string(text);
}

std::string ConsoleToolkit::ControlText(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->text : std::string();
}

void ConsoleToolkit::SetControlPicture(WindowId w, int control, std::string_view file) {
  if (Control* c = Find(w, control)) {
    c->picture = std::string(file);
    c->bitmap.clear();
  }
}

void ConsoleToolkit::SetControlBitmap(WindowId w, int control, std::vector<uint8_t> bmp) {
  if (Control* c = Find(w, control)) {
    c->bitmap = std::move(bmp);
    c->picture.clear();
  }
}

void ConsoleToolkit::SetControlHidden(WindowId w, int control, bool hidden) {
  if (Control* c = Find(w, control)) c->hidden = hidden;
}

bool ConsoleToolkit::ControlHidden(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->hidden : true;
}

void ConsoleToolkit::SetControlSelection(WindowId w, int control, int selection) {
  if (Control* c = Find(w, control)) c->selection = std::max(0, selection);
}

int ConsoleToolkit::ControlSelection(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->selection : 0;
}

void ConsoleToolkit::SetListRows(WindowId w, int control, std::vector<std::string> rows) {
  if (Control* c = Find(w, control)) c->rows = std::move(rows);
}

void ConsoleToolkit::SetDefaultButton(WindowId w, int control) {
  if (Window* win = Find(w)) win->defaultControl = control;
}

void ConsoleToolkit::SetProgress(WindowId w, int control, int percent) {
  if (Control* c = Find(w, control)) c->progress = std::clamp(percent, 0, 100);
}

void ConsoleToolkit::SetControlEnabled(WindowId w, int control, bool enabled) {
  if (Control* c = Find(w, control)) c->enabled = enabled;
}

bool ConsoleToolkit::ControlEnabled(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c && c->enabled;
}

void ConsoleToolkit::SetControlTip(WindowId w, int control, std::string_view tip) {
  if (Control* c = Find(w, control)) c->tip = std::string(tip);
}

void ConsoleToolkit::SetControlRange(WindowId w, int control, int low, int high) {
  if (Control* c = Find(w, control)) {
    c->low = low;
    c->high = high;
  }
}

void ConsoleToolkit::SetStatusText(WindowId w, std::string_view text) {
  if (Window* win = Find(w)) win->status = std::string(text);
}

void ConsoleToolkit::SetFocus(WindowId w, int control) {
  if (Window* win = Find(w)) win->focus = control;
}

void ConsoleToolkit::SetControlPages(WindowId w, int control, std::vector<PageImage> pages, PixelSize content) {
  if (Control* c = Find(w, control)) {
    c->pages = std::move(pages);
    c->content = content;
    SetControlScroll(w, control, c->scroll);
  }
}

void ConsoleToolkit::SetControlScroll(WindowId w, int control, PixelPoint at) {
  Control* c = Find(w, control);
  if (!c) return;
  const PixelSize view = AutoSize(c->layout);
  c->scroll.x = std::clamp(at.x, 0, std::max(0, c->content.width - view.width));
  c->scroll.y = std::clamp(at.y, 0, std::max(0, c->content.height - view.height));
}

PixelPoint ConsoleToolkit::ControlScroll(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->scroll : PixelPoint{};
}

void ConsoleToolkit::Redisplay(WindowId w, int) {
  if (Window* win = Find(w)) {
    ++win->redisplays;
    if (progressOut_) ShowProgress(w);
  }
}

void ConsoleToolkit::SetProgressOutput(std::ostream* out, bool terminal) {
  ClearProgressLine();
  progressOut_ = out;
  progressTerminal_ = terminal;
}

// The window's title and its visible texts, with the bar's percentage; on a
// terminal every change rewrites the line, elsewhere a line is written at
// the start and then once per quarter, so that logs stay short.
void ConsoleToolkit::ShowProgress(WindowId w) {
  Window* win = Find(w);
  if (!win || !win->open || win->hidden) return;
  const Control* bar = nullptr;
  std::string line = win->layout.title;
  for (const ControlLayout& layout : win->layout.controls) {
    const Control* c = Find(w, layout.number);
    if (!c || c->hidden) continue;
    if (layout.kind == ControlKind::ProgressBar) bar = c;
    if (layout.kind != ControlKind::Text || c->text.empty()) continue;
    line += ' ';
    for (char ch : c->text)
      if (ch != '&') line += ch;
  }
  if (!bar || line == progressLine_) return;
  progressLine_ = line;
  if (progressTerminal_) {
    std::string shown = "\r" + line;
    if (line.size() < progressWidth_) shown.append(progressWidth_ - line.size(), ' ');
    progressWidth_ = line.size();
    *progressOut_ << shown << std::flush;
    return;
  }
  const int percent = bar->progress;
  if (win->progressShown >= 0 && percent / 25 == win->progressShown / 25) return;
  win->progressShown = percent;
  *progressOut_ << line << "\n" << std::flush;
}

void ConsoleToolkit::ClearProgressLine() {
  if (progressOut_ && progressTerminal_ && progressWidth_ > 0)
    *progressOut_ << "\r" << std::string(progressWidth_, ' ') << "\r" << std::flush;
  progressWidth_ = 0;
  progressLine_.clear();
}

PixelSize ConsoleToolkit::ControlPixelSize(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? AutoSize(c->layout) : PixelSize{};
}

WindowGeometry ConsoleToolkit::Geometry(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->geometry : WindowGeometry{};
}

void ConsoleToolkit::SetGeometry(WindowId w, const WindowGeometry& g) {
  Window* win = Find(w);
  if (!win) return;
  win->geometry = g;
  if (!win->layout.resizable) {
    // A fixed-size window keeps its size whatever is asked.
    win->geometry.width = XPixels(win->layout.width);
    win->geometry.height = YPixels(win->layout.height);
  }
}

bool ConsoleToolkit::Resizable(WindowId w) const {
  const Window* win = Find(w);
  return win && win->layout.resizable;
}

void ConsoleToolkit::KeepOnDesktop(WindowId w) {
  Window* win = Find(w);
  if (!win) return;
  WindowGeometry& g = win->geometry;
  if (g.x + g.width > desktopWidth_) g.x = desktopWidth_ - g.width;
  if (g.y + g.height > desktopHeight_) g.y = desktopHeight_ - g.height;
  if (g.x < 0) g.x = 0;
  if (g.y < 0) g.y = 0;
}

std::optional<std::string> ConsoleToolkit::FileDialog(const FileDialogRequest& request) {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  dialogs_.push_back(request);
  if (out_ && verbose_) *out_ << (request.save ? "[save] " : "[open] ") << request.title << "\n";
  std::optional<std::string> answer;
  if (!files_.empty()) {
    answer = files_.front();
    files_.pop_front();
  }
  if (!ec) std::filesystem::current_path(cwd, ec);
  return answer;
}

unsigned ConsoleToolkit::MessageBox(const MessageRequest& request) {
  ClearProgressLine();
  unsigned answer = DefaultAnswer(request);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (out_) {
    std::string_view text = request.text;
    text.remove_suffix(std::min(request.promptLength, text.size()));
    *out_ << request.caption << "\n" << (request.barIsNewline ? BarsToNewlines(text) : std::string(text)) << "\n";
  }
  shown_.push_back({request, answer});
  return answer;
}

int ConsoleToolkit::PopupMenu(WindowId, std::string_view entries) {
  menuLog_.emplace_back(entries);
  int count = 1 + static_cast<int>(std::count(entries.begin(), entries.end(), '|'));
  int choice = 0;
  if (!menus_.empty()) {
    choice = menus_.front();
    menus_.pop_front();
  }
  return choice >= 1 && choice <= count ? choice : 0;
}

bool ConsoleToolkit::CopyImageToClipboard(WindowId w, int control) {
  const Control* c = Find(w, control);
  if (!c || c->bitmap.empty()) return false;
  clipboard_ = c->bitmap;
  return true;
}

bool ConsoleToolkit::PrintPages(const std::vector<std::string>& pageFiles, std::string_view) {
  if (!printer_) return false;
  printJobs_.push_back(pageFiles);
  return true;
}

void ConsoleToolkit::DebugOutput(std::string_view text) {
  debug_.emplace_back(text);
  if (out_) *out_ << "[debug] " << text << "\n";
}

void ConsoleToolkit::SetSessionEndHandlers(std::function<bool()> mayEnd, std::function<void()> ended) {
  mayEnd_ = std::move(mayEnd);
  ended_ = std::move(ended);
}

bool ConsoleToolkit::EndSession() {
  bool may = mayEnd_ ? mayEnd_() : true;
  if (may && ended_) ended_();
  return may;
}

void ConsoleToolkit::Halt(int exitCode) {
  halted_ = true;
  haltCode_ = exitCode;
  if (haltExits_) {
    if (out_) out_->flush();
    std::exit(haltStatus_ >= 0 ? haltStatus_ : exitCode);
  }
}

const WindowLayout& ConsoleToolkit::Layout(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->layout : kNoLayout;
}

bool ConsoleToolkit::WindowHidden(WindowId w) const {
  const Window* win = Find(w);
  return !win || win->hidden;
}

int ConsoleToolkit::TimerInterval(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->timer : 0;
}

int ConsoleToolkit::RedisplayCount(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->redisplays : 0;
}

std::string ConsoleToolkit::ControlPicture(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->picture : std::string();
}

const std::vector<uint8_t>& ConsoleToolkit::ControlBitmap(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->bitmap : kNoBytes;
}

const std::vector<std::string>& ConsoleToolkit::ListRows(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->rows : kNoRows;
}

bool ConsoleToolkit::IsDefaultButton(WindowId w, int control) const {
  const Window* win = Find(w);
  return win && control != 0 && win->defaultControl == control;
}

int ConsoleToolkit::Progress(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->progress : 0;
}

std::string ConsoleToolkit::ControlTip(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->tip : std::string();
}

std::pair<int, int> ConsoleToolkit::ControlRange(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? std::make_pair(c->low, c->high) : std::make_pair(0, 0);
}

std::string ConsoleToolkit::StatusText(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->status : std::string();
}

int ConsoleToolkit::FocusedControl(WindowId w) const {
  const Window* win = Find(w);
  return win ? win->focus : 0;
}

const std::vector<PageImage>& ConsoleToolkit::ControlPages(WindowId w, int control) const {
  static const std::vector<PageImage> none;
  const Control* c = Find(w, control);
  return c ? c->pages : none;
}

PixelSize ConsoleToolkit::ControlContent(WindowId w, int control) const {
  const Control* c = Find(w, control);
  return c ? c->content : PixelSize{};
}

std::vector<WindowId> ConsoleToolkit::Windows() const {
  std::vector<WindowId> ids;
  for (const auto& [id, win] : windows_) ids.push_back(id);
  return ids;
}

}  // namespace tx
