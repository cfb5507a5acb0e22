// Keyboard and mouse: moving the current cell, selecting, sizing and moving columns and rows.
#include <gtest/gtest.h>

#include "GridTestSupport.h"

namespace {

QPoint centerOf(const QRect& r) { return r.center(); }

TEST(GridKeys, ArrowsMoveTheCurrentCellWithinTheScrollableCells)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    int clicks = 0;
    g.OnClick = [&](QObject*) { ++clicks; };
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.Col(), 2);
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(&g, Qt::Key_Left);
    QTest::keyClick(&g, Qt::Key_Left);
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_EQ(g.Col(), 1); // never into the fixed column
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.Col(), 4);
    QTest::keyClick(&g, Qt::Key_Home);
    EXPECT_EQ(g.Col(), 1);
}

TEST(GridKeys, ShiftDownExtendsTheSelectionOnlyWithRangeSelect)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    TGridRect sel = g.Selection();
    EXPECT_EQ(sel.Top, 1);
    EXPECT_EQ(sel.Bottom, 2);

    g.SetOptions(g.Options() & ~TKyGridOptions(goRangeSelect));
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    sel = g.Selection();
    EXPECT_EQ(sel.Top, 3);
    EXPECT_EQ(sel.Bottom, 3);
    EXPECT_EQ(sel.Left, sel.Right);
}

TEST(GridKeys, RowSelectSelectsTheWholeRow)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goRowSelect);
    QTest::keyClick(&g, Qt::Key_Down);
    const TGridRect sel = g.Selection();
    EXPECT_EQ(sel.Left, 1);
    EXPECT_EQ(sel.Right, 4);
    EXPECT_EQ(sel.Top, 2);
    EXPECT_EQ(sel.Bottom, 2);
    // Home and End go to the first and last row.
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.Row(), 4);
    QTest::keyClick(&g, Qt::Key_Home);
    EXPECT_EQ(g.Row(), 1);
}

TEST(GridKeys, TabWrapsFromTheLastCellToTheFirstScrollableCell)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goTabs);
    g.SetCol(4);
    g.SetRow(4);
    QTest::keyClick(&g, Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 1);
    QTest::keyClick(&g, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(g.Col(), 4);
    EXPECT_EQ(g.Row(), 4);
    // Shift+Tab moves back without selecting a range.
    EXPECT_EQ(g.Selection().Left, 4);
    EXPECT_EQ(g.Selection().Top, 4);
}

TEST(GridKeys, TabSkipsColumnsWithoutTabStop)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goTabs);
    g.SetTabStops(2, false);
    g.SetTabStops(3, false);
    QTest::keyClick(&g, Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 4);
    // With no tab stop at all Tab goes to the same column one row down.
    for (int c = 0; c < g.ColCount(); ++c)
        g.SetTabStops(c, false);
    QTest::keyClick(&g, Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 4);
    EXPECT_EQ(g.Row(), 2);
}

TEST(GridKeys, TabLeavesTheGridWithoutGoTabs)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    ASSERT_TRUE(g.hasFocus());
    QTest::keyClick(&g, Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_TRUE(w.other->hasFocus());
}

TEST(GridKeys, CtrlArrowsScrollWithoutMovingTheCurrentRow)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(50);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(g.TopRow(), 2);
    // The current row was scrolled out of the top; it is clamped back to the screen only when
    // it moves, so it stays.
    EXPECT_EQ(g.Row(), 1);
    QTest::keyClick(&g, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 2 + g.VisibleRowCount() - 1);
}

TEST(GridKeys, RefusedKeysAreIgnored)
{
    struct Refusing : TestGrid
    {
        bool CanGridAcceptKey(int Key, TShiftState) override { return Key != VK_DOWN; }
    };
    QWidget win;
    auto* g = new Refusing;
    g->setParent(&win);
    win.show();
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_EQ(g->Row(), 1);
    QTest::keyClick(g, Qt::Key_Right);
    EXPECT_EQ(g->Col(), 2);
}

TEST(GridMouse, PressOnACellMakesItCurrent)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    QTest::mouseClick(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(3, 2)));
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 2);
    // A press on a fixed cell does not move it.
    QTest::mouseClick(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(0, 3)));
    EXPECT_EQ(g.Row(), 2);
}

