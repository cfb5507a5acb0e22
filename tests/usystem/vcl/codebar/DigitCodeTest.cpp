// Sequential label codes are counted on their digits, never through a number.
#include "usystem/vcl/codebar/uQxCodebar.h"

#include <gtest/gtest.h>

namespace {

TEST(DigitCode, CountsInDecimalWithCarryAndKeepsTheWidth)
{
    const struct
    {
        const char* start;
        std::uint64_t by;
        const char* expected;
    } cases[] = {
        {"501", 1, "502"},
        {"00120", 1, "00121"},
        {"00120", 2, "00122"},
        {"0099", 1, "0100"},
        {"0998", 5, "1003"},
        {"0", 0, "0"},
        {"9", 12, "21"},
        // The carry that runs out at the left widens the code.
        {"999", 1, "1000"},
        {"99", 901, "1000"},
        // 18 digits stay exact (a double would round them).
        {"123456789012345678", 1, "123456789012345679"},
        {"123456789012345678", 2147483646, "123456791159829324"},
        {"999999999999999999", 1, "1000000000000000000"},
        {"000000000000000000", 18446744073709551615ull, "18446744073709551615"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qx::addToDigitCode(QString::fromLatin1(c.start), c.by), QString::fromLatin1(c.expected))
            << c.start << " + " << c.by;
}

TEST(DigitCode, OnlyAsciiDigitsMakeACode)
{
    const struct
    {
        const char16_t* text;
        bool digits;
    } cases[] = {
        {u"0", true},   {u"00120", true}, {u"123456789012345678", true},
        {u"", false},   {u"12A", false},  {u" 12", false},
        {u"12 ", false}, {u"-1", false},  {u"1.5", false},
        {u"1e3", false}, {u"１２", false}, {u"+7", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qx::isDigitCode(QString::fromUtf16(c.text)), c.digits) << QString::fromUtf16(c.text).toStdString();
}

} // namespace
