// A write-back never changes a row it did not read: two connections on one file (two
// workstations), and a compaction (VACUUM) between the read and the Post.
#include "SqlTestSupport.h"

#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <functional>

namespace {

const QString kRowNotFound = QStringLiteral(
    "Row cannot be located for updating. Some values may have been changed since it was last read.");

class RowCheck : public SqlFixture
{
protected:
    void SetUp() override
    {
        SqlFixture::SetUp();
        conn->Execute(QStringLiteral(
            "CREATE TABLE tKeyed (ID INTEGER PRIMARY KEY, Code TEXT(10), Name TEXT(20), Price MONEY, Day DATETIME);"
            "CREATE TABLE tLog (Msg TEXT(30), Qty INTEGER, Price MONEY);"
            "CREATE TABLE tHead (BillNo TEXT(20) PRIMARY KEY, Customer TEXT(20), Amount MONEY);"
            "INSERT INTO tKeyed (Code, Name, Price, Day) VALUES ('A', '屏幕', 12.5, '2006-03-05'),"
            " ('B', '电池', 3, '2006-03-06 10:20:30'), ('C', '外壳', 7.25, NULL);"
            "INSERT INTO tLog VALUES ('A', 1, 1.5), ('B', 2, 2.5), ('C', 3, 3.5);"
            "INSERT INTO tHead VALUES ('WX1', '张三', 10), ('WX2', '李四', 20), ('WX3', '王五', 30)"));
        other = std::make_unique<TADOConnection>();
        other->setConnectionString(connectionString());
        other->Open();
        q = std::make_unique<TADOQuery>();
        q->SetConnection(conn.get());
    }
    void TearDown() override
    {
        q.reset();
        other.reset();
    }
    void open(const QString& sql)
    {
        q->Close();
        q->SQL().SetText(sql);
        q->Open();
    }
    // The message of the action's failure; empty when it went through.
    QString refusal(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return {};
    }
    QString rows(const QString& sql) { return scalar(QStringLiteral("SELECT group_concat(x, ',') FROM (%1)").arg(sql)).toString(); }

    std::unique_ptr<TADOConnection> other;
    std::unique_ptr<TADOQuery> q;
};

} // namespace

// The row another workstation changed: the Post that would overwrite its change is refused and
// writes nothing; a change of another column of a keyed row does not stand in the way.
TEST_F(RowCheck, AChangedColumnIsNotOverwritten)
{
    open(QStringLiteral("select * from tKeyed order by ID"));
    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("B")));
    other->Execute(QStringLiteral("UPDATE tKeyed SET Name = '新电池' WHERE Code = 'B'"));
    q->Edit();
    q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("我的电池"));
    EXPECT_EQ(refusal([&] { q->Post(); }), kRowNotFound);
    EXPECT_EQ(q->State(), dsEdit);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM tKeyed WHERE Code = 'B'"), other.get()).toString(),
              QStringLiteral("新电池"));
    q->Cancel();

    // Another column changed by the other workstation: both changes stand.
    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("C")));
    other->Execute(QStringLiteral("UPDATE tKeyed SET Name = '蓝色外壳' WHERE Code = 'C'"));
    q->Edit();
    q->FieldByName(QStringLiteral("Price"))->SetAsString(QStringLiteral("8"));
    q->Post();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name || '/' || Price FROM tKeyed WHERE Code = 'C'"), other.get()).toString(),
              QStringLiteral("蓝色外壳/8"));
}

