// TDataSource: the go-between of one dataset and the data links of the controls showing it.
// It passes the dataset's events to its links and tells its own listeners about changes of
// data and state.
#pragma once

#include "platform/db/DB.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class TDataSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    explicit TDataSource(QObject* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet);
    // A disabled source shows its links an inactive dataset.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool v) { m_autoEdit = v; }
    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }
    // The dataset's state as the links see it (dsInactive when disabled or without dataset).
    TDataSetState State() const { return m_state; }
    // Puts the dataset into edit state when AutoEdit allows it and it is browsing.
    void Edit();
    bool IsLinkedTo(const TDataSet* dataSet) const;

    std::function<void(TDataSource* Sender, TField* Field)> OnDataChange;
    std::function<void(TDataSource* Sender)> OnStateChange;
    std::function<void(TDataSource* Sender)> OnUpdateData;

    // Called by the dataset.
    void DataEvent(TDataEvent event, TField* field, int distance);
    void FocusControl(TField*& field);
    const std::vector<TDataLink*>& Links() const { return m_links; }

private:
    friend class TDataLink;
    friend class TDataSet;
    void addLink(TDataLink* link);
    void removeLink(TDataLink* link);
    void updateState();

    QPointer<TDataSet> m_dataSet;
    std::vector<TDataLink*> m_links;
    TDataSetState m_state = dsInactive;
    bool m_enabled = true;
    bool m_autoEdit = true;
    int m_tag = 0;
};
