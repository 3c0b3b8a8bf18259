#include "environment/DateTimeUtils.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/Exceptions.h"
#include "doubles/FakeEnvironmentClock.h"

namespace vh {
namespace {

using testing::FakeEnvironmentClock;

constexpr double kHour = 1.0 / 24;
constexpr double kSecond = 1.0 / kSecondsPerDay;

class ProgramClockTest : public ::testing::Test {
protected:
    ProgramClockTest() { clock.utc = EncodeDateTime({2026, 3, 29, 0, 30, 0, 0}); }
    ~ProgramClockTest() override { FinalizeProgramClock(); }
    void Start() { InitializeProgramClock(clock); }
    // Program time against an expected value, to the millisecond.
    static void ExpectTime(TDateTime actual, TDateTime expected) {
        EXPECT_EQ(std::llround(actual * kSecondsPerDay * 1000), std::llround(expected * kSecondsPerDay * 1000))
            << FormatTime(actual) << " vs " << FormatTime(expected);
    }
    static std::string FormatTime(TDateTime value) {
        const DateTimeParts p = DecodeDateTime(value);
        return std::to_string(p.year) + "-" + std::to_string(p.month) + "-" + std::to_string(p.day) + " " +
               std::to_string(p.hour) + ":" + std::to_string(p.minute) + ":" + std::to_string(p.second) + "." +
               std::to_string(p.millisecond);
    }
    FakeEnvironmentClock clock;
};

TEST_F(ProgramClockTest, StartsAtLocalSystemTimeAndAdvancesWithTheCounterOnly) {
    Start();
    ExpectTime(ProgramNow(), clock.utc + kHour);
    clock.Advance(90);
    ExpectTime(ProgramNow(), clock.utc + kHour + 90 * kSecond);
    clock.utc += kHour;  // the user sets the system clock an hour ahead
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 29, 1, 31, 30, 0}));
    EXPECT_FALSE(ResynchronizeProgramClock());
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 29, 1, 31, 30, 0}));
}

TEST_F(ProgramClockTest, FollowsADaylightSavingChangeWithoutResynchronisation) {
    clock.dstStartUtc = EncodeDateTime({2026, 3, 29, 1, 0, 0, 0});  // 02:00 local becomes 03:00
    Start();
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 29, 1, 30, 0, 0}));
    clock.Advance(3600);
    clock.utc += kHour;
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 29, 3, 30, 0, 0}));
    clock.Advance(24 * 3600.0);
    clock.utc += 1;
    // A day later the program still agrees with the local clock: the 4:00
    // boundary falls at 4:00, not at 3:00 or 5:00.
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 30, 3, 30, 0, 0}));
    EXPECT_TRUE(ResynchronizeProgramClock()) << "no difference to absorb but within the limit";
    ExpectTime(ProgramNow(), EncodeDateTime({2026, 3, 30, 3, 30, 0, 0}));
}

TEST_F(ProgramClockTest, DriftBelowFiveMinutesIsAbsorbedAndFromFiveMinutesOnIgnored) {
    Start();
    const TDateTime start = ProgramNowUtc();
    clock.Advance(3600);
    clock.utc = start + kHour + 120 * kSecond;  // the system clock ran two minutes further
    EXPECT_TRUE(ResynchronizeProgramClock());
    ExpectTime(ProgramNowUtc(), clock.utc);

    clock.utc = ProgramNowUtc() + 299 * kSecond;
    EXPECT_TRUE(ResynchronizeProgramClock());
    ExpectTime(ProgramNowUtc(), clock.utc);

    clock.utc = ProgramNowUtc() - 299 * kSecond;
    EXPECT_TRUE(ResynchronizeProgramClock());
    ExpectTime(ProgramNowUtc(), clock.utc);

    const TDateTime before = ProgramNowUtc();
    clock.utc = before + 300 * kSecond;
    EXPECT_FALSE(ResynchronizeProgramClock());
    clock.utc = before - 300 * kSecond;
    EXPECT_FALSE(ResynchronizeProgramClock());
    ExpectTime(ProgramNowUtc(), before);
}

