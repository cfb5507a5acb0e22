// The preview control, the preview-interface registry and the standard preview window,
// headless with real widgets and keys.
#include "RecordingFilter.h"
#include "ReportFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/report/QRPreview.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRStandardPreview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace rpt;

namespace {

// A report of n pages, one row a page.
class Previews : public ::testing::Test
{
protected:
    explicit Previews(int pages = 5) : data(table(QStringLiteral("Data")))
    {
        for (int i = 1; i <= pages; ++i)
            add(*data, QStringLiteral("g"), QStringLiteral("r%1").arg(i), i);
        report.SetDataSet(data.get());
        report.SetReportTitle(QStringLiteral("预览测试"));
        auto* detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(1000);
        expr(detail, QStringLiteral("Name"));
        dialogs = qx::ScriptedDialogService::current();
        dialogs->clear();
    }
    ~Previews() override
    {
        // Windows left open by a failed test go before the next one.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TQRStandardPreview*>(w))
                w->close();
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static TQRStandardPreview* openWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* p = qobject_cast<TQRStandardPreview*>(w);
            if (p && p->isVisible())
                return p;
        }
        return nullptr;
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
    qx::ScriptedDialogService* dialogs = nullptr;
};

TEST_F(Previews, ControlZoomsAndScrolls)
{
    report.Prepare();
    TQRPreview preview;
    preview.resize(400, 300);
    preview.show();
    preview.SetQRPrinter(report.QRPrinter());
    EXPECT_EQ(preview.PageNumber(), 1);
    const QSize view = preview.viewport()->size();

    // A4 at 100 % is 794 x 1123 pixels, with a 10-pixel margin around it.
    EXPECT_EQ(preview.PageRect().size(), QSize(794, 1123));
    EXPECT_EQ(preview.HorzScrollBar()->maximum(), 794 + 20 - view.width());
    EXPECT_EQ(preview.VertScrollBar()->maximum(), 1123 + 20 - view.height());

    preview.SetZoom(50);
    EXPECT_EQ(preview.PageRect().size(), QSize(397, 562));
    preview.ZoomToWidth();
    EXPECT_EQ(preview.Zoom(), (view.width() - 20) * 100 / 794);
    EXPECT_LE(preview.PageRect().width(), view.width() - 20);
    EXPECT_EQ(preview.HorzScrollBar()->maximum(), 0);
    preview.ZoomToFit();
    EXPECT_LE(preview.PageRect().height(), preview.viewport()->height() - 20);
    EXPECT_EQ(preview.VertScrollBar()->maximum(), 0);
    preview.SetZoom(5000);
    EXPECT_EQ(preview.Zoom(), 1000);

    // The arrow keys scroll.
    preview.SetZoom(200);
    preview.VertScrollBar()->setValue(0);
    QTest::keyClick(&preview, Qt::Key_Down);
    EXPECT_GT(preview.VertScrollBar()->value(), 0);
    EXPECT_EQ(preview.PageRect().top(), 10 - preview.VertScrollBar()->value());
}

TEST_F(Previews, ControlMovesBetweenPages)
{
    report.Prepare();
    TQRPreview preview;
    preview.resize(300, 300);
    preview.show();
    preview.SetQRPrinter(report.QRPrinter());
    QList<int> shown;
    QObject::connect(&preview, &TQRPreview::pageNumberChanged, [&](int page) { shown << page; });
    QTest::keyClick(&preview, Qt::Key_PageDown);
    QTest::keyClick(&preview, Qt::Key_PageDown);
    QTest::keyClick(&preview, Qt::Key_End);
    QTest::keyClick(&preview, Qt::Key_PageDown); // already on the last page
    QTest::keyClick(&preview, Qt::Key_PageUp);
    QTest::keyClick(&preview, Qt::Key_Home);
    QTest::keyClick(&preview, Qt::Key_PageUp); // already on the first
    EXPECT_EQ(shown, (QList<int>{2, 3, 5, 4, 1}));
    preview.SetPageNumber(99);
    EXPECT_EQ(preview.PageNumber(), 5);
    preview.SetPageNumber(-3);
    EXPECT_EQ(preview.PageNumber(), 1);
    TQRPreview empty;
    empty.SetPageNumber(3);
    EXPECT_EQ(empty.PageNumber(), 0);
}

// An interface that shows a control and notes what it saw as pages came.
class WatchingInterface : public TQRPreviewInterface
{
public:
    static inline QStringList seen;
    static inline QPointer<TQRPreview> control;
    QWidget* Show(TQRPrinter* printer) override
    {
        auto* preview = new TQRPreview;
        preview->setAttribute(Qt::WA_DeleteOnClose);
        preview->SetQRPrinter(printer);
        preview->OnPageAvailable = [printer](QObject*, int page) {
            seen << QStringLiteral("page %1 %2").arg(page).arg(printer->Status() == mpBusy ? "busy" : "done");
        };
        preview->OnProgressUpdate = [](QObject*, int progress) { seen << QStringLiteral("progress %1").arg(progress); };
        preview->show();
        control = preview;
        return preview;
    }
    QWidget* ShowModal(TQRPrinter* printer) override { return Show(printer); }
};

TEST_F(Previews, PagesAppearWhileTheReportRuns)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    RegisterPreviewClass<WatchingInterface>();
    WatchingInterface::seen.clear();
    report.Preview();
    EXPECT_EQ(WatchingInterface::seen,
              (QStringList{"progress 0", "progress 20", "page 1 busy", "progress 40", "page 2 busy", "progress 60",
                           "page 3 busy", "progress 80", "page 4 busy", "progress 99", "page 5 busy", "progress 100",
                           "page 5 done"}));
    ASSERT_TRUE(WatchingInterface::control);
    EXPECT_EQ(WatchingInterface::control->PageNumber(), 1);
    // Nothing closed the preview: the report keeps its printer object.
    EXPECT_NE(report.QRPrinter(), nullptr);
    report.QRPrinter()->ClosePreview(WatchingInterface::control);
    EXPECT_EQ(report.QRPrinter(), nullptr);
    WatchingInterface::control->close();
}

