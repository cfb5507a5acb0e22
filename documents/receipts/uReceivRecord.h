// TFrmReceivRecord: the dialog in which money received on a bill (or paid on a purchase) is
// entered. It appends one row to the bill's receipt table and brings the head's received (or
// paid) amount up to date in the same transaction. One class serves the three bill kinds;
// what differs (captions and labels, the tables and the head's column, the write-off of a
// work order's remainder, how an empty amount is read, the card column of the grid) is one row
// of a table in the unit. TFrmReceivRecord1 (sales) and TFrmReceivRecord2 (purchases) are this
// dialog made for their kind.
//
// The caller creates the dialog, sets ReceiptBillNo and the amount due (SetAmountDue puts it
// into the amount box and the due label too) and the date, calls LoadReceipts and shows the
// dialog modally; the dialog frees itself when it closes. Something due means entry mode;
// nothing due (exactly 0) shows only the grid of the bill's receipts, whose corrections bring
// the head's amount up to date when the dialog closes.
//
// Receipt rows have no key of their own: the grid writes and deletes them through the query's
// row addressing, which refuses a row another workstation changed or deleted meanwhile.
#pragma once

#include "app/shell/uABase.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QString>

class TADOQuery;
class TDataSource;
class TQxBitBtn;
class TQxComboBox;
class TQxDBGrid;
class TQxEdit;
class TQxLabel;
class TQxPanel;

namespace qx {
class DatePicker;
}

// The bill a receipt dialog books money on.
enum class ReceiptBill { WorkOrder, Sale, Purchase };

class TFrmReceivRecord : public TFrmABase
{
    Q_OBJECT

public:
    // The work-order dialog.
    explicit TFrmReceivRecord(QWidget* parent = nullptr);
    ~TFrmReceivRecord() override;

    ReceiptBill Kind() const { return FKind; }

    // Set by the caller.
    QString ReceiptBillNo;
    Currency AmountDue; // what is still due; the caller computes it

    TQxPanel* const pnlEntry;
    TQxLabel* const LblDue;          // "应    收：" until the caller sets the amount due
    TQxLabel* const LblAmount;       // "本次收款："
    TQxEdit* const EdtAmount;
    TQxLabel* const LblAccType;      // "付款方式："
    TQxComboBox* const CbxAccType;   // "现金", "支票", "其他"
    TQxLabel* const LblRemark;       // "说明："
    TQxEdit* const EdtRemark;
    TQxLabel* const LblDate;         // "收款日期："
    qx::DatePicker* const DtpDate;
    TQxLabel* const LblBNO;          // "凭证号："
    TQxEdit* const EdtBNO;
    TQxLabel* const LblBillNo;       // "单号：" + the number
    TQxPanel* const pnlButtons;
    TQxBitBtn* const Button1;        // "确定": records the payment and closes
    TQxBitBtn* const Button2;        // "未收款": closes without writing
    TADOQuery* const QryReceipts;    // the bill's receipt rows
    TDataSource* const dsReceipts;
    TQxDBGrid* const dbgReceipts;   // named dbgReceipts, dbgReceipts1 (sales), dbgReceipts2 (purchases)

    // AmountDue := Due; the amount box takes it as a plain number and the due label
    // "应收：" ("应付：") followed by the same text.
    void SetAmountDue(Currency Due);
    // The receipt's date.
    void SetReceiptDate(TDateTime Date);

    // Shows the bill's number and opens its receipts; selects "现金". Nothing due switches the
    // dialog to the list of the receipts alone.
    void LoadReceipts();
    bool ListOnly() const { return FListOnly; }

    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    // Enter moves on (not in the date picker, not in the grid); Esc closes.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Frees the dialog and writes the grid's layout; in list mode, posts the grid's change and
    // sets the head's amount to the sum of the receipts.
    void FormClose(QObject* Sender, TCloseAction& Action);

    // The program folder's layout file of the grid: caption, grid name and ".dbg".
    QString GridLayoutFileName() const;

protected:
    TFrmReceivRecord(ReceiptBill Kind, QWidget* parent);

private:
    // Appends the receipt row, sums the bill's receipts and updates the head, in one
    // transaction; writeOff books the rest as written off on a work order.
    void RecordPayment(Currency Amount, bool WriteOff);
    // The sum of Amount over the bill's stored receipt rows.
    Currency StoredSum() const;

    ReceiptBill FKind;
    bool FListOnly = false;
};
