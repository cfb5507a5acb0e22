#include "SqlTestSupport.h"

#include "platform/db/sql/ADOCommand.h"
#include "platform/db/sql/SqliteError.h"

#include <sqlite3.h>

TEST_F(SqlFixture, ConnectionStringGivesTheFileAndSettings)
{
    EXPECT_TRUE(conn->Connected());
    EXPECT_EQ(conn->DatabaseFile(), file);
    EXPECT_TRUE(conn->DefaultDatabase().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA busy_timeout")).toInt(), 5000);
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA foreign_keys")).toInt(), 1);
    // The Jet functions are there on every open.
    conn->Close();
    conn->Open();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Nz(NULL, 7)")).toInt(), 7);
}

TEST(SqlConnection, ConnectionStringItems)
{
    const auto items = TADOConnection::ParseConnectionString(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source = \"/tmp/a;b.mdb\" ;"
                       "Jet OLEDB:Database Password=x;Mode=Share Exclusive"));
    EXPECT_EQ(items.value(QStringLiteral("PROVIDER")), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(items.value(QStringLiteral("DATA SOURCE")), QStringLiteral("/tmp/a;b.mdb"));
    EXPECT_EQ(items.value(QStringLiteral("JET OLEDB:DATABASE PASSWORD")), QStringLiteral("x"));
    EXPECT_EQ(items.value(QStringLiteral("MODE")), QStringLiteral("Share Exclusive"));
}

TEST(SqlConnection, MissingFileIsAnErrorAndNothingIsCreated)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.mdb"));
    TADOConnection c;
    c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + missing);
    try {
        c.Open();
        FAIL() << "opened a missing file";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("找不到数据库文件：") + missing);
    }
    EXPECT_FALSE(c.Connected());
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(SqlConnection, AFileThatIsNoDatabaseFailsAtOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("junk.mdb"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    TADOConnection c;
    c.setConnectionString(QStringLiteral("Data Source=") + path);
    try {
        c.Open();
        FAIL() << "opened a file that is no database";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("数据库文件已损坏，或不是数据库文件。"));
    }
    EXPECT_FALSE(c.Connected());
}

TEST_F(SqlFixture, ConnectionStringCannotChangeWhileOpen)
{
    EXPECT_THROW(conn->setConnectionString(QStringLiteral("Data Source=x")), EDatabaseError);
}

TEST_F(SqlFixture, TableNamesLeaveOutSystemTablesAndViews)
{
    conn->Execute(QStringLiteral("CREATE TABLE tStock (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT(20));"
                                 "CREATE TABLE aCustomer (Code TEXT(10));"
                                 "CREATE VIEW vStock AS SELECT * FROM tStock;"
                                 "INSERT INTO tStock (Name) VALUES ('x')"));
    QStringList names;
    conn->GetTableNames(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("aCustomer"), QStringLiteral("tStock")}));
    conn->GetTableNames(names, true);
    EXPECT_TRUE(names.contains(QStringLiteral("sqlite_sequence")));
    conn->GetViewNames(names);
    EXPECT_EQ(names, QStringList{QStringLiteral("vStock")});
    conn->GetFieldNames(QStringLiteral("tStock"), names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("ID"), QStringLiteral("Name")}));
}

