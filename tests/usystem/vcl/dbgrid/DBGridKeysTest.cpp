// The data grid's keys: moves between cells and records, appending and inserting under the
// options, the row selection by key and mouse, deleting after the question, and the check that
// lets the application keep the cursor in a cell.
#include <gtest/gtest.h>
#include <QInputMethodEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QMenu>
#include <QScrollBar>

#include "DBGridInputSupport.h"
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"

namespace {

struct Key
{
    Qt::Key key;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
};

struct KeyCase
{
    const char* name;
    TQxDBGridOptions options;
    int startRecNo;
    int startColumn; // data column index
    std::vector<Key> keys;
    int recNo;       // after the keys (the record under the cursor)
    int column;
    TDataSetState state;
    int records;     // posted records
    int selected;    // rows in the selection
};

// Failures name the case, not its bytes.
void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

const TQxDBGridOptions Plain = TQxCustomDBGrid::DefaultDBOptions;
const TQxDBGridOptions Adding = Plain | dgAllowAdd;
const TQxDBGridOptions Multi = Plain | dgMultiSelect;

class DBGridKeyTable : public ::testing::TestWithParam<KeyCase>
{};

TEST_P(DBGridKeyTable, KeysMoveTheCursorAndChangeRows)
{
    const KeyCase& c = GetParam();
    DBGridWindow w(8);
    w.grid->SetOptions(c.options);
    w.table->SetRecNo(c.startRecNo);
    w.grid->SetSelectedIndex(c.startColumn);
    w.grid->setFocus();
    for (const Key& k : c.keys)
        press(k.key, k.mods);
    EXPECT_EQ(w.table->State(), c.state);
    if (c.state == dsBrowse) {
        EXPECT_EQ(w.table->RecNo(), c.recNo);
    }
    EXPECT_EQ(w.grid->SelectedIndex(), c.column);
    EXPECT_EQ(w.table->RecordCount(), c.records);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), c.selected);
    if (w.table->State() != dsBrowse)
        w.table->Cancel();
}

