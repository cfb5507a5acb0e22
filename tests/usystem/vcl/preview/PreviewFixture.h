// Pages, report files and reports the preview tests share.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QRBands.h"
#include "platform/report/QRLabels.h"
#include "platform/report/QRPageFile.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/RecordingDevice.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include "tests/platform/rtl/QtPrinters.h"
#include "tests/support/PrintedPages.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QStringList>
#include <QTest>

#include <memory>

namespace qx::test {

// Gives printer count pages, page n showing the text "Pn".
inline void makePages(TQRPrinter& printer, int count, const QString& prefix = QStringLiteral("P"))
{
    printer.BeginDoc(2100, 2970, QFont());
    for (int i = 1; i <= count; ++i) {
        printer.NewPage();
        printer.Canvas()->drawText(QPointF(50, 50), prefix + QString::number(i));
        printer.EndPage();
    }
    printer.EndDoc();
}

using qxtest::pageTexts;

// The texts of every page of a report file.
inline QStringList fileTexts(const QString& fileName)
{
    TQRPrinter printer;
    printer.Load(fileName);
    return pageTexts(printer);
}

// A report file of count pages "Pn" (or prefix + n).
inline void writeReportFile(const QString& fileName, int count, const QString& prefix = QStringLiteral("P"))
{
    TQRPrinter printer;
    makePages(printer, count, prefix);
    printer.Save(fileName);
}

// A report over a table of count records whose detail band fills a page per record, the
// record n printing "Pn".
class PageReport
{
public:
    explicit PageReport(int count) : data(std::make_unique<TQxMemTable>())
    {
        data->setObjectName(QStringLiteral("Data"));
        data->FieldDefs()->Add(QStringLiteral("Name"), ftString, 20);
        data->Open();
        for (int i = 1; i <= count; ++i) {
            data->Append();
            data->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("P%1").arg(i));
            data->Post();
        }
        report.SetDataSet(data.get());
        report.SetShowProgress(false);
        report.SetReportTitle(QStringLiteral("维修单"));
        detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(1000);
        auto* text = new TQRExpr(detail);
        text->SetExpression(QStringLiteral("Name"));
        text->SetWidth(300);
        text->SetHeight(16);
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
    TQRBand* detail = nullptr;
};

// Reports preview in the library's window while it lives.
class ScopedLibraryPreview
{
public:
    ScopedLibraryPreview() { RegisterPreviewClass<TQRMDIPreviewInterface>(); }
    ~ScopedLibraryPreview() { RegisterStandardPreviewClass(); }
    ScopedLibraryPreview(const ScopedLibraryPreview&) = delete;
    ScopedLibraryPreview& operator=(const ScopedLibraryPreview&) = delete;
};

using qxtest::previewWindows;

} // namespace qx::test

namespace qx::test {

// Runs the event loop until done() holds or ms milliseconds have passed.
template <typename Pred>
bool waitUntil(Pred done, int ms = 3000)
{
    for (int waited = 0; !done(); waited += 10) {
        if (waited >= ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}

// Closes the preview windows a test left open and lets their deferred deletes run.
class PreviewWindowsCleanup
{
public:
    PreviewWindowsCleanup() = default;
    ~PreviewWindowsCleanup()
    {
        for (TfrmNetScapePreview* w : previewWindows())
            w->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    PreviewWindowsCleanup(const PreviewWindowsCleanup&) = delete;
    PreviewWindowsCleanup& operator=(const PreviewWindowsCleanup&) = delete;
};

} // namespace qx::test
