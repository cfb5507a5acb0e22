// The grid's model: defaults, counts and extents, their errors, geometry and scrolling.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "GridTestSupport.h"

namespace {

QString errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const EInvalidGridOperation& e) {
        return e.Message();
    }
    return QString();
}

TEST(GridModel, NewGridIsFiveByFiveWithOneFixedRowAndColumn)
{
    TestGrid g;
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.DefaultColWidth(), 64);
    EXPECT_EQ(g.DefaultRowHeight(), 30);
    EXPECT_EQ(g.ColWidths(3), 64);
    EXPECT_EQ(g.RowHeights(3), 30);
    EXPECT_EQ(g.size(), QSize(320, 150));
    EXPECT_EQ(int(g.Options()), 0x001F);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(g.LineColor(), clBlack);
    EXPECT_EQ(g.GridLineWidth(), 1);
    EXPECT_EQ(g.FixedColor(), clBtnFace);
    EXPECT_EQ(g.Color(), clWindow);
    EXPECT_EQ(g.BorderStyle(), TQxCustomGrid::bsSingle);
    EXPECT_EQ(g.ScrollBars(), TQxCustomGrid::ssBoth);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_TRUE(g.DefaultDrawing());
    EXPECT_EQ(g.InplaceEditor(), nullptr);
}

TEST(GridModel, PublishedPropertiesComeInTheirStreamOrder)
{
    TestGrid g;
    const QMetaObject* mo = g.metaObject();
    QStringList names;
    for (int i = TQxCustomGrid::staticMetaObject.superClass()->propertyCount(); i < mo->propertyCount(); ++i)
        names << QString::fromLatin1(mo->property(i).name());
    EXPECT_EQ(names, (QStringList{"BorderStyle", "Color", "FixedColor", "LineColor", "GridLineWidth",
                                  "Options", "ParentColor", "ScrollBars", "TabStop"}));
    EXPECT_TRUE(g.setProperty("LineColor", int(clRed)));
    EXPECT_EQ(g.LineColor(), clRed);
}

TEST(GridModel, ColCountZeroGivesOneColumnAndNoFixedColumn)
{
    TestGrid g;
    g.SetColCount(0);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_EQ(g.Col(), 0);
}

TEST(GridModel, FixedColsEqualToCountIsRefusedAndKept)
{
    TestGrid g;
    EXPECT_EQ(errorOf([&] { g.SetFixedCols(g.ColCount()); }),
              "Fixed column count must be less than column count");
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(errorOf([&] { g.SetFixedRows(5); }), "Fixed row count must be less than row count");
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(errorOf([&] { g.SetFixedCols(-1); }), "Grid index out of range");
}

TEST(GridModel, ExtentOutsideTheCountIsRefused)
{
    TestGrid g;
    EXPECT_EQ(errorOf([&] { g.SetColWidths(g.ColCount(), 10); }), "Grid index out of range");
    EXPECT_EQ(errorOf([&] { g.SetRowHeights(5, 10); }), "Grid index out of range");
    EXPECT_EQ(errorOf([&] { g.SetTabStops(5, false); }), "Grid index out of range");
    // A move of the current cell outside the grid.
    EXPECT_EQ(errorOf([&] { g.MoveColRow(9, 1, true, true); }), "Grid index out of range");
    // Deleting more than there is.
    EXPECT_EQ(errorOf([&] { g.AdjustSize(3, -3, true); }), "Too many rows or columns deleted");
    EXPECT_EQ(g.RowCount(), 5);
}

TEST(GridModel, DefaultWidthReplacesEveryOwnWidth)
{
    TestGrid g;
    g.SetColWidths(2, 100);
    EXPECT_EQ(g.ColWidths(2), 100);
    EXPECT_TRUE(g.ShouldStoreColWidths());
    g.SetDefaultColWidth(50);
    EXPECT_EQ(g.ColWidths(2), 50);
    EXPECT_EQ(g.ColWidths(0), 50);
    EXPECT_FALSE(g.ShouldStoreColWidths());
}

TEST(GridModel, TabStopsDefaultToTrueAndGrowWithTheCount)
{
    TestGrid g;
    EXPECT_TRUE(g.TabStops(2));
    g.SetTabStops(2, false);
    EXPECT_FALSE(g.TabStops(2));
    g.SetColCount(8);
    EXPECT_TRUE(g.TabStops(7));
    EXPECT_FALSE(g.TabStops(2));
}

TEST(GridModel, StoredExtentsRoundTrip)
{
    TestGrid a;
    a.SetColWidths(1, 80);
    a.SetColWidths(3, 20);
    const QList<int> widths = a.StoredColWidths();
    EXPECT_EQ(widths, (QList<int>{64, 80, 64, 20, 64}));
    TestGrid b;
    b.SetColCount(3); // reads only as many entries as there are columns
    b.ReadColWidths(widths);
    EXPECT_EQ(b.StoredColWidths(), (QList<int>{64, 80, 64}));
}

