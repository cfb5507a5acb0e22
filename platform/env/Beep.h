// The desktop's warning beep, through one seam: every beep of the system (a character a box
// refuses, a search that finds nothing) goes through beep(), and tests put a hook of their own
// in place to hear it (tests/support/BeepCounter.h restores the previous hook).
#pragma once

#include <functional>

namespace qx {

using BeepHook = std::function<void()>;

// Sounds the beep: the hook when one is set, else the desktop's beep.
void beep();
// Replaces the hook (an empty one goes back to the desktop's beep) and returns the one before.
BeepHook setBeepHook(BeepHook hook);

} // namespace qx
