#include "usystem/vcl/report/uQxRmbCapitals.h"

#include "platform/rtl/SysUtils.h"

#include <cmath>

namespace {

// Units of the positions P1 to P10, and the capital of each digit.
const QString kPositionUnits = QStringLiteral("仟佰拾万仟佰拾元角分");
const QString kCapitalDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
constexpr int kPositions = 10;

} // namespace

QString FormatRmbCapitals(double Value)
{
    // Anything of eleven digits of fen or more has no layout; stopping here also keeps an
    // absurd amount from being formatted as a long digit string.
    if (Value == 0 || !std::isfinite(Value) || Value < 0 || Value * 100 >= 1e11)
        return QString();
    const QString fen = FormatFloat(QStringLiteral("0"), Value * 100);
    const int digits = int(fen.size());
    if (digits > kPositions)
        return QString();
    for (QChar c : fen) {
        if (c < u'0' || c > u'9')
            return QString();
    }

    QString text;
    text.reserve(2 * kPositions);
    const int firstDigit = kPositions - digits; // 0-based position of the first digit
    for (int p = 0; p < kPositions; ++p) {
        if (p < firstDigit - 1)
            text += u' ';
        else if (p == firstDigit - 1)
            text += QStringLiteral("￥");
        else
            text += kCapitalDigits.at(fen.at(p - firstDigit).unicode() - u'0');
        text += kPositionUnits.at(p);
    }
    return text;
}
