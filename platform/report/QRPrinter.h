// TQRPrinter: the printer object of a report, the keeper of its pages.
//
// Pages are QPictures laid out in pixels of the 96-dpi report screen (one pixel = 254/96
// report units), whatever screen the program runs on; they are scaled to the resolution of
// whatever they are played on. While a report runs, the engine opens each page here
// (NewPage), printables draw on Canvas(), and the finished page is kept and announced
// (pageAvailable), so a preview shows pages as they come. Status goes ready -> producing ->
// finished; Cancel asks a running report to stop after the record it is on.
//
// A report keeps its printer object from a run until FreeQRPrinter, or, after a preview,
// until the preview window tells the printer it closed (ClosePreview): a caller that shows a
// preview without waiting may wait for QRPrinter() to become null.
//
// Page files (Save, Load) are described in QRPageFile.h; loading replaces the pages only when
// the whole file is sound, and the printer then no longer belongs to a report.
#pragma once

#include <QFont>
#include <QObject>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QPrinter;
class QWidget;
class TQuickRep;
class TQRExportFilter;

enum TQRPrinterStatus { mpReady, mpBusy, mpFinished };

class TQRPrinter : public QObject
{
    Q_OBJECT

public:
    explicit TQRPrinter(QObject* parent = nullptr);
    ~TQRPrinter() override;

    // ---- pages -------------------------------------------------------------------------
    int PageCount() const { return int(m_pages.size()); }
    // Page pageNumber (from 1); an empty picture outside 1..PageCount.
    QPicture Page(int pageNumber) const;
    const std::vector<QPicture>& Pages() const { return m_pages; }
    // The paper of the pages, in report units (0.1 mm), and in whole pixels at 100 %.
    double PaperWidth() const { return m_paperWidth; }
    double PaperLength() const { return m_paperLength; }
    int PaperWidthPixels() const;
    int PaperLengthPixels() const;
    // The report's font; export filters start with it.
    QFont ReportFont() const { return m_font; }

    // ---- production ----------------------------------------------------------------------
    TQRPrinterStatus Status() const { return m_status; }
    // 0 to 100.
    int Progress() const { return m_progress; }
    void SetProgress(int value);
    // The page being produced (while producing) or the number of pages produced.
    int PageNumber() const { return m_pageNumber; }
    void Cancel();
    bool Cancelled() const { return m_cancelled; }

    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    // Index into the installed printers (-1: the default printer) and copies.
    int PrinterIndex() const { return m_printerIndex; }
    void SetPrinterIndex(int index) { m_printerIndex = index; }
    int Copies() const { return m_copies; }
    void SetCopies(int copies) { m_copies = copies < 1 ? 1 : copies; }

    // The report whose pages these are; nullptr once a file was loaded or the report is gone.
    TQuickRep* ParentReport() const;
    void SetParentReport(TQuickRep* report);

    // ---- used by the engine while a report runs ------------------------------------------
    // Forgets the pages and starts producing pages of the given paper (report units).
    void BeginDoc(double paperWidth, double paperLength, const QFont& font);
    // Opens the next page; Canvas() draws on it until EndPage.
    void NewPage();
    // Keeps the open page, announces it and lets the event loop run.
    void EndPage();
    // Production is over (finished, also after a cancel). After a failed run (aborted) an open
    // page is kept without being announced and the event loop does not run.
    void EndDoc(bool aborted = false);
    // The painter of the open page (pixels at 100 %), nullptr when no page is open.
    QPainter* Canvas();
    // Draws a page so that one of its pixels covers scaleX x scaleY pixels of the painter's
    // device (under the painter's own transform). Every page is played through here: a picture
    // scales itself by the device's resolution over the screen's, which this undoes, so a page
    // comes out the same whatever screen the program runs on.
    static void PlayPage(QPainter& painter, const QPicture& page, double scaleX = 1.0, double scaleY = 1.0);
    // Report units -> canvas pixels.
    static double XPos(double units);
    static double YPos(double units);
    // Set the canvas font, pen and brush, only when they differ from what it has (every change
    // is stored in the page).
    void SetCanvasFont(const QFont& font);
    void SetCanvasPen(const QPen& pen);
    // The pen text is written with: only its colour shows in text, so a drawn pen of that
    // colour (a frame's rule, say) is kept rather than switched for every piece of text. A
    // pen switch is a large entry in a page's recording.
    void SetCanvasTextColor(const QColor& color);
    void SetCanvasBrush(const QBrush& brush);

    // ---- files and output ----------------------------------------------------------------
    // Raises EInOutError when the file cannot be written.
    void Save(const QString& fileName) const;
    // Raises EInOutError or EReadError (short, damaged, not a page file); the pages stay as
    // they were then.
    void Load(const QString& fileName);
    // Sends pages fromPage..toPage (toPage 0: to the last) to target, copies times: through the
    // printer when it makes copies itself, else the pages are sent again. Raises an Exception
    // when the printer cannot start.
    void Print(QPrinter& target, int fromPage = 1, int toPage = 0, int copies = 1) const;
    // Replays every page and hands its texts to the filter (Start, per page NewPage, TextOut,
    // EndPage, then Finish).
    void ExportToFilter(TQRExportFilter& filter) const;

    // ---- preview -------------------------------------------------------------------------
    // The preview window showing these pages was closed.
    void ClosePreview(QWidget* window);

signals:
    void pageAvailable(int pageNumber);
    void progressChanged(int progress);
    void statusChanged(int status);
    void previewClosed();

private:
    void setStatus(TQRPrinterStatus status);

    void keepPage(const QPicture& page);

    std::vector<QPicture> m_pages;
    std::vector<quint32> m_crcs; // CRC-32C of each page, for the page file
    double m_paperWidth = 2100;
    double m_paperLength = 2970;
    QFont m_font;
    TQRPrinterStatus m_status = mpReady;
    int m_progress = 0;
    int m_pageNumber = 0;
    bool m_cancelled = false;
    QString m_title;
    int m_printerIndex = -1;
    int m_copies = 1;
    QPointer<TQuickRep> m_report;
    std::unique_ptr<QPicture> m_open;
    QPainter m_painter;
};
