// The data link's field map, the dataset asking for a field's control, and the record
// selection kept as bookmarks.
#include <gtest/gtest.h>

#include "VGridTestSupport.h"

namespace {

QStringList selectedCodes(VGridWindow& w)
{
    QStringList out;
    const TBookmarkStr here = w.table->Bookmark();
    for (int i = 0; i < w.grid->SelectedRows()->Count(); ++i) {
        w.table->GotoBookmark(w.grid->SelectedRows()->Items(i));
        out << w.code();
    }
    w.table->GotoBookmark(here);
    return out;
}

void selectRecords(VGridWindow& w, std::initializer_list<int> recNos)
{
    for (int r : recNos) {
        w.table->SetRecNo(r);
        w.grid->SelectedRows()->SetCurrentRowSelected(true);
    }
}

} // namespace

TEST(VGridLink, TheFieldMapFollowsTheVisibleFieldsOrTheCustomizedRows)
{
    VGridWindow w(3);
    w.table->FieldByName("Qty")->SetVisible(false);
    QApplication::processEvents();
    V::TGridDataLink* link = w.grid->DataLink();
    EXPECT_FALSE(link->SparseMap());
    ASSERT_EQ(link->FieldCount(), 3);
    EXPECT_EQ(link->FieldMapEntry(0), 0);
    EXPECT_EQ(link->FieldMapEntry(1), 1);
    EXPECT_EQ(link->FieldMapEntry(2), 3);
    EXPECT_TRUE(link->DefaultFields());

    customize(w, {"Done", "Nothing", "Code"});
    EXPECT_TRUE(link->SparseMap());
    ASSERT_EQ(link->FieldCount(), 3);
    EXPECT_EQ(link->FieldMapEntry(0), 3);
    EXPECT_EQ(link->FieldMapEntry(1), -1);
    EXPECT_EQ(link->GetFields(1), nullptr);
    EXPECT_EQ(link->GetFields(2), w.table->FieldByName("Code"));
    // A name the dataset lacks makes the map no default one.
    EXPECT_FALSE(link->DefaultFields());
}

TEST(VGridLink, AFieldOnTwoRowsIsFocusedOnTheLaterOne)
{
    VGridWindow w(3);
    customize(w, {"Name", "Code", "Qty", "Name"});
    TField* name = w.table->FieldByName("Name");
    EXPECT_EQ(w.row(0)->Field(), name);
    EXPECT_EQ(w.row(3)->Field(), name);
    // The dataset asks for the field's control: the cell ends on the second row of it and
    // the editor opens there.
    name->FocusControl();
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
    EXPECT_EQ(w.grid->SelectedField(), name);
    EXPECT_TRUE(w.grid->EditorMode());

    w.grid->SetSelectedIndex(0);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    w.grid->SelectField(name);
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
}

TEST(VGridLink, AFieldChangePaintsTheRowsOfThatFieldAndRefreshesTheEditorText)
{
    VGridWindow w(3);
    w.grid->SetSelectedIndex(1); // Name
    w.grid->SetEditorMode(true);
    w.table->Edit();
    QApplication::processEvents();
    w.grid->painted.clear();
    w.table->FieldByName("Name")->SetAsString("changed");
    QApplication::processEvents();
    EXPECT_EQ(w.grid->EditText(), "changed");
    for (const auto& cell : w.grid->painted)
        EXPECT_EQ(cell.second, 2) << "only the Name row is repainted";
    w.table->Cancel();
}

TEST(VGridSelection, TheSelectionKeepsItsRecordsWhenOthersAreDeleted)
{
    VGridWindow w(6);
    w.grid->SetOptions(w.grid->Options() | V::dgMultiSelect);
    selectRecords(w, {2, 4, 5});
    EXPECT_EQ(selectedCodes(w), (QStringList{"P02", "P04", "P05"}));
    w.table->SetRecNo(3);
    w.table->Delete();
    w.table->SetRecNo(1);
    w.table->Delete();
    EXPECT_EQ(selectedCodes(w), (QStringList{"P02", "P04", "P05"}));
    // Selecting twice keeps one bookmark; deselecting an unselected record changes nothing.
    w.table->Locate("Code", "P04", {});
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 3);
    w.table->Locate("Code", "P06", {});
    w.grid->SelectedRows()->SetCurrentRowSelected(false);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 3);
}

TEST(VGridSelection, DeletingTheSelectionDeletesEverySelectedRecordLastFirst)
{
    VGridWindow w(6);
    w.grid->SetOptions(w.grid->Options() | V::dgMultiSelect);
    selectRecords(w, {5, 2, 4});
    QStringList order;
    w.table->BeforeDelete = [&](TDataSet* ds) { order << ds->FieldByName("Code")->AsString(); };
    w.grid->SelectedRows()->Delete();
    EXPECT_EQ(order, (QStringList{"P05", "P04", "P02"}));
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(w.table->RecordCount(), 3);
    EXPECT_FALSE(w.table->ControlsDisabled());
}

TEST(VGridSelection, AFailedDeleteKeepsTheEntriesStillToDo)
{
    VGridWindow w(6);
    w.grid->SetOptions(w.grid->Options() | V::dgMultiSelect);
    selectRecords(w, {1, 3, 5});
    w.table->BeforeDelete = [&](TDataSet* ds) {
        if (ds->FieldByName("Code")->AsString() == "P03")
            throw EDatabaseError("locked");
    };
    EXPECT_THROW(w.grid->SelectedRows()->Delete(), EDatabaseError);
    // P05 went; P03 failed and P01 was not reached: both stay selected.
    EXPECT_EQ(selectedCodes(w), (QStringList{"P01", "P03"}));
    EXPECT_EQ(w.table->RecordCount(), 5);
    EXPECT_FALSE(w.table->ControlsDisabled());
}

TEST(VGridSelection, AClosedDatasetHasNoCurrentRecordToSelect)
{
    VGridWindow w(3);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    w.table->Close();
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    try {
        (void)w.grid->SelectedRows()->CurrentRow();
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot perform this operation on a closed dataset");
    }
    // Reopened, the selection starts empty.
    w.table->Open();
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}