TEST(GridMouse, DragSelectsARectangleAndShiftClickExtends)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(1, 1)));
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsSelecting);
    EXPECT_TRUE(g.timerRunning());
    dragTo(vp(&g), centerOf(g.CellRect(3, 3)));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(3, 3)));
    EXPECT_FALSE(g.timerRunning());
    TGridRect sel = g.Selection();
    EXPECT_EQ(sel, (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(g.Col(), 1);

    QTest::mouseClick(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(4, 2)));
    EXPECT_EQ(g.Selection(), (TGridRect{4, 2, 4, 2}));
    QTest::mouseClick(vp(&g), Qt::LeftButton, Qt::ShiftModifier, centerOf(g.CellRect(2, 4)));
    EXPECT_EQ(g.Selection(), (TGridRect{2, 2, 4, 4}));
}

TEST(GridMouse, HoldingTheButtonBelowTheGridExtendsOneRowPerTick)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(40);
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(1, 1)));
    dragTo(vp(&g), QPoint(80, vp(&g)->height() + 20));
    const int before = g.anchor().Y;
    const int topBefore = g.TopRow();
    g.tick();
    EXPECT_EQ(g.anchor().Y, before + 1);
    g.tick();
    EXPECT_EQ(g.anchor().Y, before + 2);
    EXPECT_GT(g.TopRow(), topBefore);
    EXPECT_EQ(g.Row(), 1); // the current cell stays; the selection grows
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, QPoint(80, vp(&g)->height() - 1));
    EXPECT_GE(g.Selection().Bottom, before + 2);
}

TEST(GridMouse, WheelMovesTheCurrentRow)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(50, 50), vp(&g)->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(vp(&g), &e);
    };
    wheel(-120);
    EXPECT_EQ(g.Row(), 2);
    wheel(-240);
    EXPECT_EQ(g.Row(), 4);
    wheel(-120);
    EXPECT_EQ(g.Row(), 4); // the last row
    wheel(120 * 5);
    EXPECT_EQ(g.Row(), 1);
    bool handledCalls = false;
    g.OnMouseWheelDown = [&](QObject*, TShiftState, QPoint, bool& handled) {
        handledCalls = true;
        handled = true;
    };
    wheel(-120);
    EXPECT_TRUE(handledCalls);
    EXPECT_EQ(g.Row(), 1);
}

// --- sizing ---------------------------------------------------------------------------------

TEST(GridSizing, PressNearAColumnBorderInTheTitleRowSizesThatColumn)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goColSizing);
    const QRect c1 = g.CellRect(1, 0);
    const int border = c1.left() + c1.width(); // end of column 1
    EXPECT_TRUE(g.Sizing(border - 3, 10));
    EXPECT_TRUE(g.Sizing(border + 3, 10));
    EXPECT_FALSE(g.Sizing(border - 4, 10));
    EXPECT_FALSE(g.Sizing(border - 3, 40)); // not in the fixed row
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, QPoint(border - 3, 10));
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsColSizing);
    EXPECT_EQ(vp(&g)->cursor().shape(), Qt::SplitHCursor);
    dragTo(vp(&g), QPoint(border + 20, 10));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, QPoint(border + 20, 10));
    EXPECT_EQ(g.ColWidths(1), 64 + 23);
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsNormal);
}

TEST(GridSizing, DraggingBelowTwoPixelsKeepsTheWidth)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goColSizing);
    const QRect c1 = g.CellRect(1, 0);
    const int border = c1.left() + c1.width();
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, QPoint(border, 10));
    dragTo(vp(&g), QPoint(c1.left() + 1, 10));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, QPoint(c1.left() + 1, 10));
    EXPECT_EQ(g.ColWidths(1), 64);
}

TEST(GridSizing, RowsSizeInTheFixedColumnAndFixedCellsCannotBeSized)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goRowSizing);
    const QRect r2 = g.CellRect(0, 2);
    const int border = r2.top() + r2.height();
    // The border under the fixed row is not a sizing border.
    EXPECT_FALSE(g.Sizing(10, 30));
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, QPoint(10, border));
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsRowSizing);
    dragTo(vp(&g), QPoint(10, border - 10));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, QPoint(10, border - 10));
    EXPECT_EQ(g.RowHeights(2), 20);
}

