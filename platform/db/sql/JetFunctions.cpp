#include "platform/db/sql/JetFunctions.h"

#include "platform/db/sql/JetOperators.h"
#include "platform/db/sql/JetValues.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <optional>

#include <sqlite3.h>

namespace qx {

namespace {

// ---- values in and out -----------------------------------------------------------------

using namespace qx::jet;

void typeMismatch(sqlite3_context* ctx, const char* function, sqlite3_value* v)
{
    resultError(ctx, QStringLiteral("Data type mismatch in criteria expression: %1('%2')")
                         .arg(QLatin1String(function), textOf(v)));
}

bool truthOf(sqlite3_value* v)
{
    if (isNull(v))
        return false;
    if (const std::optional<double> d = numberOf(v))
        return *d != 0;
    const QString s = textOf(v).trimmed();
    return s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0
           || s.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
}

// ---- dates -----------------------------------------------------------------------------

// The stored shapes and the shapes users type: 2006-03-05, 2006-3-5 10:20[:30], 2006/3/5,
// 3/5/2006 (Jet's month/day/year), and a day number.
std::optional<QDateTime> dateOf(sqlite3_value* v)
{
    if (isNull(v))
        return std::nullopt;
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const double d = sqlite3_value_double(v);
        if (!std::isfinite(d) || d < -657434.0 || d > 2958465.99999)
            return std::nullopt;
        return TDateTime(d).toQDateTime();
    }
    static const QRegularExpression ymd(QStringLiteral(
        R"(^\s*(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.\d+)?)?)?\s*$)"));
    static const QRegularExpression mdy(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    static const QRegularExpression hms(
        QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
    const QString s = textOf(v);
    int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0;
    QRegularExpressionMatch match = ymd.match(s);
    if (match.hasMatch()) {
        y = match.captured(1).toInt();
        m = match.captured(2).toInt();
        d = match.captured(3).toInt();
    } else if ((match = mdy.match(s)).hasMatch()) {
        m = match.captured(1).toInt();
        d = match.captured(2).toInt();
        y = match.captured(3).toInt();
    } else if ((match = hms.match(s)).hasMatch()) {
        const QTime t(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
        if (!t.isValid())
            return std::nullopt;
        return QDateTime(QDate(1899, 12, 30), t);
    } else {
        return std::nullopt;
    }
    if (match.lastCapturedIndex() >= 5 && !match.captured(4).isEmpty()) {
        hh = match.captured(4).toInt();
        nn = match.captured(5).toInt();
        ss = match.captured(6).toInt();
    }
    const QDate date(y, m, d);
    const QTime time(hh, nn, ss);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString dateText(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Reads the date argument or sets the error; nothing when the argument is null or bad.
std::optional<QDateTime> dateArg(sqlite3_context* ctx, const char* function, sqlite3_value* v)
{
    if (isNull(v)) {
        sqlite3_result_null(ctx);
        return std::nullopt;
    }
    std::optional<QDateTime> dt = dateOf(v);
    if (!dt)
        typeMismatch(ctx, function, v);
    return dt;
}

// ---- the functions ---------------------------------------------------------------------

void fnCVDate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (const auto dt = dateArg(ctx, "CVDate", argv[0]))
        resultText(ctx, dateText(*dt));
}

void fnYear(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (const auto dt = dateArg(ctx, "Year", argv[0]))
        sqlite3_result_int(ctx, dt->date().year());
}

void fnMonth(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (const auto dt = dateArg(ctx, "Month", argv[0]))
        sqlite3_result_int(ctx, dt->date().month());
}

void fnDay(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (const auto dt = dateArg(ctx, "Day", argv[0]))
        sqlite3_result_int(ctx, dt->date().day());
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, ::Now().toQDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void fnDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, ::Date().toQDate().toString(QStringLiteral("yyyy-MM-dd")));
}

// Interval letters of DateAdd and DateDiff.
enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second, Bad };

Interval intervalOf(sqlite3_value* v)
{
    const QString s = textOf(v).trimmed().toLower();
    if (s == u"yyyy") return Interval::Year;
    if (s == u"q") return Interval::Quarter;
    if (s == u"m") return Interval::Month;
    if (s == u"y") return Interval::DayOfYear;
    if (s == u"d") return Interval::Day;
    if (s == u"w") return Interval::Weekday;
    if (s == u"ww") return Interval::Week;
    if (s == u"h") return Interval::Hour;
    if (s == u"n") return Interval::Minute;
    if (s == u"s") return Interval::Second;
    return Interval::Bad;
}

void fnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Interval interval = intervalOf(argv[0]);
    if (interval == Interval::Bad) {
        resultError(ctx, QStringLiteral("Invalid procedure call: DateAdd('%1')").arg(textOf(argv[0])));
        return;
    }
    const std::optional<double> number = numberOf(argv[1]);
    if (!number) {
        typeMismatch(ctx, "DateAdd", argv[1]);
        return;
    }
    const auto dt = dateArg(ctx, "DateAdd", argv[2]);
    if (!dt)
        return;
    // Jet takes the whole number nearest to the count.
    const qint64 n = qint64(std::llround(*number));
    QDateTime r = *dt;
    switch (interval) {
    case Interval::Year: r = r.addYears(int(n)); break; // 29 February goes to the 28th
    case Interval::Quarter: r = r.addMonths(int(n * 3)); break;
    case Interval::Month: r = r.addMonths(int(n)); break; // the 31st goes to the month's last day
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: r = r.addDays(n); break;
    case Interval::Week: r = r.addDays(n * 7); break;
    case Interval::Hour: r = r.addSecs(n * 3600); break;
    case Interval::Minute: r = r.addSecs(n * 60); break;
    case Interval::Second: r = r.addSecs(n); break;
    case Interval::Bad: break;
    }
    if (!r.isValid() || r.date().year() < 100 || r.date().year() > 9999) {
        resultError(ctx, QStringLiteral("Overflow in DateAdd"));
        return;
    }
    resultText(ctx, dateText(r));
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Jet counts the boundaries crossed between the two moments: DateDiff('yyyy', 2005-12-31,
// 2006-01-01) is 1, DateDiff('d', '2006-03-05 23:00', '2006-03-06 01:00') is 1.
void fnDateDiff(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Interval interval = intervalOf(argv[0]);
    if (interval == Interval::Bad) {
        resultError(ctx, QStringLiteral("Invalid procedure call: DateDiff('%1')").arg(textOf(argv[0])));
        return;
    }
    const auto a = dateArg(ctx, "DateDiff", argv[1]);
    if (!a)
        return;
    const auto b = dateArg(ctx, "DateDiff", argv[2]);
    if (!b)
        return;
    // The first day of the week for 'ww': 1 = Sunday (Jet's default) .. 7 = Saturday.
    int firstDay = 1;
    if (argc > 3 && !isNull(argv[3])) {
        firstDay = int(sqlite3_value_int(argv[3]));
        if (firstDay < 1 || firstDay > 7)
            firstDay = 1;
    }
    const QDate da = a->date();
    const QDate db = b->date();
    const qint64 days = da.daysTo(db);
    const qint64 secsA = QDateTime(QDate(2000, 1, 1), QTime(0, 0)).secsTo(*a);
    const qint64 secsB = QDateTime(QDate(2000, 1, 1), QTime(0, 0)).secsTo(*b);
    qint64 result = 0;
    switch (interval) {
    case Interval::Year: result = db.year() - da.year(); break;
    case Interval::Quarter:
        result = (db.year() * 4 + (db.month() - 1) / 3) - (da.year() * 4 + (da.month() - 1) / 3);
        break;
    case Interval::Month: result = (db.year() * 12 + db.month()) - (da.year() * 12 + da.month()); break;
    case Interval::DayOfYear:
    case Interval::Day: result = days; break;
    case Interval::Weekday: result = days / 7; break; // whole weeks, truncated toward zero
    case Interval::Week: {
        // Calendar weeks: how many first-days-of-week lie after a up to b.
        auto weekStart = [&](const QDate& d) {
            const int dow = d.dayOfWeek() % 7 + 1; // 1 = Sunday
            return d.addDays(-((dow - firstDay + 7) % 7));
        };
        result = weekStart(da).daysTo(weekStart(db)) / 7;
        break;
    }
    case Interval::Hour: result = floorDiv(secsB, 3600) - floorDiv(secsA, 3600); break;
    case Interval::Minute: result = floorDiv(secsB, 60) - floorDiv(secsA, 60); break;
    case Interval::Second: result = secsB - secsA; break;
    case Interval::Bad: break;
    }
    sqlite3_result_int64(ctx, result);
}

// Val: the number at the start of the text; blanks, tabs and line feeds anywhere are skipped,
// "&H" and "&O" give hexadecimal and octal. A text without a number gives 0.
double valOf(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            s += c;
    if (s.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)
        || s.startsWith(QStringLiteral("&O"), Qt::CaseInsensitive)) {
        const bool hex = s[1].toUpper() == u'H';
        qint64 v = 0;
        for (int i = 2; i < s.size(); ++i) {
            const int digit = hex ? QString(s[i]).toInt(nullptr, 16) : s[i].digitValue();
            const bool valid = hex ? (s[i].isDigit() || QStringLiteral("abcdefABCDEF").contains(s[i]))
                                   : (s[i] >= u'0' && s[i] <= u'7');
            if (!valid)
                break;
            v = v * (hex ? 16 : 8) + digit;
        }
        return double(v);
    }
    int i = 0;
    const int n = int(s.size());
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const int digitsFrom = i;
    while (i < n && s[i].isDigit())
        ++i;
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && s[i].isDigit())
            ++i;
    }
    if (i == digitsFrom || (i == digitsFrom + 1 && s[digitsFrom] == u'.'))
        return 0.0;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        int j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (j < n && s[j].isDigit()) {
            while (j < n && s[j].isDigit())
                ++j;
            QString number = s.left(j);
            number[i] = u'e';
            return number.toDouble();
        }
    }
    return s.left(i).toDouble();
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    }
    sqlite3_result_double(ctx, valOf(textOf(argv[0])));
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!isNull(argv[0]))
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

