#include "platform/stream/ComponentReader.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/Persistent.h"
#include "platform/stream/PublishedProperties.h"

#include <QMetaEnum>
#include <QWidget>

#include <limits>

namespace qx {

namespace {

[[noreturn]] void invalidValue(const QByteArray& property)
{
    throw EReadError(QStringLiteral("Invalid property value: %1").arg(QString::fromLatin1(property)));
}

int enumValue(const QMetaEnum& e, const QByteArray& key, bool& ok)
{
    for (int i = 0; i < e.keyCount(); ++i)
        if (qstricmp(e.key(i), key.constData()) == 0) {
            ok = true;
            return e.value(i);
        }
    ok = false;
    return 0;
}

bool isIntegerValue(TValueType t)
{
    return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}

} // namespace

QObject* findOwnedComponent(const QObject* owner, const QString& name)
{
    if (!owner || name.isEmpty())
        return nullptr;
    const QList<QObject*> all = owner->findChildren<QObject*>();
    for (QObject* o : all)
        if (!qobject_cast<PersistentObject*>(o) && o->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return o;
    return nullptr;
}

ComponentReader::ComponentReader(QIODevice& device, bool tolerant)
    : m_in(device)
    , m_tolerant(tolerant)
{}

QList<QObject*> ComponentReader::readComponentList(QObject* owner, QObject* parentWindow,
                                                   const std::function<void(QObject*)>& onRead)
{
    QList<QObject*> out;
    while (!m_in.endOfList()) {
        QObject* c = readComponent(owner, parentWindow);
        if (!c)
            continue;
        out.append(c);
        if (onRead)
            onRead(c);
    }
    m_in.readListEnd();
    return out;
}

QObject* ComponentReader::readComponent(QObject* owner, QObject* parentWindow)
{
    m_in.readSignature();
    return readBody(owner, parentWindow, 0, true);
}

void ComponentReader::readInto(QObject* instance)
{
    m_in.readSignature();
    ReaderDepth depth(m_in);
    // Filer flags of an inherited or inline component: the class name follows them.
    quint8 b = m_in.peekByte();
    if ((b & 0xF0) == 0xF0) {
        m_in.readByte();
        if (b & 0x02)
            m_in.readInteger();
    }
    const QByteArray className = m_in.readShortBytes();
    if (qstricmp(className.constData(), streamClassName(instance->metaObject()).constData()) != 0
        && qstricmp(className.constData(), instance->metaObject()->className()) != 0)
        throw EReadError(QStringLiteral("Invalid stream format: %1 is not %2")
                             .arg(QString::fromLatin1(className),
                                  QString::fromLatin1(instance->metaObject()->className())));
    m_in.readName();
    readProperties(instance);
    readChildren(instance, 1);
}

QObject* ComponentReader::createFor(const QMetaObject* mo, const QByteArray& className,
                                    QObject* owner, QObject* parentWindow)
{
    const bool control = mo->inherits(&QWidget::staticMetaObject);
    QObject* parent = owner;
    if (control) {
        QWidget* w = qobject_cast<QWidget*>(parentWindow);
        if (!w)
            w = qobject_cast<QWidget*>(owner);
        parent = w;
    }
    QObject* obj = createComponent(className, parent);
    if (!obj)
        throw EReadError(QStringLiteral("Class %1 not found").arg(QString::fromLatin1(className)));
    if (!obj->parent() && owner) {
        // A control without a window to sit on still belongs to its owner.
        QPointer<QObject> guard(obj);
        QObject::connect(owner, &QObject::destroyed, [guard] { delete guard.data(); });
    }
    return obj;
}

void ComponentReader::skipComponentRest()
{
    m_in.skipProperties();
    while (!m_in.endOfList()) {
        ReaderDepth depth(m_in);
        quint8 b = m_in.peekByte();
        if ((b & 0xF0) == 0xF0) {
            m_in.readByte();
            if (b & 0x02)
                m_in.readInteger();
        }
        m_in.readShortBytes();
        m_in.readShortBytes();
        skipComponentRest();
    }
    m_in.readListEnd();
}

QObject* ComponentReader::readBody(QObject* owner, QObject* parentWindow, int depth, bool top)
{
    ReaderDepth guard(m_in);
    quint8 b = m_in.peekByte();
    if ((b & 0xF0) == 0xF0) {
        m_in.readByte();
        if (b & 0x02)
            m_in.readInteger();
    }
    const QByteArray className = m_in.readShortBytes();
    if (className.isEmpty())
        ImageReader::failInvalid();
    QString name = m_in.readName();
    const QMetaObject* mo = findClass(className);
    if (!mo) {
        if (m_tolerant && !top) {
            skipComponentRest();
            return nullptr;
        }
        throw EReadError(QStringLiteral("Class %1 not found").arg(QString::fromLatin1(className)));
    }
    QPointer<QObject> obj = createFor(mo, className, owner, parentWindow);
    try {
        const QString asRead = name;
        if (OnCreateComponent)
            OnCreateComponent(obj);
        if (OnSetName)
            OnSetName(obj, name);
        obj->setObjectName(name);
        if (!asRead.isEmpty())
            m_readByName.insert(asRead.toLower(), obj);
        if (!name.isEmpty())
            m_readByName.insert(name.toLower(), obj);
        readProperties(obj);
        readChildren(obj, depth + 1);
    } catch (...) {
        // The damaged component goes; those read before it stay with their owner.
        delete obj.data();
        throw;
    }
    return obj;
}

void ComponentReader::readChildren(QObject* parent, int depth)
{
    while (!m_in.endOfList())
        readBody(parent, parent, depth, false);
    m_in.readListEnd();
}

void ComponentReader::readProperties(QObject* obj)
{
    ReaderDepth depth(m_in);
    while (!m_in.endOfList()) {
        const QByteArray name = m_in.readShortBytes();
        if (name.isEmpty())
            ImageReader::failInvalid();
        readProperty(obj, name);
    }
    m_in.readListEnd();
}

void ComponentReader::readProperty(QObject* obj, const QByteArray& name)
{
    const QList<QByteArray> parts = name.split('.');
    QObject* target = obj;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const QMetaProperty p = findPublishedProperty(target->metaObject(), parts[i]);
        if (p.isValid() && propertyKind(p) == PropertyKind::StringList && i + 2 == parts.size()
            && qstricmp(parts.last().constData(), "Strings") == 0) {
            setValue(target, p, m_in.readStringList());
            return;
        }
        QObject* sub = p.isValid() ? p.read(target).value<QObject*>() : nullptr;
        if (!sub || !qobject_cast<PersistentObject*>(sub)) {
            target = nullptr;
            break;
        }
        target = sub;
    }
    if (target) {
        const QByteArray last = parts.last();
        const QMetaProperty p = findPublishedProperty(target->metaObject(), last);
        if (p.isValid()) {
            readValue(target, p);
            return;
        }
        if (auto* s = dynamic_cast<Streamable*>(target))
            if (s->readExtraProperty(last, m_in))
                return;
    }
    if (m_tolerant) {
        m_in.skipValue();
        return;
    }
    throw EReadError(QStringLiteral("Property %1 does not exist").arg(QString::fromLatin1(name)));
}

void ComponentReader::setValue(QObject* target, const QMetaProperty& p, const QVariant& value)
{
    if (!p.isWritable() || !p.write(target, value))
        invalidValue(p.name());
}

void ComponentReader::readValue(QObject* target, const QMetaProperty& p)
{
    const TValueType t = m_in.peekValueType();
    const QObject* current = nullptr;
    PropertyKind kind = propertyKind(p);
    if (kind == PropertyKind::Reference || kind == PropertyKind::SubObject
        || kind == PropertyKind::Collection) {
        current = p.read(target).value<QObject*>();
        kind = propertyKind(p, current);
    }
    switch (kind) {
    case PropertyKind::Unsupported: invalidValue(p.name());
    case PropertyKind::Boolean: {
        if (t == vaFalse || t == vaTrue) {
            m_in.readValueType();
            setValue(target, p, QVariant(t == vaTrue));
            return;
        }
        const QByteArray ident = m_in.readIdent();
        if (qstricmp(ident.constData(), "True") == 0)
            setValue(target, p, QVariant(true));
        else if (qstricmp(ident.constData(), "False") == 0)
            setValue(target, p, QVariant(false));
        else
            invalidValue(p.name());
        return;
    }
    case PropertyKind::Integer:
    case PropertyKind::Int64: {
        qint64 v;
        if (t == vaIdent) {
            const QByteArray ident = m_in.readIdent();
            const auto idents = integerIdents(target->metaObject(), p);
            const auto found = idents ? idents->fromIdent(ident) : std::nullopt;
            if (!found)
                invalidValue(p.name());
            v = *found;
        } else if (isIntegerValue(t)) {
            v = m_in.readInteger();
        } else {
            invalidValue(p.name());
        }
        if (kind == PropertyKind::Integer) {
            // Colours and other 32-bit values are stored signed or unsigned alike; narrower
            // properties take only what they can hold.
            qint64 low = std::numeric_limits<qint32>::min();
            qint64 high = std::numeric_limits<quint32>::max();
            switch (p.metaType().id()) {
            case QMetaType::Short: low = -32768; high = 32767; break;
            case QMetaType::UShort: low = 0; high = 65535; break;
            case QMetaType::Char:
            case QMetaType::SChar: low = -128; high = 127; break;
            case QMetaType::UChar: low = 0; high = 255; break;
            case QMetaType::UInt: low = 0; break;
            default: break;
            }
            if (v < low || v > high)
                invalidValue(p.name());
            const QVariant value = p.metaType().id() == QMetaType::UInt ? QVariant(uint(v))
                                                                          : QVariant(int(qint32(v)));
            setValue(target, p, value);
        } else {
            setValue(target, p, QVariant(v));
        }
        return;
    }
    case PropertyKind::Float:
        setValue(target, p, QVariant(m_in.readFloat()));
        return;
    case PropertyKind::String:
        setValue(target, p, QVariant(m_in.readString()));
        return;
    case PropertyKind::Enumeration: {
        int v = 0;
        if (isIntegerValue(t)) {
            // Only a value of the type's own: an enumeration holding anything else is undefined
            // behaviour in the code that reads it.
            const qint64 raw = m_in.readInteger();
            if (raw < std::numeric_limits<int>::min() || raw > std::numeric_limits<int>::max()
                || !p.enumerator().valueToKey(int(raw)))
                invalidValue(p.name());
            v = int(raw);
        } else {
            bool ok = false;
            v = enumValue(p.enumerator(), m_in.readIdent(), ok);
            if (!ok)
                invalidValue(p.name());
        }
        setValue(target, p, QVariant(v));
        return;
    }
    case PropertyKind::Set: {
        int v = 0;
        for (const QByteArray& m : m_in.readSet()) {
            bool ok = false;
            v |= enumValue(p.enumerator(), m, ok);
            if (!ok)
                invalidValue(p.name());
        }
        setValue(target, p, QVariant(v));
        return;
    }
    case PropertyKind::StringList:
        setValue(target, p, QVariant(m_in.readStringList()));
        return;
    case PropertyKind::Binary:
        setValue(target, p, QVariant(m_in.readBinary()));
        return;
    case PropertyKind::Collection: {
        auto* c = qobject_cast<Collection*>(const_cast<QObject*>(current));
        if (!c || t != vaCollection)
            invalidValue(p.name());
        m_in.readValueType();
        readCollection(c);
        return;
    }
    case PropertyKind::SubObject: invalidValue(p.name());
    case PropertyKind::Reference: {
        if (t == vaNil) {
            m_in.readValueType();
            QObject* none = nullptr;
            setValue(target, p, QVariant(p.metaType(), &none));
            return;
        }
        if (t != vaIdent)
            invalidValue(p.name());
        m_in.readValueType();
        const QString name = m_in.readName();
        if (!p.isWritable())
            invalidValue(p.name());
        m_fixups.push_back(Fixup{QPointer<QObject>(target), p, name});
        return;
    }
    }
}

void ComponentReader::readCollection(Collection* collection)
{
    ReaderDepth depth(m_in);
    struct Batch
    {
        Collection* c;
        explicit Batch(Collection* c) : c(c) { c->beginUpdate(); }
        ~Batch() { c->endUpdate(); }
    } batch(collection);
    collection->clear();
    while (!m_in.endOfList()) {
        // An item may carry its order as an integer before its list.
        if (isIntegerValue(m_in.peekValueType()))
            m_in.readInteger();
        if (m_in.readValueType() != vaList)
            ImageReader::failInvalid();
        CollectionItem* item = collection->add();
        if (!item)
            ImageReader::failInvalid();
        readProperties(item);
    }
    m_in.readListEnd();
}

void ComponentReader::fixupReferences(QObject* lookupRoot)
{
    for (const Fixup& f : m_fixups) {
        if (!f.object)
            continue;
        QObject* found = m_readByName.value(f.name.toLower()).data();
        if (!found)
            found = findOwnedComponent(lookupRoot, f.name);
        const QMetaObject* want = f.property.metaType().metaObject();
        if (!found || (want && !found->metaObject()->inherits(want)))
            continue;
        f.property.write(f.object, QVariant(f.property.metaType(), &found));
    }
    m_fixups.clear();
}

} // namespace qx
