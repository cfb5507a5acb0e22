#include "usystem/vcl/dbedits/uQxDBEdit.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/env/Beep.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/env/MissingBinding.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <exception>

TQxLookupField::TQxLookupField(TQxDBEDIT* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("LookupField"));
}

TQxDBEDIT::TQxDBEDIT(QWidget* parent)
    : TQxEdit(parent), m_dataLink(std::make_unique<TFieldDataLink>()),
      m_lookupField(new TQxLookupField(this))
{
    m_dataLink->SetControl(this);
    m_dataLink->OnDataChange = [this](QObject*) { DataChange(); };
    m_dataLink->OnEditingChange = [this](QObject*) { EditingChange(); };
    m_dataLink->OnUpdateData = [this](QObject*) { UpdateData(); };
    // The window is read-only until the link edits; the first key, paste or input-method
    // text asks the dataset to edit.
    setWindowReadOnly(true);
}

TQxDBEDIT::~TQxDBEDIT()
{
    // The link goes first, so no dataset event reaches a half-destroyed edit.
    m_dataLink.reset();
}

void TQxDBEDIT::setWindowReadOnly(bool value)
{
    setReadOnly(value);
    // A read-only line edit turns input methods off; this one must take their text while
    // its dataset is not yet editing, since that text is what starts the editing.
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

TField* TQxDBEDIT::GetField() const
{
    return m_dataLink->Field();
}

QString TQxDBEDIT::DataField() const
{
    return m_dataLink->FieldName();
}

void TQxDBEDIT::SetDataField(const QString& value)
{
    ResetMaxLength();
    m_dataLink->SetFieldName(value);
}

TDataSource* TQxDBEDIT::DataSource() const
{
    return m_dataLink->DataSource();
}

void TQxDBEDIT::SetDataSource(TDataSource* value)
{
    // The link holds the source by a guarded pointer: a freed source unbinds the edit.
    if (value == m_dataLink->DataSource())
        return;
    m_dataLink->SetDataSource(value);
}

bool TQxDBEDIT::ReadOnly() const
{
    return m_dataLink->ReadOnly();
}

void TQxDBEDIT::SetReadOnly(bool value)
{
    m_dataLink->SetReadOnly(value);
}

bool TQxDBEDIT::CanModify() const
{
    return m_dataLink->Edit();
}

void TQxDBEDIT::ButtonClick()
{
    TQxEdit::ButtonClick();
    // A text edit has no pad of its own: its button opens the picker of its field's
    // definition, which acts only on fields of a document structure.
    if (DataType() == edtText && !ReadOnly() && Button()->Visible()) {
        if (const auto& pick = qx::editLookupBinding().pickFieldValue)
            pick(this);
        else
            qx::reportMissingBinding(this, QStringLiteral("PickFieldValue"));
    }
}

void TQxDBEDIT::ResetMaxLength()
{
    if (MaxLength() <= 0 || !DataSource() || !DataSource()->DataSet())
        return;
    TField* f = DataSource()->DataSet()->FindField(DataField());
    if (f && (f->DataType() == ftString || f->DataType() == ftWideString) && f->Size() == MaxLength())
        setMaxLength(0);
}

void TQxDBEDIT::Reset()
{
    m_dataLink->Reset();
    selectAll();
}

void TQxDBEDIT::UpdateRecord()
{
    m_dataLink->UpdateRecord();
}

void TQxDBEDIT::Loaded()
{
    ResetMaxLength();
    if (m_lookupField->Enabled())
        SetDataField(m_lookupField->NameField());
}

// ---- link notifications --------------------------------------------------------------------

void TQxDBEDIT::DataChange()
{
    TField* f = GetField();
    const bool wasFromField = m_fromField;
    m_fromField = true;
    if (f) {
        const int a = int(f->Alignment());
        if (a != m_fieldAlignment) {
            setText(QString());
            m_fieldAlignment = a;
            SetAlignment(a == taRightJustify ? TQxCustomEdit::taRightJustify
                         : a == taCenter     ? TQxCustomEdit::taCenter
                                             : TQxCustomEdit::taLeftJustify);
        }
        setEditMask(f->EditMask());
        if ((f->DataType() == ftString || f->DataType() == ftWideString) && MaxLength() == 0)
            setMaxLength(f->Size());
        // The same text is not set again: putting the dataset into edit state reports a
        // record change, and resetting the text then would drop the selection the user is
        // about to type over.
        const QString shown = f->DisplayText();
        if (shown != Text())
            setText(shown);
        if (m_dataLink->Editing())
            setModified(true);
    } else {
        m_fieldAlignment = 0;
        SetAlignment(TQxCustomEdit::taLeftJustify);
        setEditMask(QString());
        setText(QString());
    }
    m_fromField = wasFromField;
}

void TQxDBEDIT::EditingChange()
{
    setWindowReadOnly(!m_dataLink->Editing());
}

void TQxDBEDIT::UpdateData()
{
    ValidateEdit();
    if (TField* f = GetField())
        f->SetText(Text());
}

void TQxDBEDIT::Change()
{
    // Text the user (or a pad) put in is the value to write; text shown from the field is not.
    if (!m_fromField)
        m_dataLink->SetModified();
    TQxEdit::Change();
}

// ---- keys and input ------------------------------------------------------------------------

void TQxDBEDIT::KeyDown(int& Key, TShiftState Shift)
{
    TQxEdit::KeyDown(Key, Shift);
    if (Key == VK_DELETE || (Key == VK_INSERT && Shift.testFlag(ssShift)))
        m_dataLink->Edit();
}

void TQxDBEDIT::KeyPress(QChar& Key)
{
    TQxEdit::KeyPress(Key);
    if (Key.isNull())
        return;
    TField* f = GetField();
    if (Key.unicode() >= 32 && f && !f->IsValidChar(Key)) {
        qx::beep();
        Key = QChar();
        return;
    }
    const char16_t c = Key.unicode();
    if (c == 8 || c == 22 || c == 24 || c >= 32)
        m_dataLink->Edit();
}

void TQxDBEDIT::inputMethodEvent(QInputMethodEvent* event)
{
    // Composing starts the editing as typing does; the committed characters then pass the
    // same checks as typed ones.
    if (isReadOnly() && (!event->preeditString().isEmpty() || !event->commitString().isEmpty()))
        m_dataLink->Edit();
    TQxEdit::inputMethodEvent(event);
}

void TQxDBEDIT::contextMenuEvent(QContextMenuEvent* event)
{
    // Paste and Cut of the menu change the value: the dataset edits first.
    m_dataLink->Edit();
    TQxEdit::contextMenuEvent(event);
}

// ---- focus ---------------------------------------------------------------------------------

void TQxDBEDIT::DoEnter()
{
    TQxEdit::DoEnter();
    if (m_lookupField->Enabled())
        SetDataField(m_lookupField->CodeField());
}

void TQxDBEDIT::DoExit()
{
    TQxEdit::DoExit();
    if (m_lookupField->Enabled())
        SetDataField(m_lookupField->NameField());
}

void TQxDBEDIT::focusOutEvent(QFocusEvent* event)
{
    // An open pad is cancelled first, so its intermediate value never reaches the field.
    ClosePadOnFocusOut(event);
    if (qx::writeFieldOnFocusOut(*this, *m_dataLink, *event, [this] { selectAll(); })) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    TQxEdit::focusOutEvent(event);
}

bool qx::writeFieldOnFocusOut(QWidget& control, TFieldDataLink& link, const QFocusEvent& event,
                              std::function<void()> selectText)
{
    if (event.reason() == Qt::PopupFocusReason || event.reason() == Qt::ActiveWindowFocusReason)
        return false;
    std::exception_ptr failure;
    try {
        link.UpdateRecord();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure)
        return false;
    QPointer<QWidget> self(&control);
    // Shown after the focus move has finished: a message box and a focus change inside the
    // focus handler would run into the move in progress.
    QTimer::singleShot(0, &control, [self, failure, selectText = std::move(selectText)] {
        if (!self)
            return;
        qx::guard(self, [&] { std::rethrow_exception(failure); });
        if (!self)
            return;
        selectText();
        self->setFocus(Qt::OtherFocusReason);
    });
    return true;
}
