#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

class FormatDateTimeTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetFormatSettings(); }
    void TearDown() override { ResetFormatSettings(); }
};

// 2006-03-05 (a Sunday) 09:07:04.032
TDateTime sample()
{
    return TDateTime(EncodeDate(2006, 3, 5).Val + EncodeTime(9, 7, 4, 32).Val);
}

} // namespace

TEST_F(FormatDateTimeTest, Specifiers)
{
    const TDateTime afternoon(EncodeDate(2026, 12, 10).Val + EncodeTime(15, 30, 0, 0).Val);
    const struct
    {
        const char* format;
        TDateTime value;
        const char* expected;
    } cases[] = {
        {"yyyy-mm-dd", sample(), "2006-03-05"},
        {"YYYY-MM-DD", sample(), "2006-03-05"},
        {"yy/m/d", sample(), "06-3-5"},
        {"hh:nn:ss", sample(), "09:07:04"},
        {"HH:MM", sample(), "09:07"},               // mm right after hh is minutes
        {"h:m", sample(), "9:7"},
        {"yyyy-mm-dd hh:mm", sample(), "2006-03-05 09:07"},
        {"hh:nn:ss.zzz", sample(), "09:07:04.032"},
        {"s.z", sample(), "4.32"},
        {"ddd dddd", sample(), "日 星期日"},
        {"mmm mmmm", sample(), "三月 三月"},
        {"mmmm", afternoon, "十二月"},
        {"yyyy'年'm'月'd'日'", sample(), "2006年3月5日"},
        {"\"mm\"dd", sample(), "mm05"},
        {"ddddd", sample(), "2006-03-05"},
        {"dddddd", sample(), "2006年3月5日"},
        {"c", sample(), "2006-03-05 09:07:04"},
        {"c", EncodeDate(2006, 3, 5), "2006-03-05"},
        {"t", sample(), "09:07"},
        {"tt", sample(), "09:07:04"},
        {"h:nn am/pm", afternoon, "3:30 pm"},
        {"h:nn AM/PM", sample(), "9:07 AM"},
        {"hh:nn a/p", afternoon, "03:30 p"},
        {"ampm h:nn", afternoon, "下午 3:30"},
        {"ampm h:nn", sample(), "上午 9:07"},
        {"yyyymmdd", EncodeDate(1, 1, 1), "00010101"},
        {"yyyy-mm-dd hh:nn:ss", EncodeDate(9999, 12, 31), "9999-12-31 00:00:00"},
        {"yyyy-mm-dd", TDateTime(-1.25), "1899-12-29"},
        {"", sample(), "2006-03-05 09:07:04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected));
    }
}

TEST_F(FormatDateTimeTest, SeparatorsComeFromTheSettings)
{
    FormatSettings().DateSeparator = u'/';
    FormatSettings().TimeSeparator = u'.';
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", sample()), QStringLiteral("2006/03/05 09.07"));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", sample()), QStringLiteral("2006-03-05"));
}

TEST_F(FormatDateTimeTest, OutOfRangeValueRaises)
{
    EXPECT_THROW(FormatDateTime("yyyy", TDateTime(1e7)), EConvertError);
}

TEST_F(FormatDateTimeTest, StandardTexts)
{
    EXPECT_EQ(DateToStr(sample()), QStringLiteral("2006-03-05"));
    EXPECT_EQ(TimeToStr(sample()), QStringLiteral("09:07:04"));
    EXPECT_EQ(DateTimeToStr(sample()), QStringLiteral("2006-03-05 09:07:04"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2006, 3, 5)), QStringLiteral("2006-03-05"));
}
