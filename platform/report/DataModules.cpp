#include "platform/report/DataModules.h"

#include <QPointer>

#include <algorithm>
#include <vector>

namespace qx {
namespace {

std::vector<QPointer<QObject>>& modules()
{
    static std::vector<QPointer<QObject>> list;
    return list;
}

void dropDead()
{
    std::erase_if(modules(), [](const QPointer<QObject>& m) { return !m; });
}

} // namespace

void registerDataModule(QObject* module)
{
    dropDead();
    if (!module || std::find(modules().begin(), modules().end(), module) != modules().end())
        return;
    modules().emplace_back(module);
}

void unregisterDataModule(QObject* module)
{
    std::erase_if(modules(), [module](const QPointer<QObject>& m) { return !m || m == module; });
}

QList<QObject*> dataModules()
{
    dropDead();
    QList<QObject*> out;
    for (const QPointer<QObject>& m : modules())
        out.append(m.data());
    return out;
}

} // namespace qx
