#include "SqlTestSupport.h"

#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOQuery.h"

class SqlQuery : public SqlFixture
{
protected:
    void SetUp() override
    {
        SqlFixture::SetUp();
        conn->Execute(QStringLiteral(
            "CREATE TABLE tStock (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(10) COLLATE NOCASE NOT NULL UNIQUE,"
            " Name TEXT(20), Note MEMO, Qty INTEGER NOT NULL DEFAULT 0, Price MONEY, Weight DOUBLE, Rate DECIMAL,"
            " InDate DATETIME, Active YESNO DEFAULT 1, Photo BLOB);"
            "CREATE TABLE tLog (Msg TEXT(30), Day DATETIME);"
            "CREATE TABLE tHead (BillNo TEXT(20) PRIMARY KEY, Customer TEXT(20));"
            "CREATE TABLE tLine (BillNo TEXT(20), Part TEXT(20), Qty INTEGER);"
            "CREATE VIEW vStock AS SELECT Code, Name FROM tStock;"
            "INSERT INTO tStock (Code, Name, Qty, Price, InDate) VALUES"
            " ('A1', '屏幕', 3, 12.5, '2006-03-05'), ('B2', '电池', 10, 3, '2006-03-06 10:20:30');"
            "INSERT INTO tHead VALUES ('WX1', '张三'), ('WX2', '李四'), ('WX3', '王五');"
            "INSERT INTO tLine VALUES ('WX1', 'P1', 1), ('WX1', 'P2', 2), ('WX2', 'P3', 3)"));
        q = new TADOQuery(conn.get());
        q->SetConnection(conn.get());
    }
    void open(const QString& sql)
    {
        q->Close();
        q->SQL().Clear();
        q->SQL().Add(sql);
        q->Open();
    }
    TADOQuery* q = nullptr;
};

