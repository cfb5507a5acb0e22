#include "platform/db/sql/ADOQuery.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/DeclaredTypes.h"
#include "platform/db/sql/ExpressionColumns.h"
#include "platform/db/sql/ResultCells.h"
#include "platform/db/sql/SqlLexer.h"
#include "platform/db/sql/SqlParamParser.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

#include <sqlite3.h>

namespace {

const QString kRowNotFound = QStringLiteral(
    "Row cannot be located for updating. Some values may have been changed since it was last read.");

// ---- the shape of the statement ----------------------------------------------------------

// Where a SELECT can be written back to: its one table, or why it cannot.
struct SelectShape
{
    QString table;      // the table after FROM; empty when the result is read-only
    QString reason;     // why not, for the error of an edit attempt
    qsizetype listAt = -1; // where the select list begins (after SELECT [ALL])
};

SelectShape analyseSelect(const QString& sql)
{
    SelectShape shape;
    QList<qx::SqlToken> tokens;
    for (const qx::SqlToken& t : qx::tokenizeSql(sql))
        if (t.kind != qx::SqlToken::Space && t.kind != qx::SqlToken::Comment)
            tokens.append(t);
    auto word = [&](int i) {
        return i >= 0 && i < tokens.size() && tokens[i].kind == qx::SqlToken::Word
                   ? tokens[i].text(sql).toString().toUpper()
                   : QString();
    };
    auto sym = [&](int i, QChar c) {
        return i >= 0 && i < tokens.size() && tokens[i].kind == qx::SqlToken::Symbol && sql[tokens[i].pos] == c;
    };
    if (word(0) != u"SELECT") {
        shape.reason = QStringLiteral("the statement is not a plain SELECT");
        return shape;
    }
    int i = 1;
    if (word(1) == u"ALL")
        i = 2;
    shape.listAt = tokens[i - 1].pos + tokens[i - 1].len;
    if (word(1) == u"DISTINCT") {
        shape.reason = QStringLiteral("the query reads DISTINCT rows");
        return shape;
    }
    int depth = 0;
    int from = -1;
    static const QSet<QString> grouping = {QStringLiteral("GROUP"), QStringLiteral("HAVING"),
                                           QStringLiteral("UNION"), QStringLiteral("EXCEPT"),
                                           QStringLiteral("INTERSECT"), QStringLiteral("WINDOW")};
    for (int k = i; k < tokens.size(); ++k) {
        if (sym(k, u'('))
            ++depth;
        else if (sym(k, u')'))
            --depth;
        if (depth != 0)
            continue;
        const QString w = word(k);
        if (grouping.contains(w)) {
            shape.reason = QStringLiteral("the query groups or combines rows");
            return shape;
        }
        if (w == u"FROM" && from < 0)
            from = k;
    }
    if (from < 0) {
        shape.reason = QStringLiteral("the query reads no table");
        return shape;
    }
    int k = from + 1;
    if (sym(k, u'(')) {
        shape.reason = QStringLiteral("the query reads a sub-query");
        return shape;
    }
    auto nameAt = [&](int at) {
        const QStringView text = tokens[at].text(sql);
        if (tokens[at].kind == qx::SqlToken::QuotedName)
            return text.mid(1, text.size() - 2).toString();
        return text.toString();
    };
    if (k >= tokens.size() || (tokens[k].kind != qx::SqlToken::Word && tokens[k].kind != qx::SqlToken::QuotedName)) {
        shape.reason = QStringLiteral("the query reads no table");
        return shape;
    }
    QString table = nameAt(k);
    if (sym(k + 1, u'.') && k + 2 < tokens.size()) { // schema.table
        k += 2;
        table = nameAt(k);
    }
    ++k;
    static const QSet<QString> ends = {QStringLiteral("WHERE"), QStringLiteral("ORDER"), QStringLiteral("LIMIT"),
                                       QStringLiteral("INDEXED"), QStringLiteral("NOT")};
    if (word(k) == u"AS")
        k += 2;
    else if (k < tokens.size() && (tokens[k].kind == qx::SqlToken::Word || tokens[k].kind == qx::SqlToken::QuotedName)
             && !ends.contains(word(k)))
        ++k; // the table's alias
    if (k < tokens.size() && !ends.contains(word(k)) && !sym(k, u';')) {
        shape.reason = QStringLiteral("the query joins several tables");
        return shape;
    }
    shape.table = table;
    return shape;
}

struct TableColumnInfo
{
    bool notNull = false;
    bool hasDefault = false;
    int pk = 0;
    QString type;
};

// The key of a table: its INTEGER PRIMARY KEY (which is the rowid, so a row keeps it through a
// compaction) or the columns of another primary key.
struct TableKey
{
    bool rowidAlias = false;
    QStringList columns; // lower case
};

TableKey tableKey(const QHash<QString, TableColumnInfo>& info)
{
    TableKey key;
    for (auto it = info.begin(); it != info.end(); ++it)
        if (it.value().pk > 0)
            key.columns.append(it.key());
    key.rowidAlias = key.columns.size() == 1
                     && info.value(key.columns.first()).type.compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0;
    return key;
}

QHash<QString, TableColumnInfo> tableInfo(sqlite3* db, const QString& table)
{
    QHash<QString, TableColumnInfo> info;
    qx::SqliteStatement stmt(db, "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1)");
    qx::bindVariant(db, stmt.get(), 1, table);
    while (qx::stepStatement(db, stmt.get())) {
        TableColumnInfo c;
        c.type = qx::columnVariant(stmt.get(), 1).toString();
        c.notNull = sqlite3_column_int(stmt.get(), 2) != 0;
        c.hasDefault = sqlite3_column_type(stmt.get(), 3) != SQLITE_NULL;
        c.pk = sqlite3_column_int(stmt.get(), 4);
        info.insert(qx::columnVariant(stmt.get(), 0).toString().toLower(), c);
    }
    return info;
}

// Copies of the result rows read while the kinds of the expression columns are worked out
// (a statement's own values last only until its next step). Freed on every path.
class KeptRows
{
public:
    KeptRows() = default;
    ~KeptRows() { clear(); }
    KeptRows(const KeptRows&) = delete;
    KeptRows& operator=(const KeptRows&) = delete;

