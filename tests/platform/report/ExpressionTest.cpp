// The expression language: literals, operators and their precedence, functions, fields,
// aggregates, errors and where they are; the function library.
#include "ReportFixture.h"

#include "platform/report/QREvaluator.h"
#include "platform/report/QRFunctions.h"
#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

#include <QScopeGuard>

using namespace rpt;

namespace {

struct Case
{
    const char* expression;
    TQREvResultType kind;
    const char* text; // AsText of the value
};

class Expressions : public ::testing::Test
{
protected:
    Expressions() : parts(table(QStringLiteral("Parts"))), other(table(QStringLiteral("Other")))
    {
        add(*parts, QStringLiteral("A"), QStringLiteral("螺丝"), 7);
        add(*other, QStringLiteral("B"), QStringLiteral("other"), 2);
        parts->First();
        other->First();
        evaluator.SetDataSets({parts.get(), other.get()});
    }

    TQREvResult value(const QString& expression) { return evaluator.Calculate(expression); }

    std::unique_ptr<TQxMemTable> parts;
    std::unique_ptr<TQxMemTable> other;
    TQREvaluator evaluator;
};

TEST_F(Expressions, Values)
{
    const Case cases[] = {
        {"'abc'", resString, "abc"},
        {"'it''s'", resString, "it's"},
        {"42", resInt, "42"},
        {"2.5", resDouble, "2.5"},
        {"'第 '+3+' 页'", resString, "第 3 页"},
        {"3+' 页'", resString, "3 页"},
        {"'x'+1.5", resString, "x1.5"},
        {"2+3*4", resInt, "14"},
        {"(2+3)*4", resInt, "20"},
        {"10-4-3", resInt, "3"},
        {"-2*3", resInt, "-6"},
        {"7/2", resDouble, "3.5"},
        {"2147483647+1", resDouble, "2147483648"},
        {"1+2=3 AND 2<3", resBool, "True"},
        {"NOT 1=1 OR 2>=2", resBool, "True"},
        {"NOT (1=1 OR 2>=2)", resBool, "False"},
        {"'a'<'b'", resBool, "True"},
        {"'a'<>'a'", resBool, "False"},
        {"1.5<=1", resBool, "False"},
        {"IF(Qty>5,'many','few')", resString, "many"},
        {"IF(1=2,1/0,'safe')", resString, "safe"},
        {"Qty*2", resInt, "14"},
        {"Parts.Name", resString, "螺丝"},
        {"other.name", resString, "other"},
        {"Name", resString, "螺丝"},
        {"Grp+Other.Grp", resString, "AB"},
        {"STR(12.5)", resString, "12.5"},
        {"UPPER('abc')+LOWER('DEF')", resString, "ABCdef"},
        {"COPY('abcdef',2,3)", resString, "bcd"},
        {"COPY('螺丝刀',2,5)", resString, "丝刀"},
        {"INT(-7.9)", resInt, "-7"},
        {"FRAC(2.25)", resDouble, "0.25"},
        {"FORMATNUMERIC('0.00',3)", resString, "3.00"},
        {"ISNULL(Qty)", resBool, "False"},
        {"upper ( 'x' )", resString, "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        const TQREvResult r = value(QString::fromUtf8(c.expression));
        EXPECT_EQ(r.Kind, c.kind) << r.strResult.toStdString();
        EXPECT_EQ(r.AsText(), QString::fromUtf8(c.text));
    }
}

TEST_F(Expressions, ErrorsNameTheirPlace)
{
    const struct
    {
        const char* expression;
        const char* message;
        int position; // of a parse error; 0 for an error found while evaluating
    } cases[] = {
        {"(1+2", "表达式错误: 缺少右括号 (第5个字符)", 5},
        {"'abc", "表达式错误: 字符串缺少结束的引号 (第1个字符)", 1},
        {"1 +", "表达式错误: 缺少操作数 (第4个字符)", 4},
        {"1 2", "表达式错误: 多余的内容 (第3个字符)", 3},
        {"3 # 4", "表达式错误: 无法识别的字符 '#' (第3个字符)", 3},
        {"NOSUCH(1)", "表达式错误: 未知的函数 NOSUCH (第1个字符)", 1},
        {"", "表达式错误: 表达式为空 (第1个字符)", 1},
        {"COPY('a',1", "表达式错误: 缺少逗号或右括号 (第11个字符)", 11},
        {"1 + Missing", "未知的字段或函数 Missing (第5个字符)", 0},
        {"Parts.Nothing", "未知的字段或函数 Parts.Nothing (第1个字符)", 0},
        {"1/0", "除数为零 (第2个字符)", 0},
        {"'a' - 1", "运算符 - 的操作数类型不正确 (第5个字符)", 0},
        {"1 AND 2", "运算符 AND 的操作数类型不正确 (第3个字符)", 0},
        {"'a' < 1", "运算符 < 的操作数类型不正确 (第5个字符)", 0},
        {"UPPER(1)", "函数 UPPER 的参数不正确", 0},
        {"IF(1,2,3)", "函数 IF 的参数不正确", 0},
        {"'x' + (1/0)", "除数为零 (第9个字符)", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        evaluator.Prepare(QString::fromUtf8(c.expression));
        EXPECT_EQ(evaluator.HasParseError(), c.position > 0);
        EXPECT_EQ(evaluator.ErrorPosition(), c.position);
        const TQREvResult r = evaluator.Value();
        EXPECT_EQ(r.Kind, resError);
        EXPECT_EQ(r.strResult, QString::fromUtf8(c.message));
    }
}

TEST_F(Expressions, DataSetsGoByTheNamesGivenWithThem)
{
    // "Mst" stands for Parts; Other keeps its object name.
    evaluator.SetDataSets({parts.get(), other.get()}, {QStringLiteral("Mst")});
    EXPECT_EQ(value(QStringLiteral("mst.Name")).strResult, QStringLiteral("螺丝"));
    EXPECT_EQ(value(QStringLiteral("Other.Name")).strResult, QStringLiteral("other"));
    const TQREvResult old = value(QStringLiteral("Parts.Name"));
    EXPECT_EQ(old.Kind, resError);
    EXPECT_EQ(old.strResult, QStringLiteral("未知的字段或函数 Parts.Name (第1个字符)"));
}

TEST(ExpressionFields, ReferencesAreListedAsWritten)
{
    TQREvaluator e;
    e.Prepare(QStringLiteral("IF(Mst.Qty > 2, SUM(Dlt.Amount), Name) + COUNT"));
    const QList<TQREvaluator::FieldReference> refs = e.FieldReferences();
    ASSERT_EQ(refs.size(), 3);
    EXPECT_EQ(refs[0].dataSetName, QStringLiteral("Mst"));
    EXPECT_EQ(refs[0].fieldName, QStringLiteral("Qty"));
    EXPECT_EQ(refs[1].dataSetName, QStringLiteral("Dlt"));
    EXPECT_EQ(refs[1].fieldName, QStringLiteral("Amount"));
    EXPECT_EQ(refs[2].dataSetName, QString());
    EXPECT_EQ(refs[2].fieldName, QStringLiteral("Name"));

    e.Prepare(QStringLiteral("Qty +"));
    EXPECT_TRUE(e.HasParseError());
    EXPECT_TRUE(e.FieldReferences().isEmpty());
}

TEST(ReportDataSetNames, ExpressionsAndGroupsUseTheReportsNames)
{
    auto data = table(QStringLiteral("QryMain"));
    add(*data, QStringLiteral("A"), QStringLiteral("a1"), 1);
    add(*data, QStringLiteral("A"), QStringLiteral("a2"), 2);
    add(*data, QStringLiteral("B"), QStringLiteral("b1"), 4);
    TQuickRep report;
    report.SetDataSet(data.get());
    report.SetDataSetName(data.get(), QStringLiteral("Mstdataset"));
    EXPECT_EQ(report.DataSetName(data.get()), QStringLiteral("Mstdataset"));
    auto* group = new TQRGroup(&report);
    group->SetExpression(QStringLiteral("MSTDATASET.Grp"));
    group->SetHeight(20);
    expr(group, QStringLiteral("'G '+Mstdataset.Grp"));
    auto* detail = new TQRBand(&report, rbDetail);
    detail->SetHeight(20);
    expr(detail, QStringLiteral("Mstdataset.Name"));
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{QStringLiteral("1 G A"), QStringLiteral("1 a1"), QStringLiteral("1 a2"),
                                          QStringLiteral("1 G B"), QStringLiteral("1 b1")}));

    // Without the name the object name counts again.
    report.SetDataSetName(data.get(), QString());
    EXPECT_EQ(report.DataSetName(data.get()), QStringLiteral("QryMain"));
}

TEST_F(Expressions, NullFieldsAndClosedDataSets)
{
    parts->Edit();
    parts->FieldByName(QStringLiteral("Qty"))->Clear();
    parts->Post();
    EXPECT_TRUE(value(QStringLiteral("ISNULL(Qty)")).booResult);
    EXPECT_EQ(value(QStringLiteral("Qty+1")).AsText(), QStringLiteral("1"));
    parts->Close();
    const TQREvResult r = value(QStringLiteral("Parts.Qty"));
    EXPECT_EQ(r.Kind, resError);
}

TEST_F(Expressions, StringsAreCutAt255BytesOnACharacterBoundary)
{
    const QString chinese(200, QChar(0x4E2D)); // two GBK bytes each
    const TQREvResult r = value(QStringLiteral("'a'+'%1'").arg(chinese));
    // 'a' and 127 characters are 255 bytes; the 128th would split.
    EXPECT_EQ(r.strResult.size(), 128);
    EXPECT_EQ(TQREvResult::String(QString(300, u'x')).strResult.size(), 255);
}

TEST_F(Expressions, DateAndTimeComeFromTheSystemClock)
{
    const auto restore = qScopeGuard([] { qx::clearToday(); });
    qx::setToday(TDateTime(EncodeDate(2024, 3, 5).Val + 0.5));
    EXPECT_EQ(value(QStringLiteral("DATE")).strResult, QStringLiteral("2024-03-05"));
    EXPECT_EQ(value(QStringLiteral("TIME")).strResult, QStringLiteral("12:00:00"));
}

TEST_F(Expressions, AggregatesGatherRecordByRecord)
{
    add(*parts, QStringLiteral("A"), QStringLiteral("b"), 3);
    add(*parts, QStringLiteral("A"), QStringLiteral("c"), 5);
    evaluator.Prepare(QStringLiteral("STR(SUM(Qty))+'/'+STR(COUNT)+'/'+STR(MAX(Qty))+'/'+STR(MIN(Qty))+'/'+STR(AVERAGE(Qty))"));
    EXPECT_TRUE(evaluator.IsAggreg());
    EXPECT_EQ(evaluator.Value().strResult, QStringLiteral("0/0/0/0/0"));
    parts->First();
    while (!parts->Eof()) {
        evaluator.UpdateAggregates();
        parts->Next();
    }
    EXPECT_EQ(evaluator.Value().strResult, QStringLiteral("15/3/7/3/5"));
    evaluator.Reset();
    EXPECT_EQ(evaluator.Value().strResult, QStringLiteral("0/0/0/0/0"));

    evaluator.Prepare(QStringLiteral("MAX(Name)"));
    parts->First();
    evaluator.UpdateAggregates();
    parts->Next();
    evaluator.UpdateAggregates();
    EXPECT_EQ(evaluator.Value().strResult, QStringLiteral("螺丝"));
    EXPECT_FALSE(TQREvaluator().IsAggreg());
}

class MarkFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || Argument(0).Kind != resString)
            return TQREvResult::Error(QString());
        return TQREvResult::String(QLatin1Char('<') + Argument(0).strResult + QLatin1Char('>'));
    }
};