TEST_F(SqlQuery, FieldKindsFollowDeclaredTypes)
{
    open(QStringLiteral("select * from tStock"));
    struct Expect
    {
        const char* name;
        TFieldType type;
        int size;
    };
    const Expect table[] = {
        {"ID", ftAutoInc, 0},       {"Code", ftString, 10}, {"Name", ftString, 20},   {"Note", ftMemo, 0},
        {"Qty", ftInteger, 0},      {"Price", ftCurrency, 0}, {"Weight", ftFloat, 0}, {"Rate", ftBCD, 0},
        {"InDate", ftDateTime, 0},  {"Active", ftBoolean, 0}, {"Photo", ftBlob, 0},
    };
    ASSERT_EQ(q->FieldCount(), 11);
    for (const Expect& e : table) {
        TField* f = q->FieldByName(QString::fromLatin1(e.name));
        EXPECT_EQ(f->DataType(), e.type) << e.name;
        if (e.size) {
            EXPECT_EQ(f->Size(), e.size) << e.name;
        }
    }
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Code"))->Required());
    EXPECT_FALSE(q->FieldByName(QStringLiteral("Qty"))->Required()); // the database's default fills it
    EXPECT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("屏幕"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Price"))->AsCurrency(), Currency::fromString(QStringLiteral("12.5")));
    EXPECT_EQ(q->FieldByName(QStringLiteral("InDate"))->AsDateTime().toQDate(), QDate(2006, 3, 5));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Active"))->AsBoolean());
    q->Next();
    EXPECT_EQ(q->FieldByName(QStringLiteral("InDate"))->AsDateTime().toQDateTime(),
              QDateTime(QDate(2006, 3, 6), QTime(10, 20, 30)));
}

TEST_F(SqlQuery, ExpressionColumnsTakeTheirKindFromExpressionAndValues)
{
    open(QStringLiteral("select count(*) as n, sum(Price) as total, max(Name) as top, NULL as blank,"
                        " Code || '-' as tag from tStock"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("n"))->DataType(), ftInteger);
    EXPECT_EQ(q->FieldByName(QStringLiteral("total"))->DataType(), ftCurrency); // a sum of money
    EXPECT_EQ(q->FieldByName(QStringLiteral("top"))->DataType(), ftString);
    EXPECT_EQ(q->FieldByName(QStringLiteral("blank"))->DataType(), ftString);
    EXPECT_EQ(q->FieldByName(QStringLiteral("n"))->AsInteger(), 2);
    EXPECT_EQ(q->FieldByName(QStringLiteral("total"))->AsCurrency(), Currency::fromString(QStringLiteral("15.5")));
    // A first row of nulls does not decide the kind.
    conn->Execute(QStringLiteral("UPDATE tStock SET Note = 'n' WHERE Code = 'A1'"));
    open(QStringLiteral("select Note || 'x' as x, case when Code = 'A1' then 2 end as y from tStock order by Code desc"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("x"))->DataType(), ftString);
    EXPECT_EQ(q->FieldByName(QStringLiteral("y"))->DataType(), ftInteger);
    EXPECT_TRUE(q->FieldByName(QStringLiteral("y"))->IsNull());
    q->Next();
    EXPECT_EQ(q->FieldByName(QStringLiteral("y"))->AsInteger(), 2);
    EXPECT_EQ(q->FieldByName(QStringLiteral("x"))->AsString(), QStringLiteral("nx"));
}

// Every value of an expression column counts, not the first one: a first row of 0 does not
// make 7.25 read as 7. Money expressions stay money; integers widen when a fraction comes;
// numbers and text mixed read as text; a long text is never cut to the default width.
TEST_F(SqlQuery, ExpressionColumnsSeeAllTheirValues)
{
    conn->Execute(QStringLiteral("INSERT INTO tStock (Code, Qty, Price, Active) VALUES"
                                 " ('C3', 2, 7.25, 1), ('D4', 5, 2.5, 0), ('E5', 0, NULL, 1);"
                                 "UPDATE tStock SET Price = NULL WHERE Code = 'A1';"
                                 "UPDATE tStock SET Active = 0 WHERE Code = 'B2'"));
    struct Case
    {
        const char* expression;
        TFieldType type;
        QStringList texts; // the values as text, by Code
    };
    const Case cases[] = {
        {"Nz(Price, 0)", ftCurrency, {"0", "3", "7.25", "2.5", "0"}},
        {"IIf(Active, Price, 0)", ftCurrency, {"", "0", "7.25", "0", ""}},
        {"case when Qty > 2 then Qty else Qty * 1.5 end", ftBCD, {"3", "10", "3", "5", "0"}},
        {"case when Code = 'C3' then 'x' else Qty end", ftString, {"3", "10", "x", "5", "0"}},
        {"Qty * 2", ftInteger, {"6", "20", "4", "10", "0"}},
        {"Qty + 0.5", ftBCD, {"3.5", "10.5", "2.5", "5.5", "0.5"}},
    };
    for (const Case& c : cases) {
        open(QStringLiteral("select Code, %1 as V from tStock order by Code").arg(QLatin1String(c.expression)));
        TField* v = q->FieldByName(QStringLiteral("V"));
        EXPECT_EQ(v->DataType(), c.type) << c.expression;
        QStringList texts;
        for (q->First(); !q->Eof(); q->Next())
            texts << v->AsString();
        EXPECT_EQ(texts, c.texts) << c.expression;
    }
    const QString longText(400, u'长');
    conn->Execute(QStringLiteral("UPDATE tStock SET Note = :n WHERE Code = 'E5'"), {{QStringLiteral("n"), longText}});
    open(QStringLiteral("select Code, Note || '' as N from tStock order by Code"));
    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("E5")));
    EXPECT_EQ(q->FieldByName(QStringLiteral("N"))->AsString(), longText);
    EXPECT_GE(q->FieldByName(QStringLiteral("N"))->Size(), 400);
}

// A structure opened for its layout with no rows gets the fields it gets with rows: the kind
// comes from the expression itself.
TEST_F(SqlQuery, ExpressionColumnsWithoutRowsTakeTheKindOfTheirExpression)
{
    struct Case
    {
        const char* expression;
        TFieldType type;
    };
    const Case cases[] = {
        {"Price * 2", ftCurrency},
        {"Nz(Price, 0)", ftCurrency},
        {"IIf(Active, Price, 0)", ftCurrency},
        {"sum(Price)", ftCurrency},
        {"round(Price * Qty, 2)", ftCurrency},
        {"-Price", ftCurrency},
        {"0", ftInteger},
        {"Qty * 2", ftInteger},
        {"count(*)", ftInteger},
        {"Qty / 2", ftBCD},
        {"Weight + 1", ftBCD},
        {"1.5", ftBCD},
        {"Code || '-'", ftString},
        {"jet_left(Name, 2)", ftString},
        {"'x'", ftString},
        {"case when Qty > 1 then Price else 0 end", ftCurrency},
        {"cast(Qty as MONEY)", ftCurrency},
        {"Qty > 1", ftInteger},
        {"tStock.Price * 1", ftCurrency},
        {"[Price] * 3", ftCurrency},
        {":p", ftString},
    };
    for (const Case& c : cases) {
        // (An aggregate still gives its one row, of null or 0.)
        open(QStringLiteral("select %1 as V from tStock where 1 = 0").arg(QLatin1String(c.expression)));
        EXPECT_EQ(q->FieldByName(QStringLiteral("V"))->DataType(), c.type) << c.expression;
    }
    // Without an alias the column is found by its text.
    open(QStringLiteral("select Price*2, Qty from tStock where 1 = 0"));
    EXPECT_EQ(q->Fields()->Fields(0)->DataType(), ftCurrency);
}

