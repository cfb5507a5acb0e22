// The grid's painting: lines in LineColor and GridLineWidth over four areas, the fill of fixed
// and scrollable cells, DrawCell for every visible cell, the focus rectangles, and the XOR
// indicator line while a border is dragged or a column or row is moved.
#include "usystem/vcl/grids/uQxGrids.h"

#include "platform/env/ExceptionGuard.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

// Saves the painter's state and restores it when the scope ends, however it ends.
class PainterStateSaver
{
public:
    explicit PainterStateSaver(QPainter& p) : m_p(p) { m_p.save(); }
    ~PainterStateSaver() { m_p.restore(); }
    PainterStateSaver(const PainterStateSaver&) = delete;
    PainterStateSaver& operator=(const PainterStateSaver&) = delete;

private:
    QPainter& m_p;
};

} // namespace

// The dotted focus rectangle: every other pixel of the frame inverted, as the window system
// draws it, so that drawing it twice takes it away again.
void DrawFocusRect(QPainter& p, const QRect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    QPolygon pts;
    pts.reserve(2 * (r.width() + r.height()));
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    for (int x = l; x <= rr; x += 2) {
        pts << QPoint(x, t);
        if (b != t)
            pts << QPoint(x + ((b - t) & 1), b);
    }
    for (int y = t + 2; y < b; y += 2) {
        pts << QPoint(l, y);
        if (rr != l)
            pts << QPoint(rr, y + ((rr - l) & 1));
    }
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.drawPoints(pts);
    p.restore();
}

bool TQxCustomGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(viewport());
        painter.setClipRegion(static_cast<QPaintEvent*>(event)->region());
        FCanvas = &painter;
        qx::guard(this, [this] { Paint(); });
        FCanvas = nullptr;
        return true;
    }
    bool result = false;
    if (!qx::guard(this, [&] { result = QAbstractScrollArea::viewportEvent(event); })) {
        event->accept();
        return true;
    }
    return result;
}

