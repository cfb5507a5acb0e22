#include "usystem/vcl/dbedits/uQxDBCheckBox.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QSignalBlocker>

namespace {

// On every show of a library form a data check box's caption passes through the text hook; its
// row comes before the plain check box's, which would take it too.
const bool gDBCheckBoxLookRegistered = [] {
    RegisterFormLookRule(flrDBCheckBox, [](QObject* component) {
        auto* box = qobject_cast<TQxDBCheckBox*>(component);
        if (!box)
            return false;
        box->SetCaption(qx::localizeText(box->Caption()));
        return true;
    });
    return true;
}();

} // namespace

TQxDBCheckBox::TQxDBCheckBox(QWidget* parent)
    : TQxCheckBox(parent), m_dataLink(std::make_unique<TFieldDataLink>())
{
    m_dataLink->SetControl(this);
    m_dataLink->OnDataChange = [this](QObject*) { DataChange(); };
}

TQxDBCheckBox::~TQxDBCheckBox()
{
    // The link goes first, so no dataset event reaches a half-destroyed control.
    m_dataLink.reset();
}

TField* TQxDBCheckBox::GetField() const
{
    return m_dataLink->Field();
}

QString TQxDBCheckBox::DataField() const
{
    return m_dataLink->FieldName();
}

void TQxDBCheckBox::SetDataField(const QString& value)
{
    m_dataLink->SetFieldName(value);
}

TDataSource* TQxDBCheckBox::DataSource() const
{
    return m_dataLink->DataSource();
}

void TQxDBCheckBox::SetDataSource(TDataSource* value)
{
    if (value != m_dataLink->DataSource())
        m_dataLink->SetDataSource(value);
}

bool TQxDBCheckBox::ReadOnly() const
{
    return m_dataLink->ReadOnly();
}

void TQxDBCheckBox::SetReadOnly(bool value)
{
    m_dataLink->SetReadOnly(value);
}

void TQxDBCheckBox::DataChange()
{
    TField* f = GetField();
    const bool ticked = f && !f->IsNull() && f->AsBoolean();
    // The value shown by code is no click of the user's.
    const QSignalBlocker quiet(this);
    SetChecked(ticked);
    update();
}

void TQxDBCheckBox::nextCheckState()
{
    bool editing = false;
    qx::guard(this, [&] { editing = m_dataLink->Edit(); });
    TField* f = GetField();
    if (!editing || !f)
        return;
    const bool ticked = !Checked();
    qx::guard(this, [&] { f->SetText(ticked ? QStringLiteral("True") : QStringLiteral("False")); });
    // The field may have refused or changed the value: the box shows what it holds.
    DataChange();
    Click();
}
