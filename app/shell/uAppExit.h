// Ending the program from inside a form: a cancelled login at start-up, the confirmed close
// of the main window. The message loop (and any modal loop running inside it) ends; the
// start-up then releases the windows and the data module in order. Tests read the flag
// instead of losing their own process.
#pragma once

namespace qx::app {

// Marks the program as ending and ends every running event loop.
void terminateProgram();
// True once terminateProgram was called.
bool programTerminated();
// Forgets an earlier terminateProgram (tests start each case afresh).
void resetProgramTerminated();

} // namespace qx::app
