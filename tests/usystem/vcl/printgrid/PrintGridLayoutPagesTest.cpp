// The pages of a grid print: the paged layout with its blank rows, page sums and total row,
// groups with headings and sums, master mode, and the order of the pages of the span parts.
#include "PrintGridLayoutFixture.h"

#include <gtest/gtest.h>

#include "platform/report/DataModules.h"
#include "platform/report/QRShapes.h"

#include <QHash>

namespace gplayout {

// The top of each text of a page in whole pixels from the top margin (the first occurrence).
QHash<QString, int> textTops(const TQuickRep& report, int page)
{
    QHash<QString, int> out;
    const QList<QList<qx::report::RecordedItem>> pages = qx::report::recordPages(*report.QRPrinter());
    const double top = report.Page().TopMarginUnits();
    for (const qx::report::RecordedItem& item : pages.value(page)) {
        if (item.kind == qx::report::RecordedItem::Text && !out.contains(item.text))
            out.insert(item.text, int(std::lround(qx::report::unitsToPixels(item.box.top() - top))));
    }
    return out;
}

struct PagedCase
{
    const char* name;
    int rows;
    bool totals;
    QList<int> dataRows; // data rows on each page
    // On the last page: the row index (from 0, counting data and blank rows) of the page sum
    // row (-1: not shown) and of the total row (-1: none).
    int lastPageSumRow;
    int lastTotalRow;
};

class PrintGridLayoutPaged : public ::testing::TestWithParam<PagedCase>
{
};

const PagedCase kPagedCases[] = {
    // 3 data rows and 7 blank rows close the last page
    {"LastPagePadded", 23, false, {10, 10, 3}, 10, -1},
    // the last blank row gives way to the total row
    {"LastPagePaddedWithTotal", 23, true, {10, 10, 3}, 9, 10},
    // a last page that is full: its page sum row gives way to the total row
    {"LastPageFullWithTotal", 20, true, {10, 10}, -1, 10},
    // no page was ever full: the blank rows take no room
    {"FirstPageNeverFills", 3, false, {3}, 3, -1},
    {"FirstPageNeverFillsWithTotal", 3, true, {3}, 3, 4},
};

TEST_P(PrintGridLayoutPaged, RowsBlankRowsAndSums)
{
    const PagedCase& c = GetParam();
    LayoutPrint print(c.rows);
    print.printer.SetColumnsLayout({"A,200", "Qty,100"});
    print.printer.SetRowsPerPage(10);
    print.printer.SetSumOnEachPage(true);
    print.printer.SetSumPageColumn({"A,'页计'"});
    if (c.totals)
        print.printer.SetSumTotalColumn({"A,'合计'"});
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);

    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_EQ(pages.size(), c.dataRows.size());
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(countStarting(pages[p], "a"), c.dataRows[p]) << "page " << p + 1;
        // One page sum row closes every page but a last full one with a total row (the
        // filler's footer prints only after the filler produced a row).
        const bool lastPage = p + 1 == pages.size();
        EXPECT_EQ(countStarting(pages[p], "页计"), lastPage && c.lastPageSumRow < 0 ? 0 : 1) << "page " << p + 1;
        EXPECT_EQ(countStarting(pages[p], "合计"), lastPage && c.totals ? 1 : 0) << "page " << p + 1;
    }

    // A second run of the same report (the counting pass of a print) lays out the same pages.
    report->Prepare();
    EXPECT_EQ(pageTexts(*report), pages);

    // Rows are one row height minus the shared rule apart.
    const int step = rowHeightOf(print.printer.DataFont()) - 1;
    const int last = int(pages.size()) - 1;
    const QHash<QString, int> tops = textTops(*report, last);
    const QString firstRow = QStringLiteral("a%1").arg(last * 10 + 1, 2, 10, QLatin1Char('0'));
    ASSERT_TRUE(tops.contains(firstRow));
    const int y0 = tops.value(firstRow);
    if (c.lastPageSumRow >= 0) {
        EXPECT_EQ(tops.value("页计", -1), y0 + c.lastPageSumRow * step);
    }
    if (c.lastTotalRow >= 0) {
        EXPECT_EQ(tops.value("合计", -1), y0 + c.lastTotalRow * step);
    }
    // The last row is on the page, the next would not be.
    EXPECT_EQ(tops.value(QStringLiteral("a%1").arg(c.rows, 2, 10, QLatin1Char('0')), -1),
              y0 + (c.dataRows.last() - 1) * step);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutPaged, ::testing::ValuesIn(kPagedCases),
                         [](const ::testing::TestParamInfo<PagedCase>& info) { return std::string(info.param.name); });

