// "数据初始化" (TFrmClearData): the proposed range, the date-range clearing around both ends of
// the range for every kind of bill, the full clearing with its keep list and the saved query
// still working, the business clearing, cancelling, and a failure in the middle of each mode.
#include "MaintenanceFixture.h"

#include "app/maintenance/DataClearing.h"
#include "app/maintenance/uClearData.h"
#include "app/shell/ColorPanel.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QDateEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace qx::app::maintenance_test {

// A bill kind: the head and the tables of its lines and receipts.
struct ClearedBillKind
{
    const char* head;
    std::initializer_list<const char*> lines;
};

const ClearedBillKind kClearedBillKinds[] = {
    {"t_ReceptionMst", {"t_ReceptionDlt", "t_ReceptionDlt2", "t_ReceptionDlt3"}},
    {"t_OutMst", {"t_Outdlt", "t_Outdlt1"}},
    {"t_InMst", {"t_InDlt", "t_InDlt1"}},
    {"t_CheckMst", {"t_CheckDlt"}},
    {"t_PayMst", {"t_Paydlt"}},
    {"t_OutStkMst", {"t_OutStkDlt"}},
};

// Opened on 15 March 2006, the dialog proposes 29 January to 28 February; the bills lie on the
// day before the range, on its two ends and on the day after.
const char* const kBillDays[] = {"2006-01-28", "2006-01-29", "2006-02-28", "2006-03-01"};

class ClearDataTest : public MaintenanceTest
{
protected:
    void SetUp() override
    {
        MaintenanceTest::SetUp();
        today = std::make_unique<qx::test::ScopedToday>(QDate(2006, 3, 15));
    }
    void TearDown() override
    {
        today.reset();
        MaintenanceTest::TearDown();
    }

    // Every kind of bill on each of the four days, each with one row in each of its line and
    // receipt tables; inspections and other income on the same days; and stock, cards, a
    // customer and the rows of the tables the full clearing keeps.
    void seed()
    {
        for (const ClearedBillKind& kind : kClearedBillKinds) {
            for (const char* day : kBillDays) {
                const QString billNo = QStringLiteral("%1-%2").arg(QLatin1String(kind.head), QLatin1String(day));
                exec(QStringLiteral("insert into %1 (BillNo, BillDate) values (:b, :d)").arg(QLatin1String(kind.head)),
                     {{QStringLiteral("b"), billNo}, {QStringLiteral("d"), QDate::fromString(QLatin1String(day), Qt::ISODate)}});
                for (const char* line : kind.lines)
                    exec(QStringLiteral("insert into %1 (BillNo) values (:b)").arg(QLatin1String(line)),
                         {{QStringLiteral("b"), billNo}});
            }
        }
        for (const char* day : kBillDays) {
            const QDate date = QDate::fromString(QLatin1String(day), Qt::ISODate);
            exec(QStringLiteral("insert into t_CheckVehicle (Vin, CheckType, BillDate) values ('V', '年审', :d)"),
                 {{QStringLiteral("d"), date}});
            exec(QStringLiteral("insert into t_DayAccount (BillDate, JAmount) values (:d, 10)"),
                 {{QStringLiteral("d"), date}});
        }
        exec(QStringLiteral("insert into t_Stock (ItemCode, Qty) values ('P1', 7)"));
        exec(QStringLiteral("insert into t_Card (CardNo, Amount) values ('K1', 100)"));
        exec(QStringLiteral("insert into t_CardAdd (CardNo, Amount) values ('K1', 100)"));
        addCustomer(QStringLiteral("C1"));
        exec(QStringLiteral("insert into tQueryReport (ReportName) values ('报表一')"));
        exec(QStringLiteral("insert into tRctReport (ReportName) values ('模板一')"));
        exec(QStringLiteral("insert into tAccount (ReportTitle1) values ('标题')"));
        exec(QStringLiteral("insert into t_Setting (SetName) values ('x')"));
        exec(QStringLiteral("insert into t_SNo (SNoType) values ('x')"));
    }

