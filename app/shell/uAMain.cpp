#include "app/shell/uAMain.h"

#include "app/shell/ColorPanel.h"
#include "app/shell/ProgramIcon.h"
#include "app/shell/about.h"
#include "app/data/dmData.h"
#include "app/shell/uADesktop.h"
#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAlogin.h"
#include "app/shell/uAppExit.h"
#include "control/ControlExports.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/Clock.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/env/MissingBinding.h"
#include "platform/env/ProgramFolder.h"
#include "platform/rtl/DateTime.h"
#include "platform/ui/AlignLayout.h"
#include "usystem/vcl/stream/uQxDllCall.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimer>

namespace {

struct MenuItemDef
{
    const char16_t* caption; // u"-" is a separator
    bool visible;
};

struct MenuDef
{
    const char16_t* caption;
    std::initializer_list<MenuItemDef> items;
};

// The menu bar, in order; hidden items exist so that rights and captions stay where the
// shop's operators know them.
const MenuDef kMenus[] = {
    {u"每天作业",
     {{u"工单管理", true}, {u"销售管理", false}, {u"-", true}, {u"采购管理", true},
      {u"库存管理", true}, {u"盘点管理", true}, {u"-", true}, {u"其他收支", true},
      {u"支付凭证", true}, {u"-", true}, {u"车辆年季审", false}, {u"-", false},
      {u"退出系统", true}}},
    {u"基础资料",
     {{u"客户档案", true}, {u"维修项目", true}, {u"-", true}, {u"客户档案", false},
      {u"供应商档案", true}, {u"-", true}, {u"固定资料", true}}},
    {u"报表中心", {{u"报表设置", true}, {u"-", true}}},
    {u"统计分析",
     {{u"财务统计", true}, {u"统计分析", true}, {u"分类统计", false}, {u"-", false},
      {u"每日提醒", false}}},
    {u"系统管理",
     {{u"更换用户", true}, {u"系统设置", true}, {u"-", true}, {u"数据初始化", true},
      {u"操作员及权限", true}, {u"-", true}, {u"条码打印", true}, {u"-", true},
      {u"升级数据", true}, {u"压缩数据", true}, {u"备份数据", true}, {u"恢复数据", true}}},
    {u"关于", {{u"快 捷 导 航", false}, {u"-", false}, {u"关 于本软件", true}}},
};

struct ModuleDef
{
    const char16_t* caption;
    const char16_t* formClass;
    const char16_t* formName;
};

// The dispatcher's table: first exact match wins.
const ModuleDef kModules[] = {
    {u"工单管理", u"TFrmDayIn", u"FrmDayin"},
    {u"采购管理", u"TFrmAinBowser", u"FrmAinBowser"},
    {u"库存管理", u"TFrmAstock", u"FrmAStock"},
    {u"销售管理", u"TFrmAOutBowser", u"FrmAOutBowser"},
    {u"其他收支", u"TFrmADayAccount", u"FrmADayAccount"},
    {u"支付凭证", u"TFrmAPayBowser", u"FrmAPayBowser"},
    {u"车辆档案", u"TFrmAVehicle", u"FrmaVehicle"},
    {u"财务统计", u"TFrmtj", u"Frmtj"},
    {u"统计分析", u"TFrmTotal", u"FrmTotal"},
    {u"固定资料", u"TFrmAShareBase", u"FrmASharebase"},
    {u"电话本", u"TFrmAClient", u"FrmAClient"},
    {u"美容卡", u"TFrmACard", u"FrmACard"},
    {u"分类统计", u"TFrmTotal2", u"FrmTotal2"},
    {u"车辆年季审", u"TFrmACheck", u"FrmACheck"},
    {u"会员卡充值", u"TFrmACardAdd", u"FrmACardAdd"},
    {u"每日提醒", u"TFrmAlerk", u"FrmAlerk"},
    {u"盘点管理", u"TFrmCheckBowser", u"FrmCheckBowser"},
    {u"客户档案", u"TFrmAVehicle", u"FrmaVehicle"},
    {u"供应商档案", u"TFrmASupplierFile", u"FrmASupplierFile"},
    {u"维修项目", u"TFrmAServiceItem", u"FrmAServiceItem"},
};

// Items that open their module after the right "主" + caption.
const char16_t* const kModuleItems[] = {u"工单管理", u"销售管理", u"采购管理", u"库存管理",
                                        u"盘点管理", u"其他收支", u"支付凭证", u"车辆年季审",
                                        u"客户档案", u"维修项目", u"供应商档案", u"财务统计"};

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

const char16_t* utf16(const QString& s)
{
    return reinterpret_cast<const char16_t*>(s.utf16());
}

// yyyy"年"m"月"d"日"
QString businessDateText(TDateTime day)
{
    int year = 0;
    int month = 0;
    int date = 0;
    DecodeDate(day, year, month, date);
    return QStringLiteral("%1年%2月%3日").arg(year).arg(month).arg(date);
}

} // namespace

