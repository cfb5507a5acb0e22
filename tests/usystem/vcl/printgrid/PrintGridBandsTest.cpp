// The head and foot lines of the grid printer: splitting a line at its markers, and the page
// header, page footer, title and grid-foot bands built from the settings.
#include "tests/usystem/vcl/printgrid/PrintGridFixture.h"

#include "platform/report/QRPrinter.h"
#include "platform/report/RecordingDevice.h"
#include "platform/report/ReportFonts.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <gtest/gtest.h>

using qxtest::printgrid::BandPrinter;
using qxtest::printgrid::describeBand;
using qxtest::printgrid::testFont;

TEST(PrintGridLines, SplitAlignedLine)
{
    const QxGridPrintStateScope keep;
    struct Case
    {
        const char* line;
        const char* left;
        const char* centre;
        const char* right;
    };
    const Case cases[] = {
        {"<<'A'||'B'>>'C'", "'A'", "'B'", "'C'"},
        {">>'C'||'B'<<'A'", "'A'", "'B'", "'C'"},          // markers in any order
        {"'X'<<'A'", "'A'", "", ""},                        // text before "<<" is replaced
        {"'X'||'B'", "'X'", "'B'", ""},                     // text before another marker stays left
        {"'X'>>'C'", "'X'", "", "'C'"},
        {"  'X'  ", "'X'", "", ""},                         // a line without markers is the left part
        {"", "' '", "", ""},                                // an empty line still takes a line
        {"   ", "' '", "", ""},
        {"<<||>>", "' '", "", ""},                          // markers with empty parts
        {"|| 'B' ", "", "'B'", ""},                         // parts are trimmed
        {"<<'A'<<'D'", "'D'", "", ""},                      // a later "<<" replaces the left part
        {"'a|b'||'c>d'", "'a|b'", "'c>d'", ""},             // single marker characters are text
        {"'第 '+PAGENUM+' 页'>>'共'", "'第 '+PAGENUM+' 页'", "", "'共'"},
    };
    for (const Case& c : cases) {
        SplitAlignedLine(QString::fromUtf8(c.line));
        const QxGridPrintState& s = gridPrintState();
        EXPECT_EQ(s.LeftPart, QString::fromUtf8(c.left)) << c.line;
        EXPECT_EQ(s.CenterPart, QString::fromUtf8(c.centre)) << c.line;
        EXPECT_EQ(s.RightPart, QString::fromUtf8(c.right)) << c.line;
    }
}

// Recorded measures of the test font: an expression line in the 9-point face is 16 pixels high,
// a title label in the 12-point face 20; the font's own line is 14 at 9 points.
TEST(PrintGridLines, MeasuresOnTheEnginesDevice)
{
    EXPECT_EQ(MeasureTextHeight("Wg", testFont(9)), 14);
    EXPECT_EQ(MeasureTextHeight("H", testFont(9)), 14);
    EXPECT_EQ(MeasureTextHeight("Wg", testFont(12)), 19);
    EXPECT_EQ(MeasureTextWidth("X", testFont(9)), 7);
    EXPECT_EQ(MeasureTextWidth("宋体", testFont(9)), 24);
    EXPECT_EQ(MeasureTextWidth("", testFont(9)), 0);
}

TEST(PrintGridLines, PageHeaderLines)
{
    struct Case
    {
        QStringList lines;
        int height;
        QStringList printables;
    };
    const Case cases[] = {
        {{}, 0, {}},
        {{"<<'A'||'B'>>'C'", "'X'"},
         16 + 16 + 5,
         {"TsQRExpr <L,0 h16 'A'", "TsQRExpr |C,0 h16 'B'", "TsQRExpr >R,0 h16 'C'", "TsQRExpr <L,16 h16 'X'"}},
        {{""}, 16 + 5, {"TsQRExpr <L,0 h16 ' '"}},
        {{"||'P'", ">>PAGENUM", "'Q'"},
         16 * 3 + 5,
         {"TsQRExpr |C,0 h16 'P'", "TsQRExpr >R,16 h16 PAGENUM", "TsQRExpr <L,32 h16 'Q'"}},
    };
    for (const Case& c : cases) {
        BandPrinter printer;
        printer.SetPageHeadExpr(c.lines);
        printer.BuildPageHeader();
        ASSERT_TRUE(printer.report()->Bands().HasPageHeader()) << c.lines.join('/').toStdString();
        const TQRBand* band = printer.report()->Bands().PageHeaderBand();
        EXPECT_EQ(band->Height(), c.height) << c.lines.join('/').toStdString();
        EXPECT_EQ(describeBand(band), c.printables) << c.lines.join('/').toStdString();
    }
}

