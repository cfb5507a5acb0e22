// The windowed base of the library's month calendar and date pad: it paints backgrounds in its
// Color and draws and wipes the thin one-pixel frames of the flat look (raised under the
// mouse, sunken while pressed).
//
// The calendars draw a part the moment it changes (a hover frame, the selection mark) rather
// than repainting everything, so the control keeps its picture in an image: a full paint
// renders the image, the drawing routines change it in place, and the paint event only shows it.
#pragma once

#include "platform/ui/Colors.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

class QPainter;

namespace qx {

// Rectangles in the library's terms: Right and Bottom lie just outside, as the drawing
// routines of the platform take them.
inline QRect rectLTRB(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
inline int rectRight(const QRect& r) { return r.x() + r.width(); }
inline int rectBottom(const QRect& r) { return r.y() + r.height(); }

// A one-pixel line from (x1, y1) towards (x2, y2) leaving out the end point, as line-to draws.
// Only horizontal and vertical lines are needed.
void lineTo(QPainter& p, int x1, int y1, int x2, int y2);
// The outline of r (right and bottom exclusive), one pixel wide.
void frameRect(QPainter& p, const QRect& r, const QColor& color);

// The edges of the platform's DrawEdge: two-pixel edges built from an outer and an inner
// one-pixel border.
enum EdgeBorder {
    BdrRaisedOuter = 0x1,
    BdrSunkenOuter = 0x2,
    BdrRaisedInner = 0x4,
    BdrSunkenInner = 0x8,
    EdgeRaised = BdrRaisedOuter | BdrRaisedInner,
    EdgeSunken = BdrSunkenOuter | BdrSunkenInner,
    EdgeEtched = BdrSunkenOuter | BdrRaisedInner,
};
enum EdgeSide { BfLeft = 0x1, BfTop = 0x2, BfRight = 0x4, BfBottom = 0x8, BfRect = 0xF };
void drawEdge(QPainter& p, const QRect& r, int edge, int sides);

} // namespace qx

class TQxTransControl : public QWidget
{
    Q_OBJECT

public:
    explicit TQxTransControl(QWidget* parent = nullptr);
    ~TQxTransControl() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    // The canvas font: the face and size the calendars measure and draw their text with.
    QFont CanvasFont() const { return m_canvasFont; }
    void SetCanvasFont(const QFont& font);

    // A plain one-pixel window border around the client area (the calendars' bsSingle). All
    // drawing and the client size are then inside it.
    bool WindowBorder() const { return m_windowBorder; }
    void SetWindowBorder(bool border);
    QPoint ClientOrigin() const { return m_windowBorder ? QPoint(1, 1) : QPoint(0, 0); }
    int ClientWidth() const { return width() - (m_windowBorder ? 2 : 0); }
    int ClientHeight() const { return height() - (m_windowBorder ? 2 : 0); }
    QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }

    // Repaints the whole control at the next paint.
    void Invalidate();

    void PaintBackground(QPainter& canvas);
    void PaintBackgroundRect(QPainter& canvas, const QRect& rect);
    // N + 1 nested one-pixel frames in Color from the edge of Rect inwards, wiping any frame
    // drawn there.
    void EraseFrame(const QRect& rect, int n);
    // The flat look: a frame in the button shadow, then a highlight line along two sides.
    void DrawFlatFrame(const QRect& rect, bool sunken);
    void FreeBackground();

    // The picture as last drawn (for tests and for copying the control's look).
    const QImage& CanvasImage() const { return m_canvas; }

    bool Transparent = false;
    bool BackgroundStale = true;

protected:
    // Draws the whole control; descendants paint all their parts here.
    virtual void Paint(QPainter& canvas);
    // Runs a drawing step on the picture right away and shows the result.
    void DrawOnCanvas(const std::function<void(QPainter&)>& draw);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    bool ensureCanvas();
    void drawImpl(const std::function<void(QPainter&)>& draw, bool show);

    TColor m_color = clBtnFace;
    QFont m_canvasFont;
    QImage m_canvas;
    bool m_stale = true;
    bool m_windowBorder = false;
};
