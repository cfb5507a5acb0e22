// The library's report preview window, its preview interface and the two routines on report
// files (the engine's page files, extension QRP).
//
// TfrmNetScapePreview shows the pages of a report's printer object while the engine is still
// making them: a progress bar, page moves, zoom, printing through the library's print dialog
// (uQxRrtPrDlg.h) with page ranges, copies and collation, and opening and saving report files.
// While pages are being made its exit button stops their production instead, the window
// refuses to close and printing waits until all pages exist. The window frees itself when it
// closes and tells the printer object so (TQRPrinter::ClosePreview).
//
// TQRMDIPreviewInterface is what the grid printer registers with the engine
// (RegisterPreviewClass<TQRMDIPreviewInterface>()) so that its reports preview here.
#pragma once

#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRPrinter.h"
#include "usystem/vcl/controls/uBase.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;
class QActionGroup;
class QLabel;
class QProgressBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class TImageList;
class TQRPreview;
class TQxPopupMenu;

class TQRMDIPreviewInterface : public TQRPreviewInterface
{
public:
    // A new preview window for printer, owned by the application, shown and not waited for.
    QWidget* Show(TQRPrinter* printer) override;
    // The same shown modally; returns the window (nullptr once it is gone).
    QWidget* ShowModal(TQRPrinter* printer) override;
};

class TfrmNetScapePreview : public TFrmBase
{
    Q_OBJECT

public:
    explicit TfrmNetScapePreview(TQRPrinter* Printer, QWidget* parent = nullptr);
    ~TfrmNetScapePreview() override;

    TQRPreview* QRPreview1 = nullptr;
    QStatusBar* StatusBar = nullptr;
    QProgressBar* ProgressBar = nullptr;
    TImageList* ImageList1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* tbLine = nullptr;
    QToolButton* btn100 = nullptr;
    QToolButton* btnOnePage = nullptr;
    QToolButton* btnPageWidth = nullptr;
    QToolButton* btnTop = nullptr;
    QToolButton* btnPrevPage = nullptr;
    QToolButton* btnNextPage = nullptr;
    QToolButton* btnLast = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* btnSave = nullptr;
    QToolButton* btnPrint = nullptr;
    QToolButton* btnClose = nullptr;
    TQxPopupMenu* ProcMenu = nullptr;
    QAction* Menu100 = nullptr;
    QAction* MenuWidth = nullptr;
    QAction* MenuPage = nullptr;

    // The printer object whose pages are shown (gone when its report let go of it).
    TQRPrinter* QRPrinter() const { return FQRPrinter; }
    bool FirstShow() const { return FFirstShow; }
    // The text of the first status panel.
    QString StatusText() const { return FStatusText; }
    // The texts of the status panels (0: the state, 1: the page).
    QString PanelText(int index) const;

    // The progress bar goes into the status bar.
    void FormCreate(QObject* Sender) override;
    // FirstShow set, the window maximised, the default cursor.
    void FormShow(QObject* Sender) override;
    // Refused while pages are being made.
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    // Tells the printer object that its preview closed; the window frees itself.
    void FormClose(QObject* Sender, TCloseAction& Action);
    // Esc as the exit button, Page Up and Page Down as the page buttons, Home and End to the
    // first and the last page, the arrows scroll by a tenth of the scroll range.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    void QRPreview1PageAvailable(QObject* Sender, int PageNum);
    void QRPreview1ProgressUpdate(QObject* Sender, int Progress);
    // Puts the progress bar over the third status panel.
    void StatusBarDrawPanel();
    void btnPrintClick(QObject* Sender);
    void btnOpenClick(QObject* Sender);
    void btnSaveClick(QObject* Sender);
    void btnCloseClick(QObject* Sender);
    void btn100Click(QObject* Sender);
    void btnOnePageClick(QObject* Sender);
    void btnPageWidthClick(QObject* Sender);
    void btnTopClick(QObject* Sender);
    void btnPrevPageClick(QObject* Sender);
    void btnNextPageClick(QObject* Sender);
    void btnLastClick(QObject* Sender);
    // Every zoom menu item: its Tag is the zoom in percent, 1 for the page width and 2 for
    // the whole page.
    void N2001Click(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePageInfo();
    void MarkFirstPage();
    // The state of the production shown: the status text, print, open and save enabled or
    // not, and the exit button as "退出" or "停止".
    void ShowProductionState();
    void SetProducing(bool producing);
    void ShowExitButton();
    void ShowStopButton();
    void SetStatusText(const QString& text);
    // Presses one of the three zoom buttons and releases the others (none for nullptr).
    void PressZoomButton(QToolButton* Button);
    void movePage(int page);
    bool Producing() const;

    QPointer<TQRPrinter> FQRPrinter;
    bool FFirstShow = false;
    QString FStatusText;
    QLabel* FPanels[2] = {nullptr, nullptr};
    QWidget* FProgressPanel = nullptr;
    QActionGroup* FZoomItems = nullptr;
};

// Joins the report files in Files, in their order, into Dest: -2 when Files is null, -3
// when it is empty, -1 when Dest is empty, else 0. Raises the engine's errors of a file that
// cannot be read or written (Dest is written atomically).
int MergeReportFiles(const QString& Dest, const QStringList* Files);
// Writes pages FromPage..ToPage of Source to Dest (all pages when FromPage is 0); without
// Collate each page is written Copies times in a row. Returns true. Raises ERangeError for
// pages the file does not have, and the engine's errors of a file that cannot be read or
// written.
bool ExtractReportPages(const QString& Source, const QString& Dest, int FromPage, int ToPage,
                        int Copies, bool Collate);
