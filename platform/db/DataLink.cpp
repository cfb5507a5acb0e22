#include "platform/db/DataLink.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

#include <QMetaObject>
#include <QScopedValueRollback>

#include <algorithm>

// ---- TDataLink ---------------------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (m_dataSource)
        m_dataSource->removeLink(this);
}

TDataSet* TDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == m_dataSource)
        return;
    if (m_dataSource)
        m_dataSource->removeLink(this);
    m_dataSource = source;
    if (m_dataSource)
        m_dataSource->addLink(this);
    updateState();
    DataSourceChanged();
}

void TDataLink::SetReadOnly(bool v)
{
    if (m_readOnly == v)
        return;
    m_readOnly = v;
    updateState();
}

void TDataLink::setActive(bool v)
{
    if (m_active == v)
        return;
    m_active = v;
    m_firstRecord = 0;
    if (v)
        updateRange();
    ActiveChanged();
}

void TDataLink::setEditing(bool v)
{
    if (m_editing == v)
        return;
    m_editing = v;
    EditingChanged();
}

void TDataLink::updateState()
{
    const bool active = m_dataSource && m_dataSource->State() != dsInactive;
    setActive(active);
    const TDataSetState s = m_dataSource ? m_dataSource->State() : dsInactive;
    setEditing(active && (s == dsEdit || s == dsInsert) && !m_readOnly);
}

void TDataLink::SetBufferCount(int count)
{
    m_bufferCount = std::max(1, count);
    if (m_active)
        updateRange();
}

int TDataLink::updateRange()
{
    TDataSet* ds = DataSet();
    if (!ds || !m_active) {
        m_firstRecord = 0;
        return 0;
    }
    const int total = ds->DisplayCount();
    const int cur = ds->DisplayIndex();
    int first = m_firstRecord;
    if (cur < 0) {
        first = 0;
    } else if (cur < first) {
        first = cur;
    } else if (cur >= first + m_bufferCount) {
        first = cur - m_bufferCount + 1;
    }
    // A full window where the records allow it: no empty rows below while rows exist above.
    if (first + m_bufferCount > total)
        first = std::max(0, total - m_bufferCount);
    if (cur >= 0 && first > cur)
        first = cur;
    const int distance = first - m_firstRecord;
    m_firstRecord = first;
    return distance;
}

int TDataLink::RecordCount() const
{
    TDataSet* ds = DataSet();
    if (!ds || !m_active)
        return 0;
    return std::clamp(ds->DisplayCount() - m_firstRecord, 0, m_bufferCount);
}

int TDataLink::ActiveRecord() const
{
    TDataSet* ds = DataSet();
    if (!ds || !m_active)
        return 0;
    const int r = ds->ReadRecord() >= 0 ? ds->ReadRecord() : ds->DisplayIndex();
    return r - m_firstRecord;
}

void TDataLink::SetActiveRecord(int row)
{
    TDataSet* ds = DataSet();
    if (!ds || !m_active)
        return;
    ds->SetReadRecord(m_firstRecord + row);
}

bool TDataLink::Bof() const
{
    TDataSet* ds = DataSet();
    return !ds || ds->Bof();
}

bool TDataLink::Eof() const
{
    TDataSet* ds = DataSet();
    return !ds || ds->Eof();
}

bool TDataLink::Edit()
{
    if (!m_readOnly && m_dataSource)
        m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord()
{
    const QScopedValueRollback updating(m_updating, true);
    UpdateData();
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int /*distance*/)
{
    if (event == deUpdateState) {
        updateState();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating)
            RecordChanged(field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        const int moved = updateRange();
        if (event == deDataSetChange)
            DataSetChanged();
        else if (event == deDataSetScroll)
            DataSetScrolled(moved);
        else
            LayoutChanged();
        break;
    }
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    default:
        break;
    }
}

// ---- TFieldDataLink ----------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const QString& name)
{
    if (m_fieldName == name)
        return;
    m_fieldName = name;
    updateField();
}

void TFieldDataLink::updateField()
{
    TField* f = nullptr;
    if (Active() && !m_fieldName.isEmpty() && DataSet())
        f = DataSet()->FindField(m_fieldName);
    setField(f);
}

void TFieldDataLink::setField(TField* field)
{
    if (m_field == field)
        return;
    m_field = field;
    EditingChanged();
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && m_field && m_field->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return m_editing;
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateRecord()
{
    TDataLink::UpdateRecord();
}

void TFieldDataLink::ActiveChanged()
{
    updateField();
    if (OnActiveChange)
        OnActiveChange(m_control);
}

void TFieldDataLink::EditingChanged()
{
    const bool editing = TDataLink::Editing() && CanModify();
    if (editing == m_editing)
        return;
    m_editing = editing;
    m_modified = false;
    if (OnEditingChange)
        OnEditingChange(m_control);
}

void TFieldDataLink::FocusControl(TField*& field)
{
    if (!field || field != m_field || !m_control)
        return;
    // Controls are widgets; their setFocus() slot is reached without a widget dependency here.
    const QMetaObject* mo = m_control->metaObject();
    if (mo->indexOfMethod("setFocus()") < 0)
        return;
    if (!m_control->property("enabled").toBool() || !m_control->property("visible").toBool())
        return;
    field = nullptr;
    QMetaObject::invokeMethod(m_control, "setFocus");
}

void TFieldDataLink::LayoutChanged()
{
    updateField();
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field && field != m_field)
        return;
    if (OnDataChange)
        OnDataChange(m_control);
    m_modified = false;
}

void TFieldDataLink::UpdateData()
{
    if (!m_modified)
        return;
    if (m_field && OnUpdateData)
        OnUpdateData(m_control);
    m_modified = false;
}
