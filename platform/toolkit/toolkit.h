#pragma once
// The window toolkit every window of Tonalyx goes through. Windows are opened
// from a layout (controls addressed by number, positions in dialog units),
// driven by an event loop that hands out one event at a time, and queried or
// changed through their control numbers. The console toolkit runs all of this
// without a display; a Qt toolkit stands behind the same interface.
// This header is the folder's front door; beside it: console_toolkit.h (the
// console toolkit), command_line.h (the program's options), buttons.h.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/toolkit/buttons.h"
#include "platform/toolkit/command_line.h"

namespace tx {

using WindowId = int;  // 0 is never a window

// Width or height left to the toolkit ("auto" in a layout).
constexpr int AUTO_SIZE = -1;

// Entry (a typed text) and Spin (a number with a range) serve the dialogs
// that ask the user for a value; a Spin's value is its text, and changing it
// is an Accepted event. Combo is an editable list: its rows come from
// SetListRows, its text is what is typed or picked, and picking a row or
// confirming a typed text is an Accepted event (ControlSelection: the row
// picked from 1, 0 for a typed text). ToolButton is a button of the window's
// toolbar (in layout order; its picture is the icon, its text the tip).
// Pages shows report pages (SetControlPages) in a scrollable area.
enum class ControlKind {
  Button, Text, Image, Panel, Region, List, Option, ProgressBar, Entry, Spin, Combo, ToolButton, Pages
};

struct ControlLayout {
  int number = 0;
  ControlKind kind = ControlKind::Text;
  std::string text;     // caption, or the initial value of a text control
  std::string picture;  // icon or picture file name, empty for none
  int x = 0, y = 0;     // dialog units
  int width = AUTO_SIZE, height = AUTO_SIZE;
  bool hidden = false;
  bool defaultButton = false;
  // Font of the control, when it differs from the window's.
  int fontSize = 0;
  bool bold = false;
  int32_t color = -1;   // 0x00BBGGRR, -1 for the window's colour
  // Column headers of a list control.
  std::vector<std::string> columns;
  bool disabled = false;
  std::string tip;
  int low = 0, high = 0;  // range of a spin control
  // For an option button: the number of the option control it belongs to.
  int parent = 0;
  // Grows and shrinks with the window, keeping its distances to the window's
  // right and bottom edges.
  bool stretches = false;
  // A text shown centred in its width (otherwise from its left edge).
  bool centred = false;
};

// A control of the given kind, number and place, everything else as default.
inline ControlLayout PlacedControl(int number, ControlKind kind, std::string text, int x, int y, int width,
                                   int height) {
  ControlLayout c;
  c.number = number;
  c.kind = kind;
  c.text = std::move(text);
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
  return c;
}

// A menu of the window's menu bar; choosing an item is an Accepted event
// with the item's number, numbered apart from the controls.
struct MenuItemLayout {
  MenuItemLayout() = default;
  MenuItemLayout(int n, std::string t, std::vector<MenuItemLayout> submenu = {})
      : number(n), text(std::move(t)), items(std::move(submenu)) {}

  int number = 0;
  std::string text;
  std::vector<MenuItemLayout> items;  // a submenu when not empty (its own number unused)
};
struct MenuLayout {
  std::string title;
  std::vector<MenuItemLayout> items;
};

struct WindowLayout {
  std::string title;
  std::string icon;
  std::string fontName;
  int fontSize = 8;
  int width = 0, height = 0;  // dialog units
  std::string background;     // picture behind the controls, empty for none
  int x = 0, y = 0;           // dialog units, used when not centred
  bool centred = true;
  bool modal = true;
  bool resizable = false;
  bool acceptsDrops = false;
  bool maximized = false;
  bool statusBar = false;
  std::vector<ControlLayout> controls;
  std::vector<MenuLayout> menus;
};

enum class EventKind {
  Accepted,       // a control was pressed or chosen; `control` says which
  OpenWindow,     // always the first event of a window
  CloseRequested, // the user asked to close; the window stays open unless closed
  Timer,
  Dropped,        // files were dropped on the window; `path` holds the first,
                  // `paths` all of that drop (empty when it was `path` alone)
  RightClick,     // right mouse button on a region control
  LeftClick,      // left mouse button on an image control at `x`, `y` pixels
                  // (on a Pages control: within its whole content, scrolling included)
  Key,            // a key the window asked for (`code`: one of the Key values)
  Resized,        // the user moved or resized the window
  Posted,         // an event the program posted itself, with its `code`
};

enum Key : int { KEY_PAGE_UP = 1, KEY_PAGE_DOWN = 2 };

struct Event {
  Event() = default;
  explicit Event(EventKind k, int c = 0, std::string p = {}, int n = 0)
      : kind(k), control(c), path(std::move(p)), code(n) {}

