#pragma once
// A test double of the program clock's time sources: a counter and a system
// clock that move only when the test says so, and a time zone with one
// daylight-saving switch.

#include <cstdint>
#include <optional>

#include "platform/IEnvironmentClock.h"

namespace vh::testing {

class FakeEnvironmentClock : public IEnvironmentClock {
public:
    std::optional<std::int64_t> frequency = 10'000'000;  // nullopt: no performance counter
    std::int64_t counter = 1'000'000;
    std::int64_t counterStepPerRead = 0;  // added after every counter read (the cost of a read)
    std::int64_t milliseconds = 5'000;
    TDateTime utc = 0;
    // Local = utc + standardOffset, or + daylightOffset from dstStartUtc on.
    double standardOffsetHours = 1;
    double daylightOffsetHours = 2;
    std::optional<TDateTime> dstStartUtc;
    int sleeps = 0;

    // Moves the counter (and the millisecond count) by real seconds.
    void Advance(double seconds) {
        counter += static_cast<std::int64_t>(seconds * static_cast<double>(frequency.value_or(1000)));
        milliseconds += static_cast<std::int64_t>(seconds * 1000);
    }

    std::optional<std::int64_t> PerformanceFrequency() override { return frequency; }
    std::int64_t PerformanceCounter() override {
        const std::int64_t value = counter;
        counter += counterStepPerRead;
        return value;
    }
    std::int64_t MillisecondCount() override {
        const std::int64_t value = milliseconds;
        milliseconds += counterStepPerRead;
        return value;
    }
    void Sleep(int) override { ++sleeps; }
    TDateTime UtcNow() override { return utc; }
    TDateTime UtcToLocal(TDateTime moment) override {
        const bool daylight = dstStartUtc && moment >= *dstStartUtc;
        return moment + (daylight ? daylightOffsetHours : standardOffsetHours) / 24.0;
    }
};

}  // namespace vh::testing
