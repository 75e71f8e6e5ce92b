#pragma once
// Inside the Qt toolkit: one record per window and per control. Widgets are
// owned by their window widget; a closed window's record stays (its id is
// never reused), without widgets.
#include <QAction>
#include <QImage>
#include <QPointer>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/qt_toolkit.h"
#include "platform/qt/qt_widgets.h"

namespace tx {

struct QtControl {
  ControlLayout layout;
  bool picked = false;  // a combo's text is the row picked (not typed)
  QPointer<QWidget> widget;
  QPointer<QAction> action;  // a menu item
  std::string text;
  bool hidden = false;
  bool autoWidth = false;
  std::vector<std::string> rows;
  std::vector<int> options;  // an option group: its buttons' numbers, in layout order
};

struct QtWindow {
  WindowLayout layout;
  std::unique_ptr<qtk::WindowWidget> widget;
  QPointer<qtk::ContentWidget> content;
  QPointer<QStatusBar> status;
  std::vector<QPointer<QLabel>> statusFields;
  QPointer<QToolBar> toolbar;
  std::unique_ptr<QTimer> timer;
  std::map<int, QtControl> controls;
  std::deque<Event> queue;
  bool open = true;
  bool openDelivered = false;
  bool timerQueued = false;  // a tick waits in the queue; more are not added
  int defaultControl = 0;
  double unitX = 1.5, unitY = 1.625;  // pixels per dialog unit
  bool programChange = false;         // widgets changed by the program, not the user

  int X(int units) const { return static_cast<int>(units * unitX + 0.5); }
  int Y(int units) const { return static_cast<int>(units * unitY + 0.5); }
  void Push(const Event& e) {
    if (open) queue.push_back(e);
  }
};

struct QtToolkit::Impl {
  std::map<WindowId, QtWindow> windows;
  WindowId nextId = 1;
  bool waitCursor = false;
  std::function<bool()> mayEnd;
  std::function<void()> ended;
  // Owns the toolkit's connections to the application object and its timers.
  QObject* context() {
    if (!contextObject) contextObject = std::make_unique<QObject>();
    return contextObject.get();
  }
  std::unique_ptr<QObject> contextObject;

  // Answers for the next dialogs of each kind (tests, benchmarks, screenshots).
  std::deque<unsigned> messageAnswers;
  struct FileAnswer {
    std::optional<std::string> path;
    std::function<void()> answered;
  };
  std::deque<FileAnswer> fileAnswers;
  std::deque<int> popupAnswers;
  std::function<void(QWidget* menu)> onPopupShown;  // once, for the next pop-up menu

  std::map<std::string, std::string> stockPictures;  // by upper-case name

  // Steps that run when the program next waits, with nothing queued, in a
  // window of the given title (tests, benchmarks, screenshots).
  struct WaitStep {
    std::string title;
    std::function<void()> step;
  };
  std::deque<WaitStep> waitSteps;

  // The window's timer came due: a tick joins the queue unless one waits there.
  void TimerTick(WindowId id);

  QtWindow* Find(WindowId w);
  // A picture file as given, or the file standing for a stock name.
  QString Picture(const std::string& file) const;
  QImage PictureImage(const std::string& file) const;
  // Stretching controls follow the size of the window's client area.
  void Stretch(QtWindow& win);
  QtControl* Find(WindowId w, int control);
  // The window dialogs belong to: the active one, else the last open one.
  QWidget* DialogParent();

  void BuildControls(QtWindow& win);
  void BuildMenus(QtWindow& win, QWidget* host, class QVBoxLayout* layout);
  void BuildToolbar(QtWindow& win, QWidget* host, class QVBoxLayout* layout);
  void PrintAnswer(std::optional<std::string> pdf) { printAnswers.push_back(std::move(pdf)); }
  std::deque<std::optional<std::string>> printAnswers;  // PDF file to print to; nullopt: cancel
};

// Colour 0x00BBGGRR as Qt has it.
inline QColor ToQColor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

inline QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace tx
