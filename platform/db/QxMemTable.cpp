#include "platform/db/QxMemTable.h"

#include "platform/db/MemTableBinary.h"
#include "platform/db/MemTableText.h"
#include "platform/rtl/SafeSave.h"

#include <QFile>

#include <algorithm>

TQxCustomMemTable::TQxCustomMemTable(QObject* owner) : TDataSet(owner) {}

TQxCustomMemTable::~TQxCustomMemTable() = default;

// ---- structure ---------------------------------------------------------------------------

void TQxCustomMemTable::CreateTable()
{
    CheckInactive();
    bool hasData = false;
    for (TField* f : *Fields())
        hasData = hasData || f->FieldKind() == fkData;
    if (FieldDefs()->Count() == 0 && !hasData)
        DatabaseError(QStringLiteral("No fields defined"));
    for (const TFieldDef& d : *FieldDefs())
        if (!std::unique_ptr<TField>(CreateFieldOfType(d.DataType, nullptr)))
            DatabaseError(QStringLiteral("Field '%1' is of an unknown type").arg(d.Name));
}

void TQxCustomMemTable::CopyStructure(TDataSet* source)
{
    CheckInactive();
    if (!source)
        return;
    TFieldDefs defs;
    if (source->FieldCount() > 0) {
        for (TField* f : *source->Fields())
            defs.Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
    } else {
        defs.Assign(*source->FieldDefs());
    }
    FieldDefs()->Assign(defs);
}

void TQxCustomMemTable::EmptyTable()
{
    if (Active())
        ClearRows();
}

void TQxCustomMemTable::InternalOpen()
{
    bool hasData = false;
    for (TField* f : *Fields())
        hasData = hasData || f->FieldKind() == fkData;
    if (FieldDefs()->Count() == 0 && !hasData)
        DatabaseError(QStringLiteral("No fields defined"));
    BuildColumns();
    for (Index& idx : m_indexes) {
        idx.keys = resolveKeys(idx.fields, idx.options.testFlag(ixDescending));
        idx.sorted.clear();
    }
    applyOrder();
}

// ---- indexes -----------------------------------------------------------------------------

std::vector<TDataSet::SortKey> TQxCustomMemTable::resolveKeys(const QString& fields, bool descending) const
{
    std::vector<SortKey> keys;
    for (TField* f : GetFieldList(fields)) {
        if (f->FieldNo() <= 0)
            DatabaseError(QStringLiteral("Field '%1' cannot be used in an index").arg(f->DisplayName()));
        keys.push_back(SortKey{f->FieldNo() - 1, descending});
    }
    if (keys.empty())
        DatabaseError(QStringLiteral("Index has no fields"));
    return keys;
}

TQxCustomMemTable::Index* TQxCustomMemTable::findIndex(const QString& name)
{
    for (Index& idx : m_indexes)
        if (idx.name.compare(name, Qt::CaseInsensitive) == 0)
            return &idx;
    return nullptr;
}

QStringList TQxCustomMemTable::IndexNames() const
{
    QStringList out;
    for (const Index& idx : m_indexes)
        out << idx.name;
    return out;
}

bool TQxCustomMemTable::buildUniqueIndex(Index& index)
{
    index.sorted.clear();
    const qx::RecordStore& st = Store();
    index.sorted.reserve(st.liveCount());
    for (std::uint32_t s = 0; s < st.slotCount(); ++s)
        if (st.isAlive(s))
            index.sorted.push_back(s);
    std::stable_sort(index.sorted.begin(), index.sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
        return CompareSlots(a, b, index.keys) < 0;
    });
    for (std::size_t i = 1; i < index.sorted.size(); ++i) {
        bool anyNull = false;
        for (const SortKey& k : index.keys)
            anyNull = anyNull || st.isNull(index.sorted[i], k.column);
        if (!anyNull && CompareSlots(index.sorted[i - 1], index.sorted[i], index.keys) == 0)
            return false;
    }
    return true;
}

void TQxCustomMemTable::AddIndex(const QString& name, const QString& fields, TIndexOptions options)
{
    if (name.trimmed().isEmpty())
        DatabaseError(QStringLiteral("Index name missing"));
    if (findIndex(name))
        DatabaseError(QStringLiteral("Duplicate index name '%1'").arg(name));
    Index idx;
    idx.name = name;
    idx.fields = fields;
    idx.options = options;
    if (Active()) {
        idx.keys = resolveKeys(fields, options.testFlag(ixDescending));
        if ((options & (ixUnique | ixPrimary)) && !buildUniqueIndex(idx))
            DatabaseError(QStringLiteral("Key violation"));
    }
    m_indexes.push_back(std::move(idx));
}

