#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include "platform/env/ProgramFolder.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

namespace {

struct Codes
{
    QString py, wbh, wb;
    bool operator==(const Codes&) const = default;
};

void PrintTo(const Codes& c, std::ostream* os)
{
    *os << c.py.toStdString() << '/' << c.wbh.toStdString() << '/' << c.wb.toStdString();
}

Codes codesOf(const QString& name)
{
    Codes c{"x", "x", "x"};
    GetImeCodes(name, c.py, c.wbh, c.wb);
    return c;
}

// A dictionary line: the character's GBK bytes, WB in byte column 7, WBH in 13, PY in 37.
QByteArray line(const QString& ch, char wb, char wbh, char py, int length = 40)
{
    QByteArray l(length, ' ');
    l.replace(0, 2, qx::toGbk(ch));
    if (length > 6)
        l[6] = wb;
    if (length > 12)
        l[12] = wbh;
    if (length > 36)
        l[36] = py;
    return l;
}

} // namespace

// Fixtures stay out of anonymous namespaces: the tests derived from them are not in one.
class ImeCodesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qx::setProgramFolder(m_dir.path());
    }
    void TearDown() override { qx::setProgramFolder(QString()); }

    void writeDictionary(const QList<QByteArray>& lines, const QByteArray& eol = "\r\n")
    {
        QFile f(m_dir.filePath(QStringLiteral("Ime.DCT")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const QByteArray& l : lines)
            f.write(l + eol);
    }
    // The fixture: 聊 is here so that a name mis-paired after an ASCII letter would find it
    // ("A屏幕" is 41 C6 C1 C4 BB; C1 C4 is 聊).
    void writeFixture(const QByteArray& eol = "\r\n")
    {
        writeDictionary({line("工", 'A', 'H', 'G'), line("单", 'U', 'N', 'D'),
                         line("工", 'X', 'X', 'X'), // a later line for the same character
                         line("聊", 'B', 'Z', 'L'), line("屏", 'N', 'Z', 'P'),
                         line("幕", 'A', 'H', 'M'), line("短", 'T', 'P', 'D', 13),
                         line("空", ' ', ' ', ' ')},
                        eol);
    }

    QTemporaryDir m_dir;
};

TEST_F(ImeCodesTest, NamesAgainstTheFixtureDictionary)
{
    writeFixture();
    const struct
    {
        const char* name;
        Codes codes;
    } cases[] = {
        {"", {"", "", ""}},
        {"工单", {"GD", "HN", "AU"}},
        {"工厂单", {"GD", "HN", "AU"}},     // the missing middle character adds nothing
        {"A屏幕", {"PM", "ZH", "NA"}},      // the letter takes one byte, then pairs resume
        {"iPhone屏幕总成", {"PM", "ZH", "NA"}},
        {"屏A幕", {"PM", "ZH", "NA"}},
        {"ABC", {"", "", ""}},
        {"短", {"", "P", "T"}},              // line too short for the pinyin column
        {"空", {"", "", ""}},                // blank columns are no letters
        {"单工", {"DG", "NH", "UA"}},        // the first line of a character counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codesOf(QString::fromUtf8(c.name)), c.codes);
    }
}

TEST_F(ImeCodesTest, LfEndingsReadAlike)
{
    writeFixture("\n");
    EXPECT_EQ(codesOf(QStringLiteral("工单")), (Codes{"GD", "HN", "AU"}));
}

TEST_F(ImeCodesTest, MissingDictionaryGivesEmptyCodes)
{
    EXPECT_EQ(codesOf(QStringLiteral("工单")), (Codes{"", "", ""}));
}

// The dictionary the build generates into the program folder.
class GeneratedDictionaryTest : public ::testing::Test
{
protected:
    void SetUp() override { qx::setProgramFolder(QStringLiteral(QX_PROGRAM_DIR)); }
    void TearDown() override { qx::setProgramFolder(QString()); }
};

TEST_F(GeneratedDictionaryTest, KnownNames)
{
    ASSERT_TRUE(QFile::exists(ExeFolderPath(QStringLiteral("Ime.DCT"))));
    const struct
    {
        const char* name;
        Codes codes;
    } cases[] = {
        {"工单", {"GD", "HN", "AU"}},
        {"A屏幕", {"PM", "ZH", "NA"}},
        {"手机", {"SJ", "PH", "RS"}},
        {"维修", {"WX", "ZP", "XW"}},
        {"电池", {"DC", "SN", "JI"}},
        {"中国", {"ZG", "SS", "KL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codesOf(QString::fromUtf8(c.name)), c.codes);
    }
}

TEST_F(GeneratedDictionaryTest, EveryGb2312HanziHasOneLineWithAllThreeLetters)
{
    QFile f(ExeFolderPath(QStringLiteral("Ime.DCT")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.left(bytes.size() - 1).split('\n');
    ASSERT_EQ(lines.size(), 6763);
    int index = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA)
                continue; // the five empty cells of row 0xD7
            const QByteArray& l = lines[index++];
            ASSERT_TRUE(l.endsWith('\r'));
            ASSERT_EQ(uchar(l[0]), lead);
            ASSERT_EQ(uchar(l[1]), trail);
            ASSERT_GE(l.size(), 38);
            for (int column : {6, 12, 36}) {
                const char c = l[column];
                EXPECT_TRUE((c >= 'A' && c <= 'Z') || c == ' ')
                    << std::hex << lead << trail << " column " << std::dec << column + 1;
            }
            // Wubi strokes are the five kinds.
            EXPECT_NE(QByteArray("HSPNZ").indexOf(l[12]), -1) << std::hex << lead << trail;
        }
    }
}
