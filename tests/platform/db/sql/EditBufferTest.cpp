// Edit reads the row's cells when they are first asked for: what a form reads, validates,
// changes and posts must be the row's values all the same.
#include "SqlTestSupport.h"

#include "platform/db/Fields.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

TEST_F(SqlFixture, EditSeesTheRowAndPostsOnlyWhatChanged)
{
    conn->Execute(QStringLiteral(
        "CREATE TABLE tPart (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(10) NOT NULL, Name TEXT(20),"
        " Qty INTEGER, Price MONEY);"
        "INSERT INTO tPart (Code, Name, Qty, Price) VALUES ('A1', '屏幕', 3, 12.5), ('B2', '电池', 10, 3)"));
    TADOQuery q;
    q.SetConnection(conn.get());
    q.SQL().Add(QStringLiteral("select * from tPart order by ID"));
    q.Open();
    TField* qty = q.FieldByName(QStringLiteral("Qty"));
    TField* name = q.FieldByName(QStringLiteral("Name"));
    q.FieldByName(QStringLiteral("Code"))->SetRequired(true);

    // A refused value puts back the row's own value, read for the first time by the check.
    qty->OnValidate = [](TField* f) {
        if (f->AsInteger() < 0)
            throw EDatabaseError(QStringLiteral("负数"));
    };
    q.Edit();
    EXPECT_THROW(qty->SetAsInteger(-1), EDatabaseError);
    EXPECT_EQ(qty->AsInteger(), 3);
    EXPECT_EQ(name->AsString(), QStringLiteral("屏幕"));
    q.Cancel();

    q.Next();
    q.Edit();
    qty->SetAsInteger(7);
    q.Post(); // the required Code is read from the row and found
    EXPECT_EQ(scalar(QStringLiteral("select Qty || '/' || Name || '/' || Price from tPart where Code = 'B2'")).toString(),
              QStringLiteral("7/电池/3"));
    EXPECT_EQ(name->AsString(), QStringLiteral("电池"));

    // The next edit of another row does not see the last one's cells.
    q.First();
    q.Edit();
    EXPECT_EQ(qty->AsInteger(), 3);
    EXPECT_EQ(name->AsString(), QStringLiteral("屏幕"));
    q.Cancel();
}
