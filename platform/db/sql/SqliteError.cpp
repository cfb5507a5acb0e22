#include "platform/db/sql/SqliteError.h"

#include "platform/db/sql/SqlLexer.h"

#include <QHash>

#include <sqlite3.h>

namespace qx {

namespace {

// "UNIQUE constraint failed: t.a, t.b" gives {"t.a", "t.b"}.
QStringList constraintColumns(const QString& message)
{
    const int colon = int(message.indexOf(u':'));
    if (colon < 0)
        return {};
    QStringList columns;
    for (const QString& part : message.mid(colon + 1).split(u',', Qt::SkipEmptyParts))
        columns.append(part.trimmed());
    return columns;
}

QString bareColumn(const QString& qualified)
{
    const int dot = int(qualified.lastIndexOf(u'.'));
    return dot < 0 ? qualified : qualified.mid(dot + 1);
}

QString unquoteName(QStringView name)
{
    if (name.size() >= 2 && (name.front() == u'"' || name.front() == u'[' || name.front() == u'`'))
        return name.mid(1, name.size() - 2).toString();
    return name.toString();
}

// The values an INSERT or UPDATE writes, by lower-case column name, read from the statement
// text with its parameters filled in (sqlite3_expanded_sql). Only the plain shapes are
// understood: INSERT INTO t (a, b) VALUES (x, y) and UPDATE t SET a = x, b = y.
// The columns of table in order, for an INSERT that lists none.
QStringList tableColumns(sqlite3* db, const QString& table)
{
    QStringList columns;
    sqlite3_stmt* info = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &info, nullptr) != SQLITE_OK) {
        sqlite3_finalize(info);
        return columns;
    }
    const QByteArray name = table.toUtf8();
    if (sqlite3_bind_text(info, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT) == SQLITE_OK) {
        while (sqlite3_step(info) == SQLITE_ROW)
            columns.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 0))).toLower());
    }
    sqlite3_finalize(info);
    return columns;
}

QHash<QString, QString> writtenValues(sqlite3_stmt* stmt)
{
    QHash<QString, QString> values;
    if (!stmt)
        return values;
    char* expanded = sqlite3_expanded_sql(stmt);
    if (!expanded)
        return values;
    const QString sql = QString::fromUtf8(expanded);
    sqlite3_free(expanded);

    QList<SqlToken> tokens;
    for (const SqlToken& t : tokenizeSql(sql))
        if (t.kind != SqlToken::Space && t.kind != SqlToken::Comment)
            tokens.append(t);
    auto word = [&](int i) {
        return i < tokens.size() && tokens[i].kind == SqlToken::Word
                   ? tokens[i].text(sql).toString().toUpper()
                   : QString();
    };
    auto sym = [&](int i, QChar c) {
        return i < tokens.size() && tokens[i].kind == SqlToken::Symbol && sql[tokens[i].pos] == c;
    };
    // Reads one expression up to a ',' or ')' at its own depth.
    auto expression = [&](int& i) {
        const int from = i;
        int depth = 0;
        while (i < tokens.size()) {
            if (sym(i, u'('))
                ++depth;
            else if (sym(i, u')')) {
                if (depth == 0)
                    break;
                --depth;
            } else if (sym(i, u',') && depth == 0)
                break;
            else if (depth == 0 && word(i) == u"WHERE")
                break;
            ++i;
        }
        if (i == from)
            return QString();
        const int begin = tokens[from].pos;
        const int end = tokens[i - 1].pos + tokens[i - 1].len;
        return sql.mid(begin, end - begin);
    };

    int i = 0;
    const QString first = word(0);
    if (first == u"INSERT" || first == u"REPLACE") {
        while (i < tokens.size() && word(i) != u"INTO")
            ++i;
        ++i;
        const QString table = i < tokens.size() ? unquoteName(tokens[i].text(sql)) : QString();
        ++i;
        QStringList columns;
        if (sym(i, u'(')) {
            for (++i; i < tokens.size() && !sym(i, u')'); ++i)
                if (!sym(i, u','))
                    columns.append(unquoteName(tokens[i].text(sql)).toLower());
            ++i;
        } else {
            columns = tableColumns(sqlite3_db_handle(stmt), table);
        }
        if (word(i) != u"VALUES" || !sym(i + 1, u'('))
            return values;
        i += 2;
        for (const QString& column : columns) {
            values.insert(column, expression(i));
            if (!sym(i, u','))
                break;
            ++i;
        }
    } else if (first == u"UPDATE") {
        while (i < tokens.size() && word(i) != u"SET")
            ++i;
        ++i;
        while (i + 1 < tokens.size() && sym(i + 1, u'=')) {
            const QString column = unquoteName(tokens[i].text(sql)).toLower();
            i += 2;
            values.insert(column, expression(i));
            if (!sym(i, u','))
                break;
            ++i;
        }
    }
    return values;
}

QString keyViolation(const QString& sqliteText, sqlite3_stmt* stmt, const ColumnValueLookup& lookup)
{
    const QStringList columns = constraintColumns(sqliteText);
    const QHash<QString, QString> written = writtenValues(stmt);
    QStringList parts;
    for (const QString& column : columns) {
        const QString bare = bareColumn(column);
        std::optional<QString> value;
        if (lookup)
            value = lookup(bare);
        if (!value && written.contains(bare.toLower()))
            value = written.value(bare.toLower());
        parts.append(value ? column + QStringLiteral(" = ") + *value : column);
    }
    // "duplicate key" tells the translator of the document structures that the database
    // refused a repeated key, whatever value rides along.
    if (parts.isEmpty())
        return QStringLiteral("Key violation: duplicate key");
    return QStringLiteral("Key violation: duplicate key (%1)").arg(parts.join(QStringLiteral(", ")));
}

} // namespace

QString sqliteErrorMessage(sqlite3* db, int rc, sqlite3_stmt* stmt, const ColumnValueLookup& values)
{
    const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db))
                            : QString::fromUtf8(sqlite3_errstr(rc));
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    switch (extended) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return keyViolation(text, stmt, values);
    case SQLITE_CONSTRAINT_NOTNULL: {
        const QStringList columns = constraintColumns(text);
        if (!columns.isEmpty())
            return QStringLiteral("Field '%1' must have a value").arg(bareColumn(columns.first()));
        return text;
    }
    default:
        break;
    }
    // What stops the shop's work on the database file itself is said in the operator's
    // language; SQLite's English text would only puzzle.
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正被其他用户或程序使用，等待 5 秒后仍无法访问，请稍后再试。");
    case SQLITE_READONLY:
        return QStringLiteral("数据库是只读的，不能写入。");
    case SQLITE_PERM:
        return QStringLiteral("没有访问数据库文件的权限。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件。");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已损坏，或不是数据库文件。");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，不能写入数据库。");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错。");
    default:
        return text;
    }
}

void raiseSqliteError(sqlite3* db, int rc, sqlite3_stmt* stmt, const ColumnValueLookup& values)
{
    throw EDatabaseError(sqliteErrorMessage(db, rc, stmt, values));
}

} // namespace qx