TEST_F(SqlQuery, PostInsertsAssignedColumnsAndReadsTheRowBack)
{
    open(QStringLiteral("select * from tStock"));
    ASSERT_TRUE(q->CanWriteBack());
    q->Append();
    q->FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("C3"));
    q->FieldByName(QStringLiteral("Price"))->SetAsString(QStringLiteral("7.25"));
    q->FieldByName(QStringLiteral("InDate"))->SetAsDateTime(EncodeDate(2006, 3, 7));
    q->Post();
    // The autoincrement number and the defaults come back into the row.
    EXPECT_EQ(q->FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Qty"))->AsInteger(), 0);
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Active"))->AsBoolean());
    EXPECT_EQ(scalar(QStringLiteral("SELECT Price FROM tStock WHERE ID = 3")).toDouble(), 7.25);
    EXPECT_EQ(scalar(QStringLiteral("SELECT InDate FROM tStock WHERE ID = 3")).toString(), QStringLiteral("2006-03-07"));

    // An edit writes the changed columns only, found by the row's key.
    q->Edit();
    q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(5);
    q->FieldByName(QStringLiteral("Active"))->SetAsBoolean(false);
    q->Post();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Qty || '/' || Active FROM tStock WHERE Code = 'C3'")).toString(),
              QStringLiteral("5/0"));
    EXPECT_EQ(q->RowsAffected(), 1);

    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("A1")));
    q->Delete();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM tStock")).toInt(), 2);
    EXPECT_FALSE(scalar(QStringLiteral("SELECT ID FROM tStock WHERE Code = 'A1'")).isValid());
}

TEST_F(SqlQuery, TablesWithoutKeyAreWrittenByRowid)
{
    conn->Execute(QStringLiteral("INSERT INTO tLog VALUES ('same', '2006-03-05'), ('same', '2006-03-05')"));
    open(QStringLiteral("select Msg as Message, Day from tLog where Msg = :m"));
    EXPECT_EQ(q->RecordCount(), 0); // :m unset binds NULL
    q->Close();
    q->ParamByName(QStringLiteral("m"))->setValue(QStringLiteral("same"));
    q->Open();
    ASSERT_EQ(q->RecordCount(), 2);
    ASSERT_TRUE(q->CanWriteBack());
    q->Last();
    q->Edit();
    q->FieldByName(QStringLiteral("Message"))->SetAsString(QStringLiteral("changed"));
    q->Post();
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(Msg, ',') FROM (SELECT Msg FROM tLog ORDER BY rowid)")).toString(),
              QStringLiteral("same,changed"));
    q->First();
    q->Delete();
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(Msg, ',') FROM tLog")).toString(), QStringLiteral("changed"));
    q->Append();
    q->FieldByName(QStringLiteral("Message"))->SetAsString(QStringLiteral("new"));
    q->Post();
    q->Edit();
    q->FieldByName(QStringLiteral("Day"))->SetAsDateTime(EncodeDate(2007, 1, 2));
    q->Post();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Day FROM tLog WHERE Msg = 'new'")).toString(), QStringLiteral("2007-01-02"));
}

TEST_F(SqlQuery, JoinsAndViewsRefuseEdits)
{
    for (const char* sql : {"select h.BillNo, h.Customer, l.Part from tHead h join tLine l on l.BillNo = h.BillNo",
                            "select * from tHead, tLine", "select * from vStock",
                            "select BillNo, count(*) as n from tLine group by BillNo",
                            "select distinct Customer from tHead"}) {
        open(QString::fromLatin1(sql));
        EXPECT_FALSE(q->CanWriteBack()) << sql;
        EXPECT_FALSE(q->CanModify()) << sql;
        EXPECT_THROW(q->Edit(), EDatabaseError) << sql;
        EXPECT_THROW(q->Append(), EDatabaseError) << sql;
        EXPECT_EQ(q->State(), dsBrowse) << sql;
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM tLine")).toInt(), 3);
}

TEST_F(SqlQuery, ExpressionColumnsOfAnUpdatableResultAreReadOnly)
{
    open(QStringLiteral("select Code, Qty * 2 as Twice from tStock"));
    ASSERT_TRUE(q->CanWriteBack());
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Twice"))->ReadOnly());
    q->Edit();
    EXPECT_THROW(q->FieldByName(QStringLiteral("Twice"))->SetAsInteger(1), EDatabaseError);
    q->Cancel();
}

TEST_F(SqlQuery, RollbackLeavesNothingOfThePostedRows)
{
    open(QStringLiteral("select * from tHead"));
    conn->BeginTrans();
    q->Append();
    q->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("WX9"));
    q->Post();
    q->First();
    q->Edit();
    q->FieldByName(QStringLiteral("Customer"))->SetAsString(QStringLiteral("changed"));
    q->Post();
    q->Last();
    q->Delete();
    conn->RollbackTrans();
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(BillNo || Customer, ',') FROM tHead")).toString(),
              QStringLiteral("WX1张三,WX2李四,WX3王五"));
}

