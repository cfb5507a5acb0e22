// The data edit: the typed edit bound to one field of a dataset through a data source. It
// shows the field's display text, puts the dataset into edit state when the user starts to
// change the value (typing, pasting, input-method text, a pad), and writes its text back
// through the field's text conversion when the record is written, also when the form saves
// without the focus leaving the edit (the dataset's Post asks every link for its value, and
// UpdateRecord does so on demand). The lookup pair shows a name column while the edit is not
// focused and edits the code column while it is.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <functional>
#include <memory>

class QFocusEvent;
class TField;
class TFieldDataLink;
class TQxDBEDIT;

class TQxLookupField : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString CodeField READ CodeField WRITE SetCodeField)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString NameField READ NameField WRITE SetNameField)

public:
    explicit TQxLookupField(TQxDBEDIT* owner);

    QString CodeField() const { return m_codeField; }
    void SetCodeField(const QString& value) { m_codeField = value; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value) { m_enabled = value; }
    QString NameField() const { return m_nameField; }
    void SetNameField(const QString& value) { m_nameField = value; }

private:
    QString m_codeField;
    bool m_enabled = false;
    QString m_nameField;
};

class TQxDBEDIT : public TQxEdit
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ReadOnly=false")
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TQxLookupField* LookupField READ LookupField)

public:
    explicit TQxDBEDIT(QWidget* parent = nullptr);
    ~TQxDBEDIT() override;

    // The bound field; null when none is bound.
    TField* GetField() const;
    QString DataField() const;
    void SetDataField(const QString& value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    // The data link's read-only flag (the window follows the link's editing state).
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    TQxLookupField* LookupField() const { return m_lookupField; }
    TFieldDataLink* DataLink() const { return m_dataLink.get(); }

    // Asks the data link to edit; whether it edits now.
    bool CanModify() const override;
    void ButtonClick() override;
    void ResetMaxLength();
    // Shows the field's value again, throwing away what was typed, and selects it.
    void Reset();
    // Writes a changed text into the field now (the form's save calls it, or the dataset's
    // Post does through the data source). Raises when the field cannot take the text.
    void UpdateRecord();
    // After the form has set the properties: as when loaded from a form file.
    void Loaded();

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();
    void setWindowReadOnly(bool value);

    std::unique_ptr<TFieldDataLink> m_dataLink;
    TQxLookupField* m_lookupField = nullptr;
    int m_fieldAlignment = 0;
    bool m_fromField = false;
};

namespace qx {

// The focus-out step of a control bound to one field: the control's value is written when
// the focus leaves for another control (not for a pop-up or another window). A value the
// field cannot take keeps the user there: the error is shown (a silent refusal leaves the
// user guessing), the text is selected again by selectText and the focus comes back. True
// when the write failed: the caller then skips its own exit handling.
bool writeFieldOnFocusOut(QWidget& control, TFieldDataLink& link, const QFocusEvent& event,
                          std::function<void()> selectText);

} // namespace qx
