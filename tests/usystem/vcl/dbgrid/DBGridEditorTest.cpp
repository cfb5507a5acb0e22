// The data grid's cell editor: the pick list and the lookup list dropping under the cell,
// Boolean cells as check boxes, the cell button, the candidate pad, and what happens to the
// pop-ups when the focus leaves.
#include <gtest/gtest.h>

#include "DBGridInputSupport.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "tests/support/ImePadGrid.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

namespace {

QStringList lines(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QStringLiteral("line %1").arg(i, 2, 10, QLatin1Char('0'));
    return out;
}

int visibleRowsOf(TPopupListbox* list)
{
    return (list->height() - 4) / list->ItemHeight();
}

// The parts grid with stored columns, the cursor on the Name cell with its editor open.
void openNameEditor(DBGridWindow& w, const QStringList& pickList)
{
    storeColumns(w);
    w.grid->Columns()->Items(1)->SetPickList(pickList);
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    ASSERT_TRUE(editorShowing(w));
}

// A table of kinds and a parts table whose Kind is looked up from KindID.
std::unique_ptr<TQxMemTable> makeKinds()
{
    auto k = std::make_unique<TQxMemTable>();
    k->FieldDefs()->Add("KindID", ftInteger, 0);
    k->FieldDefs()->Add("KindName", ftString, 10);
    k->Open();
    int id = 1;
    for (const char* name : {"屏幕", "电池", "主板", "按键"}) {
        k->Append();
        k->FieldByName("KindID")->SetAsInteger(id++);
        k->FieldByName("KindName")->SetAsString(QString::fromUtf8(name));
        k->Post();
    }
    k->First();
    return k;
}

std::unique_ptr<TQxMemTable> makeKindParts(TQxMemTable* kinds)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("KindID", ftInteger, 0);
    auto* kind = new TStringField(t.get());
    kind->SetFieldName("Kind");
    kind->SetFieldKind(fkLookup);
    kind->SetKeyFields("KindID");
    kind->SetLookupDataSet(kinds);
    kind->SetLookupKeyFields("KindID");
    kind->SetLookupResultField("KindName");
    kind->SetSize(10);
    kind->SetDataSet(t.get());
    t->Open();
    for (int i = 1; i <= 3; ++i) {
        t->Append();
        t->FieldByName("Code")->SetAsString(QStringLiteral("K%1").arg(i));
        t->FieldByName("KindID")->SetAsInteger(i);
        t->Post();
    }
    t->First();
    return t;
}

} // namespace

// ---- pick list ---------------------------------------------------------------------------------

TEST(DBGridPickList, DownDropsTheListAndEnterTakesTheLine)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(10));
    TQxDBGridInplaceEdit* e = editorOf(w);
    EXPECT_EQ(e->EditStyle(), TQxDBGridInplaceEdit::esPickList);
    EXPECT_FALSE(e->ButtonRect().isEmpty());
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    TPopupListbox* list = e->PickList();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(visibleRowsOf(list), 7);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(focused(), e); // the list never takes the focus
    press(Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    press(Qt::Key_Return);
    EXPECT_FALSE(e->ListVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "line 02");
    EXPECT_EQ(e->Text(), "line 02");
}

TEST(DBGridPickList, AShortListIsOnlyAsHighAsItsLines)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(3));
    keypadPlus();
    TQxDBGridInplaceEdit* e = editorOf(w);
    ASSERT_TRUE(e->ListVisible());
    EXPECT_EQ(visibleRowsOf(e->PickList()), 3);
    EXPECT_EQ(e->PickList()->currentRow(), -1); // "part 1" is none of the lines
}

TEST(DBGridPickList, TheCurrentValueIsSelectedWhenTheListDrops)
{
    DBGridWindow w(4);
    w.table->Edit();
    w.table->FieldByName("Name")->SetAsString("line 04");
    w.table->Post();
    openNameEditor(w, lines(6));
    keypadPlus();
    EXPECT_EQ(editorOf(w)->PickList()->currentRow(), 3);
}

TEST(DBGridPickList, EscClosesWithoutChangingTheField)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(5));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    TQxDBGridInplaceEdit* e = editorOf(w);
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");
    EXPECT_TRUE(editorShowing(w)); // the Esc closed the list only
}

