// The boxed text export of the grid printer.
#include "PrintGridPrintFixture.h"

#include "platform/rtl/Gbk.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qxprinttest;

TEST(GridTextExport, SmallGridByteForByte)
{
    registerLibraryReportFunctions();
    QTemporaryDir dir;
    auto data = numberedGrid(3);
    data->table()->Last();
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetPageTitle1(QStringLiteral("维修单"));
    const QString file = dir.filePath(QStringLiteral("grid.txt"));
    printer.ExportText(file);
    const QByteArray bytes = readAll(file);
    // The title centred over the report's width, the ruled table of the grid's two columns
    // (no title groups, no top rules of their own in the text export), the default grid foot.
    const QStringList lines = {
        QString(44, QLatin1Char(' ')) + QStringLiteral("维修单"),
        QStringLiteral("┌-────┬-─────┐"),
        QStringLiteral("│编号     │名称       │"),
        QStringLiteral("├-────┼-─────┤"),
        QStringLiteral("│R1       │名称1      │"),
        QStringLiteral("├-────┼-─────┤"),
        QStringLiteral("│R2       │名称2      │"),
        QStringLiteral("├-────┼-─────┤"),
        QStringLiteral("│R3       │名称3      │"),
        QStringLiteral("└-────┴-─────┘"),
        QStringLiteral("第 1 页"),
        QStringLiteral(" "),
        QStringLiteral(" "),
    };
    EXPECT_EQ(bytes, qx::toGbk(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    EXPECT_EQ(data->table()->RecNo(), 1);
    EXPECT_FALSE(printer.Prepared());
    EXPECT_FALSE(printer.ExportMode());
}

TEST(GridTextExport, NothingForABlankNameOrNoData)
{
    registerLibraryReportFunctions();
    QTemporaryDir dir;
    auto data = numberedGrid(0);
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.ExportText(QStringLiteral("   "));
    const QString file = dir.filePath(QStringLiteral("empty.txt"));
    printer.ExportText(file);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(printer.Prepared());
    EXPECT_FALSE(printer.ExportMode());
}