    sqlite3_value** add(sqlite3_stmt* stmt, int width)
    {
        m_width = width;
        const std::size_t at = m_values.size();
        m_values.resize(at + std::size_t(width), nullptr);
        for (int i = 0; i < width; ++i) {
            m_values[at + std::size_t(i)] = sqlite3_value_dup(sqlite3_column_value(stmt, i));
            if (!m_values[at + std::size_t(i)])
                throw std::bad_alloc();
        }
        return m_values.data() + at;
    }
    std::size_t rows() const { return m_width ? m_values.size() / std::size_t(m_width) : 0; }
    sqlite3_value** row(std::size_t r) { return m_values.data() + r * std::size_t(m_width); }
    void clear()
    {
        for (sqlite3_value* v : m_values)
            sqlite3_value_free(v);
        m_values.clear();
    }

private:
    std::vector<sqlite3_value*> m_values;
    int m_width = 0;
};

} // namespace

// ---- master link -------------------------------------------------------------------------

class TADOQuery::MasterLink : public TDataLink
{
public:
    explicit MasterLink(TADOQuery* query) : m_query(query) {}

protected:
    void ActiveChanged() override { m_query->masterChanged(); }
    void RecordChanged(TField* field) override
    {
        // A change of a field that feeds no parameter leaves the detail as it is.
        if (!field || m_query->m_parameters.FindParam(field->FieldName()))
            m_query->masterChanged();
    }
    void CheckBrowseMode() override
    {
        if (m_query->Active())
            m_query->CheckBrowseMode();
    }

private:
    TADOQuery* m_query;
};

// ---- TADOQuery ---------------------------------------------------------------------------

TADOQuery::TADOQuery(QObject* owner) : TDataSet(owner)
{
    m_sql.OnChange = [this] { sqlChanged(); };
}

TADOQuery::~TADOQuery()
{
    finalizeUpdates();
    m_sql.OnChange = nullptr;
    if (m_masterLink)
        m_masterLink->SetDataSource(nullptr);
}

void TADOQuery::SetConnection(TADOConnection* connection)
{
    if (connection == m_connection)
        return;
    Close();
    m_plans.clear();
    QObject::disconnect(m_closingConnection);
    m_connection = connection;
    if (connection)
        m_closingConnection = connect(connection, &TADOConnection::Closing, this, [this] {
            Close();
            m_plans.clear();
        });
}

TDataSource* TADOQuery::DataSource() const
{
    return m_masterLink ? m_masterLink->DataSource() : nullptr;
}

void TADOQuery::SetDataSource(TDataSource* source)
{
    if (source && source->DataSet() == this)
        DatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    if (!m_masterLink)
        m_masterLink = std::make_unique<MasterLink>(this);
    m_masterLink->SetDataSource(source);
}

void TADOQuery::sqlChanged()
{
    Close();
    m_parameters.Rebuild(parsedStatement().names);
}

