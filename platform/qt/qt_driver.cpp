#include "platform/qt/qt_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QCursor>
#include <QPainter>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "platform/qt/qt_pages.h"
#include "platform/qt/qt_toolkit_impl.h"

namespace tx {

namespace {

QWidget* WidgetOf(QtToolkit& t, WindowId w, int control) {
  QtControl* c = t.impl().Find(w, control);
  return c ? c->widget.data() : nullptr;
}

}  // namespace

bool QtDriver::Click(WindowId w, int control) {
  QtControl* c = toolkit_.impl().Find(w, control);
  if (!c) return false;
  if (c->action) {
    if (!c->action->isEnabled() || !c->action->isVisible()) return false;
    c->action->trigger();
    return true;
  }
  auto* b = qobject_cast<QAbstractButton*>(c->widget.data());
  if (!b || !b->isVisible() || !b->isEnabled()) return false;
  b->click();
  return true;
}

bool QtDriver::Drop(WindowId w, const std::vector<std::string>& paths) {
  QtWindow* win = toolkit_.impl().Find(w);
  if (!win || !win->widget || !win->widget->acceptDrops()) return false;
  QMimeData mime;
  QList<QUrl> urls;
  for (const std::string& p : paths) urls << QUrl::fromLocalFile(Q(p));
  mime.setUrls(urls);
  const QPointF at(win->widget->width() / 2.0, win->widget->height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(win->widget.get(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(win->widget.get(), &drop);
  return drop.isAccepted();
}

bool QtDriver::RightClick(WindowId w, int control) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (!widget || !widget->isVisible()) return false;
  const QPoint at(widget->width() / 2, widget->height() / 2);
  // The menu opens where the mouse is.
  QCursor::setPos(widget->mapToGlobal(at));
  QContextMenuEvent e(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
  QCoreApplication::sendEvent(widget, &e);
  return e.isAccepted();
}

bool QtDriver::LeftClick(WindowId w, int control, int x, int y) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (auto* pages = dynamic_cast<qtk::PagesWidget*>(widget)) widget = pages->content();
  if (!widget) return false;
  const QPointF at(x, y);
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  return true;
}

bool QtDriver::PressKey(WindowId w, int control, int key) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (!widget) return false;
  QKeyEvent press(QEvent::KeyPress, key == KEY_PAGE_UP ? Qt::Key_PageUp : Qt::Key_PageDown, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  return true;
}

bool QtDriver::RequestClose(WindowId w) {
  QtWindow* win = toolkit_.impl().Find(w);
  if (!win || !win->widget) return false;
  win->widget->close();
  return true;
}

void QtDriver::AnswerNextMessage(unsigned button) { toolkit_.impl().messageAnswers.push_back(button); }
void QtDriver::AnswerNextFileDialog(std::optional<std::string> path, std::function<void()> answered) {
  toolkit_.impl().fileAnswers.push_back({std::move(path), std::move(answered)});
}
void QtDriver::ChooseNextPopupEntry(int entry) { toolkit_.impl().popupAnswers.push_back(entry); }
void QtDriver::AnswerNextPrint(std::optional<std::string> pdf) { toolkit_.impl().PrintAnswer(std::move(pdf)); }

void QtDriver::Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void QtDriver::WhenWaiting(std::string title, std::function<void()> step) {
  toolkit_.impl().waitSteps.push_back({std::move(title), std::move(step)});
}

void QtDriver::TimerDue(WindowId w) { toolkit_.impl().TimerTick(w); }

size_t QtDriver::Waiting(WindowId w) {
  QtWindow* win = toolkit_.impl().Find(w);
  if (!win || !win->open) return 0;
  return win->queue.size() + (win->openDelivered ? 0 : 1);
}

WindowId QtDriver::LastWindow() {
  for (auto it = toolkit_.impl().windows.rbegin(); it != toolkit_.impl().windows.rend(); ++it)
    if (it->second.open) return it->first;
  return 0;
}

bool QtDriver::Visible(WindowId w, int control) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  return widget && widget->isVisible();
}

std::string QtDriver::ShownText(WindowId w, int control) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (auto* l = qobject_cast<QLabel*>(widget)) return l->text().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->text().toStdString();
  if (auto* c = qobject_cast<QComboBox*>(widget)) return c->lineEdit() ? c->lineEdit()->text().toStdString() : std::string();
  return {};
}

bool QtDriver::HasBuddy(WindowId w, int control) {
  auto* label = qobject_cast<QLabel*>(WidgetOf(toolkit_, w, control));
  return label && label->buddy();
}

PixelSize QtDriver::PictureSize(WindowId w, int control) {
  auto* img = dynamic_cast<qtk::ImageWidget*>(WidgetOf(toolkit_, w, control));
  if (!img || img->Picture().isNull()) return {};
  return {img->Picture().width(), img->Picture().height()};
}

int32_t QtDriver::PicturePixel(WindowId w, int control, int x, int y) {
  auto* img = dynamic_cast<qtk::ImageWidget*>(WidgetOf(toolkit_, w, control));
  if (!img || !img->Picture().valid(x, y)) return -1;
  return static_cast<int32_t>(img->Picture().pixel(x, y) & 0xFFFFFF);
}

QtDriver::Rect QtDriver::ControlRect(WindowId w, int control) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (!widget) return {};
  return {widget->x(), widget->y(), widget->width(), widget->height()};
}

int32_t QtDriver::DrawnPixel(WindowId w, int control, int x, int y) {
  QWidget* widget = WidgetOf(toolkit_, w, control);
  if (auto* pages = dynamic_cast<qtk::PagesWidget*>(widget)) widget = pages->content();
  if (!widget) return -1;
  const QImage image = widget->grab().toImage();
  if (!image.valid(x, y)) return -1;
  return static_cast<int32_t>(image.pixel(x, y) & 0xFFFFFF);
}

std::string QtDriver::StatusText(WindowId w) {
  QtWindow* win = toolkit_.impl().Find(w);
  if (!win) return {};
  std::string text;
  for (size_t i = 0; i < win->statusFields.size(); ++i)
    if (win->statusFields[i]) text += (i ? "\t" : "") + win->statusFields[i]->text().toStdString();
  return text;
}

PixelSize QtDriver::ClipboardImageSize() {
  const QImage image = QGuiApplication::clipboard()->image();
  return {image.width(), image.height()};
}

bool QtDriver::GrabWindow(WindowId w, const std::string& pngPath) {
  QtWindow* win = toolkit_.impl().Find(w);
  if (!win || !win->widget) return false;
  Settle();
  return win->widget->grab().save(Q(pngPath), "PNG");
}

void QtDriver::GrabNextPopup(WindowId w, const std::string& pngPath) {
  toolkit_.impl().onPopupShown = [this, w, pngPath](QWidget* menu) {
    QtWindow* win = toolkit_.impl().Find(w);
    if (!win || !win->widget) return;
    menu->adjustSize();
    QPixmap shot = win->widget->grab();
    {
      // The menu is a window of its own: drawn over the grab where it stands.
      QPainter p(&shot);
      p.drawPixmap(win->widget->mapFromGlobal(menu->mapToGlobal(QPoint(0, 0))), menu->grab());
    }
    shot.save(Q(pngPath), "PNG");
  };
}

}  // namespace tx
