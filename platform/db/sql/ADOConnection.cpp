#include "platform/db/sql/ADOConnection.h"

#include "platform/db/sql/JetFunctions.h"
#include "platform/db/sql/ResultCells.h"
#include "platform/db/sql/SqlParamParser.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kStatementCacheLimit = 200;

QString transactionLostNote(const QString& message)
{
    return message + QStringLiteral(" The transaction was rolled back.");
}

} // namespace

namespace qx {

namespace detail {

struct CachedStatementEntry
{
    sqlite3_stmt* stmt = nullptr;
    bool lent = false;
    bool cached = true; // false once the cache let go of it: the lease finalizes it
    quint64 lastUse = 0;
};

} // namespace detail

CachedStatement::~CachedStatement()
{
    release();
}

CachedStatement& CachedStatement::operator=(CachedStatement&& other) noexcept
{
    if (this != &other) {
        release();
        m_entry = std::move(other.m_entry);
    }
    return *this;
}

sqlite3_stmt* CachedStatement::get() const
{
    return m_entry ? m_entry->stmt : nullptr;
}

void CachedStatement::release()
{
    if (!m_entry)
        return;
    // The result repeats the error of the last step, which was raised already. Bindings stay:
    // every use binds all of the statement's parameters again.
    sqlite3_reset(m_entry->stmt);
    m_entry->lent = false;
    if (!m_entry->cached) {
        sqlite3_finalize(m_entry->stmt);
        m_entry->stmt = nullptr;
    }
    m_entry.reset();
}

StatementReset::~StatementReset()
{
    if (m_stmt) {
        // The result repeats the error of the last step, which was raised already. Bindings
        // stay: every use binds all of the statement's parameters again.
        sqlite3_reset(m_stmt);
    }
}

} // namespace qx

TADOConnection::TADOConnection(QObject* parent) : QObject(parent) {}

TADOConnection::~TADOConnection()
{
    try {
        Close();
    } catch (...) {
        // A destructor must not throw; Close has released the handle on every path.
    }
}

void TADOConnection::setConnectionString(const QString& value)
{
    if (Connected())
        throw EDatabaseError(QStringLiteral("Operation not allowed on an open connection"));
    m_connectionString = value;
}

void TADOConnection::setMode(TConnectMode value)
{
    if (Connected())
        throw EDatabaseError(QStringLiteral("Operation not allowed on an open connection"));
    m_mode = value;
}

void TADOConnection::setConnected(bool value)
{
    if (value)
        Open();
    else
        Close();
}

QHash<QString, QString> TADOConnection::ParseConnectionString(const QString& text)
{
    QHash<QString, QString> items;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const int eq = int(text.indexOf(u'=', i));
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed().toUpper();
        int j = eq + 1;
        while (j < n && text[j] == u' ')
            ++j;
        QString value;
        if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
            // A quoted value may hold ';'; a doubled quote stands for the quote.
            const QChar q = text[j++];
            while (j < n) {
                if (text[j] == q) {
                    if (j + 1 < n && text[j + 1] == q) {
                        value += q;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const int semi = int(text.indexOf(u';', j));
            i = semi < 0 ? n : semi + 1;
        } else {
            const int semi = int(text.indexOf(u';', j));
            const int end = semi < 0 ? n : semi;
            value = text.mid(j, end - j).trimmed();
            i = end + 1;
        }
        if (!key.isEmpty())
            items.insert(key, value);
    }
    return items;
}

QString TADOConnection::DatabaseFile() const
{
    const QHash<QString, QString> items = ParseConnectionString(m_connectionString);
    return items.value(QStringLiteral("DATA SOURCE"));
}

void TADOConnection::exec(const char* sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        sqlite3_free(error);
        qx::raiseSqliteError(m_db, rc);
    }
}