    // Opens "数据初始化" from the menu and hands the dialog to act.
    void openClearData(std::function<void(TFrmClearData&)> act)
    {
        dialogs().answerDialog([act](QDialog& dialog) { act(dynamic_cast<TFrmClearData&>(dialog)); });
        click(u"数据初始化");
    }

    static void showPage(TFrmClearData& form, int index)
    {
        QTabBar* tabs = form.PageControl1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        ASSERT_EQ(form.PageControl1->currentIndex(), index);
    }

    std::unique_ptr<qx::test::ScopedToday> today;
};

TEST_F(ClearDataTest, ProposedRangeEndsWithThePreviousMonth)
{
    const struct
    {
        QDate today;
        QDate from;
        QDate to;
    } cases[] = {
        {QDate(2006, 3, 15), QDate(2006, 1, 29), QDate(2006, 2, 28)},
        {QDate(2006, 1, 1), QDate(2005, 12, 1), QDate(2005, 12, 31)},
        {QDate(2024, 3, 10), QDate(2024, 1, 30), QDate(2024, 2, 29)},
        {QDate(2023, 3, 31), QDate(2023, 1, 29), QDate(2023, 2, 28)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        QDate from;
        QDate to;
        ProposedClearRange(c.today, from, to);
        EXPECT_EQ(from, c.from);
        EXPECT_EQ(to, c.to);
    }

    // The dialog shows the date page first, with the range of the settable today.
    const qx::test::ScopedToday leapMarch(QDate(2024, 3, 10));
    openClearData([](TFrmClearData& form) {
        EXPECT_EQ(form.Caption(), QStringLiteral("清理数据"));
        EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
        EXPECT_EQ(form.PageControl1->tabText(2), QStringLiteral("清理日期段数据"));
        EXPECT_EQ(form.DTP1->date(), QDate(2024, 1, 30));
        EXPECT_EQ(form.DTP2->date(), QDate(2024, 2, 29));
        EXPECT_FALSE(form.ProgressBar1->isVisible());
        EXPECT_FALSE(form.pnlleft->isVisible());
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible()) << "Esc closes the dialog";
    });
}

TEST_F(ClearDataTest, DateRangeClearsTheBillsOfTheRangeWithTheirLines)
{
    seed();
    openClearData([this](TFrmClearData& form) {
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnOk, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("清理成功!")});

    for (const ClearedBillKind& kind : kClearedBillKinds) {
        for (const char* day : kBillDays) {
            const QString billNo = QStringLiteral("%1-%2").arg(QLatin1String(kind.head), QLatin1String(day));
            const bool inRange = QLatin1String(day) == QLatin1String("2006-01-29")
                                 || QLatin1String(day) == QLatin1String("2006-02-28");
            SCOPED_TRACE(billNo.toStdString());
            const QString where = QStringLiteral("BillNo = '%1'").arg(billNo);
            EXPECT_EQ(count(QLatin1String(kind.head), where), inRange ? 0 : 1);
            for (const char* line : kind.lines)
                EXPECT_EQ(count(QLatin1String(line), where), inRange ? 0 : 1) << line;
        }
    }
    for (const char* table : {"t_CheckVehicle", "t_DayAccount"}) {
        EXPECT_EQ(count(QLatin1String(table)), 2) << table;
        EXPECT_EQ(count(QLatin1String(table), QStringLiteral("BillDate in ('2006-01-28', '2006-03-01')")), 2);
    }
    EXPECT_EQ(scalar(QStringLiteral("select Qty from t_Stock where ItemCode = 'P1'")).toInt(), 7);
    EXPECT_EQ(count(QStringLiteral("t_Card")), 1);
    EXPECT_EQ(count(QStringLiteral("t_Client")), 1);
}

