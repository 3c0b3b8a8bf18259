#include "model/BlockScheduleRule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "doubles/FakeEnvironmentClock.h"
#include "environment/DateTimeUtils.h"
#include "model/BlockScheduleChanges.h"
#include "model/DayRules.h"

namespace vh {
namespace {

TDateTime At(int y, int mo, int d, int h, int mi) {
    return EncodeDateTime({y, mo, d, h, mi, 0, 0});
}

// 2026: Monday 7 December; the EU's daylight-saving days, Sunday 29 March
// (02:00 -> 03:00 at 01:00 UTC) and Sunday 25 October (03:00 -> 02:00).
enum class Zone { Plain, Spring, Autumn };

struct Check {
    double minutesAfterStart;         // real minutes on the program clock
    std::optional<TDateTime> endsAt;  // local; none: nothing runs
    bool scheduled = true;
};

struct ScheduleCase {
    const char* name;
    Zone zone;
    std::vector<const char*> inForce;
    std::optional<std::vector<const char*>> changedTo;  // chosen in the dialog at the start
    TDateTime startLocal;
    double handFocusMinutes;    // started by hand at the start
    double clockShiftHours;     // the system clock set after the start
    std::vector<Check> checks;  // in order
};

TBlockSchedule Schedule(const std::vector<const char*>& texts) {
    TBlockSchedule schedule;
    for (const char* text : texts) {
        const std::optional<TBlockPeriod> period = ParseBlockPeriod(text);
        EXPECT_TRUE(period.has_value()) << text;
        if (period) schedule.push_back(*period);
    }
    return schedule;
}

void SetZone(testing::FakeEnvironmentClock& clock, Zone zone) {
    clock.dstStartUtc.reset();
    clock.standardOffsetHours = 1;
    if (zone == Zone::Spring) {
        clock.daylightOffsetHours = 2;
        clock.dstStartUtc = At(2026, 3, 29, 1, 0);
    } else if (zone == Zone::Autumn) {
        clock.standardOffsetHours = 2;
        clock.daylightOffsetHours = 1;
        clock.dstStartUtc = At(2026, 10, 25, 1, 0);
    }
}

class BlockScheduleRule : public ::testing::TestWithParam<ScheduleCase> {
protected:
    void TearDown() override { FinalizeProgramClock(); }
    testing::FakeEnvironmentClock clock_;
};

TEST_P(BlockScheduleRule, RunsTheMergedBlockOnTheProgramClockUntilItsEnd) {
    const ScheduleCase& c = GetParam();
    SetZone(clock_, c.zone);
    const TUtcToLocal toLocal = [this](TDateTime utc) { return clock_.UtcToLocal(utc); };
    // The system clock reads the start; the zone's offset then is the one before any switch.
    clock_.utc = c.startLocal - clock_.standardOffsetHours / 24;
    ASSERT_NEAR(toLocal(clock_.utc), c.startLocal, 1e-9);
    InitializeProgramClock(clock_);

    TBlockScheduleState state{Schedule(c.inForce), std::nullopt, 0};
    if (c.changedTo) state = ApplyScheduleChange(state, Schedule(*c.changedTo), NextResetDateTime(ProgramNow()));
    std::optional<TBlockInterval> hand;
    if (c.handFocusMinutes > 0)
        hand = TBlockInterval{ProgramNowUtc(), ProgramNowUtc() + c.handFocusMinutes / kMinutesPerDay};

    clock_.utc += c.clockShiftHours / 24;
    double elapsed = 0;
    for (const Check& check : c.checks) {
        const double step = (check.minutesAfterStart - elapsed) * 60;
        clock_.Advance(step);
        clock_.utc += step / kSecondsPerDay;
        elapsed = check.minutesAfterStart;
        // A moved system clock is not drift: the program clock keeps its time.
        ResynchronizeProgramClock();
        if (PendingScheduleDue(state, ProgramNowUtc(), toLocal)) state = TakePendingSchedule(state);

        const std::optional<TRunningBlock> block = RunningBlockAt(state.InForce, ProgramNowUtc(), toLocal, hand);
        SCOPED_TRACE("at +" + std::to_string(check.minutesAfterStart) + " min");
        ASSERT_EQ(block.has_value(), check.endsAt.has_value());
        if (!block) continue;
        EXPECT_NEAR(toLocal(block->EndUtc), *check.endsAt, 1.0 / kSecondsPerDay);
        EXPECT_EQ(block->Scheduled, check.scheduled);
    }
}

const TDateTime kMonday = At(2026, 12, 7, 0, 0);
TDateTime Mon(int h, int mi, int days = 0) {
    return kMonday + days + EncodeTime(h, mi, 0);
}

INSTANTIATE_TEST_SUITE_P(
    BlockSchedule, BlockScheduleRule,
    ::testing::Values(
        ScheduleCase{
            "WeekdaysOnly",
            Zone::Plain,
            {"Mon,Tue,Wed,Thu,Fri 09:00-12:00"},
            {},
            Mon(8, 0, 4),
            0,
            0,
            {{59, {}}, {60, Mon(12, 0, 4)}, {239, Mon(12, 0, 4)}, {240, {}}, {26 * 60, {}}, {74 * 60, Mon(12, 0, 7)}}},
        ScheduleCase{"PastMidnightEndsOnTheNextDay",
                     Zone::Plain,
                     {"Sat 22:00-02:00"},
                     {},
                     Mon(21, 0, 5),
                     0,
                     0,
                     {{30, {}}, {90, Mon(2, 0, 6)}, {270, Mon(2, 0, 6)}, {300, {}}, {25 * 60 + 30, {}}}},
        ScheduleCase{"StartedWhileTheProgramWasNotRunning",
                     Zone::Plain,
                     {"Sat 22:00-02:00"},
                     {},
                     Mon(1, 0, 6),
                     0,
                     0,
                     {{0, Mon(2, 0, 6)}, {60, {}}}},
        ScheduleCase{"OverlappingPeriodsEndAtTheLatestEnd",
                     Zone::Plain,
                     {"Mon 09:00-12:00", "Mon 11:00-14:00", "Mon 14:00-15:00", "Mon 16:00-17:00"},
                     {},
                     Mon(10, 0),
                     0,
                     0,
                     {{0, Mon(15, 0)}, {300, {}}, {360, Mon(17, 0)}}},
        ScheduleCase{"HandFocusBeforeAPeriodRunsOnIntoIt",
                     Zone::Plain,
                     {"Mon 10:30-12:00"},
                     {},
                     Mon(10, 0),
                     60,
                     0,
                     {{0, Mon(12, 0)}, {100, Mon(12, 0)}}},
        ScheduleCase{"HandFocusOutlastingAPeriodKeepsItsEnd",
                     Zone::Plain,
                     {"Mon 10:30-12:00"},
                     {},
                     Mon(10, 0),
                     180,
                     0,
                     {{0, Mon(13, 0)}, {150, Mon(13, 0)}}},
        ScheduleCase{"HandFocusApartFromAPeriodIsNotScheduled",
                     Zone::Plain,
                     {"Mon 11:00-12:00"},
                     {},
                     Mon(10, 0),
                     30,
                     0,
                     {{0, Mon(10, 30), false}, {40, {}}, {60, Mon(12, 0)}}},
        ScheduleCase{"TighteningTakesEffectAtOnce",
                     Zone::Plain,
                     {"Mon 09:00-10:00"},
                     std::vector<const char*>{"Mon,Tue 09:00-12:00"},
                     Mon(10, 30),
                     0,
                     0,
                     {{0, Mon(12, 0)}, {23 * 60, Mon(12, 0, 1)}}},
        ScheduleCase{"LooseningWaitsForFourInTheMorning",
                     Zone::Plain,
                     {"Mon,Tue,Wed 09:00-12:00"},
                     std::vector<const char*>{"Mon,Wed 09:00-10:00"},
                     Mon(9, 30),
                     0,
                     0,
                     // Today's period keeps its end; Tuesday's is gone after the reset.
                     {{0, Mon(12, 0)}, {120, Mon(12, 0)}, {24 * 60, {}}, {48 * 60, Mon(10, 0, 2)}}},
        ScheduleCase{"LooseningRunningAtTheResetEndsWithThePeriod",
                     Zone::Plain,
                     {"Mon 22:00-06:00"},
                     std::vector<const char*>{},
                     Mon(23, 0),
                     0,
                     0,
                     {{0, Mon(6, 0, 1)}, {6 * 60, Mon(6, 0, 1)}, {7 * 60, {}}, {7 * 24 * 60, {}}}},
        ScheduleCase{"SpringStartInTheSkippedHourIsItsEnd",
                     Zone::Spring,
                     {"Sun 02:30-04:00", "Sun 02:10-02:40"},
                     {},
                     At(2026, 3, 29, 0, 30),
                     0,
                     0,
                     // 01:59 standard time, then 03:00 daylight time.
                     {{89, {}}, {90, At(2026, 3, 29, 4, 0)}, {149, At(2026, 3, 29, 4, 0)}, {150, {}}}},
        ScheduleCase{"AutumnRepeatedHourRunsOnce",
                     Zone::Autumn,
                     {"Sun 02:15-02:45"},
                     {},
                     At(2026, 10, 25, 0, 0),
                     0,
                     0,
                     // 02:15 and 02:45 daylight time, then 02:15 and 02:30 again in standard time.
                     {{134, {}}, {135, At(2026, 10, 25, 2, 45)}, {165, {}}, {195, {}}, {210, {}}}},
        ScheduleCase{"ClockSetForwardDoesNotEndAPeriod",
                     Zone::Plain,
                     {"Mon 09:00-12:00"},
                     {},
                     Mon(10, 0),
                     0,
                     3,
                     {{30, Mon(12, 0)}, {119, Mon(12, 0)}, {120, {}}}},
        ScheduleCase{"ClockSetBackDoesNotSkipAPeriod",
                     Zone::Plain,
                     {"Mon 09:00-12:00"},
                     {},
                     Mon(8, 30),
                     0,
                     -2,
                     {{30, Mon(12, 0)}, {200, Mon(12, 0)}, {210, {}}}}),
    [](const ::testing::TestParamInfo<ScheduleCase>& param) { return std::string(param.param.name); });

struct TextCase {
    const char* text;
    const char* stored;  // nullptr: refused
    const char* displayed;
};

class BlockPeriodTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(BlockPeriodTexts, ReadsTheStoredFormAndRefusesAnythingElse) {
    const TextCase& c = GetParam();
    const std::optional<TBlockPeriod> period = ParseBlockPeriod(c.text);
    ASSERT_EQ(period.has_value(), c.stored != nullptr) << c.text;
    if (!period) return;
    EXPECT_EQ(BlockPeriodText(*period), c.stored);
    EXPECT_EQ(BlockPeriodDisplayText(*period), c.displayed);
    EXPECT_EQ(ParseBlockPeriod(BlockPeriodText(*period)), period);
}

INSTANTIATE_TEST_SUITE_P(
    BlockSchedule, BlockPeriodTexts,
    ::testing::Values(TextCase{"Mon,Tue,Wed,Thu,Fri 09:00-12:00", "Mon,Tue,Wed,Thu,Fri 09:00-12:00",
                               "Mon\xE2\x80\x93"
                               "Fri  09:00\xE2\x80\x93"
                               "12:00"},
                      TextCase{" sat , SUN 22:00-02:00 ", "Sat,Sun 22:00-02:00",
                               "Sat, Sun  22:00\xE2\x80\x93"
                               "02:00"},
                      TextCase{"Mon,Wed,Fri,Sat,Sun 00:00-23:59", "Mon,Wed,Fri,Sat,Sun 00:00-23:59",
                               "Mon, Wed, Fri\xE2\x80\x93"
                               "Sun  00:00\xE2\x80\x93"
                               "23:59"},
                      TextCase{"Mon,Tue,Wed,Thu,Fri,Sat,Sun 08:00-09:00", "Mon,Tue,Wed,Thu,Fri,Sat,Sun 08:00-09:00",
                               "Every day  08:00\xE2\x80\x93"
                               "09:00"},
                      TextCase{"Mon 09:00-09:00", nullptr, nullptr}, TextCase{"Mon 24:00-01:00", nullptr, nullptr},
                      TextCase{"Mon 9:00-10:00", nullptr, nullptr}, TextCase{"Mo 09:00-10:00", nullptr, nullptr},
                      TextCase{"Mon,,Tue 09:00-10:00", nullptr, nullptr}, TextCase{"09:00-10:00", nullptr, nullptr},
                      TextCase{"", nullptr, nullptr}));

}  // namespace
}  // namespace vh
