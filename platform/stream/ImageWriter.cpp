#include "platform/stream/ImageWriter.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"

#include <QIODevice>

#include <cmath>
#include <cstring>
#include <limits>

namespace qx {

namespace {

bool isPlainAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 128)
            return false;
    return true;
}

} // namespace

ImageWriter::ImageWriter(QIODevice& device)
    : m_device(device)
{}

void ImageWriter::writeRaw(const char* data, qint64 size)
{
    if (size <= 0)
        return;
    if (m_device.write(data, size) != size)
        throw EWriteError(QStringLiteral("Stream write error"));
}

void ImageWriter::writeLE(quint64 value, int bytes)
{
    char buf[8];
    for (int i = 0; i < bytes; ++i)
        buf[i] = char((value >> (8 * i)) & 0xFF);
    writeRaw(buf, bytes);
}

void ImageWriter::writeSignature() { writeRaw("TPF0", 4); }

void ImageWriter::writeValueType(TValueType type) { writeByte(type); }

void ImageWriter::writeInteger(qint64 value)
{
    if (value >= std::numeric_limits<qint8>::min() && value <= std::numeric_limits<qint8>::max()) {
        writeValueType(vaInt8);
        writeLE(quint64(value), 1);
    } else if (value >= std::numeric_limits<qint16>::min()
               && value <= std::numeric_limits<qint16>::max()) {
        writeValueType(vaInt16);
        writeLE(quint64(value), 2);
    } else if (value >= std::numeric_limits<qint32>::min()
               && value <= std::numeric_limits<qint32>::max()) {
        writeValueType(vaInt32);
        writeLE(quint64(value), 4);
    } else {
        writeValueType(vaInt64);
        writeLE(quint64(value), 8);
    }
}

void ImageWriter::writeBoolean(bool value) { writeValueType(value ? vaTrue : vaFalse); }

void ImageWriter::writeFloat(double value)
{
    writeValueType(vaExtended);
    writeRaw(doubleToExtended(value));
}

void ImageWriter::writeString(const QString& text)
{
    if (isPlainAscii(text)) {
        const QByteArray bytes = text.toLatin1();
        if (bytes.size() <= 255) {
            writeValueType(vaString);
            writeShortBytes(bytes);
        } else {
            writeValueType(vaLString);
            writeLE(quint64(bytes.size()), 4);
            writeRaw(bytes);
        }
        return;
    }
    writeValueType(vaWString);
    writeLE(quint64(text.size()), 4);
    for (QChar c : text)
        writeLE(c.unicode(), 2);
}

void ImageWriter::writeIdent(const QByteArray& ident)
{
    writeValueType(vaIdent);
    writeShortBytes(ident);
}

void ImageWriter::writeSet(const QList<QByteArray>& members)
{
    writeValueType(vaSet);
    for (const QByteArray& m : members)
        writeShortBytes(m);
    writeByte(0);
}

void ImageWriter::writeBinary(const QByteArray& data)
{
    writeValueType(vaBinary);
    writeLE(quint64(data.size()), 4);
    writeRaw(data);
}

void ImageWriter::writeStringList(const QStringList& items)
{
    writeListBegin();
    for (const QString& s : items)
        writeString(s);
    writeListEnd();
}

void ImageWriter::writeShortBytes(const QByteArray& bytes)
{
    if (bytes.size() > 255)
        throw EWriteError(QStringLiteral("Name too long: %1").arg(QString::fromLatin1(bytes.left(40))));
    writeByte(quint8(bytes.size()));
    writeRaw(bytes);
}

void ImageWriter::writeName(const QString& name) { writeShortBytes(toGbk(name)); }

QByteArray doubleToExtended(double value)
{
    QByteArray out(10, '\0');
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    quint64 mantissa = 0;
    unsigned exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0.0) {
        int e = 0;
        const double m = std::frexp(std::fabs(value), &e); // value = m * 2^e, m in [0.5, 1)
        mantissa = static_cast<quint64>(std::ldexp(m, 64));  // explicit integer bit on top
        exponent = unsigned(e - 1 + 16383);
    }
    for (int i = 0; i < 8; ++i)
        p[i] = (mantissa >> (8 * i)) & 0xFF;
    const unsigned se = exponent | (negative ? 0x8000u : 0u);
    p[8] = se & 0xFF;
    p[9] = (se >> 8) & 0xFF;
    return out;
}

double extendedToDouble(const char* tenBytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(tenBytes);
    quint64 mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | p[i];
    const unsigned se = unsigned(p[8]) | (unsigned(p[9]) << 8);
    const bool negative = (se & 0x8000u) != 0;
    const int exponent = int(se & 0x7FFFu);
    double v;
    if (exponent == 0x7FFF)
        v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::quiet_NaN();
    else if (mantissa == 0)
        v = 0.0;
    else
        v = std::ldexp(double(mantissa), exponent - 16383 - 63);
    return negative ? -v : v;
}

} // namespace qx
