#include "platform/rtl/SysUtils.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Decimal.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <limits>

namespace {

TFormatSettings fixedSettings()
{
    TFormatSettings s;
    s.ShortDayNames = {QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"),
                       QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五"),
                       QStringLiteral("六")};
    for (const QString& d : s.ShortDayNames)
        s.LongDayNames << QStringLiteral("星期") + d;
    const QStringList months = {QStringLiteral("一"),   QStringLiteral("二"),
                                QStringLiteral("三"),   QStringLiteral("四"),
                                QStringLiteral("五"),   QStringLiteral("六"),
                                QStringLiteral("七"),   QStringLiteral("八"),
                                QStringLiteral("九"),   QStringLiteral("十"),
                                QStringLiteral("十一"), QStringLiteral("十二")};
    for (const QString& m : months) {
        s.ShortMonthNames << m + QStringLiteral("月");
        s.LongMonthNames << m + QStringLiteral("月");
    }
    return s;
}

// The two-digit year window: a year of at most two digits lands within 50 years before
// and after the current year.
constexpr int TwoDigitYearCenturyWindow = 50;

[[noreturn]] void notInteger(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

[[noreturn]] void notFloat(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

// Integer text as the run-time library reads it: leading blanks, a sign, decimal digits or
// hexadecimal after '$' or "0x"; nothing may follow.
bool scanInteger(const QString& text, qint64 min, qint64 max, qint64& out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    unsigned __int128 v = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        v = v * unsigned(base) + unsigned(digit);
        if (v > (unsigned __int128)(1) << 64)
            return false;
    }
    const __int128 signedValue = negative ? -(__int128)v : (__int128)v;
    if (signedValue < min || signedValue > max)
        return false;
    out = qint64(signedValue);
    return true;
}

bool skipBlanks(const QString& s, qsizetype& i)
{
    while (i < s.size() && s[i].unicode() <= ' ')
        ++i;
    return i < s.size();
}

// Reads 1..maxDigits decimal digits.
bool scanNumber(const QString& s, qsizetype& i, int maxDigits, int& value, int& digits)
{
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        if (++digits > maxDigits)
            return false;
        value = value * 10 + (s[i].unicode() - u'0');
        ++i;
    }
    return digits > 0;
}

bool isDateSeparator(QChar c)
{
    return c == u'-' || c == u'/' || c == FormatSettings().DateSeparator;
}

// The order of year, month and day in the short date format ("ymd", "mdy" or "dmy").
QString dateOrder()
{
    QString order;
    for (QChar c : FormatSettings().ShortDateFormat) {
        const QChar l = c.toLower();
        if ((l == u'y' || l == u'm' || l == u'd') && !order.contains(l))
            order += l;
    }
    return order.size() == 3 ? order : QStringLiteral("ymd");
}

// A date at s[i...]: two or three numbers joined by date separators in the order of the short
// date format; two numbers are month and day of the current year.
bool scanDate(const QString& s, qsizetype& i, TDateTime& out)
{
    if (!skipBlanks(s, i))
        return false;
    int values[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        if (!scanNumber(s, i, 4, values[count], digits[count]))
            return false;
        ++count;
        if (count < 3 && i < s.size() && isDateSeparator(s[i]))
            ++i;
        else
            break;
    }
    if (count < 2)
        return false;
    int year = 0, month = 0, day = 0;
    int yearDigits = 0;
    const int currentYear = Date().toQDate().year();
    if (count == 2) {
        // Month and day, in the format's order of the two.
        const QString order = dateOrder();
        const bool dayFirst = order.indexOf(u'd') < order.indexOf(u'm');
        if (digits[0] > 2 || digits[1] > 2)
            return false;
        month = dayFirst ? values[1] : values[0];
        day = dayFirst ? values[0] : values[1];
        year = currentYear;
        yearDigits = 4;
    } else {
        const QString order = dateOrder();
        for (int k = 0; k < 3; ++k) {
            const QChar part = order[k];
            if (part == u'y') {
                year = values[k];
                yearDigits = digits[k];
            } else {
                if (digits[k] > 2)
                    return false;
                (part == u'm' ? month : day) = values[k];
            }
        }
    }
    if (yearDigits <= 2 && year <= 99) {
        const int centuryBase = currentYear - TwoDigitYearCenturyWindow;
        year += centuryBase / 100 * 100;
        if (year < centuryBase)
            year += 100;
    }
    return TryEncodeDate(year, month, day, out);
}

bool matchWord(const QString& s, qsizetype& i, const QString& word)
{
    if (word.isEmpty())
        return false;
    if (QStringView(s).mid(i).startsWith(word, Qt::CaseInsensitive)) {
        i += word.size();
        return true;
    }
    return false;
}

// A time at s[i...]: hours and minutes, optional seconds and milliseconds, and an optional
// morning or afternoon mark before or after it.
bool scanTime(const QString& s, qsizetype& i, TDateTime& out)
{
    if (!skipBlanks(s, i))
        return false;
    const TFormatSettings& fs = FormatSettings();
    // 0: none, 1: morning, 2: afternoon.
    int half = 0;
    auto scanHalf = [&](qsizetype& k) {
        if (matchWord(s, k, fs.TimeAMString) || matchWord(s, k, QStringLiteral("AM")))
            half = 1;
        else if (matchWord(s, k, fs.TimePMString) || matchWord(s, k, QStringLiteral("PM")))
            half = 2;
    };
    scanHalf(i);
    if (half)
        skipBlanks(s, i);
    int hour = 0, min = 0, sec = 0, msec = 0, digits = 0;
    if (!scanNumber(s, i, 2, hour, digits))
        return false;
    auto isTimeSeparator = [&](qsizetype k) {
        return k < s.size() && (s[k] == fs.TimeSeparator || s[k] == u':');
    };
    if (!isTimeSeparator(i))
        return false;
    ++i;
    if (!scanNumber(s, i, 2, min, digits))
        return false;
    if (isTimeSeparator(i)) {
        ++i;
        if (!scanNumber(s, i, 2, sec, digits))
            return false;
        if (i < s.size() && s[i] == fs.DecimalSeparator) {
            ++i;
            if (!scanNumber(s, i, 3, msec, digits))
                return false;
        }
    }
    if (!half) {
        qsizetype j = i;
        skipBlanks(s, j);
        scanHalf(j);
        if (half)
            i = j;
    }
    if (half) {
        if (hour > 12)
            return false;
        if (half == 1 && hour == 12)
            hour = 0;
        else if (half == 2 && hour < 12)
            hour += 12;
    }
    return TryEncodeTime(hour, min, sec, msec, out);
}

bool atEnd(const QString& s, qsizetype i)
{
    return !skipBlanks(s, i);
}

} // namespace

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = fixedSettings();
    return settings;
}

