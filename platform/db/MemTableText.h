// The comma-text form of a memory table (SaveToFile / LoadFromFile):
//
//   - Encoding: UTF-8 with a byte-order mark (TCsvEncoding::Utf8, the default) or GBK without
//     one (TCsvEncoding::Gbk). Loading takes a file with the mark as UTF-8; without it the
//     bytes are read as UTF-8 when they are valid UTF-8, else as GBK.
//   - With mtfSaveDef the file starts with the structure:
//         @QXMEMTABLE,1
//         @FIELD,"itemcode",String,18,0        name, type name, size, required (0/1)
//         ...
//         @DATA
//     Without it the file holds rows only, and loading maps values to the table's data
//     fields in their order.
//   - One record per line (CR LF), values separated by the table's CsvSeparator (',' by
//     default), in field order. A null value is empty and unquoted. Text, memos, dates and
//     blobs are quoted with '"' (a quote inside is doubled; separators and line breaks may
//     stand inside quotes). Numbers use '.', money its exact decimals, Booleans True/False,
//     dates yyyy-MM-dd, times HH:mm:ss[.zzz], date-times both; blobs are base64.
//
// A damaged file (an unterminated quote, a wrong number of values, a value the field cannot
// hold, an unknown field type) raises EDatabaseError naming the line; the table is left as it
// was. A value is never cut or bent to fit: text longer than its field, a number outside its
// field's range and a date that is no date are all errors.
#pragma once

#include "platform/db/QxMemTable.h"

class QIODevice;

namespace qx {

class MemTableText
{
public:
    static void save(const TQxCustomMemTable& table, QIODevice& stream, TMemTableSaveFlags flags);
    static void load(TQxCustomMemTable& table, QIODevice& stream);
};

} // namespace qx
