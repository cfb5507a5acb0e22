#include "platform/ui/Messages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace qx {

void broadcastToParent(QWidget* control, LibraryMessage message, long value)
{
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    // A receiver may destroy siblings while handling the message: walk guarded pointers.
    QList<QPointer<QWidget>> receivers;
    for (QObject* o : parent->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
            receivers.append(w);
    for (const QPointer<QWidget>& w : receivers) {
        if (!w)
            continue;
        LibraryEvent event(message, control, value);
        QCoreApplication::sendEvent(w, &event);
    }
}

} // namespace qx
