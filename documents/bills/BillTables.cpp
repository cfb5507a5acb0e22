#include "documents/bills/BillTables.h"

#include "platform/db/DataSet.h"
#include "platform/db/QxMemTable.h"

namespace qx::documents {

namespace {

struct BillColumn
{
    QString name;
    TFieldType type;
    int size;
};

// The definitions a bill table takes from source and extras, in order.
QList<BillColumn> billColumnsOf(const TDataSet& source, const QList<ExtraField>& extras)
{
    QList<BillColumn> defs;
    const bool fromFields = source.Fields()->Count() > 0;
    if (fromFields) {
        for (const TField* f : *source.Fields())
            if (f->FieldKind() == fkData)
                defs << BillColumn{f->FieldName(), billFieldType(f->DataType()),
                                   IsStringFieldType(f->DataType()) ? f->Size() : 0};
    } else {
        for (const TFieldDef& d : *source.FieldDefs())
            defs << BillColumn{d.Name, billFieldType(d.DataType), IsStringFieldType(d.DataType) ? d.Size : 0};
    }
    for (const ExtraField& e : extras)
        defs << BillColumn{e.name, e.type, e.size};
    return defs;
}

bool showsAsMoney(TFieldType type, MoneyDisplay display)
{
    switch (type) {
    case ftCurrency:
    case ftBCD: return true;
    case ftFloat: return display == MoneyDisplay::AllNumbers;
    default: return false;
    }
}

} // namespace

TFieldType billFieldType(TFieldType columnType)
{
    if (IsStringFieldType(columnType) && columnType != ftMemo && columnType != ftFmtMemo)
        return ftString;
    return columnType;
}

void defineBillTable(TQxMemTable& table, const TDataSet& source, const QList<ExtraField>& extras)
{
    table.Close();
    table.FieldDefs()->Clear();
    // Only the structure is taken: a database column's "required" is the saver's business,
    // a line being typed may be incomplete.
    for (const BillColumn& d : billColumnsOf(source, extras))
        table.FieldDefs()->Add(d.name, d.type, d.size);
    table.CreateTable();
    table.Open();
}

bool hasBillStructure(const TQxMemTable& table, const TDataSet& source, const QList<ExtraField>& extras)
{
    if (!table.Active())
        return false;
    const QList<BillColumn> defs = billColumnsOf(source, extras);
    if (defs.size() != table.Fields()->Count())
        return false;
    for (int i = 0; i < defs.size(); ++i) {
        const TField* f = table.Fields()->Fields(i);
        const BillColumn& d = defs.at(i);
        if (f->FieldName().compare(d.name, Qt::CaseInsensitive) != 0 || f->DataType() != d.type
            || (IsStringFieldType(d.type) && f->Size() != d.size))
            return false;
    }
    return true;
}

void refillBillTable(TQxMemTable& table, TDataSet& source)
{
    if (qx::isEditing(&table))
        table.Cancel();
    table.EmptyTable();
    table.LoadFromDataSet(&source);
    table.First();
}

void prepareBillFields(TQxMemTable& table, const BillFieldHandler& handler, MoneyDisplay display)
{
    for (TField* f : *table.Fields()) {
        f->SetReadOnly(false);
        f->OnSetText = handler;
        if (showsAsMoney(f->DataType(), display))
            f->SetDisplayFormat(QStringLiteral("0.00"));
    }
}

} // namespace qx::documents
