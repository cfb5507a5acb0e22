// TQxADOQuery: the query the library's data forms place instead of the plain ADO query. Every
// currency and BCD field shows money as "0.00" once the query is open, whatever the form's
// AfterOpen handler set, so amounts in grids, edits and printouts need no further code. The
// dictionary properties give the fields their labels and required flags from tDictDlt.
//
// OpenSqlValue reads the first row of a statement on one of the library data module's
// connections.
#pragma once

#include "platform/db/sql/ADOQuery.h"

#include <QString>
#include <QVariant>

class TQxADOQuery : public TADOQuery
{
    Q_OBJECT
    Q_PROPERTY(QString DictTableName READ DictTableName WRITE SetDictTableName)
    Q_PROPERTY(bool RefreshField READ RefreshField WRITE SetRefreshField)

public:
    explicit TQxADOQuery(QObject* owner = nullptr);

    QString DictTableName() const { return FDictTableName; }
    void SetDictTableName(const QString& value) { FDictTableName = value; }
    // A trigger rather than a flag: any assignment runs the dictionary-label pass (when a
    // table is named and the query is open); reading always gives false.
    bool RefreshField() const { return false; }
    void SetRefreshField(bool value);

protected:
    void DoAfterOpen() override;

private:
    void ApplyDictionary();

    QString FDictTableName;
};

// Opens SqlText on the library data module's system connection (UseSystem) or business
// connection and reads its first row: nothing for an empty result (0, Value untouched), the
// value of a single column (1), or a QVariantList of the N values of N columns (N). An error
// while opening propagates; an error while reading is shown with the statement and gives 0.
// Raises EDatabaseError when there is no library data module.
int OpenSqlValue(const QString& SqlText, QVariant& Value, bool UseSystem);
