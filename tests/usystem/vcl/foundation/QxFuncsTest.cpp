#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include "platform/env/ProgramFolder.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

// Fixtures stay out of anonymous namespaces: the tests derived from them are not in one.
class QxFuncsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qx::setProgramFolder(m_dir.path());
        m_ini = ExeFolderPath(QStringLiteral("ConnectSQL.ini"));
    }
    void TearDown() override
    {
        qx::setProgramFolder(QString());
        ResetFormatSettings();
    }
    void writeIni(const QString& text)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(qx::toGbk(text));
    }
    QVariant read(const QString& key, const QVariant& def)
    {
        return ReadIniValue(m_ini, QStringLiteral("设置"), key, def);
    }

    QTemporaryDir m_dir;
    QString m_ini;
};

TEST_F(QxFuncsTest, ExeFolderPathJoinsTheProgramFolder)
{
    EXPECT_EQ(ExeFolderPath(QStringLiteral("Ime.DCT")), m_dir.path() + QStringLiteral("/Ime.DCT"));
    EXPECT_EQ(ExeFolderPath(QString()), m_dir.path() + u'/');
    EXPECT_EQ(ExeFolderPath(QStringLiteral("模板/单据.rmf")), m_dir.path() + QStringLiteral("/模板/单据.rmf"));
    qx::setProgramFolder(QString());
    EXPECT_EQ(ExeFolderPath(QString()), qx::programFolder());
}

TEST_F(QxFuncsTest, StripIniCommentCutsAtTheFirstSign)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"abc # note", "abc"}, {"a*b#c", "a"},      {"a#b*c", "a"},  {"# only", ""},
        {"  text  ", "text"},  {"\tx\x01", "x"},    {"", ""},        {"是*", "是"},
        {"no sign", "no sign"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(StripIniComment(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
    }
}

TEST_F(QxFuncsTest, ReadIniValueWithStringDefault)
{
    writeIni(QStringLiteral("[设置]\r\n"
                            "名称=维修店 # 店名\r\n"
                            "星号=A*B#C\r\n"
                            "注释=# 只有注释\r\n"
                            "空=\r\n"));
    EXPECT_EQ(read("名称", "否"), QVariant(QStringLiteral("维修店")));
    EXPECT_EQ(read("星号", "否"), QVariant(QStringLiteral("A")));
    EXPECT_EQ(read("注释", "否"), QVariant(QString()));
    EXPECT_EQ(read("空", "index.htm"), QVariant(QStringLiteral("index.htm")));
    EXPECT_EQ(read("没有", "否"), QVariant(QStringLiteral("否")));
    EXPECT_EQ(ReadIniValue(ExeFolderPath("none.ini"), "设置", "名称", "否"), QVariant(QStringLiteral("否")));
}

TEST_F(QxFuncsTest, ReadIniValueWithIntegerDefault)
{
    writeIni(QStringLiteral("[设置]\r\n宽度=  640  \r\n注释=#640\r\n字=abc\r\n"));
    const QVariant v = read("宽度", 0);
    EXPECT_EQ(v.metaType().id(), QMetaType::Int);
    EXPECT_EQ(v.toInt(), 640);
    EXPECT_EQ(read("没有", 480), QVariant(480));
    EXPECT_THROW(read("注释", 0), EConvertError);
    EXPECT_THROW(read("字", 0), EConvertError);
    EXPECT_EQ(read("宽度", QVariant::fromValue<short>(1)).toInt(), 640);
    EXPECT_EQ(read("宽度", QVariant::fromValue<uchar>(1)).toInt(), 640);
}

TEST_F(QxFuncsTest, ReadIniValueWithBooleanDefault)
{
    writeIni(QStringLiteral("[设置]\r\n一=1\r\n零=0\r\n二=2\r\n词=是\r\n"));
    EXPECT_EQ(read("一", false), QVariant(true));
    EXPECT_EQ(read("零", true), QVariant(false));
    EXPECT_EQ(read("二", true), QVariant(false));
    EXPECT_EQ(read("没有", true), QVariant(true));
    try {
        read("词", false);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'是' is not a valid integer value"));
    }
}

TEST_F(QxFuncsTest, ReadIniValueWithFloatAndDateDefaults)
{
    writeIni(QStringLiteral("[设置]\r\n比率=12.5 # 百分比\r\n日期=2006-03-05\r\n时刻=2006-03-05 09:07\r\n坏=12,5\r\n"));
    const QVariant f = read("比率", 0.0);
    EXPECT_EQ(f.metaType().id(), QMetaType::Double);
    EXPECT_EQ(f.toDouble(), 12.5);
    EXPECT_EQ(read("比率", QVariant::fromValue(Currency())).toDouble(), 12.5);
    EXPECT_THROW(read("坏", 0.0), EConvertError);
    EXPECT_EQ(read("日期", QDate()).toDateTime(), QDateTime(QDate(2006, 3, 5), QTime(0, 0)));
    EXPECT_EQ(read("时刻", QVariant::fromValue(TDateTime())).value<TDateTime>().toQDateTime(),
              QDateTime(QDate(2006, 3, 5), QTime(9, 7)));
    EXPECT_THROW(read("比率", QDate()), EConvertError);
}

TEST_F(QxFuncsTest, WriteIniStringChangesOneValue)
{
    writeIni(QStringLiteral("[设置]\r\n名称=旧 # 注释\r\n其它=x\r\n"));
    WriteIniString(m_ini, "设置", "名称", "新店");
    WriteIniString(m_ini, "选择窗口BMaterial", "Top", "12");
    QFile f(m_ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), qx::toGbk(QStringLiteral(
                               "[设置]\r\n名称=新店\r\n其它=x\r\n[选择窗口BMaterial]\r\nTop=12\r\n")));
    EXPECT_THROW(WriteIniString(ExeFolderPath("missing/ConnectSQL.ini"), "a", "b", "c"),
                 EIniFileException);
}

TEST_F(QxFuncsTest, SetupDateTimeFormatsFixesDateAndTimeTexts)
{
    FormatSettings().ShortDateFormat = QStringLiteral("m/d/yy");
    FormatSettings().DateSeparator = u'/';
    SetupDateTimeFormats();
    EXPECT_EQ(FormatSettings().ShortDateFormat, QStringLiteral("YYYY-MM-DD"));
    EXPECT_EQ(FormatSettings().ShortTimeFormat, QStringLiteral("HH:MM"));
    EXPECT_EQ(FormatSettings().DateSeparator, u'-');
    EXPECT_EQ(FormatSettings().TimeSeparator, u':');
    EXPECT_EQ(DateToStr(EncodeDate(2006, 3, 5)), QStringLiteral("2006-03-05"));
    EXPECT_EQ(FormatDateTime(FormatSettings().ShortTimeFormat, EncodeTime(9, 7, 0, 0)),
              QStringLiteral("09:07"));
    EXPECT_EQ(StrToDate("2006-3-5").toQDate(), QDate(2006, 3, 5));
}

TEST_F(QxFuncsTest, LocalizeTextLeavesTextAsItIs)
{
    EXPECT_EQ(LocalizeText(QStringLiteral("确定")), QStringLiteral("确定"));
    EXPECT_EQ(LocalizeText(QString()), QString());
}
