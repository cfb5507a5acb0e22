// The library's report functions, one table per function: argument counts and kinds, the
// documented examples and the choices made where the rules leave room.
#include "tests/usystem/vcl/report/FunctionCall.h"

#include "usystem/vcl/report/uQxQryexpr.h"

#include "platform/report/QREvaluator.h"
#include "platform/rtl/SysUtils.h"

using namespace qxtest;

TEST(ReportFunctions, RmbDx)
{
    checkTable<TQREvRmbDxFunction>({
        {"float", {F(1.23)}, S(" 仟 佰 拾 万 仟 佰￥拾壹元贰角叁分")},
        {"integer", {I(100)}, S(" 仟 佰 拾 万￥仟壹佰零拾零元零角零分")},
        {"zero", {I(0)}, S("")},
        {"string", {S("1")}, Err()},
        {"no argument", {}, Err()},
        {"two arguments", {F(1), F(2)}, Err()},
    });
}

TEST(ReportFunctions, Rmb)
{
    checkTable<TQREvYuanFunction>({
        {"float", {F(1234.5)}, S("￥1,234.50")},
        {"negative integer", {I(-3)}, S("￥-3.00")},
        {"string", {S("3")}, Err()},
        {"no argument", {}, Err()},
        {"two arguments", {I(1), I(2)}, Err()},
    });
}

TEST(ReportFunctions, LongDates)
{
    checkTable<TQREvLongDateFunction>({
        {"date", {S("2005-03-07")}, S("2005年03月07日")},
        {"date and time", {S("2005-03-07 10:20:30")}, S("2005年03月07日")},
        {"no date", {S("abc")}, S("    年  月  日")},
        {"empty", {S("")}, S("    年  月  日")},
        {"number", {I(3)}, Err()},
        {"no argument", {}, Err()},
    });
    checkTable<TQREvLongDate1Function>({
        {"date", {S("2005-3-7")}, S("2005-03-07")},
        {"no date", {S("2005-02-30")}, S("          ")},
        {"number", {F(3)}, Err()},
        {"two arguments", {S("2005-03-07"), S("2005-03-07")}, Err()},
    });
}

TEST(ReportFunctions, CurrencyTakesAnyArguments)
{
    checkTable<TQREvCurrencyFunction>({
        {"none", {}, S("￥")},
        {"some", {I(1), S("x")}, S("￥")},
    });
}

TEST(ReportFunctions, StrToIntAndStrToNum)
{
    checkTable<TQREvStrToIntFunction>({
        {"number", {S("42")}, I(42)},
        {"negative", {S("-7")}, I(-7)},
        {"not a number", {S("4x")}, Err()},
        {"float text", {S("1.5")}, Err()},
        {"beyond 32 bits", {S("3000000000")}, Err()},
        {"integer", {I(4)}, Err()},
        {"no argument", {}, Err()},
    });
    checkTable<TQREvStrToNumFunction>({
        {"float text", {S("1.5")}, F(1.5)},
        {"empty", {S("")}, F(0)},
        {"not a number", {S("abc")}, Err()},
        {"float", {F(1.5)}, Err()},
        {"two arguments", {S("1"), S("2")}, Err()},
    });
}

TEST(ReportFunctions, DateDiffAndFormatDateTime)
{
    checkTable<TQREvDateDiffFunction>({
        {"forward", {S("2005-01-01"), S("2005-03-01")}, F(59)},
        {"backward", {S("2005-03-01"), S("2005-01-01")}, F(-59)},
        {"no date", {S("2005-01-01"), S("x")}, Err()},
        {"number", {S("2005-01-01"), I(1)}, Err()},
        {"one argument", {S("2005-01-01")}, Err()},
    });
    checkTable<TQREvFormatDateTimeFunction>({
        // "/" stands for the date separator.
        {"format", {S("2005-03-07 08:09:10"), S("yyyy/mm/dd hh:nn")}, S("2005-03-07 08:09")},
        {"words", {S("2005-03-07"), S("yyyy\"年\"m\"月\"")}, S("2005年3月")},
        {"no date", {S("nothing"), S("yyyy")}, Err()},
        {"number format", {S("2005-03-07"), I(1)}, Err()},
        {"one argument", {S("2005-03-07")}, Err()},
    });
}

