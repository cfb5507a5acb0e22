// The save of the work-order editor: the checks, the actions built on the save (save and new,
// save and close, approve), and the receipt prompt after a save.
#include "documents/workorder/uEditIn.h"

#include "app/data/dmData.h"
#include "documents/bills/BillLookups.h"
#include "documents/bills/BillMoney.h"
#include "documents/bills/StockPoster.h"
#include "documents/receipts/uReceivRecord.h"
#include "documents/workorder/WorkOrderStore.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

using qx::documents::moneyOf;

bool TFrmReceptionRct::CheckBeforeSave()
{
    if (tblHead->FieldByName(QStringLiteral("INtime"))->AsString().isEmpty()) {
        qx::showMessage(QStringLiteral("进厂日期不能为空"), this);
        return false;
    }
    const QString billNo = tblHead->FieldByName(QStringLiteral("BillNo"))->AsString();
    if (billNo.isEmpty())
        return false;
    if (billNo.trimmed() != CurrentBillNo.trimmed()) {
        const auto stored = qx::documents::openLookup(
            QStringLiteral("select BillNo from t_ReceptionMst where BillNo = :billNo"),
            {{QStringLiteral("billNo"), billNo.trimmed()}});
        if (!stored->IsEmpty()) {
            qx::showMessage(QStringLiteral("此单已存在!"), this);
            CurrentBillNo = stored->Fields()->Fields(0)->AsString();
            ReloadBill();
            return false;
        }
    }
    // A line being typed counts: it is posted (or dropped when nothing was typed) first.
    tblDetail1->CheckBrowseMode();
    TblDetail2->CheckBrowseMode();
    const auto firstEmpty = [](const TDataSet& lines, const char* code) {
        const TField* field = lines.FieldByName(QLatin1String(code));
        bool empty = false;
        lines.ForEachRecord([&] {
            empty = field->AsString().isEmpty();
            return !empty;
        });
        return empty;
    };
    if (firstEmpty(*TblDetail2, "ItemCode")) {
        qx::showMessage(QStringLiteral("配件编码不能为空!"), this);
        return false;
    }
    if (firstEmpty(*tblDetail1, "SItemCode")) {
        qx::showMessage(QStringLiteral("项目编码不能为空!"), this);
        return false;
    }
    return true;
}

bool TFrmReceptionRct::SaveBill()
{
    if (!CheckBeforeSave())
        return false;
    if (tblHead->State() == dsEdit || tblHead->State() == dsInsert)
        tblHead->Post();

    QString number;
    try {
        number = qx::documents::storeWorkOrder(*dmdataUnit->ADOConnection, {*tblHead, *tblDetail1, *TblDetail2},
                                               CurrentBillNo, qx::documents::workOrderMovesStock());
    } catch (const qx::documents::EUnknownStockPart& e) {
        qx::showMessage(e.Message(), this);
        Abort();
    } catch (const EAbort&) {
        throw;
    } catch (...) {
        qx::showMessage(QStringLiteral("存盘失败！"), this);
        Abort();
    }
    // Only a committed save changes the bill in memory: its number, and the money booked on it,
    // which may have come from another workstation meanwhile, so the receipt prompt asks only
    // for what is still due.
    CurrentBillNo = number;
    const auto booked = qx::documents::openLookup(
        QStringLiteral("select Received, DecAmount, ID from t_ReceptionMst where BillNo = :billNo"),
        {{QStringLiteral("billNo"), number}});
    tblHead->Edit();
    tblHead->FieldByName(QStringLiteral("BillNo"))->SetAsString(number);
    if (!booked->IsEmpty()) {
        tblHead->FieldByName(QStringLiteral("Received"))->SetValue(booked->Fields()->Fields(0)->Value());
        tblHead->FieldByName(QStringLiteral("DecAmount"))->SetValue(booked->Fields()->Fields(1)->Value());
        if (TField* id = tblHead->FindField(QStringLiteral("ID")))
            id->SetValue(booked->Fields()->Fields(2)->Value());
    }
    tblHead->Post();
    return true;
}

void TFrmReceptionRct::StartNewBill()
{
    tblDetail1->EmptyTable();
    TblDetail2->EmptyTable();
    tblHead->EmptyTable();
    tblHead->Append();
}

void TFrmReceptionRct::BtnAddClick(QObject*)
{
    if (!SaveBill())
        return;
    CurrentBillNo.clear();
    if (moneyOf(tblHead->FieldByName(QStringLiteral("TotalAmount")))
        > moneyOf(tblHead->FieldByName(QStringLiteral("Received"))))
        BtnReceivClick(BtnReceiv);
    if (ChkPrint->Checked())
        BtnPrintClick(BtnPrint);
    StartNewBill();
}

void TFrmReceptionRct::BtnSaveClick(QObject*)
{
    if (!SaveBill())
        return;
    CurrentBillNo.clear();
    if (moneyOf(tblHead->FieldByName(QStringLiteral("TotalAmount")))
            - moneyOf(tblHead->FieldByName(QStringLiteral("DecAmount")))
        > moneyOf(tblHead->FieldByName(QStringLiteral("Received"))))
        BtnReceivClick(BtnReceiv);
    if (ChkPrint->Checked())
        BtnPrintClick(BtnPrint);
    Close();
}

void TFrmReceptionRct::BtnCheckClick(QObject*)
{
    if (!dmdataUnit->CheckRight(Caption(), BtnCheck->Caption(), true))
        return;
    EnsureEditing(tblHead);
    tblHead->FieldByName(QStringLiteral("State"))->SetAsString(QStringLiteral("已审核"));
    BtnSaveClick(BtnSave);
}

void TFrmReceptionRct::BtnReceivClick(QObject*)
{
    auto* dialog = new TFrmReceivRecord(this);
    dialog->SetReceiptDate(NewBillDate);
    dialog->ReceiptBillNo = tblHead->FieldByName(QStringLiteral("BillNo"))->AsString();
    dialog->SetAmountDue(moneyOf(tblHead->FieldByName(QStringLiteral("TotalAmount")))
                         - moneyOf(tblHead->FieldByName(QStringLiteral("Received")))
                         - moneyOf(tblHead->FieldByName(QStringLiteral("DecAmount"))));
    dialog->LoadReceipts();
    qx::DialogService::instance().execDialog(*dialog);
}
