// TFrmAClientFileEdit: the customer editor ("录入客户档案"); a code another customer has is
// refused.
#pragma once

#include "app/master/uAMasterEdit.h"

class TFrmAClientFileEdit : public TFrmAMasterEdit
{
    Q_OBJECT

public:
    explicit TFrmAClientFileEdit(QWidget* parent = nullptr);
    ~TFrmAClientFileEdit() override;

    TDataSource* const dsEdit;
};
