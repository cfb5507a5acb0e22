// The device editor: a serial number another device has is refused, "保存退出" and "保存增加"
// (also by Enter in the remark), the device file's pending device dropped however the editor is
// closed, and the owner picked from the customers by a double click on the owner's name.
#include "PickerFixture.h"

#include "app/master/uAVehicleEdit.h"
#include "app/master/uaSelectClient.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"

#include <QPointer>

namespace qx::app::test {
namespace {

class VehicleEditTest : public MasterTest
{
protected:
    void TearDown() override
    {
        for (const QPointer<TFrmAVehicleEdit>& e : m_editors)
            if (e)
                e->Close();
        MasterTest::TearDown();
    }

    TFrmAVehicleEdit* open(TDataSet* callerData = nullptr)
    {
        auto* e = new TFrmAVehicleEdit;
        m_editors << e;
        if (callerData) {
            e->dsVehicle->SetDataSet(callerData);
        } else {
            e->QryEdit->Open();
            e->QryEdit->Append();
        }
        e->show();
        return e;
    }

    // The device file's list: a new device starts with the shop's serial prefix.
    std::unique_ptr<TQxADOQuery> deviceFile()
    {
        auto q = std::make_unique<TQxADOQuery>();
        q->setObjectName(QStringLiteral("QryMain"));
        q->SetConnection(module->ADOConnection);
        q->SQL().SetText(QStringLiteral("select * from tVehicle"));
        q->OnNewRecord = [](TDataSet* DataSet) {
            DataSet->FieldByName(QStringLiteral("VIN"))->SetAsString(QStringLiteral("粤B"));
        };
        q->Open();
        return q;
    }

    static TQxDBEDIT* editOf(TFrmAVehicleEdit* e, const char* field)
    {
        return qobject_cast<TQxDBEDIT*>(e->ControlOf(QLatin1String(field)));
    }

    static void setSerial(TFrmAVehicleEdit* e, const QString& serial)
    {
        TDataSet* data = e->EditedDataSet();
        data->Edit();
        data->FieldByName(QStringLiteral("VIN"))->SetAsString(serial);
    }

