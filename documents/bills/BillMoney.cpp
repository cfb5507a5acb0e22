#include "documents/bills/BillMoney.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"

namespace qx::documents {

namespace {

// n / d rounded to the nearest integer, halves to even (d > 0).
__int128 billDivideHalfEven(__int128 n, __int128 d)
{
    __int128 q = n / d;
    __int128 r = n % d;
    if (r < 0) {
        r = -r;
        const __int128 twice = 2 * r;
        if (twice > d || (twice == d && (q & 1) != 0))
            --q;
    } else {
        const __int128 twice = 2 * r;
        if (twice > d || (twice == d && (q & 1) != 0))
            ++q;
    }
    return q;
}

} // namespace

Currency moneyOf(const TField* field)
{
    if (!field || field->IsNull())
        return Currency();
    return field->AsCurrency();
}

Currency discounted(Currency amount, double tenths)
{
    const Currency rate = Currency::fromDouble(tenths);
    if (rate.raw() == 0)
        return amount;
    // Both values are in ten-thousandths: the product carries eight decimals, and the
    // division by 10 for the tenths and by 10000 for the scale leaves four.
    const __int128 product = __int128(amount.raw()) * __int128(rate.raw());
    const __int128 result = billDivideHalfEven(product, __int128(10) * 10000);
    if (result > INT64_MAX || result < INT64_MIN)
        throw ERangeError(QStringLiteral("Floating point overflow"));
    return Currency::fromRaw(std::int64_t(result));
}

Currency lineAmount(qint64 quantity, Currency price)
{
    return price * std::int64_t(quantity);
}

} // namespace qx::documents
