#include "platform/db/sql/SqliteStatement.h"

#include "platform/db/sql/SqliteError.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QDate>
#include <QDateTime>

#include <sqlite3.h>

namespace qx {

SqliteStatement::SqliteStatement(sqlite3* db, const QByteArray& sql, QByteArray* tail)
    : m_db(db)
{
    const char* rest = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, &rest);
    if (rc != SQLITE_OK) {
        // sqlite3_prepare_v2 leaves m_stmt null on failure; nothing to finalize.
        m_stmt = nullptr;
        raiseSqliteError(db, rc);
    }
    if (tail)
        *tail = rest ? QByteArray(rest, int(sql.constData() + sql.size() - rest)) : QByteArray();
}

SqliteStatement::~SqliteStatement()
{
    finalize();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

void SqliteStatement::finalize()
{
    // The result of sqlite3_finalize repeats the last step's error, which was already raised.
    if (m_stmt)
        sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
}

QString sqlDateText(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void bindVariant(sqlite3* db, sqlite3_stmt* stmt, int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt, index, value.toDouble());
            break;
        case QMetaType::QDate: {
            const QByteArray text = value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
            rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime: {
            const QByteArray text = sqlDateText(value.toDateTime()).toUtf8();
            rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QTime: {
            const QByteArray text = value.toTime().toString(QStringLiteral("HH:mm:ss")).toUtf8();
            rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QString: {
            const QString s = value.toString();
            rc = sqlite3_bind_text16(stmt, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        default: {
            // The run-time library's money and date values, as the fields hand them out: money
            // as the number the money columns hold, a date as its stored text.
            if (value.metaType() == QMetaType::fromType<Currency>()) {
                rc = sqlite3_bind_double(stmt, index, value.value<Currency>().toDouble());
                break;
            }
            if (value.metaType() == QMetaType::fromType<TDateTime>()) {
                const QByteArray text = sqlDateText(value.value<TDateTime>().toQDateTime()).toUtf8();
                rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                break;
            }
            bool isNumber = false;
            const double d = value.toDouble(&isNumber);
            if (isNumber && value.canConvert<double>()) {
                rc = sqlite3_bind_double(stmt, index, d);
            } else if (value.canConvert<QString>()) {
                const QString s = value.toString();
                rc = sqlite3_bind_text16(stmt, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
            } else {
                throw EDatabaseError(QStringLiteral("Parameter %1: a value of type %2 cannot be "
                                                    "written to the database")
                                         .arg(index)
                                         .arg(QString::fromLatin1(value.typeName())));
            }
        }
        }
    }
    if (rc != SQLITE_OK)
        raiseSqliteError(db, rc);
}

QVariant columnVariant(sqlite3_stmt* stmt, int col)
{
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, col)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, col));
    case SQLITE_TEXT: {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, col));
        const int bytes = sqlite3_column_bytes16(stmt, col);
        return QVariant(QString(reinterpret_cast<const QChar*>(text), bytes / 2));
    }
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, col);
        const int bytes = sqlite3_column_bytes(stmt, col);
        return QVariant(QByteArray(static_cast<const char*>(data), bytes));
    }
    default:
        return QVariant();
    }
}

bool stepStatement(sqlite3* db, sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    raiseSqliteError(db, rc, stmt);
}

} // namespace qx
