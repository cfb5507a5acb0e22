#include "app/shell/uALibraryForms.h"

#include "app/shell/uAFormRegistry.h"
#include "usystem/vcl/codebar/uQxCodebar.h"

namespace qx::app {

void registerLibraryForms()
{
    // Owned by the application, not by the main window: the caller runs it modally and it
    // frees itself when it closes.
    registerForm(QStringLiteral("TFrmCodeBar"), [](TFrmAMain&) -> QWidget* { return new TFrmCodeBar; });
}

} // namespace qx::app
