#include "platform/qt/qt_toolkit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_pages.h"
#include "platform/qt/qt_toolkit_impl.h"
#include "platform/qt/runtime_dir.h"

namespace tx {

namespace {

// The application object lives as long as the process: Qt objects made by
// any toolkit may outlive it.
void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  EnsureRuntimeDir();
  static int argc = 1;
  static char name[] = "tonalyx";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
  QGuiApplication::setApplicationDisplayName("Tonalyx");
  QGuiApplication::setDesktopFileName("tonalyx");
}

QFont WindowFont(const WindowLayout& layout) {
  QFont font = QApplication::font();
  if (!layout.fontName.empty()) font.setFamily(Q(layout.fontName));
  if (layout.fontSize > 0) font.setPointSize(layout.fontSize);
  return font;
}

// Dialog units from the font as the dialog manager measures it: a quarter of
// the average width of the letters A to Z and a to z, an eighth of the height.
std::pair<double, double> UnitsOf(const QFont& font) {
  QFontMetrics fm(font);
  const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int average = (letters / 26 + 1) / 2;
  return {average / 4.0, fm.height() / 8.0};
}

}  // namespace

void QtToolkit::Impl::TimerTick(WindowId id) {
  QtWindow* x = Find(id);
  if (!x || !x->open || !x->timer || !x->timer->isActive() || x->timerQueued) return;
  x->timerQueued = true;
  x->Push(Event(EventKind::Timer));
}

QtWindow* QtToolkit::Impl::Find(WindowId w) {
  auto it = windows.find(w);
  return it == windows.end() ? nullptr : &it->second;
}

QtControl* QtToolkit::Impl::Find(WindowId w, int control) {
  QtWindow* win = Find(w);
  if (!win || !win->open) return nullptr;
  auto it = win->controls.find(control);
  return it == win->controls.end() ? nullptr : &it->second;
}

QWidget* QtToolkit::Impl::DialogParent() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (it->second.open && it->second.widget && it->second.widget->isVisible()) return it->second.widget.get();
  return nullptr;
}

QtToolkit::QtToolkit() : impl_(std::make_unique<Impl>()) { EnsureApplication(); }

QtToolkit::~QtToolkit() {
  for (auto& [id, win] : impl_->windows) {
    if (win.widget) win.widget->closing = true;
    win.timer.reset();
    win.widget.reset();
  }
  if (impl_->waitCursor) QApplication::restoreOverrideCursor();
}

PixelSize QtToolkit::DialogUnitsToPixels(const std::string& fontName, int fontSize, int across, int down) {
  EnsureApplication();
  WindowLayout layout;
  layout.fontName = fontName;
  layout.fontSize = fontSize;
  auto [ux, uy] = UnitsOf(WindowFont(layout));
  return {static_cast<int>(across * ux + 0.5), static_cast<int>(down * uy + 0.5)};
}

