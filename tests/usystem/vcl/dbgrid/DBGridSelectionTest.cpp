// The row selection: a sorted list of bookmarks that outlives deletes of other rows.
#include <gtest/gtest.h>

#include "DBGridTestSupport.h"

namespace {

void selectRecNo(DBGridWindow& w, int recNo)
{
    w.table->SetRecNo(recNo);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
}

QStringList selectedCodes(DBGridWindow& w)
{
    QStringList out;
    TBookmarkList* list = w.grid->SelectedRows();
    for (int i = 0; i < list->Count(); ++i) {
        EXPECT_TRUE(w.table->BookmarkValid(list->Items(i)));
        w.table->GotoBookmark(list->Items(i));
        out << w.table->FieldByName("Code")->AsString();
    }
    return out;
}

} // namespace

TEST(DBGridSelection, SelectionSurvivesDeletesOfOtherRows)
{
    DBGridWindow w(10);
    selectRecNo(w, 5);
    selectRecNo(w, 3);
    selectRecNo(w, 8);
    EXPECT_EQ(selectedCodes(w), (QStringList{"P03", "P05", "P08"}));
    w.table->SetRecNo(1);
    w.table->Delete();
    w.table->Locate("Code", "P04");
    w.table->Delete();
    EXPECT_EQ(w.table->RecordCount(), 8);
    EXPECT_EQ(selectedCodes(w), (QStringList{"P03", "P05", "P08"}));
}

TEST(DBGridSelection, SelectingTwiceKeepsOneAndDeselectingNothingChangesNothing)
{
    DBGridWindow w(5);
    TBookmarkList* list = w.grid->SelectedRows();
    selectRecNo(w, 2);
    selectRecNo(w, 2);
    EXPECT_EQ(list->Count(), 1);
    w.table->SetRecNo(4);
    EXPECT_FALSE(list->CurrentRowSelected());
    list->SetCurrentRowSelected(false);
    EXPECT_EQ(list->Count(), 1);
    w.table->SetRecNo(2);
    EXPECT_TRUE(list->CurrentRowSelected());
    list->SetCurrentRowSelected(false);
    EXPECT_EQ(list->Count(), 0);
}

TEST(DBGridSelection, ReopeningStartsEmptyAndAClosedDatasetRefuses)
{
    DBGridWindow w(5);
    selectRecNo(w, 2);
    w.table->Close();
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    try {
        w.grid->SelectedRows()->CurrentRow();
        FAIL();
    } catch (const EQxDBGridError& e) {
        EXPECT_EQ(e.Message(), "Cannot perform this operation on a closed dataset");
    }
    w.table->Open();
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}

TEST(DBGridSelection, ARecordWithoutBookmarkCannotBeSelected)
{
    DBGridWindow w(3);
    w.table->Append();
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    w.table->Cancel();
}

TEST(DBGridSelection, TwoSearchesForTheSameBookmarkCompareOnce)
{
    DBGridWindow w(10);
    for (int r : {2, 4, 6, 8})
        selectRecNo(w, r);
    w.table->SetRecNo(5);
    TBookmarkList* list = w.grid->SelectedRows();
    const TBookmarkStr bm = w.table->Bookmark();
    int index = 0;
    const int before = list->Comparisons();
    EXPECT_FALSE(list->Find(bm, index));
    const int first = list->Comparisons() - before;
    EXPECT_GT(first, 0);
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list->Find(bm, index));
    EXPECT_EQ(list->Comparisons() - before, first);
    EXPECT_EQ(index, 2);
}

TEST(DBGridSelection, ChangingTheDataSourceClearsTheSelection)
{
    DBGridWindow w(5);
    selectRecNo(w, 3);
    w.grid->SetDataSource(nullptr);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(w.grid->RowCount(), w.grid->TitleOffset() + 1);
}
