// Whether bills move stock. The save and the deletion of a bill ask the same question, so a
// deletion never gives back what no save took.
#pragma once

namespace qx::documents {

// True when the shop's stock flag is set and 启用库存管理 of section 参数 of INC.ini in the
// program folder is "是" (a missing key counts as "否").
bool StockMovesOnBills();

} // namespace qx::documents
