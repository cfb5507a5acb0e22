// TFrmAMain: the program's main window. It holds the menu bar, the status bar and the MDI area
// with the desktop and every browser; it runs the login when it is first shown, builds the
// report-centre menu from the stored queries, opens every module through one dispatcher behind
// the rights check, calls the report library for the report centre, and ends the program
// after the operator confirmed it (with the backup on exit when the shop asked for it).
//
// The forms it opens are found in the form registry (app/uAFormRegistry.h) by class name.
#pragma once

#include "app/shell/uABase.h"
#include "app/data/uStartup.h"

#include <QList>
#include <QString>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QMenuBar;
class QStatusBar;

class TFrmAMain : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmAMain(QWidget* parent = nullptr);
    ~TFrmAMain() override;

    // The program folder with its trailing separator; maintenance builds file names from it.
    QString ProgramFolder;

    QMenuBar* const MMMain;
    QStatusBar* const StatusBar1;
    QMdiArea* const MdiArea;

    // The top-level menus, by caption ("每天作业" ... "关于").
    QMenu* Menu(const QString& Caption) const;
    // The item of a menu by caption (the first one when two share it); nullptr when none.
    QAction* MenuItem(const QString& MenuCaption, const QString& ItemCaption) const;
    // Runs a menu item as a click does.
    void ClickMenuItem(QAction* Item);

    // Text of a status panel (0..3).
    QString StatusPanel(int Index) const;
    // Panel 1 shows the current operator; called whenever CurrentUser may have changed.
    void UpdateCurrentUserPanel();

    void FormCreate(QObject* Sender) override;
    // The first show queues the login (it runs once the window is up).
    void FormShow(QObject* Sender) override;
    // Asks before ending the program; then the connection goes and the backup may run.
    void FormClose(QObject* Sender, TCloseAction& Action);

    // The login of the start of the run: without an operator afterwards the program ends.
    // Then the status bar and the report menu are made.
    void StartupLogin();
    // "更换用户": a cancelled login keeps the operator who was working.
    void ChangeOperator();

    // Brings forward the open MDI child named FormName (letter case aside) or makes one from
    // the registry; nullptr when the form class is not registered.
    QWidget* ShowChildForm(const QString& FormClass, const QString& FormName);
    // The dispatcher: the form of a module caption (no rights check; callers check first). A
    // caption not in the table opens nothing.
    void OpenModuleByCaption(const QString& Caption);
    // The form class and name the dispatcher opens for Caption (empty when none).
    static bool ModuleOfCaption(const QString& Caption, QString& FormClass, QString& FormName);
    // Creates a registered dialog, runs it modally and lets it go; false when not registered.
    bool ShowModalForm(const QString& FormClass);

    // Puts a form into the MDI area, maximised, and lets its window go with it.
    void AddMdiChild(QWidget* Form);

    // The report centre through the report library.
    void CallFindString(const QString& RulesConnection, const QString& DataConnection,
                        const QString& UserName, const QString& FormName);
    void CallQueryString(const QString& RulesConnection, const QString& DataConnection,
                         const QString& UserName, const QString& FormName,
                         const QString& ReportName);
    void OpenQueryReport(const QString& ReportName);
    void QueryReportItemClick(QAction* Sender);
    // The report items added after the login, in menu order.
    QList<QAction*> ReportItems() const;

private:
    void BuildMenus();
    void BuildReportMenu();
    void MenuItemClick(QAction* Item);
    bool Allowed(const QString& Module, const QString& Action);

    QList<QLabel*> FPanels;
    QList<QAction*> FReportItems;
    bool FShown = false;
};

namespace qx::app {

// The start-up's factories for this shell: the main window and the navigation desktop.
StartupFactories shellFactories();

} // namespace qx::app
