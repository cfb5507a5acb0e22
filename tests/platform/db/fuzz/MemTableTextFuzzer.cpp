// libFuzzer target of the memory table's comma-text loader. Every input must load or end in the
// loader's EDatabaseError, never in a crash, undefined behaviour or another exception; a table
// loaded with its structure saves and loads again.
#include "platform/db/QxMemTable.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

void load(TQxMemTable& table, const QByteArray& bytes)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    table.LoadFromStream(in);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        // A closed table takes the structure the file carries.
        TQxMemTable table;
        load(table, bytes);
        if (table.Active()) {
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            table.SaveToStream(out);
            TQxMemTable again;
            load(again, out.data());
            if (again.RecordCount() != table.RecordCount())
                std::abort();
        }
    } catch (const EDatabaseError&) {
    } catch (...) {
        std::abort();
    }
    try {
        // An open table of every kind of field maps the rows onto its fields.
        TQxMemTable table;
        TFieldDefs& d = *table.FieldDefs();
        d.Add(QStringLiteral("Code"), ftString, 10);
        d.Add(QStringLiteral("Qty"), ftSmallint);
        d.Add(QStringLiteral("Price"), ftCurrency);
        d.Add(QStringLiteral("Day"), ftDate);
        d.Add(QStringLiteral("Stamp"), ftDateTime);
        d.Add(QStringLiteral("Paid"), ftBoolean);
        d.Add(QStringLiteral("Rate"), ftFloat);
        d.Add(QStringLiteral("Pic"), ftBlob);
        table.Open();
        load(table, bytes);
    } catch (const EDatabaseError&) {
    } catch (...) {
        std::abort();
    }
    return 0;
}
