#include "usystem/vcl/edits/uQxTransControl.h"

#include <QPaintEvent>
#include <QPainter>

namespace qx {

void lineTo(QPainter& p, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    // Pull the end point back by one pixel towards the start.
    const int dx = x2 > x1 ? -1 : (x2 < x1 ? 1 : 0);
    const int dy = y2 > y1 ? -1 : (y2 < y1 ? 1 : 0);
    p.drawLine(x1, y1, x2 + dx, y2 + dy);
}

void frameRect(QPainter& p, const QRect& r, const QColor& color)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.save();
    p.setPen(QPen(color, 0));
    p.setBrush(Qt::NoBrush);
    const int l = r.x(), t = r.y(), rr = rectRight(r) - 1, b = rectBottom(r) - 1;
    p.drawLine(l, t, rr, t);
    p.drawLine(l, b, rr, b);
    p.drawLine(l, t, l, b);
    p.drawLine(rr, t, rr, b);
    p.restore();
}

namespace {

// One one-pixel border of an edge: top and left in one colour, bottom and right in another.
void border(QPainter& p, const QRect& r, TColor topLeft, TColor bottomRight, int sides)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int l = r.x(), t = r.y(), rr = rectRight(r) - 1, b = rectBottom(r) - 1;
    p.setPen(QPen(toQColor(topLeft), 0));
    if (sides & BfTop)
        p.drawLine(l, t, rr, t);
    if (sides & BfLeft)
        p.drawLine(l, t, l, b);
    p.setPen(QPen(toQColor(bottomRight), 0));
    if (sides & BfBottom)
        p.drawLine(l, b, rr, b);
    if (sides & BfRight)
        p.drawLine(rr, t, rr, b);
}

QRect shrink(const QRect& r, int sides)
{
    return r.adjusted(sides & BfLeft ? 1 : 0, sides & BfTop ? 1 : 0, sides & BfRight ? -1 : 0,
                      sides & BfBottom ? -1 : 0);
}

} // namespace

void drawEdge(QPainter& p, const QRect& r, int edge, int sides)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QRect inner = r;
    if (edge & BdrRaisedOuter) {
        border(p, inner, cl3DLight, cl3DDkShadow, sides);
        inner = shrink(inner, sides);
    } else if (edge & BdrSunkenOuter) {
        border(p, inner, clBtnShadow, clBtnHighlight, sides);
        inner = shrink(inner, sides);
    }
    if (edge & BdrRaisedInner)
        border(p, inner, clBtnHighlight, clBtnShadow, sides);
    else if (edge & BdrSunkenInner)
        border(p, inner, cl3DDkShadow, cl3DLight, sides);
    p.restore();
}

} // namespace qx

TQxTransControl::TQxTransControl(QWidget* parent) : QWidget(parent)
{
    m_canvasFont = QFont(QStringLiteral("Times New Roman"));
    m_canvasFont.setPointSize(9);
}

TQxTransControl::~TQxTransControl()
{
    FreeBackground();
}

void TQxTransControl::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    Invalidate();
}

void TQxTransControl::SetCanvasFont(const QFont& font)
{
    m_canvasFont = font;
    Invalidate();
}

void TQxTransControl::SetWindowBorder(bool border)
{
    if (border == m_windowBorder)
        return;
    m_windowBorder = border;
    Invalidate();
}

void TQxTransControl::Invalidate()
{
    m_stale = true;
    update();
}

void TQxTransControl::PaintBackground(QPainter& canvas)
{
    PaintBackgroundRect(canvas, ClientRect());
}

void TQxTransControl::PaintBackgroundRect(QPainter& canvas, const QRect& rect)
{
    canvas.fillRect(rect, toQColor(m_color));
}

void TQxTransControl::EraseFrame(const QRect& rect, int n)
{
    DrawOnCanvas([&](QPainter& p) {
        const QColor color = toQColor(m_color);
        for (int i = 0; i <= n; ++i)
            qx::frameRect(p, rect.adjusted(i, i, -i, -i), color);
    });
}

void TQxTransControl::DrawFlatFrame(const QRect& rect, bool sunken)
{
    DrawOnCanvas([&](QPainter& p) {
        qx::frameRect(p, rect, toQColor(clBtnShadow));
        p.save();
        p.setPen(QPen(toQColor(clHighlightText), 0));
        const int l = rect.x(), t = rect.y(), r = qx::rectRight(rect), b = qx::rectBottom(rect);
        if (sunken) {
            qx::lineTo(p, l, b - 1, r - 1, b - 1);
            qx::lineTo(p, r - 1, b - 1, r - 1, t - 1);
        } else {
            qx::lineTo(p, l, b - 1, l, t);
            qx::lineTo(p, l, t, r - 1, t);
        }
        p.restore();
    });
}

void TQxTransControl::FreeBackground()
{
    // The transparent mode, which would keep a copy of the parent's picture here, is not used
    // by any control of the library; there is nothing to release.
}

void TQxTransControl::Paint(QPainter& canvas)
{
    PaintBackground(canvas);
}

bool TQxTransControl::ensureCanvas()
{
    if (width() <= 0 || height() <= 0)
        return false;
    if (m_canvas.size() != size()) {
        m_canvas = QImage(size(), QImage::Format_RGB32);
        m_stale = true;
    }
    return true;
}

namespace {
// The painter of the picture while a full paint runs, so that drawing steps called from it
// draw through the same painter.
thread_local QPainter* t_activePainter = nullptr;
thread_local const TQxTransControl* t_activeControl = nullptr;
} // namespace

void TQxTransControl::DrawOnCanvas(const std::function<void(QPainter&)>& draw)
{
    drawImpl(draw, true);
}

void TQxTransControl::drawImpl(const std::function<void(QPainter&)>& draw, bool show)
{
    if (t_activeControl == this && t_activePainter) {
        draw(*t_activePainter);
        return;
    }
    if (!ensureCanvas())
        return;
    QPainter* outerPainter = t_activePainter;
    const TQxTransControl* outerControl = t_activeControl;
    {
        QPainter p(&m_canvas);
        p.setFont(m_canvasFont);
        if (m_stale && m_windowBorder)
            qx::frameRect(p, rect(), toQColor(clWindowFrame));
        p.translate(ClientOrigin());
        p.setClipRect(ClientRect());
        t_activePainter = &p;
        t_activeControl = this;
        if (m_stale) {
            m_stale = false;
            Paint(p);
        }
        draw(p);
    }
    t_activePainter = outerPainter;
    t_activeControl = outerControl;
    if (show)
        update();
}

void TQxTransControl::paintEvent(QPaintEvent*)
{
    if (!ensureCanvas())
        return;
    if (m_stale)
        drawImpl([](QPainter&) {}, false);
    QPainter screen(this);
    screen.drawImage(0, 0, m_canvas);
}

void TQxTransControl::resizeEvent(QResizeEvent* event)
{
    BackgroundStale = true;
    QWidget::resizeEvent(event);
    Invalidate();
}

void TQxTransControl::moveEvent(QMoveEvent* event)
{
    BackgroundStale = true;
    QWidget::moveEvent(event);
    Invalidate();
}
