// The built report of a grid print: columns fitted to the page and split into span parts,
// the landscape switch, the column layout lines, title groups, merged totals with their
// alignment prefixes, and the names of the built components.
#include "PrintGridLayoutFixture.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>


namespace gplayout {

struct SpanCase
{
    const char* name;
    QStringList layout;
    int fixedCols;
    bool zoomToPageWidth;
    bool allowSpanPage;
    QStringList parts; // "left:width" of the data cells of each span part
};

class PrintGridLayoutSpans : public ::testing::TestWithParam<SpanCase>
{
};

// On a 1000-pixel page. Cells are one pixel wider than the step to the next column.
const SpanCase kSpanCases[] = {
    {"NaturalWidthsFit", {"A,300", "B,300", "C,200"}, 0, false, true, {"0:301 300:301 600:201"}},
    // zoom 1000/800: 300 -> round(374.51) = 375, 200 -> round(249.51) = 250
    {"StretchedToPageWidth", {"A,300", "B,300", "C,200"}, 0, true, true, {"0:376 375:376 750:251"}},
    // zoom 1000/800 = 1.25 for the first part; the third column alone at its natural width
    {"TwoParts", {"A,400", "B,400", "C,300"}, 0, false, true, {"0:501 500:501", "0:301"}},
    // the second part stretched: 300 * 1000/300 -> 1000
    {"TwoPartsStretched", {"A,400", "B,400", "C,300"}, 0, true, true, {"0:501 500:501", "0:1001"}},
    // the fixed column repeats at its natural width; the zoom of part 0 is (1000-200)/500
    {"FixedColumnRepeats", {"A,200", "B,500", "C,500"}, 1, false, true, {"0:201 200:801", "0:201 200:501"}},
    {"NoSpanPagesDropsTheRest", {"A,400", "B,400", "C,300"}, 0, false, false, {"0:501 500:501"}},
    // more fixed columns than columns: as none for this print
    {"FixedColsAboveColumnCount", {"A,400", "B,400", "C,300"}, 9, false, true, {"0:501 500:501", "0:301"}},
    // a first column wider than the page is scaled down into the first part
    {"ColumnWiderThanThePage", {"A,1200", "B,300"}, 0, false, true, {"0:1001", "0:301"}},
};

TEST_P(PrintGridLayoutSpans, CellsOfEachPart)
{
    const SpanCase& c = GetParam();
    LayoutPrint print(3);
    print.printer.SetColumnsLayout(c.layout);
    print.printer.SetFixedCols(c.fixedCols);
    print.printer.SetZoomToPageWidth(c.zoomToPageWidth);
    print.printer.SetAllowSpanPage(c.allowSpanPage);
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);

    QStringList parts;
    for (TQRSubDetail* band : dataBands(*report))
        parts << cellSpans(band);
    EXPECT_EQ(parts, c.parts);
    EXPECT_EQ(gridPrintState().SpanCount, c.parts.size() - 1);
    // Titles stand over their cells with the same width.
    const QList<TQRChildBand*> titles = bandsOf<TQRChildBand>(*report);
    ASSERT_EQ(titles.size(), c.parts.size());
    for (qsizetype part = 0; part < titles.size(); ++part) {
        QStringList spans;
        for (TsQRLabel* title : cellsOf<TsQRLabel>(titles[part]))
            spans << QStringLiteral("%1:%2").arg(title->Left()).arg(title->Width());
        EXPECT_EQ(spans.join(u' '), c.parts[part]) << "part " << part;
        EXPECT_EQ(titles[part]->Tag(), part);
    }
    // The setting is the caller's: it comes back whatever the print made of it.
    EXPECT_EQ(print.printer.FixedCols(), c.fixedCols);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutSpans, ::testing::ValuesIn(kSpanCases),
                         [](const ::testing::TestParamInfo<SpanCase>& info) { return std::string(info.param.name); });

