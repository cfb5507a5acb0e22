// The component library's dialogs that the main window opens by class name ("TFrmCodeBar"
// from "条码打印"). Start-up registers them once, beside the application's own forms.
#pragma once

namespace qx::app {

void registerLibraryForms();

} // namespace qx::app
