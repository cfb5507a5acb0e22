// Work orders whose stored values are empty or of an unexpected kind (left by another program
// or an older database): the day list still opens, an empty received amount or write-off counts
// as nothing, so the bill shows what is due and takes a payment, and a bad value in one row
// does not hide the day.
#include "tests/documents/browser/BrowserFixture.h"

#include "documents/receipts/uReceivRecord.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

namespace qx::documents::test {
namespace {

class OddValuesTest : public BrowserTest
{
};

TEST_F(OddValuesTest, EmptyMoneyCountsAsNothingInTheListTheSumsAndTheReceipt)
{
    // WX2 (200, 50 received) stays; WX1 has nothing stored for received and written off.
    exec(QStringLiteral("update t_ReceptionMst set Received = NULL, DecAmount = NULL, State = NULL where BillNo = 'WX1'"));
    exec(QStringLiteral("delete from t_ReceptionDlt3 where BillNo = 'WX1'"));
    TFrmDayIn& b = open();
    EXPECT_EQ(listedSet(), (std::set<QString>{QStringLiteral("WX1"), QStringLiteral("WX2")}));
    EXPECT_EQ(shown(b.EdtSumDue), QStringLiteral("250.00"));
    EXPECT_EQ(shown(b.EdtSumReceived), QStringLiteral("50.00"));

    selectBill(QStringLiteral("WX1"));
    EXPECT_EQ(b.QryMain->FieldByName(QStringLiteral("NoReceiv"))->AsCurrency(), Currency(100));
    dialogs().answerDialog([](QDialog& d) {
        auto& receipt = formOf<TFrmReceivRecord>(d);
        EXPECT_FALSE(receipt.ListOnly());
        EXPECT_EQ(receipt.LblDue->Caption(), QStringLiteral("应收：100"));
        QTest::mouseClick(receipt.Button1, Qt::LeftButton);
    });
    press(Qt::Key_F4);
    EXPECT_EQ(scalar(QStringLiteral("select Received from t_ReceptionMst where BillNo = 'WX1'")), QStringLiteral("100"));
    EXPECT_EQ(shown(b.EdtSumDue), QStringLiteral("150.00"));
}

TEST_F(OddValuesTest, AValueOfAnotherKindInOneRowDoesNotHideTheDay)
{
    exec(QStringLiteral("update t_ReceptionMst set TotalAmount = 'abc', Outtime = 'someday' where BillNo = 'WX1'"));
    open();
    EXPECT_EQ(listedSet(), (std::set<QString>{QStringLiteral("WX1"), QStringLiteral("WX2")}));
    EXPECT_TRUE(dialogs().messages().isEmpty()) << dialogs().messages().join(u'|').toStdString();
}

} // namespace
} // namespace qx::documents::test
