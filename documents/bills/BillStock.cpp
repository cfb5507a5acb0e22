#include "documents/bills/BillStock.h"

#include "app/data/dmData.h"
#include "platform/ini/IniFile.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

namespace qx::documents {

bool StockMovesOnBills()
{
    if (!StockEnabled)
        return false;
    const TIniFile ini(ExeFolderPath(QStringLiteral("INC.ini")));
    return ini.ReadString(QStringLiteral("参数"), QStringLiteral("启用库存管理"), QStringLiteral("否"))
        == QStringLiteral("是");
}

} // namespace qx::documents
