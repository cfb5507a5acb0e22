// The part picker over 100,000 parts: five characters typed into its code box, each keystroke
// re-querying the stock (codes beginning with the text, at most 300 parts) and repainting the
// grid, against the same five statements prepared, bound, stepped to their end and every column
// read on SQLite directly, in the same run on the same database.
#include "app/data/dmData.h"
#include "app/master/uaSelectStock.h"
#include "bench/support/BenchReport.h"
#include "bench/support/BenchShop.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqliteStatement.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int kParts = 100000;
constexpr int kRuns = 30;
const char kTyped[] = "12345";

void fillStock(TADOConnection& connection)
{
    sqlite3* db = connection.handle();
    connection.BeginTrans();
    qx::SqliteStatement insert(db, "INSERT INTO t_Stock (ItemCode, ItemName, Model, Qty, Price, CostPrice, "
                                   "UnitCode, Location, PY, WB, WBH) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    for (int i = 0; i < kParts; ++i) {
        // Codes 100000..199999 in a shuffled order, so that the table's order is not the code's.
        const int n = 100000 + int((qint64(i) * 7919) % kParts);
        const std::string code = std::to_string(n);
        const std::string name = "配件名称" + std::to_string(i % 977);
        const std::string model = "M" + std::to_string(i % 50);
        const std::string location = "A" + std::to_string(i % 20);
        sqlite3_bind_text(insert.get(), 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, model.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 4, i % 40);
        sqlite3_bind_double(insert.get(), 5, (i % 500) + 0.5);
        sqlite3_bind_double(insert.get(), 6, (i % 300) + 0.25);
        sqlite3_bind_text(insert.get(), 7, "个", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 8, location.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 9, "PJMC", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 10, "TWQT", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 11, "MLAB", -1, SQLITE_STATIC);
        qx::stepStatement(db, insert.get());
        sqlite3_reset(insert.get());
    }
    connection.CommitTrans();
}

// The list the picker shows with an empty code box, as it stands before each run.
void runEmptyBox(sqlite3* db, std::vector<std::string>& cells)
{
    qx::SqliteStatement stmt(db, "select * from t_Stock limit 300");
    qxbench::stepAllCells(stmt.get(), cells);
}

// The peer: the statements the picker runs, each prepared, bound, stepped to its end with every
// column read. Returns the rows of the last one.
int runStatements(sqlite3* db, std::vector<std::string>& cells)
{
    int rows = 0;
    for (std::size_t typed = 1; typed <= sizeof(kTyped) - 1; ++typed) {
        const std::string pattern = std::string(kTyped, typed) + "%";
        qx::SqliteStatement stmt(db, "select * from t_Stock Where ItemCode like :p1 escape '\\' limit 300");
        sqlite3_bind_text(stmt.get(), 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
        rows = qxbench::stepAllCells(stmt.get(), cells);
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    qxbench::ShopDatabase shop;
    fillStock(shop.connection());

    // The picker as the bill editors open it, at its own size.
    auto owned = std::make_unique<TFrmaSelectStock>();
    TFrmaSelectStock* picker = owned.get();
    picker->show();
    if (!QTest::qWaitForWindowExposed(picker))
        qFatal("the picker was not exposed");
    QApplication::processEvents();
    sqlite3* db = shop.connection().handle();
    std::vector<std::string> cells;
    cells.reserve(300 * 16);

    // The runs alternate between ours and the peer, so that both meet the same machine. Each
    // starts from the list of an empty code box (untimed): the picker shows it when its box is
    // emptied, and the peer runs its statement, so both find the database's cache alike.
    double ours = std::numeric_limits<double>::max();
    double peer = std::numeric_limits<double>::max();
    int oursRows = 0;
    int peerRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        picker->EdtCode->setText(QString());
        picker->Grid->repaint();
        QElapsedTimer timer;
        timer.start();
        for (const char* c = kTyped; *c; ++c) {
            QTest::keyClick(picker->EdtCode, *c);
            picker->Grid->repaint();
        }
        ours = std::min(ours, timer.nsecsElapsed() / 1e9);
        oursRows = picker->Query->RecordCount();

        runEmptyBox(db, cells);
        timer.restart();
        peerRows = runStatements(db, cells);
        peer = std::min(peer, timer.nsecsElapsed() / 1e9);
    }
    if (oursRows != peerRows || oursRows != 10)
        qFatal("the picker listed %d parts, the statements %d", oursRows, peerRows);

    qxbench::report(QStringLiteral("master.part_picker_type5_100k"), ours, peer, 1.5);
    return 0;
}
