#include "platform/ui/DatePicker.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"

namespace qx {

namespace {

// Literal text as Qt shows it: as it stands unless it holds a letter or a quote, else in one
// pair of quotes with its quotes doubled (two quoted runs side by side would read as one
// holding a quote, so the caller gathers a whole run first).
QString qtLiteral(const QString& text)
{
    bool plain = true;
    for (QChar c : text)
        plain = plain && !c.isLetter() && c != u'\'';
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

QString qtDateFormat(const QString& format)
{
    QString out;
    QString literal;
    qsizetype i = 0;
    const qsizetype n = format.size();
    while (i < n) {
        const QChar c = format[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = format.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end;
            literal += format.mid(i + 1, stop - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        const QChar lower = c.toLower();
        if (lower == u'y' || lower == u'm' || lower == u'd') {
            qsizetype run = 1;
            while (i + run < n && format[i + run].toLower() == lower)
                ++run;
            i += run;
            out += qtLiteral(literal);
            literal.clear();
            if (lower == u'y')
                out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            else
                out += QString(int(qMin<qsizetype>(run, 4)), lower == u'm' ? u'M' : u'd');
            continue;
        }
        literal += c == u'/' ? FormatSettings().DateSeparator : c;
        ++i;
    }
    return out + qtLiteral(literal);
}

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(qtDateFormat(FormatSettings().ShortDateFormat));
    // The run-time library's dates run from year 1 to 9999.
    setMinimumDate(QDate(1, 1, 1));
    SetDate(::Date());
}

TDateTime DatePicker::Date() const
{
    return TDateTime::fromQDate(date());
}

void DatePicker::SetDate(TDateTime value)
{
    setDate(value.toQDate());
}

QString DatePicker::DateText() const
{
    return DateToStr(Date());
}

} // namespace qx
