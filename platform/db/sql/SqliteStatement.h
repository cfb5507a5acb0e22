// RAII over sqlite3_stmt: a statement is finalized on every path, and every step and bind is
// checked. Values go in and out as QVariant with the declared-type rules of the system:
// Booleans as 0/1, dates as text 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS'.
#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace qx {

class SqliteStatement
{
public:
    SqliteStatement() = default;
    // Prepares the first statement of sql; *tail (when given) receives the rest of the text.
    // Raises EDatabaseError with SQLite's text when it does not compile.
    SqliteStatement(sqlite3* db, const QByteArray& sql, QByteArray* tail = nullptr);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    bool isNull() const { return m_stmt == nullptr; }
    // Finalizes now.
    void finalize();

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// Binds value to parameter index of stmt (1-based). A null or invalid QVariant binds NULL;
// bool binds 0/1; QDate and QDateTime bind their text (a QDateTime at midnight binds the date
// alone, so that it compares equal to the dates stored as 'YYYY-MM-DD'); QByteArray binds a blob;
// a Currency binds its amount as a number and a TDateTime its date text, as a QDateTime does.
void bindVariant(sqlite3* db, sqlite3_stmt* stmt, int index, const QVariant& value);

// The value of column col of the current row: NULL as a null QVariant, integers as qint64,
// reals as double, text as QString, blobs as QByteArray.
QVariant columnVariant(sqlite3_stmt* stmt, int col);

// Steps stmt; true when a row is ready, false when done. Raises EDatabaseError on errors
// (the message built by sqliteErrorMessage from the statement).
bool stepStatement(sqlite3* db, sqlite3_stmt* stmt);

// The text of a date for the database: 'YYYY-MM-DD', or with ' HH:MM:SS' when it has a time.
QString sqlDateText(const QDateTime& dt);

} // namespace qx
