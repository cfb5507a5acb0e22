#include "platform/db/DataSource.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"

#include <algorithm>

TDataSource::TDataSource(QObject* owner) : QObject(owner) {}

TDataSource::~TDataSource()
{
    // Links outlive their source in many forms: they fall back to no source.
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* l : links)
        l->SetDataSource(nullptr);
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addDataSource(this);
    updateState();
}

void TDataSource::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    updateState();
}

bool TDataSource::IsLinkedTo(const TDataSet* dataSet) const
{
    return m_dataSet && m_dataSet == dataSet;
}

void TDataSource::Edit()
{
    if (m_autoEdit && m_state == dsBrowse && m_dataSet)
        m_dataSet->Edit();
}

void TDataSource::addLink(TDataLink* link)
{
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
        m_links.push_back(link);
}

void TDataSource::removeLink(TDataLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

void TDataSource::updateState()
{
    const TDataSetState s = (m_enabled && m_dataSet) ? m_dataSet->State() : dsInactive;
    if (s == m_state)
        return;
    const bool wasActive = m_state != dsInactive;
    m_state = s;
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* l : links)
        if (std::find(m_links.begin(), m_links.end(), l) != m_links.end())
            l->updateState();
    (void)wasActive;
    if (OnStateChange)
        OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int distance)
{
    if (event == deUpdateState) {
        updateState();
        return;
    }
    if (m_state == dsInactive)
        return;
    // By index: a link may leave (or a new one join) while the event goes round; a link
    // takes itself off the list before it is destroyed, so every entry is alive.
    for (std::size_t i = 0; i < m_links.size(); ++i)
        m_links[i]->DataEvent(event, field, distance);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange)
            OnDataChange(this, field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::FocusControl(TField*& field)
{
    if (m_state == dsInactive)
        return;
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* l : links) {
        if (!field)
            return;
        if (std::find(m_links.begin(), m_links.end(), l) != m_links.end())
            l->FocusControlEvent(field);
    }
}
