#include "SqlTestSupport.h"
#include "tests/support/Scoped.h"

#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/rtl/Clock.h"

class SqlJetFunctions : public SqlFixture
{
protected:
    void TearDown() override { qx::clearToday(); }
    QString eval(const QString& expression)
    {
        return valueShape(scalar(qx::rewriteJetSql(QStringLiteral("SELECT ") + expression)));
    }
};

TEST_F(SqlJetFunctions, Table)
{
    const qx::test::ScopedToday today(
        TDateTime::fromQDateTime(QDateTime(QDate(2006, 3, 5), QTime(10, 20, 30))));
    const std::pair<const char*, const char*> cases[] = {
        {"CVDate('2006-03-05')", "t:2006-03-05"},
        {"CVDate('2006-3-5 8:05')", "t:2006-03-05 08:05:00"},
        {"CVDate('3/5/2006')", "t:2006-03-05"},
        {"CVDate(38781)", "t:2006-03-05"},
        {"CVDate(NULL)", "null"},
        {"Format('2006-03-05', 'yyyy-mm-dd')", "t:2006-03-05"},
        {"Format('2006-03-05 08:05:09', 'yyyy\"年\"m\"月\"d\"日\" hh:nn')", "t:2006年3月5日 08:05"},
        {"Format(1234.5, '#,##0.00')", "t:1,234.50"},
        {"Format(3, '0.00')", "t:3.00"},
        {"Format('12.5', '0.00')", "t:12.50"},
        {"Format(NULL, '0.00')", "null"},
        {"Format('abc', '0.00')", "t:abc"},
        {"DateDiff('d', '2006-03-01', '2006-03-05')", "i:4"},
        {"DateDiff('d', '2006-03-05 23:00:00', '2006-03-06 01:00:00')", "i:1"},
        {"DateDiff('yyyy', '2005-12-31', '2006-01-01')", "i:1"},
        {"DateDiff('m', '2006-01-31', '2006-03-01')", "i:2"},
        {"DateDiff('q', '2006-03-31', '2006-04-01')", "i:1"},
        {"DateDiff('y', '2006-03-05', '2006-03-01')", "i:-4"},
        {"DateDiff('w', '2006-03-01', '2006-03-14')", "i:1"},
        {"DateDiff('ww', '2006-03-04', '2006-03-05')", "i:1"},  // Saturday to Sunday
        {"DateDiff('h', '2006-03-05 10:59:00', '2006-03-05 11:00:00')", "i:1"},
        {"DateDiff('n', '2006-03-05 10:00:00', '2006-03-05 11:30:00')", "i:90"},
        {"DateDiff('s', '2006-03-05', '2006-03-05 00:01:00')", "i:60"},
        {"DateDiff('d', NULL, '2006-03-05')", "null"},
        {"DateAdd('m', 1, '2006-01-31')", "t:2006-02-28"},
        {"DateAdd('d', -5, '2006-03-05')", "t:2006-02-28"},
        {"DateAdd('yyyy', 1, '2004-02-29')", "t:2005-02-28"},
        {"DateAdd('h', 2, '2006-03-05 23:00:00')", "t:2006-03-06 01:00:00"},
        {"DateAdd('ww', 1, '2006-03-05')", "t:2006-03-12"},
        {"DateAdd('q', 1, NULL)", "null"},
        {"Val('12abc')", "r:12"},
        {"Val(' 1 2.5e1x')", "r:125"},
        {"Val('abc')", "r:0"},
        {"Val('&H1F')", "r:31"},
        {"Val(NULL)", "null"},
        {"Nz(NULL, 0)", "i:0"},
        {"Nz(NULL)", "t:"},
        {"Nz('a', 0)", "t:a"},
        {"IIf(1 > 2, 'yes', 'no')", "t:no"},
        {"IIf(NULL, 'yes', 'no')", "t:no"},
        {"IIf('2', 1, 2)", "i:1"},
        {"Left('屏幕总成', 2)", "t:屏幕"},
        {"Right('abcdef', 3)", "t:def"},
        {"Left(NULL, 2)", "null"},
        {"Mid('abcdef', 2, 3)", "t:bcd"},
        {"Mid('abcdef', 4)", "t:def"},
        {"Len('屏幕ab')", "i:4"},
        {"Len(NULL)", "null"},
        {"InStr('abcABC', 'C')", "i:3"},
        {"InStr(4, 'abcABC', 'C')", "i:6"},
        {"InStr(1, 'abcABC', 'C', 0)", "i:6"},
        {"InStr('abc', 'x')", "i:0"},
        {"InStr(NULL, 'x')", "null"},
        {"UCase('ab中')", "t:AB中"},
        {"LCase('AB')", "t:ab"},
        {"UCase(NULL)", "null"},
        {"Year('2006-03-05')", "i:2006"},
        {"Month('2006-03-05 10:00:00')", "i:3"},
        {"Day('3/5/2006')", "i:5"},
        {"Year(NULL)", "null"},
        {"Now()", "t:2006-03-05 10:20:30"},
        {"Date()", "t:2006-03-05"},
        {"date('2006-03-05', '+1 day')", "t:2006-03-06"}, // SQLite's own date() stays
        {"Trim('  a b  ')", "t:a b"},
        {"Int(2.7)", "r:2"},
        {"Int(-2.5)", "r:-3"},
        {"Int(7)", "i:7"},
        {"Int(NULL)", "null"},
        {"CStr(12)", "t:12"},
        {"CStr(1.5)", "t:1.5"},
        {"CInt(2.5)", "i:2"},
        {"CInt(3.5)", "i:4"},
        {"CInt('12')", "i:12"},
        {"CDbl('1.25')", "r:1.25"},
        {"CDbl(NULL)", "null"},
        {"'a' & 'b'", "t:ab"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(eval(QString::fromUtf8(expression)), QString::fromUtf8(expected)) << expression;
}

TEST_F(SqlJetFunctions, BadArgumentsAreErrorsNotGuesses)
{
    for (const char* expression : {"CVDate('someday')", "CInt(40000)", "CDbl('x')", "DateAdd('x', 1, '2006-01-01')",
                                   "Left('abc', -1)", "Mid('abc', 0)"}) {
        EXPECT_THROW(eval(QString::fromLatin1(expression)), EDatabaseError) << expression;
    }
}

TEST_F(SqlJetFunctions, FunctionsWorkInUserQueries)
{
    conn->Execute(QStringLiteral("CREATE TABLE bill (BillNo TEXT(20), BillDate DATETIME, Amount MONEY)"));
    conn->Execute(QStringLiteral("INSERT INTO bill VALUES ('WX060301001', '2006-03-01', 10),"
                                 "('WX060305001', '2006-03-05 09:30:00', 20), ('XS060306001', '2006-03-06', 30)"));
    const QString sql = qx::rewriteJetSql(QStringLiteral(
        "Select Top 1 Sum(Amount) From bill Where Left(BillNo, 2) = 'WX' And BillDate >= #2006-03-01# "
        "And Year(BillDate) = 2006"));
    EXPECT_EQ(scalar(sql).toDouble(), 30.0);
    // A typed LIKE value with wildcards matches only itself.
    conn->Execute(QStringLiteral("INSERT INTO bill VALUES ('50%_OFF', '2006-03-07', 1), ('50XYOFF', '2006-03-07', 1)"));
    const QString like = QStringLiteral("SELECT count(*) FROM bill WHERE ")
                         + qx::likeCondition(QStringLiteral("BillNo"), QStringLiteral("50%_"));
    EXPECT_EQ(scalar(like).toInt(), 1);
}
