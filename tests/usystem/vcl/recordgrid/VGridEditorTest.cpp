// The record grid's cell editor: its button styles, the pick list and its typed search, the
// lookup list, Boolean fields, the cell button by field type, the key hints, and the
// candidate pad.
#include <gtest/gtest.h>

#include "VGridInputSupport.h"
#include "usystem/vcl/controls/uQxGraphics.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "tests/support/ImePadGrid.h"
#include "tests/support/Scoped.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>

namespace {

using E = TDBVGridInplaceEdit;

// The field row index of the window's table opened in the editor.
E* openEditor(VGridWindow& w, int index)
{
    w.grid->SetSelectedIndex(index);
    w.grid->SetEditorMode(true);
    QApplication::processEvents();
    return editorOf(w);
}

std::unique_ptr<TQxMemTable> datedTable()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Day", ftDate, 0);
    t->FieldDefs()->Add("Moment", ftDateTime, 0);
    t->FieldDefs()->Add("Clock", ftTime, 0);
    t->Open();
    t->Append();
    t->FieldByName("Code")->SetAsString("A");
    t->Post();
    return t;
}

} // namespace

TEST(VGridEditor, TheStyleFollowsTheRow)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name", "Qty", "Done"});
    w.row(0)->SetButtonStyle(TVColumn::cbsEllipsis);
    w.row(1)->SetPickList({"甲", "乙"});
    struct Case { int row; E::TEditStyle style; bool button; };
    for (const Case c : {Case{0, E::esEllipsis, true}, Case{1, E::esPickList, true},
                         Case{2, E::esSimple, false}, Case{3, E::esSimple, false}}) {
        E* e = openEditor(w, c.row);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->EditStyle(), c.style) << c.row;
        EXPECT_EQ(e->ButtonRect().isEmpty(), !c.button) << c.row;
    }
    // A read-only row with a pick list shows no button.
    w.row(1)->SetReadOnly(true);
    EXPECT_EQ(openEditor(w, 1)->EditStyle(), E::esSimple);
}

TEST(VGridEditor, TheEllipsisIsThreeSquaresAndTheListButtonAnArrow)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name"});
    w.row(0)->SetButtonStyle(TVColumn::cbsEllipsis);
    w.row(1)->SetPickList({"甲"});
    E* e = openEditor(w, 0);
    const QImage img = e->grab().toImage();
    const QRect b = e->ButtonRect();
    const int side = e->height() < 8 ? 1 : e->height() / 8;
    const int d = b.width() / 2 - 1;
    int black = 0;
    for (int y = b.top(); y <= b.bottom(); ++y)
        for (int x = b.left(); x <= b.right(); ++x)
            black += QColor(img.pixel(x, y)) == QColor(Qt::black);
    EXPECT_EQ(black, 3 * side * side);
    for (int x : {b.left() + d - 2 * side, b.left() + d, b.left() + d + 2 * side})
        EXPECT_EQ(QColor(img.pixel(x, b.top() + d)), QColor(Qt::black)) << x;
}

TEST(VGridEditor, DownOrPlusOnAnEllipsisRowCallsTheButtonAndTypesNothing)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name"});
    w.row(1)->SetButtonStyle(TVColumn::cbsEllipsis);
    int clicks = 0;
    w.grid->OnEditButtonClick = [&](QObject*) { ++clicks; };
    E* e = openEditor(w, 1);
    press(Qt::Key_Down);
    keypadPlus();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(e->Text(), "part 1");
    EXPECT_EQ(w.grid->SelectedIndex(), 1);
    // A click on the button does the same; also on a read-only grid.
    w.grid->SetReadOnly(true);
    e = openEditor(w, 1);
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->ButtonRect().center());
    EXPECT_EQ(clicks, 3);
}

TEST(VGridEditor, ThePickListWritesTheChosenLineAndEscKeepsTheField)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name"});
    const QStringList lines{"line 1", "line 2", "line 3", "line 4", "line 5", "line 6",
                            "line 7", "line 8", "line 9"};
    w.row(1)->SetPickList(lines);
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F2);
    E* e = editorOf(w);
    ASSERT_TRUE(e && e->isVisible());
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    // Seven lines at most by default.
    EXPECT_EQ((e->PickList()->height() - 4) / e->PickList()->ItemHeight(), 7);
    // The Down that opened the list stands on its first line; the next one on the second.
    EXPECT_EQ(e->PickList()->currentRow(), 0);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "line 2");
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "line 2");
}

