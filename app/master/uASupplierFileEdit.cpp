#include "app/master/uASupplierFileEdit.h"

#include "app/master/ContactFields.h"

namespace {

qx::app::MasterEditorDefinition supplierDefinition()
{
    qx::app::MasterEditorDefinition definition;
    definition.formName = "FrmASupplierFileEdit";
    definition.caption = QStringLiteral("录入供应商档案");
    definition.ownStatement = QStringLiteral("select * from t_Supplier limit 1");
    definition.fields = {
        {QStringLiteral("供应商编号："), QStringLiteral("SCode")},
        {QStringLiteral("供应商名称："), QStringLiteral("SName")},
        {QStringLiteral("供应商类型："), QStringLiteral("SupplierType"),
         qx::app::MasterFieldKind::PickList},
    };
    const auto contacts = qx::app::contactFields(false);
    definition.fields.insert(definition.fields.end(), contacts.begin(), contacts.end());
    definition.columns = 2;
    definition.codeTable = QStringLiteral("t_Supplier");
    definition.codeField = QStringLiteral("SCode");
    definition.takenMessage = QStringLiteral("此供应商号已经存在,请重新更改!");
    definition.enterField = QStringLiteral("Remark");
    return definition;
}

} // namespace

TFrmASupplierFileEdit::TFrmASupplierFileEdit(QWidget* parent)
    : TFrmAMasterEdit(supplierDefinition(), parent), dsEdit(Source)
{
}

TFrmASupplierFileEdit::~TFrmASupplierFileEdit() = default;