TEST(DBGridPickList, AClickOnALineTakesIt)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(5));
    TQxDBGridInplaceEdit* e = editorOf(w);
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    ASSERT_TRUE(e->ListVisible());
    TPopupListbox* list = e->PickList();
    const QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "line 03");
}

TEST(DBGridPickList, AClickOnTheButtonOfAnOpenListClosesItUnchanged)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(5));
    TQxDBGridInplaceEdit* e = editorOf(w);
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");
}

TEST(DBGridPickList, TypedLettersSearchAndAPauseStartsAgain)
{
    DBGridWindow w(4);
    openNameEditor(w, {"apple", "abacus", "about", "banana", "abz"});
    TQxDBGridInplaceEdit* e = editorOf(w);
    keypadPlus();
    ASSERT_TRUE(e->ListVisible());
    TPopupListbox* list = e->PickList();
    qint64 now = 10000;
    list->TickCount = [&now] { return now; };
    typeText("a");
    EXPECT_EQ(list->currentRow(), 0);
    now += 1500;
    typeText("b");
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->SearchText, "ab");
    now += 2500;
    typeText("b");
    EXPECT_EQ(list->SearchText, "b");
    EXPECT_EQ(list->currentRow(), 3);
    press(Qt::Key_Return);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "banana");
}

TEST(DBGridPickList, AReadOnlyColumnShowsNoArrow)
{
    DBGridWindow w(4);
    storeColumns(w);
    w.grid->Columns()->Items(1)->SetPickList(lines(4));
    w.grid->Columns()->Items(1)->SetReadOnly(true);
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    ASSERT_TRUE(editorShowing(w));
    EXPECT_EQ(editorOf(w)->EditStyle(), TQxDBGridInplaceEdit::esSimple);
    EXPECT_TRUE(editorOf(w)->ButtonRect().isEmpty());
    press(Qt::Key_Down); // an ordinary record move
    EXPECT_EQ(w.table->RecNo(), 2);
}

TEST(DBGridPickList, TheListClosesUnacceptedWhenTheFocusLeaves)
{
    DBGridWindow w(4);
    openNameEditor(w, lines(5));
    TQxDBGridInplaceEdit* e = editorOf(w);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(e->ListVisible());
    EXPECT_FALSE(e->PickList()->isVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");
}

TEST(DBGridPickList, TheEditorHintNamesTheListAndTheButton)
{
    DBGridWindow w(4);
    storeColumns(w);
    QStringList hints;
    w.grid->OnHotKeyHint = [&](QObject*, const QString& h) { hints << h; };
    w.grid->Columns()->Items(1)->SetPickList(lines(2));
    w.grid->Columns()->Items(2)->SetButtonStyle(cbsEllipsis);
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_EQ(hints.last(), " [↓键]:弹出下拉框 ");
    press(Qt::Key_Tab);
    press(Qt::Key_F2);
    EXPECT_EQ(hints.last(), " [+键]: 功能相当于点击右边按钮(如弹出对话框选择等)");
}

// ---- lookup list -------------------------------------------------------------------------------

TEST(DBGridLookupList, TheListShowsTheLookupValuesAndWritesTheKey)
{
    auto kinds = makeKinds();
    GridOver w(makeKindParts(kinds.get()));
    w.table->SetRecNo(2);
    w.grid->SetSelectedIndex(2);
    ASSERT_EQ(w.grid->SelectedField()->FieldName(), "Kind");
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = w.grid->CellEditor();
    ASSERT_TRUE(e && e->isVisible());
    EXPECT_EQ(e->EditStyle(), TQxDBGridInplaceEdit::esDataList);
    keypadPlus();
    ASSERT_TRUE(e->ListVisible());
    TPopupDataList* list = e->DataList();
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), "屏幕");
    EXPECT_EQ(list->currentRow(), 1); // the record's own kind
    EXPECT_EQ(e->LookupSource()->DataSet(), kinds.get());
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("KindID")->AsInteger(), 3);
    EXPECT_EQ(w.table->FieldByName("Kind")->AsString(), "主板");
    EXPECT_EQ(e->LookupSource()->DataSet(), nullptr);
    EXPECT_EQ(kinds->RecNo(), 1); // the lookup table's cursor did not move
}

