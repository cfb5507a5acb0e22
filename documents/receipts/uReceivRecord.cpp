#include "documents/receipts/uReceivRecord.h"

#include "app/data/dmData.h"
#include "app/shell/ColorPanel.h"
#include "app/shell/GridLayoutFiles.h"
#include "documents/bills/BillLookups.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/TransactionScope.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QAbstractButton>

namespace qx::documents::receipts {

// What the dialog of each bill kind says and where it books.
struct ReceiptWords
{
    const char16_t* caption;
    const char16_t* dueLabel;    // before the caller sets the amount due
    const char16_t* dueWord;     // before the amount due
    const char16_t* amountLabel;
    const char16_t* dateLabel;
    const char16_t* closeButton;
    const char16_t* receiptTable;
    const char16_t* headTable;
    const char16_t* headColumn;  // the received (paid) amount of the head
    const char* gridName;        // the sales and work-order dialogs share their caption, so
                                 // their grids are named apart for their layout files
    bool writeOff;               // a remainder may be written off (DecAmount)
    bool emptyAsZero;            // an empty amount box reads as 0
    bool cardColumn;             // the grid shows the card number
};

const ReceiptWords& wordsOf(ReceiptBill kind)
{
    static const ReceiptWords table[] = {
        {u"录入收款", u"应    收：", u"应收：", u"本次收款：", u"收款日期：", u"未收款", u"t_ReceptionDlt3",
         u"t_ReceptionMst", u"Received", "dbgReceipts", true, true, true},
        {u"录入收款", u"应    收：", u"应收：", u"本次收款：", u"收款日期：", u"未收款", u"t_Outdlt1", u"t_OutMst",
         u"Payed", "dbgReceipts1", false, false, false},
        {u"录入付款", u"应    付：", u"应付：", u"本次付款：", u"付款日期：", u"未付款", u"t_Indlt1", u"t_InMst",
         u"Payed", "dbgReceipts2", false, false, false},
    };
    return table[int(kind)];
}

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

const QStringList& accountTypes()
{
    static const QStringList types{QStringLiteral("现金"), QStringLiteral("支票"), QStringLiteral("其他")};
    return types;
}


} // namespace qx::documents::receipts

namespace rr = qx::documents::receipts;

TFrmReceivRecord::TFrmReceivRecord(QWidget* parent) : TFrmReceivRecord(ReceiptBill::WorkOrder, parent) {}

