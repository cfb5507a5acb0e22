#include "platform/rtl/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qx {

namespace {

void normalize(DecimalDigits& d)
{
    std::size_t lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == '0')
        ++lead;
    if (lead > 0) {
        d.digits.erase(0, lead);
        d.exponent -= int(lead);
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

// Keeps the first `keep` digits (keep may be <= 0) and rounds by what follows.
void roundAt(DecimalDigits& d, int keep, Rounding mode)
{
    const int n = int(d.digits.size());
    if (keep >= n)
        return;
    if (keep < 0) {
        d.digits.clear();
        normalize(d);
        return;
    }
    // The dropped part compared with one half: first dropped digit and whether any follows.
    const char first = d.digits[std::size_t(keep)];
    bool restNonZero = false;
    for (int i = keep + 1; i < n; ++i) {
        if (d.digits[std::size_t(i)] != '0') {
            restNonZero = true;
            break;
        }
    }
    bool up = false;
    if (first > '5' || (first == '5' && restNonZero)) {
        up = true;
    } else if (first == '5') {
        if (mode == Rounding::HalfAwayFromZero)
            up = true;
        else
            up = keep > 0 && (d.digits[std::size_t(keep - 1)] - '0') % 2 == 1;
    }
    d.digits.resize(std::size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[std::size_t(i)] == '9') {
            d.digits[std::size_t(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[std::size_t(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    normalize(d);
}

} // namespace

std::string DecimalDigits::integerDigits() const
{
    if (digits.empty() || exponent <= 0)
        return "0";
    std::string s = digits.substr(0, std::size_t(std::min<int>(exponent, int(digits.size()))));
    if (int(s.size()) < exponent)
        s.append(std::size_t(exponent - int(s.size())), '0');
    return s;
}

std::string DecimalDigits::fractionDigits(int decimals) const
{
    std::string s;
    for (int i = 0; i < decimals; ++i) {
        const int pos = exponent + i; // index into digits of place i+1 after the point
        s.push_back(pos >= 0 && pos < int(digits.size()) ? digits[std::size_t(pos)] : '0');
    }
    return s;
}

DecimalDigits decimalOf(double value, int significant)
{
    DecimalDigits d;
    if (!std::isfinite(value) || value == 0.0)
        return d;
    significant = std::clamp(significant, 1, 17);
    d.negative = value < 0;
    // Scientific form with the wanted digits: d.ddddde±x, correctly rounded and locale-free.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, significant - 1);
    const std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            d.digits.push_back(text[i]);
    }
    d.exponent = std::stoi(text.substr(e + 1)) + 1;
    normalize(d);
    return d;
}

DecimalDigits decimalOfScaled(std::int64_t raw, int scale)
{
    DecimalDigits d;
    if (raw == 0)
        return d;
    d.negative = raw < 0;
    // The magnitude as unsigned, so that INT64_MIN converts too.
    std::uint64_t mag = d.negative ? std::uint64_t(0) - std::uint64_t(raw) : std::uint64_t(raw);
    d.digits = std::to_string(mag);
    d.exponent = int(d.digits.size()) - scale;
    normalize(d);
    return d;
}

bool parseDecimal(QStringView text, QChar decimalSeparator, DecimalDigits& out)
{
    out = DecimalDigits();
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].unicode() <= ' ')
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        out.negative = text[i] == u'-';
        ++i;
    }
    std::string digits;
    int pointPos = -1;
    bool any = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits.push_back(char(c.unicode()));
            any = true;
        } else if (c == decimalSeparator && pointPos < 0) {
            pointPos = int(digits.size());
        } else {
            break;
        }
    }
    if (!any)
        return false;
    if (pointPos < 0)
        pointPos = int(digits.size());
    long long exp10 = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNeg = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            expNeg = text[i] == u'-';
            ++i;
        }
        bool expAny = false;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            expAny = true;
            if (exp10 < 100000)
                exp10 = exp10 * 10 + (text[i].unicode() - '0');
        }
        if (!expAny)
            return false;
        if (expNeg)
            exp10 = -exp10;
    }
    while (i < n && text[i].unicode() <= ' ')
        ++i;
    if (i != n)
        return false;
    out.digits = digits;
    out.exponent = int(pointPos + exp10);
    normalize(out);
    return true;
}

void roundDecimals(DecimalDigits& d, int decimals, Rounding mode)
{
    if (d.isZero())
        return;
    roundAt(d, d.exponent + decimals, mode);
}

void roundSignificant(DecimalDigits& d, int count, Rounding mode)
{
    roundAt(d, count, mode);
}

double toDouble(const DecimalDigits& d)
{
    if (d.isZero())
        return d.negative ? -0.0 : 0.0;
    // "0.<digits>e<exponent>" parsed by from_chars gives the correctly rounded double.
    std::string text = "0." + d.digits + "e" + std::to_string(d.exponent);
    double v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range)
        v = d.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return d.negative ? -v : v;
}

bool toScaledInt(const DecimalDigits& d, int scale, std::int64_t& out)
{
    if (d.isZero()) {
        out = 0;
        return true;
    }
    const int intDigits = d.exponent + scale; // digits before the point after scaling
    if (int(d.digits.size()) > intDigits)
        return false;
    if (intDigits > 19)
        return false;
    unsigned __int128 v = 0;
    for (int i = 0; i < intDigits; ++i)
        v = v * 10 + unsigned(i < int(d.digits.size()) ? d.digits[std::size_t(i)] - '0' : 0);
    const unsigned __int128 limit = d.negative ? (unsigned __int128)(1) << 63
                                               : ((unsigned __int128)(1) << 63) - 1;
    if (v > limit)
        return false;
    out = d.negative ? std::int64_t(-(__int128)v) : std::int64_t(v);
    return true;
}

} // namespace qx