TEST(DBGridLookupList, EscAndAMouseClick)
{
    auto kinds = makeKinds();
    GridOver w(makeKindParts(kinds.get()));
    w.grid->SetSelectedIndex(2);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = w.grid->CellEditor();
    ASSERT_TRUE(e);
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    press(Qt::Key_Escape);
    EXPECT_EQ(w.table->FieldByName("KindID")->AsInteger(), 1);
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    ASSERT_TRUE(e->ListVisible());
    TPopupDataList* list = e->DataList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(3)).center());
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("KindID")->AsInteger(), 4);
    EXPECT_EQ(w.table->FieldByName("Kind")->AsString(), "按键");
}

TEST(DBGridLookupList, AReadOnlyKeyGivesAPlainCell)
{
    auto kinds = makeKinds();
    GridOver w(makeKindParts(kinds.get()));
    w.table->FieldByName("KindID")->SetReadOnly(true);
    w.grid->SetSelectedIndex(2);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = w.grid->CellEditor();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->EditStyle(), TQxDBGridInplaceEdit::esSimple);
}

// ---- Boolean cells -----------------------------------------------------------------------------

TEST(DBGridBooleanCell, SpaceAndKeypadPlusFlipTheValue)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(3);
    ASSERT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    press(Qt::Key_Space); // opens the editor and flips
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    ASSERT_TRUE(editorShowing(w));
    press(Qt::Key_Space);
    EXPECT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    keypadPlus();
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    typeText("x"); // no text in a check-box cell
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    press(Qt::Key_Down);
    w.table->SetRecNo(1);
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
}

TEST(DBGridBooleanCell, CtrlAloneAndCtrlChordsFlipNothing)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(3);
    press(Qt::Key_F2);
    ASSERT_TRUE(editorShowing(w));
    press(Qt::Key_Control, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    ASSERT_TRUE(w.grid->FindEdit());
    EXPECT_TRUE(w.grid->FindEdit()->isVisible());
}

TEST(DBGridBooleanCell, AClickOnTheEditorFlipsAReadOnlyFieldNot)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(3);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = editorOf(w);
    ASSERT_TRUE(e && e->isVisible());
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->rect().center());
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    w.table->Post();
    w.table->FieldByName("Done")->SetReadOnly(true);
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->rect().center());
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
}

TEST(DBGridBooleanCell, AClickOrAKeyFlipsTheValueAndEmptiesTheEditorsText)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(3);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = editorOf(w);
    ASSERT_TRUE(e && e->isVisible());
    ASSERT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->rect().center());
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    EXPECT_EQ(e->Text(), QString());
    press(Qt::Key_Space);
    EXPECT_FALSE(w.table->FieldByName("Done")->AsBoolean());
    EXPECT_EQ(e->Text(), QString());
    keypadPlus();
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
    EXPECT_EQ(e->Text(), QString());
    // The empty text is no value: moving on posts the flipped value, not an empty one.
    press(Qt::Key_Down);
    w.table->SetRecNo(1);
    EXPECT_FALSE(w.table->FieldByName("Done")->IsNull());
    EXPECT_TRUE(w.table->FieldByName("Done")->AsBoolean());
}

// ---- the cell button ---------------------------------------------------------------------------

