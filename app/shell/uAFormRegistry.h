// The forms the main window opens, by class name. The shell opens every module, dialog and
// maintenance step through this registry, so the units that make those forms register them
// here and the main window never names their classes. A name without a registered factory
// opens nothing.
#pragma once

#include <QString>

#include <functional>

class QWidget;
class TFrmAMain;

namespace qx::app {

// Makes a form. Owner is the main window; a browser becomes its MDI child, a dialog is run
// modally and frees itself when it closes.
using FormFactory = std::function<QWidget*(TFrmAMain& Owner)>;
// A menu command of the main window that is no form of its own ("压缩数据"...).
using MainCommand = std::function<void(TFrmAMain& Owner)>;

// Replaces an earlier registration of the same name; an empty factory removes it.
void registerForm(const QString& formClass, FormFactory factory);
FormFactory formFactory(const QString& formClass);

void registerCommand(const QString& caption, MainCommand command);
MainCommand mainCommand(const QString& caption);

// Forgets every registration (tests).
void clearFormRegistry();

} // namespace qx::app
