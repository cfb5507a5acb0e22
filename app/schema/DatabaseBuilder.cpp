#include "app/schema/DatabaseBuilder.h"

#include "app/schema/BuildPartFile.h"

#include "app/schema/DatabaseSchema.h"
#include "app/schema/OperatorRights.h"
#include "app/schema/Password.h"
#include "app/schema/ShippedTemplates.h"
#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace qx::app {

namespace {

// Raised inside the build; the caller turns it into the message that names the file.
[[noreturn]] void fail(const QString& reason)
{
    throw EDatabaseError(reason);
}

QString sqliteError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// The first line of a statement, short enough for a message.
QString statementHead(const char* sql)
{
    QString text = QString::fromUtf8(sql).trimmed();
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    if (newline >= 0)
        text.truncate(newline);
    if (text.size() > 80)
        text = text.left(77) + QStringLiteral("...");
    return text;
}

class Statement
{
public:
    Statement() = default;
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt** out() { return &m_stmt; }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// Runs every statement of a script in order; rows that a statement returns are ignored.
void runScript(sqlite3* db, const QByteArray& script, const QString& scriptName)
{
    const char* next = script.constData();
    while (*next) {
        Statement stmt;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db, next, -1, stmt.out(), &tail) != SQLITE_OK) {
            fail(QStringLiteral("%1: %2 [%3]")
                     .arg(scriptName, sqliteError(db), statementHead(next)));
        }
        if (!stmt.get())  // only blanks or comments were left
            break;
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {}
        if (rc != SQLITE_DONE) {
            fail(QStringLiteral("%1: %2 [%3]")
                     .arg(scriptName, sqliteError(db), statementHead(sqlite3_sql(stmt.get()))));
        }
        next = tail;
    }
}

void exec(sqlite3* db, const char* sql)
{
    runScript(db, QByteArray(sql), QStringLiteral("SQL"));
}

// The first column of every row of a query, as text.
QStringList queryColumn(sqlite3* db, const char* sql)
{
    Statement stmt;
    if (sqlite3_prepare_v2(db, sql, -1, stmt.out(), nullptr) != SQLITE_OK)
        fail(QStringLiteral("%1 [%2]").arg(sqliteError(db), statementHead(sql)));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        values << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    }
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("%1 [%2]").arg(sqliteError(db), statementHead(sql)));
    return values;
}

void bindText(sqlite3* db, sqlite3_stmt* stmt, int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT)
        != SQLITE_OK) {
        fail(sqliteError(db));
    }
}

// The all-rights operator: one row per right, all carrying the hash of the empty password.
void insertAdministrator(sqlite3* db)
{
    const char* sql = "INSERT INTO t_UserDB (UserCode, Password, Remark, \"Right\") VALUES (?, ?, ?, ?)";
    Statement stmt;
    if (sqlite3_prepare_v2(db, sql, -1, stmt.out(), nullptr) != SQLITE_OK)
        fail(QStringLiteral("%1 [%2]").arg(sqliteError(db), statementHead(sql)));
    const QString code = administratorCode();
    const QString password = hashPassword(QString());
    const QString remark = QStringLiteral("拥有全部权限");
    for (const QString& right : administratorRights()) {
        bindText(db, stmt.get(), 1, code);
        bindText(db, stmt.get(), 2, password);
        bindText(db, stmt.get(), 3, remark);
        bindText(db, stmt.get(), 4, right);
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            fail(QStringLiteral("%1 [%2]").arg(sqliteError(db), statementHead(sql)));
        if (sqlite3_reset(stmt.get()) != SQLITE_OK)
            fail(sqliteError(db));
    }
}

