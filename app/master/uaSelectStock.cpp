#include "app/master/uaSelectStock.h"

#include "app/master/uAMaterialEdit.h"
#include "app/master/uAselect.h"
#include "app/shell/ColorPanel.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QApplication>

#include <memory>

using qx::app::SearchConditions;

TFrmaSelectStock::TFrmaSelectStock(QWidget* parent)
    : TFrmASearchPicker("FrmaSelectStock", QStringLiteral("选择配件"), "QryTemp", "dbgStock", 64,
                        parent),
      EdtCode(qx::kit::edit(PnlSearch, "EdtCode", {72, 8, 110, 22})),
      EdtName(qx::kit::edit(PnlSearch, "EdtName", {262, 8, 110, 22})),
      EdtModel(qx::kit::edit(PnlSearch, "EdtModel", {72, 36, 110, 22}, edtFind)),
      EdtLocation(qx::kit::edit(PnlSearch, "EdtLocation", {262, 36, 110, 22}, edtFind)),
      EdtQty(qx::kit::edit(PnlSearch, "EdtQty", {424, 36, 70, 22}, edtNumber)),
      CbxQty(qx::kit::comboBox(PnlSearch, "CbxQty", {498, 36, 90, 22},
                               {QStringLiteral("等于"), QStringLiteral("大于"), QStringLiteral("小于"),
                                QStringLiteral("大于等于"), QStringLiteral("小于等于")})),
      BtnOK(LeftButton("BtnOK", QStringLiteral("查询(F12)"), 0)),
      BtnAddtoBill(LeftButton("BtnAddtoBill", QStringLiteral("加入单据(F11)"), 1)),
      BtnAdd(LeftButton("BtnAdd", QStringLiteral("新增(F2)"), 2)),
      BtnClose(LeftButton("BtnClose", QStringLiteral("关闭(Esc)"), 3))
{
    qx::kit::label(PnlSearch, "Label1", QStringLiteral("配件编号："), 8, 12);
    qx::kit::label(PnlSearch, "Label2", QStringLiteral("配件名称："), 198, 12);
    qx::kit::label(PnlSearch, "Label3", QStringLiteral("(支持按名称的简拼\\五笔\\五笔划查询)"), 380, 12);
    qx::kit::label(PnlSearch, "Label4", QStringLiteral("机型："), 8, 40);
    qx::kit::label(PnlSearch, "Label5", QStringLiteral("仓位："), 198, 40);
    qx::kit::label(PnlSearch, "Label6", QStringLiteral("库存："), 384, 40);
    CbxQty->SetStyle(csDropDownList);
    CbxQty->SetItemIndex(-1);

    qx::kit::column(Grid, QStringLiteral("ID"), QStringLiteral("ID"), 0, false);
    qx::kit::column(Grid, QStringLiteral("itemCode"), QStringLiteral("配件编号"), 90);
    qx::kit::column(Grid, QStringLiteral("ItemName"), QStringLiteral("配件名称"), 120);
    qx::kit::column(Grid, QStringLiteral("Model"), QStringLiteral("机型"), 80);
    qx::kit::column(Grid, QStringLiteral("Qty"), QStringLiteral("库存数"), 60);
    qx::kit::column(Grid, QStringLiteral("UnitCode"), QStringLiteral("单位"), 50);
    qx::kit::column(Grid, QStringLiteral("Costprice"), QStringLiteral("进货价"), 70);
    qx::kit::column(Grid, QStringLiteral("Price"), QStringLiteral("销售价"), 70);
    qx::kit::column(Grid, QStringLiteral("Location"), QStringLiteral("仓位"), 70);
    qx::kit::column(Grid, QStringLiteral("BusinessNo"), QStringLiteral("凭证号"), 80);

    qx::kit::on(EdtCode->OnChange, this, &TFrmaSelectStock::SearchTextChanged);
    qx::kit::on(EdtName->OnChange, this, &TFrmaSelectStock::SearchTextChanged);
    qx::kit::on(EdtModel->OnButtonClick, this, &TFrmaSelectStock::ModelButtonClick);
    qx::kit::on(EdtLocation->OnButtonClick, this, &TFrmaSelectStock::ModelButtonClick);
    qx::kit::onClick(BtnOK, this, &TFrmaSelectStock::BtnOKClick);
    qx::kit::onClick(BtnAddtoBill, this, &TFrmaSelectStock::BtnAddtoBillClick);
    qx::kit::onClick(BtnAdd, this, &TFrmaSelectStock::BtnAddClick);
    qx::kit::onClick(BtnClose, this, &TFrmaSelectStock::BtnCloseClick);
}

