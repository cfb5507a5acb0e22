// The dictionary read once: the same letters as GetImeCodes for every name, and damaged bytes
// that give a smaller dictionary, never a crash.
#include <gtest/gtest.h>

#include "platform/rtl/Gbk.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// A dictionary line: the character's GBK bytes, WB in byte column 7, WBH in 13, PY in 37.
QByteArray dictLine(const char* ch, char wb, char wbh, char py)
{
    QByteArray l(40, ' ');
    l.replace(0, 2, qx::toGbk(QString::fromUtf8(ch)));
    l[6] = wb;
    l[12] = wbh;
    l[36] = py;
    return l;
}

QString joinedCodes(const ImeDictionary& dictionary, const char* name)
{
    QString py = QStringLiteral("x");
    QString wbh = QStringLiteral("x");
    QString wb = QStringLiteral("x");
    dictionary.codesOf(QString::fromUtf8(name), py, wbh, wb);
    return py + u'/' + wbh + u'/' + wb;
}

} // namespace

TEST(ImeDictionaryTest, LooksUpEachCharacterOfAName)
{
    const ImeDictionary dictionary = ImeDictionary::fromBytes(
        dictLine("屏", 'N', 'Z', 'P') + "\r\n" + dictLine("幕", 'A', 'H', 'M') + "\n"
        + dictLine("屏", 'X', 'X', 'X') + "\r\n");
    EXPECT_EQ(dictionary.size(), 2);
    EXPECT_EQ(joinedCodes(dictionary, "屏幕"), QStringLiteral("PM/ZH/NA"));
    EXPECT_EQ(joinedCodes(dictionary, "A屏x幕"), QStringLiteral("PM/ZH/NA"));
    EXPECT_EQ(joinedCodes(dictionary, "总成"), QStringLiteral("//"));
    EXPECT_EQ(joinedCodes(ImeDictionary(), "屏幕"), QStringLiteral("//"));
}

TEST(ImeDictionaryTest, DamagedBytesGiveWhatTheyHold)
{
    const QByteArray good = dictLine("屏", 'N', 'Z', 'P');
    const struct
    {
        const char* what;
        QByteArray bytes;
        qsizetype size;
    } cases[] = {
        {"empty", QByteArray(), 0},
        {"one lead byte", QByteArray("\xC6"), 0},
        {"blank lines", QByteArray("\r\n\n\r\n"), 0},
        {"ASCII lines", QByteArray("AB      X\r\nCD\r\n"), 0},
        {"a line of two bytes", QByteArray("\xC6\xC1"), 1},
        {"no line end", good, 1},
        {"binary noise", QByteArray(512, '\xFE'), 1},
        {"NUL bytes around", QByteArray(3, '\0') + "\n" + good + "\n" + QByteArray(3, '\0'), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImeDictionary dictionary = ImeDictionary::fromBytes(c.bytes);
        EXPECT_EQ(dictionary.size(), c.size);
        joinedCodes(dictionary, "屏幕");
    }
    // A line too short for a column gives no letter there.
    EXPECT_EQ(joinedCodes(ImeDictionary::fromBytes(QByteArray("\xC6\xC1")), "屏"), QStringLiteral("//"));
}

TEST(ImeDictionaryTest, LoadKeepsTheDictionaryWhenTheFileIsMissing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Ime.DCT"));
    ImeDictionary dictionary = ImeDictionary::fromBytes(dictLine("屏", 'N', 'Z', 'P'));
    EXPECT_FALSE(dictionary.load(path));
    EXPECT_EQ(dictionary.size(), 1);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(dictLine("幕", 'A', 'H', 'M') + "\r\n"), 42);
    file.close();
    EXPECT_TRUE(dictionary.load(path));
    EXPECT_EQ(joinedCodes(dictionary, "屏幕"), QStringLiteral("M/H/A"));
}
