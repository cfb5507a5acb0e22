#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"

#include "platform/db/DataSet.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/edits/uQxDatePad.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QMouseEvent>

QPointer<TFrmSetQueryDate> FrmSetQueryDate;

TFrmSetQueryDate::TFrmSetQueryDate(QWidget* parent) : TFrmDlgBase(parent)
{
    setObjectName(QStringLiteral("FrmSetQueryDate"));
    setWindowTitle(QStringLiteral("选择日期"));
    resize(359, 249);
    // The calendar is the whole dialog: no tool bar, no exit button (Esc closes it).
    PnlTop->hide();

    MonthCalendar = new TQxCalendar(this);
    MonthCalendar->setObjectName(QStringLiteral("MonthCalendar"));
    MonthCalendar->SetTabStop(true);
    qx::setAlign(MonthCalendar, alClient);
    qx::insertComponent(this, MonthCalendar);
    // The calendar reports double clicks through the form's filter.
    MonthCalendar->installEventFilter(this);
}

void TFrmSetQueryDate::FormShow(QObject* Sender)
{
    TFrmDlgBase::FormShow(Sender);
    MonthCalendar->CalendarDate()->SetDateTime(Date());
    MonthCalendar->setFocus(Qt::OtherFocusReason);
}

void TFrmSetQueryDate::MonthCalendarDblClick(QObject*)
{
    if (TField* field = FField.data()) {
        TDataSet* dataSet = field->DataSet();
        const bool started = dataSet && dataSet->State() != dsEdit && dataSet->State() != dsInsert;
        if (started)
            dataSet->Edit();
        try {
            field->SetAsString(DateToStr(MonthCalendar->CalendarDate()->AsDateTime()));
        } catch (...) {
            // The field keeps its value and the dataset the state it had; the error goes on to
            // the message box and the dialog stays open for another pick.
            if (started && dataSet->State() == dsEdit)
                dataSet->Cancel();
            throw;
        }
        done(qx::mrOk);
        return;
    }
    Close();
}

void TFrmSetQueryDate::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmDlgBase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN) {
        // The calendar does not see the Enter as well.
        Key = 0;
        MonthCalendarDblClick(Sender);
    }
}

bool TFrmSetQueryDate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MonthCalendar && event->type() == QEvent::MouseButtonDblClick) {
        auto* me = static_cast<QMouseEvent*>(event);
        // A double click picks the day under the pointer when it is the selected one (the
        // first click selected it); double clicks on the title's buttons only turn pages.
        const QPoint pos = me->position().toPoint() - MonthCalendar->ClientOrigin();
        const int cell = MonthCalendar->CellAt(pos.x(), pos.y());
        if (me->button() == Qt::LeftButton && MonthCalendar->GridRect().contains(pos)
            && cell >= 1 && cell == MonthCalendar->CalendarDate()->SelectedCell) {
            qx::guard(this, [&] { MonthCalendarDblClick(MonthCalendar); });
            return true;
        }
    }
    return TFrmDlgBase::eventFilter(watched, event);
}

void ShowDateDialog(TField* Field, QWidget* Control)
{
    Q_UNUSED(Control);
    // Owned by nobody but itself: the dialog frees itself when it closes.
    auto* dialog = new TFrmSetQueryDate(nullptr);
    FrmSetQueryDate = dialog;
    dialog->SetField(Field);
    qx::DialogService::instance().execDialog(*dialog);
}
