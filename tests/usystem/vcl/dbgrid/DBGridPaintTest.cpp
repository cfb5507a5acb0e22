// Painting: rows are read from the link's window without moving the dataset, the colour rules
// of the cells, the indicator pictures and the check boxes of Boolean fields.
#include <gtest/gtest.h>

#include "DBGridTestSupport.h"

#include <QPainter>
#include <QScrollBar>

#include <functional>
#include <string_view>

namespace {

bool hasPixel(const QImage& img, const QRect& r, const QColor& c)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(img.pixel(x, y)) == c)
                return true;
    return false;
}

int countPixels(const QImage& img, const QRect& r, const QColor& c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += QColor(img.pixel(x, y)) == c;
    return n;
}

} // namespace

TEST(DBGridPaint, PaintingReadsEachRowWithoutMovingTheCursor)
{
    DBGridWindow w(50);
    w.table->MoveBy(3);
    int scrolls = 0;
    w.table->BeforeScroll = [&](TDataSet*) { ++scrolls; };
    w.table->AfterScroll = [&](TDataSet*) { ++scrolls; };
    QStringList seen;
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int DataCol, TQxColumn* Column,
                                   TKyGridDrawState) {
        if (DataCol == 0)
            seen << Column->Field()->AsString();
    };
    const int recNo = w.table->RecNo();
    w.grid->viewport()->repaint();
    (void)shot(w.grid);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(w.table->RecNo(), recNo);
    EXPECT_EQ(w.table->ReadRecord(), -1);
    // Every visible row was drawn with its own record.
    const int rows = w.grid->RowCount() - w.grid->TitleOffset();
    ASSERT_GE(seen.size(), rows);
    for (int i = 0; i < rows; ++i)
        EXPECT_TRUE(seen.contains(QStringLiteral("P%1").arg(i + 1, 2, 10, QLatin1Char('0'))));
}

TEST(DBGridPaint, AnEventFailingInACellStillRestoresTheActiveRecord)
{
    DBGridWindow w(10);
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int, TQxColumn*, TKyGridDrawState) {
        throw Exception("boom");
    };
    w.grid->viewport()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(w.table->ReadRecord(), -1);
    EXPECT_EQ(w.table->FieldByName("Code")->AsString(), "P01");
}

TEST(DBGridPaint, AStyleEventColourMakesTheCellBoldOn3DLight)
{
    DBGridWindow w(10);
    QStringList asked;
    w.grid->OnGetCellTextStyle = [&](QObject*, const QString& field, QString& text, TColor& color) {
        asked << field;
        if (field == "Name" && text == "part 2") {
            color = clRed;
            text = "XXXXXXXX";
        }
    };
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    const QRect styled = w.grid->CellRect(2, 2);
    const QRect plain = w.grid->CellRect(2, 3);
    EXPECT_EQ(pixelAt(img, styled.topLeft() + QPoint(1, 1)), toQColor(cl3DLight));
    EXPECT_TRUE(hasPixel(img, styled, QColor(Qt::red)));
    EXPECT_EQ(pixelAt(img, plain.topLeft() + QPoint(1, 1)), toQColor(clWindow));
    EXPECT_FALSE(hasPixel(img, plain, QColor(Qt::red)));
    EXPECT_TRUE(asked.contains("Code"));
}

TEST(DBGridPaint, SelectedRowsTakeTheHighlightOrTheSelectedBar)
{
    DBGridWindow w(10);
    w.table->MoveBy(2);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    w.table->First();
    const QPoint probe = w.grid->CellRect(2, 3).topLeft() + QPoint(1, 1);
    // Without multi-select the row is only marked in the indicator.
    w.grid->viewport()->repaint();
    EXPECT_EQ(pixelAt(shot(w.grid), probe), toQColor(clWindow));
    w.grid->SetOptions(w.grid->Options() | dgMultiSelect);
    w.grid->viewport()->repaint();
    EXPECT_EQ(pixelAt(shot(w.grid), probe), toQColor(clHighlight));
    w.grid->SetOptions((w.grid->Options() & ~TQxDBGridOptions(dgMultiSelect)) | dgSelectedBar);
    // Leaving multi-select empties the selection.
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}

TEST(DBGridPaint, SelectedBarIs3DLightWithBlackText)
{
    DBGridWindow w(10);
    w.grid->SetOptions(w.grid->Options() | dgSelectedBar);
    w.table->MoveBy(2);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    w.table->First();
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    const QRect cell = w.grid->CellRect(2, 3);
    EXPECT_EQ(pixelAt(img, cell.topLeft() + QPoint(1, 1)), toQColor(cl3DLight));
    EXPECT_TRUE(hasPixel(img, cell, QColor(Qt::black)));
}

