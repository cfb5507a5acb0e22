#include "app/schema/SchemaUpgrade.h"

#include "app/schema/DatabaseSchema.h"
#include "platform/rtl/Exceptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

#include <sqlite3.h>

namespace qx::app {

namespace {

[[noreturn]] void fail(sqlite3* db, const QString& step)
{
    throw EDatabaseError(QStringLiteral("升级数据库结构失败：%1（%2）")
                             .arg(step, QString::fromUtf8(sqlite3_errmsg(db))));
}

class UpgradeStatement
{
public:
    UpgradeStatement(sqlite3* db, const QString& sql) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
            fail(db, sql);
    }
    ~UpgradeStatement() { sqlite3_finalize(m_stmt); }
    UpgradeStatement(const UpgradeStatement&) = delete;
    UpgradeStatement& operator=(const UpgradeStatement&) = delete;

    void bind(int index, const QString& value)
    {
        const QByteArray text = value.toUtf8();
        if (sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            fail(m_db, QString::fromUtf8(sqlite3_sql(m_stmt)));
    }
    // True while a row is ready.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail(m_db, QString::fromUtf8(sqlite3_sql(m_stmt)));
        return false;
    }
    QString text(int col) const
    {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
        return t ? QString::fromUtf8(t) : QString();
    }
    bool isNull(int col) const { return sqlite3_column_type(m_stmt, col) == SQLITE_NULL; }
    int integer(int col) const { return sqlite3_column_int(m_stmt, col); }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const QString& sql)
{
    UpgradeStatement stmt(db, sql);
    while (stmt.step()) {}
}

QString quoted(const QString& name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A column definition inside CREATE TABLE ( ... ): where it starts, where its last token
// ends (a comment after it does not count) and its column name.
struct Definition
{
    int codeEnd = 0;
    QString name;
};

// Skips a literal, quoted name or comment starting at i; returns the position after it, or i
// when nothing starts there.
int skipOpaque(const QString& s, int i)
{
    const int n = int(s.size());
    const QChar c = s[i];
    if (c == u'\'' || c == u'"' || c == u'`') {
        for (int k = i + 1; k < n; ++k) {
            if (s[k] == c) {
                if (k + 1 < n && s[k + 1] == c) {
                    ++k;
                    continue;
                }
                return k + 1;
            }
        }
        return n;
    }
    if (c == u'[') {
        const int close = int(s.indexOf(u']', i + 1));
        return close < 0 ? n : close + 1;
    }
    if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
        const int eol = int(s.indexOf(u'\n', i));
        return eol < 0 ? n : eol;
    }
    if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
        const int close = int(s.indexOf(QStringLiteral("*/"), i + 2));
        return close < 0 ? n : close + 2;
    }
    return i;
}

bool isComment(const QString& s, int i)
{
    return (s[i] == u'-' && i + 1 < s.size() && s[i + 1] == u'-')
           || (s[i] == u'/' && i + 1 < s.size() && s[i + 1] == u'*');
}

// The name a definition starts with, unquoted.
QString leadingName(const QString& s, int from, int to)
{
    int i = from;
    while (i < to) {
        if (s[i].isSpace()) {
            ++i;
        } else if (isComment(s, i)) {
            i = skipOpaque(s, i);
        } else {
            break;
        }
    }
    if (i >= to)
        return QString();
    const QChar c = s[i];
    if (c == u'"' || c == u'`' || c == u'[' || c == u'\'') {
        const int end = std::min(skipOpaque(s, i), to);
        const QChar close = c == u'[' ? u']' : c;
        QString name = s.mid(i + 1, end - i - 2);
        if (close != u']')
            name.replace(QString(2, close), QString(close));
        return name;
    }
    int end = i;
    while (end < to && (s[end].isLetterOrNumber() || s[end] == u'_' || s[end] == u'$'))
        ++end;
    return s.mid(i, end - i);
}

