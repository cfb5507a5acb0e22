// A payment while another workstation holds the database: the dialog says the save failed,
// keeps what was typed, writes nothing, and the same payment goes in once the other is done.
#include "tests/documents/receipts/ReceiptFixture.h"
#include "tests/documents/workorder/OtherWorkstation.h"

namespace qx::documents::test {
namespace {

TEST_F(ReceiptTest, APaymentWhileAnotherWorkstationWritesFailsWholeAndCanBeRepeated)
{
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    OtherWorkstation other;
    const ShortBusyWait shortWait(*module->ADOConnection);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        typeAmount(d, QStringLiteral("60"));
        other.connection.BeginTrans();
        dialogs().answerMessage(qx::mrNo); // the rest stays due
        dialogs().answerMessage(qx::mrOk);
        click(d.Button1);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.EdtAmount->Text(), QStringLiteral("60"));
        EXPECT_TRUE(d.QryReceipts->IsEmpty());
        other.connection.RollbackTrans();
        dialogs().answerMessage(qx::mrNo);
        click(d.Button1);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(dialogs().messages().filter(QStringLiteral("存盘失败！")).size(), 1);
    EXPECT_EQ(receipts(c), QStringLiteral("60.0/现金/2026-03-05"));
    EXPECT_EQ(headValue(c, "Received"), QStringLiteral("60"));
    EXPECT_FALSE(dmdataUnit->ADOConnection->InTransaction());
}

} // namespace
} // namespace qx::documents::test
