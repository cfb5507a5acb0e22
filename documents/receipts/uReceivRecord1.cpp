#include "documents/receipts/uReceivRecord1.h"

TFrmReceivRecord1::TFrmReceivRecord1(QWidget* parent) : TFrmReceivRecord(ReceiptBill::Sale, parent) {}
