#include "platform/stream/ClassRegistry.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace qx {

namespace {

struct Entry
{
    QByteArray name;
    const QMetaObject* mo = nullptr;
    ComponentFactory factory;
};

struct Registry
{
    QMutex mutex;
    QHash<QByteArray, Entry> byName; // key: lower-case name
    QHash<const QMetaObject*, QByteArray> nameOf;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

void registerClass(const QMetaObject* mo, ComponentFactory factory, QByteArray name)
{
    if (!mo || !factory)
        return;
    if (name.isEmpty())
        name = mo->className();
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.byName.insert(name.toLower(), Entry{name, mo, std::move(factory)});
    r.nameOf.insert(mo, name);
}

void unregisterClass(const QByteArray& name)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.byName.find(name.toLower());
    if (it == r.byName.end())
        return;
    if (r.nameOf.value(it->mo) == it->name)
        r.nameOf.remove(it->mo);
    r.byName.erase(it);
}

const QMetaObject* findClass(const QByteArray& name)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.byName.constFind(name.toLower());
    return it == r.byName.constEnd() ? nullptr : it->mo;
}

QObject* createComponent(const QByteArray& name, QObject* parent)
{
    ComponentFactory factory;
    {
        Registry& r = registry();
        QMutexLocker lock(&r.mutex);
        const auto it = r.byName.constFind(name.toLower());
        if (it == r.byName.constEnd())
            return nullptr;
        factory = it->factory;
    }
    return factory(parent);
}

QByteArray streamClassName(const QMetaObject* mo)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const QByteArray name = r.nameOf.value(mo);
    return name.isEmpty() ? QByteArray(mo->className()) : name;
}

bool isRegisteredClass(const QMetaObject* mo)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.nameOf.contains(mo);
}

} // namespace qx
