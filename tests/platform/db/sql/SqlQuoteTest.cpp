#include "platform/db/sql/SqlQuote.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(SqlQuote, StringsLikeAndNumbers)
{
    EXPECT_EQ(qx::quoteSqlString(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(qx::quoteSqlString(QString()), QStringLiteral("''"));
    EXPECT_EQ(qx::likeCondition(QStringLiteral("Name"), QStringLiteral("50%_a'b\\")),
              QStringLiteral("Name LIKE '%50\\%\\_a''b\\\\%' ESCAPE '\\'"));
    EXPECT_EQ(qx::likeCondition(QStringLiteral("Code"), QStringLiteral("WX"), qx::LikeMatch::StartsWith),
              QStringLiteral("Code LIKE 'WX%' ESCAPE '\\'"));
    EXPECT_EQ(qx::sqlNumber(QStringLiteral(" -12.50 ")), QStringLiteral("-12.50"));
    EXPECT_EQ(qx::sqlNumber(QStringLiteral("1e3")), QStringLiteral("1e3"));
    for (const char* bad : {"", "1;", "1 or 1=1", "abc", "0x10", "1,000"})
        EXPECT_THROW(qx::sqlNumber(QString::fromLatin1(bad)), EDatabaseError) << bad;
    EXPECT_EQ(qx::quoteSqlName(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
}
