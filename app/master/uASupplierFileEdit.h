// TFrmASupplierFileEdit: the supplier editor ("录入供应商档案"); a code another supplier has
// is refused.
#pragma once

#include "app/master/uAMasterEdit.h"

class TFrmASupplierFileEdit : public TFrmAMasterEdit
{
    Q_OBJECT

public:
    explicit TFrmASupplierFileEdit(QWidget* parent = nullptr);
    ~TFrmASupplierFileEdit() override;

    TDataSource* const dsEdit;
};
