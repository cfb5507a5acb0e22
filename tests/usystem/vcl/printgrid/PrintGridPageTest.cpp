// The grid printer's page and settings: defaults, the paper table, the rules of the page's
// lengths and the setters.
#include "tests/usystem/vcl/printgrid/PrintGridFixture.h"

#include "platform/report/ReportFonts.h"
#include "platform/ui/Fonts.h"

#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <QBuffer>
#include <QMetaProperty>

#include <gtest/gtest.h>

using qxtest::printgrid::GridData;

TEST(PrintGridPage, NewPrinterHasA4PortraitWithItsMargins)
{
    TQxPrintGrid grid;
    const TPGPage* page = grid.Page();
    EXPECT_EQ(page->PaperSize(), A4);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_DOUBLE_EQ(page->Width(), 210);
    EXPECT_DOUBLE_EQ(page->Length(), 297);
    EXPECT_DOUBLE_EQ(page->TopMargin(), 20);
    EXPECT_DOUBLE_EQ(page->BottomMargin(), 20);
    EXPECT_DOUBLE_EQ(page->LeftMargin(), 15);
    EXPECT_DOUBLE_EQ(page->RightMargin(), 15);
    EXPECT_EQ(page->Owner(), &grid);
}

TEST(PrintGridPage, DimensionsByTheEnginesIndexes)
{
    TQxPrintGrid grid;
    TPGPage* page = grid.Page();
    page->SetPaperSize(Custom);
    struct Case
    {
        int index;
        double value;
        double (TPGPage::*read)() const;
    };
    const Case cases[] = {
        {0, 11, &TPGPage::BottomMargin}, {1, 222, &TPGPage::Length}, {2, 33, &TPGPage::TopMargin},
        {3, 144, &TPGPage::Width},       {4, 5.5, &TPGPage::LeftMargin}, {5, 6.25, &TPGPage::RightMargin},
    };
    for (const Case& c : cases) {
        page->SetDimension(c.index, c.value);
        EXPECT_DOUBLE_EQ((page->*c.read)(), c.value) << "index " << c.index;
        EXPECT_DOUBLE_EQ(page->GetDimension(c.index), c.value) << "index " << c.index;
    }
    for (int index : {-1, 6, 100}) {
        page->SetDimension(index, 999);
        EXPECT_EQ(page->GetDimension(index), 0) << "index " << index;
    }
}

TEST(PrintGridPage, PaperSizesAndOrientationFollowTheTable)
{
    struct Step
    {
        const char* what;
        int paper; // -1: leave the paper size
        int orientation; // -1: leave the orientation
        double width;
        double length;
    };
    const Step steps[] = {
        {"A3 landscape", A3, -1, 297, 420}, // the paper first, still portrait
        {"turn landscape", -1, poLandscape, 420, 297},
        {"turn portrait", -1, poPortrait, 297, 420},
        {"A5", A5, -1, 148, 210},
        {"B5", B5, -1, 182, 257},
        {"Letter", Letter, -1, 215.9, 279.4},
        {"Legal landscape", Legal, poLandscape, 355.6, 215.9},
        {"Default keeps the lengths", Default, -1, 355.6, 215.9},
        {"Default turned keeps them too", -1, poPortrait, 355.6, 215.9},
        {"Custom keeps the lengths", Custom, -1, 355.6, 215.9},
        {"A4 again", A4, -1, 210, 297},
    };
    TQxPrintGrid grid;
    TPGPage* page = grid.Page();
    for (const Step& s : steps) {
        if (s.paper >= 0)
            page->SetPaperSize(TQRPaperSize(s.paper));
        if (s.orientation >= 0)
            page->SetOrientation(TPrinterOrientation(s.orientation));
        EXPECT_NEAR(page->Width(), s.width, 1e-9) << s.what;
        EXPECT_NEAR(page->Length(), s.length, 1e-9) << s.what;
        if (s.paper >= 0) {
            EXPECT_EQ(page->PaperSize(), s.paper) << s.what;
        }
    }
}

