// TADOQuery: a dataset over the result of a SELECT on a TADOConnection. Open runs the
// statement once and keeps a static snapshot of its rows in the dataset's record store, so
// browsing, sorting and filtering never go back to the database.
//
// Fields come from the declared column types: TEXT(n) string of n characters, MEMO memo,
// INTEGER integer (the INTEGER PRIMARY KEY of an AUTOINCREMENT table: autoinc), MONEY currency,
// DOUBLE float, DECIMAL BCD, DATETIME date-time, YESNO Boolean, BLOB blob. Expression columns
// have no declared type and take their kind from the expression and all their values (see
// ExpressionColumns.h): money stays money, integers widen to BCD when a fraction appears,
// numbers and text mixed read as text, and a result with no rows has the same fields.
//
// A result over one table (select * or columns of that table, with or without aliases, no
// join, grouping or DISTINCT, not a view) can be changed: Post writes an INSERT of the assigned
// columns (the database's defaults fill the rest, and the new row is read back, its
// autoincrement number with it) or an UPDATE of the changed columns; Delete deletes. Rows are
// found again by their rowid, which the query reads along with the result without showing it,
// and a write never changes a row it did not read: an UPDATE also checks that the row still
// holds the values that were read (see RowCheck), a DELETE that every column read does. A row
// changed or deleted by another user, or renumbered by a compaction, is refused with "Row
// cannot be located for updating. Some values may have been changed since it was last read."
// and nothing is written. Every write goes through the connection, inside whatever transaction
// it has open. Other results are read-only.
//
// With DataSource set, the query is the detail of the dataset behind that source: each
// parameter takes the master's field of the same name, and the query runs again whenever the
// master moves to another row or changes one of those fields.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOParameters.h"
#include "platform/db/sql/ResultCells.h"
#include "platform/db/sql/SqlStrings.h"

#include <QHash>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

namespace qx {
class SqliteStatement;
struct ParsedSql;
} // namespace qx


class TADOQuery : public TDataSet
{
    Q_OBJECT
    Q_PROPERTY(TADOConnection* Connection READ Connection WRITE SetConnection)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(QStringList SQL READ SQLLines WRITE SetSQLLines)

public:
    explicit TADOQuery(QObject* owner = nullptr);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return m_connection; }
    // Closes the query first.
    void SetConnection(TADOConnection* connection);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);

    // The statement; any change closes the query and re-reads the parameter names (values of
    // names that stay are kept).
    qx::SqlStrings& SQL() { return m_sql; }
    const qx::SqlStrings& SQL() const { return m_sql; }
    QStringList SQLLines() const { return m_sql.Lines(); }
    void SetSQLLines(const QStringList& lines) { m_sql.SetLines(lines); }

    TParameters& Parameters() { return m_parameters; }
    const TParameters& Parameters() const { return m_parameters; }
    TParameter* ParamByName(const QString& name) { return &m_parameters.ParamByName(name); }

    // Runs a statement that returns no rows; returns the rows it changed.
    int ExecSQL();
    // Rows changed by the last ExecSQL, or by the last write of Post or Delete.
    int RowsAffected() const { return m_rowsAffected; }
    // Runs the statement again and returns to the same record number (or the last record).
    void Requery();

    // True when the open result can be written back (one table, not a view).
    bool CanWriteBack() const { return m_updatable; }
    // The table writes go to; empty for a read-only result.
    QString UpdateTableName() const { return m_table; }

    bool CanModify() const override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void ApplyInsert() override;
    void ApplyUpdate() override;
    void ApplyDelete(std::uint32_t slot) override;
    void RowStored(std::uint32_t slot, bool inserted) override;
    void RowsCleared() override;

    // The statement text handed to SQLite (before the rowid column is added).
    virtual QString StatementText() const { return m_sql.Text(); }