TEST(GridModel, RowSelectRemovesAlwaysShowEditor)
{
    TestGrid g;
    g.SetOptions(g.Options() | goAlwaysShowEditor | goRowSelect);
    EXPECT_TRUE(g.Options() & goRowSelect);
    EXPECT_FALSE(g.Options() & goAlwaysShowEditor);
}

TEST(GridModel, ShrinkingTheCountClampsTheCurrentCellAndCollapsesTheSelection)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(20);
    g.SetRow(10);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(g.Selection().Bottom, 11);
    g.SetRowCount(8);
    EXPECT_EQ(g.Row(), 7);
    const TGridRect sel = g.Selection();
    EXPECT_EQ(sel.Top, 7);
    EXPECT_EQ(sel.Bottom, 7);
    EXPECT_GT(g.sizeChanges, 0);
    // Fixed rows come down with the count.
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 0);
}

TEST(GridModel, MovingAColumnCarriesItsWidthTabStopAndTheCurrentCell)
{
    TestGrid g;
    g.SetColWidths(1, 90);
    g.SetTabStops(1, false);
    g.SetCol(1);
    g.MoveColumn(1, 3);
    EXPECT_EQ(g.ColWidths(3), 90);
    EXPECT_EQ(g.ColWidths(1), 64);
    EXPECT_FALSE(g.TabStops(3));
    EXPECT_TRUE(g.TabStops(1));
    EXPECT_EQ(g.Col(), 3);
    ASSERT_EQ(g.columnMoves.size(), 1);
    EXPECT_EQ(g.columnMoves[0], std::make_pair(1, 3));
}

TEST(GridModel, DeleteRowMovesItToTheEndAndDropsIt)
{
    TestGrid g;
    g.SetRowHeights(2, 44);
    g.DeleteRow(2);
    EXPECT_EQ(g.RowCount(), 4);
    ASSERT_EQ(g.rowMoves.size(), 1);
    EXPECT_EQ(g.rowMoves[0], std::make_pair(2, 4));
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(g.RowHeights(r), 30) << r;
}

TEST(GridModel, AdjustSizeInsertsRowsAndKeepsTheCurrentRowOnItsData)
{
    TestGrid g;
    g.SetRowCount(10);
    g.SetRow(5);
    g.SetRowHeights(5, 40);
    g.AdjustSize(2, 3, true);
    EXPECT_EQ(g.RowCount(), 13);
    EXPECT_EQ(g.Row(), 8);
    EXPECT_EQ(g.RowHeights(8), 40);
    g.AdjustSize(2, -3, true);
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.Row(), 5);
}

// --- geometry -------------------------------------------------------------------------------

TEST(GridGeometry, CellRectsFollowWidthsAndLineWidth)
{
    TestGrid g;
    g.resize(400, 300);
    // Line width 1: cells are 1 pixel apart.
    EXPECT_EQ(g.CellRect(0, 0), QRect(0, 0, 64, 30));
    EXPECT_EQ(g.CellRect(1, 1), QRect(65, 31, 64, 30));
    EXPECT_EQ(g.CellRect(2, 3), QRect(130, 93, 64, 30));
    g.SetGridLineWidth(3);
    EXPECT_EQ(g.CellRect(1, 1), QRect(67, 33, 64, 30));
    g.SetGridLineWidth(0);
    EXPECT_EQ(g.CellRect(1, 1), QRect(64, 30, 64, 30));
    // Without any line option, a line takes no room.
    g.SetGridLineWidth(1);
    g.SetOptions(TKyGridOptions());
    EXPECT_EQ(g.CellRect(1, 1), QRect(64, 30, 64, 30));
    // With one line option on an axis, the line takes its room across the whole axis.
    g.SetOptions(goVertLine);
    EXPECT_EQ(g.CellRect(1, 1), QRect(65, 30, 64, 30));
}

TEST(GridGeometry, MouseCoordFindsCellsAndMinusOneOutside)
{
    TestGrid g;
    g.resize(600, 400);
    auto at = [&](int x, int y) {
        const TGridCoord c = g.MouseCoord(x, y);
        return QPoint(c.X, c.Y);
    };
    EXPECT_EQ(at(0, 0), QPoint(0, 0));
    EXPECT_EQ(at(64, 10), QPoint(0, 0)); // the line belongs to the cell before it
    EXPECT_EQ(at(65, 31), QPoint(1, 1));
    EXPECT_EQ(at(300, 140), QPoint(4, 4));
    EXPECT_EQ(at(500, 10), QPoint(-1, -1)); // right of the last column
    EXPECT_EQ(at(10, 300), QPoint(-1, -1));
    EXPECT_EQ(at(-3, 10), QPoint(-1, -1));
}

