#include "platform/stream/Persistent.h"

#include "platform/rtl/Exceptions.h"

namespace qx {

Streamable::~Streamable() = default;

std::optional<bool> Streamable::isPropertyStored(const char*) const { return std::nullopt; }

void Streamable::writeExtraProperties(ImageWriter&, const QByteArray&) const {}

bool Streamable::readExtraProperty(const QByteArray&, ImageReader&) { return false; }

std::optional<QList<QObject*>> Streamable::streamedChildren() const { return std::nullopt; }

PersistentObject::PersistentObject(QObject* parent)
    : QObject(parent)
{}

PersistentObject::~PersistentObject() = default;

CollectionItem::CollectionItem(Collection* collection)
    : PersistentObject(collection)
    , m_collection(collection)
{
    if (m_collection) {
        m_collection->m_items.append(this);
        m_collection->changed(nullptr);
    }
}

CollectionItem::~CollectionItem()
{
    if (m_collection) {
        m_collection->m_items.removeOne(this);
        m_collection->changed(nullptr);
    }
}

int CollectionItem::index() const
{
    return m_collection ? int(m_collection->m_items.indexOf(const_cast<CollectionItem*>(this))) : -1;
}

void CollectionItem::setIndex(int index)
{
    if (!m_collection)
        return;
    const int from = this->index();
    const int to = std::clamp(index, 0, m_collection->count() - 1);
    if (from == to || from < 0)
        return;
    m_collection->m_items.move(from, to);
    m_collection->changed(nullptr);
}

void CollectionItem::changed(bool allItems)
{
    if (m_collection)
        m_collection->changed(allItems ? nullptr : this);
}

Collection::Collection(ItemFactory factory, QObject* parent)
    : PersistentObject(parent)
    , m_factory(std::move(factory))
{}

CollectionItem* Collection::item(int index) const
{
    if (index < 0 || index >= m_items.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items.at(index);
}

Collection::~Collection()
{
    // Items leave without telling a collection that is going away.
    const QList<CollectionItem*> items = m_items;
    m_items.clear();
    for (CollectionItem* item : items) {
        item->m_collection = nullptr;
        delete item;
    }
}

CollectionItem* Collection::add()
{
    return m_factory ? m_factory(this) : new CollectionItem(this);
}

void Collection::clear()
{
    if (m_items.isEmpty())
        return;
    beginUpdate();
    while (!m_items.isEmpty())
        delete m_items.last();
    endUpdate();
}

void Collection::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    delete m_items.at(index);
}

void Collection::endUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        update(nullptr);
}

void Collection::update(CollectionItem*) {}

void Collection::changed(CollectionItem* item)
{
    if (m_updateCount == 0)
        update(item);
}

} // namespace qx
