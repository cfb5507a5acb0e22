#include "app/master/uAMasterEdit.h"

#include "platform/db/DataSet.h"
#include "app/data/dmData.h"
#include "app/master/uAselect.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/forms/QxFormKit.h"

namespace {

using qx::app::MasterFieldKind;

// The layout of the field area, in pixels.
constexpr int kPanelWidth = 96;
constexpr int kLabelWidth = 84;
constexpr int kEditWidth = 170;
constexpr int kUnitWidth = 66;
constexpr int kColumnGap = 20;
constexpr int kRowPitch = 30;
constexpr int kTop = 16;

QByteArray controlName(const char* prefix, const QString& field)
{
    return QByteArray(prefix) + field.toLatin1();
}

bool pending(const TDataSet* dataSet)
{
    return qx::isEditing(dataSet);
}

} // namespace

TFrmAMasterEdit::TFrmAMasterEdit(const qx::app::MasterEditorDefinition& definition, QWidget* parent)
    : TFrmABase(parent),
      QryEdit(new TQxADOQuery(this)),
      Source(new TDataSource(this)),
      BtnAdd(qx::kit::button(pnlleft, "BtnAdd", QStringLiteral("保存增加(&S)"), {6, 16, 84, 32})),
      BtnSave(qx::kit::button(pnlleft, definition.saveButtonName, QStringLiteral("保存退出(&E)"),
                              {6, 60, 84, 32})),
      BtnClose(qx::kit::button(pnlleft, "BtnClose", QStringLiteral("取消退出(&C)"),
                               {6, 104, 84, 32})),
      FDefinition(definition)
{
    setObjectName(QLatin1String(definition.formName));
    SetCaption(definition.caption);
    pnlleft->SetWidth(kPanelWidth);

    QryEdit->setObjectName(QStringLiteral("QryEdit"));
    QryEdit->SetConnection(dmdataUnit->ADOConnection);
    QryEdit->SQL().SetText(definition.ownStatement);
    if (!definition.ownQueryDefaults.isEmpty()) {
        QryEdit->OnNewRecord = [this](TDataSet* DataSet) {
            for (auto it = FDefinition.ownQueryDefaults.cbegin(); it != FDefinition.ownQueryDefaults.cend(); ++it)
                if (TField* f = DataSet->FindField(it.key()))
                    f->SetValue(it.value());
        };
    }
    Source->setObjectName(QLatin1String(definition.sourceName));
    Source->SetDataSet(QryEdit);

    BuildFields();

    qx::kit::onClick(BtnAdd, this, &TFrmAMasterEdit::BtnAddClick);
    qx::kit::onClick(BtnSave, this, &TFrmAMasterEdit::BtnSaveClick);
    qx::kit::onClick(BtnClose, this, &TFrmAMasterEdit::BtnCloseClick);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmAMasterEdit::~TFrmAMasterEdit() = default;

void TFrmAMasterEdit::BuildFields()
{
    const int x0 = kPanelWidth + 12;
    const int columnWidth = kLabelWidth + kEditWidth + kColumnGap;
    int rows = 0;
    for (const auto& f : FDefinition.fields)
        if (!f.besidePrevious)
            ++rows;
    const int columns = qMax(1, FDefinition.columns);
    const int perColumn = (rows + columns - 1) / columns;

    int row = -1;
    QWidget* previous = nullptr;
    for (const auto& f : FDefinition.fields) {
        if (f.besidePrevious && previous) {
            // The previous edit gives up its right end to this one.
            const QRect r = previous->geometry();
            previous->setGeometry(r.x(), r.y(), r.width() - kUnitWidth - 4, r.height());
            auto* combo = qx::kit::dbComboBox(this, controlName("Cbx", f.field).constData(),
                                              {r.right() - kUnitWidth + 1, r.y(), kUnitWidth, r.height()},
                                              Source, f.field, f.items);
            FControls.insert(f.field.toLower(), combo);
            previous = combo;
            continue;
        }
        ++row;
        const int left = x0 + (row / perColumn) * columnWidth;
        const int top = kTop + (row % perColumn) * kRowPitch;
        qx::kit::label(this, controlName("Lbl", f.field).constData(), f.caption,
                       {left, top + 4, kLabelWidth, 16});
        const qx::kit::Bounds at{left + kLabelWidth, top, kEditWidth, 22};
        QWidget* control = nullptr;
        switch (f.kind) {
        case MasterFieldKind::DropDownList:
        case MasterFieldKind::Combo: {
            auto* combo = qx::kit::dbComboBox(this, controlName("Cbx", f.field).constData(), at,
                                              Source, f.field, f.items);
            if (f.kind == MasterFieldKind::DropDownList)
                combo->SetStyle(csDropDownList);
            control = combo;
            break;
        }
        case MasterFieldKind::Text:
        case MasterFieldKind::Number:
        case MasterFieldKind::PickList: {
            auto* edit = qx::kit::dbEdit(this, controlName("Edt", f.field).constData(), at, Source,
                                         f.field);
            if (f.kind == MasterFieldKind::Number) {
                edit->SetDataType(edtNumber);
            } else if (f.kind == MasterFieldKind::PickList) {
                edit->SetDataType(edtFind);
                edit->OnButtonClick = [this, edit](QObject*) {
                    qx::guard(this, [&] { SelectFieldValue(edit->GetField()); });
                };
            }
            control = edit;
            break;
        }
        }
        FControls.insert(f.field.toLower(), control);
        previous = control;
    }
    resize(x0 + columns * columnWidth, qMax(kTop + perColumn * kRowPitch + 24, 156));
}

TDataSet* TFrmAMasterEdit::EditedDataSet() const
{
    return Source->DataSet();
}

QWidget* TFrmAMasterEdit::ControlOf(const QString& Field) const
{
    return FControls.value(Field.toLower());
}

void TFrmAMasterEdit::FocusField(const QString& Field)
{
    if (QWidget* control = ControlOf(Field))
        control->setFocus();
}

void TFrmAMasterEdit::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    TDataSet* edited = EditedDataSet();
    FOwnCode.clear();
    if (edited && edited->State() == dsEdit)
        if (TField* code = edited->FindField(FDefinition.codeField))
            FOwnCode = code->AsString();
    if (!FDefinition.fields.empty())
        FocusField(FDefinition.fields.front().field);
}

