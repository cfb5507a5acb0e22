#include "documents/workorder/uEditIn.h"

#include "app/data/dmData.h"
#include "app/master/uAselect.h"
#include "app/master/uSelectName.h"
#include "app/master/uaSelectSItem.h"
#include "app/master/uaSelectStock.h"
#include "app/master/uaSelectVehicle.h"
#include "documents/bills/BillLookups.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"

namespace qx::documents::reception {

// The head's boxes stand in a grid of four columns: a caption, then its box.
constexpr int kColumnPitch = 218;
constexpr int kCaptionWidth = 74;
constexpr int kBoxWidth = 136;
constexpr int kRowPitch = 26;
constexpr int kMargin = 6;

qx::kit::Bounds boxAt(int column, int row, int span = 1)
{
    return {kMargin + column * kColumnPitch + kCaptionWidth, kMargin + row * kRowPitch,
            kBoxWidth + (span - 1) * kColumnPitch, 21};
}

// A captioned data box of the head or the totals, bound to field.
TQxDBEDIT* box(QWidget* panel, TDataSource* source, const char* name, const QString& caption,
               const QString& field, int column, int row,
               QxEditTypes::TEditDataType type = QxEditTypes::edtText, int span = 1)
{
    const QByteArray labelName = QByteArray("Lbl") + field.toLatin1();
    qx::kit::label(panel, labelName.constData(), caption, kMargin + column * kColumnPitch,
                   kMargin + row * kRowPitch + 4);
    TQxDBEDIT* edit = qx::kit::dbEdit(panel, name, boxAt(column, row, span), source, field);
    edit->SetDataType(type);
    return edit;
}

const QStringList& payTypes()
{
    static const QStringList words{QStringLiteral("客付"), QStringLiteral("赠送"), QStringLiteral("自用"),
                                   QStringLiteral("返修")};
    return words;
}

const QString& helpLine()
{
    static const QString text = QStringLiteral(
        "ESC 取消退出  F2 保存增加 F3 保存退出 [F4] 审核  [+] 或双击选取数据  F5维修项目 F6 维修配件 F9 打印");
    return text;
}

constexpr TQxDBGridOptions kLineGridOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines
    | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit | dgAllowAdd | dgAllowDelete;

TQxColumn* lineColumn(TQxDBGrid* grid, const char16_t* field, const char16_t* caption, int width,
                      bool ellipsis = false)
{
    TQxColumn* c = qx::kit::column(grid, QString::fromUtf16(field), QString::fromUtf16(caption), width);
    if (ellipsis)
        c->SetButtonStyle(cbsEllipsis);
    return c;
}

} // namespace qx::documents::reception

namespace rf = qx::documents::reception;
using qx::documents::ExtraField;
using qx::documents::MoneyDisplay;

