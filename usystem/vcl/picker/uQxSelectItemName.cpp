#include "usystem/vcl/picker/uQxSelectItemName.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/picker/uQxNewMaterial.h"

#include <memory>

namespace {

// The chosen code goes into the field through its set-text handler when it has one, as typed
// text would, so a structure's lookup cascade sees the new code and fills the part's other
// fields from it; a field without a handler takes the value as it is. No code empties the
// field, and the handler hears of that too.
void putIntoField(TField* field, const QVariant& value)
{
    if (!field)
        return;
    TDataSet* ds = field->DataSet();
    if (ds && ds->State() != dsEdit && ds->State() != dsInsert)
        ds->Edit();
    if (value.isNull()) {
        field->Clear();
        if (field->OnSetText)
            field->OnSetText(field, field->Text());
    } else if (field->OnSetText) {
        field->OnSetText(field, value.toString());
    } else {
        field->SetValue(value);
    }
}

QString containsPattern(const QString& text)
{
    QString out = QStringLiteral("%");
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    out += u'%';
    return out;
}

} // namespace

TFrmSelectItemName::TFrmSelectItemName(QWidget* parent) : TFrmDlgBase(parent)
{
    setObjectName(QStringLiteral("FrmSelectItemName"));
    setWindowTitle(QStringLiteral("请选择品种"));
    resize(509, 367);

    QryItemName = new TQxADOQuery(this);
    QryItemName->setObjectName(QStringLiteral("QryItemName"));
    qx::insertComponent(this, QryItemName);
    dsItemName = new TDataSource(this);
    dsItemName->setObjectName(QStringLiteral("dsItemName"));
    dsItemName->SetDataSet(QryItemName);
    qx::insertComponent(this, dsItemName);

    dbgridItemName = new TQxDBGrid(this);
    dbgridItemName->setObjectName(QStringLiteral("dbgridItemName"));
    dbgridItemName->SetAlign(alClient);
    dbgridItemName->SetOptions((dbgridItemName->Options() | dgRowSelect) & ~TQxDBGridOptions(dgEditing));
    dbgridItemName->SetReadOnly(true);
    dbgridItemName->SetDefaultRowHeight(20);
    dbgridItemName->SetDataSource(dsItemName);
    dbgridItemName->OnDblClick = [this](QObject*) { qx::guard(this, [&] { ChooseCurrent(); }); };
    qx::insertComponent(this, dbgridItemName);
}

TFrmSelectItemName::~TFrmSelectItemName()
{
    dbgridItemName->SetDataSource(nullptr);
}

void TFrmSelectItemName::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmDlgBase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN) {
        Key = 0;
        ChooseCurrent();
    }
}

void TFrmSelectItemName::ChooseCurrent()
{
    if (QryItemName->Active() && !QryItemName->IsEmpty())
        putIntoField(FField, QryItemName->FieldByName(QStringLiteral("编号"))->Value());
    done(qx::mrOk);
}

void SelectItemByName(const QString& Name, const QString& Model, TField* Field)
{
    if (!Field)
        return;
    if (Name.isEmpty()) {
        putIntoField(Field, QVariant());
        return;
    }
    if (!dmDatabase)
        return;

    // The typed name is bound, its wildcards escaped: it is looked for as it was typed.
    QString sql = QStringLiteral("select ItemCode as 编号, ItemName as 名称, Model as 车型 from tMaterial"
                                 " where ItemName like :Name escape '\\'");
    const bool byModel = !Model.isEmpty() && dmDatabase->MatchModel;
    if (byModel)
        sql += QStringLiteral(" and Model = :Model");
    sql += QStringLiteral(" limit 200");

    // Owned by the application; freed here, or by itself when it was shown and closed.
    auto* picker = new TFrmSelectItemName();
    QPointer<TFrmSelectItemName> alive(picker);
    picker->SetField(Field);
    try {
        picker->QryItemName->SetConnection(dmDatabase->conBusiness);
        picker->QryItemName->SQL().SetText(sql);
        picker->QryItemName->ParamByName(QStringLiteral("Name"))->setValue(containsPattern(Name.trimmed()));
        if (byModel)
            picker->QryItemName->ParamByName(QStringLiteral("Model"))->setValue(Model);
        picker->QryItemName->Open();
    } catch (...) {
        delete picker;
        throw;
    }

    const int rows = picker->QryItemName->RecordCount();
    if (rows == 1) {
        putIntoField(Field, picker->QryItemName->FieldByName(QStringLiteral("编号"))->Value());
        delete picker;
    } else if (rows > 1) {
        qx::DialogService::instance().execDialog(*picker);
        // Closing released it (deferred); one that was never closed is freed here.
        if (alive && alive->isVisible())
            alive->deleteLater();
    } else {
        // No part of that name: the code is emptied and the new part can be recorded.
        putIntoField(Field, QVariant());
        delete picker;
        NewMaterial(Field, QString(), Name);
    }
}
