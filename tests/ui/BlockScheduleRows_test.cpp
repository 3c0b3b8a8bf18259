#include "ui/BlockScheduleRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vh {
namespace {

TDateTime At(int d, int h) {
    return EncodeDateTime({2024, 3, d, h, 0, 0, 0});
}

TBlockSchedule Schedule(std::initializer_list<const char*> texts) {
    TBlockSchedule schedule;
    for (const char* text : texts) schedule.push_back(ParseBlockPeriod(text).value());
    return schedule;
}

struct RowsCase {
    const char* name;
    TBlockSchedule inForce;
    TBlockSchedule chosen;
    TDateTime now;
    std::vector<std::string> rows;
};

class ScheduleRowsShown : public ::testing::TestWithParam<RowsCase> {};

TEST_P(ScheduleRowsShown, ListTheChoiceThenWhatStaysInForceUntilTheReset) {
    const RowsCase& c = GetParam();
    std::vector<std::string> rows;
    for (const TScheduleRow& row : ScheduleRows({c.inForce, std::nullopt, 0}, c.chosen, c.now, At(11, 4)))
        rows.push_back(row.text + (row.chosenIndex ? "" : " [fixed]"));
    EXPECT_EQ(rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(BlockSchedule, ScheduleRowsShown,
                         ::testing::Values(RowsCase{"MoreDaysIsNoLoosening",
                                                    Schedule({"Mon 09:00-12:00"}),
                                                    Schedule({"Mon,Tue 08:00-12:00"}),
                                                    At(10, 9),
                                                    {"Mon, Tue  08:00\xE2\x80\x93"
                                                     "12:00"}},
                                           RowsCase{"ShorterWaitsUntilTomorrow",
                                                    Schedule({"Mon 09:00-12:00"}),
                                                    Schedule({"Mon 10:00-12:00"}),
                                                    At(10, 9),
                                                    {"Mon  10:00\xE2\x80\x93"
                                                     "12:00",
                                                     "Removed (takes effect tomorrow at 4:00 AM): [fixed]",
                                                     "    Mon  09:00\xE2\x80\x93"
                                                     "12:00 [fixed]"}},
                                           // Between midnight and 4:00 the reset is today's.
                                           RowsCase{"DeletedAfterMidnightWaitsUntilToday",
                                                    Schedule({"Mon 09:00-12:00"}),
                                                    {},
                                                    At(11, 1),
                                                    {"Removed (takes effect today at 4:00 AM): [fixed]",
                                                     "    Mon  09:00\xE2\x80\x93"
                                                     "12:00 [fixed]"}}),
                         [](const ::testing::TestParamInfo<RowsCase>& param) { return std::string(param.param.name); });

TEST(BlockScheduleRows, AnEditedPeriodNeedsADayAndTwoDifferentValidTimes) {
    EXPECT_EQ(CheckSchedulePeriod(0, "09:00", "10:00").problem, "Choose at least one day");
    EXPECT_EQ(CheckSchedulePeriod(1, "9:00", "10:00").problem, "'9:00' is not a valid time");
    EXPECT_EQ(CheckSchedulePeriod(1, "09:00", "24:00").problem, "'24:00' is not a valid time");
    EXPECT_EQ(CheckSchedulePeriod(1, "09:00", "09:00").problem, "A period must end at another time than it starts");
    EXPECT_EQ(CheckSchedulePeriod(0x41, "22:00", "02:00").period, (TBlockPeriod{0x41, 22 * 60, 2 * 60}));
}

}  // namespace
}  // namespace vh
