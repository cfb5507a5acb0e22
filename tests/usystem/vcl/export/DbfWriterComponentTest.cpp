// The dBASE writer component: the dataset's controls off during the copy and on again on
// every path, the default extension, and a missing dataset.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <shapefil.h>

#include "ExportTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FileSizeLimit.h"
#include "usystem/vcl/export/uQxdbTrans.h"

using qxtest::ExportGrid;
using qxtest::fileBytes;

namespace {

int dbfRecords(const QString& path)
{
    DBFHandle h = DBFOpen(QFile::encodeName(path).constData(), "rb");
    if (!h)
        return -1;
    const int n = DBFGetRecordCount(h);
    DBFClose(h);
    return n;
}

} // namespace

TEST(DbfWriterComponent, CopiesTheDatasetWithItsControlsOffAndOnAgain)
{
    ExportGrid g({{"Code", ftString, 10}, {"Qty", ftInteger}}, {{"A", 1}, {"B", 2}, {"C", 3}});
    std::vector<bool> disabledWhileMoving;
    g.table().AfterScroll = [&](TDataSet* ds) { disabledWhileMoving.push_back(ds->ControlsDisabled()); };
    TQxDataSetToDBF writer;
    writer.SetDataSet(&g.table());
    QTemporaryDir dir;
    writer.SaveToFile(dir.filePath("parts"));
    EXPECT_EQ(dbfRecords(dir.filePath("parts.dbf")), 3); // ".dbf" added to a name without one
    ASSERT_FALSE(disabledWhileMoving.empty());
    for (bool disabled : disabledWhileMoving)
        EXPECT_TRUE(disabled);
    EXPECT_FALSE(g.table().ControlsDisabled());
    EXPECT_TRUE(g.table().Eof());

    writer.SaveToFile(dir.filePath("parts.tab"));
    EXPECT_EQ(dbfRecords(dir.filePath("parts.tab")), 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("parts.tab.dbf")));
}

TEST(DbfWriterComponent, ControlsAreOnAgainAfterAFailure)
{
    ExportGrid g({{"Weight", ftFloat}}, {{1e30}});
    TQxDataSetToDBF writer;
    writer.SetDataSet(&g.table());
    QTemporaryDir dir;
    EXPECT_THROW(writer.SaveToFile(dir.filePath("w.dbf")), EDatabaseError);
    EXPECT_FALSE(g.table().ControlsDisabled());
    EXPECT_FALSE(QFile::exists(dir.filePath("w.dbf")));

    // A full disk: the old table stays whole.
    std::vector<QVariantList> rows;
    for (int i = 0; i < 2000; ++i)
        rows.push_back({double(i)});
    ExportGrid big({{"Weight", ftFloat}}, rows);
    writer.SetDataSet(&big.table());
    const QString path = dir.filePath("big.dbf");
    qxtest::writeFile(path, "old");
    {
        qxtest::FileSizeLimit full(16 * 1024);
        if (!full.ok())
            GTEST_SKIP() << "cannot limit file sizes here";
        EXPECT_THROW(writer.SaveToFile(path), EInOutError);
    }
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    EXPECT_FALSE(big.table().ControlsDisabled());
}

TEST(DbfWriterComponent, WithoutADatasetItRaises)
{
    TQxDataSetToDBF writer;
    QTemporaryDir dir;
    EXPECT_THROW(writer.SaveToFile(dir.filePath("none.dbf")), EDatabaseError);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
