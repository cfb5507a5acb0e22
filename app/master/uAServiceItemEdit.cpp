#include "app/master/uAServiceItemEdit.h"

namespace {

qx::app::MasterEditorDefinition serviceItemDefinition()
{
    using K = qx::app::MasterFieldKind;
    qx::app::MasterEditorDefinition definition;
    definition.formName = "FrmAServiceItemEdit";
    definition.caption = QStringLiteral("录入维修项目");
    definition.ownStatement = QStringLiteral("select * from tServiceItem limit 1");
    definition.fields = {
        {QStringLiteral("项目编码："), QStringLiteral("SItemCode")},
        {QStringLiteral("项目名称："), QStringLiteral("SItemName")},
        {QStringLiteral("外文名称："), QStringLiteral("FDescrition")},
        {QStringLiteral("标准工时："), QStringLiteral("CTime"), K::Number},
        {QStringLiteral("提成工时："), QStringLiteral("ITime"), K::Number},
        {QStringLiteral("标准价："), QStringLiteral("TimeAmount"), K::Number},
        {QStringLiteral("最低价："), QStringLiteral("MinTimeAmount"), K::Number},
        {QStringLiteral("最高价："), QStringLiteral("MaxTimeAmount"), K::Number},
        {QStringLiteral("计费方式："), QStringLiteral("TimeType"), K::DropDownList,
         {QStringLiteral("按工时"), QStringLiteral("标准价"), QStringLiteral("最低价"),
          QStringLiteral("最高价")}},
        {QStringLiteral("保养周期："), QStringLiteral("ReRate"), K::Number},
        {QStringLiteral("备   注："), QStringLiteral("Remark")},
        {QStringLiteral("技术参数："), QStringLiteral("Remark2")},
    };
    definition.columns = 2;
    definition.codeTable = QStringLiteral("tServiceItem");
    definition.codeField = QStringLiteral("SItemCode");
    definition.takenMessage = QStringLiteral("此项目编号已经存在,请重新更改!");
    definition.enterField = QStringLiteral("Remark");
    definition.addDefaults = {{QStringLiteral("TimeType"), QStringLiteral("按工时")}};
    return definition;
}

} // namespace

TFrmAServiceItemEdit::TFrmAServiceItemEdit(QWidget* parent)
    : TFrmAMasterEdit(serviceItemDefinition(), parent), dsEdit(Source)
{
}

TFrmAServiceItemEdit::~TFrmAServiceItemEdit() = default;
