#include "platform/db/sql/SqlParamParser.h"
#include "platform/db/sql/ADOParameters.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

struct ParamCase
{
    const char* sql;
    const char* expected;
    QStringList names;
};

TEST(SqlParamParser, Table)
{
    const ParamCase cases[] = {
        {"select * from t where a = :a", "select * from t where a = ?1", {"a"}},
        {"where a=:A and b=:b or c=:a", "where a=?1 and b=?2 or c=?1", {"A", "b"}},
        {"where 单号 = :单号", "where 单号 = ?1", {"单号"}},
        {"where x = ':no' and y = \":no\" and [a:b] = :yes", "where x = ':no' and y = \":no\" and [a:b] = ?1", {"yes"}},
        {"where t = '10:20' -- :c\n and d = :d", "where t = '10:20' -- :c\n and d = ?1", {"d"}},
        {"/* :c */ select :_p1", "/* :c */ select ?1", {"_p1"}},
        {"select 'a::b', x::y", "select 'a::b', x:y", {}},
        {"select 10:20, : a", "select 10:20, : a", {}},
        {"select 'it''s :x' || :y", "select 'it''s :x' || ?1", {"y"}},
    };
    for (const ParamCase& c : cases) {
        const qx::ParsedSql parsed = qx::parseSqlParameters(QString::fromUtf8(c.sql));
        EXPECT_EQ(parsed.sql, QString::fromUtf8(c.expected)) << c.sql;
        EXPECT_EQ(parsed.names, c.names) << c.sql;
    }
}

TEST(SqlParameters, BooleansBindAsZeroAndOne)
{
    TParameter p(QStringLiteral("Ok"));
    p.setValue(true);
    EXPECT_EQ(p.DataType(), ftBoolean);
    EXPECT_EQ(p.boundValue(), QVariant(1));
    p.setValue(QStringLiteral("是"));
    EXPECT_EQ(p.boundValue(), QVariant(1));
    p.setValue(-1); // Yes as files of the Jet engine store it
    EXPECT_EQ(p.boundValue(), QVariant(1));
    p.setValue(false);
    EXPECT_EQ(p.boundValue(), QVariant(0));
    p.Clear();
    EXPECT_FALSE(p.boundValue().isValid());
}

TEST(SqlParameters, TypedValuesConvertOrFailClearly)
{
    TParameter n(QStringLiteral("Qty"));
    n.setDataType(ftInteger);
    n.setValue(QStringLiteral("12"));
    EXPECT_EQ(n.boundValue().toLongLong(), 12);
    n.setValue(QStringLiteral("12 or 1=1"));
    EXPECT_THROW(n.boundValue(), EDatabaseError);

    TParameter d(QStringLiteral("Day"));
    d.setDataType(ftDate);
    d.setValue(QStringLiteral("2006-3-5"));
    EXPECT_EQ(d.boundValue().toDate(), QDate(2006, 3, 5));
    d.setValue(38781.0); // a TDateTime day number
    EXPECT_EQ(d.boundValue().toDate(), QDate(2006, 3, 5));
    d.setValue(QStringLiteral("yesterday"));
    EXPECT_THROW(d.boundValue(), EDatabaseError);
}