class OtherMark : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override { return TQREvResult::Int(0); }
};

TEST(FunctionLibrary, RegisteredTwiceIsListedOnce)
{
    TQRFunctionLibrary& lib = QRFunctionLibrary();
    const int before = lib.Count();
    EXPECT_TRUE(RegisterQRFunction<MarkFunction>(QStringLiteral("MARKTEST"), QStringLiteral("MarkTest(<S>)|标出<S>"),
                                                 QStringLiteral("Test"), QStringLiteral("7S")));
    EXPECT_FALSE(RegisterQRFunction<OtherMark>(QStringLiteral("marktest"), QStringLiteral("other|other"),
                                               QStringLiteral("Test"), QStringLiteral("7")));
    EXPECT_EQ(lib.Count(), before + 1);
    const TQRFunctionEntry* e = lib.Find(QStringLiteral("MarkTest"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Prototype(), QStringLiteral("MarkTest(<S>)"));
    EXPECT_EQ(e->Help(), QStringLiteral("标出<S>"));
    EXPECT_EQ(e->Vendor, QStringLiteral("Test"));
    EXPECT_EQ(e->Arguments, QStringLiteral("7S"));
    EXPECT_EQ(lib.Entries().back().Name, QStringLiteral("MARKTEST"));

    TQREvaluator ev;
    EXPECT_EQ(ev.Calculate(QStringLiteral("marktest('a')")).strResult, QStringLiteral("<a>"));
    // A function's error without a message gets one naming the call.
    EXPECT_EQ(ev.Calculate(QStringLiteral("1+MarkTest(2)")).strResult, QStringLiteral("函数 MARKTEST 出错 (第3个字符)"));
}

TEST(FunctionLibrary, StandardSetIsListed)
{
    for (const char* name : {"IF", "SUM", "COUNT", "MAX", "MIN", "AVERAGE", "STR", "UPPER", "LOWER", "COPY", "INT",
                             "FRAC", "DATE", "TIME", "FORMATNUMERIC", "ISNULL"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QRFunctionLibrary().Contains(QString::fromLatin1(name)));
    }
}

TEST(FunctionLibrary, ElementFunctionArguments)
{
    MarkFunction f;
    EXPECT_EQ(f.ArgCount(), 0);
    EXPECT_EQ(f.Argument(0).Kind, resError);
    f.SetArguments({TQREvResult::String(QStringLiteral("q"))});
    EXPECT_EQ(f.ArgCount(), 1);
    EXPECT_EQ(f.Calculate().strResult, QStringLiteral("<q>"));
}

} // namespace
