// The memory tables of the bill editors: a bill's head or lines are read from the database
// into a memory table whose columns come from the query, where the user edits them until the
// bill is saved. Text columns become text fields of the column's width (in characters, wide
// text included), every other column keeps its kind, and a few fields of the editor's own can
// follow. The rows are copied without the table's events, so no new-row rule and no total
// runs on a row that was only read. Every field is writable and hands typed text to the
// editor's field rules; money shows as "0.00", without a currency sign.
#pragma once

#include "platform/db/DB.h"

#include <QList>
#include <QString>

#include <functional>

class TDataSet;
class TField;
class TQxMemTable;

namespace qx::documents {

// A field of the editor's own, added after the database's columns.
struct ExtraField
{
    QString name;
    TFieldType type = ftString;
    int size = 0;
};

// The fields that show money as "0.00": the bill's head shows floating-point values that way
// too (discounts, the service interval), its lines only currency and decimal values.
enum class MoneyDisplay { CurrencyAndDecimal, AllNumbers };

// The text handler every field of a bill table gets: the editor's field rules.
using BillFieldHandler = std::function<void(TField* Field, const QString& Text)>;

// The field kind a bill table gives a column of this kind: text of any kind but memo becomes
// plain text, everything else stays as it is.
TFieldType billFieldType(TFieldType columnType);

// Closes table and defines it from the fields of source (open, or with field definitions),
// then adds the extras one by one; the table is created and opened, empty.
void defineBillTable(TQxMemTable& table, const TDataSet& source, const QList<ExtraField>& extras = {});

// True when table is open and has, in order, the fields defineBillTable would give it for
// source and extras: the same table can then take source's rows without being rebuilt.
bool hasBillStructure(const TQxMemTable& table, const TDataSet& source,
                      const QList<ExtraField>& extras = {});

// Drops a pending edit and every row of table, then copies every row of source into it
// without the table's events.
void refillBillTable(TQxMemTable& table, TDataSet& source);

// Makes every field of table writable, gives it handler as its text handler and the money
// display.
void prepareBillFields(TQxMemTable& table, const BillFieldHandler& handler, MoneyDisplay display);

} // namespace qx::documents
