// The field hub of the work-order editor: every value typed into a box or a grid cell, or
// passed on by a picker, is stored and then runs the rules of its table and field, in order.
#include "documents/workorder/uEditIn.h"

#include "app/data/dmData.h"
#include "app/master/uAServiceItemEdit.h"
#include "app/master/uaSelectVehicle.h"
#include "documents/bills/BillLookups.h"
#include "documents/bills/BillMoney.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"

#include <memory>

using qx::documents::moneyOf;

namespace qx::documents::reception {

// The head amounts the bill total adds up.
const QStringList& totalParts()
{
    static const QStringList names{QStringLiteral("PartsAmount"), QStringLiteral("TimesAmount"),
                                   QStringLiteral("tcAmount"),    QStringLiteral("nsAmount"),
                                   QStringLiteral("OtherAmount"), QStringLiteral("TaxAmount"),
                                   QStringLiteral("ManaAmount")};
    return names;
}

bool isTextField(const TField* field)
{
    const TFieldType t = field->DataType();
    return t == ftString || t == ftWideString || t == ftFixedChar;
}

// Text fields keep their values without blanks around them.
void trimText(TField* field)
{
    if (!isTextField(field))
        return;
    const QString text = field->AsString();
    const QString trimmed = text.trimmed();
    if (trimmed != text)
        field->SetAsString(trimmed);
}

} // namespace qx::documents::reception

namespace rh = qx::documents::reception;

void TFrmReceptionRct::BillFieldSetText(TField* Field, const QString& Text)
{
    Field->SetAsString(Text);
    const TDataSet* table = Field->DataSet();
    if (table == tblHead)
        HeadRules(Field, Text);
    else if (table == tblDetail1)
        ItemRules(Field);
    else if (table == TblDetail2)
        PartRules(Field);
}

void TFrmReceptionRct::RecalcTotal()
{
    Currency total;
    for (const QString& name : rh::totalParts())
        total += moneyOf(tblHead->FindField(name));
    if (TField* field = tblHead->FindField(QStringLiteral("TotalAmount")))
        field->SetAsCurrency(total);
}

void TFrmReceptionRct::HeadRules(TField* Field, const QString& Text)
{
    const QString name = Field->FieldName();
    if (rh::totalParts().contains(name, Qt::CaseInsensitive))
        RecalcTotal();

    if (SameName(name, QStringLiteral("BillNo"))) {
        const QString number = Field->AsString().trimmed();
        if (number.isEmpty() || number == CurrentBillNo.trimmed())
            return;
        const auto stored = qx::documents::openLookup(
            QStringLiteral("select BillNo from t_ReceptionMst where BillNo = :billNo"),
            {{QStringLiteral("billNo"), number}});
        if (stored->IsEmpty())
            return;
        qx::showMessage(QStringLiteral("此单已存在!"), this);
        CurrentBillNo = stored->Fields()->Fields(0)->AsString();
        ReloadBill();
        return;
    }
    if (SameName(name, QStringLiteral("ReBillNo"))) {
        const QString number = Field->AsString();
        if (number.isEmpty())
            return;
        // The bill's own stored number counts too: the warning is a hint, never a refusal.
        const auto used = qx::documents::openLookup(
            QStringLiteral("select ReBillNo from t_ReceptionMst where ReBillNo = :reBillNo"),
            {{QStringLiteral("reBillNo"), number}});
        if (!used->IsEmpty())
            qx::showMessage(QStringLiteral("手工单号已存在,请修改!"), this);
        return;
    }
    if (SameName(name, QStringLiteral("CCode")) || SameName(name, QStringLiteral("VIN"))) {
        if (!Text.isEmpty())
            LookUpDevice(Field, Text);
    }
}

