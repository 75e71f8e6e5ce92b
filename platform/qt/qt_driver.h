#pragma once
// Works the windows of a Qt toolkit the way a user does, for tests,
// benchmarks and screenshots: presses buttons, drops files, clicks the right
// mouse button, answers the next dialogs, and reads back what is shown.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/qt_toolkit.h"

namespace tx {

class QtDriver {
 public:
  explicit QtDriver(QtToolkit& toolkit) : toolkit_(toolkit) {}

  // A mouse click on a button or the trigger of a menu item; false when the
  // control is not there, hidden or disabled.
  bool Click(WindowId w, int control);
  // Files dragged from a file manager and dropped on the window.
  bool Drop(WindowId w, const std::vector<std::string>& paths);
  // The right mouse button over a control (a region).
  bool RightClick(WindowId w, int control);
  // The left mouse button at (x, y) of a control (a Pages control: of its content).
  bool LeftClick(WindowId w, int control, int x, int y);
  // Page Up or Page Down pressed on a control (KEY_PAGE_UP, KEY_PAGE_DOWN).
  bool PressKey(WindowId w, int control, int key);
  // The close button of the title bar.
  bool RequestClose(WindowId w);

  // The next message box is answered with `button`; the next file dialog
  // with `path` (nullopt: Cancel); the next pop-up menu with entry `entry`
  // (0: dismissed).
  void AnswerNextMessage(unsigned button);
  // `answered` runs as the answer is given, before the dialog closes.
  void AnswerNextFileDialog(std::optional<std::string> path, std::function<void()> answered = {});
  void ChooseNextPopupEntry(int entry);
  // The next print dialog is answered by printing to the PDF file `pdf`
  // (nullopt: Cancel).
  void AnswerNextPrint(std::optional<std::string> pdf);

  // Runs Qt's event loop until nothing is left to do.
  void Settle();
  // Runs `step` the next time the program waits for an event of the window
  // titled `title` with none queued and nothing pending in Qt: the way to act
  // once the program has dealt with everything before, however long that
  // takes. Steps run in the order given.
  void WhenWaiting(std::string title, std::function<void()> step);
  // The window's running timer comes due now, as if its time had passed.
  void TimerDue(WindowId w);
  // Events waiting for the program in the window's queue (its opening too,
  // until handed out).
  size_t Waiting(WindowId w);

  // The window opened last that is still open (0 for none).
  WindowId LastWindow();

  // What the window shows.
  bool Visible(WindowId w, int control);
  std::string ShownText(WindowId w, int control);
  // A prompt whose mnemonic moves the focus to the control after it.
  bool HasBuddy(WindowId w, int control);
  // Size of the picture an image control holds (0 x 0 without one).
  PixelSize PictureSize(WindowId w, int control);
  // A pixel of the image control's picture as 0x00RRGGBB, -1 outside it.
  int32_t PicturePixel(WindowId w, int control, int x, int y);
  // Control rectangle within the window's client area, in pixels.
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Rect ControlRect(WindowId w, int control);
  // A pixel as the control draws it, as 0x00RRGGBB (a Pages control: of its
  // whole content, scrolling aside); -1 outside it.
  int32_t DrawnPixel(WindowId w, int control, int x, int y);
  // The status bar's fields, joined by "\t".
  std::string StatusText(WindowId w);
  // The image on the clipboard (0 x 0 when there is none).
  PixelSize ClipboardImageSize();

  // The window as it is drawn, written as a PNG file.
  bool GrabWindow(WindowId w, const std::string& pngPath);
  // The same, at the moment the next pop-up menu shows, with the menu drawn
  // over the window where it stands.
  void GrabNextPopup(WindowId w, const std::string& pngPath);

 private:
  QtToolkit& toolkit_;
};

}  // namespace tx
