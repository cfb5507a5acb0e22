#include "app/maintenance/uClearData.h"

#include "app/data/dmData.h"
#include "app/maintenance/DataClearing.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/sql/ADOCommand.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/env/Clock.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QApplication>
#include <QDateEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTabWidget>

namespace {

QDateEdit* datePicker(QWidget* parent, const char* name, qx::kit::Bounds bounds)
{
    auto* picker = qx::kit::make<QDateEdit>(parent, name, bounds);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return picker;
}

QWidget* page(QTabWidget* pages, const char* name, const QString& caption)
{
    auto* sheet = new QWidget(pages);
    sheet->setObjectName(QLatin1String(name));
    pages->addTab(sheet, caption);
    return sheet;
}

} // namespace

TFrmClearData::TFrmClearData(QWidget* parent)
    : TFrmABase(parent),
      Label1(qx::kit::label(this, "Label1", QStringLiteral("注意：  清理数据前请先备份数据。"), 12, 10)),
      PageControl1(qx::kit::make<QTabWidget>(this, "PageControl1", {8, 32, 414, 180})),
      TabSheet1(page(PageControl1, "TabSheet1", QStringLiteral("清理全部数据"))),
      TabSheet2(page(PageControl1, "TabSheet2", QStringLiteral("清理业务数据"))),
      TabSheet3(page(PageControl1, "TabSheet3", QStringLiteral("清理日期段数据"))),
      Label2(qx::kit::label(TabSheet1, "Label2", QStringLiteral("清理全部数据资料(包括基础资料和业务数据)"), 12, 12)),
      Label3(qx::kit::label(TabSheet1, "Label3", QStringLiteral("基础资料包括以下:"), 12, 40)),
      CheckBox1(qx::kit::checkBox(TabSheet1, "CheckBox1", QStringLiteral("车辆档案"), {24, 64, 90, 20})),
      CheckBox2(qx::kit::checkBox(TabSheet1, "CheckBox2", QStringLiteral("维修项目"), {124, 64, 90, 20})),
      CheckBox3(qx::kit::checkBox(TabSheet1, "CheckBox3", QStringLiteral("客户档案"), {224, 64, 90, 20})),
      CheckBox4(qx::kit::checkBox(TabSheet1, "CheckBox4", QStringLiteral("供应商档案"), {24, 92, 90, 20})),
      CheckBox5(qx::kit::checkBox(TabSheet1, "CheckBox5", QStringLiteral("固定资料"), {124, 92, 90, 20})),
      Label4(qx::kit::label(TabSheet2, "Label4", QStringLiteral("清理全部业务数据(仅业务数据,不包括基础资料数据)"), 12, 12)),
      Label5(qx::kit::label(TabSheet3, "Label5", QStringLiteral("清理指定日期段的业务数据(不包括基础资料数据)"), 12, 12)),
      Label6(qx::kit::label(TabSheet3, "Label6", QStringLiteral("日期从:"), 24, 52)),
      DTP1(datePicker(TabSheet3, "DTP1", {80, 48, 120, 22})),
      Label7(qx::kit::label(TabSheet3, "Label7", QStringLiteral("到:"), 216, 52)),
      DTP2(datePicker(TabSheet3, "DTP2", {240, 48, 120, 22})),
      ProgressBar1(qx::kit::make<QProgressBar>(this, "ProgressBar1", {8, 222, 414, 16})),
      BtnOk(qx::kit::button(this, "BtnOk", QStringLiteral("确定"), {240, 248, 80, 26})),
      BtnCancel(qx::kit::button(this, "BtnCancel", QStringLiteral("取消"), {334, 248, 80, 26})),
      ADOCommClear(new TADOCommand(this))
{
    setObjectName(QStringLiteral("FrmClearData"));
    SetCaption(QStringLiteral("清理数据"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(430, 284);
    pnlleft->setVisible(false);

    Label1->SetFontColor(clBlue);
    // They name the master files the full clearing empties too; what they show is not read.
    for (TQxCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        box->setChecked(true);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setVisible(false);

    ADOCommClear->setObjectName(QStringLiteral("ADOCommClear"));
    ADOCommClear->setConnection(dmdataUnit ? dmdataUnit->ADOConnection : nullptr);

    qx::kit::onClick(BtnOk, this, &TFrmClearData::BtnOkClick);
    qx::kit::onClick(BtnCancel, this, &TFrmClearData::BtnCancelClick);
}

TFrmClearData::~TFrmClearData() = default;

void TFrmClearData::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    QDate from;
    QDate to;
    qx::app::ProposedClearRange(Date().toQDate(), from, to);
    DTP1->setDate(from);
    DTP2->setDate(to);
    PageControl1->setCurrentWidget(TabSheet3);
}

void TFrmClearData::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_ESCAPE) {
        Key = 0;
        Close();
    }
}

void TFrmClearData::BtnOkClick(QObject*)
{
    QWidget* shown = PageControl1->currentWidget();
    if (shown == TabSheet1
        && qx::messageBox(this, QStringLiteral("是否要清除所有的数据。"), QStringLiteral("询问"),
                          qx::MessageIcon::None, {qx::mrOk, qx::mrCancel}, qx::mrOk)
               != qx::mrOk)
        return;

    bool cleared = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto cursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        cleared = RunClearing(shown);
        if (cleared)
            ProgressBar1->setValue(100);
        else
            ProgressBar1->setVisible(false);
    }
    if (!cleared) {
        ShowInfo(QStringLiteral("清理不成功!"));
        return;
    }
    ShowInfo(QStringLiteral("清理成功!"));
    Close();
}

bool TFrmClearData::RunClearing(QWidget* Page)
{
    TADOConnection* connection = ADOCommClear->Connection();
    ProgressBar1->setVisible(true);
    ProgressBar1->setValue(Page == TabSheet1 ? 20 : 40);
    try {
        if (!connection->Connected())
            connection->Open();
        connection->BeginTrans();
    } catch (const Exception&) {
        return false;
    }
    try {
        if (Page == TabSheet1)
            qx::app::ClearAllData(*ADOCommClear);
        else if (Page == TabSheet2)
            qx::app::ClearBusinessData(*ADOCommClear);
        else
            qx::app::ClearDateRange(*ADOCommClear, DTP1->date(), DTP2->date());
        connection->CommitTrans();
        return true;
    } catch (...) {
        try {
            if (connection->InTransaction())
                connection->RollbackTrans();
        } catch (...) {
            // Closing the connection rolls back what is left.
            connection->Close();
        }
        return false;
    }
}

void TFrmClearData::BtnCancelClick(QObject*)
{
    Close();
}