TEST(DBGridPaint, TheCurrentCellWithoutFocusIsNotHighlighted)
{
    DBGridWindow w(10);
    w.other->setFocus();
    QApplication::processEvents();
    w.grid->viewport()->repaint();
    const QRect cell = w.grid->CellRect(w.grid->Col(), w.grid->Row());
    EXPECT_EQ(pixelAt(shot(w.grid), cell.topLeft() + QPoint(1, 1)), toQColor(clWindow));
    w.grid->setFocus();
    QApplication::processEvents();
    w.grid->viewport()->repaint();
    EXPECT_EQ(pixelAt(shot(w.grid), cell.topLeft() + QPoint(1, 1)), toQColor(clHighlight));
}

TEST(DBGridPaint, IndicatorShowsTheCurrentRowTheEditStateAndSelectedRows)
{
    DBGridWindow w(10);
    const QColor black(Qt::black);
    // The indicator cell's picture, as black-and-white pixels.
    auto picture = [&](int row) {
        w.grid->viewport()->repaint();
        const QRect r = w.grid->CellRect(0, row).adjusted(2, 2, -2, -2);
        const QImage img = shot(w.grid).copy(r);
        QString bits;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                bits += QColor(img.pixel(x, y)) == black ? QLatin1Char('#') : QLatin1Char('.');
        return bits;
    };
    const QString none = picture(2);
    EXPECT_FALSE(none.contains('#'));
    const QString arrow = picture(1);
    EXPECT_TRUE(arrow.contains('#'));
    w.table->Next();
    EXPECT_EQ(picture(1), none);
    EXPECT_EQ(picture(2), arrow);
    // Editing shows another picture.
    w.table->Edit();
    const QString edit = picture(2);
    EXPECT_TRUE(edit.contains('#'));
    EXPECT_NE(edit, arrow);
    w.table->Cancel();
    // A selected row shows its dot, also when it is not the current row.
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    const QString dot = picture(2);
    EXPECT_TRUE(dot.contains('#'));
    EXPECT_NE(dot, arrow);
    w.table->Next();
    EXPECT_EQ(picture(2), dot);
    EXPECT_EQ(picture(3), arrow);
}

TEST(DBGridPaint, BooleanFieldsShowFlatCheckBoxes)
{
    DBGridWindow w(4);
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    // Row 1 (P01) is false, row 2 (P02) is true.
    for (int row : {1, 2}) {
        const QRect cell = w.grid->CellRect(4, row);
        const QRect box(cell.left() + (cell.width() - 13) / 2, cell.top() + (cell.height() - 13) / 2,
                        13, 13);
        // A flat frame of one pixel in the shadow colour.
        EXPECT_EQ(pixelAt(img, box.topLeft()), toQColor(clBtnShadow));
        EXPECT_EQ(pixelAt(img, box.bottomRight()), toQColor(clBtnShadow));
        EXPECT_EQ(pixelAt(img, box.topLeft() + QPoint(1, 1)), toQColor(clWindow));
        const int ticks = countPixels(img, box.adjusted(1, 1, -1, -1), toQColor(clWindowText));
        if (row == 1)
            EXPECT_EQ(ticks, 0);
        else
            EXPECT_GT(ticks, 10);
        // No text: "True"/"False" is not written.
        EXPECT_EQ(pixelAt(img, QPoint(cell.left() + 3, cell.center().y())), toQColor(clWindow));
    }
}

TEST(DBGridPaint, ADisabledGridDrawsGreyText)
{
    DBGridWindow w(3);
    w.grid->setEnabled(false);
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    const QRect cell = w.grid->CellRect(2, 1);
    EXPECT_TRUE(hasPixel(img, cell, toQColor(clGrayText)));
    EXPECT_FALSE(hasPixel(img, cell, QColor(Qt::black)));
}

TEST(DBGridPaint, TitleBandsAreDrawnOverTheirCells)
{
    DBGridWindow w(3);
    w.grid->BeginLayout();
    w.grid->Columns()->clear();
    for (const char* f : {"Code", "Name"}) {
        TQxColumn* c = w.grid->Columns()->Add();
        c->SetFieldName(f);
        c->SetWidth(80);
        c->Title()->SetCaption(QStringLiteral("零件_") + f);
    }
    w.grid->EndLayout();
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    THeadTreeNode* band = w.grid->HeadTree()->Child;
    ASSERT_EQ(band->Text, QStringLiteral("零件"));
    // The black line under the band runs across both cells.
    const int lineY = w.grid->CellRect(1, 0).bottom() + 1 - band->Child->Height;
    const QRect under(w.grid->CellRect(1, 0).left() + 2, lineY, band->Width - 4, 1);
    EXPECT_EQ(countPixels(img, under, QColor(Qt::black)), under.width());
    // With receipt mode the line takes LineColor.
    w.grid->SetLineColor(clBlue);
    w.grid->SetOptions(w.grid->Options() | dgReceiptMode);
    w.grid->viewport()->repaint();
    EXPECT_EQ(countPixels(shot(w.grid), under, QColor(Qt::blue)), under.width());
}