TEST(DBGridCellButton, KeypadPlusAndAClickRunTheHandler)
{
    DBGridWindow w(3);
    storeColumns(w);
    w.grid->Columns()->Items(2)->SetButtonStyle(cbsEllipsis);
    int clicks = 0;
    w.grid->OnEditButtonClick = [&](QObject* sender) {
        EXPECT_EQ(sender, w.grid);
        ++clicks;
    };
    w.grid->SetSelectedIndex(2);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = editorOf(w);
    ASSERT_TRUE(e && e->isVisible());
    EXPECT_EQ(e->EditStyle(), TQxDBGridInplaceEdit::esEllipsis);
    keypadPlus();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(e->Text(), "10"); // the '+' never reaches the text
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    EXPECT_EQ(clicks, 2);
    // Pressed on the button but released beside it: no click.
    QTest::mousePress(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    EXPECT_TRUE(e->Pressed());
    QTest::mouseMove(e, QPoint(3, 3));
    QTest::mouseRelease(e, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(clicks, 2);
    w.grid->SetReadOnly(true);
    w.grid->EditButtonClick();
    EXPECT_EQ(clicks, 2);
}

TEST(DBGridCellButton, WithoutAHandlerDatesOpenTheCalendarAndOtherFieldsThePicker)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Day", ftDate, 0);
    t->FieldDefs()->Add("Moment", ftDateTime, 0);
    t->FieldDefs()->Add("Hour", ftTime, 0);
    t->Open();
    t->Append();
    t->FieldByName("Code")->SetAsString("A");
    t->Post();
    GridOver w(std::move(t));
    const qx::EditLookupBinding saved = qx::editLookupBinding();
    QList<QWidget*> picked;
    qx::EditLookupBinding binding = saved;
    binding.pickFieldValue = [&](QWidget* control) { picked << control; };
    qx::setEditLookupBinding(binding);
    auto& d = dialogs();

    w.grid->SetSelectedIndex(0);
    w.grid->EditButtonClick();
    w.grid->SetSelectedIndex(3); // a time has no calendar
    w.grid->EditButtonClick();
    EXPECT_EQ(picked, (QList<QWidget*>{w.grid, w.grid}));
    EXPECT_TRUE(d.shown().isEmpty());

    for (int column : {1, 2}) {
        d.answerDialog(0);
        w.grid->SetSelectedIndex(column);
        w.grid->EditButtonClick();
    }
    EXPECT_EQ(picked.size(), 2);
    EXPECT_EQ(d.shown().size(), 2);
    EXPECT_EQ(d.unexpected(), 0);
    qx::setEditLookupBinding(saved);
}

// ---- candidate pad -----------------------------------------------------------------------------

namespace {

struct PadGrid : qx::test::ImePadGrid<DBGridWindow>
{
    PadGrid()
    {
        storeColumns(w);
        w.grid->Columns()->Items(1)->SetIMEControl(true);
        answerPad();
    }
    // A window manager keeps the form active under a pop-up that takes no focus; the
    // off-screen test platform activates every window shown, so the form is made active again.
    void keepFormActive() const
    {
        QApplication::processEvents();
        QApplication::setActiveWindow(w.window.get());
    }
};

} // namespace

TEST(DBGridImePad, TypingPopsThePadAndAClickedLineWritesItsCode)
{
    PadGrid g;
    typeText("j");
    ASSERT_TRUE(editorShowing(g.w));
    EXPECT_EQ(g.lastText, "j");
    ASSERT_TRUE(g.pad()->isVisible());
    EXPECT_EQ(g.pad()->EditControl(), editorOf(g.w));
    g.hover(QPoint(30, TQxIMEPad::LineHeight + 5));
    ASSERT_EQ(g.pad()->MarkedLine(), 1);
    QTest::mouseClick(g.pad(), Qt::LeftButton, Qt::NoModifier, QPoint(30, TQxIMEPad::LineHeight + 5));
    EXPECT_FALSE(g.pad()->isVisible());
    EXPECT_EQ(g.asked, 1);
    EXPECT_EQ(g.name(), "JIA");
    EXPECT_EQ(editorOf(g.w)->Text(), "JIA");
    EXPECT_TRUE(g.pad()->Lines().isEmpty());
    EXPECT_EQ(g.pad()->MarkedLine(), 0);
    EXPECT_EQ(g.w.window->focusWidget(), editorOf(g.w));
}

TEST(DBGridImePad, AClickBesideTheLinesChangesNothing)
{
    PadGrid g;
    typeText("ji");
    ASSERT_TRUE(g.pad()->isVisible());
    g.hover(QPoint(30, 5)); // the caption strip
    ASSERT_EQ(g.pad()->MarkedLine(), 0);
    QTest::mouseClick(g.pad(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 5));
    EXPECT_FALSE(g.pad()->isVisible());
    EXPECT_EQ(g.asked, 0);
    EXPECT_EQ(editorOf(g.w)->Text(), "ji");
    press(Qt::Key_Return);
    EXPECT_EQ(g.name(), "ji");
}

TEST(DBGridImePad, ALineWithoutACodeChangesNothing)
{
    PadGrid g;
    g.code.clear();
    typeText("y");
    ASSERT_TRUE(g.pad()->isVisible());
    g.hover(QPoint(30, TQxIMEPad::LineHeight + 5));
    QTest::mouseClick(g.pad(), Qt::LeftButton, Qt::NoModifier, QPoint(30, TQxIMEPad::LineHeight + 5));
    EXPECT_FALSE(g.pad()->isVisible());
    EXPECT_EQ(g.asked, 1);
    EXPECT_EQ(editorOf(g.w)->Text(), "y");
    EXPECT_EQ(g.name(), "part 1");
}

TEST(DBGridImePad, ThePadHidesWhenTheFocusLeavesAndNeverShowsForOtherColumns)
{
    PadGrid g;
    typeText("a");
    ASSERT_TRUE(g.pad()->isVisible());
    g.keepFormActive();
    g.w.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(g.pad()->isVisible());
    g.w.grid->setFocus();
    g.w.grid->SetSelectedIndex(0);
    typeText("b");
    EXPECT_FALSE(g.pad()->isVisible());
}

TEST(DBGridCellButton, TheDateButtonOfADateTimeColumnOpensTheCalendar)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Moment", ftDateTime, 0);
    t->Open();
    t->Append();
    t->FieldByName("Code")->SetAsString("A");
    t->Post();
    GridOver w(std::move(t));
    w.grid->Columns()->BeginUpdate();
    for (const char* name : {"Code", "Moment"})
        w.grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    w.grid->Columns()->EndUpdate();
    w.grid->LayoutChanged();
    w.grid->Columns()->Items(1)->SetButtonStyle(cbsEllipsis);
    EXPECT_FALSE(w.grid->Columns()->Items(1)->Glyph().isNull());
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = w.grid->CellEditor();
    ASSERT_TRUE(e && e->isVisible());
    auto& d = dialogs();
    d.answerDialog(0);
    d.answerDialog(0);
    keypadPlus();
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    EXPECT_EQ(d.shown().size(), 2);
    EXPECT_EQ(d.pending(), 0);
    EXPECT_EQ(d.unexpected(), 0);
}

