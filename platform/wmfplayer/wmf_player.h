#pragma once
// Replays a page file onto a QPainter, scaled so that the page's bounds fill
// a target rectangle: at any resolution, on screen, into an image or onto a
// printer. The records the report engine writes are played (objects, fonts,
// pens, brushes, text, rectangles, rounded rectangles, lines, ellipses, arcs,
// polygons, stretched bitmaps with DIB or PNG content, window origin and
// extent, saved contexts); comments and records without a drawing effect on
// a page are passed over.
#include "platform/wmfplayer/wmf_page.h"

class QPainter;
class QRectF;

namespace tx {

// Draws `page` into `target` (device coordinates of `painter`). The painter's
// state is as it was afterwards.
void PlayWmfPage(const WmfPage& page, QPainter& painter, const QRectF& target);

}  // namespace tx
