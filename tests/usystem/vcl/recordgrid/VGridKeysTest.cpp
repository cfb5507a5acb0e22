// The record grid's keys under each record mode, tab stops, deleting, leaving the grid, and
// the mouse and the horizontal scroll bar.
#include <gtest/gtest.h>

#include "VGridInputSupport.h"

#include <QAbstractSlider>
#include <QMenu>

namespace {

struct KeyCase
{
    const char* name;
    TDBGridMode mode;
    bool editor;             // the cell editor is shown before the key
    int startRecNo;
    int field;               // the field row the cell starts on
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* code;        // the record shown afterwards ("" for a new one)
    TDataSetState state;
};

const TDBGridMode kDefault(dmDelete | dmAppend | dmInsert);
const TDBGridMode kNone;

std::ostream& operator<<(std::ostream& os, const KeyCase& c)
{
    return os << c.name;
}

class VGridKeyTable : public ::testing::TestWithParam<KeyCase>
{};

} // namespace

TEST_P(VGridKeyTable, RecordMovesFollowTheMode)
{
    const KeyCase& c = GetParam();
    VGridWindow w(5);
    w.grid->SetDBGridMode(c.mode);
    w.table->SetRecNo(c.startRecNo);
    w.grid->SetSelectedIndex(c.field);
    if (c.editor) {
        press(Qt::Key_F2);
        ASSERT_TRUE(editorShowing(w));
    }
    press(c.key, c.mods);
    EXPECT_EQ(w.code(), QString::fromLatin1(c.code));
    EXPECT_EQ(w.table->State(), c.state);
    EXPECT_EQ(w.grid->DataLink()->ActiveRecord(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VGridKeyTable,
    ::testing::Values(
        KeyCase{"RightShowsTheNextRecord", kDefault, false, 2, 1, Qt::Key_Right, Qt::NoModifier, "P03", dsBrowse},
        KeyCase{"LeftShowsThePriorRecord", kDefault, false, 2, 1, Qt::Key_Left, Qt::NoModifier, "P01", dsBrowse},
        KeyCase{"TabFromTheEditorOnTheLastFieldNeedsDmNext", kDefault, true, 2, 3, Qt::Key_Tab, Qt::NoModifier, "P02", dsBrowse},
        KeyCase{"TabFromTheEditorOnTheLastFieldWithDmNext", TDBGridMode(dmNext), true, 2, 3, Qt::Key_Tab, Qt::NoModifier, "P03", dsBrowse},
        KeyCase{"TabWithoutTheEditorOnTheLastFieldWithDmAppend", TDBGridMode(dmAppend), false, 2, 3, Qt::Key_Tab, Qt::NoModifier, "P03", dsBrowse},
        KeyCase{"RightWithoutAModeStays", kNone, false, 2, 1, Qt::Key_Right, Qt::NoModifier, "P02", dsBrowse},
        KeyCase{"LeftWithoutAModeStays", kNone, false, 2, 1, Qt::Key_Left, Qt::NoModifier, "P02", dsBrowse},
        KeyCase{"PgDnWithoutAModeMovesOn", kNone, false, 2, 1, Qt::Key_PageDown, Qt::NoModifier, "P03", dsBrowse},
        KeyCase{"PgUpWithoutAModeMovesBack", kNone, false, 2, 1, Qt::Key_PageUp, Qt::NoModifier, "P01", dsBrowse},
        KeyCase{"CtrlEndWithoutAMode", kNone, false, 2, 1, Qt::Key_End, Qt::ControlModifier, "P05", dsBrowse},
        KeyCase{"CtrlHomeWithoutAMode", kNone, false, 4, 1, Qt::Key_Home, Qt::ControlModifier, "P01", dsBrowse},
        KeyCase{"CtrlRightKeepsTheBufferedRecord", kDefault, false, 3, 1, Qt::Key_Right, Qt::ControlModifier, "P03", dsBrowse},
        KeyCase{"InsInserts", kDefault, false, 3, 1, Qt::Key_Insert, Qt::NoModifier, "", dsInsert},
        KeyCase{"InsWithoutDmInsertDoesNothing", TDBGridMode(dmAppend), false, 3, 1, Qt::Key_Insert, Qt::NoModifier, "P03", dsBrowse},
        KeyCase{"RightOnTheLastRecordAppends", kDefault, false, 5, 1, Qt::Key_Right, Qt::NoModifier, "", dsInsert},
        KeyCase{"RightOnTheLastRecordWithoutAppendStays", TDBGridMode(dmDelete), false, 5, 1, Qt::Key_Right, Qt::NoModifier, "P05", dsBrowse}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(VGridKeys, UpAndDownMoveBetweenFieldRowsAndCtrlToTheEnds)
{
    VGridWindow w(3);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(w.grid->SelectedIndex(), 2);
    press(Qt::Key_Up);
    EXPECT_EQ(w.grid->SelectedIndex(), 1);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    press(Qt::Key_End);
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
    press(Qt::Key_Home);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    EXPECT_EQ(w.code(), "P01");
}

TEST(VGridKeys, HomeAndEndMoveRecordsWhenThereIsOneFieldRow)
{
    VGridWindow w(4);
    customize(w, {"Name"});
    w.table->SetRecNo(2);
    press(Qt::Key_End);
    EXPECT_EQ(w.code(), "P04");
    press(Qt::Key_Home);
    EXPECT_EQ(w.code(), "P01");
}

TEST(VGridKeys, TabOnTheLastFieldGoesToTheNextRecordsFirstFieldAndBack)
{
    VGridWindow w(3);
    w.grid->SetSelectedIndex(3);
    press(Qt::Key_Tab);
    EXPECT_EQ(w.code(), "P02");
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(w.code(), "P01");
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
    // Enter acts as Tab, Shift+Enter as Shift+Tab.
    press(Qt::Key_Return);
    EXPECT_EQ(w.code(), "P02");
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(w.code(), "P01");
    EXPECT_EQ(w.grid->SelectedIndex(), 3);

    // Without a mode Tab on the last field comes round to the first field of the same record.
    w.grid->SetDBGridMode(TDBGridMode());
    press(Qt::Key_Tab);
    EXPECT_EQ(w.code(), "P01");
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    EXPECT_EQ(w.table->State(), dsBrowse);
}

TEST(VGridKeys, TabSkipsRowsThatCannotBeEdited)
{
    auto kinds = std::make_unique<TQxMemTable>();
    kinds->FieldDefs()->Add("KindID", ftInteger, 0);
    kinds->FieldDefs()->Add("KindName", ftString, 10);
    kinds->Open();
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Name", ftString, 10);
    t->FieldDefs()->Add("Locked", ftString, 10);
    t->FieldDefs()->Add("Fixed", ftString, 10);
    t->FieldDefs()->Add("Qty", ftInteger, 0);
    auto* calc = new TIntegerField(t.get());
    calc->SetFieldName("Twice");
    calc->SetFieldKind(fkCalculated);
    calc->SetDataSet(t.get());
    auto* kind = new TStringField(t.get());
    kind->SetFieldName("Kind");
    kind->SetFieldKind(fkLookup);
    kind->SetKeyFields("NoSuchKey");
    kind->SetLookupDataSet(kinds.get());
    kind->SetLookupKeyFields("KindID");
    kind->SetLookupResultField("KindName");
    kind->SetSize(10);
    kind->SetDataSet(t.get());
    t->Open();
    t->Append();
    t->FieldByName("Code")->SetAsString("A");
    t->Post();
    t->FieldByName("Fixed")->SetReadOnly(true);
    VGridWindow w(std::move(t), true);
    customize(w, {"Code", "Twice", "Locked", "Missing", "Kind", "Fixed", "Name", "Qty"});
    w.row(2)->SetReadOnly(true);
    struct Stop { int row; bool stop; };
    for (const Stop s : {Stop{0, true}, Stop{1, false}, Stop{2, false}, Stop{3, false},
                         Stop{4, false}, Stop{5, false}, Stop{6, true}, Stop{7, true}})
        EXPECT_EQ(w.grid->FieldTabStop(s.row + 1), s.stop) << s.row;
    w.grid->SetDBGridMode(TDBGridMode());
    press(Qt::Key_Tab);
    EXPECT_EQ(w.grid->SelectedIndex(), 6);
    press(Qt::Key_Tab);
    EXPECT_EQ(w.grid->SelectedIndex(), 7);
    press(Qt::Key_Tab);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
}

TEST(VGridKeys, ARefusedRowExitKeepsTheCellAndTheRecord)
{
    VGridWindow w(3);
    bool allow = false;
    int asked = 0;
    w.grid->OnColExit = [&](QObject*, bool& CanExit) {
        ++asked;
        CanExit = allow;
    };
    press(Qt::Key_Down);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    EXPECT_EQ(asked, 1);
    // In a record move with the editor shown the refusal keeps the record.
    w.grid->SetDBGridMode(TDBGridMode(dmNext));
    press(Qt::Key_F2);
    press(Qt::Key_Right);
    EXPECT_EQ(w.code(), "P01");
    allow = true;
    press(Qt::Key_Down);
    EXPECT_EQ(w.grid->SelectedIndex(), 1);
}

// ---- deleting ----------------------------------------------------------------------------------

TEST(VGridDelete, CtrlDelAsksAndDeletesTheCurrentRecord)
{
    VGridWindow w(4);
    auto& d = dialogs();
    w.table->SetRecNo(2);
    d.answerMessage(qx::mrCancel);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 4);
    ASSERT_EQ(d.shown().size(), 1);
    EXPECT_EQ(d.shown()[0].text, "Delete record?");
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 3);
    EXPECT_EQ(d.unexpected(), 0);
    EXPECT_TRUE(w.table->Locate("Code", "P02", {}) == false);
}

TEST(VGridDelete, CtrlDelWithSelectedRecordsDeletesThemAll)
{
    VGridWindow w(5);
    auto& d = dialogs();
    w.grid->SetOptions(w.grid->Options() | V::dgMultiSelect);
    for (int r : {2, 4}) {
        w.table->SetRecNo(r);
        w.grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    d.answerMessage(qx::mrCancel);
    press(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(d.shown().size(), 1);
    EXPECT_EQ(d.shown()[0].text, "Delete all selected records?");
    EXPECT_EQ(w.table->RecordCount(), 5);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 2);
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 3);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    EXPECT_FALSE(w.table->Locate("Code", "P04", {}));
    EXPECT_TRUE(w.table->Locate("Code", "P03", {}));
}

TEST(VGridDelete, WithoutConfirmationOrWithoutDmDelete)
{
    VGridWindow w(4);
    auto& d = dialogs();
    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgConfirmDelete));
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 3);
    w.grid->SetDBGridMode(TDBGridMode(dmAppend | dmInsert));
    w.grid->SetOptions(w.grid->Options() | V::dgConfirmDelete);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 3);
    EXPECT_TRUE(d.shown().isEmpty());
    // A read-only grid deletes nothing either.
    w.grid->SetDBGridMode(TDBGridMode(dmDelete));
    w.grid->SetReadOnly(true);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 3);
    EXPECT_TRUE(d.shown().isEmpty());
}

