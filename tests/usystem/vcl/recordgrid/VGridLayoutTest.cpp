// Geometry of the titles column, the field rows and the record column; painting, which reads
// the current record only; and scrolling by one record or by a jump.
#include <gtest/gtest.h>

#include "VGridTestSupport.h"

#include <QFontMetrics>

namespace {

std::unique_ptr<TQxMemTable> wideTable(int fields, int rows)
{
    auto t = std::make_unique<TQxMemTable>();
    for (int i = 0; i < fields; ++i)
        t->FieldDefs()->Add(QStringLiteral("F%1").arg(i), ftString, 8);
    t->Open();
    for (int r = 0; r < rows; ++r) {
        t->Append();
        for (int i = 0; i < fields; ++i)
            t->Fields()->Fields(i)->SetAsString(QStringLiteral("r%1f%2").arg(r).arg(i));
        t->Post();
    }
    t->First();
    return t;
}

int expectedRowHeight(const QFont& font, const QFont& titleFont)
{
    const int plain = std::max(QFontMetrics(font).height() + 3 + 1, 20);
    return std::max(plain, QFontMetrics(titleFont).height() + 4);
}

} // namespace

TEST(VGridLayout, TwentyFieldsGiveTwentyRowsOneRecordColumnAndATitlesColumn)
{
    VGridWindow w(wideTable(20, 3), true, QSize(300, 700));
    EXPECT_EQ(w.grid->Columns()->Count(), 20);
    EXPECT_EQ(w.grid->RowCount(), 21);
    EXPECT_EQ(w.grid->ColCount(), 2);
    // The indicator row takes no room; the titles column is TitlesWidth wide, the record
    // column DefaultColWidth.
    EXPECT_EQ(w.grid->RowHeights(0), 0);
    EXPECT_EQ(w.grid->ColWidths(0), 100);
    EXPECT_EQ(w.grid->ColWidths(1), 120);
    EXPECT_EQ(w.grid->CellRect(0, 1).top(), w.grid->CellRect(1, 1).top());
    EXPECT_EQ(w.grid->CellRect(1, 1).left(), 100 + w.grid->GridLineWidth());
    EXPECT_EQ(w.grid->DataLink()->BufferCount(), 1);
}

TEST(VGridLayout, RowHeightsComeFromTheFontsAndAreAtLeastTwenty)
{
    VGridWindow w(2);
    const int h = expectedRowHeight(w.grid->font(), w.grid->TitleFont());
    EXPECT_EQ(w.grid->DefaultRowHeight(), h);
    EXPECT_GE(w.grid->DefaultRowHeight(), 20);
    for (int r = 1; r < w.grid->RowCount(); ++r)
        EXPECT_EQ(w.grid->RowHeights(r), h);

    // A larger title font raises every row, since each row holds its title cell.
    QFont big = w.grid->TitleFont();
    big.setPixelSize(30);
    w.grid->SetTitleFont(big);
    EXPECT_FALSE(w.grid->ParentFont());
    EXPECT_EQ(w.grid->DefaultRowHeight(), QFontMetrics(big).height() + 4);
    EXPECT_EQ(w.grid->RowHeights(0), 0);

    // A title font of one row does the same, and the height is measured anew on each pass.
    VGridWindow o(2);
    o.row(1)->Title()->SetFont(big);
    EXPECT_EQ(o.grid->DefaultRowHeight(), QFontMetrics(big).height() + 4);
    o.row(1)->Title()->RestoreDefaults();
    EXPECT_EQ(o.grid->DefaultRowHeight(), expectedRowHeight(o.grid->font(), o.grid->TitleFont()));
}

TEST(VGridLayout, TheTitlesColumnKeepsItsWidthAndGoesWithoutTitles)
{
    VGridWindow w(2, false);
    w.grid->SetTitlesWidth(60);
    EXPECT_EQ(w.grid->ColWidths(0), 60);
    w.grid->SetDataSource(w.source);
    EXPECT_EQ(w.grid->ColWidths(0), 60);
    // A titles column dragged wider comes back; a dragged record column keeps its width.
    w.grid->SetColWidths(0, 90);
    EXPECT_EQ(w.grid->ColWidths(0), 60);
    w.grid->SetColWidths(1, 150);
    EXPECT_EQ(w.grid->ColWidths(1), 150);

    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgTitles));
    EXPECT_EQ(w.grid->ColCount(), 1);
    w.grid->SetTitlesWidth(80);
    EXPECT_NE(w.grid->ColWidths(0), 80);
}

