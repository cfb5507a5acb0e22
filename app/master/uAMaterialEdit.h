// TFrmAMaterialEdit: the part editor ("配件信息"). It writes a part of the stock file and keeps
// the parts catalogue tMaterial in step: every written part adds its catalogue row or updates
// the existing one with the part's non-empty values. A code another part already has is refused.
#pragma once

#include "app/master/uAMasterEdit.h"

class TFrmAMaterialEdit : public TFrmAMasterEdit
{
    Q_OBJECT

public:
    explicit TFrmAMaterialEdit(QWidget* parent = nullptr);
    ~TFrmAMaterialEdit() override;

    TDataSource* const dsMaterial;
};
