// The data combo box: the library's combo box bound to one field of a dataset through a data
// source. It shows the field's text (in a pick-only style: the item of that text, or none),
// puts the dataset into edit state when the user starts to change the value (typing, opening
// the list, the arrow keys), and writes its text into the field when the record is written or
// the focus leaves. While the dataset cannot edit, the selection does not move.
#pragma once

#include "platform/db/DataSource.h"
#include "usystem/vcl/combos/uQxComboBox.h"

#include <memory>

class QInputMethodEvent;
class TField;
class TFieldDataLink;

class TQxDBComboBox : public TQxComboBox
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ReadOnly=false")
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QxComboTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)

public:
    explicit TQxDBComboBox(QWidget* parent = nullptr);
    ~TQxDBComboBox() override;

    // The bound field; null when none is bound.
    TField* GetField() const;
    QString DataField() const;
    void SetDataField(const QString& value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    // The data link's read-only flag.
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    TFieldDataLink* DataLink() const { return m_dataLink.get(); }

    // A container that hands its own data source to the control fixes it: the control then
    // keeps that source and refuses the list-under-edit style.
    bool DataSourceFixed() const { return m_dataSourceFixed; }
    void SetDataSourceFixed(bool value) { m_dataSourceFixed = value; }

    // Raises EDatabaseError for csSimple while the data source is fixed.
    void SetStyle(TComboBoxStyle value) override;
    // Copies the lines, then shows the field's value among them again.
    void SetItems(const QStringList& value) override;

    // The value as the field gets it: the edit text with an edit, else the selected item's
    // text (empty without a selection).
    QString GetComboText() const;
    // Shows a value: with a pick-only style the item of that text (none for an empty text or
    // a text not among the items); with an edit, the item or else the text itself.
    void SetComboText(const QString& Value);
    // Writes a changed value into the field now. Raises when the field cannot take it.
    void UpdateRecord();
    // Shows the field's value again, throwing away the change, and selects the text.
    void Reset();

    void showPopup() override;
    void hidePopup() override;

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void Click() override;
    void EditCreated() override;
    bool AcceptUserPick() override;

    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();
    // Asks the link to edit, keeping what the control shows (the dataset's change of state
    // reports the record again, which must not undo the user's change); errors are shown.
    bool EditKeepingShown();

    std::unique_ptr<TFieldDataLink> m_dataLink;
    bool m_dataSourceFixed = false;
    bool m_keepShown = false;
};
