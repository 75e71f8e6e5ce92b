#pragma once
// The widgets behind the toolkit's windows and the controls Qt has no exact
// match for. They report what the user does through callbacks; the toolkit
// turns those into events on the window's queue.
#include <QDialog>
#include <QImage>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace tx::qtk {

// A top-level window. Closing (title bar button, Escape) only asks: the
// program decides whether the window goes.
class WindowWidget : public QDialog {
 public:
  explicit WindowWidget(Qt::WindowFlags flags) : QDialog(nullptr, flags) {}

  std::function<void()> onCloseRequested;
  std::function<void(const std::vector<std::string>&)> onDropped;
  std::function<void(int key)> onKey;
  std::function<void()> onMovedOrResized;
  bool closing = false;  // set while the program closes the window itself

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
};

// The client area: paints the window's background picture, scaled to cover
// it, behind the controls.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(QWidget* parent) : QWidget(parent) {}
  QImage background;
  std::function<void()> onResized;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
};

// An image control: its picture centred, shrunk smoothly to fit when it is
// larger than the control, never enlarged. Reports left clicks in control pixels.
class ImageWidget : public QWidget {
 public:
  explicit ImageWidget(QWidget* parent) : QWidget(parent) {}
  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }
  std::function<void(int x, int y)> onLeftClick;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QImage picture_;
  QImage scaled_;  // the picture as last drawn at the control's size
};

// A region: an invisible area over other controls that hears the right
// mouse button (and the context-menu key while it has the focus).
class RegionWidget : public QWidget {
 public:
  explicit RegionWidget(QWidget* parent) : QWidget(parent) {}
  std::function<void()> onRightClick;

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
};

// A panel: a frame behind other controls, lightly shaded.
class PanelWidget : public QWidget {
 public:
  explicit PanelWidget(QWidget* parent) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace tx::qtk