TEST(PrintGridLayout, SpanTitleBandsChainFromThePageHeader)
{
    LayoutPrint print(3);
    print.printer.SetColumnsLayout({"A,600", "B,600", "C,600"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    const QList<TQRChildBand*> titles = bandsOf<TQRChildBand>(*report);
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles[0]->ParentBand(), report->Bands().PageHeaderBand());
    EXPECT_EQ(titles[1]->ParentBand(), titles[0]);
    EXPECT_EQ(titles[2]->ParentBand(), titles[1]);
    const QList<TQRSubDetail*> data = dataBands(*report);
    ASSERT_EQ(data.size(), 3);
    EXPECT_FALSE(data[0]->Bands().HasHeader());
    EXPECT_TRUE(data[1]->Bands().HasHeader());
    EXPECT_TRUE(data[2]->Bands().HasFooter());
}

struct OrientationCase
{
    const char* name;
    TQRPaperSize paper;
    bool autoTurn;
    int columnWidth; // two columns
    TPrinterOrientation expected;
};

class PrintGridLayoutOrientation : public ::testing::TestWithParam<OrientationCase>
{
};

// A4 portrait with 15 mm side margins is 680 pixels wide.
const OrientationCase kOrientationCases[] = {
    {"FitsStaysPortrait", A4, true, 300, poPortrait},
    {"TooWideTurnsLandscape", A4, true, 400, poLandscape},
    {"PrinterDefaultPaperNeverTurns", Default, true, 400, poPortrait},
    {"SwitchedOff", A4, false, 400, poPortrait},
};

TEST_P(PrintGridLayoutOrientation, LandscapeWhenTheColumnsDoNotFit)
{
    const OrientationCase& c = GetParam();
    LayoutPrint print(2);
    print.printer.Page()->SetPaperSize(c.paper);
    print.printer.SetAutoPageVertToHorz(c.autoTurn);
    print.printer.SetColumnsLayout({QStringLiteral("A,%1").arg(c.columnWidth), QStringLiteral("B,%1").arg(c.columnWidth)});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Page().Orientation(), c.expected);
    // The printer's own page is left as it was.
    EXPECT_EQ(print.printer.Page()->Orientation(), poPortrait);
    if (c.expected == poLandscape) {
        // The columns now fit the landscape width at their natural widths.
        EXPECT_EQ(dataBands(*report).size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutOrientation, ::testing::ValuesIn(kOrientationCases),
                         [](const ::testing::TestParamInfo<OrientationCase>& info) { return std::string(info.param.name); });

struct LayoutLineCase
{
    const char* name;
    QStringList layout;
    QString printed; // "field@left:width" of the printed columns
};

class PrintGridLayoutLines : public ::testing::TestWithParam<LayoutLineCase>
{
};

const LayoutLineCase kLayoutLineCases[] = {
    {"NameAndWidth", {"B,80"}, "B@0:81"},
    {"BlanksAroundTheComma", {"  B , 80  "}, "B@0:81"},
    {"NoComma", {"B 80", "C,50"}, "C@0:51"},
    {"UnknownField", {"Nope,80", "C,50"}, "C@0:51"},
    {"NameComparedExactly", {"b,80", "C,50"}, "C@0:51"},
    {"EmptyName", {",80", "C,50"}, "C@0:51"},
    {"WidthZero", {"B,0", "C,50"}, "C@0:51"},
    {"WidthNotANumber", {"B,wide", "C,50"}, "C@0:51"},
    {"EmptyWidth", {"B,", "C,50"}, "C@0:51"},
    {"OrderOfTheLines", {"C,50", "A,70"}, "C@0:51 A@50:71"},
};

TEST_P(PrintGridLayoutLines, PrintsTheLinesThatNameAColumn)
{
    const LayoutLineCase& c = GetParam();
    LayoutPrint print(2);
    print.printer.SetColumnsLayout(c.layout);
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    QStringList printed;
    for (TsQRDBText* cell : cellsOf<TsQRDBText>(dataBands(*report).value(0)))
        printed << QStringLiteral("%1@%2:%3").arg(cell->DataField()).arg(cell->Left()).arg(cell->Width());
    EXPECT_EQ(printed.join(u' '), c.printed);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutLines, ::testing::ValuesIn(kLayoutLineCases),
                         [](const ::testing::TestParamInfo<LayoutLineCase>& info) { return std::string(info.param.name); });

TEST(PrintGridLayout, LayoutLinesOfAGridTakeTheGridTitles)
{
    LayoutPrint print(2);
    print.useGrid({{"A", 100}, {"B", 100}});
    print.grid->Columns()->Items(1)->Title()->SetAlignment(taRightJustify);
    print.printer.SetColumnsLayout({"B,90", "A,60"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    const QList<TsQRLabel*> titles = cellsOf<TsQRLabel>(bandsOf<TQRChildBand>(*report).value(0));
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[0]->Caption(), "TB");
    EXPECT_EQ(titles[0]->Alignment(), taRightJustify);
    EXPECT_EQ(titles[0]->Width(), 91);
    EXPECT_EQ(titles[1]->Caption(), "TA");
    EXPECT_EQ(titles[1]->Left(), 90);
}

TEST(PrintGridLayout, GridPrintsItsVisibleColumnsAndDataSetItsVisibleFields)
{
    LayoutPrint print(2);
    print.useGrid({{"A", 100}, {"B", 120}, {"C", 80}});
    print.grid->Columns()->Items(1)->SetVisible(false);
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(cellSpans(dataBands(*report).value(0)), "0:101 100:81");
    print.printer.SetReportPrepared(false);

    // A dataset: each visible field DisplayWidth characters of ("X" in the data font + 1).
    print.printer.SetDataSet(print.table.get());
    for (TField* field : *print.table->Fields())
        field->SetVisible(field->FieldName() == "A" || field->FieldName() == "Qty");
    print.table->FieldByName("A")->SetDisplayWidth(6);
    print.table->FieldByName("Qty")->SetDisplayWidth(4);
    report = print.build();
    ASSERT_NE(report, nullptr);
    const int x = MeasureTextWidth(QStringLiteral("X"), print.printer.DataFont()) + 1;
    EXPECT_EQ(cellSpans(dataBands(*report).value(0)), QStringLiteral("0:%1 %2:%3").arg(6 * x + 1).arg(6 * x).arg(4 * x + 1));
    const QList<TsQRLabel*> titles = cellsOf<TsQRLabel>(bandsOf<TQRChildBand>(*report).value(0));
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[0]->Caption(), "A");
    EXPECT_EQ(titles[0]->Alignment(), taCenter);
}

TEST(PrintGridLayout, NothingToPrintBuildsNoReport)
{
    LayoutPrint empty(0);
    EXPECT_EQ(empty.build(), nullptr);
    EXPECT_FALSE(empty.printer.Prepared());

    LayoutPrint closed(2);
    closed.table->Close();
    EXPECT_EQ(closed.build(), nullptr);

    LayoutPrint noColumns(2);
    noColumns.printer.SetColumnsLayout({"Nope,10"});
    EXPECT_EQ(noColumns.build(), nullptr);

    LayoutPrint noSource(2);
    noSource.printer.SetDataSet(nullptr);
    EXPECT_EQ(noSource.build(), nullptr);
}

TEST(PrintGridLayout, TitleGroupsMergeEqualNeighboursAndOthersSpanBothRows)
{
    LayoutPrint print(2);
    print.printer.SetColumnsLayout({"A,100", "B,100", "C,100", "D,100", "E,100"});
    // Field names match without case; an empty caption never merges.
    print.printer.SetTitleGroup({"a,组一", "B, 组一", "D,组二", "E,"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    const int h = rowHeightOf(print.printer.GridHeadFont());
    TQRChildBand* band = bandsOf<TQRChildBand>(*report).value(0);
    ASSERT_NE(band, nullptr);
    QStringList labels;
    for (TsQRLabel* l : cellsOf<TsQRLabel>(band))
        labels << QStringLiteral("%1@%2,%3 %4x%5").arg(l->Caption()).arg(l->Left()).arg(l->Top()).arg(l->Width()).arg(l->Height());
    const QStringList expected{
        QStringLiteral("A@0,%1 101x%1").arg(h),
        QStringLiteral("组一@0,0 201x%1").arg(h),
        QStringLiteral("B@100,%1 101x%1").arg(h),
        QStringLiteral("C@200,0 101x%1").arg(2 * h),
        QStringLiteral("D@300,%1 101x%1").arg(h),
        QStringLiteral("组二@300,0 101x%1").arg(h),
        QStringLiteral("E@400,%1 101x%1").arg(h),
        QStringLiteral("@400,0 101x%1").arg(h),
    };
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(band->Height(), 2 * h - 1);
}

TEST(PrintGridLayout, TotalsMergeEqualNeighboursAndTakeAlignmentPrefixes)
{
    LayoutPrint print(2);
    print.printer.SetColumnsLayout({"A,100", "B,100", "C,100", "D,100", "E,100", "Qty,100"});
    print.printer.SetSumTotalColumn({"A,>>'合计'", "B,SUM(Qty)", "C,SUM(Qty)", "D,||'x'", "E,||'x'"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    TQRBand* footer = dataBands(*report).value(0)->Bands().FooterBand();
    QStringList totals;
    for (TsQRExpr* e : cellsOf<TsQRExpr>(footer))
        totals << QStringLiteral("%1@%2:%3/%4").arg(e->Expression()).arg(e->Left()).arg(e->Width()).arg(int(e->Alignment()));
    // A prefixed expression never merges with its neighbour (the kept expression has lost
    // its prefix); the blank cell of a column without a line never merges either.
    const QStringList expected{
        QStringLiteral("'合计'@0:101/%1").arg(int(taRightJustify)),
        QStringLiteral("SUM(Qty)@100:201/%1").arg(int(taLeftJustify)),
        QStringLiteral("'x'@300:101/%1").arg(int(taCenter)),
        QStringLiteral("'x'@400:101/%1").arg(int(taCenter)),
        // the Qty column's own alignment (a number field is right-aligned)
        QStringLiteral("' '@500:101/%1").arg(int(taRightJustify)),
    };
    EXPECT_EQ(totals, expected);
    for (TsQRExpr* e : cellsOf<TsQRExpr>(footer)) {
        EXPECT_TRUE(e->ResetAfterPrint());
        EXPECT_EQ(e->Master(), dataBands(*report).value(0));
    }
}

TEST(PrintGridLayout, CellsKeepTheirMeasuredSizeWhenPrinted)
{
    LayoutPrint print(3);
    print.printer.SetColumnsLayout({"A,200", "Qty,150"});
    print.printer.SetSumTotalColumn({"Qty,SUM(Qty)"});
    TQuickRep* report = print.run();
    ASSERT_NE(report, nullptr);
    const int h = rowHeightOf(print.printer.DataFont());
    TQRSubDetail* data = dataBands(*report).value(0);
    QList<TQRPrintable*> cells;
    for (TsQRDBText* c : cellsOf<TsQRDBText>(data))
        cells << c;
    for (TsQRLabel* c : cellsOf<TsQRLabel>(bandsOf<TQRChildBand>(*report).value(0)))
        cells << c;
    for (TsQRExpr* c : cellsOf<TsQRExpr>(data->Bands().FooterBand()))
        cells << c;
    ASSERT_EQ(cells.size(), 6);
    for (TQRPrintable* c : cells) {
        EXPECT_FALSE(c->AutoSize()) << c->metaObject()->className();
        EXPECT_EQ(c->Height(), h) << c->metaObject()->className();
        EXPECT_TRUE(c->Width() == 201 || c->Width() == 151) << c->Width();
    }
    EXPECT_EQ(data->Height(), h - 1);
}

TEST(PrintGridLayout, EveryBuiltComponentGetsAUniqueName)
{
    LayoutPrint print(2);
    print.printer.SetColumnsLayout({"A,600", "B,600"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    QSet<QString> names;
    int count = 0;
    for (QObject* o : print.printer.HiddenForm()->findChildren<QObject*>()) {
        if (!qobject_cast<TQuickRep*>(o) && !qobject_cast<TQRCustomBand*>(o) && !qobject_cast<TQRPrintable*>(o))
            continue;
        ++count;
        EXPECT_FALSE(o->objectName().isEmpty());
        names.insert(o->objectName().toLower());
    }
    EXPECT_EQ(names.size(), count);
    EXPECT_TRUE(names.contains("quickrep1"));
    EXPECT_TRUE(names.contains("qrsubdetail1"));
    EXPECT_TRUE(names.contains("sqrdbtext1"));
    EXPECT_TRUE(names.contains("sqrdbtext2"));
}


// A printer that builds its report as the text export does.
class ExportLayoutPrinter : public TQxPrintGrid
{
public:
    void setExportMode(bool on) { FExportMode = on; }
};

TEST(PrintGridLayout, TextExportLeavesOutTitleGroupsAndTopRules)
{
    QxGridPrintStateScope scope;
    auto table = makeTable(2);
    ExportLayoutPrinter printer;
    printer.SetGridFootExpr({});
    printer.SetDataSet(table.get());
    printer.Page()->SetPaperSize(Custom);
    printer.Page()->SetWidth(qx::report::pixelsToMm(1000) + 30);
    printer.SetAutoPageVertToHorz(false);
    printer.SetColumnsLayout({"A,100", "B,100", "C,100"});
    printer.SetTitleGroup({"A,组", "B,组"});
    printer.SetSumTotalColumn({"A,'合计'"});
    printer.setExportMode(true);
    // The page is as wide as 20 characters of the data font.
    printer.SetExportTxtColsPerRow(20);
    printer.SetReportPrepared(true);
    TQuickRep* report = printer.Report();
    ASSERT_NE(report, nullptr);

    const int h = rowHeightOf(printer.DataFont());
    TQRChildBand* titles = bandsOf<TQRChildBand>(*report).value(0);
    // No group labels: one title per column, one row high.
    EXPECT_EQ(cellsOf<TsQRLabel>(titles).size(), cellsOf<TsQRDBText>(dataBands(*report).value(0)).size());
    EXPECT_EQ(titles->Height(), rowHeightOf(printer.GridHeadFont()) - 1);
    for (TsQRDBText* cell : cellsOf<TsQRDBText>(dataBands(*report).value(0))) {
        EXPECT_FALSE(cell->Frame().DrawTop);
        EXPECT_TRUE(cell->Frame().DrawBottom && cell->Frame().DrawLeft && cell->Frame().DrawRight);
        EXPECT_EQ(cell->Height(), h);
    }
    for (TsQRExpr* cell : cellsOf<TsQRExpr>(dataBands(*report).value(0)->Bands().FooterBand()))
        EXPECT_FALSE(cell->Frame().DrawTop);
    // 20 characters: the columns are spread over parts of that width.
    const int pageWidth = MeasureTextWidth(QStringLiteral("X"), printer.DataFont()) * 20;
    int widest = 0;
    for (TQRSubDetail* data : dataBands(*report)) {
        int right = 0;
        for (TsQRDBText* cell : cellsOf<TsQRDBText>(data))
            right = std::max(right, cell->Left() + cell->Width() - 1);
        widest = std::max(widest, right);
    }
    EXPECT_LE(widest, pageWidth);
    EXPECT_EQ(gridPrintState().SpanCount > 0, 300 > pageWidth);
    printer.SetReportPrepared(false);
}

struct LookCase
{
    const char* name;
    bool gridLines;
    TColor headColor;
    TColor fixedColor;
};

class PrintGridLayoutLook : public ::testing::TestWithParam<LookCase>
{
};

const LookCase kLookCases[] = {
    {"RuledAndPlain", true, clWhite, clWhite},
    {"NoRules", false, clWhite, clWhite},
    {"ColouredTitlesAndFixedColumn", true, TColor(0xC0C0C0), TColor(0x00FFFF)},
};

TEST_P(PrintGridLayoutLook, RulesAndColours)
{
    const LookCase& c = GetParam();
    LayoutPrint print(2);
    print.printer.SetColumnsLayout({"A,100", "B,100"});
    print.printer.SetFixedCols(1);
    print.printer.SetPrintGridLine(c.gridLines);
    print.printer.SetGridHeadBColor(c.headColor);
    print.printer.SetFixedColor(c.fixedColor);
    print.printer.SetSumTotalColumn({"A,'合计'"});
    TQuickRep* report = print.build();
    ASSERT_NE(report, nullptr);
    TQRSubDetail* data = dataBands(*report).value(0);

    for (TsQRLabel* title : cellsOf<TsQRLabel>(bandsOf<TQRChildBand>(*report).value(0))) {
        // Top and bottom rules always; the side rules with the grid lines.
        EXPECT_TRUE(title->Frame().DrawTop && title->Frame().DrawBottom);
        EXPECT_EQ(title->Frame().DrawLeft, c.gridLines);
        EXPECT_EQ(title->Frame().DrawRight, c.gridLines);
        EXPECT_EQ(title->Transparent(), c.headColor == clWhite);
        if (c.headColor != clWhite) {
            EXPECT_EQ(title->Color(), c.headColor);
        }
    }
    const QList<TsQRDBText*> cells = cellsOf<TsQRDBText>(data);
    ASSERT_EQ(cells.size(), 2);
    for (TsQRDBText* cell : cells) {
        const TQRFrame& f = cell->Frame();
        EXPECT_EQ(f.DrawTop && f.DrawBottom && f.DrawLeft && f.DrawRight, c.gridLines);
        EXPECT_EQ(f.AnyFrame(), c.gridLines);
    }
    // Only the fixed column is filled.
    EXPECT_EQ(cells[0]->Transparent(), c.fixedColor == clWhite);
    EXPECT_TRUE(cells[1]->Transparent());
    // Without grid lines a total cell keeps its top and bottom rules only.
    for (TsQRExpr* total : cellsOf<TsQRExpr>(data->Bands().FooterBand())) {
        EXPECT_TRUE(total->Frame().DrawTop && total->Frame().DrawBottom);
        EXPECT_EQ(total->Frame().DrawLeft, c.gridLines);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintGridLayoutLook, ::testing::ValuesIn(kLookCases),
                         [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

} // namespace gplayout