TEST(GridGeometry, BoxRectClipsToTheScreenAndIsEmptyWhenScrolledOut)
{
    TestGrid g;
    g.resize(200, 200);
    g.SetRowCount(100);
    g.SetBorderStyle(TQxCustomGrid::bsNone);
    g.SetScrollBars(TQxCustomGrid::ssNone);
    EXPECT_EQ(g.BoxRect(1, 1, 2, 2), QRect(65, 31, 129, 61));
    // A block running past the client edge ends at the edge.
    EXPECT_EQ(g.BoxRect(1, 1, 4, 2), QRect(65, 31, 135, 61));
    g.SetTopRow(10);
    EXPECT_TRUE(g.CellRect(1, 2).isEmpty());
    EXPECT_FALSE(g.CellRect(1, 10).isEmpty());
    EXPECT_EQ(g.CellRect(1, 10).top(), 31);
    // Far beyond the screen.
    EXPECT_TRUE(g.CellRect(1, 90).isEmpty());
}

TEST(GridGeometry, HiddenColumnAddsNoSpace)
{
    TestGrid g;
    g.resize(500, 200);
    g.SetColWidths(2, -1);
    // Width -1 plus the line of 1 pixel: column 3 starts where column 2 would have.
    EXPECT_EQ(g.CellRect(3, 1).left(), g.CellRect(1, 1).right() + 2);
}

TEST(GridGeometry, VisibleCountsCountFullyVisibleScrollableCells)
{
    TestGrid g;
    g.SetBorderStyle(TQxCustomGrid::bsNone);
    g.SetScrollBars(TQxCustomGrid::ssNone);
    g.SetColCount(20);
    g.SetRowCount(50);
    g.resize(65 + 3 * 65 + 10, 31 + 4 * 31 + 5);
    EXPECT_EQ(g.VisibleColCount(), 3);
    EXPECT_EQ(g.VisibleRowCount(), 4);
}

// --- scrolling ------------------------------------------------------------------------------

TEST(GridScrolling, AGridThatFitsShowsNoScrollBars)
{
    GridWindow w;
    w.window->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(w.grid->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(w.grid->verticalScrollBar()->maximum(), 0);
    EXPECT_FALSE(w.grid->verticalScrollBar()->isVisible());
}

TEST(GridScrolling, ThumbReachesTheEndWithTheLastRows)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(1000);
    QApplication::processEvents();
    QScrollBar* bar = g.verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 127);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 999);
    EXPECT_EQ(bar->value(), 127);
    // The last row is fully visible and the grid scrolled no further than needed.
    const QRect last = g.CellRect(g.ColCount() - 1, 999);
    EXPECT_FALSE(last.isEmpty());
    EXPECT_LE(last.bottom(), g.viewport()->height() - 1);
    EXPECT_EQ(g.VisibleRowCount(), 999 - g.TopRow() + 1);
    // Further scrolling down goes nowhere.
    const int top = g.TopRow();
    QTest::keyClick(&g, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(g.TopRow(), top);
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(bar->value(), 0);
}

TEST(GridScrolling, ScrollBarClicksMoveByCellAndByPage)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(300);
    QApplication::processEvents();
    QScrollBar* bar = g.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.TopRow(), 2);
    const int page = g.VisibleRowCount();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g.TopRow(), 2 + page);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(g.TopRow(), 1);
    // Never above the first scrollable row.
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(g.TopRow(), 1);
    // The current cell stays where it was.
    EXPECT_EQ(g.Row(), 1);
}

TEST(GridScrolling, PageDownMovesRowAndTopRowByAPage)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(100);
    QApplication::processEvents();
    const int page = g.VisibleRowCount();
    QTest::keyClick(&g, Qt::Key_PageDown);
    EXPECT_EQ(g.Row(), 1 + page);
    EXPECT_EQ(g.TopRow(), 1 + page);
    QTest::keyClick(&g, Qt::Key_PageUp);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    // At the bottom edge the top row stops at the largest useful one.
    for (int i = 0; i < 50; ++i)
        QTest::keyClick(&g, Qt::Key_PageDown);
    EXPECT_EQ(g.Row(), 99);
    EXPECT_EQ(g.TopRow(), 99 - g.VisibleRowCount() + 1);
}

TEST(GridScrolling, SingleColumnScrollsByPixels)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetColCount(1);
    g.SetColWidths(0, 1000);
    QApplication::processEvents();
    QScrollBar* bar = g.horizontalScrollBar();
    EXPECT_EQ(bar->maximum(), 1000 - g.viewport()->width());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(g.CellRect(0, 1).left(), 0);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(GridScrolling, ClientAreaMatchesTheViewport)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(100);
    g.SetColCount(30);
    QApplication::processEvents();
    EXPECT_TRUE(g.verticalScrollBar()->isVisible());
    EXPECT_TRUE(g.horizontalScrollBar()->isVisible());
    // The geometry's client area is the viewport's.
    const QRect last = g.BoxRect(0, 0, g.ColCount() - 1, g.RowCount() - 1);
    EXPECT_EQ(last.right(), g.viewport()->width() - 1);
    EXPECT_EQ(last.bottom(), g.viewport()->height() - 1);
}

