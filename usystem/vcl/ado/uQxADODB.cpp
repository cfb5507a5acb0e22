#include "usystem/vcl/ado/uQxADODB.h"

#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uDMDataBase.h"

#include <memory>

TQxADOQuery::TQxADOQuery(QObject* owner)
    : TADOQuery(owner)
{
}

void TQxADOQuery::DoAfterOpen()
{
    // The form's handler runs first, so the money format wins over whatever it set.
    TADOQuery::DoAfterOpen();
    if (!Active())
        return;
    for (int i = 0; i < FieldCount(); ++i) {
        TField* field = Fields()->Fields(i);
        if (field->DataType() == ftCurrency || field->DataType() == ftBCD)
            field->SetDisplayFormat(QStringLiteral("0.00"));
    }
}

void TQxADOQuery::SetRefreshField(bool)
{
    if (!FDictTableName.isEmpty())
        ApplyDictionary();
}

void TQxADOQuery::ApplyDictionary()
{
    // The labels belong to open fields, and the dictionary lives in the library data module:
    // without either there is nothing to label.
    if (!Active() || !dmDatabase)
        return;
    TQxADOQuery* dict = dmDatabase->qryStruct;
    dict->Close();
    dict->SQL().SetText(QStringLiteral("Select * from tDictDlt where Tablename=:Tablename"));
    // The table name is bound, never pasted: names may hold quotes.
    dict->ParamByName(QStringLiteral("Tablename"))->setValue(FDictTableName);
    dict->Open();
    TField* name = dict->FieldByName(QStringLiteral("FieldName"));
    TField* label = dict->FieldByName(QStringLiteral("CFieldName"));
    TField* canNull = dict->FieldByName(QStringLiteral("CanNull"));
    for (dict->First(); !dict->Eof(); dict->Next()) {
        TField* field = FindField(name->AsString());
        if (!field)
            continue;
        field->SetDisplayLabel(label->AsString());
        field->SetRequired(!canNull->AsBoolean());
    }
}

int OpenSqlValue(const QString& SqlText, QVariant& Value, bool UseSystem)
{
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有库数据模块，无法执行查询"));
    // Freed on every path, an error while opening included.
    auto query = std::make_unique<TQxADOQuery>();
    query->SetConnection(UseSystem ? dmDatabase->conSystem : dmDatabase->conBusiness);
    query->SQL().SetText(SqlText);
    query->Open();
    try {
        if (query->IsEmpty())
            return 0;
        const int count = query->FieldCount();
        if (count == 1) {
            Value = query->Fields()->Fields(0)->Value();
            return 1;
        }
        QVariantList values;
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(query->Fields()->Fields(i)->Value());
        Value = values;
        return count;
    } catch (const Exception& e) {
        qx::showMessage(e.Message() + QLatin1Char(' ') + SqlText);
        return 0;
    }
}
