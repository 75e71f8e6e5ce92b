#include "platform/wmfplayer/page_raster.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

#include "platform/wmfplayer/wmf_player.h"

namespace tx {

namespace {

// Text needs a GUI application object; a program without a window gets one
// here (a program with windows has made its own before).
void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tonalyx";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

PageRaster Render(const WmfPage& page, int width, int height) {
  PageRaster out;
  EnsureGuiApplication();
  if (width <= 0 || height <= 0 || width > 20000 || height > 20000) return out;
  // The painter's own format: drawing into any other goes through conversions.
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PlayWmfPage(page, painter, QRectF(0, 0, width, height));
  }
  out.width = width;
  out.height = height;
  out.rgb.resize(static_cast<size_t>(width) * height * 3);
  uint8_t* to = out.rgb.data();
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      *to++ = static_cast<uint8_t>(qRed(row[x]));
      *to++ = static_cast<uint8_t>(qGreen(row[x]));
      *to++ = static_cast<uint8_t>(qBlue(row[x]));
    }
  }
  return out;
}

}  // namespace

PageRaster RenderWmfPage(const WmfPage& page, double dpi) {
  return Render(page, static_cast<int>(std::lround(page.WidthInches() * dpi)),
                static_cast<int>(std::lround(page.HeightInches() * dpi)));
}

PageRaster RenderWmfPageToWidth(const WmfPage& page, int width) {
  const double w = page.right - page.left, h = page.bottom - page.top;
  if (w <= 0 || h <= 0) return {};
  return Render(page, width, static_cast<int>(std::lround(width * h / w)));
}

bool WritePagePng(const PageRaster& image, const std::string& path) {
  if (image.width <= 0) return false;
  QImage q(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
  return q.save(QString::fromStdString(path), "PNG");
}

}  // namespace tx
