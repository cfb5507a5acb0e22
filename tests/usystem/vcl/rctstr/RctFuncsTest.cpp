// The text routines of the document structures.
#include "usystem/vcl/rctstr/uQxRctFuncs.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ReplaceCase
{
    const char* text;
    const char* find;
    const char* replacement;
    const char* expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os)
{
    *os << '"' << c.text << "\" \"" << c.find << "\" -> \"" << c.replacement << '"';
}

class ReplaceAll : public ::testing::TestWithParam<ReplaceCase>
{};

TEST_P(ReplaceAll, GivesTheExpectedText)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceAllText(QString::fromUtf8(c.text), QString::fromUtf8(c.find),
                             QString::fromUtf8(c.replacement)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAll,
    ::testing::Values(
        // Mixed-case occurrences are all replaced.
        ReplaceCase{"Field a, FIELD b, field c", "field", "字段", "字段 a, 字段 b, 字段 c"},
        // A replacement that joins its neighbours into a new occurrence is replaced in turn.
        ReplaceCase{"aabb", "ab", "a", "aa"},
        ReplaceCase{"no match here", "xyz", "q", "no match here"},
        ReplaceCase{"abc", "", "x", "abc"},
        ReplaceCase{"", "a", "b", ""},
        ReplaceCase{"abcabc", "abc", "", ""},
        // A replacement holding the searched text ends after one pass from the left.
        ReplaceCase{"a-a-A", "a", "A", "A-A-A"},
        ReplaceCase{"xax", "x", "xx", "xxaxx"},
        ReplaceCase{"Field1 field2", "FIELD", "myfield", "myfield1 myfield2"}));

struct TranslateCase
{
    const char* message;
    const char* expected;
};

void PrintTo(const TranslateCase& c, std::ostream* os)
{
    *os << '"' << c.message << '"';
}

class Translate : public ::testing::TestWithParam<TranslateCase>
{};

TEST_P(Translate, GivesTheChineseMessage)
{
    EXPECT_EQ(TranslateDbError(QString::fromUtf8(GetParam().message)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Translate,
    ::testing::Values(
        TranslateCase{"Field 'ItemCode' must have a value", "字段 'ItemCode' 值不能为空"},
        TranslateCase{"duplicate key value in tMaterial", "主键字段不得重复!"},
        TranslateCase{"'1,2x' is not a valid float", "'1,2x' is 您输入的数字不合法"},
        TranslateCase{"Key violation", "主键字段不得重复"},
        TranslateCase{"'2026-13-01' is not a valid date and time", "'2026-13-01' 您输入的日期不合法"},
        TranslateCase{"Dataset not in edit or insert mode", "非编辑状态不能编辑"},
        // The first rule that matches wins; the search is exact.
        TranslateCase{"Key violation: duplicate key", "主键字段不得重复!"},
        TranslateCase{"key VIOLATION", "key VIOLATION"},
        TranslateCase{"database is locked", "database is locked"},
        TranslateCase{"Cannot modify field Qty", "Cannot modify 字段 Qty"}));

TEST(CommaList, MatchesWholeElementsWithoutCase)
{
    const QString list = QStringLiteral("BMaterial,BStock");
    EXPECT_TRUE(InCommaList(list, QStringLiteral("bstock")));
    EXPECT_TRUE(InCommaList(list, QStringLiteral("BMATERIAL")));
    EXPECT_FALSE(InCommaList(list, QStringLiteral(" BStock")));
    EXPECT_FALSE(InCommaList(list, QStringLiteral("BMat")));
    EXPECT_FALSE(InCommaList(list, QString()));
    EXPECT_FALSE(InCommaList(QString(), QString()));
    EXPECT_TRUE(InCommaList(QStringLiteral("a,,b"), QString()));
    const QString kinds = QStringLiteral(
        "IItemName,ICName,ICCode,ISName,ISCode,ICJName,ISJName,ISItemName,ISItemCode");
    EXPECT_TRUE(InCommaList(kinds, QStringLiteral("iitemname")));
    EXPECT_FALSE(InCommaList(kinds, QStringLiteral("IQty")));
}

} // namespace
