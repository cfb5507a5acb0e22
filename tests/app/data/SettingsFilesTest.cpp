// The default settings files the build puts in the program folder: GBK, CR LF, the sections
// and keys the program reads, with their defaults.
#include "platform/ini/IniFile.h"
#include "platform/rtl/Gbk.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <QFile>

namespace {

QString programFile(const char* name)
{
    return QStringLiteral(QX_PROGRAM_DIR "/") + QString::fromLatin1(name);
}

struct SettingCase
{
    const char* file;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
};

void PrintTo(const SettingCase& c, std::ostream* os)
{
    *os << c.file << ' ' << QString::fromUtf16(c.section).toStdString() << '/'
        << QString::fromUtf16(c.key).toStdString();
}

class SettingsFileTest : public ::testing::TestWithParam<SettingCase>
{};

TEST_P(SettingsFileTest, HoldsTheKeyWithItsDefault)
{
    const SettingCase& c = GetParam();
    const TIniFile ini(programFile(c.file));
    const QString section = QString::fromUtf16(c.section);
    const QString key = QString::fromUtf16(c.key);
    EXPECT_TRUE(ini.ValueExists(section, key)) << c.file;
    EXPECT_EQ(ini.ReadString(section, key, QStringLiteral("<missing>")), QString::fromUtf16(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, SettingsFileTest,
    ::testing::Values(SettingCase{"ConSQL.ini", u"Server", u"Path", u""},
                      SettingCase{"INC.ini", u"参数", u"启用库存管理", u"否"},
                      SettingCase{"INC.ini", u"主界面", u"主页", u"index.htm"},
                      SettingCase{"INC.ini", u"配置参数", u"车辆档案高度", u""},
                      SettingCase{"INC.ini", u"配置参数", u"客户档案高度", u""},
                      SettingCase{"INC.ini", u"联系公司", u"车牌前导", u""},
                      SettingCase{"ConnectSQL.ini", u"版本", u"报表表名", u"tQueryReport"}),
    [](const ::testing::TestParamInfo<SettingCase>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        return name + "_" + std::to_string(info.index);
    });

TEST(SettingsFiles, AreGbkWithCrLfLines)
{
    for (const char* name : {"ConSQL.ini", "INC.ini", "ConnectSQL.ini"}) {
        QFile f(programFile(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << name;
        EXPECT_TRUE(bytes.endsWith("\r\n")) << name;
        EXPECT_EQ(qx::toGbk(qx::fromGbk(bytes)), bytes) << name;
    }
    QFile inc(programFile("INC.ini"));
    ASSERT_TRUE(inc.open(QIODevice::ReadOnly));
    EXPECT_TRUE(inc.readAll().contains(qx::toGbk(QStringLiteral("[参数]"))));
}

} // namespace
