#include "documents/bills/StockPoster.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"

#include <sqlite3.h>

#include <cmath>
#include <utility>
#include <vector>

namespace qx::documents {

EUnknownStockPart::EUnknownStockPart(const QString& code)
    : EDatabaseError(QStringLiteral("库存中没有配件编码 %1，存盘失败！").arg(code)), m_code(code)
{
}

qint64 stockQuantity(double quantity)
{
    if (!std::isfinite(quantity) || std::fabs(quantity) > 9.0e15)
        throw EDatabaseError(QStringLiteral("数量 %1 无效").arg(quantity));
    // The default rounding mode rounds halves to even.
    return qint64(std::nearbyint(quantity));
}

void StockPoster::move(const QString& code, qint64 delta)
{
    const CachedStatement lease = m_connection.cachedStatement(
        QStringLiteral("UPDATE t_Stock SET Qty = coalesce(Qty, 0) + ?1 WHERE ItemCode = ?2"));
    sqlite3* db = m_connection.handle();
    sqlite3_stmt* stmt = lease.get();
    sqlite3_bind_int64(stmt, 1, delta);
    bindVariant(db, stmt, 2, code);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        raiseSqliteError(db, rc, stmt);
    if (sqlite3_changes(db) == 0)
        throw EUnknownStockPart(code);
}

void StockPoster::giveBack(const QString& lineTable, const QString& billNo)
{
    // The stored lines are read whole before the stock changes: one statement at a time.
    std::vector<std::pair<QString, double>> lines;
    {
        const CachedStatement lease = m_connection.cachedStatement(
            QStringLiteral("SELECT ItemCode, Qty FROM %1 WHERE BillNo = ?1").arg(quoteSqlName(lineTable)));
        sqlite3* db = m_connection.handle();
        sqlite3_stmt* stmt = lease.get();
        bindVariant(db, stmt, 1, billNo);
        while (stepStatement(db, stmt))
            lines.emplace_back(columnVariant(stmt, 0).toString(), sqlite3_column_double(stmt, 1));
    }
    for (const auto& [code, quantity] : lines)
        move(code, stockQuantity(quantity));
}

void StockPoster::take(const TDataSet& lines)
{
    const TField* code = lines.FieldByName(QStringLiteral("ItemCode"));
    const TField* quantity = lines.FieldByName(QStringLiteral("Qty"));
    lines.ForEachRecord([&] {
        move(code->AsString(), -stockQuantity(quantity->IsNull() ? 0.0 : quantity->AsFloat()));
        return true;
    });
}

} // namespace qx::documents
