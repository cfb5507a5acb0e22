#include "app/shell/uAppExit.h"

#include <QCoreApplication>

namespace qx::app {

namespace {
bool terminated = false;
}

void terminateProgram()
{
    terminated = true;
    // Also leaves a modal loop the request came from, so nothing waits for an answer.
    QCoreApplication::exit(0);
}

bool programTerminated()
{
    return terminated;
}

void resetProgramTerminated()
{
    terminated = false;
}

} // namespace qx::app
