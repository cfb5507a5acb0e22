#include "documents/bills/CachedSql.h"

#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"

#include <sqlite3.h>

namespace qx::documents {

int runCached(TADOConnection& connection, const QString& sql, const QVariantList& values)
{
    const CachedStatement lease = connection.cachedStatement(sql);
    sqlite3* db = connection.handle();
    sqlite3_stmt* stmt = lease.get();
    for (int i = 0; i < values.size(); ++i)
        bindVariant(db, stmt, i + 1, values[i]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        raiseSqliteError(db, rc, stmt);
    return sqlite3_changes(db);
}

} // namespace qx::documents
