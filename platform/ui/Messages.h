// The window messages the library posts and broadcasts, as Qt event types. One place, so
// that two controls never pick the same number.
#pragma once

#include <QEvent>
#include <QPointer>

class QObject;
class QWidget;

namespace qx {

// WM_USER = 0x0400 in the library's numbering; Qt event types are offset from QEvent::User.
enum class LibraryMessage : int {
    DeferredLayout = 100, // a grid's layout pass, posted to itself and de-duplicated
    EnabledChanged = 102, // broadcast: a sibling's enabled state (value 1 or 0)
    MouseEntered = 103,   // broadcast: the mouse entered a sibling
    MouseLeft = 104,      // broadcast: the mouse left a sibling
};

constexpr QEvent::Type eventType(LibraryMessage m)
{
    return QEvent::Type(QEvent::User + int(m));
}

// A library message with the sender (WParam) and a value (LParam).
class LibraryEvent : public QEvent
{
public:
    LibraryEvent(LibraryMessage m, QObject* sender, long value = 0)
        : QEvent(eventType(m)), m_sender(sender), m_value(value)
    {}
    LibraryMessage message() const { return LibraryMessage(type() - QEvent::User); }
    QObject* sender() const { return m_sender; }
    long value() const { return m_value; }

private:
    QPointer<QObject> m_sender;
    long m_value;
};

// Sends the message (WParam = control, LParam = value) to every control of control's parent,
// the control itself included, as the parent's broadcast does. Nothing when it has no parent.
void broadcastToParent(QWidget* control, LibraryMessage message, long value = 0);

// The three broadcasts the library's controls make about themselves.
inline void broadcastEnabled(QWidget* control, bool enabled)
{
    broadcastToParent(control, LibraryMessage::EnabledChanged, enabled ? 1 : 0);
}
inline void broadcastMouseEntered(QWidget* control)
{
    broadcastToParent(control, LibraryMessage::MouseEntered);
}
inline void broadcastMouseLeft(QWidget* control)
{
    broadcastToParent(control, LibraryMessage::MouseLeft);
}

} // namespace qx
