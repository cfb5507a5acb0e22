// The main of every test program: a QApplication on the offscreen platform, the scripted
// dialog service installed so that no test ever waits on a real modal loop, and a binding the
// program would have installed but the test did not reported as a failure.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/env/DialogService.h"
#include "platform/env/MissingBinding.h"
#include "platform/env/ScriptedDialogService.h"
#include "tests/support/Scoped.h"

// The grid printer's start-up registrations (its report functions, and the grid printer behind
// the export unit), run as the program runs them in every test program that links the grid
// printer; the others leave these unresolved.
void registerLibraryReportFunctions() __attribute__((weak));
void registerGridPrinter() __attribute__((weak));

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    qx::DialogService::install(std::make_unique<qx::ScriptedDialogService>());
    qx::setMissingBindingHandler(qx::test::failOnMissingBinding());
    if (registerLibraryReportFunctions)
        registerLibraryReportFunctions();
    if (registerGridPrinter)
        registerGridPrinter();
    return RUN_ALL_TESTS();
}