void ResetFormatSettings()
{
    FormatSettings() = fixedSettings();
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const qx::DecimalDigits d = qx::decimalOf(value, 15);
    if (d.isZero())
        return QStringLiteral("0");
    QString s = d.negative ? QStringLiteral("-") : QString();
    const QChar point = FormatSettings().DecimalSeparator;
    if (d.exponent > 15 || d.exponent < -4) {
        // Scientific: one digit, the rest after the point, and the exponent without padding.
        s += QChar(d.digits[0]);
        if (d.digits.size() > 1)
            s += point + QString::fromStdString(d.digits.substr(1));
        s += u'E' + QString::number(d.exponent - 1);
        return s;
    }
    s += QString::fromStdString(d.integerDigits());
    const int places = int(d.digits.size()) - d.exponent;
    if (places > 0)
        s += point + QString::fromStdString(d.fractionDigits(places));
    return s;
}

QString CurrToStr(Currency value)
{
    QString s = value.toString();
    return s.replace(u'.', FormatSettings().DecimalSeparator);
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

QString DateToStr(TDateTime dt)
{
    return FormatDateTime(FormatSettings().ShortDateFormat, dt);
}

QString TimeToStr(TDateTime dt)
{
    return FormatDateTime(FormatSettings().LongTimeFormat, dt);
}

QString DateTimeToStr(TDateTime dt)
{
    return FormatDateTime(QStringLiteral("c"), dt);
}

int StrToInt(const QString& text)
{
    qint64 v = 0;
    if (!scanInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v))
        notInteger(text);
    return int(v);
}

qint64 StrToInt64(const QString& text)
{
    qint64 v = 0;
    if (!scanInteger(text, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(),
                     v))
        notInteger(text);
    return v;
}

int StrToIntDef(const QString& text, int def)
{
    qint64 v = 0;
    if (!scanInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v))
        return def;
    return int(v);
}

bool TryStrToFloat(const QString& text, double& out)
{
    qx::DecimalDigits d;
    if (!qx::parseDecimal(text, FormatSettings().DecimalSeparator, d))
        return false;
    const double v = qx::toDouble(d);
    if (!std::isfinite(v))
        return false;
    out = v;
    return true;
}

double StrToFloat(const QString& text)
{
    double v = 0;
    if (!TryStrToFloat(text, v))
        notFloat(text);
    return v;
}

Currency StrToCurr(const QString& text)
{
    qx::DecimalDigits d;
    if (!qx::parseDecimal(text, FormatSettings().DecimalSeparator, d))
        notFloat(text);
    qx::roundDecimals(d, 4, qx::Rounding::HalfEven);
    std::int64_t raw = 0;
    if (!qx::toScaledInt(d, 4, raw))
        notFloat(text);
    return Currency::fromRaw(raw);
}

bool TryStrToDate(const QString& text, TDateTime& out)
{
    qsizetype i = 0;
    TDateTime d;
    if (!scanDate(text, i, d) || !atEnd(text, i))
        return false;
    out = d;
    return true;
}

TDateTime StrToDate(const QString& text)
{
    TDateTime d;
    if (!TryStrToDate(text, d))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return d;
}

TDateTime StrToTime(const QString& text)
{
    qsizetype i = 0;
    TDateTime t;
    if (!scanTime(text, i, t) || !atEnd(text, i))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    return t;
}

TDateTime StrToDateTime(const QString& text)
{
    qsizetype i = 0;
    TDateTime d;
    TDateTime t;
    bool ok = false;
    if (scanDate(text, i, d)) {
        if (atEnd(text, i)) {
            ok = true;
        } else if (i < text.size() && text[i].unicode() <= ' ') {
            ok = scanTime(text, i, t) && atEnd(text, i);
        }
    } else {
        // A time alone is a time on day zero.
        i = 0;
        ok = scanTime(text, i, t) && atEnd(text, i);
        d = TDateTime(0);
    }
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return TDateTime(d.Val >= 0 ? d.Val + t.Val : d.Val - t.Val);
}

qint64 Round(double value)
{
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        throw ERangeError(QStringLiteral("Invalid floating point operation"));
    return qint64(r);
}

double RoundTo(double value, int digits)
{
    if (!std::isfinite(value))
        return value;
    qx::DecimalDigits d = qx::decimalOf(value, 15);
    qx::roundDecimals(d, -digits, qx::Rounding::HalfEven);
    const double r = qx::toDouble(d);
    return r == 0.0 ? 0.0 : r;
}

QString Trim(const QString& text)
{
    return TrimRight(TrimLeft(text));
}

QString TrimLeft(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].unicode() <= ' ')
        ++i;
    return text.mid(i);
}

QString TrimRight(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1].unicode() <= ' ')
        --n;
    return text.left(n);
}
