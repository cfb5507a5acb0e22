// The text functions: STRTOINT, STRTONUM, TRIM, STRLEN, STRETCHSTR, CHR, PADLEFT, PADRIGHT,
// PADLEFTZERO and INSERTSTR. Lengths count GBK bytes.
#include "usystem/vcl/report/QryexprArguments.h"
#include "usystem/vcl/report/uQxQryexpr.h"

#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

using namespace qx::qryexpr;

namespace {

// Spaces to add so that text reaches len bytes. A result keeps 255 bytes at most, so more
// padding than that never shows.
qsizetype paddingFor(const QString& text, qint32 len)
{
    const qint64 missing = qint64(len) - qx::gbkLength(text);
    return qsizetype(std::clamp<qint64>(missing, 0, qx::report::kMaxResultBytes));
}

// The text form of a value for PADLEFT and PADRIGHT.
QString padText(const TQREvResult& value)
{
    switch (value.Kind) {
    case resString: return value.strResult;
    case resInt: return IntToStr(value.intResult);
    case resDouble: return FloatToStr(value.dblResult);
    default: return QString();
    }
}

} // namespace

TQREvResult TQREvStrToIntFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String}))
        return failed();
    return guarded([&] { return TQREvResult::Int(StrToInt(Argument(0).strResult)); });
}

TQREvResult TQREvStrToNumFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String}))
        return failed();
    if (Argument(0).strResult.isEmpty())
        return TQREvResult::Double(0);
    return guarded([&] { return TQREvResult::Double(StrToFloat(Argument(0).strResult)); });
}

TQREvResult TQREvTrimFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String}))
        return failed();
    const QString& s = Argument(0).strResult;
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == u' ')
        --end;
    qsizetype begin = 0;
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    return TQREvResult::String(s.mid(begin, end - begin));
}

TQREvResult TQREvStrLenFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String}))
        return failed();
    return TQREvResult::Int(qx::gbkLength(Argument(0).strResult));
}

TQREvResult TQREvStretchStrFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::Integer}))
        return failed();
    // Spaces go after each character (a Chinese character stays whole); beyond 255 of them
    // nothing more would show.
    const qsizetype gap = std::clamp<qint32>(Argument(1).intResult, 0, qx::report::kMaxResultBytes);
    QString out;
    int bytes = 0;
    for (QChar c : Argument(0).strResult) {
        if (bytes > qx::report::kMaxResultBytes)
            break;
        out += c;
        out += QString(gap, u' ');
        bytes += qx::gbkLength(QString(c)) + int(gap);
    }
    qsizetype end = out.size();
    while (end > 0 && out.at(end - 1) == u' ')
        --end;
    out.truncate(end);
    return TQREvResult::String(out);
}

TQREvResult TQREvChrFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Integer}))
        return failed();
    const char byte = char(Argument(0).intResult & 0xFF);
    if (static_cast<unsigned char>(byte) < 0x80)
        return TQREvResult::String(QString(QChar(char16_t(static_cast<unsigned char>(byte)))));
    return TQREvResult::String(qx::fromGbk(QByteArray(1, byte)));
}

TQREvResult TQREvPadLeftFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Any, Wants::Integer}))
        return failed();
    const QString s = padText(Argument(0));
    return TQREvResult::String(QString(paddingFor(s, Argument(1).intResult), u' ') + s);
}

TQREvResult TQREvPadRightFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::Any, Wants::Integer}))
        return failed();
    const QString s = padText(Argument(0));
    return TQREvResult::String(s + QString(paddingFor(s, Argument(1).intResult), u' '));
}

TQREvResult TQREvPadLeftZeroFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::StringOrInteger, Wants::Integer}))
        return failed();
    const QString s = padText(Argument(0));
    return TQREvResult::String(QString(paddingFor(s, Argument(1).intResult), u'0') + s);
}

TQREvResult TQREvInsertStrFunction::Calculate()
{
    if (!argumentsAre(*this, {Wants::String, Wants::String}))
        return failed();
    QString out = Argument(0).strResult;
    return TQREvResult::String(out.replace(QStringLiteral("%s"), Argument(1).strResult));
}
