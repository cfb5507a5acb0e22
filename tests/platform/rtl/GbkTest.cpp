#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Gbk.h"

using namespace qx;

TEST(Gbk, WholeGb2312RangeRoundTrips)
{
    int checked = 0;
    for (int lead = 0xA1; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const QByteArray bytes(pair, 2);
            const QString text = fromGbk(bytes);
            if (text.contains(QChar(0xFFFD)))
                continue; // an empty cell of the table
            ASSERT_EQ(text.size(), 1) << std::hex << lead << trail;
            ASSERT_EQ(toGbk(text), bytes) << std::hex << lead << trail;
            ASSERT_EQ(gbkLength(text), 2);
            ++checked;
        }
    }
    // Every hanzi of rows 0xB0-0xF7 (6763) and the symbols of rows 0xA1-0xA9 (682).
    EXPECT_GE(checked, 6763 + 682);
    // Hanzi rows have no empty cell but the five at the end of row 0xD7.
    int hanzi = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const QString text = fromGbk(QByteArray(pair, 2));
            if (text.size() == 1 && text[0].unicode() >= 0x4E00 && text[0].unicode() <= 0x9FFF)
                ++hanzi;
        }
    }
    EXPECT_EQ(hanzi, 6763);
}

TEST(Gbk, MixedTextLengthsAndCuts)
{
    const QString name = QStringLiteral("A屏幕");
    const QByteArray bytes = toGbk(name);
    EXPECT_EQ(bytes, QByteArray("\x41\xC6\xC1\xC4\xBB"));
    EXPECT_EQ(gbkLength(name), 5);
    EXPECT_EQ(gbkLeftBytes(bytes, 2), QByteArray("A"));
    EXPECT_EQ(gbkLeftBytes(bytes, 3), QByteArray("\x41\xC6\xC1"));
    EXPECT_EQ(gbkLeftBytes(bytes, 0), QByteArray());
    EXPECT_EQ(gbkLeftBytes(bytes, 99), bytes);
    EXPECT_EQ(gbkLeft(name, 4), QStringLiteral("A屏"));
    EXPECT_TRUE(isGbkLeadByte(0x81));
    EXPECT_TRUE(isGbkLeadByte(0xFE));
    EXPECT_FALSE(isGbkLeadByte(0x80));
    EXPECT_FALSE(isGbkLeadByte(0xFF));
    EXPECT_FALSE(isGbkLeadByte('A'));
}

TEST(Gbk, UnmappableAndBrokenInput)
{
    // A character GBK lacks becomes '?', and its length counts what is written.
    EXPECT_EQ(toGbk(QStringLiteral("a😀b")), QByteArray("a??b"));
    EXPECT_EQ(gbkLength(QStringLiteral("a😀b")), 4);
    // A lone lead byte at the end, or an invalid pair, never crashes.
    EXPECT_EQ(fromGbk(QByteArray("ab\xC6", 3)), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(fromGbk(QByteArray()), QString());
    EXPECT_EQ(toGbk(QString()), QByteArray());
}