TEST_F(RowCheck, ARowDeletedElsewhereIsNeitherChangedNorDeleted)
{
    open(QStringLiteral("select * from tKeyed order by ID"));
    other->Execute(QStringLiteral("DELETE FROM tKeyed WHERE Code IN ('A', 'B')"));
    q->Edit();
    q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x"));
    EXPECT_EQ(refusal([&] { q->Post(); }), kRowNotFound);
    q->Cancel();
    q->Next();
    EXPECT_EQ(refusal([&] { q->Delete(); }), kRowNotFound);
    EXPECT_EQ(q->RecordCount(), 3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM tKeyed")).toInt(), 1);
}

// A delete takes the row only as it was read: a row changed in any column stays.
TEST_F(RowCheck, ADeleteOfAChangedRowIsRefused)
{
    open(QStringLiteral("select ID, Code, Day from tKeyed order by ID"));
    other->Execute(QStringLiteral("UPDATE tKeyed SET Day = '2007-01-01' WHERE Code = 'A'"));
    EXPECT_EQ(refusal([&] { q->Delete(); }), kRowNotFound);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM tKeyed")).toInt(), 3);
    // A column the query did not read changes nothing.
    q->Next();
    other->Execute(QStringLiteral("UPDATE tKeyed SET Name = 'n' WHERE Code = 'B'"));
    q->Delete();
    EXPECT_EQ(rows(QStringLiteral("SELECT Code AS x FROM tKeyed ORDER BY ID")), QStringLiteral("A,C"));
}

// A table without a key of its own is checked on every column read: a change of any of them
// elsewhere refuses the Post.
TEST_F(RowCheck, ATableWithoutAKeyIsCheckedOnEveryColumnRead)
{
    open(QStringLiteral("select * from tLog order by rowid"));
    ASSERT_TRUE(q->Locate(QStringLiteral("Msg"), QStringLiteral("B")));
    other->Execute(QStringLiteral("UPDATE tLog SET Price = 9 WHERE Msg = 'B'"));
    q->Edit();
    q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(20);
    EXPECT_EQ(refusal([&] { q->Post(); }), kRowNotFound);
    EXPECT_EQ(rows(QStringLiteral("SELECT Msg || Qty || '/' || Price AS x FROM tLog ORDER BY rowid")),
              QStringLiteral("A1/1.5,B2/9,C3/3.5"));
}

// The compaction renumbers the rows of tables without an INTEGER PRIMARY KEY: the row read as
// "B" now has another's rowid. The Post and the Delete find that row changed and refuse.
TEST_F(RowCheck, ACompactionBetweenReadAndPostNeverChangesAnotherRow)
{
    for (const char* table : {"tLog", "tHead"}) {
        const bool log = QByteArray(table) == "tLog";
        const QString key = log ? QStringLiteral("Msg") : QStringLiteral("BillNo");
        const QString value = log ? QStringLiteral("B") : QStringLiteral("WX2");
        open(QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(table)));
        ASSERT_TRUE(q->Locate(key, value));
        other->Execute(QStringLiteral("DELETE FROM %1 WHERE rowid = 1").arg(QLatin1String(table)));
        other->Execute(QStringLiteral("VACUUM"));
        // SQLite's VACUUM keeps the rowids of a table with a key index; it may renumber them
        // all the same, as it does those of tLog: done here by hand.
        if (!log)
            other->Execute(QStringLiteral("UPDATE tHead SET rowid = rowid - 1"));
        // The rows did move: "B" now has rowid 1, and rowid 2 holds the row after it.
        ASSERT_EQ(scalar(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = 1").arg(key, QLatin1String(table))).toString(),
                  value);
        const QString before = rows(QStringLiteral("SELECT quote(%1) || quote(%2) AS x FROM %3 ORDER BY rowid")
                                        .arg(key, log ? QStringLiteral("Qty") : QStringLiteral("Customer"),
                                             QLatin1String(table)));
        q->Edit();
        q->Fields()->Fields(1)->SetAsString(QStringLiteral("9"));
        EXPECT_EQ(refusal([&] { q->Post(); }), kRowNotFound) << table;
        q->Cancel();
        EXPECT_EQ(refusal([&] { q->Delete(); }), kRowNotFound) << table;
        EXPECT_EQ(rows(QStringLiteral("SELECT quote(%1) || quote(%2) AS x FROM %3 ORDER BY rowid")
                           .arg(key, log ? QStringLiteral("Qty") : QStringLiteral("Customer"), QLatin1String(table))),
                  before)
            << table;
    }
}

// A keyed table's rows keep their key through a compaction: the Post goes through.
TEST_F(RowCheck, AKeyedRowIsFoundAgainAfterACompaction)
{
    open(QStringLiteral("select * from tKeyed order by ID"));
    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("B")));
    other->Execute(QStringLiteral("DELETE FROM tKeyed WHERE Code = 'A'"));
    other->Execute(QStringLiteral("VACUUM"));
    q->Edit();
    q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("新"));
    q->Post();
    EXPECT_EQ(rows(QStringLiteral("SELECT Code || Name AS x FROM tKeyed ORDER BY ID")), QStringLiteral("B新,C外壳"));
}

// Our own writes are never taken for someone else's: a row posted again and again, with values
// the file keeps in another form than typed (a moment with milliseconds, money with many places,
// empty text, an empty blob), and rows that hold odd values written by other programs.
TEST_F(RowCheck, OwnWritesAndOddStoredValuesNeverRefuseTheNextOne)
{
    conn->Execute(QStringLiteral(
        "CREATE TABLE tOdd (Code TEXT(10), Day DATETIME, Price MONEY, Qty INTEGER, Paid YESNO, Note MEMO, Pic BLOB,"
        " Rate DOUBLE);"
        "INSERT INTO tOdd VALUES ('odd', '2006-3-5', '12.5', 2.7, -1, '', X'', 1e300),"
        " ('text', 'not a date', 'abc', 'x', 'yes', 'a', 'text in a blob', 'n');"
        "INSERT INTO tOdd (Code) VALUES ('nulls')"));
    open(QStringLiteral("select * from tOdd"));
    for (q->First(); !q->Eof(); q->Next()) {
        const QString code = q->FieldByName(QStringLiteral("Code"))->AsString();
        for (int round = 0; round < 3; ++round) {
            q->Edit();
            q->FieldByName(QStringLiteral("Day"))
                ->SetAsDateTime(TDateTime(EncodeDate(2024, 2, 29).Val + EncodeTime(23, 59, 58, 765).Val));
            q->FieldByName(QStringLiteral("Price"))->SetAsCurrency(Currency::fromString(QStringLiteral("0.1234")));
            q->FieldByName(QStringLiteral("Note"))->SetAsString(round == 1 ? QString() : QStringLiteral(" 尾 "));
            ASSERT_EQ(refusal([&] { q->Post(); }), QString()) << code.toStdString() << " round " << round;
            q->Edit();
            q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(round);
            ASSERT_EQ(refusal([&] { q->Post(); }), QString()) << code.toStdString() << " round " << round;
        }
        // What the record shows is what the file holds.
        EXPECT_EQ(q->FieldByName(QStringLiteral("Day"))->AsDateTime().toQDateTime(),
                  QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)))
            << code.toStdString();
    }
    q->First();
    while (!q->Eof())
        ASSERT_EQ(refusal([&] { q->Delete(); }), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM tOdd")).toInt(), 0);

    // A row just appended is posted again without a refusal too: it holds what was read back.
    conn->Execute(QStringLiteral("CREATE TABLE tDefaults (Code TEXT(10), Note TEXT(10) DEFAULT '', Day DATETIME"
                                 " DEFAULT '2006-3-5', Price MONEY DEFAULT 1.23456)"));
    open(QStringLiteral("select * from tDefaults"));
    q->Append();
    q->FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("n"));
    q->Post();
    q->Edit();
    q->FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("m"));
    EXPECT_EQ(refusal([&] { q->Post(); }), QString());
    EXPECT_EQ(refusal([&] { q->Delete(); }), QString());
}
