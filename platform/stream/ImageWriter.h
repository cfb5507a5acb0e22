// Low-level writer of the binary component image: typed values in the stored encoding.
// Integers are little-endian. Every write is checked; a device that refuses bytes raises
// EWriteError, so a half-written image never passes for a good one.
#pragma once

#include "platform/stream/ValueType.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace qx {

class ImageWriter
{
public:
    explicit ImageWriter(QIODevice& device);

    QIODevice& device() const { return m_device; }

    void writeSignature();                       // "TPF0"
    void writeValueType(TValueType type);
    void writeListBegin() { writeValueType(vaList); }
    void writeListEnd() { writeValueType(vaNull); }

    // The smallest of vaInt8, vaInt16, vaInt32 or vaInt64 that holds the value.
    void writeInteger(qint64 value);
    void writeBoolean(bool value);
    // vaExtended: the double widened to the 10-byte extended format.
    void writeFloat(double value);
    // vaString for ASCII text of at most 255 bytes, vaLString for longer ASCII text, vaWString
    // for text with any character at or above 128 (which the code page could not round-trip
    // on every machine).
    void writeString(const QString& text);
    void writeIdent(const QByteArray& ident);    // vaIdent
    void writeSet(const QList<QByteArray>& members);
    void writeBinary(const QByteArray& data);    // vaBinary
    void writeStringList(const QStringList& items); // vaList of strings, vaNull
    void writeNil() { writeValueType(vaNil); }

    // A length byte and the bytes (class, component and property names). Names longer than
    // 255 bytes cannot be stored and raise EWriteError.
    void writeShortBytes(const QByteArray& bytes);
    void writeName(const QString& name);         // in the code page (GBK)

    void writeRaw(const char* data, qint64 size);
    void writeRaw(const QByteArray& bytes) { writeRaw(bytes.constData(), bytes.size()); }
    void writeByte(quint8 b) { writeRaw(reinterpret_cast<const char*>(&b), 1); }

private:
    void writeLE(quint64 value, int bytes);

    QIODevice& m_device;
};

// The 10-byte x87 extended format, little-endian, and back. Exposed for the reader and tests.
QByteArray doubleToExtended(double value);
double extendedToDouble(const char* tenBytes);

} // namespace qx
