#include "model/DayRules.h"

#include <gtest/gtest.h>

#include <string>

#include "model/DurationText.h"

namespace vh {
namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, 0});
}

struct DayCase {
    const char* name;
    TDateTime now;
    TDateTime todayStart;
    TDateTime nextReset;
};

class DayBoundaries : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayBoundaries, TodayStartsAtTheLastFourOClockAndTheNextResetIsTheFirstOneAhead) {
    const DayCase& c = GetParam();
    EXPECT_DOUBLE_EQ(TodayStart(c.now), c.todayStart);
    EXPECT_DOUBLE_EQ(NextResetDateTime(c.now), c.nextReset);
    EXPECT_GT(NextResetDateTime(c.now), c.now);
    EXPECT_LE(TodayStart(c.now), c.now + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    DayRules, DayBoundaries,
    ::testing::Values(DayCase{"OneInTheMorning", At(2024, 3, 10, 1, 0), At(2024, 3, 9, 4, 0), At(2024, 3, 10, 4, 0)},
                      DayCase{"JustBeforeFour", At(2024, 3, 10, 3, 59, 59), At(2024, 3, 9, 4, 0),
                              At(2024, 3, 10, 4, 0)},
                      DayCase{"AtFour", At(2024, 3, 10, 4, 0), At(2024, 3, 10, 4, 0), At(2024, 3, 11, 4, 0)},
                      DayCase{"LateEvening", At(2024, 3, 10, 23, 0), At(2024, 3, 10, 4, 0), At(2024, 3, 11, 4, 0)},
                      // Across a month and a year end.
                      DayCase{"YearEnd", At(2024, 12, 31, 23, 30), At(2024, 12, 31, 4, 0), At(2025, 1, 1, 4, 0)},
                      DayCase{"LeapDayNight", At(2024, 3, 1, 2, 0), At(2024, 2, 29, 4, 0), At(2024, 3, 1, 4, 0)}),
    [](const ::testing::TestParamInfo<DayCase>& param) { return std::string(param.param.name); });

TEST(DayRules, TodayStartToleratesFourOClockReadBackFromMilliseconds) {
    const TDateTime four = At(2024, 3, 10, 4, 0);
    EXPECT_DOUBLE_EQ(TodayStart(four - 1e-11), four);
    EXPECT_DOUBLE_EQ(DayStartOf(At(2024, 3, 10, 17, 45)), four);
}

TEST(DayRules, ReminderPeriodBoundaries) {
    struct Case {
        int hour, minute, second;
        TReminderType period;
    };
    for (const Case& c : {Case{3, 59, 59, rtEvening}, Case{4, 0, 0, rtMorning}, Case{11, 59, 59, rtMorning},
                          Case{12, 0, 0, rtAfternoon}, Case{17, 59, 59, rtAfternoon}, Case{18, 0, 0, rtEvening},
                          Case{0, 0, 0, rtEvening}})
        EXPECT_EQ(ReminderPeriodOf(EncodeTime(c.hour, c.minute, c.second, 0)), c.period) << c.hour << ":" << c.minute;
}

TEST(DayRules, ReminderChangePeriods) {
    const TDateTime now = At(2024, 1, 31, 10, 0);
    EXPECT_EQ(ReminderChangePeriodDays(rcpDaily, now), 1);
    EXPECT_EQ(ReminderChangePeriodDays(rcpWeekly, now), 7);
    EXPECT_EQ(ReminderChangePeriodDays(rcpFortnightly, now), 14);
    EXPECT_DOUBLE_EQ(ReminderChangePeriodDays(rcpMonthly, now), 29);  // to 29 February
    EXPECT_DOUBLE_EQ(ReminderChangePeriodDays(rcpMonthly, At(2023, 2, 10, 0, 0)), 28);
    EXPECT_DOUBLE_EQ(ReminderChangePeriodDays(rcpMonthly, At(2023, 12, 10, 0, 0)), 31);
    EXPECT_EQ(ReminderChangePeriodDays(static_cast<TReminderChangePeriod>(99), now), 1);
}

TEST(DurationText, TheRoundingIsTheCallersChoice) {
    struct Case {
        TDateTime duration;
        const char* nearest;
        const char* down;
    };
    for (const Case& c :
         {Case{EncodeTime(1, 30, 59, 0), "01:31", "01:30"}, Case{EncodeTime(8, 0, 0, 0), "08:00", "08:00"},
          Case{EncodeTime(1, 30, 29, 0), "01:30", "01:30"}, Case{1439.0 / 1440.0, "23:59", "23:59"},
          Case{0.5 / 24.0, "00:30", "00:30"}, Case{-0.01, "00:00", "00:00"}, Case{1.25, "30:00", "30:00"}}) {
        EXPECT_EQ(FormatHHNN(c.duration, TMinuteRounding::Nearest), c.nearest) << c.duration;
        EXPECT_EQ(FormatHHNN(c.duration, TMinuteRounding::Down), c.down) << c.duration;
    }
}

}  // namespace
}  // namespace vh
