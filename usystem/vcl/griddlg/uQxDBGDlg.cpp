// TFrmDBGridDlg: layout, wiring and handlers of the grid settings dialog, and its one-call run.
#include "usystem/vcl/griddlg/uQxDBGDlg.h"

#include "platform/env/DialogService.h"
#include "platform/ui/ImageList.h"
#include "usystem/vcl/checks/uQxListBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QAction>
#include <QPainter>

QPointer<TFrmDBGridDlg> FrmDBGridDlg;

namespace {

const char* const ListHint = "通过此功能，您可以设定那些数据显示，那些数据不显示.并可以设定输入时"
                             "光标只在您选定的列上来回跳动。";

// The pictures of the list entries, 16 x 16: 0 a column of the grid (the left list), 1 the
// same column greyed, 2 and 3 the cursor's jump to the left and to the right (3 on the right
// list).
QPixmap settingsGlyph(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (index) {
    case 0:
    case 1: {
        const QColor ink = index == 0 ? QColor(0, 0, 128) : QColor(128, 128, 128);
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 13);
        p.fillRect(5, 2, 6, 3, ink);
        p.drawLine(5, 8, 10, 8);
        p.drawLine(5, 11, 10, 11);
        break;
    }
    default: {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 0));
        const bool right = index == 3;
        const QPolygonF head = right ? QPolygonF({{9, 3}, {15, 8}, {9, 13}})
                                     : QPolygonF({{7, 3}, {1, 8}, {7, 13}});
        p.drawPolygon(head);
        p.drawRect(right ? QRectF(1, 6, 8, 4) : QRectF(7, 6, 8, 4));
        break;
    }
    }
    return pixmap;
}

TQxListBox* checkList(QWidget* parent, const char* name, qx::kit::Bounds b, TImageList* images)
{
    auto* list = qx::kit::make<TQxListBox>(parent, name, b);
    list->SetListBoxStyle(TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
    list->SetImageList(images);
    list->SetStyle(StdCtrls::lbOwnerDrawVariable);
    list->SetItemHeight(20);
    list->SetHint(QString::fromUtf8(ListHint));
    list->SetShowHint(true);
    return list;
}

} // namespace

