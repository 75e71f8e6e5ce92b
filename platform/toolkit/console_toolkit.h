#pragma once
// The toolkit without a display. Message boxes print their caption and text
// (without a closing "Press OK" prompt, since nothing is pressed here) and
// answer with the next scripted button or the default; file dialogs and
// pop-up menus answer from scripted queues or cancel. Windows live in memory:
// their event loops hand out posted events, then scripted events, then timer
// ticks on a virtual clock; an idle window accepts its default button, then
// is asked to close, then is closed. Everything shown is recorded. With a
// progress output set, a visible window with a progress bar shows as one
// progress line: rewritten in place on a terminal, plain lines otherwise.
#include <cstdint>
#include <deque>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/toolkit.h"

namespace tx {

class ConsoleToolkit : public WindowToolkit {
 public:
  // Messages and dialog titles go to `out` (nullptr: nowhere).
  explicit ConsoleToolkit(std::ostream* out = &std::cerr);
  ~ConsoleToolkit() override;

  WindowId OpenWindow(const WindowLayout& layout) override;
  void HideWindow(WindowId w) override;
  void ShowWindow(WindowId w) override;
  void CloseWindow(WindowId w) override;
  bool IsOpen(WindowId w) const override;

  bool NextEvent(WindowId w, Event& event) override;
  void PostEvent(WindowId w, const Event& event) override;
  void SetTimer(WindowId w, int hundredths) override;

  void SetControlText(WindowId w, int control, std::string_view text) override;
  std::string ControlText(WindowId w, int control) const override;
  void SetControlPicture(WindowId w, int control, std::string_view file) override;
  void SetControlBitmap(WindowId w, int control, std::vector<uint8_t> bmp) override;
  void SetControlHidden(WindowId w, int control, bool hidden) override;
  bool ControlHidden(WindowId w, int control) const override;
  void SetControlSelection(WindowId w, int control, int selection) override;
  int ControlSelection(WindowId w, int control) const override;
  void SetListRows(WindowId w, int control, std::vector<std::string> rows) override;
  void SetDefaultButton(WindowId w, int control) override;
  void SetProgress(WindowId w, int control, int percent) override;
  void SetControlEnabled(WindowId w, int control, bool enabled) override;
  bool ControlEnabled(WindowId w, int control) const override;
  void SetControlTip(WindowId w, int control, std::string_view tip) override;
  void SetControlRange(WindowId w, int control, int low, int high) override;
  void SetStatusText(WindowId w, std::string_view text) override;
  void SetWaitCursor(bool on) override { waitCursor_ = on; }
  void SetFocus(WindowId w, int control) override;
  void SetControlPages(WindowId w, int control, std::vector<PageImage> pages, PixelSize content) override;
  void SetControlScroll(WindowId w, int control, PixelPoint at) override;
  PixelPoint ControlScroll(WindowId w, int control) const override;

  void Redisplay(WindowId w, int control = 0) override;
  PixelSize ControlPixelSize(WindowId w, int control) const override;

  WindowGeometry Geometry(WindowId w) const override;
  void SetGeometry(WindowId w, const WindowGeometry& g) override;
  bool Resizable(WindowId w) const override;
  void KeepOnDesktop(WindowId w) override;

  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  unsigned MessageBox(const MessageRequest& request) override;
  int PopupMenu(WindowId w, std::string_view entries) override;
  bool CopyImageToClipboard(WindowId w, int control) override;
  bool PrintPages(const std::vector<std::string>& pageFiles, std::string_view jobName) override;

  void SetApplicationIcon(std::string_view icon) override { icon_ = std::string(icon); }
  void DebugOutput(std::string_view text) override;
  void SetSessionEndHandlers(std::function<bool()> mayEnd, std::function<void()> ended) override;
  void Halt(int exitCode) override;

  // --- Scripting -----------------------------------------------------------
  void QueueAnswer(unsigned button) { answers_.push_back(button); }
  void QueueFilePath(std::string path) { files_.emplace_back(std::move(path)); }
  void QueueFileCancel() { files_.emplace_back(std::nullopt); }
  void QueueMenuChoice(int entry) { menus_.push_back(entry); }
  // Handed to whichever window next runs out of posted events, or with a
  // title, to the next such window of that title.
  void QueueWindowEvent(const Event& event, std::string title = {});
  // The user changes a control (a spin box, an entry, a list): when handed
  // out, the control's text or selection is set, and the event is Accepted.
  void QueueControlText(int control, std::string text, std::string title = {});
  void QueueControlSelection(int control, int selection, std::string title = {});
  // With `available` off, PrintPages prints nothing and returns false.
  void SetPrinterAvailable(bool available) { printer_ = available; }
  // Where progress lines go (nullptr: nowhere, the default).
  void SetProgressOutput(std::ostream* out, bool terminal);
  // With `exits` off, Halt records the request and returns.
  void SetHaltExits(bool exits) { haltExits_ = exits; }
  // The status the process ends with on Halt, whatever level asked for it
  // (-1: the one Halt is given).
  void SetHaltStatus(int status) { haltStatus_ = status; }
  // File dialogs are traced on the output only when verbose.
  void SetVerbose(bool on) { verbose_ = on; }
  void SetDesktop(int width, int height) { desktopWidth_ = width; desktopHeight_ = height; }
  // The system asks whether the session may end; returns the answer.
  bool EndSession();

