// One million rows of eight fields in the memory table against SQLite's in-memory database:
// appending them, sorting by a text field, locating a value of an unindexed text field that
// only the last row holds, and walking every row (through a 40-row data link window on our
// side, stepping a statement on SQLite's). Each side runs in its own child process so that
// its peak memory is its own.
#include "bench/support/BenchReport.h"
#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kRows = 1000000;

struct Result
{
    double append = 0, sort = 0, locate = 0, walk = 0;
    std::int64_t peak = 0; // bytes above the child's starting resident size
    long long checksum = 0; // keeps the work from being optimised away, and shows both sides agree
};

// The values of row i, the same on both sides.
unsigned mix(unsigned i)
{
    i ^= i >> 16;
    i *= 0x7feb352dU;
    i ^= i >> 15;
    i *= 0x846ca68bU;
    i ^= i >> 16;
    return i;
}
void nameOf(int i, char* buf) { std::snprintf(buf, 32, "Part %08u", mix(unsigned(i)) % 100000000u); }
void descOf(int i, char* buf) { std::snprintf(buf, 32, "Model %d", i); }
void memoOf(int i, char* buf) { std::snprintf(buf, 32, "note %d", i % 1000); }
qint64 priceOf(int i) { return qint64(mix(unsigned(i) + 7u) % 10000000u); } // ten-thousandths
int dayOf(int i) { return 43831 + i % 3000; }                               // from 2020-01-01
bool paidOf(int i) { return i % 3 == 0; }
double rateOf(int i) { return i * 0.37; }

double seconds(QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

Result runOurs()
{
    Result r;
    const std::int64_t base = qxbench::currentRss();
    qxbench::resetPeakRss();

    TQxMemTable t;
    TFieldDefs& d = *t.FieldDefs();
    d.Add("ID", ftInteger);
    d.Add("Name", ftString, 30);
    d.Add("Model", ftString, 30);
    d.Add("Price", ftCurrency);
    d.Add("Day", ftDate);
    d.Add("Paid", ftBoolean);
    d.Add("Rate", ftFloat);
    d.Add("Note", ftMemo);
    t.Open();
    TField* f[8];
    for (int c = 0; c < 8; ++c)
        f[c] = t.Fields()->Fields(c);

    char buf[32];
    QElapsedTimer timer;
    timer.start();
    t.DisableControls();
    for (int i = 0; i < kRows; ++i) {
        t.Append();
        f[0]->SetAsInteger(i);
        nameOf(i, buf);
        f[1]->SetAsString(QString::fromLatin1(buf));
        descOf(i, buf);
        f[2]->SetAsString(QString::fromLatin1(buf));
        f[3]->SetAsCurrency(Currency::fromRaw(priceOf(i)));
        f[4]->SetAsDateTime(TDateTime(dayOf(i)));
        f[5]->SetAsBoolean(paidOf(i));
        f[6]->SetAsFloat(rateOf(i));
        memoOf(i, buf);
        f[7]->SetAsString(QString::fromLatin1(buf));
        t.Post();
    }
    t.EnableControls();
    r.append = seconds(timer);

    descOf(kRows - 1, buf);
    timer.restart();
    const bool found = t.Locate("Model", QString::fromLatin1(buf));
    r.locate = seconds(timer);
    r.checksum += found ? f[0]->AsInteger() : -1;

    timer.restart();
    t.SetSort("Name");
    r.sort = seconds(timer);

    TDataSource source;
    source.SetDataSet(&t);
    TDataLink link;
    link.SetDataSource(&source);
    link.SetBufferCount(40);
    timer.restart();
    long long sum = 0;
    t.First();
    while (!t.Eof()) {
        sum += f[0]->AsInteger();
        sum += f[1]->AsString().size();
        sum += f[2]->AsString().size();
        sum += f[3]->AsCurrency().raw() & 1;
        sum += qint64(f[4]->AsDateTime().Val) & 1;
        sum += f[5]->AsBoolean();
        sum += qint64(f[6]->AsFloat()) & 1;
        sum += f[7]->AsString().size();
        t.Next();
    }
    r.walk = seconds(timer);
    r.checksum += sum;
    r.peak = qxbench::peakRss() - base;
    return r;
}

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(2);
    }
}

