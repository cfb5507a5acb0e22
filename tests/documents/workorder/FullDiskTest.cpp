// A save on a full disk: the save that cannot write says so, keeps the bill on the screen for
// another try, and leaves the database whole, with nothing of the bill in it; once there is
// room again the same bill saves.
#include "SaveFixture.h"

#include "tests/support/FileSizeLimit.h"

#include "platform/db/sql/ADOConnection.h"

#include <QFileInfo>

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, ASaveOnAFullDiskFailsWholeAndSavesOnceThereIsRoom)
{
    stockGates(true, QStringLiteral("是"));
    // Long lines, so the bill needs new pages of the database file.
    exec(QStringLiteral("update t_Stock set ItemName = :n where ItemCode = 'P01'"),
         {{QStringLiteral("n"), QString(60, u'屏')}});
    const qint64 size = QFileInfo(DatabasePath).size();
    const struct
    {
        const char* where;
        qint64 limit;
    } cases[] = {
        {"no room for the journal", 1024},
        {"no room to grow the database", size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        dialogs().clear();
        exec(QStringLiteral("update t_Stock set Qty = 50 where ItemCode = 'P01'"));
        const QString before = billNumbers();
        run("", [&](TFrmReceptionRct& e) {
            enterInto(e.EdtClientEvent, QString(200, u'x'));
            for (int i = 0; i < 40; ++i) {
                newLine(e.dbgDetail2, QStringLiteral("P01"));
                typeCell(e.dbgDetail2, 2, QStringLiteral("1"));
                postLine(e.dbgDetail2);
            }
            {
                const qxtest::FileSizeLimit full(c.limit);
                ASSERT_TRUE(full.ok());
                dialogs().answerMessage(qx::mrOk);
                QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
            }
            EXPECT_TRUE(e.isVisible());
            EXPECT_EQ(dialogs().messages(), QStringList{"存盘失败！"});
            EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("新单"));
            EXPECT_EQ(e.TblDetail2->RecordCount(), 40);
            EXPECT_EQ(e.EdtClientEvent->Text(), QString(200, u'x'));
            EXPECT_FALSE(dmdataUnit->ADOConnection->InTransaction());
            // The database is whole and holds nothing of the bill.
            EXPECT_EQ(scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
            EXPECT_EQ(billNumbers(), before);
            EXPECT_EQ(stockOf("P01"), QStringLiteral("50"));
            EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt2"), QStringLiteral("BillNo <> 'WX260301001'")), 0);
            // With room again the same bill saves.
            dialogs().answerDialog([](QDialog& d) { d.reject(); });
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
            EXPECT_FALSE(e.isVisible());
        });
        EXPECT_EQ(stockOf("P01"), QStringLiteral("10"));
        EXPECT_EQ(scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
        exec(QStringLiteral("delete from t_ReceptionDlt2 where BillNo <> 'WX260301001'"));
        exec(QStringLiteral("delete from t_ReceptionMst where BillNo <> 'WX260301001'"));
        exec(QStringLiteral("vacuum"));
    }
}

} // namespace
} // namespace qx::documents::test
