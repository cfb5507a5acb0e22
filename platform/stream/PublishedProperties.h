// Which properties of a component are stored, in which order, and under which names.
//
// Published properties are the Q_PROPERTYs a class and its bases declare, in declaration
// order, bases first, leaving out those of Qt's own classes (QObject's objectName, QWidget's
// geometry...): the component's name is stored apart, and a control publishes Left, Top,
// Width, Height, Tag... itself.
//
// A property is written unless one of these rules keeps it out:
//  - it is declared STORED false, or cannot be read (or, for a plain value, written back);
//  - the object's Streamable::isPropertyStored answers false (for values stored only when
//    "assigned");
//  - it holds the default its class declares in the class info "QxDefaults";
//  - without a declared default: an empty string, string list or byte block, a float or
//    8-byte integer of 0, and an empty reference are not written; other integers, booleans,
//    enumerations and sets are always written.
//
// Defaults are declared compactly per class, one entry per property, separated by ';':
//     Q_CLASSINFO("QxDefaults", "Color=clWindow;GridLineWidth=1;ReadOnly=false;"
//                               "Options=[dgEditing,dgTitles];BorderStyle=bsSingle")
// Values are written as they are stored: integers, true/false, enumeration keys, sets in
// brackets, named integers (colours), or text. A derived class's entry overrides its base's.
//
// Integer properties that have named values (TColor: clRed, clWindow; TFontCharset:
// GB2312_CHARSET) name their kind in the class info "QxIntegerKinds":
//     Q_CLASSINFO("QxIntegerKinds", "Color,FixedColor,LineColor=TColor")
// Such a value is written as an identifier when it has a name, else as an integer.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaProperty>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace qx {

// True for the meta objects of Qt's own classes, whose properties are not published.
bool isQtClass(const QMetaObject* mo);

QList<QMetaProperty> publishedProperties(const QMetaObject* mo);
// The published property of that name (case-insensitive), or an invalid one.
QMetaProperty findPublishedProperty(const QMetaObject* mo, const QByteArray& name);

// The declared default of a property, converted to the property's type.
std::optional<QVariant> declaredDefault(const QMetaObject* mo, const QMetaProperty& property);

// Whether the property of obj is written (the rules above).
bool isPropertyStored(const QObject* obj, const QMetaProperty& property);

// Named integer values of one kind ("TColor").
struct IntegerIdents
{
    std::function<std::optional<QByteArray>(qint64)> toIdent;
    std::function<std::optional<qint64>(const QByteArray&)> fromIdent;
};
void registerIntegerIdents(const QByteArray& kind, IntegerIdents idents);
// The named values of an integer property, or null when it has none.
std::shared_ptr<const IntegerIdents> integerIdents(const QMetaObject* mo,
                                                   const QMetaProperty& property);

// Kinds of stored values, from the property's type.
enum class PropertyKind {
    Unsupported,
    Boolean,
    Integer,
    Int64,
    Float,
    String,
    Enumeration,
    Set,
    StringList,
    Binary,
    Collection,      // a qx::Collection
    SubObject,       // a qx::PersistentObject written with dotted names
    Reference,       // a component, written by name
};
PropertyKind propertyKind(const QMetaProperty& property);
// For an object-typed property, decides by the actual value.
PropertyKind propertyKind(const QMetaProperty& property, const QObject* value);

} // namespace qx
