// "备份数据": the question, the Backup folder and the offered name, the copy of the database the
// data module opened (not the program folder's), an old file replaced, cancelling, and a backup
// taken while another connection keeps writing.
#include "MaintenanceFixture.h"

#include "app/maintenance/DatabaseMaintenance.h"
#include "platform/db/sql/SqliteBackup.h"
#include "platform/db/sql/SqliteStatement.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <optional>
#include <chrono>
#include <thread>

#include <sqlite3.h>

namespace qx::app::maintenance_test {

// The customer codes of a database file, read on a handle of its own.
QStringList customersIn(const QString& file)
{
    qx::SqliteFile db(file, qx::SqliteFile::ReadOnly);
    qx::SqliteStatement stmt(db.handle(), "SELECT CCode FROM t_Client ORDER BY CCode");
    QStringList codes;
    while (qx::stepStatement(db.handle(), stmt.get()))
        codes << qx::columnVariant(stmt.get(), 0).toString();
    return codes;
}

class BackupTest : public MaintenanceTest
{
};

TEST_F(BackupTest, BackupGoesToTheBackupFolderUnderTodaysName)
{
    const qx::test::ScopedToday today(QDate(2006, 3, 5));
    addCustomer(QStringLiteral("C001"));
    ASSERT_FALSE(QFileInfo::exists(backupFolder()));
    const QString target = QDir(backupFolder()).filePath(QStringLiteral("Bck20060305.KWB"));

    dialogs().answerMessage(mrOk);
    dialogs().answerFile(target);
    dialogs().answerMessage(mrOk);
    click(u"备份数据");

    ASSERT_EQ(dialogs().shown().size(), 3);
    const ShownDialog& question = dialogs().shown()[0];
    EXPECT_EQ(question.text, QStringLiteral("是否确定备份数据？"));
    EXPECT_EQ(question.caption, QStringLiteral("提示！"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, (QList<int>{mrOk, mrCancel}));
    ASSERT_EQ(dialogs().fileRequests.size(), 1);
    const FileRequest& save = dialogs().fileRequests[0];
    EXPECT_EQ(save.caption, QStringLiteral("备份数据"));
    EXPECT_EQ(save.folder, backupFolder());
    EXPECT_EQ(save.filter, QStringLiteral("Bck file (*.KWB)"));
    EXPECT_EQ(save.fileName, QStringLiteral("Bck20060305.KWB"));
    EXPECT_EQ(dialogs().shown()[2].text, QStringLiteral("备份成功！"));
    EXPECT_EQ(dialogs().shown()[2].caption, QStringLiteral("信息"));

    EXPECT_TRUE(QFileInfo(backupFolder()).isDir());
    EXPECT_EQ(customersIn(target), QStringList{QStringLiteral("C001")});
    EXPECT_EQ(QDir(backupFolder()).entryList(QDir::Files), QStringList{QStringLiteral("Bck20060305.KWB")});
    // The live database was backed up, the program folder's own file left alone.
    EXPECT_EQ(digest(program.databasePath()), programDatabaseDigest);
    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_EQ(customers(), QStringList{QStringLiteral("C001")});
}

TEST_F(BackupTest, AnExistingBackupIsReplaced)
{
    addCustomer(QStringLiteral("C002"));
    QDir().mkpath(backupFolder());
    const QString target = QDir(backupFolder()).filePath(QStringLiteral("Bck.KWB"));
    writeFile(target, "an older backup");

    dialogs().answerMessage(mrOk);
    dialogs().answerFile(target);
    dialogs().answerMessage(mrOk);
    click(u"备份数据");

    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("备份成功！"));
    EXPECT_EQ(customersIn(target), QStringList{QStringLiteral("C002")});
    EXPECT_EQ(QDir(backupFolder()).entryList(QDir::Files), QStringList{QStringLiteral("Bck.KWB")});
}

TEST_F(BackupTest, CancellingTheQuestionOrTheDialogWritesNothing)
{
    // Cancel at the question: nothing else is asked and the folder is not made.
    dialogs().answerMessage(mrCancel);
    click(u"备份数据");
    EXPECT_EQ(dialogs().shown().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(backupFolder()));
    EXPECT_TRUE(module->ADOConnection->Connected());

    // Cancel in the save dialog: no message, the connection open again.
    dialogs().clear();
    dialogs().answerMessage(mrOk);
    dialogs().answerFile(QString());
    click(u"备份数据");
    EXPECT_EQ(dialogs().shown().size(), 2);
    EXPECT_TRUE(QDir(backupFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(module->ADOConnection->Connected());
}

TEST_F(BackupTest, ACopyThatCannotBeWrittenSaysSo)
{
    const struct
    {
        const char* name;
        QString target;
    } cases[] = {
        {"missing folder", QDir(backupFolder()).filePath(QStringLiteral("none/Bck.KWB"))},
        {"the live database itself", DatabasePath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray live = digest(DatabasePath);
        dialogs().clear();
        dialogs().answerMessage(mrOk);
        dialogs().answerFile(c.target);
        dialogs().answerMessage(mrOk);
        click(u"备份数据");
        EXPECT_EQ(dialogs().messages().last(), QStringLiteral("备份不成功！"));
        EXPECT_EQ(digest(DatabasePath), live);
        EXPECT_TRUE(module->ADOConnection->Connected());
    }
}

// A disk that fills up during the copy, and a backup folder that takes no new file: the
// user reads "备份不成功！", the earlier backup under the chosen name keeps every byte, nothing
// else is left in the folder, and the program works on with its database.
TEST_F(BackupTest, AFullDiskOrALockedFolderKeepsTheEarlierBackup)
{
    addCustomer(QStringLiteral("C003"));
    QDir().mkpath(backupFolder());
    const QString target = QDir(backupFolder()).filePath(QStringLiteral("Bck.KWB"));
    const qint64 liveSize = QFileInfo(DatabasePath).size();
    ASSERT_GT(liveSize, 8192);
    for (const bool diskFull : {true, false}) {
        SCOPED_TRACE(diskFull ? "full disk" : "read-only folder");
        writeFile(target, "an older backup");
        const QByteArray live = digest(DatabasePath);
        dialogs().clear();
        dialogs().answerMessage(mrOk);
        dialogs().answerFile(target);
        dialogs().answerMessage(mrOk);
        {
            std::optional<qxtest::FileSizeLimit> full;
            std::optional<qxtest::ReadOnlyFolder> locked;
            if (diskFull)
                full.emplace(rlim_t(liveSize / 2));
            else
                locked.emplace(backupFolder());
            ASSERT_TRUE(diskFull ? full->ok() : locked->ok());
            click(u"备份数据");
        }
        EXPECT_EQ(dialogs().messages().last(), QStringLiteral("备份不成功！"));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("an older backup"));
        EXPECT_EQ(QDir(backupFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Bck.KWB")});
        EXPECT_EQ(digest(DatabasePath), live);
        EXPECT_TRUE(module->ADOConnection->Connected());
        EXPECT_EQ(customers(), QStringList{QStringLiteral("C003")});
        EXPECT_EQ(dialogs().unexpected(), 0);
    }
}

// A second program keeps writing in a loop while backups are taken: every writer transaction
// adds one customer and one supplier, so a copy is consistent when both counts agree.
TEST_F(BackupTest, BackupWhileAnotherConnectionWritesIsConsistent)
{
    const QString file = DatabasePath;
    std::atomic<bool> stop{false};
    std::atomic<int> committed{0};
    std::atomic<int> writerErrors{0};
    std::thread writer([&] {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            ++writerErrors;
            sqlite3_close_v2(db);
            return;
        }
        sqlite3_busy_timeout(db, 5000);
        for (int n = 0; !stop; ++n) {
            const QByteArray sql = "BEGIN IMMEDIATE;"
                                   "INSERT INTO t_Client (CCode) VALUES ('W" + QByteArray::number(n) + "');"
                                   "INSERT INTO t_Supplier (SCode) VALUES ('W" + QByteArray::number(n) + "');"
                                   "COMMIT;";
            if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) {
                ++committed;
            } else {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                ++writerErrors;
            }
            // A moment between two saves, as a workstation has: a writer that never pauses
            // keeps every reader of a rollback-journal database out.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        sqlite3_close_v2(db);
    });

    auto finishWriter = [&] {
        stop = true;
        if (writer.joinable())
            writer.join();
    };
    // Also when an assertion leaves the test early.
    const auto joinWriter = qScopeGuard(finishWriter);
    auto waitForCommits = [&](int atLeast) {
        QElapsedTimer timer;
        timer.start();
        while (committed < atLeast && timer.elapsed() < 10000 && writerErrors == 0)
            QThread::msleep(1);
    };
    QDir().mkpath(backupFolder());
    QList<int> counts;
    for (int i = 0; i < 5; ++i) {
        waitForCommits(committed + 2);
        const QString target = QDir(backupFolder()).filePath(QStringLiteral("Bck%1.KWB").arg(i));
        EXPECT_TRUE(backupDatabase(file, target)) << i;
        qx::SqliteFile copy(target, qx::SqliteFile::ReadOnly);
        EXPECT_TRUE(qx::databaseIntact(copy.handle())) << i;
        qx::SqliteStatement stmt(copy.handle(),
                                 "SELECT (SELECT count(*) FROM t_Client WHERE CCode LIKE 'W%'),"
                                 "       (SELECT count(*) FROM t_Supplier WHERE SCode LIKE 'W%')");
        ASSERT_TRUE(qx::stepStatement(copy.handle(), stmt.get()));
        const int clients = qx::columnVariant(stmt.get(), 0).toInt();
        EXPECT_EQ(clients, qx::columnVariant(stmt.get(), 1).toInt()) << i;
        counts << clients;
    }
    finishWriter();
    EXPECT_EQ(writerErrors, 0);
    // The writer went on between the copies, so each copy is a later state.
    for (int i = 1; i < counts.size(); ++i)
        EXPECT_GT(counts[i], counts[i - 1]);
}

} // namespace qx::app::maintenance_test
