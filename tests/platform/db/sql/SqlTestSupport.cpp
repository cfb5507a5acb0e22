#include "SqlTestSupport.h"

#include "platform/db/sql/SqliteStatement.h"

#include <sqlite3.h>

QVariant SqlFixture::scalar(const QString& sql, TADOConnection* c)
{
    TADOConnection* connection = c ? c : conn.get();
    qx::SqliteStatement stmt(connection->handle(), sql.toUtf8());
    if (!qx::stepStatement(connection->handle(), stmt.get()))
        return QVariant();
    return qx::columnVariant(stmt.get(), 0);
}
