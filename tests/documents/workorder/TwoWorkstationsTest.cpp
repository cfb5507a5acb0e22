// Two workstations on one shop database: a payment or a deletion made on the other computer
// while this one has the bill open, a save while the other holds the database, and two bills
// taken in at once. Nothing written by one is lost by the other's save, and a save that cannot
// get at the database fails whole and can be repeated.
#include "OtherWorkstation.h"
#include "SaveFixture.h"

#include "documents/receipts/uReceivRecord.h"
#include "documents/workorder/WorkOrderStore.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QProcess>

namespace qx::documents::test {
namespace {

// The other workstation books money on the bill as the receipt dialog does.
void payElsewhere(OtherWorkstation& other, const char* billNo, const char* amount, const char* decAmount)
{
    other.connection.BeginTrans();
    other.exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount, acctype) "
                              "values (:b, '2026-03-05', :a, '现金')"),
               {{QStringLiteral("b"), QLatin1String(billNo)}, {QStringLiteral("a"), QLatin1String(amount)}});
    other.exec(QStringLiteral("update t_ReceptionMst set Received = "
                              "(select sum(Amount) from t_ReceptionDlt3 where BillNo = :b), DecAmount = :d "
                              "where BillNo = :b"),
               {{QStringLiteral("b"), QLatin1String(billNo)}, {QStringLiteral("d"), QLatin1String(decAmount)}});
    other.connection.CommitTrans();
}

// The other workstation deletes the bill as its browser does, inside the caller's transaction:
// the stock back first, then the bill's rows.
void deleteAsTheBrowserDoes(OtherWorkstation& other, const QString& billNo)
{
    giveBackWorkOrderStock(other.connection, billNo);
    for (const char* table : {"t_ReceptionMst", "t_ReceptionDlt", "t_ReceptionDlt2", "t_ReceptionDlt3"})
        other.exec(QStringLiteral("delete from %1 where BillNo = :b").arg(QLatin1String(table)),
                   {{QStringLiteral("b"), billNo}});
}

// Closes the receipt prompt unpaid, after checking the amount it asks for.
void expectReceiptPrompt(const QString& due)
{
    dialogs().answerDialog([due](QDialog& d) {
        EXPECT_EQ(formOf<TFrmReceivRecord>(d).LblDue->Caption(), due);
        d.reject();
    });
}

TEST_F(SaveTest, MoneyBookedElsewhereWhileTheBillIsOpenSurvivesItsSave)
{
    // The stored bill: 210 in all, nothing received.
    const struct
    {
        const char* received;
        const char* decAmount;
        const char* prompt; // the receipt prompt's amount after the save; none when all is settled
    } cases[] = {
        {"100", "0", "应收：110"},
        {"200", "10", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.received);
        exec(QStringLiteral("delete from t_ReceptionDlt3"));
        exec(QStringLiteral("update t_ReceptionMst set Received = 0, DecAmount = 0"));
        run("WX260301001", [&](TFrmReceptionRct& e) {
            OtherWorkstation other;
            payElsewhere(other, "WX260301001", c.received, c.decAmount);
            enterInto(e.EdtLinkMen, QStringLiteral("Li"));
            if (c.prompt)
                expectReceiptPrompt(QString::fromUtf8(c.prompt));
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
            EXPECT_FALSE(e.isVisible());
        });
        EXPECT_EQ(scalar(QStringLiteral("select LinkMen from t_ReceptionMst")), QStringLiteral("Li"));
        EXPECT_EQ(scalar(QStringLiteral("select Received from t_ReceptionMst")), QLatin1String(c.received));
        EXPECT_EQ(scalar(QStringLiteral("select DecAmount from t_ReceptionMst")), QLatin1String(c.decAmount));
        EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt3")), 1);
    }
}

