// The page-number functions on the pages of real prints: two span parts, with and without the
// counting pass, and in master mode.
#include "PrintGridPrintFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"

#include "tests/support/Widgets.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace qxprinttest;

namespace {

// The marks "[a b c d]" of every page, in page order.
QStringList pageMarks(const QStringList& pages)
{
    static const QRegularExpression mark(QStringLiteral("\\[[^\\]]*\\]"));
    QStringList out;
    for (const QString& page : pages) {
        const QRegularExpressionMatch m = mark.match(page);
        out << (m.hasMatch() ? m.captured(0) : QStringLiteral("<none>"));
    }
    return out;
}

// Previews printer and returns the texts of the previewed pages.
QStringList previewedPages(TQxPrintGrid& printer)
{
    QStringList pages;
    closePreviewWhenDone([&](TfrmNetScapePreview& preview) { pages = pageTexts(*preview.QRPrinter()); });
    printer.Print(true);
    return pages;
}

// Two columns of 400 pixels: one per span part on an A4 portrait page.
std::unique_ptr<PrintedGrid> twoPartGrid(int rows)
{
    return numberedGrid(rows, 400);
}

} // namespace

class PageFunctionsPrint : public ::testing::Test
{
protected:
    void SetUp() override { registerLibraryReportFunctions(); }
    void TearDown() override { EXPECT_EQ(qx::test::script().unexpected(), 0); }
};

TEST_F(PageFunctionsPrint, TwoSpanPartsOfThreePagesEach)
{
    struct Case
    {
        const char* what;
        const char* foot;
        QStringList marks;
        int totalPages;
    };
    const Case cases[] = {
        {"with the counting pass", "'['+PAGENUM+' '+PAGECOUNT+' '+SPANPAGENUM+' '+SPANPAGECOUNT+']'",
         {"[1 3 1 2]", "[2 3 1 2]", "[3 3 1 2]", "[1 3 2 2]", "[2 3 2 2]", "[3 3 2 2]"}, 6},
        {"without it", "'['+PAGENUM+' '+SPANPAGENUM+' '+SPANPAGECOUNT+']'",
         {"[1 1 2]", "[2 1 2]", "[3 1 2]", "[1 2 2]", "[2 2 2]", "[3 2 2]"}, 1},
    };
    for (const Case& c : cases) {
        auto data = twoPartGrid(9);
        TQxPrintGrid printer;
        printer.SetDBGrid(data->grid());
        printer.SetAutoPageVertToHorz(false);
        printer.SetRowsPerPage(3);
        printer.SetPageFootExpr({QString::fromUtf8(c.foot)});
        const QStringList pages = previewedPages(printer);
        EXPECT_EQ(pageMarks(pages), c.marks) << c.what;
        EXPECT_EQ(gridPrintState().SpanCount, 1) << c.what;
        EXPECT_EQ(gridPrintState().TotalPages, c.totalPages) << c.what;
    }
}

TEST_F(PageFunctionsPrint, TheDefaultGridFootMarksContinuedParts)
{
    auto data = twoPartGrid(3);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetAutoPageVertToHorz(false);
    printer.SetRowsPerPage(3);
    const QStringList pages = previewedPages(printer);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages.at(0).contains(QStringLiteral("第 1 页"))) << qPrintable(pages.at(0));
    EXPECT_FALSE(pages.at(0).contains(QStringLiteral("(续页)")));
    EXPECT_TRUE(pages.at(1).contains(QStringLiteral("第 1 页 (续页)"))) << qPrintable(pages.at(1));
    EXPECT_EQ(gridPrintState().TotalPages, 1); // no counting pass for the default foot
}

TEST_F(PageFunctionsPrint, MasterModeCountsPagesPerPart)
{
    auto data = twoPartGrid(2);
    TQxMemTable masters;
    masters.setObjectName(QStringLiteral("Masters"));
    masters.FieldDefs()->Add(QStringLiteral("No"), ftString, 10);
    masters.Open();
    for (const char* no : {"M1", "M2"}) {
        masters.Append();
        masters.FieldByName(QStringLiteral("No"))->SetAsString(QString::fromUtf8(no));
        masters.Post();
    }
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetMasterDataSet(&masters);
    printer.SetAutoPageVertToHorz(false);
    printer.SetPageFootExpr({QStringLiteral("'['+PAGENUM+' '+SPANPAGECOUNT+']'")});
    const QStringList pages = previewedPages(printer);
    ASSERT_FALSE(pages.isEmpty());
    QStringList expected;
    for (int n = 1; n <= pages.size(); ++n)
        expected << QStringLiteral("[%1 2]").arg((n + 1) / 2);
    EXPECT_EQ(pageMarks(pages), expected);
}