TEST(PrintGridLines, ExpressionsOfALineAreAutoSizedAndUnwrapped)
{
    BandPrinter printer;
    printer.SetPageHeadExpr({"<<'A'>>'B'"});
    printer.SetPageHeadFont(testFont(12));
    printer.BuildPageHeader();
    const QList<TQRPrintable*> printables = printer.report()->Bands().PageHeaderBand()->Printables();
    ASSERT_EQ(printables.size(), 2);
    for (TQRPrintable* p : printables) {
        auto* expr = qobject_cast<TsQRExpr*>(p);
        ASSERT_NE(expr, nullptr);
        EXPECT_TRUE(expr->AutoSize());
        EXPECT_FALSE(expr->WordWrap());
        EXPECT_TRUE(expr->AlignToBand());
        EXPECT_EQ(qx::report::fontPointSize(expr->Font()), 12);
    }
}

TEST(PrintGridLines, PageFooterLinesFollowWhatItHolds)
{
    struct Case
    {
        const char* what;
        int existing; // -1: no page footer yet
        QStringList lines;
        int height;
        QStringList printables;
    };
    const Case cases[] = {
        {"new footer, no lines", -1, {}, 0, {}},
        {"kept footer, no lines", 30, {}, 30, {}},
        {"new footer", -1, {"'F'", "<<'G'>>'H'"}, 32, {"TsQRExpr <L,0 h16 'F'", "TsQRExpr <L,16 h16 'G'", "TsQRExpr >R,16 h16 'H'"}},
        {"under what the footer holds", 30, {"'F'"}, 46, {"TsQRExpr <L,30 h16 'F'"}},
    };
    for (const Case& c : cases) {
        BandPrinter printer;
        if (c.existing >= 0) {
            printer.report()->Bands().SetHasPageFooter(true);
            printer.report()->Bands().PageFooterBand()->SetHeight(c.existing);
        }
        printer.SetPageFootExpr(c.lines);
        printer.BuildPageFooter();
        const TQRBand* band = printer.report()->Bands().PageFooterBand();
        ASSERT_NE(band, nullptr) << c.what;
        EXPECT_EQ(band->Height(), c.height) << c.what;
        EXPECT_EQ(describeBand(band), c.printables) << c.what;
    }
}

TEST(PrintGridLines, TitlesAndGridHeadLines)
{
    struct Case
    {
        const char* what;
        QString title1;
        QString title2;
        QStringList head;
        int start;
        int height;
        QStringList printables;
    };
    const Case cases[] = {
        {"nothing", "", " ", {}, 4, 4, {}},
        {"two titles and two lines",
         "T1",
         "T2",
         {"'H1'", "'H2'>>'H3'"},
         0,
         // 25 and 25 for the titles (1.25 x 20), then the lines from 50, each a quarter line
         // lower than where it starts, and 3 under the last
         50 + 16 + 16 + 3,
         {"TsQRLabel |C,0 h20 T1", "TsQRLabel |C,25 h20 T2", "TsQRExpr <L,54 h16 'H1'", "TsQRExpr <L,70 h16 'H2'",
          "TsQRExpr >R,70 h16 'H3'"}},
        {"second title alone, on what the band holds", "  ", "T2", {}, 10, 10 + 25, {"TsQRLabel |C,10 h20 T2"}},
        {"lines alone", "", "", {"''"}, 0, 19, {"TsQRExpr <L,4 h16 ''"}},
    };
    for (const Case& c : cases) {
        BandPrinter printer;
        printer.SetPageTitle1(c.title1);
        printer.SetPageTitle2(c.title2);
        printer.SetGridHeadExpr(c.head);
        TQRBand* band = printer.newBand(c.start);
        printer.BuildTitleBand(band);
        EXPECT_EQ(band->Height(), c.height) << c.what;
        EXPECT_EQ(describeBand(band), c.printables) << c.what;
        for (TQRPrintable* p : band->Printables())
            EXPECT_TRUE(p->Transparent()) << c.what;
    }
}

