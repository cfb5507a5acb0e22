#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <QScopeGuard>

namespace {

struct DateCase
{
    int y, m, d;
    double serial;
    int dayOfWeek;
};

} // namespace

TEST(DateTime, EncodeAndDecodeKnownSerials)
{
    const DateCase cases[] = {
        {1899, 12, 30, 0, 7},       // the zero day was a Saturday
        {1899, 12, 29, -1, 6},
        {1900, 1, 1, 2, 2},
        {2000, 2, 29, 36585, 3},    // leap day of a year divisible by 400
        {2006, 3, 5, 38781, 1},     // a Sunday
        {1, 1, 1, -693593, 2},
        {9999, 12, 31, 2958465, 6},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.serial);
        const TDateTime dt = EncodeDate(c.y, c.m, c.d);
        EXPECT_EQ(dt.Val, c.serial);
        int y = 0, m = 0, d = 0;
        DecodeDate(dt, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(DayOfWeek(dt), c.dayOfWeek);
        EXPECT_EQ(TDateTime::fromQDate(QDate(c.y, c.m, c.d)).Val, c.serial);
        EXPECT_EQ(dt.toQDate(), QDate(c.y, c.m, c.d));
    }
}

TEST(DateTime, InvalidDatesRaiseConvertError)
{
    const int bad[][3] = {{0, 1, 1}, {10000, 1, 1}, {2001, 2, 29}, {1900, 2, 29}, {2006, 13, 1},
                          {2006, 0, 10}, {2006, 4, 31}, {2006, 4, 0}};
    for (const auto& b : bad) {
        TDateTime out(123);
        EXPECT_FALSE(TryEncodeDate(b[0], b[1], b[2], out));
        EXPECT_EQ(out.Val, 123);
        EXPECT_THROW(EncodeDate(b[0], b[1], b[2]), EConvertError);
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(TDateTime(3e6).toQDate(), EConvertError);
    EXPECT_THROW(TDateTime(-700000).toQDate(), EConvertError);
}

TEST(DateTime, TimeOfDayRoundTripsAndRoundsToTheMillisecond)
{
    const TDateTime t = EncodeTime(9, 7, 5, 250);
    int h, n, s, z;
    DecodeTime(t, h, n, s, z);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(z, 250);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0).Val, 0.5);

    // A value a hair below midnight is the next day's midnight.
    const TDateTime almost(38781.0 + 0.99999999999);
    int y, m, d;
    DecodeDate(almost, y, m, d);
    DecodeTime(almost, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(2006, 3, 6));
    EXPECT_EQ(h, 0);

    // Before the zero day the time is the positive fraction: -1.25 is 1899-12-29 06:00.
    const TDateTime before(-1.25);
    EXPECT_EQ(before.toQDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(TDateTime::fromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).Val, -1.25);
}

TEST(DateTime, QDateTimeConversionAndParts)
{
    const QDateTime qdt(QDate(2026, 12, 10), QTime(13, 45, 30, 5));
    const TDateTime dt = TDateTime::fromQDateTime(qdt);
    EXPECT_EQ(dt.toQDateTime(), qdt);
    EXPECT_EQ(dt.datePart().Val, EncodeDate(2026, 12, 10).Val);
    EXPECT_EQ(dt.timePart().toQTime(), QTime(13, 45, 30, 5));
    EXPECT_THROW(TDateTime::fromQDate(QDate()), EConvertError);
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2026));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2026, 2), 28);
    EXPECT_EQ(DaysInAMonth(2026, 4), 30);
    EXPECT_EQ(DaysInAMonth(2026, 13), 0);
}

TEST(Clock, FixedTodayAndBack)
{
    const auto restore = qScopeGuard([] { qx::clearToday(); });
    qx::setToday(QDate(2006, 3, 5));
    EXPECT_EQ(Date().Val, 38781);
    EXPECT_EQ(Now().Val, 38781);
    qx::setToday(TDateTime(38781.5));
    EXPECT_EQ(Date().Val, 38781);
    EXPECT_EQ(Time().Val, 0.5);
    qx::clearToday();
    EXPECT_EQ(Date().toQDate(), QDate::currentDate());
}
