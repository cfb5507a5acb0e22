// Database errors of the SQLite layer, raised as EDatabaseError with texts the rest of the
// system understands. The error translator of the document structures looks for a few English
// phrases ("duplicate key", "must have a value"), so those cases are worded that way. A file
// that is locked, read-only, full, missing, damaged or unreadable is told in Chinese, the
// operator's language; every other error keeps SQLite's own text, which says best what went
// wrong in a statement.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QString>

#include <functional>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace qx {

// Gives the text of the value written to a column (for "Key violation" messages), or nothing
// when the caller does not know it.
using ColumnValueLookup = std::function<std::optional<QString>(const QString& column)>;

// The message for an error of db with result code rc. stmt (may be null) is the statement that
// failed: a unique-constraint message takes the duplicate values from its bound text.
QString sqliteErrorMessage(sqlite3* db, int rc, sqlite3_stmt* stmt = nullptr,
                           const ColumnValueLookup& values = {});

// Raises EDatabaseError with sqliteErrorMessage().
[[noreturn]] void raiseSqliteError(sqlite3* db, int rc, sqlite3_stmt* stmt = nullptr,
                                   const ColumnValueLookup& values = {});

// Raises for any result code other than SQLITE_OK, SQLITE_ROW and SQLITE_DONE.
inline void checkSqlite(sqlite3* db, int rc)
{
    if (rc != 0 && rc != 100 && rc != 101)
        raiseSqliteError(db, rc);
}

} // namespace qx
