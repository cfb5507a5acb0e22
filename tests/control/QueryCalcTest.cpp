// The calculations of a query component over its result rows: formulas of calculated fields,
// the items of the totals row, the subtotal caption column, and the messages of a run.
#include "QueryTestSupport.h"

#include "platform/env/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qxtest;

namespace {

const QString kNotInSync = QStringLiteral("计算字段与数据字典不同步请重设计算字段!");

// A wizard result: chosen fields of 维修单 (one invisible, without a column), a calculated
// money column, and a row of values.
class QueryFormula : public ::testing::Test
{
protected:
    void SetUp() override
    {
        choose("BillNo", "维修单", "单号", true);
        choose("Amount", "维修单", "金额", true);
        choose("Qty", "维修单", "数量", true);
        choose("Cost", "维修单", "成本", true);
        choose("Note", "维修单", "备注", true);
        choose("Hidden", "维修单", "隐藏", false);
        choose("Price", "Parts", "Price", true);
        choose("Paid", "维修单", "已付", true);
        q.CalcFieldSections()->Add()->SetFieldName(QStringLiteral("Net"));
        q.CalcFieldSections()->Add()->SetFieldName(QStringLiteral("Tax"));
        q.FieldDefs()->Add(QStringLiteral("BillNo"), ftString, 20);
        q.FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
        q.FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        q.FieldDefs()->Add(QStringLiteral("Cost"), ftFloat);
        q.FieldDefs()->Add(QStringLiteral("Note"), ftString, 20);
        q.FieldDefs()->Add(QStringLiteral("Price"), ftFloat);
        q.FieldDefs()->Add(QStringLiteral("Paid"), ftBoolean);
        q.FieldDefs()->Add(QStringLiteral("Net"), ftCurrency);
        q.FieldDefs()->Add(QStringLiteral("Tax"), ftCurrency);
        q.Open();
        q.Append();
        q.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("WX240101001"));
        q.FieldByName(QStringLiteral("Amount"))->SetAsCurrency(Currency(100));
        q.FieldByName(QStringLiteral("Qty"))->SetAsInteger(-2);
        q.FieldByName(QStringLiteral("Cost"))->SetAsFloat(0);
        q.FieldByName(QStringLiteral("Note"))->SetAsString(QStringLiteral("abc"));
        q.FieldByName(QStringLiteral("Price"))->SetAsFloat(-0.25);
        q.FieldByName(QStringLiteral("Paid"))->SetAsBoolean(true);
        q.FieldByName(QStringLiteral("Net"))->SetAsCurrency(Currency::fromDouble(12.5));
        q.Post();
    }

    void choose(const char* name, const char* table, const char* caption, bool visible)
    {
        TFieldSection* f = q.FieldSections()->Add();
        f->SetFieldName(QString::fromUtf8(name));
        f->SetCTableName(QString::fromUtf8(table));
        f->SetCFieldName(QString::fromUtf8(caption));
        f->SetVisible(visible);
    }

    TQxQueryControl q;
};

} // namespace

