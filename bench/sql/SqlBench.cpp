// The SQL datasets against raw SQLite in the same run:
//  - sql.open_walk: open "select * from t" (1,000,000 rows by 8 columns) in a TADOQuery and walk
//    it with Next reading every field, against a prepare/step loop reading every column into a
//    std::vector of rows;
//  - sql.edit_post: change one row through Edit/Post, many times, against a prepared UPDATE
//    stepped and reset as many times. Both run inside one transaction, so that the disk's sync
//    (the same for both) does not hide the cost of our own code.
#include "bench/support/BenchReport.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqliteStatement.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int kRows = 1000000;
constexpr int kEdits = 200000;

struct Row
{
    sqlite3_int64 id = 0;
    std::string code;
    std::string name;
    int qty = 0;
    double price = 0;
    double weight = 0;
    std::string inDate;
    std::string note;
};

void fill(TADOConnection& conn, int rowCount)
{
    conn.Execute(QStringLiteral(
        "CREATE TABLE t (ID INTEGER PRIMARY KEY, Code TEXT(20), Name TEXT(40), Qty INTEGER, Price MONEY,"
        " Weight DOUBLE, InDate DATETIME, Note TEXT(60))"));
    conn.BeginTrans();
    sqlite3* db = conn.handle();
    qx::SqliteStatement insert(db, "INSERT INTO t VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (int i = 1; i <= rowCount; ++i) {
        const std::string code = "P" + std::to_string(100000 + i);
        const std::string name = "配件名称" + std::to_string(i % 977);
        const std::string day = "2006-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10);
        const std::string note = i % 3 ? std::string() : "备注 " + std::to_string(i);
        sqlite3_bind_int64(insert.get(), 1, i);
        sqlite3_bind_text(insert.get(), 2, code.c_str(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 4, i % 50);
        sqlite3_bind_double(insert.get(), 5, (i % 10000) / 100.0);
        sqlite3_bind_double(insert.get(), 6, i * 0.001);
        sqlite3_bind_text(insert.get(), 7, day.c_str(), int(day.size()), SQLITE_TRANSIENT);
        if (note.empty())
            sqlite3_bind_null(insert.get(), 8);
        else
            sqlite3_bind_text(insert.get(), 8, note.c_str(), int(note.size()), SQLITE_TRANSIENT);
        qx::stepStatement(db, insert.get());
        sqlite3_reset(insert.get());
    }
    conn.CommitTrans();
}

std::string text(sqlite3_stmt* s, int col)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
    return p ? std::string(p, std::size_t(sqlite3_column_bytes(s, col))) : std::string();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.mdb"));
    TADOConnection::CreateDatabase(file);
    TADOConnection conn;
    conn.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file);
    conn.Open();
    // "edit" runs the second measure alone (for profiling it).
    const bool editOnly = argc > 1 && std::string(argv[1]) == "edit";
    fill(conn, editOnly ? 1000 : kRows);
    sqlite3* db = conn.handle();

    // ---- open and walk ----------------------------------------------------------------
    std::size_t sink = 0;
    const double peerOpen = editOnly ? 0 : qxbench::timeBest([&] {
        std::vector<Row> rows;
        rows.reserve(kRows);
        qx::SqliteStatement s(db, "select * from t");
        while (qx::stepStatement(db, s.get())) {
            Row r;
            r.id = sqlite3_column_int64(s.get(), 0);
            r.code = text(s.get(), 1);
            r.name = text(s.get(), 2);
            r.qty = sqlite3_column_int(s.get(), 3);
            r.price = sqlite3_column_double(s.get(), 4);
            r.weight = sqlite3_column_double(s.get(), 5);
            r.inDate = text(s.get(), 6);
            r.note = text(s.get(), 7);
            rows.push_back(std::move(r));
        }
        sink += rows.size();
    });
    const double oursOpen = editOnly ? 0 : qxbench::timeBest([&] {
        TADOQuery q;
        q.SetConnection(&conn);
        q.SQL().Add(QStringLiteral("select * from t"));
        q.Open();
        TField* f[8];
        for (int i = 0; i < 8; ++i)
            f[i] = q.Fields()->Fields(i);
        while (!q.Eof()) {
            sink += std::size_t(f[0]->AsInteger());
            sink += std::size_t(f[1]->AsString().size());
            sink += std::size_t(f[2]->AsString().size());
            sink += std::size_t(f[3]->AsInteger());
            sink += std::size_t(f[4]->AsCurrency().raw());
            sink += std::size_t(f[5]->AsFloat());
            sink += std::size_t(f[6]->AsDateTime().Val);
            sink += std::size_t(f[7]->AsString().size());
            q.Next();
        }
    });
    if (!editOnly)
        qxbench::report(QStringLiteral("sql.open_walk_1M_rows_8_cols_seconds"), oursOpen, peerOpen, 1.5);

    // ---- single-row changes -----------------------------------------------------------
    TADOQuery q;
    q.SetConnection(&conn);
    q.SQL().Add(QStringLiteral("select * from t where ID <= 100"));
    q.Open();
    conn.BeginTrans();
    const double oursEdit = qxbench::timeBest([&] {
        for (int i = 0; i < kEdits; ++i) {
            q.SetRecNo(1 + i % 100);
            q.Edit();
            q.Fields()->Fields(3)->SetAsInteger(i);
            q.Post();
        }
    });
    qx::SqliteStatement update(db, "UPDATE t SET Qty = ?1 WHERE ID = ?2");
    const double peerEdit = qxbench::timeBest([&] {
        for (int i = 0; i < kEdits; ++i) {
            sqlite3_bind_int(update.get(), 1, i);
            sqlite3_bind_int64(update.get(), 2, 1 + i % 100);
            qx::stepStatement(db, update.get());
            sqlite3_reset(update.get());
        }
    });
    conn.RollbackTrans();
    qxbench::report(QStringLiteral("sql.edit_post_200000_changes_seconds"), oursEdit, peerEdit, 2.0);
    std::fprintf(stderr, "(checksum %zu)\n", sink);
    return 0;
}