TEST(PrintGridPage, LengthsCanBeWrittenOnlyOnCustomPaper)
{
    TQxPrintGrid grid;
    TPGPage* page = grid.Page();
    page->SetWidth(100);
    page->SetLength(100);
    EXPECT_DOUBLE_EQ(page->Width(), 210);
    EXPECT_DOUBLE_EQ(page->Length(), 297);
    page->SetPaperSize(Custom);
    page->SetWidth(100);
    page->SetLength(150);
    EXPECT_DOUBLE_EQ(page->Width(), 100);
    EXPECT_DOUBLE_EQ(page->Length(), 150);
    // Through the published properties as a stored form sets them.
    page->setProperty("Width", 120.5);
    EXPECT_DOUBLE_EQ(page->Width(), 120.5);
}

TEST(PrintGridPage, StoredValuesOutsideTheirRangeAreIgnored)
{
    TQxPrintGrid grid;
    TPGPage* page = grid.Page();
    for (int bad : {-1, int(Custom) + 1, 1000})
        page->setProperty("PaperSize", bad);
    for (int bad : {-1, 2, 77})
        page->setProperty("Orientation", bad);
    EXPECT_EQ(page->PaperSize(), A4);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_DOUBLE_EQ(page->Width(), 210);
}

TEST(PrintGridSettings, PublishedInTheirOrder)
{
    TQxPrintGrid grid;
    QStringList names;
    const QMetaObject* mo = grid.metaObject();
    for (int i = 0; i < mo->propertyCount(); ++i)
        names << QString::fromLatin1(mo->property(i).name());
    const QStringList expected = {
        "objectName", "Tag", "FixedCols", "FixedColor", "PrintGridLine", "GridHeadPanel", "GridHeadPanelStartY", "GridHeadPanelEndY",
        "GridFootPanel", "GridFootPanelStartY", "GridFootPanelEndY", "PageHeadExpr", "PageFootExpr",
        "PageHeadFont", "PageFootFont", "PageTitle1", "PageTitle1Font", "PageTitle2", "PageTitle2Font",
        "GridHeadExpr", "GridHeadExprFont", "GridFootExpr", "GridFootExprFont", "GridHeadFont",
        "GridHeadBColor", "DataFont", "RowSpace", "ZoomToPageWidth", "AllowSpanPage", "AutoPageVertToHorz",
        "TwoPassReport", "Page", "PrintLastPageFooter", "SumOnEachPage", "RowsPerPage",
        "ExportTxtColsPerRow", "GroupExpr", "GroupTitleExpr", "GroupSumExpr", "SumTotalColumn",
        "SumPageColumn", "TitleGroup", "SumFont", "SumBColor", "DBGrid", "DataSet", "MasterDataSet",
        "MasterForceNewPage", "ColumnsLayout", "ColumnsLayoutHint", "GroupFont"};
    EXPECT_EQ(names, expected);
}

