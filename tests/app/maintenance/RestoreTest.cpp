// "恢复数据": the right, the question and the open dialog; a sound backup put in the live
// database's place with the safety copy gone only after the reopen; files that are no backup of
// the shop refused with the live database unchanged; a database another connection is writing;
// a leftover DBtmp.mdb; a write that fails on a full disk.
#include "MaintenanceFixture.h"

#include "app/maintenance/DatabaseMaintenance.h"
#include "app/schema/Password.h"
#include "platform/db/sql/SqliteBackup.h"
#include "tests/support/FileSizeLimit.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <string_view>

namespace qx::app::maintenance_test {

class RestoreTest : public MaintenanceTest
{
protected:
    // A backup of the live database as it is now.
    QString takeBackup(const QString& name = QStringLiteral("Bck20060305.KWB"))
    {
        QDir().mkpath(backupFolder());
        const QString file = QDir(backupFolder()).filePath(name);
        EXPECT_TRUE(backupDatabase(DatabasePath, file));
        return file;
    }

    void restore(const QString& file)
    {
        dialogs().answerMessage(mrOk);
        dialogs().answerFile(file);
        dialogs().answerMessage(mrOk);
        click(u"恢复数据");
    }
};

TEST_F(RestoreTest, BackupTakesTheLiveDatabasesPlace)
{
    addCustomer(QStringLiteral("BEFORE"));
    exec(QStringLiteral("update tReportTitle set isStock = 1"));
    const QString backup = takeBackup();
    exec(QStringLiteral("delete from t_Client"));
    addCustomer(QStringLiteral("AFTER"));
    exec(QStringLiteral("update tReportTitle set isStock = 0"));
    module->QryTitle->Close();
    module->ReadTitleFlags();
    ASSERT_FALSE(StockEnabled);

    restore(backup);

    ASSERT_EQ(dialogs().shown().size(), 3);
    const ShownDialog& question = dialogs().shown()[0];
    EXPECT_EQ(question.text, QStringLiteral("恢复前,用户不能进行任何操作,\n\n是否现在恢复数据？"));
    EXPECT_EQ(question.caption, QStringLiteral("提示！"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, (QList<int>{mrOk, mrCancel}));
    ASSERT_EQ(dialogs().fileRequests.size(), 1);
    const FileRequest& open = dialogs().fileRequests[0];
    EXPECT_EQ(open.caption, QStringLiteral("选择备份文件"));
    EXPECT_EQ(open.folder, backupFolder());
    EXPECT_EQ(open.filter, QStringLiteral("KWBck file (*.KWB)"));
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复成功！"));

    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_EQ(customers(), QStringList{QStringLiteral("BEFORE")});
    EXPECT_TRUE(StockEnabled) << "the flags are those of the restored settings row";
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));
    EXPECT_EQ(digest(program.databasePath()), programDatabaseDigest);
}

// A backup taken by an earlier build, whose Yes/No columns still allow Null, is brought up to
// this build's schema as it is restored; one that cannot be brought up is not restored.
TEST_F(RestoreTest, BackupOfAnEarlierBuildTakesThisBuildsSchema)
{
    addCustomer(QStringLiteral("BEFORE"));
    const QString earlier = takeBackup(QStringLiteral("earlier.KWB"));
    {
        qx::SqliteFile db(earlier, qx::SqliteFile::ReadWrite);
        db.exec("DROP TABLE tReportTitle;"
                "CREATE TABLE tReportTitle (CorpName TEXT(50), isStock YESNO, isBackup YESNO);"
                "INSERT INTO tReportTitle VALUES ('老店', NULL, 1);"
                "PRAGMA user_version = 1;");
    }
    const QString broken = QDir(backupFolder()).filePath(QStringLiteral("broken.KWB"));
    ASSERT_TRUE(QFile::copy(earlier, broken));
    {
        // The upgrade's own scratch name already taken: it cannot rebuild the table.
        qx::SqliteFile db(broken, qx::SqliteFile::ReadWrite);
        db.exec("CREATE TABLE tReportTitle__upgrade (x TEXT);");
    }
    exec(QStringLiteral("delete from t_Client"));
    addCustomer(QStringLiteral("LIVE"));

    restore(broken);
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复不成功！"));
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));
    EXPECT_EQ(customers(), QStringList{QStringLiteral("LIVE")});
    EXPECT_EQ(scalar(QStringLiteral("pragma user_version")).toInt(), 2);

    dialogs().clear();
    restore(earlier);
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复成功！"));
    EXPECT_EQ(customers(), QStringList{QStringLiteral("BEFORE")});
    EXPECT_EQ(scalar(QStringLiteral("pragma user_version")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select isStock || '/' || isBackup from tReportTitle")).toString(),
              QStringLiteral("0/1"));
    EXPECT_EQ(scalar(QStringLiteral("select \"notnull\" from pragma_table_info('tReportTitle') "
                                    "where name = 'isStock'")).toInt(), 1);
}