void TADOQuery::checkConnection() const
{
    if (!m_connection)
        DatabaseError(QStringLiteral("%1: Missing Connection or ConnectionString")
                          .arg(objectName().isEmpty() ? QStringLiteral("TADOQuery") : objectName()));
}

sqlite3* TADOQuery::db() const
{
    checkConnection();
    return m_connection->handle();
}

void TADOQuery::masterChanged()
{
    TDataSet* master = m_masterLink ? m_masterLink->DataSet() : nullptr;
    if (!Active() || !master)
        return;
    // The detail follows only when a parameter's master value changed.
    bool changed = false;
    for (int i = 0; i < m_parameters.Count(); ++i) {
        TField* f = master->FindField(m_parameters[i].Name());
        if (!f)
            continue;
        const QVariant v = master->Active() ? f->Value() : QVariant();
        if (v != m_parameters[i].Value() || v.isNull() != m_parameters[i].IsNull())
            changed = true;
    }
    if (!changed)
        return;
    CheckBrowseMode();
    Close();
    Open();
}

int TADOQuery::ExecSQL()
{
    checkConnection();
    m_rowsAffected = -1;
    m_rowsAffected = m_connection->Execute(StatementText(), m_parameters);
    return m_rowsAffected;
}

void TADOQuery::Requery()
{
    int recNo = 0;
    if (Active()) {
        CheckBrowseMode();
        recNo = RecNo();
    }
    Close();
    Open();
    if (recNo > 0 && RecordCount() > 0)
        SetRecNo(std::min(recNo, RecordCount()));
}

bool TADOQuery::CanModify() const
{
    return TDataSet::CanModify() && (!Active() || m_updatable);
}

void TADOQuery::refuseWrite() const
{
    DatabaseError(QStringLiteral("Cannot modify a read-only dataset: %1").arg(m_readOnlyReason));
}

TField* TADOQuery::fieldOfColumn(int column) const
{
    if (column >= 0 && std::size_t(column) < m_fieldOfColumn.size())
        return m_fieldOfColumn[std::size_t(column)];
    for (TField* f : *Fields())
        if (f->FieldKind() == fkData && f->FieldNo() - 1 == column)
            return f;
    return nullptr;
}