// ---- leaving the grid --------------------------------------------------------------------------

TEST(VGridExit, LeavingGivesUpAnUntouchedNewRecord)
{
    VGridWindow w(3);
    press(Qt::Key_Insert);
    ASSERT_EQ(w.table->State(), dsInsert);
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_EQ(w.table->RecordCount(), 3);
}

TEST(VGridExit, LeavingWritesTheCellAndKeepsTheFocusWhenThatFails)
{
    VGridWindow w(3);
    auto& d = dialogs();
    bool refuse = true;
    w.table->FieldByName("Name")->OnValidate = [&](TField*) {
        if (refuse)
            throw EDatabaseError(QStringLiteral("名称不对"));
    };
    w.grid->SetSelectedIndex(1);
    typeText("x");
    ASSERT_TRUE(editorShowing(w));
    d.answerMessage(qx::mrOk);
    w.other->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(d.shown().size(), 1);
    EXPECT_TRUE(d.shown()[0].text.contains(QStringLiteral("名称不对")));
    EXPECT_TRUE(w.grid->IsActiveControl());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");

    refuse = false;
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "x");
    EXPECT_EQ(d.unexpected(), 0);
}

// ---- mouse and scroll bar ----------------------------------------------------------------------

TEST(VGridMouse, ATitleClickKeepsTheCellAndFiresTheEvent)
{
    VGridWindow w(3);
    QStringList clicked;
    w.grid->OnTitleClick = [&](TVColumn* c) { clicked << c->FieldName(); };
    w.grid->OnCellClick = [&](TVColumn* c) { clicked << QStringLiteral("cell ") + c->FieldName(); };
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, titleCell(w, 2));
    EXPECT_EQ(clicked, QStringList{"Qty"});
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    // Without column resizing the title click moves the cell to that field too.
    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgColumnResize));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, titleCell(w, 2));
    EXPECT_EQ(w.grid->SelectedIndex(), 2);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, recordCell(w, 1));
    EXPECT_EQ(w.grid->SelectedIndex(), 1);
    EXPECT_EQ(clicked.last(), "cell Name");
}

