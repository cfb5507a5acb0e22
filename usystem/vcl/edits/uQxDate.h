// The date object behind the library's month calendar and its drop-down date pad: year, month
// and day kept apart, stepped by day, week, month and year with fixed month-end rules, and,
// for the calendar, the current month laid out as a page of 42 day cells in six weeks.
// Nothing here draws.
#pragma once

#include "platform/rtl/DateTime.h"
#include "platform/ui/Events.h"

#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace QxDateTypes {
Q_NAMESPACE

// The first column of a calendar page and the weekday of a cell.
enum TWeekDay : std::uint8_t { Mon, Tue, Wed, Thu, Fri, Sat, Sun };
Q_ENUM_NS(TWeekDay)

// The days that count as weekend, one bit per weekday ordinal (Sat bit 5, Sun bit 6), so a
// stored set means the same as it always has.
enum class TWeekEnd : std::uint8_t { Sat = 0x20, Sun = 0x40 };
Q_DECLARE_FLAGS(TWeekEnds, TWeekEnd)
Q_FLAG_NS(TWeekEnds)

} // namespace QxDateTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(QxDateTypes::TWeekEnds)

using QxDateTypes::TWeekDay;
using enum QxDateTypes::TWeekDay;
using QxDateTypes::TWeekEnd;
using QxDateTypes::TWeekEnds;

// Whether a weekday lies in a weekend set.
inline bool isWeekEnd(TWeekEnds set, int weekDay)
{
    return weekDay >= 0 && weekDay < 7 && (set.toInt() & (1 << weekDay)) != 0;
}

// Days of months 1..12 of a common year; index 0 is unused so that the month is the index.
inline constexpr std::array<int, 13> MonthDaysTable = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Gregorian: divisible by 4, and not by 100 unless by 400.
bool YearIsLeap(int Year);
// Days of Month (1..12) in Year.
int MonthLength(int Year, int Month);
// Month 0 becomes December of the year before and month 13 January of the year after (one step
// only); then the day is lowered to the month's length.
void NormalizeYMD(std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day);
// Moves a date by whole days, months and years. Month and year steps keep the day inside the
// target month; with RollDays, days past the month's end carry into the following months.
TDateTime ShiftDate(TDateTime Date, int Days, int Months, int Years, bool RollDays);
// 0 day-month-year, 1 month-day-year, 2 year-month-day: whichever of D, M, Y a date format
// names first.
std::uint8_t DateOrderOf(const QString& Format);
// The locale's short day names, index 0 = Sunday .. 6 = Saturday.
const QStringList& ShortDayTitles();


class TqxDate : public QObject
{
public:
    TqxDate();
    ~TqxDate() override = default;

    std::uint16_t Year() const { return m_year; }
    std::uint16_t Month() const { return m_month; }
    std::uint16_t Day() const { return m_day; }

    int DaysInMonth(int Month) const;
    // 0 when the fields do not form a date.
    TDateTime AsDateTime() const;
    // 0 or a negative value clears the date (Year = Month = Day = 0: "no date"); setting the
    // date it holds does nothing.
    void SetDateTime(TDateTime Value);
    // Normalizes, then sets; a year outside 1..9999 raises EConvertError and changes nothing.
    // Any year from 1 on is kept, those before 1900 included.
    void SetYMD(int Year, int Month, int Day);
    void SetYear(int Value);
    virtual void SetMonth(int Value);

    void PrevDay();
    void NextDay();
    void PrevWeek();
    void NextWeek();
    virtual void PrevMonth();
    virtual void NextMonth();
    void PrevYear();
    void NextYear();
    void AddDays(int N);
    // The date in DateOrder with the format's separator and no leading zeros: "2024-3-5".
    QString AsText() const;

    TNotifyEvent OnChange;
    std::uint8_t DateOrder = 0;

protected:
    virtual void Change();

    std::uint16_t m_year = 0;
    std::uint16_t m_month = 0;
    std::uint16_t m_day = 0;

private:
    // Keeps the date of any day the calendar reaches (before 1900 too), or no date when the
    // value lies outside it; Change when the fields differ.
    void StoreDate(TDateTime Value);
    void StoreYMD(int Year, int Month, int Day);
    // Steps a set date by Step; a step off the calendar keeps the date.
    void StepTo(const std::function<TDateTime(TDateTime)>& Step);
};

// The date of a month calendar with its page: cells 1..42, seven to a row, cell 1 being the
// first column (BeginingOfWeek) of the top row.
class TQxCalendarDate : public TqxDate
{
public:
    TQxCalendarDate();

    TWeekDay BeginingOfWeek() const { return m_beginingOfWeek; }
    void SetBeginingOfWeek(TWeekDay Value);

    void FillPage();
    // Cell (1..7) of day 1 of the month, or -1 when the month cannot be encoded.
    int FirstCellOf(int Year, int Month) const;
    // -1 for a cell of the previous month, 1 for the next month, 0 for the month itself.
    int CellMonthOffset(int Cell) const;
    TWeekDay CellWeekDay(int Cell) const;
    // The cell of the current date, or -1 when the date is not on the page.
    int CellOfDate() const;
    void SelectCell(int Cell);

    void SetMonth(int Value) override;
    void PrevMonth() override;
    void NextMonth() override;

    TDateTime FirstShown;
    std::int16_t FirstCell = 0;
    std::int16_t LastCell = 0;
    std::array<std::uint8_t, 43> CellDays{};  // [1..42]
    std::array<std::uint8_t, 7> WeekNumbers{}; // [1..6]
    bool Refilled = false;
    // The page stays as long as the date is anywhere on it (the calendar's month switch off);
    // otherwise the page follows the date as soon as it leaves the month.
    bool KeepPage = false;
    // One-shot: the next change rebuilds the page.
    bool ForceRefill = false;
    std::uint8_t SelectedCell = 255;
    std::uint8_t TodayCell = 255;

protected:
    void Change() override;
    bool NeedsRefill();

private:
    TWeekDay m_beginingOfWeek = Mon;
};
