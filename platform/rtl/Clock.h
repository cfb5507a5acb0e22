// The clock of the system. Every "today" and "now" the system uses comes from here, so that
// tests can fix the day (qx::setToday) and get the same bill dates and numbers on every run.
#pragma once

#include "platform/rtl/DateTime.h"

// The current date and time, or the fixed moment set by qx::setToday.
TDateTime Now();
// The date part of Now().
TDateTime Date();
// The time part of Now().
TDateTime Time();

namespace qx {

// Fixes Now() at the given moment (a date alone is that day's midnight) until clearToday().
void setToday(TDateTime moment);
void setToday(const QDate& day);
// Back to the machine's clock.
void clearToday();

} // namespace qx