TEST_F(QueryFormula, ReferencesAreReplacedByTheRowsValues)
{
    const struct
    {
        const char* formula;
        double value;
        bool unresolved;
    } cases[] = {
        {"[维修单.金额]*2", 200, false},
        {"10-[维修单.数量]", 12, false},                // a negative value goes in brackets
        {"2*[维修单.数量]", -4, false},
        {"[维修单.金额]/[维修单.数量]", -50, false},
        {"[维修单.金额]^2-[维修单.金额]DIV3", 9967, false},
        {"[维修单.金额]/[维修单.成本]", 0, false},        // a zero right after "/"
        {"[维修单.金额]/([维修单.成本]+1)", 100, false},  // a zero elsewhere is a zero
        {"[维修单.成本]*3", 0, false},
        {"[parts.PRICE]*4", -1, false},                  // captions without regard to case
        {"[计算.Net]*2", 25, false},                     // a calculated field of the row
        {"[维修单.隐藏]+1", 0, true},                     // chosen, but not in the result
        {"[维修单.不存在]+1", 0, true},
        {"[未知.金额]+1", 0, true},                       // a table that is not chosen
        {"[金额]+1", 0, true},                           // no table part
        {"[计算.Missing]+1", 0, true},                   // no such calculated column
        {"[维修单.备注]+1", 0, false},                   // a text that is no number
        {"[维修单.已付]+1", 0, false},                   // a Boolean has no number
        {"[维修单.金额", 0, false},                      // a reference never closed
        {"1/0", 0, false},                              // the parser refuses
        {"[维修单.金额]+", 0, false},
        {"SQRT([维修单.数量])", 0, false},
        {"", 0, false},
        {"MAX([维修单.金额],[维修单.数量])+MIN(1,[维修单.成本])", 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        q.BeginRun();
        EXPECT_DOUBLE_EQ(q.EvaluateExpression(QString::fromUtf8(c.formula)), c.value);
        EXPECT_EQ(q.RunMessages(), c.unresolved ? QStringList{kNotInSync} : QStringList());
    }
}

TEST_F(QueryFormula, LaterCalculatedFieldsReadEarlierOnes)
{
    q.CalcFieldSections()->Items(0)->SetExpression(QStringLiteral("[维修单.金额]-[维修单.数量]*10"));
    q.CalcFieldSections()->Items(1)->SetExpression(QStringLiteral("[计算.Net]*0.17"));
    // As the runner computes a row: each calculated field in order, as money of four places.
    for (int i = 0; i < q.CalcFieldSections()->Count(); ++i) {
        const TCalcFieldSection* calc = q.CalcFieldSections()->Items(i);
        q.Edit();
        q.FieldByName(calc->FieldName())
            ->SetAsCurrency(Currency::fromDouble(q.EvaluateExpression(calc->Expression())));
        q.Post();
    }
    EXPECT_EQ(q.FieldByName(QStringLiteral("Net"))->AsCurrency(), Currency(120));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Tax"))->AsCurrency(), Currency::fromString(QStringLiteral("20.4")));
}

TEST_F(QueryFormula, AnUnresolvedReferenceIsToldOncePerRun)
{
    auto* dialogs = qx::ScriptedDialogService::current();
    ASSERT_TRUE(dialogs);
    dialogs->clear();
    q.BeginRun();
    for (int row = 0; row < 50; ++row) {
        EXPECT_EQ(q.EvaluateExpression(QStringLiteral("[维修单.隐藏]*2")), 0);
        EXPECT_EQ(q.EvaluateExpression(QStringLiteral("[未知.金额]")), 0);
    }
    EXPECT_TRUE(dialogs->shown().isEmpty()); // nothing is shown while rows are computed
    dialogs->answerMessage(qx::mrOk);
    q.EndRun();
    EXPECT_EQ(dialogs->messages(), QStringList{kNotInSync});
    EXPECT_TRUE(q.RunMessages().isEmpty());

    // The next run starts with nothing noted.
    q.BeginRun();
    q.EndRun();
    EXPECT_EQ(dialogs->messages(), QStringList{kNotInSync});
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST(QueryAggregate, Step)
{
    const struct
    {
        const char* kind;
        int accumulator;
        int value;
        int result;
    } cases[] = {
        {"合计", 10, 5, 15}, {"平均值", 10, -5, 5},   {"最小值", 10, 5, 5}, {"最小值", 3, 5, 3},
        {"最大值", 10, 5, 10}, {"最大值", -3, -1, -1}, {"记录数", 10, 5, 0}, {"其他", 10, 5, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(TQxQueryControl::AggregateStep(QString::fromUtf8(c.kind), Currency(c.accumulator), Currency(c.value)),
                  Currency(c.result));
    }
}

namespace {

// An SQL result with group rows: headings (3), detail rows (0 or null), subtotals (4) and
// separators (1), and total items by column name.
class QueryTotals : public ::testing::Test
{
protected:
    void SetUp() override
    {
        q.SetQueryIndex(1);
        q.FieldDefs()->Add(QStringLiteral("Worker"), ftString, 20);
        q.FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
        q.FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        q.FieldDefs()->Add(QStringLiteral("Low"), ftFloat);
        q.FieldDefs()->Add(QStringLiteral("High"), ftBCD);
        q.FieldDefs()->Add(QStringLiteral("Rows"), ftInteger);
        q.FieldDefs()->Add(QStringLiteral("VandrelID"), ftInteger);
        q.Open();
        total("Worker", "合计");
        total("Amount", "合计");
        total("Qty", "平均值");
        total("Low", "最小值");
        total("High", "最大值");
        total("Rows", "记录数");
        total("Missing", "合计");
    }

    void total(const char* column, const char* kind)
    {
        TSumFieldSection* s = q.SumFieldSections()->Add();
        s->SetFieldName(QString::fromUtf8(column));
        s->SetFieldValue(QString::fromUtf8(kind));
    }

    // kind < 0: a detail row with an empty row kind.
    void row(int kind, const char* worker, double value)
    {
        q.Append();
        q.FieldByName(QStringLiteral("Worker"))->SetAsString(QString::fromUtf8(worker));
        if (kind == 0 || kind < 0 || kind == 4) {
            for (const char* c : {"Amount", "Qty", "Low", "High"})
                q.FieldByName(QString::fromLatin1(c))->SetAsFloat(value);
        }
        if (kind >= 0)
            q.FieldByName(QStringLiteral("VandrelID"))->SetAsInteger(kind);
        q.Post();
    }

    // What the runner does after inserting the group rows: totals over every row that is not
    // a subtotal, then the totals row.
    void recompute()
    {
        q.ResetTotals();
        q.First();
        while (!q.Eof()) {
            if (q.FieldByName(QStringLiteral("VandrelID"))->AsInteger() != 4)
                q.AccumulateSumsByName();
            q.Next();
        }
        q.AppendTotalRow();
    }

    QVariant totalOf(const char* column) { return q.FieldByName(QString::fromLatin1(column))->Value(); }

    TQxQueryControl q;
};

} // namespace

TEST_F(QueryTotals, OverDetailRowsMixedWithGroupRows)
{
    row(3, "张三", 0);
    row(0, "", 30);
    row(0, "", 10);
    row(4, "小计:", 40);
    row(1, "", 0);
    row(3, "李四", 0);
    row(-1, "", 20);
    row(4, "小计:", 20);
    row(1, "", 0);
    recompute();

    ASSERT_EQ(q.RecordCount(), 10);
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("VandrelID"))->AsInteger(), 4);
    EXPECT_EQ(totalOf("Worker"), QVariant(QStringLiteral("合计"))); // the word in a text column
    EXPECT_EQ(q.FieldByName(QStringLiteral("Amount"))->AsCurrency(), Currency(60));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->AsInteger(), 20);  // 60 over 3 detail rows
    EXPECT_EQ(q.FieldByName(QStringLiteral("Low"))->AsFloat(), 10);   // not the 0 of a start value
    EXPECT_EQ(q.FieldByName(QStringLiteral("High"))->AsCurrency(), Currency(30));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Rows"))->AsInteger(), 3);
}

