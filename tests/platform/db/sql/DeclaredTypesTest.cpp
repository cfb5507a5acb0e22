// The shop's schema declares some columns with SQLite's affinity after the kind ("MEMO TEXT",
// "MONEY REAL"): the first word names the kind the dataset gives the field.
#include "SqlTestSupport.h"

#include "platform/db/sql/ADOQuery.h"

TEST_F(SqlFixture, KindIsTheFirstWordOfTheDeclaredType)
{
    conn->Execute(QStringLiteral(
        "CREATE TABLE tRepair (ID INTEGER PRIMARY KEY AUTOINCREMENT, Fault MEMO TEXT, Charge MONEY REAL,"
        " Brand TEXT COLLATE NOCASE, Rate DOUBLE PRECISION, Done YESNO DEFAULT 0);"
        "INSERT INTO tRepair (Fault, Charge, Brand, Rate) VALUES ('不开机', 12.5, 'Nokia', 0.5)"));
    TADOQuery q;
    q.SetConnection(conn.get());
    q.SQL().Add(QStringLiteral("select * from tRepair"));
    q.Open();
    const struct
    {
        const char* name;
        TFieldType type;
    } table[] = {{"Fault", ftMemo}, {"Charge", ftCurrency}, {"Brand", ftString}, {"Rate", ftFloat},
                 {"Done", ftBoolean}};
    for (const auto& e : table)
        EXPECT_EQ(q.FieldByName(QString::fromLatin1(e.name))->DataType(), e.type) << e.name;
    EXPECT_EQ(q.FieldByName(QStringLiteral("Fault"))->AsString(), QStringLiteral("不开机"));
    EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("Charge"))->AsFloat(), 12.5);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Brand"))->Size(), 255);
}
