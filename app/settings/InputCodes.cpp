#include "app/settings/InputCodes.h"

#include "app/settings/TransactionScope.h"
#include "platform/db/DataSet.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

namespace qx::app {

namespace {

struct CodedTable
{
    const char16_t* statement;
    const char16_t* nameField;
};

// Parts in the order of their numbers; repair items in the order they were entered.
const CodedTable kCodedTables[] = {
    {u"Select * from t_Stock order by ID limit :RowLimit", u"ItemName"},
    {u"Select * from tServiceItem limit :RowLimit", u"SItemName"},
};

int fillTableCodes(TADOQuery& query, const CodedTable& table, const ImeDictionary& dictionary)
{
    query.Close();
    query.SQL().SetText(QString::fromUtf16(table.statement));
    query.ParamByName(QStringLiteral("RowLimit"))->setValue(kInputCodeRowLimit);
    query.Open();
    const qx::ControlsGuard frozen(&query);
    TField* name = query.FieldByName(QString::fromUtf16(table.nameField));
    TField* py = query.FieldByName(QStringLiteral("PY"));
    TField* wbh = query.FieldByName(QStringLiteral("WBH"));
    TField* wb = query.FieldByName(QStringLiteral("WB"));
    QString pyCodes;
    QString wbhCodes;
    QString wbCodes;
    int written = 0;
    for (query.First(); !query.Eof(); query.Next()) {
        if (!py->AsString().isEmpty())
            continue;
        const QString itemName = name->AsString();
        if (itemName.isEmpty())
            continue;
        dictionary.codesOf(itemName, pyCodes, wbhCodes, wbCodes);
        query.Edit();
        py->SetAsString(pyCodes);
        wbh->SetAsString(wbhCodes);
        wb->SetAsString(wbCodes);
        query.Post();
        ++written;
    }
    return written;
}

} // namespace

int fillInputCodes(TADOQuery& Query, const ImeDictionary& Dictionary)
{
    TADOConnection* connection = Query.Connection();
    if (!connection)
        throw EDatabaseError(QStringLiteral("Connection is closed"));
    int written = 0;
    try {
        // One transaction: one write of the file at the end instead of one per row.
        TransactionScope transaction(*connection);
        for (const CodedTable& table : kCodedTables)
            written += fillTableCodes(Query, table, Dictionary);
        Query.Close();
        transaction.commit();
    } catch (...) {
        // The rows read no longer match the database once it rolled back.
        try {
            if (Query.State() == dsEdit || Query.State() == dsInsert)
                Query.Cancel();
            Query.Close();
        } catch (...) {
            // The error that stopped the walk is the one the operator is told.
        }
        throw;
    }
    return written;
}

} // namespace qx::app
