// TQuickRep: a banded report.
//
// A report holds its page settings (Page), its font, a title, options, the dataset it runs
// over, the datasets its expressions may name (AllDataSets), its bands (Bands() and the
// sub-detail, group and child bands made on it) and, after a run, its printer object with the
// pages. The rules of bands, records and pages are written down in QRBands.h.
//
// A run: BeforePrint(Sender, PrintReport) (false: no pages), the first page with the page
// header, the title, the column header, the records of the report (with a DataSet its detail
// band prints once per record, without one once) with everything under them, the summary, the
// page footer of the last page (when Options has LastPageFooter), then AfterPrint. Pages
// appear one by one with the event loop alive; do not destroy a report while it runs.
//
//   Prepare()        produces all pages into QRPrinter() without showing them
//   Preview()        shows the pages as they come through the registered preview interface
//                    (QRPreviewInterface.h) and returns when they are all made; the printer
//                    object stays until the preview window closes
//   PreviewModal()   makes the pages, then shows them and returns when the window is closed
//   Print()          makes the pages and sends them to the printer of PrinterSettings;
//                    PrinterSetup() first lets the user choose (the print dialog of the dialog
//                    service)
//   ExportToFilter() runs the report through an export filter (Exporting() is true meanwhile)
#pragma once

#include "platform/report/QRBands.h"
#include "platform/report/QRPage.h"

#include <QFlags>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TDataSet;
class TQRExportFilter;
class TQRPrinter;
class TQRBand;
namespace qx::report {
class ReportRun;
}

enum TQuickRepOption { LastPageFooter = 0x1 };
Q_DECLARE_FLAGS(TQuickRepOptions, TQuickRepOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQuickRepOptions)

using TQRReportBeforePrintEvent = std::function<void(TQuickRep* Sender, bool& PrintReport)>;
using TQRNotifyEvent = std::function<void(QObject* Sender)>;

struct TQRPrinterSettings
{
    // Index into the installed printers; -1 is the default printer.
    int PrinterIndex = -1;
    int Copies = 1;
};

// The report's own bands, created when first asked for (Has...(true)).
class TQuickRepBands
{
public:
    bool HasTitle() const { return has(m_title); }
    void SetHasTitle(bool on);
    bool HasPageHeader() const { return has(m_pageHeader); }
    void SetHasPageHeader(bool on);
    bool HasPageFooter() const { return has(m_pageFooter); }
    void SetHasPageFooter(bool on);
    bool HasColumnHeader() const { return has(m_columnHeader); }
    void SetHasColumnHeader(bool on);
    bool HasDetail() const { return has(m_detail); }
    void SetHasDetail(bool on);
    bool HasSummary() const { return has(m_summary); }
    void SetHasSummary(bool on);

    // nullptr while Has... is false.
    TQRBand* TitleBand() const { return get(m_title); }
    TQRBand* PageHeaderBand() const { return get(m_pageHeader); }
    TQRBand* PageFooterBand() const { return get(m_pageFooter); }
    TQRBand* ColumnHeaderBand() const { return get(m_columnHeader); }
    TQRBand* DetailBand() const { return get(m_detail); }
    TQRBand* SummaryBand() const { return get(m_summary); }

private:
    friend class TQuickRep;
    friend class TQRBand;
    struct Slot
    {
        QPointer<TQRBand> band;
        bool on = false;
    };
    explicit TQuickRepBands(TQuickRep* report) : m_report(report) {}
    static bool has(const Slot& s) { return s.on && s.band; }
    static TQRBand* get(const Slot& s) { return has(s) ? s.band.data() : nullptr; }
    void set(Slot& slot, TQRBandType type, bool on);
    Slot* slotOf(TQRBandType type);

    TQuickRep* m_report;
    Slot m_title, m_pageHeader, m_pageFooter, m_columnHeader, m_detail, m_summary;
};

class TQuickRep : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ReportTitle READ ReportTitle WRITE SetReportTitle)
    Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)