WindowId QtToolkit::OpenWindow(const WindowLayout& layout) {
  const WindowId id = impl_->nextId++;
  QtWindow& win = impl_->windows[id];
  win.layout = layout;

  Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinimizeButtonHint;
  if (layout.resizable) flags |= Qt::WindowMaximizeButtonHint;
  win.widget = std::make_unique<qtk::WindowWidget>(flags);
  qtk::WindowWidget* w = win.widget.get();
  w->setWindowTitle(Q(layout.title));
  if (!layout.icon.empty()) w->setWindowIcon(QIcon(Q(layout.icon)));
  const QFont font = WindowFont(layout);
  w->setFont(font);
  std::tie(win.unitX, win.unitY) = UnitsOf(font);

  auto* box = new QVBoxLayout(w);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  impl_->BuildMenus(win, w, box);
  impl_->BuildToolbar(win, w, box);
  win.content = new qtk::ContentWidget(w);
  if (!layout.background.empty()) win.content->background = QImage(Q(layout.background));
  const QSize client(win.X(layout.width), win.Y(layout.height));
  if (layout.resizable) {
    win.content->setMinimumSize(std::min(client.width(), 200), std::min(client.height(), 150));
  } else {
    win.content->setFixedSize(client);
    box->setSizeConstraint(QLayout::SetFixedSize);
  }
  box->addWidget(win.content, 1);
  if (layout.statusBar) {
    win.status = new QStatusBar(w);
    win.status->setSizeGripEnabled(layout.resizable);
    box->addWidget(win.status);
  }
  impl_->BuildControls(win);
  win.content->onResized = [this, id] {
    if (QtWindow* x = impl_->Find(id); x && x->open) impl_->Stretch(*x);
  };

  w->setAcceptDrops(layout.acceptsDrops);
  w->onCloseRequested = [this, id] {
    if (QtWindow* x = impl_->Find(id)) x->Push(Event(EventKind::CloseRequested));
  };
  // The files of one drop come together: several of them may become one book.
  w->onDropped = [this, id](const std::vector<std::string>& files) {
    if (QtWindow* x = impl_->Find(id); x && !files.empty()) {
      Event e(EventKind::Dropped, 0, files.front());
      e.paths = files;
      x->Push(e);
    }
  };
  w->onKey = [this, id](int key) {
    if (QtWindow* x = impl_->Find(id))
      x->Push(Event(EventKind::Key, 0, {}, key == Qt::Key_PageUp ? KEY_PAGE_UP : KEY_PAGE_DOWN));
  };
  w->onMovedOrResized = [this, id] {
    QtWindow* x = impl_->Find(id);
    if (!x || x->programChange) return;
    if (x->queue.empty() || x->queue.back().kind != EventKind::Resized) x->Push(Event(EventKind::Resized));
  };

  win.timer = std::make_unique<QTimer>();
  QObject::connect(win.timer.get(), &QTimer::timeout, [this, id] { impl_->TimerTick(id); });

  // Another window open under this one: a modal window blocks it.
  if (layout.modal) w->setWindowModality(Qt::ApplicationModal);
  w->adjustSize();
  win.programChange = true;
  if (layout.centred) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    const QSize size = w->sizeHint().expandedTo(client);
    w->resize(layout.resizable ? size : w->size());
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
  } else {
    w->move(win.X(layout.x), win.Y(layout.y));
    if (layout.resizable) w->resize(w->sizeHint().expandedTo(client));
  }
  if (layout.maximized)
    w->showMaximized();
  else
    w->show();
  // Controls take their places now, so that sizes asked for at the first
  // event are those shown.
  if (w->layout()) w->layout()->activate();
  impl_->Stretch(win);
  win.programChange = false;
  return id;
}

void QtToolkit::HideWindow(WindowId w) {
  if (QtWindow* win = impl_->Find(w); win && win->widget) win->widget->hide();
}

void QtToolkit::ShowWindow(WindowId w) {
  if (QtWindow* win = impl_->Find(w); win && win->widget) win->widget->show();
}

void QtToolkit::CloseWindow(WindowId w) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open) return;
  win->open = false;
  win->queue.clear();
  win->timer.reset();
  win->controls.clear();
  if (win->widget) {
    win->widget->closing = true;
    win->widget->close();
    win->widget.reset();
  }
}

bool QtToolkit::IsOpen(WindowId w) const {
  auto it = impl_->windows.find(w);
  return it != impl_->windows.end() && it->second.open;
}

bool QtToolkit::NextEvent(WindowId w, Event& event) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open) return false;
  if (!win->openDelivered) {
    win->openDelivered = true;
    event = Event(EventKind::OpenWindow);
    return true;
  }
  while (win->queue.empty()) {
    auto& steps = impl_->waitSteps;
    if (steps.empty() || steps.front().title != win->layout.title) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
      // What Qt has pending goes first: the step finds the window at rest.
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      win = impl_->Find(w);
      if (win && win->open && win->queue.empty() && !steps.empty()) {
        const std::function<void()> step = std::move(steps.front().step);
        steps.pop_front();
        step();
      }
    }
    win = impl_->Find(w);
    if (!win || !win->open) return false;
  }
  event = win->queue.front();
  win->queue.pop_front();
  if (event.kind == EventKind::Timer) win->timerQueued = false;
  return true;
}

void QtToolkit::PostEvent(WindowId w, const Event& event) {
  if (QtWindow* win = impl_->Find(w)) win->Push(event);
}

void QtToolkit::SetTimer(WindowId w, int hundredths) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open || !win->timer) return;
  if (hundredths <= 0) {
    // A tick already waiting in the queue belongs to the timer stopped here:
    // a busy machine can leave one behind, and the program asked for none.
    win->timer->stop();
    if (win->timerQueued) {
      for (auto it = win->queue.begin(); it != win->queue.end(); ++it)
        if (it->kind == EventKind::Timer) {
          win->queue.erase(it);
          break;
        }
      win->timerQueued = false;
    }
    return;
  }
  win->timer->start(hundredths * 10);
}

