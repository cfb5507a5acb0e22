// The text routines of the document structures.
#include "usystem/vcl/rctstr/uQxRctFuncs.h"

#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

#include <QTemporaryDir>

#include <functional>

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

// The database's own refusal of a repeated key reads as the one Chinese sentence, whichever
// way the row was written and whatever value it carried.
TEST(TranslateDbError, ARealKeyViolationGivesExactlyTheSentence)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Account.mdb"));
    TADOConnection::CreateDatabase(file);
    TADOConnection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + file);
    connection.Open();
    connection.Execute(QStringLiteral("CREATE TABLE tU (Code TEXT(10) COLLATE NOCASE PRIMARY KEY, Name TEXT(20))"));
    connection.Execute(QStringLiteral("INSERT INTO tU VALUES ('a', 'first')"));

    auto message = [](const std::function<void()>& write) {
        try {
            write();
        } catch (const EDatabaseError& e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    };
    // Through a statement.
    const QString statement = message([&] {
        connection.Execute(QStringLiteral("INSERT INTO tU VALUES (:c, 'again')"), {{QStringLiteral("c"), QStringLiteral("a")}});
    });
    EXPECT_TRUE(statement.contains(QStringLiteral("'a'"))) << statement.toStdString();
    EXPECT_EQ(TranslateDbError(statement), QStringLiteral("主键字段不得重复!"));
    // Through a dataset's post.
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText(QStringLiteral("select * from tU"));
    query.Open();
    const QString posted = message([&] {
        query.Append();
        query.FieldByName(QStringLiteral("Code"))->SetAsString(QStringLiteral("A"));
        query.Post();
    });
    EXPECT_EQ(TranslateDbError(posted), QStringLiteral("主键字段不得重复!")) << posted.toStdString();
    query.Cancel();
}

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
