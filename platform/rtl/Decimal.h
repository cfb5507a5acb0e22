// Decimal digit strings behind the number conversions and formats. A double is first taken to
// 15 significant digits, as the run-time library shows it, and every later rounding works on
// those decimal digits, so 2.675 formats as 2.68 although its binary value lies just below.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>

namespace qx {

struct DecimalDigits
{
    bool negative = false;
    // Significant digits without leading or trailing zeros; empty for zero.
    std::string digits;
    // value = 0.d1d2d3... * 10^exponent
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
    // The digits of the integer part (at least "0") and of the first `decimals` places.
    std::string integerDigits() const;
    std::string fractionDigits(int decimals) const;
};

enum class Rounding { HalfEven, HalfAwayFromZero };

// The value of a finite double rounded to `significant` digits (1..17).
DecimalDigits decimalOf(double value, int significant = 15);
// raw * 10^-scale exactly.
DecimalDigits decimalOfScaled(std::int64_t raw, int scale);
// Parses [blanks][sign]digits[.digits][E[sign]digits][blanks] (at least one digit before or
// after the separator). Returns false for anything else.
bool parseDecimal(QStringView text, QChar decimalSeparator, DecimalDigits& out);

// Rounds to `decimals` places after the point (negative: to tens, hundreds...).
void roundDecimals(DecimalDigits& d, int decimals, Rounding mode);
// Rounds to `count` significant digits.
void roundSignificant(DecimalDigits& d, int count, Rounding mode);

// The nearest double of the digits.
double toDouble(const DecimalDigits& d);
// digits * 10^scale as an integer; false when it does not fit or has places left over.
bool toScaledInt(const DecimalDigits& d, int scale, std::int64_t& out);

} // namespace qx
