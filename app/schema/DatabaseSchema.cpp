#include "app/schema/DatabaseSchema.h"

#include "platform/rtl/Exceptions.h"

#include <QFile>

namespace qx::app {

namespace {

QByteArray readResource(const QString& name)
{
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("找不到数据库结构资源：%1").arg(name));
    return file.readAll();
}

} // namespace

QByteArray schemaSql()
{
    return readResource(QStringLiteral("Schema.sql"));
}

QByteArray firstRowsSql()
{
    return readResource(QStringLiteral("FirstRows.sql"));
}

QByteArray dictionarySql()
{
    return readResource(QStringLiteral("Dictionary.sql"));
}

} // namespace qx::app