TFrmAMain::TFrmAMain(QWidget* parent)
    : TFrmABase(parent),
      MMMain(new QMenuBar(this)),
      StatusBar1(new QStatusBar(this)),
      MdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("FrmAMain"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // Maximised; the screen's size also holds where no window manager maximises it.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    pnlleft->SetWidth(0);
    pnlleft->SetVisible(false);

    MMMain->setObjectName(QStringLiteral("MMMain"));
    MMMain->setNativeMenuBar(false);
    BuildMenus();
    MMMain->resize(width(), MMMain->sizeHint().height());
    qx::setAlign(MMMain, alTop);

    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int w : {220, 220, 220, 50}) {
        auto* panel = new QLabel(StatusBar1);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFixedWidth(w);
        StatusBar1->addWidget(panel);
        FPanels.append(panel);
    }
    StatusBar1->resize(width(), 22);
    qx::setAlign(StatusBar1, alBottom);

    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    qx::setAlign(MdiArea, alClient);

    setWindowIcon(qx::app::ProgramIcon());
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    // Not guarded here: a database that cannot give the shop settings is the start-up's to
    // tell, as a failed connection that ends the program.
    FormCreate(this);
}

TFrmAMain::~TFrmAMain() = default;

void TFrmAMain::BuildMenus()
{
    for (const MenuDef& menuDef : kMenus) {
        QMenu* menu = MMMain->addMenu(text(menuDef.caption));
        menu->setObjectName(text(menuDef.caption));
        for (const MenuItemDef& item : menuDef.items) {
            QAction* action = nullptr;
            if (text(item.caption) == QLatin1String("-")) {
                action = menu->addSeparator();
            } else {
                action = menu->addAction(text(item.caption));
                connect(action, &QAction::triggered, this, [this, action] { ClickMenuItem(action); });
            }
            action->setVisible(item.visible);
        }
    }
}

QMenu* TFrmAMain::Menu(const QString& Caption) const
{
    for (QAction* top : MMMain->actions()) {
        if (top->menu() && top->text() == Caption)
            return top->menu();
    }
    return nullptr;
}

QAction* TFrmAMain::MenuItem(const QString& MenuCaption, const QString& ItemCaption) const
{
    QMenu* menu = Menu(MenuCaption);
    if (!menu)
        return nullptr;
    for (QAction* item : menu->actions()) {
        if (!item->isSeparator() && item->text() == ItemCaption)
            return item;
    }
    return nullptr;
}

QString TFrmAMain::StatusPanel(int Index) const
{
    return Index >= 0 && Index < FPanels.size() ? FPanels[Index]->text() : QString();
}

void TFrmAMain::UpdateCurrentUserPanel()
{
    FPanels[1]->setText(QStringLiteral("当前用户：") + CurrentUser);
}

