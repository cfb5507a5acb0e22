// TDateTime: days since 1899-12-30 as a double; the fraction is the time of day.
// Valid years are 1 to 9999; anything outside raises EConvertError.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <compare>
#include <cstdint>

struct TDateTime
{
    double Val = 0.0;

    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double v) : Val(v) {}

    constexpr operator double() const { return Val; }
    auto operator<=>(const TDateTime&) const = default;

    QDate toQDate() const;
    QTime toQTime() const;
    QDateTime toQDateTime() const;
    static TDateTime fromQDate(const QDate& d);
    static TDateTime fromQDateTime(const QDateTime& dt);
    // The date part alone (the time of day dropped), and the time part alone.
    TDateTime datePart() const;
    TDateTime timePart() const;
};

// Raises EConvertError for a date or time that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime dt);
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
