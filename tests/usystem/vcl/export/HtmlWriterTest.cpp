// The HTML writer: pages byte for byte with and without a cell handler, an empty dataset,
// escaped data next to a handler's own markup, money texts and GBK bytes.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

#include "ExportTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "tests/support/FileSizeLimit.h"
#include "usystem/vcl/export/uQxdbTrans.h"

using qxtest::ExportGrid;
using qxtest::fileBytes;

namespace {

std::unique_ptr<ExportGrid> priceGrid()
{
    auto g = std::make_unique<ExportGrid>(
        std::vector<qxtest::TableField>{{"Code", ftString, 10}, {"Name", ftString, 20}, {"Price", ftCurrency}},
        std::vector<QVariantList>{
            {"A<1>", "a & b", "1234.5"},
            {"", "\"q\"", QVariant()},
            {"X", "中文", "-3"},
        });
    g->table().FieldByName("Name")->SetDisplayLabel("名称");
    return g;
}

QByteArray page(const QStringList& lines)
{
    return qx::toGbk(lines.join("\r\n") + "\r\n");
}

const QString kHead = "<head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"> <title> DataSet </title> </head>";

QString tableLine(int records)
{
    return QString("<table border = \"1\" rows = \"%1\" bordercolor=\"#000000\" cellspacing=\"0\" cellpadding=\"2\">")
        .arg(records);
}

struct Call
{
    int row;
    int column;
    QString fieldName;
    QString attrs;
    QString data;
};

} // namespace

TEST(HtmlWriter, ThePageWithoutAHandler)
{
    auto g = priceGrid();
    QTemporaryDir dir;
    const QString path = dir.filePath("parts.htm");
    TQxDataSetToHTML().ExportGrid(g->grid(), path);
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(bytes, page({"<html>", kHead, "<body>", tableLine(3),
                           "<tr>", "<th  >Code </th>", "<th  >名称 </th>", "<th  >Price </th>", "</tr>",
                           "<tr>", "<td nowrap  >A&lt;1&gt; </td>", "<td nowrap  >a &amp; b </td>",
                           "<td nowrap  >￥1,234.50 </td>", "</tr>",
                           "<tr>", "<td nowrap  >&nbsp </td>", "<td nowrap  >&quot;q&quot; </td>",
                           "<td nowrap  >&nbsp </td>", "</tr>",
                           "<tr>", "<td nowrap  >X </td>", "<td nowrap  >中文 </td>",
                           "<td nowrap  >￥-3.00 </td>", "</tr>",
                           "</table>", "</body>", "</html>"}));
    // GBK bytes: the currency sign and "中文".
    EXPECT_TRUE(bytes.contains("\xA3\xA4" "1,234.50"));
    EXPECT_TRUE(bytes.contains(">\xD6\xD0\xCE\xC4 </td>"));
    EXPECT_TRUE(g->table().Eof());
}

TEST(HtmlWriter, TheHandlerSeesEveryCellAndItsMarkupStays)
{
    auto g = priceGrid();
    TQxDataSetToHTML writer;
    std::vector<Call> calls;
    writer.OnFormatCell = [&](QObject* Sender, int CellRow, int CellColumn, QString FieldName,
                              QString& CustomAttrs, QString& CellData) {
        EXPECT_EQ(Sender, &writer);
        calls.push_back({CellRow, CellColumn, FieldName, CustomAttrs, CellData});
        if (CellRow == 1 && CellColumn == 1)
            CustomAttrs = "class=\"key\"";
        if (CellRow == 1 && CellColumn == 3)
            CellData = "金额";
        if (CellRow == 2 && CellColumn == 2)
            CellData = "<b>" + CellData + "</b>";
        if (CellRow == 3 && CellColumn == 3)
            CustomAttrs = "align=\"right\"";
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("handled.htm");
    writer.ExportGrid(g->grid(), path);
    EXPECT_EQ(fileBytes(path), page({"<html>", kHead, "<body>", tableLine(3),
                                     "<tr>", "<th class=\"key\" >Code </th>", "<th  >名称 </th>", "<th  >金额 </th>", "</tr>",
                                     "<tr>", "<td nowrap  >A&lt;1&gt; </td>", "<td nowrap  ><b>a &amp; b</b> </td>",
                                     "<td nowrap  >￥1,234.50 </td>", "</tr>",
                                     "<tr>", "<td nowrap  >&nbsp </td>", "<td nowrap  >&quot;q&quot; </td>",
                                     "<td nowrap align=\"right\" >&nbsp </td>", "</tr>",
                                     "<tr>", "<td nowrap  >X </td>", "<td nowrap  >中文 </td>",
                                     "<td nowrap  >￥-3.00 </td>", "</tr>",
                                     "</table>", "</body>", "</html>"}));
    ASSERT_EQ(calls.size(), 12u);
    const Call expected[] = {
        {1, 1, "Code", "", "Code"}, {1, 2, "Name", "", "名称"}, {1, 3, "Price", "", "Price"},
        {2, 1, "Code", "", "A&lt;1&gt;"}, {2, 2, "Name", "", "a &amp; b"}, {2, 3, "Price", "", "￥1,234.50"},
        {3, 1, "Code", "", "&nbsp"}, {3, 2, "Name", "", "&quot;q&quot;"}, {3, 3, "Price", "", "&nbsp"},
        {4, 1, "Code", "", "X"}, {4, 2, "Name", "", "中文"}, {4, 3, "Price", "", "￥-3.00"},
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].row, expected[i].row) << i;
        EXPECT_EQ(calls[i].column, expected[i].column) << i;
        EXPECT_EQ(calls[i].fieldName, expected[i].fieldName) << i;
        EXPECT_EQ(calls[i].attrs, expected[i].attrs) << i;
        EXPECT_EQ(calls[i].data, expected[i].data) << i;
    }
}