const KeyCase keyCases[] = {
    {"DownMovesToTheNextRecord", Plain, 1, 0, {{Qt::Key_Down}}, 2, 0, dsBrowse, 8, 0},
    {"UpOnTheFirstRecordStays", Plain, 1, 1, {{Qt::Key_Up}}, 1, 1, dsBrowse, 8, 0},
    {"RightAndLeftMoveBetweenColumns", Plain, 3, 0,
     {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Left}}, 3, 1, dsBrowse, 8, 0},
    {"EndAndHomeGoToTheLastAndFirstColumn", Plain, 3, 1, {{Qt::Key_End}}, 3, 3, dsBrowse, 8, 0},
    {"HomeGoesToTheFirstColumn", Plain, 3, 2, {{Qt::Key_Home}}, 3, 0, dsBrowse, 8, 0},
    {"CtrlEndGoesToTheLastRecord", Plain, 2, 1, {{Qt::Key_End, Qt::ControlModifier}}, 8, 1,
     dsBrowse, 8, 0},
    {"CtrlHomeGoesToTheFirstRecord", Plain, 6, 1, {{Qt::Key_Home, Qt::ControlModifier}}, 1, 1,
     dsBrowse, 8, 0},
    {"CtrlRightAndCtrlLeftGoToTheOuterColumns", Plain, 2, 1,
     {{Qt::Key_Right, Qt::ControlModifier}}, 2, 3, dsBrowse, 8, 0},
    {"CtrlLeftGoesToTheFirstColumn", Plain, 2, 3, {{Qt::Key_Left, Qt::ControlModifier}}, 2, 0,
     dsBrowse, 8, 0},
    {"TabGoesToTheNextColumn", Plain, 2, 1, {{Qt::Key_Tab}}, 2, 2, dsBrowse, 8, 0},
    {"TabPastTheLastColumnGoesToTheNextRecord", Plain, 2, 3, {{Qt::Key_Tab}}, 3, 0, dsBrowse, 8,
     0},
    {"ShiftTabBeforeTheFirstColumnGoesBackARecord", Plain, 2, 0, {{Qt::Key_Backtab}}, 1, 3,
     dsBrowse, 8, 0},
    {"EnterMovesLikeTab", Plain, 2, 1, {{Qt::Key_Return}, {Qt::Key_Return}}, 2, 3, dsBrowse, 8,
     0},
    {"EnterOnTheLastCellAppendsWithAllowAdd", Adding, 8, 3, {{Qt::Key_Return}}, 8, 0, dsInsert,
     8, 0},
    {"EnterOnTheLastCellWithoutAllowAddWrapsToTheFirstColumn", Plain, 8, 3, {{Qt::Key_Return}},
     8, 0, dsBrowse, 8, 0},
    {"DownOnTheLastRecordAppendsWithAllowAdd", Adding, 8, 2, {{Qt::Key_Down}}, 8, 0, dsInsert,
     8, 0},
    {"DownOnTheLastRecordWithoutAllowAddAppendsNothing", Plain, 8, 2, {{Qt::Key_Down}}, 8, 0,
     dsBrowse, 8, 0},
    {"DownTwiceOnTheLastRecordKeepsOneNewRecord", Adding, 8, 2,
     {{Qt::Key_Down}, {Qt::Key_Down}}, 8, 0, dsInsert, 8, 0},
    {"UpFromAnUntouchedNewRecordRemovesIt", Adding, 8, 2, {{Qt::Key_Down}, {Qt::Key_Up}}, 8, 0,
     dsBrowse, 8, 0},
    {"InsWithoutAllowAddDoesNothing", Plain, 4, 1, {{Qt::Key_Insert}}, 4, 1, dsBrowse, 8, 0},
    {"InsWithAllowAddInsertsARecord", Adding, 4, 1, {{Qt::Key_Insert}}, 4, 1, dsInsert, 8, 0},
    {"KeypadPlusSelectsTheCurrentRecord", Plain, 3, 1, {{Qt::Key_Plus, Qt::KeypadModifier}}, 3,
     1, dsBrowse, 8, 1},
    {"KeypadPlusTwiceDeselectsIt", Plain, 3, 1,
     {{Qt::Key_Plus, Qt::KeypadModifier}, {Qt::Key_Plus, Qt::KeypadModifier}}, 3, 1, dsBrowse,
     8, 0},
    {"CtrlEnterTogglesTheSelection", Plain, 3, 1, {{Qt::Key_Return, Qt::ControlModifier}}, 3, 1,
     dsBrowse, 8, 1},
    {"PlusAndDownKeepTheSelectionWithoutMultiSelect", Plain, 3, 1,
     {{Qt::Key_Plus, Qt::KeypadModifier}, {Qt::Key_Down}, {Qt::Key_Plus, Qt::KeypadModifier}},
     4, 1, dsBrowse, 8, 2},
    {"DownClearsTheSelectionWithMultiSelect", Multi, 3, 1,
     {{Qt::Key_Plus, Qt::KeypadModifier}, {Qt::Key_Down}}, 4, 1, dsBrowse, 8, 0},
    {"ShiftDownExtendsTheSelection", Multi, 3, 1,
     {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}}, 5, 1, dsBrowse, 8,
     3},
    {"ShiftUpAfterShiftDownShrinksIt", Multi, 3, 1,
     {{Qt::Key_Down, Qt::ShiftModifier},
      {Qt::Key_Down, Qt::ShiftModifier},
      {Qt::Key_Up, Qt::ShiftModifier}},
     4, 1, dsBrowse, 8, 2},
    {"EscClearsTheSelectionWithMultiSelect", Multi, 3, 1,
     {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Escape}}, 4, 1, dsBrowse, 8, 0},
};

INSTANTIATE_TEST_SUITE_P(Keys, DBGridKeyTable, ::testing::ValuesIn(keyCases),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             return std::string(info.param.name);
                         });

