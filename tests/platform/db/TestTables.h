// Small tables the dataset tests share.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/QxMemTable.h"

#include <QStringList>

#include <memory>

namespace qxtest {

// A parts table: Code (string 10), Name (string 20), Qty (integer), Price (currency).
inline std::unique_ptr<TQxMemTable> partsTable()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("Code"), ftString, 10);
    t->FieldDefs()->Add(QStringLiteral("Name"), ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->FieldDefs()->Add(QStringLiteral("Price"), ftCurrency);
    t->Open();
    return t;
}

inline void addPart(TDataSet& t, const QString& code, const QString& name, int qty, double price)
{
    t.Append();
    t.FieldByName(QStringLiteral("Code"))->SetAsString(code);
    t.FieldByName(QStringLiteral("Name"))->SetAsString(name);
    t.FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
    t.FieldByName(QStringLiteral("Price"))->SetAsFloat(price);
    t.Post();
}

// The codes of all rows in view order (moves the cursor).
inline QStringList codes(TDataSet& t)
{
    QStringList out;
    t.First();
    while (!t.Eof()) {
        out << t.FieldByName(QStringLiteral("Code"))->AsString();
        t.Next();
    }
    return out;
}

} // namespace qxtest
