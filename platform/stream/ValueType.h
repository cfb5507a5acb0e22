// The value types of the binary component image ("TPF0" images): one byte before every value
// tells how the value is stored. The numbers are those of the stored images and never change,
// since images written by earlier versions must stay readable.
#pragma once

#include <QtGlobal>

namespace qx {

enum TValueType : quint8 {
    vaNull = 0,        // end of a list (properties, children, collection, string list)
    vaList = 1,        // a list of values up to vaNull (string lists, collection items)
    vaInt8 = 2,        // signed integer of 1 byte
    vaInt16 = 3,       // ... 2 bytes
    vaInt32 = 4,       // ... 4 bytes
    vaExtended = 5,    // 10-byte x87 extended float
    vaString = 6,      // length byte, then the bytes in the code page (GBK)
    vaIdent = 7,       // length byte, then an identifier: enumeration, named integer, reference
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,     // 4-byte length, then the bytes
    vaSet = 11,        // identifiers up to an empty one
    vaLString = 12,    // 4-byte length, then the bytes in the code page
    vaNil = 13,        // an empty reference
    vaCollection = 14, // collection items (each vaList, properties, vaNull) up to vaNull
    vaSingle = 15,     // 4-byte float
    vaCurrency = 16,   // 8-byte integer of ten-thousandths
    vaDate = 17,       // 8-byte double, days since 1899-12-30
    vaWString = 18,    // 4-byte count of UTF-16 units, then UTF-16 little-endian
    vaInt64 = 19,      // signed integer of 8 bytes
    vaUTF8String = 20, // 4-byte length, then UTF-8 bytes
    vaDouble = 21,     // 8-byte double
};

} // namespace qx