TEST(PrintGridLines, GridFootLines)
{
    BandPrinter printer;
    TQRBand* band = printer.newBand(7);
    printer.BuildGridFooterBand(band);
    EXPECT_EQ(band->Height(), 7 + 16 + 3);
    EXPECT_EQ(describeBand(band),
              QStringList{"TsQRExpr <L,11 h16 '第 '+PAGENUM+' 页'+IF(SPANPAGENUM>1,' (续页)',' ')"});

    BandPrinter empty;
    empty.SetGridFootExpr({});
    TQRBand* untouched = empty.newBand(7);
    empty.BuildGridFooterBand(untouched);
    EXPECT_EQ(untouched->Height(), 7);
    EXPECT_TRUE(untouched->Printables().isEmpty());
}

TEST(PrintGridLines, NoReportNoPrintables)
{
    BandPrinter printer;
    printer.SetPageTitle1("T1");
    printer.SetPageHeadExpr({"'A'"});
    printer.dropReport();
    // Without a report the builders leave everything alone (and do not crash).
    printer.BuildPageHeader();
    printer.BuildPageFooter();
    printer.BuildTitleBand(nullptr);
    printer.BuildGridFooterBand(nullptr);
    EXPECT_EQ(printer.Report(), nullptr);
}

TEST(PrintGridLines, PrintedPageShowsThePartsWhereTheyBelong)
{
    BandPrinter printer;
    printer.SetPageHeadExpr({"<<'左'||'中'>>'右'"});
    printer.SetPageTitle1(QStringLiteral("维修单"));
    printer.BuildPageHeader();
    printer.BuildTitleBand(printer.report()->Bands().PageHeaderBand());
    printer.report()->Bands().SetHasDetail(true);
    printer.report()->Prepare();
    ASSERT_NE(printer.report()->QRPrinter(), nullptr);
    const QList<QList<qx::report::RecordedItem>> pages = qx::report::recordPages(*printer.report()->QRPrinter());
    ASSERT_EQ(pages.size(), 1);

    // The engine's page: A4 with 10 mm margins, so the band runs from 100 to 2000 (0.1 mm).
    QHash<QString, QRectF> boxes;
    for (const qx::report::RecordedItem& item : pages.first())
        if (item.kind == qx::report::RecordedItem::Text)
            boxes.insert(item.text, item.box);
    ASSERT_TRUE(boxes.contains("左") && boxes.contains("中") && boxes.contains("右") && boxes.contains("维修单"))
        << QStringList(boxes.keys()).join(',').toStdString();
    // An auto-sized expression is sized to its source text when placed and to its value when
    // it prints; the printables keep the right-aligned and centred ones where the source text
    // put them (a few tenths of a millimetre in from the edge or the middle).
    EXPECT_NEAR(boxes["左"].left(), 100, 2);
    EXPECT_NEAR(boxes["中"].center().x(), 1050, 15);
    EXPECT_LE(boxes["右"].right(), 2000.5);
    EXPECT_GE(boxes["右"].right(), 1970);
    EXPECT_NEAR(boxes["维修单"].center().x(), 1050, 2);
    EXPECT_EQ(boxes["左"].top(), boxes["右"].top());
    // The title stands under the header line: 16 + 5 pixels lower, in 0.1 mm at 96 dpi.
    EXPECT_NEAR(boxes["维修单"].top() - boxes["左"].top(), 21 * 254.0 / 96, 6);
}
