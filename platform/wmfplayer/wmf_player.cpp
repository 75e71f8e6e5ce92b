#include "platform/wmfplayer/wmf_player.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cmath>
#include <optional>
#include <variant>
#include <vector>

#include "platform/fonts/font_engine.h"
#include "platform/wmfplayer/wmf_dib.h"

namespace tx {

namespace {

enum Function : uint16_t {
  META_SAVEDC = 0x001E,
  META_REALIZEPALETTE = 0x0035,
  META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103,
  META_SETPOLYFILLMODE = 0x0106,
  META_SETSTRETCHBLTMODE = 0x0107,
  META_DELETEOBJECT = 0x01F0,
  META_SETBKCOLOR = 0x0201,
  META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B,
  META_SETWINDOWEXT = 0x020C,
  META_OFFSETWINDOWORG = 0x020F,
  META_LINETO = 0x0213,
  META_MOVETO = 0x0214,
  META_RESTOREDC = 0x0127,
  META_SELECTOBJECT = 0x012D,
  META_SETTEXTALIGN = 0x012E,
  META_DIBCREATEPATTERNBRUSH = 0x0142,
  META_CREATEPATTERNBRUSH = 0x01F9,
  META_CREATEPALETTE = 0x00F7,
  META_CREATEPENINDIRECT = 0x02FA,
  META_CREATEFONTINDIRECT = 0x02FB,
  META_CREATEBRUSHINDIRECT = 0x02FC,
  META_POLYGON = 0x0324,
  META_POLYLINE = 0x0325,
  META_SCALEWINDOWEXT = 0x0410,
  META_INTERSECTCLIPRECT = 0x0416,
  META_ELLIPSE = 0x0418,
  META_RECTANGLE = 0x041B,
  META_TEXTOUT = 0x0521,
  META_POLYPOLYGON = 0x0538,
  META_ROUNDRECT = 0x061C,
  META_CREATEREGION = 0x06FF,
  META_ARC = 0x0817,
  META_PIE = 0x081A,
  META_CHORD = 0x0830,
  META_EXTTEXTOUT = 0x0A32,
  META_STRETCHDIB = 0x0F43,
};

enum : uint16_t { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };
enum : uint16_t { TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24 };
enum : uint16_t { PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL };
enum : uint16_t { BS_SOLID, BS_NULL, BS_HATCHED };

struct Pen {
  uint16_t style = PS_SOLID;
  int width = 0;
  QColor colour = Qt::black;
};
struct Brush {
  uint16_t style = BS_SOLID;
  QColor colour = Qt::white;
  uint16_t hatch = 0;
};
struct Font {
  QFont font;
  double escapement = 0;  // degrees, anticlockwise
};
struct Other {};
using Object = std::variant<Pen, Brush, Font, Other>;

QColor ColourOf(uint16_t low, uint16_t high) { return QColor(low & 0xFF, low >> 8, high & 0xFF); }

// The drawing state that SaveDC keeps and RestoreDC brings back.
struct Context {
  Pen pen;
  Brush brush;
  std::optional<Font> font;
  QColor text = Qt::black, back = Qt::white;
  uint16_t backMode = 2;  // opaque
  uint16_t align = 0;
  Qt::FillRule fill = Qt::OddEvenFill;
  QPointF position;
  double orgX = 0, orgY = 0, extX = 1, extY = 1;
};

class Player {
 public:
  Player(const WmfPage& page, QPainter& painter, const QRectF& target) : page_(page), p_(painter), target_(target) {
    dc_.orgX = page.left;
    dc_.orgY = page.top;
    dc_.extX = page.right - page.left;
    dc_.extY = page.bottom - page.top;
    if (dc_.extX == 0) dc_.extX = 1;
    if (dc_.extY == 0) dc_.extY = 1;
  }

  void Play() {
    p_.save();
    p_.setClipRect(target_, Qt::IntersectClip);
    p_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    ApplyWindow();
    for (const WmfRecord& r : page_.Records()) Record(r);
    while (!saved_.empty()) {
      saved_.pop_back();
      p_.restore();
    }
    p_.restore();
  }

 private:
  int16_t P(const WmfRecord& r, size_t i) const { return page_.Param(r, i); }
  uint16_t U(const WmfRecord& r, size_t i) const { return page_.Word(r, i); }
  static bool Has(const WmfRecord& r, size_t words) { return r.bytes >= 6 + 2 * words; }

