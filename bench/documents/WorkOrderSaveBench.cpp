// Saving a work order of 20 part lines and 10 repair items, 1,000 times, through the
// editor's store (number, head, pick lists, device, items, stock, parts in one transaction)
// against the same rows written with raw sqlite3 statements in one transaction per bill, each
// on a fresh shop database with the connection settings of the program. Also counts the
// commits per save.
#include "bench/support/BenchReport.h"

#include "app/schema/TempDatabase.h"
#include "documents/bills/BillTables.h"
#include "documents/workorder/WorkOrderStore.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Clock.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kSaves = 1000;
constexpr int kParts = 20;
constexpr int kItems = 10;
// A day holds 999 numbers of one prefix: the saves move on to the next day after 500.
constexpr int kSavesPerDay = 500;
const QDate kFirstDay(2026, 3, 5);

QString partCode(int k)
{
    return QStringLiteral("P%1").arg(k, 2, 10, QLatin1Char('0'));
}

void seed(const QString& file)
{
    TADOConnection c;
    c.setConnectionString(QStringLiteral("Data Source=") + file);
    c.Open();
    c.BeginTrans();
    for (int k = 0; k < kParts; ++k)
        c.Execute(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty, Price, CostPrice) values (:c, :c, 1000000, 3, 2)"),
                  {{QStringLiteral("c"), partCode(k)}});
    c.Execute(QStringLiteral("insert into tVehicle (VIN, LinkMen) values ('SN100', 'x')"));
    c.CommitTrans();
}

int commitCount = 0;
int countCommit(void*)
{
    ++commitCount;
    return 0;
}

// ---- ours: the memory tables and the store -----------------------------------------------

struct Bill
{
    TQxMemTable head;
    TQxMemTable items;
    TQxMemTable parts;
};

void defineFrom(TADOConnection& connection, TQxMemTable& table, const char* source)
{
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText(QStringLiteral("select * from %1 where 0").arg(QLatin1String(source)));
    query.Open();
    qx::documents::defineBillTable(table, query);
}

void fill(Bill& b, int i)
{
    b.head.EmptyTable();
    b.items.EmptyTable();
    b.parts.EmptyTable();
    b.head.Append();
    b.head.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
    b.head.FieldByName(QStringLiteral("INtime"))->SetAsString(QStringLiteral("2026-03-05"));
    b.head.FieldByName(QStringLiteral("BillDate"))->SetAsString(QStringLiteral("2026-03-05"));
    b.head.FieldByName(QStringLiteral("VIN"))->SetAsString(QStringLiteral("SN100"));
    b.head.FieldByName(QStringLiteral("LinkMen"))->SetAsString(QStringLiteral("客户%1").arg(i));
    b.head.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("M%1").arg(i % 7));
    b.head.FieldByName(QStringLiteral("MainWorker"))->SetAsString(QStringLiteral("W%1").arg(i % 5));
    b.head.FieldByName(QStringLiteral("TotalAmount"))->SetAsCurrency(Currency::fromRaw(1000000 + i));
    b.head.Post();
    for (int k = 0; k < kItems; ++k) {
        b.items.Append();
        b.items.FieldByName(QStringLiteral("SItemCode"))->SetAsString(QStringLiteral("X%1").arg(k));
        b.items.FieldByName(QStringLiteral("SItemName"))->SetAsString(QStringLiteral("项目%1").arg(k));
        b.items.FieldByName(QStringLiteral("TimeAmount"))->SetAsCurrency(Currency::fromRaw(100000));
        b.items.FieldByName(QStringLiteral("PayType"))->SetAsString(QStringLiteral("客付"));
        b.items.Post();
    }
    for (int k = 0; k < kParts; ++k) {
        b.parts.Append();
        b.parts.FieldByName(QStringLiteral("ItemCode"))->SetAsString(partCode(k));
        b.parts.FieldByName(QStringLiteral("ItemName"))->SetAsString(partCode(k));
        b.parts.FieldByName(QStringLiteral("Qty"))->SetAsInteger(1 + k % 3);
        b.parts.FieldByName(QStringLiteral("Price"))->SetAsCurrency(Currency::fromRaw(30000));
        b.parts.FieldByName(QStringLiteral("Amount"))->SetAsCurrency(Currency::fromRaw(30000 * (1 + k % 3)));
        b.parts.FieldByName(QStringLiteral("CostPrice"))->SetAsCurrency(Currency::fromRaw(20000));
        b.parts.FieldByName(QStringLiteral("PayType"))->SetAsString(QStringLiteral("客付"));
        b.parts.Post();
    }
}

