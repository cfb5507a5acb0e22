// The day list and its sums: today's bills when shown, the day before and after with "^" and
// "V", none (but the columns) without the query right; the find dialog cancelled, confirmed
// without a condition and with one, and the day list back once the day changes.
#include "tests/documents/browser/BrowserFixture.h"

namespace qx::documents::test {
namespace {

using qx::app::test::FindInput;

class DayListTest : public BrowserTest
{
};

TEST_F(DayListTest, ShowsTodaysBillsAndTheirSums)
{
    TFrmDayIn& b = open();
    EXPECT_EQ(b.lblBillType->Caption(), QStringLiteral("工单录入"));
    EXPECT_EQ(b.dtpDate->date(), QDate(2026, 3, 5));
    EXPECT_EQ(b.dtpDate->text(), QStringLiteral("2026年3月5日"));
    // WX3 was settled today but taken in yesterday: it is yesterday's.
    EXPECT_EQ(listedSet(), (std::set<QString>{QStringLiteral("WX1"), QStringLiteral("WX2")}));
    EXPECT_EQ(shown(b.EdtSumCount), QStringLiteral("2"));
    EXPECT_EQ(shown(b.EdtSumTimes), QStringLiteral("180.00"));
    EXPECT_EQ(shown(b.EdtSumParts), QStringLiteral("120.00"));
    EXPECT_EQ(shown(b.EdtSumTotal), QStringLiteral("300.00"));
    EXPECT_EQ(shown(b.EdtSumReceived), QStringLiteral("150.00"));
    EXPECT_EQ(shown(b.EdtSumDue), QStringLiteral("150.00"));
    // Money of the list shows two decimals too.
    selectBill(QStringLiteral("WX2"));
    EXPECT_EQ(b.QryMain->FieldByName(QStringLiteral("NoReceiv"))->DisplayText(), QStringLiteral("150.00"));
    EXPECT_EQ(b.QryMain->FieldByName(QStringLiteral("TotalAmount"))->DisplayText(), QStringLiteral("200.00"));
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

// Each step: the button pressed and the day and bills it shows.
struct DayStep
{
    const char* button; // "BtnPrior" or "BtnNext"
    QDate day;
    std::set<QString> bills;
};

TEST_F(DayListTest, PriorAndNextDayMoveTheList)
{
    const qx::test::ScopedToday today(QDate(2026, 3, 1));
    TFrmDayIn& b = open();
    EXPECT_TRUE(listed().isEmpty());
    const DayStep steps[] = {
        {"BtnPrior", QDate(2026, 2, 28), {QStringLiteral("WX4")}}, // across the month's end
        {"BtnNext", QDate(2026, 3, 1), {}},
        {"BtnNext", QDate(2026, 3, 2), {}},
        {"BtnNext", QDate(2026, 3, 3), {}},
        {"BtnNext", QDate(2026, 3, 4), {QStringLiteral("WX3")}},
    };
    for (const DayStep& s : steps) {
        click(b.findChild<TQxButton*>(QLatin1String(s.button)));
        EXPECT_EQ(b.dtpDate->date(), s.day);
        EXPECT_EQ(listedSet(), s.bills) << s.day.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(shown(b.EdtSumCount), QString::number(s.bills.size()));
    }
}

TEST_F(DayListTest, APickedDayShowsThatDay)
{
    TFrmDayIn& b = open();
    b.dtpDate->setDate(QDate(2026, 3, 4));
    EXPECT_EQ(listedSet(), (std::set<QString>{QStringLiteral("WX3")}));
}

TEST_F(DayListTest, WithoutTheQueryRightTheListIsEmptyEveryDay)
{
    loginWith({QStringLiteral("工单录入-增加")});
    TFrmDayIn& b = open();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(b.DBGrid1->VisibleColumns().size(), 19);
    EXPECT_EQ(shown(b.EdtSumCount), QStringLiteral("0"));
    EXPECT_EQ(shown(b.EdtSumTotal), QString());
    for (TQxButton* button : {b.BtnPrior, b.BtnPrior, b.BtnNext}) {
        click(button);
        EXPECT_TRUE(listed().isEmpty());
        EXPECT_EQ(shown(b.EdtSumDue), QString());
    }
    // The day list's check is silent.
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

// One find: the inputs filled (none: confirmed without a condition; cancelled: the dialog is
// closed) and the bills listed afterwards.
struct FindCase
{
    const char* name;
    bool cancel;
    std::vector<FindInput> inputs;
    std::set<QString> bills;
};

TEST_F(DayListTest, FindListsWhatTheDialogAsks)
{
    const FindCase cases[] = {
        {"cancelled", true, {}, {QStringLiteral("WX1"), QStringLiteral("WX2")}},
        {"no condition", false, {}, {QStringLiteral("WX1"), QStringLiteral("WX2"), QStringLiteral("WX3"), QStringLiteral("WX4")}},
        {"bill number", false, {{"EdtReceptionBillNo", u"WX3"}}, {QStringLiteral("WX3")}},
        {"name with a quote", false, {{"EdtReceptionCName", u"王'"}}, {}},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFrmDayIn& b = open();
        dialogs().answerDialog([&](QDialog& d) {
            auto& find = formOf<TFrmFind>(d);
            EXPECT_EQ(find.ActivePage(), QStringLiteral("Reception"));
            if (c.cancel) {
                QTest::mouseClick(find.BtnClose, Qt::LeftButton);
                return;
            }
            fillAll(&find, c.inputs);
            QTest::mouseClick(find.BtnOK, Qt::LeftButton);
        });
        press(Qt::Key_F5);
        EXPECT_EQ(dialogs().pending(), 0);
        EXPECT_EQ(listedSet(), c.bills);
        EXPECT_EQ(shown(b.EdtSumCount), QString::number(c.bills.size()));
        EXPECT_EQ(b.ShowsFindResult(), !c.cancel);
        b.Close();
        flushDeletes();
    }
}

TEST_F(DayListTest, AFindResultStaysUntilTheDayChanges)
{
    TFrmDayIn& b = open();
    dialogs().answerDialog([&](QDialog& d) { QTest::mouseClick(formOf<TFrmFind>(d).BtnOK, Qt::LeftButton); });
    click(b.BtnQuery);
    ASSERT_EQ(listed().size(), 4);
    // Cancel approval reopens the list on its own statement: still all bills.
    selectBill(QStringLiteral("WX3"));
    click(b.SpeedButton1);
    EXPECT_EQ(listed().size(), 4);
    click(b.BtnNext);
    EXPECT_FALSE(b.ShowsFindResult());
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(DayListTest, FindNeedsTheQueryRight)
{
    loginWith({QStringLiteral("工单录入-增加")});
    TFrmDayIn& b = open();
    dialogs().answerMessage(mrOk);
    click(b.BtnQuery);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [查询] 的权限")});
}

} // namespace
} // namespace qx::documents::test
