#include "documents/bills/BillStock.h"

#include "app/data/dmData.h"
#include "platform/ini/IniFile.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

namespace qx::documents {

namespace {

WorkOrderStockGiveBack& giveBackBinding()
{
    static WorkOrderStockGiveBack binding;
    return binding;
}

} // namespace

bool StockMovesOnBills()
{
    if (!StockEnabled)
        return false;
    const TIniFile ini(ExeFolderPath(QStringLiteral("INC.ini")));
    return ini.ReadString(QStringLiteral("参数"), QStringLiteral("启用库存管理"), QStringLiteral("否"))
        == QLatin1String("是");
}

const WorkOrderStockGiveBack& workOrderStockGiveBack()
{
    return giveBackBinding();
}

void setWorkOrderStockGiveBack(WorkOrderStockGiveBack giveBack)
{
    giveBackBinding() = std::move(giveBack);
}

} // namespace qx::documents