// The statement's shape, its table and the facts of its result columns; returns the statement
// prepared as it runs (with the hidden rowid column when the result can be written back).
qx::SqliteStatement TADOQuery::analyseStatement(sqlite3* handle, const QString& parsed, OpenPlan& plan)
{
    const SelectShape shape = analyseSelect(parsed);
    plan.readOnlyReason = shape.reason;
    QString table;
    if (!shape.table.isEmpty()) {
        qx::SqliteStatement kind(handle, "SELECT name, type FROM sqlite_master WHERE name = ?1 COLLATE NOCASE");
        qx::bindVariant(handle, kind.get(), 1, shape.table);
        if (qx::stepStatement(handle, kind.get())) {
            if (qx::columnVariant(kind.get(), 1).toString() == u"table")
                table = qx::columnVariant(kind.get(), 0).toString();
            else
                plan.readOnlyReason = QStringLiteral("the query reads a view");
        }
    }

    // The rowid goes along as a first, hidden column, so that every row can be found again.
    qx::SqliteStatement stmt;
    bool withRowid = false;
    plan.text = parsed.toUtf8();
    if (!table.isEmpty()) {
        QString text = parsed;
        text.insert(shape.listAt, QStringLiteral(" _rowid_ AS \"qx$rowid\","));
        try {
            stmt = qx::SqliteStatement(handle, text.toUtf8());
            withRowid = !stmt.isNull();
            if (withRowid)
                plan.text = text.toUtf8();
        } catch (const EDatabaseError&) {
            plan.readOnlyReason = QStringLiteral("the table has no rowid");
        }
    }
    if (!withRowid)
        stmt = qx::SqliteStatement(handle, plan.text);
    if (stmt.isNull() || sqlite3_column_count(stmt.get()) == 0)
        DatabaseError(QStringLiteral("CommandText does not return a result set"));

    const int first = withRowid ? 1 : 0;
    const int count = sqlite3_column_count(stmt.get()) - first;
    plan.withRowid = withRowid;
    plan.first = first;
    plan.count = count;

    // Origins, declared types and the table's own column facts.
    QHash<QString, QHash<QString, TableColumnInfo>> infos;
    std::vector<TFieldType>& types = plan.types;
    std::vector<int>& sizes = plan.sizes;
    std::vector<bool>& required = plan.required;
    types.assign(std::size_t(count), ftUnknown);
    sizes.assign(std::size_t(count), 0);
    required.assign(std::size_t(count), false);
    plan.columns.assign(std::size_t(count), Column());
    bool allFromTable = true;
    bool anyBase = false;
    for (int c = 0; c < count; ++c) {
        const int sc = c + first;
        const char* originTable = sqlite3_column_table_name(stmt.get(), sc);
        const char* originName = sqlite3_column_origin_name(stmt.get(), sc);
        const char* declared = sqlite3_column_decltype(stmt.get(), sc);
        types[std::size_t(c)] = qx::fieldTypeOfDeclared(declared ? QString::fromUtf8(declared) : QString(), sizes[std::size_t(c)]);
        if (!originTable || !originName)
            continue;
        const QString tname = QString::fromUtf8(originTable);
        const QString cname = QString::fromUtf8(originName);
        if (!infos.contains(tname))
            infos.insert(tname, tableInfo(handle, tname));
        const TableColumnInfo info = infos.value(tname).value(cname.toLower());
        int notNull = 0, primaryKey = 0, autoinc = 0;
        const QByteArray t8 = tname.toUtf8(), c8 = cname.toUtf8();
        if (sqlite3_table_column_metadata(handle, nullptr, t8.constData(), c8.constData(), nullptr, nullptr, &notNull,
                                          &primaryKey, &autoinc)
                == SQLITE_OK
            && autoinc)
            types[std::size_t(c)] = ftAutoInc;
        const bool rowidAlias = info.pk > 0 && tableKey(infos.value(tname)).rowidAlias;
        required[std::size_t(c)] = info.notNull && !info.hasDefault && !rowidAlias && !autoinc;
        if (tname.compare(table, Qt::CaseInsensitive) == 0) {
            plan.columns[std::size_t(c)].origin = cname;
            plan.columns[std::size_t(c)].writable = true;
            plan.columns[std::size_t(c)].key = info.pk > 0;
            anyBase = true;
            if (rowidAlias)
                plan.rowidAlias = cname;
        } else {
            allFromTable = false;
        }
    }
    plan.updatable = withRowid && allFromTable && anyBase;
    if (withRowid && !plan.updatable && plan.readOnlyReason.isEmpty())
        plan.readOnlyReason = QStringLiteral("its columns do not come from one table");
    if (!plan.updatable) {
        for (Column& c : plan.columns)
            c.writable = false;
        plan.rowidAlias.clear();
    } else {
        plan.table = table;
        // How a write finds its row again: see RowCheck.
        if (!infos.contains(table))
            infos.insert(table, tableInfo(handle, table));
        const TableKey key = tableKey(infos.value(table));
        QStringList keyRead = key.columns;
        for (const Column& c : plan.columns)
            if (c.writable)
                keyRead.removeAll(c.origin.toLower());
        plan.rowCheck = key.rowidAlias                              ? RowCheck::ChangedColumns
                     : !key.columns.isEmpty() && keyRead.isEmpty() ? RowCheck::ChangedColumnsAndKey
                                                                   : RowCheck::EveryColumn;
    }

    return stmt;
}

qint64 TADOQuery::schemaVersion(sqlite3* handle) const
{
    // The database's schema and the connection's temporary one (a temporary table of the same
    // name stands before the file's).
    auto version = [&](const QString& pragma) -> qint64 {
        const qx::CachedStatement lease = m_connection->cachedStatement(pragma);
        return qx::stepStatement(handle, lease.get()) ? sqlite3_column_int64(lease.get(), 0) : 0;
    };
    return (version(QStringLiteral("PRAGMA main.schema_version")) << 32)
           ^ version(QStringLiteral("PRAGMA temp.schema_version"));
}

const qx::ParsedSql& TADOQuery::parsedStatement()
{
    const QString text = StatementText();
    if (!m_parsed || m_parsedText != text) {
        m_parsed = std::make_unique<qx::ParsedSql>(qx::parseSqlParameters(text));
        m_parsedText = text;
    }
    return *m_parsed;
}

