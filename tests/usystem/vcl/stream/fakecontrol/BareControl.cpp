// A report library of another build that lacks the condition export: the binder must say so
// and call nothing.
#include "control/ControlExports.h"

extern "C" {

int ExectueFind(const char16_t*, const char16_t*, const char16_t*, const char16_t*)
{
    return QX_CONTROL_FALSE;
}

} // extern "C"