void TQxCustomMemTable::DeleteIndex(const QString& name)
{
    auto it = std::find_if(m_indexes.begin(), m_indexes.end(),
                           [&](const Index& i) { return i.name.compare(name, Qt::CaseInsensitive) == 0; });
    if (it == m_indexes.end())
        DatabaseError(QStringLiteral("Index '%1' not found").arg(name));
    const bool current = m_indexName.compare(name, Qt::CaseInsensitive) == 0;
    m_indexes.erase(it);
    if (current) {
        m_indexName.clear();
        applyOrder();
    }
}

void TQxCustomMemTable::SetIndexName(const QString& name)
{
    if (!name.isEmpty() && !findIndex(name))
        DatabaseError(QStringLiteral("Index '%1' not found").arg(name));
    m_indexName = name;
    if (!name.isEmpty())
        m_indexFieldNames.clear();
    applyOrder();
}

void TQxCustomMemTable::SetIndexFieldNames(const QString& names)
{
    m_indexFieldNames = names;
    if (!names.isEmpty())
        m_indexName.clear();
    applyOrder();
}

void TQxCustomMemTable::applyOrder()
{
    QString text;
    if (!m_indexName.isEmpty()) {
        if (Index* idx = findIndex(m_indexName)) {
            QStringList parts;
            for (const QString& f : idx->fields.split(u';', Qt::SkipEmptyParts))
                parts << f.trimmed() + (idx->options.testFlag(ixDescending) ? QStringLiteral(" DESC") : QString());
            text = parts.join(u';');
        }
    } else {
        text = m_indexFieldNames;
    }
    SetSort(text);
}

void TQxCustomMemTable::checkUnique(int ownSlot) const
{
    for (const Index& idx : m_indexes) {
        if (!(idx.options & (ixUnique | ixPrimary)))
            continue;
        bool anyNull = false;
        for (const SortKey& k : idx.keys) {
            const QVariant& v = BufferCell(k.column);
            anyNull = anyNull || !v.isValid() || v.isNull();
        }
        if (anyNull)
            continue;
        auto it = std::partition_point(idx.sorted.begin(), idx.sorted.end(), [&](std::uint32_t s) {
            return CompareBufferToSlot(s, idx.keys) > 0;
        });
        for (; it != idx.sorted.end() && CompareBufferToSlot(*it, idx.keys) == 0; ++it)
            if (int(*it) != ownSlot)
                DatabaseError(QStringLiteral("Key violation"));
    }
}

void TQxCustomMemTable::ApplyInsert()
{
    checkUnique(-1);
}

void TQxCustomMemTable::ApplyUpdate()
{
    checkUnique(PendingSlot());
}

void TQxCustomMemTable::RowStored(std::uint32_t slot, bool inserted)
{
    for (Index& idx : m_indexes) {
        if (!(idx.options & (ixUnique | ixPrimary)))
            continue;
        if (!inserted) {
            auto it = std::find(idx.sorted.begin(), idx.sorted.end(), slot);
            if (it != idx.sorted.end())
                idx.sorted.erase(it);
        }
        auto at = std::upper_bound(idx.sorted.begin(), idx.sorted.end(), slot,
                                   [&](std::uint32_t a, std::uint32_t b) { return CompareSlots(a, b, idx.keys) < 0; });
        idx.sorted.insert(at, slot);
    }
}

void TQxCustomMemTable::RowRemoving(std::uint32_t slot)
{
    for (Index& idx : m_indexes) {
        if (!(idx.options & (ixUnique | ixPrimary)))
            continue;
        auto range = std::equal_range(idx.sorted.begin(), idx.sorted.end(), slot,
                                      [&](std::uint32_t a, std::uint32_t b) { return CompareSlots(a, b, idx.keys) < 0; });
        auto it = std::find(range.first, range.second, slot);
        if (it == range.second)
            it = std::find(idx.sorted.begin(), idx.sorted.end(), slot);
        if (it != idx.sorted.end())
            idx.sorted.erase(it);
    }
}

void TQxCustomMemTable::RowsCleared()
{
    for (Index& idx : m_indexes)
        idx.sorted.clear();
}

// ---- bulk loading ------------------------------------------------------------------------

std::uint32_t TQxCustomMemTable::BulkAppend()
{
    return Store().appendRow();
}

void TQxCustomMemTable::BulkSet(std::uint32_t slot, const TField* field, const QVariant& cell)
{
    if (field->FieldNo() > 0)
        Store().setValue(slot, field->FieldNo() - 1, cell);
}