TEST_F(QueryTotals, OverOneRow)
{
    row(-1, "", -7.5);
    recompute();
    ASSERT_EQ(q.RecordCount(), 2);
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Amount"))->AsCurrency(), Currency::fromDouble(-7.5));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->AsInteger(), -8); // -7.5 rounded into an integer column
    EXPECT_EQ(q.FieldByName(QStringLiteral("Low"))->AsFloat(), -7.5);
    EXPECT_EQ(q.FieldByName(QStringLiteral("High"))->AsCurrency(), Currency::fromDouble(-7.5)); // not 0
    EXPECT_EQ(q.FieldByName(QStringLiteral("Rows"))->AsInteger(), 1);
}

TEST_F(QueryTotals, OverNoRowNoTotalsRowIsAppended)
{
    recompute();
    EXPECT_EQ(q.RecordCount(), 0);
}

TEST_F(QueryTotals, WithoutDetailRowsMinimumAndMaximumStayEmpty)
{
    row(3, "张三", 0);
    row(1, "", 0);
    recompute();
    ASSERT_EQ(q.RecordCount(), 3);
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Amount"))->AsCurrency(), Currency());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Qty"))->IsNull()); // no average of nothing
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Low"))->IsNull());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("High"))->IsNull());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Rows"))->AsInteger(), 0);
}

