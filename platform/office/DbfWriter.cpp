#include "platform/office/DbfWriter.h"

#include "platform/db/DB.h"
#include "platform/office/DbfMemoryFiles.h"
#include "platform/office/SaveFile.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Gbk.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace qx {

namespace {

// Shapelib names the table file itself (it puts ".dbf" on whatever it is given); this is
// the table's name inside the memory folder.
const char* const kMemoryName = "/memory/table.dbf";
// Language driver of code page 936 (simplified Chinese GBK), byte 29 of the header.
const char* const kCodePage = "LDID/77";

// ASCII letters compare without case; GBK's double-byte characters compare as they are.
bool sameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = char(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// "-0.00" and the like are written without their sign.
QByteArray withoutNegativeZero(QByteArray digits)
{
    if (digits.startsWith('-')) {
        bool allZero = true;
        for (qsizetype i = 1; i < digits.size(); ++i)
            if (digits[i] != '0' && digits[i] != '.')
                allZero = false;
        if (allZero)
            digits.remove(0, 1);
    }
    return digits;
}

} // namespace

struct DbfWriter::Impl
{
    struct FieldInfo
    {
        QByteArray name; // GBK, as written
        DbfFieldType type;
        int width;
        int decimals;
    };

    dbf::MemoryFiles files;
    DBFHandle handle = nullptr;
    std::vector<FieldInfo> fields;
    int record = -1;

