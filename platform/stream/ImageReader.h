// Low-level reader of the binary component image. Images come from users (layout files,
// exported query files, blobs), so every length is checked against what the input really
// holds before anything is allocated, nesting is bounded, and every failure is an EReadError:
// a damaged image never crashes, hangs or eats memory.
#pragma once

#include "platform/stream/ValueType.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

class QIODevice;

namespace qx {

class ImageReader
{
public:
    // Deeper nesting of components, collections, sub-objects and lists than this is refused.
    static constexpr int MaxDepth = 64;

    explicit ImageReader(QIODevice& device);

    QIODevice& device() const { return m_device; }

    quint8 readByte();
    quint8 peekByte();
    TValueType readValueType();
    TValueType peekValueType() { return TValueType(peekByte()); }
    // True when the next byte is the end-of-list marker (not consumed).
    bool endOfList() { return peekByte() == vaNull; }
    void readListEnd();
    // Expects "TPF0".
    void readSignature();
    // Exactly n bytes; fails when the input ends first, allocating no more than it has read.
    QByteArray readBytes(qint64 n);
    // A length byte and the bytes.
    QByteArray readShortBytes();
    QString readName(); // a short byte string in the code page (GBK)

    // Typed values. Each reads the value type byte itself and raises EReadError when the value
    // is of another kind.
    qint64 readInteger();      // vaInt8..vaInt64
    double readFloat();        // any integer or float kind
    QString readString();      // vaString, vaLString, vaWString, vaUTF8String
    QByteArray readIdent();    // vaIdent (also vaFalse, vaTrue, vaNil, vaNull as their names)
    QList<QByteArray> readSet();
    QByteArray readBinary();
    QStringList readStringList(); // vaList of strings, vaNull

    // The value after its type byte (already read), as a QVariant: integers as qint64, floats
    // as double, strings as QString, identifiers and set members as QByteArray, booleans.
    // Lists, collections and binary data are not expected here.
    qint64 readIntegerBody(TValueType type);
    double readFloatBody(TValueType type);
    QString readStringBody(TValueType type);

    // Skips one value of any kind, nested lists and collections included.
    void skipValue();
    // Skips a property list: names and values up to vaNull.
    void skipProperties();

    // Nesting guard: enter() raises EReadError beyond MaxDepth.
    void enter();
    void leave() { --m_depth; }

    [[noreturn]] static void fail(const QString& message);
    [[noreturn]] static void failInvalid(); // "Invalid stream format"

private:
    quint64 readLE(int bytes);
    qint64 readLength(); // 4-byte length, checked against the input

    QIODevice& m_device;
    int m_depth = 0;
};

class ReaderDepth
{
public:
    explicit ReaderDepth(ImageReader& reader) : m_reader(reader) { m_reader.enter(); }
    ~ReaderDepth() { m_reader.leave(); }
    ReaderDepth(const ReaderDepth&) = delete;
    ReaderDepth& operator=(const ReaderDepth&) = delete;

private:
    ImageReader& m_reader;
};

} // namespace qx
