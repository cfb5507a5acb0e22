// The page-number functions outside a report run, their registration, and the PAGECOUNT test.
#include "PrintGridPrintFixture.h"

#include "platform/report/QRFunctions.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <gtest/gtest.h>

using namespace qxprinttest;

TEST(PageFunctionRegistration, ListsThirtyOneFunctionsInOrderWithTheVendorOnce)
{
    registerLibraryReportFunctions();
    const int count = QRFunctionLibrary().Count();
    registerLibraryReportFunctions(); // a second start-up changes nothing
    EXPECT_EQ(QRFunctionLibrary().Count(), count);

    QStringList names;
    for (const TQRFunctionEntry& entry : QRFunctionLibrary().Entries()) {
        if (entry.Vendor == QStringLiteral("RevAzo"))
            names << entry.Name.toUpper();
    }
    const QStringList expected = {
        "PAGENUM",   "PAGECOUNT",  "SPANPAGENUM", "SPANPAGECOUNT", "RMBDX",       "RMB",          "LONGDATE",
        "LONGDATE1", "CURRENCY",   "STRTOINT",    "STRTONUM",      "DATEDIFF",    "FORMATDATETIME", "CALCDATE",
        "EXTRACTDAY", "EXTRACTMONTH", "EXTRACTYEAR", "DAYOFWEEK",  "DAYSTRING",   "MONTHSTRING",  "CALCTIME",
        "TRIM",      "STRLEN",     "STRETCHSTR",  "CHR",           "ABS",         "PADLEFT",      "PADRIGHT",
        "PADLEFTZERO", "INSERTSTR", "ROUND"};
    EXPECT_EQ(names, expected);

    struct Case
    {
        const char* name;
        const char* description;
    };
    const Case cases[] = {{"PAGENUM", "PageNum|取当前正确的页码(主要是拼页时使用)"},
                          {"PAGECOUNT", "PageCount|总页数"},
                          {"SPANPAGENUM", "SpanPageNum|当前属于第几个拼页"},
                          {"SPANPAGECOUNT", "SpanPageCount|共有多少个拼页"}};
    for (const Case& c : cases) {
        const TQRFunctionEntry* entry = QRFunctionLibrary().Find(QString::fromUtf8(c.name));
        ASSERT_NE(entry, nullptr) << c.name;
        EXPECT_EQ(entry->Description, QString::fromUtf8(c.description)) << c.name;
        EXPECT_EQ(entry->Arguments, QStringLiteral("3")) << c.name;
    }
}

TEST(PageFunctionRegistration, ClearsTheBusyFlag)
{
    const QxGridPrintStateScope keep;
    gridPrintState().PrintBusy = true;
    registerLibraryReportFunctions();
    EXPECT_FALSE(gridPrintState().PrintBusy);
}

// Without a running report (as while the RTF export writes its pages) the page within the part
// stands for the engine's page.
TEST(PageFunctionValues, FollowTheGridPrintState)
{
    registerLibraryReportFunctions();
    struct Case
    {
        int spanCount, currentSpan, spanPageNo, totalPages;
        int pageNum, pageCount, spanPageNum, spanPageCount;
    };
    const Case cases[] = {
        {0, 0, 3, 1, 3, 1, 1, 1},  // no parts, no counting pass: PAGECOUNT is 1
        {0, 0, 2, 7, 2, 7, 1, 1},  // no parts: the counting pass's total
        {1, 0, 2, 6, 2, 3, 1, 2},  // two parts of three pages: 6 div 2
        {1, 1, 3, 6, 3, 3, 2, 2},  // the second part's third page
        {2, 2, 1, 7, 1, 2, 3, 3},  // 7 div 3 = 2
        {3, 0, 1, 2, 1, 1, 1, 4},  // a total below the parts still gives 1
        {0, 0, 1, 0, 1, 1, 1, 1},  // no total at all: 1
    };
    for (const Case& c : cases) {
        const QxGridPrintStateScope keep;
        QxGridPrintState& state = gridPrintState();
        state.CurrentReport = nullptr;
        state.SpanCount = c.spanCount;
        state.CurrentSpan = c.currentSpan;
        state.SpanPageNo = c.spanPageNo;
        state.TotalPages = c.totalPages;
        const QString at = QStringLiteral("parts-1 %1, part %2, page %3, total %4")
                               .arg(c.spanCount).arg(c.currentSpan).arg(c.spanPageNo).arg(c.totalPages);
        const TQREvResult pageNum = evaluate(QStringLiteral("PAGENUM"));
        EXPECT_EQ(pageNum.Kind, resInt) << qPrintable(at);
        EXPECT_EQ(pageNum.intResult, c.pageNum) << qPrintable(at);
        EXPECT_EQ(evaluate(QStringLiteral("PAGECOUNT")).intResult, c.pageCount) << qPrintable(at);
        EXPECT_EQ(evaluate(QStringLiteral("SPANPAGENUM")).intResult, c.spanPageNum) << qPrintable(at);
        EXPECT_EQ(evaluate(QStringLiteral("SPANPAGECOUNT")).intResult, c.spanPageCount) << qPrintable(at);
    }
}

