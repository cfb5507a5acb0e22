// What the program installs at start-up so that lower layers can reach higher ones (the
// pickers behind the edits' and grids' buttons, the lookup hooks, the forms of the main
// window's registry) is never missing silently: a caller that finds a binding empty reports
// it here. The program shows the report as an error through the dialog service; the test main
// turns it into a test failure, so a test that forgets a binding says so.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace qx {

using MissingBindingHandler = std::function<void(QWidget* parent, const QString& what)>;

// Reports that what (a binding or a form class) was asked for but never installed.
void reportMissingBinding(QWidget* parent, const QString& what);

// Replaces the handler; an empty one restores the program's message box.
void setMissingBindingHandler(MissingBindingHandler handler);
const MissingBindingHandler& missingBindingHandler();

} // namespace qx
