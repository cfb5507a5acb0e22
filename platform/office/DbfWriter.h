// A dBASE III+ table written with shapelib's DBF functions: character, numeric, logical and
// date fields, texts in GBK with the language-driver byte 0x4D (code page 936) in the header,
// and the header's date of last update from the system's clock.
//
// The table is built in memory and written by saveToFile through the exports' save routine,
// so a failed export never leaves a half-written table in place of an old one.
//
// Nothing is cut or rounded here without the caller asking: a value whose written form does
// not fit its field raises EDatabaseError naming the field and the value.
#pragma once

#include "platform/rtl/Currency.h"

#include <QDate>
#include <QString>

#include <memory>

namespace qx {

enum class DbfFieldType { Character, Numeric, Logical, Date };

class DbfWriter
{
public:
    // The widest field and the longest name the format allows.
    static constexpr int MaxCharacterWidth = 254;
    static constexpr int MaxNumericWidth = 20;
    static constexpr int MaxNameBytes = 10;

    DbfWriter();
    ~DbfWriter();
    DbfWriter(const DbfWriter&) = delete;
    DbfWriter& operator=(const DbfWriter&) = delete;

    // Adds a field (before the first record) and returns its number. The name is cut to 10
    // GBK bytes on a character boundary and, when an earlier field already has it (letter case
    // aside), its end gives way to the smallest number that makes it unique ("客户名称1").
    // Widths: character 1..254, numeric 1..20 with decimals below the width; logical and date
    // fields take their fixed widths (1 and 8). Raises EDatabaseError for a width out of range
    // and when the record would grow past the format's limit.
    int addField(const QString& name, DbfFieldType type, int width = 0, int decimals = 0);
    int fieldCount() const;
    // The name as written into the table.
    QString fieldName(int field) const;

    // Starts the next record with every field blank.
    void appendRecord();
    int recordCount() const;

    // Values of the current record. A blank (null) value is spaces, '?' for a logical field.
    void setNull(int field);
    // A character field; raises when the GBK form is longer than the field.
    void setText(int field, const QString& text);
    // A numeric field, written with the field's decimals; raises when it does not fit.
    void setInteger(int field, qint64 value);
    // Exact: rounded (halves to even) only when the field has fewer than four decimals.
    void setCurrency(int field, Currency value);
    // Rounded to the field's decimals; a value that is not finite raises.
    void setFloat(int field, double value);
    void setLogical(int field, bool value);
    // Written as YYYYMMDD; an invalid date is blank.
    void setDate(int field, const QDate& value);

    // Finishes the table and writes it to fileName (as named: no extension is added).
    void saveToFile(const QString& fileName);

private:
    struct Impl;
    void checkField(int field) const;
    void checkRecord() const;
    void writeRaw(int field, const QByteArray& bytes);
    void writeNumber(int field, const QByteArray& digits);
    [[noreturn]] void fail(const QString& message) const;

    std::unique_ptr<Impl> d;
};

} // namespace qx
