// The typed edit with its shared pads: the keypad plus and double clicks open them, the keys go
// to the open pad while the edit keeps the focus, and accept, Esc and focus moves end them.
#include "usystem/vcl/edits/uQxDatePad.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/edits/uQxNumPad.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class TypedEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qx::setToday(QDate(2024, 3, 20));
        form = std::make_unique<QWidget>();
        form->resize(400, 300);
        number = make("number", edtNumber, 10);
        number2 = make("number2", edtNumber, 40);
        date = make("date", edtDate, 70);
        date2 = make("date2", edtDate, 100);
        text = make("text", edtText, 130);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }
    TQxEdit* make(const char* name, TEditDataType type, int y)
    {
        auto* e = new TQxEdit(form.get());
        e->setObjectName(name);
        e->setGeometry(10, y, 150, 21);
        e->SetDataType(type);
        return e;
    }
    void focus(QWidget* w)
    {
        // The offscreen platform activates every window it shows, the pads included; a real
        // desktop leaves the form active.
        QApplication::processEvents();
        QApplication::setActiveWindow(form.get());
        w->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(w->hasFocus());
    }
    static void keypadPlus(QWidget* w) { QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier); }
    static void type(QWidget* w, const char* keys) { QTest::keyClicks(w, keys); }

    std::unique_ptr<QWidget> form;
    TQxEdit* number = nullptr;
    TQxEdit* number2 = nullptr;
    TQxEdit* date = nullptr;
    TQxEdit* date2 = nullptr;
    TQxEdit* text = nullptr;
};

} // namespace

TEST_F(TypedEdit, KeypadPlusOpensNumberPadAndEnterAccepts)
{
    number->setText("12.5");
    focus(number);
    int changes = 0;
    number->OnChange = [&](QObject*) { ++changes; };
    keypadPlus(number);
    ASSERT_TRUE(SharedNumPad());
    EXPECT_TRUE(SharedNumPad()->isVisible());
    EXPECT_TRUE(number->hasFocus()); // the pad does not take the focus
    // The keypad's plus is the calculator's "+" while the pad is open.
    keypadPlus(number);
    type(number, "3");
    EXPECT_EQ(number->Text(), "3"); // the live text follows the pad
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_FALSE(SharedNumPad()->isVisible());
    EXPECT_EQ(number->Text(), "15.5");
    EXPECT_GE(changes, 1);
    EXPECT_TRUE(number->hasFocus());
}

TEST_F(TypedEdit, EscClearsThenCancelsWithOldText)
{
    number->setText("200");
    focus(number);
    keypadPlus(number);
    type(number, "45");
    EXPECT_EQ(number->Text(), "45");
    QTest::keyClick(number, Qt::Key_Escape);
    EXPECT_EQ(number->Text(), "0");
    EXPECT_TRUE(SharedNumPad()->isVisible());
    QTest::keyClick(number, Qt::Key_Escape);
    EXPECT_FALSE(SharedNumPad()->isVisible());
    EXPECT_EQ(number->Text(), "200");
}

TEST_F(TypedEdit, AcceptingZeroShowsZero)
{
    number->setText("0.00");
    focus(number);
    keypadPlus(number);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(number->Text(), "0");
}

// A calculation left pending in one edit must not reach another edit's value.
TEST_F(TypedEdit, NumberPadStartsCleanOnEveryOpen)
{
    number->setText("200");
    focus(number);
    keypadPlus(number);
    type(number, "+");
    focus(text); // the focus leaves: the pad cancels
    EXPECT_FALSE(SharedNumPad()->isVisible());
    EXPECT_EQ(number->Text(), "200");
    number2->setText("");
    focus(number2);
    keypadPlus(number2);
    type(number2, "5");
    QTest::keyClick(number2, Qt::Key_Return);
    EXPECT_EQ(number2->Text(), "5");
    EXPECT_EQ(number->Text(), "200");
}

TEST_F(TypedEdit, TwoNumberEditsShareOnePadRebound)
{
    focus(number);
    keypadPlus(number);
    TQxNumPad* pad = SharedNumPad();
    QTest::keyClick(number, Qt::Key_Escape);
    focus(number2);
    keypadPlus(number2);
    EXPECT_EQ(SharedNumPad(), pad);
    EXPECT_EQ(pad->parentWidget(), number2);
    type(number2, "7");
    EXPECT_EQ(number2->Text(), "7");
    QTest::keyClick(number2, Qt::Key_Return);
    EXPECT_EQ(number2->Text(), "7");
}

TEST_F(TypedEdit, PadGoesWithItsOwnerAndIsMadeAgain)
{
    focus(number);
    keypadPlus(number);
    QTest::keyClick(number, Qt::Key_Escape);
    QPointer<TQxNumPad> pad = SharedNumPad();
    delete number;
    number = nullptr;
    QApplication::processEvents();
    EXPECT_TRUE(pad.isNull());
    EXPECT_EQ(SharedNumPad(), nullptr);
    focus(number2);
    keypadPlus(number2);
    ASSERT_TRUE(SharedNumPad());
    EXPECT_TRUE(SharedNumPad()->isVisible());
}