TFrmReceptionRct::TFrmReceptionRct(QWidget* parent)
    : TFrmABillEditor("FrmReceptionRct", QStringLiteral("维修结算单"), rf::helpLine(), parent),
      tblHead(new TQxMemTable(this)),
      tblDetail1(new TQxMemTable(this)),
      TblDetail2(new TQxMemTable(this)),
      TblPrintDetail(new TQxMemTable(this)),
      dsHead(new TDataSource(this)),
      dsDetail1(new TDataSource(this)),
      dsDetail2(new TDataSource(this)),
      pnlHead(qx::kit::strip(this, "pnlHead", alTop, rf::kMargin * 2 + 6 * rf::kRowPitch)),
      EdtBillNo(rf::box(pnlHead, dsHead, "EdtBillNo", QStringLiteral("工单号："), QStringLiteral("BillNo"), 0, 0)),
      EdtReBillNo(rf::box(pnlHead, dsHead, "EdtReBillNo", QStringLiteral("手工单号："), QStringLiteral("ReBillNo"), 1, 0)),
      ChkIsSettle(qx::kit::dbCheckBox(pnlHead, "ChkIsSettle", QStringLiteral("已结算"),
                                      {rf::kMargin + 2 * rf::kColumnPitch, rf::kMargin + 2, 90, 17}, dsHead,
                                      QStringLiteral("IsSettle"))),
      EdtINtime(rf::box(pnlHead, dsHead, "EdtINtime", QStringLiteral("送修日期："), QStringLiteral("INtime"), 3, 0, edtDate)),
      EdtVin(rf::box(pnlHead, dsHead, "EdtVin", QStringLiteral("SerialNo："), QStringLiteral("VIN"), 0, 1, edtFind)),
      EdtClient(rf::box(pnlHead, dsHead, "EdtClient", QStringLiteral("机主名："), QStringLiteral("CName"), 1, 1, edtFind)),
      EdtModel(rf::box(pnlHead, dsHead, "EdtModel", QStringLiteral("机 型："), QStringLiteral("Model"), 2, 1, edtFind)),
      EdtOuttime(rf::box(pnlHead, dsHead, "EdtOuttime", QStringLiteral("取机日期："), QStringLiteral("Outtime"), 3, 1, edtDate)),
      EdtLinkMen(rf::box(pnlHead, dsHead, "EdtLinkMen", QStringLiteral("联系人："), QStringLiteral("LinkMen"), 0, 2)),
      EdtTel(rf::box(pnlHead, dsHead, "EdtTel", QStringLiteral("电 话："), QStringLiteral("Tel"), 1, 2)),
      EdtHTel(rf::box(pnlHead, dsHead, "EdtHTel", QStringLiteral("手 机："), QStringLiteral("HTel"), 2, 2)),
      EdtMileage(rf::box(pnlHead, dsHead, "EdtMileage", QStringLiteral("周 期："), QStringLiteral("Mileage"), 3, 2)),
      CbxMileageUnit(qx::kit::dbComboBox(pnlHead, "CbxMileageUnit", {}, dsHead, QStringLiteral("MileageUnit"),
                                         {QStringLiteral("小时"), QStringLiteral("天"), QStringLiteral("月"),
                                          QStringLiteral("周")})),
      EdtMainWorker(rf::box(pnlHead, dsHead, "EdtMainWorker", QStringLiteral("主 修："), QStringLiteral("MainWorker"), 0, 3, edtFind)),
      EdtReceiver(rf::box(pnlHead, dsHead, "EdtReceiver", QStringLiteral("接 单："), QStringLiteral("Receiver"), 1, 3, edtFind)),
      EdtChecker(rf::box(pnlHead, dsHead, "EdtChecker", QStringLiteral("检 验："), QStringLiteral("checker"), 2, 3, edtFind)),
      EdtSettler(rf::box(pnlHead, dsHead, "EdtSettler", QStringLiteral("结  算："), QStringLiteral("Settler"), 3, 3, edtFind)),
      EdtEngineNo(rf::box(pnlHead, dsHead, "EdtEngineNo", QStringLiteral("Model："), QStringLiteral("EngineNo"), 0, 4, edtFind)),
      EdtRemark(rf::box(pnlHead, dsHead, "EdtRemark", QStringLiteral("地 址："), QStringLiteral("Remark"), 1, 4)),
      EdtSlave(rf::box(pnlHead, dsHead, "EdtSlave", QStringLiteral("附 件："), QStringLiteral("Slave"), 2, 4)),
      EdtCMarker(rf::box(pnlHead, dsHead, "EdtCMarker", QStringLiteral("机主/取机："), QStringLiteral("CMarker"), 3, 4)),
      EdtClientEvent(rf::box(pnlHead, dsHead, "EdtClientEvent", QStringLiteral("说 明："), QStringLiteral("ClientEvent"),
                             0, 5, edtFind, 4)),
      pnlLines(qx::kit::panel(this, "pnlLines", alClient)),
      dbgDetail1(qx::kit::dbGrid(pnlLines, "dbgDetail1", {0, 0, 600, 150}, dsDetail1)),
      dbgDetail2(qx::kit::dbGrid(pnlLines, "dbgDetail2", dsDetail2)),
      pnlTotal(qx::kit::strip(this, "pnlTotal", alBottom, rf::kMargin * 2 + 2 * rf::kRowPitch)),
      EdtSTimesAmount(rf::box(pnlTotal, dsHead, "EdtSTimesAmount", QStringLiteral("维修标准价："),
                              QStringLiteral("STimesAmount"), 0, 0)),
      EdtXZhe(rf::box(pnlTotal, dsHead, "EdtXZhe", QStringLiteral(" 折扣:"), QStringLiteral("XZhe"), 1, 0)),
      EdtTimesAmount(rf::box(pnlTotal, dsHead, "EdtTimesAmount", QStringLiteral("维修优惠价："),
                             QStringLiteral("TimesAmount"), 2, 0)),
      EdtSPartsAmount(rf::box(pnlTotal, dsHead, "EdtSPartsAmount", QStringLiteral("配件标准价："),
                              QStringLiteral("SPartsAmount"), 0, 1)),
      EdtCZhe(rf::box(pnlTotal, dsHead, "EdtCZhe", QStringLiteral(" 折扣："), QStringLiteral("CZhe"), 1, 1)),
      EdtPartsAmount(rf::box(pnlTotal, dsHead, "EdtPartsAmount", QStringLiteral("配件优惠价："),
                             QStringLiteral("PartsAmount"), 2, 1)),
      LblCostAmount(qx::kit::label(pnlTotal, "LblCostAmount", QStringLiteral("成本："),
                                   rf::kMargin + 3 * rf::kColumnPitch, rf::kMargin + 4)),
      EdtCostAmount(qx::kit::dbEdit(pnlTotal, "EdtCostAmount", rf::boxAt(3, 0), dsHead, QStringLiteral("CostAmount"))),
      EdtTotalAmount(rf::box(pnlTotal, dsHead, "EdtTotalAmount", QStringLiteral("维修结算："),
                             QStringLiteral("TotalAmount"), 3, 1))
{
    tblHead->setObjectName(QStringLiteral("tblHead"));
    tblDetail1->setObjectName(QStringLiteral("tblDetail1"));
    TblDetail2->setObjectName(QStringLiteral("TblDetail2"));
    TblPrintDetail->setObjectName(QStringLiteral("TblPrintDetail"));
    dsHead->setObjectName(QStringLiteral("dsHead"));
    dsHead->SetDataSet(tblHead);
    dsDetail1->setObjectName(QStringLiteral("dsDetail1"));
    dsDetail1->SetDataSet(tblDetail1);
    dsDetail2->setObjectName(QStringLiteral("dsDetail2"));
    dsDetail2->SetDataSet(TblDetail2);

    BuildHead();
    BuildLines();
    BuildTotals();

    tblHead->OnNewRecord = [this](TDataSet* DataSet) { tblHeadNewRecord(DataSet); };
    tblDetail1->OnNewRecord = [this](TDataSet* DataSet) { tblDetail1NewRecord(DataSet); };
    TblDetail2->OnNewRecord = [this](TDataSet* DataSet) { TblDetail2NewRecord(DataSet); };
    tblDetail1->AfterPost = [this](TDataSet* DataSet) { tblDetail1AfterPost(DataSet); };
    tblDetail1->AfterDelete = [this](TDataSet* DataSet) { tblDetail1AfterPost(DataSet); };
    TblDetail2->AfterPost = [this](TDataSet* DataSet) { TblDetail2AfterPost(DataSet); };
    TblDetail2->AfterDelete = [this](TDataSet* DataSet) { TblDetail2AfterPost(DataSet); };
    TblDetail2->BeforePost = [this](TDataSet* DataSet) { TblDetail2BeforePost(DataSet); };
}