TEST(QueryTotalsWizard, ItemsFindTheirColumnsByCaptionOrCalculatedField)
{
    TQxQueryControl q;
    auto choose = [&](const char* name, const char* caption, bool visible) {
        TFieldSection* f = q.FieldSections()->Add();
        f->SetFieldName(QString::fromUtf8(name));
        f->SetCTableName(QStringLiteral("维修单"));
        f->SetCFieldName(QString::fromUtf8(caption));
        f->SetVisible(visible);
    };
    choose("Amount", "金额", true);
    choose("Worker", "维修工", true);
    choose("Hidden", "隐藏", false);
    q.CalcFieldSections()->Add()->SetFieldName(QStringLiteral("Net"));
    auto total = [&](const char* table, const char* field, const char* kind) {
        TSumFieldSection* s = q.SumFieldSections()->Add();
        s->SetTableName(QString::fromUtf8(table));
        s->SetFieldName(QString::fromUtf8(field));
        s->SetFieldValue(QString::fromUtf8(kind));
    };
    total("维修单", "金额", "合计");
    total("维修单", "维修工", "记录数");
    total("计算", "Net", "平均值");
    total("维修单", "隐藏", "合计");
    q.FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
    q.FieldDefs()->Add(QStringLiteral("Worker"), ftString, 10);
    q.FieldDefs()->Add(QStringLiteral("Net"), ftCurrency);
    q.Open();
    const double amounts[] = {10, 20.5, 0.25};
    q.ResetTotals();
    for (const double a : amounts) {
        q.Append();
        q.FieldByName(QStringLiteral("Amount"))->SetAsFloat(a);
        q.FieldByName(QStringLiteral("Worker"))->SetAsString(QStringLiteral("张三"));
        q.FieldByName(QStringLiteral("Net"))->SetAsFloat(a * 2);
        q.Post();
        q.AccumulateSums();
    }
    q.AppendTotalRow();
    ASSERT_EQ(q.RecordCount(), 4);
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Amount"))->AsCurrency(), Currency::fromDouble(30.75));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Worker"))->AsString(), QStringLiteral("记录数"));
    // 61.5 / 3, rounded to four places.
    EXPECT_EQ(q.FieldByName(QStringLiteral("Net"))->AsCurrency(), Currency::fromString(QStringLiteral("20.5")));
}

TEST(QueryTotalsWizard, WithoutTotalItemsNothingIsAppended)
{
    TQxQueryControl q;
    q.FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
    q.Open();
    q.Append();
    q.FieldByName(QStringLiteral("Amount"))->SetAsFloat(1);
    q.Post();
    q.AccumulateSums();
    q.AppendTotalRow();
    EXPECT_EQ(q.RecordCount(), 1);
}

TEST(QuerySubtotal, CaptionColumn)
{
    struct Key
    {
        const char* field;
        const char* caption;
    };
    const struct
    {
        const char* name;
        QList<Key> keys;
        const char* column;
    } cases[] = {
        {"no keys", {}, ""},
        {"display column of its own", {{"Worker", "BillNo"}}, "BillNo"},
        {"first key shows in a key column", {{"Worker", "Worker"}, {"Dept", "Note"}}, "Note"},
        {"every display column is a key column", {{"Worker", "Dept"}, {"Dept", "worker"}}, ""},
        {"display column the result lacks", {{"Worker", "Nowhere"}, {"Dept", "Note"}}, ""},
        {"empty display column", {{"Worker", ""}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TQxQueryControl q;
        for (const Key& k : c.keys) {
            TGroupFieldSection* key = q.GroupFieldSections()->Add();
            key->SetFieldName(QString::fromUtf8(k.field));
            key->SetCdisFieldName(QString::fromUtf8(k.caption));
        }
        EXPECT_EQ(q.SubtotalCaptionField(), QString()); // the result is not open
        for (const char* column : {"Worker", "Dept", "BillNo", "Note"})
            q.FieldDefs()->Add(QString::fromLatin1(column), ftString, 20);
        q.Open();
        EXPECT_EQ(q.SubtotalCaptionField(), QString::fromUtf8(c.column));
    }
}
