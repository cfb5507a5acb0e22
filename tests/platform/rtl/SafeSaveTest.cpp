#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writePlain(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The message of the save's failure; empty when it did not fail.
QString saveError(const QString& path, const QByteArray& bytes)
{
    try {
        qx::saveFile(path, bytes);
    } catch (const EInOutError& e) {
        return e.Message();
    }
    return {};
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class SafeSaveTest : public ::testing::Test
{
protected:
    QString path(const char* name = "INC.ini") const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SafeSaveTest, ReplacesTheFileWithItsPermissions)
{
    writePlain(path(), "old");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QByteArray big(300 * 1024, 'b'); // several buffers
    qx::saveFile(path(), big);
    EXPECT_EQ(readAll(path()), big);
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("INC.ini")});

    // A new file is made as any file the program makes; an empty save makes an empty file.
    qx::saveFile(path("new.Bar"), QByteArray());
    EXPECT_TRUE(QFile::exists(path("new.Bar")));
    EXPECT_EQ(readAll(path("new.Bar")), QByteArray());
}

// Every step of a save can fail; each leaves the old file whole and nothing beside it, and
// says why in the operating system's words.
TEST_F(SafeSaveTest, AFailureAtAnyStepLeavesTheOldFileWhole)
{
    struct Case
    {
        const char* name;
        qx::SaveStep step;
        int error;
        const char* head;
        const char* reason;
    };
    const Case cases[] = {
        {"create", qx::SaveStep::Create, EACCES, "Cannot create file", "拒绝访问。"},
        {"first write", qx::SaveStep::Write, ENOSPC, "Cannot write file", "磁盘空间不足。"},
        {"sync", qx::SaveStep::Sync, EIO, "Cannot write file", "I/O 设备错误"},
        {"close", qx::SaveStep::Close, EDQUOT, "Cannot write file", "磁盘配额不足。"},
        {"rename", qx::SaveStep::Rename, EBUSY, "Cannot write file", "另一个程序正在使用此文件"},
    };
    for (const Case& c : cases) {
        writePlain(path(), "[Server]\r\nPath=old\r\n");
        {
            qxtest::SaveFault fault(c.step, c.error);
            const QString message = saveError(path(), QByteArray(100, 'n'));
            EXPECT_TRUE(message.startsWith(QString::fromLatin1(c.head))) << c.name << ": " << message.toStdString();
            EXPECT_TRUE(message.contains(QFileInfo(path()).absoluteFilePath())) << c.name;
            EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << c.name << ": " << message.toStdString();
        }
        EXPECT_EQ(readAll(path()), QByteArray("[Server]\r\nPath=old\r\n")) << c.name;
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("INC.ini")}) << c.name;
    }
}

TEST_F(SafeSaveTest, AWriteFailingLateStopsEveryLaterWrite)
{
    writePlain(path(), "old");
    qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC, 64 * 1024);
    qx::SafeSave out(path());
    const QByteArray block(64 * 1024, 'x');
    EXPECT_EQ(out.write(block), block.size()); // buffered
    EXPECT_EQ(out.write(block), -1);           // the first buffer fails to go out
    EXPECT_EQ(out.write("y", 1), -1);          // and so does everything after it
    EXPECT_EQ(out.error(), ENOSPC);
    EXPECT_EQ(out.errorString(), QStringLiteral("磁盘空间不足。"));
    EXPECT_THROW(out.commit(), EInOutError);
    EXPECT_EQ(readAll(path()), QByteArray("old"));
}

TEST_F(SafeSaveTest, AWriterThatGivesUpLeavesTheFileAsItWas)
{
    writePlain(path(), "old");
    EXPECT_THROW(qx::saveFile(path(),
                              [](QIODevice& out) {
                                  out.write("half");
                                  throw EConvertError(QStringLiteral("stop"));
                              }),
                 EConvertError);
    EXPECT_EQ(readAll(path()), QByteArray("old"));
    // A writer whose own write failed raises the save's error with the reason, not its own.
    qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC);
    try {
        qx::saveFile(path(), [](QIODevice& out) {
            out.write(QByteArray(70 * 1024, 'x'));
            throw EWriteError(QStringLiteral("Stream write error"));
        });
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("磁盘空间不足。"))) << e.Message().toStdString();
    }
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("INC.ini")});
}

TEST_F(SafeSaveTest, ReadOnlyFilesAndMissingFoldersAreRefused)
{
    writePlain(path(), "old");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_TRUE(saveError(path(), "new").contains(QStringLiteral("拒绝访问。")));
    EXPECT_EQ(readAll(path()), QByteArray("old"));
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner));

    const QString message = saveError(dir.filePath(QStringLiteral("nowhere/INC.ini")), "new");
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("系统找不到指定的路径。"))) << message.toStdString();
}

TEST_F(SafeSaveTest, ALinkKeepsPointingAtTheSavedFile)
{
    writePlain(path("real.ini"), "old");
    ASSERT_TRUE(QFile::link(path("real.ini"), path()));
    qx::saveFile(path(), "new");
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readAll(path("real.ini")), QByteArray("new"));
}

// The real thing: a file system with no room left refuses the bytes, the save says so and the
// old file keeps every byte; with room again the same save goes through.
TEST(SafeSaveFullDisk, AFullFileSystemLeavesTheOldFileWhole)
{
    qxtest::SmallFileSystem fs(64);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString target = fs.filePath(QStringLiteral("INC.ini"));
    const QByteArray old(5000, 'o');
    qx::saveFile(target, old);
    fs.fill();
    const QString message = saveError(target, QByteArray(20000, 'n'));
    EXPECT_TRUE(message.contains(QStringLiteral("磁盘空间不足。"))) << message.toStdString();
    EXPECT_EQ(readAll(target), old);
    EXPECT_EQ(entries(QFileInfo(target).absolutePath()).size(), 2); // INC.ini and the filler
    fs.unfill();
    qx::saveFile(target, QByteArray(20000, 'n'));
    EXPECT_EQ(readAll(target), QByteArray(20000, 'n'));
}

// A program killed in the middle of a save, at any step before the new file takes the old
// one's place: the old file keeps every byte, and the next save goes through.
TEST_F(SafeSaveTest, AProgramKilledDuringASaveLeavesTheOldFileWhole)
{
    const QByteArray old(5000, 'o');
    const QByteArray big(300 * 1024, 'n'); // several buffers
    const struct
    {
        const char* name;
        qx::SaveStep step;
        qint64 afterBytes;
    } cases[] = {
        {"making the temporary file", qx::SaveStep::Create, 0},
        {"first buffer", qx::SaveStep::Write, 0},
        {"half way", qx::SaveStep::Write, 150 * 1024},
        {"before the flush to disk", qx::SaveStep::Sync, 0},
        {"before closing", qx::SaveStep::Close, 0},
        {"before the rename", qx::SaveStep::Rename, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writePlain(path(), old);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child dies by SIGKILL at the step, as a program the user ends does; nothing
            // of the test framework runs in it.
            qx::setSaveFaultHook([&c](qx::SaveStep at, const QString&, qint64 written) {
                if (at == c.step && (at != qx::SaveStep::Write || written >= c.afterBytes))
                    ::kill(::getpid(), SIGKILL);
                return 0;
            });
            try {
                qx::saveFile(path(), big);
            } catch (...) {
            }
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        EXPECT_EQ(readAll(path()), old);
    }
    qx::saveFile(path(), big);
    EXPECT_EQ(readAll(path()), big);
}