// Collects the regions of the paint events a widget receives.
class PaintedRegions : public QObject
{
public:
    explicit PaintedRegions(QWidget* target) { target->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TEST(DBGridKeys, PageKeysMoveByTheVisibleRows)
{
    DBGridWindow w(40);
    const int visible = w.grid->RowCount() - w.grid->TitleOffset();
    ASSERT_GT(visible, 2);
    ASSERT_LT(visible, 30);
    press(Qt::Key_PageDown);
    EXPECT_EQ(w.table->RecNo(), 1 + visible);
    press(Qt::Key_PageUp);
    EXPECT_EQ(w.table->RecNo(), 1);
}

TEST(DBGridKeys, F2OpensTheEditorAndEscPutsBackTheCellText)
{
    DBGridWindow w(5);
    w.grid->SetSelectedIndex(1);
    EXPECT_FALSE(editorShowing(w));
    press(Qt::Key_F2);
    ASSERT_TRUE(editorShowing(w));
    EXPECT_EQ(focused(), editorOf(w));
    EXPECT_EQ(editorOf(w)->Text(), "part 1");
    typeText("x");
    EXPECT_EQ(editorOf(w)->Text(), "part 1x");
    EXPECT_EQ(w.table->State(), dsEdit);
    press(Qt::Key_Escape);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");
    // A second Esc gives up the edit of the record.
    press(Qt::Key_Escape);
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_FALSE(editorShowing(w));
}

TEST(DBGridKeys, TypingThenEnterWritesTheCellAndMovesOn)
{
    DBGridWindow w(5);
    w.grid->SetSelectedIndex(1);
    typeText("abc");
    ASSERT_TRUE(editorShowing(w));
    EXPECT_EQ(editorOf(w)->Text(), "abc");
    press(Qt::Key_Return);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "abc");
    EXPECT_EQ(w.grid->SelectedIndex(), 2);
    press(Qt::Key_Down);
    EXPECT_EQ(w.table->State(), dsBrowse);
    w.table->SetRecNo(1);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "abc");
}

TEST(DBGridKeys, EnterSkipsColumnsThatAreNoTabStops)
{
    DBGridWindow w(5);
    storeColumns(w);
    w.grid->Columns()->Items(1)->SetTabStop(false);
    w.grid->Columns()->Items(2)->SetReadOnly(true);
    w.grid->LayoutChanged();
    w.grid->SetSelectedIndex(0);
    press(Qt::Key_Return);
    EXPECT_EQ(w.grid->SelectedIndex(), 3);
    press(Qt::Key_Return);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    EXPECT_EQ(w.table->RecNo(), 2);
}

TEST(DBGridKeys, ARefusedColumnExitKeepsTheCursorForEveryMovingKey)
{
    DBGridWindow w(6);
    w.grid->SetOptions(w.grid->Options() | dgAllowAdd);
    w.table->SetRecNo(3);
    w.grid->SetSelectedIndex(1);
    int asked = 0;
    w.grid->OnColExit = [&](QObject*, bool& canExit, QString&) {
        ++asked;
        canExit = false;
    };
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                        Qt::Key_Down}) {
        press(Qt::Key_F2);
        ASSERT_TRUE(editorShowing(w));
        // Left and Right first walk the caret through the text; at its ends they leave the cell.
        if (key == Qt::Key_Left)
            press(Qt::Key_Home);
        const int before = asked;
        press(key);
        if (key != Qt::Key_Left && key != Qt::Key_Right) {
            EXPECT_GT(asked, before) << key;
        }
        EXPECT_EQ(w.table->RecNo(), 3) << key;
        EXPECT_EQ(w.grid->SelectedIndex(), 1) << key;
    }
}

TEST(DBGridKeys, CtrlDownGoesToTheLastVisibleRecord)
{
    DBGridWindow w(40);
    const int visible = w.grid->RowCount() - w.grid->TitleOffset();
    w.grid->SetOptions(w.grid->Options() | dgMultiSelect);
    keypadPlus();
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecNo(), visible);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecNo(), 1);
}

