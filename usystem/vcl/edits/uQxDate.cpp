#include "usystem/vcl/edits/uQxDate.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <utility>

namespace {

// The last moment the run-time library can encode, and the first.
constexpr double FirstDay = -693593.0; // 0001-01-01
constexpr double LastDay = 2958465.0;  // 9999-12-31

bool onCalendar(double value)
{
    return value >= FirstDay && value < LastDay + 1;
}

} // namespace

bool YearIsLeap(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int MonthLength(int Year, int Month)
{
    if (Month < 1 || Month > 12)
        return 0;
    return MonthDaysTable[Month] + (Month == 2 && YearIsLeap(Year) ? 1 : 0);
}

void NormalizeYMD(std::uint16_t& Year, std::uint16_t& Month, std::uint16_t& Day)
{
    if (Month == 0) {
        Month = 12;
        --Year;
    } else if (Month > 12) {
        Month = 1;
        ++Year;
    }
    const int length = MonthLength(Year, Month);
    if (Day > length)
        Day = std::uint16_t(length);
}

TDateTime ShiftDate(TDateTime Date, int Days, int Months, int Years, bool RollDays)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);

    m += Months % 12;
    y += Years + Months / 12;
    if (m <= 0) {
        m += 12;
        --y;
    } else if (m > 12) {
        m -= 12;
        ++y;
    }

    int c = d + Days;
    while (c <= 0) {
        if (--m < 1) {
            m = 12;
            --y;
        }
        c = MonthLength(y, m) - std::abs(c);
    }
    if (RollDays) {
        while (c > MonthLength(y, m)) {
            c -= MonthLength(y, m);
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    } else if (c > MonthLength(y, m)) {
        c = MonthLength(y, m);
    }
    return EncodeDate(y, m, c);
}

std::uint8_t DateOrderOf(const QString& Format)
{
    for (const QChar ch : Format) {
        switch (ch.toUpper().unicode()) {
        case u'D': return 0;
        case u'M': return 1;
        case u'Y': return 2;
        default: break;
        }
    }
    return 0;
}

const QStringList& ShortDayTitles()
{
    // 1 December 1901 was a Sunday, so days 1..7 give the names from Sunday on.
    static const QStringList titles = [] {
        QStringList list;
        for (int day = 1; day <= 7; ++day)
            list << FormatDateTime(QStringLiteral("ddd"), EncodeDate(1901, 12, day));
        return list;
    }();
    return titles;
}

// ---------------------------------------------------------------------------------------------

TqxDate::TqxDate()
{
    // Set without Change: a derived calendar date builds its page itself once it exists.
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    m_year = std::uint16_t(y);
    m_month = std::uint16_t(m);
    m_day = std::uint16_t(d);
    DateOrder = DateOrderOf(FormatSettings().ShortDateFormat);
}

int TqxDate::DaysInMonth(int Month) const
{
    return MonthLength(m_year, Month);
}

TDateTime TqxDate::AsDateTime() const
{
    TDateTime result;
    if (m_year == 0 || m_month < 1 || m_month > 12 || m_day < 1 || m_day > 31)
        return TDateTime();
    if (!TryEncodeDate(m_year, m_month, m_day, result))
        return TDateTime();
    return result;
}

void TqxDate::SetDateTime(TDateTime Value)
{
    // 0 and below is "no date": an empty date handed to a pad or a calendar shows none.
    if (Value.Val <= 0)
        StoreYMD(0, 0, 0);
    else
        StoreDate(Value);
}

void TqxDate::SetYMD(int Year, int Month, int Day)
{
    auto y = std::uint16_t(Year), m = std::uint16_t(Month), d = std::uint16_t(Day);
    NormalizeYMD(y, m, d);
    // The fields are kept as given, so the years before 1900 (below day 0) stay reachable.
    StoreDate(EncodeDate(y, m, d));
}

