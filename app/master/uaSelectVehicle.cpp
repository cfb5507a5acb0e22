#include "app/master/uaSelectVehicle.h"

#include "app/master/SearchConditions.h"
#include "app/master/uAVehicleEdit.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QApplication>

#include <memory>

using qx::app::SearchConditions;

TFrmaSelectVehicle::TFrmaSelectVehicle(QWidget* parent)
    : TFrmASearchPicker("FrmaSelectVehicle", QStringLiteral("选择车辆"), "QryTemp", "dbgSelect", 64,
                        parent),
      EdtName(qx::kit::edit(PnlSearch, "EdtName", {72, 8, 110, 22})),
      edtVin(qx::kit::edit(PnlSearch, "edtVin", {262, 8, 110, 22})),
      EdtLinker(qx::kit::edit(PnlSearch, "EdtLinker", {452, 8, 110, 22})),
      EdtEngineNo(qx::kit::edit(PnlSearch, "EdtEngineNo", {72, 36, 110, 22})),
      EdtModel(qx::kit::edit(PnlSearch, "EdtModel", {262, 36, 110, 22})),
      EdtTel(qx::kit::edit(PnlSearch, "EdtTel", {452, 36, 110, 22})),
      BtnOK(LeftButton("BtnOK", QStringLiteral("查询(F12)"), 0)),
      BtnAddto(LeftButton("BtnAddto", QStringLiteral("选中(F2)"), 1)),
      BtnAdd(LeftButton("BtnAdd", QStringLiteral("新增(F5)"), 2)),
      BtnClose(LeftButton("BtnClose", QStringLiteral("关闭(Esc)"), 3))
{
    qx::kit::label(PnlSearch, "Label1", QStringLiteral("机主名："), 8, 12);
    qx::kit::label(PnlSearch, "Label2", QStringLiteral("SerialNo："), 196, 12);
    qx::kit::label(PnlSearch, "Label3", QStringLiteral("联系人："), 392, 12);
    qx::kit::label(PnlSearch, "Label4", QStringLiteral("Model："), 8, 40);
    qx::kit::label(PnlSearch, "Label5", QStringLiteral("机型："), 196, 40);
    qx::kit::label(PnlSearch, "Label6", QStringLiteral("电话/手机："), 382, 40);

    const struct
    {
        const char16_t* field;
        const char16_t* title;
        int width;
    } columns[] = {{u"VIN", u"SerialNo", 110}, {u"CName", u"机主名", 90}, {u"Model", u"机型", 80},
                   {u"EngineNo", u"Model", 80}, {u"LinkMen", u"联系人", 70}, {u"Tel", u"电话", 90},
                   {u"HTel", u"手机", 90}};
    for (const auto& c : columns)
        qx::kit::column(Grid, QString::fromUtf16(c.field), QString::fromUtf16(c.title), c.width);

    qx::kit::onClick(BtnOK, this, &TFrmaSelectVehicle::BtnOKClick);
    qx::kit::onClick(BtnAddto, this, &TFrmaSelectVehicle::dbgSelectDblClick);
    qx::kit::onClick(BtnAdd, this, &TFrmaSelectVehicle::BtnAddClick);
    qx::kit::onClick(BtnClose, this, &TFrmaSelectVehicle::BtnCloseClick);
}

TFrmaSelectVehicle::~TFrmaSelectVehicle() = default;

const QStringList& DeviceCopyFields()
{
    static const QStringList fields{
        QStringLiteral("Model"), QStringLiteral("EngineNo"), QStringLiteral("MileageUnit"),
        QStringLiteral("CCode"), QStringLiteral("LinkMen"),  QStringLiteral("Tel"),
        QStringLiteral("MarkNo"), QStringLiteral("HTel"),    QStringLiteral("CName"),
        QStringLiteral("VIN")};
    return fields;
}

void TFrmaSelectVehicle::Search()
{
    SearchConditions c;
    const auto text = [](const TQxEdit* edit) { return edit->Text(); };
    if (!text(edtVin).isEmpty())
        c.add(c.like(QStringLiteral("VIN"), text(edtVin), SearchConditions::Match::Contains));
    if (!text(EdtModel).isEmpty())
        c.add(u'(' + c.like(QStringLiteral("Model"), text(EdtModel), SearchConditions::Match::Contains) + u')');
    if (!text(EdtEngineNo).isEmpty())
        c.add(c.equals(QStringLiteral("EngineNo"), text(EdtEngineNo)));
    if (!text(EdtName).isEmpty())
        c.add(c.like(QStringLiteral("CName"), text(EdtName), SearchConditions::Match::Contains));
    if (!text(EdtLinker).isEmpty())
        c.add(c.like(QStringLiteral("LinkMen"), text(EdtLinker), SearchConditions::Match::Contains));
    if (!text(EdtTel).isEmpty()) {
        const QString tel = c.bind(text(EdtTel));
        c.add(QStringLiteral("(Tel = ") + tel + QStringLiteral(" or HTel = ") + tel + u')');
    }
    RunQuery(QStringLiteral("select * from tVehicle") + c.where(), c.params());
}

bool TFrmaSelectVehicle::Take()
{
    if (!Query->Active())
        return false; // nothing searched yet: the picker stays open
    if (!Target || Query->IsEmpty())
        return true;
    TDataSet* target = Target;
    if (target->State() != dsEdit && target->State() != dsInsert)
        target->Append();
    for (TField* field : *target->Fields()) {
        if (field->FieldKind() != fkData || !DeviceCopyFields().contains(field->FieldName(), Qt::CaseInsensitive))
            continue;
        if (TField* from = Query->FindField(field->FieldName()))
            field->SetValue(from->Value());
    }
    return true;
}

void TFrmaSelectVehicle::BtnOKClick(QObject*)
{
    Search();
}

void TFrmaSelectVehicle::dbgSelectDblClick(QObject*)
{
    TakeAndClose();
}

void TFrmaSelectVehicle::BtnAddClick(QObject*)
{
    AddThroughEditor(QStringLiteral("客户档案"), QStringLiteral("增加"), [] { return new TFrmAVehicleEdit; });
}

void TFrmaSelectVehicle::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmaSelectVehicle::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmASearchPicker::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_F2) {
        Key = 0;
        qx::guard(this, [&] { dbgSelectDblClick(BtnAddto); });
    } else if (Key == VK_F5) {
        Key = 0;
        qx::guard(this, [&] { BtnAddClick(BtnAdd); });
    } else if (Key == VK_F12) {
        Key = 0;
        qx::guard(this, [&] { BtnOKClick(BtnOK); });
    }
}

void PickDevice(TDataSet* Target, const QString& StartText, int Kind)
{
    auto picker = std::make_unique<TFrmaSelectVehicle>(QApplication::activeWindow());
    picker->Target = Target;
    picker->StartText = StartText;
    // Kind 2 comes with an owner's name (a customer with several devices), any other kind
    // with a serial number.
    (Kind == 2 ? picker->EdtName : picker->edtVin)->setText(StartText);
    picker->BtnOKClick(picker->BtnOK);
    qx::DialogService::instance().execDialog(*picker.release());
}
