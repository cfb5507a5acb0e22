// When bills move stock, and the give-back of a stored work order's parts that its deletion
// runs.
#pragma once

#include <QString>

#include <functional>

class TADOConnection;

namespace qx::documents {

// True when bills move stock: the shop's stock flag is set and 启用库存管理 of section 参数 of
// INC.ini in the program folder is "是" (a missing key counts as "否"). The save and the
// deletion of a bill ask the same question, so a deletion never gives back what no save took.
bool StockMovesOnBills();

// Gives back, inside the connection's open transaction, the stock the parts of a stored work
// order took. Installed by the stock poster; a deletion that needs it while none is installed
// reports the missing binding and deletes nothing.
using WorkOrderStockGiveBack = std::function<void(TADOConnection& connection, const QString& billNo)>;
const WorkOrderStockGiveBack& workOrderStockGiveBack();
void setWorkOrderStockGiveBack(WorkOrderStockGiveBack giveBack);

} // namespace qx::documents