TEST_F(SqlFixture, ExecuteBindsParametersAndCountsRows)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (Code TEXT(10), Name TEXT(20), Qty INTEGER, Ok YESNO)"));
    const QString insert = QStringLiteral("INSERT INTO t VALUES (:Code, :名称, :Qty, :Ok)");
    EXPECT_EQ(conn->Execute(insert, {{QStringLiteral("code"), QStringLiteral("A'1")},
                                     {QStringLiteral("名称"), QStringLiteral("屏幕; DROP TABLE t")},
                                     {QStringLiteral("Qty"), 3},
                                     {QStringLiteral("Ok"), true}}),
              1);
    EXPECT_EQ(conn->Execute(insert, {{QStringLiteral("Code"), QStringLiteral("B")}, {QStringLiteral("Ok"), false}}), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM t WHERE Code='A''1'")).toString(),
              QStringLiteral("屏幕; DROP TABLE t"));
    // Booleans are stored as 1 and 0, never -1.
    EXPECT_EQ(scalar(QStringLiteral("SELECT Ok FROM t WHERE Code='A''1'")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Ok FROM t WHERE Code='B'")).toInt(), 0);
    // A missing value binds NULL.
    EXPECT_FALSE(scalar(QStringLiteral("SELECT Name FROM t WHERE Code='B'")).isValid());
    EXPECT_EQ(conn->Execute(QStringLiteral("UPDATE t SET Qty = 5")), 2);
    // A statement that changes nothing reports 0, not the count of the statement before.
    EXPECT_EQ(conn->Execute(QStringLiteral("CREATE TABLE u (a)")), 0);
}

TEST_F(SqlFixture, CommandExecutesWithItsParameters)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (Code TEXT(10), Day DATETIME, Amount MONEY)"));
    TADOCommand cmd;
    cmd.setConnection(conn.get());
    cmd.setCommandText(QStringLiteral("INSERT INTO t VALUES (:Code, :Day, :Amount)"));
    ASSERT_EQ(cmd.Parameters().Count(), 3);
    cmd.Parameters().ParamByName(QStringLiteral("code")).setValue(QStringLiteral("WX1"));
    cmd.Parameters().ParamByName(QStringLiteral("Day")).setDataType(ftDate);
    cmd.Parameters().ParamByName(QStringLiteral("Day")).setValue(QDateTime(QDate(2006, 3, 5), QTime(0, 0)));
    cmd.Parameters().ParamByName(QStringLiteral("Amount")).setValue(12.5);
    EXPECT_EQ(cmd.Execute(), 1);
    EXPECT_EQ(cmd.RowsAffected(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Day FROM t")).toString(), QStringLiteral("2006-03-05"));
    EXPECT_THROW(cmd.Parameters().ParamByName(QStringLiteral("nope")), EDatabaseError);
    // New text keeps the values of the names that stay.
    cmd.setCommandText(QStringLiteral("DELETE FROM t WHERE Code = :CODE"));
    ASSERT_EQ(cmd.Parameters().Count(), 1);
    EXPECT_EQ(cmd.Parameters()[0].Value().toString(), QStringLiteral("WX1"));
    EXPECT_EQ(cmd.Execute(), 1);

    TADOCommand lonely;
    lonely.setCommandText(QStringLiteral("DELETE FROM t"));
    EXPECT_THROW(lonely.Execute(), EDatabaseError);
}

TEST_F(SqlFixture, ExclusiveModeKeepsOthersOut)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (a)"));
    conn->Close();
    TADOConnection maintenance;
    maintenance.setConnectionString(connectionString());
    maintenance.setMode(TADOConnection::cmShareExclusive);
    maintenance.Open();
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA locking_mode"), &maintenance).toString(), QStringLiteral("exclusive"));

    TADOConnection other;
    other.setConnectionString(connectionString());
    // The other program waits the busy timeout, then gives up with a clear message.
    try {
        other.Open();
        other.Execute(QStringLiteral("INSERT INTO t VALUES (1)"));
        FAIL() << "a second connection got in while the file was held exclusively";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("数据库正被其他用户或程序使用")))
            << e.Message().toStdString();
    }
    maintenance.Close();
    other.Close();
    other.Open();
    EXPECT_EQ(other.Execute(QStringLiteral("INSERT INTO t VALUES (1)")), 1);
}

// What keeps the shop from its database file reaches the operator in Chinese; errors of a
// statement keep SQLite's own words.
TEST(SqlConnection, FileTroublesAreToldInTheOperatorsLanguage)
{
    const std::pair<int, const char*> cases[] = {
        {SQLITE_BUSY, "数据库正被其他用户或程序使用，等待 5 秒后仍无法访问，请稍后再试。"},
        {SQLITE_LOCKED, "数据库正被其他用户或程序使用，等待 5 秒后仍无法访问，请稍后再试。"},
        {SQLITE_READONLY, "数据库是只读的，不能写入。"},
        {SQLITE_READONLY_DBMOVED, "数据库是只读的，不能写入。"},
        {SQLITE_PERM, "没有访问数据库文件的权限。"},
        {SQLITE_CANTOPEN, "无法打开数据库文件。"},
        {SQLITE_FULL, "磁盘已满，不能写入数据库。"},
        {SQLITE_NOTADB, "数据库文件已损坏，或不是数据库文件。"},
        {SQLITE_CORRUPT, "数据库文件已损坏，或不是数据库文件。"},
        {SQLITE_IOERR_WRITE, "读写数据库文件时出错。"},
    };
    for (const auto& [rc, expected] : cases)
        EXPECT_EQ(qx::sqliteErrorMessage(nullptr, rc), QString::fromUtf8(expected)) << rc;
    EXPECT_EQ(qx::sqliteErrorMessage(nullptr, SQLITE_MISMATCH), QString::fromUtf8(sqlite3_errstr(SQLITE_MISMATCH)));
}

TEST(SqlConnection, AConnectionStringWithoutAFileSaysSoInChinese)
{
    TADOConnection c;
    c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0"));
    try {
        c.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("连接字符串中没有数据库文件（Data Source）。"));
    }
}