    QList<QPointer<TFrmAVehicleEdit>> m_editors;
};

TEST_F(VehicleEditTest, ASerialNumberAnotherDeviceHasIsRefused)
{
    exec(QStringLiteral("insert into tVehicle (VIN) values ('粤B'), ('O''1')"));
    for (const char16_t* serial : {u"粤B", u"o'1"}) {
        TFrmAVehicleEdit* e = open();
        setSerial(e, QString::fromUtf16(serial));
        dialogs().answerMessage(mrOk);
        EXPECT_FALSE(e->CheckSerialUnique());
        for (TQxBitBtn* button : {e->SpeedButton1, e->BtnAdd}) {
            dialogs().answerMessage(mrOk);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        EXPECT_EQ(dialogs().messages(), QStringList(3, QStringLiteral("此车号已经存在,请重新更改!")));
        dialogs().clear();
        EXPECT_TRUE(e->isVisible());
        EXPECT_EQ(e->QryEdit->State(), dsInsert);
        e->Close();
    }
    EXPECT_EQ(count(QStringLiteral("tVehicle")), 2);
}

TEST_F(VehicleEditTest, SaveAndCloseAndSaveAndAdd)
{
    TFrmAVehicleEdit* e = open();
    EXPECT_EQ(e->Caption(), QStringLiteral("录入车辆档案"));
    EXPECT_EQ(e->SpeedButton1->Caption(), QStringLiteral("保存退出(&E)"));
    auto* unit = qobject_cast<TQxDBComboBox*>(e->ControlOf(QStringLiteral("MileageUnit")));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->Items(), (QStringList{"小时", "天", "周", "月"}));
    QTest::keyClicks(editOf(e, "VIN"), QStringLiteral("SN1"));
    QTest::keyClicks(editOf(e, "Model"), QStringLiteral("A100"));
    QTest::mouseClick(e->BtnAdd, Qt::LeftButton);
    EXPECT_EQ(scalar(QStringLiteral("select Model || MileageUnit from tVehicle where VIN = 'SN1'")), QStringLiteral("A100天"));
    EXPECT_EQ(e->QryEdit->State(), dsInsert);
    EXPECT_EQ(e->focusWidget(), editOf(e, "VIN"));

    QTest::keyClicks(editOf(e, "VIN"), QStringLiteral("SN2"));
    editOf(e, "Remark")->setFocus();
    QTest::keyClick(editOf(e, "Remark"), Qt::Key_Return);
    EXPECT_EQ(count(QStringLiteral("tVehicle"), QStringLiteral("VIN = 'SN2'")), 1);

    QTest::keyClicks(editOf(e, "VIN"), QStringLiteral("SN3"));
    QTest::mouseClick(e->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(count(QStringLiteral("tVehicle")), 3);
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(VehicleEditTest, TheDeviceFilesPendingDeviceIsDroppedHoweverTheEditorCloses)
{
    exec(QStringLiteral("insert into tVehicle (VIN) values ('SN1'), ('SN2')"));
    const struct
    {
        const char* how;
        std::function<void(TFrmAVehicleEdit*)> close;
    } closings[] = {
        {"取消退出", [](TFrmAVehicleEdit* e) { QTest::mouseClick(e->BtnClose, Qt::LeftButton); }},
        {"Esc", [](TFrmAVehicleEdit* e) { QTest::keyClick(editOf(e, "Tel"), Qt::Key_Escape); }},
        {"close box", [](TFrmAVehicleEdit* e) { e->close(); }},
    };
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.how);
        auto file = deviceFile();
        file->Append();
        TFrmAVehicleEdit* e = open(file.get());
        QTest::keyClicks(editOf(e, "Tel"), QStringLiteral("555"));
        closing.close(e);
        EXPECT_EQ(file->State(), dsBrowse);
        file->First();
        file->Next();
        file->Last();
        EXPECT_EQ(count(QStringLiteral("tVehicle")), 2);
        EXPECT_EQ(count(QStringLiteral("tVehicle"), QStringLiteral("Tel = '555'")), 0);
    }
}

TEST_F(VehicleEditTest, ADoubleClickOnTheOwnerPicksTheOwner)
{
    exec(QStringLiteral("insert into t_Client (CCode, CName, Linkmen, Tel, HTel) values "
                        "('C01', 'O''Neil', '张三', '111', '139')"));
    TFrmAVehicleEdit* e = open();
    setSerial(e, QStringLiteral("SN7"));
    EXPECT_FALSE(editOf(e, "CName")->Button()->Visible());
    dialogs().answerDialog([&](QDialog& d) {
        auto& picker = formOf<TFrmaSelectClient>(d);
        doubleClickRow(picker.Grid, 0);
    });
    QTest::mouseDClick(editOf(e, "CName"), Qt::LeftButton);
    TDataSet* device = e->EditedDataSet();
    EXPECT_EQ(device->State(), dsInsert);
    EXPECT_EQ((QStringList{device->FieldByName(QStringLiteral("VIN"))->AsString(),
                           device->FieldByName(QStringLiteral("CCode"))->AsString(),
                           device->FieldByName(QStringLiteral("CName"))->AsString(),
                           device->FieldByName(QStringLiteral("LinkMen"))->AsString(),
                           device->FieldByName(QStringLiteral("HTel"))->AsString()}),
              (QStringList{"SN7", "C01", "O'Neil", "张三", "139"}));
    EXPECT_EQ(editOf(e, "CName")->Text(), QStringLiteral("O'Neil"));
    QTest::mouseClick(e->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(scalar(QStringLiteral("select CCode || CName from tVehicle where VIN = 'SN7'")), QStringLiteral("C01O'Neil"));
}

} // namespace
} // namespace qx::app::test