void TFrmAMain::FormCreate(QObject*)
{
    SetCaption(qx::app::ApplicationTitle());
    SetColor(TColor(0xF8EDE5));
    ProgramFolder = qx::programFolder();
    FPanels[0]->setText(qx::app::ApplicationTitle());
    if (dmdataUnit)
        dmdataUnit->ReadTitleFlags();
    FPanels[2]->setText(QStringLiteral("业务日期:") + businessDateText(Date()) + u' ');
    // Nothing is reachable before somebody logged in.
    MMMain->setEnabled(false);
}

void TFrmAMain::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    if (FShown)
        return;
    FShown = true;
    // The login waits until the window is up, so its modal loop does not run inside the show.
    QTimer::singleShot(0, this, [this] { qx::guard(this, [&] { StartupLogin(); }); });
}

void TFrmAMain::StartupLogin()
{
    auto* login = new TFrmALogin;
    qx::DialogService::instance().execDialog(*login);
    if (CurrentUser.isEmpty()) {
        qx::app::terminateProgram();
        return;
    }
    UpdateCurrentUserPanel();
    BuildReportMenu();
    MMMain->setEnabled(true);
}

void TFrmAMain::ChangeOperator()
{
    const QString previous = CurrentUser;
    auto* login = new TFrmALogin;
    login->SetChangeOperator(previous);
    qx::DialogService::instance().execDialog(*login);
    if (CurrentUser.isEmpty())
        CurrentUser = previous;
    UpdateCurrentUserPanel();
}

void TFrmAMain::BuildReportMenu()
{
    QMenu* menu = Menu(QStringLiteral("报表中心"));
    TADOQuery* q = dmdataUnit->QryTemp;
    q->Close();
    q->SQL().SetText(QStringLiteral("Select * from tQueryReport Order By OrderIndex "));
    q->Open();
    for (q->First(); !q->Eof(); q->Next()) {
        auto* item = new QAction(q->FieldByName(QStringLiteral("ReportName"))->AsString(), this);
        menu->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] {
            qx::guard(this, [&] { QueryReportItemClick(item); });
        });
        FReportItems.append(item);
    }
    q->Close();
}

QList<QAction*> TFrmAMain::ReportItems() const
{
    return FReportItems;
}

bool TFrmAMain::Allowed(const QString& Module, const QString& Action)
{
    return dmdataUnit->CheckRight(Module, Action, true);
}

void TFrmAMain::ClickMenuItem(QAction* Item)
{
    qx::guard(this, [&] { MenuItemClick(Item); });
}

