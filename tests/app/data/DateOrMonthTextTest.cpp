// The date text of the bills: the month, the day, nothing for other modes.
#include "DataModuleFixture.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace qx::app::test {
namespace {

struct DateCase
{
    int year, month, day;
    double timeOfDay;
    int mode;
    const char* text;
};

void PrintTo(const DateCase& c, std::ostream* os)
{
    *os << "mode " << c.mode << " of " << c.year << '-' << c.month << '-' << c.day;
}

class DateOrMonthTextTest : public CleanRunTest, public ::testing::WithParamInterface<DateCase>
{};

TEST_P(DateOrMonthTextTest, GivesTheText)
{
    SetupDateTimeFormats();
    const DateCase& c = GetParam();
    TdmdataUnit module; // the date text needs no connection
    const TDateTime date(EncodeDate(c.year, c.month, c.day).Val + c.timeOfDay);
    EXPECT_EQ(module.DateOrMonthText(c.mode, date), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Cases, DateOrMonthTextTest,
                         ::testing::Values(DateCase{2006, 3, 5, 0.0, 0, "2006-03"},
                                           DateCase{2006, 3, 5, 0.0, 1, "2006-03-05"},
                                           DateCase{2006, 11, 20, 0.0, 0, "2006-11"},
                                           DateCase{2006, 11, 20, 0.0, 1, "2006-11-20"},
                                           DateCase{2006, 10, 1, 0.0, 0, "2006-10"},
                                           DateCase{2006, 12, 31, 0.75, 1, "2006-12-31"},
                                           DateCase{2006, 3, 5, 0.5, 0, "2006-03"},
                                           DateCase{2006, 3, 5, 0.0, 2, ""},
                                           DateCase{2006, 3, 5, 0.0, -1, ""}),
                         [](const ::testing::TestParamInfo<DateCase>& info) {
                             const DateCase& c = info.param;
                             return "Mode" + std::string(c.mode < 0 ? "Minus1" : std::to_string(c.mode))
                                    + "_" + std::to_string(c.year) + "_" + std::to_string(c.month)
                                    + "_" + std::to_string(c.day) + (c.timeOfDay > 0 ? "_WithTime" : "");
                         });

} // namespace
} // namespace qx::app::test