// The column definitions of a CREATE TABLE statement; open and close get the positions of its
// outer brackets. False when the text has no bracketed list.
bool columnDefinitions(const QString& sql, int& open, int& close, QList<Definition>& definitions)
{
    const int n = int(sql.size());
    open = -1;
    int depth = 0;
    int start = 0;
    int codeEnd = 0;
    for (int i = 0; i < n;) {
        const int skipped = skipOpaque(sql, i);
        if (skipped != i) {
            if (!isComment(sql, i) && depth >= 1)
                codeEnd = skipped;
            i = skipped;
            continue;
        }
        const QChar c = sql[i];
        if (c == u'(') {
            if (depth++ == 0) {
                open = i;
                start = i + 1;
                codeEnd = start;
                ++i;
                continue;
            }
        } else if (c == u')') {
            if (--depth == 0) {
                definitions.append({codeEnd, leadingName(sql, start, i)});
                close = i;
                return true;
            }
        } else if (c == u',' && depth == 1) {
            definitions.append({codeEnd, leadingName(sql, start, i)});
            start = i + 1;
            codeEnd = start;
            ++i;
            continue;
        }
        if (depth >= 1 && !c.isSpace())
            codeEnd = i + 1;
        ++i;
    }
    return false;
}

struct YesNoColumn
{
    QString name;
    QString defaultValue; // SQL text of the default: the column's own, or 0
    bool hadDefault = false;
};

struct SchemaObject
{
    QString name;
    QString sql;
};

QList<SchemaObject> schemaObjects(sqlite3* db, const char* type, const QString& table = QString())
{
    QString sql = QStringLiteral("SELECT name, sql FROM sqlite_schema WHERE type = ?1 AND sql IS NOT NULL");
    if (!table.isNull())
        sql += QStringLiteral(" AND tbl_name = ?2");
    sql += QStringLiteral(" ORDER BY rowid");
    UpgradeStatement stmt(db, sql);
    stmt.bind(1, QString::fromLatin1(type));
    if (!table.isNull())
        stmt.bind(2, table);
    QList<SchemaObject> objects;
    while (stmt.step())
        objects.append({stmt.text(0), stmt.text(1)});
    return objects;
}

