#include "app/settings/OperatorRows.h"

#include "platform/db/sql/TransactionScope.h"
#include "platform/db/sql/ADOConnection.h"

namespace qx::app {

namespace {

const QString kUserCodeParam = QStringLiteral("UserCode");

} // namespace

bool addOperatorRow(TADOConnection& Connection, const QString& Code)
{
    return Connection.Execute(
               QStringLiteral("insert into t_UserDB (UserCode) select :UserCode "
                              "where not exists (select 1 from t_UserDB where UserCode = :UserCode)"),
               QVariantMap{{kUserCodeParam, Code}})
           > 0;
}

void deleteOperatorRows(TADOConnection& Connection, const QString& Code)
{
    Connection.Execute(QStringLiteral("delete from t_UserDB where UserCode = :UserCode"),
                       QVariantMap{{kUserCodeParam, Code}});
}

void replaceOperatorRights(TADOConnection& Connection, const QString& Code,
                           const QVariant& Password, const QVariant& Remark,
                           const QStringList& Rights)
{
    const QString insert = QStringLiteral(
        "insert into t_UserDB (UserCode, Password, Remark, \"Right\") "
        "values (:UserCode, :Password, :Remark, :RightName)");
    QVariantMap row{{kUserCodeParam, Code}, {QStringLiteral("Password"), Password},
                    {QStringLiteral("Remark"), Remark}};
    qx::TransactionScope transaction(Connection);
    deleteOperatorRows(Connection, Code);
    bool stored = false;
    for (const QString& right : Rights) {
        if (right.trimmed().isEmpty())
            continue;
        // The entry as it stands, leading blanks and all.
        row.insert(QStringLiteral("RightName"), right);
        Connection.Execute(insert, row);
        stored = true;
    }
    if (!stored) {
        row.insert(QStringLiteral("RightName"), QString());
        Connection.Execute(insert, row);
    }
    transaction.commit();
}

} // namespace qx::app
