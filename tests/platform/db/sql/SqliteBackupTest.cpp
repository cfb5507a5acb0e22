// Whole-database work on SQLite files: own handles (read-only, exclusive), the online-backup
// copy that is whole or nothing, VACUUM INTO, the integrity check and backups renamed into place.
#include "SqlTestSupport.h"

#include "platform/db/sql/SqliteStatement.h"
#include "platform/db/sql/SqliteBackup.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace sqlite_backup_test {

// A database file of its own with `rows` rows of some bulk in table t.
void makeDatabase(const QString& path, int rows, const QString& tag = QStringLiteral("a"))
{
    TADOConnection::CreateDatabase(path);
    qx::SqliteFile db(path, qx::SqliteFile::ReadWrite);
    db.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, tag TEXT, body TEXT)");
    TADOConnection c;
    c.setConnectionString(QStringLiteral("Data Source=") + path);
    c.Open();
    c.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < :rows) "
                             "INSERT INTO t (tag, body) SELECT :tag, hex(randomblob(200)) FROM n"),
              {{QStringLiteral("rows"), rows}, {QStringLiteral("tag"), tag}});
}

qint64 countRows(sqlite3* db, const char* sql = "SELECT count(*) FROM t")
{
    qx::SqliteStatement stmt(db, sql);
    return qx::stepStatement(db, stmt.get()) ? qx::columnVariant(stmt.get(), 0).toLongLong() : -1;
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class SqliteBackupTest : public SqlFixture
{
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

TEST_F(SqliteBackupTest, CopyMakesTheTargetTheSourceAndShrinksIt)
{
    makeDatabase(path("big.db"), 2000, QStringLiteral("old"));
    makeDatabase(path("small.db"), 10, QStringLiteral("new"));
    const qint64 bigSize = QFileInfo(path("big.db")).size();
    {
        qx::SqliteFile from(path("small.db"), qx::SqliteFile::ReadOnly);
        qx::SqliteFile into(path("big.db"), qx::SqliteFile::Exclusive);
        qx::copyDatabase(from.handle(), into.handle());
    }
    qx::SqliteFile check(path("big.db"), qx::SqliteFile::ReadOnly);
    EXPECT_EQ(countRows(check.handle()), 10);
    EXPECT_EQ(countRows(check.handle(), "SELECT count(*) FROM t WHERE tag = 'new'"), 10);
    EXPECT_TRUE(qx::databaseIntact(check.handle()));
    EXPECT_LT(QFileInfo(path("big.db")).size(), bigSize / 10);
}

TEST_F(SqliteBackupTest, CopyIntoATargetAnotherConnectionWritesFailsAndChangesNothing)
{
    makeDatabase(path("from.db"), 50, QStringLiteral("from"));
    makeDatabase(path("into.db"), 20, QStringLiteral("into"));
    TADOConnection writer;
    writer.setConnectionString(QStringLiteral("Data Source=") + path("into.db"));
    writer.Open();
    writer.BeginTrans();
    writer.Execute(QStringLiteral("DELETE FROM t WHERE id = 1"));

    qx::SqliteFile from(path("from.db"), qx::SqliteFile::ReadOnly);
    qx::SqliteFile into(path("into.db"), qx::SqliteFile::ReadWrite, 50);
    EXPECT_THROW(qx::copyDatabase(from.handle(), into.handle()), EDatabaseError);
    writer.RollbackTrans();

    EXPECT_EQ(countRows(into.handle()), 20);
    EXPECT_EQ(countRows(into.handle(), "SELECT count(*) FROM t WHERE tag = 'into'"), 20);
    EXPECT_TRUE(qx::databaseIntact(into.handle()));
}

TEST_F(SqliteBackupTest, ExclusiveHandleWaitsForOthersAndThenKeepsThemOut)
{
    makeDatabase(path("shop.db"), 5);
    {
        TADOConnection writer;
        writer.setConnectionString(QStringLiteral("Data Source=") + path("shop.db"));
        writer.Open();
        writer.BeginTrans();
        writer.Execute(QStringLiteral("DELETE FROM t"));
        EXPECT_THROW(qx::SqliteFile(path("shop.db"), qx::SqliteFile::Exclusive, 50), EDatabaseError);
        writer.RollbackTrans();
    }
    qx::SqliteFile held(path("shop.db"), qx::SqliteFile::Exclusive, 50);
    EXPECT_THROW(qx::SqliteFile(path("shop.db"), qx::SqliteFile::ReadOnly, 50), EDatabaseError);
    held.close();
    qx::SqliteFile reader(path("shop.db"), qx::SqliteFile::ReadOnly, 50);
    EXPECT_EQ(countRows(reader.handle()), 5);
}

struct OpenCase
{
    const char* name;
    QByteArray content;
    bool opens;
};

TEST_F(SqliteBackupTest, ReadOnlyHandleRefusesWhatIsNoDatabase)
{
    const OpenCase cases[] = {
        {"text", QByteArray("这不是数据库\r\nnot a database either\r\n"), false},
        {"header only", QByteArray("SQLite format 3", 16) + QByteArray(84, '\xff'), false},
        {"empty", QByteArray(), true}, // an empty file is an empty database
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile f(path("probe.db"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(c.content), c.content.size());
        f.close();
        if (c.opens)
            EXPECT_NO_THROW(qx::SqliteFile(path("probe.db"), qx::SqliteFile::ReadOnly));
        else
            EXPECT_THROW(qx::SqliteFile(path("probe.db"), qx::SqliteFile::ReadOnly), EDatabaseError);
    }
    EXPECT_THROW(qx::SqliteFile(path("missing.db"), qx::SqliteFile::ReadOnly), EDatabaseError);
    EXPECT_FALSE(QFileInfo::exists(path("missing.db")));
}

// A damaged file is refused either when it is opened or by the integrity check, and a file
// whose schema still reads but whose pages are garbled fails the check itself.
TEST_F(SqliteBackupTest, DamagedDatabaseFailsTheIntegrityCheck)
{
    makeDatabase(path("whole.db"), 500);
    QFile whole(path("whole.db"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    ASSERT_GT(bytes.size(), 40 * 4096);
    QByteArray garbled = bytes;
    garbled.replace(20 * 4096, 4096, QByteArray(4096, '\x5a'));
    const struct
    {
        const char* name;
        QByteArray content;
    } damaged[] = {
        {"cut in half", bytes.left(bytes.size() / 2)},
        {"cut at a page", bytes.left(30 * 4096)},
        {"garbled page", garbled},
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.name);
        QFile f(path("damaged.db"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(c.content), c.content.size());
        f.close();
        bool intact = true;
        try {
            qx::SqliteFile db(path("damaged.db"), qx::SqliteFile::ReadOnly);
            intact = qx::databaseIntact(db.handle());
        } catch (const EDatabaseError&) {
            intact = false;
        }
        EXPECT_FALSE(intact);
    }
    qx::SqliteFile garbledFile(path("damaged.db"), qx::SqliteFile::ReadOnly);
    EXPECT_FALSE(qx::databaseIntact(garbledFile.handle()));
    qx::SqliteFile intact(path("whole.db"), qx::SqliteFile::ReadOnly);
    EXPECT_TRUE(qx::databaseIntact(intact.handle()));
}

TEST_F(SqliteBackupTest, VacuumIntoRefusesAFileThatHoldsSomething)
{
    makeDatabase(path("shop.db"), 300);
    {
        TADOConnection c;
        c.setConnectionString(QStringLiteral("Data Source=") + path("shop.db"));
        c.Open();
        c.Execute(QStringLiteral("DELETE FROM t WHERE id > 10"));
    }
    QFile leftover(path("left.db"));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("left from last time");
    leftover.close();
    QFile(path("empty.db")).open(QIODevice::WriteOnly);

    qx::SqliteFile shop(path("shop.db"), qx::SqliteFile::ReadOnly);
    EXPECT_THROW(qx::vacuumInto(shop.handle(), path("left.db")), EDatabaseError);
    QFile again(path("left.db"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("left from last time"));

    qx::vacuumInto(shop.handle(), path("empty.db"));
    qx::vacuumInto(shop.handle(), path("new.db"));
    for (const char* name : {"empty.db", "new.db"}) {
        SCOPED_TRACE(name);
        qx::SqliteFile copy(path(name), qx::SqliteFile::ReadOnly);
        EXPECT_EQ(countRows(copy.handle()), 10);
        EXPECT_LT(QFileInfo(path(name)).size(), QFileInfo(path("shop.db")).size() / 4);
    }
}

TEST_F(SqliteBackupTest, BackupFileReplacesAnOldOneAndLeavesNoTemporaryFile)
{
    makeDatabase(path("shop.db"), 40, QStringLiteral("shop"));
    QDir(dir.path()).mkdir(QStringLiteral("Backup"));
    const QString folder = dir.filePath(QStringLiteral("Backup"));
    const QString target = QDir(folder).filePath(QStringLiteral("Bck20060305.KWB"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup");
    old.close();

    qx::SqliteFile shop(path("shop.db"), qx::SqliteFile::ReadOnly);
    qx::backupToFile(shop.handle(), target);
    EXPECT_EQ(folderEntries(folder), QStringList{QStringLiteral("Bck20060305.KWB")});
    qx::SqliteFile copy(target, qx::SqliteFile::ReadOnly);
    EXPECT_EQ(countRows(copy.handle(), "SELECT count(*) FROM t WHERE tag = 'shop'"), 40);
    EXPECT_TRUE(qx::databaseIntact(copy.handle()));
}

TEST_F(SqliteBackupTest, FailedBackupKeepsTheOldFileWholeAndLeavesNothingBehind)
{
    makeDatabase(path("shop.db"), 400);
    QDir(dir.path()).mkdir(QStringLiteral("Backup"));
    const QString folder = dir.filePath(QStringLiteral("Backup"));
    const QString target = QDir(folder).filePath(QStringLiteral("Bck.KWB"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup");
    old.close();
    qx::SqliteFile shop(path("shop.db"), qx::SqliteFile::ReadOnly);

    // The disk fills up within the first block of gathered writes, or after some blocks.
    for (const qint64 limit : {qint64(8192), qint64(100 * 1024)}) {
        SCOPED_TRACE(limit);
        {
            qxtest::FileSizeLimit full(limit);
            if (!full.ok())
                GTEST_SKIP() << "no file size limit";
            EXPECT_THROW(qx::backupToFile(shop.handle(), target), Exception);
        }
        EXPECT_EQ(folderEntries(folder), QStringList{QStringLiteral("Bck.KWB")});
        QFile again(target);
        ASSERT_TRUE(again.open(QIODevice::ReadOnly));
        EXPECT_EQ(again.readAll(), QByteArray("an older backup"));
    }

    EXPECT_THROW(qx::backupToFile(shop.handle(), dir.filePath(QStringLiteral("nowhere/Bck.KWB"))), EInOutError);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
}

// Every row of t in order, as text.
QStringList allRows(sqlite3* db)
{
    qx::SqliteStatement stmt(db, "SELECT id || '|' || tag || '|' || body FROM t ORDER BY id");
    QStringList rows;
    while (qx::stepStatement(db, stmt.get()))
        rows << qx::columnVariant(stmt.get(), 0).toString();
    return rows;
}

// A copy that reads ahead and gathers its writes spans many blocks: the copy is the database.
TEST_F(SqliteBackupTest, SequentialCopyOfALargeDatabaseIsWhole)
{
    makeDatabase(path("shop.db"), 6000);
    {
        // Holes and moved pages, so that not every page follows the one before.
        qx::SqliteFile db(path("shop.db"), qx::SqliteFile::ReadWrite);
        db.exec("DELETE FROM t WHERE id % 7 = 0; UPDATE t SET body = body || 'x' WHERE id % 5 = 0");
    }
    ASSERT_GT(QFileInfo(path("shop.db")).size(), 2 * 1024 * 1024);
    qx::SqliteFile shop(path("shop.db"), qx::SqliteFile::ReadOnly, 5000, qx::SqliteFile::Sequential);
    qx::backupToFile(shop.handle(), path("copy.KWB"));
    qx::SqliteFile copy(path("copy.KWB"), qx::SqliteFile::ReadOnly);
    EXPECT_TRUE(qx::databaseIntact(copy.handle()));
    const QStringList rows = allRows(shop.handle());
    EXPECT_EQ(rows.size(), 6000 - 6000 / 7);
    EXPECT_EQ(allRows(copy.handle()), rows);
}

// What the reader read ahead never hides a write another connection committed in between.
TEST_F(SqliteBackupTest, SequentialReaderSeesWhatOthersCommitBetweenItsReads)
{
    makeDatabase(path("shop.db"), 2000);
    qx::SqliteFile reader(path("shop.db"), qx::SqliteFile::ReadOnly, 5000, qx::SqliteFile::Sequential);
    // The first rows and the file's header lie in one block.
    EXPECT_EQ(countRows(reader.handle(), "SELECT count(*) FROM t WHERE id = 1 AND tag = 'a'"), 1);
    {
        qx::SqliteFile writer(path("shop.db"), qx::SqliteFile::ReadWrite);
        writer.exec("UPDATE t SET tag = 'first' WHERE id = 1");
    }
    EXPECT_EQ(countRows(reader.handle(), "SELECT count(*) FROM t WHERE id = 1 AND tag = 'first'"), 1);

    const QStringList before = allRows(reader.handle());
    {
        qx::SqliteFile writer(path("shop.db"), qx::SqliteFile::ReadWrite);
        writer.exec("UPDATE t SET tag = 'changed' WHERE id IN (1, 1000, 2000); DELETE FROM t WHERE id = 1500");
    }
    const QStringList after = allRows(reader.handle());
    ASSERT_EQ(after.size(), before.size() - 1);
    EXPECT_TRUE(after.first().startsWith(QStringLiteral("1|changed|")));
    EXPECT_TRUE(after.last().startsWith(QStringLiteral("2000|changed|")));
    EXPECT_EQ(countRows(reader.handle(), "SELECT count(*) FROM t WHERE tag = 'changed'"), 3);
}

TEST_F(SqliteBackupTest, HasTableIgnoresLetterCaseAndViews)
{
    makeDatabase(path("shop.db"), 1);
    {
        qx::SqliteFile db(path("shop.db"), qx::SqliteFile::ReadWrite);
        db.exec("CREATE TABLE t_UserDB (UserCode TEXT); CREATE VIEW V_Receiv AS SELECT 1");
    }
    qx::SqliteFile db(path("shop.db"), qx::SqliteFile::ReadOnly);
    EXPECT_TRUE(qx::hasTable(db.handle(), QStringLiteral("T_USERDB")));
    EXPECT_FALSE(qx::hasTable(db.handle(), QStringLiteral("V_Receiv")));
    EXPECT_FALSE(qx::hasTable(db.handle(), QStringLiteral("t_User")));
}

} // namespace sqlite_backup_test
