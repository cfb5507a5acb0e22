// Jet's &, /, \ and Mod as users' statements run them on the database.
#include "SqlTestSupport.h"

#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/rtl/Exceptions.h"

class SqlJetOperators : public SqlFixture
{
protected:
    QString eval(const QString& expression)
    {
        return valueShape(scalar(qx::rewriteJetSql(QStringLiteral("SELECT ") + expression)));
    }
    QString error(const QString& expression)
    {
        try {
            eval(expression);
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    }
};

TEST_F(SqlJetOperators, Table)
{
    const std::pair<const char*, const char*> cases[] = {
        // & joins; a Null side is empty text, two Nulls stay Null.
        {"'a' & Null", "t:a"},
        {"Null & 'a'", "t:a"},
        {"Null & Null", "null"},
        {"'x' & 1.5 & 2", "t:x1.52"},
        {"1 + 2 & 'x'", "t:3x"},
        {"2 * 3 & 4 / 8", "t:60.5"},
        // / divides as floating point.
        {"7/2", "r:3.5"},
        {"6 / 2", "r:3"},
        {"'7' / 2", "r:3.5"},
        {"-1 / 4", "r:-0.25"},
        {"Null / 2", "null"},
        {"2 / Null", "null"},
        // \ rounds both sides (halves to even) and cuts the quotient toward zero.
        {"7 \\ 2", "i:3"},
        {"-7 \\ 2", "i:-3"},
        {"7 \\ -2", "i:-3"},
        {"-7 \\ -2", "i:3"},
        {"7.6 \\ 2", "i:4"},
        {"2.5 \\ 1", "i:2"},
        {"3.5 \\ 1", "i:4"},
        {"Null \\ 2", "null"},
        // Mod keeps the dividend's sign.
        {"7 Mod 2", "i:1"},
        {"-7 Mod 2", "i:-1"},
        {"7 Mod -2", "i:1"},
        {"-7 mod -2", "i:-1"},
        {"7.5 Mod 3", "i:2"},
        {"9223372036854775807 Mod -1", "i:0"},
        {"7 Mod Null", "null"},
        // Precedence: * and / before \, \ before Mod, Mod before + and -, all before &.
        {"2 + 3 * 4 \\ 5", "i:4"},
        {"10 Mod 4 \\ 3", "i:0"},
        {"7 \\ 2 * 2", "i:1"},
        {"1 + 7 Mod 4", "i:4"},
        {"(1 + 7) Mod 4", "i:0"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(eval(QString::fromUtf8(expression)), QString::fromUtf8(expected)) << expression;
}

TEST_F(SqlJetOperators, ZeroDivisorsAndNonNumbersAreErrors)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1 / 0", "Division by zero"},
        {"1 / 0.0", "Division by zero"},
        {"1 \\ 0", "Division by zero"},
        {"5 \\ 0.4", "Division by zero"}, // 0.4 rounds to 0
        {"1 Mod 0", "Division by zero"},
        {"'abc' / 2", "Data type mismatch in criteria expression"},
        {"7 Mod 'x'", "Data type mismatch in criteria expression"},
        {"1e300 / 1e-300", "Overflow"},
        {"1e30 \\ 1", "Overflow"},
    };
    for (const auto& [expression, message] : cases)
        EXPECT_TRUE(error(QString::fromUtf8(expression)).contains(QString::fromUtf8(message)))
            << expression << ": " << error(QString::fromUtf8(expression)).toStdString();
}

TEST_F(SqlJetOperators, ANullColumnJoinsAsEmptyText)
{
    conn->Execute(QStringLiteral("CREATE TABLE tU (Code TEXT(10), s TEXT(10), a TEXT(10))"));
    conn->Execute(QStringLiteral("INSERT INTO tU VALUES ('1', NULL, 'x'), ('2', 'p', NULL), ('3', NULL, NULL)"));
    const std::pair<const char*, const char*> rows[] = {{"1", "t:-x"}, {"2", "t:p-"}, {"3", "t:-"}};
    for (const auto& [code, expected] : rows) {
        const QString sql = qx::rewriteJetSql(
            QStringLiteral("Select s & '-' & a From tU Where Code = '%1'").arg(QLatin1String(code)));
        EXPECT_EQ(valueShape(scalar(sql)), QString::fromUtf8(expected)) << code;
    }
    // In a condition, too: the row with a Null s is found by its joined text.
    EXPECT_EQ(scalar(qx::rewriteJetSql(QStringLiteral("Select Code From tU Where s & a = 'x'"))).toString(),
              QStringLiteral("1"));
}

TEST_F(SqlJetOperators, DivisionOfIntegerColumnsIsExact)
{
    conn->Execute(QStringLiteral("CREATE TABLE q (Qty INTEGER, Parts INTEGER)"));
    conn->Execute(QStringLiteral("INSERT INTO q VALUES (7, 2), (9, 4)"));
    EXPECT_EQ(scalar(qx::rewriteJetSql(QStringLiteral("Select Sum(Qty / Parts) From q"))).toDouble(), 5.75);
    EXPECT_EQ(scalar(qx::rewriteJetSql(QStringLiteral("Select Sum(Qty \\ Parts) From q"))).toLongLong(), 5);
    EXPECT_EQ(scalar(qx::rewriteJetSql(QStringLiteral("Select Sum(Qty Mod Parts) From q"))).toLongLong(), 2);
}
