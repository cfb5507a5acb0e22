// Deleting a work order while another workstation holds the database: "删除失败！", the bill
// and its stock stay whole, and the delete goes through once the other is done.
#include "OtherWorkstation.h"
#include "tests/documents/browser/BrowserFixture.h"

#include "platform/ini/IniFile.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

namespace qx::documents::test {
namespace {

class DayInBusyTest : public BrowserTest
{
protected:
    int billRows()
    {
        int rows = 0;
        for (const char* table : {"t_ReceptionMst", "t_ReceptionDlt", "t_ReceptionDlt2", "t_ReceptionDlt3"})
            rows += count(QLatin1String(table), QStringLiteral("BillNo = 'WX2'"));
        return rows;
    }
};

TEST_F(DayInBusyTest, ADeleteWhileAnotherWorkstationWritesFailsWholeAndCanBeRepeated)
{
    StockEnabled = true;
    TIniFile(ExeFolderPath(QStringLiteral("INC.ini"))).WriteString(QStringLiteral("参数"), QStringLiteral("启用库存管理"),
                                                                  QStringLiteral("是"));
    OtherWorkstation other;
    const ShortBusyWait shortWait(*module->ADOConnection);
    open();
    selectBill(QStringLiteral("WX2"));
    other.connection.BeginTrans();
    dialogs().answerMessage(qx::mrOk);
    dialogs().answerMessage(qx::mrOk);
    click(browser->btnDelete);
    EXPECT_EQ(dialogs().messages(), (QStringList{"是否要删除。", "删除失败！"}));
    EXPECT_EQ(billRows(), 5);
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(Qty, ' ') from t_Stock")), QStringLiteral("5 7"));
    EXPECT_EQ(listed().size(), 2);
    EXPECT_FALSE(dmdataUnit->ADOConnection->InTransaction());

    other.connection.RollbackTrans();
    selectBill(QStringLiteral("WX2"));
    dialogs().answerMessage(qx::mrOk);
    click(browser->btnDelete);
    EXPECT_EQ(billRows(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(Qty, ' ') from t_Stock")), QStringLiteral("6 9"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("WX1")});
}

} // namespace
} // namespace qx::documents::test
