// The customer pickers: the search by code, name and contact, the copy into a device (values,
// unposted) and into a sales head (through its text setters, posted), the current row changed
// rather than a new one appended, "新增F2)" behind its right, and the shared layout file.
#include "PickerFixture.h"

#include "app/master/uAClientFileEdit.h"
#include "app/master/uaSelectClient.h"
#include "app/master/uaSelectoutClient.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QFile>

namespace qx::app::test {
namespace {

class CustomerPickerTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral(
            "insert into t_Client (CCode, CName, Linkmen, Tel, HTel, Addr, Remark) values "
            "('C01', '华强电子', '张三', '111', '13900000001', '深圳', '老客户'),"
            "('C02', 'O''Neil 通讯', '李四', '222', '13900000002', '广州', ''),"
            "('K10', '华南维修', '张伟', '333', '13900000003', '佛山', '')"));
    }

    template <class Picker>
    void pickWith(void (*open)(TDataSet*), TDataSet* target, const std::function<void(Picker&)>& act)
    {
        dialogs().answerDialog([&](QDialog& d) { act(formOf<Picker>(d)); });
        open(target);
    }

    static QStringList codes(TFrmaSelectClient& p) { return columnValues(p.Query, QStringLiteral("CCode")); }
};

// A device being written in the device file, as its browser holds it.
class DeviceRows : public HubTable
{
public:
    DeviceRows()
        : HubTable({{"VIN", ftString}, {"CCode", ftString}, {"CName", ftString}, {"LinkMen", ftString},
                    {"Tel", ftString}, {"HTel", ftString}, {"Addr", ftString}, {"Remark", ftString}},
                   "QryMain")
    {
    }
};

