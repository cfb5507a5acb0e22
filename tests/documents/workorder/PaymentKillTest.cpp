// Payments survive a killed program: a child that takes payments through the receipt dialog is
// killed at random moments, and afterwards the database is sound, every bill's received amount
// is the sum of its receipts, and every payment that had returned is stored.
#include "tests/app/master/MasterFixture.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

class PaymentKillTest : public MasterTest
{
};

TEST_F(PaymentKillTest, AKilledPaymentIsStoredWholeOrNotAtAll)
{
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo, INtime, TotalAmount, Received, DecAmount) values "
                        "('WX260305001', '2026-03-05', 100000, 0, 0), ('WX260305002', '2026-03-05', 100000, 0, 0)"));
    QRandomGenerator random(105);
    int returned = 0;
    int killedWhilePaying = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        QProcess worker;
        worker.start(QStringLiteral(QX_PAY_WORKER),
                     {database.programFolder(), QStringLiteral("WX260305001"), QStringLiteral("WX260305002")});
        ASSERT_TRUE(worker.waitForStarted(10000));
        QByteArray output;
        while (!output.contains("ready\n") && worker.waitForReadyRead(10000))
            output += worker.readAllStandardOutput();
        ASSERT_TRUE(output.contains("ready\n")) << worker.readAllStandardError().toStdString();
        QThread::usleep(random.bounded(20000, 300000));
        worker.kill();
        ASSERT_TRUE(worker.waitForFinished(10000));
        output += worker.readAllStandardOutput();
        const QByteArray errors = worker.readAllStandardError();
        EXPECT_FALSE(errors.contains("error: ")) << errors.toStdString();
        const int paid = int(output.count("paid "));
        killedWhilePaying += paid > 0 ? 1 : 0;
        returned += paid;

        EXPECT_EQ(scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
        EXPECT_EQ(count(QStringLiteral("t_ReceptionMst h"),
                        QStringLiteral("h.Received <> (select ifnull(sum(Amount), 0) from t_ReceptionDlt3 r "
                                       "where r.BillNo = h.BillNo)")),
                  0);
        ASSERT_GE(count(QStringLiteral("t_ReceptionDlt3")), returned);
        // A kill lands on at most one payment under way.
        ASSERT_LE(count(QStringLiteral("t_ReceptionDlt3")), returned + round + 1);
    }
    EXPECT_GT(killedWhilePaying, 10);
    std::printf("killed 40 payers; %d payments had returned, %d stored\n", returned,
                count(QStringLiteral("t_ReceptionDlt3")));
}

} // namespace
} // namespace qx::documents::test