TEST(VGridLayout, ANarrowGridStillShowsOneRecord)
{
    VGridWindow w(5, true, QSize(150, 200));
    ASSERT_LT(w.grid->viewport()->width(), 100 + 120);
    EXPECT_EQ(w.grid->DataLink()->BufferCount(), 1);
    EXPECT_EQ(w.grid->DataLink()->RecordCount(), 1);
    EXPECT_EQ(w.grid->ColCount(), 2);
    w.table->Last();
    EXPECT_EQ(w.grid->Col(), 1);
    EXPECT_EQ(w.grid->DataLink()->ActiveRecord(), 0);
}

TEST(VGridPaint, PaintingReadsTheCurrentRecordOnlyWithoutMovingTheCursor)
{
    VGridWindow w(8);
    w.table->MoveBy(4);
    int scrolls = 0;
    w.table->AfterScroll = [&](TDataSet*) { ++scrolls; };
    QStringList seen;
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int DataCol, TVColumn* Column,
                                   TKyGridDrawState) {
        seen << QStringLiteral("%1=%2").arg(DataCol).arg(Column->Field()->DisplayText());
    };
    w.grid->viewport()->repaint();
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(w.table->RecNo(), 5);
    EXPECT_EQ(w.table->ReadRecord(), -1);
    EXPECT_TRUE(seen.contains("0=P05"));
    EXPECT_TRUE(seen.contains("1=part 5"));
    EXPECT_TRUE(seen.contains("2=50"));
    // A Boolean field shows its text in the cell; only the editor has a check box.
    EXPECT_TRUE(seen.contains(QStringLiteral("3=") + w.table->FieldByName("Done")->DisplayText()));
    EXPECT_FALSE(seen.contains("0=P04"));
}

TEST(VGridPaint, AFailingDrawEventStillRestoresTheActiveRecord)
{
    VGridWindow w(3);
    w.grid->OnDrawColumnCell = [](QObject*, const QRect&, int, TVColumn*, TKyGridDrawState) {
        throw Exception("boom");
    };
    w.grid->viewport()->repaint();
    EXPECT_EQ(w.grid->DataLink()->ActiveRecord(), 0);
    EXPECT_EQ(w.table->ReadRecord(), -1);
}

TEST(VGridPaint, TheCurrentFieldsCellIsHighlightedWhileTheGridHasTheFocus)
{
    VGridWindow w(3);
    w.grid->setFocus();
    w.grid->SetSelectedIndex(1);
    const QImage img = w.grid->viewport()->grab().toImage();
    // Corners the text does not reach.
    auto corner = [&img](const QRect& r) { return QColor(img.pixel(r.right() - 2, r.bottom() - 2)); };
    EXPECT_EQ(corner(w.grid->CellRect(1, 2)), toQColor(clHighlight));
    EXPECT_EQ(corner(w.grid->CellRect(1, 3)), toQColor(clWindow));
    EXPECT_EQ(corner(w.grid->CellRect(0, 2)), toQColor(clBtnFace));
}

TEST(VGridScroll, OneRecordOnRepaintsTheRecordColumnOnlyAndAJumpTheWholeGrid)
{
    VGridWindow w(10);
    flushPaint(w);
    w.table->Next();
    QApplication::processEvents();
    EXPECT_TRUE(w.grid->paintedCol(1));
    EXPECT_FALSE(w.grid->paintedCol(0)) << "the titles stay as they are";
    EXPECT_EQ(w.grid->Col(), 1);

    flushPaint(w);
    w.table->MoveBy(3);
    QApplication::processEvents();
    EXPECT_TRUE(w.grid->paintedCol(1));
    EXPECT_TRUE(w.grid->paintedCol(0)) << "a jump repaints everything";
    EXPECT_EQ(w.code(), "P05");
}

TEST(VGridScroll, TheGridShowsTheRecordTheDatasetMovesTo)
{
    VGridWindow w(10);
    QString shown;
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int DataCol, TVColumn* Column,
                                   TKyGridDrawState) {
        if (DataCol == 0)
            shown = Column->Field()->DisplayText();
    };
    for (int recNo : {2, 9, 1, 10}) {
        w.table->SetRecNo(recNo);
        w.grid->viewport()->repaint();
        EXPECT_EQ(shown, QStringLiteral("P%1").arg(recNo, 2, 10, QLatin1Char('0')));
    }
}
