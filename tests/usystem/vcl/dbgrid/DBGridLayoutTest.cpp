// Titles of several levels built from captions split at '_', the title row's height, frozen
// columns with hidden columns in front, and the row window that follows the dataset.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QScrollBar>

#include "DBGridTestSupport.h"

namespace {

// Stored columns over Code, Name, Qty, Done with the given captions.
void setCaptions(TQxDBGrid* grid, const QStringList& captions)
{
    const QStringList fields{"Code", "Name", "Qty", "Done"};
    grid->BeginLayout();
    grid->Columns()->clear();
    for (int i = 0; i < captions.size(); ++i) {
        TQxColumn* c = grid->Columns()->Add();
        c->SetFieldName(fields[i]);
        c->SetWidth(60 + 10 * i);
        c->Title()->SetCaption(captions[i]);
    }
    grid->EndLayout();
}

QStringList texts(const std::vector<THeadTreeNode*>& nodes)
{
    QStringList out;
    for (THeadTreeNode* n : nodes)
        out << n->Text;
    return out;
}

} // namespace

TEST(DBGridTitles, CaptionsSplitAtUnderscoreMakeBands)
{
    DBGridWindow w;
    setCaptions(w.grid, {"A_X", "A_Y", "B"});
    THeadTreeNode* root = w.grid->HeadTree();
    const auto top = root->Children();
    ASSERT_EQ(texts(top), (QStringList{"A", "B"}));
    EXPECT_EQ(texts(top[0]->Children()), (QStringList{"X", "Y"}));
    // The band spans its two cells and the line between them.
    EXPECT_EQ(top[0]->Width, 60 + 70 + 1);
    // B fills the whole title height; X sits under the band.
    EXPECT_EQ(top[1]->Height, root->Height);
    EXPECT_EQ(top[0]->Height + top[0]->Child->Height, root->Height);
    EXPECT_EQ(w.grid->RowHeights(0), root->Height - 1);
}

TEST(DBGridTitles, RunsOfGroupedCaptions)
{
    struct Case
    {
        QStringList captions;
        QStringList top;
        QStringList firstChildren;
    };
    const Case cases[] = {
        // The right neighbour starts with another word: a band over the single cell.
        {{"A_X", "C_Y"}, {"A", "C"}, {"X"}},
        // Only the first word is compared: "A" joins the group with an empty cell text.
        {{"A_X", "A"}, {"A"}, {"X", ""}},
        // Leading and repeated separators are skipped; every cell of the run is cut where the
        // first caption's second word begins.
        {{"__A__X", "A_Y"}, {"A"}, {"X", ""}},
        {{"A_X", "A_Y"}, {"A"}, {"X", "Y"}},
        // No '_': every caption is a cell of its own.
        {{"编号", "名称"}, {"编号", "名称"}, {}},
    };
    for (const Case& c : cases) {
        DBGridWindow w(3);
        setCaptions(w.grid, c.captions);
        const auto top = w.grid->HeadTree()->Children();
        EXPECT_EQ(texts(top), c.top) << c.captions.join(',').toStdString();
        EXPECT_EQ(texts(top[0]->Children()), c.firstChildren) << c.captions.join(',').toStdString();
    }
}

TEST(DBGridTitles, ThreeWordsGiveThreeLevels)
{
    DBGridWindow w;
    setCaptions(w.grid, {"A_B_C", "A_B_D", "A_E"});
    const auto top = w.grid->HeadTree()->Children();
    ASSERT_EQ(texts(top), (QStringList{"A"}));
    const auto second = top[0]->Children();
    ASSERT_EQ(texts(second), (QStringList{"B", "E"}));
    EXPECT_EQ(texts(second[0]->Children()), (QStringList{"C", "D"}));
    EXPECT_EQ(w.grid->LeafOf(w.grid->Columns()->Items(0))->Parent->Parent, top[0]);
}

TEST(DBGridTitles, TitleRowIsTheTextHeightPlusFourWithoutGroups)
{
    DBGridWindow w;
    setCaptions(w.grid, {"Code", "Name"});
    const QFontMetrics fm(w.grid->TitleFont());
    const int text = fm.boundingRect(QRect(0, 0, 56, 100000), Qt::TextWordWrap, "Code").height();
    EXPECT_EQ(w.grid->RowHeights(0), text + 4);
    // A caption wider than its column takes more lines.
    setCaptions(w.grid, {"Code", "a very long caption of many words"});
    EXPECT_GT(w.grid->RowHeights(0), text + 4);
}

