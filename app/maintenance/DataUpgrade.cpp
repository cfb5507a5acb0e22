#include "app/maintenance/DataUpgrade.h"

#include "app/maintenance/DatabaseMaintenance.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteBackup.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Exceptions.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>

namespace qx::app {

namespace {

const char16_t* const kSkippedTables[] = {u"t_Userdb", u"tQueryReport", u"tDictDlt", u"tDictMst"};

// The schema name the older database is attached under.
const QString kOld = QStringLiteral("upgrade_source");

// A read-only URI of the file: the older database is never written, not even its journal.
QString readOnlyUri(const QString& file)
{
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded)
           + QStringLiteral("?mode=ro");
}

QStringList oldTables(const TADOConnection& connection)
{
    sqlite3* db = connection.handle();
    qx::SqliteStatement stmt(db, "SELECT name FROM upgrade_source.sqlite_master WHERE type='table' "
                                 "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name COLLATE NOCASE");
    QStringList tables;
    while (qx::stepStatement(db, stmt.get()))
        tables << qx::columnVariant(stmt.get(), 0).toString();
    return tables;
}

struct TableColumn
{
    QString name;
    bool yesNo = false;
};

// The columns of a table of one of the connection's schemas ("main" or the attached source),
// each with whether it is declared Yes/No.
QList<TableColumn> tableColumns(const TADOConnection& connection, const QString& schema, const QString& table)
{
    sqlite3* db = connection.handle();
    qx::SqliteStatement stmt(db, "SELECT name, type FROM pragma_table_info(?1, ?2)");
    qx::bindVariant(db, stmt.get(), 1, table);
    qx::bindVariant(db, stmt.get(), 2, schema);
    QList<TableColumn> columns;
    while (qx::stepStatement(db, stmt.get())) {
        const QString type = qx::columnVariant(stmt.get(), 1).toString().trimmed();
        columns.append({qx::columnVariant(stmt.get(), 0).toString(),
                        type.compare(QStringLiteral("YESNO"), Qt::CaseInsensitive) == 0});
    }
    return columns;
}

// The current column that equals name without case; null when none does.
const TableColumn* matchColumn(const QList<TableColumn>& columns, const QString& name)
{
    for (const TableColumn& column : columns) {
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

// The value an older row gives a column: a Yes/No column of the current database allows no
// Null, and holds 0 or 1, so a Null or any word for "no" is written as 0 and any other value
// as 1, as the schema upgrade of a database does.
QString sourceValue(const QString& column, bool yesNo)
{
    const QString q = qx::quoteSqlName(column);
    if (!yesNo)
        return q;
    return QStringLiteral("CASE WHEN %1 IS NULL THEN 0 WHEN %1 = 0 OR lower(trim(%1)) IN "
                          "('false', 'no', '否', '0') THEN 0 ELSE 1 END")
        .arg(q);
}

// The name of list that equals name without case; empty when none does.
QString match(const QStringList& list, const QString& name)
{
    for (const QString& item : list) {
        if (item.compare(name, Qt::CaseInsensitive) == 0)
            return item;
    }
    return QString();
}

void copyTable(TADOConnection& connection, const QString& oldTable, const QString& table)
{
    connection.Execute(QStringLiteral("DELETE FROM main.") + qx::quoteSqlName(table));
    const QList<TableColumn> current = tableColumns(connection, QStringLiteral("main"), table);
    QStringList into;
    QStringList from;
    for (const TableColumn& column : tableColumns(connection, kOld, oldTable)) {
        const TableColumn* same = matchColumn(current, column.name);
        if (!same || column.name.compare(QStringLiteral("Id"), Qt::CaseInsensitive) == 0)
            continue;
        into << qx::quoteSqlName(same->name);
        from << sourceValue(column.name, same->yesNo);
    }
    if (into.isEmpty())
        return;
    connection.Execute(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM %4.%5 ORDER BY rowid")
                           .arg(qx::quoteSqlName(table), into.join(QStringLiteral(", ")),
                                from.join(QStringLiteral(", ")), kOld, qx::quoteSqlName(oldTable)));
}

} // namespace

bool SkippedByUpgrade(const QString& table)
{
    if (table.startsWith(QStringLiteral("V_"), Qt::CaseInsensitive))
        return true;
    for (const char16_t* skipped : kSkippedTables) {
        if (table.compare(QString::fromUtf16(skipped), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void CheckOldDatabase(const QString& oldDatabase)
{
    const qx::SqliteFile check(oldDatabase, qx::SqliteFile::ReadOnly);
}

void UpgradeFrom(TADOConnection& connection, const QString& oldDatabase, const UpgradeProgress& progress)
{
    if (!connection.Connected())
        connection.Open();
    // Emptying a table and filling it from itself would lose every row.
    if (sameFile(oldDatabase, connection.DatabaseFile()))
        throw EDatabaseError(QStringLiteral("The database to upgrade from is the current database"));
    if (!QFileInfo(oldDatabase).isFile())
        throw EDatabaseError(QStringLiteral("Could not find file '%1'.").arg(oldDatabase));

    connection.Execute(QStringLiteral("ATTACH DATABASE :file AS ") + kOld,
                       {{QStringLiteral("file"), readOnlyUri(oldDatabase)}});
    const auto detach = qScopeGuard([&connection] {
        try {
            connection.Execute(QStringLiteral("DETACH DATABASE ") + kOld);
        } catch (const Exception&) {
            // Closing the connection detaches it as well.
        }
    });

    const QStringList tables = oldTables(connection);
    QStringList current;
    connection.GetTableNames(current);
    connection.BeginTrans();
    try {
        for (int i = 0; i < tables.size(); ++i) {
            if (progress)
                progress(i, int(tables.size()));
            const QString table = match(current, tables[i]);
            if (table.isEmpty() || SkippedByUpgrade(tables[i]))
                continue;
            copyTable(connection, tables[i], table);
        }
        connection.CommitTrans();
    } catch (...) {
        try {
            if (connection.InTransaction())
                connection.RollbackTrans();
        } catch (const Exception&) {
            // Closing the connection rolls back what is left; the first error is the one to tell.
            connection.Close();
        }
        throw;
    }
}

} // namespace qx::app