void TADOQuery::InternalOpen()
{
    sqlite3* handle = db();
    m_updatable = false;
    m_table.clear();
    m_rowidAlias.clear();
    m_columns.clear();
    m_rowIds.clear();
    m_readOnlyReason.clear();

    // A detail takes its parameters from the master's current row.
    if (TDataSet* master = m_masterLink ? m_masterLink->DataSet() : nullptr) {
        for (int i = 0; i < m_parameters.Count(); ++i) {
            if (TField* f = master->FindField(m_parameters[i].Name())) {
                if (m_parameters[i].DataType() == ftUnknown)
                    m_parameters[i].setDataType(f->DataType());
                m_parameters[i].setValue(master->Active() ? f->Value() : QVariant());
            }
        }
    }

    const qx::ParsedSql& parsed = parsedStatement();
    // The statement's names may be in another order than the list: bind by name.
    TParameters ordered;
    ordered.Rebuild(parsed.names);
    for (int i = 0; i < ordered.Count(); ++i) {
        if (const TParameter* p = m_parameters.FindParam(ordered[i].Name())) {
            ordered[i].setDataType(p->DataType());
            ordered[i].setValue(p->Value());
        }
    }

    // The analysis of the statement and of its table holds while the text and the database's
    // schema stay as they were: a list that runs again with other values skips it.
    const qint64 schema = schemaVersion(handle);
    // A few texts are kept: a search list switches between its full list and its search.
    std::erase_if(m_plans, [&](const std::unique_ptr<OpenPlan>& p) { return p->handle != handle || p->schema != schema; });
    const auto known = std::find_if(m_plans.begin(), m_plans.end(),
                                   [&](const std::unique_ptr<OpenPlan>& p) { return p->sql == parsed.sql; });
    qx::SqliteStatement stmt;
    if (known != m_plans.end()) {
        std::rotate(m_plans.begin(), known, known + 1);
        stmt = qx::SqliteStatement(handle, m_plans.front()->text);
        if (stmt.isNull() || sqlite3_column_count(stmt.get()) != m_plans.front()->first + m_plans.front()->count)
            DatabaseError(QStringLiteral("CommandText does not return a result set"));
    } else {
        auto plan = std::make_unique<OpenPlan>();
        plan->handle = handle;
        plan->schema = schema;
        plan->sql = parsed.sql;
        stmt = analyseStatement(handle, parsed.sql, *plan);
        if (m_plans.size() >= kKeptPlans)
            m_plans.pop_back();
        m_plans.insert(m_plans.begin(), std::move(plan));
    }
    const OpenPlan& plan = *m_plans.front();
    ordered.BindTo(handle, stmt.get());
    const bool withRowid = plan.withRowid;
    const int first = plan.first;
    const int count = plan.count;
    std::vector<TFieldType> types = plan.types;
    std::vector<int> sizes = plan.sizes;
    const std::vector<bool>& required = plan.required;
    m_columns = plan.columns;
    m_updatable = plan.updatable;
    m_table = plan.table;
    m_rowidAlias = plan.rowidAlias;
    m_rowCheck = plan.rowCheck;
    m_readOnlyReason = plan.readOnlyReason;

    // Columns without a declared type take their kind from their expression and from all their
    // values; the rows are kept while the values are looked at, and loaded below.
    std::vector<int> undeclared;
    for (int c = 0; c < count; ++c)
        if (types[std::size_t(c)] == ftUnknown)
            undeclared.push_back(c);
    KeptRows kept;
    bool more = true;
    if (!undeclared.empty()) {
        const qx::SelectListKinds kinds(handle, parsed.sql);
        std::vector<qx::ExpressionTally> tallies(undeclared.size());
        const int width = sqlite3_column_count(stmt.get());
        while ((more = qx::stepStatement(handle, stmt.get()))) {
            sqlite3_value** row = kept.add(stmt.get(), width);
            for (std::size_t i = 0; i < undeclared.size(); ++i)
                tallies[i].add(row[undeclared[i] + first]);
        }
        for (std::size_t i = 0; i < undeclared.size(); ++i) {
            const int c = undeclared[i];
            const QString name = QString::fromUtf8(sqlite3_column_name(stmt.get(), c + first));
            const qx::ExpressionFieldType ft = qx::expressionFieldType(kinds.kindOf(name), tallies[i]);
            types[std::size_t(c)] = ft.type;
            sizes[std::size_t(c)] = ft.size;
        }
    }

    FieldDefs()->Clear();
    QSet<QString> names;
    for (int c = 0; c < count; ++c) {
        QString name = QString::fromUtf8(sqlite3_column_name(stmt.get(), c + first));
        // Two result columns of one name (a join of two ID columns) get ID and ID_1.
        const QString base = name;
        for (int n = 1; names.contains(name.toLower()); ++n)
            name = base + u'_' + QString::number(n);
        names.insert(name.toLower());
        TFieldType type = types[std::size_t(c)];
        int size = sizes[std::size_t(c)];
        if (type == ftUnknown)
            type = ftString;
        if (type == ftString && size <= 0)
            size = 255;
        FieldDefs()->Add(name, type, size, m_updatable && required[std::size_t(c)]);
    }
    BuildColumns();

    // Store column of each result column, with its loading rule.
    std::vector<int> storeColumn(std::size_t(count), -1);
    std::vector<qx::CellLoad> loads(std::size_t(count), qx::CellLoad::Text);
    std::vector<Column> byStore(std::size_t(Store().columnCount()));
    for (int c = 0; c < count; ++c) {
        TField* f = FieldByName(FieldDefs()->Items(c).Name);
        storeColumn[std::size_t(c)] = f->FieldNo() - 1;
        loads[std::size_t(c)] = qx::cellLoadOf(f);
        if (storeColumn[std::size_t(c)] >= 0) {
            Column& column = byStore[std::size_t(storeColumn[std::size_t(c)])];
            column = m_columns[std::size_t(c)];
            column.load = loads[std::size_t(c)];
        }
        if (DefaultFields() && m_updatable && !m_columns[std::size_t(c)].writable)
            f->SetReadOnly(true); // an expression column of an updatable result
    }
    m_columns = std::move(byStore);
    m_fieldOfColumn.assign(m_columns.size(), nullptr);
    for (TField* f : *Fields())
        if (f->FieldKind() == fkData && f->FieldNo() >= 1 && std::size_t(f->FieldNo()) <= m_fieldOfColumn.size())
            m_fieldOfColumn[std::size_t(f->FieldNo() - 1)] = f;
    finalizeUpdates();

    qx::RecordStore& store = Store();
    auto loadRow = [&](auto valueOf) {
        const std::uint32_t slot = store.appendRow();
        if (withRowid)
            m_rowIds.push_back(sqlite3_value_int64(valueOf(0)));
        for (int c = 0; c < count; ++c)
            if (const int col = storeColumn[std::size_t(c)]; col >= 0)
                qx::storeResultCell(store, slot, col, loads[std::size_t(c)], valueOf(c + first));
    };
    for (std::size_t r = 0; r < kept.rows(); ++r)
        loadRow([&](int i) { return kept.row(r)[i]; });
    kept.clear();
    sqlite3_stmt* s = stmt.get();
    while (more && qx::stepStatement(handle, s))
        loadRow([s](int i) { return sqlite3_column_value(s, i); });
    if (!withRowid)
        m_rowIds.clear();
}

