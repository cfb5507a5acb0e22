// The device picker: the searches (serial and model containing the text, the second model
// field and the telephones exactly), the start text of kinds 1 and 2, the copy that keeps a
// work order's own number, state and request, the inspection row's fields, and "新增(F5)".
#include "PickerFixture.h"

#include "app/master/uAVehicleEdit.h"
#include "app/master/uaSelectVehicle.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QFile>

namespace qx::app::test {
namespace {

class DevicePickerTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral(
            "insert into tVehicle (VIN, CCode, CName, LinkMen, Tel, HTel, Model, EngineNo, MarkNo, MileageUnit, "
            "Remark, State, ClientEvent, BillNo, RebillNo, Brief, Slave) values "
            "('SN12345', 'C01', '张三', '张太', '111', '13900000001', 'A100', 'E1', 'M1', '月', '设备备注', "
            "'已审核', '旧的故障', 'WX060101001', 'R-9', '短评', '充电器'),"
            "('SN99123', 'C02', 'O''Neil', '', '222', '111', 'A1000', 'E10', '', '天', '', '', '', NULL, NULL, '', ''),"
            "('XY777', 'C02', 'O''Neil', '', '333', '', 'B200', 'E1', '', '天', '', '', '', NULL, NULL, '', '')"));
    }

    void pick(TDataSet* target, const QString& start, int kind,
              const std::function<void(TFrmaSelectVehicle&)>& act)
    {
        dialogs().answerDialog([&](QDialog& d) { act(formOf<TFrmaSelectVehicle>(d)); });
        PickDevice(target, start, kind);
    }

    static QStringList serials(TFrmaSelectVehicle& p) { return columnValues(p.Query, QStringLiteral("VIN")); }
};

// A work order's head, as the work-order editor holds it.
class WorkOrderHead : public HubTable
{
public:
    WorkOrderHead()
        : HubTable({{"ID", ftInteger}, {"BillNo", ftString}, {"ReBillNo", ftString}, {"State", ftString},
                    {"CCode", ftString}, {"CName", ftString}, {"VIN", ftString}, {"Model", ftString},
                    {"EngineNo", ftString}, {"MarkNo", ftString}, {"LinkMen", ftString}, {"Tel", ftString},
                    {"HTel", ftString}, {"MileageUnit", ftString}, {"ClientEvent", ftString},
                    {"Remark", ftString}, {"Brief", ftString}, {"Slave", ftString}},
                   "MMTMaster")
    {
    }
};

