// The calendars' date object: month lengths, normalizing, steps across months and years, the
// limits of years 1 and 9999, the text form and the 42-cell page with its week numbers.
#include "usystem/vcl/edits/uQxDate.h"
#include "tests/usystem/vcl/edits/DateText.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

namespace {

using qx::test::ymd;

class DateModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        qx::setToday(EncodeDate(2024, 3, 5));
    }
    void TearDown() override
    {
        qx::clearToday();
        ResetFormatSettings();
    }
};

} // namespace

TEST_F(DateModel, LeapYearsAndMonthLengths)
{
    struct Case { int year, month, days; };
    const Case cases[] = {
        {1900, 2, 28}, {2000, 2, 29}, {2023, 2, 28}, {2024, 2, 29}, {2100, 2, 28}, {2400, 2, 29},
        {2024, 1, 31}, {2024, 4, 30}, {2024, 6, 30}, {2024, 9, 30}, {2024, 11, 30}, {2024, 12, 31},
        {1, 2, 28}, {4, 2, 29}, {9999, 12, 31},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonthLength(c.year, c.month), c.days) << c.year << "-" << c.month;
    EXPECT_TRUE(YearIsLeap(2000));
    EXPECT_FALSE(YearIsLeap(1900));
    EXPECT_TRUE(YearIsLeap(1996));
    EXPECT_FALSE(YearIsLeap(2023));
}

TEST_F(DateModel, NormalizeTakesOneStepAndClampsTheDay)
{
    std::uint16_t y = 2024, m = 13, d = 5;
    NormalizeYMD(y, m, d);
    EXPECT_EQ(y, 2025);
    EXPECT_EQ(m, 1);
    y = 2024, m = 0, d = 31;
    NormalizeYMD(y, m, d);
    EXPECT_EQ(y, 2023);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 31);
    y = 2023, m = 2, d = 31;
    NormalizeYMD(y, m, d);
    EXPECT_EQ(d, 28);
}

TEST_F(DateModel, StartsOnTodayInTheProgramsDateOrder)
{
    TqxDate d;
    EXPECT_EQ(ymd(d), "2024-3-5");
    EXPECT_EQ(d.DateOrder, 2);
    EXPECT_EQ(d.AsText(), "2024-3-5");
}

TEST_F(DateModel, DateOrderFollowsTheFirstDateLetter)
{
    EXPECT_EQ(DateOrderOf("yyyy-mm-dd"), 2);
    EXPECT_EQ(DateOrderOf("MM/dd/yyyy"), 1);
    EXPECT_EQ(DateOrderOf("dd.mm.yy"), 0);
    EXPECT_EQ(DateOrderOf("hh:nn"), 0);
    EXPECT_EQ(DateOrderOf(""), 0);
}

TEST_F(DateModel, TextInEachOrderWithoutLeadingZeros)
{
    TqxDate d;
    d.SetYMD(2024, 3, 5);
    d.DateOrder = 1;
    FormatSettings().DateSeparator = u'/';
    EXPECT_EQ(d.AsText(), "3/5/2024");
    d.DateOrder = 0;
    EXPECT_EQ(d.AsText(), "5/3/2024");
}

TEST_F(DateModel, SetYMDNormalizes)
{
    TqxDate d;
    d.SetYMD(2024, 13, 5);
    EXPECT_EQ(ymd(d), "2025-1-5");
    d.SetYMD(2024, 0, 5);
    EXPECT_EQ(ymd(d), "2023-12-5");
    d.SetYMD(2024, 4, 31);
    EXPECT_EQ(ymd(d), "2024-4-30");
}

TEST_F(DateModel, ImpossibleYearsRaiseAndKeepTheDate)
{
    TqxDate d;
    d.SetYMD(2024, 6, 15);
    EXPECT_THROW(d.SetYear(0), EConvertError);
    EXPECT_THROW(d.SetYear(10000), EConvertError);
    EXPECT_EQ(ymd(d), "2024-6-15");
    d.SetYear(1);
    EXPECT_EQ(ymd(d), "1-6-15");
    d.SetYear(9999);
    EXPECT_EQ(ymd(d), "9999-6-15");
}

