#include "platform/db/sql/JetValues.h"

#include <QByteArray>

#include <sqlite3.h>

namespace qx::jet {

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

QString textOf(sqlite3_value* v)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray bytes = s.toUtf8();
    sqlite3_result_text(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& s)
{
    const QByteArray bytes = s.toUtf8();
    sqlite3_result_error(ctx, bytes.constData(), int(bytes.size()));
}

std::optional<double> numberOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return double(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        bool ok = false;
        const double d = textOf(v).trimmed().toDouble(&ok);
        if (ok)
            return d;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace qx::jet
