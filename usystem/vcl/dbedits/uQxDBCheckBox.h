// The data check box: the library's check box bound to a Boolean field through a data source.
// It shows the field's value (a null value unticked) and, when the user ticks or unticks it,
// puts the dataset into edit state and writes "True" or "False" through the field's text
// setter at once, so a form's field rules run on the change as they do on typed text. While
// the dataset cannot edit, a click leaves the box as it was.
#pragma once

#include "platform/db/DataSource.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <memory>

class TField;
class TFieldDataLink;

class TQxDBCheckBox : public TQxCheckBox
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    explicit TQxDBCheckBox(QWidget* parent = nullptr);
    ~TQxDBCheckBox() override;

    // The bound field; null when none is bound.
    TField* GetField() const;
    QString DataField() const;
    void SetDataField(const QString& value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    TFieldDataLink* DataLink() const { return m_dataLink.get(); }

protected:
    // The user's click: the change is refused unless the dataset edits, then written.
    void nextCheckState() override;

private:
    void DataChange();

    std::unique_ptr<TFieldDataLink> m_dataLink;
};
