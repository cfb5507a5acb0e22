// FormatDateTime with the run-time library's specifiers. Letters are read without case, so
// "YYYY-MM-DD HH:MM" and "yyyy-mm-dd hh:nn" give the same text; "m" and "mm" right after an
// hour specifier are minutes.
#include "platform/rtl/SysUtils.h"

namespace {

struct Parts
{
    TDateTime value;
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0, dayOfWeek = 1;
};

QString twoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

// "am/pm", "a/p" or "ampm" at i (any case), or 0.
int amPmLength(QStringView f, qsizetype i)
{
    const QStringView rest = f.mid(i);
    if (rest.startsWith(u"am/pm", Qt::CaseInsensitive))
        return 5;
    if (rest.startsWith(u"ampm", Qt::CaseInsensitive))
        return 4;
    if (rest.startsWith(u"a/p", Qt::CaseInsensitive))
        return 3;
    return 0;
}

// Whether the format shows a morning/afternoon mark outside its quoted texts: then hours are
// counted 1 to 12.
bool usesTwelveHours(QStringView f)
{
    QChar quote;
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (amPmLength(f, i) > 0) {
            return true;
        }
    }
    return false;
}

void format(QString& out, QStringView f, const Parts& p, int depth)
{
    // Nested formats (c, ddddd, t...) may themselves name formats; two levels are enough and
    // stop a format that names itself.
    if (depth > 2)
        return;
    const TFormatSettings& fs = FormatSettings();
    const bool twelve = usesTwelveHours(f);
    QChar lastToken;
    qsizetype i = 0;
    const qsizetype n = f.size();
    auto runOf = [&](QChar upper) {
        qsizetype j = i;
        while (j < n && f[j].toUpper() == upper)
            ++j;
        return int(j - i);
    };
    while (i < n) {
        const QChar c = f[i];
        const QChar u = c.toUpper();
        if (c == u'\'' || c == u'"') {
            const qsizetype end = f.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end;
            out += f.mid(i + 1, stop - i - 1);
            i = stop < n ? stop + 1 : n;
            continue;
        }
        if (c == u'/') {
            out += fs.DateSeparator;
            ++i;
            continue;
        }
        if (c == u':') {
            out += fs.TimeSeparator;
            ++i;
            continue;
        }
        if (u == u'A') {
            const int len = amPmLength(f, i);
            if (len == 0) {
                out += c;
                ++i;
                continue;
            }
            const bool pm = p.hour >= 12;
            if (len == 4) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
            } else if (len == 5) {
                // The case of each half follows the format: "AM/PM", "am/pm".
                const QStringView word = f.mid(pm ? i + 3 : i, 2);
                out += word.at(0).isUpper() ? (pm ? QStringLiteral("PM") : QStringLiteral("AM"))
                                            : (pm ? QStringLiteral("pm") : QStringLiteral("am"));
            } else {
                const QChar letter = f[pm ? i + 2 : i];
                out += letter;
            }
            i += len;
            lastToken = u;
            continue;
        }
        int count = 1;
        switch (u.unicode()) {
        case 'Y':
            count = runOf(u);
            if (count <= 2)
                out += twoDigits(p.year % 100);
            else
                out += QStringLiteral("%1").arg(p.year, 4, 10, QLatin1Char('0'));
            break;
        case 'M':
            count = runOf(u);
            if (lastToken == u'H') {
                out += count == 1 ? QString::number(p.min) : twoDigits(p.min);
                count = std::min(count, 2);
            } else if (count == 1) {
                out += QString::number(p.month);
            } else if (count == 2) {
                out += twoDigits(p.month);
            } else if (count == 3) {
                out += fs.ShortMonthNames.value(p.month - 1);
            } else {
                out += fs.LongMonthNames.value(p.month - 1);
            }
            break;
        case 'D':
            count = runOf(u);
            if (count == 1)
                out += QString::number(p.day);
            else if (count == 2)
                out += twoDigits(p.day);
            else if (count == 3)
                out += fs.ShortDayNames.value(p.dayOfWeek - 1);
            else if (count == 4)
                out += fs.LongDayNames.value(p.dayOfWeek - 1);
            else if (count == 5)
                format(out, fs.ShortDateFormat, p, depth + 1);
            else
                format(out, fs.LongDateFormat, p, depth + 1);
            break;
        case 'H': {
            count = runOf(u);
            int h = p.hour;
            if (twelve) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += count == 1 ? QString::number(h) : twoDigits(h);
            break;
        }
        case 'N':
            count = runOf(u);
            out += count == 1 ? QString::number(p.min) : twoDigits(p.min);
            break;
        case 'S':
            count = runOf(u);
            out += count == 1 ? QString::number(p.sec) : twoDigits(p.sec);
            break;
        case 'Z':
            count = runOf(u);
            out += count < 3 ? QString::number(p.msec)
                             : QStringLiteral("%1").arg(p.msec, 3, 10, QLatin1Char('0'));
            break;
        case 'T':
            count = runOf(u);
            format(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, depth + 1);
            break;
        case 'C':
            format(out, fs.ShortDateFormat, p, depth + 1);
            if (p.hour != 0 || p.min != 0 || p.sec != 0 || p.msec != 0) {
                out += u' ';
                format(out, fs.LongTimeFormat, p, depth + 1);
            }
            break;
        default:
            out += c;
            ++i;
            continue;
        }
        i += count;
        lastToken = u;
    }
}

} // namespace

QString FormatDateTime(const QString& format, TDateTime dt)
{
    Parts p;
    p.value = dt;
    DecodeDate(dt, p.year, p.month, p.day);
    DecodeTime(dt, p.hour, p.min, p.sec, p.msec);
    p.dayOfWeek = DayOfWeek(dt);
    QString out;
    if (format.isEmpty())
        ::format(out, u"c", p, 0);
    else
        ::format(out, format, p, 0);
    return out;
}
