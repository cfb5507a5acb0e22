// Entering money on a bill: the receipt row, the head's received (paid) amount and the
// work order's write-off, in one transaction; an empty amount per bill kind; a missing head;
// a failed write rolled back with "存盘失败！".
#include "ReceiptFixture.h"

namespace qx::documents::test {
namespace {

TEST_F(ReceiptTest, EachKindShowsItsWordsAndTheAmountDue)
{
    struct Words
    {
        ReceiptBill kind;
        const char* caption;
        const char* due;
        const char* amount;
        const char* date;
        const char* close;
        QStringList columns;
    };
    const Words cases[] = {
        {ReceiptBill::WorkOrder, "录入收款", "应收：31.6635", "本次收款：", "收款日期：", "未收款",
         {"日期", "支付方式", "金额", "美容卡号", "说明", "凭证号"}},
        {ReceiptBill::Sale, "录入收款", "应收：31.6635", "本次收款：", "收款日期：", "未收款",
         {"日期", "支付方式", "金额", "说明", "凭证号"}},
        {ReceiptBill::Purchase, "录入付款", "应付：31.6635", "本次付款：", "付款日期：", "未付款",
         {"日期", "支付方式", "金额", "说明", "凭证号"}},
    };
    for (const Words& w : cases) {
        const ReceiptCase& c = receiptCase(w.kind);
        run(w.kind, QLatin1String(c.billNo), QStringLiteral("31.6635"), [&](TFrmReceivRecord& d) {
            EXPECT_EQ(d.Caption(), QString::fromUtf8(w.caption));
            EXPECT_EQ(d.LblDue->Caption(), QString::fromUtf8(w.due));
            EXPECT_EQ(d.EdtAmount->Text(), QStringLiteral("31.6635"));
            EXPECT_EQ(d.LblAmount->Caption(), QString::fromUtf8(w.amount));
            EXPECT_EQ(d.LblDate->Caption(), QString::fromUtf8(w.date));
            EXPECT_EQ(d.Button2->Caption(), QString::fromUtf8(w.close));
            EXPECT_EQ(d.CbxAccType->Text(), QStringLiteral("现金"));
            EXPECT_EQ(d.LblBillNo->Caption(), QStringLiteral("单号：") + QLatin1String(c.billNo));
            EXPECT_EQ(qx::app::test::columnTitles(d.dbgReceipts), w.columns);
            EXPECT_FALSE(d.ListOnly());
            click(d.Button2);
        });
        EXPECT_EQ(count(QLatin1String(c.receipts)), 0);
    }
}

TEST_F(ReceiptTest, PaidInFullStoresOneRowAndTheSumWithoutAQuestion)
{
    for (ReceiptBill kind : {ReceiptBill::WorkOrder, ReceiptBill::Sale, ReceiptBill::Purchase}) {
        const ReceiptCase& c = receiptCase(kind);
        exec(QStringLiteral("insert into %1 (BillNo, Amount, ReceivTime) values (:b, 20, '2026-03-01')")
                 .arg(QLatin1String(c.receipts)),
             {{QStringLiteral("b"), QLatin1String(c.billNo)}});
        run(kind, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
            d.CbxAccType->SetItemIndex(1);
            click(d.Button1);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_EQ(receipts(c), QStringLiteral("20.0/现金/2026-03-01 100.0/支票/2026-03-05"));
        EXPECT_EQ(headValue(c, c.column), QStringLiteral("120"));
    }
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(ReceiptTest, APartPaymentOnAWorkOrderAsksWhetherTheRestIsWrittenOff)
{
    struct Case
    {
        int answer;
        const char* decAmount;
    };
    for (const Case& w : {Case{qx::mrYes, "5"}, Case{qx::mrNo, "0"}}) {
        exec(QStringLiteral("delete from t_ReceptionDlt3"));
        exec(QStringLiteral("update t_ReceptionMst set Received = 0, DecAmount = 0"));
        dialogs().clear();
        const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
        run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
            typeAmount(d, QStringLiteral("95"));
            dialogs().answerMessage(w.answer);
            click(d.Button1);
        });
        EXPECT_EQ(dialogs().messages(),
                  QStringList{"剩余的5是否不收了,如果是本单已结了剩余算入零头，否本单还有挂账5"});
        EXPECT_EQ(headValue(c, "Received"), QStringLiteral("95"));
        EXPECT_EQ(headValue(c, "DecAmount"), QLatin1String(w.decAmount));
    }
}

TEST_F(ReceiptTest, AnEarlierWriteOffIsKept)
{
    exec(QStringLiteral("update t_ReceptionMst set DecAmount = 3"));
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("97"), [&](TFrmReceivRecord& d) {
        typeAmount(d, QStringLiteral("90"));
        dialogs().answerMessage(qx::mrYes);
        click(d.Button1);
    });
    EXPECT_EQ(headValue(c, "Received"), QStringLiteral("90"));
    EXPECT_EQ(headValue(c, "DecAmount"), QStringLiteral("3"));
}

TEST_F(ReceiptTest, ASalesPartPaymentStaysDueWithoutAQuestion)
{
    const ReceiptCase& c = receiptCase(ReceiptBill::Sale);
    run(ReceiptBill::Sale, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        typeAmount(d, QStringLiteral("60.5"));
        click(d.Button1);
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
    EXPECT_EQ(headValue(c, "Payed"), QStringLiteral("60.5"));
}

TEST_F(ReceiptTest, AnEmptyAmountIsZeroOnAWorkOrderAndNoNumberOnSalesAndPurchases)
{
    // A work order: a receipt of 0, and the whole amount written off.
    const ReceiptCase& w = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(w.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        typeAmount(d, QString());
        dialogs().answerMessage(qx::mrYes);
        click(d.Button1);
    });
    EXPECT_EQ(receipts(w), QStringLiteral("0.0/现金/2026-03-05"));
    EXPECT_EQ(headValue(w, "Received"), QStringLiteral("0"));
    EXPECT_EQ(headValue(w, "DecAmount"), QStringLiteral("100"));

    for (ReceiptBill kind : {ReceiptBill::Sale, ReceiptBill::Purchase}) {
        dialogs().clear();
        const ReceiptCase& c = receiptCase(kind);
        run(kind, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
            typeAmount(d, QString());
            dialogs().answerMessage(qx::mrOk);
            click(d.Button1);
            EXPECT_TRUE(d.isVisible());
            click(d.Button2);
        });
        ASSERT_EQ(dialogs().messages().size(), 1);
        EXPECT_TRUE(dialogs().messages().first().contains(QStringLiteral("not a valid")))
            << dialogs().messages().first().toStdString();
        EXPECT_EQ(count(QLatin1String(c.receipts)), 0);
    }
}

