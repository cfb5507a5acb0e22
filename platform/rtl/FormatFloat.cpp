// FormatFloat and FormatCurr with the run-time library's picture rules: up to three sections
// (positive;negative;zero), '0' and '#' digit places, '.', ',' for thousands, E+ and E-
// exponents and quoted literal texts. Rounding is half away from zero on the value's decimal
// digits, as the run-time library's float formats round.
#include "platform/rtl/SysUtils.h"

#include "platform/rtl/Decimal.h"

#include <cmath>

namespace {

using qx::DecimalDigits;

// Splits the picture at the ';' outside quotes.
QList<QStringView> sections(QStringView f)
{
    QList<QStringView> list;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            list << f.mid(start, i - start);
            start = i + 1;
        }
    }
    list << f.mid(start);
    return list;
}

struct Picture
{
    int intPlaces = 0;  // '0' and '#' before the point
    int intZeros = 0;   // places from the first '0' before the point up to the point
    int decPlaces = 0;  // '0' and '#' after the point
    int decZeros = 0;   // places after the point up to the last '0'
    bool thousands = false;
    bool scientific = false;
    int expDigits = 0;
    bool anyPlace() const { return intPlaces + decPlaces > 0; }
};

bool isExponentAt(QStringView s, qsizetype i)
{
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

Picture scan(QStringView s)
{
    Picture p;
    bool point = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            i = end < 0 ? s.size() : end;
        } else if (c == u'0' || c == u'#') {
            if (!point) {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.intPlaces;
                ++p.intPlaces;
            } else {
                ++p.decPlaces;
                if (c == u'0')
                    p.decZeros = p.decPlaces;
            }
        } else if (c == u'.') {
            point = true;
        } else if (c == u',') {
            p.thousands = true;
        } else if (!p.scientific && isExponentAt(s, i)) {
            p.scientific = true;
            i += 2;
            while (i < s.size() && s[i] == u'0' && p.expDigits < 4) {
                ++p.expDigits;
                ++i;
            }
            // Digit places after the exponent belong to nothing.
            break;
        }
    }
    if (firstZero >= 0)
        p.intZeros = p.intPlaces - firstZero;
    return p;
}

// Writes the section with the digits already worked out.
QString render(QStringView s, const Picture& p, const QString& intText, const QString& fracText,
             int exponent)
{
    const TFormatSettings& fs = FormatSettings();
    QString out;
    const int len = int(intText.size());
    const int excess = len - p.intPlaces;
    int intIndex = 0;
    int decIndex = 0;
    bool point = false;
    bool intDone = false;
    auto putIntDigit = [&](int pos) {
        out += intText[pos];
        const int left = len - 1 - pos;
        if (p.thousands && !p.scientific && left > 0 && left % 3 == 0)
            out += fs.ThousandSeparator;
    };
    auto flushInt = [&]() {
        // With no digit place before the point the whole integer part goes here.
        if (!intDone && p.intPlaces == 0) {
            for (int k = 0; k < len; ++k)
                putIntDigit(k);
        }
        intDone = true;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            out += s.mid(i + 1, stop - i - 1);
            i = stop;
        } else if ((c == u'0' || c == u'#') && !point) {
            if (intIndex == 0) {
                for (int k = 0; k < excess; ++k)
                    putIntDigit(k);
            }
            const int pos = excess + intIndex;
            if (pos >= 0)
                putIntDigit(pos);
            ++intIndex;
        } else if ((c == u'0' || c == u'#') && point) {
            if (decIndex < fracText.size())
                out += fracText[decIndex];
            ++decIndex;
        } else if (c == u'.' && !point) {
            flushInt();
            point = true;
            if (!fracText.isEmpty())
                out += fs.DecimalSeparator;
        } else if (c == u'.') {
            // Only the first point counts; the places after a second one are decimals too.
        } else if (c == u',') {
            // Thousands are placed with the digits.
        } else if (p.scientific && isExponentAt(s, i)) {
            flushInt();
            out += c;
            const bool plus = s[i + 1] == u'+';
            if (exponent < 0)
                out += u'-';
            else if (plus)
                out += u'+';
            i += 2;
            int zeros = 0;
            while (i < s.size() && s[i] == u'0' && zeros < 4) {
                ++zeros;
                ++i;
            }
            --i;
            out += QStringLiteral("%1").arg(std::abs(exponent), std::max(zeros, 1), 10,
                                           QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString trimFraction(std::string frac, int keep)
{
    while (int(frac.size()) > keep && frac.back() == '0')
        frac.pop_back();
    return QString::fromStdString(frac);
}

// Formats the magnitude of d with one section; sets zero when the shown value is zero.
QString formatSection(QStringView s, DecimalDigits d, bool& shownZero)
{
    const Picture p = scan(s);
    d.negative = false;
    if (!p.anyPlace()) {
        shownZero = d.isZero();
        return render(s, p, QString(), QString(), 0);
    }
    if (p.scientific) {
        const int intPlaces = std::max(p.intPlaces, 1);
        qx::roundSignificant(d, intPlaces + p.decPlaces, qx::Rounding::HalfAwayFromZero);
        shownZero = d.isZero();
        std::string all = d.digits;
        all.resize(std::size_t(intPlaces + p.decPlaces), '0');
        const int exponent = d.isZero() ? 0 : d.exponent - intPlaces;
        QString intText = QString::fromStdString(all.substr(0, std::size_t(intPlaces)));
        if (p.intPlaces == 0 && intText == u"0")
            intText.clear();
        return render(s, p, intText, trimFraction(all.substr(std::size_t(intPlaces)), p.decZeros),
                    exponent);
    }
    qx::roundDecimals(d, p.decPlaces, qx::Rounding::HalfAwayFromZero);
    shownZero = d.isZero();
    std::string intDigits = d.integerDigits();
    if (intDigits == "0")
        intDigits.clear();
    if (int(intDigits.size()) < p.intZeros)
        intDigits.insert(0, std::size_t(p.intZeros - int(intDigits.size())), '0');
    return render(s, p, QString::fromStdString(intDigits),
                trimFraction(d.fractionDigits(p.decPlaces), p.decZeros), 0);
}

QString formatDigits(const QString& format, const DecimalDigits& d, const QString& general)
{
    const QList<QStringView> parts = sections(format);
    auto sectionAt = [&](int k) { return k < parts.size() ? parts[k] : QStringView(); };
    int index = d.isZero() ? 2 : d.negative ? 1 : 0;
    bool autoSign = false;
    if (sectionAt(index).isEmpty()) {
        autoSign = index == 1;
        index = 0;
    }
    QStringView section = sectionAt(index);
    if (section.isEmpty())
        return general;
    bool shownZero = false;
    QString text = formatSection(section, d, shownZero);
    // A value that rounds to zero shows the zero section when there is one, and no sign.
    if (shownZero && index != 2 && !sectionAt(2).isEmpty()) {
        bool z = false;
        return formatSection(sectionAt(2), DecimalDigits(), z);
    }
    if (autoSign && !shownZero)
        text.prepend(u'-');
    return text;
}

} // namespace

QString FormatFloat(const QString& format, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    return formatDigits(format, qx::decimalOf(value, 15), FloatToStr(value));
}

QString FormatCurr(const QString& format, Currency value)
{
    return formatDigits(format, qx::decimalOfScaled(value.raw(), 4), CurrToStr(value));
}