public:
    explicit TQuickRep(QObject* owner = nullptr);
    ~TQuickRep() override;

    // ---- settings ------------------------------------------------------------------------
    TQRPage& Page() { return m_page; }
    const TQRPage& Page() const { return m_page; }
    TQRUnit Units() const { return m_page.Units(); }
    void SetUnits(TQRUnit unit) { m_page.SetUnits(unit); }
    QString ReportTitle() const { return m_title; }
    void SetReportTitle(const QString& title) { m_title = title; }
    // Kept as a report font (pixel-sized at 96 dpi, face mapped).
    QFont Font() const { return m_font; }
    void SetFont(const QFont& font);
    TQuickRepOptions Options() const { return m_options; }
    void SetOptions(TQuickRepOptions options) { m_options = options; }
    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    // The datasets whose fields expressions may name (the report's DataSet and those of its
    // sub-details are added when a run starts). AddDataSet ignores a dataset already listed.
    QList<QPointer<TDataSet>>& AllDataSets() { return m_allDataSets; }
    void AddDataSet(TDataSet* dataSet);
    // The name expressions know a dataset by: the one set here (a document template offers
    // the caller's datasets under names of its own, whatever their object names), else its
    // object name. An empty name drops the one set.
    void SetDataSetName(TDataSet* dataSet, const QString& name);
    QString DataSetName(const TDataSet* dataSet) const;
    // The names of AllDataSets, in the same order (for TQREvaluator::SetDataSets).
    QStringList DataSetNames() const;
    TQRPrinterSettings& PrinterSettings() { return m_printerSettings; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool on) { m_showProgress = on; }
    // In percent; printables scale their measures by it.
    int Zoom() const { return m_zoom; }
    void SetZoom(int percent) { m_zoom = percent < 1 ? 1 : percent; }

    TQuickRepBands& Bands() { return m_bands; }
    const TQuickRepBands& Bands() const { return m_bands; }
    // Every band of the report in creation order.
    QList<TQRCustomBand*> BandList() const;

    // ---- geometry in pixels at 100 % -----------------------------------------------------
    // The page's width and length, and the width between the side margins.
    int Width() const { return m_page.WidthPixels(); }
    int Height() const { return m_page.LengthPixels(); }
    int PrintableWidth() const { return m_page.PrintableWidthPixels(); }
    // Text measures in the given font (96 dpi).
    double TextWidth(const QFont& font, const QString& text) const;
    double TextHeight(const QFont& font) const;

    // ---- events --------------------------------------------------------------------------
    TQRReportBeforePrintEvent BeforePrint;
    TQRNotifyEvent AfterPrint;

    // ---- running -------------------------------------------------------------------------
    void Prepare();
    void Preview();
    void PreviewModal();
    void Print();
    // The print dialog (through the dialog service) for PrinterSettings; false when cancelled.
    bool PrinterSetup(QWidget* parent = nullptr);
    void ExportToFilter(TQRExportFilter* filter);

    bool Running() const { return m_running; }
    // The page being produced (from 1).
    int PageNumber() const;
    // From a band's BeforePrint: that band starts a new page; from AfterPrint: the next one.
    void NewPage();
    bool FinalPass() const { return m_running; }
    bool Exporting() const { return m_filter != nullptr; }
    TQRExportFilter* ExportFilter() const { return m_filter; }

    // The printer object of the last run (nullptr before one or after FreeQRPrinter).
    TQRPrinter* QRPrinter() const;
    // Lets go of the printer object (deleted later; during a run, after it).
    void FreeQRPrinter();

    // Expressions whose master is the report take in each record through these.
    void AddNotifyClient(QObject* client, std::function<void()> onRecord) { m_notify.Add(client, std::move(onRecord)); }
    void RemoveNotifyClient(QObject* client) { m_notify.Remove(client); }
    TQRNotifyList& NotifyList() { return m_notify; }

private:
    friend class TQRCustomBand;
    friend class qx::report::ReportRun;
    void addBand(TQRCustomBand* band);
    TQRPrinter* newPrinter();
    void run(TQRPrinter* printer, TQRExportFilter* filter);

    TQRPage m_page;
    QString m_title;
    QFont m_font;
    TQuickRepOptions m_options = LastPageFooter;
    QPointer<TDataSet> m_dataSet;
    QList<QPointer<TDataSet>> m_allDataSets;
    QList<QPair<QPointer<TDataSet>, QString>> m_dataSetNames;
    TQRPrinterSettings m_printerSettings;
    bool m_showProgress = true;
    int m_zoom = 100;
    TQuickRepBands m_bands;
    std::vector<QPointer<TQRCustomBand>> m_bandList;
    TQRNotifyList m_notify;

    QPointer<TQRPrinter> m_printer;
    TQRExportFilter* m_filter = nullptr;
    bool m_running = false;
    bool m_freeAfterRun = false;
    bool m_newPageRequested = false;
};