void TADOConnection::Open()
{
    if (Connected())
        return;
    const QHash<QString, QString> items = ParseConnectionString(m_connectionString);
    const QString file = items.value(QStringLiteral("DATA SOURCE"));
    if (file.isEmpty())
        throw EDatabaseError(QStringLiteral("连接字符串中没有数据库文件（Data Source）。"));
    const bool memory = file == u":memory:";
    if (!memory && !QFileInfo::exists(file))
        throw EDatabaseError(QStringLiteral("找不到数据库文件：%1").arg(file));

    // ADO's "Mode=Share Exclusive" item asks for the same as the Mode property.
    bool exclusive = m_mode == cmShareExclusive;
    const QString modeItem = items.value(QStringLiteral("MODE")).simplified();
    if (modeItem.contains(QStringLiteral("Share Exclusive"), Qt::CaseInsensitive))
        exclusive = true;

    sqlite3* db = nullptr;
    const QByteArray path = file.toUtf8();
    int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = qx::sqliteErrorMessage(db, rc);
        sqlite3_close_v2(db); // a failed open still hands back a handle to release
        throw EDatabaseError(message);
    }
    m_db = db;
    try {
        sqlite3_extended_result_codes(m_db, 1);
        rc = sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (rc != SQLITE_OK)
            qx::raiseSqliteError(m_db, rc);
        exec("PRAGMA foreign_keys=ON");
        exec("PRAGMA synchronous=FULL");
        if (exclusive) {
            // The exclusive lock is taken by the first write and then kept until Close: an empty
            // exclusive transaction takes it now, so a file in use fails here, not halfway
            // through the maintenance.
            exec("PRAGMA locking_mode=EXCLUSIVE");
        }
        if (!memory)
            exec("PRAGMA journal_mode=DELETE");
        if (exclusive)
            exec("BEGIN EXCLUSIVE; COMMIT");
        // Reading the schema now turns a file that is no database into an error at open.
        exec("SELECT count(*) FROM sqlite_master");
        qx::registerJetFunctions(m_db);
        qx::registerResultCellFunctions(m_db);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    m_transLevel = 0;
}

void TADOConnection::Close()
{
    if (!m_db)
        return;
    Q_EMIT Closing();
    for (const auto& entry : std::as_const(m_statements)) {
        entry->cached = false;
        if (!entry->lent) {
            sqlite3_finalize(entry->stmt);
            entry->stmt = nullptr;
        }
    }
    m_statements.clear();
    // Closing with a transaction open rolls it back: nothing half done is ever committed.
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    // close_v2 releases the handle even if a statement were still alive somewhere.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_transLevel = 0;
}

sqlite3* TADOConnection::handle() const
{
    if (!m_db)
        throw EDatabaseError(QStringLiteral("Connection is closed"));
    return m_db;
}

void TADOConnection::syncTransactionState()
{
    // Some errors (a full disk, an I/O error, a busy COMMIT in some cases) make SQLite roll the
    // whole transaction back by itself; then there is nothing left to commit or roll back.
    if (m_db && m_transLevel > 0 && sqlite3_get_autocommit(m_db))
        m_transLevel = 0;
}

int TADOConnection::BeginTrans()
{
    handle();
    if (m_transLevel == 0) {
        // IMMEDIATE takes the write lock now: a save that would wait for another program waits
        // (the busy timeout) here, before any of its rows are written.
        exec("BEGIN IMMEDIATE");
    } else {
        const QByteArray sql = "SAVEPOINT qx_trans_" + QByteArray::number(m_transLevel + 1);
        exec(sql.constData());
    }
    return ++m_transLevel;
}

void TADOConnection::CommitTrans()
{
    handle();
    syncTransactionState();
    if (m_transLevel == 0)
        throw EDatabaseError(QStringLiteral("No transaction is active"));
    if (m_transLevel == 1) {
        try {
            exec("COMMIT");
        } catch (const EDatabaseError&) {
            syncTransactionState();
            throw;
        }
    } else {
        const QByteArray sql = "RELEASE qx_trans_" + QByteArray::number(m_transLevel);
        exec(sql.constData());
    }
    --m_transLevel;
}

void TADOConnection::RollbackTrans()
{
    handle();
    syncTransactionState();
    if (m_transLevel == 0)
        throw EDatabaseError(QStringLiteral("No transaction is active"));
    if (m_transLevel == 1) {
        exec("ROLLBACK");
    } else {
        // ROLLBACK TO keeps the savepoint open; RELEASE then ends it.
        const QByteArray name = "qx_trans_" + QByteArray::number(m_transLevel);
        exec(("ROLLBACK TO " + name).constData());
        exec(("RELEASE " + name).constData());
    }
    --m_transLevel;
}

int TADOConnection::Execute(const QString& sql, const QVariantMap& params)
{
    const qx::ParsedSql parsed = qx::parseSqlParameters(sql);
    TParameters list;
    list.Rebuild(parsed.names);
    for (auto it = params.begin(); it != params.end(); ++it)
        if (TParameter* p = list.FindParam(it.key()))
            p->setValue(it.value());
    return Execute(sql, list);
}

