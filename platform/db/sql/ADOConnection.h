// TADOConnection: the one database connection of a program, on SQLite. It takes the ADO
// connection string the system has always written ("Provider=Microsoft.Jet.OLEDB.4.0;
// Data Source=<file>;Jet OLEDB:Database Password=..."): the file comes from Data Source, and the
// provider and password items are accepted and not needed.
//
// Every open sets the settings the shop's data needs: a 5 s busy timeout (a second program
// writing makes us wait, then fail with a clear message), journal_mode=DELETE (the file may sit
// on a network share, where WAL does not work), synchronous=FULL, foreign keys on, the Jet
// functions that users' SQL calls (JetFunctions.h) and the conversions the datasets' write-back
// checks call (ResultCells.h).
#pragma once

#include "platform/db/sql/ADOParameters.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;
class TADOConnection;

namespace qx {

namespace detail {
struct CachedStatementEntry;
}

// A statement lent by a connection's cache (TADOConnection::cachedStatement). Move-only; its end
// resets the statement and gives it back.
class CachedStatement
{
public:
    CachedStatement() = default;
    ~CachedStatement();
    CachedStatement(CachedStatement&& other) noexcept = default;
    CachedStatement& operator=(CachedStatement&& other) noexcept;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;

    sqlite3_stmt* get() const;

private:
    friend class ::TADOConnection;
    explicit CachedStatement(std::shared_ptr<detail::CachedStatementEntry> entry) : m_entry(std::move(entry)) {}
    void release();

    std::shared_ptr<detail::CachedStatementEntry> m_entry;
};

} // namespace qx

class TADOConnection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ConnectionString READ ConnectionString WRITE setConnectionString)
    Q_PROPERTY(QString DefaultDatabase READ DefaultDatabase WRITE setDefaultDatabase)
    Q_PROPERTY(bool LoginPrompt READ LoginPrompt WRITE setLoginPrompt)
    Q_PROPERTY(TConnectMode Mode READ Mode WRITE setMode)
    Q_PROPERTY(bool Connected READ Connected WRITE setConnected)

public:
    // Sharing modes, named as ADO's. cmShareExclusive holds the file for this connection alone
    // (SQLite's EXCLUSIVE locking mode) for maintenance; every other mode shares it.
    enum TConnectMode {
        cmUnknown,
        cmRead,
        cmWrite,
        cmReadWrite,
        cmShareDenyRead,
        cmShareDenyWrite,
        cmShareExclusive,
        cmShareDenyNone
    };
    Q_ENUM(TConnectMode)

    explicit TADOConnection(QObject* parent = nullptr);
    ~TADOConnection() override;

    QString ConnectionString() const { return m_connectionString; }
    // Raises EDatabaseError while connected (close first, as ADO requires).
    void setConnectionString(const QString& value);
    // SQLite has one database per file, so this is always empty; a value is kept but unused.
    QString DefaultDatabase() const { return QString(); }
    void setDefaultDatabase(const QString&) {}
    // SQLite asks for no user or password, so no login dialog is ever shown.
    bool LoginPrompt() const { return m_loginPrompt; }
    void setLoginPrompt(bool value) { m_loginPrompt = value; }
    TConnectMode Mode() const { return m_mode; }
    void setMode(TConnectMode value);
    bool Connected() const { return m_db != nullptr; }
    void setConnected(bool value);

    // The database file named by Data Source.
    QString DatabaseFile() const;

    // Opens the file of Data Source. A missing file is an error, as it is for Jet (the
    // program creates its database with CreateDatabase). Raises EDatabaseError.
    void Open();
    // Closes the connection; an open transaction is rolled back. The datasets on this
    // connection are told first (Closing) and close themselves.
    void Close();

    // Starts a transaction and returns its nesting level (1 for the outermost). A BeginTrans
    // while a transaction is open never commits what is already done: it opens a savepoint
    // inside it, which CommitTrans releases and RollbackTrans rolls back, so an outer unit of
    // work stays whole until its own CommitTrans.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_transLevel > 0; }
    int TransactionLevel() const { return m_transLevel; }

    // Runs sql (one or more statements) with ":name" parameters bound from params (names without
    // case; a name with no value binds NULL) and returns the rows changed by the statements.
    int Execute(const QString& sql, const QVariantMap& params = {});
    int Execute(const QString& sql, const TParameters& params);

    // The user tables (no system tables, no views), sorted without case.
    void GetTableNames(QStringList& list, bool SystemTables = false) const;
    // The views (Jet's saved queries).
    void GetViewNames(QStringList& list) const;
    // The names of the fields of a table or view in column order.
    void GetFieldNames(const QString& tableName, QStringList& list) const;

    // The open handle; raises EDatabaseError "Connection is closed" when not connected.
    sqlite3* handle() const;
    // A prepared statement kept for reuse while the connection stays open (the write-backs of
    // the datasets run the same few statements over and over), lent to the caller until the
    // returned lease ends, which resets it. The cache keeps at most 200 statements and lets go
    // of the least recently used idle ones first; a statement on lease is never finalized
    // under its holder, not even by Close (the lease finalizes it then). Asking again for a
    // statement that is on lease gives a fresh one of its own.
    qx::CachedStatement cachedStatement(const QString& sql);
    // Statements the cache holds, lent or idle (for tests).
    int cachedStatementCount() const { return int(m_statements.size()); }
    // The rowid the last INSERT on this connection gave.
    qint64 LastInsertRowId() const;

    // Creates an empty database file. Raises when the file exists or cannot be made.
    static void CreateDatabase(const QString& fileName);

    // The items of an ADO connection string, keys upper-cased: "DATA SOURCE" -> file.
    static QHash<QString, QString> ParseConnectionString(const QString& text);

Q_SIGNALS:
    // Before the handle goes: the datasets on the connection close themselves.
    void Closing();

private:
    void exec(const char* sql);
    void syncTransactionState();

    QString m_connectionString;
    bool m_loginPrompt = true;
    TConnectMode m_mode = cmUnknown;
    sqlite3* m_db = nullptr;
    int m_transLevel = 0;
    QHash<QString, std::shared_ptr<qx::detail::CachedStatementEntry>> m_statements;
    quint64 m_statementClock = 0;
};

namespace qx {

// Resets a statement when the scope ends, on every path.
class StatementReset
{
public:
    explicit StatementReset(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~StatementReset();
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    sqlite3_stmt* m_stmt;
};

} // namespace qx
