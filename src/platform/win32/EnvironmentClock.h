#pragma once
// The program clock's time sources on Windows: the performance counter,
// GetTickCount64, the system clock and the current time zone's rules.

#include <windows.h>

#include "platform/IEnvironmentClock.h"

namespace vh::win32 {

class EnvironmentClock : public IEnvironmentClock {
public:
    std::optional<std::int64_t> PerformanceFrequency() override;
    std::int64_t PerformanceCounter() override;
    std::int64_t MillisecondCount() override;
    void Sleep(int milliseconds) override;
    TDateTime UtcNow() override;
    TDateTime UtcToLocal(TDateTime utc) override;
};

// SYSTEMTIME and TDateTime, to the millisecond.
TDateTime DateTimeFromSystemTime(const SYSTEMTIME& time);
SYSTEMTIME SystemTimeFromDateTime(TDateTime value);

}  // namespace vh::win32
