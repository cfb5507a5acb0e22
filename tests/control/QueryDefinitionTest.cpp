// The definition side of a query component: its lists and look-ups, copying and clearing a
// definition, and the checks and rewrites of wizard conditions.
#include "QueryTestSupport.h"

#include "control/uQxParser.h"

#include <gtest/gtest.h>

using namespace qxtest;

TEST(QueryDefinition, ListsBelongToTheComponentAndMakeTheirItems)
{
    TQxQueryControl q;
    EXPECT_EQ(q.DataSections()->Owner(), &q);
    EXPECT_EQ(q.CallSections()->Owner(), &q);
    EXPECT_EQ(q.Parser()->parent(), &q);
    EXPECT_EQ(q.QueryIndex(), 0);
    EXPECT_FALSE(q.JCSum());

    TConditionSection* added = q.Conditions()->Add();
    ASSERT_EQ(q.Conditions()->Count(), 1);
    EXPECT_EQ(q.Conditions()->Items(0), added);
    EXPECT_EQ(added->collection(), q.Conditions());
}

TEST(QueryDefinition, LookupsCompareUpperCasedTextAndGiveTheFirstMatch)
{
    TQxQueryControl q;
    for (const char* name : {"BillNo", "Amount", "amount"}) {
        q.DataSections()->Add()->SetFieldName(QString::fromLatin1(name));
        q.Conditions()->Add()->SetFieldName(QString::fromLatin1(name));
        q.SQLConditions()->Add()->SetFieldName(QString::fromLatin1(name));
        q.CalcFieldSections()->Add()->SetFieldName(QString::fromLatin1(name));
        q.GroupFieldSections()->Add()->SetFieldName(QString::fromLatin1(name));
        q.FieldSections()->Add()->SetFieldName(QString::fromLatin1(name));
    }
    const struct
    {
        const char* name;
        int index;
    } cases[] = {{"BillNo", 0}, {"BILLNO", 0}, {"amount", 1}, {"AMOUNT", 1}, {"Amount ", -1}, {"", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name);
        EXPECT_EQ(q.DataSections()->IndexOf(name), c.index);
        EXPECT_EQ(q.Conditions()->IndexOf(name), c.index);
        EXPECT_EQ(q.SQLConditions()->IndexOf(name), c.index);
        EXPECT_EQ(q.CalcFieldSections()->IndexOf(name), c.index);
        EXPECT_EQ(q.GroupFieldSections()->IndexOf(name), c.index);
        EXPECT_EQ(q.FieldSections()->IndexOf(name), c.index);
    }

    TFieldSections* fields = q.FieldSections();
    fields->Clear();
    const char* captions[][2] = {{"维修单", "金额"}, {"Parts", "Price"}, {"parts", "price"}};
    for (const auto& c : captions) {
        TFieldSection* f = fields->Add();
        f->SetCTableName(QString::fromUtf8(c[0]));
        f->SetCFieldName(QString::fromUtf8(c[1]));
    }
    EXPECT_EQ(fields->IndexOfCaption(QStringLiteral("维修单"), QStringLiteral("金额")), 0);
    EXPECT_EQ(fields->IndexOfCaption(QStringLiteral("PARTS"), QStringLiteral("price")), 1);
    EXPECT_EQ(fields->IndexOfCaption(QStringLiteral("维修单"), QStringLiteral("Price")), -1);
    EXPECT_EQ(fields->IndexOfCaption(QStringLiteral("金额"), QStringLiteral("维修单")), -1);
}

TEST(QueryDefinition, AssignDefinitionCopiesTheDefinitionOnly)
{
    auto table = makeReportTable();
    TQxQueryControl source;
    fillDefinition(source, QStringLiteral("S"), table.get());
    // Run-time state of the source, which a copy never takes over.
    source.SumFieldSections()->Items(0)->Accumulator = Currency(12);
    source.SumFieldSections()->Items(0)->Count = 3;
    source.GroupSumSections()->Items(0)->Accumulator = Currency(5);
    source.GroupFieldSections()->Items(0)->LastValue = QStringLiteral("张三");
    source.SetSQLText(QStringLiteral("select 1"));
    source.SetConditionText(QStringLiteral("日期 > [2024-01-01]"));

    TQxQueryControl target;
    fillDefinition(target, QStringLiteral("T"), nullptr);
    target.SetGSSum(false);
    target.SetJCType(0);
    target.AssignDefinition(nullptr, &source);

    expectSameValues(&source, &target, {},
                     {QStringLiteral("TGroupSumSection.SumType"), QStringLiteral("TQxQueryControl.ReportData")});
    EXPECT_EQ(target.ReportData(), nullptr);
    EXPECT_EQ(target.GroupSumSections()->Items(0)->SumType(), QString());
    EXPECT_EQ(target.SumFieldSections()->Items(0)->Accumulator, Currency());
    EXPECT_EQ(target.SumFieldSections()->Items(0)->Count, 0);
    EXPECT_EQ(target.GroupSumSections()->Items(0)->Accumulator, Currency());
    EXPECT_FALSE(target.GroupFieldSections()->Items(0)->LastValue.has_value());
    EXPECT_TRUE(target.SQLText().isEmpty());
    EXPECT_TRUE(target.ConditionText().isEmpty());

    // Components of other classes carry no definition.
    TQxQueryControl untouched;
    fillDefinition(untouched, QStringLiteral("U"), nullptr);
    TQxMemTable other;
    untouched.AssignDefinition(nullptr, &other);
    untouched.AssignDefinition(nullptr, nullptr);
    EXPECT_EQ(untouched.FieldSections()->Count(), 2);
}