TFrmReceptionRct::~TFrmReceptionRct() = default;

void TFrmReceptionRct::BuildHead()
{
    EdtBillNo->SetReadOnly(true);
    // The period's unit stands beside its number.
    const qx::kit::Bounds mileage = rf::boxAt(3, 2);
    EdtMileage->setGeometry(mileage.left, mileage.top, mileage.width - 60, mileage.height);
    CbxMileageUnit->setGeometry(mileage.left + mileage.width - 56, mileage.top, 56, mileage.height);
    CbxMileageUnit->SetStyle(csDropDownList);

    for (TQxDBEDIT* pick : {EdtModel, EdtMainWorker, EdtReceiver, EdtChecker, EdtSettler, EdtEngineNo,
                            EdtClientEvent})
        qx::kit::on(pick->OnButtonClick, this, &TFrmReceptionRct::SelectForActiveEdit);
    qx::kit::on(EdtVin->OnButtonClick, this, &TFrmReceptionRct::EdtVinButtonClick);
    qx::kit::on(EdtClient->OnButtonClick, this, &TFrmReceptionRct::EdtClientButtonClick);
}

void TFrmReceptionRct::BuildLines()
{
    qx::kit::alignAfterStrips(dbgDetail1, alTop);
    for (TQxDBGrid* grid : {dbgDetail1, dbgDetail2})
        grid->SetOptions(rf::kLineGridOptions);

    rf::lineColumn(dbgDetail1, u"SItemCode", u"项目编号", 90, true);
    rf::lineColumn(dbgDetail1, u"SItemName", u"项目名称", 180);
    rf::lineColumn(dbgDetail1, u"TimeAmount", u"工时费", 80);
    rf::lineColumn(dbgDetail1, u"PayType", u"结算方式", 70)->SetPickList(rf::payTypes());
    rf::lineColumn(dbgDetail1, u"Scode", u"服务人员", 80, true);

    rf::lineColumn(dbgDetail2, u"ItemCode", u"配件编号", 90, true);
    rf::lineColumn(dbgDetail2, u"ItemName", u"名称", 150, true);
    rf::lineColumn(dbgDetail2, u"Qty", u"数量", 50);
    rf::lineColumn(dbgDetail2, u"Price", u"单价", 70);
    rf::lineColumn(dbgDetail2, u"UnitCode", u"单位", 50);
    rf::lineColumn(dbgDetail2, u"Amount", u"金额", 80);
    rf::lineColumn(dbgDetail2, u"CostPrice", u"成本价", 70);
    rf::lineColumn(dbgDetail2, u"PayType", u"结算方式", 70)->SetPickList(rf::payTypes() + QStringList{QString()});
    rf::lineColumn(dbgDetail2, u"Scode", u"领料人", 80, true);

    qx::kit::on(dbgDetail1->OnEditButtonClick, this, &TFrmReceptionRct::dbgDetail1EditButtonClick);
    qx::kit::on(dbgDetail1->OnDblClick, this, &TFrmReceptionRct::dbgDetail1EditButtonClick);
    qx::kit::on(dbgDetail2->OnEditButtonClick, this, &TFrmReceptionRct::dbgDetail2EditButtonClick);
    qx::kit::on(dbgDetail2->OnDblClick, this, &TFrmReceptionRct::dbgDetail2EditButtonClick);
}

