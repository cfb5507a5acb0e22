#include "tests/documents/workorder/worker/WorkerBill.h"

#include "documents/bills/BillTables.h"
#include "documents/workorder/WorkOrderStore.h"
#include "platform/db/sql/ADOQuery.h"

namespace qx::documents::test {

namespace {

void defineFrom(TADOConnection& connection, TQxMemTable& table, const QString& source)
{
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText(QStringLiteral("select * from %1 where 0").arg(source));
    query.Open();
    defineBillTable(table, query);
}

} // namespace

WorkerBill::WorkerBill(TADOConnection& connection) : m_connection(connection)
{
    defineFrom(connection, m_head, QStringLiteral("t_ReceptionMst"));
    defineFrom(connection, m_items, QStringLiteral("t_ReceptionDlt"));
    defineFrom(connection, m_parts, QStringLiteral("t_ReceptionDlt2"));
}

void WorkerBill::fill(int i, const QString& stored)
{
    for (TQxMemTable* t : {&m_head, &m_items, &m_parts})
        t->EmptyTable();
    const QString number = stored.isEmpty() ? QStringLiteral("新单") : stored;
    m_head.Append();
    m_head.FieldByName(QStringLiteral("BillNo"))->SetAsString(number);
    m_head.FieldByName(QStringLiteral("INtime"))->SetAsString(QStringLiteral("2026-03-05"));
    m_head.FieldByName(QStringLiteral("BillDate"))->SetAsString(QStringLiteral("2026-03-05"));
    m_head.FieldByName(QStringLiteral("VIN"))->SetAsString(QStringLiteral("SN100"));
    m_head.FieldByName(QStringLiteral("LinkMen"))->SetAsString(QStringLiteral("客户%1").arg(i));
    m_head.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("M%1").arg(i % 7));
    m_head.FieldByName(QStringLiteral("MainWorker"))->SetAsString(QStringLiteral("W%1").arg(i % 5));
    m_head.FieldByName(QStringLiteral("TotalAmount"))->SetAsCurrency(Currency::fromRaw(1000000 + i));
    m_head.Post();
    for (int k = 0; k < kWorkerItems; ++k) {
        m_items.Append();
        m_items.FieldByName(QStringLiteral("BillNo"))->SetAsString(number);
        m_items.FieldByName(QStringLiteral("SItemCode"))->SetAsString(QStringLiteral("X%1").arg(k));
        m_items.FieldByName(QStringLiteral("TimeAmount"))->SetAsCurrency(Currency::fromRaw(100000 * (k + 1)));
        m_items.Post();
    }
    int k = 0;
    for (const char* code : kWorkerParts) {
        m_parts.Append();
        m_parts.FieldByName(QStringLiteral("BillNo"))->SetAsString(number);
        m_parts.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QLatin1String(code));
        m_parts.FieldByName(QStringLiteral("Qty"))->SetAsInteger(1 + (i + k++) % 3);
        m_parts.FieldByName(QStringLiteral("Price"))->SetAsCurrency(Currency::fromRaw(25000));
        m_parts.Post();
    }
}

QString WorkerBill::save(const QString& stored)
{
    return storeWorkOrder(m_connection, {m_head, m_items, m_parts}, stored, true);
}

} // namespace qx::documents::test