void fnIIf(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, truthOf(argv[0]) ? argv[1] : argv[2]);
}

// Reads a count argument (Left, Right, Mid): nothing (with the error or null set) when bad.
std::optional<qint64> countArg(sqlite3_context* ctx, const char* function, sqlite3_value* v)
{
    if (isNull(v)) {
        sqlite3_result_null(ctx);
        return std::nullopt;
    }
    const std::optional<double> d = numberOf(v);
    if (!d) {
        typeMismatch(ctx, function, v);
        return std::nullopt;
    }
    return qint64(std::llround(*d));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto n = countArg(ctx, "Left", argv[1]);
    if (!n)
        return;
    if (*n < 0) {
        resultError(ctx, QStringLiteral("Invalid procedure call: Left with a negative length"));
        return;
    }
    resultText(ctx, textOf(argv[0]).left(*n));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto n = countArg(ctx, "Right", argv[1]);
    if (!n)
        return;
    if (*n < 0) {
        resultError(ctx, QStringLiteral("Invalid procedure call: Right with a negative length"));
        return;
    }
    resultText(ctx, textOf(argv[0]).right(*n));
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto start = countArg(ctx, "Mid", argv[1]);
    if (!start)
        return;
    qint64 length = -1;
    if (argc > 2) {
        const auto n = countArg(ctx, "Mid", argv[2]);
        if (!n)
            return;
        length = *n;
    }
    if (*start < 1 || (argc > 2 && length < 0)) {
        resultError(ctx, QStringLiteral("Invalid procedure call: Mid"));
        return;
    }
    resultText(ctx, textOf(argv[0]).mid(*start - 1, length));
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, textOf(argv[0]).size());
}

