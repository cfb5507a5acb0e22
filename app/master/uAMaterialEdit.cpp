#include "app/master/uAMaterialEdit.h"

namespace {

qx::app::MasterEditorDefinition materialDefinition()
{
    using K = qx::app::MasterFieldKind;
    qx::app::MasterEditorDefinition definition;
    definition.formName = "FrmAMaterialEdit";
    definition.caption = QStringLiteral("配件信息");
    definition.sourceName = "dsMaterial";
    definition.ownStatement = QStringLiteral("select * from t_Stock limit 10");
    definition.fields = {
        {QStringLiteral("配件编码："), QStringLiteral("ItemCode")},
        {QStringLiteral("配件名称："), QStringLiteral("ItemName")},
        {QStringLiteral("机型："), QStringLiteral("Model"), K::PickList},
        {QStringLiteral("计量单位："), QStringLiteral("UnitCode")},
        {QStringLiteral("仓位："), QStringLiteral("Location")},
        {QStringLiteral("库存数量："), QStringLiteral("Qty"), K::Number},
        {QStringLiteral("销售价："), QStringLiteral("Price"), K::Number},
        {QStringLiteral("成本价："), QStringLiteral("Costprice"), K::Number},
    };
    definition.columns = 2;
    definition.codeTable = QStringLiteral("t_Stock");
    definition.codeField = QStringLiteral("ItemCode");
    definition.takenMessage = QStringLiteral("此编号配件已经存在，请重新录入！");
    definition.catalogueTable = QStringLiteral("tMaterial");
    definition.focusAfterAdd = QStringLiteral("ItemName");
    definition.enterField = QStringLiteral("Location");
    return definition;
}

} // namespace

TFrmAMaterialEdit::TFrmAMaterialEdit(QWidget* parent)
    : TFrmAMasterEdit(materialDefinition(), parent), dsMaterial(Source)
{
}

TFrmAMaterialEdit::~TFrmAMaterialEdit() = default;
