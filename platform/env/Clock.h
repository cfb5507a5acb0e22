// The clock lives in the run-time library, whose date conversions need "today" (a date typed
// without a year, two-digit years); this header is where the rest of the system finds it.
#pragma once

#include "platform/rtl/Clock.h"
