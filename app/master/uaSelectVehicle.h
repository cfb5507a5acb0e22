// TFrmaSelectVehicle: the device picker ("选择车辆") of the work-order and inspection editors.
// It searches the devices by serial number, model, second model field, owner, contact and
// telephone, and copies the chosen device into the caller's row: only the device and owner
// fields of a fixed list that the row has, never a work order's number, state, request or
// remarks.
#pragma once

#include "app/master/uASearchPicker.h"

#include <QPointer>

class TDataSet;
class TQxEdit;

class TFrmaSelectVehicle : public TFrmASearchPicker
{
    Q_OBJECT

public:
    explicit TFrmaSelectVehicle(QWidget* parent = nullptr);
    ~TFrmaSelectVehicle() override;

    QPointer<TDataSet> Target;
    QString StartText;

    TQxEdit* const EdtName;     // "机主名："
    TQxEdit* const edtVin;      // "SerialNo："
    TQxEdit* const EdtLinker;   // "联系人："
    TQxEdit* const EdtEngineNo; // "Model："
    TQxEdit* const EdtModel;    // "机型："
    TQxEdit* const EdtTel;      // "电话/手机："
    TQxBitBtn* const BtnOK;     // "查询(F12)"
    TQxBitBtn* const BtnAddto;  // "选中(F2)"
    TQxBitBtn* const BtnAdd;    // "新增(F5)"
    TQxBitBtn* const BtnClose;  // "关闭(Esc)"

    void BtnOKClick(QObject* Sender);
    // Takes the current device and closes; nothing while no search has run.
    void dbgSelectDblClick(QObject* Sender);
    // A new device through the device editor; the list is searched again by the operator.
    void BtnAddClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    // F2 takes the current device, F5 adds one, F12 searches.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    void Search() override;
    bool Take() override;
};

// The columns a device gives the row it is chosen into, where the row has them.
const QStringList& DeviceCopyFields();

// Opens the device picker for Target with StartText in the serial-number search (Kind 1) or
// the owner-name search (Kind 2), runs the search and shows the picker modally.
void PickDevice(TDataSet* Target, const QString& StartText, int Kind);
