#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <functional>

namespace {

// The message of the conversion error raised by fn, or "(none)".
QString errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return QStringLiteral("(none)");
}

class ConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        qx::setToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        qx::clearToday();
        ResetFormatSettings();
    }
};

} // namespace

TEST_F(ConversionTest, Integers)
{
    const struct
    {
        const char* text;
        qint64 value;
    } good[] = {{"0", 0}, {"42", 42}, {"-42", -42}, {"+7", 7}, {"  12", 12}, {"$FF", 255},
                {"0x10", 16}, {"2147483647", 2147483647}, {"-2147483648", -2147483648LL}};
    for (const auto& c : good) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToInt(QString::fromUtf8(c.text)), c.value);
        EXPECT_EQ(StrToInt64(QString::fromUtf8(c.text)), c.value);
    }
    for (const char* bad : {"", "abc", "12 ", "1.5", "2147483648", "-", "1e3", "１２"}) {
        SCOPED_TRACE(bad);
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(errorOf([&] { StrToInt(text); }),
                  QStringLiteral("'%1' is not a valid integer value").arg(text));
        EXPECT_EQ(StrToIntDef(text, -9), -9);
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(errorOf([] { StrToInt64("9223372036854775808"); }),
              QStringLiteral("'9223372036854775808' is not a valid integer value"));
    EXPECT_EQ(StrToIntDef("15", 0), 15);
}

TEST_F(ConversionTest, Floats)
{
    const struct
    {
        const char* text;
        double value;
    } good[] = {{"12.5", 12.5}, {" -0.25 ", -0.25}, {"1e3", 1000}, {"1.5E-2", 0.015}, {".5", 0.5},
                {"5.", 5}, {"0", 0}};
    for (const auto& c : good) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToFloat(QString::fromUtf8(c.text)), c.value);
    }
    for (const char* bad : {"", "x", "1,5", "1.2.3", "1e", "1e999", "--1", "."}) {
        SCOPED_TRACE(bad);
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(errorOf([&] { StrToFloat(text); }),
                  QStringLiteral("'%1' is not a valid floating point value").arg(text));
        double out = 77;
        EXPECT_FALSE(TryStrToFloat(text, out));
        EXPECT_EQ(out, 77);
    }
    EXPECT_EQ(StrToCurr("19.99").raw(), 199900);
    EXPECT_EQ(StrToCurr("0.00005").raw(), 0);
    EXPECT_EQ(errorOf([] { StrToCurr("abc"); }),
              QStringLiteral("'abc' is not a valid floating point value"));
}

TEST_F(ConversionTest, Dates)
{
    const struct
    {
        const char* text;
        int y, m, d;
    } good[] = {
        {"2006-03-05", 2006, 3, 5}, {"2006-3-5", 2006, 3, 5},   {"2006/03/05", 2006, 3, 5},
        {" 2006-3-5 ", 2006, 3, 5}, {"06-3-5", 2006, 3, 5},     {"76-1-1", 1976, 1, 1},
        {"75-1-1", 2075, 1, 1},     {"3-5", 2026, 3, 5},        {"0001-01-01", 1, 1, 1},   {"0-1-1", 2000, 1, 1},
        {"9999-12-31", 9999, 12, 31}, {"2000-2-29", 2000, 2, 29},
    };
    for (const auto& c : good) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToDate(QString::fromUtf8(c.text)).toQDate(), QDate(c.y, c.m, c.d));
    }
    for (const char* bad : {"", "abc", "2006-13-01", "2006-02-30", "2006-3-5x", "2006.3.5",
                            "2006-003-05", "20060305", "2006-03-05 10:00", "0000-01-01"}) {
        SCOPED_TRACE(bad);
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(errorOf([&] { StrToDate(text); }), QStringLiteral("'%1' is not a valid date").arg(text));
        TDateTime out(5);
        EXPECT_FALSE(TryStrToDate(text, out));
        EXPECT_EQ(out.Val, 5);
    }
}

TEST_F(ConversionTest, TimesAndDateTimes)
{
    EXPECT_EQ(StrToTime("09:07").Val, EncodeTime(9, 7, 0, 0).Val);
    EXPECT_EQ(StrToTime("9:07:04").Val, EncodeTime(9, 7, 4, 0).Val);
    EXPECT_EQ(StrToTime("23:59:59.5").Val, EncodeTime(23, 59, 59, 5).Val);
    EXPECT_EQ(StrToTime("3:30 PM").Val, EncodeTime(15, 30, 0, 0).Val);
    EXPECT_EQ(StrToTime("下午 3:30").Val, EncodeTime(15, 30, 0, 0).Val);
    EXPECT_EQ(StrToTime("12:00 am").Val, 0);
    for (const char* bad : {"", "9", "24:00", "12:60", "x:10", "10:00:61", "13:00 PM"}) {
        SCOPED_TRACE(bad);
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(errorOf([&] { StrToTime(text); }), QStringLiteral("'%1' is not a valid time").arg(text));
    }
    EXPECT_EQ(StrToDateTime("2006-03-05 09:07:04").toQDateTime(),
              QDateTime(QDate(2006, 3, 5), QTime(9, 7, 4)));
    EXPECT_EQ(StrToDateTime("2006-3-5").toQDateTime(), QDateTime(QDate(2006, 3, 5), QTime(0, 0)));
    EXPECT_EQ(StrToDateTime("10:30").Val, EncodeTime(10, 30, 0, 0).Val);
    for (const char* bad : {"", "2006-03-05 25:00", "2006-03-05x", "nonsense"}) {
        SCOPED_TRACE(bad);
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(errorOf([&] { StrToDateTime(text); }),
                  QStringLiteral("'%1' is not a valid date and time").arg(text));
    }
}

TEST_F(ConversionTest, DateTextRoundTrips)
{
    for (int serial = -693593; serial <= 2958465; serial += 997) {
        const TDateTime d(serial);
        ASSERT_EQ(StrToDate(DateToStr(d)).Val, d.Val) << serial;
    }
}
