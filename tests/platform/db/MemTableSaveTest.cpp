// The memory table's file saves on a disk that fills up: the old file keeps every byte and the
// error says why, for the comma-text and the binary form alike.
#include "TestTables.h"

#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using qxtest::addPart;
using qxtest::partsTable;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::unique_ptr<TQxMemTable> manyParts(int rows)
{
    auto t = partsTable();
    for (int i = 0; i < rows; ++i)
        addPart(*t, QStringLiteral("P%1").arg(i), QStringLiteral("配件名称%1").arg(i), i, i * 1.25);
    return t;
}

struct Save
{
    const char* name;
    std::function<void(const TQxMemTable&, const QString&)> save;
};

const Save kSaves[] = {
    {"comma text", [](const TQxMemTable& t, const QString& f) { t.SaveToFile(f); }},
    {"comma text, rows only", [](const TQxMemTable& t, const QString& f) { t.SaveToFile(f, mtfSaveData); }},
    {"binary", [](const TQxMemTable& t, const QString& f) { t.SaveToBinaryFile(f); }},
};

} // namespace

TEST(MemTableSave, AFailingWriteLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.Bar"));
    const auto small = manyParts(2);
    const auto large = manyParts(5000); // more than one buffer of the save
    for (const Save& s : kSaves) {
        s.save(*small, file);
        const QByteArray old = readAll(file);
        for (const qint64 after : {qint64(0), qint64(64 * 1024)}) {
            qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC, after);
            try {
                s.save(*large, file);
                ADD_FAILURE() << s.name << ": no error";
            } catch (const EInOutError& e) {
                EXPECT_EQ(e.Message(),
                          QStringLiteral("Cannot write file \"%1\". 磁盘空间不足。").arg(QFileInfo(file).absoluteFilePath()))
                    << s.name;
            }
            EXPECT_EQ(readAll(file), old) << s.name << " failing after " << after;
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.Bar")}) << s.name;
    }
}

TEST(MemTableSave, AFullFileSystemLeavesTheOldFileWhole)
{
    qxtest::SmallFileSystem fs(64);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString file = fs.filePath(QStringLiteral("list.Bar"));
    const auto small = manyParts(3);
    const auto large = manyParts(3000);
    for (const Save& s : kSaves) {
        fs.unfill();
        s.save(*small, file);
        const QByteArray old = readAll(file);
        fs.fill();
        EXPECT_THROW(s.save(*large, file), EInOutError) << s.name;
        EXPECT_EQ(readAll(file), old) << s.name;
        // What the file holds still loads as it was saved.
        auto back = partsTable();
        if (QByteArray(s.name) == "binary")
            back->LoadFromBinaryFile(file);
        else
            back->LoadFromFile(file);
        EXPECT_EQ(back->RecordCount(), 3) << s.name;
    }
}

TEST(MemTableSave, ABlobSavedToAFileKeepsTheOldFileOnFailure)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("photo.jpg"));
    TQxMemTable t;
    t.FieldDefs()->Add(QStringLiteral("Photo"), ftBlob);
    t.Open();
    t.Append();
    auto* blob = static_cast<TBlobField*>(t.FieldByName(QStringLiteral("Photo")));
    blob->SetAsBytes(QByteArray(10, 'a'));
    blob->SaveToFile(file);
    blob->SetAsBytes(QByteArray(100000, 'b'));
    {
        qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC);
        EXPECT_THROW(blob->SaveToFile(file), EInOutError);
    }
    EXPECT_EQ(readAll(file), QByteArray(10, 'a'));
}
