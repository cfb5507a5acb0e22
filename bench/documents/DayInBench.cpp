// The work-order browser over a find result of 50,000 work orders: the list and its sums
// opened, the grid's first paint, then a title click sorting the list by its amount and the
// repaint; against SQLite preparing the same list statement with ORDER BY on that column and
// stepping it to its end with every column read, in the same run on the same database.
#include "app/data/dmData.h"
#include "app/schema/OperatorRights.h"
#include "bench/support/BenchReport.h"
#include "bench/support/BenchShop.h"
#include "documents/workorder/uDayIn.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqliteStatement.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QApplication>
#include <QTest>

#include <string>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int kWorkOrders = 50000;
constexpr int kRounds = 7;
const char kCondition[] = " Where INtime >= CVDate('2020-01-01')";

// The browser with its list opening reachable, as a find opens it.
class BenchDayIn : public TFrmDayIn
{
public:
    using TFrmABillBrowser::OpenList;
};

void fillWorkOrders(TADOConnection& connection)
{
    sqlite3* db = connection.handle();
    connection.BeginTrans();
    qx::SqliteStatement insert(
        db, "INSERT INTO t_ReceptionMst (BillNo, ReBillNo, BillDate, INtime, State, CCode, CName, VIN, Model, LinkMen, "
            "Tel, HTel, Remark, ClientEvent, TimesAmount, PartsAmount, TotalAmount, Received, DecAmount) "
            "VALUES (?1, ?2, ?3, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, 0)");
    for (int i = 0; i < kWorkOrders; ++i) {
        const std::string billNo = "WX" + std::to_string(2000000 + i);
        const std::string day = "2026-" + std::string(i % 12 < 9 ? "0" : "") + std::to_string(i % 12 + 1) + "-"
                                + std::string(i % 28 < 9 ? "0" : "") + std::to_string(i % 28 + 1);
        const std::string customer = "C" + std::to_string(i % 3000);
        const std::string name = "机主" + std::to_string(i % 3000);
        const std::string serial = "SN" + std::to_string(i * 7919 % 100000);
        const double labour = (i % 400) + 0.5;
        const double parts = (i * 37 % 900) + 0.25;
        sqlite3_bind_text(insert.get(), 1, billNo.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 2, ("R" + std::to_string(i)).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, day.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 4, i % 5 == 0 ? "已审核" : "", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 5, customer.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 6, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 7, serial.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 8, "A100", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 9, "联系人", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 10, "5551234", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 11, "13900000000", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 12, "某市某路某号", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 13, "不开机", -1, SQLITE_STATIC);
        sqlite3_bind_double(insert.get(), 14, labour);
        sqlite3_bind_double(insert.get(), 15, parts);
        sqlite3_bind_double(insert.get(), 16, labour + parts);
        sqlite3_bind_double(insert.get(), 17, i % 3 == 0 ? labour : labour + parts);
        qx::stepStatement(db, insert.get());
        sqlite3_reset(insert.get());
    }
    connection.CommitTrans();
}

// Prepares the statement, steps it to its end and reads every column; returns the rows.
int stepAll(sqlite3* db, const char* sql, std::vector<std::string>& cells)
{
    qx::SqliteStatement stmt(db, sql);
    return qxbench::stepAllCells(stmt.get(), cells);
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    qxbench::ShopDatabase shop;
    CurrentUser = qx::app::administratorCode();
    fillWorkOrders(shop.connection());

    BenchDayIn browser;
    browser.resize(1280, 720);
    browser.show();
    if (!QTest::qWaitForWindowExposed(&browser))
        qFatal("the browser was not exposed");
    QApplication::processEvents();
    TQxColumn* amount = ColumnByFieldName(browser.DBGrid1, QStringLiteral("TotalAmount"));

    sqlite3* db = shop.connection().handle();
    std::vector<std::string> cells;
    cells.reserve(std::size_t(kWorkOrders) * 50);
    int oursRows = 0;
    int peerRows = 0;
    const qxbench::AlternateTimes times = qxbench::alternateBest(
        kRounds,
        [&] {
            browser.OpenList(QLatin1String(kCondition), {});
            browser.DBGrid1->repaint();
            browser.DBGrid1TitleClick(amount);
            browser.DBGrid1->repaint();
            oursRows = browser.QryMain->RecordCount();
        },
        [&] {
            peerRows = stepAll(db,
                               "Select *, ifnull(TotalAmount, 0)-ifnull(Received, 0)-ifnull(DecAmount, 0) as NoReceiv "
                               "from t_ReceptionMst "
                               "Where INtime >= '2020-01-01' ORDER BY TotalAmount ASC",
                               cells);
        });
    if (oursRows != kWorkOrders || peerRows != kWorkOrders)
        qFatal("the lists differ: %d and %d rows", oursRows, peerRows);
    if (browser.QryMain->Sort() != QStringLiteral("TotalAmount ASC"))
        qFatal("the list was not sorted");
    qxbench::report(QStringLiteral("documents.dayin.find50k_open_paint_sort"), times.ours, times.peer, 2.0);
    return 0;
}
