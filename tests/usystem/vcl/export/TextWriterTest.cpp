// The text writer: files byte for byte, the side file of blob and memo cells, the extension
// rules, the two errors, and a failed save that leaves the old file whole.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "ExportTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FileSizeLimit.h"
#include "usystem/vcl/export/uQxdbTrans.h"

using qxtest::ExportGrid;
using qxtest::fileBytes;

namespace {

ExportGrid partsGrid()
{
    return ExportGrid({{"Code", ftString, 10}, {"Name", ftString, 20}, {"Qty", ftInteger}, {"Day", ftDate}},
                      {
                          {"A01", "tab\there", 5, "2024-03-05"},
                          {"q\"uote\"", "line\r\nbreak", QVariant(), QVariant()},
                          {"", "中文", 0, QVariant()},
                      });
}

} // namespace

TEST(TextWriter, EveryValueQuotedDelimitedAndEachLineEndedByCrLf)
{
    struct Case
    {
        QChar delimiter;
        QByteArray expected;
    };
    const Case cases[] = {
        {QChar(9),
         "\"A01\"\t\"tab\there\"\t\"5\"\t\"2024-03-05\"\r\n"
         "\"q\"\"uote\"\"\"\t\"line\r\nbreak\"\t\"\"\t\"\"\r\n"
         "\"\"\t\"\xD6\xD0\xCE\xC4\"\t\"0\"\t\"\"\r\n"},
        {u';',
         "\"A01\";\"tab\there\";\"5\";\"2024-03-05\"\r\n"
         "\"q\"\"uote\"\"\";\"line\r\nbreak\";\"\";\"\"\r\n"
         "\"\";\"\xD6\xD0\xCE\xC4\";\"0\";\"\"\r\n"},
    };
    for (const Case& c : cases) {
        ExportGrid g = partsGrid();
        TQxDatasetToText writer;
        writer.SetDelimiter(c.delimiter);
        QTemporaryDir dir;
        const QString path = dir.filePath("parts.txt");
        writer.ExportGrid(g.grid(), path);
        EXPECT_EQ(fileBytes(path), c.expected) << int(c.delimiter.unicode());
        // No blob byte: no side file. The dataset stands at its end.
        EXPECT_FALSE(QFile::exists(dir.filePath("parts.mem")));
        EXPECT_TRUE(g.table().Eof());
        EXPECT_FALSE(g.table().ControlsDisabled());
    }
}

TEST(TextWriter, ADefaultWriterUsesTab)
{
    TQxDatasetToText writer;
    EXPECT_EQ(writer.Delimiter(), QChar(9));
    EXPECT_EQ(writer.Dataset(), nullptr);
}

TEST(TextWriter, OnlyVisibleColumnsInColumnOrderAndAColumnWithoutFieldIsEmpty)
{
    ExportGrid g = partsGrid();
    TQxDBGridColumns* cols = g.grid()->Columns();
    cols->Add()->SetFieldName("Qty");
    cols->Add()->SetFieldName("Missing");
    TQxColumn* hidden = cols->Add();
    hidden->SetFieldName("Name");
    hidden->SetVisible(false);
    cols->Add()->SetFieldName("Code");
    QTemporaryDir dir;
    const QString path = dir.filePath("cols.txt");
    TQxDatasetToText().ExportGrid(g.grid(), path);
    EXPECT_EQ(fileBytes(path), QByteArray("\"5\"\t\"\"\t\"A01\"\r\n"
                                          "\"\"\t\"\"\t\"q\"\"uote\"\"\"\r\n"
                                          "\"0\"\t\"\"\t\"\"\r\n"));
}

