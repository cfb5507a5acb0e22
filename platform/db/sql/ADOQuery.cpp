#include "platform/db/sql/ADOQuery.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
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

// ---- declared types ----------------------------------------------------------------------

TFieldType typeOfDeclared(const QString& declared, int& size)
{
    size = 0;
    const QString decl = declared.trimmed().toUpper();
    if (decl.isEmpty())
        return ftUnknown;
    const int paren = int(decl.indexOf(u'('));
    const QString head = (paren < 0 ? decl : decl.left(paren)).simplified();
    const QString args = paren < 0 ? QString() : decl.mid(paren + 1).section(u')', 0, 0);
    // The first word names the kind; the words after it are SQLite's own affinity, which the
    // schema adds so the column stores as it should ("MEMO TEXT", "MONEY REAL"). A few kinds
    // are spelled in two words, and those are taken whole.
    static const QSet<QString> twoWords = {QStringLiteral("VARYING CHARACTER"), QStringLiteral("DOUBLE PRECISION")};
    const QString base = twoWords.contains(head) ? head : head.section(u' ', 0, 0);
    static const QSet<QString> text = {QStringLiteral("TEXT"), QStringLiteral("VARCHAR"), QStringLiteral("CHAR"),
                                       QStringLiteral("NVARCHAR"), QStringLiteral("NCHAR"), QStringLiteral("STRING"),
                                       QStringLiteral("CHARACTER"), QStringLiteral("VARYING CHARACTER")};
    if (text.contains(base)) {
        bool ok = false;
        size = args.section(u',', 0, 0).trimmed().toInt(&ok);
        if (!ok || size <= 0)
            size = 255; // Jet's TEXT without a size holds 255 characters
        return ftString;
    }
    if (base == u"MEMO" || base == u"LONGTEXT" || base == u"NTEXT" || base == u"CLOB")
        return ftMemo;
    if (base == u"INTEGER" || base == u"INT" || base == u"LONG" || base == u"MEDIUMINT")
        return ftInteger;
    if (base == u"SMALLINT" || base == u"SHORT" || base == u"TINYINT" || base == u"BYTE")
        return ftSmallint;
    if (base == u"BIGINT" || base == u"INT64")
        return ftLargeint;
    if (base == u"COUNTER" || base == u"AUTOINCREMENT")
        return ftAutoInc;
    if (base == u"MONEY" || base == u"CURRENCY")
        return ftCurrency;
    if (base == u"DOUBLE" || base == u"FLOAT" || base == u"REAL" || base == u"SINGLE" || base == u"DOUBLE PRECISION")
        return ftFloat;
    if (base == u"DECIMAL" || base == u"NUMERIC")
        return ftBCD;
    if (base == u"DATETIME" || base == u"TIMESTAMP")
        return ftDateTime;
    if (base == u"DATE")
        return ftDate;
    if (base == u"TIME")
        return ftTime;
    if (base == u"YESNO" || base == u"BIT" || base == u"BOOLEAN" || base == u"LOGICAL")
        return ftBoolean;
    if (base == u"BLOB" || base == u"LONGBINARY" || base == u"IMAGE" || base == u"OLEOBJECT" || base == u"BINARY"
        || base == u"VARBINARY")
        return ftBlob;
    return ftUnknown;
}

TFieldType typeOfValue(sqlite3_stmt* stmt, int col)
{
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(stmt, col);
        return v >= INT32_MIN && v <= INT32_MAX ? ftInteger : ftLargeint;
    }
    case SQLITE_FLOAT: return ftBCD;
    case SQLITE_BLOB: return ftBlob;
    default: return ftString;
    }
}

// ---- loading cells -----------------------------------------------------------------------

enum class Load { Text, Int32, Int64, Money, Double, DateTime, Bool, Blob };

Load loadOf(const TField* f)
{
    switch (f->DataType()) {
    case ftCurrency:
    case ftBCD: return Load::Money;
    case ftDate:
    case ftTime:
    case ftDateTime: return Load::DateTime;
    default: break;
    }
    switch (f->StorageKind()) {
    case qx::RecordStore::Kind::Int32: return Load::Int32;
    case qx::RecordStore::Kind::Int64: return Load::Int64;
    case qx::RecordStore::Kind::Double: return Load::Double;
    case qx::RecordStore::Kind::Bool: return Load::Bool;
    case qx::RecordStore::Kind::Blob: return Load::Blob;
    case qx::RecordStore::Kind::Text: return Load::Text;
    }
    return Load::Text;
}