TEST(HtmlWriter, AnEmptyDatasetStillHasItsTitleRowAndCountsNoRecords)
{
    ExportGrid g({{"Code", ftString, 10}}, {});
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.htm");
    TQxDataSetToHTML().ExportGrid(g.grid(), path);
    EXPECT_EQ(fileBytes(path), page({"<html>", kHead, "<body>", tableLine(0), "<tr>", "<th  >Code </th>", "</tr>",
                                     "</table>", "</body>", "</html>"}));
}

TEST(HtmlWriter, HeaderAndFooterLinesReplaceTheDefaultsAndTheFileNameIsUsedAsTyped)
{
    ExportGrid g({{"Code", ftString, 10}}, {{"a"}});
    TQxDataSetToHTML writer;
    writer.SetHeader({"<html><body>", "<h1>工单</h1>"});
    writer.SetFooter({"</body></html>"});
    QTemporaryDir dir;
    const QString path = dir.filePath("report");
    writer.ExportGrid(g.grid(), path);
    EXPECT_EQ(fileBytes(path), page({"<html><body>", "<h1>工单</h1>", tableLine(1), "<tr>", "<th  >Code </th>",
                                     "</tr>", "<tr>", "<td nowrap  >a </td>", "</tr>", "</table>",
                                     "</body></html>"}));
}

TEST(HtmlWriter, NoGridOrAClosedDatasetRaises)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.htm");
    TQxDataSetToHTML writer;
    EXPECT_THROW(writer.ExportGrid(nullptr, path), Exception);
    auto closed = priceGrid();
    closed->table().Close();
    EXPECT_THROW(writer.ExportGrid(closed->grid(), path), EDatabaseError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(HtmlWriter, AFailedSaveRaisesAndLeavesTheOldFileWhole)
{
    std::vector<QVariantList> rows;
    for (int i = 0; i < 2000; ++i)
        rows.push_back({QString("code %1").arg(i)});
    ExportGrid g({{"Code", ftString, 10}}, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.htm");
    qxtest::writeFile(path, "old");
    {
        qxtest::FileSizeLimit full(16 * 1024);
        if (!full.ok())
            GTEST_SKIP() << "cannot limit file sizes here";
        EXPECT_THROW(TQxDataSetToHTML().ExportGrid(g.grid(), path), EInOutError);
    }
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
}

TEST(HtmlWriter, AVisibleColumnWithoutFieldGivesEmptyCells)
{
    ExportGrid g({{"Code", ftString, 10}}, {{"a"}});
    TQxDBGridColumns* cols = g.grid()->Columns();
    cols->Add()->SetFieldName("Code");
    cols->Add()->SetFieldName("Missing");
    TQxDataSetToHTML writer;
    QStringList names;
    writer.OnFormatCell = [&](QObject*, int, int, QString FieldName, QString&, QString&) { names << FieldName; };
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.htm");
    writer.ExportGrid(g.grid(), path);
    EXPECT_EQ(fileBytes(path), page({"<html>", kHead, "<body>", tableLine(1), "<tr>", "<th  >Code </th>",
                                     "<th  >Missing </th>", "</tr>", "<tr>", "<td nowrap  >a </td>",
                                     "<td nowrap  >&nbsp </td>", "</tr>", "</table>", "</body>", "</html>"}));
    EXPECT_EQ(names, (QStringList{"Code", "Missing", "Code", "Missing"}));
}
