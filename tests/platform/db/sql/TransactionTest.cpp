#include "SqlTestSupport.h"

#include <QElapsedTimer>

class SqlTransaction : public SqlFixture
{
protected:
    void SetUp() override
    {
        SqlFixture::SetUp();
        conn->Execute(QStringLiteral("CREATE TABLE t (Code TEXT(10) PRIMARY KEY, Qty INTEGER NOT NULL)"));
    }
    int rows() { return scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(); }
    void insert(const QString& code)
    {
        conn->Execute(QStringLiteral("INSERT INTO t VALUES (:c, 1)"), {{QStringLiteral("c"), code}});
    }
};

TEST_F(SqlTransaction, RollbackLeavesNothingBehind)
{
    EXPECT_FALSE(conn->InTransaction());
    EXPECT_EQ(conn->BeginTrans(), 1);
    EXPECT_TRUE(conn->InTransaction());
    insert(QStringLiteral("A"));
    insert(QStringLiteral("B"));
    conn->Execute(QStringLiteral("UPDATE t SET Qty = 9"));
    conn->RollbackTrans();
    EXPECT_FALSE(conn->InTransaction());
    EXPECT_EQ(rows(), 0);

    // Seen from a second connection after a commit, the rows are there.
    conn->BeginTrans();
    insert(QStringLiteral("A"));
    conn->CommitTrans();
    TADOConnection other;
    other.setConnectionString(connectionString());
    other.Open();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM t"), &other).toInt(), 1);
}

TEST_F(SqlTransaction, NestedBeginTransUsesSavepointsAndNeverCommitsTheOuterWork)
{
    conn->BeginTrans();
    insert(QStringLiteral("outer"));
    EXPECT_EQ(conn->BeginTrans(), 2);
    insert(QStringLiteral("inner"));
    conn->RollbackTrans(); // only the inner work goes
    EXPECT_TRUE(conn->InTransaction());
    EXPECT_EQ(rows(), 1);

    EXPECT_EQ(conn->BeginTrans(), 2);
    insert(QStringLiteral("inner2"));
    conn->CommitTrans(); // releases the savepoint; nothing is committed yet
    EXPECT_TRUE(conn->InTransaction());
    EXPECT_EQ(conn->TransactionLevel(), 1);

    // A second connection sees nothing of the open outer transaction.
    TADOConnection other;
    other.setConnectionString(connectionString());
    other.Open();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM t"), &other).toInt(), 0);

    conn->RollbackTrans(); // the outer rollback undoes everything, the released savepoint too
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(conn->InTransaction());
}

TEST_F(SqlTransaction, CommitOrRollbackWithoutTransactionIsAnError)
{
    EXPECT_THROW(conn->CommitTrans(), EDatabaseError);
    EXPECT_THROW(conn->RollbackTrans(), EDatabaseError);
}

TEST_F(SqlTransaction, CloseRollsBackAnOpenTransaction)
{
    conn->BeginTrans();
    insert(QStringLiteral("A"));
    conn->Close();
    conn->Open();
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(conn->InTransaction());
}

TEST_F(SqlTransaction, AWriteWaitsForAnotherWriterThenFailsClearly)
{
    TADOConnection other;
    other.setConnectionString(connectionString());
    other.Open();
    other.BeginTrans(); // holds the write lock
    other.Execute(QStringLiteral("INSERT INTO t VALUES ('held', 1)"));

    QElapsedTimer timer;
    timer.start();
    try {
        insert(QStringLiteral("A"));
        FAIL() << "wrote while another connection held the write lock";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("数据库正被其他用户或程序使用，等待 5 秒后仍无法访问，请稍后再试。"));
    }
    // It waited for the busy timeout before giving up.
    EXPECT_GE(timer.elapsed(), 4000);
    EXPECT_FALSE(conn->InTransaction());

    other.CommitTrans();
    insert(QStringLiteral("A"));
    EXPECT_EQ(rows(), 2);
}

TEST_F(SqlTransaction, DuplicateKeyReadsKeyViolationWithTheValue)
{
    insert(QStringLiteral("WX060305001"));
    try {
        insert(QStringLiteral("WX060305001"));
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Key violation: duplicate key")))
            << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("'WX060305001'"))) << e.Message().toStdString();
    }
    conn->Execute(QStringLiteral("CREATE TABLE k (a INTEGER, b TEXT, UNIQUE (a, b))"));
    conn->Execute(QStringLiteral("INSERT INTO k VALUES (1, 'x')"));
    conn->Execute(QStringLiteral("INSERT INTO k VALUES (2, 'x')"));
    try {
        conn->Execute(QStringLiteral("UPDATE k SET a = :a WHERE a = 2"), {{QStringLiteral("a"), 1}});
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Key violation"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("k.a = 1"))) << e.Message().toStdString();
    }
}

TEST_F(SqlTransaction, OtherErrorsReadAsTheTranslatorExpects)
{
    try {
        conn->Execute(QStringLiteral("INSERT INTO t (Code) VALUES ('A')"));
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Field 'Qty' must have a value"));
    }
    try {
        conn->Execute(QStringLiteral("SELECT nope FROM t"));
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("no such column: nope")); // SQLite's own text
    }
}

TEST_F(SqlTransaction, AnErrorInsideATransactionKeepsItOpen)
{
    conn->BeginTrans();
    insert(QStringLiteral("A"));
    EXPECT_THROW(insert(QStringLiteral("A")), EDatabaseError);
    EXPECT_TRUE(conn->InTransaction());
    EXPECT_EQ(rows(), 1);
    conn->RollbackTrans();
    EXPECT_EQ(rows(), 0);
}
