#include "platform/db/sql/JetSqlRewriter.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(SqlJetRewriter, Table)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Select Top 1  * From t Where a=1", "Select * From t Where a=1 LIMIT 1"},
        {"select   top   10   a, b from t order by a desc", "select   a, b from t order by a desc LIMIT 10"},
        {"SELECT TOP 0 * FROM t;", "SELECT * FROM t LIMIT 0;"},
        {"select distinct top 5 a from t", "select distinct a from t LIMIT 5"},
        {"select * from t where id in (select top 3 id from u order by d) and x=1",
         "select * from t where id in (select id from u order by d LIMIT 3) and x=1"},
        {"select top 2 a from t union select b from u",
         "SELECT * FROM (select a from t LIMIT 2) union select b from u"},
        {"select a as top from t", "select a as top from t"},
        {"select * from t -- note\n", "select * from t -- note\n"},
        {"select top 1 * from t -- last\n", "select * from t LIMIT 1 -- last\n"},
        {"where d >= #2006-03-05# and d < #3/6/2006#", "where d >= '2006-03-05' and d < '2006-03-06'"},
        {"where d = #2006-3-5 10:20:30#", "where d = '2006-03-05 10:20:30'"},
        {"where d = #2006-03-05 00:00:00#", "where d = '2006-03-05'"},
        {"where a = '#2006-03-05#' and [#x#] = 1", "where a = '#2006-03-05#' and [#x#] = 1"},
        {"where a = #not a date#", "where a = #not a date#"},
        {"select a & '-' & b from t", "select jet_concat(jet_concat(a, '-'), b) from t"},
        {"select 'a & b', [x&y] from t", "select 'a & b', [x&y] from t"},
        {"select\u3000a\u3000from t where b = '\u3000'", "select a from t where b = '\u3000'"},
        {"select Left(a, 2), RIGHT (b,1) from t left join u on 1", "select jet_left(a, 2), jet_right (b,1) from t left join u on 1"},
        {"select [Left] from t", "select [Left] from t"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(qx::rewriteJetSql(QString::fromUtf8(in)).toStdString(), std::string(out)) << in;
}

TEST(SqlJetRewriter, TopPercentIsRefused)
{
    EXPECT_THROW(qx::rewriteJetSql(QStringLiteral("select top 10 percent * from t")), EDatabaseError);
}

// The operands of Jet's &, /, \ and Mod follow Jet's precedence; everything else stays as
// written, literals and comments included.
TEST(SqlJetRewriter, OperatorsBecomeCallsWithJetPrecedence)
{
    const std::pair<const char*, const char*> cases[] = {
        {"select 7/2", "select jet_div(7, 2)"},
        {"select a / b / c from t", "select jet_div(jet_div(a, b), c) from t"},
        {"select 7 \\ 2, 7 Mod 2", "select jet_intdiv(7, 2), jet_mod(7, 2)"},
        {"select 1 + 2 & 'x'", "select jet_concat(1 + 2, 'x')"},
        {"select a + b Mod c", "select a + jet_mod(b, c)"},
        {"select a Mod b \\ c", "select jet_mod(a, jet_intdiv(b, c))"},
        {"select a * b \\ c", "select jet_intdiv(a * b, c)"},
        {"select -7 \\ 2", "select jet_intdiv(-7, 2)"},
        {"select t.a/2, [t].[b] & 'x', t.* from t", "select jet_div(t.a, 2), jet_concat([t].[b], 'x'), t.* from t"},
        {"select (a + b) / 2 as avg from t", "select jet_div((a + b), 2) as avg from t"},
        {"select Sum(a / 2), count(*) from t", "select Sum(jet_div(a, 2)), count(*) from t"},
        {"select Left(a & b, 2) from t", "select jet_left(jet_concat(a, b), 2) from t"},
        {"where a & b = 'xy' and c / 2 > 1", "where jet_concat(a, b) = 'xy' and jet_div(c, 2) > 1"},
        {"where n like '%' & :p & '%'", "where n like jet_concat(jet_concat('%', :p), '%')"},
        {"select case when a > 0 then a & 'x' else '' end & '!' from t",
         "select jet_concat(case when a > 0 then jet_concat(a, 'x') else '' end, '!') from t"},
        {"select a || b * 2 from t", "select a || b * 2 from t"},
        {"select a - b from t -- a/b\n", "select a - b from t -- a/b\n"},
        {"select 'a/b' /* c\\d */ from t", "select 'a/b' /* c\\d */ from t"},
        {"select a & from t", "select a & from t"},
        {"select * from t where d = #2006-03-05# & ''", "select * from t where d = jet_concat('2006-03-05', '')"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(qx::rewriteJetSql(QString::fromUtf8(in)).toStdString(), std::string(out)) << in;
}

TEST(SqlJetRewriter, BracketsNestedBeyondReasonAreRefused)
{
    const QString deep = QStringLiteral("select ") + QString(500, u'(') + QStringLiteral("1")
                         + QString(500, u')');
    EXPECT_THROW(qx::rewriteJetSql(deep), EDatabaseError);
}
