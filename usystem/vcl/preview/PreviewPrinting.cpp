#include "usystem/vcl/preview/PreviewPrinting.h"

#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/preview/PrintDestination.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>

namespace qx::preview {
namespace {

void printDirectly(TQRPrinter& printer, const PrintRequest& request, PrintDestination& destination)
{
    // The report keeps the choice for its next print.
    if (TQuickRep* report = printer.ParentReport()) {
        report->PrinterSettings().PrinterIndex = request.printerIndex;
        report->PrinterSettings().Copies = request.copies;
    }
    printer.SetPrinterIndex(request.printerIndex);
    printer.SetCopies(request.copies);
    printer.Print(destination.printer(), 1, 0, request.copies);
}

void printThroughFiles(TQRPrinter& printer, const PrintRequest& request, PrintDestination& destination)
{
    // The folder and the files in it go on every path.
    QTemporaryDir folder;
    if (!folder.isValid())
        throw EInOutError(QStringLiteral("无法建立临时文件夹"));
    const QString a = folder.filePath(QStringLiteral("A.QRP"));
    const QString b = folder.filePath(QStringLiteral("B.QRP"));
    const QString c = folder.filePath(QStringLiteral("C.QRP"));

    printer.Save(a);
    ExtractReportPages(a, b, request.fromPage, request.toPage, request.copies, request.collate);
    TQRPrinter copy;
    copy.SetTitle(printer.Title());
    copy.SetPrinterIndex(request.printerIndex);
    if (request.copies > 1 && request.collate) {
        const QStringList files(request.copies, b);
        const int result = MergeReportFiles(c, &files);
        if (result != 0)
            throw EInOutError(QStringLiteral("无法合并报表文件（%1）").arg(result));
        copy.Load(c);
    } else {
        copy.Load(b);
    }
    copy.Print(destination.printer(), 1, 0, 1);
}

} // namespace

void printPages(TQRPrinter& printer, const PrintRequest& request, QWidget* parent)
{
    std::unique_ptr<PrintDestination> destination = PrintDestination::open(request.printerIndex, parent);
    if (!destination)
        return;
    const bool allPages = request.fromPage <= 0;
    if (allPages && request.collate && printer.ParentReport())
        printDirectly(printer, request, *destination);
    else
        printThroughFiles(printer, request, *destination);
    destination->finish();
}

} // namespace qx::preview