TEST(PageFunctionValues, AnArgumentGivesTheErrorResult)
{
    registerLibraryReportFunctions();
    for (const char* call : {"PAGENUM(1)", "PAGECOUNT('a')", "SPANPAGENUM(1,2)", "SPANPAGECOUNT(0)"})
        EXPECT_TRUE(evaluate(QString::fromUtf8(call)).IsError()) << call;
    // The default grid foot evaluates.
    const QxGridPrintStateScope keep;
    gridPrintState().CurrentReport = nullptr;
    gridPrintState().SpanCount = 1;
    gridPrintState().CurrentSpan = 1;
    gridPrintState().SpanPageNo = 2;
    EXPECT_EQ(evaluate(QStringLiteral("'第 '+PAGENUM+' 页'+IF(SPANPAGENUM>1,' (续页)',' ')")).strResult,
              QStringLiteral("第 2 页 (续页)"));
}

TEST(PageCountTest, RefersToPageCountLooksAtEveryOccurrence)
{
    struct Case
    {
        const char* text;
        bool refers;
    };
    const Case cases[] = {
        {"PAGECOUNT", true},
        {"'共 '+pagecount+' 页'", true},
        {"'第 '+PAGENUM+' 页'+IF(SPANPAGENUM>1,' (续页)',' ')", false},
        {"SPANPAGECOUNT", false},
        {"'共'+SpanPageCount+'拼页'", false},
        {"SPANPAGECOUNT+'/'+PAGECOUNT", true},
        {"SPANPAGECOUNT+'/'+SPANPAGECOUNT", false},
        {"PAGECOUNT+SPANPAGECOUNT", true},
        {"", false},
        {"PAGE COUNT", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TQxPrintGrid::RefersToPageCount(QString::fromUtf8(c.text)), c.refers) << c.text;
}

TEST(PageCountTest, NeedsPageCountLooksAtEveryExpressionSetting)
{
    using Setter = void (*)(TQxPrintGrid&, const QString&);
    struct Case
    {
        const char* setting;
        Setter set;
    };
    const Case cases[] = {
        {"GridFootExpr", [](TQxPrintGrid& p, const QString& v) { p.SetGridFootExpr({v}); }},
        {"GridHeadExpr", [](TQxPrintGrid& p, const QString& v) { p.SetGridHeadExpr({QStringLiteral("'x'"), v}); }},
        {"GroupSumExpr", [](TQxPrintGrid& p, const QString& v) { p.SetGroupSumExpr({v}); }},
        {"GroupTitleExpr", [](TQxPrintGrid& p, const QString& v) { p.SetGroupTitleExpr(v); }},
        {"PageHeadExpr", [](TQxPrintGrid& p, const QString& v) { p.SetPageHeadExpr({v}); }},
        {"PageFootExpr", [](TQxPrintGrid& p, const QString& v) { p.SetPageFootExpr({v}); }},
        {"SumPageColumn", [](TQxPrintGrid& p, const QString& v) { p.SetSumPageColumn({QStringLiteral("Code,") + v}); }},
        {"SumTotalColumn", [](TQxPrintGrid& p, const QString& v) { p.SetSumTotalColumn({QStringLiteral("Code,") + v}); }},
    };
    TQxPrintGrid plain;
    EXPECT_FALSE(plain.NeedsPageCount()) << "the default grid foot needs no total";
    for (const Case& c : cases) {
        TQxPrintGrid withTotal;
        c.set(withTotal, QStringLiteral("'共 '+PAGECOUNT+' 页'"));
        EXPECT_TRUE(withTotal.NeedsPageCount()) << c.setting;
        TQxPrintGrid withParts;
        c.set(withParts, QStringLiteral("'共 '+SPANPAGECOUNT+' 拼页'"));
        EXPECT_FALSE(withParts.NeedsPageCount()) << c.setting;
    }
}