TEST(QueryDefinition, ClearDefinitionKeepsGroupSubtotalsAndCrossKind)
{
    auto table = makeReportTable();
    TQxQueryControl q;
    fillDefinition(q, QStringLiteral("C"), table.get());
    q.ClearDefinition();
    EXPECT_EQ(q.DataSections()->Count() + q.FieldSections()->Count() + q.CalcFieldSections()->Count()
                  + q.JoinSections()->Count() + q.Conditions()->Count() + q.SumFieldSections()->Count()
                  + q.SQLConditions()->Count() + q.GroupSumSections()->Count()
                  + q.GroupFieldSections()->Count() + q.JCSections()->Count() + q.CallSections()->Count(),
              0);
    EXPECT_TRUE(q.TableNameList().isEmpty());
    EXPECT_TRUE(q.AnalyzerSQL().isEmpty());
    EXPECT_TRUE(q.JCField().isEmpty());
    EXPECT_TRUE(q.JCResultField().isEmpty());
    EXPECT_TRUE(q.JCKeyfields().isEmpty());
    EXPECT_EQ(q.QueryIndex(), 0);
    EXPECT_FALSE(q.JCSum());
    // Kept:
    EXPECT_TRUE(q.GSSum());
    EXPECT_EQ(q.JCType(), 2);
    EXPECT_EQ(q.ReportData(), table.get());
}

TEST(QueryDefinition, TranslateConditionWords)
{
    const struct
    {
        const char* operate;
        const char* operateSql;
        const char* logical;
        const char* logicalSql;
    } cases[] = {
        {"大于", ">", "并且", "And"},
        {"小于", "<", "或者", "Or"},
        {"小于等于", "<=", "结束", " "},
        {"大于等于", ">=", "并且", "And"},
        {"等于", "=", "", ""},
        {"不等于", "<>", "and", "and"},
        {"包含字符", "包含字符", "或", "或"},
        {"前几个字符是", "前几个字符是", " 并且", " 并且"},
        {"是", "是", "Or", "Or"},
        {">", ">", "And", "And"},
    };
    TQxQueryControl q;
    for (const auto& c : cases) {
        TConditionSection* condition = q.Conditions()->Add();
        condition->SetOperateChar(QString::fromUtf8(c.operate));
        condition->SetLogicalChar(QString::fromUtf8(c.logical));
    }
    q.TranslateConditionWords();
    for (int i = 0; i < q.Conditions()->Count(); ++i) {
        SCOPED_TRACE(cases[i].operate);
        EXPECT_EQ(q.Conditions()->Items(i)->OperateChar(), QString::fromUtf8(cases[i].operateSql));
        EXPECT_EQ(q.Conditions()->Items(i)->LogicalChar(), QString::fromUtf8(cases[i].logicalSql));
    }
}

TEST(QueryDefinition, ConditionChecks)
{
    struct Condition
    {
        const char* value;
        const char* operate;
    };
    struct Join
    {
        const char* sTable;
        const char* sField;
        const char* dTable;
        const char* dField;
    };
    const struct
    {
        const char* name;
        QList<Condition> conditions;
        QList<Join> joins;
        bool emptyValue;
        bool where;
        bool andBeforeJoins;
    } cases[] = {
        {"nothing", {}, {}, false, false, false},
        {"a value", {{"1", "等于"}}, {}, false, true, false},
        {"a value and an empty one", {{"1", "等于"}, {"", "等于"}}, {}, true, true, false},
        {"only empty values", {{"", "等于"}}, {}, true, false, false},
        {"complete join", {}, {{"维修单", "单号", "配件", "单号"}}, false, true, false},
        {"incomplete join", {}, {{"维修单", "单号", "配件", ""}}, false, false, false},
        {"value, operator and join", {{"1", "等于"}}, {{"维修单", "", "", ""}}, false, true, true},
        {"value without operator and join", {{"1", ""}}, {{"维修单", "单号", "配件", "单号"}}, false, true, false},
        {"operator without value and join", {{"", "等于"}}, {{"维修单", "单号", "配件", "单号"}}, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TQxQueryControl q;
        for (const Condition& k : c.conditions) {
            TConditionSection* condition = q.Conditions()->Add();
            condition->SetFieldValue(QString::fromUtf8(k.value));
            condition->SetOperateChar(QString::fromUtf8(k.operate));
        }
        for (const Join& j : c.joins) {
            TJoinSection* join = q.JoinSections()->Add();
            join->SetSTableName(QString::fromUtf8(j.sTable));
            join->SetSFieldName(QString::fromUtf8(j.sField));
            join->SetDTableName(QString::fromUtf8(j.dTable));
            join->SetDFieldName(QString::fromUtf8(j.dField));
        }
        EXPECT_EQ(q.HasEmptyConditionValue(), c.emptyValue);
        EXPECT_EQ(q.NeedsWhereClause(), c.where);
        EXPECT_EQ(q.NeedsAndBeforeJoins(), c.andBeforeJoins);
    }
}
