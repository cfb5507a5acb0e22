#include "platform/rtl/DateTime.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;
// 0001-01-01 and the last millisecond of 9999-12-31, in days since 1899-12-30.
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958465.99999999;

const QDate& epoch()
{
    static const QDate d(1899, 12, 30);
    return d;
}

// Splits a value into whole days and milliseconds of the day the way the run-time library
// does: the whole value is rounded to the millisecond first (so 23:59:59.9999 is the next
// midnight), the days are truncated towards zero and the time of a negative value is its
// absolute fraction (-1.25 is 1899-12-29 06:00).
struct Stamp
{
    std::int64_t days = 0;
    std::int64_t msecs = 0;
};

Stamp toStamp(double v)
{
    if (!std::isfinite(v) || v < MinDateTime - 1 || v > MaxDateTime + 1)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const std::int64_t total = std::llround(v * double(MSecsPerDay));
    Stamp s;
    s.days = total / MSecsPerDay;
    s.msecs = std::llabs(total) % MSecsPerDay;
    return s;
}

QDate dateOf(double v)
{
    const QDate d = epoch().addDays(toStamp(v).days);
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

} // namespace

QDate TDateTime::toQDate() const
{
    return dateOf(Val);
}

QTime TDateTime::toQTime() const
{
    return QTime::fromMSecsSinceStartOfDay(int(toStamp(Val).msecs));
}

QDateTime TDateTime::toQDateTime() const
{
    return QDateTime(toQDate(), toQTime());
}

TDateTime TDateTime::fromQDate(const QDate& d)
{
    if (!d.isValid())
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return EncodeDate(d.year(), d.month(), d.day());
}

TDateTime TDateTime::fromQDateTime(const QDateTime& dt)
{
    if (!dt.isValid())
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const QTime t = dt.time();
    const TDateTime date = fromQDate(dt.date());
    const double time = double(t.msecsSinceStartOfDay()) / double(MSecsPerDay);
    // Before 1899-12-30 the time of day is added as a positive fraction of a negative day.
    return TDateTime(date.Val >= 0 ? date.Val + time : date.Val - time);
}

TDateTime TDateTime::datePart() const
{
    return TDateTime(std::trunc(Val));
}

TDateTime TDateTime::timePart() const
{
    return TDateTime(std::fabs(Val - std::trunc(Val)));
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > DaysInAMonth(year, month))
        return false;
    out = TDateTime(double(epoch().daysTo(QDate(year, month, day))));
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0
        || msec > 999)
        return false;
    const std::int64_t ms = ((std::int64_t(hour) * 60 + min) * 60 + sec) * 1000 + msec;
    out = TDateTime(double(ms) / double(MSecsPerDay));
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return r;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return r;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    const QDate d = dateOf(dt.Val);
    year = d.year();
    month = d.month();
    day = d.day();
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec)
{
    std::int64_t ms = toStamp(dt.Val).msecs;
    msec = int(ms % 1000);
    ms /= 1000;
    sec = int(ms % 60);
    ms /= 60;
    min = int(ms % 60);
    hour = int(ms / 60);
}

int DayOfWeek(TDateTime dt)
{
    // QDate counts Monday = 1 .. Sunday = 7; the run-time library counts Sunday = 1.
    return dateOf(dt.Val).dayOfWeek() % 7 + 1;
}
