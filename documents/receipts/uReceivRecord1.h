// TFrmReceivRecord1: the receipt dialog of sales bills ("录入收款"; receipts in t_Outdlt1, the
// head's Payed in t_OutMst; an empty amount is not a number; no write-off).
#pragma once

#include "documents/receipts/uReceivRecord.h"

class TFrmReceivRecord1 : public TFrmReceivRecord
{
    Q_OBJECT

public:
    explicit TFrmReceivRecord1(QWidget* parent = nullptr);
};
