// A payment entered on a bill that another workstation changed after the amount due was shown:
// the received amount is the sum of all the bill's receipts, and a write-off never takes more
// than the remainder the operator agreed to write off.
#include "tests/documents/receipts/ReceiptFixture.h"
#include "tests/documents/workorder/OtherWorkstation.h"

namespace qx::documents::test {
namespace {

TEST_F(ReceiptTest, AWriteOffOnABillChangedElsewhereTakesNoMoreThanWasAgreed)
{
    // Shown: 100 due. Meanwhile the other workstation raises the bill to the total given and
    // takes 20 on it. The operator takes 70 and writes off the 30 the question names.
    const struct
    {
        const char* total;
        const char* decAmount;
    } cases[] = {
        {"100", "10"},  // only 10 is left after the other's 20: no more is written off
        {"150", "30"},  // the bill grew: 30 written off, 30 still due
        {"120", "30"},
    };
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.total);
        exec(QStringLiteral("delete from t_ReceptionDlt3"));
        exec(QStringLiteral("update t_ReceptionMst set TotalAmount = 100, Received = 0, DecAmount = 0"));
        run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
            OtherWorkstation other;
            other.exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount) values (:b, '2026-03-05', 20)"),
                       {{QStringLiteral("b"), QLatin1String(c.billNo)}});
            other.exec(QStringLiteral("update t_ReceptionMst set TotalAmount = :t, Received = 20 where BillNo = :b"),
                       {{QStringLiteral("t"), QLatin1String(k.total)}, {QStringLiteral("b"), QLatin1String(c.billNo)}});
            typeAmount(d, QStringLiteral("70"));
            dialogs().answerMessage(qx::mrYes);
            click(d.Button1);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_TRUE(dialogs().messages().last().startsWith(QStringLiteral("剩余的30")));
        EXPECT_EQ(headValue(c, "Received"), QStringLiteral("90"));
        EXPECT_EQ(headValue(c, "DecAmount"), QLatin1String(k.decAmount));
    }
}

} // namespace
} // namespace qx::documents::test
