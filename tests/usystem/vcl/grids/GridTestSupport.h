// A small grid that draws "c,r" in every cell, keeps its edit texts in a map and records what
// the base asked of it; and a window around it that holds the focus.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

#include "usystem/vcl/grids/uQxGrids.h"

class TestGrid : public TQxCustomGrid
{
public:
    using TQxCustomGrid::TQxCustomGrid;

    // What the base asked.
    QList<QPoint> drawn;
    QList<std::pair<int, int>> columnMoves;
    QList<std::pair<int, int>> rowMoves;
    int sizeChanges = 0;
    int topLeftChanges = 0;
    int layouts = 0;
    QMap<QPair<int, int>, QString> texts;
    int editLimit = 0;
    bool acceptKeys = true;

    QString cellText(int c, int r) const
    {
        return texts.value({c, r}, QStringLiteral("%1,%2").arg(c).arg(r));
    }

    // Expose the protected operations the tests drive.
    using TQxCustomGrid::MoveColumn;
    using TQxCustomGrid::MoveRow;
    using TQxCustomGrid::DeleteRow;
    using TQxCustomGrid::DeleteColumn;
    using TQxCustomGrid::AdjustSize;
    using TQxCustomGrid::MoveColRow;
    void tick()
    {
        QTimerEvent e(FTimer.timerId());
        timerEvent(&e);
    }
    bool timerRunning() const { return FTimer.isActive(); }
    TGridState gridState() const { return FGridState; }
    TGridCoord anchor() const { return FAnchor; }

protected:
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState) override
    {
        drawn.append(QPoint(ACol, ARow));
        Canvas()->drawText(ARect.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop,
                           cellText(ACol, ARow));
    }
    QString GetEditText(int ACol, int ARow) override { return cellText(ACol, ARow); }
    void SetEditText(int ACol, int ARow, const QString& Value) override
    {
        texts[{ACol, ARow}] = Value;
    }
    int GetEditLimit() override { return editLimit; }
    bool CanEditAcceptKey(QChar Key) override { return acceptKeys || Key.isDigit(); }
    void ColumnMoved(int FromIndex, int ToIndex) override { columnMoves.append({FromIndex, ToIndex}); }
    void RowMoved(int FromIndex, int ToIndex) override { rowMoves.append({FromIndex, ToIndex}); }
    void SizeChanged(int, int) override { ++sizeChanges; }
    void TopLeftChanged() override
    {
        ++topLeftChanges;
        TQxCustomGrid::TopLeftChanged();
    }
    void DeferredLayout() override { ++layouts; }
};

// A window holding the grid (and a second control to move the focus to).
struct GridWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TestGrid* grid = nullptr;
    QWidget* other = nullptr;

    explicit GridWindow(bool show = true)
    {
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new TestGrid(window.get());
        other = new QWidget(window.get());
        other->setFocusPolicy(Qt::StrongFocus);
        other->setFixedHeight(10);
        layout->addWidget(grid);
        layout->addWidget(other);
        window->resize(320, 160);
        if (show) {
            window->show();
            window->activateWindow();
            (void)QTest::qWaitForWindowActive(window.get());
            grid->setFocus();
            QApplication::processEvents();
        }
    }
};

inline QWidget* vp(TQxCustomGrid* g) { return g->viewport(); }

// The viewport as painted now.
inline QImage shot(TQxCustomGrid* g)
{
    return g->viewport()->grab().toImage();
}

inline QColor pixel(const QImage& img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

// A mouse move with the left button held (QTest's own moves carry no buttons on every
// platform).
inline void dragTo(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = {})
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, mods);
    QApplication::sendEvent(w, &e);
}
