// A date of the calendars' date object as "year-month-day" without leading zeros.
#pragma once

#include "usystem/vcl/edits/uQxDate.h"

#include <QString>

namespace qx::test {

inline QString ymd(const TqxDate& d)
{
    return QStringLiteral("%1-%2-%3").arg(d.Year()).arg(d.Month()).arg(d.Day());
}

} // namespace qx::test
