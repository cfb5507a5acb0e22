// The in-place editor: opening by F2, typing, Enter and goAlwaysShowEditor; accepting and
// cancelling; the '+' that never becomes cell text; cells that cannot change.
#include <gtest/gtest.h>

#include <QClipboard>

#include "GridTestSupport.h"
#include "platform/env/ScriptedDialogService.h"

namespace {

struct EditorFixture : ::testing::Test
{
    GridWindow w;
    TestGrid& g = *w.grid;
    void SetUp() override { g.SetOptions(g.Options() | goEditing); }
    TQxInplaceEdit* editor() const { return g.InplaceEditor(); }
    bool editorShown() const { return editor() && editor()->isVisible(); }
};

TEST_F(EditorFixture, F2OpensTheEditorWithTheCaretAfterTheText)
{
    QTest::keyClick(&g, Qt::Key_F2);
    EXPECT_TRUE(g.EditorMode());
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(editor()->Text(), "1,1");
    EXPECT_FALSE(editor()->hasSelectedText());
    EXPECT_EQ(editor()->cursorPosition(), 3);
    EXPECT_EQ(editor()->geometry(), g.CellRect(1, 1));
    EXPECT_TRUE(editor()->hasFocus());
    EXPECT_EQ(editor()->Grid(), &g);
}

TEST_F(EditorFixture, TypingOpensTheEditorWithTheCharacter)
{
    QTest::keyClick(&g, Qt::Key_A, Qt::NoModifier);
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(editor()->Text(), "a");
    // Each change reaches the grid at once.
    EXPECT_EQ(g.texts.value({1, 1}), "a");
    QTest::keyClicks(editor(), "bc");
    EXPECT_EQ(g.texts.value({1, 1}), "abc");
}

TEST_F(EditorFixture, PlusNeverOpensTheEditorNorEntersIt)
{
    QChar seen;
    g.OnKeyPress = [&](QObject*, QChar& k) { seen = k; };
    QTest::keyClick(&g, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&g, '+');
    EXPECT_FALSE(g.EditorMode());
    EXPECT_FALSE(editorShown());
    EXPECT_TRUE(seen.isNull());
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClick(editor(), '+');
    QTest::keyClick(editor(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(editor()->Text(), "1,1");
}

TEST_F(EditorFixture, EnterOpensAndASecondEnterClosesAndStores)
{
    QTest::keyClick(&g, Qt::Key_Return);
    ASSERT_TRUE(editorShown());
    EXPECT_TRUE(g.EditorMode());
    EXPECT_TRUE(editor()->hasSelectedText()); // loaded with all text selected
    QTest::keyClicks(editor(), "new");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_FALSE(editorShown());
    EXPECT_EQ(g.texts.value({1, 1}), "new");
    EXPECT_TRUE(g.hasFocus());
}

TEST_F(EditorFixture, EscGoesToTheGridAndNotToTheEdit)
{
    int escSeen = 0;
    g.OnKeyDown = [&](QObject*, int& key, TShiftState) {
        if (key == VK_ESCAPE)
            ++escSeen;
    };
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(escSeen, 1);
    EXPECT_EQ(editor()->Text(), "1,1");
}

TEST_F(EditorFixture, MovingAwayStoresTheTextAndReloadsAtTheNewCell)
{
    QTest::keyClick(&g, Qt::Key_F2);
    editor()->selectAll();
    QTest::keyClicks(editor(), "x");
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.texts.value({1, 1}), "x");
    // goAlwaysShowEditor is off: moving hides the editor.
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(g.EditorMode());
}

TEST_F(EditorFixture, AlwaysShowEditorKeepsTheEditorOnAcrossMoves)
{
    g.SetOptions(g.Options() | goAlwaysShowEditor);
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(editor()->Text(), "1,1");
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(editor()->Text(), "1,2");
    EXPECT_EQ(editor()->geometry(), g.CellRect(1, 2));
    // Right at the end of the text goes to the next cell; inside the text it moves the caret.
    editor()->setCursorPosition(1);
    QTest::keyClick(editor(), Qt::Key_Right);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(editor()->cursorPosition(), 2);
    editor()->end(false);
    QTest::keyClick(editor(), Qt::Key_Right);
    EXPECT_EQ(g.Col(), 2);
    // Enter does not close an always-shown editor.
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(editorShown());
}

TEST_F(EditorFixture, AFocusLeavingTheGridHidesTheEditor)
{
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClicks(editor(), "z");
    w.other->setFocus();
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.texts.value({1, 1}), "1,1z");
}

TEST_F(EditorFixture, TabInTheEditorMovesCellsWithGoTabsAndLeavesTheGridWithout)
{
    g.SetOptions(g.Options() | goTabs);
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 2);
    g.SetOptions(g.Options() & ~TKyGridOptions(goTabs));
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_TRUE(w.other->hasFocus());
    EXPECT_FALSE(editorShown());
}

