// Data links: how a control follows a data source. A link sees a window of BufferCount
// records around the current one (a grid shows one row per record of its window) and hears
// about activation, data changes, scrolling, layout, focus requests, editing state and
// pending updates through the virtual notifications below.
#pragma once

#include "platform/db/DB.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class TDataLink
{
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const { return m_active; }
    bool Editing() const { return m_editing; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    // A visual control hears about every scroll (grids); other links only about changes.
    bool VisualControl() const { return m_visualControl; }
    void SetVisualControl(bool v) { m_visualControl = v; }

    // The window: BufferCount records at most, RecordCount of them present; ActiveRecord is
    // the window row field reads refer to. Setting it reads another row of the window
    // without moving the dataset or raising events; set it back to the current row after.
    int BufferCount() const { return m_bufferCount; }
    void SetBufferCount(int count);
    int RecordCount() const;
    int ActiveRecord() const;
    void SetActiveRecord(int row);
    // The window's first record among the dataset's records.
    int FirstRecord() const { return m_firstRecord; }
    bool Bof() const;
    bool Eof() const;

    // Puts the dataset into edit state through the source; true when it now edits.
    bool Edit();
    // Asks the control for its pending value (UpdateData) without re-entering.
    void UpdateRecord();
    // Called by the source.
    void DataEvent(TDataEvent event, TField* field, int distance);
    void FocusControlEvent(TField*& field) { FocusControl(field); }

protected:
    virtual void ActiveChanged() {}
    // The link now reads another source (its active state may not have changed with it).
    virtual void DataSourceChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { (void)distance; DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void FocusControl(TField*& field) { (void)field; }
    virtual void EditingChanged() {}
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}

private:
    friend class TDataSource;
    void updateState();
    int updateRange(); // returns the distance the window moved
    void setActive(bool v);
    void setEditing(bool v);

    QPointer<TDataSource> m_dataSource;
    int m_bufferCount = 1;
    int m_firstRecord = 0;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    bool m_visualControl = false;
};

// The link of a control bound to one field (an edit, a check box).
class TFieldDataLink : public TDataLink
{
public:
    TFieldDataLink() = default;

    QObject* Control() const { return m_control; }
    void SetControl(QObject* control) { m_control = control; }
    QString FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    TField* Field() const { return m_field; }
    // The field can be changed now (the link is not read-only and the field can modify).
    bool CanModify() const;
    // Puts the dataset into edit state; true when the link now edits.
    bool Edit();
    bool Modified() const { return m_modified; }
    // Editing the field: the dataset edits and the field can be modified.
    bool Editing() const { return m_editing; }
    // Marks the control's value as changed (typing), so UpdateRecord writes it.
    void SetModified() { m_modified = true; }
    // Throws away the control's change: the control shows the field again.
    void Reset();
    // Writes a changed control value into the field (through OnUpdateData).
    void UpdateRecord();

    std::function<void(QObject* Sender)> OnDataChange;
    std::function<void(QObject* Sender)> OnEditingChange;
    std::function<void(QObject* Sender)> OnUpdateData;
    std::function<void(QObject* Sender)> OnActiveChange;

protected:
    void ActiveChanged() override;
    // From one open dataset to another the active state does not change: the field is
    // looked up again in the new dataset.
    void DataSourceChanged() override { updateField(); }
    void EditingChanged() override;
    void FocusControl(TField*& field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void updateField();
    void setField(TField* field);
    QPointer<QObject> m_control;
    QString m_fieldName;
    QPointer<TField> m_field;
    bool m_modified = false;
    bool m_editing = false;
};
