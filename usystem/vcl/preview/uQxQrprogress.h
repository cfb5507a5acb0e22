// TPrintProgressForm and PrintWithProgress: a report sent to the printer behind a small modal
// dialog with a gauge, the percentage and a cancel button, in place of the engine's own
// progress window.
//
// The print starts once, from a single-shot timer after the dialog was first shown; showing
// or activating the dialog again never starts it a second time. A timer polls the printer
// object every 100 ms and shows its progress in steps of 5; when the report has printed (or
// let go of its printer object) the dialog shows "100 %" and closes half a second later.
// Cancel stops the print and closes the dialog at once.
#pragma once

#include "platform/report/QuickRep.h"
#include "usystem/vcl/controls/uBase.h"

#include <QPointer>

class QProgressBar;
class QTimer;
class TQxBitBtn;
class TQxLabel;

class TPrintProgressForm : public TFrmBase
{
    Q_OBJECT

public:
    explicit TPrintProgressForm(QWidget* parent = nullptr);
    ~TPrintProgressForm() override;

    TQxLabel* Info = nullptr;
    TQxBitBtn* CancelButton = nullptr;
    QProgressBar* Gauge = nullptr;
    QTimer* Timer1 = nullptr;

    TQuickRep* Report() const { return FReport; }
    void SetReport(TQuickRep* report) { FReport = report; }
    bool Done() const { return FDone; }
    // True once the print was started.
    bool Started() const { return FStarted; }

    // Queues the start of the print after the first show.
    void FormShow(QObject* Sender) override;
    // Repaints; never starts the print.
    void FormActivate(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void CancelButtonClick(QObject* Sender);

protected:
    void changeEvent(QEvent* event) override;

private:
    // Prints the report once; the report's own AfterPrint still runs, followed by ours.
    void StartPrint();

    QPointer<TQuickRep> FReport;
    bool FDone = false;
    bool FStarted = false;
};

// Prints Report behind the dialog and returns when the dialog has closed; nothing for null.
// The report's own progress window is switched off.
void PrintWithProgress(TQuickRep* Report);
