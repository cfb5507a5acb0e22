#include "app/master/uaSelectoutClient.h"

#include "platform/env/DialogService.h"
#include "usystem/vcl/ado/uQxADODB.h"

#include <QApplication>

#include <memory>

TFrmaSelectOutClient::TFrmaSelectOutClient(QWidget* parent)
    : TFrmaSelectClient("FrmaSelectOutClient", {QStringLiteral("CCode"), QStringLiteral("CName")},
                        parent)
{
}

TFrmaSelectOutClient::~TFrmaSelectOutClient() = default;

bool TFrmaSelectOutClient::Take()
{
    if (!Target || !Query->Active() || Query->IsEmpty())
        return true;
    TDataSet* target = TargetRow();
    CopyCustomer(*target, [](TField* field, TField* from) {
        field->SetValue(from->Value());
        RunTextSetter(field, from->AsString());
    });
    target->Post();
    return true;
}

void PickSalesClient(TDataSet* Target)
{
    auto picker = std::make_unique<TFrmaSelectOutClient>(QApplication::activeWindow());
    picker->Target = Target;
    qx::DialogService::instance().execDialog(*picker.release());
}