class Ours
{
public:
    Ours(const QString& file, bool durable)
    {
        c.setConnectionString(QStringLiteral("Data Source=") + file);
        c.Open();
        if (!durable)
            c.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
        defineFrom(c, b.head, "t_ReceptionMst");
        defineFrom(c, b.items, "t_ReceptionDlt");
        defineFrom(c, b.parts, "t_ReceptionDlt2");
        sqlite3_commit_hook(c.handle(), countCommit, nullptr);
    }
    ~Ours() { sqlite3_commit_hook(c.handle(), nullptr, nullptr); }

    // Saves bills from .. from + count; the nanoseconds the saves took.
    qint64 save(int from, int count)
    {
        QElapsedTimer timer;
        qint64 total = 0;
        for (int i = from; i < from + count; ++i) {
            qx::setToday(kFirstDay.addDays(i / kSavesPerDay));
            fill(b, i);
            timer.start();
            qx::documents::storeWorkOrder(c, {b.head, b.items, b.parts}, QString(), true);
            total += timer.nsecsElapsed();
        }
        return total;
    }

private:
    TADOConnection c;
    Bill b;
};

// ---- peer: the same rows with raw statements ---------------------------------------------

class Statement
{
public:
    Statement(sqlite3* db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement& text(int i, const QByteArray& v)
    {
        sqlite3_bind_text(m_stmt, i, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int i, double v)
    {
        sqlite3_bind_double(m_stmt, i, v);
        return *this;
    }
    Statement& integer(int i, qint64 v)
    {
        sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    // Steps to the end; the first column of a row, when there was one.
    QByteArray run()
    {
        QByteArray first;
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW)
            if (const unsigned char* t = sqlite3_column_text(m_stmt, 0))
                first = reinterpret_cast<const char*>(t);
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        return first;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

class Peer
{
public:
    Peer(const QString& file, bool durable)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("open");
        sqlite3_busy_timeout(db, 5000);
        exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON");
        if (!durable)
            exec(db, "PRAGMA synchronous=OFF");
        maxNo = std::make_unique<Statement>(db, "SELECT max(BillNo) FROM t_ReceptionMst WHERE BillNo BETWEEN ?1 AND ?2");
        head = std::make_unique<Statement>(
            db, "INSERT INTO t_ReceptionMst (BillNo, BillDate, INtime, VIN, LinkMen, Model, MainWorker, "
                "TotalAmount) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        model = std::make_unique<Statement>(
            db, "INSERT INTO t_Model (Model) SELECT ?1 WHERE NOT EXISTS (SELECT 1 FROM t_Model WHERE Model = ?1)");
        worker = std::make_unique<Statement>(db, "INSERT INTO t_MainWorker (MainWorker) SELECT ?1 WHERE NOT EXISTS "
                                                 "(SELECT 1 FROM t_MainWorker WHERE MainWorker = ?1)");
        device = std::make_unique<Statement>(
            db, "UPDATE tVehicle SET LinkMen = ?1, Tel = NULL, HTel = NULL, Mileage = NULL WHERE VIN = ?2");
        item = std::make_unique<Statement>(db, "INSERT INTO t_ReceptionDlt (BillNo, SItemCode, SItemName, TimeAmount, "
                                               "PayType) VALUES (?1, ?2, ?3, ?4, ?5)");
        stock = std::make_unique<Statement>(db, "UPDATE t_Stock SET Qty = Qty - ?1 WHERE ItemCode = ?2");
        part = std::make_unique<Statement>(db, "INSERT INTO t_ReceptionDlt2 (BillNo, ItemCode, ItemName, Qty, Price, "
                                               "Amount, CostPrice, PayType) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    }
    ~Peer()
    {
        maxNo.reset(), head.reset(), model.reset(), worker.reset(), device.reset(), item.reset(), stock.reset(),
            part.reset();
        sqlite3_close(db);
    }

    qint64 save(int from, int count)
    {
        QElapsedTimer timer;
        qint64 total = 0;
        for (int i = from; i < from + count; ++i) {
            const QByteArray stem =
                "WX" + kFirstDay.addDays(i / kSavesPerDay).toString(QStringLiteral("yyMMdd")).toLatin1();
            timer.start();
            exec(db, "BEGIN IMMEDIATE");
            const QByteArray greatest = maxNo->text(1, stem + "000").text(2, stem + "999").run();
            const QByteArray number =
                stem + QByteArray::number(greatest.isEmpty() ? 1 : greatest.right(3).toInt() + 1).rightJustified(3, '0');
            head->text(1, number).text(2, "2026-03-05").text(3, "2026-03-05").text(4, "SN100")
                .text(5, QStringLiteral("客户%1").arg(i).toUtf8()).text(6, "M" + QByteArray::number(i % 7))
                .text(7, "W" + QByteArray::number(i % 5)).number(8, 100 + i / 10000.0).run();
            model->text(1, "M" + QByteArray::number(i % 7)).run();
            worker->text(1, "W" + QByteArray::number(i % 5)).run();
            device->text(1, QStringLiteral("客户%1").arg(i).toUtf8()).text(2, "SN100").run();
            for (int k = 0; k < kItems; ++k)
                item->text(1, number).text(2, "X" + QByteArray::number(k)).text(3, QStringLiteral("项目%1").arg(k).toUtf8())
                    .number(4, 10).text(5, "客付").run();
            for (int k = 0; k < kParts; ++k)
                stock->integer(1, 1 + k % 3).text(2, partCode(k).toLatin1()).run();
            for (int k = 0; k < kParts; ++k)
                part->text(1, number).text(2, partCode(k).toLatin1()).text(3, partCode(k).toLatin1())
                    .integer(4, 1 + k % 3).number(5, 3).number(6, 3 * (1 + k % 3)).number(7, 2).text(8, "客付").run();
            exec(db, "COMMIT");
            total += timer.nsecsElapsed();
        }
        return total;
    }

private:
    sqlite3* db = nullptr;
    std::unique_ptr<Statement> maxNo, head, model, worker, device, item, stock, part;
};

// Saves kSaves bills in turns on two fresh databases; the seconds of ours and of the peer.
std::pair<double, double> measure(bool durable)
{
    const qx::app::TempDatabase oursDb;
    const qx::app::TempDatabase peerDb;
    seed(oursDb.databasePath());
    seed(peerDb.databasePath());
    qint64 ours = 0;
    qint64 peer = 0;
    Ours o(oursDb.databasePath(), durable);
    Peer p(peerDb.databasePath(), durable);
    // Rounds of 50 bills taken in turns, so a busy moment of the shared disk falls on both.
    constexpr int kRound = 50;
    for (int from = 0; from < kSaves; from += kRound) {
        peer += p.save(from, kRound);
        ours += o.save(from, kRound);
    }
    return {ours / 1e9, peer / 1e9};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    commitCount = 0;
    const auto [ours, peer] = measure(true);
    const int commits = commitCount;
    // The same without waiting for the disk: what the code itself costs.
    const auto [oursCpu, peerCpu] = measure(false);
    qx::clearToday();
    qxbench::report(QStringLiteral("workorder_save_1000_bills_s"), ours, peer, 1.5);
    qxbench::report(QStringLiteral("workorder_save_1000_bills_nosync_s"), oursCpu, peerCpu, 1.5);
    qxbench::report(QStringLiteral("workorder_save_commits_per_bill"), double(commits) / kSaves, 1.0, 1.0);
    return 0;
}
