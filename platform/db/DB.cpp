#include "platform/db/DB.h"

#include <array>

void DatabaseError(const QString& message)
{
    throw EDatabaseError(message);
}

bool IsStringFieldType(TFieldType t)
{
    return t == ftString || t == ftFixedChar || t == ftWideString || t == ftMemo || t == ftFmtMemo;
}

bool IsBlobFieldType(TFieldType t)
{
    switch (t) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle: case ftDBaseOle:
    case ftTypedBinary:
        return true;
    default:
        return false;
    }
}

namespace {
struct TypeName
{
    TFieldType type;
    const char* name;
};
constexpr std::array<TypeName, 22> kTypeNames{{
    {ftString, "String"},     {ftSmallint, "Smallint"}, {ftInteger, "Integer"},
    {ftWord, "Word"},         {ftBoolean, "Boolean"},   {ftFloat, "Float"},
    {ftCurrency, "Currency"}, {ftBCD, "BCD"},           {ftDate, "Date"},
    {ftTime, "Time"},         {ftDateTime, "DateTime"}, {ftBytes, "Bytes"},
    {ftVarBytes, "VarBytes"}, {ftAutoInc, "AutoInc"},   {ftBlob, "Blob"},
    {ftMemo, "Memo"},         {ftGraphic, "Graphic"},   {ftFmtMemo, "FmtMemo"},
    {ftFixedChar, "FixedChar"}, {ftWideString, "WideString"}, {ftLargeint, "Largeint"},
    {ftTypedBinary, "TypedBinary"},
}};
} // namespace

QString FieldTypeName(TFieldType t)
{
    for (const TypeName& n : kTypeNames)
        if (n.type == t)
            return QString::fromLatin1(n.name);
    return QStringLiteral("Unknown");
}

TFieldType FieldTypeFromName(const QString& name)
{
    for (const TypeName& n : kTypeNames)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.type;
    return ftUnknown;
}