// After scrolling right, the bands of the scrolled columns stay out of the frozen area: the
// frozen columns' titles and their bands look the same as before the scroll.
TEST(DBGridPaint, BandsOfScrolledColumnsStopAtTheFrozenAreasEdge)
{
    for (const int frozen : {1, 2}) {
        SCOPED_TRACE(frozen);
        DBGridWindow w(3);
        w.grid->BeginLayout();
        w.grid->Columns()->clear();
        const struct { const char* field; const char* caption; } columns[] = {
            {"Code", "甲_编号"}, {"Name", "乙_名称"}, {"Qty", "丙_数量"},
            {"Done", "丙_完成"}, {"Code", "丙_备用"}, {"Name", "丙_说明"}};
        for (const auto& c : columns) {
            TQxColumn* col = w.grid->Columns()->Add();
            col->SetFieldName(c.field);
            col->SetWidth(110);
            col->Title()->SetCaption(QString::fromUtf8(c.caption));
        }
        w.grid->EndLayout();
        w.grid->SetFrozenCols(frozen);
        QApplication::processEvents();
        ASSERT_EQ(w.grid->FixedCols(), 1 + frozen);

        const int titleBottom = w.grid->CellRect(1, 0).bottom();
        const int fixedRight = w.grid->CellRect(frozen, 0).right(); // the last frozen column
        const QRect frozenTitles(0, 0, fixedRight + 1, titleBottom + 1);
        w.grid->viewport()->repaint();
        const QImage before = shot(w.grid).copy(frozenTitles);

        // Scroll until the first column of band 丙 has left the view.
        const int firstScrolled = w.grid->LeftCol();
        QScrollBar* bar = w.grid->horizontalScrollBar();
        for (int i = 0; i < 3 && w.grid->LeftCol() < firstScrolled + 2; ++i)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        ASSERT_GE(w.grid->LeftCol(), firstScrolled + 2) << "the grid did not scroll";
        w.grid->viewport()->repaint();
        const QImage after = shot(w.grid);
        EXPECT_EQ(after.copy(frozenTitles), before);

        // The band goes on over the scrolled columns that are still shown: its line runs from
        // the frozen edge across the first of them.
        THeadTreeNode* leaf = w.grid->LeafOf(w.grid->Columns()->Items(w.grid->LeftCol() - 1));
        ASSERT_TRUE(leaf && leaf->Parent);
        ASSERT_EQ(leaf->Parent->Text, QStringLiteral("丙"));
        const QRect cell = w.grid->CellRect(w.grid->LeftCol(), 0);
        const int lineY = cell.bottom() + 1 - leaf->Height;
        const QRect under(cell.left(), lineY, cell.width(), 1);
        EXPECT_EQ(countPixels(after, under, QColor(Qt::black)), under.width());
    }
}

TEST(DBGridPaint, DrawDataCellFiresForDefaultColumnsOnlyDrawColumnCellAlways)
{
    DBGridWindow w(3);
    int dataCells = 0, columnCells = 0;
    w.grid->OnDrawDataCell = [&](QObject*, const QRect&, TField* f, TKyGridDrawState) {
        EXPECT_NE(f, nullptr);
        ++dataCells;
    };
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int, TQxColumn*, TKyGridDrawState) {
        ++columnCells;
    };
    w.grid->viewport()->repaint();
    EXPECT_EQ(dataCells, 3 * 4);
    EXPECT_EQ(columnCells, 3 * 4);
    dataCells = columnCells = 0;
    w.grid->Columns()->SetState(csCustomized);
    w.grid->viewport()->repaint();
    EXPECT_EQ(dataCells, 0);
    EXPECT_EQ(columnCells, 3 * 4);
    // Without default drawing the application draws alone: no text of ours in the cells.
    w.grid->SetDefaultDrawing(false);
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    const QRect cell = w.grid->CellRect(2, 2);
    EXPECT_FALSE(hasPixel(img, cell.adjusted(1, 1, -1, -1), QColor(Qt::black)));
}

