#include "platform/db/sql/ResultCells.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>
#include <string_view>

#include <sqlite3.h>

namespace qx {

namespace {

std::string_view utf8TextOf(sqlite3_value* v)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? std::string_view(text, std::size_t(sqlite3_value_bytes(v))) : std::string_view();
}

QByteArray blobOf(sqlite3_value* v)
{
    const void* data = sqlite3_value_blob(v);
    return QByteArray(static_cast<const char*>(data), sqlite3_value_bytes(v));
}

int digits(const char* s, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// 'YYYY-MM-DD', 'YYYY-MM-DD HH:MM[:SS]' or a time alone 'HH:MM:SS', the stored shapes, without
// going through QString.
bool parseStoredDate(std::string_view text, double& out)
{
    const char* s = text.data();
    const std::size_t n = text.size();
    if (n == 8) {
        const int hh = digits(s, 2), nn = digits(s + 3, 2), ss = digits(s + 6, 2);
        if (s[2] != ':' || s[5] != ':' || hh < 0 || hh > 23 || nn < 0 || nn > 59 || ss < 0 || ss > 59)
            return false;
        out = (hh * 3600 + nn * 60 + ss) / 86400.0;
        return true;
    }
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

// Days of the years 1 to 9999, the moments a TDateTime can hold.
bool isDays(double days)
{
    return std::isfinite(days) && days >= -693594.0 && days < 2958466.0;
}

// Other date texts, as a date field reads typed text: the run-time library's forms first, then
// the ISO ones.
std::optional<double> parseDateText(const QString& text)
{
    try {
        return StrToDateTime(text).Val;
    } catch (const Exception&) {
    }
    for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(f));
        if (dt.isValid()) {
            try {
                return TDateTime::fromQDateTime(dt).Val;
            } catch (const Exception&) {
                return std::nullopt;
            }
        }
    }
    return std::nullopt;
}

double datePartOf(double days)
{
    return TDateTime(days).datePart().Val;
}

double timePartOf(double days)
{
    return TDateTime(days).timePart().Val;
}

void sqlMoney(sqlite3_context* context, int, sqlite3_value** args)
{
    if (const auto money = moneyOfValue(args[0]))
        sqlite3_result_int64(context, *money);
    else
        sqlite3_result_null(context);
}

void sqlDays(sqlite3_context* context, int, sqlite3_value** args)
{
    const auto days = daysOfValue(args[0]);
    if (!days) {
        sqlite3_result_null(context);
        return;
    }
    switch (sqlite3_value_int(args[1])) {
    case 1: sqlite3_result_int64(context, sqlite3_int64(datePartOf(*days))); break;
    case 2: sqlite3_result_double(context, timePartOf(*days)); break;
    default: sqlite3_result_double(context, *days); break;
    }
}

} // namespace

CellLoad cellLoadOf(const TField* f)
{
    switch (f->DataType()) {
    case ftCurrency:
    case ftBCD: return CellLoad::Money;
    case ftDate: return CellLoad::Date;
    case ftTime: return CellLoad::Time;
    case ftDateTime: return CellLoad::DateTime;
    default: break;
    }
    switch (f->StorageKind()) {
    case RecordStore::Kind::Int32: return CellLoad::Int32;
    case RecordStore::Kind::Int64: return CellLoad::Int64;
    case RecordStore::Kind::Double: return CellLoad::Double;
    case RecordStore::Kind::Bool: return CellLoad::Bool;
    case RecordStore::Kind::Blob: return CellLoad::Blob;
    case RecordStore::Kind::Text: return CellLoad::Text;
    }
    return CellLoad::Text;
}

