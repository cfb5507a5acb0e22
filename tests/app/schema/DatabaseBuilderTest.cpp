// The builder: a whole database or nothing, never over an existing file.
#include "SqliteHelpers.h"

#include "app/schema/BuildPartFile.h"
#include "app/schema/DatabaseBuilder.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using qx::app::buildDatabase;
using qx::app::test::Db;

namespace {

class Builder : public ::testing::Test
{
protected:
    QTemporaryDir folder;

    QString path(const QString& name = QStringLiteral("Account.mdb")) const { return folder.filePath(name); }
    QStringList entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static void writeFile(const QString& file, const QByteArray& data)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(data), data.size());
    }
    // The message of the EDatabaseError a build raises, or a failure when it raises none.
    static QString buildError(const std::function<void()>& build)
    {
        try {
            build();
        } catch (const EDatabaseError& e) {
            return e.Message();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected exception: " << e.what();
            return {};
        }
        ADD_FAILURE() << "the build did not fail";
        return {};
    }
};

} // namespace

TEST_F(Builder, MakesAWholeDatabaseAndNothingElse)
{
    ASSERT_TRUE(folder.isValid());
    buildDatabase(path());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Account.mdb")});

    Db db(path());
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    EXPECT_GT(db.value(QStringLiteral("SELECT count(*) FROM t_UserDB")).toInt(), 80);
}

TEST_F(Builder, RefusesAnExistingFileAndLeavesItAlone)
{
    writeFile(path(), "the shop's data");
    const QString message = buildError([&] { buildDatabase(path()); });
    EXPECT_TRUE(message.contains(QStringLiteral("已经存在"))) << message.toStdString();
    EXPECT_TRUE(message.contains(path())) << message.toStdString();
    EXPECT_EQ(contents(path()), QByteArray("the shop's data"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Account.mdb")});
}

TEST_F(Builder, RefusesADanglingLink)
{
    // A link to nowhere is still a name in use: building through it would write elsewhere.
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("gone.mdb")), path()));
    const QString message = buildError([&] { buildDatabase(path()); });
    EXPECT_TRUE(message.contains(QStringLiteral("已经存在"))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("gone.mdb"))));
}

TEST_F(Builder, MissingFolderFailsWithItsName)
{
    const QString target = folder.filePath(QStringLiteral("no such folder/Account.mdb"));
    const QString message = buildError([&] { buildDatabase(target); });
    EXPECT_TRUE(message.contains(QStringLiteral("建立数据库失败"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("no such folder"))) << message.toStdString();
    EXPECT_TRUE(entries().isEmpty()) << entries().join(',').toStdString();
}

TEST_F(Builder, EmptyPathIsRefused)
{
    const QString message = buildError([] { buildDatabase(QStringLiteral("  ")); });
    EXPECT_TRUE(message.contains(QStringLiteral("建立数据库失败"))) << message.toStdString();
}

TEST_F(Builder, FailureLateInTheBuildLeavesNoFileBehind)
{
    struct Case { const char* name; std::function<void(sqlite3*)> step; const char* inMessage; };
    const Case cases[] = {
        {"statement error",
         [](sqlite3* db) {
             char* error = nullptr;
             const int rc = sqlite3_exec(db, "INSERT INTO t_NoSuchTable VALUES (1)", nullptr, nullptr, &error);
             sqlite3_free(error);
             if (rc != SQLITE_OK)
                 throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
         },
         "no such table"},
        {"exception", [](sqlite3*) { throw Exception(QStringLiteral("断电")); }, "断电"},
    };
    for (const Case& c : cases) {
        const QString message =
            buildError([&] { qx::app::detail::buildDatabase(path(), c.step); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.inMessage))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(path())) << c.name;
        EXPECT_TRUE(entries().isEmpty()) << c.name << ": " << entries().join(',').toStdString();
    }
}

TEST_F(Builder, AFileThatAppearsDuringTheBuildIsNotReplaced)
{
    const QString message = buildError([&] {
        qx::app::detail::buildDatabase(path(), [&](sqlite3*) { writeFile(path(), "another workstation"); });
    });
    EXPECT_TRUE(message.contains(QStringLiteral("已经存在"))) << message.toStdString();
    EXPECT_EQ(contents(path()), QByteArray("another workstation"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Account.mdb")});
}

TEST_F(Builder, MakedbProgramBuildsRefusesAndExplains)
{
    struct Case { QStringList args; int exitCode; const char* inError; bool fileAfter; };
    const QString target = path(QStringLiteral("新店.mdb"));
    const Case cases[] = {
        {{target}, 0, "", true},
        {{target}, 1, "已经存在", true},
        {{}, 2, "usage", true},
        {{folder.filePath(QStringLiteral("missing/x.mdb"))}, 1, "文件夹不存在", true},
    };
    for (const Case& c : cases) {
        QProcess makedb;
        makedb.start(QStringLiteral(QX_MAKEDB_PATH), c.args);
        ASSERT_TRUE(makedb.waitForFinished(60000));
        EXPECT_EQ(makedb.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(makedb.exitCode(), c.exitCode) << c.args.join(' ').toStdString();
        const QString error = QString::fromUtf8(makedb.readAllStandardError());
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.inError))) << error.toStdString();
        EXPECT_EQ(QFile::exists(target), c.fileAfter);
    }
    Db db(target);
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

// A build killed halfway leaves its part files; the next build removes them (and only them: a
// build running beside it and files of other names stay).
TEST_F(Builder, TheNextBuildRemovesWhatAKilledBuildLeft)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The build of another program run, killed just before its commit.
        try {
            qx::app::detail::buildDatabase(path(), [](sqlite3*) { ::kill(::getpid(), SIGKILL); });
        } catch (...) {
        }
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QStringList left = entries();
    ASSERT_EQ(left.size(), 2) << left.join(',').toStdString(); // the part file and its journal
    for (const QString& name : left)
        EXPECT_TRUE(name.startsWith(QStringLiteral("Account.mdb.part-"))) << name.toStdString();

    // Beside them: a build under way (its part file held), an orphan journal, and files the
    // builder did not make.
    const QString running = path(QStringLiteral("Account.mdb.part-0badcafe"));
    writeFile(running, "in use");
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    writeFile(path(QStringLiteral("Account.mdb.part-12345678-journal")), "orphan");
    for (const char* other : {"Account.mdb.part-notours", "Other.mdb.part-12345678", "Account.mdb.bak"})
        writeFile(path(QString::fromLatin1(other)), "keep");

    buildDatabase(path());
    ::close(held);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("Account.mdb"), QStringLiteral("Account.mdb.bak"),
                                      QStringLiteral("Account.mdb.part-0badcafe"),
                                      QStringLiteral("Account.mdb.part-notours"),
                                      QStringLiteral("Other.mdb.part-12345678")}));
    EXPECT_FALSE(Db(path()).rows(QStringLiteral("SELECT * FROM t_UserDB")).isEmpty());

    // Let go of, the leftover of the build that ran is stale too.
    EXPECT_EQ(qx::app::removeStaleBuildFiles(path()), 1);
    EXPECT_FALSE(QFile::exists(running));
}