TEST(ReportFunctions, CalcDate)
{
    checkTable<TQREvCalcDateFunction>({
        {"twelve months back", {S("2005-01-15"), I(0), I(-12), I(0)}, S("2004-01-15")},
        {"thirteen months back", {S("2005-01-15"), I(0), I(-13), I(0)}, S("2003-12-15")},
        {"thirty days", {S("2005-01-15"), I(30), I(0), I(0)}, S("2005-02-14")},
        {"day runs on into the next month", {S("2005-01-31"), I(0), I(1), I(0)}, S("2005-03-03")},
        {"leap year runs on less", {S("2004-01-31"), I(0), I(1), I(0)}, S("2004-03-02")},
        {"years", {S("2004-02-29"), I(0), I(0), I(1)}, S("2005-03-01")},
        {"months forward over a year", {S("2005-11-10"), I(0), I(14), I(0)}, S("2007-01-10")},
        // Beyond the old 16-bit day scale the dates go on correctly.
        {"after 2079-06-06", {S("2079-06-06"), I(1), I(0), I(0)}, S("2079-06-07")},
        {"2100 is no leap year", {S("2100-02-28"), I(1), I(0), I(0)}, S("2100-03-01")},
        {"first day", {S("1900-01-02"), I(-1), I(0), I(0)}, S("1900-01-01")},
        {"before 1900", {S("1900-01-01"), I(-1), I(0), I(0)}, Err()},
        {"input before 1900", {S("1899-12-31"), I(1), I(0), I(0)}, Err()},
        {"last day", {S("9999-12-30"), I(1), I(0), I(0)}, S("9999-12-31")},
        {"after 9999", {S("9999-12-31"), I(1), I(0), I(0)}, Err()},
        {"years beyond 9999", {S("2000-01-01"), I(0), I(0), I(100000)}, Err()},
        {"months far back", {S("2000-01-01"), I(0), I(-2147483647 - 1), I(0)}, Err()},
        {"no date", {S("2005-13-01"), I(0), I(0), I(0)}, Err()},
        {"float days", {S("2005-01-15"), F(1), I(0), I(0)}, Err()},
        {"three arguments", {S("2005-01-15"), I(1), I(0)}, Err()},
    });
}

TEST(ReportFunctions, ExtractAndDayOfWeek)
{
    checkTable<TQREvExtractDayFunction>({
        {"day", {S("2005-03-07")}, I(7)},
        {"no date", {S("x")}, Err()},
        {"number", {I(1)}, Err()},
    });
    checkTable<TQREvExtractMonthFunction>({
        {"month", {S("2005-03-07 10:00:00")}, I(3)},
        {"no argument", {}, Err()},
    });
    checkTable<TQREvExtractYearFunction>({
        {"year", {S("2005-03-07")}, I(2005)},
        {"two arguments", {S("2005-03-07"), S("2005-03-07")}, Err()},
    });
    checkTable<TQREvDayOfWeekFunction>({
        {"Sunday", {S("2005-03-06")}, I(1)},
        {"Saturday", {S("2005-03-12")}, I(7)},
        {"no date", {S("")}, Err()},
    });
}

TEST(ReportFunctions, DayAndMonthNames)
{
    checkTable<TQREvDayStringFunction>({
        {"Sunday", {I(1)}, S("星期日")},
        {"Monday", {I(2)}, S("星期一")},
        {"Saturday", {I(7)}, S("星期六")},
        {"zero", {I(0)}, Err()},
        {"eight", {I(8)}, Err()},
        {"float", {F(1)}, Err()},
        {"string", {S("1")}, Err()},
    });
    checkTable<TQREvMonthStringFunction>({
        {"January", {I(1)}, S("一月")},
        {"December", {I(12)}, S("十二月")},
        {"zero", {I(0)}, Err()},
        {"thirteen", {I(13)}, Err()},
        {"no argument", {}, Err()},
    });
}

