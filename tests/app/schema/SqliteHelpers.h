// Small helpers for reading a database in the tests with the sqlite3 C API.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace qx::app::test {

class Db
{
public:
    explicit Db(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr)
            != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << sqlite3_errmsg(m_db);
        }
    }
    ~Db() { sqlite3_close_v2(m_db); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    sqlite3* get() const { return m_db; }

    // Runs a statement with bound values; returns the result code of the last step
    // (SQLITE_DONE, SQLITE_ROW, or the error's extended code).
    int exec(const QString& sql, const QVariantList& values = {})
    {
        sqlite3_stmt* stmt = prepare(sql, values);
        if (!stmt)
            return sqlite3_extended_errcode(m_db);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {}
        if (rc != SQLITE_DONE)
            rc = sqlite3_extended_errcode(m_db);
        sqlite3_finalize(stmt);
        return rc;
    }

    // Every row of a query, each row's columns as variants (text as QString, NULL as null).
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {})
    {
        QList<QVariantList> result;
        sqlite3_stmt* stmt = prepare(sql, values);
        if (!stmt) {
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(m_db);
            return result;
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER: row << QVariant(qlonglong(sqlite3_column_int64(stmt, i))); break;
                case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(stmt, i)); break;
                case SQLITE_NULL: row << QVariant(); break;
                default:
                    row << QVariant(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
                }
            }
            result << row;
        }
        if (rc != SQLITE_DONE)
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(m_db);
        sqlite3_finalize(stmt);
        return result;
    }

    QVariant value(const QString& sql, const QVariantList& values = {})
    {
        const QList<QVariantList> all = rows(sql, values);
        return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
    }

    QStringList column(const QString& sql, const QVariantList& values = {})
    {
        QStringList result;
        for (const QVariantList& row : rows(sql, values))
            result << row.value(0).toString();
        return result;
    }

private:
    sqlite3_stmt* prepare(const QString& sql, const QVariantList& values)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return nullptr;
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& v = values[i];
            if (v.isNull()) {
                sqlite3_bind_null(stmt, i + 1);
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
            } else if (v.typeId() == QMetaType::Double) {
                sqlite3_bind_double(stmt, i + 1, v.toDouble());
            } else {
                const QByteArray text = v.toString().toUtf8();
                sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
        }
        return stmt;
    }

    sqlite3* m_db = nullptr;
};

} // namespace qx::app::test
