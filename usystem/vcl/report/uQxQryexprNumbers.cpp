// The money and number functions: RMBDX, RMB, CURRENCY, ABS and ROUND.
#include "usystem/vcl/report/QryexprArguments.h"
#include "usystem/vcl/report/uQxQryexpr.h"
#include "usystem/vcl/report/uQxRmbCapitals.h"

#include "platform/rtl/SysUtils.h"

#include <cstdlib>

using namespace qx::qryexpr;

TQREvResult TQREvRmbDxFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Numeric}))
        return failed();
    // FormatRmbCapitals never raises: an amount it cannot lay out is an empty text.
    return TQREvResult::String(FormatRmbCapitals(Argument(0).AsDouble()));
}

TQREvResult TQREvYuanFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Numeric}))
        return failed();
    try {
        return TQREvResult::String(FormatFloat(QStringLiteral("￥#,##0.00;￥-#,##0.00"), Argument(0).AsDouble()));
    } catch (const Exception&) {
        return TQREvResult::Error(QStringLiteral("数据类型必须为整数或浮点数"));
    }
}

TQREvResult TQREvCurrencyFunction::Calculate()
{
    return TQREvResult::String(FormatSettings().CurrencyString);
}

TQREvResult TQREvAbsFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Numeric}))
        return failed();
    const TQREvResult& x = Argument(0);
    if (x.Kind == resInt)
        return TQREvResult::Number(std::llabs(qint64(x.intResult))); // -2^31 becomes a float
    return TQREvResult::Double(std::fabs(x.dblResult));
}

TQREvResult TQREvRoundFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Float, Wants::Integer}))
        return failed();
    const double x = Argument(0).dblResult;
    const qint64 digits = std::llabs(qint64(Argument(1).intResult));
    // 10^18 is the largest power of ten a 64-bit integer holds.
    if (digits > 18)
        return failed();
    qint64 p = 1;
    for (qint64 i = 0; i < digits; ++i)
        p *= 10;
    return guarded([&] {
        if (Argument(1).intResult >= 0)
            return TQREvResult::Double(double(Round(x * double(p))) / double(p));
        qint64 product = 0;
        if (__builtin_mul_overflow(Round(x / double(p)), p, &product))
            return failed();
        return TQREvResult::Double(double(product));
    });
}
