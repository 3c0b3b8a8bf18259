#pragma once
// Time sources of the program clock: the high-resolution counter (or a
// millisecond count where there is none), the system clock in universal
// time and the conversion to local time under the time-zone rules.

#include <cstdint>
#include <optional>

#include "common/DateTime.h"

namespace vh {

class IEnvironmentClock {
public:
    virtual ~IEnvironmentClock() = default;

    // Ticks per second of the high-resolution counter; nullopt when there is none.
    virtual std::optional<std::int64_t> PerformanceFrequency() = 0;
    virtual std::int64_t PerformanceCounter() = 0;
    // A monotonic millisecond count, used when there is no performance counter.
    virtual std::int64_t MillisecondCount() = 0;
    virtual void Sleep(int milliseconds) = 0;

    // The system clock, universal time.
    virtual TDateTime UtcNow() = 0;
    // The local date-time of a universal moment, under the daylight-saving
    // rules in force at that moment.
    virtual TDateTime UtcToLocal(TDateTime utc) = 0;
};

}  // namespace vh
