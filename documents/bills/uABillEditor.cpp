#include "documents/bills/uABillEditor.h"

#include "app/data/dmData.h"
#include "app/shell/ColorPanel.h"
#include "app/shell/GridLayoutFiles.h"
#include "documents/bills/BillLookups.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QFont>

namespace {

constexpr int kBillToolHeight = 34;
constexpr int kBillButtonWidth = 76;

} // namespace

TFrmABillEditor::TFrmABillEditor(const char* formName, const QString& caption,
                                 const QString& helpLine, QWidget* parent)
    : TFrmABase(parent),
      pnlTool(qx::kit::strip(this, "pnlTool", alTop, kBillToolHeight)),
      BtnClose(qx::kit::button(pnlTool, "BtnClose", QStringLiteral("取消退出"), {4, 4, kBillButtonWidth, 26})),
      BtnAdd(qx::kit::button(pnlTool, "BtnAdd", QStringLiteral("保存增加"), {84, 4, kBillButtonWidth, 26})),
      BtnSave(qx::kit::button(pnlTool, "BtnSave", QStringLiteral("保存退出"), {164, 4, kBillButtonWidth, 26})),
      BtnCheck(qx::kit::button(pnlTool, "BtnCheck", QStringLiteral("保存审核"), {244, 4, kBillButtonWidth, 26})),
      BtnPrint(qx::kit::button(pnlTool, "BtnPrint", QStringLiteral("打印"), {324, 4, kBillButtonWidth, 26})),
      BtnReceiv(qx::kit::button(pnlTool, "BtnReceiv", QStringLiteral("收款"), {404, 4, kBillButtonWidth, 26})),
      ChkPrint(qx::kit::checkBox(pnlTool, "ChkPrint", QStringLiteral("保存后立即打印"), {412, 9, 120, 17})),
      pnlTitle(new qx::app::ColorPanel(this)),
      lblBillType(qx::kit::label(pnlTitle, "lblBillType", caption, 8, 4)),
      pnlHelp(qx::kit::strip(this, "pnlHelp", alBottom, 22)),
      lblHelp(qx::kit::label(pnlHelp, "lblHelp", helpLine, 8, 4))
{
    setObjectName(QLatin1String(formName));
    SetCaption(caption);
    resize(900, 640);
    // The toolbar holds the buttons; the left panel stays out of the way.
    pnlleft->setVisible(false);

    BtnReceiv->setVisible(false);
    ChkPrint->SetChecked(false);

    pnlTitle->setObjectName(QStringLiteral("pnlTitle"));
    pnlTitle->SetHeight(28);
    pnlTitle->SetColor(clWhite);
    pnlTitle->SetCaption(QString());
    qx::kit::alignAfterStrips(pnlTitle, alTop);
    lblBillType->SetFontColor(clBlue);
    QFont titleFont = lblBillType->font();
    titleFont.setBold(true);
    titleFont.setPointSize(14);
    lblBillType->setFont(titleFont);

    qx::kit::onClick(BtnClose, this, &TFrmABillEditor::BtnCloseClick);
    qx::kit::onClick(BtnAdd, this, &TFrmABillEditor::BtnAddClick);
    qx::kit::onClick(BtnSave, this, &TFrmABillEditor::BtnSaveClick);
    qx::kit::onClick(BtnCheck, this, &TFrmABillEditor::BtnCheckClick);
    qx::kit::onClick(BtnPrint, this, &TFrmABillEditor::BtnPrintClick);
    qx::kit::onClick(BtnReceiv, this, &TFrmABillEditor::BtnReceivClick);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmABillEditor::~TFrmABillEditor() = default;

void TFrmABillEditor::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmABillEditor::BtnAddClick(QObject*) {}
void TFrmABillEditor::BtnSaveClick(QObject*) {}
void TFrmABillEditor::BtnCheckClick(QObject*) {}
void TFrmABillEditor::BtnPrintClick(QObject*) {}
void TFrmABillEditor::BtnReceivClick(QObject*) {}

void TFrmABillEditor::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    LoadBill();
}

bool TFrmABillEditor::AskCancel()
{
    return qx::messageBox(this, QStringLiteral("是否取消退出。"), QStringLiteral("询问"),
                          qx::MessageIcon::Question, {qx::mrOk, qx::mrCancel}, qx::mrOk)
        == qx::mrOk;
}

void TFrmABillEditor::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    // A button clicks only when it is enabled (a bill shown for viewing keeps its save
    // buttons off, and their keys with them).
    TQxBitBtn* button = nullptr;
    switch (Key) {
    case VK_ESCAPE:
        Key = 0;
        if (AskCancel())
            BtnClose->click();
        return;
    case VK_F2: button = BtnAdd; break;
    case VK_F3: button = BtnSave; break;
    case VK_F4: button = BtnCheck; break;
    case VK_F9: button = BtnPrint; break;
    case VK_F6:
        Key = 0;
        FocusGrid(LineGrid());
        return;
    default: return;
    }
    Key = 0;
    button->click();
}

void TFrmABillEditor::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    qx::app::saveGridLayouts(Grids(), [this](const TQxDBGrid& grid) { return GridLayoutFileName(grid); });
}

QString TFrmABillEditor::GridLayoutFileName(const TQxDBGrid& Grid) const
{
    return ExeFolderPath(Caption() + Grid.objectName() + QStringLiteral(".dbg"));
}

QList<TQxDBGrid*> TFrmABillEditor::Grids() const
{
    return findChildren<TQxDBGrid*>();
}

void TFrmABillEditor::LoadGridLayouts()
{
    for (TQxDBGrid* grid : Grids())
        qx::app::loadGridLayout(*grid, GridLayoutFileName(*grid));
}

void TFrmABillEditor::FocusGrid(TQxDBGrid* Grid)
{
    if (!Grid || !Grid->isVisible())
        return;
    Grid->setFocus(Qt::OtherFocusReason);
    Grid->SetSelectedIndex(0);
}

void TFrmABillEditor::LoadBillTable(TQxMemTable& Table, const QString& Sql, const QVariantMap& Params,
                                    qx::documents::MoneyDisplay Display,
                                    const QList<qx::documents::ExtraField>& Extras)
{
    const auto rows = qx::documents::openLookup(Sql, Params);
    if (!qx::documents::hasBillStructure(Table, *rows, Extras))
        qx::documents::defineBillTable(Table, *rows, Extras);
    qx::documents::refillBillTable(Table, *rows);
    qx::documents::prepareBillFields(
        Table, [this](TField* Field, const QString& Text) { BillFieldSetText(Field, Text); }, Display);
}

void TFrmABillEditor::RefillBillTable(TQxMemTable& Table, const QString& Sql, const QVariantMap& Params,
                                      qx::documents::MoneyDisplay Display)
{
    const auto rows = qx::documents::openLookup(Sql, Params);
    qx::documents::refillBillTable(Table, *rows);
    qx::documents::prepareBillFields(
        Table, [this](TField* Field, const QString& Text) { BillFieldSetText(Field, Text); }, Display);
}

void TFrmABillEditor::EnsureEditing(TDataSet* DataSet)
{
    if (DataSet && DataSet->State() != dsEdit && DataSet->State() != dsInsert)
        DataSet->Edit();
}

bool TFrmABillEditor::SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
