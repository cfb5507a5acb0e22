// Currency: an exact money value, a 64-bit count of ten-thousandths. Conversions from double
// round halves to even at the fourth decimal; sums are exact and products round the same way.
#pragma once

#include <QString>

#include <compare>
#include <cstdint>

class Currency
{
public:
    constexpr Currency() = default;
    constexpr Currency(int units) : m_units(std::int64_t(units) * 10000) {}

    static constexpr Currency fromRaw(std::int64_t tenThousandths)
    {
        Currency c;
        c.m_units = tenThousandths;
        return c;
    }
    // Raises ERangeError when v does not fit.
    static Currency fromDouble(double v);
    // Parses "12.5", "-0.0001" (more places round halves to even); raises EConvertError naming
    // the text, also for a value out of range.
    static Currency fromString(const QString& text);

    constexpr std::int64_t raw() const { return m_units; }
    double toDouble() const { return double(m_units) / 10000.0; }
    // Shortest exact text: "12.5", "-3", "0.0001".
    QString toString() const;

    Currency operator-() const { return fromRaw(-m_units); }
    Currency& operator+=(Currency o);
    Currency& operator-=(Currency o);
    Currency operator+(Currency o) const { Currency c = *this; return c += o; }
    Currency operator-(Currency o) const { Currency c = *this; return c -= o; }
    // Products and quotients round halves to even at the fourth decimal.
    Currency operator*(Currency o) const;
    Currency operator*(std::int64_t n) const;
    Currency operator/(Currency o) const;   // raises EZeroDivide-like ERangeError on zero
    Currency operator/(std::int64_t n) const;

    constexpr auto operator<=>(const Currency&) const = default;

private:
    std::int64_t m_units = 0;
};