TEST(VGridEditor, TypingOnTheListSearchesAndAPauseStartsAgain)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name"});
    w.row(1)->SetPickList({"apple", "banana", "berry", "blue", "cherry"});
    E* e = openEditor(w, 1);
    keypadPlus();
    ASSERT_TRUE(e->ListVisible());
    TPopupListbox* list = e->PickList();
    qint64 now = 10000;
    list->TickCount = [&now] { return now; };
    typeText("b");
    EXPECT_EQ(list->currentRow(), 1);
    now += 1999;
    typeText("l");
    EXPECT_EQ(list->SearchText, "bl");
    EXPECT_EQ(list->currentRow(), 3);
    now += 2001;
    typeText("c");
    EXPECT_EQ(list->SearchText, "c");
    EXPECT_EQ(list->currentRow(), 4);
    // At most 32 characters are kept of one search.
    for (int i = 0; i < 40; ++i)
        typeText("z");
    EXPECT_EQ(list->SearchText.size(), TPopupListbox::SearchLimit);
    press(Qt::Key_Return);
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "cherry");
}

TEST(VGridEditor, AListOpenWhenTheFocusLeavesClosesWithoutWriting)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name"});
    w.row(1)->SetPickList({"x", "y"});
    E* e = openEditor(w, 1);
    e->setFocus();
    keypadPlus();
    press(Qt::Key_Down);
    ASSERT_TRUE(e->ListVisible());
    QApplication::setActiveWindow(w.window.get());
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(e->PickList()->isVisible());
    EXPECT_EQ(w.table->FieldByName("Name")->AsString(), "part 1");
}

TEST(VGridEditor, SpaceOrAClickTogglesABooleanFieldAndOtherKeysTypeNothing)
{
    VGridWindow w(3);
    customize(w, {"Code", "Done", "Name"});
    TField* done = w.table->FieldByName("Done");
    ASSERT_FALSE(done->AsBoolean());
    E* e = openEditor(w, 1);
    e->setFocus();
    EXPECT_TRUE(e->ButtonRect().isEmpty());
    press(Qt::Key_Space);
    EXPECT_TRUE(done->AsBoolean());
    typeText("a");
    EXPECT_TRUE(done->AsBoolean());
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, e->rect().center());
    EXPECT_FALSE(done->AsBoolean());
    // The moving keys still move.
    press(Qt::Key_Down);
    EXPECT_EQ(w.grid->SelectedIndex(), 2);
    // A read-only row is not toggled.
    w.row(1)->SetReadOnly(true);
    e = openEditor(w, 1);
    e->setFocus();
    press(Qt::Key_Space);
    EXPECT_FALSE(done->AsBoolean());
}

TEST(VGridEditor, TheButtonOpensTheCalendarForDatesAndThePickerForTheRest)
{
    VGridWindow w(datedTable(), true);
    int picked = 0;
    qx::EditLookupBinding binding;
    binding.pickFieldValue = [&](QWidget* Control) {
        EXPECT_EQ(Control, w.grid);
        ++picked;
    };
    qx::setEditLookupBinding(binding);
    const auto restore = qScopeGuard([] { qx::setEditLookupBinding({}); });
    auto& d = dialogs();
    struct Case { const char* field; bool calendar; };
    for (const Case c : {Case{"Day", true}, Case{"Moment", true}, Case{"Clock", false},
                         Case{"Code", false}}) {
        d.clear();
        picked = 0;
        const int index = w.table->FieldByName(QLatin1String(c.field))->Index();
        w.grid->SetSelectedIndex(index);
        d.answerDialog(qx::mrCancel);
        w.grid->EditButtonClick();
        EXPECT_EQ(d.shown().size(), c.calendar ? 1 : 0) << c.field;
        EXPECT_EQ(picked, c.calendar ? 0 : 1) << c.field;
    }
    // A read-only grid without a handler opens nothing.
    d.clear();
    picked = 0;
    w.grid->SetReadOnly(true);
    w.grid->SetSelectedIndex(1);
    w.grid->EditButtonClick();
    EXPECT_TRUE(d.shown().isEmpty());
    EXPECT_EQ(picked, 0);
}