TEST_F(ProgramClockTest, ProgramDateChangesExactlyAtMidnight) {
    clock.utc = EncodeDateTime({2026, 6, 1, 22, 59, 59, 0});  // 23:59:59 local
    Start();
    EXPECT_EQ(ProgramDate(), EncodeDate(2026, 6, 1));
    ExpectTime(ProgramTime(), EncodeTime(23, 59, 59));
    clock.Advance(1);
    EXPECT_EQ(ProgramDate(), EncodeDate(2026, 6, 2));
    EXPECT_EQ(ProgramTime(), 0);
    clock.Advance(0.0004);
    EXPECT_EQ(ProgramDate(), EncodeDate(2026, 6, 2));
}

TEST_F(ProgramClockTest, ShiftMovesTheClockByDays) {
    Start();
    const TDateTime before = ProgramNow();
    ShiftProgramClock(1.5);
    ExpectTime(ProgramNow(), before + 1.5);
}

TEST_F(ProgramClockTest, WithoutPerformanceCounterTheMillisecondCountDrivesIt) {
    clock.frequency.reset();
    Start();
    EXPECT_EQ(ProgramClockTickFrequency(), 1000);
    const TDateTime before = ProgramNowUtc();
    clock.milliseconds += 2500;
    ExpectTime(ProgramNowUtc(), before + 2.5 * kSecond);
}

TEST_F(ProgramClockTest, OverheadIsTheSmallestOfTenMeasurementsAndIsSubtracted) {
    clock.counterStepPerRead = 7;
    Start();
    EXPECT_EQ(clock.sleeps, 9);
    EXPECT_EQ(ProgramClockOverheadTicks(), 7);

    TProgramStopwatch watch;
    StartStopwatch(watch);  // reads the counter: +7
    clock.counter += 100;
    StopStopwatch(watch);
    EXPECT_EQ(watch.AccumulatedTicks, 100);
    EXPECT_DOUBLE_EQ(static_cast<double>(StopwatchElapsedSeconds(watch)), 100.0 / 10'000'000);

    clock.counterStepPerRead = 3;  // a stop sooner than the overhead adds nothing
    StartStopwatch(watch);
    StopStopwatch(watch);
    EXPECT_EQ(watch.AccumulatedTicks, 100);
}

TEST_F(ProgramClockTest, NestedStartsCountOnlyTheOutermostInterval) {
    Start();
    TProgramStopwatch watch;
    StartStopwatch(watch);
    clock.counter += 50;
    StartStopwatch(watch);
    clock.counter += 50;
    StopStopwatch(watch);
    EXPECT_EQ(watch.NestingCount, 1);
    EXPECT_EQ(watch.AccumulatedTicks, 0) << "still running";
    clock.counter += 50;
    StopStopwatch(watch);
    EXPECT_EQ(watch.NestingCount, 0);
    EXPECT_EQ(watch.AccumulatedTicks, 150);
    ClearStopwatch(watch);
    EXPECT_EQ(watch.AccumulatedTicks, 0);
    EXPECT_EQ(watch.StartTick, 0);
}

TEST_F(ProgramClockTest, ACounterThatStepsBackDoesNotWindTheClockBack) {
    Start();
    TProgramStopwatch watch;
    StartStopwatch(watch);
    clock.counter += 1000;
    StopStopwatch(watch);
    StartStopwatch(watch);
    clock.counter -= 5000;
    StopStopwatch(watch);
    EXPECT_EQ(watch.AccumulatedTicks, 1000);
    const TDateTime before = ProgramNowUtc();
    clock.counter -= 1'000'000;
    EXPECT_GE(ProgramNowUtc(), before);
}

TEST_F(ProgramClockTest, MisuseIsAnAssertionFailure) {
    EXPECT_THROW(ProgramNow(), EAssertionFailed);
    TProgramStopwatch watch;
    EXPECT_THROW(StartStopwatch(watch), EAssertionFailed);
    Start();
    EXPECT_THROW(StopStopwatch(watch), EAssertionFailed) << "a stop without a start";
    EXPECT_EQ(watch.NestingCount, 0);
}

}  // namespace
}  // namespace vh
