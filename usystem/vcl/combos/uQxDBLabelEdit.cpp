#include "usystem/vcl/combos/uQxDBLabelEdit.h"

#include "platform/ui/Components.h"
#include "platform/ui/TextHook.h"
#include "platform/env/MissingBinding.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

namespace qx {

namespace {

LabelledLookBinding& lookBinding()
{
    static LabelledLookBinding binding;
    return binding;
}

// The control's own Enabled, not whether its parent is enabled too.
bool ownEnabled(const QWidget* w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

// Whether the control was hidden on purpose (its Visible is False).
bool explicitlyHidden(const QWidget* w)
{
    return w->testAttribute(Qt::WA_WState_Hidden) && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

void setLabelledLookBinding(LabelledLookBinding binding)
{
    lookBinding() = std::move(binding);
}

const LabelledLookBinding& labelledLookBinding()
{
    return lookBinding();
}

ControlLabel::ControlLabel(QWidget* control) : m_control(control)
{
    auto* label = new TQxLabel(control->parentWidget());
    m_label = label;
    // The control owns its label: the form's own component list does not show it.
    insertComponent(control, label);
    label->setFont(control->font());
    label->SetFontColor(clGreen); // the colour by which the look pass recognises it
    label->SetTransparent(true);
    label->SetAutoSize(true);
    label->setEnabled(ownEnabled(control));
    label->setLayoutDirection(control->layoutDirection());
    if (explicitlyHidden(control))
        label->hide();
    else if (control->isVisible())
        label->show();
    control->installEventFilter(this);
    place();
}

ControlLabel::~ControlLabel()
{
    if (m_control)
        m_control->removeEventFilter(this);
    delete m_label.data();
}

QString ControlLabel::caption() const
{
    return m_label ? m_label->Caption() : QString();
}

void ControlLabel::setCaption(const QString& caption)
{
    if (!m_label)
        return;
    m_label->SetCaption(caption);
    updateAccelerator();
    place();
}

TColor ControlLabel::color() const
{
    return m_label ? m_label->FontColor() : clGreen;
}

void ControlLabel::setColor(TColor color)
{
    if (m_label)
        m_label->SetFontColor(color);
}

void ControlLabel::updateAccelerator()
{
    // The label's '&' letter focuses the control, as a label's focus control is reached.
    const QKeySequence key = QKeySequence::mnemonic(m_label->Caption());
    if (key.isEmpty() || !m_label->ShowAccelChar()) {
        delete m_accelerator.data();
        return;
    }
    if (!m_accelerator) {
        m_accelerator = new QShortcut(m_label);
        QWidget* control = m_control;
        connect(m_accelerator, &QShortcut::activated, control, [control] {
            if (control->isEnabled())
                control->setFocus(Qt::ShortcutFocusReason);
        });
    }
    m_accelerator->setKey(key);
}

void ControlLabel::place()
{
    if (!m_label || m_placing)
        return;
    m_placing = true;
    TAlign align = alignOf(m_control);
    if (align == alClient)
        align = alLeft;
    if (alignOf(m_label) != align)
        m_label->SetAlign(align);
    const int w = m_label->width();
    m_label->setGeometry(m_control->x() - w, m_control->y() + 2, w, m_control->height());
    m_placing = false;
}

void ControlLabel::followParent()
{
    if (!m_label)
        return;
    QWidget* parent = m_control->parentWidget();
    if (m_label->parentWidget() != parent)
        m_label->setParent(parent);
    if (explicitlyHidden(m_control))
        m_label->hide();
    else if (parent && (m_control->isVisible() || parent->isVisible()))
        m_label->show();
    place();
}

bool ControlLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_control && m_label) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            place();
            break;
        case QEvent::ParentChange:
            followParent();
            break;
        case QEvent::ShowToParent:
            // A control without a parent shows as a window of its own; its label has no
            // place to go then.
            if (m_label->parentWidget())
                m_label->show();
            break;
        case QEvent::HideToParent:
            m_label->hide();
            break;
        case QEvent::EnabledChange:
            m_label->setEnabled(ownEnabled(m_control));
            break;
        case QEvent::LayoutDirectionChange:
            m_label->setLayoutDirection(m_control->layoutDirection());
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qx

// ---- the controls --------------------------------------------------------------------------

tQxDBLabelEdit::tQxDBLabelEdit(QWidget* parent)
    : TQxDBEDIT(parent), m_label(std::make_unique<qx::ControlLabel>(this))
{
}

tQxDBLabelEdit::~tQxDBLabelEdit() = default;

TQxDBLabelComboBox::TQxDBLabelComboBox(QWidget* parent)
    : TQxDBComboBox(parent), m_label(std::make_unique<qx::ControlLabel>(this))
{
}

TQxDBLabelComboBox::~TQxDBLabelComboBox() = default;

// ---- the library's look --------------------------------------------------------------------

namespace {

template <class Control>
void applyLook(Control* control, const QString& fieldName)
{
    control->SetLabelCaption(qx::localizeText(control->LabelCaption()));
    if (dmDatabase) {
        if (control->LabelColor() == clGreen)
            control->SetLabelColor(dmDatabase->LabelColor);
        control->SetLineColor(dmDatabase->LineColor);
    }
    const auto& find = qx::labelledLookBinding().fieldDefinition;
    if (!find && !fieldName.isEmpty())
        qx::reportMissingBinding(control, QStringLiteral("LabelledFieldDefinition"));
    qx::LabelledFieldDefinition definition;
    if (find && !fieldName.isEmpty() && find(control->DataSource(), fieldName, definition)) {
        control->SetLabelCaption(definition.caption);
        if (!definition.visible)
            control->hide();
        if (definition.required)
            control->SetLabelColor(clNavy);
    }
}

} // namespace

void ApplyLabelledLook(tQxDBLabelEdit* Control)
{
    if (!Control)
        return;
    // The input method is left to the user: neither forced open nor closed.
    Control->setAttribute(Qt::WA_InputMethodEnabled, true);
    Control->setInputMethodHints(Qt::ImhNone);
    // A lookup pair is defined by its code field.
    const QString field = Control->LookupField()->Enabled() && !Control->LookupField()->CodeField().isEmpty()
                              ? Control->LookupField()->CodeField()
                              : Control->DataField();
    applyLook(Control, field);
}

void ApplyLabelledLook(TQxDBLabelComboBox* Control)
{
    if (!Control)
        return;
    applyLook(Control, Control->DataField());
}

namespace {

// The look pass knows the labelled controls through the rules this unit adds.
[[maybe_unused]] const bool lookRulesRegistered = [] {
    RegisterFormLookRule(flrDBLabelComboBox, [](QObject* c) {
        auto* control = qobject_cast<TQxDBLabelComboBox*>(c);
        if (control)
            ApplyLabelledLook(control);
        return control != nullptr;
    });
    RegisterFormLookRule(flrDBLabelEdit, [](QObject* c) {
        auto* control = qobject_cast<tQxDBLabelEdit*>(c);
        if (control)
            ApplyLabelledLook(control);
        return control != nullptr;
    });
    return true;
}();

} // namespace
