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
        {"select a & '-' & b from t", "select a || '-' || b from t"},
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
