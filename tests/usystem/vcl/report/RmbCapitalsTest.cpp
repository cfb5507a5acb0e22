// The amount in capital digits for the ten-position amount grid.
#include "usystem/vcl/report/uQxRmbCapitals.h"

#include <gtest/gtest.h>

#include <limits>

TEST(RmbCapitals, LaysOutEveryPositionFromTheFirstDigitDown)
{
    struct Row
    {
        double amount;
        const char* text;
    };
    const Row rows[] = {
        {0.05, " 仟 佰 拾 万 仟 佰 拾 元￥角伍分"},                 // one digit of fen
        {1.23, " 仟 佰 拾 万 仟 佰￥拾壹元贰角叁分"},               // three
        {100.00, " 仟 佰 拾 万￥仟壹佰零拾零元零角零分"},           // five, zeros kept
        {1234.56, " 仟 佰 拾￥万壹仟贰佰叁拾肆元伍角陆分"},         // six
        {9999999.99, "￥仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},   // nine
        {0.1, " 仟 佰 拾 万 仟 佰 拾￥元壹角零分"},                 // two
        {12.3, " 仟 佰 拾 万 仟￥佰壹拾贰元叁角零分"},               // four
        {10000000.00, "壹仟零佰零拾零万零仟零佰零拾零元零角零分"}, // ten: all digits, no mark
        {99999999.99, "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        {0.004, " 仟 佰 拾 万 仟 佰 拾 元￥角零分"},                // rounds to 0 fen
        {0, ""},
        {-1.23, ""},
        {-0.004, ""},
        {100000000.00, ""},     // eleven digits of fen
        {12345678901.00, ""},
    };
    for (const Row& r : rows) {
        const QString expected = QString::fromUtf8(r.text);
        EXPECT_EQ(FormatRmbCapitals(r.amount), expected) << r.amount;
        if (!expected.isEmpty()) {
            EXPECT_EQ(expected.size(), 20) << r.amount;
        }
    }
}

TEST(RmbCapitals, AmountsThatCannotBeLaidOutGiveAnEmptyText)
{
    for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300})
        EXPECT_TRUE(FormatRmbCapitals(v).isEmpty()) << v;
}