  // Logical units to the target: the window (origin, extent) fills it.
  void ApplyWindow() {
    const double sx = target_.width() / dc_.extX, sy = target_.height() / dc_.extY;
    p_.setTransform(QTransform(sx, 0, 0, sy, target_.left() - dc_.orgX * sx, target_.top() - dc_.orgY * sy));
  }

  void Record(const WmfRecord& r) {
    switch (r.function) {
      case META_SAVEDC:
        saved_.push_back(dc_);
        p_.save();
        break;
      case META_RESTOREDC: RestoreDC(Has(r, 1) ? P(r, 0) : -1); break;
      case META_SETBKMODE: if (Has(r, 1)) dc_.backMode = U(r, 0); break;
      case META_SETBKCOLOR: if (Has(r, 2)) dc_.back = ColourOf(U(r, 0), U(r, 1)); break;
      case META_SETTEXTCOLOR: if (Has(r, 2)) dc_.text = ColourOf(U(r, 0), U(r, 1)); break;
      case META_SETTEXTALIGN: if (Has(r, 1)) dc_.align = U(r, 0); break;
      case META_SETPOLYFILLMODE: if (Has(r, 1)) dc_.fill = U(r, 0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
      case META_SETWINDOWORG:
        if (Has(r, 2)) {
          dc_.orgY = P(r, 0);
          dc_.orgX = P(r, 1);
          ApplyWindow();
        }
        break;
      case META_OFFSETWINDOWORG:
        if (Has(r, 2)) {
          dc_.orgY += P(r, 0);
          dc_.orgX += P(r, 1);
          ApplyWindow();
        }
        break;
      case META_SETWINDOWEXT:
        if (Has(r, 2) && P(r, 0) != 0 && P(r, 1) != 0) {
          dc_.extY = P(r, 0);
          dc_.extX = P(r, 1);
          ApplyWindow();
        }
        break;
      case META_SCALEWINDOWEXT:
        if (Has(r, 4) && P(r, 0) && P(r, 2) && P(r, 1) && P(r, 3)) {
          dc_.extY = dc_.extY * P(r, 1) / P(r, 0);
          dc_.extX = dc_.extX * P(r, 3) / P(r, 2);
          ApplyWindow();
        }
        break;
      case META_CREATEPENINDIRECT:
        if (Has(r, 5)) Store(Pen{U(r, 0), P(r, 1), ColourOf(U(r, 3), U(r, 4))});
        break;
      case META_CREATEBRUSHINDIRECT:
        if (Has(r, 4)) Store(Brush{U(r, 0), ColourOf(U(r, 1), U(r, 2)), U(r, 3)});
        break;
      case META_CREATEFONTINDIRECT: if (Has(r, 9)) Store(MakeFont(r)); break;
      case META_CREATEPALETTE:
      case META_CREATEPATTERNBRUSH:
      case META_DIBCREATEPATTERNBRUSH:
      case META_CREATEREGION: Store(Other{}); break;
      case META_SELECTOBJECT: if (Has(r, 1)) Select(U(r, 0)); break;
      case META_DELETEOBJECT:
        if (Has(r, 1) && U(r, 0) < objects_.size()) objects_[U(r, 0)].reset();
        break;
      case META_MOVETO:
        if (Has(r, 2)) dc_.position = QPointF(P(r, 1), P(r, 0));
        break;
      case META_LINETO:
        if (Has(r, 2)) {
          const QPointF to(P(r, 1), P(r, 0));
          if (dc_.pen.style != PS_NULL) {
            p_.setPen(QtPen());
            Stroke([&] { p_.drawLine(dc_.position, to); });
          }
          dc_.position = to;
        }
        break;
      case META_RECTANGLE: if (Has(r, 4)) Shape([&] { p_.drawRect(Box(r, 0)); }); break;
      case META_ELLIPSE: if (Has(r, 4)) Shape([&] { p_.drawEllipse(Box(r, 0)); }); break;
      case META_ROUNDRECT:
        if (Has(r, 6))
          Shape([&] { p_.drawRoundedRect(Box(r, 2), std::abs(P(r, 1)) / 2.0, std::abs(P(r, 0)) / 2.0); });
        break;
      case META_ARC:
      case META_PIE:
      case META_CHORD: if (Has(r, 8)) Arc(r); break;
      case META_POLYGON:
      case META_POLYLINE: Poly(r); break;
      case META_POLYPOLYGON: PolyPolygon(r); break;
      case META_INTERSECTCLIPRECT: if (Has(r, 4)) p_.setClipRect(Box(r, 0), Qt::IntersectClip); break;
      case META_EXTTEXTOUT: ExtTextOut(r); break;
      case META_TEXTOUT: TextOut(r); break;
      case META_STRETCHDIB: StretchDib(r); break;
      default: break;  // comments, palettes, modes without an effect here
    }
  }

  void RestoreDC(int16_t n) {
    // Negative: that many saved contexts back; positive: the n-th one saved.
    size_t keep = n < 0 ? (saved_.size() >= static_cast<size_t>(-n) ? saved_.size() + n : saved_.size())
                        : static_cast<size_t>(n - 1);
    if (n == 0 || keep >= saved_.size()) return;
    while (saved_.size() > keep) {
      dc_ = saved_.back();
      saved_.pop_back();
      p_.restore();
    }
    ApplyWindow();
  }

  void Store(Object object) {
    // Each new object takes the lowest free slot of the table.
    for (auto& slot : objects_)
      if (!slot) {
        slot = std::move(object);
        return;
      }
    objects_.push_back(std::move(object));
  }

  void Select(uint16_t slot) {
    if (slot >= objects_.size() || !objects_[slot]) return;
    if (auto* pen = std::get_if<Pen>(&*objects_[slot])) dc_.pen = *pen;
    if (auto* brush = std::get_if<Brush>(&*objects_[slot])) dc_.brush = *brush;
    if (auto* font = std::get_if<Font>(&*objects_[slot])) dc_.font = *font;
  }

  Font MakeFont(const WmfRecord& r) {
    Font f;
    int height = std::abs(P(r, 0));
    const int weight = P(r, 4);
    size_t available = 0;
    const uint8_t* b = page_.ParamBytes(r, 10, available);
    const bool italic = available > 0 && b[0], underline = available > 1 && b[1], strike = available > 2 && b[2];
    QString face;
    for (size_t i = 8; i < available && b[i]; ++i) face += QChar(FontEngine::Cp1252ToUnicode(b[i]));
    if (face.isEmpty()) face = QStringLiteral("Arial");
    if (height == 0) height = page_.unitsPerInch / 6;  // twelve points
    f.font = QFont(face);
    f.font.setPixelSize(std::max(1, height));
    if (P(r, 0) > 0) {
      // A positive height is that of the character cell, not of the letters.
      const QFontMetricsF m(f.font);
      const double cell = m.ascent() + m.descent();
      if (cell > 0) f.font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / cell))));
    }
    f.font.setWeight(static_cast<QFont::Weight>(std::clamp(weight <= 0 ? 400 : int(weight), 1, 1000)));
    f.font.setItalic(italic);
    f.font.setUnderline(underline);
    f.font.setStrikeOut(strike);
    f.font.setKerning(false);
    f.font.setHintingPreference(QFont::PreferNoHinting);
    f.escapement = P(r, 2) / 10.0;
    return f;
  }

  QPen QtPen() const {
    if (dc_.pen.style == PS_NULL) return Qt::NoPen;
    QPen pen(dc_.pen.colour);
    // As on any device, a pen is at least one pixel wide.
    const double scale = std::min(std::abs(p_.transform().m11()), std::abs(p_.transform().m22()));
    if (std::abs(dc_.pen.width) * scale < 1.0) {
      pen.setCosmetic(true);
      pen.setWidthF(1.0);
    } else {
      pen.setWidthF(std::abs(dc_.pen.width));
    }
    switch (dc_.pen.style & 0x0F) {
      case PS_DASH: pen.setStyle(Qt::DashLine); break;
      case PS_DOT: pen.setStyle(Qt::DotLine); break;
      case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
      case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }

  QBrush QtBrush() const {
    switch (dc_.brush.style) {
      case BS_SOLID: return QBrush(dc_.brush.colour);
      case BS_HATCHED: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,      Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern,    Qt::DiagCrossPattern};
        return QBrush(dc_.brush.colour, dc_.brush.hatch < 6 ? hatches[dc_.brush.hatch] : Qt::SolidPattern);
      }
      default: return Qt::NoBrush;
    }
  }

  // The inside first, smoothed; then the outline, where a hairline keeps to
  // whole pixels as it would on any device, instead of greying two of them.
  template <class Draw>
  void Shape(Draw draw) {
    const QBrush brush = QtBrush();
    if (brush.style() != Qt::NoBrush) {
      p_.setPen(Qt::NoPen);
      p_.setBrush(brush);
      draw();
    }
    const QPen pen = QtPen();
    if (pen.style() == Qt::NoPen) return;
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    Stroke(draw);
  }

  template <class Draw>
  void Stroke(Draw draw) {
    const bool hairline = p_.pen().isCosmetic();
    if (hairline) p_.setRenderHint(QPainter::Antialiasing, false);
    draw();
    if (hairline) p_.setRenderHint(QPainter::Antialiasing, true);
  }

  // Four parameters from `i` on: bottom, right, top, left.
  QRectF Box(const WmfRecord& r, size_t i) const {
    return QRectF(QPointF(P(r, i + 3), P(r, i + 2)), QPointF(P(r, i + 1), P(r, i))).normalized();
  }

  void Arc(const WmfRecord& r) {
    const QRectF box = Box(r, 4);
    const QPointF c = box.center();
    // Angles against the x axis with y pointing up, as Qt counts them.
    auto angle = [&](double x, double y) { return std::atan2(-(y - c.y()), x - c.x()) * 180.0 / M_PI; };
    const double from = angle(P(r, 3), P(r, 2)), to = angle(P(r, 1), P(r, 0));
    double span = to - from;
    while (span <= 0) span += 360;
    const int a = static_cast<int>(std::lround(from * 16)), s = static_cast<int>(std::lround(span * 16));
    switch (r.function) {
      case META_ARC:
        p_.setPen(QtPen());
        Stroke([&] { p_.drawArc(box, a, s); });
        break;
      case META_PIE: Shape([&] { p_.drawPie(box, a, s); }); break;
      default: Shape([&] { p_.drawChord(box, a, s); }); break;
    }
  }

  std::vector<QPointF> Points(const WmfRecord& r, size_t first, size_t count) const {
    std::vector<QPointF> points;
    if (!Has(r, first + 2 * count)) return points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) points.emplace_back(P(r, first + 2 * i), P(r, first + 2 * i + 1));
    return points;
  }

  void Poly(const WmfRecord& r) {
    if (!Has(r, 1)) return;
    const std::vector<QPointF> points = Points(r, 1, U(r, 0));
    if (points.empty()) return;
    if (r.function == META_POLYLINE) {
      p_.setPen(QtPen());
      Stroke([&] { p_.drawPolyline(points.data(), static_cast<int>(points.size())); });
    } else {
      Shape([&] { p_.drawPolygon(points.data(), static_cast<int>(points.size()), dc_.fill); });
    }
  }

  void PolyPolygon(const WmfRecord& r) {
    if (!Has(r, 1)) return;
    const size_t polygons = U(r, 0);
    if (!Has(r, 1 + polygons)) return;
    QPainterPath path;
    path.setFillRule(dc_.fill);
    size_t next = 1 + polygons;
    for (size_t k = 0; k < polygons; ++k) {
      const std::vector<QPointF> points = Points(r, next, U(r, 1 + k));
      if (points.empty()) return;
      path.addPolygon(QPolygonF(QList<QPointF>(points.begin(), points.end())));
      path.closeSubpath();
      next += 2 * points.size();
    }
    Shape([&] { p_.drawPath(path); });
  }

  static QString Text(const uint8_t* bytes, size_t count) {
    QString s;
    s.reserve(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i) s += QChar(FontEngine::Cp1252ToUnicode(bytes[i]));
    return s;
  }

  void ExtTextOut(const WmfRecord& r) {
    if (!Has(r, 4)) return;
    const QPointF at(P(r, 1), P(r, 0));
    const size_t count = U(r, 2);
    const uint16_t options = U(r, 3);
    const bool rect = options & (ETO_OPAQUE | ETO_CLIPPED);
    const size_t textAt = rect ? 16 : 8;
    size_t available = 0;
    const uint8_t* text = page_.ParamBytes(r, textAt, available);
    if (rect && !Has(r, 8)) return;
    if (count > available) return;
    const QRectF clip = rect ? QRectF(QPointF(P(r, 4), P(r, 5)), QPointF(P(r, 6), P(r, 7))).normalized() : QRectF();
    // Character advances follow the text (on a word boundary) when given.
    std::vector<double> dx;
    const size_t dxAt = textAt + count + (count & 1);
    size_t dxBytes = 0;
    const uint8_t* d = page_.ParamBytes(r, dxAt, dxBytes);
    if (d && dxBytes >= 2 * count)
      for (size_t i = 0; i < count; ++i) dx.push_back(static_cast<int16_t>(d[2 * i] | d[2 * i + 1] << 8));
    p_.save();
    if (options & ETO_OPAQUE) p_.fillRect(clip, dc_.back);
    if (options & ETO_CLIPPED) p_.setClipRect(clip, Qt::IntersectClip);
    DrawText(at, Text(text, count), dx);
    p_.restore();
  }

  void TextOut(const WmfRecord& r) {
    if (!Has(r, 1)) return;
    const size_t count = U(r, 0);
    const size_t padded = count + (count & 1);
    if (!Has(r, 1 + padded / 2 + 2)) return;
    size_t available = 0;
    const uint8_t* text = page_.ParamBytes(r, 2, available);
    const QPointF at(P(r, 1 + padded / 2 + 1), P(r, 1 + padded / 2));
    p_.save();
    DrawText(at, Text(text, count), {});
    p_.restore();
  }

  void DrawText(QPointF at, const QString& text, const std::vector<double>& dx) {
    const Font font = dc_.font ? *dc_.font : Font{QFont(QStringLiteral("Arial")), 0};
    QFont f = font.font;
    if (!dc_.font) f.setPixelSize(page_.unitsPerInch / 6);
    const QFontMetricsF m(f);
    if (dc_.align & TA_UPDATECP) at = dc_.position;
    double width = 0;
    if (dx.empty())
      width = m.horizontalAdvance(text);
    else
      for (double a : dx) width += a;
    p_.translate(at);
    if (font.escapement != 0) p_.rotate(-font.escapement);
    double x = 0, y = 0;
    if ((dc_.align & TA_CENTER) == TA_CENTER)
      x = -width / 2;
    else if (dc_.align & TA_RIGHT)
      x = -width;
    if ((dc_.align & TA_BASELINE) == TA_BASELINE)
      y = 0;
    else if (dc_.align & TA_BOTTOM)
      y = -m.descent();
    else
      y = m.ascent();
    if (dc_.backMode == 2) p_.fillRect(QRectF(x, y - m.ascent(), width, m.ascent() + m.descent()), dc_.back);
    p_.setFont(f);
    p_.setPen(dc_.text);
    if (dx.empty()) {
      p_.drawText(QPointF(x, y), text);
    } else {
      for (qsizetype i = 0; i < text.size(); ++i) {
        p_.drawText(QPointF(x, y), QString(text[i]));
        x += dx[static_cast<size_t>(i)];
      }
    }
    if (dc_.align & TA_UPDATECP) dc_.position = at + QPointF(width, 0);
  }

  void StretchDib(const WmfRecord& r) {
    if (!Has(r, 11)) return;
    size_t available = 0;
    const uint8_t* dib = page_.ParamBytes(r, 22, available);
    const QImage image = DecodeDib(dib, available);
    if (image.isNull()) return;
    const QRectF dest = QRectF(P(r, 10), P(r, 9), P(r, 8), P(r, 7)).normalized();
    // The source rectangle counts rows from the bottom of the bitmap.
    const double srcW = P(r, 4), srcH = P(r, 3), srcX = P(r, 6), srcY = P(r, 5);
    QRectF source(srcX, image.height() - srcY - srcH, srcW, srcH);
    source = source.normalized().intersected(QRectF(image.rect()));
    if (source.isEmpty()) source = QRectF(image.rect());
    p_.drawImage(dest, image, source);
  }

  const WmfPage& page_;
  QPainter& p_;
  QRectF target_;
  Context dc_;
  std::vector<Context> saved_;
  std::vector<std::optional<Object>> objects_;
};

}  // namespace

void PlayWmfPage(const WmfPage& page, QPainter& painter, const QRectF& target) {
  Player(page, painter, target).Play();
}

}  // namespace tx