  EventKind kind = EventKind::Posted;
  int control = 0;
  std::string path;
  std::vector<std::string> paths;
  int code = 0;
  int x = 0, y = 0;  // pixels within the control, for clicks
};

// Position and state of a window in pixels, as the settings file keeps it.
struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool maximized = false;
  bool minimized = false;
};

struct PixelSize {
  int width = 0, height = 0;
};

struct PixelPoint {
  int x = 0, y = 0;
};

// One page shown by a Pages control: the page metafile drawn scaled into the
// rectangle, in pixels within the control's content (origin top left).
struct PageImage {
  std::string file;
  int x = 0, y = 0, width = 0, height = 0;
  bool selected = false;  // drawn with a mark (a frame) around it
};

enum class MessageIcon { None, Information, Question, Exclamation };

struct MessageRequest {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  unsigned buttons = BUTTON_OK;
  unsigned defaultButton = BUTTON_OK;
  bool barIsNewline = false;  // "|" in the text separates lines
  // The text ends with this many characters that ask for a button press
  // before the program ends; a console, where nothing is pressed, leaves
  // them out.
  size_t promptLength = 0;
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::string filter;        // "label|pattern|label|pattern..."
  std::string proposedPath;  // where the dialog starts, may name a file
};

// Splits a dialog filter into (label, pattern) pairs; a trailing label
// without a pattern is dropped.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter);

// Lines of a message whose "|" separate lines.
std::string BarsToNewlines(std::string_view text);

class WindowToolkit {
 public:
  virtual ~WindowToolkit();

  // Windows. Open returns the new window's id; its first event is OpenWindow.
  virtual WindowId OpenWindow(const WindowLayout& layout) = 0;
  virtual void HideWindow(WindowId w) = 0;
  virtual void ShowWindow(WindowId w) = 0;
  // Closes the window: its event loop ends at the next NextEvent.
  virtual void CloseWindow(WindowId w) = 0;
  virtual bool IsOpen(WindowId w) const = 0;

  // Event loop: waits for the window's next event. Returns false once the
  // window is closed, which ends the loop.
  virtual bool NextEvent(WindowId w, Event& event) = 0;
  // Queues an event behind those already posted to the window.
  virtual void PostEvent(WindowId w, const Event& event) = 0;

  // Timer ticks every `hundredths` of a second through the event loop; 0 stops.
  virtual void SetTimer(WindowId w, int hundredths) = 0;

