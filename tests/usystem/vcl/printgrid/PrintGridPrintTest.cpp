// Printing and previewing through the grid printer, and the one-call print behind the export
// unit.
#include "PrintGridPrintFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRExport.h"
#include "platform/report/QuickRep.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/export/uQxTranOut.h"
#include "usystem/vcl/printgrid/PrintGridJob.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"
#include "usystem/vcl/report/uQxAsciiExport.h"

#include "tests/support/Widgets.h"

#include <QDialog>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qxprinttest;

namespace {

// A printer whose report cannot be built.
class FailingBuildPrintGrid : public TQxPrintGrid
{
public:
    using TQxPrintGrid::TQxPrintGrid;
    bool BuildReport() override
    {
        TQxPrintGrid::BuildReport();
        throw Exception(QStringLiteral("字段不存在"));
    }
};

// A printer whose report fails while its pages are counted.
class FailingCountPrintGrid : public TQxPrintGrid
{
public:
    using TQxPrintGrid::TQxPrintGrid;
    bool BuildReport() override
    {
        const bool built = TQxPrintGrid::BuildReport();
        if (built) {
            Report()->AfterPrint = [](QObject*) { throw Exception(QStringLiteral("打印机出错")); };
        }
        return built;
    }
};

// What every print leaves behind, whichever way it ended.
void expectPrintCleanedUp(const TQxPrintGrid& printer, const TDataSet* data, int rowsPerPage)
{
    EXPECT_FALSE(gridPrintState().PrintBusy);
    EXPECT_FALSE(printer.Prepared());
    EXPECT_EQ(printer.Report(), nullptr);
    EXPECT_EQ(printer.RowsPerPage(), rowsPerPage);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    if (data) {
        EXPECT_FALSE(data->ControlsDisabled());
        if (data->Active() && !data->IsEmpty()) {
            EXPECT_EQ(data->RecNo(), 1);
        }
    }
}

} // namespace

class GridPrint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerLibraryReportFunctions();
        registerGridPrinter();
    }
    void TearDown() override
    {
        EXPECT_EQ(dialogs.unexpected(), 0);
        EXPECT_TRUE(previewWindows().isEmpty());
    }

    qx::ScriptedDialogService& dialogs = qx::test::script();
};

TEST_F(GridPrint, ClosedOrEmptyDatasetsPrintNothingAndTheNextPrintWorks)
{
    struct Case
    {
        const char* what;
        int rows;
        bool close;
    };
    const Case cases[] = {{"closed", 3, true}, {"empty", 0, false}};
    for (const Case& c : cases) {
        auto data = numberedGrid(c.rows);
        if (c.close)
            data->table()->Close();
        TQxPrintGrid printer;
        printer.SetDBGrid(data->grid());
        printer.Print(true);
        EXPECT_TRUE(previewWindows().isEmpty()) << c.what;
        EXPECT_TRUE(dialogs.shown().isEmpty()) << c.what;
        expectPrintCleanedUp(printer, data->table(), 0);

        // The next print is not turned away.
        auto filled = numberedGrid(2);
        printer.SetDBGrid(filled->grid());
        int pages = 0;
        closePreviewWhenDone([&](TfrmNetScapePreview& preview) { pages = preview.QRPrinter()->PageCount(); });
        printer.Print(true);
        EXPECT_EQ(pages, 1) << c.what;
        expectPrintCleanedUp(printer, filled->table(), 0);
    }
}

TEST_F(GridPrint, ASecondPrintDuringThePreviewReturnsAtOnce)
{
    auto data = numberedGrid(5);
    data->table()->Last();
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    TQxPrintGrid other;
    other.SetDBGrid(data->grid());
    bool busyMeanwhile = false;
    int previewsMeanwhile = 0;
    bool controlsOffMeanwhile = false;
    closePreviewWhenDone([&](TfrmNetScapePreview&) {
        busyMeanwhile = gridPrintState().PrintBusy;
        controlsOffMeanwhile = data->table()->ControlsDisabled();
        other.Print(true);
        printer.Print(false);
        previewsMeanwhile = int(previewWindows().size());
    });
    printer.Print(true);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(controlsOffMeanwhile);
    EXPECT_EQ(previewsMeanwhile, 1);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    expectPrintCleanedUp(printer, data->table(), 0);
}