TEST_F(ReceiptTest, NothingDueAndNothingPaidWritesNothing)
{
    const ReceiptCase& c = receiptCase(ReceiptBill::Sale);
    run(ReceiptBill::Sale, QLatin1String(c.billNo), QStringLiteral("0.5"), [&](TFrmReceivRecord& d) {
        typeAmount(d, QStringLiteral("0"));
        click(d.Button1);
    });
    // 0.5 stays due, so a row of 0 is stored; nothing due and 0 paid stores nothing.
    EXPECT_EQ(count(QLatin1String(c.receipts)), 1);
    const ReceiptCase& w = receiptCase(ReceiptBill::WorkOrder);
    exec(QStringLiteral("update t_ReceptionMst set TotalAmount = 0"));
    run(ReceiptBill::WorkOrder, QLatin1String(w.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        d.AmountDue = Currency();
        typeAmount(d, QStringLiteral("0"));
        click(d.Button1);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(count(QLatin1String(w.receipts)), 0);
}

TEST_F(ReceiptTest, ABillWhoseHeadIsMissingKeepsTheReceiptOnly)
{
    run(ReceiptBill::WorkOrder, QStringLiteral("WX260399001"), QStringLiteral("50"), [&](TFrmReceivRecord& d) {
        click(d.Button1);
    });
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt3"), QStringLiteral("BillNo = 'WX260399001' and Amount = 50")), 1);
    EXPECT_EQ(scalar(QStringLiteral("select sum(Received) from t_ReceptionMst")), QStringLiteral("0"));
}

TEST_F(ReceiptTest, AFailedWriteRollsBackAndKeepsTheDialogOpen)
{
    exec(QStringLiteral("create trigger tr_refuse before update on t_ReceptionMst begin select raise(abort, 'refused'); end"));
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        dialogs().answerMessage(qx::mrOk);
        click(d.Button1);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.EdtAmount->Text(), QStringLiteral("100"));
        EXPECT_TRUE(d.QryReceipts->IsEmpty());
        click(d.Button2);
    });
    EXPECT_EQ(dialogs().messages(), QStringList{"存盘失败！"});
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt3")), 0);
    EXPECT_FALSE(dmdataUnit->ADOConnection->InTransaction());
}

TEST_F(ReceiptTest, EnterMovesOnAndEscCloses)
{
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("100"), [&](TFrmReceivRecord& d) {
        QApplication::setActiveWindow(&d);
        d.EdtAmount->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(d.EdtAmount, Qt::Key_Return);
        EXPECT_NE(QApplication::focusWidget(), d.EdtAmount);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt3")), 0);
}

} // namespace
} // namespace qx::documents::test

namespace qx::documents::test {
namespace {

TEST_F(ReceiptTest, EachDialogWritesItsGridLayoutToItsOwnFile)
{
    QStringList written;
    const qx::test::ScopedBinding<qx::app::GridLayoutWriter> writer(
        &qx::app::gridLayoutWriter, &qx::app::setGridLayoutWriter,
        [&](QObject&, const QString& fileName) { written << QFileInfo(fileName).fileName(); });
    for (ReceiptBill kind : {ReceiptBill::WorkOrder, ReceiptBill::Sale, ReceiptBill::Purchase}) {
        const ReceiptCase& c = receiptCase(kind);
        run(kind, QLatin1String(c.billNo), QStringLiteral("1"), [&](TFrmReceivRecord& d) { click(d.Button2); });
    }
    EXPECT_EQ(written, (QStringList{"录入收款dbgReceipts.dbg", "录入收款dbgReceipts1.dbg", "录入付款dbgReceipts2.dbg"}));
}

} // namespace
} // namespace qx::documents::test