std::optional<qint64> moneyOfValue(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 n = sqlite3_value_int64(v);
        constexpr sqlite3_int64 limit = std::numeric_limits<qint64>::max() / 10000;
        if (n > limit || n < -limit)
            return std::nullopt;
        return n * 10000;
    }
    case SQLITE_FLOAT:
        try {
            return Currency::fromDouble(sqlite3_value_double(v)).raw();
        } catch (const Exception&) {
            return std::nullopt;
        }
    case SQLITE_TEXT: {
        const std::string_view text = utf8TextOf(v);
        const QString s = QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed();
        if (s.isEmpty())
            return std::nullopt;
        try {
            return StrToCurr(s).raw();
        } catch (const Exception&) {
            return std::nullopt;
        }
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> daysOfText(std::string_view text)
{
    double days = 0;
    if (!parseStoredDate(text, days)) {
        const QString s = QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed();
        if (s.isEmpty())
            return std::nullopt;
        const auto parsed = parseDateText(s);
        if (!parsed)
            return std::nullopt;
        days = *parsed;
    }
    if (!isDays(days))
        return std::nullopt;
    return days;
}

std::optional<double> daysOfValue(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        const double days = sqlite3_value_double(v);
        if (!isDays(days))
            return std::nullopt;
        return days;
    }
    case SQLITE_TEXT: return daysOfText(utf8TextOf(v));
    default: return std::nullopt;
    }
}

QByteArray writtenDateText(CellLoad load, double days)
{
    const QDateTime dt = TDateTime(days).toQDateTime();
    switch (load) {
    case CellLoad::Date: return dt.date().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    case CellLoad::Time: return dt.time().toString(QStringLiteral("HH:mm:ss")).toUtf8();
    default: {
        const QTime t = dt.time();
        if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
            return dt.date().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    }
    }
}

QVariant cellOfWrittenDate(CellLoad load, double days)
{
    const QByteArray text = writtenDateText(load, days);
    const auto read = daysOfText(std::string_view(text.constData(), std::size_t(text.size())));
    if (!read)
        return QVariant();
    switch (load) {
    case CellLoad::Date: return QVariant(int(datePartOf(*read)));
    case CellLoad::Time: return QVariant(timePartOf(*read));
    default: return QVariant(*read);
    }
}

void storeResultCell(RecordStore& store, std::uint32_t slot, int col, CellLoad load, sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return;
    switch (load) {
    case CellLoad::Text:
        store.setTextUtf8(slot, col, utf8TextOf(v));
        return;
    case CellLoad::Int32:
        store.setInt32(slot, col, sqlite3_value_int(v));
        return;
    case CellLoad::Int64:
        store.setInt64(slot, col, sqlite3_value_int64(v));
        return;
    case CellLoad::Double:
        store.setDouble(slot, col, sqlite3_value_double(v));
        return;
    case CellLoad::Bool:
        store.setBool(slot, col, sqlite3_value_double(v) != 0);
        return;
    case CellLoad::Blob:
        store.setBlob(slot, col, blobOf(v));
        return;
    case CellLoad::Money:
        if (const auto money = moneyOfValue(v))
            store.setInt64(slot, col, *money);
        return;
    case CellLoad::Date:
        if (const auto days = daysOfValue(v))
            store.setInt32(slot, col, std::int32_t(datePartOf(*days)));
        return;
    case CellLoad::Time:
        if (const auto days = daysOfValue(v))
            store.setDouble(slot, col, timePartOf(*days));
        return;
    case CellLoad::DateTime:
        if (const auto days = daysOfValue(v))
            store.setDouble(slot, col, *days);
        return;
    }
}

