#include "app/master/uASearchPicker.h"

#include "app/data/dmData.h"
#include "app/master/uAMasterEdit.h"
#include "app/shell/ColorPanel.h"
#include "app/shell/GridLayoutFiles.h"
#include "platform/db/DataSource.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <memory>

TFrmASearchPicker::TFrmASearchPicker(const char* formName, const QString& caption,
                                     const char* queryName, const char* gridName,
                                     int searchHeight, QWidget* parent)
    : TFrmABase(parent),
      PnlSearch(qx::kit::panel(this, "PnlSearch", alTop, qMax(1, searchHeight))),
      Query(new TQxADOQuery(this)),
      Source(new TDataSource(this)),
      Grid(qx::kit::dbGrid(this, gridName, Source))
{
    setObjectName(QLatin1String(formName));
    SetCaption(caption);
    resize(760, 480);
    pnlleft->SetWidth(96);
    PnlSearch->setVisible(searchHeight > 0);

    Query->setObjectName(QLatin1String(queryName));
    Query->SetConnection(dmdataUnit->ADOConnection);
    Source->setObjectName(QStringLiteral("dsQuery"));
    Source->SetDataSet(Query);

    Grid->SetReadOnly(true);
    Grid->SetOptions(dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgRowSelect
                     | dgAlwaysShowSelection);
    qx::kit::on(Grid->OnDblClick, this, &TFrmASearchPicker::GridDblClick);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmASearchPicker::~TFrmASearchPicker() = default;

QString TFrmASearchPicker::GridLayoutFileName() const
{
    return ExeFolderPath(Caption() + Grid->objectName() + QStringLiteral(".dbg"));
}

void TFrmASearchPicker::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    FirstSearch();
    qx::app::loadGridLayout(*Grid, GridLayoutFileName());
}

void TFrmASearchPicker::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    qx::app::saveGridLayouts({Grid}, [this](const TQxDBGrid&) { return GridLayoutFileName(); });
}

void TFrmASearchPicker::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN && focusWidget() == Grid) {
        Key = 0;
        qx::guard(this, [&] { TakeAndClose(); });
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        Close();
    }
}

void TFrmASearchPicker::GridDblClick(QObject*)
{
    TakeAndClose();
}

void TFrmASearchPicker::TakeAndClose()
{
    if (Take())
        Close();
}

void TFrmASearchPicker::RunQuery(const QString& sql, const QVariantMap& params)
{
    FSql = sql;
    FParams = params;
    Requery();
}

void TFrmASearchPicker::Requery()
{
    qx::ControlsGuard frozen(Query);
    Query->Close();
    Query->SQL().SetText(FSql);
    for (auto it = FParams.cbegin(); it != FParams.cend(); ++it)
        Query->ParamByName(it.key())->setValue(it.value());
    Query->Open();
}

TQxBitBtn* TFrmASearchPicker::LeftButton(const char* name, const QString& caption, int index)
{
    return qx::kit::button(pnlleft, name, caption, {6, 16 + index * 44, 84, 32});
}

bool TFrmASearchPicker::AddThroughEditor(const QString& Module, const QString& Action,
                                         const std::function<TFrmAMasterEdit*()>& makeEditor)
{
    if (!dmdataUnit->CheckRight(Module, Action, true))
        return false;
    std::unique_ptr<TFrmAMasterEdit> editor(makeEditor());
    if (!editor->QryEdit->Active())
        editor->QryEdit->Open();
    editor->QryEdit->Append();
    // From here the editor frees itself when it closes.
    qx::DialogService::instance().execDialog(*editor.release());
    return true;
}

void TFrmASearchPicker::RunTextSetter(TField* Field, const QString& Text)
{
    if (Field->OnSetText)
        Field->OnSetText(Field, Text);
}

bool TFrmASearchPicker::SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
