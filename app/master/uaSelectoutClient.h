// TFrmaSelectOutClient: the customer picker of the sales bill ("选择客户"), the same list as
// the other customer picker. It takes only the customer's code and name, passes each through
// the sales head's own text setter so that the bill's field rules run, and posts the head.
#pragma once

#include "app/master/uaSelectClient.h"

class TFrmaSelectOutClient : public TFrmaSelectClient
{
    Q_OBJECT

public:
    explicit TFrmaSelectOutClient(QWidget* parent = nullptr);
    ~TFrmaSelectOutClient() override;

    bool Take() override;
};

// Opens the sales bill's customer picker on its head table and shows it modally.
void PickSalesClient(TDataSet* Target);
