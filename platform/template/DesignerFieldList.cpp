#include "platform/template/DesignerFieldList.h"

#include <QMimeData>

namespace qx::tpl {

namespace {

constexpr int kDataSetRole = Qt::UserRole;
constexpr int kFieldRole = Qt::UserRole + 1;
// Dataset and field names are short; anything longer is not ours.
constexpr qsizetype kMaxMimeBytes = 4096;

} // namespace

DesignerFieldList::DesignerFieldList(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("LstFields"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void DesignerFieldList::addField(const QString& dataSet, const QString& field)
{
    auto* item = new QListWidgetItem(QStringLiteral("%1.%2").arg(dataSet, field), this);
    item->setData(kDataSetRole, dataSet);
    item->setData(kFieldRole, field);
}

DraggedField DesignerFieldList::fieldOf(const QListWidgetItem* item)
{
    if (!item)
        return {};
    return {item->data(kDataSetRole).toString(), item->data(kFieldRole).toString()};
}

QMimeData* DesignerFieldList::fieldMimeData(const QList<QListWidgetItem*>& items) const
{
    if (items.isEmpty() || !items.constFirst())
        return nullptr;
    const DraggedField f = fieldOf(items.constFirst());
    auto* mime = new QMimeData;
    // Dataset and field names hold no line break, so one separates them.
    mime->setData(mimeType(), (f.dataSet + QLatin1Char('\n') + f.field).toUtf8());
    mime->setText(items.constFirst()->text());
    return mime;
}

bool DesignerFieldList::fieldFromMime(const QMimeData* mime, DraggedField& out)
{
    if (!mime || !mime->hasFormat(mimeType()))
        return false;
    const QByteArray bytes = mime->data(mimeType());
    if (bytes.size() > kMaxMimeBytes)
        return false;
    const QStringList parts = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (parts.size() != 2 || parts.at(0).isEmpty() || parts.at(1).isEmpty())
        return false;
    out = {parts.at(0), parts.at(1)};
    return true;
}

QStringList DesignerFieldList::mimeTypes() const
{
    return {mimeType()};
}

QMimeData* DesignerFieldList::mimeData(const QList<QListWidgetItem*>& items) const
{
    return fieldMimeData(items);
}

} // namespace qx::tpl