// InStr([start,] text, sought[, compare]): 1-based position, 0 when not found; compare 0 is
// binary, otherwise (and by default, as Access compares text) without case.
void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    qint64 start = 1;
    int first = 0;
    if (argc >= 3) {
        const auto s = countArg(ctx, "InStr", argv[0]);
        if (!s)
            return;
        if (*s < 1) {
            resultError(ctx, QStringLiteral("Invalid procedure call: InStr"));
            return;
        }
        start = *s;
        first = 1;
    }
    if (isNull(argv[first]) || isNull(argv[first + 1])) {
        sqlite3_result_null(ctx);
        return;
    }
    Qt::CaseSensitivity cs = Qt::CaseInsensitive;
    if (argc == 4 && !isNull(argv[3]) && sqlite3_value_int(argv[3]) == 0)
        cs = Qt::CaseSensitive;
    const QString text = textOf(argv[first]);
    const QString sought = textOf(argv[first + 1]);
    if (start > text.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (sought.isEmpty()) {
        sqlite3_result_int64(ctx, start);
        return;
    }
    sqlite3_result_int64(ctx, text.indexOf(sought, start - 1, cs) + 1);
}

void fnUCase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, textOf(argv[0]).toUpper());
}

void fnLCase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, textOf(argv[0]).toLower());
}

