// TFrmTranOut: layout, wiring and handlers of the export dialog.
#include "usystem/vcl/export/uQxTranOut.h"

#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Glyphs.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/export/ExportSupport.h"
#include "usystem/vcl/export/uQxDBGridRoutines.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

QPointer<TFrmTranOut> FrmTranOut;

namespace {

enum Target { WordTarget, ExcelTarget, TextTarget, HtmlTarget, DbfTarget };

// Each format's name is padded with spaces to nine characters before its description.
const char* const TargetItems[] = {
    "Word     OFFICE的Word格式",
    "Excel    OFFICE的Excel格式",
    "Txt      本文格式",
    "Html     网页格式",
    "DBF      文件数据库格式",
};

} // namespace

TFrmTranOut::TFrmTranOut(QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("FrmTranOut"));
    SetCaption(QStringLiteral("数据导出窗口"));
    resize(452, 225);
    SetPosition(poDesktopCenter);
    QFont formFont(QStringLiteral("宋体"));
    formFont.setPixelSize(14);
    setFont(formFont);

    RGPSelect = new QGroupBox(QStringLiteral("导出格式"), this);
    RGPSelect->setObjectName(QStringLiteral("RGPSelect"));
    RGPSelect->setGeometry(0, 0, 452, 121);
    RGPSelectItems = new QButtonGroup(RGPSelect);
    auto* grid = new QGridLayout(RGPSelect);
    // Two columns, filled top to bottom: three items in the first, two in the second.
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(TargetItems[i]), RGPSelect);
        item->setObjectName(QStringLiteral("RGPSelectItem%1").arg(i));
        RGPSelectItems->addButton(item, i);
        grid->addWidget(item, i % 3, i / 3);
    }

    Label1 = qx::kit::label(this, "Label1", QStringLiteral("导出文件名："), 16, 140);
    EdtFileName = qx::kit::edit(this, "EdtFileName", {112, 136, 321, 21});
    QFont editFont(QStringLiteral("Times New Roman"));
    editFont.setPixelSize(12);
    EdtFileName->setFont(editFont);
    EdtFileName->Button()->SetVisible(true);
    // A text edit's button has no picture of its own; without one it takes no room to click.
    EdtFileName->Button()->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Ellipsis));
    EdtFileName->Button()->SetHint(QStringLiteral("请点击此按钮选定或设定数据..."));
    EdtFileName->Button()->SetCursor(TQxEditButton::crHandPoint);
    BtnOK = qx::kit::button(this, "BtnOK", QStringLiteral("确定"), {112, 176, 75, 25});
    BtnCancel = qx::kit::button(this, "BtnCancel", QStringLiteral("取消"), {264, 176, 75, 25});

    Html = new TQxDataSetToHTML(this);
    Html->setObjectName(QStringLiteral("Html"));
    Text = new TQxDatasetToText(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->SetDelimiter(QChar(9));
    Printer = new TQxDatasetToPrinter(this);
    Printer->setObjectName(QStringLiteral("Printer"));
    dbf = new TQxDataSetToDBF(this);
    dbf->setObjectName(QStringLiteral("dbf"));

    connect(RGPSelectItems, &QButtonGroup::idClicked, this,
            qx::guarded(this, [this](int) { RGPSelectClick(RGPSelect); }));
    qx::kit::on(EdtFileName->OnButtonClick, this, &TFrmTranOut::EdtFileNameButtonClick);
    qx::kit::onClick(BtnOK, this, &TFrmTranOut::BtnOKClick);
    qx::kit::onClick(BtnCancel, this, &TFrmTranOut::BtnCancelClick);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

int TFrmTranOut::ItemIndex() const
{
    return RGPSelectItems->checkedId();
}

void TFrmTranOut::SetItemIndex(int index)
{
    if (QAbstractButton* item = RGPSelectItems->button(index))
        item->setChecked(true);
}

void TFrmTranOut::RGPSelectClick(QObject*)
{
    switch (ItemIndex()) {
    case WordTarget:
    case ExcelTarget: EdtFileName->setEnabled(false); break;
    case TextTarget:
    case HtmlTarget:
    case DbfTarget: EdtFileName->setEnabled(true); break;
    default: break;
    }
}

void TFrmTranOut::EdtFileNameButtonClick(QObject*)
{
    // No filter and no default extension: the writers add theirs to a bare name.
    const QString fileName = qx::DialogService::instance().saveFileName(this, qx::FileRequest{});
    if (!fileName.isEmpty())
        EdtFileName->setText(fileName);
}

void TFrmTranOut::BtnOKClick(QObject* Sender)
{
    const int target = ItemIndex();
    const QString fileName = EdtFileName->text();
    if ((target == TextTarget || target == HtmlTarget || target == DbfTarget) && fileName.isEmpty()) {
        qx::showMessage(QStringLiteral("文件名不能为空"), this);
        return;
    }
    switch (target) {
    case WordTarget: ExportGridToWord(Grid, QString(), QString(), Grid); break;
    case ExcelTarget: ExportGridToExcel(QString(), QString(), Grid); break;
    case TextTarget: Text->ExportGrid(Grid, fileName); break;
    case HtmlTarget: Html->ExportGrid(Grid, fileName); break;
    case DbfTarget:
        dbf->SetDataSet(Grid ? qx::gridDataSet(*Grid) : nullptr);
        dbf->SaveToFile(fileName);
        break;
    default: break;
    }
    BtnCancelClick(Sender);
}

void TFrmTranOut::BtnCancelClick(QObject*)
{
    Close();
}

void TFrmTranOut::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}

void ShowExportDialog(TQxCustomDBGrid* Grid)
{
    // Owned by nobody but itself: the dialog frees itself when it closes.
    auto* dialog = new TFrmTranOut(nullptr);
    FrmTranOut = dialog;
    dialog->Grid = Grid;
    dialog->RGPSelectClick(dialog->RGPSelect);
    qx::DialogService::instance().execDialog(*dialog);
}