TEST(DBGridKeys, ARefusalWithAReasonIsShownInAnInformationBox)
{
    DBGridWindow w(4);
    auto& d = dialogs();
    w.grid->OnColExit = [](QObject*, bool& canExit, QString& err) {
        canExit = false;
        err = QStringLiteral("数量不能为空");
    };
    d.answerDialog(1);
    press(Qt::Key_Right);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    ASSERT_EQ(d.shown().size(), 1);
    EXPECT_EQ(d.shown()[0].caption, "提示");
    EXPECT_EQ(d.unexpected(), 0);
    EXPECT_EQ(w.grid->ColExitError(), "数量不能为空");
}

TEST(DBGridKeys, ColumnEnterFiresAfterEachMove)
{
    DBGridWindow w(4);
    int entered = 0;
    w.grid->OnColEnter = [&](QObject*) { ++entered; };
    press(Qt::Key_Right);
    press(Qt::Key_Tab);
    EXPECT_EQ(entered, 2);
    press(Qt::Key_Down); // a record move is no column move
    EXPECT_EQ(entered, 2);
}

TEST(DBGridKeys, CtrlFOverADateColumnDoesNothing)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Day", ftDateTime, 0);
    t->Open();
    t->Append();
    t->FieldByName("Code")->SetAsString("A1");
    t->FieldByName("Day")->SetAsDateTime(TDateTime(45000));
    t->Post();
    GridOver w(std::move(t));
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(!w.grid->FindEdit() || !w.grid->FindEdit()->isVisible());
    w.grid->SetSelectedIndex(0);
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(w.grid->FindEdit());
    EXPECT_TRUE(w.grid->FindEdit()->isVisible());
}

TEST(DBGridKeys, FocusGivesTheGridsHotKeyHint)
{
    DBGridWindow w(3);
    QStringList hints;
    w.grid->OnHotKeyHint = [&](QObject*, const QString& h) { hints << h; };
    w.other->setFocus();
    QApplication::processEvents();
    w.grid->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_EQ(hints.last(), " [+键]: 选择当前记录  [CTRL键] + [F键]: 查找当前列 ");
}

TEST(DBGridKeys, LeavingTheGridGivesUpAnUntouchedNewRecord)
{
    DBGridWindow w(3);
    w.grid->SetOptions(w.grid->Options() | dgAllowAdd);
    press(Qt::Key_Insert);
    ASSERT_EQ(w.table->State(), dsInsert);
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_EQ(w.table->RecordCount(), 3);
}

// ---- deleting ----------------------------------------------------------------------------------

TEST(DBGridDelete, DelAsksFirstAndCancelDeletesNothing)
{
    DBGridWindow w(5);
    auto& d = dialogs();
    w.table->SetRecNo(2);
    d.answerMessage(qx::mrCancel);
    press(Qt::Key_Delete);
    EXPECT_EQ(w.table->RecordCount(), 5);
    ASSERT_EQ(d.shown().size(), 1);
    EXPECT_EQ(d.shown()[0].caption, "询问");
    EXPECT_EQ(d.shown()[0].text, "您是否确定删除?");
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete);
    EXPECT_EQ(w.table->RecordCount(), 4);
    EXPECT_EQ(d.unexpected(), 0);
    w.table->First();
    EXPECT_EQ(codeOf(w), "P01");
    w.table->Next();
    EXPECT_EQ(codeOf(w), "P03");
}

TEST(DBGridDelete, WithoutConfirmDeleteNothingIsAsked)
{
    DBGridWindow w(5);
    auto& d = dialogs();
    w.grid->SetOptions(w.grid->Options() & ~TQxDBGridOptions(dgConfirmDelete));
    press(Qt::Key_Delete);
    EXPECT_EQ(w.table->RecordCount(), 4);
    EXPECT_TRUE(d.shown().isEmpty());
}

TEST(DBGridDelete, DelInAShowingEditorDeletesNoRecord)
{
    DBGridWindow w(5);
    auto& d = dialogs();
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    ASSERT_TRUE(editorShowing(w));
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    EXPECT_EQ(w.table->RecordCount(), 5);
    EXPECT_TRUE(d.shown().isEmpty());
    EXPECT_EQ(editorOf(w)->Text(), "art 1");
}

