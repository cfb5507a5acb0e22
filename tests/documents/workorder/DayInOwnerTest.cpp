// The owner rename of the work-order browser: it needs its right, refuses an empty answer and
// a row without a customer code, does nothing for an unchanged or cancelled answer, asks
// before it writes, and then gives every work order of the old code the new one, whatever
// day it was taken in, with the values bound (quotes and all).
#include "tests/documents/browser/BrowserFixture.h"

#include <optional>

namespace qx::documents::test {
namespace {

class DayInOwnerTest : public BrowserTest
{
protected:
    QStringList codes()
    {
        QStringList list;
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select BillNo || '=' || ifnull(CCode, '') from t_ReceptionMst order by BillNo"));
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            list << q.Fields()->Fields(0)->AsString();
        return list;
    }
};

// One rename: the operator's rights (empty: all), the answer of the input box (none:
// cancelled), the answer of the question when it comes, the messages shown and WX1's and
// WX2's code afterwards (WX3 and WX4 keep theirs).
struct RenameCase
{
    const char* name;
    QStringList rights;
    std::optional<QString> answer;
    std::optional<int> confirm;
    QStringList messages;
    QString code;
};

TEST_F(DayInOwnerTest, RenameCases)
{
    const QString question = QStringLiteral("是否将所有车主编码为“C001”的工单改为“%1”？");
    const RenameCase cases[] = {
        {"renamed", {}, QStringLiteral("C009"), mrOk, {question.arg(QStringLiteral("C009"))}, QStringLiteral("C009")},
        {"quote bound", {}, QStringLiteral("O'Neil"), mrOk, {question.arg(QStringLiteral("O'Neil"))}, QStringLiteral("O'Neil")},
        {"question cancelled", {}, QStringLiteral("C009"), mrCancel, {question.arg(QStringLiteral("C009"))}, QStringLiteral("C001")},
        {"input cancelled", {}, std::nullopt, std::nullopt, {}, QStringLiteral("C001")},
        {"unchanged", {}, QStringLiteral("C001"), std::nullopt, {}, QStringLiteral("C001")},
        {"empty", {}, QString(), std::nullopt, {QStringLiteral("车主名称不能为空！")}, QStringLiteral("C001")},
        {"blank", {}, QStringLiteral("  "), std::nullopt, {QStringLiteral("车主名称不能为空！")}, QStringLiteral("C001")},
        {"no right", {QStringLiteral("工单录入-查询")}, std::nullopt, std::nullopt,
         {QStringLiteral("对不起你没有 [改车主] 的权限")}, QStringLiteral("C001")},
    };
    for (const RenameCase& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("update t_ReceptionMst set CCode = 'C001' where BillNo in ('WX1', 'WX2')"));
        exec(QStringLiteral("update t_ReceptionMst set CCode = 'C001' where BillNo = 'WX4'"));
        if (!c.rights.isEmpty())
            loginWith(c.rights);
        TFrmDayIn& b = open();
        selectBill(QStringLiteral("WX1"));
        dialogs().clear();
        if (c.rights.isEmpty())
            dialogs().answerInput(c.answer);
        for (int i = 0; i < c.messages.size(); ++i)
            dialogs().answerMessage(c.confirm && i == 0 ? *c.confirm : mrOk);
        // The main part of "历史查询".
        QTest::mouseClick(b.BtnPlus, Qt::LeftButton, {}, QPoint(8, b.BtnPlus->height() / 2));
        EXPECT_EQ(dialogs().pending(), 0);
        EXPECT_EQ(dialogs().messages(), c.messages);
        if (c.rights.isEmpty()) {
            ASSERT_FALSE(dialogs().shown().isEmpty());
            EXPECT_EQ(dialogs().shown().first().caption, QStringLiteral("改车主名称"));
        }
        // WX4, taken in another day, goes with them; WX3 is another customer's.
        EXPECT_EQ(codes(), (QStringList{QStringLiteral("WX1=") + c.code, QStringLiteral("WX2=") + c.code,
                                        QStringLiteral("WX3=C002"), QStringLiteral("WX4=") + c.code}));
        EXPECT_FALSE(module->ADOConnection->InTransaction());
        b.Close();
        flushDeletes();
        CurrentUser = qx::app::administratorCode();
    }
}

TEST_F(DayInOwnerTest, ARowWithoutCustomerCodeRenamesNothing)
{
    exec(QStringLiteral("update t_ReceptionMst set CCode = '' where BillNo in ('WX1', 'WX4')"));
    TFrmDayIn& b = open();
    selectBill(QStringLiteral("WX1"));
    dialogs().answerMessage(mrOk);
    click(b.BtnPlus);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("此工单没有车主编码，不能改车主！")});
    EXPECT_EQ(codes(), (QStringList{QStringLiteral("WX1="), QStringLiteral("WX2=C001"), QStringLiteral("WX3=C002"),
                                    QStringLiteral("WX4=")}));
}

} // namespace
} // namespace qx::documents::test