void QtToolkit::Redisplay(WindowId w, int control) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open || !win->widget) return;
  if (control == 0) {
    win->widget->repaint();
  } else if (QtControl* c = impl_->Find(w, control); c && c->widget) {
    c->widget->repaint();
  }
}

PixelSize QtToolkit::ControlPixelSize(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  if (!c || !c->widget) return {};
  // Of a scrolling control, the part in view beside its vertical scroll bar
  // (always there); a horizontal one appears only for content wider than this.
  if (auto* view = dynamic_cast<qtk::PagesWidget*>(c->widget.data()))
    return {std::max(1, view->width() - view->verticalScrollBar()->sizeHint().width()), view->height()};
  return {c->widget->width(), c->widget->height()};
}

WindowGeometry QtToolkit::Geometry(WindowId w) const {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->widget) return {};
  const QWidget* x = win->widget.get();
  WindowGeometry g;
  g.x = x->x();
  g.y = x->y();
  g.width = x->width();
  g.height = x->height();
  g.maximized = x->isMaximized();
  g.minimized = x->isMinimized();
  return g;
}

void QtToolkit::SetGeometry(WindowId w, const WindowGeometry& g) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->widget) return;
  QWidget* x = win->widget.get();
  win->programChange = true;
  if (g.minimized) {
    x->showMinimized();
  } else if (g.maximized) {
    x->showMaximized();
  } else {
    if (x->isMaximized() || x->isMinimized()) x->showNormal();
    x->move(g.x, g.y);
    if (win->layout.resizable && g.width > 0 && g.height > 0) x->resize(g.width, g.height);
  }
  win->programChange = false;
}

bool QtToolkit::Resizable(WindowId w) const {
  QtWindow* win = impl_->Find(w);
  return win && win->layout.resizable;
}

void QtToolkit::KeepOnDesktop(WindowId w) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->widget) return;
  QWidget* x = win->widget.get();
  if (x->isMaximized() || x->isMinimized()) return;
  const QRect frame = x->frameGeometry();
  // The screen showing most of the window keeps it; one showing none of it
  // leaves it to the primary screen.
  QRect area;
  int best = 0;
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect a = s->availableGeometry();
    const QRect both = a.intersected(frame);
    const int shared = both.isEmpty() ? 0 : both.width() * both.height();
    if (shared > best) {
      best = shared;
      area = a;
    }
  }
  if (area.isNull()) {
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return;
    area = primary->availableGeometry();
  }
  QPoint to = frame.topLeft();
  if (frame.right() > area.right()) to.rx() -= frame.right() - area.right();
  if (frame.bottom() > area.bottom()) to.ry() -= frame.bottom() - area.bottom();
  to.setX(std::max(to.x(), area.left()));
  to.setY(std::max(to.y(), area.top()));
  if (to != frame.topLeft()) {
    win->programChange = true;
    x->move(x->pos() + (to - frame.topLeft()));
    win->programChange = false;
  }
}

void QtToolkit::SetApplicationIcon(std::string_view icon) { QApplication::setWindowIcon(QIcon(Q(icon))); }

void QtToolkit::DebugOutput(std::string_view text) {
  std::fprintf(stderr, "tonalyx: %.*s\n", static_cast<int>(text.size()), text.data());
}

void QtToolkit::SetSessionEndHandlers(std::function<bool()> mayEnd, std::function<void()> ended) {
  const bool first = !impl_->mayEnd && !impl_->ended;
  impl_->mayEnd = std::move(mayEnd);
  impl_->ended = std::move(ended);
  if (!first) return;
#if QT_CONFIG(sessionmanager)
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, impl_->context(), [this](QSessionManager& manager) {
    if (!AnswerSessionEnd()) manager.cancel();
  });
#endif
}

bool QtToolkit::AnswerSessionEnd() {
  const bool may = impl_->mayEnd ? impl_->mayEnd() : true;
  if (may && impl_->ended) impl_->ended();
  return may;
}

void QtToolkit::SetWaitCursor(bool on) {
  if (on == impl_->waitCursor) return;
  impl_->waitCursor = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtToolkit::Halt(int exitCode) {
  std::fflush(nullptr);
  std::exit(exitCode);
}

}  // namespace tx
