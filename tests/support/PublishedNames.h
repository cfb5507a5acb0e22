// What the component stream sees of a class and of an object: the names of the published
// properties in streaming order, and of those an object writes.
#pragma once

#include "platform/stream/PublishedProperties.h"

#include <QMetaObject>
#include <QObject>
#include <QStringList>

namespace qx::test {

inline QStringList publishedNames(const QMetaObject* mo)
{
    QStringList out;
    for (const QMetaProperty& p : qx::publishedProperties(mo))
        out << QString::fromLatin1(p.name());
    return out;
}

inline QStringList storedNames(const QObject* obj)
{
    QStringList out;
    for (const QMetaProperty& p : qx::publishedProperties(obj->metaObject()))
        if (qx::isPropertyStored(obj, p))
            out << QString::fromLatin1(p.name());
    return out;
}

} // namespace qx::test