void TqxDate::StoreDate(TDateTime Value)
{
    int y = 0, m = 0, d = 0;
    if (onCalendar(Value.Val)) {
        try {
            DecodeDate(Value, y, m, d);
        } catch (const EConvertError&) {
            y = m = d = 0;
        }
    }
    StoreYMD(y, m, d);
}

void TqxDate::StoreYMD(int Year, int Month, int Day)
{
    if (Year == m_year && Month == m_month && Day == m_day)
        return;
    m_year = std::uint16_t(Year);
    m_month = std::uint16_t(Month);
    m_day = std::uint16_t(Day);
    Change();
}

void TqxDate::SetYear(int Value)
{
    if (Value != m_year)
        SetYMD(Value, m_month, m_day);
}

void TqxDate::SetMonth(int Value)
{
    if (Value != m_month)
        SetYMD(m_year, Value, m_day);
}

void TqxDate::Change()
{
    if (OnChange)
        OnChange(this);
}

// A step that would leave the years 1..9999 keeps the date: the calendars call these from key
// and mouse handlers, where an error has nowhere sensible to go. A step from a date keeps
// going as far back as the calendar reaches, also before 1900.
void TqxDate::StepTo(const std::function<TDateTime(TDateTime)>& Step)
{
    if (m_year == 0)
        return;
    const TDateTime from = AsDateTime();
    TDateTime to;
    try {
        to = Step(from);
    } catch (const EConvertError&) {
        return;
    }
    StoreDate(to);
}

void TqxDate::PrevDay()
{
    StepTo([](TDateTime d) { return ShiftDate(d, -1, 0, 0, false); });
}

void TqxDate::NextDay()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 1, 0, 0, true); });
}

void TqxDate::PrevWeek()
{
    StepTo([](TDateTime d) { return ShiftDate(d, -7, 0, 0, false); });
}

void TqxDate::NextWeek()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 7, 0, 0, true); });
}

void TqxDate::PrevMonth()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 0, -1, 0, false); });
}

void TqxDate::NextMonth()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 0, 1, 0, false); });
}

void TqxDate::PrevYear()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 0, 0, -1, false); });
}

void TqxDate::NextYear()
{
    StepTo([](TDateTime d) { return ShiftDate(d, 0, 0, 1, false); });
}

void TqxDate::AddDays(int N)
{
    StepTo([N](TDateTime d) {
        const double to = d.Val + N;
        if (!onCalendar(to))
            throw EConvertError(QStringLiteral("Invalid argument to date encode"));
        return TDateTime(to);
    });
}

QString TqxDate::AsText() const
{
    int a = m_day, b = m_month, c = m_year;
    if (DateOrder == 1)
        std::swap(a, b);
    else if (DateOrder == 2)
        std::swap(a, c);
    const QString sep(FormatSettings().DateSeparator);
    return QString::number(a) + sep + QString::number(b) + sep + QString::number(c);
}

// ---------------------------------------------------------------------------------------------

TQxCalendarDate::TQxCalendarDate()
{
    // The empty page counts as one the date has left: build it for today now.
    FillPage();
    const int cell = CellOfDate();
    SelectedCell = cell < 0 ? 255 : std::uint8_t(cell);
}

void TQxCalendarDate::SetBeginingOfWeek(TWeekDay Value)
{
    if (Value == m_beginingOfWeek)
        return;
    m_beginingOfWeek = Value;
    FillPage();
    const int cell = CellOfDate();
    SelectedCell = cell < 0 ? 255 : std::uint8_t(cell);
}

int TQxCalendarDate::FirstCellOf(int Year, int Month) const
{
    TDateTime first;
    if (!TryEncodeDate(Year, Month, 1, first))
        return -1;
    int r = DayOfWeek(first) - int(m_beginingOfWeek) - 1;
    if (r < 1)
        r += 7;
    return r;
}

