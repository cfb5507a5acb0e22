#include "documents/workorder/WorkOrderForms.h"

#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAMain.h"
#include "documents/workorder/uDayIn.h"

namespace qx::documents {

void registerWorkOrderForms()
{
    // A browser lives in the main window's MDI area and frees itself when it closes.
    qx::app::registerForm(QStringLiteral("TFrmDayIn"),
                          [](TFrmAMain& Owner) -> QWidget* { return new TFrmDayIn(&Owner); });
}

} // namespace qx::documents
