// The binary form of a memory table (SaveToBinaryStream / LoadFromBinaryStream), written
// with QDataStream (Qt 6.4 format, big-endian):
//
//   "QXMT"  quint32 version (1)  quint32 field count
//   per field:  QString name, quint8 field type, qint32 size, quint8 required
//   quint64 row count
//   per row, per field:  quint8 0 (null) or 1 followed by the value: qint32 (integers,
//   Booleans as quint8), qint64 (large integers; money and BCD as ten-thousandths), double
//   (floats; dates as TDateTime days), QByteArray (text as UTF-8, blobs as bytes)
//
// A damaged or truncated stream raises EReadError saying what was wrong; the table is left as
// it was. So does a value its field cannot hold as it stands (a text longer than the field, a
// number outside its range, a date outside the years 1 to 9999, a Boolean other than 0 or 1),
// naming the row and the field: nothing is read in cut.
#pragma once

#include "platform/db/QxMemTable.h"

class QIODevice;

namespace qx {

class MemTableBinary
{
public:
    static void save(const TQxCustomMemTable& table, QIODevice& stream);
    static void load(TQxCustomMemTable& table, QIODevice& stream);
};

} // namespace qx
