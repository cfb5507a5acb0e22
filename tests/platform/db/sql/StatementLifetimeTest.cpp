#include "SqlTestSupport.h"

#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqliteStatement.h"

#include <sqlite3.h>

namespace {

int liveStatements(sqlite3* db)
{
    int n = 0;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
        ++n;
    return n;
}

} // namespace

// Every statement is finalized on every path, the failing ones included: a leaked statement
// would keep the file open and its locks held.
TEST_F(SqlFixture, NoStatementOutlivesItsWork)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (Code TEXT(10) PRIMARY KEY, Qty INTEGER NOT NULL)"));
    conn->Execute(QStringLiteral("INSERT INTO t VALUES ('A', 1)"));
    EXPECT_THROW(conn->Execute(QStringLiteral("INSERT INTO t VALUES ('A', 1)")), EDatabaseError);
    EXPECT_THROW(conn->Execute(QStringLiteral("INSERT INTO t VALUES ('B', 1); SELEKT")), EDatabaseError);
    EXPECT_THROW(conn->Execute(QStringLiteral("INSERT INTO t VALUES (:c, :q)"),
                               {{QStringLiteral("c"), QStringLiteral("C")}}),
                 EDatabaseError);
    EXPECT_EQ(liveStatements(conn->handle()), 0);

    {
        TADOQuery q;
        q.SetConnection(conn.get());
        q.SQL().Add(QStringLiteral("select * from nowhere"));
        EXPECT_THROW(q.Open(), EDatabaseError);
        q.SQL().SetText(QStringLiteral("select * from t"));
        q.Open();
        q.Edit();
        q.FieldByName(QStringLiteral("Qty"))->SetAsInteger(2);
        q.Post();
        q.Append();
        q.FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("A"));
        q.FieldByName(QStringLiteral("Qty"))->SetAsInteger(1);
        EXPECT_THROW(q.Post(), EDatabaseError);
        q.Cancel();
        q.Close();
    }
    // What is left are the connection's kept write statements, which Close finalizes.
    conn->Close();
    conn->Open();
    EXPECT_EQ(liveStatements(conn->handle()), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Qty FROM t")).toInt(), 2);
}

// The cache lends its statements: a full cache lets go of idle ones only, a statement asked
// for again while on lease comes as a fresh one, and a lease that outlives the connection's
// Close still holds a working statement, finalized when the lease ends.
TEST_F(SqlFixture, TheStatementCacheNeverFinalizesAStatementOnLease)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (n INTEGER); INSERT INTO t VALUES (1), (2), (3)"));
    sqlite3* db = conn->handle();
    const QString held = QStringLiteral("SELECT n FROM t ORDER BY n");
    qx::CachedStatement lease = conn->cachedStatement(held);
    ASSERT_TRUE(qx::stepStatement(db, lease.get()));
    EXPECT_EQ(sqlite3_column_int(lease.get(), 0), 1);
    for (int i = 0; i < 450; ++i)
        conn->cachedStatement(QStringLiteral("SELECT %1").arg(i));
    EXPECT_LE(conn->cachedStatementCount(), 201);
    // The held statement is where it was, in the middle of its rows.
    ASSERT_TRUE(qx::stepStatement(db, lease.get()));
    EXPECT_EQ(sqlite3_column_int(lease.get(), 0), 2);

    {
        const qx::CachedStatement again = conn->cachedStatement(held);
        EXPECT_NE(again.get(), lease.get());
        ASSERT_TRUE(qx::stepStatement(db, again.get()));
        EXPECT_EQ(sqlite3_column_int(again.get(), 0), 1);
    }
    ASSERT_TRUE(qx::stepStatement(db, lease.get()));
    EXPECT_EQ(sqlite3_column_int(lease.get(), 0), 3);

    // Given back, the statement is reset and lent again as it is.
    sqlite3_stmt* first = lease.get();
    lease = qx::CachedStatement();
    lease = conn->cachedStatement(held);
    EXPECT_EQ(lease.get(), first);
    ASSERT_TRUE(qx::stepStatement(db, lease.get()));
    EXPECT_EQ(sqlite3_column_int(lease.get(), 0), 1);

    conn->Close();
    EXPECT_EQ(sqlite3_column_int(lease.get(), 0), 1);
    lease = qx::CachedStatement();
    conn->Open();
    EXPECT_EQ(liveStatements(conn->handle()), 0);
}