TEST(PrintGridSettings, Defaults)
{
    TQxPrintGrid grid;
    const QVariant none = QVariant::fromValue<QObject*>(nullptr);
    struct Case
    {
        const char* name;
        QVariant value;
    };
    const Case cases[] = {
        {"Tag", 0},
        {"FixedCols", 0},
        {"FixedColor", 0xFFFFFF},
        {"PrintGridLine", true},
        {"GridHeadPanelStartY", 0},
        {"GridHeadPanelEndY", 0},
        {"GridFootPanelStartY", 0},
        {"GridFootPanelEndY", 0},
        {"PageHeadExpr", QStringList()},
        {"PageFootExpr", QStringList()},
        {"PageTitle1", QString()},
        {"PageTitle2", QString()},
        {"GridHeadExpr", QStringList()},
        {"GridFootExpr", QStringList{"'第 '+PAGENUM+' 页'+IF(SPANPAGENUM>1,' (续页)',' ')"}},
        {"GridHeadBColor", 0xFFFFFF},
        {"RowSpace", 0.5f},
        {"ZoomToPageWidth", false},
        {"AllowSpanPage", true},
        {"AutoPageVertToHorz", true},
        {"TwoPassReport", false},
        {"PrintLastPageFooter", true},
        {"SumOnEachPage", false},
        {"RowsPerPage", 0},
        {"ExportTxtColsPerRow", 0},
        {"GroupExpr", QString()},
        {"GroupTitleExpr", QString()},
        {"GroupSumExpr", QStringList()},
        {"SumTotalColumn", QStringList()},
        {"SumPageColumn", QStringList()},
        {"TitleGroup", QStringList()},
        {"SumBColor", 0xFFFFFF},
        {"MasterForceNewPage", true},
        {"ColumnsLayout", QStringList()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.property(c.name), c.value) << c.name;
    for (const char* pointer : {"GridHeadPanel", "GridFootPanel", "DBGrid", "DataSet", "MasterDataSet"})
        EXPECT_EQ(grid.property(pointer).value<QObject*>(), nullptr) << pointer;
    EXPECT_FALSE(grid.Prepared());
    EXPECT_EQ(grid.Report(), nullptr);
    EXPECT_EQ(grid.HiddenForm(), nullptr);
    EXPECT_EQ(grid.SpanPart, 0);
    EXPECT_EQ(grid.PageRowCount, 0);
    EXPECT_EQ(grid.PadRows, 0);
    EXPECT_EQ(grid.SavedRowHeight, 0);
    EXPECT_TRUE(grid.FontList().isEmpty());
}

TEST(PrintGridSettings, FontsAreTheLibraryFaceAtTheirSizes)
{
    TQxPrintGrid grid;
    const struct
    {
        const char* name;
        int points;
    } fonts[] = {{"PageHeadFont", 9}, {"PageFootFont", 9},  {"PageTitle1Font", 12}, {"PageTitle2Font", 12},
                 {"GridHeadExprFont", 9}, {"GridFootExprFont", 9}, {"GridHeadFont", 9}, {"DataFont", 9},
                 {"SumFont", 9}, {"GroupFont", 9}};
    for (const auto& f : fonts) {
        const QFont font = grid.property(f.name).value<QFont>();
        EXPECT_EQ(font.family(), qx::kLibraryFontFace) << f.name;
        EXPECT_EQ(qx::report::fontPointSize(font), f.points) << f.name;
    }
}

TEST(PrintGridSettings, ColumnsLayoutHintKeepsItsText)
{
    TQxPrintGrid grid;
    const QString hint = grid.ColumnsLayoutHint();
    EXPECT_TRUE(hint.startsWith("ColumnsLayout属性主要用于手工设置字段的显示顺序和宽度\r格式为：字段名,显示宽度 ;"));
    EXPECT_TRUE(hint.endsWith("\r如果不定义，则按DBGird实际显示,动态设置字段顺序和宽度"));
    grid.setProperty("ColumnsLayoutHint", QStringLiteral("other"));
    grid.SetColumnsLayoutHint(QString());
    EXPECT_EQ(grid.ColumnsLayoutHint(), hint);
}

TEST(PrintGridSettings, FontsAndListsAreCopies)
{
    TQxPrintGrid grid;
    QFont font = qxtest::printgrid::testFont(14);
    QStringList lines{"'A'"};
    grid.SetDataFont(font);
    grid.SetPageHeadExpr(lines);
    font.setBold(true);
    lines << "'B'";
    EXPECT_FALSE(grid.DataFont().bold());
    EXPECT_EQ(grid.PageHeadExpr(), QStringList{"'A'"});
}

TEST(PrintGridSettings, GridAndDatasetClearEachOther)
{
    GridData data({{"Code", ftString, 10}}, {{"A"}});
    TQxMemTable other;
    struct Step
    {
        const char* what;
        TQxDBGrid* grid;   // written when setGrid
        TDataSet* dataSet; // written when setDataSet
        bool setGrid;
        bool setDataSet;
        bool expectGrid;
        bool expectDataSet;
    };
    TQxPrintGrid printer;
    const Step steps[] = {
        {"grid", data.grid(), nullptr, true, false, true, false},
        {"dataset clears the grid", nullptr, &other, false, true, false, true},
        {"grid clears the dataset", data.grid(), nullptr, true, false, true, false},
        {"no dataset leaves the grid", nullptr, nullptr, false, true, true, false},
        {"dataset again", nullptr, &other, false, true, false, true},
        {"no grid leaves the dataset", nullptr, nullptr, true, false, false, true},
    };
    for (const Step& s : steps) {
        if (s.setGrid)
            printer.SetDBGrid(s.grid);
        if (s.setDataSet)
            printer.SetDataSet(s.dataSet);
        EXPECT_EQ(printer.DBGrid() != nullptr, s.expectGrid) << s.what;
        EXPECT_EQ(printer.DataSet() != nullptr, s.expectDataSet) << s.what;
    }
}

TEST(PrintGridSettings, FreedGridDatasetsAndPanelsAreForgotten)
{
    GridData data({{"Code", ftString, 10}}, {{"A"}});
    TQxPrintGrid printer;
    printer.SetDBGrid(data.grid());
    EXPECT_EQ(printer.PrintedDataSet(), &data.table());
    data.destroyGrid();
    EXPECT_EQ(printer.DBGrid(), nullptr);
    EXPECT_EQ(printer.PrintedDataSet(), nullptr);

    auto dataSet = std::make_unique<TQxMemTable>();
    auto master = std::make_unique<TQxMemTable>();
    auto head = std::make_unique<QWidget>();
    auto foot = std::make_unique<QWidget>();
    printer.SetDataSet(dataSet.get());
    printer.SetMasterDataSet(master.get());
    printer.SetGridHeadPanel(head.get());
    printer.SetGridFootPanel(foot.get());
    dataSet.reset();
    master.reset();
    head.reset();
    foot.reset();
    EXPECT_EQ(printer.DataSet(), nullptr);
    EXPECT_EQ(printer.MasterDataSet(), nullptr);
    EXPECT_EQ(printer.GridHeadPanel(), nullptr);
    EXPECT_EQ(printer.GridFootPanel(), nullptr);
}

TEST(PrintGridSettings, SettingsGoThroughTheComponentStream)
{
    TQxPrintGrid printer;
    printer.setObjectName("PrintGrid1");
    printer.SetTag(7);
    printer.SetFixedCols(2);
    printer.SetFixedColor(clYellow);
    printer.SetPageTitle1(QStringLiteral("维修单"));
    printer.SetPageHeadExpr({"<<'A'", "||'B'"});
    printer.SetRowSpace(0.75f);
    printer.SetSumBColor(clSilver);
    printer.Page()->SetOrientation(poLandscape);
    printer.Page()->SetLeftMargin(12.5);
    printer.SetColumnsLayout({"Code,80"});
    printer.SetMasterForceNewPage(false);

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter(buffer).writeComponent(&printer);
    buffer.seek(0);
    TQxPrintGrid back;
    qx::ComponentReader(buffer).readInto(&back);

    for (const char* name : {"Tag", "FixedCols", "FixedColor", "PageTitle1", "PageHeadExpr", "RowSpace", "SumBColor",
                             "ColumnsLayout", "MasterForceNewPage", "GridFootExpr", "ColumnsLayoutHint"})
        EXPECT_EQ(back.property(name), printer.property(name)) << name;
    EXPECT_EQ(back.Page()->Orientation(), poLandscape);
    EXPECT_DOUBLE_EQ(back.Page()->Width(), 297);
    EXPECT_DOUBLE_EQ(back.Page()->LeftMargin(), 12.5);
}

TEST(PrintGridSettings, CustomPaperKeepsItsLengthsThroughTheStream)
{
    TQxPrintGrid printer;
    printer.Page()->SetPaperSize(Custom);
    printer.Page()->SetWidth(100);
    printer.Page()->SetLength(150);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter(buffer).writeComponent(&printer);
    buffer.seek(0);
    TQxPrintGrid back;
    qx::ComponentReader(buffer).readInto(&back);
    EXPECT_EQ(back.Page()->PaperSize(), Custom);
    EXPECT_DOUBLE_EQ(back.Page()->Width(), 100);
    EXPECT_DOUBLE_EQ(back.Page()->Length(), 150);
}