TFrmReceivRecord::TFrmReceivRecord(ReceiptBill Kind, QWidget* parent)
    : TFrmABase(parent),
      pnlEntry(qx::kit::strip(this, "pnlEntry", alTop, 118)),
      LblDue(qx::kit::label(pnlEntry, "LblDue", rr::text(rr::wordsOf(Kind).dueLabel), 12, 10)),
      LblAmount(qx::kit::label(pnlEntry, "LblAmount", rr::text(rr::wordsOf(Kind).amountLabel), 12, 38)),
      EdtAmount(qx::kit::edit(pnlEntry, "EdtAmount", {84, 34, 120, 21})),
      LblAccType(qx::kit::label(pnlEntry, "LblAccType", QStringLiteral("付款方式："), 222, 38)),
      CbxAccType(qx::kit::comboBox(pnlEntry, "CbxAccType", {294, 34, 100, 21}, rr::accountTypes())),
      LblRemark(qx::kit::label(pnlEntry, "LblRemark", QStringLiteral("说明："), 12, 66)),
      EdtRemark(qx::kit::edit(pnlEntry, "EdtRemark", {84, 62, 310, 21})),
      LblDate(qx::kit::label(pnlEntry, "LblDate", rr::text(rr::wordsOf(Kind).dateLabel), 12, 94)),
      DtpDate(qx::kit::make<qx::DatePicker>(pnlEntry, "DtpDate", {84, 90, 120, 21})),
      LblBNO(qx::kit::label(pnlEntry, "LblBNO", QStringLiteral("凭证号："), 222, 94)),
      EdtBNO(qx::kit::edit(pnlEntry, "EdtBNO", {294, 90, 100, 21})),
      LblBillNo(qx::kit::label(pnlEntry, "LblBillNo", QString(), 222, 10)),
      pnlButtons(qx::kit::strip(this, "pnlButtons", alBottom, 36)),
      Button1(qx::kit::button(pnlButtons, "Button1", QStringLiteral("确定"), {222, 5, 80, 26})),
      Button2(qx::kit::button(pnlButtons, "Button2", rr::text(rr::wordsOf(Kind).closeButton), {314, 5, 80, 26})),
      QryReceipts(new TADOQuery(this)),
      dsReceipts(new TDataSource(this)),
      dbgReceipts(qx::kit::dbGrid(this, rr::wordsOf(Kind).gridName, dsReceipts)),
      FKind(Kind)
{
    const rr::ReceiptWords& words = rr::wordsOf(Kind);
    setObjectName(Kind == ReceiptBill::WorkOrder ? QStringLiteral("FrmReceivRecord")
                  : Kind == ReceiptBill::Sale    ? QStringLiteral("FrmReceivRecord1")
                                                 : QStringLiteral("FrmReceivRecord2"));
    SetCaption(rr::text(words.caption));
    resize(420, 330);
    pnlleft->setVisible(false);

    QryReceipts->setObjectName(QStringLiteral("QryReceipts"));
    QryReceipts->SetConnection(dmdataUnit->ADOConnection);
    dsReceipts->setObjectName(QStringLiteral("dsReceipts"));
    dsReceipts->SetDataSet(QryReceipts);

    // The receipts are a list while money is entered above them; only the list of a bill
    // with nothing due is for corrections.
    dbgReceipts->SetOptions(dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs
                            | dgConfirmDelete | dgCancelOnExit);
    qx::kit::column(dbgReceipts, QStringLiteral("ReceivTime"), QStringLiteral("日期"), 80);
    qx::kit::column(dbgReceipts, QStringLiteral("acctype"), QStringLiteral("支付方式"), 60)->SetPickList(rr::accountTypes());
    qx::kit::column(dbgReceipts, QStringLiteral("Amount"), QStringLiteral("金额"), 70);
    if (words.cardColumn)
        qx::kit::column(dbgReceipts, QStringLiteral("CardNo"), QStringLiteral("美容卡号"), 80);
    qx::kit::column(dbgReceipts, QStringLiteral("Remark"), QStringLiteral("说明"), 120);
    qx::kit::column(dbgReceipts, QStringLiteral("BNO"), QStringLiteral("凭证号"), 70);

    CbxAccType->SetStyle(csDropDownList);
    CbxAccType->SetItemIndex(0);
    DtpDate->SetDate(Date());
    qx::app::loadGridLayout(*dbgReceipts, GridLayoutFileName());

    qx::kit::onClick(Button1, this, &TFrmReceivRecord::Button1Click);
    qx::kit::onClick(Button2, this, &TFrmReceivRecord::Button2Click);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmReceivRecord::~TFrmReceivRecord() = default;

QString TFrmReceivRecord::GridLayoutFileName() const
{
    return ExeFolderPath(Caption() + dbgReceipts->objectName() + QStringLiteral(".dbg"));
}

void TFrmReceivRecord::SetAmountDue(Currency Due)
{
    AmountDue = Due;
    const QString text = CurrToStr(Due);
    EdtAmount->setText(text);
    LblDue->SetCaption(rr::text(rr::wordsOf(FKind).dueWord) + text);
}

void TFrmReceivRecord::SetReceiptDate(TDateTime Date)
{
    DtpDate->SetDate(Date);
}

void TFrmReceivRecord::LoadReceipts()
{
    const rr::ReceiptWords& words = rr::wordsOf(FKind);
    LblBillNo->SetCaption(QStringLiteral("单号：") + ReceiptBillNo);
    QryReceipts->Close();
    QryReceipts->SQL().SetText(
        QStringLiteral("select * from %1 where BillNo = :billNo").arg(qx::quoteSqlName(rr::text(words.receiptTable))));
    QryReceipts->ParamByName(QStringLiteral("billNo"))->setValue(ReceiptBillNo);
    QryReceipts->Open();
    CbxAccType->SetItemIndex(0);

    FListOnly = AmountDue == Currency();
    pnlEntry->setVisible(!FListOnly);
    pnlButtons->setVisible(!FListOnly);
    if (FListOnly)
        dbgReceipts->SetOptions(dbgReceipts->Options() | dgEditing | dgAllowDelete);
}

void TFrmReceivRecord::Button1Click(QObject*)
{
    const rr::ReceiptWords& words = rr::wordsOf(FKind);
    QString typed = EdtAmount->Text().trimmed();
    if (typed.isEmpty() && words.emptyAsZero)
        typed = QStringLiteral("0");
    // Not a number: the conversion's message, and nothing is written.
    const Currency amount = StrToCurr(typed);
    const Currency rest = AmountDue - amount;
    if (rest == Currency() && amount == Currency()) {
        Close();
        return;
    }
    bool writeOff = false;
    if (words.writeOff && rest != Currency()) {
        const QString r = CurrToStr(rest);
        writeOff = qx::messageBox(this,
                                  QStringLiteral("剩余的") + r
                                      + QStringLiteral("是否不收了,如果是本单已结了剩余算入零头，否本单还有挂账") + r,
                                  QStringLiteral("提问"), qx::MessageIcon::Question, {qx::mrYes, qx::mrNo}, qx::mrYes)
                   == qx::mrYes;
    }
    RecordPayment(amount, writeOff);
    Close();
}

void TFrmReceivRecord::Button2Click(QObject*)
{
    Close();
}

Currency TFrmReceivRecord::StoredSum() const
{
    const auto rows = qx::documents::openLookup(
        QStringLiteral("select Amount from %1 where BillNo = :billNo")
            .arg(qx::quoteSqlName(rr::text(rr::wordsOf(FKind).receiptTable))),
        {{QStringLiteral("billNo"), ReceiptBillNo}});
    Currency sum;
    TField* amount = rows->Fields()->Fields(0);
    for (rows->First(); !rows->Eof(); rows->Next())
        sum += amount->AsCurrency();
    return sum;
}

void TFrmReceivRecord::RecordPayment(Currency Amount, bool WriteOff)
{
    const rr::ReceiptWords& words = rr::wordsOf(FKind);
    try {
        qx::TransactionScope transaction(*dmdataUnit->ADOConnection);
        QryReceipts->Append();
        QryReceipts->FieldByName(QStringLiteral("BillNo"))->SetAsString(ReceiptBillNo);
        QryReceipts->FieldByName(QStringLiteral("ReceivTime"))->SetAsDateTime(DtpDate->Date());
        QryReceipts->FieldByName(QStringLiteral("Amount"))->SetAsCurrency(Amount);
        QryReceipts->FieldByName(QStringLiteral("acctype"))->SetAsString(CbxAccType->Text());
        if (!EdtRemark->Text().isEmpty())
            QryReceipts->FieldByName(QStringLiteral("Remark"))->SetAsString(EdtRemark->Text());
        if (!EdtBNO->Text().isEmpty())
            QryReceipts->FieldByName(QStringLiteral("BNO"))->SetAsString(EdtBNO->Text());
        QryReceipts->Post();

        const Currency received = StoredSum();
        const QString head = qx::quoteSqlName(rr::text(words.headTable));
        const QString column = qx::quoteSqlName(rr::text(words.headColumn));
        const auto stored = qx::documents::openLookup(
            QStringLiteral("select TotalAmount, %1 from %2 where BillNo = :billNo")
                .arg(words.writeOff ? QStringLiteral("DecAmount") : QStringLiteral("0"), head),
            {{QStringLiteral("billNo"), ReceiptBillNo}});
        // A bill whose head is gone keeps the receipt and nothing else changes.
        if (!stored->IsEmpty()) {
            QVariantMap values{{QStringLiteral("received"), QVariant::fromValue(received)},
                               {QStringLiteral("billNo"), ReceiptBillNo}};
            QString decAmount;
            if (WriteOff && stored->Fields()->Fields(1)->AsCurrency() == Currency()) {
                decAmount = QStringLiteral(", DecAmount = :decAmount");
                // What is left on the bill now, but never more than the remainder the
                // operator agreed to write off: another workstation may have raised the
                // bill since its amount due was shown.
                const Currency left = stored->Fields()->Fields(0)->AsCurrency() - received;
                const Currency agreed = AmountDue - Amount;
                values.insert(QStringLiteral("decAmount"), QVariant::fromValue(agreed < left ? agreed : left));
            }
            dmdataUnit->ADOConnection->Execute(
                QStringLiteral("update %1 set %2 = :received%3 where BillNo = :billNo").arg(head, column, decAmount),
                values);
        }
        transaction.commit();
    } catch (...) {
        // The row the query holds was never stored: the list shows the stored rows again.
        qx::guard(this, [this] {
            if (QryReceipts->State() == dsInsert)
                QryReceipts->Cancel();
            QryReceipts->Requery();
        });
        qx::showMessage(QStringLiteral("存盘失败！"), this);
        Abort();
    }
}

void TFrmReceivRecord::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_ESCAPE) {
        Key = 0;
        Close();
        return;
    }
    if (Key != VK_RETURN)
        return;
    QWidget* focused = focusWidget();
    if (!focused || focused == DtpDate || DtpDate->isAncestorOf(focused) || focused == dbgReceipts
        || dbgReceipts->isAncestorOf(focused) || qobject_cast<QAbstractButton*>(focused))
        return;
    Key = 0;
    focusNextChild();
}

void TFrmReceivRecord::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    qx::guard(this, [this] {
        qx::app::saveGridLayouts({dbgReceipts}, [this](const TQxDBGrid&) { return GridLayoutFileName(); });
    });
    if (!FListOnly)
        return;
    // The grid's last change and the head's amount are stored together or not at all, so the
    // receipts and the amount never disagree.
    qx::guard(this, [this] {
        qx::TransactionScope transaction(*dmdataUnit->ADOConnection);
        QryReceipts->CheckBrowseMode();
        const rr::ReceiptWords& words = rr::wordsOf(FKind);
        dmdataUnit->ADOConnection->Execute(
            QStringLiteral("update %1 set %2 = :received where BillNo = :billNo")
                .arg(qx::quoteSqlName(rr::text(words.headTable)), qx::quoteSqlName(rr::text(words.headColumn))),
            {{QStringLiteral("received"), QVariant::fromValue(StoredSum())}, {QStringLiteral("billNo"), ReceiptBillNo}});
        transaction.commit();
    });
}