TEST_F(SaveTest, ABillDeletedElsewhereWhileOpenIsStoredAgainWithItsStock)
{
    stockGates(true, QStringLiteral("是"));
    exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, Amount) values ('WX260301001', 50)"));
    exec(QStringLiteral("update t_ReceptionMst set Received = 50"));
    run("WX260301001", [](TFrmReceptionRct& e) {
        // The other workstation deletes the bill as its browser does: stock back, then the rows.
        OtherWorkstation other;
        other.connection.BeginTrans();
        deleteAsTheBrowserDoes(other, QStringLiteral("WX260301001"));
        other.connection.CommitTrans();
        // Its receipts went with it: the whole bill is due again.
        expectReceiptPrompt(QStringLiteral("应收：210"));
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001"));
    EXPECT_EQ(itemsOf("WX260301001"), QStringLiteral("X1 Y2"));
    EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P01*2@18.0"));
    // 5 + 2 given back by the delete, 2 taken by the save.
    EXPECT_EQ(stockOf("P01"), QStringLiteral("5"));
    EXPECT_EQ(scalar(QStringLiteral("select Received from t_ReceptionMst")), QStringLiteral("0"));
}

TEST_F(SaveTest, ASaveWhileTheOtherWorkstationWritesFailsWholeAndCanBeRepeated)
{
    stockGates(true, QStringLiteral("是"));
    OtherWorkstation other;
    const ShortBusyWait shortWait(*module->ADOConnection);
    run("", [&](TFrmReceptionRct& e) {
        enterInto(e.EdtModel, QStringLiteral("NEWMODEL"));
        newLine(e.dbgDetail2, QStringLiteral("P01"));
        typeCell(e.dbgDetail2, 2, QStringLiteral("2"));
        postLine(e.dbgDetail2);

        other.connection.BeginTrans();
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(dialogs().messages(), QStringList{"存盘失败！"});
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("新单"));
        EXPECT_EQ(e.CurrentBillNo, QString());
        EXPECT_EQ(e.TblDetail2->RecordCount(), 1);

        // The other workstation takes in a bill of its own meanwhile and finishes.
        other.exec(QStringLiteral("insert into t_ReceptionMst (BillNo, INtime, BillDate) "
                                  "values ('WX260305001', '2026-03-05', '2026-03-05')"));
        other.connection.CommitTrans();
        expectReceiptPrompt(QStringLiteral("应收：60"));
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001 WX260305002"));
    EXPECT_EQ(partsOf("WX260305002"), QStringLiteral("P01*2@18.0"));
    EXPECT_EQ(stockOf("P01"), QStringLiteral("3"));
    EXPECT_EQ(count(QStringLiteral("t_Model"), QStringLiteral("Model = 'NEWMODEL'")), 1);
}

TEST_F(SaveTest, ABillTakenInByAnotherProgramMeanwhileGetsItsOwnNumber)
{
    for (const char* code : {"P03", "P04"})
        exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty) values (:c, :c, 100)"),
             {{QStringLiteral("c"), QLatin1String(code)}});
    run("", [&](TFrmReceptionRct& e) {
        newLine(e.dbgDetail1, QStringLiteral("X1"));
        postLine(e.dbgDetail1);
        // Another program saves new bills of the same day while this one is being typed.
        QProcess worker;
        worker.start(QStringLiteral(QX_SAVE_WORKER),
                     {DatabasePath, saveDay().toString(Qt::ISODate), QStringLiteral("new"), QStringLiteral("2")});
        ASSERT_TRUE(worker.waitForFinished(30000));
        EXPECT_EQ(worker.exitCode(), 0) << worker.readAllStandardError().toStdString();
        expectReceiptPrompt(QStringLiteral("应收：100"));
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001 WX260305002 WX260305003"));
    EXPECT_EQ(itemsOf("WX260305003"), QStringLiteral("X1"));
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt"), QStringLiteral("BillNo = 'WX260305001'")), 3);
}

TEST_F(SaveTest, ABillWhoseNumberWentToAnotherBillMeanwhileIsSavedUnderANewNumber)
{
    stockGates(true, QStringLiteral("是"));
    run("WX260301001", [](TFrmReceptionRct& e) {
        // The other workstation deletes the bill, stock back, and its next new bill gets the
        // freed number, taking one P02.
        OtherWorkstation other;
        other.connection.BeginTrans();
        deleteAsTheBrowserDoes(other, QStringLiteral("WX260301001"));
        other.exec(QStringLiteral("insert into t_ReceptionMst (BillNo, INtime, CName) values ('WX260301001', '2026-03-01', '李四')"));
        other.exec(QStringLiteral("insert into t_ReceptionDlt2 (BillNo, ItemCode, Qty) values ('WX260301001', 'P02', 1)"));
        other.exec(QStringLiteral("update t_Stock set Qty = Qty - 1 where ItemCode = 'P02'"));
        other.connection.CommitTrans();
        expectReceiptPrompt(QStringLiteral("应收：210"));
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001"));
    EXPECT_EQ(scalar(QStringLiteral("select CName from t_ReceptionMst where BillNo = 'WX260301001'")), QStringLiteral("李四"));
    EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P02*1@0.0"));
    EXPECT_EQ(scalar(QStringLiteral("select CName from t_ReceptionMst where BillNo = 'WX260305001'")), QStringLiteral("张三"));
    EXPECT_EQ(partsOf("WX260305001"), QStringLiteral("P01*2@18.0"));
    EXPECT_EQ(itemsOf("WX260305001"), QStringLiteral("X1 Y2"));
    // P01: 5 + 2 back − 2 taken; P02: 9 − 1, nothing given back for the other's bill.
    EXPECT_EQ(stockOf("P01"), QStringLiteral("5"));
    EXPECT_EQ(stockOf("P02"), QStringLiteral("8"));
}

} // namespace
} // namespace qx::documents::test
