// The spreadsheet export read back from its file: layout, typed cells, styles, widths, merges,
// borders; the column names and the helpers; the dataset on its first record afterwards.
#include <gtest/gtest.h>

#include <QFile>

#include "ExportTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/office/DesktopOpen.h"
#include "tests/support/OfficeReadBack.h"
#include "tests/support/SaveFault.h"
#include "usystem/vcl/export/uQxTranOut.h"

using qxtest::ExportGrid;

namespace {

// Exports g's grid, expecting one file opened; its first sheet.
qx::test::Sheet excelSheetOf(ExportGrid& g, const QString& title = {}, const QString& foot = {})
{
    qx::DesktopOpeningOff off;
    EXPECT_TRUE(ExportGridToExcel(title, foot, g.grid()));
    EXPECT_EQ(off.requested().size(), 1);
    if (off.requested().isEmpty())
        return {};
    const QString path = off.requested().constFirst();
    EXPECT_TRUE(path.endsWith(QLatin1String(".xlsx")));
    const QByteArray bytes = qxtest::fileBytes(path);
    QFile::remove(path);
    return qx::test::readSheet(bytes);
}

const std::vector<qxtest::TableField> excelMixedFields{{"Code", ftString, 10}, {"Price", ftFloat},
                                                      {"Qty", ftInteger},      {"Paid", ftCurrency},
                                                      {"At", ftDateTime},      {"Day", ftDate},
                                                      {"Ok", ftBoolean},       {"Note", ftMemo}};

const std::vector<QVariantList> excelMixedRows{
    {"007", 1234.5, 3, 12.25, QDateTime(QDate(2024, 3, 5), QTime(12, 0)), QDate(2024, 3, 5), true, "=1+1"},
    {"=SUM(A1)", QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), false, "一\r\n二"},
};

// Stored columns over every field, titled "列<field>", 60, 66, 72... pixels wide.
void setExcelMixedColumns(ExportGrid& g)
{
    int width = 60;
    for (const char* name : {"Code", "Price", "Qty", "Paid", "At", "Day", "Ok", "Note"}) {
        TQxColumn* c = g.grid()->Columns()->Add();
        c->SetFieldName(name);
        c->Title()->SetCaption(QStringLiteral("列") + QLatin1String(name));
        c->SetWidth(width);
        width += 6;
    }
}

} // namespace

TEST(ExcelExport, HeaderRowTypedCellsFormatsAndWidths)
{
    ExportGrid g(excelMixedFields, excelMixedRows);
    setExcelMixedColumns(g);
    g.table().Last();
    const auto sheet = excelSheetOf(g);

    const auto& a1 = sheet.cells.at("A1");
    EXPECT_EQ(a1.text, u"列Code");
    EXPECT_TRUE(a1.style.bold);
    EXPECT_EQ(a1.style.fill, u"FFC0C0C0");
    EXPECT_EQ(a1.style.hAlign, u"center");
    EXPECT_EQ(a1.style.fontSize, 12); // the boxed range's first cell
    EXPECT_EQ(sheet.cells.at("B1").style.fill, u"FFC0C0C0");
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(int(sheet.columnWidths.at(c)), (60 + 6 * (c - 1)) / 6) << c;

    const struct { const char* ref; const char* type; QString text; QString format; } cells[] = {
        {"A2", "inlineStr", "007", "@"},
        {"B2", "n", "1234.5", "#,##0.00_ "},
        {"C2", "n", "3", ""},
        {"D2", "n", "12.25", ""},
        {"E2", "n", "45356.5", "yyyy-mm-dd"},
        {"F2", "n", "45356", "yyyy-mm-dd"},
        {"G2", "b", "1", ""},
        {"H2", "inlineStr", "=1+1", ""},      // text, never a formula
        {"A3", "inlineStr", "=SUM(A1)", "@"},
        {"G3", "b", "0", ""},
        {"H3", "inlineStr", "一\r\n二", ""}, // the line break stays inside its cell
    };
    for (const auto& c : cells) {
        ASSERT_TRUE(sheet.cells.count(c.ref)) << c.ref;
        const auto& cell = sheet.cells.at(c.ref);
        EXPECT_EQ(cell.type, QLatin1String(c.type)) << c.ref;
        EXPECT_EQ(cell.text, c.text) << c.ref;
        EXPECT_EQ(cell.style.numberFormat, c.format) << c.ref;
        EXPECT_EQ(cell.style.borders, (QStringList{"left", "right", "top", "bottom"})) << c.ref;
        EXPECT_FALSE(cell.style.bold) << c.ref;
    }
    // Null values are blank cells that still carry the lines.
    EXPECT_TRUE(sheet.cells.at("B3").text.isEmpty());
    EXPECT_EQ(sheet.cells.at("B3").style.borders.size(), 4);
    EXPECT_TRUE(sheet.merges.isEmpty());
    EXPECT_FALSE(sheet.cells.count("A4"));

    // The grid is back on its first record, its controls enabled.
    EXPECT_EQ(g.table().RecNo(), 1);
    EXPECT_FALSE(g.table().ControlsDisabled());
}

