// Reads images of the binary component stream and creates their components from the class
// registry. Every image is untrusted input: anything that does not fit ends in EReadError.
//
// In strict mode an unknown class or property is an error, as the platform's reader has it.
// In tolerant mode unknown properties and unknown child components are skipped whole, so that
// an image written by a newer version (or naming a since removed column property) still loads.
#pragma once

#include "platform/stream/ImageReader.h"

#include <QHash>
#include <QList>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace qx {

class Collection;

class ComponentReader
{
public:
    explicit ComponentReader(QIODevice& device, bool tolerant = false);

    ImageReader& reader() { return m_in; }
    bool tolerant() const { return m_tolerant; }

    // Called for every component right after it is made, before its name and properties.
    std::function<void(QObject* component)> OnCreateComponent;
    // Called with every component's name as read, before the component takes it; the hook may
    // change the name (to keep names unique within an owner).
    std::function<void(QObject* component, QString& name)> OnSetName;

    // Reads one image (signature included) and creates its component: a control gets
    // parentWindow (or else owner, when that is a widget) as its parent, any other component
    // owner. A failure frees the component being read and raises EReadError.
    QObject* readComponent(QObject* owner, QObject* parentWindow);
    // Reads images up to the end-of-list marker (consumed), calling onRead after each.
    QList<QObject*> readComponentList(QObject* owner, QObject* parentWindow,
                                      const std::function<void(QObject*)>& onRead = {});
    // Reads one image (signature included) into an existing component of the same class: its
    // properties and children. The name in the image is not applied.
    void readInto(QObject* instance);
    // Reads a property list up to vaNull into obj.
    void readProperties(QObject* obj);

    // Sets the component references read so far: to a component of this read with that name,
    // else to a component of lookupRoot with that name (case-insensitive). Unknown names stay
    // unresolved (the property keeps its value).
    void fixupReferences(QObject* lookupRoot);

private:
    struct Fixup
    {
        QPointer<QObject> object;
        QMetaProperty property;
        QString name;
    };

    QObject* readBody(QObject* owner, QObject* parentWindow, int depth, bool top);
    void readChildren(QObject* parent, int depth);
    QObject* createFor(const QMetaObject* mo, const QByteArray& className, QObject* owner,
                       QObject* parentWindow);
    void skipComponentRest();
    void readProperty(QObject* obj, const QByteArray& name);
    void readValue(QObject* target, const QMetaProperty& p);
    void readCollection(Collection* collection);
    void setValue(QObject* target, const QMetaProperty& p, const QVariant& value);

    ImageReader m_in;
    bool m_tolerant;
    std::vector<Fixup> m_fixups;
    QHash<QString, QPointer<QObject>> m_readByName; // lower-case names, as read and as set
};

// True when a QObject's name equals name, ignoring case; the components of an owner are its
// descendants that carry a name and are not sub-objects.
QObject* findOwnedComponent(const QObject* owner, const QString& name);

} // namespace qx
