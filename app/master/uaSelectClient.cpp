#include "app/master/uaSelectClient.h"

#include "platform/db/DataSet.h"
#include "app/master/SearchConditions.h"
#include "app/master/uAClientFileEdit.h"
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

TFrmaSelectClient::TFrmaSelectClient(QWidget* parent)
    : TFrmaSelectClient("FrmaSelectClient",
                        {QStringLiteral("CCode"), QStringLiteral("CName"), QStringLiteral("LinkMen"),
                         QStringLiteral("Tel"), QStringLiteral("HTel")},
                        parent)
{
}

TFrmaSelectClient::TFrmaSelectClient(const char* formName, QStringList takenFields, QWidget* parent)
    : TFrmASearchPicker(formName, QStringLiteral("选择客户"), "QryTemp", "dbgSelect", 36, parent),
      EdtCode(qx::kit::edit(PnlSearch, "EdtCode", {72, 8, 110, 22})),
      EdtName(qx::kit::edit(PnlSearch, "EdtName", {262, 8, 110, 22})),
      EdtLinker(qx::kit::edit(PnlSearch, "EdtLinker", {444, 8, 110, 22})),
      BtnOK(LeftButton("BtnOK", QStringLiteral("查询(F12)"), 0)),
      BtnAdd(LeftButton("BtnAdd", QStringLiteral("新增F2)"), 1)),
      BtnClose(LeftButton("BtnClose", QStringLiteral("关闭(Esc)"), 2)),
      FTakenFields(std::move(takenFields))
{
    qx::kit::label(PnlSearch, "Label1", QStringLiteral("客户编号："), 8, 12);
    qx::kit::label(PnlSearch, "Label2", QStringLiteral("客户名称："), 198, 12);
    qx::kit::label(PnlSearch, "Label3", QStringLiteral("联系人："), 392, 12);

    const struct
    {
        const char16_t* field;
        const char16_t* title;
        int width;
    } columns[] = {{u"CCode", u"客户编号", 90}, {u"CName", u"客户名称", 140}, {u"LinkMen", u"联系人", 70},
                   {u"Tel", u"电话", 90},       {u"HTel", u"手机", 90},       {u"Addr", u"地址", 160}};
    for (const auto& c : columns)
        qx::kit::column(Grid, QString::fromUtf16(c.field), QString::fromUtf16(c.title), c.width)
            ->Title()
            ->SetAlignment(taCenter);

    qx::kit::on(EdtCode->OnClick, this, &TFrmaSelectClient::BtnOKClick);
    qx::kit::onClick(BtnOK, this, &TFrmaSelectClient::BtnOKClick);
    qx::kit::onClick(BtnAdd, this, &TFrmaSelectClient::BtnAddClick);
    qx::kit::onClick(BtnClose, this, &TFrmaSelectClient::BtnCloseClick);
}

TFrmaSelectClient::~TFrmaSelectClient() = default;

void TFrmaSelectClient::Search()
{
    SearchConditions c;
    if (!EdtCode->Text().isEmpty())
        c.add(c.like(QStringLiteral("CCode"), EdtCode->Text(), SearchConditions::Match::Contains));
    if (!EdtName->Text().isEmpty())
        c.add(c.like(QStringLiteral("CName"), EdtName->Text(), SearchConditions::Match::Contains));
    if (!EdtLinker->Text().isEmpty())
        c.add(c.like(QStringLiteral("LinkMen"), EdtLinker->Text(), SearchConditions::Match::Contains));
    RunQuery(QStringLiteral("select * from t_Client") + c.where(), c.params());
}

TDataSet* TFrmaSelectClient::TargetRow()
{
    TDataSet* target = Target;
    if (qx::isEditing(target))
        return target;
    // The current row gets the customer: a device file browsing its devices must not gain a
    // new device because an owner was picked.
    if (target->IsEmpty())
        target->Append();
    else
        target->Edit();
    return target;
}

void TFrmaSelectClient::CopyCustomer(TDataSet& target, const std::function<void(TField*, TField*)>& copied)
{
    for (TField* field : *target.Fields()) {
        if (field->FieldKind() != fkData)
            continue;
        bool taken = false;
        for (const QString& name : FTakenFields)
            taken = taken || SameName(field->FieldName(), name);
        TField* from = taken ? Query->FindField(field->FieldName()) : nullptr;
        if (from)
            copied(field, from);
    }
}

bool TFrmaSelectClient::Take()
{
    if (!Target || !Query->Active() || Query->IsEmpty())
        return true;
    TDataSet* target = TargetRow();
    // Values: the target's text setters stay out of it, and the row stays unposted.
    CopyCustomer(*target, [](TField* field, TField* from) { field->SetValue(from->Value()); });
    return true;
}

void TFrmaSelectClient::BtnOKClick(QObject*)
{
    Search();
}

void TFrmaSelectClient::BtnAddClick(QObject*)
{
    // A customer just added can be picked at once.
    if (AddThroughEditor(QStringLiteral("客户档案"), QStringLiteral("增加"),
                         [] { return new TFrmAClientFileEdit; }))
        Requery();
}

void TFrmaSelectClient::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmaSelectClient::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmASearchPicker::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_F2) {
        Key = 0;
        qx::guard(this, [&] { BtnAddClick(BtnAdd); });
    } else if (Key == VK_F12) {
        Key = 0;
        qx::guard(this, [&] { BtnOKClick(BtnOK); });
    }
}

void PickClient(TDataSet* Target)
{
    auto picker = std::make_unique<TFrmaSelectClient>(QApplication::activeWindow());
    picker->Target = Target;
    qx::DialogService::instance().execDialog(*picker.release());
}