TEST_F(EditorFixture, ACellThatCannotChangeTakesNoTyping)
{
    g.editLimit = -1;
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QTest::keyClicks(editor(), "abc");
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QTest::keyClick(editor(), Qt::Key_Delete);
    editor()->home(false);
    QTest::keyClick(editor(), Qt::Key_Delete);
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Insert, Qt::ShiftModifier);
    editor()->selectAll();
    QTest::keyClick(editor(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(editor()->Text(), "1,1");
    EXPECT_EQ(g.texts.value({1, 1}, "unset"), "unset");
}

TEST_F(EditorFixture, PasteWorksWhereTheCellMayChange)
{
    QTest::keyClick(&g, Qt::Key_F2);
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->Text(), "1,1pasted");
    EXPECT_EQ(g.texts.value({1, 1}), "1,1pasted");
}

TEST_F(EditorFixture, TheWheelOverTheEditorMovesTheGrid)
{
    g.SetOptions(g.Options() | goAlwaysShowEditor);
    ASSERT_TRUE(editorShown());
    QWheelEvent e(QPointF(5, 5), editor()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor(), &e);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(editor()->Text(), "1,2");
}

TEST_F(EditorFixture, TheEditLimitBecomesTheMaximumLength)
{
    g.editLimit = 4;
    QTest::keyClick(&g, Qt::Key_F2);
    QTest::keyClicks(editor(), "abcdef");
    EXPECT_EQ(editor()->Text(), "1,1a");
}

TEST_F(EditorFixture, RefusedCharactersAreDropped)
{
    g.acceptKeys = false;
    QTest::keyClick(&g, Qt::Key_F2);
    QTest::keyClicks(editor(), "a1b2");
    EXPECT_EQ(editor()->Text(), "1,112");
}

TEST_F(EditorFixture, EnterInTheEditorTogglesTheSelection)
{
    g.SetOptions(g.Options() | goAlwaysShowEditor);
    ASSERT_TRUE(editorShown());
    editor()->deselect();
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(editor()->selectedText(), "1,1");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(editor()->hasSelectedText());
}

TEST_F(EditorFixture, TheFocusedCellUnderTheEditorIsNotDrawn)
{
    QTest::keyClick(&g, Qt::Key_F2);
    g.drawn.clear();
    (void)shot(&g);
    EXPECT_FALSE(g.drawn.contains(QPoint(1, 1)));
    EXPECT_TRUE(g.drawn.contains(QPoint(2, 1)));
}

TEST_F(EditorFixture, PressOnTheCurrentCellShowsTheEditor)
{
    QTest::mouseClick(vp(&g), Qt::LeftButton, {}, g.CellRect(1, 1).center());
    EXPECT_TRUE(editorShown());
    EXPECT_TRUE(g.EditorMode());
    // A press elsewhere moves there and hides it again (it is not always shown).
    QTest::mouseClick(vp(&g), Qt::LeftButton, {}, g.CellRect(3, 3).center());
    EXPECT_EQ(g.Col(), 3);
    EXPECT_FALSE(editorShown());
}

TEST_F(EditorFixture, TheGridsFontGoesToTheEditor)
{
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(editorShown());
    QFont f = g.font();
    f.setPointSize(f.pointSize() + 5);
    g.setFont(f);
    EXPECT_EQ(editor()->font().pointSize(), f.pointSize());
}

