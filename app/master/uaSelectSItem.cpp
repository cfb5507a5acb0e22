#include "app/master/uaSelectSItem.h"

#include "app/master/SearchConditions.h"
#include "app/master/uAServiceItemEdit.h"
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

TFrmaSelectSItem::TFrmaSelectSItem(QWidget* parent)
    : TFrmASearchPicker("FrmaSelectSItem", QStringLiteral("选择项目"), "QryTemp", "dbgStock", 36,
                        parent),
      EdtCode(qx::kit::edit(PnlSearch, "EdtCode", {104, 8, 150, 22})),
      BtnOK(LeftButton("BtnOK", QStringLiteral("查询(F12)"), 0)),
      BtnAddtoBill(LeftButton("BtnAddtoBill", QStringLiteral("加入单据(F11)"), 1)),
      BtnAdd(LeftButton("BtnAdd", QStringLiteral("新增(F5)"), 2)),
      BtnClose(LeftButton("BtnClose", QStringLiteral("关闭(Esc)"), 3))
{
    qx::kit::label(PnlSearch, "Label1", QStringLiteral("项目编码/名称："), 8, 12);
    qx::kit::label(PnlSearch, "Label2", QStringLiteral("(支持按名称的简拼\\五笔\\五笔划查询)"), 262, 12);

    qx::kit::column(Grid, QStringLiteral("SItemCode"), QStringLiteral("项目编码"), 90);
    qx::kit::column(Grid, QStringLiteral("SItemName"), QStringLiteral("项目名称"), 140);
    qx::kit::column(Grid, QStringLiteral("CTime"), QStringLiteral("标准工时"), 70);
    qx::kit::column(Grid, QStringLiteral("ITime"), QStringLiteral("提成工时"), 70);
    qx::kit::column(Grid, QStringLiteral("TimeAmount"), QStringLiteral("标准价"), 70);
    qx::kit::column(Grid, QStringLiteral("MinTimeAmount"), QStringLiteral("最低价"), 70);
    qx::kit::column(Grid, QStringLiteral("MaxTimeAmount"), QStringLiteral("最高价"), 70);

    qx::kit::on(EdtCode->OnChange, this, &TFrmaSelectSItem::SearchTextChanged);
    qx::kit::onClick(BtnOK, this, &TFrmaSelectSItem::BtnOKClick);
    qx::kit::onClick(BtnAddtoBill, this, &TFrmaSelectSItem::BtnAddtoBillClick);
    qx::kit::onClick(BtnAdd, this, &TFrmaSelectSItem::BtnAddClick);
    qx::kit::onClick(BtnClose, this, &TFrmaSelectSItem::BtnCloseClick);
}

TFrmaSelectSItem::~TFrmaSelectSItem() = default;

void TFrmaSelectSItem::FirstSearch()
{
    // Shown, the picker offers every item; a search narrows them to 30.
    RunQuery(QStringLiteral("select * from tServiceItem"));
}

void TFrmaSelectSItem::Search()
{
    SearchConditions c;
    const QString t = EdtCode->Text().trimmed();
    if (!t.isEmpty())
        c.add(u'(' + c.like(QStringLiteral("SItemCode"), t, SearchConditions::Match::Contains)
              + QStringLiteral(" or ") + c.like(QStringLiteral("SItemName"), t, SearchConditions::Match::Contains)
              + QStringLiteral(" or ") + c.like(QStringLiteral("PY"), t, SearchConditions::Match::StartsWith)
              + QStringLiteral(" or ") + c.like(QStringLiteral("WB"), t, SearchConditions::Match::StartsWith)
              + QStringLiteral(" or ") + c.like(QStringLiteral("WBH"), t, SearchConditions::Match::StartsWith)
              + u')');
    RunQuery(QStringLiteral("select * from tServiceItem") + c.where() + QStringLiteral(" limit 30"),
             c.params());
}

bool TFrmaSelectSItem::Take()
{
    if (!TargetTable || !Query->Active() || Query->IsEmpty())
        return true;
    TDataSet* target = TargetTable;
    if (target->State() != dsEdit && target->State() != dsInsert)
        target->Append(); // the line gets the bill's number and "客付"
    for (TField* field : *target->Fields()) {
        const QString name = field->FieldName();
        TField* from = field->FieldKind() == fkData ? Query->FindField(name) : nullptr;
        if (!from)
            continue;
        if (SameName(name, QStringLiteral("SITEMCODE")) || SameName(name, QStringLiteral("SITEMNAME"))
            || SameName(name, QStringLiteral("TIMEAMOUNT")))
            field->SetValue(from->Value());
        // Every shared field goes through the hub, copied or not: the work order looks the
        // code up again and fills name and price.
        RunTextSetter(field, field->Text());
    }
    target->Post();
    return true;
}

void TFrmaSelectSItem::SearchTextChanged(QObject*)
{
    Search();
}

void TFrmaSelectSItem::BtnOKClick(QObject*)
{
    Search();
}

void TFrmaSelectSItem::BtnAddtoBillClick(QObject*)
{
    Take();
}

void TFrmaSelectSItem::BtnAddClick(QObject*)
{
    if (AddThroughEditor(QStringLiteral("维修项目"), QStringLiteral("增加"),
                         [] { return new TFrmAServiceItemEdit; }))
        Search();
}

void TFrmaSelectSItem::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmaSelectSItem::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
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

void PickRepairItems(TDataSet* Table)
{
    auto picker = std::make_unique<TFrmaSelectSItem>(QApplication::activeWindow());
    picker->TargetTable = Table;
    qx::DialogService::instance().execDialog(*picker.release());
}
