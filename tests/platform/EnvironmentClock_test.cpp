#include "platform/win32/EnvironmentClock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "environment/DateTimeUtils.h"

namespace vh::win32 {
namespace {

TEST(EnvironmentClock, TimeSourcesAnswerSensibly) {
    EnvironmentClock clock;
    const auto frequency = clock.PerformanceFrequency();
    ASSERT_TRUE(frequency.has_value());
    EXPECT_GT(*frequency, 0);
    const std::int64_t first = clock.PerformanceCounter();
    clock.Sleep(20);
    const std::int64_t second = clock.PerformanceCounter();
    EXPECT_GE(second - first, *frequency / 100) << "20 ms of sleep advanced the counter by less than 10 ms";
    EXPECT_GT(clock.MillisecondCount(), 0);
}

TEST(EnvironmentClock, UtcToLocalAgreesWithTheSystemsLocalTime) {
    EnvironmentClock clock;
    SYSTEMTIME local{};
    GetLocalTime(&local);
    const TDateTime converted = clock.UtcToLocal(clock.UtcNow());
    EXPECT_LT(std::fabs(converted - DateTimeFromSystemTime(local)) * kSecondsPerDay, 2.0);
}

TEST(EnvironmentClock, SystemTimeConversionKeepsMilliseconds) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = 29;
    time.wHour = 23;
    time.wMinute = 59;
    time.wSecond = 59;
    time.wMilliseconds = 999;
    const SYSTEMTIME back = SystemTimeFromDateTime(DateTimeFromSystemTime(time));
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wHour, 23);
    EXPECT_EQ(back.wMilliseconds, 999);
}

TEST(EnvironmentClock, DrivesTheProgramClock) {
    EnvironmentClock clock;
    InitializeProgramClock(clock);
    const TDateTime start = ProgramNow();
    clock.Sleep(50);
    const double elapsed = (ProgramNow() - start) * kSecondsPerDay;
    FinalizeProgramClock();
    EXPECT_GE(elapsed, 0.04);
    EXPECT_LT(elapsed, 5.0);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_LT(std::fabs(start - DateTimeFromSystemTime(local)) * kSecondsPerDay, 5.0);
}

}  // namespace
}  // namespace vh::win32
