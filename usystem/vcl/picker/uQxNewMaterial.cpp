#include "usystem/vcl/picker/uQxNewMaterial.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/foundation/uQxFuncs.h"
#include "usystem/vcl/rctstr/uQxRctFuncs.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <exception>

namespace {

TQxDBVGrid* recordGrid(QWidget* parent, const char* name, TAlign align, int width,
                       TDataSource* source)
{
    auto* g = new TQxDBVGrid(parent);
    g->setObjectName(QLatin1String(name));
    if (width > 0)
        g->resize(width, g->height());
    g->SetAlign(align);
    g->SetTitlesWidth(100);
    g->SetDefaultColWidth(130);
    // The dialog edits one part: the keys never leave or change the record.
    g->SetDBGridMode(TDBGridMode());
    g->SetDataSource(source);
    return g;
}

// The text after the first blank of a code, at most 30 characters; the whole code without one.
QString levelCodeOf(const QString& code)
{
    const int blank = int(code.indexOf(QLatin1Char(' ')));
    return blank < 0 ? code : code.mid(blank + 1, 30);
}

} // namespace

TFrmNewMaterial::TFrmNewMaterial(QWidget* parent) : TFrmDlgBase(parent)
{
    setObjectName(QStringLiteral("FrmNewMaterial"));
    setWindowTitle(QStringLiteral("新件"));
    resize(672, 276);

    BtnSave = qx::kit::toolButton(PnlLeft, "BtnSave", QStringLiteral("保存"), {0, 0, 54, 37});
    BtnSave->SetAlign(alLeft);
    qx::kit::onClick(BtnSave, this, &TFrmNewMaterial::BtnSaveClick);
    qx::insertComponent(this, BtnSave);
    BtnAdd = qx::kit::toolButton(PnlLeft, "BtnAdd", QStringLiteral("增加"), {0, 0, 54, 37});
    BtnAdd->SetAlign(alLeft);
    BtnAdd->setVisible(false);
    qx::kit::onClick(BtnAdd, this, &TFrmNewMaterial::BtnAddClick);
    qx::insertComponent(this, BtnAdd);
    LblTip = qx::kit::label(Pnlcenter, "LblTip", QStringLiteral("[F5] 保存"), 12, 12);
    qx::insertComponent(this, LblTip);

    // The part's structure: typing a code fills the fields that depend on it.
    TblMaterial = new TQxRctStr(this);
    TblMaterial->setObjectName(QStringLiteral("TblMaterial"));
    TblMaterial->OnQxSetText = [this](TField* Sender, const QString& Text) {
        TblMaterial->LookupFieldText(Sender, Text);
    };
    qx::insertComponent(this, TblMaterial);
    dsMaterial = new TDataSource(this);
    dsMaterial->setObjectName(QStringLiteral("dsMaterial"));
    dsMaterial->SetDataSet(TblMaterial);
    qx::insertComponent(this, dsMaterial);

    DBVBase = recordGrid(this, "DBVBase", alLeft, 234, dsMaterial);
    qx::insertComponent(this, DBVBase);
    Base2 = recordGrid(this, "Base2", alLeft, 234, dsMaterial);
    qx::insertComponent(this, Base2);
    dbvPlus = recordGrid(this, "dbvPlus", alClient, 0, dsMaterial);
    TVColumn* priceMode = dbvPlus->Columns()->Add();
    priceMode->SetFieldName(QStringLiteral("NewPriceMode"));
    priceMode->Title()->SetCaption(QStringLiteral("价格取向"));
    priceMode->SetPickList({QStringLiteral("取旧价"), QStringLiteral("取新价")});
    qx::insertComponent(this, dbvPlus);
}

TFrmNewMaterial::~TFrmNewMaterial()
{
    // The grids let go of their source before the structure closes under them.
    for (TQxDBVGrid* g : {DBVBase, Base2, dbvPlus})
        g->SetDataSource(nullptr);
}