TEST_F(GridPrint, TheOwnerFormWaitsDisabledUntilThePreviewCloses)
{
    auto data = numberedGrid(2);
    QWidget owner;
    owner.show();
    auto* printer = new TQxPrintGrid(&owner);
    printer->SetDBGrid(data->grid());
    bool enabledMeanwhile = true;
    closePreviewWhenDone([&](TfrmNetScapePreview&) { enabledMeanwhile = owner.isEnabled(); });
    printer->Print(true);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(GridPrint, AnErrorWhileBuildingIsShownAndLeavesNoReport)
{
    auto data = numberedGrid(3);
    FailingBuildPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetRowsPerPage(0);
    dialogs.answerMessage(qx::mrOk);
    printer.Print(true);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("建立报表时，发生错误！"));
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("错误"));
    EXPECT_EQ(dialogs.shown().at(0).buttons, QList<int>{qx::mrOk});
    expectPrintCleanedUp(printer, data->table(), 0);
    EXPECT_EQ(printer.HiddenForm(), nullptr);
}

TEST_F(GridPrint, AnErrorWhileCountingPagesIsShownAndLeavesNoReport)
{
    auto data = numberedGrid(3);
    FailingCountPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetGridFootExpr({QStringLiteral("'共 '+PAGECOUNT+' 页'")});
    dialogs.answerMessage(qx::mrOk);
    printer.Print(true);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("预处理报表时，发生错误！"));
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("错误"));
    expectPrintCleanedUp(printer, data->table(), 0);
    bool noticeLeft = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        noticeLeft = noticeLeft || (w->objectName() == QStringLiteral("PrepareInfo") && w->isVisible());
    EXPECT_FALSE(noticeLeft);
}

TEST_F(GridPrint, TheBrowserClosedDuringItsPreview)
{
    auto data = numberedGrid(4);
    const QPointer<TQxMemTable> table(data->table());
    int pagesAfterClose = -1;
    closePreviewWhenDone([&](TfrmNetScapePreview& preview) {
        data->closeWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The preview keeps its pages; nothing of the browser is needed any more.
        pagesAfterClose = preview.QRPrinter() ? preview.QRPrinter()->PageCount() : -1;
    });
    PrintDBGrid(data->grid(), QStringLiteral("维修单"), QString(), QString(), true);
    EXPECT_TRUE(table.isNull());
    EXPECT_EQ(pagesAfterClose, 1);
    EXPECT_FALSE(gridPrintState().PrintBusy);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(GridPrint, PrintsToPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("grid.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    auto data = numberedGrid(40);
    data->table()->Last();
    TQxPrintGrid printer;
    printer.SetDBGrid(data->grid());
    printer.SetPageTitle1(QStringLiteral("维修单"));
    dialogs.answerDialog([](QDialog& d) { waitFor([&] { return !d.isVisible(); }, 20000); });
    printer.Print(false);
    const QByteArray bytes = readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << bytes.left(20).constData();
    EXPECT_GT(bytes.size(), 1000);
    expectPrintCleanedUp(printer, data->table(), 0);
}

TEST(GridPrintJob, FootLinesAndTheInstalledPrinter)
{
    struct Case
    {
        const char* text;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"'a'", {"'a'"}},
        {"'a'\r\n'b'", {"'a'", "'b'"}},
        {"'a'\n'b'\n", {"'a'", "'b'"}},
        {"'a'\r'b'\r\n\r\n'c'", {"'a'", "'b'", "", "'c'"}},
    };
    for (const Case& c : cases) {
        QxPrintGridJob job;
        job.SetPageFootExpr(QString::fromUtf8(c.text));
        EXPECT_EQ(job.Printer().PageFootExpr(), c.lines) << c.text;
    }

    registerGridPrinter();
    ASSERT_TRUE(bool(gridPrintJobFactory()));
    const std::unique_ptr<QxGridPrintJob> made = gridPrintJobFactory()();
    EXPECT_NE(dynamic_cast<QxPrintGridJob*>(made.get()), nullptr);
    int boxed = 0;
    for (const TQRExportFilterEntry& entry : QRExportFilterLibrary().Filters())
        boxed += entry.FilterName == TsQRAsciiExportFilter(QString()).FilterName() ? 1 : 0;
    EXPECT_EQ(boxed, 1);
}