TEST_F(SqlQuery, DuplicateKeyOnPostKeepsTheRecordInInsertState)
{
    open(QStringLiteral("select * from tStock"));
    q->Append();
    q->FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("a1")); // NOCASE: same as A1
    try {
        q->Post();
        FAIL() << "a duplicate code was posted";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Key violation"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("'a1'"))) << e.Message().toStdString();
    }
    EXPECT_EQ(q->State(), dsInsert);
    q->Cancel();
    EXPECT_EQ(q->RecordCount(), 2);
}

TEST_F(SqlQuery, DetailFollowsItsMaster)
{
    TADOQuery master(conn.get());
    master.SetConnection(conn.get());
    master.SQL().Add(QStringLiteral("select * from tHead order by BillNo"));
    TDataSource source;
    source.SetDataSet(&master);
    q->SetDataSource(&source);
    q->SQL().Add(QStringLiteral("select * from tLine where BillNo = :BillNo order by Part"));
    master.Open();
    q->Open();
    EXPECT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Part"))->AsString(), QStringLiteral("P1"));
    master.Next();
    EXPECT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Part"))->AsString(), QStringLiteral("P3"));
    master.Next();
    EXPECT_EQ(q->RecordCount(), 0);
    master.First();
    EXPECT_EQ(q->RecordCount(), 2);
    // A new master record has no lines yet.
    master.Append();
    EXPECT_EQ(q->RecordCount(), 0);
    master.Cancel();
    EXPECT_EQ(q->RecordCount(), 2);
    // The detail's rows are written back like any other.
    q->Edit();
    q->FieldByName(QStringLiteral("Qty"))->SetAsInteger(9);
    master.Next(); // the pending edit is posted before the detail follows
    EXPECT_EQ(scalar(QStringLiteral("SELECT Qty FROM tLine WHERE Part = 'P1'")).toInt(), 9);
}

TEST_F(SqlQuery, SortKeepsTheCurrentRow)
{
    open(QStringLiteral("select * from tStock"));
    ASSERT_TRUE(q->Locate(QStringLiteral("Code"), QStringLiteral("B2")));
    q->SetSort(QStringLiteral("Qty DESC"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Code"))->AsString(), QStringLiteral("B2"));
    EXPECT_EQ(q->RecNo(), 1);
    q->SetSort(QStringLiteral("Name ASC, Qty DESC"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Code"))->AsString(), QStringLiteral("B2"));
}

TEST_F(SqlQuery, ExecSqlAndTheErrorsOfOpen)
{
    q->SQL().SetText(QStringLiteral("update tStock\nset Qty = Qty + :n"));
    q->ParamByName(QStringLiteral("n"))->setValue(1);
    EXPECT_EQ(q->ExecSQL(), 2);
    EXPECT_EQ(q->RowsAffected(), 2);
    EXPECT_THROW(q->Open(), EDatabaseError); // no result set
    EXPECT_EQ(scalar(QStringLiteral("SELECT sum(Qty) FROM tStock")).toInt(), 15); // and nothing ran twice
    open(QStringLiteral("select * from tStock"));
    conn->Close(); // the connection's datasets close with it
    EXPECT_FALSE(q->Active());
    TADOQuery lonely;
    lonely.SQL().Add(QStringLiteral("select 1"));
    EXPECT_THROW(lonely.Open(), EDatabaseError);
}

TEST_F(SqlQuery, DataSetAliasTakesCommandText)
{
    TADODataSet ds;
    ds.SetConnection(conn.get());
    ds.SetCommandText(QStringLiteral("select Code from tStock where Qty > :q"));
    ds.Parameters().ParamByName(QStringLiteral("q")).setValue(5);
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("Code"))->AsString(), QStringLiteral("B2"));
}