void TFrmNewMaterial::BeforeFormLook()
{
    TFrmDlgBase::BeforeFormLook();
    if (!dmDatabase)
        throw EDatabaseError(QStringLiteral("没有库数据模块，无法使用单据结构"));
    TblMaterial->Prepare(QStringLiteral("EMaterial"), false);

    // Each definition that names one of the grids becomes a row there.
    TMstSections* definitions = TblMaterial->MstSections();
    for (int i = 0; i < definitions->Count(); ++i) {
        const TMstSection* d = definitions->Items(i);
        TQxDBVGrid* grid = nullptr;
        for (TQxDBVGrid* g : {DBVBase, Base2, dbvPlus})
            if (g->objectName().compare(d->DBControl(), Qt::CaseInsensitive) == 0)
                grid = g;
        if (!grid)
            continue;
        TVColumn* row = grid->Columns()->Add();
        row->SetFieldName(d->FieldName());
        row->Title()->SetCaption(d->CFieldName());
        row->SetReadOnly(d->IsReadOnly());
        if (!d->IsReadOnly() && !d->ActionType().isEmpty())
            row->SetButtonStyle(TVColumn::cbsEllipsis);
    }

    // An existing part is shown in the structure; a code without a part leaves it closed.
    if (!FItemCode.isEmpty()) {
        TQxADOQuery* scratch = dmDatabase->qryTemp;
        TblMaterial->OpenWhere(QStringLiteral(" tMaterial.ItemCode=:ItemCode"), scratch, QString(),
                               {{QStringLiteral("ItemCode"), FItemCode}});
        if (scratch->Active() && !scratch->IsEmpty())
            TblMaterial->LoadFromDataSet(scratch, TMemTableCopyOptions());
        else
            TblMaterial->Close();
        scratch->Close();
    }

    // A part for the calling field starts with the code typed there and the name given.
    if (FField && TblMaterial->Active()) {
        if (!qx::isEditing(TblMaterial))
            TblMaterial->Edit();
        const QString text = FField->Text();
        for (const char* name : {"itemCode", "PartsCode", "LevelCode"})
            if (TField* f = TblMaterial->FindField(QLatin1String(name)))
                f->SetAsString(text);
        if (TField* f = TblMaterial->FindField(QStringLiteral("itemName")))
            f->SetAsString(FItemName);
    }
    for (TQxDBVGrid* g : {DBVBase, Base2, dbvPlus})
        g->SetSelectedIndex(0);
    DBVBase->setFocus(Qt::OtherFocusReason);
}

void TFrmNewMaterial::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmDlgBase::FormKeyDown(Sender, Key, Shift);
    switch (Key) {
    case VK_F2:
        Key = 0;
        BtnAddClick(BtnAdd);
        return;
    case VK_F5:
        Key = 0;
        qx::guard(this, [&] { BtnSaveClick(BtnSave); });
        return;
    case VK_RETURN: {
        // From the last row of one grid into the first row of the next; the last one saves.
        TQxDBVGrid* grids[] = {DBVBase, Base2, dbvPlus};
        for (int i = 0; i < 3; ++i) {
            TQxDBVGrid* g = grids[i];
            if (!g->IsActiveControl() || g->Row() != g->RowCount() - 1)
                continue;
            Key = 0;
            qx::guard(this, [&] {
                if (TblMaterial->Active())
                    TblMaterial->UpdateRecord();
                if (i == 2) {
                    BtnSaveClick(BtnSave);
                } else {
                    g->HideEditor();
                    grids[i + 1]->setFocus(Qt::OtherFocusReason);
                    grids[i + 1]->SetSelectedIndex(0);
                }
            });
            return;
        }
        break;
    }
    default:
        break;
    }
}

void TFrmNewMaterial::BtnAddClick(QObject*)
{
    // The toolbar's add button has no action in this dialog.
}

void TFrmNewMaterial::ShowError(const QString& Message)
{
    TQxMsgdlg* dialog = dmDatabase ? dmDatabase->MsgDlg : nullptr;
    if (!dialog) {
        MsgDlgOk(TQxMsgdlg::icError, QStringLiteral("错误"), Message);
        return;
    }
    dialog->SetButtons({QStringLiteral("确定")});
    dialog->SetMessage({Message});
    dialog->SetIcon(TQxMsgdlg::icError);
    dialog->SetDefault(0);
    dialog->Execute();
}

