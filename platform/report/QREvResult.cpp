#include "platform/report/QREvResult.h"

#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"

#include <limits>

namespace qx::report {

QString cutToGbkBytes(const QString& text, int maxBytes)
{
    // Every character takes at most two GBK bytes (a character GBK lacks is written as one
    // '?', a surrogate pair as one), so a short text needs no counting.
    if (text.size() * 2 <= maxBytes)
        return text;
    if (gbkLength(text) <= maxBytes)
        return text;
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        qsizetype step = 1;
        int width = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            step = 2;
        else if (c.unicode() >= 0x80)
            width = int(toGbk(QString(c)).size());
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        i += step;
    }
    return text.left(i);
}

} // namespace qx::report

TQREvResult TQREvResult::Int(qint32 value)
{
    TQREvResult r;
    r.Kind = resInt;
    r.intResult = value;
    return r;
}

TQREvResult TQREvResult::Double(double value)
{
    TQREvResult r;
    r.Kind = resDouble;
    r.dblResult = value;
    return r;
}

TQREvResult TQREvResult::Number(qint64 value)
{
    if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return Int(qint32(value));
    return Double(double(value));
}

TQREvResult TQREvResult::String(const QString& value)
{
    TQREvResult r;
    r.Kind = resString;
    r.strResult = qx::report::cutToGbkBytes(value, qx::report::kMaxResultBytes);
    return r;
}

TQREvResult TQREvResult::Bool(bool value)
{
    TQREvResult r;
    r.Kind = resBool;
    r.booResult = value;
    return r;
}

TQREvResult TQREvResult::Error(const QString& message)
{
    TQREvResult r;
    r.Kind = resError;
    r.strResult = message;
    return r;
}

double TQREvResult::AsDouble() const
{
    if (Kind == resInt)
        return intResult;
    if (Kind == resDouble)
        return dblResult;
    return 0;
}

QString TQREvResult::AsText() const
{
    switch (Kind) {
    case resInt:
        return IntToStr(intResult);
    case resDouble:
        return FloatToStr(dblResult);
    case resBool:
        return booResult ? QStringLiteral("True") : QStringLiteral("False");
    case resString:
    case resError:
        break;
    }
    return strResult;
}

bool TQREvResult::SameValue(const TQREvResult& other) const
{
    if (IsNumeric() && other.IsNumeric())
        return AsDouble() == other.AsDouble();
    if (Kind != other.Kind)
        return false;
    switch (Kind) {
    case resBool:
        return booResult == other.booResult;
    case resString:
    case resError:
        return strResult == other.strResult;
    default:
        return true;
    }
}
