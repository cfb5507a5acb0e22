// The exports' save routine: the whole content or nothing, the old file whole on failure.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/office/SaveFile.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ReadOnlyFolder.h"

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(SaveFile, WritesTheBytesAndReplacesAnOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    qx::saveFileBytes(path, QByteArray(5000, 'a'));
    qx::saveFileBytes(path, QByteArray("b\r\n", 3));
    EXPECT_EQ(readAll(path), QByteArray("b\r\n", 3));
    EXPECT_EQ(entries(dir.path()), QStringList{"out.txt"}); // no temporary file left
}

TEST(SaveFile, AnEmptyContentGivesAnEmptyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.txt");
    qx::saveFileBytes(path, QByteArray());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(readAll(path), QByteArray());
}

TEST(SaveFile, AFolderThatRefusesNewFilesRaisesAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    qx::saveFileBytes(path, "old");
    qxtest::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.ok())
        GTEST_SKIP() << "cannot make the folder read-only here";
    try {
        qx::saveFileBytes(path, "new");
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.Message().toStdString();
    }
    EXPECT_EQ(readAll(path), QByteArray("old"));
}

TEST(SaveFile, AFullDiskRaisesAndKeepsTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    const QByteArray old(3000, 'o');
    qx::saveFileBytes(path, old);
    // Both a large write and a small one that only the final flush sends to the disk.
    for (const int size : {1 << 20, 6000}) {
        qxtest::FileSizeLimit full(4096);
        if (!full.ok())
            GTEST_SKIP() << "cannot limit file sizes here";
        EXPECT_THROW(qx::saveFileBytes(path, QByteArray(size, 'n')), EInOutError) << size;
    }
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(entries(dir.path()), QStringList{"out.txt"});
}
