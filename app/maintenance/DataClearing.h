// The three ways "数据初始化" empties the database, as statements run on the clearing dialog's
// command (its connection is the data module's). Each runs inside the caller's transaction: the
// caller commits, or rolls everything back when any statement fails.
#pragma once

#include <QDate>
#include <QStringList>

class TADOCommand;

namespace qx::app {

// The range the date page proposes: from the last day of the month before today's, minus 30 days,
// to that last day.
void ProposedClearRange(const QDate& today, QDate& from, QDate& to);

// True for the tables the full clearing keeps (operators and rights, stored queries and templates,
// the dictionary, the reserved tables and any saved query "V_..."), letter case aside.
bool KeptByFullClearing(const QString& table);
// The business documents, in the order the business clearing empties them.
QStringList BusinessTables();

// Empties every table of the database but the kept ones.
void ClearAllData(TADOCommand& command);
// Empties the business documents; cards, top-ups and master data stay.
void ClearBusinessData(TADOCommand& command);
// Deletes the business documents dated from..to (both days included): each document's lines and
// receipts with it, the inspections and the other income and expenses of those days.
void ClearDateRange(TADOCommand& command, const QDate& from, const QDate& to);

} // namespace qx::app
