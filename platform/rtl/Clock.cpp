#include "platform/rtl/Clock.h"

#include <atomic>
#include <limits>

namespace {

// The fixed moment; NaN means "use the machine's clock".
std::atomic<double>& fixedMoment()
{
    static std::atomic<double> moment(std::numeric_limits<double>::quiet_NaN());
    return moment;
}

} // namespace

TDateTime Now()
{
    const double fixed = fixedMoment().load();
    if (fixed == fixed)
        return TDateTime(fixed);
    return TDateTime::fromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return Now().datePart();
}

TDateTime Time()
{
    return Now().timePart();
}

namespace qx {

void setToday(TDateTime moment)
{
    fixedMoment().store(moment.Val);
}

void setToday(const QDate& day)
{
    setToday(TDateTime::fromQDate(day));
}

void clearToday()
{
    fixedMoment().store(std::numeric_limits<double>::quiet_NaN());
}

} // namespace qx
