#include "app/settings/InputCodes.h"

#include "platform/db/sql/TransactionScope.h"
#include "platform/db/DataSet.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

#include <sqlite3.h>

namespace qx::app {

namespace {

struct CodedTable
{
    // The rows looked at: their key (RowKey), name (ItemName) and pinyin code (PY).
    const char16_t* select;
    // Writes ?1 PY, ?2 WBH, ?3 WB to the row of key ?4.
    const char16_t* update;
};

// Parts in the order of their numbers; repair items in the order they were entered.
const CodedTable kCodedTables[] = {
    {u"Select ID as RowKey, ItemName, PY from t_Stock order by ID limit :RowLimit",
     u"update t_Stock set PY = ?1, WBH = ?2, WB = ?3 where ID = ?4"},
    {u"Select rowid as RowKey, SItemName as ItemName, PY from tServiceItem order by rowid "
     u"limit :RowLimit",
     u"update tServiceItem set PY = ?1, WBH = ?2, WB = ?3 where rowid = ?4"},
};

// A code binds as text; no letter at all binds NULL, so the row counts as uncoded next time.
void bindCode(sqlite3* db, sqlite3_stmt* stmt, int index, const QString& codes)
{
    bindVariant(db, stmt, index, codes.isEmpty() ? QVariant() : QVariant(codes));
}

int fillTableCodes(TADOQuery& query, const CodedTable& table, const ImeDictionary& dictionary)
{
    query.Close();
    query.SQL().SetText(QString::fromUtf16(table.select));
    query.ParamByName(QStringLiteral("RowLimit"))->setValue(kInputCodeRowLimit);
    query.Open();
    const qx::ControlsGuard frozen(&query);
    TField* key = query.FieldByName(QStringLiteral("RowKey"));
    TField* name = query.FieldByName(QStringLiteral("ItemName"));
    TField* py = query.FieldByName(QStringLiteral("PY"));

    // The rows read are a snapshot; each coded row is written by its key with one statement
    // prepared once for the walk.
    TADOConnection& connection = *query.Connection();
    sqlite3* db = connection.handle();
    const qx::CachedStatement lease = connection.cachedStatement(QString::fromUtf16(table.update));
    sqlite3_stmt* update = lease.get();
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
        const qx::StatementReset reset(update);
        bindCode(db, update, 1, pyCodes);
        bindCode(db, update, 2, wbhCodes);
        bindCode(db, update, 3, wbCodes);
        bindVariant(db, update, 4, key->Value());
        stepStatement(db, update);
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
        qx::TransactionScope transaction(*connection);
        for (const CodedTable& table : kCodedTables)
            written += fillTableCodes(Query, table, Dictionary);
        Query.Close();
        transaction.commit();
    } catch (...) {
        try {
            Query.Close();
        } catch (...) {
            // The error that stopped the walk is the one the operator is told.
        }
        throw;
    }
    return written;
}

} // namespace qx::app