TEST_F(ClearDataTest, FullClearingKeepsTheSystemTablesAndTheSavedQuery)
{
    seed();
    const QMap<QString, QStringList> before = snapshot();
    openClearData([this](TFrmClearData& form) {
        showPage(form, 0);
        dialogs().answerMessage(mrOk);
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnOk, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_EQ(dialogs().shown().size(), 3);
    const ShownDialog& question = dialogs().shown()[1];
    EXPECT_EQ(question.text, QStringLiteral("是否要清除所有的数据。"));
    EXPECT_EQ(question.caption, QStringLiteral("询问"));
    EXPECT_EQ(question.buttons, (QList<int>{mrOk, mrCancel}));
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("清理成功!"));

    const QMap<QString, QStringList> after = snapshot();
    for (auto it = before.begin(); it != before.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        if (KeptByFullClearing(it.key()))
            EXPECT_EQ(after.value(it.key()), it.value());
        else
            EXPECT_TRUE(after.value(it.key()).isEmpty());
    }
    EXPECT_FALSE(before.value(QStringLiteral("t_UserDB")).isEmpty());
    EXPECT_FALSE(before.value(QStringLiteral("tDictMst")).isEmpty());
    EXPECT_TRUE(after.value(QStringLiteral("tReportTitle")).isEmpty());
    // The saved query is a view: it stays and still answers.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from V_Receiv")).toInt(), 0);
}

TEST_F(ClearDataTest, CancellingTheFullClearingChangesNothing)
{
    seed();
    const QMap<QString, QStringList> before = snapshot();
    openClearData([this](TFrmClearData& form) {
        showPage(form, 0);
        dialogs().answerMessage(mrCancel);
        QTest::mouseClick(form.BtnOk, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.ProgressBar1->isVisible());
        QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("是否要清除所有的数据。")});
    EXPECT_FALSE(module->ADOConnection->InTransaction());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ClearDataTest, BusinessClearingEmptiesTheDocumentsOnly)
{
    seed();
    const QMap<QString, QStringList> before = snapshot();
    openClearData([this](TFrmClearData& form) {
        showPage(form, 1);
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnOk, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("清理成功!")});
    const QStringList business = BusinessTables();
    ASSERT_EQ(business.size(), 18);
    const QMap<QString, QStringList> after = snapshot();
    for (auto it = before.begin(); it != before.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        if (business.contains(it.key(), Qt::CaseInsensitive))
            EXPECT_TRUE(after.value(it.key()).isEmpty());
        else
            EXPECT_EQ(after.value(it.key()), it.value());
    }
    EXPECT_EQ(count(QStringLiteral("t_CardAdd")), 1);
}

// A statement refused half-way (a trigger stands in for a disk error): every mode rolls back
// everything it had done, says so, and the dialog stays for another try.
TEST_F(ClearDataTest, FailureInTheMiddleOfEachModeLeavesEverythingAsItWas)
{
    seed();
    const struct
    {
        int page;
        const char* refusingTable;
        bool question;
    } modes[] = {
        {0, "t_Stock", true},
        {1, "t_Outdlt", false},
        {2, "t_Outdlt", false},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.page);
        exec(QStringLiteral("create trigger refuse before delete on %1 begin select raise(abort, 'disk error'); end")
                 .arg(QLatin1String(mode.refusingTable)));
        const QMap<QString, QStringList> before = snapshot();
        dialogs().clear();
        openClearData([&](TFrmClearData& form) {
            showPage(form, mode.page);
            if (mode.question)
                dialogs().answerMessage(mrOk);
            dialogs().answerMessage(mrOk);
            QTest::mouseClick(form.BtnOk, Qt::LeftButton);
            EXPECT_TRUE(form.isVisible());
            EXPECT_FALSE(form.ProgressBar1->isVisible());
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        EXPECT_EQ(dialogs().messages().last(), QStringLiteral("清理不成功!"));
        EXPECT_FALSE(module->ADOConnection->InTransaction());
        EXPECT_EQ(snapshot(), before);
        exec(QStringLiteral("drop trigger refuse"));
    }
}

} // namespace qx::app::maintenance_test
