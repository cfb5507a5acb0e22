#include "documents/receipts/uReceivRecord2.h"

TFrmReceivRecord2::TFrmReceivRecord2(QWidget* parent) : TFrmReceivRecord(ReceiptBill::Purchase, parent) {}