TEST_F(TypedEdit, SecondButtonPressClosesWithTextBeforeOpening)
{
    number->setText("8");
    focus(number);
    keypadPlus(number);
    type(number, "9");
    EXPECT_EQ(number->Text(), "9");
    // A click on the button while the pad is open: the text from before the pad.
    QRect b;
    number->Button()->GetButtonRect(b);
    QTest::mouseClick(number, Qt::LeftButton, {}, b.center());
    EXPECT_FALSE(SharedNumPad()->isVisible());
    EXPECT_EQ(number->Text(), "8");
}

TEST_F(TypedEdit, DoubleClickOpensPads)
{
    focus(date);
    QTest::mouseDClick(date, Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_TRUE(SharedDatePad());
    EXPECT_TRUE(SharedDatePad()->isVisible());
    QTest::keyClick(date, Qt::Key_Escape);
    EXPECT_FALSE(SharedDatePad()->isVisible());
}

TEST_F(TypedEdit, DatePadOpensOnEditsDateOrToday)
{
    date->setText("2023-11-07");
    focus(date);
    keypadPlus(date);
    ASSERT_TRUE(SharedDatePad());
    TQxCalendarDate* d = SharedDatePad()->CalendarDate();
    EXPECT_EQ(d->Year(), 2023);
    EXPECT_EQ(d->Month(), 11);
    EXPECT_EQ(d->Day(), 7);
    EXPECT_EQ(date->Text(), "2023-11-07"); // opening does not rewrite the text
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(date->Text(), "2023-11-07");

    // Another edit without a date: today, not the date the pad held last.
    focus(date2);
    keypadPlus(date2);
    EXPECT_EQ(SharedDatePad(), SharedDatePad());
    EXPECT_EQ(d->Year(), 2024);
    EXPECT_EQ(d->Month(), 3);
    EXPECT_EQ(d->Day(), 20);
    QTest::keyClick(date2, Qt::Key_Return);
    EXPECT_EQ(date2->Text(), "2024-03-20");
}

TEST_F(TypedEdit, DatePadLiveTextThenAcceptWithLeadingZeros)
{
    date->setText("2024-03-04");
    focus(date);
    keypadPlus(date);
    QTest::keyClick(date, Qt::Key_Right); // next day
    EXPECT_EQ(date->Text(), "2024-3-5");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_FALSE(SharedDatePad()->isVisible());
    EXPECT_EQ(date->Text(), "2024-03-05");
}

TEST_F(TypedEdit, DatePadEscPutsBackText)
{
    date->setText("2024-03-04");
    focus(date);
    keypadPlus(date);
    QTest::keyClick(date, Qt::Key_Right);
    QTest::keyClick(date, Qt::Key_Escape);
    EXPECT_FALSE(SharedDatePad()->isVisible());
    EXPECT_EQ(date->Text(), "2024-03-04");
}

TEST_F(TypedEdit, ClickOnDayCellWritesDate)
{
    date->setText("2024-03-04");
    focus(date);
    keypadPlus(date);
    TQxDatePad* pad = SharedDatePad();
    ASSERT_TRUE(pad && pad->isVisible());
    // Find the cell that holds 14 March and click it.
    int cell = -1;
    for (int k = 1; k <= 42; ++k) {
        if (pad->CalendarDate()->CellMonthOffset(k) == 0 && pad->CalendarDate()->CellDays[k] == 14)
            cell = k;
    }
    ASSERT_GT(cell, 0);
    const QPoint at = pad->CellRect(cell).center() + pad->ClientOrigin();
    QTest::mouseClick(pad, Qt::LeftButton, {}, at);
    EXPECT_FALSE(pad->isVisible());
    EXPECT_EQ(date->Text(), "2024-03-14");
    EXPECT_TRUE(date->hasFocus());
}

TEST_F(TypedEdit, ReadOnlyEditIgnoresButtonPlusAndDoubleClick)
{
    number->setReadOnly(true);
    int clicks = 0;
    number->OnButtonClick = [&](QObject*) { ++clicks; };
    focus(number);
    keypadPlus(number);
    QTest::mouseDClick(number, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(!SharedNumPad() || !SharedNumPad()->isVisible());
}

TEST_F(TypedEdit, OnButtonClickReplacesPad)
{
    int clicks = 0;
    number->OnButtonClick = [&](QObject* s) {
        EXPECT_EQ(s, number);
        ++clicks;
    };
    focus(number);
    keypadPlus(number);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(!SharedNumPad() || !SharedNumPad()->isVisible());
}

TEST_F(TypedEdit, PlusIsNeverTextWithButton)
{
    focus(number);
    number->setText("");
    number->OnButtonClick = [](QObject*) {};
    type(number, "1+2");
    EXPECT_EQ(number->Text(), "12");
    focus(text);
    type(text, "1+2");
    EXPECT_EQ(text->Text(), "1+2");
}

TEST_F(TypedEdit, EnabledAgainTextEditRunsButtonClickOnPlus)
{
    int clicks = 0;
    text->OnButtonClick = [&](QObject*) { ++clicks; };
    text->setEnabled(false);
    text->setEnabled(true);
    EXPECT_TRUE(text->Button()->Visible());
    focus(text);
    keypadPlus(text);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TypedEdit, CancelledFindKeepsText)
{
    bool confirm = false;
    qx::EditLookupBinding binding;
    binding.selectValueByStructure = [&](const QString& field, const QString& code, QString& value) {
        EXPECT_EQ(field, "SName");
        EXPECT_EQ(code, "GYS");
        if (confirm)
            value = "供应商甲";
        return confirm;
    };
    qx::setEditLookupBinding(binding);
    text->SetDataType(edtFind);
    text->SetInPutType("GYS");
    text->SetInPutField("SName");
    text->setText("old");
    focus(text);
    keypadPlus(text);
    EXPECT_EQ(text->Text(), "old");
    confirm = true;
    keypadPlus(text);
    EXPECT_EQ(text->Text(), "供应商甲");
    qx::setEditLookupBinding({});
}

TEST_F(TypedEdit, DataTypeSetsButton)
{
    EXPECT_FALSE(text->Button()->Visible());
    EXPECT_TRUE(number->Button()->Visible());
    EXPECT_FALSE(number->Button()->Glyph().isNull());
    QRect b, e;
    number->Button()->GetButtonRect(b);
    number->GetEditRect(e);
    EXPECT_EQ(b.width(), number->Button()->Glyph().width() + 3);
    EXPECT_LE(e.right(), b.left() + 1);
}

TEST_F(TypedEdit, PadsDropUnderEdit)
{
    focus(number);
    keypadPlus(number);
    TQxNumPad* pad = SharedNumPad();
    const QPoint edit = number->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(pad->geometry().right() + 1, edit.x() + number->width() - 2);
    EXPECT_EQ(pad->y(), edit.y() + number->height() + 1);
    EXPECT_EQ(pad->size(), QSize(84, 104));
    QTest::keyClick(number, Qt::Key_Escape);

    focus(date);
    keypadPlus(date);
    TQxDatePad* dp = SharedDatePad();
    const QPoint d = date->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(dp->x(), d.x() - 2);
    EXPECT_EQ(dp->y(), d.y() + date->height() + 1);
    // The size follows the font: 21 column units and 8 rows, 12 pixels more each way.
    EXPECT_EQ(dp->width(), dp->ColUnit() * 21 + 12);
    EXPECT_EQ(dp->height(), dp->RowHeight() * 8 + 12);
    QTest::keyClick(date, Qt::Key_Escape);
}

TEST_F(TypedEdit, PadsStayOnScreen)
{
    const QRect screen = form->screen()->geometry();
    focus(date);
    keypadPlus(date);
    TQxDatePad* dp = SharedDatePad();
    dp->PlaceAt(screen.right() - date->mapToGlobal(QPoint(0, 0)).x() - 3,
                screen.bottom() - date->mapToGlobal(QPoint(0, 0)).y() - 3);
    EXPECT_EQ(dp->geometry().right(), screen.right());
    EXPECT_EQ(dp->geometry().bottom(), screen.bottom());
    QTest::keyClick(date, Qt::Key_Escape);
}

TEST_F(TypedEdit, HotKeyHintOnEnterAndExit)
{
    focus(text); // the form gave the first edit the focus when it was shown
    QStringList hints;
    number->OnHotKeyHint = [&](QObject*, const QString& h) { hints << h; };
    focus(number);
    focus(text);
    EXPECT_EQ(hints, (QStringList{" [+键]: 弹出对话框选择 ", ""}));
}

TEST_F(TypedEdit, TypedEqualsComputesAndKeepsPadOpen)
{
    number->setText("");
    focus(number);
    keypadPlus(number);
    type(number, "6*7=");
    EXPECT_EQ(number->Text(), "42");
    EXPECT_TRUE(SharedNumPad()->isVisible());
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_FALSE(SharedNumPad()->isVisible());
    EXPECT_EQ(number->Text(), "42");
}

TEST_F(TypedEdit, DisablingTheFormLeavesTextEditsWithoutButton)
{
    form->setEnabled(false);
    form->setEnabled(true);
    EXPECT_FALSE(text->Button()->Visible());
    focus(text);
    type(text, "1+1");
    EXPECT_EQ(text->Text(), "1+1");
}

TEST_F(TypedEdit, YearSpinOfDatePadTakesKeys)
{
    date->setText("2024-03-04");
    focus(date);
    keypadPlus(date);
    TQxDatePad* pad = SharedDatePad();
    const QPoint at = pad->PartRect(TQxCustomCalendar::YearPart).center() + pad->ClientOrigin();
    QTest::mouseClick(pad, Qt::LeftButton, {}, at);
    ASSERT_TRUE(pad->YearSpin() && pad->YearSpin()->isVisible());
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    EXPECT_TRUE(pad->HandleKeyPress(&up));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(pad->HandleKeyPress(&enter));
    EXPECT_FALSE(pad->YearSpin() && pad->YearSpin()->isVisible());
    EXPECT_EQ(pad->CalendarDate()->Year(), 2025);
    EXPECT_TRUE(pad->isVisible());
}