// --- moving ---------------------------------------------------------------------------------

TEST(GridMoving, DraggingATitleMovesTheColumn)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goColMoving);
    g.SetColWidths(1, 50);
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(1, 0)));
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsColMoving);
    dragTo(vp(&g), centerOf(g.CellRect(3, 0)));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(3, 0)));
    ASSERT_EQ(g.columnMoves.size(), 1);
    EXPECT_EQ(g.columnMoves[0], std::make_pair(1, 3));
    EXPECT_EQ(g.ColWidths(3), 50);
    EXPECT_EQ(g.Col(), 3);
}

TEST(GridMoving, EndColumnDragCanRefuse)
{
    struct Refusing : TestGrid
    {
        bool EndColumnDrag(int&, int&, const QPoint&) override { return false; }
    };
    QWidget win;
    auto* g = new Refusing;
    g->setParent(&win);
    g->resize(320, 150);
    win.show();
    g->setFocus();
    g->SetOptions(g->Options() | goColMoving);
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, g->CellRect(1, 0).center());
    dragTo(g->viewport(), g->CellRect(3, 0).center());
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, g->CellRect(3, 0).center());
    EXPECT_TRUE(g->columnMoves.isEmpty());
}

TEST(GridMoving, DraggingARowHeaderMovesTheRow)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goRowMoving);
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(0, 3)));
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsRowMoving);
    dragTo(vp(&g), centerOf(g.CellRect(0, 1)));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(0, 1)));
    ASSERT_EQ(g.rowMoves.size(), 1);
    EXPECT_EQ(g.rowMoves[0], std::make_pair(3, 1));
}

TEST(GridMoving, FocusLossCancelsTheDrag)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goColMoving);
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(1, 0)));
    ASSERT_EQ(g.gridState(), TQxCustomGrid::gsColMoving);
    w.other->setFocus();
    EXPECT_EQ(g.gridState(), TQxCustomGrid::gsNormal);
    EXPECT_FALSE(g.timerRunning());
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, centerOf(g.CellRect(3, 0)));
    EXPECT_TRUE(g.columnMoves.isEmpty());
}

} // namespace

namespace {

TEST(GridMouseEvents, DoubleClickAndMouseEventsReachTheHandlers)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    QStringList seen;
    g.OnDblClick = [&](QObject*) { seen << "dbl"; };
    g.OnMouseDown = [&](QObject* sender, TMouseButton b, TShiftState, int x, int y) {
        EXPECT_EQ(sender, &g);
        seen << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y);
    };
    g.OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { seen << "up"; };
    g.OnClick = [&](QObject*) { seen << "click"; };
    QTest::mouseDClick(vp(&g), Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_TRUE(seen.contains("dbl"));
    EXPECT_TRUE(seen.contains("down 0 100,40"));
    QTest::mouseClick(vp(&g), Qt::RightButton, {}, QPoint(100, 40));
    EXPECT_TRUE(seen.contains("down 1 100,40"));
    EXPECT_TRUE(seen.contains("up"));
    // The press on a cell clicks only after the mouse is released (the selection is complete).
    seen.clear();
    QTest::mousePress(vp(&g), Qt::LeftButton, {}, g.CellRect(2, 2).center());
    EXPECT_FALSE(seen.contains("click"));
    QTest::mouseRelease(vp(&g), Qt::LeftButton, {}, g.CellRect(2, 2).center());
    EXPECT_TRUE(seen.contains("click"));
}

TEST(GridPaintRequests, SettingTheSameLineColorStillRepaints)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    QApplication::processEvents();
    g.drawn.clear();
    g.SetLineColor(g.LineColor());
    QApplication::processEvents();
    EXPECT_FALSE(g.drawn.isEmpty());
    g.drawn.clear();
    g.SetFixedColor(g.FixedColor()); // unchanged: nothing to do
    QApplication::processEvents();
    EXPECT_TRUE(g.drawn.isEmpty());
}

} // namespace
