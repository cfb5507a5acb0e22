// A second workstation on the shop database: its own connection to the same file, as another
// computer of the shop has, for the tests of what one workstation does while the other has a
// bill open or holds the database.
#pragma once

#include "app/data/dmData.h"
#include "platform/db/sql/ADOConnection.h"

#include <QVariantMap>

#include <sqlite3.h>

namespace qx::documents::test {

class OtherWorkstation
{
public:
    OtherWorkstation()
    {
        connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + DatabasePath);
        connection.Open();
    }

    void exec(const QString& sql, const QVariantMap& params = {}) { connection.Execute(sql, params); }

    TADOConnection connection;
};

// Shortens how long a connection waits for another workstation's lock while the object lives,
// so a test of a busy database does not wait the full five seconds.
class ShortBusyWait
{
public:
    explicit ShortBusyWait(TADOConnection& connection) : m_db(connection.handle())
    {
        sqlite3_busy_timeout(m_db, 100);
    }
    ~ShortBusyWait() { sqlite3_busy_timeout(m_db, 5000); }
    ShortBusyWait(const ShortBusyWait&) = delete;
    ShortBusyWait& operator=(const ShortBusyWait&) = delete;

private:
    sqlite3* m_db;
};

} // namespace qx::documents::test
