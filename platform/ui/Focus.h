// Focus movement between the controls of one form, and the enter/exit notices a control gets
// when the focus really moves to or from it inside its form.
//
// A "form" is the nearest ancestor that is a window or that is marked as a form root
// (markFormRoot): forms shown inside an MDI area are not windows of their own, yet the focus
// keys must stay inside them.
#pragma once

#include <functional>

class QFocusEvent;
class QWidget;

namespace qx {

// Marks a widget as the root of a form for the focus helpers (MDI children, embedded forms).
void markFormRoot(QWidget* widget, bool root = true);
// The form the widget belongs to: itself when it is a root, else the nearest root ancestor.
QWidget* formOf(QWidget* widget);

// Whether a widget can take the focus by Tab: tab focus policy, enabled, visible within its
// form, and not forwarding its focus to a proxy.
bool isTabStop(const QWidget* widget);

// The form's "select next control": moves the focus from current to the next (forward) or the
// previous tab stop of the same form in tab order, wrapping at the ends. Returns the control
// that got the focus, or nullptr when the form has no other tab stop.
QWidget* selectNextControl(QWidget* current, bool forward);
// The tab stop that selectNextControl would pick, without moving the focus.
QWidget* findNextControl(QWidget* current, bool forward);

// Enter and exit notices of one control. Qt sends focus events also when the window is
// (de)activated or a popup menu opens and closes; the library's OnEnter/OnExit count only
// moves between the controls of one form, so this keeps per form which control was entered
// last and calls onExit/onEnter only when that changes.
// Feed it the control's focusInEvent and focusOutEvent.
class FocusNotifier
{
public:
    FocusNotifier(QWidget* control, std::function<void()> onEnter, std::function<void()> onExit);
    ~FocusNotifier();
    FocusNotifier(const FocusNotifier&) = delete;
    FocusNotifier& operator=(const FocusNotifier&) = delete;

    void focusIn(const QFocusEvent* event);
    void focusOut(const QFocusEvent* event);
    // Whether the control is its form's entered control (has had OnEnter without OnExit).
    bool entered() const { return m_entered; }

private:
    void leave();

    QWidget* m_control;
    QWidget* m_form = nullptr; // the form where the control was entered
    std::function<void()> m_onEnter;
    std::function<void()> m_onExit;
    bool m_entered = false;
};

} // namespace qx