// The dictionary must describe exactly the tables and columns that exist.
void checkDictionary(sqlite3* db)
{
    QStringList problems;
    const auto report = [&problems](const QString& what, const QStringList& names) {
        if (!names.isEmpty())
            problems << what + names.join(QStringLiteral(", "));
    };
    report(QStringLiteral("没有登记的表："),
           queryColumn(db, "SELECT name FROM sqlite_schema"
                           " WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite!_%' ESCAPE '!'"
                           "   AND name COLLATE BINARY NOT IN (SELECT Tablename FROM tDictMst)"));
    report(QStringLiteral("登记了不存在的表："),
           queryColumn(db, "SELECT Tablename FROM tDictMst"
                           " WHERE Tablename COLLATE BINARY NOT IN"
                           "       (SELECT name FROM sqlite_schema WHERE type IN ('table', 'view'))"));
    report(QStringLiteral("没有中文名称或类型的字段："),
           queryColumn(db, "SELECT TableName || '.' || FieldName FROM tDictDlt"
                           " WHERE CFieldName IS NULL OR FieldType IS NULL ORDER BY IndexID"));
    report(QStringLiteral("中文名称对应不存在的字段："),
           queryColumn(db, "SELECT c.TableName || '.' || c.FieldName FROM temp.DictCaption c"
                           " WHERE NOT EXISTS (SELECT 1 FROM tDictDlt d"
                           "                    WHERE d.TableName = c.TableName COLLATE BINARY"
                           "                      AND d.FieldName = c.FieldName COLLATE BINARY)"));
    if (!problems.isEmpty())
        fail(QStringLiteral("数据字典与表结构不符。") + problems.join(QStringLiteral("；")));
}

class Connection
{
public:
    Connection() = default;
    ~Connection() { sqlite3_close_v2(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3** out() { return &m_db; }
    sqlite3* get() const { return m_db; }

    // Closes now so that a failure to close is seen, not lost in a destructor.
    void close()
    {
        sqlite3* db = m_db;
        m_db = nullptr;
        if (sqlite3_close(db) != SQLITE_OK) {
            const QString reason = sqliteError(db);
            sqlite3_close_v2(db);
            fail(reason);
        }
    }

private:
    sqlite3* m_db = nullptr;
};

// Makes the rename durable: the folder's entry is flushed like the file's contents.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void build(const QString& target, const std::function<void(sqlite3*)>& beforeCommit)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        fail(QStringLiteral("文件夹不存在：%1").arg(QDir::toNativeSeparators(folder)));

    // What an interrupted build left here goes first; a build under way keeps its files.
    removeStaleBuildFiles(info.absoluteFilePath());
    BuildPartFile part(info.absoluteFilePath());
    {
        Connection db;
        if (sqlite3_open_v2(QFile::encodeName(part.path()).constData(), db.out(),
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE, nullptr)
            != SQLITE_OK) {
            fail(db.get() ? sqliteError(db.get()) : QStringLiteral("内存不足"));
        }
        if (sqlite3_busy_timeout(db.get(), 5000) != SQLITE_OK)
            fail(sqliteError(db.get()));
        // The file may later sit on a network share: a rollback journal, and every commit
        // flushed to disk.
        exec(db.get(), "PRAGMA journal_mode = DELETE");
        exec(db.get(), "PRAGMA synchronous = FULL");

        exec(db.get(), "BEGIN IMMEDIATE");
        runScript(db.get(), schemaSql(), QStringLiteral("Schema.sql"));
        runScript(db.get(), firstRowsSql(), QStringLiteral("FirstRows.sql"));
        insertAdministrator(db.get());
        runScript(db.get(), dictionarySql(), QStringLiteral("Dictionary.sql"));
        checkDictionary(db.get());
        exec(db.get(), "DROP TABLE temp.DictCaption");
        insertShippedTemplates(db.get());
        exec(db.get(), QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion).toUtf8().constData());
        if (beforeCommit)
            beforeCommit(db.get());
        exec(db.get(), "COMMIT");
        db.close();
    }

    // QFile::rename never replaces an existing file (an atomic no-replace rename where the
    // file system offers one), so a database that appeared meanwhile stays untouched.
    QFile partFile(part.path());
    if (!partFile.rename(info.absoluteFilePath())) {
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            fail(QStringLiteral("数据库文件已经存在，不能覆盖"));
        fail(partFile.errorString());
    }
    part.keep();
    syncFolder(folder);
}

} // namespace

void buildDatabase(const QString& path)
{
    detail::buildDatabase(path, {});
}

void detail::buildDatabase(const QString& path, const std::function<void(sqlite3*)>& beforeCommit)
{
    if (path.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("建立数据库失败：没有给出数据库文件名"));
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        throw EDatabaseError(QStringLiteral("数据库文件已经存在，不能覆盖：%1").arg(shownPath));
    try {
        build(path, beforeCommit);
    } catch (const Exception& e) {
        throw EDatabaseError(QStringLiteral("建立数据库失败：%1\n%2").arg(shownPath, e.Message()));
    }
}

} // namespace qx::app
