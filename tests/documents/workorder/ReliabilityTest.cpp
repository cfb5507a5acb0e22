// Saves survive a killed program and a second workstation: a child that saves work orders in a
// loop is killed at random moments, and afterwards the database is sound, holds no partial
// bill and no stock moved for a bill that is not stored, and every save that returned is
// there whole; two children saving new bills of one day at once get distinct numbers and see
// no error.
#include "tests/app/master/MasterFixture.h"
#include "tests/documents/workorder/worker/WorkerBill.h"

#include <QDate>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

constexpr int kStartStock = 100000;

class ReliabilityTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        for (const char* code : kWorkerParts)
            exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty) values (:c, :c, :q)"),
                 {{QStringLiteral("c"), QLatin1String(code)}, {QStringLiteral("q"), kStartStock}});
        exec(QStringLiteral("insert into tVehicle (VIN) values ('SN100')"));
    }

    static QStringList workerArgs(const QDate& day, const QStringList& mode)
    {
        return QStringList{DatabasePath, day.toString(Qt::ISODate)} + mode;
    }

    // The numbers a worker reported saved.
    static QStringList savedNumbers(const QByteArray& output)
    {
        QStringList numbers;
        for (const QByteArray& line : output.split('\n'))
            if (line.startsWith("saved "))
                numbers << QString::fromLatin1(line.mid(6));
        return numbers;
    }

    // The database is sound and every bill in it is whole, with its stock and no other.
    void expectConsistent(const QStringList& returned)
    {
        EXPECT_EQ(scalar(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
        EXPECT_EQ(count(QStringLiteral("t_ReceptionMst h"),
                        QStringLiteral("(select count(*) from t_ReceptionDlt d where d.BillNo = h.BillNo) <> %1 "
                                       "or (select count(*) from t_ReceptionDlt2 d where d.BillNo = h.BillNo) <> %2")
                            .arg(kWorkerItems)
                            .arg(std::size(kWorkerParts))),
                  0);
        for (const char* lines : {"t_ReceptionDlt", "t_ReceptionDlt2"})
            EXPECT_EQ(count(QLatin1String(lines),
                            QStringLiteral("BillNo not in (select BillNo from t_ReceptionMst)")),
                      0);
        EXPECT_EQ(count(QStringLiteral("t_Stock s"),
                        QStringLiteral("s.Qty + (select ifnull(sum(d.Qty), 0) from t_ReceptionDlt2 d "
                                       "where d.ItemCode = s.ItemCode) <> %1")
                            .arg(kStartStock)),
                  0);
        EXPECT_EQ(count(QStringLiteral("t_Stock"), QStringLiteral("ItemCode is null")), 0);
        for (const QString& number : returned)
            ASSERT_EQ(count(QStringLiteral("t_ReceptionMst"), QStringLiteral("BillNo = :b"), {{QStringLiteral("b"), number}}), 1)
                << number.toStdString();
    }
};

TEST_F(ReliabilityTest, AKilledSaveLeavesNoPartialBillAndLosesNoReturnedSave)
{
    QRandomGenerator random(36);
    QStringList returned;
    int killedWhileSaving = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        QProcess worker;
        // A day of its own per round, so the day's numbers never run out.
        worker.start(QStringLiteral(QX_SAVE_WORKER), workerArgs(QDate(2026, 3, 5).addDays(round), {"loop"}));
        ASSERT_TRUE(worker.waitForStarted(10000));
        QByteArray output;
        while (!output.contains("ready\n") && worker.waitForReadyRead(10000))
            output += worker.readAllStandardOutput();
        ASSERT_TRUE(output.contains("ready\n")) << worker.readAllStandardError().toStdString();
        QThread::usleep(random.bounded(1000, 60000));
        worker.kill();
        ASSERT_TRUE(worker.waitForFinished(10000));
        output += worker.readAllStandardOutput();
        EXPECT_TRUE(worker.readAllStandardError().isEmpty());
        const QStringList saved = savedNumbers(output);
        killedWhileSaving += saved.isEmpty() ? 0 : 1;
        returned += saved;
        expectConsistent(saved);
        if (HasFatalFailure())
            return;
    }
    expectConsistent(returned);
    // The kills met the workers at work, not only before their first save.
    EXPECT_GT(killedWhileSaving, 60);
    RecordProperty("returned_saves", int(returned.size()));
    std::printf("killed 200 workers; %lld saves had returned, %d stored heads\n", qlonglong(returned.size()),
                count(QStringLiteral("t_ReceptionMst")));
}

TEST_F(ReliabilityTest, TwoWorkstationsSavingAtOnceGetDistinctNumbers)
{
    // Two workers of 499 new bills each; the day's 999th number and the refusal after it
    // follow.
    const QDate day(2026, 3, 5);
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(QX_SAVE_WORKER), workerArgs(day, {"new", "499"}));
    second.start(QStringLiteral(QX_SAVE_WORKER), workerArgs(day, {"new", "499"}));
    for (QProcess* worker : {&first, &second}) {
        ASSERT_TRUE(worker->waitForFinished(100000));
        EXPECT_EQ(worker->exitCode(), 0);
        EXPECT_EQ(worker->readAllStandardError(), QByteArray());
    }
    const QStringList numbers = savedNumbers(first.readAllStandardOutput()) + savedNumbers(second.readAllStandardOutput());
    EXPECT_EQ(numbers.size(), 998);
    EXPECT_EQ(QSet<QString>(numbers.begin(), numbers.end()).size(), 998);
    expectConsistent(numbers);

    QProcess last;
    last.start(QStringLiteral(QX_SAVE_WORKER), workerArgs(day, {"new", "2"}));
    ASSERT_TRUE(last.waitForFinished(30000));
    EXPECT_EQ(savedNumbers(last.readAllStandardOutput()), QStringList{"WX260305999"});
    EXPECT_EQ(last.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(last.readAllStandardError()).contains(QStringLiteral("单号已用完")));
    EXPECT_EQ(count(QStringLiteral("t_ReceptionMst")), 999);
    expectConsistent({});
    std::printf("two workers saved %lld bills of one day with %lld distinct numbers\n", qlonglong(numbers.size()),
                qlonglong(QSet<QString>(numbers.begin(), numbers.end()).size()));
}

} // namespace
} // namespace qx::documents::test
