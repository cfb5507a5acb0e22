// The RTF export of the grid printer: whole documents.
#include "PrintGridPrintFixture.h"

#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"
#include "usystem/vcl/printgrid/uQxPrintGridRtf.h"

#include "tests/support/ReadOnlyFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qxprinttest;

namespace {

// True when every '{' of the document has its '}' and no '}' comes first (escaped braces and
// \'hh bytes aside).
bool balancedGroups(const QByteArray& rtf)
{
    int depth = 0;
    for (int i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            ++i; // the escaped character, or the first of a control word
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

class RtfExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerLibraryReportFunctions();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
};

TEST_F(RtfExport, SmallGridWithChineseAndBraces)
{
    PrintedGrid data({{QStringLiteral("Code"), QStringLiteral("编号"), 80},
                      {QStringLiteral("Name"), QStringLiteral("名称{}"), 120}},
                     {{QStringLiteral("A1"), QStringLiteral("屏幕{总成}")}, {QStringLiteral("B\\2"), QStringLiteral("电池")}});
    data.table()->Next(); // the export starts from the first record and leaves the table there
    TQxPrintGrid printer;
    printer.SetDBGrid(data.grid());
    printer.SetPageTitle1(QStringLiteral("维修单"));
    printer.SetPageHeadExpr({QStringLiteral("'共 '+SPANPAGECOUNT+' 部分'")});
    const QString file = path("grid.rtf");
    printer.ExportRtf(file);

    const QByteArray rtf = readAll(file);
    ASSERT_FALSE(rtf.isEmpty());
    EXPECT_TRUE(balancedGroups(rtf));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    for (const char* word : {"\\ansicpg936", "\\deflangfe2052", "\\paperh16838", "\\paperw11906", "\\psz9",
                             "\\margl850", "\\margt1134", "{\\fonttbl", "{\\colortbl", "\\viewkind4\\uc1",
                             "\\trowd\\trgaph108\\trleft-108", "\\cellx", "\\intbl", "\\row", "{\\page}"})
        EXPECT_TRUE(rtf.contains(word)) << word;
    EXPECT_FALSE(rtf.contains("\\landscape"));
    // Data, titles and lines escaped; no raw byte above 0x7F anywhere.
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("屏幕{总成}")) + "\\cell"));
    EXPECT_TRUE(rtf.contains("B\\\\2\\cell"));
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("名称{}"))));
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("维修单")) + "\\f0\\par"));
    for (const char c : rtf)
        ASSERT_LE(static_cast<unsigned char>(c), 0x7F);
    // The expression lines are evaluated, with the document's own page counters.
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("共 1 部分"))));
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("第 1 页"))));
    EXPECT_FALSE(rtf.contains("PAGENUM"));
    EXPECT_EQ(data.table()->RecNo(), 1);
    EXPECT_FALSE(data.table()->ControlsDisabled());
}

TEST_F(RtfExport, WithoutVisibleColumnsTheDocumentStillCloses)
{
    PrintedGrid data({{QStringLiteral("Code"), QStringLiteral("编号"), 80, false}}, {{QStringLiteral("A")}});
    TQxPrintGrid printer;
    printer.SetDBGrid(data.grid());
    const QString file = path("empty.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    EXPECT_TRUE(balancedGroups(rtf));
    EXPECT_FALSE(rtf.contains("\\trowd"));
    EXPECT_EQ(rtf.count("\r\n"), 5); // the four head lines and the closing brace
}

TEST_F(RtfExport, PageBreaksFollowTheEstimatedRows)
{
    auto data = numberedGrid(100);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    const int rows = printer.EstimateRowsPerPage();
    ASSERT_GT(rows, 10);
    ASSERT_LT(rows, 100);
    const QString file = path("pages.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    const int pages = (100 + rows - 1) / rows;
    EXPECT_EQ(rtf.count("{\\page}"), pages);
    EXPECT_EQ(rtf.count("\\row"), 100 + pages); // every data row and a title row per page
    // The page numbers run on through the part.
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("第 %1 页").arg(pages))));
    EXPECT_FALSE(rtf.contains(RtfText(QStringLiteral("第 %1 页").arg(pages + 1))));
    EXPECT_TRUE(balancedGroups(rtf));
}

