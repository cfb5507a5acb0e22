#include "usystem/vcl/controls/uBase.h"

#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Focus.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QChildEvent>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TFrmBase::TFrmBase(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmBase"));
    setWindowTitle(QStringLiteral("FrmBase"));
    resize(544, 375);
    setFont(qx::libraryFont(9));
    setAutoFillBackground(true);
    SetColor(clBtnFace);
    // Children placed with Align lay themselves out on the form.
    new qx::AlignLayout(this);
    qx::markFormRoot(this);

    OnCreate = [this](QObject* Sender) { FormCreate(Sender); };
    OnKeyDown = [this](QObject* Sender, int& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    watchKeys(this);
    if (OnCreate)
        qx::guard(this, [&] { OnCreate(this); });
}

TFrmBase::~TFrmBase() = default;

void TFrmBase::SetColor(TColor value)
{
    FColor = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(value));
    setPalette(pal);
}

void TFrmBase::FormCreate(QObject*) {}

void TFrmBase::FormKeyDown(QObject*, int& Key, TShiftState)
{
    if (Key == VK_ESCAPE)
        Close();
}

void TFrmBase::FormShow(QObject*)
{
    BeforeFormLook();
    ApplyFormLook(this);
    AfterFormLook();
}

// ---- key preview -----------------------------------------------------------------------------

void TFrmBase::watchKeys(QObject* object)
{
    // The form sees the keys of every control on it before the control does.
    object->installEventFilter(this);
    for (QObject* child : object->children())
        if (child->isWidgetType())
            watchKeys(child);
}

bool TFrmBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            watchKeys(child);
        return false;
    }
    if (event->type() == QEvent::KeyPress && FKeyPreview && OnKeyDown) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Keys of this form's own controls only (not of a dialog opened over it).
        if (!w || w->window() != this)
            return false;
        auto* ke = static_cast<QKeyEvent*>(event);
        int key = qx::vkFromKeyEvent(ke);
        if (key == 0)
            return false;
        QPointer<TFrmBase> self(this);
        qx::guard(this, [&] { OnKeyDown(this, key, qx::shiftState(ke)); });
        if (!self)
            return true;
        // A handled Esc or a swallowed key goes no further.
        if (key == 0 || !isVisible())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- show and close --------------------------------------------------------------------------

void TFrmBase::showEvent(QShowEvent* event)
{
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
    } else if (FPosition == poMainFormCenter && parentWidget()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.left() + (owner.width() - width()) / 2, owner.top() + (owner.height() - height()) / 2);
    }
    QDialog::showEvent(event);
    if (OnShow && !event->spontaneous())
        qx::guard(this, [&] { OnShow(this); });
}

bool TFrmBase::QueryClose(TCloseAction& action)
{
    bool canClose = true;
    if (OnCloseQuery)
        qx::guard(this, [&] { OnCloseQuery(this, canClose); });
    if (!canClose)
        return false;
    action = caHide;
    if (OnClose)
        qx::guard(this, [&] { OnClose(this, action); });
    return action != caNone;
}

void TFrmBase::done(int r)
{
    if (FClosing)
        return;
    TCloseAction action = caHide;
    if (!QueryClose(action))
        return;
    if (action == caMinimize) {
        showMinimized();
        return;
    }
    FClosing = true;
    QDialog::done(r);
    FClosing = false;
    // Released only after the caller of the modal run has read the result.
    if (action == caFree)
        deleteLater();
}

void TFrmBase::reject()
{
    Close();
}

void TFrmBase::Close()
{
    // A form closed without a button's result answers mrCancel.
    done(qx::mrCancel);
}

void TFrmBase::closeEvent(QCloseEvent* event)
{
    // The close box and Alt+F4 close the form the same way as Close().
    event->ignore();
    if (isVisible())
        Close();
}
