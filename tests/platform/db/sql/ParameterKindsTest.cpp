// Parameters take every kind of value the dataset layer hands out, the run-time library's money
// and dates among them, and bind them the way the columns store them.
#include "SqlTestSupport.h"

#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

TEST_F(SqlFixture, CurrencyAndDateTimeValuesBind)
{
    conn->Execute(QStringLiteral("CREATE TABLE t (Code TEXT(10), Price MONEY, Qty INTEGER, Day DATETIME, Note TEXT(30));"
                                 "INSERT INTO t VALUES ('A', 12.5, 3, '2006-03-05', '12.5'),"
                                 " ('B', 7.25, 4, '2006-03-06 10:20:30', '2006-03-06 10:20:30')"));
    const QVariant price = QVariant::fromValue(Currency::fromString(QStringLiteral("12.5")));
    const QVariant whole = QVariant::fromValue(Currency(3));
    const QVariant day = QVariant::fromValue(EncodeDate(2006, 3, 5));
    const QVariant stamp = QVariant::fromValue(TDateTime(EncodeDate(2006, 3, 6).Val + EncodeTime(10, 20, 30, 0).Val));
    struct Case
    {
        const char* name;
        const char* where;
        QVariant value;
        TFieldType type; // ftUnknown: the value gives it
        const char* found;
    };
    const Case cases[] = {
        {"money by its value", "Price = :p", price, ftUnknown, "A"},
        {"money as money", "Price = :p", price, ftCurrency, "A"},
        {"money as a float", "Price = :p", price, ftFloat, "A"},
        {"money as text", "Note = :p", price, ftString, "A"},
        {"whole money as an integer", "Qty = :p", whole, ftInteger, "A"},
        {"a day by its value", "Day = :p", day, ftUnknown, "A"},
        {"a day as a date", "Day = :p", day, ftDate, "A"},
        {"a moment by its value", "Day = :p", stamp, ftUnknown, "B"},
        {"a moment as a date-time", "Day = :p", stamp, ftDateTime, "B"},
        {"a moment as text", "Note = :p", stamp, ftString, "B"},
    };
    for (const Case& c : cases) {
        TADOQuery q;
        q.SetConnection(conn.get());
        q.SQL().SetText(QStringLiteral("select Code from t where %1").arg(QLatin1String(c.where)));
        if (c.type != ftUnknown)
            q.ParamByName(QStringLiteral("p"))->setDataType(c.type);
        q.ParamByName(QStringLiteral("p"))->setValue(c.value);
        ASSERT_NO_THROW(q.Open()) << c.name;
        ASSERT_EQ(q.RecordCount(), 1) << c.name;
        EXPECT_EQ(q.FieldByName(QStringLiteral("Code"))->AsString(), QString::fromLatin1(c.found)) << c.name;
    }

    // The same values through the connection's own statements, written and read back.
    conn->Execute(QStringLiteral("INSERT INTO t (Code, Price, Day) VALUES ('C', :price, :day)"),
                  {{QStringLiteral("price"), price}, {QStringLiteral("day"), stamp}});
    EXPECT_EQ(scalar(QStringLiteral("SELECT Price FROM t WHERE Code = 'C'")).toDouble(), 12.5);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Day FROM t WHERE Code = 'C'")).toString(),
              QStringLiteral("2006-03-06 10:20:30"));

    // An amount with a fraction is no integer: refused, not cut.
    TADOQuery q;
    q.SetConnection(conn.get());
    q.SQL().SetText(QStringLiteral("select Code from t where Qty = :p"));
    q.ParamByName(QStringLiteral("p"))->setDataType(ftInteger);
    q.ParamByName(QStringLiteral("p"))->setValue(price);
    EXPECT_THROW(q.Open(), EDatabaseError);
}
