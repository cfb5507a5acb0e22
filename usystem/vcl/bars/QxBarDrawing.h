// Small drawing steps the side bars share, in the library's terms: rectangles whose Right and
// Bottom lie just outside (as the platform's drawing routines take them) and the platform's
// 3-D frame.
#pragma once

#include "platform/ui/Colors.h"

#include <QRect>

class QPainter;

namespace qx::bars {

// The rectangle (left, top, right, bottom) with right and bottom outside it.
inline QRect ltrb(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
inline int right(const QRect& r) { return r.x() + r.width(); }
inline int bottom(const QRect& r) { return r.y() + r.height(); }

// Fills r (right and bottom outside) with a colour; an empty or inverted r fills nothing.
void fill(QPainter& p, const QRect& r, TColor color);

// The platform's Frame3D: width nested one-pixel frames from the edge of r inwards, top and
// left in topColor, bottom and right (with the two far corners) in bottomColor. r shrinks by
// width on every side.
void frame3D(QPainter& p, QRect& r, TColor topColor, TColor bottomColor, int width);

// A one-pixel horizontal or vertical line from (x1, y1) towards (x2, y2), the end point left
// out, as the platform's line-to draws it.
void lineTo(QPainter& p, int x1, int y1, int x2, int y2, TColor color);

} // namespace qx::bars
