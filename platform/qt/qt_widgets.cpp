#include "platform/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QUrl>

#include <algorithm>

namespace tx::qtk {

namespace {

// `size` shrunk or grown to lie inside `box` (or, with `cover`, to cover it)
// keeping its proportions.
QSize Fitted(QSize size, QSize box, bool cover = false) {
  if (size.isEmpty() || box.isEmpty()) return box;
  const double sx = static_cast<double>(box.width()) / size.width(), sy = static_cast<double>(box.height()) / size.height();
  const double scale = cover ? std::max(sx, sy) : std::min(sx, sy);
  return QSize(std::max(1, static_cast<int>(size.width() * scale)), std::max(1, static_cast<int>(size.height() * scale)));
}

std::vector<std::string> LocalFiles(const QMimeData* mime) {
  std::vector<std::string> files;
  if (!mime || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  return files;
}

}  // namespace

void WindowWidget::reject() {
  if (onCloseRequested) onCloseRequested();
}

void WindowWidget::closeEvent(QCloseEvent* e) {
  if (closing) {
    e->accept();
    return;
  }
  e->ignore();
  if (onCloseRequested) onCloseRequested();
}

void WindowWidget::dragEnterEvent(QDragEnterEvent* e) {
  if (!LocalFiles(e->mimeData()).empty()) e->acceptProposedAction();
}

void WindowWidget::dragMoveEvent(QDragMoveEvent* e) {
  if (!LocalFiles(e->mimeData()).empty()) e->acceptProposedAction();
}

void WindowWidget::dropEvent(QDropEvent* e) {
  std::vector<std::string> files = LocalFiles(e->mimeData());
  if (files.empty()) return;
  e->acceptProposedAction();
  if (onDropped) onDropped(files);
}

void WindowWidget::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown) && onKey) {
    onKey(e->key());
    return;
  }
  QDialog::keyPressEvent(e);
}

void WindowWidget::moveEvent(QMoveEvent* e) {
  QDialog::moveEvent(e);
  if (isVisible() && onMovedOrResized) onMovedOrResized();
}

void WindowWidget::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (isVisible() && onMovedOrResized) onMovedOrResized();
}

void ContentWidget::paintEvent(QPaintEvent*) {
  if (background.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QSize size = Fitted(background.size(), this->size(), true);
  QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  p.drawImage(target, background);
}

void ContentWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (onResized) onResized();
}

void ImageWidget::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  scaled_ = QImage();
  update();
}

void ImageWidget::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter p(this);
  const bool fits = picture_.width() <= width() && picture_.height() <= height();
  const QSize target = Fitted(picture_.size(), size());
  if (!fits && scaled_.size() != target) scaled_ = picture_.scaledToWidth(target.width(), Qt::SmoothTransformation);
  const QImage& shown = fits ? picture_ : scaled_;
  p.drawImage(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void ImageWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && onLeftClick) {
    onLeftClick(static_cast<int>(e->position().x()), static_cast<int>(e->position().y()));
    return;
  }
  QWidget::mousePressEvent(e);
}

void RegionWidget::contextMenuEvent(QContextMenuEvent* e) {
  e->accept();
  if (onRightClick) onRightClick();
}

void RegionWidget::mousePressEvent(QMouseEvent* e) {
  // The right button arrives as a context-menu event; others go on to the window.
  e->ignore();
}

void PanelWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath path;
  path.addRoundedRect(r, 5, 5);
  p.fillPath(path, QColor(0, 0, 0, 96));
  p.setPen(QPen(QColor(255, 255, 255, 56), 1));
  p.drawPath(path);
}

}  // namespace tx::qtk
