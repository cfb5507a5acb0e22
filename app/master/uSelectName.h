// TFrmAselectName: the worker picker ("选择") of the person columns of bill lines ("服务人员",
// "领料人"): the staff list, whose chosen name becomes the field's value.
#pragma once

#include "app/master/uASearchPicker.h"

#include <QPointer>

class TFrmAselectName : public TFrmASearchPicker
{
    Q_OBJECT

public:
    explicit TFrmAselectName(QWidget* parent = nullptr);
    ~TFrmAselectName() override;

    // The line field that receives the name.
    QPointer<TField> TargetField;

    TQxADOQuery* const QrySelect;

    void Search() override;
    bool Take() override;
};

// Opens the worker picker for a person column: only for the column named "Scode" (any case).
void PickWorker(const QString& FieldName, TField* Field);
