// The program Account: takes no arguments; its folder (settings, database) is where it lives.
#include "app/maintenance/MaintenanceForms.h"
#include "app/settings/SettingsForms.h"
#include "app/shell/ProgramIcon.h"
#include "app/shell/uALibraryForms.h"
#include "app/shell/uAMain.h"
#include "app/data/uStartup.h"
#include "documents/workorder/WorkOrderForms.h"
#include "usystem/vcl/griddlg/GridDialogs.h"
#include "usystem/vcl/picker/uQxSelect.h"
#include "usystem/vcl/printgrid/PrintGridJob.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Every window of the program, dialogs included, carries the program's own icon.
    QApplication::setWindowIcon(qx::app::ProgramIcon());
    qx::app::registerLibraryForms();
    qx::app::registerMaintenanceForms();
    qx::app::registerSettingsForms();
    qx::documents::registerWorkOrderForms();
    InstallLibraryPickers();
    registerLibraryReportFunctions();
    registerGridPrinter();
    InstallGridDialogs();
    return qx::app::RunAccount(qx::app::shellFactories());
}