void TFrmAMain::MenuItemClick(QAction* Item)
{
    const QString caption = Item->text();
    if (FReportItems.contains(Item)) {
        QueryReportItemClick(Item);
        return;
    }
    for (const char16_t* module : kModuleItems) {
        if (caption == text(module)) {
            if (Allowed(QStringLiteral("主"), caption))
                OpenModuleByCaption(caption);
            return;
        }
    }
    if (caption == QStringLiteral("固定资料")) {
        if (Allowed(QStringLiteral("主"), caption))
            ShowChildForm(QStringLiteral("TFrmAShareBase"), QStringLiteral("FrmASharebase"));
    } else if (caption == QStringLiteral("统计分析")) {
        if (Allowed(QStringLiteral("主"), caption))
            ShowChildForm(QStringLiteral("TFrmTotal"), QStringLiteral("FrmTotal"));
    } else if (caption == QStringLiteral("分类统计")) {
        if (Allowed(QStringLiteral("主"), caption))
            ShowChildForm(QStringLiteral("TFrmTotal2"), QStringLiteral("FrmTotal2"));
    } else if (caption == QStringLiteral("每日提醒")) {
        ShowModalForm(QStringLiteral("TFrmAlerk"));
    } else if (caption == QStringLiteral("退出系统")) {
        Close();
    } else if (caption == QStringLiteral("报表设置")) {
        if (Allowed(QStringLiteral("报表中心"), caption)) {
            const QString connection = dmdataUnit->ADOConnection->ConnectionString();
            CallFindString(connection, connection, QString(), QStringLiteral("报表中心"));
        }
    } else if (caption == QStringLiteral("更换用户")) {
        ChangeOperator();
    } else if (caption == QStringLiteral("系统设置")) {
        if (Allowed(QStringLiteral("主"), caption))
            ShowModalForm(QStringLiteral("TFrmSystemSetup"));
    } else if (caption == QStringLiteral("数据初始化")) {
        if (Allowed(QStringLiteral("系统设置"), QStringLiteral("初始化")))
            ShowModalForm(QStringLiteral("TFrmClearData"));
    } else if (caption == QStringLiteral("操作员及权限")) {
        if (Allowed(QStringLiteral("系统设置"), caption))
            ShowModalForm(QStringLiteral("TFrmRightSet"));
    } else if (caption == QStringLiteral("条码打印")) {
        ShowModalForm(QStringLiteral("TFrmCodeBar"));
    } else if (caption == QStringLiteral("升级数据")) {
        if (Allowed(QStringLiteral("系统设置"), QStringLiteral("数据升级")))
            ShowModalForm(QStringLiteral("TFrmUpData"));
    } else if (caption == QStringLiteral("关 于本软件")) {
        auto* about = new Taboutform;
        qx::DialogService::instance().execDialog(*about);
        about->deleteLater();
    } else if (caption == QStringLiteral("压缩数据") || caption == QStringLiteral("备份数据")
               || caption == QStringLiteral("恢复数据")) {
        // Compaction, backup and restore are the maintenance unit's.
        if (const qx::app::MainCommand command = qx::app::mainCommand(caption))
            command(*this);
        else
            qx::reportMissingBinding(this, caption);
    }
}

bool TFrmAMain::ModuleOfCaption(const QString& Caption, QString& FormClass, QString& FormName)
{
    for (const ModuleDef& module : kModules) {
        if (Caption == text(module.caption)) {
            FormClass = text(module.formClass);
            FormName = text(module.formName);
            return true;
        }
    }
    return false;
}

void TFrmAMain::OpenModuleByCaption(const QString& Caption)
{
    QString formClass;
    QString formName;
    if (ModuleOfCaption(Caption, formClass, formName))
        ShowChildForm(formClass, formName);
}

QWidget* TFrmAMain::ShowChildForm(const QString& FormClass, const QString& FormName)
{
    const QString wanted = FormName.toUpper();
    for (QMdiSubWindow* sub : MdiArea->subWindowList()) {
        QWidget* form = sub->widget();
        if (form && form->objectName().toUpper() == wanted) {
            setUpdatesEnabled(false);
            sub->showMaximized();
            MdiArea->setActiveSubWindow(sub);
            setUpdatesEnabled(true);
            return form;
        }
    }
    const qx::app::FormFactory factory = qx::app::formFactory(FormClass);
    if (!factory) {
        qx::reportMissingBinding(this, FormClass);
        return nullptr;
    }
    setUpdatesEnabled(false);
    const auto updates = qScopeGuard([this] { setUpdatesEnabled(true); });
    QWidget* form = factory(*this);
    if (form) {
        if (form->objectName().toUpper() != wanted)
            form->setObjectName(FormName);
        AddMdiChild(form);
    }
    return form;
}