TEST(VGridMouse, ASecondClickOnTheCurrentCellOpensTheEditor)
{
    VGridWindow w(3);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, recordCell(w, 1));
    EXPECT_FALSE(editorShowing(w));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, recordCell(w, 1));
    EXPECT_TRUE(editorShowing(w));
    EXPECT_EQ(editorOf(w)->Text(), "part 1");
}

TEST(VGridMouse, ARightReleaseShowsTheRowsMenuOnly)
{
    VGridWindow w(3);
    QMenu menu;
    menu.addAction(QStringLiteral("复制"));
    w.row(1)->SetPopupMenu(&menu);
    QTest::mouseClick(w.grid->viewport(), Qt::RightButton, Qt::NoModifier, recordCell(w, 2));
    EXPECT_FALSE(menu.isVisible());
    QTest::mouseClick(w.grid->viewport(), Qt::RightButton, Qt::NoModifier, titleCell(w, 1));
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST(VGridScrollBar, TheHorizontalBarMovesBetweenRecords)
{
    VGridWindow w(6);
    struct Step { int action; int pos; bool released; const char* code; };
    const Step steps[] = {
        {QAbstractSlider::SliderSingleStepAdd, 0, false, "P02"},
        {QAbstractSlider::SliderPageStepAdd, 0, false, "P03"},
        {QAbstractSlider::SliderToMaximum, 0, false, "P06"},
        {QAbstractSlider::SliderSingleStepSub, 0, false, "P05"},
        {QAbstractSlider::SliderPageStepSub, 0, false, "P04"},
        {QAbstractSlider::SliderToMinimum, 0, false, "P01"},
        {QAbstractSlider::SliderMove, 4, true, "P04"},
        {QAbstractSlider::SliderMove, 1, true, "P01"},
        {QAbstractSlider::SliderMove, 99, true, "P06"},
    };
    for (const Step& s : steps) {
        w.grid->ScrollBarAction(Qt::Horizontal, s.action, s.pos, s.released);
        EXPECT_EQ(w.code(), QString::fromLatin1(s.code)) << s.action << " " << s.pos;
    }
    // Whatever the mode: an empty one does not stop the bar.
    w.grid->SetDBGridMode(TDBGridMode());
    w.grid->ScrollBarAction(Qt::Horizontal, QAbstractSlider::SliderSingleStepSub, 0, false);
    EXPECT_EQ(w.code(), "P05");
}
