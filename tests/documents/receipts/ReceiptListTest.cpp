// A bill with nothing due opens as the list of its receipts alone; corrections made there
// set the head's amount to the new sum when the dialog closes, and a receipt another
// workstation changed meanwhile is refused, not overwritten.
#include "ReceiptFixture.h"

#include "platform/db/sql/ADOConnection.h"

namespace qx::documents::test {
namespace {

class ReceiptListTest : public ReceiptTest
{
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount, acctype) values "
                            "('WX260305001', '2026-03-01', 60, '现金'), ('WX260305001', '2026-03-02', 40, '支票')"));
        exec(QStringLiteral("update t_ReceptionMst set Received = 100, DecAmount = 2"));
    }

    // Types text over the current row's cell of column and leaves the row, as the user does.
    static void retypeCell(TQxDBGrid* grid, int column, const QString& text)
    {
        grid->setFocus(Qt::MouseFocusReason);
        grid->SetSelectedIndex(column);
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

TEST_F(ReceiptListTest, NothingDueShowsOnlyTheListAndACorrectionUpdatesTheHeadOnClose)
{
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("0"), [&](TFrmReceivRecord& d) {
        QApplication::setActiveWindow(&d);
        EXPECT_TRUE(d.ListOnly());
        EXPECT_FALSE(d.pnlEntry->isVisible());
        EXPECT_FALSE(d.pnlButtons->isVisible());
        EXPECT_TRUE(d.dbgReceipts->isVisible());
        EXPECT_EQ(d.dbgReceipts->geometry().height(), d.height());
        EXPECT_EQ(d.QryReceipts->RecordCount(), 2);
        d.QryReceipts->First();
        retypeCell(d.dbgReceipts, 2, QStringLiteral("50"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(Amount, ' ') from t_ReceptionDlt3")), QStringLiteral("50.0 40.0"));
    EXPECT_EQ(headValue(c, "Received"), QStringLiteral("90"));
    EXPECT_EQ(headValue(c, "DecAmount"), QStringLiteral("2"));
}

TEST_F(ReceiptListTest, AReceiptChangedElsewhereIsNotOverwritten)
{
    TADOConnection other;
    other.setConnectionString(dmdataUnit->ADOConnection->ConnectionString());
    other.Open();
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("0"), [&](TFrmReceivRecord& d) {
        QApplication::setActiveWindow(&d);
        other.Execute(QStringLiteral("update t_ReceptionDlt3 set Amount = 70 where Amount = 60"));
        d.QryReceipts->First();
        retypeCell(d.dbgReceipts, 2, QStringLiteral("50"));
        dialogs().answerMessage(qx::mrOk);
        d.Close();
    });
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages().first().contains(QStringLiteral("Row cannot be located")))
        << dialogs().messages().first().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(Amount, ' ') from t_ReceptionDlt3")), QStringLiteral("70.0 40.0"));
    EXPECT_EQ(headValue(c, "Received"), QStringLiteral("100"));
}

} // namespace
} // namespace qx::documents::test

namespace qx::documents::test {
namespace {

TEST_F(ReceiptListTest, ACorrectionWhoseHeadCannotBeUpdatedIsNotStoredEither)
{
    exec(QStringLiteral("create trigger tr_refuse before update on t_ReceptionMst begin select raise(abort, 'refused'); end"));
    const ReceiptCase& c = receiptCase(ReceiptBill::WorkOrder);
    run(ReceiptBill::WorkOrder, QLatin1String(c.billNo), QStringLiteral("0"), [&](TFrmReceivRecord& d) {
        QApplication::setActiveWindow(&d);
        d.QryReceipts->First();
        retypeCell(d.dbgReceipts, 2, QStringLiteral("50"));
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs().messages().size(), 1);
    // The receipts and the head's amount still agree.
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(Amount, ' ') from t_ReceptionDlt3")), QStringLiteral("60.0 40.0"));
    EXPECT_EQ(headValue(c, "Received"), QStringLiteral("100"));
    EXPECT_FALSE(dmdataUnit->ADOConnection->InTransaction());
}

} // namespace
} // namespace qx::documents::test
