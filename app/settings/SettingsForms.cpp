#include "app/settings/SettingsForms.h"

#include "app/settings/uADict.h"
#include "app/settings/uARightSet.h"
#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAMain.h"

namespace qx::app {

void registerSettingsForms()
{
    registerForm(QStringLiteral("TFrmRightSet"), [](TFrmAMain& Owner) -> QWidget* {
        return new TFrmRightSet(Owner.Menu(QStringLiteral("报表中心")), &Owner);
    });
    registerForm(QStringLiteral("TFrmSystemSetup"),
                 [](TFrmAMain&) -> QWidget* { return new TFrmSystemSetup; });
}

} // namespace qx::app