TEST_F(CustomerPickerTest, TheSearchBoxesNarrowTheList)
{
    DeviceRows devices;
    pickWith<TFrmaSelectClient>(PickClient, &devices, [&](TFrmaSelectClient& p) {
        EXPECT_EQ(p.Caption(), QStringLiteral("选择客户"));
        EXPECT_EQ(codes(p), (QStringList{"C01", "C02", "K10"}));
        const struct
        {
            const char* code;
            const char* name;
            const char* linker;
            QStringList found;
        } cases[] = {
            {"0", "", "", {"C01", "C02", "K10"}},
            {"C0", "", "", {"C01", "C02"}},
            {"", "O'N", "", {"C02"}},
            {"", "", "张", {"C01", "K10"}},
            {"1", "", "张", {"C01", "K10"}},
            {"C", "华", "张", {"C01"}},
            {"%", "", "", {}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.code) + "|" + c.name + "|" + c.linker);
            p.EdtCode->setText(QString::fromUtf8(c.code));
            p.EdtName->setText(QString::fromUtf8(c.name));
            p.EdtLinker->setText(QString::fromUtf8(c.linker));
            // Typing alone does not search; F12 does.
            QTest::keyClick(p.Grid, Qt::Key_F12);
            EXPECT_EQ(codes(p), c.found);
        }
        // A click into the code box searches too.
        p.EdtCode->setText(QString());
        p.EdtName->setText(QString());
        p.EdtLinker->setText(QString());
        QTest::mouseClick(p.EdtCode, Qt::LeftButton);
        EXPECT_EQ(codes(p).size(), 3);
        p.Close();
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(CustomerPickerTest, PickClientCopiesTheContactsIntoTheCurrentDeviceAsValues)
{
    DeviceRows devices;
    devices.Append();
    devices.FieldByName(QStringLiteral("VIN"))->SetAsString(QStringLiteral("SN1"));
    devices.FieldByName(QStringLiteral("Remark"))->SetAsString(QStringLiteral("机器备注"));
    devices.Post();
    pickWith<TFrmaSelectClient>(PickClient, &devices, [&](TFrmaSelectClient& p) {
        ASSERT_TRUE(p.Query->Locate(QStringLiteral("CCode"), QStringLiteral("C01")));
        doubleClickRow(p.Grid, 0);
    });
    // The browsing device file changes its current device; it gains no new one.
    EXPECT_EQ(devices.RecordCount(), 1);
    EXPECT_EQ(devices.State(), dsEdit);
    const QStringList got{devices.text("VIN"),  devices.text("CCode"), devices.text("CName"),
                          devices.text("LinkMen"), devices.text("Tel"), devices.text("HTel"),
                          devices.text("Addr"), devices.text("Remark")};
    EXPECT_EQ(got, (QStringList{"SN1", "C01", "华强电子", "张三", "111", "13900000001", "", "机器备注"}));
    EXPECT_TRUE(devices.calls.isEmpty());
    devices.Cancel();

    // An empty target gets a new row; a row being inserted keeps being it.
    DeviceRows empty;
    pickWith<TFrmaSelectClient>(PickClient, &empty, [&](TFrmaSelectClient& p) {
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
    });
    EXPECT_EQ(empty.State(), dsInsert);
    EXPECT_EQ(empty.text("CCode"), QStringLiteral("C01"));
    pickWith<TFrmaSelectClient>(PickClient, &empty, [&](TFrmaSelectClient& p) {
        p.Query->Last();
        doubleClickRow(p.Grid, 2);
    });
    EXPECT_EQ(empty.State(), dsInsert);
    EXPECT_EQ(empty.text("CCode"), QStringLiteral("K10"));
    empty.Post();
    EXPECT_EQ(empty.RecordCount(), 1);

    // An empty list closes without touching the target.
    pickWith<TFrmaSelectClient>(PickClient, &empty, [&](TFrmaSelectClient& p) {
        p.EdtCode->setText(QStringLiteral("none"));
        QTest::keyClick(p.Grid, Qt::Key_F12);
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_EQ(empty.State(), dsBrowse);
}

TEST_F(CustomerPickerTest, PickSalesClientRunsTheHeadsRulesAndPostsIt)
{
    HubTable head({{"BillNo", ftString}, {"CCode", ftString}, {"CName", ftString}, {"Charger", ftString},
                   {"Remark", ftString}},
                  "MMTMaster");
    head.Append();
    head.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
    head.Post();
    pickWith<TFrmaSelectOutClient>(PickSalesClient, &head, [&](TFrmaSelectOutClient& p) {
        EXPECT_EQ(p.Caption(), QStringLiteral("选择客户"));
        ASSERT_TRUE(p.Query->Locate(QStringLiteral("CCode"), QStringLiteral("C02")));
        doubleClickRow(p.Grid, 1);
    });
    EXPECT_EQ(head.State(), dsBrowse);
    EXPECT_EQ(head.RecordCount(), 1);
    EXPECT_EQ(head.calls, (QStringList{"CCode=C02", "CName=O'Neil 通讯"}));
    EXPECT_EQ(head.text("BillNo"), QStringLiteral("新单"));
    EXPECT_EQ(head.text("Remark"), QString());
}

TEST_F(CustomerPickerTest, NewCustomerNeedsItsRightAndIsListedAtOnce)
{
    loginWith({QStringLiteral("客户档案-查询")});
    DeviceRows devices;
    pickWith<TFrmaSelectClient>(PickClient, &devices, [&](TFrmaSelectClient& p) {
        dialogs().answerMessage(mrOk);
        QTest::keyClick(p.Grid, Qt::Key_F2);
        EXPECT_EQ(dialogs().messages(), QStringList{"对不起你没有 [增加] 的权限"});
        p.Close();
    });
    dialogs().clear();

    CurrentUser = administratorCode();
    pickWith<TFrmaSelectClient>(PickClient, &devices, [&](TFrmaSelectClient& p) {
        p.EdtName->setText(QStringLiteral("华"));
        QTest::mouseClick(p.BtnOK, Qt::LeftButton);
        EXPECT_EQ(codes(p), (QStringList{"C01", "K10"}));
        dialogs().answerDialog([&](QDialog& d) {
            auto& editor = formOf<TFrmAClientFileEdit>(d);
            EXPECT_EQ(editor.Caption(), QStringLiteral("录入客户档案"));
            QTest::keyClicks(qobject_cast<TQxDBEDIT*>(editor.ControlOf(QStringLiteral("CCode"))),
                             QStringLiteral("N'9"));
            editor.EditedDataSet()->FieldByName(QStringLiteral("CName"))->SetAsString(QStringLiteral("华新"));
            QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        });
        // The box is cleared: the list runs the statement it holds, not the boxes.
        p.EdtName->setText(QString());
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_EQ(codes(p), (QStringList{"C01", "K10", "N'9"}));
        p.Close();
    });
}

TEST_F(CustomerPickerTest, BothPickersShareOneLayoutFile)
{
    const QString file = layoutFile(QStringLiteral("选择客户dbgSelect.dbg"));
    DeviceRows devices;
    pickWith<TFrmaSelectClient>(PickClient, &devices, [&](TFrmaSelectClient& p) {
        EXPECT_EQ(columnTitles(p.Grid), (QStringList{"客户编号", "客户名称", "联系人", "电话", "手机", "地址"}));
        p.Grid->Columns()->Items(5)->SetWidth(222);
        QTest::mouseClick(p.BtnClose, Qt::LeftButton);
    });
    ASSERT_TRUE(QFile::exists(file));
    HubTable head({{"CCode", ftString}, {"CName", ftString}}, "MMTMaster");
    pickWith<TFrmaSelectOutClient>(PickSalesClient, &head, [&](TFrmaSelectOutClient& p) {
        EXPECT_EQ(p.Grid->Columns()->Items(5)->Width(), 222);
        QTest::keyClick(p.Grid, Qt::Key_Escape);
    });
}

} // namespace
} // namespace qx::app::test
