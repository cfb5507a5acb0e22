// The device of a work order: a typed serial number that matches one device fills the owner,
// model and contact boxes, one that matches none stays as typed; a customer code shared by
// several devices opens the device picker on the owner's name; the buttons and double clicks
// of the serial-number and owner boxes open the picker on the serial number. Quotes in the
// typed values are plain characters.
#include "WorkOrderFixture.h"

#include "app/master/uaSelectVehicle.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/edits/uQxEdits.h"

namespace qx::documents::test {
namespace {

using qx::app::test::formOf;

class DeviceLookupTest : public WorkOrderTest
{
};

// Clicks the button drawn inside the box's right end.
void clickBoxButton(TQxDBEDIT* box)
{
    QRect r;
    box->Button()->GetButtonRect(r);
    ASSERT_FALSE(r.isEmpty()) << box->objectName().toStdString();
    QTest::mouseClick(box, Qt::LeftButton, {}, r.center());
}

TEST_F(DeviceLookupTest, ATypedSerialNumberFillsTheDeviceOrStaysAsTyped)
{
    run("", [](TFrmReceptionRct& e) {
        const struct
        {
            const char* typed;
            const char* vin;
            const char* owner;
            const char* model;
            const char* tel;
            const char* customer;
        } cases[] = {
            {"sn100", "SN100", "张三", "A100", "111", "C01"}, // the device's own spelling
            {"O'7", "O'7", "王五", "Q7", "777", "C07"},
            {"SN9", "SN9", "王五", "Q7", "777", "C07"}, // no device: the rest stays
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            enterInto(e.EdtVin, QLatin1String(c.typed));
            EXPECT_EQ(headText(e, "VIN"), QLatin1String(c.vin));
            EXPECT_EQ(e.EdtClient->Text(), QString::fromUtf8(c.owner));
            EXPECT_EQ(e.EdtModel->Text(), QLatin1String(c.model));
            EXPECT_EQ(e.EdtTel->Text(), QLatin1String(c.tel));
            EXPECT_EQ(headText(e, "CCode"), QLatin1String(c.customer));
        }
        // The first match brought the whole device: contact, mobile, second model, mark, unit.
        enterInto(e.EdtVin, QStringLiteral("SN100"));
        EXPECT_EQ(e.EdtLinkMen->Text(), QStringLiteral("张太"));
        EXPECT_EQ(e.EdtHTel->Text(), QStringLiteral("13900000001"));
        EXPECT_EQ(e.EdtEngineNo->Text(), QStringLiteral("E1"));
        EXPECT_EQ(headText(e, "MarkNo"), QStringLiteral("M1"));
        EXPECT_EQ(e.CbxMileageUnit->Text(), QStringLiteral("月"));
        // The device's remark is not the bill's address.
        EXPECT_TRUE(e.EdtRemark->Text().isEmpty());
        // An emptied serial number looks nothing up.
        enterInto(e.EdtVin, QString());
        EXPECT_TRUE(headText(e, "VIN").isEmpty());
        EXPECT_EQ(e.EdtClient->Text(), QStringLiteral("张三"));
    });
    EXPECT_TRUE(dialogs().shown().size() == 1); // the editor alone
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_F(DeviceLookupTest, ACustomerWithSeveralDevicesOpensThePickerOnTheOwnersName)
{
    run("", [](TFrmReceptionRct& e) {
        enterInto(e.EdtClient, QStringLiteral("O'Neil "));
        bool picked = false;
        dialogs().answerDialog([&](QDialog& d) {
            auto& p = formOf<TFrmaSelectVehicle>(d);
            picked = true;
            EXPECT_EQ(p.EdtName->Text(), QStringLiteral("O'Neil"));
            EXPECT_TRUE(p.edtVin->Text().isEmpty());
            EXPECT_EQ(p.Query->RecordCount(), 2);
            p.Query->Locate(QStringLiteral("VIN"), QStringLiteral("SN300"), {});
            p.Grid->setFocus();
            QTest::keyClick(p.Grid, Qt::Key_Return);
        });
        // The customer code reaches the head through its text setter, as a picker hands it.
        head(e, "CCode")->SetText(QStringLiteral("C02"));
        EXPECT_TRUE(picked);
        EXPECT_EQ(e.EdtVin->Text(), QStringLiteral("SN300"));
        EXPECT_EQ(e.EdtModel->Text(), QStringLiteral("B300"));
        EXPECT_EQ(e.EdtTel->Text(), QStringLiteral("333"));
    });
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_F(DeviceLookupTest, TheSerialAndOwnerBoxesOpenThePickerOnTheSerialNumber)
{
    run("", [](TFrmReceptionRct& e) {
        enterInto(e.EdtVin, QStringLiteral("SN2"));
        enterInto(e.EdtClient, QStringLiteral("张三"));
        const std::function<void(TQxDBEDIT*)> opens[] = {
            [](TQxDBEDIT* box) { clickBoxButton(box); },
            [](TQxDBEDIT* box) { QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2)); },
        };
        for (TQxDBEDIT* box : {e.EdtVin, e.EdtClient}) {
            for (const auto& open : opens) {
                SCOPED_TRACE(box->objectName().toStdString());
                QString start;
                QString byName;
                dialogs().answerDialog([&](QDialog& d) {
                    auto& p = formOf<TFrmaSelectVehicle>(d);
                    start = p.edtVin->Text();
                    byName = p.EdtName->Text();
                    QTest::keyClick(&d, Qt::Key_Escape);
                });
                open(box);
                EXPECT_EQ(start, QStringLiteral("SN2"));
                EXPECT_TRUE(byName.isEmpty());
            }
        }
        // The picker writes the chosen device into the head.
        dialogs().answerDialog([](QDialog& d) {
            auto& p = formOf<TFrmaSelectVehicle>(d);
            ASSERT_EQ(p.Query->RecordCount(), 1);
            p.Grid->setFocus();
            QTest::keyClick(p.Grid, Qt::Key_Return);
        });
        clickBoxButton(e.EdtVin);
        EXPECT_EQ(e.EdtVin->Text(), QStringLiteral("SN200"));
        EXPECT_EQ(e.EdtClient->Text(), QStringLiteral("O'Neil"));
        EXPECT_EQ(headText(e, "CCode"), QStringLiteral("C02"));
    });
    EXPECT_EQ(dialogs().unexpected(), 0);
}

} // namespace
} // namespace qx::documents::test
