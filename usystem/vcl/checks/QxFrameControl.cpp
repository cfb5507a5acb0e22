#include "usystem/vcl/checks/QxFrameControl.h"

#include "platform/ui/Colors.h"

#include <QPainter>
#include <QPainterPath>

namespace qx {

namespace {

// The classic 7 x 7 tick, three pixels thick, with its left column at x and top at y.
void drawTick(QPainter& p, int x, int y, const QColor& colour)
{
    static const int rise[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        p.fillRect(QRect(x + i, y + rise[i], 1, 3), colour);
}

void drawCheckBox(QPainter& p, const QRect& r, unsigned state)
{
    const bool inactive = state & DFCS_INACTIVE;
    const bool mixed = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    const bool flat = state & DFCS_FLAT;
    // Border: two sunken pixels, or one plain line in the flat look.
    QRect face = r;
    if (flat) {
        p.setPen(toQColor(clBtnShadow));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        face = r.adjusted(1, 1, -1, -1);
    } else {
        const QRect o = r.adjusted(0, 0, -1, -1);
        p.setPen(toQColor(clBtnShadow));
        p.drawLine(o.topLeft(), o.topRight());
        p.drawLine(o.topLeft(), o.bottomLeft());
        p.setPen(toQColor(clBtnHighlight));
        p.drawLine(o.bottomLeft(), o.bottomRight());
        p.drawLine(o.topRight(), o.bottomRight());
        const QRect i = o.adjusted(1, 1, -1, -1);
        p.setPen(toQColor(cl3DDkShadow));
        p.drawLine(i.topLeft(), i.topRight());
        p.drawLine(i.topLeft(), i.bottomLeft());
        p.setPen(toQColor(cl3DLight));
        p.drawLine(i.bottomLeft(), i.bottomRight());
        p.drawLine(i.topRight(), i.bottomRight());
        face = r.adjusted(2, 2, -2, -2);
    }
    const bool faceGrey = inactive || mixed || (state & DFCS_PUSHED);
    p.fillRect(face, toQColor(faceGrey ? clBtnFace : clWindow));
    if (state & DFCS_CHECKED) {
        const QColor mark = toQColor(inactive || mixed ? clBtnShadow : clWindowText);
        drawTick(p, face.left() + (face.width() - 7) / 2, face.top() + (face.height() - 7) / 2,
                 mark);
    }
}

void drawRadio(QPainter& p, const QRect& r, unsigned state)
{
    // Radios are a round shape of their own: only the circle is painted, so the caller's
    // background (or transparency) shows in the corners.
    const int d = qMin(r.width(), r.height());
    const QRect c(r.left() + (r.width() - d) / 2, r.top() + (r.height() - d) / 2, d, d);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (state & DFCS_BUTTONRADIOMASK) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(c.adjusted(0, 0, -1, -1));
        p.restore();
        return;
    }
    const bool inactive = state & DFCS_INACTIVE;
    const bool flat = state & DFCS_FLAT;
    const QColor face = toQColor(inactive || (state & DFCS_PUSHED) ? clBtnFace : clWindow);
    if (flat) {
        p.setPen(toQColor(clBtnShadow));
        p.setBrush(face);
        p.drawEllipse(c.adjusted(0, 0, -1, -1));
    } else {
        // Upper-left half in shadow, lower-right half in highlight, then the inner ring.
        const QRect o = c.adjusted(0, 0, -1, -1);
        p.setBrush(Qt::NoBrush);
        p.setPen(toQColor(clBtnShadow));
        p.drawArc(o, 45 * 16, 180 * 16);
        p.setPen(toQColor(clBtnHighlight));
        p.drawArc(o, 225 * 16, 180 * 16);
        const QRect i = o.adjusted(1, 1, -1, -1);
        p.setPen(toQColor(cl3DDkShadow));
        p.drawArc(i, 45 * 16, 180 * 16);
        p.setPen(toQColor(cl3DLight));
        p.drawArc(i, 225 * 16, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawEllipse(i.adjusted(1, 1, -1, -1));
    }
    if (state & DFCS_CHECKED) {
        const int dot = qMax(2, d / 3);
        const QRect m(c.left() + (d - dot) / 2, c.top() + (d - dot) / 2, dot, dot);
        p.setPen(Qt::NoPen);
        p.setBrush(toQColor(inactive ? clBtnShadow : clWindowText));
        p.drawEllipse(m);
    }
    p.restore();
}

} // namespace

void drawFrameControlButton(QPainter& painter, const QRect& rect, unsigned state)
{
    if (rect.isEmpty())
        return;
    painter.save();
    if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
        drawRadio(painter, rect, state);
    else
        drawCheckBox(painter, rect, state);
    painter.restore();
}

} // namespace qx
