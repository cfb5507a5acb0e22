#include "platform/ui/Components.h"

#include <QPointer>

namespace qx {

namespace {

const char* const kOwnerProperty = "qxOwner";

// The owner's list lives in a hidden child, so it goes with the owner.
class ComponentList : public QObject
{
public:
    explicit ComponentList(QObject* owner) : QObject(owner)
    {
        setObjectName(QStringLiteral("qx_componentlist"));
    }
    QList<QPointer<QObject>> items;
};

ComponentList* listOf(const QObject* owner, bool create)
{
    if (!owner)
        return nullptr;
    for (QObject* c : owner->children())
        if (auto* list = dynamic_cast<ComponentList*>(c))
            return list;
    return create ? new ComponentList(const_cast<QObject*>(owner)) : nullptr;
}

} // namespace

void insertComponent(QObject* owner, QObject* component)
{
    if (!owner || !component || owner == component)
        return;
    if (QObject* previous = componentOwner(component); previous && previous != owner)
        removeComponent(previous, component);
    ComponentList* list = listOf(owner, true);
    for (const QPointer<QObject>& p : list->items)
        if (p == component)
            return;
    list->items.append(component);
    component->setProperty(kOwnerProperty, QVariant::fromValue(owner));
    // Forget the component when it goes.
    QObject::connect(component, &QObject::destroyed, list, [list, component] {
        list->items.removeIf([component](const QPointer<QObject>& p) {
            return p.isNull() || p.data() == component;
        });
    });
}

void removeComponent(QObject* owner, QObject* component)
{
    ComponentList* list = listOf(owner, false);
    if (!list || !component)
        return;
    list->items.removeIf([component](const QPointer<QObject>& p) { return p == component; });
    QObject::disconnect(component, &QObject::destroyed, list, nullptr);
    component->setProperty(kOwnerProperty, QVariant());
}

QObject* componentOwner(const QObject* component)
{
    return component ? component->property(kOwnerProperty).value<QObject*>() : nullptr;
}

QList<QObject*> components(const QObject* owner)
{
    QList<QObject*> result;
    if (!owner)
        return result;
    if (ComponentList* list = listOf(owner, false))
        for (const QPointer<QObject>& p : list->items)
            if (p)
                result.append(p.data());
    // Named descendants nobody registered elsewhere, depth first in child order.
    std::function<void(const QObject*)> walk = [&](const QObject* parent) {
        for (QObject* child : parent->children()) {
            if (dynamic_cast<ComponentList*>(child))
                continue;
            const QObject* claimed = componentOwner(child);
            if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_")
                && (!claimed || claimed == owner) && !result.contains(child))
                result.append(child);
            walk(child);
        }
    };
    walk(owner);
    return result;
}

QObject* findComponent(const QObject* owner, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (QObject* c : components(owner))
        if (c->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

QMetaObject::Connection notifyRemoval(QObject* component, QObject* receiver,
                                      std::function<void(QObject*)> notice)
{
    if (!component || !receiver || !notice)
        return {};
    return QObject::connect(component, &QObject::destroyed, receiver,
                            [notice = std::move(notice)](QObject* gone) { notice(gone); });
}

} // namespace qx
