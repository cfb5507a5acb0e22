// The formula parser of calculated report columns: its grammar, its error texts, DIV and MOD,
// the random numbers of RND, the limits that keep damaged formulas harmless, and the number
// text with which values go into formulas.
#include "control/uQxParser.h"

#include <QLocale>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace {

double evaluate(const QString& formula)
{
    TQxParser parser;
    parser.SetExpression(formula);
    return parser.Value();
}

// The message of the error that assigning and evaluating the formula raises; empty when none.
QString errorOf(const QString& formula)
{
    TQxParser parser;
    try {
        parser.SetExpression(formula);
        parser.Value();
    } catch (const EParserError& e) {
        return e.Message();
    }
    return {};
}

QString repeat(const QString& piece, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

constexpr double pi = std::numbers::pi;

} // namespace

TEST(Parser, Grammar)
{
    const struct
    {
        const char* formula;
        double value;
    } cases[] = {
        // operators, precedence and associativity
        {"1+2", 3}, {"7-10", -3}, {"2*3", 6}, {"7/2", 3.5}, {"2^10", 1024},
        {"2+3*4", 14}, {"(2+3)*4", 20}, {"1-2-3", -4}, {"8/4/2", 1}, {"2*3^2", 18},
        {"2^3^2", 512}, {"-2^2", -4}, {"(-2)^2", 4}, {"2^-1", 0.5}, {"2^-3^2", 1.0 / 512},
        {"-2*3", -6}, {"2*-3", -6}, {"2--3", 5}, {"--3", 3}, {"-(2+3)", -5},
        {"2*-(1+2)", -6}, {"10/-4", -2.5}, {"((((7))))", 7},
        // DIV and MOD between operands, without blanks, in any case
        {"7DIV2", 3}, {"7MOD3", 1}, {"7div2", 3}, {"7Mod3", 1}, {"100DIV7MOD3", 2},
        {"1+7DIV2*2", 7}, {"PIDIV2", 1}, {"10MODPI", 1}, {"(9)DIV(2)", 4}, {"9MODABS(-4)", 1},
        // numbers
        {"1.5", 1.5}, {"0012", 12}, {"1E3", 1000}, {"1e-3", 0.001}, {"2.5E+2", 250},
        {"1E-400", 0}, {"1.25e1DIV2", 6},
        // names in any case
        {"PI", pi}, {"pi", pi}, {"Pi*2", 2 * pi}, {"sin(0)", 0}, {"Sqrt(9)", 3},
        {"max(1,2)", 2},
        // functions
        {"SIN(PI/2)", 1}, {"COS(0)", 1}, {"TAN(PI/4)", 1}, {"SINH(1)", std::sinh(1.0)},
        {"COSH(0)", 1}, {"ARCTAN(1)", pi / 4}, {"EXP(1)", std::numbers::e}, {"LN(EXP(2))", 2},
        {"SQRT(16)", 4}, {"ABS(-3)", 3}, {"ABS(-SQRT(4))", 2},
        {"HEAV(0)", 1}, {"HEAV(2)", 1}, {"HEAV(-0.5)", 0},
        {"SIGN(-7)", -1}, {"SIGN(0)", 0}, {"SIGN(0.001)", 1},
        {"ZERO(0)", 1}, {"ZERO(0.1)", 0}, {"ZERO(1-1)", 1},
        {"PH(PI)", pi}, {"PH(-PI)", pi}, {"PH(PI/2)", pi / 2}, {"PH(7)", 7 - 2 * pi},
        {"PH(-7)", 2 * pi - 7}, {"PH(-3*PI/2)", pi / 2}, {"PH(2*PI+1)", 1},
        {"MAX(2,3)", 3}, {"MIN(2,-3)", -3}, {"MAX(1,MIN(5,4))", 4}, {"MAX(-1-1,-3)", -2},
        {"-MAX(1,2)^2", -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const double got = evaluate(QString::fromLatin1(c.formula));
        EXPECT_NEAR(got, c.value, 1e-12 * std::max(1.0, std::fabs(c.value)));
    }
}

TEST(Parser, ErrorsSayWhatWasFoundAndWhere)
{
    const QString operand = QStringLiteral(", expected a number, PI, a function or '('");
    const QString prefix = QStringLiteral("Error parsing expression: found ");
    const struct
    {
        QString formula;
        QString message;
    } cases[] = {
        {"1 +2", "Expression has blanks"},
        {"1+\t2", "Expression has blanks"},
        {"1+2\n", "Expression has blanks"},
        {"(1+2", "Missing brackets in expression"},
        {"1+2)", "Missing brackets in expression"},
        {")(", "Missing brackets in expression"},
        {repeat("(", 33) + "1" + repeat(")", 33), "Expression contains too many nestings"},
        {repeat("ABS(", 33) + "1" + repeat(")", 33), "Expression contains too many nestings"},
        {"1" + repeat("+1", 512), "Expression is too complex"},
        {"", prefix + "the end at character 1" + operand},
        {"1+", prefix + "the end at character 3" + operand},
        {"3DIV", prefix + "the end at character 5" + operand},
        {"(*2)", prefix + "'*' at character 2" + operand},
        {"+1", prefix + "'+' at character 1" + operand},
        {"2*FOO(1)", prefix + "'FOO' at character 3" + operand},
        {"SIN1", prefix + "'1' at character 4, expected '(' after SIN"},
        {"MAX(1)", prefix + "')' at character 6, expected an operator or ','"},
        {"SIN(1,2)", prefix + "',' at character 6, expected an operator or ')'"},
        {"2PI", prefix + "'PI' at character 2, expected an operator"},
        {"1,2", prefix + "',' at character 2, expected an operator"},
        {"(1)(2)", prefix + "'(' at character 4, expected an operator"},
        {"1#2", prefix + "'#' at character 2"},
        {QString::fromUtf8("1+二"), prefix + QString::fromUtf8("'二' at character 3")},
        {".5", prefix + "'.' at character 1"},
        {"1.5.2", prefix + "'.' at character 4"},
        {"2*1.", prefix + "'1.' at character 3, expected digits after '.'"},
        {"1e999", prefix + "'1e999' at character 1, expected a number within the range of numbers"},
        {repeat("9", 400), prefix + "'" + repeat("9", 24) + "...' at character 1, expected a number "
                                                             "within the range of numbers"},
        // evaluations without a finite result
        {"1/0", prefix + "a division by zero at character 2"},
        {"1+2/(1-1)", prefix + "a division by zero at character 4"},
        {"5DIV0", prefix + "a division by zero at character 2"},
        {"5MOD0.9", prefix + "a division by zero at character 2"},
        {"1E19DIV2", prefix + "an operand beyond the 64-bit integers at character 5"},
        {"LN(0)", prefix + "no finite value of LN at character 1"},
        {"2*ln(-1)", prefix + "no finite value of LN at character 3"},
        {"SQRT(-1)", prefix + "no finite value of SQRT at character 1"},
        {"EXP(1000)", prefix + "no finite value of EXP at character 1"},
        {"10^400", prefix + "no finite value of '^' at character 3"},
        {"(-8)^(1/3)", prefix + "no finite value of '^' at character 5"},
        {"1E300*1E300", prefix + "no finite value of '*' at character 6"},
        {"-1E308-1E308", prefix + "no finite value of '-' at character 7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula.left(40).toStdString());
        EXPECT_EQ(errorOf(c.formula), c.message);
    }
}

TEST(Parser, DivAndModTruncateTowardZero)
{
    const struct
    {
        const char* formula;
        double value;
    } cases[] = {
        {"7DIV2", 3},          {"-7DIV2", -3},        {"7DIV-2", -3},        {"-7DIV-2", 3},
        {"7MOD3", 1},          {"-7MOD3", -1},        {"7MOD-3", 1},         {"-7MOD-3", -1},
        {"7.9DIV2.9", 3},      {"-7.9MOD2.5", -1},    {"0.5DIV1", 0},        {"6MOD3", 0},
        {"9007199254740993DIV1", 9007199254740992.0}, // the operand is a double first
        {"-9223372036854775808DIV-1", 9223372036854775808.0},
        {"-9223372036854775808MOD-1", 0},
        {"-9223372036854775808DIV2", -4611686018427387904.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(evaluate(QString::fromLatin1(c.formula)), c.value);
    }
    // The largest value a double holds below 2^63 still truncates; 2^63 itself does not.
    EXPECT_EQ(errorOf(QStringLiteral("9223372036854775807DIV1")),
              QStringLiteral("Error parsing expression: found an operand beyond the 64-bit "
                             "integers at character 20"));
    EXPECT_EQ(evaluate(QStringLiteral("9223372036854774784DIV1")), 9223372036854774784.0);
}

TEST(Parser, AssigningTheSameTextAgainKeepsItsResult)
{
    TQxParser parser;
    EXPECT_EQ(parser.Expression(), QString());
    try {
        parser.Value();
        ADD_FAILURE() << "an empty formula has no value";
    } catch (const EParserError& e) {
        EXPECT_TRUE(e.Message().startsWith(QLatin1String("Error parsing expression: found the end")));
    }

    parser.SetExpression(QStringLiteral("1+1"));
    EXPECT_EQ(parser.Value(), 2);
    parser.SetExpression(QStringLiteral("1+1"));
    EXPECT_EQ(parser.Value(), 2);

    // A text that did not compile stays the expression and gives its error again, on every
    // evaluation and on every assignment of the same text, until another text is assigned.
    const QString message = QStringLiteral("Missing brackets in expression");
    for (int round = 0; round < 2; ++round) {
        try {
            parser.SetExpression(QStringLiteral("(1+1"));
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(parser.Expression(), QStringLiteral("(1+1"));
        try {
            parser.Value();
            ADD_FAILURE() << "no error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    parser.SetExpression(QStringLiteral("2*3"));
    EXPECT_EQ(parser.Value(), 6);

    // An evaluation error does not spoil the compiled formula: it is raised on every evaluation.
    parser.SetExpression(QStringLiteral("1/0"));
    EXPECT_THROW(parser.Value(), EParserError);
    EXPECT_THROW(parser.Value(), EParserError);
}

TEST(Parser, RndDrawsFromASeededGenerator)
{
    TQxParser a;
    TQxParser b;
    a.SeedRandom(42);
    b.SeedRandom(42);
    a.SetExpression(QStringLiteral("RND(10)"));
    b.SetExpression(QStringLiteral("rnd(2*5)"));
    std::set<double> seen;
    double sum = 0;
    const int draws = 2000;
    for (int i = 0; i < draws; ++i) {
        const double v = a.Value();
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        EXPECT_EQ(b.Value(), v);
        seen.insert(v);
        sum += v;
    }
    EXPECT_GT(seen.size(), std::size_t(draws - 5));
    // The mean of 2000 uniform draws lies within 0.5 of 5 (more than seven standard errors).
    EXPECT_NEAR(sum / draws, 5.0, 0.5);

    // Reseeding repeats the run.
    a.SeedRandom(42);
    b.SeedRandom(42);
    EXPECT_EQ(a.Value(), b.Value());

    EXPECT_EQ(evaluate(QStringLiteral("RND(0)")), 0);
    EXPECT_EQ(evaluate(QStringLiteral("RND(-3)")), 0);
    EXPECT_LT(evaluate(QStringLiteral("RND(5E-324)")), 5E-324);
}

TEST(Parser, DamagedFormulasEndInTheirErrors)
{
    // Only broken input reaches the limits; none of it may recurse or allocate without bound.
    EXPECT_EQ(errorOf(repeat("(", 100000)), QStringLiteral("Expression contains too many nestings"));
    EXPECT_EQ(errorOf(repeat("SIN(", 100000)), QStringLiteral("Expression contains too many nestings"));
    EXPECT_EQ(errorOf(repeat(")", 100000)), QStringLiteral("Missing brackets in expression"));
    EXPECT_EQ(errorOf(repeat("-", 100000) + "1"), QStringLiteral("Expression is too complex"));
    EXPECT_EQ(errorOf(repeat("(", 100000) + " "), QStringLiteral("Expression has blanks"));
    EXPECT_TRUE(errorOf(repeat("1", 1000000))
                    .startsWith(QStringLiteral("Error parsing expression: found '111111111111111111111111...' "
                                               "at character 1")));
    EXPECT_DOUBLE_EQ(evaluate(repeat("1", 300)), 1.1111111111111111e299);

    // Up to the limits everything works, chains of signs and powers included.
    EXPECT_EQ(evaluate(repeat("(", 32) + "1" + repeat(")", 32)), 1);
    EXPECT_EQ(evaluate(repeat("ABS(", 32) + "-1" + repeat(")", 32)), 1);
    EXPECT_EQ(evaluate("-1" + repeat("+1", 511)), 510); // 1024 tokens
    EXPECT_EQ(evaluate(repeat("-", 1023) + "1"), -1);
    EXPECT_EQ(evaluate("2" + repeat("^1", 511)), 2);
    EXPECT_EQ(evaluate(repeat("MAX(", 16) + "1" + repeat(",2)", 16)), 2);
}

TEST(Parser, FormatFormulaNumber)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1, "-1"},
        {0.5, "0.5"},
        {-12.5, "-12.5"},
        {1234.5678, "1234.5678"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"},
        {1e15, "1000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {1.5e20, "150000000000000000000"},
        {1e-20, "0.00000000000000000001"},
        {-2.5e-7, "-0.00000025"},
        {0.000123456789012345678, "0.000123456789012346"},
        {999999999999999.9, "1000000000000000"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {std::numeric_limits<double>::infinity(), ""},
        {-std::numeric_limits<double>::infinity(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatFormulaNumber(c.value), QString::fromLatin1(c.text));
    }

    // Next to the largest double the digits are cut, not rounded past it.
    const QString largest = FormatFormulaNumber(std::numeric_limits<double>::max());
    EXPECT_EQ(largest, QStringLiteral("179769313486231") + QString(294, u'0'));

    // Whatever the program's locale, '.' is the decimal sign and no group separator appears.
    const QLocale previous;
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatFormulaNumber(-1234567.891), QStringLiteral("-1234567.891"));
}

TEST(Parser, FormattedNumbersReadBackToTheSameValue)
{
    const double values[] = {
        1,
        -1,
        0.1 + 0.2,
        1.0 / 3,
        -98765.4321,
        123456789012345678.0,
        1e-20,
        -2.5e-7,
        6.02214076e23,
        std::numeric_limits<double>::max(),
        -std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::epsilon(),
        1.006386173086825e-114, // rounds by nearly half a unit of the fifteenth digit
    };
    for (const double v : values) {
        SCOPED_TRACE(v);
        const QString text = FormatFormulaNumber(v);
        EXPECT_FALSE(text.contains(u'e') || text.contains(u'E')) << text.toStdString();
        // Negative values go into formulas in brackets.
        const QString formula = v < 0 ? QLatin1Char('(') + text + QLatin1Char(')') : text;
        const double back = evaluate(formula);
        // Within one unit of the fifteenth digit.
        EXPECT_LE(std::fabs(back - v), 1e-14 * std::fabs(v)) << text.toStdString();
    }
}