TFrmDBGridDlg::TFrmDBGridDlg(QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("FrmDBGridDlg"));
    SetCaption(QStringLiteral("数据编辑框参数设定"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(344, 301);
    SetPosition(poDesktopCenter);

    ImgList = new TImageList(this);
    ImgList->setObjectName(QStringLiteral("ImgList"));
    for (int i = 0; i < 4; ++i)
        ImgList->Add(settingsGlyph(i));

    SPLabel4 = qx::kit::label(this, "SPLabel4", QStringLiteral("显示字段设定："), 8, 8);
    LbxColumns = checkList(this, "LbxColumns", {8, 26, 160, 232}, ImgList);
    SPLabel1 = qx::kit::label(this, "SPLabel1", QStringLiteral("列跳转设定："), 176, 8);
    LbxTabStop = checkList(this, "LbxTabStop", {176, 26, 160, 232}, ImgList);

    PMColumn = new TQxPopupMenu(this);
    PMColumn->setObjectName(QStringLiteral("PMColumn"));
    N1 = PMColumn->addAction(QStringLiteral("全部选定"));
    N1->setObjectName(QStringLiteral("N1"));
    N3 = PMColumn->addAction(QStringLiteral("设为默认值"));
    N3->setObjectName(QStringLiteral("N3"));
    N4 = PMColumn->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    N2 = PMColumn->addAction(QStringLiteral("清除所选列表"));
    N2->setObjectName(QStringLiteral("N2"));
    LbxColumns->SetPopupMenu(PMColumn);

    BtnOk = qx::kit::button(this, "BtnOk", QStringLiteral("确定"), {88, 268, 75, 25});
    BtnOk->SetModalResult(qx::mrOk);
    BtnCancel = qx::kit::button(this, "BtnCancel", QStringLiteral("取消"), {184, 268, 75, 25});
    BtnCancel->SetModalResult(qx::mrCancel);

    const auto menuItem = [this](QAction* action, void (TFrmDBGridDlg::*handler)(QObject*)) {
        connect(action, &QAction::triggered, this,
                [this, handler] { qx::guard(this, [&] { (this->*handler)(PMColumn); }); });
    };
    menuItem(N1, &TFrmDBGridDlg::N1Click);
    menuItem(N3, &TFrmDBGridDlg::N3Click);
    menuItem(N2, &TFrmDBGridDlg::N2Click);
    qx::kit::onClick(BtnOk, this, &TFrmDBGridDlg::BtnOkClick);
    qx::kit::onClick(BtnCancel, this, &TFrmDBGridDlg::BtnCancelClick);
}

TFrmDBGridDlg::~TFrmDBGridDlg() = default;

void TFrmDBGridDlg::FormShow(QObject* Sender)
{
    TFrmBase::FormShow(Sender);
    FOk = false;
    LbxColumns->Items()->Clear();
    LbxTabStop->Items()->Clear();
    if (!Grid)
        return;
    TQxDBGridColumns* columns = Grid->Columns();
    bool everyTabStop = true;
    for (int i = 0; i < columns->Count(); ++i) {
        const QString caption = columns->Items(i)->Title()->Caption();
        LbxColumns->SetItemImageIndex(LbxColumns->Items()->Add(caption), 0);
        LbxTabStop->SetItemImageIndex(LbxTabStop->Items()->Add(caption), 3);
        everyTabStop = everyTabStop && columns->Items(i)->TabStop();
    }
    // Entry i shows column i, so two columns of one caption keep their own marks. All tab
    // stops are shown as none chosen, which OK turns back into all tab stops.
    for (int i = 0; i < columns->Count(); ++i) {
        LbxColumns->SetChecked(i, columns->Items(i)->Visible());
        if (!everyTabStop)
            LbxTabStop->SetChecked(i, columns->Items(i)->TabStop());
    }
}

void TFrmDBGridDlg::N1Click(QObject*)
{
    for (int i = 0; i < LbxColumns->count(); ++i)
        LbxColumns->SetChecked(i, true);
}

void TFrmDBGridDlg::N2Click(QObject*)
{
    for (int i = 0; i < LbxColumns->count(); ++i)
        LbxColumns->SetChecked(i, false);
}

void TFrmDBGridDlg::N3Click(QObject*)
{
    // The default shows every column: each column checks the first entry of its caption, so
    // a second column of a caption keeps its mark as it is.
    if (!Grid)
        return;
    TQxDBGridColumns* columns = Grid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        const int entry = LbxColumns->Items()->IndexOf(columns->Items(i)->Title()->Caption());
        if (entry >= 0)
            LbxColumns->SetChecked(entry, true);
    }
}

void TFrmDBGridDlg::BtnOkClick(QObject*)
{
    FOk = true;
    Close();
}

void TFrmDBGridDlg::BtnCancelClick(QObject*)
{
    Close();
}

void TFrmDBGridDlg::ApplyChoices()
{
    if (!Grid)
        return;
    QWidget* window = Grid->window();
    const bool updates = window->updatesEnabled();
    window->setUpdatesEnabled(false);
    const auto unlock = [&] {
        window->setUpdatesEnabled(updates);
        if (updates)
            window->update();
    };
    try {
        TQxDBGridColumns* columns = Grid->Columns();
        const int count = qMin(columns->Count(), LbxColumns->count());
        bool someTabStop = false;
        for (int i = 0; i < LbxTabStop->count(); ++i)
            someTabStop = someTabStop || LbxTabStop->GetChecked(i);
        for (int i = 0; i < count; ++i)
            columns->Items(i)->SetVisible(LbxColumns->GetChecked(i));
        const int tabCount = qMin(columns->Count(), LbxTabStop->count());
        for (int i = 0; i < tabCount; ++i)
            columns->Items(i)->SetTabStop(!someTabStop || LbxTabStop->GetChecked(i));
        Grid->SetColumnAttributes();
    } catch (...) {
        unlock();
        throw;
    }
    unlock();
}

void ShowGridSettingsDialog(TQxCustomDBGrid* Grid, int Mode)
{
    // Freed when this call ends, whatever the dialog answered.
    const std::unique_ptr<TFrmDBGridDlg> dialog = std::make_unique<TFrmDBGridDlg>();
    FrmDBGridDlg = dialog.get();
    dialog->Grid = Grid;
    dialog->Mode = Mode;
    const int result = qx::DialogService::instance().execDialog(*dialog);
    if (result > 0 && dialog->OkPressed())
        dialog->ApplyChoices();
}