TEST_F(DateModel, ZeroOrANegativeValueIsNoDate)
{
    // An empty date handed to a pad or a calendar is 0 (or below): it shows no date.
    for (const double value : {0.0, -0.5, -1.0, -5.0, -700000.0}) {
        TqxDate d;
        d.SetYMD(2024, 1, 1);
        int changes = 0;
        d.OnChange = [&](QObject*) { ++changes; };
        d.SetDateTime(TDateTime(value));
        EXPECT_EQ(ymd(d), "0-0-0") << value;
        EXPECT_EQ(d.AsDateTime().Val, 0) << value;
        EXPECT_EQ(changes, 1) << value;
        d.SetDateTime(TDateTime(value)); // no date again: nothing changes
        EXPECT_EQ(changes, 1) << value;
    }
    TqxDate d;
    d.SetDateTime(TDateTime(0));
    EXPECT_EQ(d.AsText(), "0-0-0");
    // The steps of an empty date do nothing.
    d.NextDay();
    d.AddDays(3);
    EXPECT_EQ(ymd(d), "0-0-0");
    // A positive value is a date again.
    d.SetDateTime(TDateTime(1));
    EXPECT_EQ(ymd(d), "1899-12-31");
}

TEST_F(DateModel, YearsBefore1900StayReachableThroughTheirFields)
{
    TqxDate d;
    d.SetYMD(1899, 12, 25);
    EXPECT_EQ(ymd(d), "1899-12-25");
    EXPECT_EQ(d.AsDateTime().Val, -5);
    d.SetYMD(1, 1, 1);
    EXPECT_EQ(ymd(d), "1-1-1");
    d.SetYear(1850);
    EXPECT_EQ(ymd(d), "1850-1-1");
    d.SetMonth(0);
    EXPECT_EQ(ymd(d), "1849-12-1");
    // Steps from and into those years keep the date.
    const struct { int y, m, d; void (TqxDate::*step)(); const char* expected; } cases[] = {
        {1900, 1, 1, &TqxDate::PrevDay, "1899-12-31"},
        {1899, 12, 31, &TqxDate::PrevDay, "1899-12-30"},
        {1899, 12, 30, &TqxDate::PrevDay, "1899-12-29"},
        {1899, 12, 30, &TqxDate::NextDay, "1899-12-31"},
        {1900, 1, 15, &TqxDate::PrevMonth, "1899-12-15"},
        {1899, 6, 15, &TqxDate::NextYear, "1900-6-15"},
        {1, 1, 1, &TqxDate::PrevDay, "1-1-1"}, // off the calendar: kept
    };
    for (const auto& c : cases) {
        d.SetYMD(c.y, c.m, c.d);
        (d.*c.step)();
        EXPECT_EQ(ymd(d), c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
    d.SetYMD(1900, 1, 2);
    d.AddDays(-5);
    EXPECT_EQ(ymd(d), "1899-12-28");
}

TEST_F(DateModel, SameDateFiresNoChange)
{
    TqxDate d;
    int changes = 0;
    QObject* sender = nullptr;
    d.OnChange = [&](QObject* s) { ++changes; sender = s; };
    d.SetYMD(2024, 3, 5); // today already
    EXPECT_EQ(changes, 0);
    d.NextDay();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &d);
    d.SetDateTime(d.AsDateTime());
    EXPECT_EQ(changes, 1);
}

TEST_F(DateModel, StepsAcrossMonthsAndYears)
{
    struct Case {
        int y, m, d;
        void (TqxDate::*step)();
        const char* expected;
    };
    const Case cases[] = {
        {2024, 12, 31, &TqxDate::NextDay, "2025-1-1"},
        {2024, 1, 1, &TqxDate::PrevDay, "2023-12-31"},
        {2024, 1, 31, &TqxDate::NextMonth, "2024-2-29"},
        {2023, 1, 31, &TqxDate::NextMonth, "2023-2-28"},
        {2024, 3, 31, &TqxDate::PrevMonth, "2024-2-29"},
        {2024, 2, 29, &TqxDate::NextYear, "2025-2-28"},
        {2024, 2, 29, &TqxDate::PrevYear, "2023-2-28"},
        {2024, 12, 15, &TqxDate::NextMonth, "2025-1-15"},
        {2024, 1, 15, &TqxDate::PrevMonth, "2023-12-15"},
        {2024, 12, 28, &TqxDate::NextWeek, "2025-1-4"},
        {2024, 1, 3, &TqxDate::PrevWeek, "2023-12-27"},
        {2024, 2, 26, &TqxDate::NextWeek, "2024-3-4"},
        {2024, 3, 1, &TqxDate::PrevDay, "2024-2-29"},
    };
    for (const Case& c : cases) {
        TqxDate d;
        d.SetYMD(c.y, c.m, c.d);
        (d.*c.step)();
        EXPECT_EQ(ymd(d), c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST_F(DateModel, ShiftDateRules)
{
    auto text = [](TDateTime t) { return FormatDateTime("yyyy-mm-dd", t); };
    EXPECT_EQ(text(ShiftDate(EncodeDate(2024, 3, 10), -10, 0, 0, false)), "2024-02-29"); // day 0
    EXPECT_EQ(text(ShiftDate(EncodeDate(2024, 1, 31), 40, 0, 0, true)), "2024-03-11");
    EXPECT_EQ(text(ShiftDate(EncodeDate(2024, 1, 31), 40, 0, 0, false)), "2024-01-31");
    EXPECT_EQ(text(ShiftDate(EncodeDate(2024, 5, 15), 0, -17, 0, false)), "2022-12-15");
    EXPECT_EQ(text(ShiftDate(EncodeDate(2024, 5, 15), 0, 25, 1, false)), "2027-06-15");
}

TEST_F(DateModel, StepsStopAtTheFirstAndLastDay)
{
    TqxDate d;
    int changes = 0;
    d.OnChange = [&](QObject*) { ++changes; };
    d.SetYMD(9999, 12, 31);
    changes = 0;
    d.NextDay();
    d.NextWeek();
    d.NextMonth();
    d.NextYear();
    d.AddDays(1);
    EXPECT_EQ(ymd(d), "9999-12-31");
    d.SetYMD(1, 1, 1);
    changes = 0;
    d.PrevDay();
    d.PrevWeek();
    d.PrevMonth();
    d.PrevYear();
    d.AddDays(-1);
    EXPECT_EQ(ymd(d), "1-1-1");
    EXPECT_EQ(changes, 0);
    d.NextDay();
    EXPECT_EQ(ymd(d), "1-1-2");
}

TEST_F(DateModel, PagesAndWeekNumbersWithMondayFirst)
{
    struct Case {
        int year, month;
        int firstCell, lastCell;
        const char* firstShown;
        int week1, week6;
    };
    const Case cases[] = {
        {2024, 1, 1, 31, "2024-01-01", 1, 6},
        {2024, 2, 4, 32, "2024-01-29", 5, 10},
        {2024, 12, 7, 37, "2024-11-25", 48, 53},
        {2023, 1, 7, 37, "2022-12-26", 1, 6},
        {2025, 12, 1, 31, "2025-12-01", 49, 1},
    };
    for (const Case& c : cases) {
        TQxCalendarDate d;
        d.SetYMD(c.year, c.month, 15);
        EXPECT_EQ(d.FirstCell, c.firstCell) << c.year << "-" << c.month;
        EXPECT_EQ(d.LastCell, c.lastCell) << c.year << "-" << c.month;
        EXPECT_EQ(FormatDateTime("yyyy-mm-dd", d.FirstShown), c.firstShown);
        EXPECT_EQ(d.WeekNumbers[1], c.week1) << c.year << "-" << c.month;
        EXPECT_EQ(d.WeekNumbers[6], c.week6) << c.year << "-" << c.month;
        EXPECT_EQ(d.CellDays[c.firstCell], 1);
        EXPECT_EQ(d.CellDays[c.lastCell], MonthLength(c.year, c.month));
        EXPECT_EQ(d.CellDays[c.lastCell + 1], 1);
        EXPECT_EQ(d.SelectedCell, c.firstCell + 14);
    }
    // December 2025: the count starts again in the last row.
    TQxCalendarDate d;
    d.SetYMD(2025, 12, 15);
    EXPECT_EQ(d.WeekNumbers[5], 53);
    EXPECT_EQ(d.WeekNumbers[6], 1);
    d.SetYMD(2023, 1, 15);
    EXPECT_EQ(d.CellDays[1], 26);
}

TEST_F(DateModel, SundayFirstAndWeekDaysOfCells)
{
    TQxCalendarDate d;
    d.SetYMD(2024, 9, 10); // 1 September 2024 is a Sunday
    EXPECT_EQ(d.FirstCell, 7);
    EXPECT_EQ(d.CellWeekDay(1), Mon);
    EXPECT_EQ(d.CellWeekDay(7), Sun);
    d.SetBeginingOfWeek(Sun);
    EXPECT_EQ(d.FirstCell, 1);
    EXPECT_EQ(d.CellWeekDay(1), Sun);
    EXPECT_EQ(d.CellWeekDay(7), Sat);
    EXPECT_EQ(d.SelectedCell, 10);
}

TEST_F(DateModel, TodayCellOnThePage)
{
    TQxCalendarDate d; // today 2024-03-05: March 2024 starts on a Friday, cell 5
    EXPECT_EQ(d.FirstCell, 5);
    EXPECT_EQ(d.TodayCell, 9);
    d.SetYMD(2024, 7, 1);
    EXPECT_EQ(d.TodayCell, 255);
}

TEST_F(DateModel, PageFollowsTheDateUnlessKept)
{
    TQxCalendarDate d;
    d.SetYMD(2024, 2, 15);
    d.SelectCell(2); // 30 January, a grey cell
    EXPECT_EQ(ymd(d), "2024-1-30");
    EXPECT_TRUE(d.Refilled);
    EXPECT_EQ(d.FirstCell, 1); // the page moved to January

    TQxCalendarDate kept;
    kept.KeepPage = true;
    kept.SetYMD(2024, 2, 15);
    kept.ForceRefill = true;
    kept.SetYMD(2024, 2, 14);
    kept.SelectCell(2);
    EXPECT_EQ(ymd(kept), "2024-1-30");
    EXPECT_FALSE(kept.Refilled);
    EXPECT_EQ(kept.FirstCell, 4); // still February's page
    EXPECT_EQ(kept.SelectedCell, 2);
    // The month step counts from the month on display (30 February is taken as the 29th),
    // not from the grey cell's month.
    kept.NextMonth();
    EXPECT_EQ(ymd(kept), "2024-3-29");
}

TEST_F(DateModel, ChoosingAMonthRebuildsThePage)
{
    TQxCalendarDate d;
    d.SetYMD(2024, 1, 31);
    d.SetMonth(3);
    EXPECT_EQ(ymd(d), "2024-3-31");
    EXPECT_TRUE(d.Refilled);
    d.SetYMD(2024, 1, 31);
    d.SetMonth(2);
    EXPECT_EQ(ymd(d), "2024-2-29");
}

TEST_F(DateModel, PagesAtTheEndsOfTheCalendar)
{
    TQxCalendarDate d;
    d.SetYMD(1, 1, 1); // a Monday
    EXPECT_EQ(d.FirstCell, 1);
    EXPECT_EQ(d.SelectedCell, 1);
    d.SetBeginingOfWeek(Sun);
    EXPECT_EQ(d.FirstCell, 2);
    EXPECT_EQ(d.CellDays[1], 31);
    d.SetYMD(9999, 12, 31);
    EXPECT_EQ(d.CellDays[d.LastCell], 31);
    EXPECT_EQ(d.SelectedCell, d.LastCell);
}

TEST_F(DateModel, ShortDayTitlesStartOnSunday)
{
    ASSERT_EQ(ShortDayTitles().size(), 7);
    EXPECT_EQ(ShortDayTitles().at(0), FormatDateTime("ddd", EncodeDate(2024, 3, 3)));
    EXPECT_EQ(ShortDayTitles().at(1), FormatDateTime("ddd", EncodeDate(2024, 3, 4)));
}