TEST(ReportFunctions, CalcTime)
{
    checkTable<TQREvCalcTimeFunction>({
        {"seconds carry", {S("12:00:30"), I(0), I(0), I(30)}, S("12:01:00")},
        {"past midnight", {S("23:30:00"), I(1), I(0), I(0)}, S("00:30:00")},
        {"before midnight", {S("00:00:10"), I(0), I(0), I(-20)}, S("23:59:50")},
        {"minutes back", {S("10:05:00"), I(0), I(-10), I(0)}, S("09:55:00")},
        {"many days of hours", {S("01:00:00"), I(2147483647), I(0), I(0)}, S("08:00:00")},
        {"no time", {S("25:00:00"), I(0), I(0), I(0)}, Err()},
        {"float", {S("10:00:00"), I(0), I(0), F(1)}, Err()},
        {"two arguments", {S("10:00:00"), I(0)}, Err()},
    });
}

TEST(ReportFunctions, TrimAndStrLen)
{
    checkTable<TQREvTrimFunction>({
        {"spaces", {S("  a b  ")}, S("a b")},
        {"tabs stay", {S("\ta\t ")}, S("\ta\t")},
        {"only spaces", {S("   ")}, S("")},
        {"number", {I(1)}, Err()},
    });
    checkTable<TQREvStrLenFunction>({
        {"letters", {S("abc")}, I(3)},
        {"two Chinese characters", {S("中文")}, I(4)},
        {"empty", {S("")}, I(0)},
        {"float", {F(1)}, Err()},
    });
}

TEST(ReportFunctions, StretchStr)
{
    checkTable<TQREvStretchStrFunction>({
        {"letters", {S("abc"), I(2)}, S("a  b  c")},
        {"Chinese characters stay whole", {S("中文"), I(1)}, S("中 文")},
        {"no spaces", {S("abc"), I(0)}, S("abc")},
        {"negative gap", {S("abc"), I(-3)}, S("abc")},
        {"trailing spaces of the source go", {S("ab  "), I(1)}, S("a b")},
        {"long result is cut at 255 bytes", {S("ab"), I(300)}, S("a")},
        {"float gap", {S("abc"), F(2)}, Err()},
        {"one argument", {S("abc")}, Err()},
    });
}

TEST(ReportFunctions, Chr)
{
    checkTable<TQREvChrFunction>({
        {"letter", {I(65)}, S("A")},
        {"low byte only", {I(256 + 66)}, S("B")},
        {"float", {F(65)}, Err()},
        {"string", {S("A")}, Err()},
    });
}

TEST(ReportFunctions, Abs)
{
    checkTable<TQREvAbsFunction>({
        {"integer stays an integer", {I(-5)}, I(5)},
        {"float stays a float", {F(-2.5)}, F(2.5)},
        {"smallest integer", {I(-2147483647 - 1)}, F(2147483648.0)},
        {"string", {S("-1")}, Err()},
        {"no argument", {}, Err()},
    });
}

TEST(ReportFunctions, Padding)
{
    checkTable<TQREvPadLeftFunction>({
        {"text", {S("ab"), I(5)}, S("   ab")},
        {"integer", {I(42), I(4)}, S("  42")},
        {"float in general form", {F(1.5), I(5)}, S("  1.5")},
        {"Boolean as empty", {B(true), I(2)}, S("  ")},
        {"Chinese counts two", {S("中"), I(3)}, S(" 中")},
        {"length reached", {S("abcdef"), I(3)}, S("abcdef")},
        {"huge length", {S("ab"), I(100000)}, TQREvResult::String(QString(255, u' '))},
        {"float length", {S("ab"), F(5)}, Err()},
        {"one argument", {S("ab")}, Err()},
    });
    checkTable<TQREvPadRightFunction>({
        {"text", {S("ab"), I(5)}, S("ab   ")},
        {"negative length", {S("ab"), I(-1)}, S("ab")},
        {"huge length", {S("ab"), I(100000)}, TQREvResult::String(QStringLiteral("ab") + QString(253, u' '))},
    });
    checkTable<TQREvPadLeftZeroFunction>({
        {"integer", {I(7), I(3)}, S("007")},
        {"text", {S("12"), I(4)}, S("0012")},
        {"length reached", {S("1234"), I(2)}, S("1234")},
        {"float", {F(7), I(3)}, Err()},
        {"float length", {I(7), F(3)}, Err()},
    });
}

