#include "SqlTestSupport.h"

#include "platform/db/sql/ADOQuery.h"

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