TEST_F(EditorFixture, ScrollingCarriesTheEditorAlong)
{
    g.SetRowCount(100);
    g.SetOptions(g.Options() | goAlwaysShowEditor);
    g.SetRow(3);
    ASSERT_TRUE(editorShown());
    g.SetTopRow(2);
    EXPECT_EQ(editor()->geometry(), g.CellRect(1, 3));
}

} // namespace

namespace {

// A grid whose cells refuse some texts the way a data grid's field refuses a bad number.
struct StrictGrid : TestGrid
{
    void SetEditText(int ACol, int ARow, const QString& Value) override
    {
        if (Value.contains(u'!'))
            throw EConvertError(QStringLiteral("'%1' is not a valid value").arg(Value));
        TestGrid::SetEditText(ACol, ARow, Value);
    }
};

TEST(GridEditorErrors, AFailingStoreStillHidesTheEditorAndShowsTheMessage)
{
    auto* dialogs = qx::ScriptedDialogService::current();
    ASSERT_NE(dialogs, nullptr);
    dialogs->clear();
    QWidget window;
    auto* g = new StrictGrid;
    g->setParent(&window);
    g->resize(320, 150);
    window.show();
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    g->setFocus();
    g->SetOptions(g->Options() | goEditing);
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->isVisible());
    dialogs->answerMessage(qx::mrOk); // the typed '!' fails at once
    dialogs->answerMessage(qx::mrOk); // and again when the editor is hidden
    QTest::keyClick(g->InplaceEditor(), '!');
    QTest::keyClick(g->InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(g->InplaceEditor()->isVisible());
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(dialogs->unexpected(), 0);
    ASSERT_FALSE(dialogs->messages().isEmpty());
    EXPECT_TRUE(dialogs->messages().constLast().contains("is not a valid value"));
    // The grid goes on working.
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_EQ(g->Row(), 2);
    dialogs->clear();
}

TEST(GridEditorMouse, ASecondQuickPressOnTheEditorIsADoubleClick)
{
    GridWindow w;
    TestGrid& g = *w.grid;
    g.SetOptions(g.Options() | goEditing);
    int doubles = 0;
    g.OnDblClick = [&](QObject*) { ++doubles; };
    // Raw events with their times: QTest spaces its clicks apart on purpose.
    auto send = [](QWidget* target, QEvent::Type type, QPoint pos, quint64 time) {
        QMouseEvent e(type, pos, target->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        e.setTimestamp(time);
        QApplication::sendEvent(target, &e);
    };
    const QPoint cell = g.CellRect(1, 1).center();
    send(vp(&g), QEvent::MouseButtonPress, cell, 100000);
    send(vp(&g), QEvent::MouseButtonRelease, cell, 100010);
    TQxInplaceEdit* e = g.InplaceEditor();
    ASSERT_TRUE(e && e->isVisible());
    EXPECT_EQ(doubles, 0);
    send(e, QEvent::MouseButtonPress, QPoint(5, 5), 100100);
    send(e, QEvent::MouseButtonRelease, QPoint(5, 5), 100110);
    EXPECT_EQ(doubles, 1);
    // A slow press is an ordinary press.
    send(e, QEvent::MouseButtonPress, QPoint(5, 5), 200000);
    send(e, QEvent::MouseButtonRelease, QPoint(5, 5), 200010);
    EXPECT_EQ(doubles, 1);
    EXPECT_TRUE(e->isVisible());
}

} // namespace

namespace {

TEST(GridEditorQuestions, EachTypedCharacterAsksTheGridOnce)
{
    struct Counting : TestGrid
    {
        int asked = 0;
        bool CanEditModify() override
        {
            ++asked;
            return TestGrid::CanEditModify();
        }
    };
    QWidget window;
    auto* g = new Counting;
    g->setParent(&window);
    g->resize(320, 150);
    window.show();
    g->setFocus();
    g->SetOptions(g->Options() | goEditing);
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->isVisible());
    g->asked = 0;
    QTest::keyClicks(g->InplaceEditor(), "abc");
    EXPECT_EQ(g->asked, 3);
    EXPECT_EQ(g->InplaceEditor()->Text(), "1,1abc");
}

} // namespace