TFrmaSelectStock::~TFrmaSelectStock() = default;

QString QtyCondition(const QString& FieldName, const QString& Value, const QString& Comparison,
                     SearchConditions& Conditions)
{
    static const struct
    {
        const char16_t* caption;
        const char* op;
    } comparisons[] = {{u"等于", " = "},     {u"大于", " > "},      {u"大于等于", " >= "},
                       {u"小于", " < "},     {u"小于等于", " <= "}};
    // A quantity compares as a number also without a comparison chosen.
    QString op = QStringLiteral(" = ");
    for (const auto& c : comparisons)
        if (Comparison == QString::fromUtf16(c.caption))
            op = QLatin1String(c.op);
    const double number = StrToFloat(Value.trimmed());
    return FieldName + op + Conditions.bind(number);
}

void TFrmaSelectStock::Search()
{
    SearchConditions c;
    // Every condition is built before the query is touched: a bad quantity changes nothing.
    if (!EdtCode->Text().isEmpty())
        c.add(c.like(QStringLiteral("ItemCode"), EdtCode->Text(), SearchConditions::Match::StartsWith));
    const QString name = EdtName->Text();
    if (!name.isEmpty())
        c.add(u'(' + c.like(QStringLiteral("ItemName"), name, SearchConditions::Match::Contains)
              + QStringLiteral(" or ") + c.like(QStringLiteral("PY"), name, SearchConditions::Match::StartsWith)
              + QStringLiteral(" or ") + c.like(QStringLiteral("WB"), name, SearchConditions::Match::StartsWith)
              + QStringLiteral(" or ") + c.like(QStringLiteral("WBH"), name, SearchConditions::Match::StartsWith)
              + u')');
    if (!EdtModel->Text().isEmpty())
        c.add(c.equals(QStringLiteral("Model"), EdtModel->Text()));
    if (!EdtLocation->Text().isEmpty())
        c.add(c.equals(QStringLiteral("Location"), EdtLocation->Text()));
    if (!EdtQty->Text().isEmpty())
        c.add(QtyCondition(QStringLiteral("Qty"), EdtQty->Text(), CbxQty->Text(), c));
    RunQuery(QStringLiteral("select * from t_Stock") + c.where() + QStringLiteral(" limit 300"), c.params());
}

bool TFrmaSelectStock::Take()
{
    if (!TargetTable || !Query->Active() || Query->IsEmpty())
        return true;
    TDataSet* target = TargetTable;
    if (target->State() != dsEdit && target->State() != dsInsert)
        target->Append(); // the bill's new-line rule gives it the bill's number and settlement
    for (TField* field : *target->Fields()) {
        const QString name = field->FieldName();
        if (field->FieldKind() != fkData || SameName(name, QStringLiteral("QTY"))
            || SameName(name, QStringLiteral("ID")))
            continue;
        TField* from = Query->FindField(name);
        if (!from)
            continue;
        field->SetValue(from->Value());
        // The bill's field hub looks the part up and computes the amount.
        RunTextSetter(field, field->Text());
    }
    target->Post();
    return true;
}

void TFrmaSelectStock::SearchTextChanged(QObject*)
{
    Search();
}

void TFrmaSelectStock::ModelButtonClick(QObject* Sender)
{
    // No list of locations exists: both boxes offer the models.
    SelectFindValue(QStringLiteral("Model"), qobject_cast<QLineEdit*>(Sender));
}

void TFrmaSelectStock::BtnOKClick(QObject*)
{
    Search();
}

void TFrmaSelectStock::BtnAddtoBillClick(QObject*)
{
    Take();
}

void TFrmaSelectStock::BtnAddClick(QObject*)
{
    if (AddThroughEditor(QStringLiteral("库存管理"), QStringLiteral("新增配件"),
                         [] { return new TFrmAMaterialEdit; }))
        Search();
}

void TFrmaSelectStock::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmaSelectStock::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmASearchPicker::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_F11) {
        Key = 0;
        qx::guard(this, [&] { BtnAddtoBillClick(BtnAddtoBill); });
    } else if (Key == VK_F12) {
        Key = 0;
        qx::guard(this, [&] { BtnOKClick(BtnOK); });
    }
}

void PickParts(TDataSet* Table)
{
    auto picker = std::make_unique<TFrmaSelectStock>(QApplication::activeWindow());
    picker->TargetTable = Table;
    qx::DialogService::instance().execDialog(*picker.release());
}
