#include "platform/win32/EnvironmentClock.h"

#include <cmath>

namespace vh::win32 {

TDateTime DateTimeFromSystemTime(const SYSTEMTIME& time) {
    return EncodeDateTime(
        {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds});
}

SYSTEMTIME SystemTimeFromDateTime(TDateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(p.year);
    time.wMonth = static_cast<WORD>(p.month);
    time.wDay = static_cast<WORD>(p.day);
    time.wHour = static_cast<WORD>(p.hour);
    time.wMinute = static_cast<WORD>(p.minute);
    time.wSecond = static_cast<WORD>(p.second);
    time.wMilliseconds = static_cast<WORD>(p.millisecond);
    return time;
}

std::optional<std::int64_t> EnvironmentClock::PerformanceFrequency() {
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return std::nullopt;
    return frequency.QuadPart;
}

std::int64_t EnvironmentClock::PerformanceCounter() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// 64 bits: the 32-bit count wraps after 49.7 days, which a program living in
// the tray reaches.
std::int64_t EnvironmentClock::MillisecondCount() {
    return static_cast<std::int64_t>(GetTickCount64());
}

void EnvironmentClock::Sleep(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

TDateTime EnvironmentClock::UtcNow() {
    SYSTEMTIME time{};
    GetSystemTime(&time);
    return DateTimeFromSystemTime(time);
}

TDateTime EnvironmentClock::UtcToLocal(TDateTime utc) {
    const SYSTEMTIME universal = SystemTimeFromDateTime(utc);
    SYSTEMTIME local{};
    // The zone's rules for that date, so a moment after a daylight-saving
    // change gets the new offset.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return utc;
    return DateTimeFromSystemTime(local);
}

}  // namespace vh::win32