TEST_F(DevicePickerTest, TheSearchesAndTheStartText)
{
    WorkOrderHead head;
    pick(&head, QStringLiteral("123"), 1, [&](TFrmaSelectVehicle& p) {
        EXPECT_EQ(p.Caption(), QStringLiteral("选择车辆"));
        EXPECT_EQ(p.edtVin->Text(), QStringLiteral("123"));
        EXPECT_EQ(serials(p), (QStringList{"SN12345", "SN99123"}));
        p.edtVin->setText(QString());
        const struct
        {
            TQxEdit* edit;
            const char* text;
            QStringList found;
        } cases[] = {
            {p.EdtModel, "A10", {"SN12345", "SN99123"}},  // contains
            {p.EdtEngineNo, "E1", {"SN12345", "XY777"}},  // exactly
            {p.EdtName, "Nei", {"SN99123", "XY777"}},
            {p.EdtName, "O'Neil", {"SN99123", "XY777"}},
            {p.EdtLinker, "太", {"SN12345"}},
            {p.EdtTel, "111", {"SN12345", "SN99123"}},    // telephone or mobile, exactly
            {p.EdtTel, "11", {}},
            {p.edtVin, "_", {}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            c.edit->setText(QString::fromUtf8(c.text));
            QTest::keyClick(p.Grid, Qt::Key_F12);
            EXPECT_EQ(serials(p), c.found);
            c.edit->setText(QString());
        }
        QTest::mouseClick(p.BtnOK, Qt::LeftButton);
        EXPECT_EQ(serials(p).size(), 3);
        p.Close();
    });

    // Kind 2 brings an owner's name: the owner box is searched.
    pick(&head, QStringLiteral("O'Neil"), 2, [&](TFrmaSelectVehicle& p) {
        EXPECT_EQ(p.EdtName->Text(), QStringLiteral("O'Neil"));
        EXPECT_TRUE(p.edtVin->Text().isEmpty());
        EXPECT_EQ(serials(p), (QStringList{"SN99123", "XY777"}));
        p.Close();
    });
    EXPECT_TRUE(QFile::exists(layoutFile(QStringLiteral("选择车辆dbgSelect.dbg"))));
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(DevicePickerTest, AWorkOrderKeepsItsNumberStateAndRequest)
{
    WorkOrderHead head;
    head.Append();
    const QVariantMap own{{QStringLiteral("ID"), 7},
                          {QStringLiteral("BillNo"), QStringLiteral("新单")},
                          {QStringLiteral("ReBillNo"), QStringLiteral("手工1")},
                          {QStringLiteral("State"), QString()},
                          {QStringLiteral("ClientEvent"), QStringLiteral("屏幕不亮")},
                          {QStringLiteral("Remark"), QStringLiteral("单据备注")},
                          {QStringLiteral("Brief"), QStringLiteral("急")},
                          {QStringLiteral("Slave"), QStringLiteral("无")}};
    for (auto it = own.cbegin(); it != own.cend(); ++it)
        head.FieldByName(it.key())->SetValue(it.value());
    pick(&head, QStringLiteral("SN12345"), 1, [&](TFrmaSelectVehicle& p) {
        ASSERT_EQ(serials(p), QStringList{"SN12345"});
        QTest::keyClick(p.Grid, Qt::Key_F2);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_EQ(head.State(), dsInsert);
    for (auto it = own.cbegin(); it != own.cend(); ++it)
        EXPECT_EQ(head.FieldByName(it.key())->AsString(), it.value().toString()) << it.key().toStdString();
    const QStringList copied{head.text("VIN"),     head.text("CCode"),  head.text("CName"),
                             head.text("LinkMen"), head.text("Tel"),    head.text("HTel"),
                             head.text("Model"),   head.text("EngineNo"), head.text("MarkNo"),
                             head.text("MileageUnit")};
    EXPECT_EQ(copied, (QStringList{"SN12345", "C01", "张三", "张太", "111", "13900000001", "A100", "E1", "M1", "月"}));
    EXPECT_TRUE(head.calls.isEmpty());
}

TEST_F(DevicePickerTest, AnInspectionGetsTheDeviceAndItsOwner)
{
    HubTable inspections({{"ID", ftInteger}, {"Vin", ftString}, {"CCode", ftString}, {"CName", ftString},
                          {"Model", ftString}, {"CheckType", ftString}, {"ReBillNo", ftString},
                          {"Remark", ftString}},
                         "QryMain");
    inspections.Append();
    inspections.FieldByName(QStringLiteral("CheckType"))->SetAsString(QStringLiteral("年审"));
    inspections.Post();
    // Browsing: a new row is appended for the device.
    pick(&inspections, QStringLiteral("XY"), 1, [&](TFrmaSelectVehicle& p) {
        doubleClickRow(p.Grid, 0);
    });
    EXPECT_EQ(inspections.State(), dsInsert);
    EXPECT_EQ((QStringList{inspections.text("Vin"), inspections.text("CCode"), inspections.text("CName"),
                           inspections.text("Model"), inspections.text("CheckType"), inspections.text("ReBillNo"),
                           inspections.text("Remark")}),
              (QStringList{"XY777", "C02", "O'Neil", "B200", "", "", ""}));
    inspections.Post();
    EXPECT_EQ(inspections.RecordCount(), 2);

    // Being edited: that row is filled.
    inspections.First();
    inspections.Edit();
    pick(&inspections, QStringLiteral("SN99"), 1, [&](TFrmaSelectVehicle& p) {
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
    });
    EXPECT_EQ(inspections.RecordCount(), 2);
    EXPECT_EQ(inspections.text("Vin"), QStringLiteral("SN99123"));
    EXPECT_EQ(inspections.text("CheckType"), QStringLiteral("年审"));
}

TEST_F(DevicePickerTest, NewDeviceNeedsItsRightAndTheOperatorSearchesAgain)
{
    loginWith({});
    WorkOrderHead head;
    pick(&head, QString(), 1, [&](TFrmaSelectVehicle& p) {
        dialogs().answerMessage(mrOk);
        QTest::keyClick(p.Grid, Qt::Key_F5);
        EXPECT_EQ(dialogs().messages(), QStringList{"对不起你没有 [增加] 的权限"});
        p.Close();
    });
    dialogs().clear();

    CurrentUser = administratorCode();
    pick(&head, QStringLiteral("NEW"), 1, [&](TFrmaSelectVehicle& p) {
        dialogs().answerDialog([&](QDialog& d) {
            auto& editor = formOf<TFrmAVehicleEdit>(d);
            EXPECT_EQ(editor.EditedDataSet(), editor.QryEdit);
            EXPECT_EQ(editor.QryEdit->FieldByName(QStringLiteral("MileageUnit"))->AsString(), QStringLiteral("天"));
            QTest::keyClicks(qobject_cast<TQxDBEDIT*>(editor.ControlOf(QStringLiteral("VIN"))), QStringLiteral("NEW1"));
            QTest::mouseClick(editor.SpeedButton1, Qt::LeftButton);
        });
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_TRUE(serials(p).isEmpty());
        QTest::keyClick(p.Grid, Qt::Key_F12);
        EXPECT_EQ(serials(p), QStringList{"NEW1"});
        p.Close();
    });
    EXPECT_EQ(scalar(QStringLiteral("select MileageUnit from tVehicle where VIN = 'NEW1'")), QStringLiteral("天"));
}

} // namespace
} // namespace qx::app::test
