// Owners and components. A component is a QObject, its Name the objectName. A non-visual
// component's owner is its QObject parent; a control's owner is its form, whatever panel it
// sits on, so the owner keeps its own list of components in creation order. Code that builds
// a form registers each component with insertComponent; components that are not registered
// are still found among the owner's descendants (in child order, after the registered ones).
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace qx {

// Adds component to owner's list (once); it leaves the list when it is destroyed.
void insertComponent(QObject* owner, QObject* component);
void removeComponent(QObject* owner, QObject* component);
// The owner a component was registered with, else nullptr.
QObject* componentOwner(const QObject* component);

// The owner's components: the registered ones in creation order, then the named descendants
// that no other owner claims, in child order.
QList<QObject*> components(const QObject* owner);
// The component of that name, compared without case; nullptr when there is none.
QObject* findComponent(const QObject* owner, const QString& name);

// The removal notice: notice(component) runs when component is destroyed, as long as
// receiver lives. Holders of a reference clear it here (or hold a QPointer).
QMetaObject::Connection notifyRemoval(QObject* component, QObject* receiver,
                                      std::function<void(QObject*)> notice);

} // namespace qx