QVariant resultCell(CellLoad load, sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return QVariant();
    switch (load) {
    case CellLoad::Text: {
        const std::string_view text = utf8TextOf(v);
        return QVariant(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    case CellLoad::Int32: return QVariant(int(sqlite3_value_int(v)));
    case CellLoad::Int64: return QVariant(qlonglong(sqlite3_value_int64(v)));
    case CellLoad::Double: return QVariant(sqlite3_value_double(v));
    case CellLoad::Bool: return QVariant(sqlite3_value_double(v) != 0);
    case CellLoad::Blob: return QVariant(blobOf(v));
    case CellLoad::Money: {
        const auto money = moneyOfValue(v);
        return money ? QVariant(qlonglong(*money)) : QVariant();
    }
    case CellLoad::Date: {
        const auto days = daysOfValue(v);
        return days ? QVariant(int(datePartOf(*days))) : QVariant();
    }
    case CellLoad::Time: {
        const auto days = daysOfValue(v);
        return days ? QVariant(timePartOf(*days)) : QVariant();
    }
    case CellLoad::DateTime: {
        const auto days = daysOfValue(v);
        return days ? QVariant(*days) : QVariant();
    }
    }
    return QVariant();
}

void registerResultCellFunctions(sqlite3* db)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function_v2(db, "qx_money", 1, flags, nullptr, sqlMoney, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "qx_days", 2, flags, nullptr, sqlDays, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raiseSqliteError(db, rc);
}

QString unchangedCondition(CellLoad load, const QString& quotedName, int parameter)
{
    const QString p = QString::number(parameter);
    switch (load) {
    // The column's own collation may ignore case; a change of case is a change all the same.
    case CellLoad::Text: return QStringLiteral("CAST(%1 AS TEXT) IS ?%2 COLLATE BINARY").arg(quotedName, p);
    case CellLoad::Int32:
    case CellLoad::Int64: return QStringLiteral("CAST(%1 AS INTEGER) IS ?%2").arg(quotedName, p);
    case CellLoad::Double: return QStringLiteral("CAST(%1 AS REAL) IS ?%2").arg(quotedName, p);
    case CellLoad::Bool: return QStringLiteral("(CAST(%1 AS REAL) <> 0) IS ?%2").arg(quotedName, p);
    case CellLoad::Blob: return QStringLiteral("CAST(%1 AS BLOB) IS ?%2").arg(quotedName, p);
    case CellLoad::Money: return QStringLiteral("qx_money(%1) IS ?%2").arg(quotedName, p);
    case CellLoad::Date: return QStringLiteral("qx_days(%1, 1) IS ?%2").arg(quotedName, p);
    case CellLoad::Time: return QStringLiteral("qx_days(%1, 2) IS ?%2").arg(quotedName, p);
    case CellLoad::DateTime: return QStringLiteral("qx_days(%1, 0) IS ?%2").arg(quotedName, p);
    }
    return QString();
}

void bindReadCell(sqlite3* db, sqlite3_stmt* stmt, int parameter, CellLoad load, const RecordStore& store,
                  std::uint32_t slot, int col)
{
    int rc = SQLITE_OK;
    if (store.isNull(slot, col)) {
        rc = sqlite3_bind_null(stmt, parameter);
    } else {
        switch (load) {
        case CellLoad::Text: {
            const std::string_view text = store.textBytes(slot, col);
            rc = sqlite3_bind_text64(stmt, parameter, text.data(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        case CellLoad::Int32:
        case CellLoad::Date: rc = sqlite3_bind_int(stmt, parameter, store.int32At(slot, col)); break;
        case CellLoad::Int64:
        case CellLoad::Money: rc = sqlite3_bind_int64(stmt, parameter, store.int64At(slot, col)); break;
        case CellLoad::Double:
        case CellLoad::Time:
        case CellLoad::DateTime: rc = sqlite3_bind_double(stmt, parameter, store.doubleAt(slot, col)); break;
        case CellLoad::Bool: rc = sqlite3_bind_int(stmt, parameter, store.boolAt(slot, col) ? 1 : 0); break;
        case CellLoad::Blob: {
            const QByteArray bytes = store.blobAt(slot, col);
            // An empty blob is a blob all the same, not a null.
            rc = bytes.isEmpty() ? sqlite3_bind_zeroblob(stmt, parameter, 0)
                                 : sqlite3_bind_blob64(stmt, parameter, bytes.constData(),
                                                       sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        raiseSqliteError(db, rc);
}

} // namespace qx
