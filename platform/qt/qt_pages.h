#pragma once
// The Pages control: report pages drawn by the page player at the rectangles
// the program gives, in a scrollable area on grey, the selected page framed.
// Each page is drawn once at its size and kept until it leaves the control
// or changes size, so scrolling and repainting do not replay it.
#include <QImage>
#include <QScrollArea>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/toolkit.h"
#include "platform/wmfplayer/wmf_page.h"

namespace tx::qtk {

class PagesContent : public QWidget {
 public:
  explicit PagesContent(QWidget* parent) : QWidget(parent) {}
  void SetPages(std::vector<PageImage> pages);
  std::function<void(int x, int y)> onLeftClick;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  struct Drawn {
    std::optional<WmfPage> page;  // empty when the file cannot be read
    bool loaded = false;
    QImage image;                 // at the size it was last drawn
  };
  const QImage& Image(const PageImage& p);
  std::vector<PageImage> pages_;
  std::map<std::string, Drawn> drawn_;
};

class PagesWidget : public QScrollArea {
 public:
  explicit PagesWidget(QWidget* parent);
  PagesContent* content() const { return content_; }
  std::function<void(int key)> onKey;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  PagesContent* content_;
};

}  // namespace tx::qtk