// Jet's Trim drops blanks only (not tabs), at both ends.
void fnTrim(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textOf(argv[0]);
    int from = 0;
    int to = int(s.size());
    while (from < to && s[from] == u' ')
        ++from;
    while (to > from && s[to - 1] == u' ')
        --to;
    resultText(ctx, s.mid(from, to - from));
}

void fnInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    const std::optional<double> d = numberOf(argv[0]);
    if (!d) {
        typeMismatch(ctx, "Int", argv[0]);
        return;
    }
    sqlite3_result_double(ctx, std::floor(*d));
}

void fnCStr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); break;
    case SQLITE_INTEGER: resultText(ctx, QString::number(sqlite3_value_int64(argv[0]))); break;
    case SQLITE_FLOAT: resultText(ctx, FloatToStr(sqlite3_value_double(argv[0]))); break;
    default: resultText(ctx, textOf(argv[0])); break;
    }
}

void fnCInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    std::optional<double> d = numberOf(argv[0]);
    if (!d && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const QString s = textOf(argv[0]).trimmed();
        if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            d = -1;
        else if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            d = 0;
    }
    if (!d) {
        typeMismatch(ctx, "CInt", argv[0]);
        return;
    }
    const double r = std::nearbyint(*d); // the default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0) {
        resultError(ctx, QStringLiteral("Overflow: CInt(%1)").arg(textOf(argv[0])));
        return;
    }
    sqlite3_result_int(ctx, int(r));
}

void fnCDbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::optional<double> d = numberOf(argv[0]);
    if (!d) {
        typeMismatch(ctx, "CDbl", argv[0]);
        return;
    }
    sqlite3_result_double(ctx, *d);
}

// ---- Format ----------------------------------------------------------------------------

bool looksLikeDateFormat(const QString& f)
{
    static const QStringList dateNames = {QStringLiteral("general date"), QStringLiteral("long date"),
                                          QStringLiteral("medium date"), QStringLiteral("short date"),
                                          QStringLiteral("long time"), QStringLiteral("medium time"),
                                          QStringLiteral("short time")};
    if (dateNames.contains(f.trimmed().toLower()))
        return true;
    bool inQuote = false;
    for (QChar c : f) {
        if (c == u'"' || c == u'\'') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote)
            continue;
        if (QStringLiteral("yYdDhHnNsS").contains(c))
            return true;
        if (c == u'0' || c == u'#')
            return false;
    }
    return f.contains(u'm', Qt::CaseInsensitive);
}

QString formatDate(const QDateTime& dt, const QString& format)
{
    const TFormatSettings& fs = FormatSettings();
    const QString name = format.trimmed().toLower();
    QString f = format;
    if (name == u"general date")
        f = dt.time() == QTime(0, 0) ? fs.ShortDateFormat : fs.ShortDateFormat + u' ' + fs.LongTimeFormat;
    else if (name == u"long date")
        f = fs.LongDateFormat;
    else if (name == u"medium date" || name == u"short date")
        f = fs.ShortDateFormat;
    else if (name == u"long time" || name == u"medium time")
        f = fs.LongTimeFormat;
    else if (name == u"short time")
        f = fs.ShortTimeFormat;
    return FormatDateTime(f, TDateTime::fromQDateTime(dt));
}