TEST(PrintGridLayoutPages, RowsPerPageFromThePageHeight)
{
    LayoutPrint print(120);
    print.printer.SetColumnsLayout({"A,200", "Qty,100"});
    print.printer.SetSumOnEachPage(true);
    print.printer.SetSumPageColumn({"A,'页计'"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);

    // Room between the margins, less the page header and footer as built before the rows were
    // counted, the column titles and the page sum row; one row is kept free.
    const int step = rowHeightOf(print.printer.DataFont()) - 1;
    const int titleBand = rowHeightOf(print.printer.GridHeadFont()) - 1;
    const int room = int(qx::report::unitsToPixels(report->Page().PrintableLengthUnits()));
    const int footerBefore = report->Bands().PageFooterBand()->Height();
    const int rows = print.printer.RowsPerPage();
    ASSERT_GT(rows, 0);
    const int header = report->Bands().PageHeaderBand()->Height();
    const int footer = report->Bands().PageFooterBand()->Height();
    // The footer grew by what the rows leave free, so header, titles, rows, page sum and
    // footer fill the room.
    EXPECT_EQ(header + titleBand + rows * step + step + footer, room);
    EXPECT_LE(footer - footerBefore, room);
    report->Prepare();
    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_GT(pages.size(), 1);
    EXPECT_EQ(countStarting(pages[0], "a"), rows);
    EXPECT_EQ(countStarting(pages[0], "页计"), 1);
}

TEST(PrintGridLayoutPages, AllPagesOfOnePartComeBeforeTheNextPart)
{
    LayoutPrint print(12);
    print.printer.SetColumnsLayout({"A,600", "C,600"});
    print.printer.SetRowsPerPage(5);
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);
    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_EQ(pages.size(), 6);
    const QList<int> aRows{5, 5, 2, 0, 0, 0};
    const QList<int> cRows{0, 0, 0, 5, 5, 2};
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(countStarting(pages[p], "a"), aRows[p]) << "page " << p + 1;
        EXPECT_EQ(countStarting(pages[p], "c"), cRows[p]) << "page " << p + 1;
        // The column titles of the part on every page of it.
        EXPECT_EQ(pages[p].count(p < 3 ? "A" : "C"), 1) << "page " << p + 1;
    }
    EXPECT_EQ(pages[3].value(pages[3].indexOf("C") + 1), "c01");
}

TEST(PrintGridLayoutPages, GroupsWithHeadingsAndGroupSums)
{
    LayoutPrint print(7, 3);
    print.printer.SetColumnsLayout({"A,200", "Qty,100"});
    print.printer.SetGroupExpr("Grp");
    print.printer.SetGroupTitleExpr("'组 '+Grp");
    print.printer.SetSumPageColumn({"A,'小计'", "Qty,SUM(Qty)"});
    print.printer.SetGroupSumExpr({"'行数 '+COUNT"});
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);
    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_EQ(pages.size(), 1);
    const QStringList expected{"组 G1", "A", "Qty", "a01", "1", "a02", "2", "a03", "3", "小计", "6",
                               "组 G2", "A", "Qty", "a04", "4", "a05", "5", "a06", "6", "小计", "15",
                               "组 G3", "A", "Qty", "a07", "7", "小计", "7",
                               "行数 7"};
    // (A text mixing Chinese and Latin letters may be recorded in pieces.)
    EXPECT_EQ(pages[0].join(QString()), expected.join(QString()));

    // The group heading is centred in a band one and a half lines high; the titles stand
    // under it.
    TQRGroup* group = bandsOf<TQRGroup>(*report).value(0);
    ASSERT_NE(group, nullptr);
    const QList<TsQRLabel*> titles = cellsOf<TsQRLabel>(group);
    ASSERT_EQ(titles.size(), 2);
    const int titleHeight = rowHeightOf(print.printer.GridHeadFont());
    EXPECT_EQ(titles[0]->Top(), group->Height() - (titleHeight - 1));
    const QList<TsQRExpr*> heading = cellsOf<TsQRExpr>(group);
    ASSERT_EQ(heading.size(), 1);
    EXPECT_EQ(titles[0]->Top(), int(Round(1.5 * heading[0]->Height())));
    EXPECT_EQ(heading[0]->Top(), (titles[0]->Top() - heading[0]->Height()) / 2);
}

struct MasterCase
{
    const char* name;
    bool forceNewPage;
    int rowsPerPage;
    int pages;
};

class PrintGridLayoutMaster : public ::testing::TestWithParam<MasterCase>
{
};

const MasterCase kMasterCases[] = {
    {"NewPagePerMaster", true, 0, 2},
    {"MastersFlowOn", false, 0, 1},
    // paged: two rows a page, the third row of each master padded on a page of its own
    {"PagedPerMaster", true, 2, 4},
};

