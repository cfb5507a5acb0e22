#include "platform/office/DbfDataSet.h"

#include "platform/db/DataSet.h"
#include "platform/office/DbfWriter.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"

#include <vector>

namespace qx {

namespace {

// How a source field's values reach its table field.
enum class Copy { Text, Integer, Money, Float, Logical, Date, Time };

struct Column
{
    TField* source = nullptr; // null when no field carries the definition's name
    int target = -1;
    int width = 0;
    Copy copy = Copy::Text;
};

// Decides the table field of one definition; false for a kind the table leaves out.
bool plan(const TFieldDef& def, const TField* field, DbfWriter& table, Column& column)
{
    DbfFieldType type = DbfFieldType::Numeric;
    int width = 0;
    int decimals = 0;
    switch (def.DataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString: {
        // Sizes count characters; a Chinese character takes two bytes in GBK.
        const int size = field ? field->Size() : def.Size;
        type = DbfFieldType::Character;
        width = qBound(1, 2 * size, DbfWriter::MaxCharacterWidth);
        column.copy = Copy::Text;
        break;
    }
    case ftMemo:
    case ftFmtMemo:
        type = DbfFieldType::Character;
        width = DbfWriter::MaxCharacterWidth;
        column.copy = Copy::Text;
        break;
    case ftSmallint: width = 6; column.copy = Copy::Integer; break;
    case ftWord: width = 5; column.copy = Copy::Integer; break;
    case ftInteger:
    case ftAutoInc: width = 11; column.copy = Copy::Integer; break;
    case ftLargeint: width = 20; column.copy = Copy::Integer; break;
    case ftCurrency: width = 20; decimals = 2; column.copy = Copy::Money; break;
    case ftBCD: width = 20; decimals = 4; column.copy = Copy::Money; break;
    case ftFloat: {
        const auto* f = qobject_cast<const TFloatField*>(field);
        const bool money = f && f->IsCurrency();
        width = 20;
        decimals = money ? 2 : 6;
        column.copy = money ? Copy::Money : Copy::Float;
        break;
    }
    case ftBoolean: type = DbfFieldType::Logical; column.copy = Copy::Logical; break;
    case ftDate:
    case ftDateTime: type = DbfFieldType::Date; column.copy = Copy::Date; break;
    case ftTime:
        type = DbfFieldType::Character;
        width = 8;
        column.copy = Copy::Time;
        break;
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftParadoxOle:
    case ftDBaseOle:
        return false;
    default:
        DatabaseError(QStringLiteral("Field '%1' of type %2 cannot be written to a dBASE table")
                          .arg(def.Name, FieldTypeName(def.DataType)));
    }
    column.target = table.addField(def.Name, type, width, decimals);
    column.width = width;
    return true;
}

void copyValue(const Column& c, DbfWriter& table)
{
    const TField* f = c.source;
    if (!f || f->IsNull()) {
        table.setNull(c.target);
        return;
    }
    switch (c.copy) {
    case Copy::Text: {
        // Cut on a character boundary: a half character would spoil the next one on reading.
        const QString text = f->AsString();
        table.setText(c.target, gbkLength(text) > c.width ? gbkLeft(text, c.width) : text);
        break;
    }
    case Copy::Integer: table.setInteger(c.target, f->AsVariant().toLongLong()); break;
    case Copy::Money: table.setCurrency(c.target, f->AsCurrency()); break;
    case Copy::Float: table.setFloat(c.target, f->AsFloat()); break;
    case Copy::Logical: table.setLogical(c.target, f->AsBoolean()); break;
    case Copy::Date: table.setDate(c.target, f->AsDateTime().toQDate()); break;
    case Copy::Time: table.setText(c.target, FormatDateTime(QStringLiteral("hh:nn:ss"), f->AsDateTime())); break;
    }
}

} // namespace

void saveDataSetAsDbf(TDataSet& dataSet, const QString& fileName)
{
    if (!dataSet.Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    DbfWriter table;
    std::vector<Column> columns;
    for (const TFieldDef& def : *dataSet.FieldDefs()) {
        Column c;
        c.source = dataSet.FindField(def.Name);
        if (plan(def, c.source, table, c))
            columns.push_back(c);
    }
    if (columns.empty())
        DatabaseError(QStringLiteral("The dataset has no field a dBASE table can hold"));

    dataSet.First();
    while (!dataSet.Eof()) {
        table.appendRecord();
        for (const Column& c : columns)
            copyValue(c, table);
        dataSet.Next();
    }
    table.saveToFile(fileName);
}

} // namespace qx
