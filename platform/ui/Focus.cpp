#include "platform/ui/Focus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QWidget>

namespace qx {

namespace {

const char* const kFormRootProperty = "qxFormRoot";

bool isRoot(const QWidget* w)
{
    return w->isWindow() || w->property(kFormRootProperty).toBool();
}

// The control each form has entered last. Keys are forms, values the notifiers; a notifier
// removes itself when it leaves or dies, so no entry outlives its control.
QHash<const QWidget*, FocusNotifier*>& enteredControls()
{
    static QHash<const QWidget*, FocusNotifier*> map;
    return map;
}

} // namespace

void markFormRoot(QWidget* widget, bool root)
{
    if (widget)
        widget->setProperty(kFormRootProperty, root);
}

QWidget* formOf(QWidget* widget)
{
    QWidget* w = widget;
    while (w && !isRoot(w))
        w = w->parentWidget();
    return w;
}

bool isTabStop(const QWidget* w)
{
    if (!w || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled())
        return false;
    const QWidget* form = formOf(const_cast<QWidget*>(w));
    return form && w->isVisibleTo(form);
}

QWidget* findNextControl(QWidget* current, bool forward)
{
    if (!current)
        return nullptr;
    // The focus proxy's owner stands in the tab order, not the proxy itself.
    QWidget* start = current;
    QWidget* form = formOf(start);
    if (!form)
        return nullptr;
    QWidget* w = start;
    // The focus chain is a ring over the whole window; walk it once.
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start)
            return nullptr;
        if (w != form && form->isAncestorOf(w) && formOf(w) == form && isTabStop(w))
            return w;
    }
}

QWidget* selectNextControl(QWidget* current, bool forward)
{
    QWidget* next = findNextControl(current, forward);
    if (next)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return next;
}

FocusNotifier::FocusNotifier(QWidget* control, std::function<void()> onEnter,
                             std::function<void()> onExit)
    : m_control(control), m_onEnter(std::move(onEnter)), m_onExit(std::move(onExit))
{}

FocusNotifier::~FocusNotifier()
{
    if (m_form) {
        auto& map = enteredControls();
        auto it = map.find(m_form);
        if (it != map.end() && it.value() == this)
            map.erase(it);
    }
}

void FocusNotifier::leave()
{
    if (!m_entered)
        return;
    m_entered = false;
    auto& map = enteredControls();
    auto it = map.find(m_form);
    if (it != map.end() && it.value() == this)
        map.erase(it);
    m_form = nullptr;
    if (m_onExit)
        m_onExit();
}

void FocusNotifier::focusIn(const QFocusEvent*)
{
    // Any focus-in counts when the control was not the form's entered control: also the first
    // focus a form gives when it is shown (which Qt reports as window activation).
    if (m_entered)
        return;
    QWidget* form = formOf(m_control);
    auto& map = enteredControls();
    if (FocusNotifier* previous = map.value(form, nullptr); previous && previous != this)
        previous->leave();
    m_form = form;
    map.insert(form, this);
    m_entered = true;
    if (m_onEnter)
        m_onEnter();
}

void FocusNotifier::focusOut(const QFocusEvent* event)
{
    if (!m_entered)
        return;
    const Qt::FocusReason reason = event ? event->reason() : Qt::OtherFocusReason;
    QWidget* now = QApplication::focusWidget();
    if (!now) {
        // Window deactivation and popups take the keyboard away without changing the form's
        // active control; a plain clearFocus() leaves the form without one.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return;
        leave();
        return;
    }
    // Focus given to another form (a popup, another window) keeps this control the active
    // one of its own form; only a move inside the form is an exit.
    if (formOf(now) == m_form)
        leave();
}

} // namespace qx
