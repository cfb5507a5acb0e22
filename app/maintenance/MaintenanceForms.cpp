#include "app/maintenance/MaintenanceForms.h"

#include "app/maintenance/MaintenanceCommands.h"
#include "app/maintenance/uBackupExit.h"
#include "app/maintenance/uClearData.h"
#include "app/maintenance/uUpData.h"
#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAMain.h"

namespace qx::app {

void registerMaintenanceForms()
{
    // The dialogs are run modally by the main window and free themselves when they close.
    registerForm(QStringLiteral("TFrmBackupExit"), [](TFrmAMain& Owner) -> QWidget* {
        auto* form = new TFrmBackupExit(&Owner);
        form->ProgramFolder = Owner.ProgramFolder;
        return form;
    });
    registerForm(QStringLiteral("TFrmClearData"), [](TFrmAMain& Owner) -> QWidget* { return new TFrmClearData(&Owner); });
    registerForm(QStringLiteral("TFrmUpData"), [](TFrmAMain& Owner) -> QWidget* { return new TFrmUpData(&Owner); });
    registerCommand(QStringLiteral("压缩数据"), &CompactDatabaseClick);
    registerCommand(QStringLiteral("备份数据"), &BackupDatabaseClick);
    registerCommand(QStringLiteral("恢复数据"), &RestoreDatabaseClick);
}

} // namespace qx::app
