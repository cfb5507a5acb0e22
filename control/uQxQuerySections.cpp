#include "control/uQxQuerySections.h"

#include "control/uQxQueryControl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stream/ImageReader.h"
#include "platform/stream/PublishedProperties.h"

namespace qx {

QuerySection::QuerySection(Collection* collection)
    : CollectionItem(collection)
{}

QuerySection::~QuerySection() = default;

void QuerySection::Assign(const QuerySection* Source)
{
    if (!Source || Source == this)
        return;
    if (Source->metaObject() != metaObject())
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                .arg(QString::fromLatin1(Source->metaObject()->className()),
                                     QString::fromLatin1(metaObject()->className())));
    for (const QMetaProperty& p : publishedProperties(metaObject()))
        if (p.isWritable())
            p.write(this, p.read(Source));
}

bool QuerySection::readExtraProperty(const QByteArray&, ImageReader& reader)
{
    reader.skipValue();
    return true;
}

TQxQueryControl* QuerySectionList::Owner() const
{
    return qobject_cast<TQxQueryControl*>(parent());
}

} // namespace qx

void TGroupSumSection::Assign(const qx::QuerySection* Source)
{
    const QString keep = FSumType;
    qx::QuerySection::Assign(Source);
    FSumType = keep;
}

int TFieldSections::IndexOfCaption(const QString& CTableName, const QString& CFieldName) const
{
    const QString table = CTableName.toUpper();
    const QString field = CFieldName.toUpper();
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->CTableName().toUpper() == table && Items(i)->CFieldName().toUpper() == field)
            return i;
    return -1;
}