void TFrmAMasterEdit::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN && !FDefinition.enterField.isEmpty() && focusWidget()
        && focusWidget() == ControlOf(FDefinition.enterField)) {
        Key = 0;
        qx::guard(this, [&] { BtnAddClick(BtnAdd); });
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        BtnCloseClick(BtnClose);
    }
}

void TFrmAMasterEdit::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    // A save leaves the record written; anything still pending was abandoned by the user.
    TDataSet* edited = EditedDataSet();
    if (pending(edited))
        edited->Cancel();
}

bool TFrmAMasterEdit::CheckCodeUnique()
{
    TDataSet* edited = EditedDataSet();
    TField* code = edited ? edited->FindField(FDefinition.codeField) : nullptr;
    if (!code || FDefinition.codeTable.isEmpty())
        return true;
    const QString value = code->AsString();
    if (edited->State() == dsEdit && value.compare(FOwnCode, Qt::CaseInsensitive) == 0)
        return true;

    // The table and column come from the editor's own table; only the code is the user's.
    TADOQuery* q = dmdataUnit->QryTemp;
    q->Close();
    if (value.isEmpty()) {
        // An empty code is as good as none: a stored empty or missing code takes it.
        q->SQL().SetText(QStringLiteral("select count(*) as Taken from %1 where %2 is null or %2 = ''")
                             .arg(FDefinition.codeTable, FDefinition.codeField));
    } else {
        q->SQL().SetText(QStringLiteral("select count(*) as Taken from %1 where %2 = :Code")
                             .arg(FDefinition.codeTable, FDefinition.codeField));
        q->ParamByName(QStringLiteral("Code"))->setValue(value);
    }
    q->Open();
    const bool taken = q->FieldByName(QStringLiteral("Taken"))->AsInteger() > 0;
    q->Close();
    if (taken)
        qx::showMessage(FDefinition.takenMessage, this);
    return !taken;
}

void TFrmAMasterEdit::CopyToCatalogue(TDataSet& edited)
{
    TField* code = edited.FindField(FDefinition.codeField);
    if (!code)
        return;
    TADOQuery* q = dmdataUnit->QryTemp;
    q->Close();
    q->SQL().SetText(QStringLiteral("select * from %1 where %2 = :Code")
                         .arg(FDefinition.catalogueTable, FDefinition.codeField));
    q->ParamByName(QStringLiteral("Code"))->setValue(code->AsString());
    q->Open();
    if (q->IsEmpty()) {
        q->Append();
    } else {
        q->First();
        q->Edit();
    }
    // Only what the record holds: an empty field never blanks a catalogue value.
    for (TField* target : *q->Fields()) {
        if (target->FieldName().compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            continue;
        TField* from = edited.FindField(target->FieldName());
        if (from && !from->AsString().isEmpty())
            target->SetValue(from->Value());
    }
    q->Post();
}

bool TFrmAMasterEdit::SaveCurrent()
{
    TDataSet* edited = EditedDataSet();
    if (!pending(edited))
        return true;
    edited->UpdateRecord();
    if (!CheckCodeUnique())
        return false;
    if (!edited->Modified()) {
        edited->Cancel();
        return true;
    }
    TADOConnection* connection = dmdataUnit->ADOConnection;
    connection->BeginTrans();
    try {
        if (!FDefinition.catalogueTable.isEmpty())
            CopyToCatalogue(*edited);
        edited->Post();
        connection->CommitTrans();
    } catch (...) {
        // The catalogue and the record are written together or not at all; the record stays
        // pending for the user to correct.
        if (pending(dmdataUnit->QryTemp))
            dmdataUnit->QryTemp->Cancel();
        if (connection->InTransaction())
            connection->RollbackTrans();
        throw;
    }
    return true;
}

void TFrmAMasterEdit::BtnAddClick(QObject*)
{
    if (!SaveCurrent())
        return;
    TDataSet* edited = EditedDataSet();
    edited->Append();
    for (auto it = FDefinition.addDefaults.cbegin(); it != FDefinition.addDefaults.cend(); ++it)
        if (TField* f = edited->FindField(it.key()))
            f->SetValue(it.value());
    FocusField(FDefinition.focusAfterAdd.isEmpty() ? FDefinition.codeField : FDefinition.focusAfterAdd);
}

void TFrmAMasterEdit::BtnSaveClick(QObject*)
{
    if (!SaveCurrent())
        return;
    Close();
}

void TFrmAMasterEdit::BtnCloseClick(QObject*)
{
    Close();
}
