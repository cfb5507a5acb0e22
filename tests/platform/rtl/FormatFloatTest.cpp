#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <limits>

namespace {

struct FloatCase
{
    const char* format;
    double value;
    const char* expected;
};

} // namespace

TEST(FormatFloat, Pictures)
{
    const FloatCase cases[] = {
        {"0.00", 12.5, "12.50"},
        {"0.00", -12.5, "-12.50"},
        {"0.00", 0, "0.00"},
        {"0.00", 2.675, "2.68"},          // the decimal digits round, not the binary value
        {"0.00", 0.125, "0.13"},          // halves away from zero
        {"0.00", -0.125, "-0.13"},
        {"0.00", 1.005, "1.01"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 0.4, "0"},
        {"0", -0.4, "0"},                 // no sign on a value shown as zero
        {"#", 0, ""},
        {"#.##", 0.5, ".5"},
        {"#.##", 12, "12"},
        {"0.##", 1.2, "1.2"},
        {"0.0#", 1, "1.0"},
        {"000", 7, "007"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", -1234, "-1,234"},
        {"#,##0", 123, "123"},
        {"#,##0.00", 0.5, "0.50"},
        {",0", 1000000, "1,000,000"},
        {"0.00;(0.00)", -5, "(5.00)"},
        {"0.00;(0.00)", 5, "5.00"},
        {"0.00;;'零'", 0, "零"},
        {"0.00;-0.00;'零'", 0.001, "零"},  // rounds to zero: the zero section
        {"0.00;;zero", -0.001, "zero"},
        {"'￥'#,##0.00", 1234.5, "￥1,234.50"},
        {"\"共\"0\"件\"", 3, "共3件"},
        {"0.00%", 12.345, "12.35%"},
        {"0.00E+00", 12345.678, "1.23E+04"},
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E-00", 12345.678, "1.23E04"},
        {"0.###E+0", -0.5, "-5E-1"},
        {"0.00E+00", 0, "0.00E+00"},
        {"", 12.5, "12.5"},
        {"0", 123456789012345.0, "123456789012345"},
        {"0.0000", 1e-5, "0.0000"},
        {"abc", 5, "abc"},
        {"000-0000", 1234567, "123-4567"},   // texts between digit places stay in place
        {"000-0000", 91234567, "9123-4567"}, // extra digits go to the first place
        {"0.00", 999.995, "1000.00"},
        {"0.00", -1e-20, "0.00"},
        {"#,##0.00;(#,##0.00);-", 0, "-"},
        {"#,##0.00;(#,##0.00);-", -1234.5, "(1,234.50)"},
        // A second point is no text: every place after the first point is a decimal.
        {"#.##0.00", 12.5, "12.50000"},
        {"#.##0.00", -0.125, "-.12500"},
        {"0.0.0", 1.255, "1.26"},
        {"0.00'.'", 1.5, "1.50."},          // a quoted point stays text
    };
    for (const FloatCase& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " / " + std::to_string(c.value));
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::infinity()), QStringLiteral("INF"));
    EXPECT_EQ(FormatFloat("0.00", std::nan("")), QStringLiteral("NAN"));
}

TEST(FormatFloat, CurrencyPicturesUseTheExactValue)
{
    EXPECT_EQ(FormatCurr("0.00", Currency::fromString("2.675")), QStringLiteral("2.68"));
    EXPECT_EQ(FormatCurr("#,##0.00", Currency::fromString("-1234567.8")),
              QStringLiteral("-1,234,567.80"));
    EXPECT_EQ(FormatCurr("0.00", Currency()), QStringLiteral("0.00"));
    EXPECT_EQ(FormatCurr("0", Currency::fromString("0.5")), QStringLiteral("1"));
    EXPECT_EQ(FormatCurr("", Currency::fromString("0.5")), QStringLiteral("0.5"));
}

TEST(FloatToStr, FifteenSignificantDigitsShortest)
{
    const struct
    {
        double value;
        const char* expected;
    } cases[] = {
        {0, "0"},
        {12.5, "12.5"},
        {-3, "-3"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {-1.5e-7, "-1.5E-7"},
        {100, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FloatToStr(c.value), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(CurrToStr(Currency::fromString("12.30")), QStringLiteral("12.3"));
    EXPECT_EQ(IntToStr(-42), QStringLiteral("-42"));
}

TEST(Rounding, RoundHalvesToEven)
{
    const struct
    {
        double value;
        qint64 expected;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2},
                 {2.5001, 3}, {0, 0}, {1e15 + 0.5, 1000000000000000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Round(c.value), c.expected);
    }
    EXPECT_THROW(Round(1e19), ERangeError);
    EXPECT_THROW(Round(std::nan("")), ERangeError);
}

TEST(Rounding, RoundToDecimalPlaces)
{
    const struct
    {
        double value;
        int digits;
        double expected;
    } cases[] = {
        {1.235, -2, 1.24}, {1.245, -2, 1.24}, {-1.235, -2, -1.24}, {2.675, -2, 2.68},
        {1.005, -2, 1.0},  {1234.5, 0, 1234}, {1235.5, 0, 1236},   {1250, 2, 1200},
        {1350, 2, 1400},   {0.0001, -2, 0},   {12.3456, -4, 12.3456},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " " + std::to_string(c.digits));
        EXPECT_EQ(RoundTo(c.value, c.digits), c.expected);
    }
}

TEST(Trim, DropsEveryControlCharacterAndBlank)
{
    const QString padded = QStringLiteral("\t\r\n 数 据 \x01\x1f ");
    EXPECT_EQ(Trim(padded), QStringLiteral("数 据"));
    EXPECT_EQ(TrimLeft(padded), QStringLiteral("数 据 \x01\x1f "));
    EXPECT_EQ(TrimRight(padded), QStringLiteral("\t\r\n 数 据"));
    EXPECT_EQ(Trim(QStringLiteral(" \t ")), QString());
    // The ideographic space is above ' ' and stays.
    EXPECT_EQ(Trim(QStringLiteral("\u3000a\u3000")), QStringLiteral("\u3000a\u3000"));
}