void TFrmReceptionRct::BuildTotals()
{
    // The sums of the lines and the bill total are computed, never typed; the discounted
    // amounts may be overtyped until the next computation.
    for (TQxDBEDIT* computed : {EdtSTimesAmount, EdtSPartsAmount, EdtCostAmount, EdtTotalAmount})
        computed->SetReadOnly(true);
    const auto unit = [this](const char* name, TQxDBEDIT* discount) {
        const QRect r = discount->geometry();
        discount->setGeometry(r.x(), r.y(), r.width() - 24, r.height());
        qx::kit::label(pnlTotal, name, QStringLiteral("折"), r.right() - 18, r.y() + 4);
    };
    unit("LblXZheUnit", EdtXZhe);
    unit("LblCZheUnit", EdtCZhe);
    qx::kit::on(EdtXZhe->OnExit, this, &TFrmReceptionRct::EdtXZheExit);
    qx::kit::on(EdtCZhe->OnExit, this, &TFrmReceptionRct::EdtCZheExit);
}

// ---- loading ---------------------------------------------------------------------------------

namespace qx::documents::reception {

const QString& headSql()
{
    static const QString sql = QStringLiteral("select * from t_ReceptionMst where BillNo = :billNo");
    return sql;
}

const QString& itemSql()
{
    static const QString sql = QStringLiteral("select * from t_ReceptionDlt where BillNo = :billNo");
    return sql;
}

const QString& partSql()
{
    static const QString sql = QStringLiteral("select * from t_ReceptionDlt2 where BillNo = :billNo");
    return sql;
}

// The print fields of the head: the manual number's and the date's parts.
const QList<ExtraField>& printFields()
{
    static const QList<ExtraField> fields{
        {QStringLiteral("B1"), ftString, 1}, {QStringLiteral("B2"), ftString, 2},
        {QStringLiteral("B3"), ftString, 2}, {QStringLiteral("B4"), ftString, 3},
        {QStringLiteral("D1"), ftString, 1}, {QStringLiteral("D2"), ftString, 2},
        {QStringLiteral("D3"), ftString, 2}};
    return fields;
}

} // namespace qx::documents::reception

void TFrmReceptionRct::LoadBill()
{
    LoadGridLayouts();
    const QVariantMap bill{{QStringLiteral("billNo"), CurrentBillNo}};
    LoadBillTable(*tblHead, rf::headSql(), bill, MoneyDisplay::AllNumbers, rf::printFields());
    // A new bill has no head row: editing starts one, with the new bill's defaults.
    tblHead->Edit();
    LoadBillTable(*tblDetail1, rf::itemSql(), bill, MoneyDisplay::CurrencyAndDecimal);
    LoadBillTable(*TblDetail2, rf::partSql(), bill, MoneyDisplay::CurrencyAndDecimal);
    FillUnitList();
    ApplyCostRight();
}