void TADOQuery::finalizeUpdates()
{
    for (sqlite3_stmt* stmt : std::as_const(m_updates))
        sqlite3_finalize(stmt);
    m_updates.clear();
}

void TADOQuery::InternalClose()
{
    m_fieldOfColumn.clear();
    finalizeUpdates();
    m_updatable = false;
    m_table.clear();
    m_rowidAlias.clear();
    m_columns.clear();
    m_rowIds.clear();
}

void TADOQuery::RowsCleared()
{
    m_rowIds.clear();
}

void TADOQuery::RowStored(std::uint32_t slot, bool inserted)
{
    if (!inserted || !m_updatable)
        return;
    if (m_rowIds.size() <= slot)
        m_rowIds.resize(std::size_t(slot) + 1, 0);
    m_rowIds[slot] = m_pendingRowId;
}

void TADOQuery::bindCell(sqlite3_stmt* stmt, int index, const TField* field, const QVariant& cell) const
{
    sqlite3* handle = m_connection->handle();
    if (!cell.isValid() || cell.isNull()) {
        qx::bindVariant(handle, stmt, index, QVariant());
        return;
    }
    int rc = SQLITE_OK;
    switch (field->DataType()) {
    case ftBoolean:
        rc = sqlite3_bind_int(stmt, index, cell.toBool() ? 1 : 0);
        break;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        rc = sqlite3_bind_int64(stmt, index, cell.toLongLong());
        break;
    case ftFloat:
        rc = sqlite3_bind_double(stmt, index, cell.toDouble());
        break;
    case ftCurrency:
    case ftBCD:
        // Money is kept exactly in ten-thousandths; the column holds it as a number.
        rc = sqlite3_bind_double(stmt, index, double(cell.toLongLong()) / 10000.0);
        break;
    case ftDate:
    case ftDateTime:
    case ftTime: {
        const QByteArray text = qx::writtenDateText(qx::cellLoadOf(field), cell.toDouble());
        rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        qx::bindVariant(handle, stmt, index, cell);
        return;
    }
    if (rc != SQLITE_OK)
        qx::raiseSqliteError(handle, rc);
}

namespace {

// Steps a write statement; a failure raises with the values the row was given, so a
// duplicate key names them (the lookup is only made on failure).
template <class Lookup>
void stepWrite(sqlite3* handle, sqlite3_stmt* stmt, const Lookup& values)
{
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        qx::raiseSqliteError(handle, rc, stmt, qx::ColumnValueLookup(values));
}

std::optional<QString> noValues(const QString&)
{
    return std::nullopt;
}

} // namespace

void TADOQuery::ApplyInsert()
{
    if (!m_updatable)
        refuseWrite();
    sqlite3* handle = db();
    QStringList names;
    QStringList marks;
    std::vector<int> written;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const TField* f = fieldOfColumn(c);
        // An autoincrement number is the database's to give, whatever the dataset proposed.
        if (!f || !m_columns[std::size_t(c)].writable || f->DataType() == ftAutoInc || !BufferCellChanged(c))
            continue;
        names.append(qx::quoteSqlName(m_columns[std::size_t(c)].origin));
        marks.append(QStringLiteral("?%1").arg(written.size() + 1));
        written.push_back(c);
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(qx::quoteSqlName(m_table))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(qx::quoteSqlName(m_table), names.join(u','), marks.join(u','));
    {
        const qx::CachedStatement lease = m_connection->cachedStatement(sql);
        sqlite3_stmt* stmt = lease.get();
        for (std::size_t i = 0; i < written.size(); ++i)
            bindCell(stmt, int(i) + 1, fieldOfColumn(written[i]), BufferCell(written[i]));
        stepWrite(handle, stmt, [&](const QString& column) -> std::optional<QString> {
            for (int c : written)
                if (m_columns[std::size_t(c)].origin.compare(column, Qt::CaseInsensitive) == 0)
                    return qx::quoteSqlString(fieldOfColumn(c)->FromCell(BufferCell(c)).toString());
            return std::nullopt;
        });
    }
    m_pendingRowId = sqlite3_last_insert_rowid(handle);
    m_rowsAffected = 1;

    // Read the row back: the database's defaults and the autoincrement number become the
    // record's values.
    QStringList columns;
    std::vector<int> read;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        if (!m_columns[std::size_t(c)].writable || !fieldOfColumn(c))
            continue;
        columns.append(qx::quoteSqlName(m_columns[std::size_t(c)].origin));
        read.push_back(c);
    }
    if (read.empty())
        return;
    const QString select = QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_ = ?1")
                               .arg(columns.join(u','), qx::quoteSqlName(m_table));
    const qx::CachedStatement lease = m_connection->cachedStatement(select);
    sqlite3_stmt* back = lease.get();
    qx::bindVariant(handle, back, 1, QVariant(m_pendingRowId));
    if (!qx::stepStatement(handle, back))
        return;
    for (std::size_t i = 0; i < read.size(); ++i)
        takeStoredCell(read[i], sqlite3_column_value(back, int(i)));
}