void TFrmReceptionRct::LookUpDevice(TField* Field, const QString& Text)
{
    const bool byCustomer = SameName(Field->FieldName(), QStringLiteral("CCode"));
    const auto devices = qx::documents::openLookup(
        byCustomer ? QStringLiteral("select * from tVehicle where CCode = :value")
                   : QStringLiteral("select * from tVehicle where VIN = :value"),
        {{QStringLiteral("value"), Text}});
    const int found = devices->RecordCount();
    if (found == 1) {
        for (const QString& name : DeviceCopyFields()) {
            TField* to = tblHead->FindField(name);
            const TField* from = devices->FindField(name);
            if (to && from && rh::isTextField(to))
                to->SetValue(from->Value());
        }
    } else if (found > 1) {
        // Several devices of one owner: the operator chooses among the owner's.
        PickDevice(tblHead, EdtClient->Text().trimmed(), 2);
    }
}

void TFrmReceptionRct::ItemRules(TField* Field)
{
    rh::trimText(Field);
    const QString name = Field->FieldName();
    if (SameName(name, QStringLiteral("PayType"))) {
        const QString word = Field->AsString();
        TField* price = tblDetail1->FindField(QStringLiteral("TimeAmount"));
        if (!price)
            return;
        if (word == QStringLiteral("客付")) {
            const TField* code = tblDetail1->FindField(QStringLiteral("SItemCode"));
            const auto item = qx::documents::openLookup(
                QStringLiteral("select TimeAmount from tServiceItem where SItemCode = :code"),
                {{QStringLiteral("code"), code ? code->AsString() : QString()}});
            if (!item->IsEmpty())
                price->SetValue(item->Fields()->Fields(0)->Value());
        } else if (word == QStringLiteral("赠送") || word == QStringLiteral("自用")
                   || word == QStringLiteral("返修")) {
            price->SetAsCurrency(Currency());
        }
        return;
    }
    if (SameName(name, QStringLiteral("SItemCode")))
        LookUpRepairItem(Field);
}

void TFrmReceptionRct::LookUpRepairItem(TField* CodeField)
{
    const QString code = CodeField->AsString();
    const auto take = [&] {
        const auto item = qx::documents::openLookup(
            QStringLiteral("select SItemCode, SItemName, TimeAmount from tServiceItem where SItemCode = :code"),
            {{QStringLiteral("code"), code}});
        if (item->IsEmpty())
            return false;
        tblDetail1->Edit();
        // The item's own price, whatever the line's settlement word.
        qx::documents::copySharedColumns(*tblDetail1, *item, {});
        return true;
    };
    if (take() || code.isEmpty())
        return;
    if (!qx::documents::askAddUnknownCode(this, code)) {
        CodeField->SetAsString(QString());
        return;
    }
    if (!dmdataUnit->CheckRight(QStringLiteral("维修项目"), QStringLiteral("增加"), true))
        return;
    auto editor = std::make_unique<TFrmAServiceItemEdit>(this);
    if (!editor->QryEdit->Active())
        editor->QryEdit->Open();
    editor->QryEdit->Append();
    editor->QryEdit->FieldByName(QStringLiteral("SItemCode"))->SetAsString(code);
    // From here the editor frees itself when it closes.
    qx::DialogService::instance().execDialog(*editor.release());
    take();
}

void TFrmReceptionRct::PartRules(TField* Field)
{
    const QString name = Field->FieldName();
    if (SameName(name, QStringLiteral("Qty")) || SameName(name, QStringLiteral("Price"))) {
        const TField* qty = TblDetail2->FindField(QStringLiteral("Qty"));
        const TField* price = TblDetail2->FindField(QStringLiteral("Price"));
        TField* amount = TblDetail2->FindField(QStringLiteral("Amount"));
        if (qty && price && amount)
            amount->SetAsCurrency(qx::documents::lineAmount(qty->IsNull() ? 0 : qty->AsInteger(), moneyOf(price)));
    }
    rh::trimText(Field);
    if (SameName(name, QStringLiteral("ItemCode")))
        qx::documents::lookUpPart(this, Field);
}
