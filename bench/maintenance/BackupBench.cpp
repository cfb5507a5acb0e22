// The backup of the shop database ("备份数据") against a raw copy of the same file, in the same
// run, on a shop database of at least 256 MB:
//  - ours: qx::app::backupDatabase, the routine behind the menu and the exit dialog: the online
//    backup API into a temporary file beside the target, flushed to the disk, renamed into place;
//  - maintenance.backup_256mb: the peer is the file copied by the kernel (std::filesystem::
//    copy_file) and flushed to the disk, which is what a backup must be before it counts;
//  - maintenance.backup_256mb_unflushed: the same copy left in the page cache, as `cp` leaves it,
//    shown for scale.
// Both read the database from the page cache (it was just written); each takes the best of
// three runs into a new file.
#include "app/maintenance/DatabaseMaintenance.h"
#include "app/schema/DatabaseBuilder.h"
#include "bench/support/BenchReport.h"
#include "platform/db/sql/SqliteBackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

#include <sqlite3.h>

namespace {

constexpr qint64 kMinimumSize = 256LL * 1024 * 1024;

// Customers, work orders and their lines until the file passes the minimum size.
void fillShop(const QString& file)
{
    qx::SqliteFile db(file, qx::SqliteFile::ReadWrite);
    db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
    for (int batch = 0; QFileInfo(file).size() < kMinimumSize; ++batch) {
        const QByteArray sql =
            "BEGIN;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
            "INSERT INTO t_Client (CCode, CName, Tel, Addr, Remark) "
            "SELECT 'C" + QByteArray::number(batch) + "-' || i, '客户' || i, '1380000' || i, "
            "'某市某区某路' || i || '号', hex(randomblob(60)) FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
            "INSERT INTO t_ReceptionMst (BillNo, BillDate, INtime, CCode, CName, VIN, Model, Remark, "
            "TimesAmount, PartsAmount, TotalAmount) "
            "SELECT 'WX" + QByteArray::number(batch) + "-' || i, '2024-01-01', '2024-01-01', 'C' || i, "
            "'客户' || i, 'SN' || hex(randomblob(8)), 'M' || (i % 40), hex(randomblob(40)), "
            "i % 300, i % 500, i % 800 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
            "INSERT INTO t_ReceptionDlt2 (BillNo, ItemCode, ItemName, Qty, Price, Amount) "
            "SELECT 'WX" + QByteArray::number(batch) + "-' || (i / 2), 'P' || (i % 5000), '配件' || (i % 5000), "
            "1 + i % 3, 10.5, 10.5 * (1 + i % 3) FROM n;"
            "COMMIT;";
        db.exec(sql.constData());
    }
}

void rawCopy(const QString& from, const QString& to, bool flush)
{
    std::filesystem::copy_file(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(),
                               std::filesystem::copy_options::overwrite_existing);
    if (flush)
        qx::syncFile(to);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString database = dir.filePath(QStringLiteral("Account.mdb"));
    qx::app::buildDatabase(database);
    fillShop(database);
    const qint64 size = QFileInfo(database).size();
    std::printf("database: %.1f MB\n", size / 1048576.0);

    const QString backupFolder = dir.filePath(QStringLiteral("Backup"));
    QDir().mkpath(backupFolder);
    int run = 0;
    auto nextTarget = [&] {
        const QString target = QDir(backupFolder).filePath(QStringLiteral("Bck%1.KWB").arg(++run));
        QFile::remove(target);
        return target;
    };
    bool ok = true;
    const double ours = qxbench::timeBest([&] {
        const QString target = nextTarget();
        ok = qx::app::backupDatabase(database, target) && ok;
        QFile::remove(target);
    });
    const double flushedCopy = qxbench::timeBest([&] {
        const QString target = nextTarget();
        rawCopy(database, target, true);
        QFile::remove(target);
    });
    const double plainCopy = qxbench::timeBest([&] {
        const QString target = nextTarget();
        rawCopy(database, target, false);
        QFile::remove(target);
    });
    if (!ok) {
        std::fprintf(stderr, "a backup failed\n");
        return 1;
    }
    qxbench::report(QStringLiteral("maintenance.backup_256mb"), ours, flushedCopy, 1.5);
    qxbench::report(QStringLiteral("maintenance.backup_256mb_unflushed"), ours, plainCopy, 1.5);
    return 0;
}