// What restore refuses: nothing in the live database changes, no safety copy stays.
TEST_F(RestoreTest, FilesThatAreNoShopBackupAreRefused)
{
    addCustomer(QStringLiteral("LIVE"));
    const QString sound = takeBackup(QStringLiteral("sound.KWB"));
    QFile soundFile(sound);
    ASSERT_TRUE(soundFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = soundFile.readAll();
    soundFile.close();

    const QString truncated = QDir(backupFolder()).filePath(QStringLiteral("truncated.KWB"));
    writeFile(truncated, bytes.left(bytes.size() / 3));
    const QString text = QDir(backupFolder()).filePath(QStringLiteral("text.KWB"));
    writeFile(text, "这是一个文本文件\r\n不是备份\r\n");
    const QString noOperators = QDir(backupFolder()).filePath(QStringLiteral("nooperators.KWB"));
    QFile::copy(sound, noOperators);
    {
        qx::SqliteFile db(noOperators, qx::SqliteFile::ReadWrite);
        db.exec("DROP TABLE t_UserDB");
    }
    const QString empty = QDir(backupFolder()).filePath(QStringLiteral("empty.KWB"));
    writeFile(empty, QByteArray());
    // Whole in length, but pages in the middle overwritten, as a bad sector or a copy that
    // went wrong leaves them.
    const QString scrambled = QDir(backupFolder()).filePath(QStringLiteral("scrambled.KWB"));
    {
        QByteArray damaged = bytes;
        for (qsizetype i = damaged.size() / 3; i < damaged.size() * 2 / 3; ++i)
            damaged[i] = char((i * 7919) >> 3);
        writeFile(scrambled, damaged);
    }
    // A header that claims pages of 64 KiB and four thousand million of them.
    const QString hugeHeader = QDir(backupFolder()).filePath(QStringLiteral("huge.KWB"));
    {
        QByteArray damaged = bytes;
        damaged[16] = 0;
        damaged[17] = 1;
        for (int i = 28; i < 32; ++i)
            damaged[i] = char(0xFF);
        writeFile(hugeHeader, damaged);
    }

    const struct
    {
        const char* name;
        QString file;
    } cases[] = {
        {"truncated", truncated},
        {"text", text},
        {"no t_UserDB", noOperators},
        {"empty", empty},
        {"pages overwritten", scrambled},
        {"huge sizes in the header", hugeHeader},
        {"missing", QDir(backupFolder()).filePath(QStringLiteral("missing.KWB"))},
        {"the live database itself", DatabasePath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray live = digest(DatabasePath);
        dialogs().clear();
        restore(c.file);
        EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复不成功！"));
        EXPECT_EQ(digest(DatabasePath), live);
        EXPECT_FALSE(QFileInfo::exists(scratchFile()));
        EXPECT_TRUE(module->ADOConnection->Connected());
        EXPECT_EQ(customers(), QStringList{QStringLiteral("LIVE")});
    }
}

TEST_F(RestoreTest, CancellingTheQuestionOrTheDialogLeavesTheConnectionAlone)
{
    dialogs().answerMessage(mrCancel);
    click(u"恢复数据");
    EXPECT_EQ(dialogs().shown().size(), 1);
    EXPECT_TRUE(dialogs().fileRequests.isEmpty());

    dialogs().clear();
    dialogs().answerMessage(mrOk);
    dialogs().answerFile(QString());
    click(u"恢复数据");
    EXPECT_EQ(dialogs().shown().size(), 2);
    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));
}

// Another program is in the middle of a write: the restore waits for the busy timeout, then
// gives up without touching anything.
TEST_F(RestoreTest, ADatabaseAnotherConnectionIsWritingIsNotRestored)
{
    addCustomer(QStringLiteral("LIVE"));
    const QString backup = takeBackup();
    // Read before the other connection locks the file: closing a descriptor of our own on it
    // would drop the process's locks.
    const QByteArray live = digest(DatabasePath);
    TADOConnection other;
    other.setConnectionString(module->ADOConnection->ConnectionString());
    other.Open();
    other.BeginTrans();
    other.Execute(QStringLiteral("insert into t_Client (CCode) values ('OTHER')"));

    QElapsedTimer timer;
    timer.start();
    restore(backup);
    EXPECT_GE(timer.elapsed(), 4500);
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复不成功！"));
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));

    other.CommitTrans();
    other.Close();
    EXPECT_NE(digest(DatabasePath), live);
    EXPECT_EQ(customers(), (QStringList{QStringLiteral("LIVE"), QStringLiteral("OTHER")}));
}