TEST_F(Previews, RegistryFallsBackToTheStandardWindow)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    RegisterPreviewClass<WatchingInterface>();
    EXPECT_NE(dynamic_cast<WatchingInterface*>(CreatePreviewInterface().get()), nullptr);
    RegisterStandardPreviewClass();
    EXPECT_NE(dynamic_cast<TQRStandardPreviewInterface*>(CreatePreviewInterface().get()), nullptr);
}

TEST_F(Previews, ReportKeepsItsPrinterObjectUntilThePreviewCloses)
{
    report.Preview();
    TQRStandardPreview* window = openWindow();
    ASSERT_NE(window, nullptr);
    QPointer<TQRPrinter> printer = report.QRPrinter();
    ASSERT_TRUE(printer);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("预览测试"));
    EXPECT_EQ(window->StatusText(), QStringLiteral("第 1 页 / 共 5 页"));

    QTest::keyClick(window->Preview(), Qt::Key_PageDown);
    EXPECT_EQ(window->StatusText(), QStringLiteral("第 2 页 / 共 5 页"));
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnLast")), Qt::LeftButton);
    EXPECT_EQ(window->Preview()->PageNumber(), 5);
    EXPECT_FALSE(window->findChild<QToolButton*>(QStringLiteral("btnNext"))->isEnabled());
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnFirst")), Qt::LeftButton);
    EXPECT_EQ(window->Preview()->PageNumber(), 1);
    EXPECT_FALSE(window->findChild<QToolButton*>(QStringLiteral("btnPrior"))->isEnabled());
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnZoomWidth")), Qt::LeftButton);
    EXPECT_EQ(window->Preview()->HorzScrollBar()->maximum(), 0);

    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnClose")), Qt::LeftButton);
    EXPECT_EQ(report.QRPrinter(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(printer);
    EXPECT_EQ(openWindow(), nullptr);
}

TEST_F(Previews, ModalPreviewReturnsWhenClosed)
{
    int pagesShown = 0;
    dialogs->answerDialog([&](QDialog& dialog) {
        auto* window = qobject_cast<TQRStandardPreview*>(&dialog);
        ASSERT_NE(window, nullptr);
        pagesShown = window->QRPrinter()->PageCount();
        QTest::keyClick(window, Qt::Key_Escape);
    });
    report.PreviewModal();
    EXPECT_EQ(pagesShown, 5);
    EXPECT_EQ(dialogs->unexpected(), 0);
    EXPECT_EQ(report.QRPrinter(), nullptr);
}

TEST_F(Previews, StandardWindowSavesPageFilesAndExports)
{
    QTemporaryDir dir;
    QRExportFilterLibrary().AddFilter<RecordingFilter>();
    report.Preview();
    TQRStandardPreview* window = openWindow();
    ASSERT_NE(window, nullptr);

    const QString file = dir.filePath(QStringLiteral("saved.QRP"));
    dialogs->answerFile(file);
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnSave")), Qt::LeftButton);
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->shown().first().caption, QStringLiteral("保存报表"));
    TQRPrinter loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.PageCount(), 5);

    // A file of a filter's extension goes through that filter (this one writes nothing).
    dialogs->answerFile(dir.filePath(QStringLiteral("saved.rec")));
    QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("btnSave")), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("saved.rec"))));
    EXPECT_EQ(dialogs->unexpected(), 0);
    window->close();
}

TEST_F(Previews, ClosingWhileProducingStopsTheReport)
{
    const auto restore = qScopeGuard([] { RegisterStandardPreviewClass(); });
    RegisterStandardPreviewClass();
    auto* detail = report.Bands().DetailBand();
    int printed = 0;
    detail->AfterPrint = [&](TQRCustomBand*, bool) {
        if (++printed == 2) {
            if (TQRStandardPreview* window = openWindow()) {
                EXPECT_FALSE(window->findChild<QToolButton*>(QStringLiteral("btnPrint"))->isEnabled());
                window->close();
            }
        }
    };
    report.Preview();
    EXPECT_EQ(printed, 2);
    EXPECT_EQ(report.QRPrinter(), nullptr);
}

} // namespace