void TFrmNewMaterial::BtnSaveClick(QObject*)
{
    try {
        SavePart();
    } catch (const Exception& e) {
        ShowError(TranslateDbError(e.Message()));
    } catch (const std::exception& e) {
        ShowError(TranslateDbError(QString::fromLocal8Bit(e.what())));
    }
}

void TFrmNewMaterial::SavePart()
{
    if (!dmDatabase || !TblMaterial->Active())
        return;
    TQxRctStr* t = TblMaterial;
    // What a cell editor holds goes into its field first.
    t->UpdateRecord();
    TField* itemCode = t->FindField(QStringLiteral("ItemCode"));
    if (qx::isEditing(t)) {
        if (itemCode)
            itemCode->SetAsString(itemCode->AsString().trimmed());
        TField* partsCode = t->FindField(QStringLiteral("PartsCode"));
        if (partsCode)
            partsCode->SetAsString(partsCode->AsString().toUpper());
        if (TField* model = t->FindField(QStringLiteral("Model")))
            model->SetAsString(model->AsString().toUpper());
        if (itemCode) {
            if (itemCode->AsString().isEmpty() && partsCode)
                itemCode->SetAsString(partsCode->AsString());
            itemCode->SetAsString(itemCode->AsString().toUpper());
            if (TField* level = t->FindField(QStringLiteral("LevelCode")))
                level->SetAsString(levelCodeOf(itemCode->AsString()));
        }
    }
    const QString code = itemCode ? itemCode->AsString() : QString();
    const TField* itemName = t->FindField(QStringLiteral("ItemName"));
    const QString name = itemName ? itemName->AsString() : QString();

    // The part first; its name's input codes only once the part is saved.
    if (!t->SaveMaster(QStringLiteral("tmaterial.ItemCode=:ItemCode"), true,
                       {{QStringLiteral("ItemCode"), code}}))
        throw EDatabaseError(t->SaveMasterError());
    if (!name.isEmpty())
        SaveName(name);

    if (FField) {
        TDataSet* ds = FField->DataSet();
        if (ds && !qx::isEditing(ds))
            ds->Edit();
        if (FField->OnSetText)
            FField->OnSetText(FField, code);
        else
            FField->SetAsString(code);
    }
    Close();
}

void TFrmNewMaterial::SaveName(const QString& Name)
{
    QString py, wbh, wb;
    GetImeCodes(Name, py, wbh, wb);
    TQxADOQuery* q = dmDatabase->qryStruct;
    q->Close();
    q->SQL().SetText(QStringLiteral("select * from tMaterialName where ItemName=:ItemName"));
    q->ParamByName(QStringLiteral("ItemName"))->setValue(Name);
    q->Open();
    try {
        if (q->IsEmpty())
            q->Append();
        else
            q->Edit();
        q->FieldByName(QStringLiteral("ItemName"))->SetAsString(Name);
        q->FieldByName(QStringLiteral("PY"))->SetAsString(py);
        q->FieldByName(QStringLiteral("WBH"))->SetAsString(wbh);
        q->FieldByName(QStringLiteral("WB"))->SetAsString(wb);
        q->FieldByName(QStringLiteral("OrderID"))->SetAsInteger(int(wb.size()));
        q->Post();
    } catch (...) {
        if (qx::isEditing(q))
            q->Cancel();
        q->Close();
        throw;
    }
    q->Close();
}

void NewMaterial(TField* Field, const QString& ItemCode, const QString& ItemName)
{
    // Owned by the application; it frees itself when it closes.
    auto* dialog = new TFrmNewMaterial();
    dialog->SetField(Field);
    dialog->SetItemCode(ItemCode);
    dialog->SetItemName(ItemName);
    qx::DialogService::instance().execDialog(*dialog);
}
