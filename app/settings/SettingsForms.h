// The settings dialogs the main window opens by class name: "TFrmRightSet" (operators and
// rights, owned by the main window, offered the rights of its report-centre menu) and
// "TFrmSystemSetup" (system settings, owned by the application). Start-up registers them once.
#pragma once

namespace qx::app {

void registerSettingsForms();

} // namespace qx::app
