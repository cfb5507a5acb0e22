// The number pad's calculator, driven key by key as the user types on it.
#include "usystem/vcl/edits/uQxNumPad.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct CalcCase
{
    const char* keys; // '\r' is Enter, '\b' Backspace
    const char* shown;
    bool accepted;
};

// Names the case by its keys in the test list, with Enter and Backspace spelled out.
void PrintTo(const CalcCase& c, std::ostream* os)
{
    for (const char* k = c.keys; *k; ++k) {
        if (*k == '\r')
            *os << "<Enter>";
        else if (*k == '\b')
            *os << "<Back>";
        else
            *os << *k;
    }
    *os << " shows " << c.shown;
}

void press(TQxNumPad& pad, const char* keys)
{
    for (const char* k = keys; *k; ++k)
        pad.Press(QChar(QLatin1Char(*k)));
}

class Calculator : public ::testing::TestWithParam<CalcCase>
{
};

} // namespace

TEST_P(Calculator, Sequence)
{
    QWidget host;
    TQxNumPad pad(&host);
    int accepted = 0;
    pad.OnAccept = [&](QObject*) { ++accepted; };
    pad.Clear();
    press(pad, GetParam().keys);
    EXPECT_EQ(pad.DisplayText, QString::fromLatin1(GetParam().shown)) << GetParam().keys;
    EXPECT_EQ(accepted, GetParam().accepted ? 1 : 0) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Calculator,
    ::testing::Values(CalcCase{"12.5+3\r", "15.5", true}, CalcCase{"200+10%", "220", false},
                      CalcCase{"50*20%", "10", false}, CalcCase{"50/20%", "250", false},
                      CalcCase{"0.1+0.2=", "0.3", false}, CalcCase{"7/0=", "Error", false},
                      CalcCase{"7/0=5\r", "Error", false}, CalcCase{"7/0=C", "0", false},
                      CalcCase{"123\b", "12", false}, CalcCase{"5_\b", "0", false},
                      CalcCase{"1.2.3", "1.23", false}, CalcCase{"6*7=", "42", false},
                      CalcCase{"100-250=", "-150", false}, CalcCase{"3\r", "3", true}),
    [](const ::testing::TestParamInfo<CalcCase>& info) { return "Case" + std::to_string(info.index); });

TEST(NumPad, ValueOfTextThatIsNoNumberIsZero)
{
    QWidget host;
    TQxNumPad pad(&host);
    pad.SetDisplayText("abc");
    EXPECT_EQ(pad.GetValue(), 0.0);
    pad.SetDisplayText(" 12.5 ");
    EXPECT_EQ(pad.GetValue(), 12.5);
}

TEST(NumPad, ClickingEqualsKeyComputesAndCloses)
{
    QWidget host;
    host.resize(200, 100);
    host.show();
    TQxNumPad pad(&host);
    int accepted = 0;
    pad.OnAccept = [&](QObject*) { ++accepted; };
    pad.Popup(100, 20);
    ASSERT_TRUE(pad.isVisible());
    auto click = [&](int k) { QTest::mouseClick(&pad, Qt::LeftButton, {}, TQxNumPad::KeyRect(k).center()); };
    click(10); // 3
    click(7);  // *
    click(4);  // 4
    EXPECT_EQ(pad.DisplayText, "4");
    click(18); // =
    EXPECT_EQ(pad.DisplayText, "12");
    EXPECT_EQ(accepted, 1);
    EXPECT_FALSE(pad.isVisible());
}

TEST(NumPad, HitTestCountsRightHalfOfEqualsAsEquals)
{
    EXPECT_EQ(TQxNumPad::KeyAt(QPoint(2, 2)), 0);
    EXPECT_EQ(TQxNumPad::KeyAt(QPoint(79, 99)), 18);
    EXPECT_EQ(TQxNumPad::KeyAt(QPoint(45, 85)), 18);
    EXPECT_EQ(TQxNumPad::KeyAt(QPoint(1, 50)), TQxNumPad::NoKey);
    EXPECT_EQ(TQxNumPad::KeyAt(QPoint(80, 50)), TQxNumPad::NoKey);
}
