// The main of every test program: a QApplication on the offscreen platform, and the scripted
// dialog service installed so that no test ever waits on a real modal loop.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/env/DialogService.h"
#include "platform/env/ScriptedDialogService.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    qx::DialogService::install(std::make_unique<qx::ScriptedDialogService>());
    return RUN_ALL_TESTS();
}
