// The class registry: the class names of component images and the factories that make them.
// A reader creates every component of an image from the class named in it, so each class that
// is stored must be registered once (usually by the unit that defines it, or in the stream's
// OnRegister event).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QWidget>

#include <functional>
#include <type_traits>

namespace qx {

// Makes a component whose QObject parent is parent (a QWidget for controls, or null).
using ComponentFactory = std::function<QObject*(QObject* parent)>;

// Registers (or replaces) the class named name. An empty name takes the class name of mo.
void registerClass(const QMetaObject* mo, ComponentFactory factory, QByteArray name = {});

template <class T>
void registerClass(QByteArray name = {})
{
    registerClass(
        &T::staticMetaObject,
        [](QObject* parent) -> QObject* {
            if constexpr (std::is_base_of_v<QWidget, T>)
                return new T(qobject_cast<QWidget*>(parent));
            else
                return new T(parent);
        },
        std::move(name));
}

void unregisterClass(const QByteArray& name);

// The meta object of a registered class name (case-insensitive), or null.
const QMetaObject* findClass(const QByteArray& name);
// Creates a component of the registered class name, or null when the name is unknown.
QObject* createComponent(const QByteArray& name, QObject* parent);
// The stored class name of a meta object: its registered name, else its class name.
QByteArray streamClassName(const QMetaObject* mo);
// True when the class of mo (exactly) is registered.
bool isRegisteredClass(const QMetaObject* mo);

} // namespace qx
