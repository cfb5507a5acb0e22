// The date and time functions: LongDate, LongDate1, DATEDIFF, FORMATDATETIME, CALCDATE,
// EXTRACTDAY, EXTRACTMONTH, EXTRACTYEAR, DAYOFWEEK, DAYSTRING, MONTHSTRING and CALCTIME.
#include "usystem/vcl/report/QryexprArguments.h"
#include "usystem/vcl/report/uQxQryexpr.h"

#include "platform/rtl/SysUtils.h"

#include <QDate>

using namespace qx::qryexpr;

namespace {

// The date and time that the text holds; raises when it holds none.
TDateTime dateTimeOf(const TQREvResult& text)
{
    return StrToDateTime(text.strResult);
}

// Formats the date of the text with format; the placeholder when the text is no date.
TQREvResult formattedDateOr(const TQREvElementFunction& call, const QString& format, const QString& placeholder)
{
    if (!argumentsAre(call, {Wants::String}))
        return failed();
    try {
        return TQREvResult::String(FormatDateTime(format, dateTimeOf(call.Argument(0))));
    } catch (const Exception&) {
        return TQREvResult::String(placeholder);
    }
}

// Year, month or day of the date a single string argument holds.
enum class DatePart { Year, Month, Day };
TQREvResult extracted(const TQREvElementFunction& call, DatePart part)
{
    if (!argumentsAre(call, {Wants::String}))
        return failed();
    return guarded([&] {
        int y = 0, m = 0, d = 0;
        DecodeDate(dateTimeOf(call.Argument(0)), y, m, d);
        return TQREvResult::Int(part == DatePart::Year ? y : part == DatePart::Month ? m : d);
    });
}

// Dates that CALCDATE accepts and gives.
const QDate kFirstDate(1900, 1, 1);
const QDate kLastDate(9999, 12, 31);

} // namespace

TQREvResult TQREvLongDateFunction::Calculate()
{
    return formattedDateOr(*this, QStringLiteral("yyyy\"年\"mm\"月\"dd\"日\""), QStringLiteral("    年  月  日"));
}

TQREvResult TQREvLongDate1Function::Calculate()
{
    return formattedDateOr(*this, QStringLiteral("yyyy\"-\"mm\"-\"dd"), QString(10, u' '));
}

TQREvResult TQREvDateDiffFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::String}))
        return failed();
    return guarded([&] {
        return TQREvResult::Double(StrToDate(Argument(1).strResult).Val - StrToDate(Argument(0).strResult).Val);
    });
}

TQREvResult TQREvFormatDateTimeFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::String}))
        return failed();
    return guarded(
        [&] { return TQREvResult::String(FormatDateTime(Argument(1).strResult, dateTimeOf(Argument(0)))); });
}

TQREvResult TQREvCalcDateFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::Integer, Wants::Integer, Wants::Integer}))
        return failed();
    return guarded([&] {
        const QDate start = dateTimeOf(Argument(0)).toQDate();
        if (!start.isValid() || start < kFirstDate || start > kLastDate)
            return failed();
        // Months and years move the month; the day of the month stays and, beyond the new
        // month's length, runs on into the following month. Then the days are added.
        const qint64 c = qint64(start.month()) + Argument(2).intResult; // 1-based month count
        const qint64 carry = (c - 1) >= 0 ? (c - 1) / 12 : -((12 - c) / 12);
        const qint64 year = qint64(start.year()) + Argument(3).intResult + carry;
        const int month = int((c - 1) - carry * 12) + 1;
        if (year < kFirstDate.year() || year > kLastDate.year())
            return failed();
        const QDate result =
            QDate(int(year), month, 1).addDays(qint64(start.day()) - 1 + qint64(Argument(1).intResult));
        if (!result.isValid() || result < kFirstDate || result > kLastDate)
            return failed();
        return TQREvResult::String(DateToStr(TDateTime::fromQDate(result)));
    });
}

TQREvResult TQREvExtractDayFunction::Calculate()
{
    return extracted(*this, DatePart::Day);
}

TQREvResult TQREvExtractMonthFunction::Calculate()
{
    return extracted(*this, DatePart::Month);
}

TQREvResult TQREvExtractYearFunction::Calculate()
{
    return extracted(*this, DatePart::Year);
}

TQREvResult TQREvDayOfWeekFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String}))
        return failed();
    return guarded([&] { return TQREvResult::Int(DayOfWeek(dateTimeOf(Argument(0)))); });
}

TQREvResult TQREvDayStringFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Integer}))
        return failed();
    const qint32 d = Argument(0).intResult;
    const QStringList& names = FormatSettings().LongDayNames;
    if (d < 1 || d > 7 || d > names.size())
        return failed();
    return TQREvResult::String(names.at(d - 1));
}

TQREvResult TQREvMonthStringFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Integer}))
        return failed();
    const qint32 m = Argument(0).intResult;
    const QStringList& names = FormatSettings().LongMonthNames;
    if (m < 1 || m > 12 || m > names.size())
        return failed();
    return TQREvResult::String(names.at(m - 1));
}

TQREvResult TQREvCalcTimeFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::Integer, Wants::Integer, Wants::Integer}))
        return failed();
    return guarded([&] {
        int h = 0, m = 0, s = 0, ms = 0;
        DecodeTime(StrToTime(Argument(0).strResult), h, m, s, ms);
        // Seconds carry into minutes and minutes into hours; hours wrap round midnight.
        constexpr qint64 kDay = 24 * 3600;
        qint64 total = (qint64(h) + Argument(1).intResult) * 3600 + (qint64(m) + Argument(2).intResult) * 60 +
                       qint64(s) + Argument(3).intResult;
        total %= kDay;
        if (total < 0)
            total += kDay;
        return TQREvResult::String(
            TimeToStr(EncodeTime(int(total / 3600), int(total / 60 % 60), int(total % 60), ms)));
    });
}
