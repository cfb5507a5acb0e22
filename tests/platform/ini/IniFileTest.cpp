#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ini/IniFile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"

#include <functional>

using qx::toGbk;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString path(const QString& name = QStringLiteral("ConnectSQL.ini")) const
    {
        return m_dir.filePath(name);
    }
    void writeBytes(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    QTemporaryDir m_dir;
};

// A settings file as the shop keeps it: GBK, CR LF, Chinese names, comments, blank lines.
QByteArray sampleFile()
{
    return toGbk(QStringLiteral("; 系统设置\r\n"
                                "[版本]\r\n"
                                "报表表名 = tQueryReport   # 报表定义表\r\n"
                                "版本号=\"3.1\"\r\n"
                                "\r\n"
                                "[选择窗口BMaterial]\r\n"
                                "Top=100\r\n"
                                "Left=  '20' \r\n"
                                ";Width=999\r\n"
                                "Width=640\r\n"
                                "\r\n"
                                "[版本]\r\n"
                                "报表表名=Shadowed\r\n"
                                "[空节]\r\n"));
}

} // namespace

TEST_F(IniFileTest, ReadsUnderTheProfileRules)
{
    writeBytes(path(), sampleFile());
    TIniFile ini(path());
    const struct
    {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"版本", "报表表名", "tQueryReport   # 报表定义表"}, // first section wins; comment kept
        {"版本", "版本号", "3.1"},                             // one pair of quotes removed
        {"选择窗口bmaterial", "TOP", "100"},                   // names without case
        {"选择窗口BMaterial", "Left", "20"},
        {"选择窗口BMaterial", "Width", "640"},                 // ';' line is a comment
        {"选择窗口BMaterial", ";Width", "(default)"},
        {"选择窗口BMaterial", "Height", "(default)"},
        {"没有", "Top", "(default)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                 QStringLiteral("(default)")),
                  QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(ini.ReadInteger("选择窗口BMaterial", "Width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("版本", "报表表名", -1), -1);
    EXPECT_EQ(ini.ReadInteger("选择窗口BMaterial", "Height", 480), 480);
    EXPECT_TRUE(ini.ReadBool("选择窗口BMaterial", "Top", false));
    EXPECT_FALSE(ini.ReadBool("选择窗口BMaterial", "Missing", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("版本", "版本号", 0), 3.1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("版本", "报表表名", 2.5), 2.5);

    QStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list, (QStringList{"版本", "选择窗口BMaterial", "空节"}));
    ini.ReadSection("选择窗口BMaterial", list);
    EXPECT_EQ(list, (QStringList{"Top", "Left", "Width"}));
    ini.ReadSectionValues("选择窗口BMaterial", list);
    EXPECT_EQ(list, (QStringList{"Top=100", "Left=20", "Width=640"}));
    EXPECT_TRUE(ini.SectionExists("版本"));
    EXPECT_FALSE(ini.SectionExists("空节"));
    EXPECT_FALSE(ini.SectionExists("没有"));
    EXPECT_TRUE(ini.ValueExists("选择窗口BMaterial", "width"));
    EXPECT_FALSE(ini.ValueExists("选择窗口BMaterial", "Height"));
}

TEST_F(IniFileTest, MissingFileReadsAsEmpty)
{
    TIniFile ini(path(QStringLiteral("nothing.ini")));
    EXPECT_EQ(ini.ReadString("a", "b", "否"), QStringLiteral("否"));
    QStringList list{"x"};
    ini.ReadSections(list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("nothing.ini"))));
}

TEST_F(IniFileTest, RewriteChangesOnlyTheOneValue)
{
    writeBytes(path(), sampleFile());
    TIniFile ini(path());
    ini.WriteString("选择窗口bmaterial", "LEFT", "35");
    ini.WriteString("版本", "报表表名", "tReport");
    ini.WriteInteger("选择窗口BMaterial", "Height", 480); // new key after the last key
    ini.WriteBool("新节", "启用", true);                  // new section at the end
    const QByteArray expected = toGbk(QStringLiteral("; 系统设置\r\n"
                                                     "[版本]\r\n"
                                                     "报表表名 = tReport\r\n"
                                                     "版本号=\"3.1\"\r\n"
                                                     "\r\n"
                                                     "[选择窗口BMaterial]\r\n"
                                                     "Top=100\r\n"
                                                     "Left=  35\r\n"
                                                     ";Width=999\r\n"
                                                     "Width=640\r\n"
                                                     "Height=480\r\n"
                                                     "\r\n"
                                                     "[版本]\r\n"
                                                     "报表表名=Shadowed\r\n"
                                                     "[空节]\r\n"
                                                     "[新节]\r\n"
                                                     "启用=1\r\n"));
    EXPECT_EQ(readBytes(path()), expected);
    EXPECT_EQ(ini.ReadString("新节", "启用", ""), QStringLiteral("1"));
}

// A settings file someone saved in another encoding or with stray bytes: the keys that read
// still read, and rewriting one value leaves every other byte of the file as it was.
TEST_F(IniFileTest, BytesThatAreNoGbkTextStayAsTheyWere)
{
    const QByteArray head = QByteArray("; ") + QStringLiteral("系统设置（UTF-8）").toUtf8() + "\r\n"
                            "[Server]\r\n"
                            "Path=C:\\\x81\r\n" // a lead byte without its second byte
                            + QByteArray("Note=\xFF\x80\x00tail\r\n", 14) // bytes no GBK text holds, and a NUL
                            + "Left=20\r\n";
    const QByteArray tail = QByteArray("[") + QStringLiteral("名称").toUtf8() + "]\r\n"
                            "Top=100\r\n";
    writeBytes(path(), head + tail);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("Server", "Left", ""), QStringLiteral("20"));
    ini.WriteString("Server", "Left", "35");
    QByteArray expected = head + tail;
    expected.replace("Left=20", "Left=35");
    EXPECT_EQ(readBytes(path()), expected);
}