TEST(GridScrolling, ThumbDragMovesOnReleaseUnlessThumbTracking)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(1000);
    QApplication::processEvents();
    QScrollBar* bar = g.verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(64);
    EXPECT_EQ(g.TopRow(), 1);
    bar->setSliderDown(false);
    EXPECT_GT(g.TopRow(), 400);

    g.SetOptions(g.Options() | goThumbTracking);
    bar->setSliderDown(true);
    bar->setSliderPosition(10);
    EXPECT_LT(g.TopRow(), 100);
    bar->setSliderDown(false);
}

TEST(GridMessages, DeferredLayoutIsPostedOnce)
{
    TestGrid g;
    g.PostDeferredLayout();
    g.PostDeferredLayout();
    g.PostDeferredLayout();
    EXPECT_TRUE(g.DeferredLayoutPending());
    QApplication::sendPostedEvents(&g);
    EXPECT_EQ(g.layouts, 1);
    EXPECT_FALSE(g.DeferredLayoutPending());
    g.PostDeferredLayout();
    QApplication::sendPostedEvents(&g);
    EXPECT_EQ(g.layouts, 2);
}

} // namespace

namespace {

TEST(GridModelLimits, ACountBeyondTheBlockLimitIsRefusedAndUndone)
{
    TestGrid g;
    g.SetRowHeights(1, 40);
    try {
        g.SetRowCount(134217726);
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), "Grid too large for operation");
    }
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.RowHeights(1), 40);
    // Without per-row heights nothing is stored per row, and any count is fine.
    TestGrid big;
    big.SetRowCount(200000000);
    EXPECT_EQ(big.RowCount(), 200000000);
    EXPECT_EQ(big.RowHeights(199999999), 30);
}

} // namespace

namespace {

TEST(GridScrollingEdges, MovingPastTheLastVisibleColumnScrollsByOneAndStopsAtTheEnd)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetColCount(30);
    QApplication::processEvents();
    const int visible = g.VisibleColCount();
    for (int i = 0; i < visible; ++i)
        QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.Col(), 1 + visible);
    EXPECT_EQ(g.LeftCol(), 2);
    EXPECT_GT(g.horizontalScrollBar()->value(), 0);
    EXPECT_LT(g.horizontalScrollBar()->value(), 127);
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.Col(), 29);
    EXPECT_EQ(g.horizontalScrollBar()->value(), 127);
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.Col(), 29);
    // Ctrl+Left moves a page of columns back; Home returns to the first scrollable column.
    QTest::keyClick(&g, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(g.Col(), 29 - g.VisibleColCount());
    QTest::keyClick(&g, Qt::Key_Home);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    EXPECT_EQ(g.horizontalScrollBar()->value(), 0);
}

TEST(GridScrollingEdges, TopRowGoesPastTheLastUsefulRowButNotOutOfTheGrid)
{
    TestGrid g;
    g.resize(320, 300);
    g.SetRowCount(20);
    g.SetTopRow(18);
    EXPECT_EQ(g.TopRow(), 18);
    g.SetTopRow(50);
    EXPECT_EQ(g.TopRow(), 19);
    g.SetTopRow(-3);
    EXPECT_EQ(g.TopRow(), 1);
}

TEST(GridScrollingEdges, FixedCellsStayWhileTheRestScrolls)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetRowCount(50);
    g.SetColCount(30);
    g.SetFixedCols(2);
    g.SetFixedRows(2);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 2);
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    // The fixed cells keep their places on screen.
    EXPECT_EQ(g.CellRect(0, 0), QRect(0, 0, 64, 30));
    EXPECT_EQ(g.CellRect(1, 1), QRect(65, 31, 64, 30));
    // The first scrollable cell on screen follows the fixed ones.
    EXPECT_EQ(g.CellRect(g.LeftCol(), g.TopRow()).topLeft(), QPoint(130, 62));
    EXPECT_TRUE(g.CellRect(2, 2).isEmpty());
    g.drawn.clear();
    (void)shot(&g);
    EXPECT_TRUE(g.drawn.contains(QPoint(0, 0)));
    EXPECT_TRUE(g.drawn.contains(QPoint(1, g.TopRow())));
    EXPECT_TRUE(g.drawn.contains(QPoint(g.LeftCol(), 1)));
    EXPECT_FALSE(g.drawn.contains(QPoint(2, 2)));
    // Arrows never enter the fixed cells.
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 2);
}

} // namespace
