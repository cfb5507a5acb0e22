// The program Account: takes no arguments; its folder (settings, database) is where it lives.
#include "app/uALibraryForms.h"
#include "app/uAMain.h"
#include "app/uStartup.h"
#include "usystem/vcl/uQxSelect.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    qx::app::registerLibraryForms();
    InstallLibraryPickers();
    return qx::app::RunAccount(qx::app::shellFactories());
}
