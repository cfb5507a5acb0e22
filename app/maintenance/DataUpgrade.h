// "升级数据": the rows of an older database of this system copied into the current one, table by
// table, in one transaction on the data module's connection. The older database is an SQLite
// file of this system, read through a read-only attachment and never written.
#pragma once

#include <QString>

#include <functional>

class TADOConnection;

namespace qx::app {

// True for the tables the upgrade leaves as they are (operators and rights, stored queries, the
// dictionary and any "V_..."), letter case aside.
bool SkippedByUpgrade(const QString& table);

// Opens the file read-only to make sure it is a database; raises EDatabaseError when it is not.
void CheckOldDatabase(const QString& oldDatabase);

// Told the index of each old table as the upgrade reaches it, and their number.
using UpgradeProgress = std::function<void(int index, int count)>;

// For each table of the older database, in the order it reports them, that the current database
// also has (letter case aside) and that is not skipped: the current rows are deleted and the
// older rows' common columns but "Id" (letter case aside) inserted in rowid order, so the rows
// get new numbers and keep their codes (a Null in a Yes/No column is written as 0); a table
// without a common column is only emptied. All in one transaction: any error rolls everything
// back and raises EDatabaseError. The older database may not be the current one.
void UpgradeFrom(TADOConnection& connection, const QString& oldDatabase, const UpgradeProgress& progress = {});

} // namespace qx::app
