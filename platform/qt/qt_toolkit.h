#pragma once
// The window toolkit on Qt Widgets. Every window is a top-level dialog whose
// controls sit at positions given in dialog units, mapped to pixels from the
// window font's average character width and height. Each window keeps one
// queue of events: what the widgets report (buttons, drops, right clicks,
// close requests), timer ticks and posted events all join it in the order
// they happen, and NextEvent hands them out one at a time, running Qt's
// event loop while the queue is empty.
//
// The Qt application object is created with the first toolkit when there is
// none yet; QT_QPA_PLATFORM=offscreen runs everything without a display.
#include <memory>

#include "platform/toolkit/toolkit.h"
#include "platform/wmfplayer/wmf_page.h"

class QPrinter;

namespace tx {

class QtToolkit : public WindowToolkit {
 public:
  QtToolkit();
  ~QtToolkit() override;
  QtToolkit(const QtToolkit&) = delete;
  QtToolkit& operator=(const QtToolkit&) = delete;

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
  void SetWaitCursor(bool on) override;
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
  // Through the system's print dialog; each page drawn by the page player at
  // the printer's resolution, fitted to the paper.
  bool PrintPages(const std::vector<std::string>& pageFiles, std::string_view jobName) override;

  void SetApplicationIcon(std::string_view icon) override;
  void DebugOutput(std::string_view text) override;
  void SetSessionEndHandlers(std::function<bool()> mayEnd, std::function<void()> ended) override;
  void Halt(int exitCode) override;

  // The picture file standing for a stock picture name such as "~PRINT.ICO"
  // (letter case ignored).
  void SetStockPicture(std::string_view name, std::string file);

  // What the session manager's question is answered with: asks `mayEnd`,
  // and when the session may end, tells `ended`.
  bool AnswerSessionEnd();

  // Pixels of `units` dialog units across and down for a window font.
  static PixelSize DialogUnitsToPixels(const std::string& fontName, int fontSize, int across, int down);

  // Plays the pages onto a printer set up by the caller (printer name,
  // output file), without a dialog. False when the printer cannot be used.
  static bool PrintOn(QPrinter& printer, const std::vector<WmfPage>& pages);

  struct Impl;
  // For the driver of tests, benchmarks and screenshots.
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tx