TEST(DBGridDelete, DelWithSelectedRowsDeletesThemAllAndNamesTheCount)
{
    DBGridWindow w(8);
    auto& d = dialogs();
    for (int r : {2, 4, 6}) {
        w.table->SetRecNo(r);
        keypadPlus();
    }
    w.table->SetRecNo(8);
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete);
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0], "您是否确定删除选定的 3 条记录?");
    EXPECT_EQ(w.table->RecordCount(), 5);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    QStringList left;
    for (w.table->First(); !w.table->Eof(); w.table->Next())
        left << codeOf(w);
    EXPECT_EQ(left, (QStringList{"P01", "P03", "P05", "P07", "P08"}));
}

TEST(DBGridDelete, OneStraySelectedRowIsTheOneDeleted)
{
    DBGridWindow w(8);
    auto& d = dialogs();
    w.table->SetRecNo(3);
    keypadPlus();
    w.table->SetRecNo(7);
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete);
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0], "您是否确定删除?");
    EXPECT_FALSE(w.table->Locate("Code", "P03"));
    EXPECT_TRUE(w.table->Locate("Code", "P07"));
}

TEST(DBGridDelete, CtrlDelDeletesTheSelectionAndAReadOnlyGridNothing)
{
    DBGridWindow w(6);
    auto& d = dialogs();
    w.table->SetRecNo(2);
    keypadPlus();
    w.table->SetRecNo(5);
    press(Qt::Key_Return, Qt::ControlModifier);
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 4);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
    EXPECT_FALSE(w.table->Locate("Code", "P02"));
    EXPECT_FALSE(w.table->Locate("Code", "P05"));

    w.grid->SetReadOnly(true);
    press(Qt::Key_Delete);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.table->RecordCount(), 4);
    EXPECT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.unexpected(), 0);
}

// ---- mouse -------------------------------------------------------------------------------------

TEST(DBGridMouse, TheIndicatorTogglesItsRowWithoutMovingTheRecord)
{
    DBGridWindow w(6);
    const QPoint indicator(5, cellCentre(w, 0, 2).y());
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, indicator);
    EXPECT_EQ(w.table->RecNo(), 1);
    ASSERT_EQ(w.grid->SelectedRows()->Count(), 1);
    w.table->SetRecNo(3);
    EXPECT_TRUE(w.grid->SelectedRows()->CurrentRowSelected());
    w.table->SetRecNo(1);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, indicator);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}

TEST(DBGridMouse, AClickMovesToTheCellAndASecondClickOpensTheEditor)
{
    DBGridWindow w(6);
    TQxColumn* clicked = nullptr;
    w.grid->OnCellClick = [&](TQxColumn* c) { clicked = c; };
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(w, 2, 3));
    EXPECT_EQ(w.table->RecNo(), 4);
    EXPECT_EQ(w.grid->SelectedIndex(), 2);
    EXPECT_EQ(clicked, w.grid->Columns()->Items(2));
    EXPECT_FALSE(editorShowing(w));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(w, 2, 3));
    EXPECT_TRUE(editorShowing(w));
}

TEST(DBGridMouse, ATitleClickNamesItsColumn)
{
    DBGridWindow w(3);
    TQxColumn* title = nullptr;
    w.grid->OnTitleClick = [&](TQxColumn* c) { title = c; };
    const QRect r = w.grid->CellRect(w.grid->DataToRawColumn(1), 0);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(title, w.grid->Columns()->Items(1));
    EXPECT_EQ(w.table->RecNo(), 1);
}

TEST(DBGridMouse, CtrlClickTogglesAndAPlainClickSelectsOneWithMultiSelect)
{
    DBGridWindow w(6);
    w.grid->SetOptions(w.grid->Options() | dgMultiSelect);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(w, 1, 1));
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(w, 1, 3));
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 2);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(w, 0, 4));
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 1);
    EXPECT_TRUE(w.grid->SelectedRows()->CurrentRowSelected());
}