private:
    class MasterLink;
    friend class MasterLink;

    struct Column
    {
        QString origin;   // the table's column behind this result column; empty for expressions
        bool writable = false;
        bool key = false; // a column of the table's primary key
        qx::CellLoad load = qx::CellLoad::Text;
    };
    // Which values an UPDATE checks besides the row's rowid (a DELETE checks every column read):
    //  ChangedColumns        the table's INTEGER PRIMARY KEY is its rowid, which no compaction
    //                        renumbers: the changed columns must still hold what was read;
    //  ChangedColumnsAndKey  another primary key, read whole: the changed and the key columns;
    //  EveryColumn           no key of its own (or not read): every column read, so a row
    //                        renumbered by a compaction is never taken for another.
    enum class RowCheck { ChangedColumns, ChangedColumnsAndKey, EveryColumn };

    // What an open learns of its statement and table, kept for the next opens of the same text
    // on the same schema (the result's values are read anew every time).
    struct OpenPlan
    {
        sqlite3* handle = nullptr;
        qint64 schema = 0;
        QString sql;             // the statement as bound (names replaced by numbers)
        QByteArray text;         // the statement as run (with the rowid column when written back)
        bool withRowid = false;
        int first = 0;           // result column of the first shown column
        int count = 0;           // shown columns
        std::vector<TFieldType> types; // declared kinds; ftUnknown for expressions
        std::vector<int> sizes;
        std::vector<bool> required;
        std::vector<Column> columns; // by result column
        bool updatable = false;
        QString table;
        QString rowidAlias;
        RowCheck rowCheck = RowCheck::EveryColumn;
        QString readOnlyReason;
    };
    static qx::SqliteStatement analyseStatement(sqlite3* handle, const QString& parsed, OpenPlan& plan);
    qint64 schemaVersion(sqlite3* handle) const;
    const qx::ParsedSql& parsedStatement();

    sqlite3* db() const;
    void checkConnection() const;
    void sqlChanged();
    void masterChanged();
    void refuseWrite() const;
    QString columnList() const;
    void bindCell(sqlite3_stmt* stmt, int index, const TField* field, const QVariant& cell) const;
    TField* fieldOfColumn(int column) const;
    void takeStoredCell(int column, sqlite3_value* value);

    qx::SqlStrings m_sql;
    TParameters m_parameters;
    QPointer<TADOConnection> m_connection;
    QMetaObject::Connection m_closingConnection;
    std::unique_ptr<MasterLink> m_masterLink;
    int m_rowsAffected = -1;

    // The open result.
    bool m_updatable = false;
    QString m_table;
    QString m_rowidAlias;           // the table's INTEGER PRIMARY KEY column, when it has one
    RowCheck m_rowCheck = RowCheck::EveryColumn;
    std::vector<Column> m_columns;  // by store column
    std::vector<qint64> m_rowIds;   // by record store slot
    std::vector<TField*> m_fieldOfColumn; // by store column
    // The prepared UPDATE for each set of changed columns (a bit per store column), made once:
    // a form changes the same few columns over and over. Finalized when the query closes,
    // which is always before its connection goes.
    QHash<QByteArray, sqlite3_stmt*> m_updates;
    QByteArray m_maskScratch;
    void finalizeUpdates();
    qint64 m_pendingRowId = 0;
    static constexpr std::size_t kKeptPlans = 4;
    std::vector<std::unique_ptr<OpenPlan>> m_plans; // most recently used first
    QString m_parsedText;
    std::unique_ptr<qx::ParsedSql> m_parsed;
    QString m_readOnlyReason;
};

// TADODataSet: the same dataset with its statement in CommandText, as the forms that used the
// ADO data set component write it.
class TADODataSet : public TADOQuery
{
    Q_OBJECT
    Q_PROPERTY(QString CommandText READ CommandText WRITE SetCommandText)

public:
    using TADOQuery::TADOQuery;
    QString CommandText() const { return SQL().Text(); }
    void SetCommandText(const QString& text) { SQL().SetText(text); }
};