Result runSqlite()
{
    Result r;
    const std::int64_t base = qxbench::currentRss();
    qxbench::resetPeakRss();

    sqlite3* db = nullptr;
    check(sqlite3_open(":memory:", &db), db, "open");
    check(sqlite3_exec(db,
                       "CREATE TABLE t(ID INTEGER, Name TEXT(30) COLLATE NOCASE, Model TEXT(30) COLLATE NOCASE,"
                       " Price MONEY, Day DATETIME, Paid YESNO, Rate DOUBLE, Note MEMO)",
                       nullptr, nullptr, nullptr),
          db, "create");
    char buf[32];
    char day[16];
    QElapsedTimer timer;
    timer.start();
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* ins = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?,?,?,?,?,?,?,?)", -1, &ins, nullptr), db, "prepare");
    for (int i = 0; i < kRows; ++i) {
        sqlite3_bind_int(ins, 1, i);
        nameOf(i, buf);
        sqlite3_bind_text(ins, 2, buf, -1, SQLITE_TRANSIENT);
        descOf(i, buf);
        sqlite3_bind_text(ins, 3, buf, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(ins, 4, priceOf(i) / 10000.0);
        const QDate dd = QDate(1899, 12, 30).addDays(dayOf(i));
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", dd.year(), dd.month(), dd.day());
        sqlite3_bind_text(ins, 5, day, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(ins, 6, paidOf(i));
        sqlite3_bind_double(ins, 7, rateOf(i));
        memoOf(i, buf);
        sqlite3_bind_text(ins, 8, buf, -1, SQLITE_TRANSIENT);
        check(sqlite3_step(ins), db, "insert");
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    r.append = seconds(timer);

    descOf(kRows - 1, buf);
    timer.restart();
    sqlite3_stmt* sel = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM t WHERE Model = ?", -1, &sel, nullptr), db, "prepare");
    sqlite3_bind_text(sel, 1, buf, -1, SQLITE_TRANSIENT);
    while (sqlite3_step(sel) == SQLITE_ROW)
        r.checksum += sqlite3_column_int(sel, 0);
    sqlite3_finalize(sel);
    r.locate = seconds(timer);

    timer.restart();
    sqlite3_stmt* ord = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY Name", -1, &ord, nullptr), db, "prepare");
    int rc;
    while ((rc = sqlite3_step(ord)) == SQLITE_ROW) {
    }
    check(rc, db, "order");
    sqlite3_finalize(ord);
    r.sort = seconds(timer);

    timer.restart();
    long long sum = 0;
    sqlite3_stmt* all = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY Name", -1, &all, nullptr), db, "prepare");
    // The walk is measured on the stepping alone, not on the sort that opens the statement.
    rc = sqlite3_step(all);
    timer.restart();
    while (rc == SQLITE_ROW) {
        sum += sqlite3_column_int(all, 0);
        sum += sqlite3_column_bytes(all, 1) + (sqlite3_column_text(all, 1) ? 0 : 1);
        sum += sqlite3_column_bytes(all, 2) + (sqlite3_column_text(all, 2) ? 0 : 1);
        sum += qint64(sqlite3_column_double(all, 3) * 10000.0) & 1;
        sum += sqlite3_column_bytes(all, 4) + (sqlite3_column_text(all, 4) ? 0 : 1);
        sum += sqlite3_column_int(all, 5);
        sum += qint64(sqlite3_column_double(all, 6)) & 1;
        sum += sqlite3_column_bytes(all, 7) + (sqlite3_column_text(all, 7) ? 0 : 1);
        rc = sqlite3_step(all);
    }
    check(rc, db, "walk");
    sqlite3_finalize(all);
    r.walk = seconds(timer);
    r.checksum += sum;
    sqlite3_close(db);
    r.peak = qxbench::peakRss() - base;
    return r;
}

// Runs one side in a child process and reads its result back through a pipe.
Result inChild(Result (*side)())
{
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (pid == 0) {
        close(fds[0]);
        const Result r = side();
        const ssize_t n = write(fds[1], &r, sizeof r);
        _exit(n == ssize_t(sizeof r) ? 0 : 1);
    }
    close(fds[1]);
    Result r;
    const ssize_t n = read(fds[0], &r, sizeof r);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n != ssize_t(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "benchmark child failed\n");
        std::exit(2);
    }
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Result ours = inChild(runOurs);
    const Result peer = inChild(runSqlite);
    qxbench::report(QStringLiteral("db.append_1m_rows_s"), ours.append, peer.append, 1.0);
    qxbench::report(QStringLiteral("db.sort_by_text_s"), ours.sort, peer.sort, 1.0);
    qxbench::report(QStringLiteral("db.locate_unindexed_text_s"), ours.locate, peer.locate, 1.0);
    qxbench::report(QStringLiteral("db.walk_all_rows_s"), ours.walk, peer.walk, 1.0);
    qxbench::report(QStringLiteral("db.peak_memory_mb"), ours.peak / 1048576.0, peer.peak / 1048576.0, 1.0);
    return 0;
}
