// Painting: grid lines in LineColor and GridLineWidth, fills of fixed, selected and scrollable
// cells, the calls of DrawCell.
#include <gtest/gtest.h>

#include "GridTestSupport.h"

namespace {

// A grid that paints nothing of its own in the cells, so that fills and lines can be read.
struct BlankGrid : TestGrid
{
    void DrawCell(int ACol, int ARow, const QRect&, TKyGridDrawState AState) override
    {
        drawn.append(QPoint(ACol, ARow));
        states.insert({ACol, ARow}, AState);
    }
    QMap<QPair<int, int>, TKyGridDrawState> states;
};

struct PaintFixture : ::testing::Test
{
    QWidget window;
    BlankGrid* g = new BlankGrid;
    void SetUp() override
    {
        g->setParent(&window);
        g->SetBorderStyle(TQxCustomGrid::bsNone);
        g->resize(400, 200);
        window.resize(400, 200);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    QColor c(TColor color) const { return toQColor(color); }
};

TEST_F(PaintFixture, LinesOfEveryAreaTakeLineColor)
{
    g->SetLineColor(clRed);
    const QImage img = shot(g);
    // The vertical line after fixed column 0 (x = 64) in the fixed corner and beside the rows;
    // the horizontal line under the fixed row (y = 30); lines between data cells.
    EXPECT_EQ(pixel(img, 64, 10), c(clRed));
    EXPECT_EQ(pixel(img, 64, 50), c(clRed));
    EXPECT_EQ(pixel(img, 100, 30), c(clRed));
    EXPECT_EQ(pixel(img, 129, 50), c(clRed));
    EXPECT_EQ(pixel(img, 100, 61), c(clRed));
    // Cells keep their fills.
    EXPECT_EQ(pixel(img, 10, 10), c(clBtnFace));
    EXPECT_EQ(pixel(img, 100, 45), c(clWindow));
}

TEST_F(PaintFixture, LinesKeepLineColorOnASilverGrid)
{
    g->SetColor(clSilver);
    const QImage img = shot(g);
    EXPECT_EQ(pixel(img, 129, 50), c(clBlack));
    EXPECT_EQ(pixel(img, 100, 50), c(clSilver));
}

TEST_F(PaintFixture, VertLineOffDrawsTheLinesInTheGridColourAndKeepsTheirRoom)
{
    g->SetOptions(g->Options() & ~TKyGridOptions(goVertLine));
    const QImage img = shot(g);
    EXPECT_EQ(pixel(img, 129, 50), c(clWindow));
    EXPECT_EQ(g->CellRect(2, 1).left(), 130);
    // The fixed area's vertical lines are still drawn.
    EXPECT_EQ(pixel(img, 64, 50), c(clBlack));
    EXPECT_EQ(pixel(img, 129, 10), c(clBlack));
}

TEST_F(PaintFixture, ThickLinesAreSquareAndCellsMoveApart)
{
    g->SetGridLineWidth(3);
    const QImage img = shot(g);
    // Column 0 is 0..63, its line 64..66, column 1 starts at 67.
    EXPECT_EQ(pixel(img, 63, 50), c(clBtnFace));
    EXPECT_EQ(pixel(img, 64, 50), c(clBlack));
    EXPECT_EQ(pixel(img, 66, 50), c(clBlack));
    EXPECT_EQ(pixel(img, 67, 50), c(clWindow));
    EXPECT_EQ(pixel(img, 50, 34), c(clBtnFace));
    EXPECT_EQ(pixel(img, 50, 32), c(clBlack));
    EXPECT_EQ(g->CellRect(1, 1).left(), 67);
    // Square ends: the vertical line of the data area does not run past the grid's bottom.
    const int bottom = g->BoxRect(0, 0, 4, 4).bottom();
    EXPECT_EQ(pixel(img, 134 + 64, bottom + 4), c(clWindow));
}

TEST_F(PaintFixture, ZeroLineWidthDrawsNoLines)
{
    g->SetGridLineWidth(0);
    const QImage img = shot(g);
    // (The focused cell (1,1) carries the focus rectangle; probe elsewhere.)
    EXPECT_EQ(pixel(img, 63, 100), c(clBtnFace));
    EXPECT_EQ(pixel(img, 64, 100), c(clWindow));
    EXPECT_EQ(pixel(img, 200, 29), c(clBtnFace));
    EXPECT_EQ(pixel(img, 200, 30), c(clWindow));
}

TEST_F(PaintFixture, AHiddenColumnStillHasItsBoundaryLine)
{
    g->SetLineColor(clRed);
    g->SetColWidths(2, -1);
    g->drawn.clear();
    const QImage img = shot(g);
    // Column 1 ends at 128, its line at 129; column 2 (width -1) puts its line on the same
    // pixel, and column 3 starts at 130.
    EXPECT_EQ(pixel(img, 129, 50), c(clRed));
    EXPECT_EQ(pixel(img, 130, 50), c(clWindow));
    EXPECT_FALSE(g->drawn.contains(QPoint(2, 1)));
}

TEST_F(PaintFixture, SelectedCellsAreFilledWithTheTooltipColour)
{
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
    const QImage img = shot(g);
    // (1,1) is selected but not focused; (1,2) is focused.
    const QRect selected = g->CellRect(1, 1);
    const QRect focused = g->CellRect(1, 2);
    EXPECT_EQ(pixel(img, selected.center().x(), selected.center().y()), c(clInfoBk));
    EXPECT_EQ(pixel(img, focused.center().x(), focused.center().y()), c(clWindow));
    EXPECT_TRUE(g->states.value({1, 1}) & gdSelected);
    EXPECT_FALSE(g->states.value({1, 1}) & gdFocused);
    EXPECT_TRUE(g->states.value({1, 2}) & gdFocused);
    EXPECT_TRUE(g->states.value({0, 1}) & gdFixed);
    // With goDrawFocusSelected the focused cell is filled too.
    g->SetOptions(g->Options() | goDrawFocusSelected);
    const QImage img2 = shot(g);
    EXPECT_EQ(pixel(img2, focused.center().x(), focused.center().y()), c(clInfoBk));
}

TEST_F(PaintFixture, EveryVisibleCellIsDrawnOnce)
{
    g->SetRowCount(1000000);
    g->SetColCount(20);
    g->drawn.clear();
    (void)shot(g);
    // Every cell that starts inside the viewport, the last ones in part; nothing else.
    const int cols = (g->viewport()->width() + 64) / 65;
    const int rows = (g->viewport()->height() + 30) / 31;
    EXPECT_EQ(g->drawn.size(), cols * rows);
    EXPECT_TRUE(g->drawn.contains(QPoint(cols - 1, rows - 1)));
}

TEST_F(PaintFixture, FixedDrawStateIsAddedToFixedCells)
{
    struct StateGrid : BlankGrid
    {
        StateGrid() { FFixedDrawState = gdSelected; }
    };
    auto* sg = new StateGrid;
    sg->setParent(&window);
    sg->resize(300, 150);
    sg->show();
    (void)shot(sg);
    EXPECT_EQ(sg->states.value({0, 0}), TKyGridDrawState(gdSelected | gdFixed));
}

TEST_F(PaintFixture, WithoutDefaultDrawingTheCellsAreTheDescendantsOwn)
{
    struct RedGrid : BlankGrid
    {
        void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) override
        {
            BlankGrid::DrawCell(ACol, ARow, ARect, AState);
            if (ACol == 2 && ARow == 2)
                Canvas()->fillRect(ARect, Qt::red);
        }
    };
    auto* rg = new RedGrid;
    rg->setParent(&window);
    rg->SetBorderStyle(TQxCustomGrid::bsNone);
    rg->resize(400, 200);
    rg->SetDefaultDrawing(false);
    rg->show();
    rg->setFocus();
    const QImage img = shot(rg);
    const QRect r = rg->CellRect(2, 2);
    EXPECT_EQ(pixel(img, r.center().x(), r.center().y()), QColor(Qt::red));
    EXPECT_TRUE(rg->drawn.contains(QPoint(1, 1)));
    // The grid lines are still the grid's.
    EXPECT_EQ(pixel(img, 129, 50), c(clBlack));
}

TEST_F(PaintFixture, OnDrawFooterIsCalledOnlyThroughDrawFooter)
{
    int calls = 0;
    g->OnDrawFooter = [&](QObject*, int, int, QRect, TKyGridDrawState) { ++calls; };
    (void)shot(g);
    EXPECT_EQ(calls, 0);
}

} // namespace