void TQxCalendarDate::FillPage()
{
    const int f = FirstCellOf(m_year, m_month);
    if (f <= 0)
        return;
    FirstCell = std::int16_t(f);
    LastCell = std::int16_t(DaysInMonth(m_month) + f - 1);

    int py = m_year, p = m_month - 1;
    if (p < 1) {
        p = 12;
        --py;
    }
    const int b = MonthLength(py, p);
    // Counted back from day 1 rather than encoded: the month before January of year 1 has no
    // encodable date, but its days still fill the first row.
    const double dayOne = EncodeDate(m_year, m_month, 1).Val;
    FirstShown = TDateTime(dayOne - (f - 1));

    for (int i = 1; i <= 42; ++i) {
        if (i < f)
            CellDays[i] = std::uint8_t(b + i - f + 1);
        else if (i > LastCell)
            CellDays[i] = std::uint8_t(i - LastCell);
        else
            CellDays[i] = std::uint8_t(i - f + 1);
    }

    // Week numbers count sevens from 1 January of the previous month's year.
    const double janFirstOfYear = EncodeDate(m_year, 1, 1).Val;
    const double janFirst = py == m_year ? janFirstOfYear : janFirstOfYear - (YearIsLeap(py) ? 366 : 365);
    int s = int(std::trunc(FirstShown.Val - janFirst));
    WeekNumbers[1] = std::uint8_t(Round(s / 7.0) + 1);
    s += 7;
    if (s > 365) {
        WeekNumbers[1] = 1;
        s = 0;
    }
    for (int row = 2; row <= 6; ++row) {
        if (s > 365) {
            s = 0;
            WeekNumbers[row] = 1;
        } else {
            WeekNumbers[row] = std::uint8_t(WeekNumbers[row - 1] + 1);
        }
        s += 7;
    }

    const double today = std::trunc(Date().Val - FirstShown.Val) + 1;
    TodayCell = today >= 1 && today <= 42 ? std::uint8_t(today) : 255;
}

int TQxCalendarDate::CellMonthOffset(int Cell) const
{
    if (Cell < FirstCell)
        return -1;
    if (Cell > LastCell)
        return 1;
    return 0;
}

TWeekDay TQxCalendarDate::CellWeekDay(int Cell) const
{
    int n = Cell % 7 + int(m_beginingOfWeek) + 6;
    while (n > 6)
        n -= 7;
    return TWeekDay(n);
}

int TQxCalendarDate::CellOfDate() const
{
    const TDateTime date = AsDateTime();
    if (date.Val == 0)
        return -1;
    const double k = std::trunc(date.Val) - std::trunc(FirstShown.Val);
    return k >= 0 && k < 42 ? int(k) + 1 : -1;
}

void TQxCalendarDate::SelectCell(int Cell)
{
    if (Cell != SelectedCell && Cell >= 1 && Cell <= 42)
        AddDays(Cell - SelectedCell);
}

bool TQxCalendarDate::NeedsRefill()
{
    if (ForceRefill) {
        ForceRefill = false;
        return true;
    }
    const int cell = CellOfDate();
    if (KeepPage)
        return cell == -1;
    return cell < FirstCell || cell > LastCell;
}

void TQxCalendarDate::Change()
{
    Refilled = false;
    if (NeedsRefill()) {
        FillPage();
        Refilled = true;
    }
    const int cell = CellOfDate();
    SelectedCell = cell < 0 ? 255 : std::uint8_t(cell);
    TqxDate::Change();
}

void TQxCalendarDate::SetMonth(int Value)
{
    ForceRefill = true;
    TqxDate::SetMonth(Value);
}

void TQxCalendarDate::PrevMonth()
{
    if (KeepPage) {
        // Step from the month on display when the date sits in a grey cell of its neighbour.
        m_month = std::uint16_t(m_month - CellMonthOffset(CellOfDate()));
        NormalizeYMD(m_year, m_month, m_day);
    }
    ForceRefill = true;
    TqxDate::PrevMonth();
}

void TQxCalendarDate::NextMonth()
{
    if (KeepPage) {
        m_month = std::uint16_t(m_month - CellMonthOffset(CellOfDate()));
        NormalizeYMD(m_year, m_month, m_day);
    }
    ForceRefill = true;
    TqxDate::NextMonth();
}
