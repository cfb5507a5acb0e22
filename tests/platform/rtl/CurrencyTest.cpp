#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"

#include <limits>

TEST(Currency, FromDoubleRoundsHalvesToEvenAtTheFourthPlace)
{
    const struct
    {
        double value;
        std::int64_t raw;
    } cases[] = {
        {0.0, 0},         {12.5, 125000},      {-3.0, -30000},     {0.00005, 0},
        {0.00015, 2},     {0.00025, 2},        {-0.00015, -2},     {1.23456, 12346},
        {0.1 + 0.2, 3000}, {922337203685477.0, 9223372036854770000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Currency::fromDouble(c.value).raw(), c.raw);
    }
    EXPECT_THROW(Currency::fromDouble(1e16), ERangeError);
    EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::infinity()), ERangeError);
}

// Doubles read from text with at most four decimals give the value the text names, as the
// text itself does, near zero, around the money of a shop and up to the largest such values.
TEST(Currency, FromDoubleOfFourDecimalsEqualsTheText)
{
    const std::int64_t starts[] = {0, 1, 9999, 125000, 30000000, 123456789, 99999999999990LL, 999999999997000LL};
    for (std::int64_t start : starts) {
        for (std::int64_t units = start; units < start + 2000; units += 7) {
            for (std::int64_t sign : {1, -1}) {
                const std::int64_t raw = sign * units;
                const QString text = Currency::fromRaw(raw).toString();
                SCOPED_TRACE(text.toStdString());
                const double value = text.toDouble();
                EXPECT_EQ(Currency::fromDouble(value).raw(), raw);
                EXPECT_EQ(Currency::fromDouble(value), Currency::fromString(text));
            }
        }
    }
    // Beyond four decimals and beyond 15 digits the value is rounded through its 15 digits.
    const struct
    {
        double value;
        std::int64_t raw;
    } rounded[] = {
        {0.30000000000000004, 3000}, {2.00005, 20000},   {2.00015, 20002},        {-7.123449999, -71234},
        {1e11, 1000000000000000LL},  {-0.0, 0},          {123456789012.34567, 1234567890123460LL},
    };
    for (const auto& c : rounded) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Currency::fromDouble(c.value).raw(), c.raw);
    }
}

TEST(Currency, TextBothWays)
{
    const struct
    {
        const char* text;
        std::int64_t raw;
        const char* shown;
    } cases[] = {
        {"12.5", 125000, "12.5"},   {"-0.0001", -1, "-0.0001"}, {"  7 ", 70000, "7"},
        {"0", 0, "0"},              {"-3.00", -30000, "-3"},    {"1.00005", 10000, "1"},
        {"1.00015", 10002, "1.0002"}, {".5", 5000, "0.5"},      {"1e3", 10000000, "1000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Currency v = Currency::fromString(QString::fromUtf8(c.text));
        EXPECT_EQ(v.raw(), c.raw);
        EXPECT_EQ(v.toString(), QString::fromUtf8(c.shown));
    }
    for (const char* bad : {"", "abc", "1.2.3", "1,000", "12元", "-", "9999999999999999"}) {
        SCOPED_TRACE(bad);
        try {
            Currency::fromString(QString::fromUtf8(bad));
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid floating point value")
                                       .arg(QString::fromUtf8(bad)));
        }
    }
}

TEST(Currency, ArithmeticIsExact)
{
    // Ten times 0.1 is exactly 1: the sum that goes wrong in doubles.
    Currency sum;
    for (int i = 0; i < 10; ++i)
        sum += Currency::fromString(QStringLiteral("0.1"));
    EXPECT_EQ(sum, Currency(1));
    EXPECT_EQ((Currency(5) - Currency::fromRaw(1)).raw(), 49999);
    EXPECT_EQ((Currency::fromString("19.99") * 3).toString(), QStringLiteral("59.97"));
    // 1.0001 * 1.0001 = 1.00020001: the fifth place rounds away.
    EXPECT_EQ((Currency::fromRaw(10001) * Currency::fromRaw(10001)).raw(), 10002);
    // 0.0005 * 0.5 = 0.00025: exactly half, rounds to even 0.0002.
    EXPECT_EQ((Currency::fromRaw(5) * Currency::fromRaw(5000)).raw(), 2);
    EXPECT_EQ((Currency::fromRaw(15) * Currency::fromRaw(5000)).raw(), 8);
    EXPECT_EQ((Currency(10) / Currency(3)).raw(), 33333);
    EXPECT_EQ((Currency(-10) / 3).raw(), -33333);
    EXPECT_EQ((Currency::fromRaw(5) / 2).raw(), 2);
    EXPECT_THROW(Currency(1) / Currency(0), ERangeError);
    EXPECT_THROW(Currency(1) / 0, ERangeError);
    EXPECT_THROW(Currency::fromRaw(std::numeric_limits<std::int64_t>::max()) + Currency::fromRaw(1),
                 ERangeError);
    EXPECT_THROW(Currency::fromRaw(std::numeric_limits<std::int64_t>::max() / 2) * 3, ERangeError);
}

TEST(Currency, Comparison)
{
    EXPECT_LT(Currency::fromString("-0.0001"), Currency());
    EXPECT_GT(Currency::fromString("10.5"), Currency(10));
    EXPECT_EQ(Currency::fromString("2.50"), Currency::fromDouble(2.5));
    EXPECT_EQ(-Currency(3), Currency(-3));
    EXPECT_DOUBLE_EQ(Currency::fromString("12.3456").toDouble(), 12.3456);
}