TEST(ExcelExport, TitleAndFootAreMergedAndTheBoxStartsBelowTheTitle)
{
    ExportGrid g({{"A", ftString, 5}, {"B", ftString, 5}, {"C", ftString, 5}},
                 {{"1", "2", "3"}, {"4", "5", "6"}});
    const auto sheet = excelSheetOf(g, QStringLiteral("维修单"), QStringLiteral("第一行\r\n第二行\n第三行"));
    EXPECT_EQ(sheet.merges, (QStringList{"A1:C1", "A5:C5"}));
    const auto& title = sheet.cells.at("A1");
    EXPECT_EQ(title.text, u"维修单");
    EXPECT_TRUE(title.style.bold);
    EXPECT_EQ(title.style.fontSize, 18);
    EXPECT_EQ(title.style.hAlign, u"center");
    EXPECT_TRUE(title.style.borders.isEmpty());
    EXPECT_EQ(sheet.cells.at("A2").style.fontSize, 12);
    EXPECT_EQ(sheet.cells.at("C4").style.borders.size(), 4);
    EXPECT_EQ(sheet.cells.at("A5").text, u"第一行\r\n第二行\n第三行");
    EXPECT_TRUE(sheet.cells.at("A5").style.borders.isEmpty());
    EXPECT_EQ(sheet.rowHeights.at(5), 3 * 14);
}

TEST(ExcelExport, VandrelRowsOfEachKind)
{
    ExportGrid g({{"Name", ftString, 10}, {"VandrelID", ftInteger}},
                 {{"plain", 0}, {"one", 1}, {"group", 3}, {"total", 4}, {"null", QVariant()}});
    const auto sheet = excelSheetOf(g);
    const struct { const char* ref; bool bold; QString fill, color; } rows[] = {
        {"A2", false, "", ""},
        {"A3", false, "", ""},
        {"A4", true, "FFFFCC99", "FF0000FF"},
        {"B4", true, "FFFFCC99", "FF0000FF"},
        {"A5", true, "", ""},
        {"A6", false, "", ""},
    };
    for (const auto& r : rows) {
        const auto& s = sheet.cells.at(r.ref).style;
        EXPECT_EQ(s.bold, r.bold) << r.ref;
        EXPECT_EQ(s.fill, r.fill) << r.ref;
        EXPECT_EQ(s.fontColor, r.color) << r.ref;
        EXPECT_EQ(s.borders.size(), 4) << r.ref;
    }
}

TEST(ExcelExport, WithoutVandrelFieldNoRowIsStyled)
{
    ExportGrid g({{"Name", ftString, 10}, {"Kind", ftInteger}}, {{"a", 3}, {"b", 4}});
    const auto sheet = excelSheetOf(g);
    for (const char* ref : {"A2", "B2", "A3", "B3"}) {
        EXPECT_FALSE(sheet.cells.at(ref).style.bold) << ref;
        EXPECT_TRUE(sheet.cells.at(ref).style.fill.isEmpty()) << ref;
    }
}

