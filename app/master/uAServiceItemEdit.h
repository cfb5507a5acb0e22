// TFrmAServiceItemEdit: the repair-item editor ("录入维修项目"). A new item is charged by the
// hour ("按工时") until the user picks another way; a code another item has is refused.
#pragma once

#include "app/master/uAMasterEdit.h"

class TFrmAServiceItemEdit : public TFrmAMasterEdit
{
    Q_OBJECT

public:
    explicit TFrmAServiceItemEdit(QWidget* parent = nullptr);
    ~TFrmAServiceItemEdit() override;

    TDataSource* const dsEdit;
};
