#include "platform/qt/qt_pages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <set>

#include "platform/wmfplayer/wmf_player.h"

namespace tx::qtk {

void PagesContent::SetPages(std::vector<PageImage> pages) {
  // Pages no longer shown are released.
  std::set<std::string> kept;
  for (const PageImage& p : pages) kept.insert(p.file);
  for (auto it = drawn_.begin(); it != drawn_.end();)
    it = kept.count(it->first) ? std::next(it) : drawn_.erase(it);
  pages_ = std::move(pages);
  update();
}

const QImage& PagesContent::Image(const PageImage& p) {
  Drawn& d = drawn_[p.file];
  if (!d.loaded) {
    d.loaded = true;
    d.page = WmfPage::Load(p.file);
  }
  if (d.image.width() != p.width || d.image.height() != p.height) {
    d.image = QImage(std::max(1, p.width), std::max(1, p.height), QImage::Format_RGB32);
    d.image.fill(Qt::white);
    if (d.page) {
      QPainter painter(&d.image);
      PlayWmfPage(*d.page, painter, QRectF(0, 0, p.width, p.height));
    }
  }
  return d.image;
}

void PagesContent::paintEvent(QPaintEvent* e) {
  QPainter painter(this);
  painter.fillRect(e->rect(), QColor(0x80, 0x80, 0x80));
  for (const PageImage& p : pages_) {
    const QRect r(p.x, p.y, p.width, p.height);
    if (!r.adjusted(-3, -3, 3, 3).intersects(e->rect())) continue;
    painter.fillRect(r.translated(2, 2), QColor(0x50, 0x50, 0x50));  // a soft shadow
    painter.drawImage(r.topLeft(), Image(p));
    if (p.selected) {
      painter.setPen(QPen(QColor(0x1F, 0x6F, 0xD0), 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(r.adjusted(-1, -1, 0, 0));
    }
  }
}

void PagesContent::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && onLeftClick) {
    onLeftClick(static_cast<int>(e->position().x()), static_cast<int>(e->position().y()));
    return;
  }
  QWidget::mousePressEvent(e);
}

PagesWidget::PagesWidget(QWidget* parent) : QScrollArea(parent), content_(new PagesContent(this)) {
  // Empty until pages come: no scroll bar may narrow the view before then.
  content_->resize(1, 1);
  setWidget(content_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFrameShape(QFrame::NoFrame);
  // Always there, so the width in view does not change with the content.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  setPalette(grey);
  setBackgroundRole(QPalette::Window);
}

void PagesWidget::keyPressEvent(QKeyEvent* e) {
  // Page Up and Page Down turn pages rather than scroll.
  if ((e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown) && onKey) {
    onKey(e->key());
    return;
  }
  QScrollArea::keyPressEvent(e);
}

}  // namespace tx::qtk
