// The grid printer's text and RTF files on a disk that fills up part way: the export raises,
// the file there before keeps every byte, nothing else is left in the folder, and the grid's
// dataset is handed back to its controls.
#include "PrintGridPrintFixture.h"

#include "platform/rtl/Exceptions.h"
#include "tests/support/FileSizeLimit.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace qxprinttest;

TEST(GridExportFiles, AFullDiskKeepsTheOldFile)
{
    registerLibraryReportFunctions();
    const struct
    {
        const char* name;
        std::function<void(TQxPrintGrid&, const QString&)> exportTo;
    } cases[] = {
        {"grid.txt", [](TQxPrintGrid& p, const QString& f) { p.ExportText(f); }},
        {"grid.rtf", [](TQxPrintGrid& p, const QString& f) { p.ExportRtf(f); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        auto data = numberedGrid(40);
        TQxPrintGrid printer;
        printer.SetDBGrid(data->grid());
        const QString file = dir.filePath(QString::fromLatin1(c.name));
        c.exportTo(printer, file);
        const qint64 whole = readAll(file).size();
        ASSERT_GT(whole, 200);
        for (const qint64 limit : {qint64(0), whole / 2, whole - 1}) {
            SCOPED_TRACE(limit);
            {
                QFile old(file);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
                ASSERT_EQ(old.write("old"), 3);
            }
            {
                qxtest::FileSizeLimit full{rlim_t(limit)};
                ASSERT_TRUE(full.ok());
                EXPECT_THROW(c.exportTo(printer, file), EInOutError);
            }
            EXPECT_EQ(readAll(file), QByteArray("old"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QString::fromLatin1(c.name)});
            EXPECT_FALSE(data->table()->ControlsDisabled());
        }
    }
}
