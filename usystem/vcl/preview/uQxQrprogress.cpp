#include "usystem/vcl/preview/uQxQrprogress.h"

#include "platform/env/DialogService.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QEvent>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTimer>

#include <memory>

namespace kit = qx::kit;

namespace {
constexpr int kPollInterval = 100;
constexpr int kCloseDelay = 500;
} // namespace

TPrintProgressForm::TPrintProgressForm(QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("PrintProgressForm"));
    SetCaption(QStringLiteral("正在打印..."));
    setFixedSize(180, 89);
    SetPosition(poScreenCenter);

    Info = kit::label(this, "Info", QString(), {18, 37, 145, 13});
    Info->SetAlignment(taCenter);
    CancelButton = kit::button(this, "CancelButton", QStringLiteral("取 消"), {51, 59, 75, 25});
    CancelButton->SetDefault(true);
    Gauge = kit::make<QProgressBar>(this, "Gauge", {12, 16, 157, 18});
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kPollInterval);

    kit::onClick(CancelButton, this, &TPrintProgressForm::CancelButtonClick);
    connect(Timer1, &QTimer::timeout, this, [this] { qx::guard(this, [this] { Timer1Timer(Timer1); }); });
}

TPrintProgressForm::~TPrintProgressForm() = default;

void TPrintProgressForm::changeEvent(QEvent* event)
{
    TFrmBase::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        qx::guard(this, [&] { FormActivate(this); });
}

void TPrintProgressForm::FormShow(QObject* Sender)
{
    TFrmBase::FormShow(Sender);
    if (FStarted)
        return;
    // After the show has completed, so the dialog is on screen while the report runs.
    QTimer::singleShot(0, this, [this] { StartPrint(); });
}

void TPrintProgressForm::FormActivate(QObject*)
{
    update();
}

void TPrintProgressForm::StartPrint()
{
    if (FStarted)
        return;
    FStarted = true;
    FDone = false;
    Timer1->setInterval(kPollInterval);
    Timer1->start();
    TQuickRep* report = FReport;
    if (!report) {
        FDone = true;
        return;
    }
    // Our AfterPrint follows the report's own for this print only.
    const TQRNotifyEvent previous = report->AfterPrint;
    QPointer<TPrintProgressForm> self(this);
    report->AfterPrint = [previous, self](QObject* Sender) {
        if (previous)
            previous(Sender);
        if (self)
            self->FDone = true;
    };
    QPointer<TQuickRep> guardReport(report);
    const auto restore = qScopeGuard([guardReport, previous] {
        if (guardReport)
            guardReport->AfterPrint = previous;
    });
    try {
        report->Print();
    } catch (...) {
        // The error is shown, and the dialog goes at once.
        qx::showCurrentException(self.data());
        if (self) {
            FDone = true;
            Timer1->stop();
            done(qx::mrAbort);
        }
    }
}

void TPrintProgressForm::Timer1Timer(QObject*)
{
    if (Timer1->interval() == kCloseDelay) {
        Timer1->stop();
        done(qx::mrOk);
        return;
    }
    if (FDone || !FReport || !FReport->QRPrinter()) {
        Timer1->stop();
        Gauge->setValue(100);
        Info->SetCaption(QStringLiteral("100 %"));
        update();
        Timer1->setInterval(kCloseDelay);
        Timer1->start();
        return;
    }
    const int progress = FReport->QRPrinter()->Progress();
    if (progress % 5 == 0) {
        Gauge->setValue(progress);
        Info->SetCaption(QString::number(progress) + QStringLiteral("% "));
    }
}

void TPrintProgressForm::CancelButtonClick(QObject*)
{
    if (FReport && FReport->QRPrinter())
        FReport->QRPrinter()->Cancel();
    Timer1->stop();
    done(qx::mrCancel);
}

void PrintWithProgress(TQuickRep* Report)
{
    if (!Report)
        return;
    auto dialog = std::make_unique<TPrintProgressForm>();
    dialog->SetReport(Report);
    Report->SetShowProgress(false);
    qx::DialogService::instance().execDialog(*dialog);
}