void TQxCustomGrid::Paint()
{
    QPainter& p = *FCanvas;
    const QRegion clip = p.clipRegion();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridRect sel = Selection();
    const bool active = IsActiveControl();
    const TColor color = Color();
    const QColor lineQColor = toQColor(FLineColor);

    // Lines of one direction of one area: filled strips of the line width, the first at the end
    // of the area's first cell, each further one an extent and a line width on (a hidden cell's
    // line falls on the previous one); all in one call.
    auto drawAxisLines = [&](const TGridAxisDrawInfo& axis, int cell, bool vertical,
                             const QRect& area, const QColor& c) {
        if (axis.EffectiveLineWidth == 0)
            return;
        const int w = FGridLineWidth;
        const int majorStart = vertical ? area.left() : area.top();
        const int majorStop = (vertical ? area.left() + area.width() : area.top() + area.height())
                              + axis.EffectiveLineWidth;
        const int minorStart = vertical ? area.top() : area.left();
        const int minorLen = vertical ? area.height() : area.width();
        int line = majorStart + axis.EffectiveLineWidth / 2 + axis.GetExtent(cell);
        const int shift = vertical && cell >= FFixedCols && cell == LeftCol() ? FColOffset : 0;
        line -= shift;
        QVector<QRect> strips;
        for (;;) {
            const int start = line - w / 2;
            strips.append(vertical ? QRect(start, minorStart, w, minorLen)
                                   : QRect(minorStart, start, minorLen, w));
            ++cell;
            line += axis.GetExtent(cell) + axis.EffectiveLineWidth;
            if (line > majorStop || cell > axis.LastFullVisibleCell || cell >= axis.GridCellCount)
                break;
        }
        p.save();
        p.setClipRect(area, Qt::IntersectClip);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRects(strips);
        p.restore();
    };
    auto drawLines = [&](bool doHorz, bool doVert, int col, int row, const QRect& area,
                         TColor onColor, TColor offColor) {
        if (area.width() <= 0 || area.height() <= 0)
            return;
        const QColor on = onColor == FLineColor ? lineQColor : toQColor(onColor);
        const QColor off = toQColor(offColor);
        if (!doHorz) {
            drawAxisLines(info.Vert, row, false, area, doHorz ? on : off);
            drawAxisLines(info.Horz, col, true, area, doVert ? on : off);
        } else {
            drawAxisLines(info.Horz, col, true, area, doVert ? on : off);
            drawAxisLines(info.Vert, row, false, area, doHorz ? on : off);
        }
    };
    auto ltrb = [](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };

    if (info.Horz.EffectiveLineWidth > 0 || info.Vert.EffectiveLineWidth > 0) {
        const bool fixedHorz = FOptions & goFixedHorzLine;
        const bool fixedVert = FOptions & goFixedVertLine;
        drawLines(fixedHorz, fixedVert, 0, 0,
                  ltrb(0, 0, info.Horz.FixedBoundary, info.Vert.FixedBoundary), FLineColor,
                  FFixedColor);
        drawLines(fixedHorz, fixedVert, LeftCol(), 0,
                  ltrb(info.Horz.FixedBoundary, 0, info.Horz.GridBoundary, info.Vert.FixedBoundary),
                  FLineColor, FFixedColor);
        drawLines(fixedHorz, fixedVert, 0, TopRow(),
                  ltrb(0, info.Vert.FixedBoundary, info.Horz.FixedBoundary, info.Vert.GridBoundary),
                  FLineColor, FFixedColor);
        drawLines(FOptions & goHorzLine, FOptions & goVertLine, LeftCol(), TopRow(),
                  ltrb(info.Horz.FixedBoundary, info.Vert.FixedBoundary, info.Horz.GridBoundary,
                       info.Vert.GridBoundary),
                  FLineColor, color);
    }

    const QFont gridFont = font();
    const QColor fontColor = toQColor(FFontColor);
    const QColor infoBk = toQColor(clInfoBk);
    const QColor highlightText = toQColor(clHighlightText);
    auto drawCells = [&](int aCol, int aRow, int startX, int startY, int stopX, int stopY,
                         TColor areaColor, TKyGridDrawState includeState, int clipLeft) {
        const QColor areaQColor = toQColor(areaColor);
        int curRow = aRow;
        int top = startY;
        while (top < stopY && curRow < FRowCount) {
            const int bottom = top + RowHeights(curRow);
            int curCol = aCol;
            int left = startX;
            while (left < stopX && curCol < FColCount) {
                const int right = left + ColWidths(curCol);
                QRect where = ltrb(left, top, right, bottom);
                if (right > left && bottom > top && clip.intersects(where)) {
                    TKyGridDrawState state = includeState;
                    if (active && curRow == FCurrent.Y && curCol == FCurrent.X)
                        state |= gdFocused;
                    if (curCol >= sel.Left && curCol <= sel.Right && curRow >= sel.Top
                        && curRow <= sel.Bottom)
                        state |= gdSelected;
                    if (!(state & gdFocused) || !(FOptions & goEditing) || !FEditorMode) {
                        // Cells scrolled under the fixed area by a pixel offset stay clipped.
                        // The state is restored on every path, also when a descendant's
                        // DrawCell raises and the error goes on to the exception guard.
                        {
                            const PainterStateSaver saved(p);
                            if (clipLeft > 0)
                                p.setClipRect(ltrb(clipLeft, top, stopX, bottom), Qt::IntersectClip);
                            if (FDefaultDrawing) {
                                p.setFont(gridFont);
                                QColor fill = areaQColor;
                                p.setPen(fontColor);
                                if ((state & gdSelected)
                                    && (!(state & gdFocused)
                                        || (FOptions & (goDrawFocusSelected | goRowSelect)))) {
                                    fill = infoBk;
                                    p.setPen(highlightText);
                                }
                                p.setBrush(fill);
                                p.fillRect(where, fill);
                            }
                            DrawCell(curCol, curRow, where, state);
                        }
                        if (FDefaultDrawing && (state & gdFocused)
                            && (FOptions & (goEditing | goAlwaysShowEditor))
                                   != (goEditing | goAlwaysShowEditor)
                            && !(FOptions & goRowSelect))
                            DrawFocusRect(p, where);
                    }
                }
                left = right + info.Horz.EffectiveLineWidth;
                ++curCol;
            }
            top = bottom + info.Vert.EffectiveLineWidth;
            ++curRow;
        }
    };

    const TKyGridDrawState fixedState = FFixedDrawState | gdFixed;
    const int offsetClip = FColOffset != 0 ? info.Horz.FixedBoundary : 0;
    drawCells(0, 0, 0, 0, info.Horz.FixedBoundary, info.Vert.FixedBoundary, FFixedColor,
              fixedState, 0);
    drawCells(LeftCol(), 0, info.Horz.FixedBoundary - FColOffset, 0, info.Horz.GridBoundary,
              info.Vert.FixedBoundary, FFixedColor, fixedState, offsetClip);
    drawCells(0, TopRow(), 0, info.Vert.FixedBoundary, info.Horz.FixedBoundary,
              info.Vert.GridBoundary, FFixedColor, fixedState, 0);
    drawCells(LeftCol(), TopRow(), info.Horz.FixedBoundary - FColOffset, info.Vert.FixedBoundary,
              info.Horz.GridBoundary, info.Vert.GridBoundary, color, TKyGridDrawState(),
              offsetClip);

    if ((FOptions & goRowSelect) && FDefaultDrawing && active)
        DrawFocusRect(p, GridRectToScreenRect(sel, false));

    // The client area past the last cells.
    const QColor colorQ = toQColor(color);
    if (info.Horz.GridBoundary < info.Horz.GridExtent)
        p.fillRect(ltrb(info.Horz.GridBoundary, 0, info.Horz.GridExtent, info.Vert.GridBoundary),
                   colorQ);
    if (info.Vert.GridBoundary < info.Vert.GridExtent)
        p.fillRect(ltrb(0, info.Vert.GridBoundary, info.Horz.GridExtent, info.Vert.GridExtent),
                   colorQ);
    // The viewport can be a little larger than the client area the geometry assumed while the
    // scroll bars are being laid out; keep that strip clean too.
    const QRect vp = viewport()->rect();
    if (vp.width() > info.Horz.GridExtent)
        p.fillRect(ltrb(info.Horz.GridExtent, 0, vp.width(), vp.height()), colorQ);
    if (vp.height() > info.Vert.GridExtent)
        p.fillRect(ltrb(0, info.Vert.GridExtent, vp.width(), vp.height()), colorQ);

    if (FIndicator.On) {
        // A dotted XOR line of width 1.
        QPolygon pts;
        if (FIndicator.Vertical)
            for (int y = 0; y < FIndicator.Limit; y += 2)
                pts << QPoint(FIndicator.Pos, y);
        else
            for (int x = 0; x < FIndicator.Limit; x += 2)
                pts << QPoint(x, FIndicator.Pos);
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1));
        p.drawPoints(pts);
        p.restore();
    }
}

void TQxCustomGrid::setIndicator(bool on, bool vertical, int pos, int limit)
{
    // The line lives in the paint: erasing and drawing it repaint the strips it covers.
    auto strip = [this](const Indicator& ind) {
        return ind.Vertical ? QRect(ind.Pos, 0, 1, ClientHeight()) : QRect(0, ind.Pos, ClientWidth(), 1);
    };
    if (FIndicator.On)
        viewport()->update(strip(FIndicator));
    FIndicator = {on, vertical, pos, limit};
    if (on)
        viewport()->update(strip(FIndicator));
}
