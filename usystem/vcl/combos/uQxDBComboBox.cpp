#include "usystem/vcl/combos/uQxDBComboBox.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/Beep.h"
#include "platform/env/ExceptionGuard.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "platform/rtl/Exceptions.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>

#include <exception>

TQxDBComboBox::TQxDBComboBox(QWidget* parent)
    : TQxComboBox(parent), m_dataLink(std::make_unique<TFieldDataLink>())
{
    m_dataLink->SetControl(this);
    m_dataLink->OnDataChange = [this](QObject*) { DataChange(); };
    m_dataLink->OnEditingChange = [this](QObject*) { EditingChange(); };
    m_dataLink->OnUpdateData = [this](QObject*) { UpdateData(); };
    EditCreated();
}

TQxDBComboBox::~TQxDBComboBox()
{
    // The link goes first, so no dataset event reaches a half-destroyed control.
    m_dataLink.reset();
}

TField* TQxDBComboBox::GetField() const
{
    return m_dataLink->Field();
}

QString TQxDBComboBox::DataField() const
{
    return m_dataLink->FieldName();
}

void TQxDBComboBox::SetDataField(const QString& value)
{
    m_dataLink->SetFieldName(value);
}

TDataSource* TQxDBComboBox::DataSource() const
{
    return m_dataLink->DataSource();
}

void TQxDBComboBox::SetDataSource(TDataSource* value)
{
    // The link holds the source by a guarded pointer: a freed source unbinds the control.
    if (value == m_dataLink->DataSource())
        return;
    m_dataLink->SetDataSource(value);
}

bool TQxDBComboBox::ReadOnly() const
{
    return m_dataLink->ReadOnly();
}

void TQxDBComboBox::SetReadOnly(bool value)
{
    m_dataLink->SetReadOnly(value);
}

void TQxDBComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == csSimple && m_dataSourceFixed)
        throw EDatabaseError(QStringLiteral("不能替换！！"));
    TQxComboBox::SetStyle(value);
    DataChange();
}

void TQxDBComboBox::SetItems(const QStringList& value)
{
    TQxComboBox::SetItems(value);
    DataChange();
}

QString TQxDBComboBox::GetComboText() const
{
    return Text();
}

void TQxDBComboBox::SetComboText(const QString& Value)
{
    if (Value == GetComboText())
        return;
    QScopedValueRollback guard(m_settingByCode, true);
    int index = -1;
    if (Style() != csDropDown) {
        // Items are matched without regard to case, as the platform's lists do.
        index = Value.isEmpty() ? -1 : findText(Value, Qt::MatchFixedString);
        setCurrentIndex(index);
    }
    if (index < 0 && HasEdit() && lineEdit())
        lineEdit()->setText(Value);
    update();
}

void TQxDBComboBox::UpdateRecord()
{
    m_dataLink->UpdateRecord();
}

void TQxDBComboBox::Reset()
{
    m_dataLink->Reset();
    SelectAll();
}

// ---- link notifications --------------------------------------------------------------------

void TQxDBComboBox::DataChange()
{
    if (m_keepShown)
        return;
    // An open list shows what the user is choosing; the value comes back when it closes.
    if (Style() != csSimple && DroppedDown())
        return;
    TField* f = GetField();
    SetComboText(f ? f->Text() : QString());
}

void TQxDBComboBox::EditingChange()
{
    EditCreated();
}

void TQxDBComboBox::EditCreated()
{
    // The edit part takes typing only while the field edits; the first key asks for that.
    if (HasEdit() && lineEdit() && m_dataLink) {
        lineEdit()->setReadOnly(!m_dataLink->Editing());
        // A read-only line edit turns input methods off; their text is what starts editing.
        lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, true);
        setAttribute(Qt::WA_InputMethodEnabled, true);
    }
}

void TQxDBComboBox::UpdateData()
{
    if (TField* f = GetField())
        f->SetText(GetComboText());
}

bool TQxDBComboBox::EditKeepingShown()
{
    QScopedValueRollback keep(m_keepShown, true);
    bool editing = false;
    qx::guard(this, [&] { editing = m_dataLink->Edit(); });
    return editing;
}

// ---- user changes --------------------------------------------------------------------------

void TQxDBComboBox::Change()
{
    EditKeepingShown();
    TQxComboBox::Change();
    if (m_dataLink->Editing())
        m_dataLink->SetModified();
}

void TQxDBComboBox::Click()
{
    EditKeepingShown();
    TQxComboBox::Click();
    if (m_dataLink->Editing())
        m_dataLink->SetModified();
}

bool TQxDBComboBox::AcceptUserPick()
{
    if (EditKeepingShown())
        return true;
    // The dataset cannot edit: the pick is refused and the field's value shown again.
    DataChange();
    return false;
}

void TQxDBComboBox::showPopup()
{
    EditKeepingShown();
    TQxComboBox::showPopup();
}

void TQxDBComboBox::hidePopup()
{
    const bool was = DroppedDown();
    TQxComboBox::hidePopup();
    if (was && !m_dataLink->Editing())
        DataChange();
}

// ---- keys and input ------------------------------------------------------------------------

void TQxDBComboBox::KeyDown(int& Key, TShiftState Shift)
{
    TQxComboBox::KeyDown(Key, Shift);
    if (Key == VK_BACK || (Key >= 32 && Key <= 255)) {
        // The arrows would move the selection of a value that cannot change.
        if (!EditKeepingShown() && (Key == VK_UP || Key == VK_DOWN))
            Key = 0;
    }
}

void TQxDBComboBox::KeyPress(QChar& Key)
{
    TQxComboBox::KeyPress(Key);
    if (Key.isNull())
        return;
    TField* f = GetField();
    if (Key.unicode() >= 32 && f && !f->IsValidChar(Key)) {
        qx::beep();
        Key = QChar();
        return;
    }
    const char16_t c = Key.unicode();
    if (c == 8 || c == 22 || c == 24 || c >= 32) {
        EditKeepingShown();
    } else if (c == 27) {
        m_dataLink->Reset();
        SelectAll();
    }
}

void TQxDBComboBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Composing starts the editing as typing does.
    if (lineEdit() && lineEdit()->isReadOnly()
        && (!event->preeditString().isEmpty() || !event->commitString().isEmpty()))
        EditKeepingShown();
    TQxComboBox::inputMethodEvent(event);
}

// ---- focus ---------------------------------------------------------------------------------

void TQxDBComboBox::focusOutEvent(QFocusEvent* event)
{
    // The exit handling (the colour going back) does not run when the value was refused.
    if (qx::writeFieldOnFocusOut(*this, *m_dataLink, *event, [this] { SelectAll(); })) {
        QComboBox::focusOutEvent(event);
        return;
    }
    TQxComboBox::focusOutEvent(event);
}