void TFrmReceptionRct::ReloadBill()
{
    const QVariantMap bill{{QStringLiteral("billNo"), CurrentBillNo}};
    RefillBillTable(*tblHead, rf::headSql(), bill, MoneyDisplay::AllNumbers);
    tblHead->Edit();
    RefillBillTable(*tblDetail1, rf::itemSql(), bill, MoneyDisplay::CurrencyAndDecimal);
    RefillBillTable(*TblDetail2, rf::partSql(), bill, MoneyDisplay::CurrencyAndDecimal);
    ApplyCostRight();
}

void TFrmReceptionRct::FillUnitList()
{
    const auto units = qx::documents::openLookup(QStringLiteral("select distinct UnitCode from t_Stock"));
    QStringList list;
    for (units->First(); !units->Eof(); units->Next())
        if (!units->Fields()->Fields(0)->IsNull())
            list << units->Fields()->Fields(0)->AsString();
    if (TQxColumn* unit = ColumnByFieldName(dbgDetail2, QStringLiteral("UnitCode")))
        unit->SetPickList(list);
}

void TFrmReceptionRct::ApplyCostRight()
{
    FShowsCost = dmdataUnit->CheckRight(QStringLiteral("维修结算单"), QStringLiteral("配件成本"), false);
    LblCostAmount->setVisible(FShowsCost);
    EdtCostAmount->setVisible(FShowsCost);
    if (FShowsCost)
        return;
    // Only the view hides the cost: the column's field stays in the table and is saved.
    for (int i = 0; i < dbgDetail2->Columns()->Count(); ++i) {
        TQxColumn* c = dbgDetail2->Columns()->Items(i);
        if (SameName(c->FieldName(), QStringLiteral("CostPrice")) && c->Visible()) {
            c->SetVisible(false);
            FHiddenCostColumns << c;
        }
    }
}

// ---- show, keys and close --------------------------------------------------------------------

void TFrmReceptionRct::FormShow(QObject* Sender)
{
    TFrmABillEditor::FormShow(Sender);
    TblDetail2AfterPost(TblDetail2);
}

void TFrmReceptionRct::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABillEditor::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_F5) {
        Key = 0;
        FocusGrid(dbgDetail1);
        return;
    }
    if (Key != VK_RETURN)
        return;
    // Enter leads from the device boxes to the contact, and from the contact to reception.
    QWidget* focused = focusWidget();
    QWidget* next = nullptr;
    if (focused == EdtVin || focused == EdtClient)
        next = EdtLinkMen;
    else if (focused == EdtLinkMen)
        next = EdtReceiver;
    if (next) {
        Key = 0;
        next->setFocus(Qt::TabFocusReason);
    }
}

void TFrmReceptionRct::FormClose(QObject* Sender, TCloseAction& Action)
{
    for (const QPointer<TQxColumn>& c : std::as_const(FHiddenCostColumns))
        if (c)
            c->SetVisible(true);
    FHiddenCostColumns.clear();
    TFrmABillEditor::FormClose(Sender, Action);
}

// ---- buttons ---------------------------------------------------------------------------------

void TFrmReceptionRct::SelectForActiveEdit(QObject* Sender)
{
    auto* edit = qobject_cast<TQxDBEDIT*>(Sender);
    if (!edit)
        edit = qobject_cast<TQxDBEDIT*>(focusWidget());
    if (edit && edit->GetField())
        SelectFieldValue(edit->GetField());
}

void TFrmReceptionRct::EdtVinButtonClick(QObject*)
{
    PickDevice(tblHead, EdtVin->Text(), 1);
}

void TFrmReceptionRct::EdtClientButtonClick(QObject*)
{
    PickDevice(tblHead, EdtVin->Text(), 1);
}

void TFrmReceptionRct::dbgDetail1EditButtonClick(QObject*)
{
    TField* field = dbgDetail1->SelectedField();
    if (field && SameName(field->FieldName(), QStringLiteral("Scode")))
        PickWorker(field->FieldName(), field);
    else
        PickRepairItems(tblDetail1);
}

void TFrmReceptionRct::dbgDetail2EditButtonClick(QObject*)
{
    TField* field = dbgDetail2->SelectedField();
    if (field && SameName(field->FieldName(), QStringLiteral("Scode")))
        PickWorker(field->FieldName(), field);
    else if (field && SameName(field->FieldName(), QStringLiteral("Qty")))
        return;
    else
        PickParts(TblDetail2);
}