  // --- What happened -------------------------------------------------------
  struct ShownMessage {
    MessageRequest request;
    unsigned answer = 0;
  };
  const std::vector<ShownMessage>& Messages() const { return shown_; }
  const std::vector<FileDialogRequest>& FileDialogs() const { return dialogs_; }
  const std::vector<std::string>& Menus() const { return menuLog_; }
  const std::vector<uint8_t>& ClipboardImage() const { return clipboard_; }
  bool Halted() const { return halted_; }
  const std::string& ApplicationIcon() const { return icon_; }
  const std::vector<std::string>& DebugLines() const { return debug_; }
  int HaltCode() const { return haltCode_; }
  // Virtual time in hundredths of a second, advanced by timer ticks.
  int64_t Now() const { return now_; }

  const WindowLayout& Layout(WindowId w) const;
  bool WindowHidden(WindowId w) const;
  int TimerInterval(WindowId w) const;
  int RedisplayCount(WindowId w) const;
  std::string ControlPicture(WindowId w, int control) const;
  const std::vector<uint8_t>& ControlBitmap(WindowId w, int control) const;
  const std::vector<std::string>& ListRows(WindowId w, int control) const;
  bool IsDefaultButton(WindowId w, int control) const;
  int Progress(WindowId w, int control) const;
  std::string ControlTip(WindowId w, int control) const;
  std::pair<int, int> ControlRange(WindowId w, int control) const;
  std::string StatusText(WindowId w) const;
  int FocusedControl(WindowId w) const;
  const std::vector<PageImage>& ControlPages(WindowId w, int control) const;
  PixelSize ControlContent(WindowId w, int control) const;
  // The page files of every PrintPages call, one list per job.
  const std::vector<std::vector<std::string>>& PrintJobs() const { return printJobs_; }
  bool WaitCursor() const { return waitCursor_; }
  // Ids of windows opened so far, in opening order.
  std::vector<WindowId> Windows() const;

 private:
  struct Control {
    ControlLayout layout;
    std::string text;
    std::string picture;
    std::vector<uint8_t> bitmap;
    bool hidden = false;
    int selection = 0;
    int progress = 0;
    std::vector<std::string> rows;
    bool enabled = true;
    std::string tip;
    int low = 0, high = 0;
    std::vector<PageImage> pages;
    PixelSize content;
    PixelPoint scroll;
  };
  struct Window {
    WindowLayout layout;
    std::map<int, Control> controls;
    WindowGeometry geometry;
    bool open = true;
    bool hidden = false;
    bool openDelivered = false;
    std::deque<Event> posted;
    int timer = 0;
    int idle = 0;
    int defaultControl = 0;
    int redisplays = 0;
    std::string status;
    int focus = 0;
    int progressShown = -1;  // percentage of the last plain progress line
  };
  struct Scripted {
    Event event;
    std::string title;  // empty: any window
    std::optional<std::string> text;
    std::optional<int> selection;
  };

  // Unknown windows and controls are ignored by changes and read as empty.
  Window* Find(WindowId w);
  const Window* Find(WindowId w) const;
  Control* Find(WindowId w, int control);
  const Control* Find(WindowId w, int control) const;
  void ShowProgress(WindowId w);
  void ClearProgressLine();

  std::ostream* out_;
  std::map<WindowId, Window> windows_;
  WindowId nextId_ = 1;
  std::deque<unsigned> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<int> menus_;
  std::deque<Scripted> scripted_;
  std::vector<ShownMessage> shown_;
  std::vector<FileDialogRequest> dialogs_;
  std::vector<std::string> menuLog_;
  std::vector<uint8_t> clipboard_;
  std::function<bool()> mayEnd_;
  std::function<void()> ended_;
  bool haltExits_ = true;
  int haltStatus_ = -1;
  bool verbose_ = false;
  bool halted_ = false;
  int haltCode_ = 0;
  int desktopWidth_ = 1920, desktopHeight_ = 1080;
  int64_t now_ = 0;
  bool waitCursor_ = false;
  std::string icon_;
  std::vector<std::string> debug_;
  bool printer_ = true;
  std::vector<std::vector<std::string>> printJobs_;
  std::ostream* progressOut_ = nullptr;
  bool progressTerminal_ = false;
  size_t progressWidth_ = 0;  // of the line standing on the terminal
  std::string progressLine_;
};

}  // namespace tx
