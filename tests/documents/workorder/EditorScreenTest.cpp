// The work-order editor's screen and loading: a new bill's defaults, the boxes, grids, columns
// and pick lists, a stored bill read back with its money shown "0.00", and the grid layouts
// written on close and read on the next show.
#include "WorkOrderFixture.h"

#include "app/shell/ColorPanel.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"

#include <QDir>
#include <QFile>

namespace qx::documents::test {
namespace {

using qx::app::test::columnTitles;

class EditorScreenTest : public WorkOrderTest
{
};

TEST_F(EditorScreenTest, ANewBillShowsItsDefaults)
{
    run("", [](TFrmReceptionRct& e) {
        EXPECT_EQ(e.Caption(), QStringLiteral("维修结算单"));
        EXPECT_EQ(e.lblBillType->Caption(), QStringLiteral("维修结算单"));
        EXPECT_EQ(e.tblHead->State(), dsInsert);
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("新单"));
        EXPECT_EQ(e.EdtINtime->Text(), QStringLiteral("2026-03-05"));
        EXPECT_EQ(headText(e, "BillDate"), QStringLiteral("2026-03-05"));
        EXPECT_EQ(e.CbxMileageUnit->Text(), QStringLiteral("天"));
        EXPECT_TRUE(e.ChkIsSettle->Checked());
        EXPECT_EQ(headMoney(e, "Received"), Currency());
        EXPECT_EQ(QApplication::focusWidget(), e.EdtReBillNo);
        EXPECT_FALSE(e.ChkPrint->Checked());
        EXPECT_FALSE(e.BtnReceiv->isVisible());
        EXPECT_TRUE(e.EdtBillNo->ReadOnly());
        EXPECT_TRUE(e.tblDetail1->IsEmpty());
        EXPECT_TRUE(e.TblDetail2->IsEmpty());
        // The totals of an empty bill.
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("0.00"));
        EXPECT_EQ(e.lblHelp->Caption(),
                  QStringLiteral("ESC 取消退出  F2 保存增加 F3 保存退出 [F4] 审核  [+] 或双击选取数据  "
                                 "F5维修项目 F6 维修配件 F9 打印"));
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(EditorScreenTest, TheGridsTheirColumnsAndPickLists)
{
    run("", [](TFrmReceptionRct& e) {
        EXPECT_EQ(columnTitles(e.dbgDetail1), (QStringList{"项目编号", "项目名称", "工时费", "结算方式", "服务人员"}));
        EXPECT_EQ(columnTitles(e.dbgDetail2),
                  (QStringList{"配件编号", "名称", "数量", "单价", "单位", "金额", "成本价", "结算方式", "领料人"}));
        const QStringList words{"客付", "赠送", "自用", "返修"};
        EXPECT_EQ(ColumnByFieldName(e.dbgDetail1, QStringLiteral("PayType"))->PickList(), words);
        EXPECT_EQ(ColumnByFieldName(e.dbgDetail2, QStringLiteral("PayType"))->PickList(), words + QStringList{QString()});
        QStringList units = ColumnByFieldName(e.dbgDetail2, QStringLiteral("UnitCode"))->PickList();
        units.sort();
        EXPECT_EQ(units, (QStringList{"个", "块"}));
        for (const char* field : {"SItemCode", "Scode"})
            EXPECT_EQ(ColumnByFieldName(e.dbgDetail1, QLatin1String(field))->ButtonStyle(), cbsEllipsis) << field;
        for (const char* field : {"ItemCode", "ItemName", "Scode"})
            EXPECT_EQ(ColumnByFieldName(e.dbgDetail2, QLatin1String(field))->ButtonStyle(), cbsEllipsis) << field;
        for (TQxDBGrid* grid : {e.dbgDetail1, e.dbgDetail2}) {
            EXPECT_TRUE(grid->Options().testFlag(dgEditing));
            EXPECT_TRUE(grid->Options().testFlag(dgAllowAdd));
            EXPECT_TRUE(grid->Options().testFlag(dgConfirmDelete));
        }
    });
}

TEST_F(EditorScreenTest, TheBoxesAndTheirCaptions)
{
    run("", [](TFrmReceptionRct& e) {
        const struct
        {
            const char* label;
            const char* caption;
            TQxDBEDIT* box;
            const char* field;
        } cases[] = {
            {"LblBillNo", "工单号：", e.EdtBillNo, "BillNo"},
            {"LblReBillNo", "手工单号：", e.EdtReBillNo, "ReBillNo"},
            {"LblVIN", "SerialNo：", e.EdtVin, "VIN"},
            {"LblCName", "机主名：", e.EdtClient, "CName"},
            {"LblModel", "机 型：", e.EdtModel, "Model"},
            {"LblLinkMen", "联系人：", e.EdtLinkMen, "LinkMen"},
            {"LblTel", "电 话：", e.EdtTel, "Tel"},
            {"LblHTel", "手 机：", e.EdtHTel, "HTel"},
            {"LblMileage", "周 期：", e.EdtMileage, "Mileage"},
            {"LblMainWorker", "主 修：", e.EdtMainWorker, "MainWorker"},
            {"LblReceiver", "接 单：", e.EdtReceiver, "Receiver"},
            {"Lblchecker", "检 验：", e.EdtChecker, "checker"},
            {"LblSettler", "结  算：", e.EdtSettler, "Settler"},
            {"LblINtime", "送修日期：", e.EdtINtime, "INtime"},
            {"LblOuttime", "取机日期：", e.EdtOuttime, "Outtime"},
            {"LblEngineNo", "Model：", e.EdtEngineNo, "EngineNo"},
            {"LblRemark", "地 址：", e.EdtRemark, "Remark"},
            {"LblSlave", "附 件：", e.EdtSlave, "Slave"},
            {"LblCMarker", "机主/取机：", e.EdtCMarker, "CMarker"},
            {"LblClientEvent", "说 明：", e.EdtClientEvent, "ClientEvent"},
            {"LblSTimesAmount", "维修标准价：", e.EdtSTimesAmount, "STimesAmount"},
            {"LblSPartsAmount", "配件标准价：", e.EdtSPartsAmount, "SPartsAmount"},
            {"LblXZhe", " 折扣:", e.EdtXZhe, "XZhe"},
            {"LblCZhe", " 折扣：", e.EdtCZhe, "CZhe"},
            {"LblTimesAmount", "维修优惠价：", e.EdtTimesAmount, "TimesAmount"},
            {"LblPartsAmount", "配件优惠价：", e.EdtPartsAmount, "PartsAmount"},
            {"LblCostAmount", "成本：", e.EdtCostAmount, "CostAmount"},
            {"LblTotalAmount", "维修结算：", e.EdtTotalAmount, "TotalAmount"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.label);
            auto* label = e.findChild<TQxLabel*>(QLatin1String(c.label));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->Caption(), QString::fromUtf8(c.caption));
            EXPECT_EQ(c.box->DataField(), QLatin1String(c.field));
            EXPECT_TRUE(c.box->isVisible());
        }
        EXPECT_EQ(e.ChkIsSettle->Caption(), QStringLiteral("已结算"));
        EXPECT_EQ(e.CbxMileageUnit->Items(), (QStringList{"小时", "天", "月", "周"}));
        for (const char* name : {"LblXZheUnit", "LblCZheUnit"})
            EXPECT_EQ(e.findChild<TQxLabel*>(QLatin1String(name))->Caption(), QStringLiteral("折"));
        // The buttons of the boxes that offer lists or pickers.
        for (TQxDBEDIT* box : {e.EdtVin, e.EdtClient, e.EdtModel, e.EdtMainWorker, e.EdtReceiver, e.EdtChecker,
                               e.EdtSettler, e.EdtEngineNo, e.EdtClientEvent})
            EXPECT_TRUE(box->Button()->Visible()) << box->objectName().toStdString();
        for (TQxDBEDIT* box : {e.EdtSTimesAmount, e.EdtSPartsAmount, e.EdtCostAmount, e.EdtTotalAmount})
            EXPECT_TRUE(box->ReadOnly()) << box->objectName().toStdString();
        EXPECT_FALSE(e.EdtTimesAmount->ReadOnly());
        EXPECT_FALSE(e.EdtPartsAmount->ReadOnly());
    });
}

TEST_F(EditorScreenTest, AStoredBillIsReadBackWithItsLinesAndTotals)
{
    run("WX260301001", [](TFrmReceptionRct& e) {
        EXPECT_EQ(e.tblHead->State(), dsEdit);
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("WX260301001"));
        EXPECT_EQ(e.EdtReBillNo->Text(), QStringLiteral("R-1"));
        EXPECT_EQ(e.EdtVin->Text(), QStringLiteral("SN100"));
        EXPECT_FALSE(e.ChkIsSettle->Checked());
        EXPECT_EQ(e.tblDetail1->RecordCount(), 2);
        EXPECT_EQ(e.TblDetail2->RecordCount(), 1);
        // Shown with two decimals, no currency sign; the discounts of the head too.
        EXPECT_EQ(e.EdtSTimesAmount->Text(), QStringLiteral("150.00"));
        EXPECT_EQ(e.EdtXZhe->Text(), QStringLiteral("0.00"));
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("210.00"));
        EXPECT_EQ(e.EdtCostAmount->Text(), QStringLiteral("36.00"));
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Amount"))->DisplayText(), QStringLiteral("60.00"));
        // The print fields follow the database's columns.
        for (const char* name : {"B1", "B2", "B3", "B4", "D1", "D2", "D3"})
            EXPECT_NE(e.tblHead->FindField(QLatin1String(name)), nullptr) << name;
        EXPECT_EQ(e.tblHead->FieldByName(QStringLiteral("B4"))->Size(), 3);
        // The lines keep their stored numbers and words; no new-line rule ran on them.
        EXPECT_EQ(e.tblDetail1->FieldByName(QStringLiteral("BillNo"))->AsString(), QStringLiteral("WX260301001"));
    });
}

