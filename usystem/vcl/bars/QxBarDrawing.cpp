#include "usystem/vcl/bars/QxBarDrawing.h"

#include <QPainter>

namespace qx::bars {

void fill(QPainter& p, const QRect& r, TColor color)
{
    if (r.width() > 0 && r.height() > 0)
        p.fillRect(r, toQColor(color));
}

void frame3D(QPainter& p, QRect& r, TColor topColor, TColor bottomColor, int width)
{
    const QColor top = toQColor(topColor);
    const QColor bottomRight = toQColor(bottomColor);
    for (int i = 0; i < width; ++i) {
        const int l = r.x(), t = r.y();
        const int rr = right(r) - 1, bb = bottom(r) - 1;
        if (rr >= l && bb >= t) {
            p.fillRect(QRect(l, t, 1, bb - t), top);
            p.fillRect(QRect(l, t, rr - l, 1), top);
            p.fillRect(QRect(rr, t, 1, bb - t + 1), bottomRight);
            p.fillRect(QRect(l, bb, rr - l + 1, 1), bottomRight);
        }
        r.adjust(1, 1, -1, -1);
    }
}

void lineTo(QPainter& p, int x1, int y1, int x2, int y2, TColor color)
{
    const QColor c = toQColor(color);
    if (y1 == y2) {
        if (x2 > x1)
            p.fillRect(QRect(x1, y1, x2 - x1, 1), c);
        else if (x2 < x1)
            p.fillRect(QRect(x2 + 1, y1, x1 - x2, 1), c);
    } else if (x1 == x2) {
        if (y2 > y1)
            p.fillRect(QRect(x1, y1, 1, y2 - y1), c);
        else
            p.fillRect(QRect(x1, y2 + 1, 1, y1 - y2), c);
    }
}

} // namespace qx::bars
