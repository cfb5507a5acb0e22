#include "documents/bills/BillNumbers.h"

#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Clock.h"

#include <sqlite3.h>

namespace qx::documents {

namespace {

constexpr int kCounterDigits = 3;
constexpr int kLastCounter = 999;

} // namespace

const BillKind& workOrderBills()
{
    static const BillKind kind{QStringLiteral("WX"), QStringLiteral("t_ReceptionMst")};
    return kind;
}

const BillKind& salesBills()
{
    static const BillKind kind{QStringLiteral("XS"), QStringLiteral("t_OutMst")};
    return kind;
}

const BillKind& purchaseBills()
{
    static const BillKind kind{QStringLiteral("GJ"), QStringLiteral("t_InMst")};
    return kind;
}

const BillKind& stockTakingBills()
{
    static const BillKind kind{QStringLiteral("PD"), QStringLiteral("t_CheckMst")};
    return kind;
}

QString newBillText()
{
    return QStringLiteral("新单");
}

QString billNumberStem(const QString& prefix, const QDate& day)
{
    return prefix + day.toString(QStringLiteral("yyMMdd"));
}

QString nextBillNumber(const QString& prefix, const QDate& day, const QString& greatest)
{
    const QString stem = billNumberStem(prefix, day);
    if (greatest.isEmpty())
        return stem + QStringLiteral("001");
    bool ok = false;
    const int counter = greatest.mid(stem.size()).toInt(&ok);
    if (!ok || greatest.size() != stem.size() + kCounterDigits
        || greatest.left(stem.size()).compare(stem, Qt::CaseInsensitive) != 0 || counter < 0)
        throw EDatabaseError(QStringLiteral("单号 %1 不是 %2 的单号").arg(greatest, stem));
    if (counter >= kLastCounter)
        throw EBillNumbersExhausted(QStringLiteral("%1 的单号已用完").arg(stem));
    return stem + QString::number(counter + 1).rightJustified(kCounterDigits, u'0');
}

QString allocateBillNumber(TADOConnection& connection, const BillKind& kind)
{
    const QDate today = Date().toQDate();
    const QString stem = billNumberStem(kind.prefix, today);
    // The range keeps to the day's well-formed numbers and lets the unique index answer.
    const QString sql = QStringLiteral("SELECT max(BillNo) FROM %1 WHERE BillNo BETWEEN ?1 AND ?2 "
                                       "AND length(BillNo) = ?3 AND substr(BillNo, ?4) GLOB '[0-9][0-9][0-9]'")
                            .arg(quoteSqlName(kind.headTable));
    const CachedStatement lease = connection.cachedStatement(sql);
    sqlite3* db = connection.handle();
    sqlite3_stmt* stmt = lease.get();
    bindVariant(db, stmt, 1, stem + QStringLiteral("000"));
    bindVariant(db, stmt, 2, stem + QStringLiteral("999"));
    bindVariant(db, stmt, 3, stem.size() + kCounterDigits);
    bindVariant(db, stmt, 4, stem.size() + 1);
    QString greatest;
    if (stepStatement(db, stmt))
        greatest = columnVariant(stmt, 0).toString();
    return nextBillNumber(kind.prefix, today, greatest);
}

} // namespace qx::documents
