#include "app/master/uAVehicleEdit.h"

#include "app/master/uaSelectClient.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/forms/QxFormKit.h"

namespace {

qx::app::MasterEditorDefinition vehicleDefinition()
{
    using K = qx::app::MasterFieldKind;
    qx::app::MasterEditorDefinition definition;
    definition.formName = "FrmAVehicleEdit";
    definition.caption = QStringLiteral("录入车辆档案");
    definition.sourceName = "dsVehicle";
    definition.saveButtonName = "SpeedButton1";
    definition.ownStatement = QStringLiteral("select * from tVehicle limit 1");
    definition.fields = {
        {QStringLiteral("SerialNo"), QStringLiteral("VIN")},
        {QStringLiteral("机主名："), QStringLiteral("CName")},
        {QStringLiteral("联系人："), QStringLiteral("LinkMen")},
        {QStringLiteral("机  型："), QStringLiteral("Model"), K::PickList},
        {QStringLiteral("Model："), QStringLiteral("EngineNo")},
        {QStringLiteral("电  话："), QStringLiteral("Tel")},
        {QStringLiteral(" 手 机："), QStringLiteral("HTel")},
        {QStringLiteral("附  件："), QStringLiteral("Slave")},
        {QStringLiteral("周 期："), QStringLiteral("Mileage"), K::Number},
        {QString(), QStringLiteral("MileageUnit"), K::Combo,
         {QStringLiteral("小时"), QStringLiteral("天"), QStringLiteral("周"), QStringLiteral("月")}, true},
        {QStringLiteral("备   注："), QStringLiteral("Remark")},
        {QStringLiteral("地  址："), QStringLiteral("Addr")},
    };
    definition.columns = 2;
    definition.codeTable = QStringLiteral("tVehicle");
    definition.codeField = QStringLiteral("VIN");
    definition.takenMessage = QStringLiteral("此车号已经存在,请重新更改!");
    definition.enterField = QStringLiteral("Remark");
    definition.ownQueryDefaults = {{QStringLiteral("MileageUnit"), QStringLiteral("天")}};
    return definition;
}

} // namespace

TFrmAVehicleEdit::TFrmAVehicleEdit(QWidget* parent)
    : TFrmAMasterEdit(vehicleDefinition(), parent), dsVehicle(Source), SpeedButton1(BtnSave)
{
    // The owner's edit has no button: a double click runs its action, the customer picker.
    if (auto* owner = qobject_cast<TQxDBEDIT*>(ControlOf(QStringLiteral("CName"))))
        qx::kit::on(owner->OnButtonClick, this, &TFrmAVehicleEdit::EdtCNameButtonClick);
}

TFrmAVehicleEdit::~TFrmAVehicleEdit() = default;

bool TFrmAVehicleEdit::CheckSerialUnique()
{
    return CheckCodeUnique();
}

void TFrmAVehicleEdit::EdtCNameButtonClick(QObject*)
{
    if (TDataSet* edited = EditedDataSet())
        PickClient(edited);
}
