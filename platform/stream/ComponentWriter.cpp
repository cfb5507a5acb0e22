#include "platform/stream/ComponentWriter.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/Persistent.h"
#include "platform/stream/PublishedProperties.h"

#include <QMetaEnum>

namespace qx {

namespace {

// Deeper object graphs than this are a cycle among sub-objects, not a real image.
constexpr int MaxWriteDepth = 64;

void checkDepth(int depth)
{
    if (depth > MaxWriteDepth)
        throw EWriteError(QStringLiteral("Stream write error: objects nested too deep"));
}

QList<QByteArray> setMembers(const QMetaEnum& e, int value)
{
    QList<QByteArray> members;
    for (int i = 0; i < e.keyCount(); ++i) {
        const int bit = e.value(i);
        // Only single members are written; combined keys would repeat them.
        if (bit != 0 && (bit & (bit - 1)) == 0 && (value & bit) == bit)
            members.append(e.key(i));
    }
    return members;
}

} // namespace

ComponentWriter::ComponentWriter(QIODevice& device)
    : m_out(device)
{}

QList<QObject*> ComponentWriter::streamedChildren(const QObject* component)
{
    if (const auto* s = dynamic_cast<const Streamable*>(component))
        if (auto children = s->streamedChildren())
            return *children;
    QList<QObject*> out;
    for (QObject* child : component->children())
        if (!qobject_cast<PersistentObject*>(child) && isRegisteredClass(child->metaObject()))
            out.append(child);
    return out;
}

void ComponentWriter::writeComponent(const QObject* component)
{
    m_out.writeSignature();
    writeBody(component, 0);
}

void ComponentWriter::writeBody(const QObject* component, int depth)
{
    checkDepth(depth);
    m_out.writeShortBytes(streamClassName(component->metaObject()));
    m_out.writeName(component->objectName());
    writePropertiesAt(component, {}, depth);
    m_out.writeListEnd();
    for (const QObject* child : streamedChildren(component))
        writeBody(child, depth + 1);
    m_out.writeListEnd();
}

void ComponentWriter::writeProperties(const QObject* obj, const QByteArray& prefix)
{
    writePropertiesAt(obj, prefix, 0);
}

void ComponentWriter::writeCollection(const Collection* collection, int depth)
{
    checkDepth(depth);
    m_out.writeValueType(vaCollection);
    for (const CollectionItem* item : collection->items()) {
        m_out.writeListBegin();
        writePropertiesAt(item, {}, depth + 1);
        m_out.writeListEnd();
    }
    m_out.writeListEnd();
}

void ComponentWriter::writePropertiesAt(const QObject* obj, const QByteArray& prefix, int depth)
{
    checkDepth(depth);
    const QMetaObject* mo = obj->metaObject();
    for (const QMetaProperty& p : publishedProperties(mo)) {
        if (!isPropertyStored(obj, p))
            continue;
        const QByteArray name = prefix + p.name();
        const QVariant value = p.read(obj);
        switch (propertyKind(p, value.value<QObject*>())) {
        case PropertyKind::Unsupported: break;
        case PropertyKind::Boolean:
            m_out.writeShortBytes(name);
            m_out.writeBoolean(value.toBool());
            break;
        case PropertyKind::Integer:
        case PropertyKind::Int64: {
            m_out.writeShortBytes(name);
            const qint64 v = value.toLongLong();
            if (const auto idents = integerIdents(mo, p))
                if (auto ident = idents->toIdent(v)) {
                    m_out.writeIdent(*ident);
                    break;
                }
            m_out.writeInteger(v);
            break;
        }
        case PropertyKind::Float:
            m_out.writeShortBytes(name);
            m_out.writeFloat(value.toDouble());
            break;
        case PropertyKind::String:
            m_out.writeShortBytes(name);
            m_out.writeString(value.toString());
            break;
        case PropertyKind::Enumeration: {
            const char* key = p.enumerator().valueToKey(value.toInt());
            m_out.writeShortBytes(name);
            if (key)
                m_out.writeIdent(key);
            else
                m_out.writeInteger(value.toInt());
            break;
        }
        case PropertyKind::Set:
            m_out.writeShortBytes(name);
            m_out.writeSet(setMembers(p.enumerator(), value.toInt()));
            break;
        case PropertyKind::StringList:
            m_out.writeShortBytes(name + ".Strings");
            m_out.writeStringList(value.toStringList());
            break;
        case PropertyKind::Binary:
            m_out.writeShortBytes(name);
            m_out.writeBinary(value.toByteArray());
            break;
        case PropertyKind::Collection:
            if (const auto* c = qobject_cast<const Collection*>(value.value<QObject*>())) {
                m_out.writeShortBytes(name);
                writeCollection(c, depth + 1);
            }
            break;
        case PropertyKind::SubObject:
            if (const QObject* sub = value.value<QObject*>())
                writePropertiesAt(sub, name + '.', depth + 1);
            break;
        case PropertyKind::Reference:
            if (const QObject* target = value.value<QObject*>(); target && !target->objectName().isEmpty()) {
                m_out.writeShortBytes(name);
                m_out.writeValueType(vaIdent);
                m_out.writeName(target->objectName());
            }
            break;
        }
    }
    if (const auto* s = dynamic_cast<const Streamable*>(obj))
        s->writeExtraProperties(m_out, prefix);
}

} // namespace qx
