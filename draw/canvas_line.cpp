// Lines on the canvas: thin lines pixel by pixel, wider pens as filled bands.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/canvas.h"

namespace tx {
namespace {

long long Sign(long long v) { return (v > 0) - (v < 0); }

// n / d rounded to the nearest integer, halves upwards; d > 0.
long long RoundDiv(long long n, long long d) {
  long long q = 2 * n + d;
  long long r = q / (2 * d);
  if (q % (2 * d) != 0 && q < 0) --r;
  return r;
}

// The steps i in [0, count) for which start + i * step lies in [1, limit].
bool ClipSteps(long long start, long long step, long long count, long long limit, long long& first,
               long long& last) {
  first = 0;
  last = count - 1;
  if (step > 0) {
    first = std::max(first, 1 - start);
    last = std::min(last, limit - start);
  } else if (step < 0) {
    first = std::max(first, start - limit);
    last = std::min(last, start - 1);
  } else if (start < 1 || start > limit) {
    return false;
  }
  return first <= last;
}

}  // namespace

void Canvas::Line(int x, int y, int w, int h) {
  if (penColour_ < 0 || store_.empty()) return;
  const long long x0 = x, y0 = y, dx = w, dy = h;
  if (penWidth_ >= 2) {
    FillBand(static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x0 + dx),
             static_cast<double>(y0 + dy), static_cast<double>(dx), static_cast<double>(dy));
    return;
  }
  // A line of extents w, h covers |w| columns or |h| rows: it ends one pixel
  // short of (x + w, y + h), like the straight and diagonal runs do.
  const long long sx = Sign(dx), sy = Sign(dy);
  const long long ax = std::llabs(dx), ay = std::llabs(dy);
  if (ax == 0 && ay == 0) return;
  if (ax == 0 || ay == 0 || ax == ay) {
    const long long count = std::max(ax, ay);
    long long first, last, firstY, lastY;
    if (!ClipSteps(x0, sx, count, width_, first, last)) return;
    if (!ClipSteps(y0, sy, count, height_, firstY, lastY)) return;
    first = std::max(first, firstY);
    last = std::min(last, lastY);
    for (long long i = first; i <= last; ++i)
      PutPixel(static_cast<int>(x0 + i * sx), static_cast<int>(y0 + i * sy), penColour_);
    return;
  }
  // Other slopes: one pixel per step of the longer axis, the other axis
  // rounded to the nearest pixel of the exact line.
  const bool acrossMajor = ax > ay;
  const long long major = acrossMajor ? ax - 1 : ay - 1;
  const long long minor = acrossMajor ? ay - 1 : ax - 1;
  const long long majorStart = acrossMajor ? x0 : y0;
  const long long majorStep = acrossMajor ? sx : sy;
  const long long majorLimit = acrossMajor ? width_ : height_;
  long long first, last;
  if (!ClipSteps(majorStart, majorStep, major + 1, majorLimit, first, last)) return;
  for (long long i = first; i <= last; ++i) {
    const long long m = RoundDiv(i * minor, major);
    const long long px = acrossMajor ? x0 + i * sx : x0 + m * sx;
    const long long py = acrossMajor ? y0 + m * sy : y0 + i * sy;
    if (px >= 1 && py >= 1 && px <= width_ && py <= height_)
      PutPixel(static_cast<int>(px), static_cast<int>(py), penColour_);
  }
}

// A band of the pen's width centred on the segment (ax, ay)-(bx, by): the
// quadrilateral of the segment moved half the width to either side (rounded
// to whole pixels), filled by pixel centres with the top-left rule so that
// bands meeting at an edge neither overlap nor leave a gap.
void Canvas::FillBand(double ax, double ay, double bx, double by, double dx, double dy) {
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  const bool diagonal = std::fabs(dx) == std::fabs(dy);
  const long long widthOfBand = static_cast<long long>(penWidth_) + (diagonal ? 1 : 0);
  const double nx = -dy / length, ny = dx / length;
  const double near = static_cast<double>(widthOfBand / 2);
  const double far = static_cast<double>(widthOfBand - widthOfBand / 2);
  const double px = std::round(nx * near), py = std::round(ny * near);
  const double qx = std::round(nx * far), qy = std::round(ny * far);
  const double vx[4] = {ax + px, bx + px, bx - qx, ax - qx};
  const double vy[4] = {ay + py, by + py, by - qy, ay - qy};

  const double top = std::max(1.0, std::ceil(*std::min_element(vy, vy + 4)));
  const double bottom = std::min(static_cast<double>(height_), std::ceil(*std::max_element(vy, vy + 4)) - 1);
  for (double row = top; row <= bottom; ++row) {
    double left = 0, right = 0;
    bool any = false;
    for (int e = 0; e < 4; ++e) {
      const int f = (e + 1) % 4;
      const double y1 = std::min(vy[e], vy[f]), y2 = std::max(vy[e], vy[f]);
      if (y1 == y2 || row < y1 || row >= y2) continue;
      const double cx = vx[e] + (row - vy[e]) * (vx[f] - vx[e]) / (vy[f] - vy[e]);
      left = any ? std::min(left, cx) : cx;
      right = any ? std::max(right, cx) : cx;
      any = true;
    }
    if (!any) continue;
    const double from = std::max(1.0, std::ceil(left));
    const double to = std::min(static_cast<double>(width_), std::ceil(right) - 1);
    for (double column = from; column <= to; ++column)
      PutPixel(static_cast<int>(column), static_cast<int>(row), penColour_);
  }
}

}  // namespace tx