int digits(const unsigned char* s, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM[:SS]', the stored shapes, without going through QString.
bool parseStoredDate(const unsigned char* s, int n, double& out)
{
    if (n != 10 && n != 16 && n != 19)
        return false;
    if (s[4] != '-' || s[7] != '-')
        return false;
    const int y = digits(s, 4), m = digits(s + 5, 2), d = digits(s + 8, 2);
    if (y < 1 || m < 1 || d < 1)
        return false;
    const QDate date(y, m, d);
    if (!date.isValid())
        return false;
    static const qint64 base = QDate(1899, 12, 30).toJulianDay();
    double v = double(date.toJulianDay() - base);
    if (n > 10) {
        if (s[10] != ' ' && s[10] != 'T')
            return false;
        const int hh = digits(s + 11, 2), nn = digits(s + 14, 2);
        const int ss = n == 19 ? digits(s + 17, 2) : 0;
        if (s[13] != ':' || (n == 19 && s[16] != ':') || hh < 0 || hh > 23 || nn < 0 || nn > 59 || ss < 0 || ss > 59)
            return false;
        const double frac = (hh * 3600 + nn * 60 + ss) / 86400.0;
        v = v >= 0 ? v + frac : v - frac; // TDateTime keeps the time positive before 1899-12-30
    }
    out = v;
    return true;
}

// The cell of a result value for field f through the field's own conversion (slow path: the
// rows read before every column's kind was known, rows read back after an INSERT, odd values).
QVariant cellThroughField(const TField* f, const QVariant& value)
{
    try {
        return f->ToCell(value);
    } catch (const Exception&) {
        // A stored value the field cannot hold (text in a number column) shows as empty
        // rather than failing the whole query; it is never written back unless changed.
        return QVariant();
    }
}

struct TableColumnInfo
{
    bool notNull = false;
    bool hasDefault = false;
    int pk = 0;
    QString type;
};

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
    QObject::disconnect(m_closingConnection);
    m_connection = connection;
    if (connection)
        m_closingConnection = connect(connection, &TADOConnection::Closing, this, [this] { Close(); });
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
    m_parameters.Rebuild(qx::parseSqlParameters(StatementText()).names);
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

    const qx::ParsedSql parsed = qx::parseSqlParameters(StatementText());
    // The statement's names may be in another order than the list: bind by name.
    TParameters ordered;
    ordered.Rebuild(parsed.names);
    for (int i = 0; i < ordered.Count(); ++i) {
        if (const TParameter* p = m_parameters.FindParam(ordered[i].Name())) {
            ordered[i].setDataType(p->DataType());
            ordered[i].setValue(p->Value());
        }
    }

    const SelectShape shape = analyseSelect(parsed.sql);
    m_readOnlyReason = shape.reason;
    QString table;
    if (!shape.table.isEmpty()) {
        qx::SqliteStatement kind(handle, "SELECT name, type FROM sqlite_master WHERE name = ?1 COLLATE NOCASE");
        qx::bindVariant(handle, kind.get(), 1, shape.table);
        if (qx::stepStatement(handle, kind.get())) {
            if (qx::columnVariant(kind.get(), 1).toString() == u"table")
                table = qx::columnVariant(kind.get(), 0).toString();
            else
                m_readOnlyReason = QStringLiteral("the query reads a view");
        }
    }

    // The rowid goes along as a first, hidden column, so that every row can be found again.
    qx::SqliteStatement stmt;
    bool withRowid = false;
    if (!table.isEmpty()) {
        QString text = parsed.sql;
        text.insert(shape.listAt, QStringLiteral(" _rowid_ AS \"qx$rowid\","));
        try {
            stmt = qx::SqliteStatement(handle, text.toUtf8());
            withRowid = !stmt.isNull();
        } catch (const EDatabaseError&) {
            m_readOnlyReason = QStringLiteral("the table has no rowid");
        }
    }
    if (!withRowid)
        stmt = qx::SqliteStatement(handle, parsed.sql.toUtf8());
    if (stmt.isNull() || sqlite3_column_count(stmt.get()) == 0)
        DatabaseError(QStringLiteral("CommandText does not return a result set"));
    ordered.BindTo(handle, stmt.get());

    const int first = withRowid ? 1 : 0;
    const int count = sqlite3_column_count(stmt.get()) - first;

    // Origins, declared types and the table's own column facts.
    QHash<QString, QHash<QString, TableColumnInfo>> infos;
    std::vector<TFieldType> types(std::size_t(count), ftUnknown);
    std::vector<int> sizes(std::size_t(count), 0);
    std::vector<bool> required(std::size_t(count), false);
    m_columns.assign(std::size_t(count), Column());
    bool allFromTable = true;
    bool anyBase = false;
    for (int c = 0; c < count; ++c) {
        const int sc = c + first;
        const char* originTable = sqlite3_column_table_name(stmt.get(), sc);
        const char* originName = sqlite3_column_origin_name(stmt.get(), sc);
        const char* declared = sqlite3_column_decltype(stmt.get(), sc);
        types[std::size_t(c)] = typeOfDeclared(declared ? QString::fromUtf8(declared) : QString(), sizes[std::size_t(c)]);
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
        const bool rowidAlias = info.pk == 1 && info.type.compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0;
        required[std::size_t(c)] = info.notNull && !info.hasDefault && !rowidAlias && !autoinc;
        if (tname.compare(table, Qt::CaseInsensitive) == 0) {
            m_columns[std::size_t(c)].origin = cname;
            m_columns[std::size_t(c)].writable = true;
            anyBase = true;
            if (rowidAlias)
                m_rowidAlias = cname;
        } else {
            allFromTable = false;
        }
    }
    m_updatable = withRowid && allFromTable && anyBase;
    if (withRowid && !m_updatable && m_readOnlyReason.isEmpty())
        m_readOnlyReason = QStringLiteral("its columns do not come from one table");
    if (!m_updatable) {
        for (Column& c : m_columns)
            c.writable = false;
        m_rowidAlias.clear();
    } else {
        m_table = table;
    }

    // Columns without a declared type take the kind of their first non-null value; the rows
    // read while looking are kept and loaded below.
    std::vector<std::vector<QVariant>> early;
    std::vector<qint64> earlyRowIds;
    bool pending = std::any_of(types.begin(), types.end(), [](TFieldType t) { return t == ftUnknown; });
    bool more = true;
    while (pending) {
        more = qx::stepStatement(handle, stmt.get());
        if (!more)
            break;
        std::vector<QVariant> row(static_cast<std::size_t>(count));
        pending = false;
        for (int c = 0; c < count; ++c) {
            row[std::size_t(c)] = qx::columnVariant(stmt.get(), c + first);
            if (types[std::size_t(c)] == ftUnknown) {
                if (sqlite3_column_type(stmt.get(), c + first) != SQLITE_NULL)
                    types[std::size_t(c)] = typeOfValue(stmt.get(), c + first);
                else
                    pending = true;
            }
        }
        early.push_back(std::move(row));
        earlyRowIds.push_back(withRowid ? sqlite3_column_int64(stmt.get(), 0) : 0);
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
            type = ftString; // only nulls: an empty text column
        if (type == ftString && size <= 0)
            size = 255;
        FieldDefs()->Add(name, type, size, m_updatable && required[std::size_t(c)]);
    }
    BuildColumns();

    // Store column of each result column, with its loading rule.
    std::vector<TField*> fields(std::size_t(count), nullptr);
    std::vector<int> storeColumn(std::size_t(count), -1);
    std::vector<Load> loads(std::size_t(count), Load::Text);
    std::vector<Column> byStore(std::size_t(Store().columnCount()));
    for (int c = 0; c < count; ++c) {
        TField* f = FieldByName(FieldDefs()->Items(c).Name);
        fields[std::size_t(c)] = f;
        storeColumn[std::size_t(c)] = f->FieldNo() - 1;
        loads[std::size_t(c)] = loadOf(f);
        if (storeColumn[std::size_t(c)] >= 0)
            byStore[std::size_t(storeColumn[std::size_t(c)])] = m_columns[std::size_t(c)];
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
    for (std::size_t r = 0; r < early.size(); ++r) {
        const std::uint32_t slot = store.appendRow();
        for (int c = 0; c < count; ++c)
            if (storeColumn[std::size_t(c)] >= 0 && early[r][std::size_t(c)].isValid())
                store.setValue(slot, storeColumn[std::size_t(c)],
                               cellThroughField(fields[std::size_t(c)], early[r][std::size_t(c)]));
        m_rowIds.push_back(earlyRowIds[r]);
    }
    early.clear();

    sqlite3_stmt* s = stmt.get();
    while (more && qx::stepStatement(handle, s)) {
        const std::uint32_t slot = store.appendRow();
        if (withRowid)
            m_rowIds.push_back(sqlite3_column_int64(s, 0));
        for (int c = 0; c < count; ++c) {
            const int sc = c + first;
            const int type = sqlite3_column_type(s, sc);
            const int col = storeColumn[std::size_t(c)];
            if (type == SQLITE_NULL || col < 0)
                continue;
            switch (loads[std::size_t(c)]) {
            case Load::Text: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, sc));
                store.setTextUtf8(slot, col, std::string_view(text, std::size_t(sqlite3_column_bytes(s, sc))));
                break;
            }
            case Load::Int32:
                store.setInt32(slot, col, sqlite3_column_int(s, sc));
                break;
            case Load::Int64:
                store.setInt64(slot, col, sqlite3_column_int64(s, sc));
                break;
            case Load::Money:
                if (type == SQLITE_INTEGER)
                    store.setInt64(slot, col, sqlite3_column_int64(s, sc) * 10000);
                else if (type == SQLITE_FLOAT)
                    store.setInt64(slot, col, Currency::fromDouble(sqlite3_column_double(s, sc)).raw());
                else
                    store.setValue(slot, col, cellThroughField(fields[std::size_t(c)], qx::columnVariant(s, sc)));
                break;
            case Load::Double:
                store.setDouble(slot, col, sqlite3_column_double(s, sc));
                break;
            case Load::DateTime: {
                double v = 0;
                if (type == SQLITE_TEXT
                    && parseStoredDate(sqlite3_column_text(s, sc), sqlite3_column_bytes(s, sc), v))
                    store.setDouble(slot, col, v);
                else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
                    store.setDouble(slot, col, sqlite3_column_double(s, sc));
                else
                    store.setValue(slot, col, cellThroughField(fields[std::size_t(c)], qx::columnVariant(s, sc)));
                break;
            }
            case Load::Bool:
                store.setBool(slot, col, sqlite3_column_double(s, sc) != 0);
                break;
            case Load::Blob: {
                const void* data = sqlite3_column_blob(s, sc);
                store.setBlob(slot, col, QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(s, sc)));
                break;
            }
            }
        }
    }
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
        qx::bindVariant(handle, stmt, index, QVariant(TDateTime(cell.toDouble()).toQDate()));
        return;
    case ftDateTime:
        qx::bindVariant(handle, stmt, index, QVariant(TDateTime(cell.toDouble()).toQDateTime()));
        return;
    case ftTime:
        qx::bindVariant(handle, stmt, index, QVariant(TDateTime(cell.toDouble()).toQTime()));
        return;
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
    for (std::size_t i = 0; i < read.size(); ++i) {
        const int c = read[i];
        const QVariant cell = cellThroughField(fieldOfColumn(c), qx::columnVariant(back, int(i)));
        if (cell != BufferCell(c) || cell.isValid() != BufferCell(c).isValid())
            SetBufferCell(c, cell);
    }
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
    auto found = m_updates.find(mask);
    if (found == m_updates.end())
        found = m_updates.insert(mask, nullptr);
    sqlite3_stmt*& stmt = found.value();
    if (!stmt) {
        QStringList sets;
        for (qsizetype i = 0; i < written.size(); ++i)
            sets.append(QStringLiteral("%1 = ?%2").arg(qx::quoteSqlName(m_columns[std::size_t(written[i])].origin))
                            .arg(i + 1));
        const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?%3")
                                   .arg(qx::quoteSqlName(m_table), sets.join(QStringLiteral(", ")))
                                   .arg(written.size() + 1)
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
    stepWrite(handle, stmt, [&](const QString& column) -> std::optional<QString> {
        for (int c : written)
            if (m_columns[std::size_t(c)].origin.compare(column, Qt::CaseInsensitive) == 0)
                return qx::quoteSqlString(fieldOfColumn(c)->FromCell(BufferCell(c)).toString());
        return std::nullopt;
    });
    if (sqlite3_changes(handle) == 0)
        DatabaseError(kRowNotFound);
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
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE _rowid_ = ?1").arg(qx::quoteSqlName(m_table));
    const qx::CachedStatement lease = m_connection->cachedStatement(sql);
    sqlite3_stmt* stmt = lease.get();
    qx::bindVariant(handle, stmt, 1, QVariant(m_rowIds[slot]));
    stepWrite(handle, stmt, noValues);
    if (sqlite3_changes(handle) == 0)
        DatabaseError(kRowNotFound);
    m_rowsAffected = 1;
}
