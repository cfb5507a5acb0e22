#include "documents/bills/BillRowWriter.h"

#include "documents/bills/CachedSql.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"

#include <sqlite3.h>

namespace qx::documents {

namespace {

bool isTextKind(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftMemo;
}

// The value of a field as it is bound: money exactly, everything else as the field gives it
// (dates as QDateTime, which binds the database's date text).
QVariant boundValue(const TField& field)
{
    switch (field.DataType()) {
    case ftCurrency:
    case ftBCD:
        return QVariant::fromValue(field.AsCurrency());
    default:
        return field.Value();
    }
}

} // namespace

bool fieldHasText(const TField& field)
{
    if (field.IsNull())
        return false;
    return !isTextKind(field.DataType()) || !field.AsString().isEmpty();
}

BillRowWriter::BillRowWriter(TADOConnection& connection, const QString& table, Blanks blanks)
    : m_connection(connection), m_table(table)
{
    sqlite3* db = connection.handle();
    const CachedStatement stmt =
        connection.cachedStatement(QStringLiteral("SELECT name, \"notnull\", dflt_value, pk FROM pragma_table_info(?1)"));
    bindVariant(db, stmt.get(), 1, table);
    while (stepStatement(db, stmt.get())) {
        Column c;
        c.name = columnVariant(stmt.get(), 0).toString();
        if (c.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            continue;
        c.requiredBlank = blanks == Blanks::RequiredAsBlank && sqlite3_column_int(stmt.get(), 1) != 0
                          && sqlite3_column_type(stmt.get(), 2) == SQLITE_NULL && sqlite3_column_int(stmt.get(), 3) == 0;
        c.billNo = c.name.compare(QLatin1String("BillNo"), Qt::CaseInsensitive) == 0;
        c.quoted = quoteSqlName(c.name);
        m_columns.push_back(c);
    }
    if (m_columns.empty())
        throw EDatabaseError(QStringLiteral("数据库中没有表 %1").arg(table));
}

std::vector<TField*> BillRowWriter::matchFields(const TDataSet& source) const
{
    std::vector<TField*> fields;
    fields.reserve(m_columns.size());
    for (const Column& c : m_columns)
        fields.push_back(source.FindField(c.name));
    return fields;
}

void BillRowWriter::insertCurrent(const TDataSet& source, const QString& billNo)
{
    insertRecord(matchFields(source), billNo);
}

void BillRowWriter::insertAll(const TDataSet& source, const QString& billNo)
{
    const std::vector<TField*> fields = matchFields(source);
    source.ForEachRecord([&] {
        insertRecord(fields, billNo);
        return true;
    });
}

void BillRowWriter::insertRecord(const std::vector<TField*>& fields, const QString& billNo)
{
    // Which columns a row writes; rows that write the same columns share one statement.
    QByteArray written(qsizetype(m_columns.size()), '0');
    QVariantList values;
    values.reserve(qsizetype(m_columns.size()));
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const Column& c = m_columns[i];
        if (c.billNo)
            values << billNo;
        else if (fields[i] && fieldHasText(*fields[i]))
            values << boundValue(*fields[i]);
        else if (c.requiredBlank)
            values << QStringLiteral(" ");
        else
            continue;
        written[qsizetype(i)] = '1';
    }
    QString& sql = m_statements[written];
    if (sql.isEmpty()) {
        QStringList names;
        QStringList marks;
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (written[qsizetype(i)] == '1') {
                names << m_columns[i].quoted;
                marks << QLatin1Char('?') + QString::number(names.size());
            }
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoteSqlName(m_table), names.join(u','), marks.join(u','));
    }
    const CachedStatement lease = m_connection.cachedStatement(sql);
    sqlite3* db = m_connection.handle();
    sqlite3_stmt* stmt = lease.get();
    for (int i = 0; i < values.size(); ++i)
        bindVariant(db, stmt, i + 1, values[i]);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return;
    if (sqlite3_extended_errcode(db) == SQLITE_CONSTRAINT_UNIQUE)
        throw EDuplicateKey(sqliteErrorMessage(db, rc, stmt));
    raiseSqliteError(db, rc, stmt);
}

int BillRowWriter::deleteBill(const QString& billNo)
{
    return runCached(m_connection, QStringLiteral("DELETE FROM %1 WHERE BillNo = ?1").arg(quoteSqlName(m_table)),
                     {billNo});
}

} // namespace qx::documents
