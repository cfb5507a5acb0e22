// The window messages the library posts and broadcasts, as Qt event types. One place, so
// that two controls never pick the same number.
#pragma once

#include <QEvent>
#include <QPointer>

class QObject;

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

} // namespace qx