void TFrmAMain::AddMdiChild(QWidget* Form)
{
    QMdiSubWindow* sub = MdiArea->addSubWindow(Form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The desktop's and the browsers' title bars show the program's icon, not the toolkit's.
    sub->setWindowIcon(qx::app::ProgramIcon());
    // A browser frees itself when it closes; its frame goes with it.
    QPointer<QMdiSubWindow> frame(sub);
    connect(Form, &QObject::destroyed, sub, [frame] {
        if (frame)
            frame->deleteLater();
    });
    sub->showMaximized();
    Form->show();
    MdiArea->setActiveSubWindow(sub);
}

bool TFrmAMain::ShowModalForm(const QString& FormClass)
{
    const qx::app::FormFactory factory = qx::app::formFactory(FormClass);
    if (!factory) {
        qx::reportMissingBinding(this, FormClass);
        return false;
    }
    QPointer<QWidget> form = factory(*this);
    auto* dialog = qobject_cast<QDialog*>(form.data());
    if (!dialog) {
        if (form)
            form->deleteLater();
        return false;
    }
    qx::DialogService::instance().execDialog(*dialog);
    // A dialog of the shop's base frees itself; the others are released here.
    if (form)
        form->deleteLater();
    return true;
}

void TFrmAMain::CallFindString(const QString& RulesConnection, const QString& DataConnection,
                               const QString& UserName, const QString& FormName)
{
    auto proc = reinterpret_cast<ExectueFindStringProc>(
        GetDllProc(QString::fromLatin1(ControlLibraryName), QStringLiteral("ExectueFindString")));
    if (!proc)
        return;
    const QString folder = qx::programFolder();
    if (proc(utf16(RulesConnection), utf16(DataConnection), utf16(UserName), utf16(FormName),
             utf16(folder))
        == QX_CONTROL_ERROR)
        qx::showMessage(QStringLiteral("调用查询出错!"), this);
}

void TFrmAMain::CallQueryString(const QString& RulesConnection, const QString& DataConnection,
                                const QString& UserName, const QString& FormName,
                                const QString& ReportName)
{
    auto proc = reinterpret_cast<ExectueQueryStringProc>(
        GetDllProc(QString::fromLatin1(ControlLibraryName), QStringLiteral("ExectueQueryString")));
    if (!proc)
        return;
    const QString folder = qx::programFolder();
    if (proc(utf16(RulesConnection), utf16(DataConnection), utf16(UserName), utf16(FormName),
             utf16(ReportName), utf16(folder))
        == QX_CONTROL_ERROR)
        qx::showMessage(QStringLiteral("调用查询出错!"), this);
}

void TFrmAMain::OpenQueryReport(const QString& ReportName)
{
    const QString connection = dmdataUnit->ADOConnection->ConnectionString();
    CallQueryString(connection, connection, QString(), QStringLiteral("报表中心"), ReportName);
}

void TFrmAMain::QueryReportItemClick(QAction* Sender)
{
    const QString caption = Sender->text();
    QString reportName = caption;
    const int mark = reportName.indexOf(QStringLiteral("(&"));
    if (mark >= 0)
        reportName.truncate(mark);
    if (Allowed(QStringLiteral("报表中心"), caption))
        OpenQueryReport(reportName);
}

void TFrmAMain::FormClose(QObject*, TCloseAction& Action)
{
    const int answer = qx::messageBox(
        this, QStringLiteral("您确定要退出") + qx::app::ApplicationTitle() + QStringLiteral("吗？"),
        QStringLiteral("提示！"), qx::MessageIcon::Question, {qx::mrYes, qx::mrNo}, qx::mrYes);
    if (answer != qx::mrYes) {
        Action = caNone;
        return;
    }
    // The start-up owns this window and releases it after the message loop.
    Action = caHide;
    if (dmdataUnit && dmdataUnit->ADOConnection->Connected())
        dmdataUnit->ADOConnection->Close();
    // A shared database is backed up where it lives, not from a workstation.
    if (BackupOnExit && !qx::app::DatabaseIsShared())
        qx::guard(this, [&] { ShowModalForm(QStringLiteral("TFrmBackupExit")); });
    qx::app::terminateProgram();
}

namespace qx::app {

StartupFactories shellFactories()
{
    StartupFactories factories;
    factories.MainWindow = [] { return std::make_unique<TFrmAMain>(); };
    factories.Desktop = [](QWidget& mainWindow) {
        if (auto* main = qobject_cast<TFrmAMain*>(&mainWindow))
            main->AddMdiChild(new TFrmADesktop(*main));
    };
    return factories;
}

} // namespace qx::app