TEST(DBGridMouse, ARightClickOnACellShowsItsColumnsMenu)
{
    DBGridWindow w(4);
    storeColumns(w);
    QMenu menu;
    menu.addAction(QStringLiteral("复制"));
    w.grid->Columns()->Items(1)->SetPopupMenu(&menu);
    QTest::mouseClick(w.grid->viewport(), Qt::RightButton, Qt::NoModifier, cellCentre(w, 1, 2));
    EXPECT_EQ(w.table->RecNo(), 3);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    QTest::mouseClick(w.grid->viewport(), Qt::RightButton, Qt::NoModifier, cellCentre(w, 0, 1));
    EXPECT_FALSE(menu.isVisible());
}

TEST(DBGridKeys, AValueThatCannotBeWrittenKeepsTheFocusInTheGrid)
{
    DBGridWindow w(3);
    auto& d = dialogs();
    w.table->FieldByName("Name")->OnSetText = [](TField*, const QString& text) {
        if (text.contains(u'!'))
            throw EDatabaseError(QStringLiteral("名称不能含有感叹号"));
    };
    w.grid->SetSelectedIndex(1);
    typeText("a!");
    ASSERT_TRUE(editorShowing(w));
    d.answerMessage(qx::mrOk);
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.messages(), QStringList{"名称不能含有感叹号"});
    QWidget* now = w.window->focusWidget();
    EXPECT_TRUE(now == w.grid || now == editorOf(w));
    EXPECT_EQ(w.table->State(), dsEdit);
}

TEST(DBGridKeys, AnInputMethodCompositionOverACellGoesOnInItsEditor)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(1);
    ASSERT_FALSE(editorShowing(w));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("屏幕"));
    QCoreApplication::sendEvent(w.grid, &commit);
    ASSERT_TRUE(editorShowing(w));
    EXPECT_EQ(editorOf(w)->Text(), "屏幕");
    press(Qt::Key_Return);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "屏幕");
}

TEST(DBGridKeys, AFilledNewRecordIsPostedAndDownStartsTheNextOne)
{
    DBGridWindow w(3);
    w.grid->SetOptions(w.grid->Options() | dgAllowAdd);
    w.table->Last();
    press(Qt::Key_Down);
    ASSERT_EQ(w.table->State(), dsInsert);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
    typeText("X9");
    press(Qt::Key_Down);
    EXPECT_EQ(w.table->State(), dsInsert);
    EXPECT_EQ(w.table->RecordCount(), 4);
    press(Qt::Key_Up); // the untouched second one goes again
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_EQ(w.table->RecordCount(), 4);
    EXPECT_EQ(codeOf(w), "X9");
}

TEST(DBGridMouse, TheBarsLineArrowsScrollPastTheRowsShown)
{
    DBGridWindow w(100);
    w.grid->SetScrollBars(TQxCustomGrid::ssBoth);
    QApplication::processEvents();
    const int visible = w.grid->RowCount() - w.grid->TitleOffset();
    QScrollBar* bar = w.grid->verticalScrollBar();
    w.table->SetRecNo(2); // the second row of the first page
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w.table->RecNo(), visible + 1);
    const int firstShown = w.table->RecNo() - w.grid->DataLink()->ActiveRecord();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(w.table->RecNo(), firstShown - 1);
    EXPECT_EQ(focused(), w.grid);
}

TEST(DBGridKeys, CellsAFieldChangeFillsWhileTheCellIsWrittenAreRepainted)
{
    // A code typed into its cell fills another cell of the row, as a lookup does; the grid
    // hears no change while it writes the cell, yet the filled cell must show its new value.
    DBGridWindow w(3);
    storeColumns(w);
    w.table->FieldByName("Code")->OnChange = [&](TField*) {
        w.table->FieldByName("Qty")->SetAsInteger(777);
    };
    w.grid->SetSelectedIndex(0);
    typeText("X9");
    ASSERT_TRUE(editorShowing(w));
    QApplication::processEvents();
    PaintedRegions regions(w.grid->viewport());
    press(Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(w.table->FieldByName("Qty")->AsInteger(), 777);
    const QRect qtyCell = w.grid->CellRect(w.grid->DataToRawColumn(2), w.grid->Row());
    ASSERT_FALSE(qtyCell.isEmpty());
    EXPECT_TRUE(regions.painted.contains(qtyCell));
}
