// The date dialog: the month calendar opens on today, a double click or Enter writes the
// selected day into the field as text, Esc leaves the field alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "platform/db/QxMemTable.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Clock.h"
#include "usystem/vcl/edits/uQxDatePad.h"
#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"

namespace {

qx::ScriptedDialogService& script()
{
    return *qx::ScriptedDialogService::current();
}

class SetQueryDate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        script().clear();
        qx::setToday(QDate(2024, 3, 15));
        table = std::make_unique<TQxMemTable>();
        table->FieldDefs()->Add("Code", ftString, 10);
        table->FieldDefs()->Add("Day", ftDate, 0);
        table->FieldDefs()->Add("Qty", ftInteger, 0);
        table->Open();
        table->Append();
        table->FieldByName("Code")->SetAsString("A");
        table->FieldByName("Day")->SetAsString("2020-01-02");
        table->FieldByName("Qty")->SetAsInteger(4);
        table->Post();
    }
    void TearDown() override
    {
        // The dialog frees itself after its modal run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(FrmSetQueryDate.isNull());
        EXPECT_EQ(script().unexpected(), 0);
        qx::clearToday();
    }

    QString day() const { return table->FieldByName("Day")->AsString(); }

    std::unique_ptr<TQxMemTable> table;
};

TFrmSetQueryDate& dialogOf(QDialog& d)
{
    auto* f = qobject_cast<TFrmSetQueryDate*>(&d);
    EXPECT_NE(f, nullptr);
    return *f;
}

// The centre of the day cell of the shown month, in the calendar's widget coordinates.
QPoint dayPoint(TQxCalendar* c, int dayOfMonth)
{
    TQxCalendarDate* date = c->CalendarDate();
    for (int k = 1; k <= 42; ++k)
        if (date->CellMonthOffset(k) == 0 && date->CellDays[k] == dayOfMonth)
            return c->CellRect(k).center() + c->ClientOrigin();
    ADD_FAILURE() << "day " << dayOfMonth << " is not on the page";
    return {};
}

} // namespace

TEST_F(SetQueryDate, OpensOnTodayAndEnterWritesTheSelectedDay)
{
    TDateTime shownFirst;
    QString title;
    script().answerDialog([&](QDialog& d) {
        TFrmSetQueryDate& f = dialogOf(d);
        title = f.windowTitle();
        shownFirst = f.MonthCalendar->CalendarDate()->AsDateTime();
        // The calendar has the keys: two days on, one week back.
        QTest::keyClick(f.MonthCalendar, Qt::Key_Right);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Right);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Up);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Return);
    });
    ShowDateDialog(table->FieldByName("Day"), nullptr);

    EXPECT_EQ(title, QStringLiteral("选择日期"));
    EXPECT_EQ(shownFirst, Date());
    EXPECT_EQ(day(), QStringLiteral("2024-03-10"));
    // Put into edit mode, not posted.
    EXPECT_EQ(table->State(), dsEdit);
    table->Cancel();
    EXPECT_EQ(day(), QStringLiteral("2020-01-02"));
}

TEST_F(SetQueryDate, DoubleClickOnADayWritesItAndAnswersOk)
{
    int result = -1;
    script().answerDialog([&](QDialog& d) {
        TFrmSetQueryDate& f = dialogOf(d);
        const QPoint p = dayPoint(f.MonthCalendar, 27);
        QTest::mouseClick(f.MonthCalendar, Qt::LeftButton, {}, p);
        // A single click only selects.
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(day(), QStringLiteral("2020-01-02"));
        QTest::mouseDClick(f.MonthCalendar, Qt::LeftButton, {}, p);
        result = f.result();
    });
    ShowDateDialog(table->FieldByName("Day"), nullptr);
    EXPECT_EQ(result, qx::mrOk);
    EXPECT_EQ(day(), QStringLiteral("2024-03-27"));
    EXPECT_EQ(table->State(), dsEdit);
}

TEST_F(SetQueryDate, EscClosesWithoutTouchingTheField)
{
    bool closed = false;
    script().answerDialog([&](QDialog& d) {
        TFrmSetQueryDate& f = dialogOf(d);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Right);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Escape);
        closed = !f.isVisible();
    });
    ShowDateDialog(table->FieldByName("Day"), nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(day(), QStringLiteral("2020-01-02"));
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(SetQueryDate, WithoutAFieldEnterAndDoubleClickOnlyClose)
{
    for (bool dblClick : {false, true}) {
        bool closed = false;
        script().answerDialog([&](QDialog& d) {
            TFrmSetQueryDate& f = dialogOf(d);
            if (dblClick) {
                const QPoint p = dayPoint(f.MonthCalendar, 15);
                QTest::mouseClick(f.MonthCalendar, Qt::LeftButton, {}, p);
                QTest::mouseDClick(f.MonthCalendar, Qt::LeftButton, {}, p);
            } else {
                QTest::keyClick(f.MonthCalendar, Qt::Key_Enter);
            }
            closed = !f.isVisible();
        });
        ShowDateDialog(nullptr, nullptr);
        EXPECT_TRUE(closed) << dblClick;
    }
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_TRUE(script().messages().isEmpty());
}

TEST_F(SetQueryDate, AValueTheFieldRefusesIsReportedAndTheDialogStaysOpen)
{
    bool openAfterError = false;
    script().answerDialog([&](QDialog& d) {
        TFrmSetQueryDate& f = dialogOf(d);
        script().answerMessage(qx::mrOk);
        QTest::keyClick(f.MonthCalendar, Qt::Key_Return);
        openAfterError = f.isVisible();
        QTest::keyClick(f.MonthCalendar, Qt::Key_Escape);
    });
    // A date is no integer.
    ShowDateDialog(table->FieldByName("Qty"), nullptr);
    EXPECT_TRUE(openAfterError);
    ASSERT_EQ(script().messages().size(), 1);
    EXPECT_EQ(table->FieldByName("Qty")->AsInteger(), 4);
    EXPECT_EQ(table->State(), dsBrowse);
}
