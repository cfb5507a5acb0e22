// The new-row rules and the totals of the work-order editor. Sums are exact; a discount in
// tenths and every product are held to four decimals, halves to even.
#include "documents/workorder/uEditIn.h"

#include "app/data/dmData.h"
#include "documents/bills/BillMoney.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"

using qx::documents::discounted;
using qx::documents::lineAmount;
using qx::documents::moneyOf;

void TFrmReceptionRct::tblHeadNewRecord(TDataSet* DataSet)
{
    const QString day = dmdataUnit->DateOrMonthText(1, NewBillDate);
    DataSet->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
    DataSet->FieldByName(QStringLiteral("Received"))->SetAsCurrency(Currency());
    DataSet->FieldByName(QStringLiteral("BillDate"))->SetAsString(day);
    DataSet->FieldByName(QStringLiteral("INtime"))->SetAsString(day);
    DataSet->FieldByName(QStringLiteral("MileageUnit"))->SetAsString(QStringLiteral("天"));
    DataSet->FieldByName(QStringLiteral("IsSettle"))->SetAsBoolean(true);
    EdtReBillNo->setFocus(Qt::OtherFocusReason);
}

void TFrmReceptionRct::tblDetail1NewRecord(TDataSet* DataSet)
{
    DataSet->FieldByName(QStringLiteral("BillNo"))->SetAsString(tblHead->FieldByName(QStringLiteral("BillNo"))->AsString());
    DataSet->FieldByName(QStringLiteral("PayType"))->SetAsString(QStringLiteral("客付"));
}

void TFrmReceptionRct::TblDetail2NewRecord(TDataSet* DataSet)
{
    tblDetail1NewRecord(DataSet);
}

void TFrmReceptionRct::tblDetail1AfterPost(TDataSet*)
{
    Currency sum;
    const TField* price = tblDetail1->FieldByName(QStringLiteral("TimeAmount"));
    // The rows are read in place: the grid and the current line stay as they are.
    tblDetail1->ForEachRecord([&] {
        sum += moneyOf(price);
        return true;
    });
    EnsureEditing(tblHead);
    TField* discountedAmount = tblHead->FieldByName(QStringLiteral("TimesAmount"));
    tblHead->FieldByName(QStringLiteral("STimesAmount"))->SetAsCurrency(sum);
    discountedAmount->SetAsCurrency(discounted(sum, tblHead->FieldByName(QStringLiteral("XZhe"))->AsFloat()));
    BillFieldSetText(discountedAmount, discountedAmount->Text());
}

void TFrmReceptionRct::TblDetail2AfterPost(TDataSet*)
{
    Currency parts;
    Currency cost;
    const TField* qty = TblDetail2->FieldByName(QStringLiteral("Qty"));
    const TField* amount = TblDetail2->FieldByName(QStringLiteral("Amount"));
    const TField* costPrice = TblDetail2->FindField(QStringLiteral("CostPrice"));
    TblDetail2->ForEachRecord([&] {
        parts += moneyOf(amount);
        // The cost counts whatever the operator may see of it.
        if (costPrice)
            cost += lineAmount(qty->IsNull() ? 0 : qty->AsInteger(), moneyOf(costPrice));
        return true;
    });
    EnsureEditing(tblHead);
    TField* discountedAmount = tblHead->FieldByName(QStringLiteral("PartsAmount"));
    tblHead->FieldByName(QStringLiteral("SPartsAmount"))->SetAsCurrency(parts);
    tblHead->FieldByName(QStringLiteral("CostAmount"))->SetAsCurrency(cost);
    discountedAmount->SetAsCurrency(discounted(parts, tblHead->FieldByName(QStringLiteral("CZhe"))->AsFloat()));
    // No management-fee rate exists.
    tblHead->FieldByName(QStringLiteral("ManaAmount"))->SetAsCurrency(Currency());
    BillFieldSetText(discountedAmount, discountedAmount->Text());
}

void TFrmReceptionRct::TblDetail2BeforePost(TDataSet* DataSet)
{
    const QString word = DataSet->FieldByName(QStringLiteral("PayType"))->AsString().trimmed();
    if (word.isEmpty() || word == QStringLiteral("客付"))
        return;
    // A part given away, used by the shop or reworked is charged nothing.
    DataSet->FieldByName(QStringLiteral("Price"))->SetAsCurrency(Currency());
    DataSet->FieldByName(QStringLiteral("Amount"))->SetAsCurrency(Currency());
}

void TFrmReceptionRct::EdtXZheExit(QObject*)
{
    EnsureEditing(tblHead);
    tblHead->FieldByName(QStringLiteral("TimesAmount"))
        ->SetAsCurrency(discounted(moneyOf(tblHead->FieldByName(QStringLiteral("STimesAmount"))),
                                   tblHead->FieldByName(QStringLiteral("XZhe"))->AsFloat()));
    RecalcTotal();
}

void TFrmReceptionRct::EdtCZheExit(QObject*)
{
    EnsureEditing(tblHead);
    tblHead->FieldByName(QStringLiteral("PartsAmount"))
        ->SetAsCurrency(discounted(moneyOf(tblHead->FieldByName(QStringLiteral("SPartsAmount"))),
                                   tblHead->FieldByName(QStringLiteral("CZhe"))->AsFloat()));
    RecalcTotal();
}
