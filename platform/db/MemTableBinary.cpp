#include "platform/db/MemTableBinary.h"

#include "platform/rtl/SysUtils.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qx {

namespace {

constexpr quint32 kVersion = 1;
constexpr quint32 kMaxFields = 4096;

[[noreturn]] void damaged(const QString& what)
{
    throw EReadError(QStringLiteral("Memory table stream is damaged: %1").arg(what));
}

void checkRead(const QDataStream& ds, const char* what)
{
    if (ds.status() != QDataStream::Ok)
        damaged(QStringLiteral("the stream ends inside %1").arg(QLatin1String(what)));
}

bool isDateKind(TFieldType t)
{
    return t == ftDate || t == ftTime || t == ftDateTime;
}

// A name a field can be found by again: no blanks around it, no control characters.
bool isFieldName(const QString& name)
{
    if (name.isEmpty() || name != name.trimmed())
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

// Days of the years 1 to 9999, the dates a TDateTime can hold.
bool isDateValue(double days)
{
    return std::isfinite(days) && days >= -693594.0 && days < 2958466.0;
}

// A value is taken only when its field can hold it as it stands: never cut, never bent.
void checkCell(const TField* f, const QVariant& cell, quint64 row)
{
    auto refuse = [&](const QString& why) {
        damaged(QStringLiteral("row %1, field '%2': %3").arg(row).arg(f->FieldName(), why));
    };
    const TFieldType type = f->DataType();
    switch (f->StorageKind()) {
    case RecordStore::Kind::Text:
        if (IsStringFieldType(type) && f->Size() > 0 && cell.toString().size() > f->Size())
            refuse(QStringLiteral("the text is longer than the field's %1 characters").arg(f->Size()));
        return;
    case RecordStore::Kind::Int32:
    case RecordStore::Kind::Int64:
    case RecordStore::Kind::Double:
        if (isDateKind(type)) {
            if (!isDateValue(cell.toDouble()))
                refuse(QStringLiteral("%1 is not a date").arg(FloatToStr(cell.toDouble())));
            return;
        }
        if (type == ftCurrency || type == ftBCD)
            return; // ten-thousandths: every 64-bit count is an amount
        if (cell.typeId() == QMetaType::Double && !std::isfinite(cell.toDouble()))
            refuse(QStringLiteral("the value is not a number"));
        try {
            f->ToCell(cell); // the field's own range (small integers, words)
        } catch (const Exception& e) {
            refuse(e.Message());
        }
        return;
    case RecordStore::Kind::Bool:
    case RecordStore::Kind::Blob:
        return;
    }
}

} // namespace

void MemTableBinary::save(const TQxCustomMemTable& table, QIODevice& stream)
{
    table.CheckActive();
    std::vector<TField*> fields;
    for (TField* f : *table.Fields())
        if (f->FieldKind() == fkData)
            fields.push_back(f);

    QDataStream ds(&stream);
    ds.setVersion(QDataStream::Qt_6_4);
    ds.writeRawData("QXMT", 4);
    ds << kVersion << quint32(fields.size());
    for (TField* f : fields)
        ds << f->FieldName() << quint8(f->DataType()) << qint32(f->Size()) << quint8(f->Required() ? 1 : 0);
    ds << quint64(table.RecordCount());
    table.ForEachRecord([&] {
        for (TField* f : fields) {
            const QVariant cell = table.ReadCell(f);
            if (!cell.isValid() || cell.isNull()) {
                ds << quint8(0);
                continue;
            }
            ds << quint8(1);
            switch (f->StorageKind()) {
            case RecordStore::Kind::Int32: ds << qint32(cell.toInt()); break;
            case RecordStore::Kind::Int64: ds << qint64(cell.toLongLong()); break;
            case RecordStore::Kind::Double: ds << cell.toDouble(); break;
            case RecordStore::Kind::Bool: ds << quint8(cell.toBool() ? 1 : 0); break;
            case RecordStore::Kind::Text: ds << cell.toString().toUtf8(); break;
            case RecordStore::Kind::Blob: ds << cell.toByteArray(); break;
            }
        }
        return ds.status() == QDataStream::Ok;
    });
    if (ds.status() != QDataStream::Ok)
        throw EWriteError(QStringLiteral("Cannot write the memory table: %1").arg(stream.errorString()));
}

void MemTableBinary::load(TQxCustomMemTable& table, QIODevice& stream)
{
    QDataStream ds(&stream);
    ds.setVersion(QDataStream::Qt_6_4);
    char magic[4] = {};
    if (ds.readRawData(magic, 4) != 4 || std::memcmp(magic, "QXMT", 4) != 0)
        damaged(QStringLiteral("it is not a memory table stream"));
    quint32 version = 0, count = 0;
    ds >> version >> count;
    checkRead(ds, "the header");
    if (version != kVersion)
        damaged(QStringLiteral("unsupported version %1").arg(version));
    if (count == 0 || count > kMaxFields)
        damaged(QStringLiteral("%1 fields").arg(count));

    TFieldDefs defs;
    std::vector<RecordStore::Kind> kinds;
    for (quint32 i = 0; i < count; ++i) {
        QString name;
        quint8 type = 0, required = 0;
        qint32 size = 0;
        ds >> name >> type >> size >> required;
        checkRead(ds, "the field definitions");
        // The byte becomes a TFieldType only when it names one.
        if (type > quint8(ftDataSet))
            damaged(QStringLiteral("field definition %1 has the unknown type %2").arg(i + 1).arg(type));
        std::unique_ptr<TField> probe(CreateFieldOfType(TFieldType(type), nullptr));
        if (!isFieldName(name) || !probe || size < 0 || required > 1)
            damaged(QStringLiteral("field definition %1 is not valid").arg(i + 1));
        try {
            defs.Add(name, TFieldType(type), size, required != 0);
        } catch (const EDatabaseError& e) {
            damaged(e.Message());
        }
        kinds.push_back(probe->StorageKind());
    }
    quint64 rows = 0;
    ds >> rows;
    checkRead(ds, "the row count");

    const TFieldDefs oldDefs = *table.FieldDefs();
    bool openedHere = false;
    std::vector<std::uint32_t> added;
    try {
        std::vector<TField*> fields;
        try {
            fields = table.prepareLoad(&defs, openedHere);
        } catch (const EDatabaseError& e) {
            damaged(e.Message()); // a field the open table does not have
        }
        for (std::size_t c = 0; c < fields.size(); ++c)
            if (fields[c]->StorageKind() != kinds[c])
                damaged(QStringLiteral("field '%1' has another type in the table").arg(fields[c]->FieldName()));
        for (quint64 r = 0; r < rows; ++r) {
            const std::uint32_t slot = table.BulkAppend();
            added.push_back(slot);
            for (std::size_t c = 0; c < fields.size(); ++c) {
                quint8 flag = 0;
                ds >> flag;
                checkRead(ds, "a row");
                if (flag == 0)
                    continue;
                if (flag != 1)
                    damaged(QStringLiteral("row %1 is not valid").arg(r + 1));
                QVariant cell;
                switch (kinds[c]) {
                case RecordStore::Kind::Int32: { qint32 v = 0; ds >> v; cell = int(v); break; }
                case RecordStore::Kind::Int64: { qint64 v = 0; ds >> v; cell = qlonglong(v); break; }
                case RecordStore::Kind::Double: { double v = 0; ds >> v; cell = v; break; }
                case RecordStore::Kind::Bool: {
                    quint8 v = 0;
                    ds >> v;
                    if (v > 1)
                        damaged(QStringLiteral("row %1, field '%2': %3 is not a Boolean")
                                    .arg(r + 1)
                                    .arg(fields[c]->FieldName())
                                    .arg(v));
                    cell = v != 0;
                    break;
                }
                case RecordStore::Kind::Text: { QByteArray v; ds >> v; cell = QString::fromUtf8(v); break; }
                case RecordStore::Kind::Blob: { QByteArray v; ds >> v; cell = v; break; }
                }
                checkRead(ds, "a row");
                checkCell(fields[c], cell, r + 1);
                table.BulkSet(slot, fields[c], cell);
            }
        }
        table.BulkCommit(added);
    } catch (...) {
        if (table.Active())
            table.BulkRollback(added);
        table.undoLoad(openedHere, oldDefs);
        throw;
    }
}

} // namespace qx