TEST_F(RtfExport, NoRoomForRowsMeansNoPageBreaks)
{
    auto data = numberedGrid(30);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.Page()->SetTopMargin(150);
    printer.Page()->SetBottomMargin(150);
    ASSERT_LE(printer.EstimateRowsPerPage(), 0);
    const QString file = path("noroom.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    EXPECT_EQ(rtf.count("{\\page}"), 1);
    EXPECT_EQ(rtf.count("\\row"), 31);
}

TEST_F(RtfExport, WideGridsSplitIntoPartsWithFixedColumnsRepeated)
{
    std::vector<GridColumn> columns;
    QStringList row;
    for (int i = 0; i < 8; ++i) {
        columns.push_back({QStringLiteral("F%1").arg(i), QStringLiteral("列%1").arg(i), 150});
        row << QStringLiteral("v%1").arg(i);
    }
    PrintedGrid data(columns, {row});
    TQxPrintGrid printer;
    printer.SetDBGrid(data.grid());
    printer.SetFixedCols(1);
    const QString file = path("wide.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    const int parts = int(rtf.count("{\\page}"));
    EXPECT_GE(parts, 2);
    EXPECT_EQ(rtf.count("v0\\cell"), parts); // the fixed column in every part
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(rtf.count(QByteArray("v") + QByteArray::number(i) + "\\cell"), 1) << i;
    // The part counters reach the lines.
    printer.SetPageHeadExpr({QStringLiteral("'部分 '+SPANPAGENUM+'/'+SPANPAGECOUNT")});
    printer.ExportRtf(file);
    const QByteArray counted = readAll(file);
    EXPECT_TRUE(counted.contains(RtfText(QStringLiteral("部分 %1/%1").arg(parts))));
}

TEST_F(RtfExport, LandscapePaperLiesAcross)
{
    auto data = numberedGrid(3);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.Page()->SetOrientation(poLandscape);
    const QString file = path("landscape.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    EXPECT_TRUE(rtf.contains("\\paperh11906\\paperw16838"));
    EXPECT_TRUE(rtf.contains("\\landscape"));
}

TEST_F(RtfExport, LinesThatDoNotEvaluateAreLeftOut)
{
    auto data = numberedGrid(2);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetPageHeadExpr({QStringLiteral("NOSUCHFUNCTION(1)"), QStringLiteral("'页首'")});
    printer.SetGridFootExpr({QStringLiteral("'未完"), QStringLiteral("<<'左'||NOSUCH>>'右'")});
    const QString file = path("lines.rtf");
    printer.ExportRtf(file);
    const QByteArray rtf = readAll(file);
    EXPECT_FALSE(rtf.contains("NOSUCH"));
    EXPECT_FALSE(rtf.contains(" '"));
    EXPECT_FALSE(rtf.contains(RtfText(QStringLiteral("未完"))));
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("页首"))));
    EXPECT_TRUE(rtf.contains(RtfText(QStringLiteral("左 右"))));
}

TEST_F(RtfExport, NothingWithoutAGridOrAnOpenDataset)
{
    TQxPrintGrid printer;
    printer.ExportRtf(path("none.rtf"));
    EXPECT_FALSE(QFile::exists(path("none.rtf")));
    auto data = numberedGrid(2);
    data->table()->Close();
    printer.SetDBGrid(data->grid());
    printer.ExportRtf(path("closed.rtf"));
    EXPECT_FALSE(QFile::exists(path("closed.rtf")));
}

TEST_F(RtfExport, AFileThatCannotBeWrittenRaisesAndKeepsTheOldOne)
{
    auto data = numberedGrid(2);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    const QString folder = path("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/grid.rtf");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    {
        qxtest::ReadOnlyFolder locked(folder);
        if (!locked.ok())
            GTEST_SKIP() << "cannot make the folder read-only";
        EXPECT_THROW(printer.ExportRtf(file), EInOutError);
    }
    EXPECT_EQ(readAll(file), QByteArray("old"));
    EXPECT_FALSE(data->table()->ControlsDisabled());
}