int TADOConnection::Execute(const QString& sql, const TParameters& params)
{
    sqlite3* db = handle();
    const qx::ParsedSql parsed = qx::parseSqlParameters(sql);
    // The caller's list may be in another order than the text's names: bind by name.
    TParameters ordered;
    ordered.Rebuild(parsed.names);
    for (int i = 0; i < ordered.Count(); ++i) {
        if (const TParameter* p = params.FindParam(ordered[i].Name())) {
            ordered[i].setDataType(p->DataType());
            ordered[i].setValue(p->Value());
        }
    }
    const bool hadTransaction = m_transLevel > 0;
    QByteArray rest = parsed.sql.toUtf8();
    int changed = 0;
    try {
        while (!rest.trimmed().isEmpty()) {
            QByteArray tail;
            qx::SqliteStatement stmt(db, rest, &tail);
            rest = tail;
            if (stmt.isNull())
                continue; // only blanks or a comment
            ordered.BindTo(db, stmt.get());
            // sqlite3_changes keeps the count of the last INSERT, UPDATE or DELETE, so it is
            // only read when this statement changed rows itself.
            const sqlite3_int64 before = sqlite3_total_changes64(db);
            while (qx::stepStatement(db, stmt.get())) {
            }
            if (sqlite3_total_changes64(db) != before)
                changed += int(sqlite3_changes(db));
        }
    } catch (const EDatabaseError& e) {
        syncTransactionState();
        if (hadTransaction && m_transLevel == 0)
            throw EDatabaseError(transactionLostNote(e.Message()));
        throw;
    }
    return changed;
}

void TADOConnection::GetTableNames(QStringList& list, bool SystemTables) const
{
    sqlite3* db = handle();
    list.clear();
    const QByteArray sql =
        SystemTables ? "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name COLLATE NOCASE"
                     : "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' "
                       "ESCAPE '\\' ORDER BY name COLLATE NOCASE";
    qx::SqliteStatement stmt(db, sql);
    while (qx::stepStatement(db, stmt.get()))
        list.append(qx::columnVariant(stmt.get(), 0).toString());
}

void TADOConnection::GetViewNames(QStringList& list) const
{
    sqlite3* db = handle();
    list.clear();
    qx::SqliteStatement stmt(db, "SELECT name FROM sqlite_master WHERE type='view' ORDER BY name COLLATE NOCASE");
    while (qx::stepStatement(db, stmt.get()))
        list.append(qx::columnVariant(stmt.get(), 0).toString());
}

void TADOConnection::GetFieldNames(const QString& tableName, QStringList& list) const
{
    sqlite3* db = handle();
    list.clear();
    qx::SqliteStatement stmt(db, "SELECT name FROM pragma_table_info(?1)");
    qx::bindVariant(db, stmt.get(), 1, tableName);
    while (qx::stepStatement(db, stmt.get()))
        list.append(qx::columnVariant(stmt.get(), 0).toString());
}

qx::CachedStatement TADOConnection::cachedStatement(const QString& sql)
{
    sqlite3* db = handle();
    const auto found = m_statements.constFind(sql);
    if (found != m_statements.cend() && !found.value()->lent) {
        const std::shared_ptr<qx::detail::CachedStatementEntry>& entry = found.value();
        entry->lent = true;
        entry->lastUse = ++m_statementClock;
        return qx::CachedStatement(entry);
    }

    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt, nullptr);
    if (rc != SQLITE_OK)
        qx::raiseSqliteError(db, rc);
    if (!stmt)
        throw EDatabaseError(QStringLiteral("The statement is empty"));
    auto entry = std::make_shared<qx::detail::CachedStatementEntry>();
    entry->stmt = stmt;
    entry->lent = true;
    entry->lastUse = ++m_statementClock;
    if (found != m_statements.cend()) {
        // The cached one is on lease to a caller further up: this caller gets one of its own.
        entry->cached = false;
        return qx::CachedStatement(entry);
    }
    if (m_statements.size() >= kStatementCacheLimit) {
        // Let go of the least recently used idle quarter; a full cache of statements on lease
        // simply grows.
        std::vector<std::pair<quint64, QString>> idle;
        for (auto it = m_statements.cbegin(); it != m_statements.cend(); ++it)
            if (!it.value()->lent)
                idle.emplace_back(it.value()->lastUse, it.key());
        std::sort(idle.begin(), idle.end());
        const std::size_t drop = std::min(idle.size(), std::size_t(kStatementCacheLimit / 4));
        for (std::size_t i = 0; i < drop; ++i) {
            const std::shared_ptr<qx::detail::CachedStatementEntry> old = m_statements.take(idle[i].second);
            sqlite3_finalize(old->stmt);
            old->stmt = nullptr;
            old->cached = false;
        }
    }
    m_statements.insert(sql, entry);
    return qx::CachedStatement(entry);
}

qint64 TADOConnection::LastInsertRowId() const
{
    return sqlite3_last_insert_rowid(handle());
}

void TADOConnection::CreateDatabase(const QString& fileName)
{
    if (QFileInfo::exists(fileName))
        throw EDatabaseError(QStringLiteral("Database already exists: %1").arg(fileName));
    sqlite3* db = nullptr;
    const QByteArray path = fileName.toUtf8();
    int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        // SQLite writes the file only with its first page; a user_version write makes it now.
        rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA user_version=1", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString message = qx::sqliteErrorMessage(db, rc);
        sqlite3_close_v2(db);
        throw EDatabaseError(message);
    }
    sqlite3_close_v2(db);
}
