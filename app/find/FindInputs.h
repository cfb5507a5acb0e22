// The controls of the find dialog's conditions, made from the condition table, and the text
// each condition gives from what was filled in.
//
// Control names are the kind's prefix, the page and the column: "EdtReceptionBillNo" (value),
// "CbxReceptionBillNo" (operator), "LstCheckCheckType" (value list), "EdtReceptionTimesAmountFrom"
// and "...To" (range), "ChkReceptionInTime", "DtpReceptionInTimeFrom" and "...To" (date range),
// "RgpINPayState" (radio group) and "LstDayAccountJD" (choice list).
#pragma once

#include "app/find/FindModel.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

class QRadioButton;
class QWidget;
class TQxCheckBox;
class TQxComboBox;
class TQxEdit;

namespace qx {
class DatePicker;
}

namespace qx::app::find {

struct FindInputs
{
    const FindCondition* Condition = nullptr;
    TQxComboBox* Operator = nullptr;
    TQxEdit* Value = nullptr;
    TQxComboBox* ValueList = nullptr;
    TQxEdit* From = nullptr;
    TQxEdit* To = nullptr;
    TQxCheckBox* Check = nullptr;
    qx::DatePicker* FromDate = nullptr;
    qx::DatePicker* ToDate = nullptr;
    QList<QRadioButton*> Radios;
    TQxComboBox* ChoiceList = nullptr;

    // The fragment this condition adds to the where text; empty when it adds nothing. A range
    // edit that does not hold a number raises the run-time library's conversion error; an
    // inverted range shows its message over Parent and still gives both comparisons.
    QString Text(QWidget* Parent) const;
};

// Makes the controls of Page's conditions on Sheet, laid out in two columns in the table's
// order (which is also the tab order). The result has one entry per condition of the whole
// table, by its index; conditions of other pages stay without controls. WirePick is called
// for every value edit that carries a pick button.
void BuildFindPage(QWidget* Sheet, const FindPage& Page, std::vector<FindInputs>& Inputs,
                   const std::function<void(TQxEdit*)>& WirePick);

} // namespace qx::app::find