TEST(TextWriter, AnEmptyDatasetGivesAnEmptyFile)
{
    ExportGrid g({{"Code", ftString, 10}}, {});
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.txt");
    TQxDatasetToText().ExportGrid(g.grid(), path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(fileBytes(path), QByteArray());
}

TEST(TextWriter, BlobAndMemoCellsGiveTheirByteCountAndTheirBytesGoToTheSideFile)
{
    ExportGrid g({{"Code", ftString, 10}, {"Notes", ftMemo}, {"Photo", ftBlob}},
                 {
                     {"A", "中文备注", QByteArray("\x01\x00\x03", 3)},
                     {"B", QVariant(), QVariant()},
                     {"C", "x", QVariant()},
                 });
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    TQxDatasetToText().ExportGrid(g.grid(), path);
    EXPECT_EQ(fileBytes(path), QByteArray("\"A\"\t\"8\"\t\"3\"\r\n"
                                          "\"B\"\t\"0\"\t\"0\"\r\n"
                                          "\"C\"\t\"1\"\t\"0\"\r\n"));
    EXPECT_EQ(fileBytes(dir.filePath("notes.mem")),
              QByteArray("\xD6\xD0\xCE\xC4\xB1\xB8\xD7\xA2" "\x01\x00\x03" "x", 12));
}

TEST(TextWriter, NoSideFileWhenNoBlobCellHoldsAByte)
{
    ExportGrid g({{"Code", ftString, 10}, {"Notes", ftMemo}}, {{"A", QVariant()}, {"B", ""}});
    QTemporaryDir dir;
    TQxDatasetToText().ExportGrid(g.grid(), dir.filePath("none.txt"));
    EXPECT_EQ(fileBytes(dir.filePath("none.txt")), QByteArray("\"A\"\t\"0\"\r\n\"B\"\t\"0\"\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"none.txt"});
}

TEST(TextWriter, AFileNameWithoutExtensionGetsTxtAndTheSideFileMem)
{
    struct Case
    {
        QString typed;
        QString text;
        QString side;
    };
    const Case cases[] = {
        {"out", "out.txt", "out.mem"},
        {"out.csv", "out.csv", "out.mem"},
        {"out.", "out.", "out.mem"},
        {"a.b.c", "a.b.c", "a.b.mem"},
        {"dir.x/out", "dir.x/out.txt", "dir.x/out.mem"},
    };
    for (const Case& c : cases) {
        ExportGrid g({{"Notes", ftMemo}}, {{"m"}});
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("dir.x");
        TQxDatasetToText().ExportGrid(g.grid(), dir.filePath(c.typed));
        EXPECT_EQ(fileBytes(dir.filePath(c.text)), QByteArray("\"1\"\r\n")) << c.typed.toStdString();
        EXPECT_EQ(fileBytes(dir.filePath(c.side)), QByteArray("m")) << c.typed.toStdString();
    }
}

TEST(TextWriter, NoGridOrAClosedDatasetRaisesTheWritersErrors)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.txt");
    TQxDatasetToText writer;
    auto message = [&](TQxCustomDBGrid* grid) {
        try {
            writer.ExportGrid(grid, path);
        } catch (const TQxDBToTextError& e) {
            return e.Message();
        }
        return QStringLiteral("<no error>");
    };
    EXPECT_EQ(message(nullptr), QString("网格参数不存在"));

    ExportGrid closed = partsGrid();
    closed.table().Close();
    EXPECT_EQ(message(closed.grid()), QString("Dataset is not active"));

    ExportGrid unbound = partsGrid();
    unbound.grid()->SetDataSource(nullptr);
    EXPECT_EQ(message(unbound.grid()), QString("Dataset is not active"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TextWriter, AFailedSaveRaisesAndLeavesTheOldFileWhole)
{
    std::vector<QVariantList> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({QString("code %1").arg(i), QString("name %1").arg(i), i, "2024-03-05"});
    ExportGrid g({{"Code", ftString, 10}, {"Name", ftString, 20}, {"Qty", ftInteger}, {"Day", ftDate}}, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    qxtest::writeFile(path, "old");
    {
        qxtest::FileSizeLimit full(16 * 1024);
        if (!full.ok())
            GTEST_SKIP() << "cannot limit file sizes here";
        EXPECT_THROW(TQxDatasetToText().ExportGrid(g.grid(), path), EInOutError);
    }
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.txt"});
    EXPECT_FALSE(g.table().ControlsDisabled());
}