void TQxCustomMemTable::BulkRollback(const std::vector<std::uint32_t>& added)
{
    for (std::uint32_t s : added)
        Store().removeRow(s);
}

void TQxCustomMemTable::BulkCommit(const std::vector<std::uint32_t>& added)
{
    for (Index& idx : m_indexes) {
        if (!(idx.options & (ixUnique | ixPrimary)))
            continue;
        if (!buildUniqueIndex(idx)) {
            BulkRollback(added);
            for (Index& j : m_indexes)
                if (j.options & (ixUnique | ixPrimary))
                    buildUniqueIndex(j);
            DatabaseError(QStringLiteral("Key violation"));
        }
    }
    AddStoredRows(added);
}

void TQxCustomMemTable::LoadFromDataSet(TDataSet* source, TMemTableCopyOptions options, int limit)
{
    if (!source)
        return;
    if (options.testFlag(mtcpoStructure)) {
        Close();
        CopyStructure(source);
    }
    if (!Active())
        Open();
    CheckBrowseMode();
    if (!source->Active())
        return;

    struct Pair
    {
        TField* from;
        TField* to;
        bool raw; // same type: the stored value is copied as it is
    };
    std::vector<Pair> pairs;
    for (TField* to : *Fields()) {
        if (to->FieldKind() != fkData)
            continue;
        if (TField* from = source->FindField(to->FieldName()))
            pairs.push_back(Pair{from, to, from->DataType() == to->DataType() && from->FieldKind() == fkData});
    }
    std::vector<std::uint32_t> added;
    try {
        source->ForEachRecord([&] {
            if (limit >= 0 && int(added.size()) >= limit)
                return false;
            const std::uint32_t slot = BulkAppend();
            added.push_back(slot);
            for (const Pair& p : pairs) {
                if (p.raw) {
                    // Same type: the stored form carries over; text is still cut to the size.
                    const QVariant cell = source->ReadCell(p.from);
                    const bool text = p.to->StorageKind() == qx::RecordStore::Kind::Text;
                    BulkSet(slot, p.to, text ? p.to->ToCell(cell) : cell);
                } else {
                    BulkSet(slot, p.to, p.to->ToCell(p.from->AsVariant()));
                }
            }
            return true;
        });
    } catch (...) {
        BulkRollback(added);
        throw;
    }
    BulkCommit(added);
}

std::vector<TField*> TQxCustomMemTable::prepareLoad(const TFieldDefs* fileDefs, bool& openedHere)
{
    openedHere = false;
    const bool withDefs = fileDefs && fileDefs->Count() > 0;
    if (!Active()) {
        if (withDefs)
            FieldDefs()->Assign(*fileDefs);
        Open();
        openedHere = true;
    } else {
        CheckBrowseMode();
    }
    std::vector<TField*> out;
    if (withDefs) {
        for (const TFieldDef& d : *fileDefs) {
            TField* f = FindField(d.Name);
            if (!f || f->FieldKind() != fkData)
                DatabaseError(QStringLiteral("Field '%1' not found").arg(d.Name));
            out.push_back(f);
        }
    } else {
        for (TField* f : *Fields())
            if (f->FieldKind() == fkData)
                out.push_back(f);
    }
    return out;
}

void TQxCustomMemTable::undoLoad(bool openedHere, const TFieldDefs& oldDefs)
{
    if (!openedHere)
        return;
    Close();
    FieldDefs()->Assign(oldDefs);
}

// ---- files -------------------------------------------------------------------------------

void TQxCustomMemTable::SaveToStream(QIODevice& stream, TMemTableSaveFlags flags) const
{
    qx::MemTableText::save(*this, stream, flags);
}

void TQxCustomMemTable::SaveToFile(const QString& fileName, TMemTableSaveFlags flags) const
{
    qx::saveFile(fileName, [&](QIODevice& out) { SaveToStream(out, flags); });
}

void TQxCustomMemTable::LoadFromStream(QIODevice& stream)
{
    qx::MemTableText::load(*this, stream);
}

void TQxCustomMemTable::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    LoadFromStream(f);
}

void TQxCustomMemTable::SaveToBinaryStream(QIODevice& stream) const
{
    qx::MemTableBinary::save(*this, stream);
}

void TQxCustomMemTable::SaveToBinaryFile(const QString& fileName) const
{
    qx::saveFile(fileName, [&](QIODevice& out) { SaveToBinaryStream(out); });
}

void TQxCustomMemTable::LoadFromBinaryStream(QIODevice& stream)
{
    qx::MemTableBinary::load(*this, stream);
}

void TQxCustomMemTable::LoadFromBinaryFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    LoadFromBinaryStream(f);
}