TEST(ReportFunctions, InsertStr)
{
    checkTable<TQREvInsertStrFunction>({
        {"one place", {S("第%s页"), S("3")}, S("第3页")},
        {"every place", {S("%s-%s"), S("ab")}, S("ab-ab")},
        {"no place", {S("abc"), S("x")}, S("abc")},
        {"integer", {S("%s"), I(1)}, Err()},
        {"one argument", {S("%s")}, Err()},
    });
}

TEST(ReportFunctions, Round)
{
    checkTable<TQREvRoundFunction>({
        {"one decimal", {F(126.12), I(1)}, F(126.1)},
        {"tens", {F(126.12), I(-1)}, F(130)},
        {"half to even down", {F(2.5), I(0)}, F(2)},
        {"half to even up", {F(3.5), I(0)}, F(4)},
        {"zero point five", {F(0.5), I(0)}, F(0)},
        {"negative", {F(-126.5), I(0)}, F(-126)},
        {"integer value", {I(3), I(0)}, Err()},
        {"float digits", {F(3.5), F(0)}, Err()},
        {"too many digits", {F(3.5), I(40)}, Err()},
        {"one argument", {F(3.5)}, Err()},
    });
}

TEST(ReportFunctions, RegistrationListsTheFunctionsInOrder)
{
    registerLibraryExpressionFunctions();
    registerLibraryExpressionFunctions(); // a second call changes nothing
    const auto& entries = QRFunctionLibrary().Entries();
    QStringList ours;
    for (const TQRFunctionEntry& e : entries) {
        if (e.Vendor == QStringLiteral("RevAzo"))
            ours << e.Name;
    }
    EXPECT_EQ(ours.join(u' '), QStringLiteral("RMBDX RMB LongDate LongDate1 CURRENCY STRTOINT STRTONUM DATEDIFF "
                                              "FORMATDATETIME CALCDATE EXTRACTDAY EXTRACTMONTH EXTRACTYEAR "
                                              "DAYOFWEEK DAYSTRING MONTHSTRING CALCTIME TRIM STRLEN STRETCHSTR "
                                              "CHR ABS PADLEFT PADRIGHT PADLEFTZERO INSERTSTR ROUND"));

    const TQRFunctionEntry* pad = QRFunctionLibrary().Find(QStringLiteral("padleftzero"));
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(pad->Arguments, QStringLiteral("7SN"));
    EXPECT_EQ(pad->Prototype(), QStringLiteral("PADLEFTZERO(<S>,<Len>)"));
    EXPECT_EQ(pad->Help(), QStringLiteral("在字符串< S >前添加0,直至长度为< Len >"));
    const TQRFunctionEntry* round = QRFunctionLibrary().Find(QStringLiteral("ROUND"));
    ASSERT_NE(round, nullptr);
    EXPECT_TRUE(round->Help().endsWith(QStringLiteral("==> 130 ")));

    // A name the engine lists already is left as it is.
    const int before = QRFunctionLibrary().Count();
    EXPECT_FALSE(RegisterReportFunction<TQREvTrimFunction>(QStringLiteral("if"), QStringLiteral("x|y"),
                                                          QStringLiteral("RevAzo"), QStringLiteral("7S")));
    EXPECT_EQ(QRFunctionLibrary().Count(), before);
    EXPECT_NE(QRFunctionLibrary().Find(QStringLiteral("IF"))->Vendor, QStringLiteral("RevAzo"));
}

TEST(ReportFunctions, ExpressionsCallTheRegisteredFunctions)
{
    registerLibraryExpressionFunctions();
    TQREvaluator ev;
    struct Row
    {
        const char* expression;
        TQREvResult expected;
    };
    const Row rows[] = {
        {"RMB(1234.5)", S("￥1,234.50")},
        {"'第'+PADLEFTZERO(7,3)+'号'", S("第007号")},
        {"CALCDATE('2005-01-31',0,1,0)", S("2005-03-03")},
        {"ROUND(126.12,-1)", F(130)},
        {"STRLEN(TRIM('  中文 '))", I(4)},
        {"CURRENCY", S("￥")},
    };
    for (const Row& r : rows)
        EXPECT_TRUE(sameResult(ev.Calculate(QString::fromUtf8(r.expression)), r.expected)) << r.expression;
    EXPECT_TRUE(ev.Calculate(QStringLiteral("DAYSTRING(9)")).IsError());
}
