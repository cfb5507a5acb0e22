// TFrmAVehicleEdit: the entry dialog of devices ("录入车辆档案"), on its own one-row query or on
// the caller's device list. The serial number is the device's identity: one another device
// already has is refused. A double click on the owner's name picks the owner from the customers.
#pragma once

#include "app/master/uAMasterEdit.h"

class TFrmAVehicleEdit : public TFrmAMasterEdit
{
    Q_OBJECT

public:
    explicit TFrmAVehicleEdit(QWidget* parent = nullptr);
    ~TFrmAVehicleEdit() override;

    TDataSource* const dsVehicle;
    TQxBitBtn* const SpeedButton1; // "保存退出(&E)"

    // True when no stored device has the edited serial number; otherwise says
    // "此车号已经存在,请重新更改!" and answers false.
    bool CheckSerialUnique();

private:
    void EdtCNameButtonClick(QObject* Sender);
};