void TADOQuery::takeStoredCell(int column, sqlite3_value* value)
{
    // Read as any row is read, so the record holds what the file holds and a later write
    // compares it with the file value for value.
    const QVariant cell = qx::resultCell(m_columns[std::size_t(column)].load, value);
    const QVariant& buffered = BufferCell(column);
    if (cell != buffered || cell.isValid() != buffered.isValid())
        SetBufferCell(column, cell);
}

void TADOQuery::ApplyUpdate()
{
    if (!m_updatable)
        refuseWrite();
    const int slot = PendingSlot();
    if (slot < 0 || std::size_t(slot) >= m_rowIds.size())
        DatabaseError(kRowNotFound);
    sqlite3* handle = db();
    QVarLengthArray<int, 32> written;
    QVarLengthArray<int, 32> checked;
    QByteArray& mask = m_maskScratch; // reused: no allocation per post
    mask.fill('0', qsizetype(m_columns.size()));
    qint64 newRowid = 0;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        if (!m_columns[std::size_t(c)].writable || !fieldOfColumn(c) || !BufferCellChanged(c))
            continue;
        written.push_back(c);
        mask[c] = '1';
        if (!m_rowidAlias.isEmpty() && m_columns[std::size_t(c)].origin == m_rowidAlias)
            newRowid = BufferCell(c).toLongLong();
    }
    if (written.empty())
        return;
    // The values the row had when it was read, for the columns that must still hold them.
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const Column& column = m_columns[std::size_t(c)];
        if (column.writable && fieldOfColumn(c)
            && (mask[c] == '1' || m_rowCheck == RowCheck::EveryColumn
                || (m_rowCheck == RowCheck::ChangedColumnsAndKey && column.key)))
            checked.push_back(c);
    }
    auto found = m_updates.find(mask);
    if (found == m_updates.end())
        found = m_updates.insert(mask, nullptr);
    sqlite3_stmt*& stmt = found.value();
    if (!stmt) {
        QStringList sets;
        for (qsizetype i = 0; i < written.size(); ++i)
            sets.append(QStringLiteral("%1 = ?%2").arg(qx::quoteSqlName(m_columns[std::size_t(written[i])].origin))
                            .arg(i + 1));
        QString where = QStringLiteral("_rowid_ = ?%1").arg(written.size() + 1);
        for (qsizetype i = 0; i < checked.size(); ++i) {
            const Column& column = m_columns[std::size_t(checked[i])];
            where += QStringLiteral(" AND ")
                     + qx::unchangedCondition(column.load, qx::quoteSqlName(column.origin),
                                              int(written.size() + 2 + i));
        }
        const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                   .arg(qx::quoteSqlName(m_table), sets.join(QStringLiteral(", ")), where)
                                   .toUtf8();
        const int rc = sqlite3_prepare_v3(handle, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                                          nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            stmt = nullptr;
            m_updates.remove(mask);
            qx::raiseSqliteError(handle, rc);
        }
    }
    qx::StatementReset reset(stmt);
    for (qsizetype i = 0; i < written.size(); ++i)
        bindCell(stmt, int(i) + 1, fieldOfColumn(written[i]), BufferCell(written[i]));
    const int rc = sqlite3_bind_int64(stmt, int(written.size()) + 1, m_rowIds[std::size_t(slot)]);
    if (rc != SQLITE_OK)
        qx::raiseSqliteError(handle, rc);
    for (qsizetype i = 0; i < checked.size(); ++i)
        qx::bindReadCell(handle, stmt, int(written.size() + 2 + i), m_columns[std::size_t(checked[i])].load, Store(),
                         std::uint32_t(slot), checked[i]);
    stepWrite(handle, stmt, [&](const QString& column) -> std::optional<QString> {
        for (int c : written)
            if (m_columns[std::size_t(c)].origin.compare(column, Qt::CaseInsensitive) == 0)
                return qx::quoteSqlString(fieldOfColumn(c)->FromCell(BufferCell(c)).toString());
        return std::nullopt;
    });
    // No row: renumbered by a compaction, changed or deleted by someone else. Nothing was written.
    if (sqlite3_changes(handle) == 0)
        DatabaseError(kRowNotFound);
    // The file keeps whole seconds: the record holds the moment as it was written, so the next
    // write compares it with the file value for value.
    for (int c : written) {
        const qx::CellLoad load = m_columns[std::size_t(c)].load;
        if ((load == qx::CellLoad::Date || load == qx::CellLoad::Time || load == qx::CellLoad::DateTime)
            && BufferCell(c).isValid()) {
            const QVariant stored = qx::cellOfWrittenDate(load, BufferCell(c).toDouble());
            if (stored != BufferCell(c))
                SetBufferCell(c, stored);
        }
    }
    m_rowsAffected = 1;
    if (newRowid != 0)
        m_rowIds[std::size_t(slot)] = newRowid;
}

