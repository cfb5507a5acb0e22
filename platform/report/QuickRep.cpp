#include "platform/report/QuickRep.h"

#include "platform/db/DataSet.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/ProgressWindow.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/ReportRun.h"
#include "platform/rtl/Exceptions.h"

#include <QPrinter>
#include <QPrinterInfo>

using namespace qx::report;

// ---- TQuickRepBands ----------------------------------------------------------------------

TQuickRepBands::Slot* TQuickRepBands::slotOf(TQRBandType type)
{
    switch (type) {
    case rbTitle:
        return &m_title;
    case rbPageHeader:
        return &m_pageHeader;
    case rbPageFooter:
        return &m_pageFooter;
    case rbColumnHeader:
        return &m_columnHeader;
    case rbDetail:
        return &m_detail;
    case rbSummary:
        return &m_summary;
    default:
        return nullptr;
    }
}

void TQuickRepBands::set(Slot& slot, TQRBandType type, bool on)
{
    if (on && !slot.band) {
        // The new band takes the slot itself (TQRBand::SetBandType).
        new TQRBand(m_report, type);
    }
    slot.on = on;
}

void TQuickRepBands::SetHasTitle(bool on) { set(m_title, rbTitle, on); }
void TQuickRepBands::SetHasPageHeader(bool on) { set(m_pageHeader, rbPageHeader, on); }
void TQuickRepBands::SetHasPageFooter(bool on) { set(m_pageFooter, rbPageFooter, on); }
void TQuickRepBands::SetHasColumnHeader(bool on) { set(m_columnHeader, rbColumnHeader, on); }
void TQuickRepBands::SetHasDetail(bool on) { set(m_detail, rbDetail, on); }
void TQuickRepBands::SetHasSummary(bool on) { set(m_summary, rbSummary, on); }

// ---- TQuickRep ---------------------------------------------------------------------------

TQuickRep::TQuickRep(QObject* owner) : QObject(owner), m_font(defaultReportFont()), m_bands(this) {}

TQuickRep::~TQuickRep() = default;

TDataSet* TQuickRep::DataSet() const
{
    return m_dataSet;
}

void TQuickRep::SetDataSet(TDataSet* dataSet)
{
    m_dataSet = dataSet;
}

TQRPrinter* TQuickRep::QRPrinter() const
{
    return m_printer;
}

void TQuickRep::SetFont(const QFont& font)
{
    m_font = reportFont(font);
}

void TQuickRep::AddDataSet(TDataSet* dataSet)
{
    if (!dataSet)
        return;
    for (const QPointer<TDataSet>& ds : m_allDataSets) {
        if (ds == dataSet)
            return;
    }
    m_allDataSets.append(dataSet);
}

void TQuickRep::SetDataSetName(TDataSet* dataSet, const QString& name)
{
    if (!dataSet)
        return;
    m_dataSetNames.removeIf([dataSet](const QPair<QPointer<TDataSet>, QString>& entry) {
        return !entry.first || entry.first == dataSet;
    });
    if (!name.isEmpty())
        m_dataSetNames.append({dataSet, name});
}

QString TQuickRep::DataSetName(const TDataSet* dataSet) const
{
    if (!dataSet)
        return QString();
    for (const QPair<QPointer<TDataSet>, QString>& entry : m_dataSetNames) {
        if (entry.first == dataSet)
            return entry.second;
    }
    return dataSet->objectName();
}

QStringList TQuickRep::DataSetNames() const
{
    QStringList names;
    names.reserve(m_allDataSets.size());
    for (const QPointer<TDataSet>& ds : m_allDataSets)
        names.append(DataSetName(ds));
    return names;
}

void TQuickRep::addBand(TQRCustomBand* band)
{
    m_bandList.emplace_back(band);
}

QList<TQRCustomBand*> TQuickRep::BandList() const
{
    QList<TQRCustomBand*> out;
    for (const QPointer<TQRCustomBand>& b : m_bandList) {
        if (b && b->parent() == this)
            out.append(b.data());
    }
    return out;
}