TEST(VGridEditor, TheButtonReportsAMissingFieldPicker)
{
    VGridWindow w(datedTable(), true);
    qx::setEditLookupBinding({});
    const qx::test::ScopedMissingBindings missing;
    w.grid->SetSelectedIndex(w.table->FieldByName("Code")->Index());
    w.grid->EditButtonClick();
    EXPECT_EQ(missing.reported(), QStringList{QStringLiteral("PickFieldValue")});
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST(VGridEditor, TheHintsNameTheListAndTheButton)
{
    VGridWindow w(3);
    customize(w, {"Code", "Name", "Qty"});
    w.row(1)->SetPickList({"a"});
    w.row(1)->SetButtonStyle(TVColumn::cbsEllipsis);
    QStringList hints;
    w.grid->OnHotKeyHint = [&](QObject*, const QString& h) { hints << h; };
    E* e = openEditor(w, 1);
    e->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(hints.isEmpty());
    EXPECT_EQ(hints.last(), QStringLiteral(" [↓键]:弹出下拉框  [+键]: 功能相当于点击右边按钮(如弹出对话框选择等)"));
    w.grid->setFocus();
    e = openEditor(w, 2);
    e->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(hints.last(), QString());
}

// ---- candidate pad -----------------------------------------------------------------------------

namespace {

struct PadGrid : qx::test::ImePadGrid<VGridWindow>
{
    PadGrid()
    {
        customize(w, {"Code", "Name", "Qty"});
        w.row(1)->SetIMEControl(true);
        answerPad();
    }
};

} // namespace

TEST(VGridImePad, TypingPopsThePadUnderTheEditorAndAClickedLineWritesItsCode)
{
    PadGrid g;
    typeText("j");
    E* e = editorOf(g.w);
    ASSERT_TRUE(e && e->isVisible());
    EXPECT_EQ(g.lastText, "j");
    ASSERT_TRUE(g.pad()->isVisible());
    EXPECT_EQ(g.pad()->EditControl(), e);
    // At the editor's bottom-left corner.
    EXPECT_EQ(g.pad()->pos(), e->mapToGlobal(QPoint(0, e->height())));
    g.clickLine(1);
    EXPECT_FALSE(g.pad()->isVisible());
    EXPECT_EQ(g.asked, 1);
    EXPECT_EQ(g.name(), "JIA");
    EXPECT_EQ(e->Text(), "JIA");
    EXPECT_TRUE(g.pad()->Lines().isEmpty());
    EXPECT_EQ(g.pad()->MarkedLine(), 0);
    EXPECT_EQ(g.w.window->focusWidget(), e);
}

TEST(VGridImePad, AClickedCodeTakesTheEditorsCaseRule)
{
    PadGrid g;
    typeText("j");
    E* e = editorOf(g.w);
    ASSERT_TRUE(e && g.pad()->isVisible());
    e->setCharCase(ecLowerCase);
    g.clickLine(1);
    EXPECT_EQ(e->Text(), "jia");
}

TEST(VGridImePad, ThePadStartsTwoHundredPixelsWideAndFitsItsLines)
{
    PadGrid g;
    typeText("j");
    ASSERT_TRUE(g.pad()->isVisible());
    // Shown, it is as wide as its widest line needs.
    QPixmap scratch(1, 1);
    QPainter p(&scratch);
    p.setFont(g.pad()->font());
    EXPECT_EQ(g.pad()->width(), DbcsTextWidth(p, QStringLiteral("甲")) + 50);
    // A code without candidates leaves it hidden at the width it is given.
    g.w.grid->OnCellTextChange = [](QObject*, const QString&, TQxIMEPad*&) {};
    typeText("k");
    EXPECT_FALSE(g.pad()->isVisible());
    EXPECT_EQ(g.pad()->width(), 200);
}

TEST(VGridImePad, AClickBesideTheLinesOrALineWithoutACodeChangesNothing)
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
    EXPECT_EQ(g.name(), "part 1");

    g.code.clear();
    typeText("a");
    ASSERT_TRUE(g.pad()->isVisible());
    g.clickLine(1);
    EXPECT_EQ(g.asked, 1);
    EXPECT_EQ(editorOf(g.w)->Text(), "jia");
    EXPECT_EQ(g.name(), "part 1");
}

TEST(VGridImePad, EnterWithAMarkedLineWritesItsCodeAndMovesOn)
{
    PadGrid g;
    typeText("j");
    ASSERT_TRUE(g.pad()->isVisible());
    g.hover(QPoint(30, TQxIMEPad::LineHeight + 5));
    press(Qt::Key_Return);
    EXPECT_EQ(g.name(), "JIA");
    EXPECT_EQ(g.w.grid->SelectedIndex(), 2);
}

TEST(VGridImePad, ThePadHidesWhenTheFocusLeavesAndNeverShowsForOtherRows)
{
    PadGrid g;
    typeText("a");
    ASSERT_TRUE(g.pad()->isVisible());
    QApplication::processEvents();
    QApplication::setActiveWindow(g.w.window.get());
    g.w.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(g.pad()->isVisible());
    g.w.grid->setFocus();
    g.w.grid->SetSelectedIndex(0);
    typeText("b");
    EXPECT_FALSE(g.pad()->isVisible());
}
