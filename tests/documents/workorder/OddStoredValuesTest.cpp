// A stored work order whose values are empty or of another kind (left by another program or an
// older database) opens in the editor, is refused for its empty date-in with the save's own
// message, and saves whole once the date is typed, its sums computed again from its lines.
#include "SaveFixture.h"

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, AStoredBillWithEmptyAndOddValuesOpensAndSavesWhole)
{
    exec(QStringLiteral("update t_ReceptionMst set INtime = NULL, State = NULL, Received = NULL, DecAmount = NULL, "
                        "TotalAmount = 'abc', PartsAmount = NULL, Mileage = 'far'"));
    exec(QStringLiteral("update t_ReceptionDlt2 set Price = NULL"));
    exec(QStringLiteral("update t_ReceptionDlt set TimeAmount = 'x' where SItemCode = 'Y2'"));
    run("WX260301001", [](TFrmReceptionRct& e) {
        EXPECT_EQ(e.EdtINtime->Text(), QString());
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(dialogs().messages(), QStringList{"进厂日期不能为空"});
        enterInto(e.EdtINtime, QStringLiteral("2026-03-02"));
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(scalar(QStringLiteral("select INtime from t_ReceptionMst")), QStringLiteral("2026-03-02"));
    EXPECT_EQ(scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(itemsOf("WX260301001"), QStringLiteral("X1 Y2"));
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt2"), QStringLiteral("BillNo = 'WX260301001'")), 1);
    // The total is the stored labour (150) and the part's amount (60); the empty received
    // amount stays empty, which the lists count as nothing.
    EXPECT_EQ(scalar(QStringLiteral("select TotalAmount from t_ReceptionMst")), QStringLiteral("210"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from t_ReceptionMst where Received is null")), QStringLiteral("1"));
}

} // namespace
} // namespace qx::documents::test
