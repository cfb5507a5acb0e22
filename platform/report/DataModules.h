// The program's data modules: non-visual containers of datasets and connections. A data
// module registers itself when it is created and leaves the list when it is destroyed, so
// that a report can offer every dataset they own to its expressions (AllDataSets).
#pragma once

#include <QList>
#include <QObject>

namespace qx {

// Adds module to the list (once); it leaves the list by itself when destroyed.
void registerDataModule(QObject* module);
void unregisterDataModule(QObject* module);
// The living data modules in the order they registered.
QList<QObject*> dataModules();

} // namespace qx