TEST_F(IniFileTest, LineEndingsOfTheFileAreKept)
{
    // LF endings and no final line break.
    writeBytes(path(), toGbk(QStringLiteral("[主界面]\n主页=index.htm\n[其它]\nA=1")));
    TIniFile ini(path());
    ini.WriteString("主界面", "主页", "home.htm");
    ini.WriteString("其它", "B", "2");
    EXPECT_EQ(readBytes(path()),
              toGbk(QStringLiteral("[主界面]\n主页=home.htm\n[其它]\nA=1\nB=2\n")));
}

TEST_F(IniFileTest, AByteOrderMarkBeforeTheFirstSectionIsPassedOver)
{
    // An editor that saved the file with a UTF-8 mark: the first section is found all the
    // same, and a rewrite keeps the mark where it was.
    const QByteArray bom("\xEF\xBB\xBF");
    writeBytes(path(), bom + toGbk(QStringLiteral("[Server]\r\nPath=\\\\srv\\店\\Account.mdb\r\n")));
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("Server", "Path", ""), QStringLiteral("\\\\srv\\店\\Account.mdb"));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{QStringLiteral("Server")});
    ini.WriteString("Server", "Path", "/mnt/shop/Account.mdb");
    EXPECT_EQ(readBytes(path()), bom + toGbk(QStringLiteral("[Server]\r\nPath=/mnt/shop/Account.mdb\r\n")));

    // A file that holds nothing but the mark takes its first section right after it.
    writeBytes(path(QStringLiteral("INC.ini")), bom);
    TIniFile empty(path(QStringLiteral("INC.ini")));
    empty.WriteString("参数", "启用库存管理", "是");
    EXPECT_EQ(readBytes(path(QStringLiteral("INC.ini"))), bom + toGbk(QStringLiteral("[参数]\r\n启用库存管理=是\r\n")));
    EXPECT_EQ(empty.ReadString("参数", "启用库存管理", ""), QStringLiteral("是"));
}

TEST_F(IniFileTest, CarriageReturnsAloneEndLinesToo)
{
    const struct { const char* text; const char* endings; } files[] = {
        {"[A]\rX=1\rY= 2 \r\r[B]\rZ=3", "CR alone"},
        {"[A]\r\nX=1\rY= 2 \n\r[B]\nZ=3\r", "mixed"},
    };
    for (const auto& f : files) {
        writeBytes(path(), QByteArray(f.text));
        TIniFile ini(path());
        EXPECT_EQ(ini.ReadString("A", "X", ""), QStringLiteral("1")) << f.endings;
        EXPECT_EQ(ini.ReadString("A", "Y", ""), QStringLiteral("2")) << f.endings;
        EXPECT_EQ(ini.ReadString("B", "Z", ""), QStringLiteral("3")) << f.endings;
        QStringList keys;
        ini.ReadSection("A", keys);
        EXPECT_EQ(keys, (QStringList{QStringLiteral("X"), QStringLiteral("Y")})) << f.endings;
    }
    // New lines follow the file's first ending; the others stay as they were.
    writeBytes(path(), QByteArray("[A]\rX=1\r[B]\rZ=3"));
    TIniFile ini(path());
    ini.WriteString("A", "W", "4");
    ini.WriteString("B", "Z", "5");
    ini.WriteString("C", "V", "6");
    EXPECT_EQ(readBytes(path()), QByteArray("[A]\rX=1\rW=4\r[B]\rZ=5\r[C]\rV=6\r"));
}