// ---- drawing -----------------------------------------------------------------------------------

TEST(DBGridEditorDrawing, ABooleanCellIsACheckBoxAndAListCellHasAButton)
{
    DBGridWindow w(3);
    storeColumns(w);
    w.grid->Columns()->Items(1)->SetPickList(lines(3));
    w.grid->SetSelectedIndex(3);
    press(Qt::Key_F2);
    TQxDBGridInplaceEdit* e = editorOf(w);
    ASSERT_TRUE(e && e->isVisible());
    QImage img = e->grab().toImage();
    const QRect box((e->width() - 13) / 2, (e->height() - 13) / 2, 13, 13);
    EXPECT_EQ(QColor(img.pixel(box.left(), box.top() + 6)), toQColor(clBtnShadow));
    EXPECT_EQ(QColor(img.pixel(2, 2)), toQColor(clInfoBk));
    EXPECT_TRUE(e->ButtonRect().isEmpty());

    press(Qt::Key_Home, Qt::ControlModifier); // no column move: Ctrl+Home is a record move
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    ASSERT_TRUE(e->isVisible());
    img = e->grab().toImage();
    const QRect button = e->ButtonRect();
    ASSERT_FALSE(button.isEmpty());
    EXPECT_EQ(button.right(), e->width() - 1);
    EXPECT_EQ(QColor(img.pixel(button.left() + 2, button.top() + 2)), toQColor(clBtnFace));
}

TEST(DBGridEditorKeys, LeftInAnEmptyCellGoesToTheCellBefore)
{
    DBGridWindow w(3);
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    press(Qt::Key_Left); // text in the cell: the caret moves
    EXPECT_EQ(w.grid->SelectedIndex(), 1);
    editorOf(w)->selectAll();
    press(Qt::Key_Delete);
    ASSERT_EQ(editorOf(w)->Text(), "");
    press(Qt::Key_Left);
    EXPECT_EQ(w.grid->SelectedIndex(), 0);
}

TEST(DBGridPickList, AGridClosedWithItsListOpenGoesQuietly)
{
    auto w = std::make_unique<DBGridWindow>(3);
    openNameEditor(*w, lines(4));
    press(Qt::Key_Down);
    ASSERT_TRUE(editorOf(*w)->ListVisible());
    QPointer<TPopupListbox> list = editorOf(*w)->PickList();
    w.reset();
    EXPECT_TRUE(list.isNull());
}
