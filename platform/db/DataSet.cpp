#include "platform/db/DataSet.h"

#include "platform/db/BlobStream.h"
#include "platform/db/DataSource.h"
#include "platform/db/FilterExpression.h"

#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QtEndian>

#include <algorithm>

namespace {

QStringList splitNames(const QString& names)
{
    QStringList out;
    for (const QString& part : names.split(u';', Qt::SkipEmptyParts)) {
        const QString t = part.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

TBookmark makeBookmark(std::uint64_t id)
{
    TBookmark b(8, '\0');
    qToBigEndian<quint64>(id, b.data());
    return b;
}

bool readBookmark(const TBookmark& b, std::uint64_t& id)
{
    if (b.size() != 8)
        return false;
    id = qFromBigEndian<quint64>(b.constData());
    return true;
}

} // namespace

TDataSet::TDataSet(QObject* owner) : QObject(owner), m_fields(this), m_fieldDefs(this) {}

TDataSet::~TDataSet()
{
    // No events while going away: the handlers' owners may already be gone.
    m_state = dsInactive;
    const std::vector<QPointer<TDataSource>> sources = m_sources;
    m_sources.clear();
    for (const QPointer<TDataSource>& s : sources) {
        if (s) {
            s->m_dataSet = nullptr;
            s->updateState();
        }
    }
    for (TField* f : m_fields)
        f->m_dataSet = nullptr;
    m_fields.Clear();
    for (QPointer<TField>& f : m_ownFields)
        delete f.data();
}

// ---- state -------------------------------------------------------------------------------

void TDataSet::CheckActive() const
{
    if (m_state == dsInactive)
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckInactive() const
{
    if (m_state != dsInactive)
        DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
}

void TDataSet::SetState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    m_modified = false;
    DataEvent(deUpdateState);
}

void TDataSet::SetActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    doEvent(BeforeOpen);
    try {
        m_columnsBuilt = false;
        m_store.clear();
        InternalOpen();
        if (!m_columnsBuilt)
            BuildColumns();
        m_orderImplicit = false;
        m_order.clear();
        m_order.reserve(m_store.liveCount());
        for (std::uint32_t s = 0; s < m_store.slotCount(); ++s)
            if (m_store.isAlive(s))
                m_order.push_back(s);
        m_orderIsSlotOrder = true;
        m_pos = -1;
        m_sortKeys = m_sortText.isEmpty() ? std::vector<SortKey>() : sortKeysOf(m_sortText);
        m_state = dsBrowse; // the filter handlers may read fields while the view is built
        rebuildView(false);
        m_state = dsInactive;
    } catch (...) {
        m_state = dsInactive;
        InternalClose();
        freeDefaultFields();
        m_store.clear();
        m_order.clear();
        m_derived.clear();
        m_columnsBuilt = false;
        throw;
    }
    SetState(dsBrowse);
    DoAfterOpen();
    if (Active() && !IsEmpty())
        doEvent(AfterScroll);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    doEvent(BeforeClose);
    // A pending edit is dropped, as closing always has: callers post first when they mean to.
    clearBuffer();
    m_insertPos = -1;
    SetState(dsInactive);
    InternalClose();
    freeDefaultFields();
    RowsCleared();
    m_store.clear();
    m_order.clear();
    m_order.shrink_to_fit();
    m_orderImplicit = false;
    m_derived.clear();
    m_derived.shrink_to_fit();
    m_derivedView = false;
    m_columnsBuilt = false;
    m_pos = -1;
    m_bof = m_eof = true;
    m_readDisplay = -1;
    m_readOverride = ReadTarget();
    m_autoIncNext.clear();
    ++m_version;
    doEvent(AfterClose);
}

void TDataSet::freeDefaultFields()
{
    for (TField* f : m_fields) {
        f->m_column = -1;
        f->m_calcIndex = -1;
    }
    for (QPointer<TField>& f : m_ownFields) {
        if (f) {
            m_fields.Remove(f);
            f->m_dataSet = nullptr;
            delete f.data();
        }
    }
    m_ownFields.clear();
}

void TDataSet::BuildColumns()
{
    bool hasDataFields = false;
    for (TField* f : m_fields)
        if (f->FieldKind() == fkData)
            hasDataFields = true;
    m_defaultFields = !hasDataFields;
    if (m_defaultFields) {
        // Default fields go before calculated ones made by hand, in definition order.
        std::vector<TField*> made;
        for (const TFieldDef& def : m_fieldDefs) {
            TField* f = def.CreateField(this, nullptr);
            if (!f)
                DatabaseError(QStringLiteral("Field '%1' is of an unknown type").arg(def.Name));
            f->m_dataSet = this;
            made.push_back(f);
            m_ownFields.emplace_back(f);
        }
        std::vector<TField*> rest(m_fields.begin(), m_fields.end());
        m_fields.Clear();
        for (TField* f : made)
            m_fields.m_list.push_back(f);
        for (TField* f : rest)
            m_fields.m_list.push_back(f);
    } else if (m_fieldDefs.Count() == 0) {
        for (TField* f : m_fields)
            if (f->FieldKind() == fkData)
                m_fieldDefs.Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
    }
    m_store.clear();
    m_calcCount = 0;
    for (TField* f : m_fields) {
        if (f->FieldKind() == fkData) {
            f->m_column = m_store.addColumn(f->StorageKind());
            f->m_calcIndex = -1;
        } else {
            f->m_column = -1;
            f->m_calcIndex = m_calcCount++;
        }
    }
    m_buffer.assign(std::size_t(m_store.columnCount()), QVariant());
    m_loaded.assign(std::size_t(m_store.columnCount()), 1);
    m_changed.assign(std::size_t(m_store.columnCount()), false);
    m_calcValues.assign(std::size_t(m_calcCount), QVariant());
    m_autoIncNext.assign(std::size_t(m_store.columnCount()), 0);
    m_columnsBuilt = true;
    ++m_version;
}

// ---- data events -------------------------------------------------------------------------

void TDataSet::addDataSource(TDataSource* source)
{
    for (const QPointer<TDataSource>& s : m_sources)
        if (s == source)
            return;
    m_sources.emplace_back(source);
}

void TDataSet::removeDataSource(TDataSource* source)
{
    m_sources.erase(std::remove_if(m_sources.begin(), m_sources.end(),
                                   [&](const QPointer<TDataSource>& s) { return !s || s == source; }),
                    m_sources.end());
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int distance)
{
    if (event == deFieldChange || event == deDataSetChange || event == deRecordChange)
        ++m_version;
    if (m_disableCount == 0) {
        // By index: a handler may add or remove sources while the event goes round.
        for (std::size_t i = 0; i < m_sources.size(); ++i)
            if (TDataSource* s = m_sources[i].data())
                s->DataEvent(event, field, distance);
    } else if ((event == deUpdateState && m_state == dsInactive) || event == deLayoutChange) {
        m_enableEvent = deLayoutChange;
    }
}

void TDataSet::FocusControlOf(TField* field)
{
    if (m_disableCount > 0)
        return;
    TField* f = field;
    const std::vector<QPointer<TDataSource>> sources = m_sources;
    for (const QPointer<TDataSource>& s : sources) {
        if (!f)
            break;
        if (s)
            s->FocusControl(f);
    }
}

void TDataSet::DisableControls()
{
    if (m_disableCount == 0) {
        m_disableState = m_state;
        m_enableEvent = deDataSetChange;
    }
    ++m_disableCount;
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    if (m_disableState != m_state)
        DataEvent(deUpdateState);
    if (m_disableState != dsInactive && m_state != dsInactive)
        DataEvent(m_enableEvent);
}

// ---- navigation --------------------------------------------------------------------------

int TDataSet::RecordCount() const
{
    return m_state == dsInactive ? 0 : int(view().size());
}

int TDataSet::RecNo() const
{
    if (m_state == dsInsert)
        return m_insertPos + 1;
    return m_pos + 1;
}

void TDataSet::moveTo(int pos, bool scrollEvent)
{
    const int n = int(view().size());
    m_pos = n == 0 ? -1 : std::clamp(pos, 0, n - 1);
    DataEvent(scrollEvent ? deDataSetScroll : deDataSetChange);
}

void TDataSet::First()
{
    CheckBrowseMode();
    doEvent(BeforeScroll);
    moveTo(0, false);
    m_bof = true;
    m_eof = view().empty();
    doEvent(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    doEvent(BeforeScroll);
    moveTo(int(view().size()) - 1, false);
    m_eof = true;
    m_bof = view().empty();
    doEvent(AfterScroll);
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    doEvent(BeforeScroll);
    if (!((distance > 0 && !m_eof) || (distance < 0 && !m_bof)))
        return 0;
    m_bof = m_eof = false;
    const long long n = static_cast<long long>(view().size());
    long long target = static_cast<long long>(m_pos) + distance;
    if (target >= n) {
        target = n - 1;
        m_eof = true;
    }
    if (target < 0) {
        target = 0;
        m_bof = true;
    }
    const int moved = int(target) - m_pos;
    m_pos = int(target);
    // A walk through the view reads the rows ahead next: start fetching them now.
    if (moved == 1 || moved == -1) {
        const long long ahead = target + 16 * moved;
        if (ahead >= 0 && ahead < n)
            m_store.prefetchRow(view()[std::size_t(ahead)]);
    }
    DataEvent(deDataSetScroll);
    doEvent(AfterScroll);
    return moved;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    const int n = int(view().size());
    if (n == 0)
        return;
    recNo = std::clamp(recNo, 1, n);
    if (recNo - 1 == m_pos)
        return;
    doEvent(BeforeScroll);
    m_bof = m_eof = false;
    moveTo(recNo - 1, false);
    doEvent(AfterScroll);
}

// ---- display window and reads --------------------------------------------------------------

int TDataSet::DisplayCount() const
{
    if (m_state == dsInactive)
        return 0;
    return int(view().size()) + (m_state == dsInsert ? 1 : 0);
}

int TDataSet::DisplayIndex() const
{
    if (m_state == dsInsert)
        return m_insertPos;
    return m_pos;
}

void TDataSet::SetReadRecord(int displayIndex)
{
    m_readDisplay = (displayIndex == DisplayIndex()) ? -1 : displayIndex;
}

TDataSet::ReadTarget TDataSet::targetOfDisplay(int d) const
{
    ReadTarget t;
    if (m_state == dsInactive || d < 0)
        return t;
    if (m_state == dsInsert) {
        if (d == m_insertPos) {
            t.kind = Target::Buffer;
            return t;
        }
        if (d > m_insertPos)
            --d;
    } else if (m_state == dsEdit && d == m_pos) {
        t.kind = Target::Buffer;
        return t;
    }
    if (d >= int(view().size()))
        return t;
    t.kind = Target::Slot;
    t.slot = view()[std::size_t(d)];
    return t;
}

TDataSet::ReadTarget TDataSet::readTarget() const
{
    if (m_readOverride.kind != Target::None)
        return m_readOverride;
    if (m_readDisplay >= 0)
        return targetOfDisplay(m_readDisplay);
    ReadTarget t;
    if (m_state == dsEdit || m_state == dsInsert) {
        t.kind = Target::Buffer;
    } else if (m_state != dsInactive && m_pos >= 0) {
        t.kind = Target::Slot;
        t.slot = view()[std::size_t(m_pos)];
    }
    return t;
}

QVariant TDataSet::ReadCell(const TField* field) const
{
    return cellOf(field, readTarget());
}

QVariant TDataSet::cellOf(const TField* field, const ReadTarget& t) const
{
    if (field->m_column >= 0) {
        switch (t.kind) {
        case Target::None: return QVariant();
        case Target::Buffer: return bufferCell(std::size_t(field->m_column));
        case Target::Slot:
        case Target::Cursor: return m_store.value(t.slot, field->m_column);
        }
        return QVariant();
    }
    if (field->m_calcIndex < 0 || t.kind == Target::None)
        return QVariant();
    if (m_inCalc)
        return m_calcValues[std::size_t(field->m_calcIndex)];
    const bool same = m_calcFor.kind == t.kind && (t.kind != Target::Slot || m_calcFor.slot == t.slot);
    if (!same || m_calcVersion != m_version)
        computeCalcFields(t);
    return m_calcValues[std::size_t(field->m_calcIndex)];
}

void TDataSet::computeCalcFields(const ReadTarget& t) const
{
    auto* self = const_cast<TDataSet*>(this);
    const ReadTarget savedOverride = m_readOverride;
    const TDataSetState savedState = m_state;
    self->m_readOverride = t;
    self->m_state = dsCalcFields;
    m_inCalc = true;
    m_calcValues.assign(std::size_t(m_calcCount), QVariant());
    auto restore = [&] {
        m_inCalc = false;
        self->m_state = savedState;
        self->m_readOverride = savedOverride;
    };
    try {
        for (TField* f : m_fields) {
            if (!f->Lookup() || f->m_calcIndex < 0 || !f->LookupDataSet())
                continue;
            const std::vector<TField*> keys = GetFieldList(f->KeyFields());
            QVariantList values;
            bool anyNull = false;
            for (TField* k : keys) {
                values << k->AsVariant();
                anyNull = anyNull || k->IsNull();
            }
            if (anyNull || !f->LookupDataSet()->Active())
                continue;
            const QVariant key = values.size() == 1 ? values.first() : QVariant(values);
            const QVariant result = f->LookupDataSet()->Lookup(f->LookupKeyFields(), key, f->LookupResultField());
            m_calcValues[std::size_t(f->m_calcIndex)] = f->ToCell(result);
        }
        if (OnCalcFields)
            OnCalcFields(self);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    m_calcFor = t;
    m_calcVersion = m_version;
}

void TDataSet::WriteCell(TField* field, const QVariant& cell)
{
    CheckActive();
    if (field->m_column < 0) {
        if (!m_inCalc || field->m_calcIndex < 0)
            DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
        m_calcValues[std::size_t(field->m_calcIndex)] = cell;
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (m_readDisplay >= 0 || m_readOverride.kind != Target::None)
        DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
    if (field->ReadOnly())
        DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
    const std::size_t col = std::size_t(field->m_column);
    if (field->OnValidate) {
        // The handler sees the new value through the field; a refusal puts the old one back.
        QVariant old = bufferCell(col);
        m_buffer[col] = cell;
        ++m_version;
        try {
            field->OnValidate(field);
        } catch (...) {
            m_buffer[col] = std::move(old);
            ++m_version;
            throw;
        }
    } else {
        m_buffer[col] = cell;
        m_loaded[col] = 1;
    }
    m_changed[col] = true;
    m_modified = true;
    DataEvent(deFieldChange, field);
    if (field->OnChange)
        field->OnChange(field);
}

void TDataSet::SetBufferCell(int column, const QVariant& cell)
{
    m_buffer[std::size_t(column)] = cell;
    m_loaded[std::size_t(column)] = 1;
    m_changed[std::size_t(column)] = true;
    ++m_version;
}

// ---- editing -----------------------------------------------------------------------------

void TDataSet::clearBuffer()
{
    for (QVariant& v : m_buffer)
        if (v.isValid())
            v = QVariant();
    std::fill(m_loaded.begin(), m_loaded.end(), char(1));
    std::fill(m_changed.begin(), m_changed.end(), false);
    ++m_version;
}

void TDataSet::loadBuffer(std::uint32_t slot)
{
    // The cells come from the row when first read (bufferCell).
    for (QVariant& v : m_buffer)
        if (v.isValid())
            v = QVariant();
    m_editSlot = slot;
    std::fill(m_loaded.begin(), m_loaded.end(), char(0));
    std::fill(m_changed.begin(), m_changed.end(), false);
    ++m_version;
}

void TDataSet::checkOperation(const std::function<void()>& op, const TDataSetErrorEvent& onError)
{
    for (;;) {
        try {
            op();
            return;
        } catch (EDatabaseError& e) {
            TDataAction action = daFail;
            if (onError)
                onError(this, e, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                Abort();
        }
    }
}

void TDataSet::Append()
{
    beginInsertAppend(true);
}

void TDataSet::Insert()
{
    beginInsertAppend(false);
}

void TDataSet::beginInsertAppend(bool append)
{
    CheckBrowseMode();
    if (!CanModify())
        DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    doEvent(BeforeInsert);
    doEvent(BeforeScroll);
    const int n = int(view().size());
    m_insertPos = (append || m_pos < 0) ? (append ? n : 0) : m_pos;
    clearBuffer();
    m_bof = m_eof = false;
    SetState(dsInsert);
    try {
        if (OnNewRecord)
            OnNewRecord(this);
    } catch (...) {
        clearBuffer();
        m_insertPos = -1;
        SetState(dsBrowse);
        DataEvent(deDataSetChange);
        throw;
    }
    m_modified = false;
    DataEvent(deDataSetChange);
    DoAfterInsert();
    doEvent(AfterScroll);
}

void TDataSet::Edit()
{
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    CheckActive();
    if (view().empty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!CanModify())
        DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    doEvent(BeforeEdit);
    checkOperation([this] { loadBuffer(currentSlot()); }, OnEditError);
    SetState(dsEdit);
    DataEvent(deRecordChange);
    doEvent(AfterEdit);
}

void TDataSet::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert)
        DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    DataEvent(deUpdateRecord);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (m_state == dsEdit || m_state == dsInsert) {
        UpdateRecord();
        if (m_modified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::checkRequiredFields()
{
    for (TField* f : m_fields) {
        if (f->Required() && !f->ReadOnly() && f->FieldKind() == fkData && f->DataType() != ftAutoInc
            && f->m_column >= 0) {
            const QVariant& v = bufferCell(std::size_t(f->m_column));
            if (!v.isValid() || v.isNull()) {
                f->FocusControl();
                DatabaseError(QStringLiteral("Field '%1' must have a value").arg(f->DisplayName()));
            }
        }
    }
}

void TDataSet::assignAutoInc()
{
    for (TField* f : m_fields) {
        if (f->DataType() != ftAutoInc || f->m_column < 0)
            continue;
        const std::size_t col = std::size_t(f->m_column);
        qint64& next = m_autoIncNext[col];
        if (next == 0) {
            qint64 mx = 0;
            for (std::uint32_t s = 0; s < m_store.slotCount(); ++s)
                if (m_store.isAlive(s) && !m_store.isNull(s, int(col)))
                    mx = std::max<qint64>(mx, m_store.int32At(s, int(col)));
            next = mx + 1;
        }
        const QVariant& v = bufferCell(col);
        if (!v.isValid() || v.isNull())
            m_buffer[col] = QVariant(int(next++));
        else
            next = std::max<qint64>(next, v.toLongLong() + 1);
    }
}

void TDataSet::internalPost()
{
    checkRequiredFields();
    if (m_state == dsInsert) {
        assignAutoInc();
        ApplyInsert();
        const bool middle = m_derivedView && m_insertPos >= 0 && m_insertPos < int(m_derived.size());
        if (middle)
            materializeOrder(); // before the new slot exists
        const std::uint32_t slot = m_store.appendRow();
        for (int c = 0; c < m_store.columnCount(); ++c)
            m_store.setValue(slot, c, m_buffer[std::size_t(c)]);
        // Natural order: where the record was inserted, or at the end for an append.
        if (!m_derivedView) {
            const std::size_t at = std::size_t(std::clamp(m_insertPos, 0, int(m_order.size())));
            if (at != m_order.size())
                m_orderIsSlotOrder = false;
            m_order.insert(m_order.begin() + std::ptrdiff_t(at), slot);
            m_pos = int(at);
        } else {
            if (middle) {
                auto it = std::find(m_order.begin(), m_order.end(), m_derived[std::size_t(m_insertPos)]);
                m_orderIsSlotOrder = false;
                m_order.insert(it, slot);
            } else if (!m_orderImplicit) {
                m_order.push_back(slot); // a new slot is the largest: slot order holds
            }
            placeInDerived(slot, false);
        }
        RowStored(slot, true);
    } else {
        const std::uint32_t slot = currentSlot();
        ApplyUpdate();
        bool keyChanged = false;
        for (int c = 0; c < m_store.columnCount(); ++c) {
            if (!m_changed[std::size_t(c)])
                continue;
            m_store.setValue(slot, c, bufferCell(std::size_t(c)));
            for (const SortKey& k : m_sortKeys)
                keyChanged = keyChanged || k.column == c;
        }
        if (m_derivedView && (keyChanged || hasFilter()))
            placeInDerived(slot, true);
        RowStored(slot, false);
    }
    clearBuffer();
    m_insertPos = -1;
    m_bof = m_eof = false;
    if (view().empty()) {
        m_pos = -1;
        m_bof = m_eof = true;
    }
}

void TDataSet::placeInDerived(std::uint32_t slot, bool removeFirst)
{
    if (removeFirst) {
        auto it = std::find(m_derived.begin(), m_derived.end(), slot);
        if (it != m_derived.end())
            m_derived.erase(it);
    }
    if (hasFilter() && !passesFilter(slot)) {
        // The record no longer belongs to the view; the cursor stays where it was.
        m_pos = m_derived.empty() ? -1 : std::clamp(m_pos, 0, int(m_derived.size()) - 1);
        return;
    }
    std::size_t at;
    if (!m_sortKeys.empty()) {
        auto it = std::upper_bound(m_derived.begin(), m_derived.end(), slot,
                                   [this](std::uint32_t a, std::uint32_t b) {
                                       return CompareSlots(a, b, m_sortKeys) < 0;
                                   });
        at = std::size_t(it - m_derived.begin());
    } else if (m_state == dsInsert) {
        at = std::size_t(std::clamp(m_insertPos, 0, int(m_derived.size())));
    } else {
        // Unsorted filtered view of an edited row: keep it where the natural order puts it.
        at = 0;
        auto natural = [this](std::uint32_t s) -> std::int64_t {
            if (m_orderImplicit)
                return s;
            return std::find(m_order.begin(), m_order.end(), s) - m_order.begin();
        };
        const std::int64_t p = natural(slot);
        for (std::size_t i = 0; i < m_derived.size(); ++i)
            if (natural(m_derived[i]) < p)
                at = i + 1;
    }
    m_derived.insert(m_derived.begin() + std::ptrdiff_t(at), slot);
    m_pos = int(at);
}

void TDataSet::Post()
{
    CheckActive();
    UpdateRecord();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    doEvent(BeforePost);
    checkOperation([this] { internalPost(); }, OnPostError);
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    doEvent(AfterPost);
}

void TDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    doEvent(BeforeCancel);
    clearBuffer();
    m_insertPos = -1;
    if (view().empty()) {
        m_pos = -1;
        m_bof = m_eof = true;
    }
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    doEvent(AfterCancel);
}

void TDataSet::materializeOrder()
{
    if (!m_orderImplicit)
        return;
    m_order.clear();
    m_order.reserve(m_store.liveCount());
    for (std::uint32_t s = 0; s < m_store.slotCount(); ++s)
        if (m_store.isAlive(s))
            m_order.push_back(s);
    m_orderImplicit = false;
}

void TDataSet::removeFromOrder(std::uint32_t slot)
{
    if (!m_orderImplicit) {
        auto it = std::find(m_order.begin(), m_order.end(), slot);
        if (it != m_order.end())
            m_order.erase(it);
    }
    if (m_derivedView) {
        auto jt = std::find(m_derived.begin(), m_derived.end(), slot);
        if (jt != m_derived.end())
            m_derived.erase(jt);
    }
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (view().empty())
        DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    DataEvent(deCheckBrowseMode);
    doEvent(BeforeDelete);
    doEvent(BeforeScroll);
    checkOperation(
        [this] {
            const std::uint32_t slot = currentSlot();
            ApplyDelete(slot);
            RowRemoving(slot);
            removeFromOrder(slot);
            m_store.removeRow(slot);
        },
        OnDeleteError);
    clearBuffer();
    const int n = int(view().size());
    m_pos = n == 0 ? -1 : std::min(m_pos, n - 1);
    m_bof = n == 0;
    m_eof = n == 0;
    if (m_state != dsBrowse)
        SetState(dsBrowse);
    DataEvent(deDataSetChange);
    DoAfterDelete();
    doEvent(AfterScroll);
}

// ---- bookmarks ---------------------------------------------------------------------------

TBookmark TDataSet::GetBookmark() const
{
    // While a data link reads another row of its window, the bookmark names that row, so a
    // grid can tell whether a painted row is selected without moving the cursor.
    if (m_readDisplay >= 0) {
        const ReadTarget t = targetOfDisplay(m_readDisplay);
        if (t.kind == Target::Slot)
            return makeBookmark(m_store.rowId(t.slot));
        if (t.kind != Target::Buffer || m_state != dsEdit)
            return TBookmark();
    }
    if (m_state == dsInactive || m_state == dsInsert || m_pos < 0)
        return TBookmark();
    return makeBookmark(m_store.rowId(currentSlot()));
}

int TDataSet::positionInView(std::uint32_t slot) const
{
    const std::vector<std::uint32_t>& v = view();
    if (m_orderIsSlotOrder && m_sortKeys.empty()) {
        auto it = std::lower_bound(v.begin(), v.end(), slot);
        return (it != v.end() && *it == slot) ? int(it - v.begin()) : -1;
    }
    auto it = std::find(v.begin(), v.end(), slot);
    return it == v.end() ? -1 : int(it - v.begin());
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const
{
    std::uint64_t id = 0;
    std::uint32_t slot = 0;
    if (m_state == dsInactive || !readBookmark(bookmark, id) || !m_store.slotOfId(id, slot))
        return false;
    return positionInView(slot) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    CheckBrowseMode();
    std::uint64_t id = 0;
    std::uint32_t slot = 0;
    int pos = -1;
    if (readBookmark(bookmark, id) && m_store.slotOfId(id, slot))
        pos = positionInView(slot);
    if (pos < 0)
        DatabaseError(QStringLiteral("Record not found"));
    doEvent(BeforeScroll);
    m_bof = m_eof = false;
    moveTo(pos, false);
    doEvent(AfterScroll);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    std::uint64_t x = 0, y = 0;
    const bool hx = readBookmark(a, x), hy = readBookmark(b, y);
    if (!hx || !hy)
        return hx == hy ? 0 : (hx ? 1 : -1);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// ---- fields ------------------------------------------------------------------------------

std::vector<TField*> TDataSet::GetFieldList(const QString& names) const
{
    std::vector<TField*> out;
    for (const QString& n : splitNames(names))
        out.push_back(FieldByName(n));
    return out;
}

QStringList TDataSet::FieldNames() const
{
    QStringList out;
    for (TField* f : m_fields)
        out << f->FieldName();
    return out;
}

QVariant TDataSet::FieldValues(const QString& names) const
{
    const std::vector<TField*> fields = GetFieldList(names);
    if (fields.size() == 1)
        return fields.front()->AsVariant();
    QVariantList out;
    for (TField* f : fields)
        out << f->AsVariant();
    return out;
}

void TDataSet::SetFieldValues(const QString& names, const QVariant& values)
{
    const std::vector<TField*> fields = GetFieldList(names);
    if (fields.size() == 1) {
        fields.front()->SetAsVariant(values);
        return;
    }
    const QVariantList list = values.toList();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->SetAsVariant(i < std::size_t(list.size()) ? list[qsizetype(i)] : QVariant());
}

std::unique_ptr<QIODevice> TDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    if (!field || field->DataSet() != this)
        DatabaseError(QStringLiteral("Invalid blob field"));
    if (mode != bmRead && m_state != dsEdit && m_state != dsInsert)
        DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    return std::make_unique<TBlobStream>(field, mode);
}

// ---- searching ---------------------------------------------------------------------------

namespace {

// One key of a locate, prepared once so that the row loop compares without conversions.
struct KeyMatcher
{
    TField* field = nullptr;
    int column = -1;
    bool text = false;
    bool null = false;
    bool partialText = false; // compare the field's text by its start
    QByteArray utf8;
    QVariant cell;
    QString textValue;
};

} // namespace

int TDataSet::findRow(const std::vector<TField*>& fields, const QVariantList& values,
                      TLocateOptions options, bool fromView) const
{
    (void)fromView;
    const bool ci = options.testFlag(loCaseInsensitive);
    const bool partial = options.testFlag(loPartialKey);
    std::vector<KeyMatcher> keys;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        KeyMatcher k;
        k.field = fields[i];
        k.column = fields[i]->m_column;
        const QVariant v = i < std::size_t(values.size()) ? values[qsizetype(i)] : QVariant();
        k.null = !v.isValid() || v.isNull();
        const bool isText = k.field->StorageKind() == qx::RecordStore::Kind::Text;
        if (!k.null) {
            if (isText) {
                k.text = true;
                k.textValue = v.toString();
                k.utf8 = k.textValue.toUtf8();
            } else if (partial) {
                k.partialText = true;
                k.textValue = v.toString();
            } else {
                try {
                    k.cell = k.field->ToCell(v);
                } catch (const EConvertError&) {
                    return -1; // a value the field cannot hold matches no row
                }
            }
        }
        keys.push_back(std::move(k));
    }

    const std::vector<std::uint32_t>& rows = view();
    auto* self = const_cast<TDataSet*>(this);
    for (std::size_t p = 0; p < rows.size(); ++p) {
        const std::uint32_t slot = rows[p];
        bool ok = true;
        for (const KeyMatcher& k : keys) {
            if (k.column < 0 || k.partialText) {
                // Calculated keys and partial keys on numbers compare through the field.
                QVariant v;
                QString s;
                {
                    const QScopedValueRollback reading(self->m_readOverride,
                                                       ReadTarget{Target::Slot, slot});
                    v = k.field->AsVariant();
                    s = k.field->AsString();
                }
                const bool isNull = !v.isValid() || v.isNull();
                if (k.null)
                    ok = isNull;
                else if (isNull)
                    ok = false;
                else if (k.partialText || k.text)
                    ok = partial ? s.startsWith(k.textValue, ci ? Qt::CaseInsensitive : Qt::CaseSensitive)
                                 : s.compare(k.textValue, ci ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
                else
                    ok = v == k.field->FromCell(k.cell);
            } else if (k.null) {
                ok = m_store.isNull(slot, k.column);
            } else if (m_store.isNull(slot, k.column)) {
                ok = false;
            } else if (k.text) {
                const std::string_view cellText = m_store.textBytes(slot, k.column);
                const std::string_view key(k.utf8.constData(), std::size_t(k.utf8.size()));
                ok = partial ? qx::RecordStore::startsWithUtf8(cellText, key, ci)
                             : qx::RecordStore::compareUtf8(cellText, key, ci) == 0;
            } else {
                ok = m_store.compareToValue(slot, k.column, k.cell, false) == 0;
            }
            if (!ok)
                break;
        }
        if (ok)
            return int(p);
    }
    return -1;
}

bool TDataSet::Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    const std::vector<TField*> fields = GetFieldList(keyFields);
    if (fields.empty())
        return false;
    const QVariantList values =
        fields.size() == 1 ? QVariantList{keyValues} : keyValues.toList();
    const int pos = findRow(fields, values, options, true);
    if (pos < 0)
        return false;
    doEvent(BeforeScroll);
    m_bof = m_eof = false;
    moveTo(pos, false);
    doEvent(AfterScroll);
    return true;
}

QVariant TDataSet::Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields)
{
    CheckActive();
    const std::vector<TField*> fields = GetFieldList(keyFields);
    const std::vector<TField*> results = GetFieldList(resultFields);
    if (fields.empty() || results.empty())
        return QVariant();
    const QVariantList values = fields.size() == 1 ? QVariantList{keyValues} : keyValues.toList();
    const int pos = findRow(fields, values, {}, true);
    if (pos < 0)
        return QVariant();
    QVariantList out;
    {
        const QScopedValueRollback reading(m_readOverride,
                                           ReadTarget{Target::Slot, view()[std::size_t(pos)]});
        for (TField* f : results)
            out << f->AsVariant();
    }
    return out.size() == 1 ? out.first() : QVariant(out);
}

// ---- filter and sort ---------------------------------------------------------------------

bool TDataSet::hasFilter() const
{
    return m_filtered && (m_filterExpr || OnFilterRecord);
}

bool TDataSet::passesFilter(std::uint32_t slot) const
{
    auto* self = const_cast<TDataSet*>(this);
    const QScopedValueRollback reading(self->m_readOverride, ReadTarget{Target::Slot, slot});
    const QScopedValueRollback filtering(self->m_state, dsFilter);
    bool accept = true;
    if (m_filterExpr)
        accept = m_filterExpr->matches(*this);
    if (accept && OnFilterRecord)
        OnFilterRecord(self, accept);
    return accept;
}

int TDataSet::CompareSlots(std::uint32_t a, std::uint32_t b, const std::vector<SortKey>& keys) const
{
    for (const SortKey& k : keys) {
        int r = m_store.compare(a, b, k.column, true);
        if (r != 0)
            return k.descending ? -r : r;
    }
    return 0;
}

int TDataSet::CompareBufferToSlot(std::uint32_t slot, const std::vector<SortKey>& keys) const
{
    for (const SortKey& k : keys) {
        int r = -m_store.compareToValue(slot, k.column, bufferCell(std::size_t(k.column)), true);
        if (r != 0)
            return k.descending ? -r : r;
    }
    return 0;
}

void TDataSet::rebuildView(bool keepCurrent)
{
    const bool hadCurrent = keepCurrent && m_pos >= 0 && m_pos < int(view().size());
    const std::uint32_t current = hadCurrent ? currentSlot() : 0;
    const bool derived = hasFilter() || !m_sortKeys.empty();
    if (!derived) {
        materializeOrder();
        m_derived.clear();
        m_derived.shrink_to_fit();
        m_derivedView = false;
    } else {
        std::vector<std::uint32_t> rows;
        const bool filter = hasFilter();
        if (m_orderImplicit) {
            rows.reserve(m_store.liveCount());
            for (std::uint32_t s = 0; s < m_store.slotCount(); ++s)
                if (m_store.isAlive(s) && (!filter || passesFilter(s)))
                    rows.push_back(s);
        } else {
            rows.reserve(m_order.size());
            for (std::uint32_t s : m_order)
                if (!filter || passesFilter(s))
                    rows.push_back(s);
        }
        if (!m_sortKeys.empty()) {
            if (m_orderIsSlotOrder && m_sortKeys.size() == 1
                && m_store.kind(m_sortKeys[0].column) == qx::RecordStore::Kind::Text) {
                m_store.sortByText(rows, m_sortKeys[0].column, m_sortKeys[0].descending, true);
            } else if (m_orderIsSlotOrder) {
                // Natural order is slot order: ties fall back to the slot, and the sort
                // needs no merge buffer.
                std::sort(rows.begin(), rows.end(), [this](std::uint32_t a, std::uint32_t b) {
                    const int c = CompareSlots(a, b, m_sortKeys);
                    return c != 0 ? c < 0 : a < b;
                });
            } else {
                std::stable_sort(rows.begin(), rows.end(), [this](std::uint32_t a, std::uint32_t b) {
                    return CompareSlots(a, b, m_sortKeys) < 0;
                });
            }
        }
        m_derived.swap(rows);
        m_derivedView = true;
        // While the natural order is plain slot order the store's live rows are that order:
        // the list itself is not needed (a million rows spare 4 MB).
        if (m_orderIsSlotOrder && !m_orderImplicit) {
            m_order.clear();
            m_order.shrink_to_fit();
            m_orderImplicit = true;
        }
    }
    const int n = int(view().size());
    m_pos = hadCurrent ? positionInView(current) : -1;
    if (m_pos < 0)
        m_pos = n == 0 ? -1 : 0;
    m_bof = n == 0 || (!hadCurrent);
    m_eof = n == 0;
    ++m_version;
}

void TDataSet::ResyncView()
{
    m_orderImplicit = false;
    m_order.clear();
    m_order.reserve(m_store.liveCount());
    for (std::uint32_t s = 0; s < m_store.slotCount(); ++s)
        if (m_store.isAlive(s))
            m_order.push_back(s);
    m_orderIsSlotOrder = true;
    rebuildView(false);
    if (Active())
        DataEvent(deDataSetChange);
}

void TDataSet::ClearRows()
{
    if (m_state == dsEdit || m_state == dsInsert) {
        clearBuffer();
        m_insertPos = -1;
        SetState(dsBrowse);
    }
    RowsCleared();
    m_store.clearRows();
    m_order.clear();
    m_order.shrink_to_fit();
    m_orderImplicit = m_derivedView;
    m_derived.clear();
    m_derived.shrink_to_fit();
    m_orderIsSlotOrder = true;
    std::fill(m_autoIncNext.begin(), m_autoIncNext.end(), 0);
    m_pos = -1;
    m_bof = m_eof = true;
    m_readDisplay = -1;
    ++m_version;
    if (Active())
        DataEvent(deDataSetChange);
}

void TDataSet::AddStoredRows(const std::vector<std::uint32_t>& rows)
{
    if (!m_orderImplicit)
        m_order.insert(m_order.end(), rows.begin(), rows.end());
    std::fill(m_autoIncNext.begin(), m_autoIncNext.end(), 0);
    rebuildView(true);
    if (Active())
        DataEvent(deDataSetChange);
}

void TDataSet::ForEachRecord(const std::function<bool()>& visit) const
{
    if (m_state == dsInactive)
        return;
    auto* self = const_cast<TDataSet*>(this);
    const QScopedValueRollback reading(self->m_readOverride);
    for (std::uint32_t slot : view()) {
        self->m_readOverride = ReadTarget{Target::Slot, slot};
        if (!visit())
            break;
    }
}

void TDataSet::Refresh()
{
    if (!Active())
        return;
    CheckBrowseMode();
    rebuildView(true);
    DataEvent(deDataSetChange);
}

void TDataSet::SetFilter(const QString& text)
{
    std::unique_ptr<qx::FilterExpression> expr;
    if (!text.trimmed().isEmpty())
        expr = qx::FilterExpression::parse(text);
    if (Active() && m_filtered)
        CheckBrowseMode();
    m_filterText = text;
    m_filterExpr = std::move(expr);
    if (Active() && m_filtered) {
        rebuildView(true);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::SetFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (Active())
        CheckBrowseMode();
    m_filtered = on;
    if (Active()) {
        rebuildView(true);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::SetSortKeys(std::vector<SortKey> keys, const QString& text)
{
    if (Active())
        CheckBrowseMode();
    m_sortKeys = std::move(keys);
    m_sortText = text;
    if (Active()) {
        rebuildView(true);
        DataEvent(deDataSetChange);
    }
}

std::vector<TDataSet::SortKey> TDataSet::sortKeysOf(const QString& text) const
{
    std::vector<SortKey> keys;
    for (QString part : text.split(QRegularExpression(QStringLiteral("[,;]")), Qt::SkipEmptyParts)) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        bool desc = false;
        if (part.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive)) {
            desc = true;
            part.chop(5);
        } else if (part.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
            part.chop(4);
        }
        part = part.trimmed();
        if (part.startsWith(u'[') && part.endsWith(u']'))
            part = part.mid(1, part.size() - 2);
        TField* f = FieldByName(part);
        if (f->m_column < 0)
            DatabaseError(QStringLiteral("Field '%1' cannot be used to sort").arg(f->DisplayName()));
        keys.push_back(SortKey{f->m_column, desc});
    }
    return keys;
}

void TDataSet::SetSort(const QString& text)
{
    if (!Active()) {
        m_sortText = text; // applied when the dataset opens
        m_sortKeys.clear();
        return;
    }
    SetSortKeys(sortKeysOf(text), text);
}