TEST_F(IniFileTest, WritingCreatesTheFileWithWindowsEndings)
{
    TIniFile ini(path(QStringLiteral("INC.ini")));
    ini.WriteString("主界面", "主页", "index.htm");
    ini.WriteString("主界面", "标题", "维修\r\n管理");
    EXPECT_EQ(readBytes(path(QStringLiteral("INC.ini"))),
              toGbk(QStringLiteral("[主界面]\r\n主页=index.htm\r\n标题=维修  管理\r\n")));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey)
{
    writeBytes(path(), sampleFile());
    TIniFile ini(path());
    ini.DeleteKey("选择窗口BMaterial", "top");
    ini.EraseSection("版本"); // the first one
    ini.DeleteKey("没有", "x");
    ini.EraseSection("没有");
    EXPECT_EQ(readBytes(path()), toGbk(QStringLiteral("; 系统设置\r\n"
                                                      "[选择窗口BMaterial]\r\n"
                                                      "Left=  '20' \r\n"
                                                      ";Width=999\r\n"
                                                      "Width=640\r\n"
                                                      "\r\n"
                                                      "[版本]\r\n"
                                                      "报表表名=Shadowed\r\n"
                                                      "[空节]\r\n")));
    // The second section of the name is the one found now.
    EXPECT_EQ(ini.ReadString("版本", "报表表名", ""), QStringLiteral("Shadowed"));
    ini.UpdateFile();
}

TEST_F(IniFileTest, WriteFailuresRaise)
{
    TIniFile missingFolder(m_dir.filePath(QStringLiteral("no/such/folder/a.ini")));
    try {
        missingFolder.WriteString("a", "b", "c");
        ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Unable to write to ")));
    }

    writeBytes(path(), sampleFile());
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    TIniFile readOnly(path());
    EXPECT_THROW(readOnly.WriteString("版本", "版本号", "4"), EIniFileException);
    EXPECT_THROW(readOnly.EraseSection("版本"), EIniFileException);
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readBytes(path()), sampleFile());
}

TEST_F(IniFileTest, ReadDateUsesTheShortDateFormat)
{
    writeBytes(path(), toGbk(QStringLiteral("[日期]\r\n开始=2006-3-5\r\n坏=明天\r\n")));
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadDate("日期", "开始", TDateTime()).toQDate(), QDate(2006, 3, 5));
    EXPECT_EQ(ini.ReadDate("日期", "坏", TDateTime(7)).Val, 7);
}

TEST_F(IniFileTest, NamesWhoseSecondBytesLookLikeSyntax)
{
    // GBK characters whose second byte is ']', '[' or a backslash must not end or start anything.
    const QString closing = qx::fromGbk(QByteArray("\x81\x5D", 2));
    const QString opening = qx::fromGbk(QByteArray("\x81\x5B", 2));
    const QString backslash = qx::fromGbk(QByteArray("\x81\x5C", 2));
    ASSERT_EQ(closing.size(), 1);
    ASSERT_EQ(opening.size(), 1);
    ASSERT_EQ(backslash.size(), 1);
    const QString section = QStringLiteral("节") + closing + QStringLiteral("名");
    const QString key = backslash + opening + QStringLiteral("键");
    TIniFile ini(path());
    ini.WriteString(section, key, QStringLiteral("值") + closing);
    EXPECT_EQ(ini.ReadString(section, key, ""), QStringLiteral("值") + closing);
    QStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list, QStringList{section});
    ini.ReadSection(section, list);
    EXPECT_EQ(list, QStringList{key});
}

// A write that cannot reach the disk says why and leaves the file as it was, for each kind of
// write; then the same on a file system that is really full.
TEST_F(IniFileTest, AFailedWriteLeavesTheFileWhole)
{
    const std::pair<const char*, std::function<void(TIniFile&)>> writes[] = {
        {"WriteString", [](TIniFile& ini) { ini.WriteString("版本", "版本号", QString(3000, u'新')); }},
        {"WriteInteger", [](TIniFile& ini) { ini.WriteInteger("新节", "Top", 12); }},
        {"EraseSection", [](TIniFile& ini) { ini.EraseSection("选择窗口BMaterial"); }},
        {"DeleteKey", [](TIniFile& ini) { ini.DeleteKey("版本", "版本号"); }},
    };
    for (const auto& [name, write] : writes) {
        writeBytes(path(), sampleFile());
        TIniFile ini(path());
        qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC);
        try {
            write(ini);
            ADD_FAILURE() << name << ": no error";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to %1. 磁盘空间不足。").arg(path())) << name;
        }
        EXPECT_EQ(readBytes(path()), sampleFile()) << name;
    }
}

TEST_F(IniFileTest, AWriteOnAFullFileSystemLeavesTheFileWhole)
{
    qxtest::SmallFileSystem fs(64);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString file = fs.filePath(QStringLiteral("INC.ini"));
    writeBytes(file, sampleFile());
    fs.fill();
    TIniFile ini(file);
    EXPECT_THROW(ini.WriteString("版本", "说明", QString(20000, u'长')), EIniFileException);
    EXPECT_EQ(readBytes(file), sampleFile());
    EXPECT_EQ(ini.ReadString("版本", "版本号", ""), QStringLiteral("3.1"));
}