double TQuickRep::TextWidth(const QFont& font, const QString& text) const
{
    return textWidthPixels(font, text);
}

double TQuickRep::TextHeight(const QFont& font) const
{
    return textHeightPixels(font);
}

int TQuickRep::PageNumber() const
{
    return m_printer ? m_printer->PageNumber() : 0;
}

void TQuickRep::NewPage()
{
    if (m_running)
        m_newPageRequested = true;
}

TQRPrinter* TQuickRep::newPrinter()
{
    if (m_running)
        throw Exception(QStringLiteral("报表正在生成，请稍候"));
    FreeQRPrinter();
    auto* printer = new TQRPrinter(this);
    printer->SetParentReport(this);
    printer->SetTitle(m_title);
    printer->SetPrinterIndex(m_printerSettings.PrinterIndex);
    printer->SetCopies(m_printerSettings.Copies);
    m_printer = printer;
    return printer;
}

void TQuickRep::FreeQRPrinter()
{
    if (m_running) {
        if (m_printer)
            m_printer->Cancel();
        m_freeAfterRun = true;
        return;
    }
    m_freeAfterRun = false;
    if (TQRPrinter* printer = m_printer) {
        m_printer = nullptr;
        printer->SetParentReport(nullptr);
        printer->deleteLater();
    }
}

void TQuickRep::run(TQRPrinter* printer, TQRExportFilter* filter)
{
    m_running = true;
    m_filter = filter;
    auto finish = [this, printer](bool aborted) {
        m_running = false;
        m_filter = nullptr;
        m_newPageRequested = false;
        printer->EndDoc(aborted);
    };
    try {
        ReportRun(*this, *printer, filter).execute();
    } catch (...) {
        finish(true);
        if (m_freeAfterRun)
            FreeQRPrinter();
        throw;
    }
    finish(false);
    if (AfterPrint)
        AfterPrint(this);
    if (m_freeAfterRun)
        FreeQRPrinter();
}

void TQuickRep::Prepare()
{
    run(newPrinter(), nullptr);
}

void TQuickRep::Preview()
{
    TQRPrinter* printer = newPrinter();
    connect(printer, &TQRPrinter::previewClosed, this, [this, printer] {
        if (m_printer == printer)
            FreeQRPrinter();
    });
    CreatePreviewInterface()->Show(printer);
    run(printer, nullptr);
}

void TQuickRep::PreviewModal()
{
    TQRPrinter* printer = newPrinter();
    connect(printer, &TQRPrinter::previewClosed, this, [this, printer] {
        if (m_printer == printer)
            FreeQRPrinter();
    });
    run(printer, nullptr);
    if (m_printer == printer)
        CreatePreviewInterface()->ShowModal(printer);
}

void TQuickRep::Print()
{
    std::unique_ptr<QPrinter> target = makePrinter(m_printerSettings.PrinterIndex);
    TQRPrinter* printer = newPrinter();
    std::unique_ptr<ProgressWindow> progress;
    if (m_showProgress) {
        progress = std::make_unique<ProgressWindow>(printer, m_title);
        progress->show();
    }
    run(printer, nullptr);
    progress.reset();
    if (m_printer == printer && !printer->Cancelled())
        printer->Print(*target, 1, 0, m_printerSettings.Copies);
    FreeQRPrinter();
}

bool TQuickRep::PrinterSetup(QWidget* parent)
{
    std::unique_ptr<QPrinter> target = makePrinter(m_printerSettings.PrinterIndex);
    PrintChoice choice;
    const int pages = m_printer ? m_printer->PageCount() : 0;
    if (!choosePrinter(*target, pages, choice, parent))
        return false;
    m_printerSettings.Copies = choice.copies;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    m_printerSettings.PrinterIndex = -1;
    for (qsizetype i = 0; i < printers.size(); ++i) {
        if (printers.at(i).printerName() == target->printerName())
            m_printerSettings.PrinterIndex = int(i);
    }
    return true;
}

void TQuickRep::ExportToFilter(TQRExportFilter* filter)
{
    if (!filter)
        return;
    run(newPrinter(), filter);
    FreeQRPrinter();
}
