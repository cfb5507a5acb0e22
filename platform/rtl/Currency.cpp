#include "platform/rtl/Currency.h"

#include "platform/rtl/Decimal.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <limits>

namespace {

using Int128 = __int128;

[[noreturn]] void overflow()
{
    throw ERangeError(QStringLiteral("Floating point overflow"));
}

std::int64_t checked(Int128 v)
{
    if (v > Int128(std::numeric_limits<std::int64_t>::max())
        || v < Int128(std::numeric_limits<std::int64_t>::min()))
        overflow();
    return std::int64_t(v);
}

// num / den rounded to the nearest integer, halves to even.
Int128 divideHalfEven(Int128 num, Int128 den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    Int128 q = num / den;
    Int128 r = num % den; // same sign as num
    const Int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > den || (twice == den && (q % 2 != 0)))
        q += num < 0 ? -1 : 1;
    return q;
}

bool fromDigits(qx::DecimalDigits d, Currency& out)
{
    qx::roundDecimals(d, 4, qx::Rounding::HalfEven);
    std::int64_t raw = 0;
    if (!qx::toScaledInt(d, 4, raw))
        return false;
    out = Currency::fromRaw(raw);
    return true;
}

} // namespace

Currency Currency::fromDouble(double v)
{
    if (!std::isfinite(v))
        overflow();
    // A double that is the nearest one to a whole number of ten-thousandths below 10^15 shows
    // exactly that number in 15 digits, so it is taken at once (the values a file holds for
    // money are nearly all such); any other goes the long way.
    const double scaled = v * 10000.0;
    if (std::fabs(scaled) < 1e15) {
        const double units = std::nearbyint(scaled);
        if (units / 10000.0 == v)
            return Currency::fromRaw(std::int64_t(units));
    }
    // Through the 15 digits a double shows, so 0.1 + 0.2 gives 0.3 and not 0.30000000000000004.
    Currency c;
    if (!fromDigits(qx::decimalOf(v, 15), c))
        overflow();
    return c;
}

Currency Currency::fromString(const QString& text)
{
    qx::DecimalDigits d;
    Currency c;
    if (!qx::parseDecimal(text, u'.', d) || !fromDigits(d, c))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return c;
}

QString Currency::toString() const
{
    const qx::DecimalDigits d = qx::decimalOfScaled(m_units, 4);
    if (d.isZero())
        return QStringLiteral("0");
    QString s = d.negative ? QStringLiteral("-") : QString();
    s += QString::fromStdString(d.integerDigits());
    const int places = int(d.digits.size()) - d.exponent;
    if (places > 0)
        s += u'.' + QString::fromStdString(d.fractionDigits(places));
    return s;
}

Currency& Currency::operator+=(Currency o)
{
    m_units = checked(Int128(m_units) + o.m_units);
    return *this;
}

Currency& Currency::operator-=(Currency o)
{
    m_units = checked(Int128(m_units) - o.m_units);
    return *this;
}

Currency Currency::operator*(Currency o) const
{
    return fromRaw(checked(divideHalfEven(Int128(m_units) * o.m_units, 10000)));
}

Currency Currency::operator*(std::int64_t n) const
{
    return fromRaw(checked(Int128(m_units) * n));
}

Currency Currency::operator/(Currency o) const
{
    if (o.m_units == 0)
        throw ERangeError(QStringLiteral("Division by zero"));
    return fromRaw(checked(divideHalfEven(Int128(m_units) * 10000, o.m_units)));
}

Currency Currency::operator/(std::int64_t n) const
{
    if (n == 0)
        throw ERangeError(QStringLiteral("Division by zero"));
    return fromRaw(checked(divideHalfEven(Int128(m_units), n)));
}
