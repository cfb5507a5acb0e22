// TFrmReceivRecord2: the payment dialog of purchase bills ("录入付款"; payments in t_Indlt1, the
// head's Payed in t_InMst; an empty amount is not a number; no write-off).
#pragma once

#include "documents/receipts/uReceivRecord.h"

class TFrmReceivRecord2 : public TFrmReceivRecord
{
    Q_OBJECT

public:
    explicit TFrmReceivRecord2(QWidget* parent = nullptr);
};