TEST_F(EditorScreenTest, LayoutsAreWrittenOnCloseAndReadOnTheNextShow)
{
    const QString items = QDir(programFolder()).filePath(QStringLiteral("维修结算单dbgDetail1.dbg"));
    const QString parts = QDir(programFolder()).filePath(QStringLiteral("维修结算单dbgDetail2.dbg"));
    run("", [](TFrmReceptionRct& e) {
        ColumnByFieldName(e.dbgDetail1, QStringLiteral("SItemName"))->SetWidth(211);
        ColumnByFieldName(e.dbgDetail2, QStringLiteral("Scode"))->SetVisible(false);
    });
    ASSERT_TRUE(QFile::exists(items));
    ASSERT_TRUE(QFile::exists(parts));
    run("", [](TFrmReceptionRct& e) {
        EXPECT_EQ(ColumnByFieldName(e.dbgDetail1, QStringLiteral("SItemName"))->Width(), 211);
        EXPECT_FALSE(ColumnByFieldName(e.dbgDetail2, QStringLiteral("Scode"))->Visible());
        // The unit list is the stock's of today, not the one stored with the layout.
        EXPECT_EQ(ColumnByFieldName(e.dbgDetail2, QStringLiteral("UnitCode"))->PickList().size(), 2);
    });
}

} // namespace
} // namespace qx::documents::test