QString formatNumber(double v, const QString& format)
{
    const QString name = format.trimmed().toLower();
    if (name == u"general number")
        return FloatToStr(v);
    if (name == u"fixed")
        return FormatFloat(QStringLiteral("0.00"), v);
    if (name == u"standard")
        return FormatFloat(QStringLiteral("#,##0.00"), v);
    if (name == u"currency")
        return FormatFloat(FormatSettings().CurrencyString + QStringLiteral("#,##0.00"), v);
    if (name == u"percent")
        return FormatFloat(QStringLiteral("0.00"), v * 100) + u'%';
    if (name == u"yes/no")
        return v != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    if (name == u"true/false")
        return v != 0 ? QStringLiteral("True") : QStringLiteral("False");
    if (name == u"on/off")
        return v != 0 ? QStringLiteral("On") : QStringLiteral("Off");
    return FormatFloat(format, v);
}

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString format = argc > 1 && !isNull(argv[1]) ? textOf(argv[1]) : QString();
    const int type = sqlite3_value_type(argv[0]);
    try {
        if (format.isEmpty()) {
            if (type == SQLITE_FLOAT)
                resultText(ctx, FloatToStr(sqlite3_value_double(argv[0])));
            else
                resultText(ctx, textOf(argv[0]));
            return;
        }
        const bool dateFormat = looksLikeDateFormat(format);
        if (type == SQLITE_TEXT) {
            if (dateFormat) {
                if (const auto dt = dateOf(argv[0])) {
                    resultText(ctx, formatDate(*dt, format));
                    return;
                }
            }
            if (const auto d = numberOf(argv[0])) {
                resultText(ctx, dateFormat ? formatDate(TDateTime(*d).toQDateTime(), format)
                                           : formatNumber(*d, format));
                return;
            }
            resultText(ctx, textOf(argv[0])); // text that is neither date nor number stays
            return;
        }
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            const double d = sqlite3_value_double(argv[0]);
            if (dateFormat) {
                if (const auto dt = dateOf(argv[0])) {
                    resultText(ctx, formatDate(*dt, format));
                    return;
                }
            }
            resultText(ctx, formatNumber(d, format));
            return;
        }
        typeMismatch(ctx, "Format", argv[0]);
    } catch (const Exception& e) {
        resultError(ctx, e.Message());
    }
}

// ---- registration ----------------------------------------------------------------------

struct FunctionDef
{
    const char* name;
    int argc;
    bool deterministic;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
};

const FunctionDef kFunctions[] = {
    {"CVDate", 1, true, fnCVDate},
    {"Format", 1, true, fnFormat},
    {"Format", 2, true, fnFormat},
    {"DateDiff", 3, true, fnDateDiff},
    {"DateDiff", 4, true, fnDateDiff},
    {"DateAdd", 3, true, fnDateAdd},
    {"Val", 1, true, fnVal},
    {"Nz", 1, true, fnNz},
    {"Nz", 2, true, fnNz},
    {"IIf", 3, true, fnIIf},
    {"jet_left", 2, true, fnLeft},
    {"jet_right", 2, true, fnRight},
    {"Mid", 2, true, fnMid},
    {"Mid", 3, true, fnMid},
    {"Len", 1, true, fnLen},
    {"InStr", 2, true, fnInStr},
    {"InStr", 3, true, fnInStr},
    {"InStr", 4, true, fnInStr},
    {"UCase", 1, true, fnUCase},
    {"LCase", 1, true, fnLCase},
    {"Year", 1, true, fnYear},
    {"Month", 1, true, fnMonth},
    {"Day", 1, true, fnDay},
    {"Now", 0, false, fnNow},
    {"Date", 0, false, fnDate}, // date(x) with arguments stays SQLite's own
    {"Trim", 1, true, fnTrim},
    {"Int", 1, true, fnInt},
    {"CStr", 1, true, fnCStr},
    {"CInt", 1, true, fnCInt},
    {"CDbl", 1, true, fnCDbl},
};

} // namespace

void registerJetFunctions(sqlite3* db)
{
    for (const FunctionDef& f : kFunctions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc = sqlite3_create_function_v2(db, f.name, f.argc, flags, nullptr, f.fn, nullptr,
                                                  nullptr, nullptr);
        if (rc != SQLITE_OK)
            raiseSqliteError(db, rc);
    }
    // The operators the rewriter turns into calls go with the functions.
    registerJetOperators(db);
}

} // namespace qx
