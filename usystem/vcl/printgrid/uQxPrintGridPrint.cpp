// Printing and previewing a grid printer's report, and its boxed text export.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include "platform/db/DataSet.h"
#include "platform/env/DialogService.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/ui/Fonts.h"
#include "usystem/vcl/preview/uQxQrprogress.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"
#include "usystem/vcl/report/uQxAsciiExport.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QWidget>

#include <exception>
#include <memory>
#include <optional>

namespace {

// The wait cursor while a report is built and counted; the cursor comes back on every path.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The small window shown while the report's pages are counted: not modal, gone with its
// owner.
std::unique_ptr<QWidget> showCountingNotice()
{
    auto form = std::make_unique<QWidget>(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    form->setObjectName(QStringLiteral("PrepareInfo"));
    form->setWindowTitle(QStringLiteral("信息"));
    form->setFont(qx::libraryFont(9));
    form->setFixedSize(180, 70);
    auto* label = new QLabel(QStringLiteral("正在预处理报表..."), form.get());
    label->setObjectName(QStringLiteral("Label1"));
    label->move(35, 13);
    label->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
    }
    form->show();
    return form;
}

void showPrintError(const QString& text)
{
    qx::messageBox(nullptr, text, QStringLiteral("错误"), qx::MessageIcon::Error, {qx::mrOk}, qx::mrOk);
}

// Returns when the report has let go of its printer object: its preview window was closed
// (or the report is gone). The event loop runs meanwhile.
void waitForPreviewClosed(TQuickRep* report)
{
    QPointer<TQuickRep> watched(report);
    if (!watched || !watched->QRPrinter())
        return;
    QEventLoop loop;
    QPointer<TQRPrinter> printer(watched->QRPrinter());
    // The report frees its printer object when the preview closes (connected first).
    QObject::connect(printer, &TQRPrinter::previewClosed, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QObject::connect(printer, &QObject::destroyed, &loop, &QEventLoop::quit);
    QObject::connect(watched, &QObject::destroyed, &loop, &QEventLoop::quit);
    while (watched && watched->QRPrinter() && printer)
        loop.exec();
}

} // namespace

void TQxPrintGrid::Print(bool Preview)
{
    QxGridPrintState& state = gridPrintState();
    if (state.PrintBusy)
        return;
    FExportMode = false;
    const int keptRowsPerPage = RowsPerPage();

    // The printer may go while the preview runs (its owner closed); the grid and the dataset
    // may go with their form. Nothing below touches what is gone.
    const QPointer<TQxPrintGrid> self(this);
    std::optional<BusyCursor> busy(std::in_place);
    state.PrintBusy = true;
    // Frees whatever building left behind, prepared or not.
    auto discardReport = [this] {
        FPrepared = true;
        SetReportPrepared(false);
    };

    try {
        SetReportPrepared(true);
    } catch (...) {
        busy.reset();
        discardReport();
        SetRowsPerPage(keptRowsPerPage);
        state.PrintBusy = false;
        showPrintError(QStringLiteral("建立报表时，发生错误！"));
        return;
    }
    if (!Prepared()) {
        busy.reset();
        SetRowsPerPage(keptRowsPerPage);
        state.PrintBusy = false;
        return;
    }

    const QPointer<TDataSet> data(PrintedDataSet());
    auto controls = std::make_unique<qx::ControlsGuard>(data.data());
    // Every way out: no report left, the dataset on its first record with its controls back,
    // the rows per page as they were, the next print allowed.
    auto finish = qScopeGuard([&] {
        busy.reset();
        state.PrintBusy = false;
        if (!self)
            return;
        SetReportPrepared(false);
        if (data && data->Active())
            data->First();
        controls.reset();
        SetRowsPerPage(keptRowsPerPage);
    });

    state.TotalPages = 1;
    SetTwoPassReport(NeedsPageCount());
    if (TwoPassReport()) {
        std::unique_ptr<QWidget> notice = showCountingNotice();
        try {
            Report()->Prepare();
        } catch (...) {
            notice.reset();
            if (Report())
                Report()->FreeQRPrinter();
            finish.dismiss();
            busy.reset();
            SetReportPrepared(false);
            if (data && data->Active())
                data->First();
            controls.reset();
            SetRowsPerPage(keptRowsPerPage);
            state.PrintBusy = false;
            showPrintError(QStringLiteral("预处理报表时，发生错误！"));
            return;
        }
        if (TQRPrinter* printer = Report()->QRPrinter())
            state.TotalPages = printer->PageCount();
        notice.reset();
        Report()->FreeQRPrinter();
    }
    busy.reset();

    if (Preview) {
        QPointer<QWidget> ownerForm = qobject_cast<QWidget*>(parent());
        if (ownerForm && !(ownerForm->isWindow() && ownerForm->isVisible()))
            ownerForm = nullptr;
        if (ownerForm)
            ownerForm->setEnabled(false);
        auto reenable = qScopeGuard([&] {
            if (ownerForm) {
                ownerForm->setEnabled(true);
                ownerForm->activateWindow();
                ownerForm->setFocus();
            }
        });
        const QPointer<TQuickRep> report(Report());
        report->Preview();
        waitForPreviewClosed(report);
    } else {
        PrintWithProgress(Report());
    }
}

void TQxPrintGrid::ExportText(const QString& FileName)
{
    if (FileName.trimmed().isEmpty())
        return;
    FExportMode = true;
    SetReportPrepared(true);
    if (!Prepared()) {
        FExportMode = false;
        return;
    }
    QxGridPrintState& state = gridPrintState();
    state.SpanPageNo = 0;
    state.CurrentSpan = 0;
    SpanPart = 0;
    const QPointer<TDataSet> data(PrintedDataSet());
    auto controls = std::make_unique<qx::ControlsGuard>(data.data());
    auto finish = qScopeGuard([&] {
        SetReportPrepared(false);
        FExportMode = false;
        if (data && data->Active())
            data->First();
        controls.reset();
    });
    TsQRAsciiExportFilter filter(FileName);
    Report()->ExportToFilter(&filter);
}

