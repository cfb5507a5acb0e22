#include "platform/stream/ImageReader.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "platform/stream/ImageWriter.h"

#include <QIODevice>

#include <cstring>

namespace qx {

namespace {
// Reads of unknown-sized inputs grow by at most this much at a time, so a bogus length in a
// tiny image never reserves more than this.
constexpr qint64 ReadChunk = 64 * 1024;
} // namespace

ImageReader::ImageReader(QIODevice& device)
    : m_device(device)
{}

void ImageReader::fail(const QString& message) { throw EReadError(message); }

void ImageReader::failInvalid() { fail(QStringLiteral("Invalid stream format")); }

void ImageReader::enter()
{
    if (++m_depth > MaxDepth) {
        --m_depth;
        fail(QStringLiteral("Invalid stream format: nesting too deep"));
    }
}

quint8 ImageReader::readByte()
{
    char c;
    if (!m_device.getChar(&c))
        fail(QStringLiteral("Stream read error"));
    return quint8(c);
}

quint8 ImageReader::peekByte()
{
    char c;
    if (m_device.peek(&c, 1) != 1)
        fail(QStringLiteral("Stream read error"));
    return quint8(c);
}

TValueType ImageReader::readValueType()
{
    const quint8 b = readByte();
    if (b > vaDouble)
        failInvalid();
    return TValueType(b);
}

void ImageReader::readListEnd()
{
    if (readByte() != vaNull)
        failInvalid();
}

void ImageReader::readSignature()
{
    if (readBytes(4) != "TPF0")
        failInvalid();
}

QByteArray ImageReader::readBytes(qint64 n)
{
    if (n < 0)
        failInvalid();
    QByteArray out;
    if (n == 0)
        return out;
    if (!m_device.isSequential()) {
        // Random-access inputs know their size: refuse a length beyond it before allocating.
        if (n > m_device.size() - m_device.pos())
            fail(QStringLiteral("Stream read error"));
        out.resize(n);
        if (m_device.read(out.data(), n) != n)
            fail(QStringLiteral("Stream read error"));
        return out;
    }
    while (out.size() < n) {
        const qint64 want = std::min<qint64>(ReadChunk, n - out.size());
        const qint64 had = out.size();
        out.resize(had + want);
        const qint64 got = m_device.read(out.data() + had, want);
        if (got <= 0)
            fail(QStringLiteral("Stream read error"));
        out.resize(had + got);
    }
    return out;
}

quint64 ImageReader::readLE(int bytes)
{
    const QByteArray raw = readBytes(bytes);
    quint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(raw[i]);
    return v;
}

qint64 ImageReader::readLength()
{
    const qint64 n = qint32(readLE(4));
    if (n < 0)
        failInvalid();
    return n;
}

QByteArray ImageReader::readShortBytes()
{
    const quint8 n = readByte();
    return readBytes(n);
}

QString ImageReader::readName() { return fromGbk(readShortBytes()); }

qint64 ImageReader::readIntegerBody(TValueType type)
{
    switch (type) {
    case vaInt8: return qint8(readLE(1));
    case vaInt16: return qint16(readLE(2));
    case vaInt32: return qint32(readLE(4));
    case vaInt64: return qint64(readLE(8));
    default: fail(QStringLiteral("Invalid property value"));
    }
}

qint64 ImageReader::readInteger() { return readIntegerBody(readValueType()); }

double ImageReader::readFloatBody(TValueType type)
{
    switch (type) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: return double(readIntegerBody(type));
    case vaExtended: {
        const QByteArray raw = readBytes(10);
        return extendedToDouble(raw.constData());
    }
    case vaSingle: {
        const quint32 bits = quint32(readLE(4));
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    case vaDate:
    case vaDouble: {
        const quint64 bits = readLE(8);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    case vaCurrency: return double(qint64(readLE(8))) / 10000.0;
    default: fail(QStringLiteral("Invalid property value"));
    }
}

double ImageReader::readFloat() { return readFloatBody(readValueType()); }

QString ImageReader::readStringBody(TValueType type)
{
    switch (type) {
    case vaString: return fromGbk(readShortBytes());
    case vaLString: return fromGbk(readBytes(readLength()));
    case vaUTF8String: return QString::fromUtf8(readBytes(readLength()));
    case vaWString: {
        const qint64 units = readLength();
        if (units > (qint64(1) << 30))
            failInvalid();
        const QByteArray raw = readBytes(units * 2);
        QString s(qsizetype(units), Qt::Uninitialized);
        for (qint64 i = 0; i < units; ++i)
            s[qsizetype(i)] = QChar(char16_t(quint8(raw[2 * i]) | (quint8(raw[2 * i + 1]) << 8)));
        return s;
    }
    default: fail(QStringLiteral("Invalid property value"));
    }
}

QString ImageReader::readString() { return readStringBody(readValueType()); }

QByteArray ImageReader::readIdent()
{
    switch (readValueType()) {
    case vaIdent: return readShortBytes();
    case vaFalse: return QByteArrayLiteral("False");
    case vaTrue: return QByteArrayLiteral("True");
    case vaNil: return QByteArrayLiteral("nil");
    case vaNull: return QByteArrayLiteral("Null");
    default: fail(QStringLiteral("Invalid property value"));
    }
}

QList<QByteArray> ImageReader::readSet()
{
    if (readValueType() != vaSet)
        fail(QStringLiteral("Invalid property value"));
    QList<QByteArray> members;
    for (;;) {
        QByteArray m = readShortBytes();
        if (m.isEmpty())
            return members;
        members.append(m);
    }
}

QByteArray ImageReader::readBinary()
{
    if (readValueType() != vaBinary)
        fail(QStringLiteral("Invalid property value"));
    return readBytes(readLength());
}

QStringList ImageReader::readStringList()
{
    if (readValueType() != vaList)
        fail(QStringLiteral("Invalid property value"));
    QStringList items;
    while (!endOfList())
        items.append(readString());
    readListEnd();
    return items;
}

void ImageReader::skipProperties()
{
    ReaderDepth depth(*this);
    while (!endOfList()) {
        readShortBytes();
        skipValue();
    }
    readListEnd();
}

void ImageReader::skipValue()
{
    ReaderDepth depth(*this);
    const TValueType type = readValueType();
    switch (type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
        while (!endOfList())
            skipValue();
        readListEnd();
        return;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: readIntegerBody(type); return;
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate:
    case vaDouble: readFloatBody(type); return;
    case vaString:
    case vaIdent: readShortBytes(); return;
    case vaLString:
    case vaBinary:
    case vaUTF8String: readBytes(readLength()); return;
    case vaWString: {
        const qint64 units = readLength();
        if (units > (qint64(1) << 30))
            failInvalid();
        readBytes(units * 2);
        return;
    }
    case vaSet:
        while (!readShortBytes().isEmpty()) {
        }
        return;
    case vaCollection:
        while (!endOfList()) {
            // An item may carry its order as an integer before its list.
            TValueType t = peekValueType();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64)
                readInteger();
            if (readValueType() != vaList)
                failInvalid();
            skipProperties();
        }
        readListEnd();
        return;
    }
    failInvalid();
}

} // namespace qx
