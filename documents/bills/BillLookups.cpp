#include "documents/bills/BillLookups.h"

#include "app/data/dmData.h"
#include "app/master/uAMaterialEdit.h"
#include "platform/db/DataSet.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "usystem/vcl/ado/uQxADODB.h"

namespace qx::documents {

std::unique_ptr<TADOQuery> openLookup(const QString& sql, const QVariantMap& params)
{
    auto query = std::make_unique<TADOQuery>();
    query->SetConnection(dmdataUnit->ADOConnection);
    query->SQL().SetText(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query->ParamByName(it.key())->setValue(it.value());
    query->Open();
    return query;
}

void copySharedColumns(TDataSet& line, const TDataSet& source, const QStringList& except)
{
    for (TField* to : *line.Fields()) {
        if (to->FieldKind() != fkData || except.contains(to->FieldName(), Qt::CaseInsensitive))
            continue;
        if (const TField* from = source.FindField(to->FieldName()))
            to->SetValue(from->Value());
    }
}

bool askAddUnknownCode(QWidget* parent, const QString& code)
{
    return qx::messageBox(parent, QStringLiteral("编号") + code + QStringLiteral("不存在，是否现在增加！"),
                          QStringLiteral("提示"), qx::MessageIcon::Question, {qx::mrOk, qx::mrCancel},
                          qx::mrOk)
        == qx::mrOk;
}

namespace {

const QStringList& partCopyExceptions()
{
    static const QStringList names{QStringLiteral("Qty"), QStringLiteral("ID"), QStringLiteral("Remark")};
    return names;
}

// Copies the part of code into the line; false when the stock file has no such part.
bool takePart(TDataSet& line, const QString& code)
{
    const auto part = openLookup(QStringLiteral("select * from t_Stock where ItemCode = :code"),
                                 {{QStringLiteral("code"), code}});
    if (part->IsEmpty())
        return false;
    line.Edit();
    copySharedColumns(line, *part, partCopyExceptions());
    return true;
}

} // namespace

void lookUpPart(QWidget* parent, TField* codeField)
{
    TDataSet* line = codeField ? codeField->DataSet() : nullptr;
    if (!line)
        return;
    const QString code = codeField->AsString();
    if (takePart(*line, code) || code.isEmpty())
        return;
    if (!askAddUnknownCode(parent, code)) {
        codeField->SetAsString(QString());
        return;
    }
    if (!dmdataUnit->CheckRight(QStringLiteral("库存管理"), QStringLiteral("新增配件"), true))
        return;
    auto editor = std::make_unique<TFrmAMaterialEdit>(parent);
    if (!editor->QryEdit->Active())
        editor->QryEdit->Open();
    editor->QryEdit->Append();
    editor->QryEdit->FieldByName(QStringLiteral("ItemCode"))->SetAsString(code);
    // From here the editor frees itself when it closes.
    qx::DialogService::instance().execDialog(*editor.release());
    takePart(*line, code);
}

} // namespace qx::documents