TEST(DBGridTitles, TreeOperationsRefuseNodesOutsideTheTree)
{
    THeadTreeNode root(QStringLiteral("根接点"), 10, 0);
    THeadTreeNode* a = root.AddChild("a", 10, 5);
    THeadTreeNode* b = root.AddChild("b", 10, 5);
    THeadTreeNode stranger(QStringLiteral("x"), 1, 1);
    try {
        root.InsertParent(&stranger, b, 3, "g");
        FAIL();
    } catch (const ETitleTreeError& e) {
        EXPECT_EQ(e.Message(), "Node not in Tree");
    }
    try {
        root.InsertParent(b, a, 3, "g");
        FAIL();
    } catch (const ETitleTreeError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("a结点没找到"));
    }
    try {
        root.Add(&stranger, "n", 1, 1);
        FAIL();
    } catch (const ETitleTreeError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("x结点不存在"));
    }
    root.InsertParent(a, b, 3, "g");
    ASSERT_EQ(root.Children().size(), 1u);
    EXPECT_EQ(root.Child->Width, 11);
    EXPECT_EQ(a->Height, 7);
    EXPECT_TRUE(root.Find(b));
}

TEST(DBGridLayout, FrozenColumnsCountVisibleColumnsPastAHiddenFirstOne)
{
    DBGridWindow w(20, true, QSize(200, 200));
    w.grid->Columns()->SetState(csCustomized);
    w.grid->Columns()->Items(0)->SetVisible(false);
    w.grid->SetFrozenCols(2);
    // Indicator + the hidden first column + two frozen visible columns.
    EXPECT_EQ(w.grid->FixedCols(), 4);
    EXPECT_FALSE(w.grid->IsFrozenColumn(0));
    EXPECT_TRUE(w.grid->IsFrozenColumn(1));
    EXPECT_TRUE(w.grid->IsFrozenColumn(2));
    EXPECT_FALSE(w.grid->IsFrozenColumn(3));

    // The third column (Qty) is painted like a frozen one: the grid's colour, never highlighted,
    // even on a selected row of a multi-select grid.
    w.grid->SetOptions(w.grid->Options() | dgMultiSelect);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    QApplication::processEvents();
    const QImage img = shot(w.grid);
    const QRect qty = w.grid->CellRect(3, 1);
    const QRect done = w.grid->CellRect(4, 1);
    ASSERT_FALSE(qty.isEmpty());
    EXPECT_EQ(pixelAt(img, qty.topLeft() + QPoint(qty.width() - 3, 2)), toQColor(clWindow));
    if (!done.isEmpty()) {
        EXPECT_EQ(pixelAt(img, QPoint(done.left() + 1, done.top() + 2)), toQColor(clHighlight));
    }
}

TEST(DBGridLayout, RowWindowHoldsTheVisibleRecordsOnly)
{
    DBGridWindow w(200);
    const int rows = w.grid->RowCount() - w.grid->TitleOffset();
    EXPECT_GT(rows, 3);
    EXPECT_LT(rows, 30);
    EXPECT_EQ(w.grid->DataLink()->BufferCount(), rows);
    EXPECT_EQ(w.grid->Row(), 1);
    w.table->MoveBy(5);
    EXPECT_EQ(w.grid->Row(), 6);
    w.table->Last();
    EXPECT_EQ(w.grid->Row(), w.grid->RowCount() - 1);
    EXPECT_EQ(w.grid->DataLink()->FirstRecord(), 200 - rows);
    // Keys move the dataset, the grid follows.
    w.table->First();
    QTest::keyClick(w.grid, Qt::Key_PageDown);
    EXPECT_EQ(w.table->RecNo(), 1 + rows);
    QTest::keyClick(w.grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecNo(), 200);
    QTest::keyClick(w.grid, Qt::Key_Up);
    EXPECT_EQ(w.table->RecNo(), 199);
    // A click on another row moves the dataset there.
    const QRect cell = w.grid->CellRect(2, 2);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(w.table->RecNo(), w.grid->DataLink()->FirstRecord() + 2);
}

TEST(DBGridLayout, DefaultRowHeightRule)
{
    DBGridWindow w;
    EXPECT_EQ(w.grid->DefaultRowHeight(), 30);
    w.grid->SetDefaultRowHeight(18);
    const QFontMetrics fm(w.grid->font());
    EXPECT_EQ(w.grid->DefaultRowHeight(), std::max(20, fm.height() + 3 + 1));
}