TEST(DBGridPaint, SelectedRowKeepsItsHighlightAfterAnotherRowGoes)
{
    DBGridWindow w(10);
    w.grid->SetOptions(w.grid->Options() | dgMultiSelect);
    w.table->Locate("Code", "P04");
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    // Delete the first row: P04 moves up to the third data row and is never visited again.
    w.table->First();
    w.table->Delete();
    w.table->Last();
    w.table->First();
    w.grid->viewport()->repaint();
    const QImage img = shot(w.grid);
    EXPECT_EQ(pixelAt(img, w.grid->CellRect(2, 3).topLeft() + QPoint(1, 1)), toQColor(clHighlight));
    EXPECT_EQ(pixelAt(img, w.grid->CellRect(2, 4).topLeft() + QPoint(1, 1)), toQColor(clWindow));
}

// The data cells' texts are drawn from lines kept between paintings. Whatever changed since the
// lines were kept (nothing, a column's width or alignment, a value, the grid's font), the grid
// shows what a new grid in that state shows on its first painting.
TEST(DBGridPaint, KeptCellTextLinesShowWhatANewGridShows)
{
    struct Change
    {
        const char* name;
        std::function<void(DBGridWindow&)> apply;
    };
    const Change changes[] = {
        {"nothing", [](DBGridWindow&) {}},
        {"a narrower column", [](DBGridWindow& w) { w.grid->Columns()->Items(1)->SetWidth(30); }},
        {"right aligned", [](DBGridWindow& w) { w.grid->Columns()->Items(0)->SetAlignment(taRightJustify); }},
        {"centred", [](DBGridWindow& w) { w.grid->Columns()->Items(1)->SetAlignment(taCenter); }},
        {"a changed value",
         [](DBGridWindow& w) {
             w.table->Edit();
             w.table->FieldByName("Name")->SetAsString(QStringLiteral("配件 changed"));
             w.table->Post();
         }},
        {"a bigger font",
         [](DBGridWindow& w) {
             QFont f = w.grid->font();
             f.setPixelSize(17);
             w.grid->setFont(f);
         }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        QImage kept;
        {
            DBGridWindow w(12);
            w.grid->viewport()->repaint(); // lines kept
            const int reused = w.grid->TextLayouts().reused();
            const int laidOut = w.grid->TextLayouts().laidOut();
            c.apply(w);
            const bool fontChanged = std::string_view(c.name) == "a bigger font";
            if (fontChanged) { // the layouts went with the old font
                EXPECT_EQ(w.grid->TextLayouts().size(), 0);
            }
            QApplication::processEvents();
            w.grid->viewport()->repaint();
            kept = shot(w.grid);
            if (fontChanged) {
                EXPECT_GT(w.grid->TextLayouts().laidOut(), laidOut);
            } else {
                EXPECT_GT(w.grid->TextLayouts().reused(), reused);
            }
        }
        DBGridWindow fresh(12);
        c.apply(fresh);
        QApplication::processEvents();
        fresh.grid->viewport()->repaint();
        EXPECT_EQ(kept, shot(fresh.grid));
    }
}

TEST(DBGridPaint, CellTextThroughKeptLinesIsDrawnAsWithoutThem)
{
    // Texts wider than their cell, in every alignment and with a text offset into the cell
    // and out of it: the kept lines clip themselves, the plain path clips to the cell.
    const QString texts[] = {QStringLiteral("短"), QStringLiteral("一段比单元格宽得多的配件名称 and more")};
    const TAlignment alignments[] = {taLeftJustify, taRightJustify, taCenter};
    const int offsets[] = {2, 0, -4, 40};
    qx::CellTextLayouts layouts;
    for (const QString& text : texts)
        for (const TAlignment alignment : alignments)
            for (const int dx : offsets) {
                SCOPED_TRACE(text.toStdString() + " " + std::to_string(int(alignment)) + " " + std::to_string(dx));
                auto draw = [&](qx::CellTextLayouts* kept) {
                    QImage image(120, 30, QImage::Format_ARGB32_Premultiplied);
                    image.fill(Qt::white);
                    QPainter p(&image);
                    p.setPen(Qt::black);
                    for (int twice = 0; twice < 2; ++twice)
                        WriteCellText(p, QRect(20, 5, 60, 18), dx, false, alignment, text, 0, Qt::white, true, kept);
                    p.fillRect(QRect(100, 0, 20, 30), p.pen().color()); // the painter's state is as it was
                    return image;
                };
                EXPECT_EQ(draw(&layouts), draw(nullptr));
            }
}