void TADOQuery::ApplyDelete(std::uint32_t slot)
{
    if (!m_updatable)
        refuseWrite();
    if (slot >= m_rowIds.size())
        DatabaseError(kRowNotFound);
    sqlite3* handle = db();
    // A delete takes the row only when every column read still holds what was read.
    QString sql = QStringLiteral("DELETE FROM %1 WHERE _rowid_ = ?1").arg(qx::quoteSqlName(m_table));
    std::vector<int> checked;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const Column& column = m_columns[std::size_t(c)];
        if (!column.writable || !fieldOfColumn(c))
            continue;
        checked.push_back(c);
        sql += QStringLiteral(" AND ")
               + qx::unchangedCondition(column.load, qx::quoteSqlName(column.origin), int(checked.size()) + 1);
    }
    const qx::CachedStatement lease = m_connection->cachedStatement(sql);
    sqlite3_stmt* stmt = lease.get();
    qx::bindVariant(handle, stmt, 1, QVariant(m_rowIds[slot]));
    for (std::size_t i = 0; i < checked.size(); ++i)
        qx::bindReadCell(handle, stmt, int(i) + 2, m_columns[std::size_t(checked[i])].load, Store(), slot, checked[i]);
    stepWrite(handle, stmt, noValues);
    if (sqlite3_changes(handle) == 0)
        DatabaseError(kRowNotFound);
    m_rowsAffected = 1;
}