// A DBtmp.mdb left by an earlier failure blocks compaction and restore until it is removed.
TEST_F(RestoreTest, LeftoverScratchFileBlocksUntilRemoved)
{
    addCustomer(QStringLiteral("LIVE"));
    const QString backup = takeBackup();
    exec(QStringLiteral("delete from t_Client"));
    writeFile(scratchFile(), "left by an earlier failure");
    const QByteArray leftover = digest(scratchFile());

    const struct
    {
        const char16_t* item;
        const char* failure;
        const char* success;
    } commands[] = {
        {u"压缩数据", "数据整理出错！", "数据整理成功！"},
        {u"恢复数据", "恢复不成功！", "恢复成功！"},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(QString::fromUtf16(c.item).toStdString());
        const QByteArray live = digest(DatabasePath);
        dialogs().clear();
        if (c.item == std::u16string_view(u"恢复数据")) {
            dialogs().answerMessage(mrOk);
            dialogs().answerFile(backup);
        }
        dialogs().answerMessage(mrOk);
        click(c.item);
        EXPECT_EQ(dialogs().messages().last(), QString::fromUtf8(c.failure));
        EXPECT_EQ(digest(scratchFile()), leftover);
        EXPECT_EQ(digest(DatabasePath), live);
        EXPECT_TRUE(module->ADOConnection->Connected());
    }

    ASSERT_TRUE(QFile::remove(scratchFile()));
    for (const auto& c : commands) {
        SCOPED_TRACE(QString::fromUtf16(c.item).toStdString());
        dialogs().clear();
        if (c.item == std::u16string_view(u"恢复数据")) {
            dialogs().answerMessage(mrOk);
            dialogs().answerFile(backup);
        }
        dialogs().answerMessage(mrOk);
        click(c.item);
        EXPECT_EQ(dialogs().messages().last(), QString::fromUtf8(c.success));
        EXPECT_FALSE(QFileInfo::exists(scratchFile()));
    }
    EXPECT_EQ(customers(), QStringList{QStringLiteral("LIVE")});
}

// The backup is larger than the disk allows the live file to grow: the write fails, rolls back,
// and the safety copy stays beside the unchanged database.
TEST_F(RestoreTest, AWriteThatFailsLeavesTheDatabaseAsItWas)
{
    exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                        "insert into t_Client (CCode, Remark) select 'B' || i, hex(randomblob(100)) from n"));
    const QString backup = takeBackup();
    exec(QStringLiteral("delete from t_Client"));
    addCustomer(QStringLiteral("LIVE"));
    module->ADOConnection->Close();
    {
        // Shrink the live file first, so that only the restored data outgrow the limit.
        qx::SqliteFile live(DatabasePath, qx::SqliteFile::ReadWrite);
        live.exec("VACUUM");
    }
    module->ADOConnection->Open();
    const qint64 liveSize = QFileInfo(DatabasePath).size();
    ASSERT_GT(QFileInfo(backup).size(), liveSize + 200 * 1024);
    const QByteArray live = digest(DatabasePath);

    {
        qxtest::FileSizeLimit full(liveSize + 100 * 1024);
        if (!full.ok())
            GTEST_SKIP() << "no file size limit";
        restore(backup);
    }
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("恢复不成功！"));
    EXPECT_EQ(digest(DatabasePath), live);
    EXPECT_TRUE(QFileInfo::exists(scratchFile())) << "the safety copy stays after a failed write";
    EXPECT_EQ(customers(), QStringList{QStringLiteral("LIVE")});
}

TEST_F(RestoreTest, RestoreAndCompactionNeedTheRightBackupDoesNot)
{
    exec(QStringLiteral("insert into t_UserDB (UserCode, Password, \"Right\") values ('李四', :p, '系统设置-初始化')"),
         {{QStringLiteral("p"), hashPassword(QString())}});
    CurrentUser = QStringLiteral("李四");
    const QByteArray live = digest(DatabasePath);
    for (const char16_t* item : {u"压缩数据", u"恢复数据"}) {
        SCOPED_TRACE(QString::fromUtf16(item).toStdString());
        dialogs().clear();
        dialogs().answerMessage(mrOk);
        click(item);
        EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [恢复数据] 的权限")});
        EXPECT_TRUE(dialogs().fileRequests.isEmpty());
    }
    EXPECT_EQ(digest(DatabasePath), live);

    dialogs().clear();
    dialogs().answerMessage(mrOk);
    dialogs().answerFile(QDir(program.programFolder()).filePath(QStringLiteral("Bck.KWB")));
    dialogs().answerMessage(mrOk);
    click(u"备份数据");
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("备份成功！"));
}

} // namespace qx::app::maintenance_test
