// The streaming side of the component model.
//
// A component is a QObject with an objectName; its published properties are its Q_PROPERTYs
// (see PublishedProperties.h). Sub-objects that belong to a component and are written inside
// its image with dotted names (Font.Name, Title.Caption) derive from PersistentObject.
// Collections of items (a grid's columns) derive from Collection; their items from
// CollectionItem and publish their values as Q_PROPERTYs as well.
//
// Streamable is the optional hook interface a class implements when the plain rules are not
// enough: values stored only when "assigned", extra values without a Q_PROPERTY, or a
// particular choice of owned children.
#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

namespace qx {

class ImageReader;
class ImageWriter;

class Streamable
{
public:
    virtual ~Streamable();

    // Whether the published property `name` is written. Nothing means: decide by the class's
    // declared default (QxDefaults) or by the type rule.
    virtual std::optional<bool> isPropertyStored(const char* name) const;

    // Extra values the object writes after its published properties, each as a name (prefix
    // included) followed by one typed value.
    virtual void writeExtraProperties(ImageWriter& writer, const QByteArray& prefix) const;
    // Reads the value of the extra property `name` (without prefix) when it is one of them;
    // returns false to let the reader treat the name as unknown.
    virtual bool readExtraProperty(const QByteArray& name, ImageReader& reader);

    // The owned children written after the properties. Nothing means: the QObject children
    // whose classes are registered (ClassRegistry.h), in child order.
    virtual std::optional<QList<QObject*>> streamedChildren() const;
};

// A sub-object written inside its owner's image (the TPersistent of the platform).
class PersistentObject : public QObject, public Streamable
{
    Q_OBJECT
public:
    explicit PersistentObject(QObject* parent = nullptr);
    ~PersistentObject() override;
};

class Collection;

class CollectionItem : public PersistentObject
{
    Q_OBJECT
public:
    // Appends the new item to collection (which then owns it).
    explicit CollectionItem(Collection* collection);
    ~CollectionItem() override;

    Collection* collection() const { return m_collection; }
    int index() const;
    // Moves the item within its collection.
    void setIndex(int index);

protected:
    // Tells the collection that this item (or, with allItems, the whole collection) changed;
    // batched like every other notice of the collection.
    void changed(bool allItems);

private:
    friend class Collection;
    Collection* m_collection;
};

class Collection : public PersistentObject
{
    Q_OBJECT
public:
    using ItemFactory = std::function<CollectionItem*(Collection*)>;

    // factory makes one item of the collection's kind and appends it (its constructor does).
    explicit Collection(ItemFactory factory, QObject* parent = nullptr);
    ~Collection() override;

    int count() const { return int(m_items.size()); }
    // Raises EListError for an index outside the collection.
    CollectionItem* item(int index) const;
    const QList<CollectionItem*>& items() const { return m_items; }

    // Makes a new item at the end.
    CollectionItem* add();
    // Frees every item.
    void clear();
    // Frees one item.
    void remove(int index);

    // Batched changes notify once, at the end.
    void beginUpdate() { ++m_updateCount; }
    void endUpdate();

protected:
    // Told after the items changed (added, removed, moved); item is null for a whole change.
    virtual void update(CollectionItem* item);

private:
    friend class CollectionItem;
    void changed(CollectionItem* item);

    ItemFactory m_factory;
    QList<CollectionItem*> m_items;
    int m_updateCount = 0;
};

} // namespace qx
