// Deleting a work order from its browser: the head, items, parts and receipts go in one
// transaction, and the stock of its parts comes back only when stock moves for bills (the
// shop's flag and "是" in INC.ini, the gate of the save). Cancelled, or failing half way,
// nothing changes.
#include "tests/documents/browser/BrowserFixture.h"

#include "platform/ini/IniFile.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

namespace qx::documents::test {
namespace {

class DayInDeleteTest : public BrowserTest
{
protected:
    int rowsOf(const QString& billNo)
    {
        int rows = 0;
        for (const char* table : {"t_ReceptionMst", "t_ReceptionDlt", "t_ReceptionDlt2", "t_ReceptionDlt3"})
            rows += count(QLatin1String(table), QStringLiteral("BillNo = :b"), {{QStringLiteral("b"), billNo}});
        return rows;
    }
    QString stockOf(const char* code)
    {
        return scalar(QStringLiteral("select Qty from t_Stock where ItemCode = :c"),
                      {{QStringLiteral("c"), QLatin1String(code)}});
    }
    void setStockKey(const char* value)
    {
        TIniFile ini(ExeFolderPath(QStringLiteral("INC.ini")));
        if (value)
            ini.WriteString(QStringLiteral("参数"), QStringLiteral("启用库存管理"), QString::fromUtf8(value));
        else
            ini.DeleteKey(QStringLiteral("参数"), QStringLiteral("启用库存管理"));
    }
    void deleteBill(const QString& billNo, int answer)
    {
        selectBill(billNo);
        dialogs().answerMessage(answer);
        click(browser->btnDelete);
    }
};

// The stock gate: the shop's flag, the INC.ini key (null: missing) and whether stock comes back.
struct GateCase
{
    bool flag;
    const char* key;
    bool givesBack;
};

TEST_F(DayInDeleteTest, DeletesTheWholeBillAndGivesStockBackUnderTheSaveGate)
{
    const GateCase cases[] = {
        {false, "是", false},
        {true, "否", false},
        {true, nullptr, false},
        {true, "是", true},
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(std::string(c.flag ? "flag on, key " : "flag off, key ") + (c.key ? c.key : "missing"));
        exec(QStringLiteral("delete from t_ReceptionMst where BillNo = 'WX2'"));
        exec(QStringLiteral("delete from t_ReceptionDlt2 where BillNo = 'WX2'"));
        exec(QStringLiteral("delete from t_ReceptionDlt3 where BillNo = 'WX2'"));
        exec(QStringLiteral("insert into t_ReceptionMst (BillNo, INtime, TotalAmount, Received) values "
                            "('WX2', '2026-03-05', 200, 50)"));
        exec(QStringLiteral("insert into t_ReceptionDlt2 (BillNo, ItemCode, Qty) values ('WX2', 'P1', 1), ('WX2', 'P2', 2)"));
        exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount) values ('WX2', '2026-03-05', 50)"));
        exec(QStringLiteral("update t_Stock set Qty = 5 where ItemCode = 'P1'"));
        exec(QStringLiteral("update t_Stock set Qty = 7 where ItemCode = 'P2'"));
        StockEnabled = c.flag;
        setStockKey(c.key);

        TFrmDayIn& b = open();
        ASSERT_EQ(shown(b.EdtSumReceived), QStringLiteral("150.00"));
        deleteBill(QStringLiteral("WX2"), mrOk);
        EXPECT_EQ(dialogs().messages().last(), QStringLiteral("是否要删除。"));
        EXPECT_EQ(rowsOf(QStringLiteral("WX2")), 0);
        EXPECT_EQ(stockOf("P1"), c.givesBack ? QStringLiteral("6") : QStringLiteral("5"));
        EXPECT_EQ(stockOf("P2"), c.givesBack ? QStringLiteral("9") : QStringLiteral("7"));
        // The list and its sums are read again: its receipts are gone from "已收".
        EXPECT_EQ(listed(), QStringList{QStringLiteral("WX1")});
        EXPECT_EQ(shown(b.EdtSumReceived), QStringLiteral("100.00"));
        EXPECT_EQ(rowsOf(QStringLiteral("WX1")), 2);
        b.Close();
        flushDeletes();
    }
}

TEST_F(DayInDeleteTest, CancelChangesNothing)
{
    StockEnabled = true;
    setStockKey("是");
    open();
    deleteBill(QStringLiteral("WX2"), mrCancel);
    EXPECT_EQ(rowsOf(QStringLiteral("WX2")), 5);
    EXPECT_EQ(stockOf("P1"), QStringLiteral("5"));
    EXPECT_EQ(listed().size(), 2);
}

TEST_F(DayInDeleteTest, APartWithoutStockRowStopsTheWholeDeletion)
{
    StockEnabled = true;
    setStockKey("是");
    exec(QStringLiteral("delete from t_Stock where ItemCode = 'P2'"));
    open();
    dialogs().answerMessage(mrOk); // "删除失败！"
    deleteBill(QStringLiteral("WX2"), mrOk);
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("删除失败！"));
    EXPECT_EQ(rowsOf(QStringLiteral("WX2")), 5);
    EXPECT_EQ(stockOf("P1"), QStringLiteral("5")); // its give-back was rolled back
    EXPECT_FALSE(module->ADOConnection->InTransaction());
    EXPECT_EQ(listed().size(), 2);
}

TEST_F(DayInDeleteTest, AnApprovedBillIsDeletedLikeAnyOther)
{
    TFrmDayIn& b = open();
    click(b.BtnPrior);
    deleteBill(QStringLiteral("WX3"), mrOk);
    EXPECT_EQ(rowsOf(QStringLiteral("WX3")), 0);
}

TEST_F(DayInDeleteTest, NeedsTheDeleteRight)
{
    loginWith({QStringLiteral("工单录入-查询")});
    open();
    dialogs().answerMessage(mrOk);
    click(browser->btnDelete);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [删除] 的权限")});
    EXPECT_EQ(rowsOf(QStringLiteral("WX1")), 2);
}

} // namespace
} // namespace qx::documents::test