    ~Impl()
    {
        if (handle)
            DBFClose(handle);
    }
};

DbfWriter::DbfWriter() : d(std::make_unique<Impl>())
{
    dbf::MemoryFiles::clearLastError();
    dbf::MemoryFiles::OpenScope scope(d->files);
    d->handle = DBFCreateLL(kMemoryName, kCodePage, d->files.hooks());
    if (!d->handle)
        fail(QStringLiteral("Cannot create the dBASE table. %1").arg(dbf::MemoryFiles::lastError()));
}

DbfWriter::~DbfWriter() = default;

void DbfWriter::fail(const QString& message) const
{
    DatabaseError(message);
}

int DbfWriter::addField(const QString& name, DbfFieldType type, int width, int decimals)
{
    if (!d->handle)
        fail(QStringLiteral("The dBASE table has already been written"));
    if (d->record >= 0)
        fail(QStringLiteral("Field '%1' cannot be added after the first record").arg(name));
    if (name.isEmpty())
        fail(QStringLiteral("Field name missing"));
    DBFFieldType shapeType = FTString;
    switch (type) {
    case DbfFieldType::Character:
        if (width < 1 || width > MaxCharacterWidth || decimals != 0)
            fail(QStringLiteral("Invalid width %1 of character field '%2'").arg(width).arg(name));
        break;
    case DbfFieldType::Numeric:
        if (width < 1 || width > MaxNumericWidth || decimals < 0 || (decimals > 0 && decimals + 2 > width))
            fail(QStringLiteral("Invalid width %1.%2 of numeric field '%3'").arg(width).arg(decimals).arg(name));
        shapeType = decimals > 0 ? FTDouble : FTInteger;
        break;
    case DbfFieldType::Logical:
        width = 1;
        decimals = 0;
        shapeType = FTLogical;
        break;
    case DbfFieldType::Date:
        width = 8;
        decimals = 0;
        shapeType = FTDate;
        break;
    }

    const QByteArray full = toGbk(name);
    QByteArray written = gbkLeftBytes(full, MaxNameBytes);
    auto taken = [this](const QByteArray& candidate) {
        for (const Impl::FieldInfo& f : d->fields)
            if (sameName(f.name, candidate))
                return true;
        return false;
    };
    for (int n = 1; taken(written); ++n) {
        const QByteArray suffix = QByteArray::number(n);
        written = gbkLeftBytes(full, MaxNameBytes - int(suffix.size())) + suffix;
    }

    dbf::MemoryFiles::clearLastError();
    const int index = DBFAddField(d->handle, written.constData(), shapeType, width, decimals);
    if (index < 0)
        fail(QStringLiteral("Cannot add field '%1' to the dBASE table. %2").arg(name, dbf::MemoryFiles::lastError()));
    d->fields.push_back({written, type, width, decimals});
    return index;
}

int DbfWriter::fieldCount() const
{
    return int(d->fields.size());
}

QString DbfWriter::fieldName(int field) const
{
    checkField(field);
    return fromGbk(d->fields[std::size_t(field)].name);
}

void DbfWriter::appendRecord()
{
    if (!d->handle)
        fail(QStringLiteral("The dBASE table has already been written"));
    if (d->fields.empty())
        fail(QStringLiteral("A dBASE table needs at least one field"));
    d->record = DBFGetRecordCount(d->handle);
    for (int i = 0; i < fieldCount(); ++i)
        setNull(i);
}

int DbfWriter::recordCount() const
{
    return d->handle ? DBFGetRecordCount(d->handle) : d->record + 1;
}

void DbfWriter::checkField(int field) const
{
    if (field < 0 || field >= fieldCount())
        fail(QStringLiteral("List index out of bounds (%1)").arg(field));
}

void DbfWriter::checkRecord() const
{
    if (!d->handle)
        fail(QStringLiteral("The dBASE table has already been written"));
    if (d->record < 0)
        fail(QStringLiteral("No current record"));
}

void DbfWriter::writeRaw(int field, const QByteArray& bytes)
{
    checkRecord();
    // Shapelib copies up to the first NUL byte; every caller hands exactly the field's width.
    dbf::MemoryFiles::clearLastError();
    if (!DBFWriteAttributeDirectly(d->handle, d->record, field, const_cast<char*>(bytes.constData())))
        fail(QStringLiteral("Cannot write field '%1' of the dBASE table. %2")
                 .arg(fieldName(field), dbf::MemoryFiles::lastError()));
    if (d->files.failed())
        fail(QStringLiteral("Out of memory while writing the dBASE table"));
}

void DbfWriter::setNull(int field)
{
    checkField(field);
    const Impl::FieldInfo& f = d->fields[std::size_t(field)];
    writeRaw(field, QByteArray(f.width, f.type == DbfFieldType::Logical ? '?' : ' '));
}

void DbfWriter::setText(int field, const QString& text)
{
    checkField(field);
    const Impl::FieldInfo& f = d->fields[std::size_t(field)];
    if (f.type != DbfFieldType::Character)
        fail(QStringLiteral("Field '%1' is not a character field").arg(fieldName(field)));
    QByteArray bytes = toGbk(text);
    if (bytes.contains('\0'))
        fail(QStringLiteral("Field '%1' cannot hold a text with a NUL character").arg(fieldName(field)));
    if (bytes.size() > f.width)
        fail(QStringLiteral("Field '%1' cannot hold the text '%2' (%3 bytes, the field holds %4)")
                 .arg(fieldName(field), text)
                 .arg(bytes.size())
                 .arg(f.width));
    bytes.append(QByteArray(f.width - bytes.size(), ' '));
    writeRaw(field, bytes);
}

void DbfWriter::writeNumber(int field, const QByteArray& digits)
{
    const Impl::FieldInfo& f = d->fields[std::size_t(field)];
    if (f.type != DbfFieldType::Numeric)
        fail(QStringLiteral("Field '%1' is not a numeric field").arg(fieldName(field)));
    if (digits.size() > f.width)
        fail(QStringLiteral("Field '%1' cannot hold the value %2 (the field holds %3 characters)")
                 .arg(fieldName(field), QString::fromLatin1(digits))
                 .arg(f.width));
    writeRaw(field, QByteArray(f.width - digits.size(), ' ') + digits);
}

void DbfWriter::setInteger(int field, qint64 value)
{
    checkField(field);
    QByteArray digits = QByteArray::number(value);
    const int decimals = d->fields[std::size_t(field)].decimals;
    if (decimals > 0)
        digits += '.' + QByteArray(decimals, '0');
    writeNumber(field, digits);
}

void DbfWriter::setCurrency(int field, Currency value)
{
    checkField(field);
    const int decimals = d->fields[std::size_t(field)].decimals;
    // Ten-thousandths scaled to the field's decimals; halves go to the even neighbour.
    const bool negative = value.raw() < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    quint64 units = negative ? quint64(0) - quint64(value.raw()) : quint64(value.raw());
    int places = 4;
    if (decimals < 4) {
        quint64 divisor = 1;
        for (int i = decimals; i < 4; ++i)
            divisor *= 10;
        quint64 q = units / divisor;
        const quint64 r = units % divisor;
        if (r * 2 > divisor || (r * 2 == divisor && (q & 1)))
            ++q;
        units = q;
        places = decimals;
    }
    QByteArray digits = QByteArray::number(units);
    if (places > 0) {
        if (digits.size() <= places)
            digits.prepend(QByteArray(places - digits.size() + 1, '0'));
        digits.insert(digits.size() - places, '.');
    }
    if (decimals > places)
        digits += QByteArray(decimals - places, '0');
    if (negative)
        digits.prepend('-');
    writeNumber(field, withoutNegativeZero(digits));
}

void DbfWriter::setFloat(int field, double value)
{
    checkField(field);
    if (!std::isfinite(value))
        fail(QStringLiteral("Field '%1' cannot hold the value %2").arg(fieldName(field)).arg(value));
    const int decimals = d->fields[std::size_t(field)].decimals;
    writeNumber(field, withoutNegativeZero(QByteArray::number(value, 'f', decimals)));
}

void DbfWriter::setLogical(int field, bool value)
{
    checkField(field);
    if (d->fields[std::size_t(field)].type != DbfFieldType::Logical)
        fail(QStringLiteral("Field '%1' is not a logical field").arg(fieldName(field)));
    writeRaw(field, value ? QByteArrayLiteral("T") : QByteArrayLiteral("F"));
}

void DbfWriter::setDate(int field, const QDate& value)
{
    checkField(field);
    if (d->fields[std::size_t(field)].type != DbfFieldType::Date)
        fail(QStringLiteral("Field '%1' is not a date field").arg(fieldName(field)));
    if (!value.isValid() || value.year() < 1 || value.year() > 9999) {
        setNull(field);
        return;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d", value.year(), value.month(), value.day());
    writeRaw(field, QByteArray(digits, 8));
}

void DbfWriter::saveToFile(const QString& fileName)
{
    if (!d->handle)
        fail(QStringLiteral("The dBASE table has already been written"));
    if (d->fields.empty())
        fail(QStringLiteral("A dBASE table needs at least one field"));
    // The header keeps the year as a count from 1900 in one byte.
    const QDate today = Date().toQDate();
    DBFSetLastModifiedDate(d->handle, qBound(0, today.year() - 1900, 255), today.month(), today.day());
    DBFClose(d->handle);
    d->handle = nullptr;
    if (d->files.failed())
        fail(QStringLiteral("Out of memory while writing the dBASE table"));
    const QByteArray bytes = d->files.contents(kMemoryName);
    if (bytes.isEmpty())
        fail(QStringLiteral("Cannot create the dBASE table. %1").arg(dbf::MemoryFiles::lastError()));
    saveFileBytes(fileName, bytes);
}

} // namespace qx
