#include "documents/workorder/WorkOrderStore.h"

#include "app/data/dmData.h"
#include "documents/bills/BillNumbers.h"
#include "documents/bills/BillRowWriter.h"
#include "documents/bills/CachedSql.h"
#include "documents/bills/StockPoster.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/db/sql/TransactionScope.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <sqlite3.h>

namespace qx::documents {

namespace {

const QString kHeadTable = QStringLiteral("t_ReceptionMst");
const QString kItemTable = QStringLiteral("t_ReceptionDlt");
const QString kPartTable = QStringLiteral("t_ReceptionDlt2");

// A number allocated in one attempt can still meet a unique-index clash; the save then starts
// again from the beginning with a fresh number, a few times at most.
constexpr int kNumberAttempts = 3;


QString headText(const TDataSet& head, const char* name)
{
    const TField* f = head.FindField(QLatin1String(name));
    return f && !f->IsNull() ? f->AsString() : QString();
}

// The money booked on a stored bill belongs to its receipts, which another workstation may
// have added since this one read the bill: Received and DecAmount as stored. A head that is
// gone (the bill was deleted on another workstation meanwhile) took its receipts and its
// write-off with it: the sum of any receipts left under the number, and nothing written off.
struct BookedMoney
{
    QVariant received;
    QVariant decAmount;
};

BookedMoney bookedMoney(TADOConnection& connection, const QString& billNo)
{
    const CachedStatement lease = connection.cachedStatement(QStringLiteral(
        "SELECT Received, DecAmount FROM ("
        "SELECT 0 AS k, Received, DecAmount FROM t_ReceptionMst WHERE BillNo = ?1 UNION ALL "
        "SELECT 1, coalesce(sum(Amount), 0), 0 FROM t_ReceptionDlt3 WHERE BillNo = ?1) ORDER BY k LIMIT 1"));
    sqlite3* db = connection.handle();
    sqlite3_stmt* stmt = lease.get();
    bindVariant(db, stmt, 1, billNo);
    BookedMoney booked;
    if (stepStatement(db, stmt)) {
        booked.received = columnVariant(stmt, 0);
        booked.decAmount = columnVariant(stmt, 1);
    }
    return booked;
}

// Whether the number the bill was read under now belongs to another bill: the bill read was
// deleted on another workstation and its number given to the next new bill there. The head's
// ID, when the bill was read from the database, tells them apart.
bool numberTakenByAnotherBill(TADOConnection& connection, const TDataSet& head, const QString& storedBillNo)
{
    const TField* id = head.FindField(QStringLiteral("ID"));
    if (!id || id->IsNull())
        return false;
    const CachedStatement lease =
        connection.cachedStatement(QStringLiteral("SELECT ID FROM t_ReceptionMst WHERE BillNo = ?1"));
    sqlite3* db = connection.handle();
    sqlite3_stmt* stmt = lease.get();
    bindVariant(db, stmt, 1, storedBillNo);
    return stepStatement(db, stmt) && sqlite3_column_int64(stmt, 0) != id->Value().toLongLong();
}

QString storeOnce(TADOConnection& connection, const WorkOrderRows& bill, const QString& storedBillNo,
                  bool moveStock, bool& allocated)
{
    qx::TransactionScope transaction(connection);
    // A bill whose number another bill has taken meanwhile replaces nothing: it is stored as a
    // new bill under a number of its own, so neither bill is lost.
    const bool isNew = storedBillNo.trimmed().isEmpty()
        || numberTakenByAnotherBill(connection, bill.head, storedBillNo.trimmed());
    QString billNo = headText(bill.head, "BillNo").trimmed();
    allocated = billNo == newBillText() || (!storedBillNo.trimmed().isEmpty() && isNew);
    if (allocated)
        billNo = allocateBillNumber(connection, workOrderBills());

    BillRowWriter head(connection, kHeadTable, BillRowWriter::Blanks::RequiredAsBlank);
    if (!isNew) {
        const BookedMoney booked = bookedMoney(connection, storedBillNo);
        head.deleteBill(storedBillNo);
        head.insertCurrent(bill.head, billNo);
        runCached(connection,
                  QStringLiteral("UPDATE %1 SET Received = ?2, DecAmount = ?3 WHERE BillNo = ?1").arg(kHeadTable),
                  {billNo, booked.received, booked.decAmount});
    } else {
        head.insertCurrent(bill.head, billNo);
    }

    addLookupValue(connection, QStringLiteral("t_Model"), QStringLiteral("Model"), headText(bill.head, "Model"));
    addLookupValue(connection, QStringLiteral("t_MainWorker"), QStringLiteral("MainWorker"),
                   headText(bill.head, "MainWorker"));
    updateDeviceFromBill(connection, bill.head);

    BillRowWriter items(connection, kItemTable);
    if (!isNew)
        items.deleteBill(storedBillNo);
    items.insertAll(bill.items, billNo);

    // The stored parts are still those of the last save here: they are given back first.
    if (moveStock) {
        StockPoster stock(connection);
        if (!isNew)
            stock.giveBack(kPartTable, storedBillNo);
        stock.take(bill.parts);
    }

    BillRowWriter parts(connection, kPartTable);
    if (!isNew)
        parts.deleteBill(storedBillNo);
    parts.insertAll(bill.parts, billNo);

    transaction.commit();
    return billNo;
}

} // namespace

bool workOrderMovesStock()
{
    if (!StockEnabled)
        return false;
    const QString word = ReadIniValue(ExeFolderPath(QStringLiteral("INC.ini")), QStringLiteral("参数"),
                                      QStringLiteral("启用库存管理"), QStringLiteral("否"))
                             .toString();
    return word == QStringLiteral("是");
}

void giveBackWorkOrderStock(TADOConnection& connection, const QString& billNo)
{
    if (workOrderMovesStock())
        StockPoster(connection).giveBack(kPartTable, billNo);
}

QString storeWorkOrder(TADOConnection& connection, const WorkOrderRows& bill, const QString& storedBillNo,
                       bool moveStock)
{
    for (int attempt = 1;; ++attempt) {
        bool allocated = false;
        try {
            return storeOnce(connection, bill, storedBillNo, moveStock, allocated);
        } catch (const EDuplicateKey&) {
            if (!allocated || attempt == kNumberAttempts)
                throw;
        }
    }
}

void addLookupValue(TADOConnection& connection, const QString& table, const QString& column, const QString& value)
{
    if (value.isEmpty())
        return;
    const QString name = quoteSqlName(column);
    runCached(connection,
              QStringLiteral("INSERT INTO %1 (%2) SELECT ?1 WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %2 = ?1)")
                  .arg(quoteSqlName(table), name),
              {value});
}

void updateDeviceFromBill(TADOConnection& connection, const TDataSet& head)
{
    const QString vin = headText(head, "VIN").trimmed();
    if (vin.isEmpty())
        return;
    const auto valueOf = [&head](const char* name) -> QVariant {
        const QString text = headText(head, name);
        if (text.isEmpty())
            return QVariant();
        const TField* f = head.FindField(QLatin1String(name));
        return f->DataType() == ftString || f->DataType() == ftWideString ? QVariant(text) : f->Value();
    };
    runCached(connection,
              QStringLiteral("UPDATE tVehicle SET LinkMen = ?1, Tel = ?2, HTel = ?3, Mileage = ?4 "
                             "WHERE VIN = ?5 AND (SELECT count(*) FROM tVehicle WHERE VIN = ?5) = 1"),
              {valueOf("LinkMen"), valueOf("Tel"), valueOf("HTel"), valueOf("Mileage"), vin});
}

} // namespace qx::documents
