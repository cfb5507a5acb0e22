#include "usystem/vcl/picker/uQxAddItemRct.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Components.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"

namespace {

bool sameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

TQxColumn* gridColumn(const TQxCustomDBGrid* grid, const QString& fieldName)
{
    TQxDBGridColumns* columns = grid->Columns();
    for (int i = 0; i < columns->Count(); ++i)
        if (sameText(columns->Items(i)->FieldName(), fieldName))
            return columns->Items(i);
    return nullptr;
}

} // namespace

TFrmAddItemRct::TFrmAddItemRct(QWidget* parent) : TFrmDlgBase(parent)
{
    setObjectName(QStringLiteral("FrmAddItemRct"));
    setWindowTitle(QStringLiteral("请输入数量"));
    resize(240, 258);

    BtnSave = new TQxButton(PnlLeft);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnSave->resize(54, 37);
    BtnSave->SetAlign(alLeft);
    BtnSave->SetCaption(QStringLiteral("确定[F2]"));
    BtnSave->SetHint(QStringLiteral("确定退出"));
    BtnSave->OnClick = [this](QObject* Sender) { BtnSaveClick(Sender); };
    qx::insertComponent(this, BtnSave);

    dsAddItemRct = new TDataSource(this);
    dsAddItemRct->setObjectName(QStringLiteral("dsAddItemRct"));
    qx::insertComponent(this, dsAddItemRct);

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmAddItemRct::~TFrmAddItemRct() = default;

void TFrmAddItemRct::FormShow(QObject* Sender)
{
    TFrmDlgBase::FormShow(Sender);
    TDataSet* lines = FGrid && FGrid->DataSource() ? FGrid->DataSource()->DataSet() : nullptr;
    dsAddItemRct->SetDataSet(lines);
    const TField* selected = FGrid ? FGrid->SelectedField() : nullptr;
    if (!lines || !selected || !sameText(selected->FieldName(), QStringLiteral("ItemCode"))) {
        // Only a part line has a quantity to ask for. The close waits for the modal run to
        // have started, so that it ends it.
        QMetaObject::invokeMethod(this, [this] { Close(); }, Qt::QueuedConnection);
        return;
    }
    BuildEdits();
}

void TFrmAddItemRct::BuildEdits()
{
    enum Mode { Disabled, AsColumn, Focused, Plain, WithButton };
    auto make = [this](const QString& field, int top, const TQxColumn* column, Mode mode) {
        auto* e = new tQxDBLabelEdit(this);
        e->setObjectName(QStringLiteral("Edt") + field);
        e->setGeometry(80, top, 140, 20);
        e->SetDataSource(dsAddItemRct);
        e->SetDataField(field);
        e->SetLabelCaption(column ? column->Title()->Caption() : field);
        e->SetLabelColor(clWindowText);
        switch (mode) {
        case Disabled:
            e->setEnabled(false);
            break;
        case AsColumn:
            e->SetReadOnly(column && column->ReadOnly());
            break;
        case WithButton:
            e->Button()->SetVisible(true);
            break;
        case Focused:
        case Plain:
            break;
        }
        e->show();
        if (mode == Focused)
            e->setFocus(Qt::OtherFocusReason);
        qx::insertComponent(this, e);
        FLastEdit = e;
    };

    make(QStringLiteral("ItemCode"), 65, gridColumn(FGrid, QStringLiteral("ItemCode")), Disabled);
    struct Line { const char* field; const char* column; Mode mode; };
    QList<Line> fields = {
        {"ItemName", "ItemName", Disabled}, {"Model", "Model", AsColumn}, {"Qty", "Qty", Focused},
        {"MaxQty", "MaxQty", Focused},     {"minQty", "minQty", Plain},  {"DisCount", "DisCount", AsColumn},
        {"Price", "Price", AsColumn},      {"Bprice", "BPrice", AsColumn},
    };
    // The sales-out form also records who fitted the part and its class.
    const QWidget* owner = FGrid->parentWidget();
    if (owner && owner->objectName() == QStringLiteral("FrmRpSOutItem")) {
        fields.append({"Charger", "Charger", WithButton});
        fields.append({"Class", "Class", WithButton});
    }
    int top = 87;
    for (const Line& l : fields) {
        const TQxColumn* column = gridColumn(FGrid, QLatin1String(l.column));
        if (!column)
            continue;
        make(QLatin1String(l.field), top, column, l.mode);
        top += 22;
    }
}

void TFrmAddItemRct::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmDlgBase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_F2 || (Key == VK_RETURN && FLastEdit && focusWidget() == FLastEdit)) {
        Key = 0;
        BtnSaveClick(BtnSave);
    }
}

void TFrmAddItemRct::BtnSaveClick(QObject*)
{
    if (TDataSet* lines = dsAddItemRct->DataSet()) {
        // What the focused edit holds goes into the line first.
        if (auto* e = qobject_cast<tQxDBLabelEdit*>(focusWidget()))
            e->UpdateRecord();
        if (qx::isEditing(lines))
            lines->Post();
    }
    FSaved = true;
    Close();
}

void TFrmAddItemRct::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmDlgBase::FormClose(Sender, Action);
    TDataSet* lines = dsAddItemRct->DataSet();
    if (!FSaved && qx::isEditing(lines))
        lines->Cancel();
    // The edits let go of the lines before the dialog goes.
    dsAddItemRct->SetDataSet(nullptr);
}

void ShowAddItemRct(TQxCustomDBGrid* Grid)
{
    if (!Grid)
        return;
    auto* dialog = new TFrmAddItemRct();
    dialog->SetGrid(Grid);
    qx::DialogService::instance().execDialog(*dialog);
}
