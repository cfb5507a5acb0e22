// The operators' rows of t_UserDB as the rights editor writes them: one row per right, each
// carrying the operator's password hash and remark. Every value is bound, so an operator code
// may hold any character, a quote among them.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class TADOConnection;

namespace qx::app {

// Adds the operator Code with one row without password, remark or right, unless an operator
// of that code (letter case aside, as the database compares codes) exists. True when added.
bool addOperatorRow(TADOConnection& Connection, const QString& Code);

// Deletes every row of the operator Code.
void deleteOperatorRows(TADOConnection& Connection, const QString& Code);

// Replaces every row of the operator Code by one row per right of Rights, in order, leaving
// out the entries that are blank once trimmed; each row keeps Password and Remark as they were
// stored (a null stays null). When no right is left the operator keeps one row with an empty
// right, so it stays listed and can log in. All of it in one transaction: a failure leaves the
// operator's rows as they were, and the error goes on to the caller.
void replaceOperatorRights(TADOConnection& Connection, const QString& Code,
                           const QVariant& Password, const QVariant& Remark,
                           const QStringList& Rights);

} // namespace qx::app
