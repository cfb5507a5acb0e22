#include "app/master/uAClientFileEdit.h"

#include "app/master/ContactFields.h"

namespace {

qx::app::MasterEditorDefinition clientDefinition()
{
    qx::app::MasterEditorDefinition definition;
    definition.formName = "FrmAClientFileEdit";
    definition.caption = QStringLiteral("录入客户档案");
    definition.ownStatement = QStringLiteral("select * from t_Client limit 1");
    definition.fields = {
        {QStringLiteral("客户编号："), QStringLiteral("CCode")},
        {QStringLiteral("客户名称："), QStringLiteral("CName")},
        {QStringLiteral("客户类型："), QStringLiteral("ClientType"), qx::app::MasterFieldKind::PickList},
    };
    const auto contacts = qx::app::contactFields(true);
    definition.fields.insert(definition.fields.end(), contacts.begin(), contacts.end());
    definition.columns = 2;
    definition.codeTable = QStringLiteral("t_Client");
    definition.codeField = QStringLiteral("CCode");
    definition.takenMessage = QStringLiteral("此客户号已经存在,请重新更改!");
    definition.enterField = QStringLiteral("Remark");
    return definition;
}

} // namespace

TFrmAClientFileEdit::TFrmAClientFileEdit(QWidget* parent)
    : TFrmAMasterEdit(clientDefinition(), parent), dsEdit(Source)
{
}

TFrmAClientFileEdit::~TFrmAClientFileEdit() = default;