TEST_P(PrintGridLayoutMaster, TheTableOnceForEveryMasterRecord)
{
    const MasterCase& c = GetParam();
    LayoutPrint print(3);
    auto masters = makeTable(2);
    masters->setObjectName("Masters");
    print.printer.SetMasterDataSet(masters.get());
    print.printer.SetMasterForceNewPage(c.forceNewPage);
    print.printer.SetRowsPerPage(c.rowsPerPage);
    print.printer.SetColumnsLayout({"A,200", "Qty,100"});
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);
    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_EQ(pages.size(), c.pages);
    QStringList all;
    for (const QStringList& page : pages)
        all << page;
    EXPECT_EQ(all, (QStringList{"A", "Qty", "a01", "1", "a02", "2", "a03", "3",
                                "A", "Qty", "a01", "1", "a02", "2", "a03", "3"}));
    // In master mode the titles stand on each part's data band header.
    EXPECT_TRUE(dataBands(*report).value(0)->Bands().HasHeader());
    print.printer.SetReportPrepared(false);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutMaster, ::testing::ValuesIn(kMasterCases),
                         [](const ::testing::TestParamInfo<MasterCase>& info) { return std::string(info.param.name); });


TEST(PrintGridLayoutPages, FlowingLayoutClosesEachPartWithItsGridFoot)
{
    LayoutPrint print(4);
    print.printer.SetColumnsLayout({"A,600", "C,600"});
    print.printer.SetGridFootExpr({"'表尾'"});
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);
    // Each part starts on a page of its own; the grid foot follows its last row.
    const QList<QStringList> pages = pageTexts(*report);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].join(QString()), "Aa01a02a03a04表尾");
    EXPECT_EQ(pages[1].join(QString()), "Cc01c02c03c04表尾");

    // A grey rule as wide as the table closes it, on the footer of each part's data band:
    // the first part's column is stretched to the page, the second keeps its width.
    const QList<int> widths{1001, 601};
    const QList<TQRSubDetail*> data = dataBands(*report);
    ASSERT_EQ(data.size(), 2);
    for (qsizetype part = 0; part < data.size(); ++part) {
        const QList<TQRShape*> rules = cellsOf<TQRShape>(data[part]->Bands().FooterBand());
        ASSERT_EQ(rules.size(), 1);
        EXPECT_EQ(rules[0]->Shape(), qrsHorLine);
        EXPECT_EQ(rules[0]->Width(), widths[part]);
        EXPECT_EQ(rules[0]->Top(), -1);
        EXPECT_EQ(rules[0]->Pen().Color, TColor(0x808080));
    }
}

TEST(PrintGridLayoutPages, ExpressionsNameTheDataSetsOfTheOwnerAndOfDataModules)
{
    auto named = [](const QString& name, const QString& value, QObject* parent) {
        auto table = makeTable(1);
        table->setObjectName(name);
        table->Edit();
        table->FieldByName("A")->SetAsString(value);
        table->Post();
        table->setParent(parent);
        return table.release();
    };
    QWidget owner;
    named("Shop", "店", &owner);
    auto* panel = new QWidget(&owner);
    named("Desk", "台", panel);
    QObject module;
    named("Module", "模", &module);
    qx::registerDataModule(&module);

    QxGridPrintStateScope scope;
    auto items = makeTable(1);
    TQxPrintGrid printer(&owner);
    printer.SetGridFootExpr({});
    printer.SetDataSet(items.get());
    printer.SetColumnsLayout({"A,100", "B,100", "C,100"});
    printer.SetSumTotalColumn({"A,Shop.A", "B,Desk.A", "C,Module.A"});
    printer.SetReportPrepared(true);
    ASSERT_NE(printer.Report(), nullptr);
    printer.Report()->Prepare();
    EXPECT_EQ(pageTexts(*printer.Report()).value(0).join(QString()), "ABCa01b01c01店台模");
    printer.SetReportPrepared(false);
    qx::unregisterDataModule(&module);
}


TEST(PrintGridLayoutPages, ProgressCountsTheRowsOfEveryPart)
{
    LayoutPrint print(4);
    print.printer.SetColumnsLayout({"A,600", "C,600"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    QList<int> progress;
    const TQRReportBeforePrintEvent built = report->BeforePrint;
    report->BeforePrint = [&](TQuickRep* Sender, bool& PrintReport) {
        built(Sender, PrintReport);
        QObject::connect(Sender->QRPrinter(), &TQRPrinter::progressChanged, [&](int value) { progress << value; });
    };
    report->Prepare();
    // Four rows in each of two parts: every printed row is an eighth of the print.
    QList<int> rows;
    for (int value : progress) {
        if (value > 0)
            rows << value;
    }
    EXPECT_EQ(rows.mid(0, 8), (QList<int>{12, 25, 37, 50, 62, 75, 87, 100}));
    EXPECT_EQ(gridPrintState().PrintedRows, 8);
    EXPECT_EQ(gridPrintState().CurrentReport, report);
}

} // namespace gplayout
