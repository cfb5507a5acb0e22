#include "usystem/vcl/ado/QxBusinessTrans.h"

#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uDMDataBase.h"

namespace {

TADOConnection* businessConnection()
{
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有库数据模块，无法使用业务事务"));
    return dmDatabase->conBusiness;
}

} // namespace

void StartBusinessTrans()
{
    businessConnection()->BeginTrans();
}

void CommitBusinessTrans()
{
    businessConnection()->CommitTrans();
}

void RollbackBusinessTrans()
{
    if (!dmDatabase)
        return;
    TADOConnection* connection = dmDatabase->conBusiness;
    if (connection->Connected() && connection->InTransaction())
        connection->RollbackTrans();
}
