#include "platform/stream/PublishedProperties.h"

#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"

#include <QHash>
#include <QMetaEnum>
#include <QMutex>
#include <QMutexLocker>

#include <cstring>

namespace qx {

namespace {

struct ClassTables
{
    QHash<QByteArray, QByteArray> defaults; // lower-case property name -> default text
    QHash<QByteArray, QByteArray> kinds;    // lower-case property name -> integer kind
};

struct Caches
{
    QMutex mutex;
    QHash<const QMetaObject*, ClassTables> tables;
    QHash<QByteArray, std::shared_ptr<const IntegerIdents>> idents;
    bool builtinsDone = false;
};

Caches& caches()
{
    static Caches c;
    return c;
}

void parseEntries(const char* text, QHash<QByteArray, QByteArray>& out, bool namesListed)
{
    const QList<QByteArray> entries = QByteArray(text).split(';');
    for (const QByteArray& raw : entries) {
        const QByteArray entry = raw.trimmed();
        const int eq = entry.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray value = entry.mid(eq + 1).trimmed();
        const QByteArray names = entry.left(eq);
        if (namesListed) {
            for (const QByteArray& n : names.split(','))
                if (!n.trimmed().isEmpty())
                    out.insert(n.trimmed().toLower(), value);
        } else {
            out.insert(names.trimmed().toLower(), value);
        }
    }
}

// Tables of one class and its bases, derived entries first. Caller holds the mutex.
const ClassTables& tablesOf(Caches& c, const QMetaObject* mo)
{
    auto it = c.tables.constFind(mo);
    if (it != c.tables.constEnd())
        return *it;
    ClassTables t;
    for (const QMetaObject* m = mo; m && !isQtClass(m); m = m->superClass()) {
        for (int i = m->classInfoOffset(); i < m->classInfoCount(); ++i) {
            const QMetaClassInfo info = m->classInfo(i);
            QHash<QByteArray, QByteArray> entries;
            if (qstrcmp(info.name(), "QxDefaults") == 0)
                parseEntries(info.value(), entries, false);
            else if (qstrcmp(info.name(), "QxIntegerKinds") == 0)
                parseEntries(info.value(), entries, true);
            else
                continue;
            auto& target = qstrcmp(info.name(), "QxDefaults") == 0 ? t.defaults : t.kinds;
            for (auto e = entries.cbegin(); e != entries.cend(); ++e)
                if (!target.contains(e.key()))
                    target.insert(e.key(), e.value());
        }
    }
    return *c.tables.insert(mo, t);
}

struct NamedValue
{
    const char* name;
    qint64 value;
};

std::shared_ptr<const IntegerIdents> tableIdents(const NamedValue* table, int n)
{
    return std::make_shared<const IntegerIdents>(IntegerIdents{
        [table, n](qint64 v) -> std::optional<QByteArray> {
            for (int i = 0; i < n; ++i)
                if (table[i].value == v)
                    return QByteArray(table[i].name);
            return std::nullopt;
        },
        [table, n](const QByteArray& name) -> std::optional<qint64> {
            for (int i = 0; i < n; ++i)
                if (qstricmp(table[i].name, name.constData()) == 0)
                    return table[i].value;
            return std::nullopt;
        }});
}

// The named integers every image of the library uses: colours and font charsets.
void addBuiltins(Caches& c)
{
    static const NamedValue colors[] = {
        {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
        {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
        {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
        {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
        {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},
        {"clMedGray", clMedGray}, {"clNone", clNone}, {"clDefault", clDefault},
        {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
        {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
        {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
        {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
        {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder},
        {"clInactiveBorder", clInactiveBorder}, {"clAppWorkSpace", clAppWorkSpace},
        {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
        {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
        {"clBtnText", clBtnText}, {"clInactiveCaptionText", clInactiveCaptionText},
        {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk},
        {"clHotLight", clHotLight}, {"clGradientActiveCaption", clGradientActiveCaption},
        {"clGradientInactiveCaption", clGradientInactiveCaption},
        {"clMenuHighlight", clMenuHighlight}, {"clMenuBar", clMenuBar},
    };
    static const NamedValue charsets[] = {
        {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2},
        {"MAC_CHARSET", 77}, {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
        {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134}, {"CHINESEBIG5_CHARSET", 136},
        {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163},
        {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186},
        {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222}, {"EASTEUROPE_CHARSET", 238},
        {"OEM_CHARSET", 255},
    };
    if (!c.idents.contains("TColor"))
        c.idents.insert("TColor", tableIdents(colors, int(std::size(colors))));
    if (!c.idents.contains("TFontCharset"))
        c.idents.insert("TFontCharset", tableIdents(charsets, int(std::size(charsets))));
    c.builtinsDone = true;
}

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

std::optional<qint64> parseInteger(const QByteArray& text)
{
    bool ok = false;
    qint64 v = text.toLongLong(&ok, 0);
    if (ok)
        return v;
    if (text.startsWith('$')) {
        v = qint64(text.mid(1).toULongLong(&ok, 16));
        if (ok)
            return v;
    }
    return std::nullopt;
}

std::optional<QVariant> parseDefault(const QMetaObject* mo, const QMetaProperty& p,
                                     const QByteArray& text)
{
    if (p.isFlagType()) {
        QByteArray inner = text.trimmed();
        if (inner.startsWith('[') && inner.endsWith(']'))
            inner = inner.mid(1, inner.size() - 2);
        const QMetaEnum e = p.enumerator();
        qint64 v = 0;
        for (const QByteArray& m : inner.split(',')) {
            const QByteArray key = m.trimmed();
            if (key.isEmpty())
                continue;
            bool ok = false;
            const int bit = e.keyToValue(key.constData(), &ok);
            if (!ok)
                return std::nullopt;
            v |= bit;
        }
        return QVariant(v);
    }
    if (p.isEnumType()) {
        bool ok = false;
        const int v = p.enumerator().keyToValue(text.constData(), &ok);
        return ok ? std::optional<QVariant>(QVariant(qint64(v))) : std::nullopt;
    }
    const int id = p.metaType().id();
    if (id == QMetaType::Bool) {
        if (text.compare("true", Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (text.compare("false", Qt::CaseInsensitive) == 0)
            return QVariant(false);
        return std::nullopt;
    }
    if (isIntegerType(id) || id == QMetaType::LongLong || id == QMetaType::ULongLong) {
        if (const auto idents = integerIdents(mo, p))
            if (auto v = idents->fromIdent(text))
                return QVariant(*v);
        if (auto v = parseInteger(text))
            return QVariant(*v);
        return std::nullopt;
    }
    if (id == QMetaType::Double || id == QMetaType::Float) {
        bool ok = false;
        const double d = text.toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
    }
    if (id == QMetaType::QString)
        return QVariant(QString::fromUtf8(text));
    return std::nullopt;
}

// The value of a property in the form parseDefault gives, for comparison.
QVariant comparable(const QMetaProperty& p, const QVariant& value)
{
    if (p.isEnumType() || p.isFlagType())
        return QVariant(qint64(value.toInt()));
    const int id = p.metaType().id();
    if (isIntegerType(id) || id == QMetaType::LongLong || id == QMetaType::ULongLong)
        return QVariant(value.toLongLong());
    if (id == QMetaType::Float)
        return QVariant(value.toDouble());
    return value;
}

} // namespace

bool isQtClass(const QMetaObject* mo)
{
    const char* name = mo->className();
    return name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z' && !std::strstr(name, "::");
}

QList<QMetaProperty> publishedProperties(const QMetaObject* mo)
{
    // Asked for every object written and every property read: computed once per class.
    static QMutex mutex;
    static QHash<const QMetaObject*, QList<QMetaProperty>> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(mo);
    if (it != cache.constEnd())
        return *it;
    // The first of our own classes in the chain; Qt's bases above it publish nothing.
    const QMetaObject* qtBase = mo;
    while (qtBase && !isQtClass(qtBase))
        qtBase = qtBase->superClass();
    const int first = qtBase ? qtBase->propertyCount() : 0;
    // A property that a derived class declares again (a grid's own Options over the base's)
    // is published once, at the base's position, read and written through the derived one.
    QList<QMetaProperty> out;
    QHash<QByteArray, qsizetype> position;
    for (int i = first; i < mo->propertyCount(); ++i) {
        const QMetaProperty property = mo->property(i);
        const QByteArray key = QByteArray(property.name()).toLower();
        const auto seen = position.constFind(key);
        if (seen != position.constEnd()) {
            out[*seen] = property;
        } else {
            position.insert(key, out.size());
            out.append(property);
        }
    }
    cache.insert(mo, out);
    return out;
}

QMetaProperty findPublishedProperty(const QMetaObject* mo, const QByteArray& name)
{
    for (const QMetaProperty& p : publishedProperties(mo))
        if (qstricmp(p.name(), name.constData()) == 0)
            return p;
    return {};
}

std::optional<QVariant> declaredDefault(const QMetaObject* mo, const QMetaProperty& property)
{
    QByteArray text;
    {
        Caches& c = caches();
        QMutexLocker lock(&c.mutex);
        const ClassTables& t = tablesOf(c, mo);
        const auto it = t.defaults.constFind(QByteArray(property.name()).toLower());
        if (it == t.defaults.constEnd())
            return std::nullopt;
        text = *it;
    }
    return parseDefault(mo, property, text);
}

void registerIntegerIdents(const QByteArray& kind, IntegerIdents idents)
{
    Caches& c = caches();
    QMutexLocker lock(&c.mutex);
    if (!c.builtinsDone)
        addBuiltins(c);
    c.idents.insert(kind, std::make_shared<const IntegerIdents>(std::move(idents)));
}

std::shared_ptr<const IntegerIdents> integerIdents(const QMetaObject* mo,
                                                   const QMetaProperty& property)
{
    Caches& c = caches();
    QMutexLocker lock(&c.mutex);
    if (!c.builtinsDone)
        addBuiltins(c);
    const ClassTables& t = tablesOf(c, mo);
    const QByteArray kind = t.kinds.value(QByteArray(property.name()).toLower());
    if (kind.isEmpty())
        return nullptr;
    return c.idents.value(kind);
}

PropertyKind propertyKind(const QMetaProperty& p)
{
    if (p.isFlagType())
        return PropertyKind::Set;
    if (p.isEnumType())
        return PropertyKind::Enumeration;
    const QMetaType type = p.metaType();
    const int id = type.id();
    if (id == QMetaType::Bool)
        return PropertyKind::Boolean;
    if (isIntegerType(id))
        return PropertyKind::Integer;
    if (id == QMetaType::LongLong || id == QMetaType::ULongLong)
        return PropertyKind::Int64;
    if (id == QMetaType::Double || id == QMetaType::Float)
        return PropertyKind::Float;
    if (id == QMetaType::QString)
        return PropertyKind::String;
    if (id == QMetaType::QStringList)
        return PropertyKind::StringList;
    if (id == QMetaType::QByteArray)
        return PropertyKind::Binary;
    if (type.flags() & QMetaType::PointerToQObject) {
        const QMetaObject* target = type.metaObject();
        if (target && target->inherits(&Collection::staticMetaObject))
            return PropertyKind::Collection;
        if (target && target->inherits(&PersistentObject::staticMetaObject))
            return PropertyKind::SubObject;
        return PropertyKind::Reference;
    }
    return PropertyKind::Unsupported;
}

PropertyKind propertyKind(const QMetaProperty& p, const QObject* value)
{
    PropertyKind kind = propertyKind(p);
    if (kind == PropertyKind::Reference && value) {
        if (qobject_cast<const Collection*>(value))
            return PropertyKind::Collection;
        if (qobject_cast<const PersistentObject*>(value))
            return PropertyKind::SubObject;
    }
    return kind;
}

bool isPropertyStored(const QObject* obj, const QMetaProperty& p)
{
    if (!p.isValid() || !p.isReadable() || !p.isStored())
        return false;
    const PropertyKind kind = propertyKind(p);
    if (kind == PropertyKind::Unsupported)
        return false;
    const bool objectValued = kind == PropertyKind::Collection || kind == PropertyKind::SubObject
                              || kind == PropertyKind::Reference;
    // A plain value that cannot be set again would not survive a read.
    if (!objectValued && !p.isWritable())
        return false;
    if (const auto* s = dynamic_cast<const Streamable*>(obj))
        if (auto stored = s->isPropertyStored(p.name()))
            return *stored;
    const QVariant value = p.read(obj);
    if (auto def = declaredDefault(obj->metaObject(), p))
        return comparable(p, value) != *def;
    switch (kind) {
    case PropertyKind::String: return !value.toString().isEmpty();
    case PropertyKind::StringList: return !value.toStringList().isEmpty();
    case PropertyKind::Binary: return !value.toByteArray().isEmpty();
    case PropertyKind::Float: return value.toDouble() != 0.0;
    case PropertyKind::Int64: return value.toLongLong() != 0;
    case PropertyKind::Reference: return value.value<QObject*>() != nullptr;
    case PropertyKind::Collection:
    case PropertyKind::SubObject: return value.value<QObject*>() != nullptr;
    default: return true;
    }
}

} // namespace qx
