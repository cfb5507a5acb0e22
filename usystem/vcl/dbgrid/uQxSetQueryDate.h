// TFrmSetQueryDate: the small modal month calendar that picks a date for one date field.
// The grids' date cells and the record picker open it through ShowDateDialog; the picked day
// reaches the caller only as text written into the field.
#pragma once

#include "platform/db/Fields.h"
#include "usystem/vcl/controls/udlgBase.h"

#include <QPointer>

class TQxCalendar;

class TFrmSetQueryDate : public TFrmDlgBase
{
    Q_OBJECT

public:
    explicit TFrmSetQueryDate(QWidget* parent = nullptr);

    TQxCalendar* MonthCalendar = nullptr; // made in the constructor; events may reach the filter before

    // The field the picked date goes into; not owned, nothing is written when it is null.
    TField* Field() const { return FField; }
    void SetField(TField* value) { FField = value; }

    // The look pass, then the calendar opens on today, whatever the field holds.
    void FormShow(QObject* Sender) override;
    // Writes the calendar's date into the field (putting its dataset into edit mode first)
    // and closes the dialog; without a field it only closes.
    void MonthCalendarDblClick(QObject* Sender);
    // Esc closes; Enter picks the selected day as a double click does.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<TField> FField;
};

// The dialog last created by ShowDateDialog (gone once it closed).
extern QPointer<TFrmSetQueryDate> FrmSetQueryDate;

// Runs the date dialog modally for Field. Control is the caller's control; the dialog does
// not use it. The result shows only in the field.
void ShowDateDialog(TField* Field, QWidget* Control);