TEST(ExcelExport, AnEmptyDatasetWritesTheHeaderBoxedAlone)
{
    ExportGrid g({{"Code", ftString, 10}, {"Qty", ftInteger}}, {});
    const auto sheet = excelSheetOf(g);
    EXPECT_EQ(sheet.cells.size(), 2u);
    EXPECT_EQ(sheet.cells.at("A1").text, u"Code");
    EXPECT_EQ(sheet.cells.at("B1").style.borders.size(), 4);
}

TEST(ExcelExport, AFileThatCannotBeWrittenShowsTheMessageAndRestoresTheDataset)
{
    ExportGrid g({{"Code", ftString, 10}}, {{"a"}, {"b"}, {"c"}});
    g.table().Last();
    auto* dialogs = qx::ScriptedDialogService::current();
    ASSERT_NE(dialogs, nullptr);
    dialogs->clear();
    dialogs->answerMessage(qx::mrOk);
    qx::DesktopOpeningOff off;
    {
        const qxtest::SaveFault full(qx::SaveStep::Write);
        EXPECT_FALSE(ExportGridToExcel(QString(), QString(), g.grid()));
    }
    EXPECT_EQ(dialogs->messages(), QStringList{"没有发现Excel!"});
    EXPECT_TRUE(off.requested().isEmpty());
    EXPECT_EQ(g.table().RecNo(), 1);
    EXPECT_FALSE(g.table().ControlsDisabled());
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST(ExcelExport, MoreColumnsThanASheetHoldsAreRefusedBeforeAnythingIsWritten)
{
    ExportGrid g({{"Code", ftString, 10}}, {{"a"}});
    g.grid()->BeginLayout(); // one layout for all the columns
    for (int i = 0; i < 16385; ++i)
        g.grid()->Columns()->Add()->SetFieldName("Code");
    g.grid()->EndLayout();
    auto* dialogs = qx::ScriptedDialogService::current();
    dialogs->clear();
    dialogs->answerMessage(qx::mrOk);
    qx::DesktopOpeningOff off;
    EXPECT_FALSE(ExportGridToExcel(QString(), QString(), g.grid()));
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages().constFirst().contains("16384"));
    EXPECT_TRUE(off.requested().isEmpty());
}

TEST(ExcelHelpers, ColumnNamesAtEveryLetterBoundary)
{
    const struct { int n; const char* name; } cases[] = {
        {1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {156, "EZ"}, {157, "FA"},
        {702, "ZZ"}, {703, "AAA"}, {728, "AAZ"}, {729, "ABA"}, {16384, "XFD"},
        {0, ""}, {-1, ""}, {16385, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExcelColumnName(c.n), QLatin1String(c.name)) << c.n;
}

TEST(ExcelHelpers, TextLineCountCountsAsAStringListDoes)
{
    const struct { QString text; int lines; } cases[] = {
        {"", 0}, {"a", 1}, {"a\r\n", 1}, {"a\r\nb", 2}, {"a\nb\rc", 3},
        {"\r\n", 1}, {"a\n\rb", 3}, {"a\r\n\r\nb", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextLineCount(c.text), c.lines) << c.text.toStdString();
}

TEST(ExcelHelpers, RangeBordersFromTwoCellReferences)
{
    const ExcelRangeBorders r = SetExcelRangeBorders("A2", "XFD9", 12);
    EXPECT_EQ(r.FirstRow, 1);
    EXPECT_EQ(r.FirstColumn, 0);
    EXPECT_EQ(r.LastRow, 8);
    EXPECT_EQ(r.LastColumn, 16383);
    EXPECT_EQ(r.FontSize, 12);
    EXPECT_TRUE(r.IsFirst(1, 0));
    EXPECT_FALSE(r.Contains(0, 0));
    for (const char* bad : {"", "A", "2", "A0", "XFE1", "A1048577", "1A"})
        EXPECT_FALSE(SetExcelRangeBorders(bad, "B2", 12).Contains(1, 1)) << bad;
}
