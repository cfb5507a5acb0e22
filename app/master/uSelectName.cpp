#include "app/master/uSelectName.h"

#include "app/shell/ColorPanel.h"
#include "platform/db/DataSet.h"
#include "platform/env/DialogService.h"
#include "usystem/vcl/ado/uQxADODB.h"

#include <QApplication>

#include <memory>

TFrmAselectName::TFrmAselectName(QWidget* parent)
    : TFrmASearchPicker("FrmAselectName", QStringLiteral("选择"), "QrySelect", "DBGrid1", 0, parent),
      QrySelect(Query)
{
    resize(300, 360);
    pnlleft->setVisible(false);
}

TFrmAselectName::~TFrmAselectName() = default;

void TFrmAselectName::Search()
{
    RunQuery(QStringLiteral("Select MainWorker as 领料人 from t_MainWorker "));
}

bool TFrmAselectName::Take()
{
    if (!TargetField || !Query->Active() || Query->IsEmpty())
        return true;
    TargetField->DataSet()->Edit();
    TargetField->SetValue(Query->Fields()->Fields(0)->Value());
    return true;
}

void PickWorker(const QString& FieldName, TField* Field)
{
    if (!Field || FieldName.compare(QLatin1String("Scode"), Qt::CaseInsensitive) != 0)
        return;
    auto picker = std::make_unique<TFrmAselectName>(QApplication::activeWindow());
    picker->TargetField = Field;
    qx::DialogService::instance().execDialog(*picker.release());
}
