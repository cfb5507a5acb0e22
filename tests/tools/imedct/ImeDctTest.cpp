// The input-code dictionary the build writes: its columns from small Rime tables, and its
// save, which never leaves an old dictionary empty or cut.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"
#include "tools/imedct/ImeDct.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeTable(const QString& folder, const char* name, const QString& rows)
{
    QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("---\nname: test\n...\n" + rows.toUtf8());
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class ImeDctTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rime.isValid());
        writeTable(rime.path(), "pinyin_simp.dict.yaml", QStringLiteral("啊\ta\t90%\n啊\te\t10%\n"));
        writeTable(rime.path(), "luna_pinyin.dict.yaml", QStringLiteral("阿\ta\n"));
        writeTable(rime.path(), "wubi86.dict.yaml", QStringLiteral("啊\tk\n啊\tkbsk\n"));
        writeTable(rime.path(), "stroke.dict.yaml", QStringLiteral("啊\tzns\n"));
    }
    QTemporaryDir rime;
    QTemporaryDir out;
};

} // namespace

TEST_F(ImeDctTest, OneFixedColumnLinePerCharacter)
{
    const qx::tools::ImeDct dct = qx::tools::buildImeDct(rime.path());
    EXPECT_EQ(dct.lines, 6763);
    EXPECT_EQ(dct.bytes.size(), 6763 * 39);
    // 啊 is the first character of GB2312: wubi K, first stroke Z, pinyin A.
    QByteArray first = qx::toGbk(QStringLiteral("啊")) + QByteArray(35, ' ');
    first[6] = 'K';
    first[12] = 'Z';
    first[36] = 'A';
    EXPECT_EQ(dct.bytes.left(39), first + "\r\n");
    EXPECT_EQ(dct.gaps, 6762);

    QFile::remove(QDir(rime.path()).filePath(QStringLiteral("stroke.dict.yaml")));
    EXPECT_THROW(qx::tools::buildImeDct(rime.path()), EInOutError);
}

// The dictionary's save on a disk that cannot take it: the old file stays whole and the
// error says why.
TEST_F(ImeDctTest, AFailedSaveLeavesTheOldDictionaryWhole)
{
    const qx::tools::ImeDct dct = qx::tools::buildImeDct(rime.path());
    const QString file = out.filePath(QStringLiteral("Ime.DCT"));
    qx::tools::writeImeDct(file, "old dictionary");
    {
        qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC, 64 * 1024);
        try {
            qx::tools::writeImeDct(file, dct.bytes);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("磁盘空间不足。"))) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(readAll(file), QByteArray("old dictionary"));
    qx::tools::writeImeDct(file, dct.bytes);
    EXPECT_EQ(readAll(file), dct.bytes);
}

TEST_F(ImeDctTest, ASaveOnAFullFileSystemLeavesTheOldDictionaryWhole)
{
    const qx::tools::ImeDct dct = qx::tools::buildImeDct(rime.path());
    qxtest::SmallFileSystem fs(128);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString full = fs.filePath(QStringLiteral("Ime.DCT"));
    qx::tools::writeImeDct(full, dct.bytes.left(39 * 100));
    fs.fill();
    EXPECT_THROW(qx::tools::writeImeDct(full, dct.bytes), EInOutError);
    EXPECT_EQ(readAll(full), dct.bytes.left(39 * 100));
}