  // Control properties; changes show at the next redisplay. Text, like the
  // enabled state, applies to menu items too.
  virtual void SetControlText(WindowId w, int control, std::string_view text) = 0;
  virtual std::string ControlText(WindowId w, int control) const = 0;
  virtual void SetControlPicture(WindowId w, int control, std::string_view file) = 0;
  // An in-memory BMP file (header included) as the control's picture.
  virtual void SetControlBitmap(WindowId w, int control, std::vector<uint8_t> bmp) = 0;
  virtual void SetControlHidden(WindowId w, int control, bool hidden) = 0;
  virtual bool ControlHidden(WindowId w, int control) const = 0;
  // Selected row of a list or option control, from 1; 0 for none.
  virtual void SetControlSelection(WindowId w, int control, int selection) = 0;
  virtual int ControlSelection(WindowId w, int control) const = 0;
  // Rows of a list control; columns separated by "\t".
  virtual void SetListRows(WindowId w, int control, std::vector<std::string> rows) = 0;
  virtual void SetDefaultButton(WindowId w, int control) = 0;
  virtual void SetProgress(WindowId w, int control, int percent) = 0;
  // Applies to controls and menu items alike.
  virtual void SetControlEnabled(WindowId w, int control, bool enabled) = 0;
  virtual bool ControlEnabled(WindowId w, int control) const = 0;
  virtual void SetControlTip(WindowId w, int control, std::string_view tip) = 0;
  virtual void SetControlRange(WindowId w, int control, int low, int high) = 0;
  // A "\t" in the text starts the next field of the status bar.
  virtual void SetStatusText(WindowId w, std::string_view text) = 0;
  virtual void SetWaitCursor(bool on) = 0;

  // The keyboard focus goes to the control.
  virtual void SetFocus(WindowId w, int control) = 0;

  // Pages control: shows exactly `pages` (any page shown before and not in
  // the list is released) in a scrollable content area of `content` pixels;
  // the part in view is the control's pixel size (ControlPixelSize).
  virtual void SetControlPages(WindowId w, int control, std::vector<PageImage> pages, PixelSize content) = 0;
  // Scroll position: the content pixel at the top left of the view, kept
  // within the content.
  virtual void SetControlScroll(WindowId w, int control, PixelPoint at) = 0;
  virtual PixelPoint ControlScroll(WindowId w, int control) const = 0;

  // Redisplays the whole window (control 0) or one control.
  virtual void Redisplay(WindowId w, int control = 0) = 0;
  virtual PixelSize ControlPixelSize(WindowId w, int control) const = 0;

  virtual WindowGeometry Geometry(WindowId w) const = 0;
  virtual void SetGeometry(WindowId w, const WindowGeometry& g) = 0;
  virtual bool Resizable(WindowId w) const = 0;
  // Moves a window lying off the visible desktop back into view.
  virtual void KeepOnDesktop(WindowId w) = 0;

  // Dialogs. The working directory is the same after the dialog as before.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
  virtual unsigned MessageBox(const MessageRequest& request) = 0;
  // Shows entries separated by "|" at the mouse; the chosen entry from 1, or 0.
  virtual int PopupMenu(WindowId w, std::string_view entries) = 0;
  // Puts the picture of an image control on the clipboard.
  virtual bool CopyImageToClipboard(WindowId w, int control) = 0;
  // Sends report page metafiles, in order, to the printer as one job named
  // `jobName` (the system's print dialog may ask where); false when nothing
  // was printed (cancelled, or no printer).
  virtual bool PrintPages(const std::vector<std::string>& pageFiles, std::string_view jobName) = 0;

  // The icon of the program's windows and task bar entry.
  virtual void SetApplicationIcon(std::string_view icon) = 0;
  // The system's debug output, for diagnostics the user never sees.
  virtual void DebugOutput(std::string_view text) = 0;

  // Session end: `mayEnd` answers the system's question, `ended` hears the notice.
  virtual void SetSessionEndHandlers(std::function<bool()> mayEnd, std::function<void()> ended) = 0;

  // Ends the program. A toolkit under test may return instead.
  virtual void Halt(int exitCode) = 0;

  // Command line of the program.
  void SetCommandLine(std::vector<std::string> args) { commandLine_ = CommandLine(std::move(args)); }
  bool HasFlag(std::string_view flag) const { return commandLine_.Has(flag); }
  const CommandLine& Arguments() const { return commandLine_; }

 private:
  CommandLine commandLine_;
};

// The process-wide toolkit. Until one is set, a console toolkit that halts
// by exiting is used.
WindowToolkit& Toolkit();
// Installs `toolkit` (not owned; nullptr returns to the default) and returns the previous one.
WindowToolkit* SetToolkit(WindowToolkit* toolkit);

}  // namespace tx