bool tableExists(sqlite3* db, const QString& table)
{
    UpgradeStatement stmt(db, QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
    stmt.bind(1, table);
    return stmt.step();
}

// Rebuilds one table with its Yes/No columns NOT NULL: a copy under a new name with the new
// definitions, the rows moved over, the old table dropped and the copy renamed, its indexes
// and its counter made again.
void rebuildWithYesNoNotNull(sqlite3* db, const SchemaObject& table, const QList<YesNoColumn>& yesNo,
                             const QStringList& columns)
{
    int open = 0, close = 0;
    QList<Definition> definitions;
    if (!columnDefinitions(table.sql, open, close, definitions))
        throw EDatabaseError(QStringLiteral("升级数据库结构失败：读不懂表 %1 的定义").arg(table.name));

    QString body = table.sql.mid(open, close + 1 - open);
    QString tail = table.sql.mid(close + 1);
    // From the last definition back, so that the positions before stay right.
    for (qsizetype d = definitions.size() - 1; d >= 0; --d) {
        for (const YesNoColumn& c : yesNo) {
            if (definitions[d].name.compare(c.name, Qt::CaseInsensitive) != 0)
                continue;
            QString extra = QStringLiteral(" NOT NULL");
            if (!c.hadDefault)
                extra += QStringLiteral(" DEFAULT ") + c.defaultValue;
            body.insert(definitions[d].codeEnd - open, extra);
        }
    }
    const QString copy = table.name + QStringLiteral("__upgrade");
    const QList<SchemaObject> indexes = schemaObjects(db, "index", table.name);
    std::optional<qint64> sequence;
    if (tableExists(db, QStringLiteral("sqlite_sequence"))) {
        UpgradeStatement seq(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?1"));
        seq.bind(1, table.name);
        if (seq.step())
            sequence = seq.text(0).toLongLong();
    }

    exec(db, QStringLiteral("CREATE TABLE ") + quoted(copy) + u' ' + body + tail);
    QStringList targets;
    QStringList values;
    for (const QString& column : columns) {
        targets << quoted(column);
        const YesNoColumn* yn = nullptr;
        for (const YesNoColumn& c : yesNo)
            if (c.name == column)
                yn = &c;
        if (!yn) {
            values << quoted(column);
            continue;
        }
        // Null takes the default; 0 and the words for "no" stay false; anything else is true.
        const QString q = quoted(column);
        values << QStringLiteral("CASE WHEN %1 IS NULL THEN %2 WHEN %1 = 0 OR lower(trim(%1)) IN "
                                 "('false', 'no', '否', '0') THEN 0 ELSE 1 END")
                      .arg(q, yn->defaultValue);
    }
    exec(db, QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                 .arg(quoted(copy), targets.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                      quoted(table.name)));
    exec(db, QStringLiteral("DROP TABLE ") + quoted(table.name));
    exec(db, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(copy), quoted(table.name)));
    for (const SchemaObject& index : indexes)
        exec(db, index.sql);
    if (sequence) {
        // The counter goes on from where it was, not from the highest number left in the table.
        UpgradeStatement drop(db, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?1"));
        drop.bind(1, table.name);
        drop.step();
        UpgradeStatement put(db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, CAST(?2 AS INTEGER))"));
        put.bind(1, table.name);
        put.bind(2, QString::number(*sequence));
        put.step();
    }
}

// Version 1 to 2: no Yes/No column takes Null any more.
void yesNoNotNull(sqlite3* db)
{
    // Views and triggers may name any table; they go first and come back last, so that no
    // rebuilt table is ever missing under them.
    const QList<SchemaObject> views = schemaObjects(db, "view");
    const QList<SchemaObject> triggers = schemaObjects(db, "trigger");
    for (const SchemaObject& trigger : triggers)
        exec(db, QStringLiteral("DROP TRIGGER ") + quoted(trigger.name));
    for (const SchemaObject& view : views)
        exec(db, QStringLiteral("DROP VIEW ") + quoted(view.name));

    const bool dictionary = tableExists(db, QStringLiteral("tDictDlt"));
    for (const SchemaObject& table : schemaObjects(db, "table")) {
        if (table.name.startsWith(QStringLiteral("sqlite_"), Qt::CaseInsensitive))
            continue;
        QStringList columns;
        QList<YesNoColumn> yesNo;
        UpgradeStatement info(db, QStringLiteral("SELECT name, type, \"notnull\", dflt_value FROM pragma_table_info(?1)"));
        info.bind(1, table.name);
        while (info.step()) {
            columns << info.text(0);
            if (info.text(1).trimmed().compare(QStringLiteral("YESNO"), Qt::CaseInsensitive) == 0
                && info.integer(2) == 0) {
                const bool hadDefault = !info.isNull(3);
                yesNo.append({info.text(0), hadDefault ? info.text(3) : QStringLiteral("0"), hadDefault});
            }
        }
        if (yesNo.isEmpty())
            continue;
        rebuildWithYesNoNotNull(db, table, yesNo, columns);
        if (!dictionary)
            continue;
        for (const YesNoColumn& c : yesNo) {
            UpgradeStatement dict(db, QStringLiteral("UPDATE tDictDlt SET CanNull = 0, DefaultValue = ?3 "
                                              "WHERE TableName = ?1 COLLATE NOCASE AND FieldName = ?2 COLLATE NOCASE"));
            dict.bind(1, table.name);
            dict.bind(2, c.name);
            QString shown = c.defaultValue;
            if (shown.size() >= 2 && shown.startsWith(u'\'') && shown.endsWith(u'\''))
                shown = shown.mid(1, shown.size() - 2);
            dict.bind(3, shown);
            dict.step();
        }
    }
    for (const SchemaObject& view : views)
        exec(db, view.sql);
    for (const SchemaObject& trigger : triggers)
        exec(db, trigger.sql);
}

// Rolls back unless committed, on every path.
class Transaction
{
public:
    explicit Transaction(sqlite3* db) : m_db(db) { exec(db, QStringLiteral("BEGIN IMMEDIATE")); }
    ~Transaction()
    {
        if (!m_done)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit()
    {
        exec(m_db, QStringLiteral("COMMIT"));
        m_done = true;
    }

private:
    sqlite3* m_db;
    bool m_done = false;
};

} // namespace

int schemaVersion(sqlite3* db)
{
    UpgradeStatement stmt(db, QStringLiteral("PRAGMA user_version"));
    return stmt.step() ? stmt.integer(0) : 0;
}

void upgradeDatabase(sqlite3* db)
{
    if (schemaVersion(db) >= kSchemaVersion)
        return;
    Transaction transaction(db);
    // Read again inside the transaction: another program may have upgraded it meanwhile.
    const int version = schemaVersion(db);
    if (version >= kSchemaVersion)
        return;
    if (version < 2)
        yesNoNotNull(db);
    exec(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    transaction.commit();
}

} // namespace qx::app