TEST(DBGridLayout, ClosingTheDatasetLeavesOneEmptyRow)
{
    DBGridWindow w;
    w.table->Close();
    EXPECT_EQ(w.grid->RowCount(), w.grid->TitleOffset() + 1);
    w.table->Open();
    EXPECT_EQ(w.grid->Columns()->Count(), 4);
    w.table->Append();
    w.table->FieldByName("Code")->SetAsString("N1");
    w.table->Post();
    EXPECT_EQ(w.grid->RowCount(), w.grid->TitleOffset() + 1);
    EXPECT_EQ(w.grid->Row(), 1);
}

TEST(DBGridLayout, AUserWidthOnADefaultColumnGoesToTheFieldToo)
{
    DBGridWindow w;
    TField* name = w.table->FieldByName("Name");
    const int chars = name->DisplayWidth();
    w.grid->SetColWidths(2, w.grid->ColWidths(2) + 80);
    EXPECT_GT(name->DisplayWidth(), chars);
    TQxColumn* c = w.grid->Columns()->Items(1);
    EXPECT_FALSE(c->IsStored());
    EXPECT_EQ(w.grid->ColWidths(2), c->Width());
    EXPECT_EQ(w.grid->Columns()->State(), csDefault);
}

TEST(DBGridLayout, TheVerticalBarFollowsTheDataset)
{
    DBGridWindow w(300);
    w.grid->SetScrollBars(TQxCustomGrid::ssBoth);
    QApplication::processEvents();
    QScrollBar* bar = w.grid->verticalScrollBar();
    w.table->SetRecNo(50);
    EXPECT_EQ(bar->value(), 50);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w.table->RecNo(), 51);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(w.table->RecNo(), 300);
    EXPECT_EQ(bar->value(), 300);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(w.table->RecNo(), 1);
}

// The vertical bar follows the record number whatever ScrollBars holds: a grid made in code
// (ScrollBars ssHorizontal) has one as well. It shows while the record count goes past one,
// as a bar whose range is longer than its page does.
TEST(DBGridLayout, TheVerticalBarIsThereWhateverScrollBarsHolds)
{
    using S = TQxCustomGrid::TScrollStyle;
    for (const S style : {S::ssHorizontal, S::ssNone, S::ssVertical, S::ssBoth}) {
        SCOPED_TRACE(int(style));
        DBGridWindow w(300);
        if (style != S::ssHorizontal)
            w.grid->SetScrollBars(style);
        QApplication::processEvents();
        QScrollBar* bar = w.grid->verticalScrollBar();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), 300);
        EXPECT_EQ(bar->pageStep(), w.grid->RowCount() - w.grid->TitleOffset());
        w.table->SetRecNo(120);
        EXPECT_EQ(bar->value(), 120);
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(w.table->RecNo(), 1);
    }
}

TEST(DBGridLayout, TheVerticalBarShowsFromTwoRecordsOn)
{
    const struct { int rows; bool shown; } cases[] = {{0, false}, {1, false}, {2, true}, {5, true}};
    for (const auto& c : cases) {
        DBGridWindow w(c.rows);
        QApplication::processEvents();
        EXPECT_EQ(w.grid->verticalScrollBar()->isVisible(), c.shown) << c.rows;
    }
    // A closed dataset leaves the bar to ScrollBars: a grid made in code shows none.
    DBGridWindow w(5);
    w.table->Close();
    QApplication::processEvents();
    EXPECT_FALSE(w.grid->verticalScrollBar()->isVisible());
    w.table->Open();
    QApplication::processEvents();
    EXPECT_EQ(w.grid->verticalScrollBar()->isVisible(), w.table->RecordCount() >= 2);
}

TEST(DBGridLayout, ScrollingByAFewRowsKeepsEveryRowRight)
{
    DBGridWindow w(100);
    w.table->Last();
    w.table->First();
    w.grid->viewport()->repaint();
    QStringList seen;
    w.grid->OnDrawColumnCell = [&](QObject*, const QRect&, int DataCol, TQxColumn* Column,
                                   TKyGridDrawState) {
        if (DataCol == 0)
            seen << Column->Field()->AsString();
    };
    const int rows = w.grid->RowCount() - w.grid->TitleOffset();
    w.table->SetRecNo(rows);  // the last visible row: no scroll
    w.table->MoveBy(2);       // two rows down: the window scrolls by two
    EXPECT_EQ(w.grid->DataLink()->FirstRecord(), 2);
    seen.clear();
    w.grid->viewport()->repaint();
    (void)shot(w.grid);
    for (int i = 0; i < rows; ++i)
        EXPECT_TRUE(seen.contains(QStringLiteral("P%1").arg(i + 3, 2, 10, QLatin1Char('0'))));
    EXPECT_EQ(w.grid->Row(), rows);
}
