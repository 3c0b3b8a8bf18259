#include "environment/DateTimeUtils.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "common/Exceptions.h"

namespace vh {

namespace {

struct ClockState {
    IEnvironmentClock* clock = nullptr;
    bool usesPerformanceCounter = true;
    std::int64_t frequency = 1000;
    std::int64_t overhead = 0;
    TDateTime baseUtc = 0;
    TProgramStopwatch programStopwatch;
    bool initialized = false;
};

ClockState& State() {
    static ClockState state;
    return state;
}

std::mutex& InitializationLock() {
    static std::mutex lock;
    return lock;
}

std::int64_t CurrentTick() {
    ClockState& s = State();
    VH_ASSERT(s.initialized && s.clock != nullptr);
    return s.usesPerformanceCounter ? s.clock->PerformanceCounter() : s.clock->MillisecondCount();
}

// Nearest millisecond, so that midnight reads as the new day and not as a
// hair before it.
TDateTime RoundToMillisecond(TDateTime value) {
    constexpr double kMillisecondsPerDay = kSecondsPerDay * 1000;
    return std::round(value * kMillisecondsPerDay) / kMillisecondsPerDay;
}

void MeasureOverhead() {
    ClockState& s = State();
    s.overhead = 0;
    std::int64_t smallest = 0;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) s.clock->Sleep(10);
        TProgramStopwatch scratch;
        StartStopwatch(scratch);
        StopStopwatch(scratch);
        smallest = i == 0 ? scratch.AccumulatedTicks : std::min(smallest, scratch.AccumulatedTicks);
    }
    s.overhead = smallest;
}

}  // namespace

void ClearStopwatch(TProgramStopwatch& stopwatch) noexcept {
    stopwatch = TProgramStopwatch{};
}

void StartStopwatch(TProgramStopwatch& stopwatch) {
    if (stopwatch.NestingCount == 0) stopwatch.StartTick = CurrentTick();
    ++stopwatch.NestingCount;
}

void StopStopwatch(TProgramStopwatch& stopwatch) {
    VH_ASSERT(stopwatch.NestingCount > 0);
    if (--stopwatch.NestingCount != 0) return;
    const std::int64_t interval = CurrentTick() - stopwatch.StartTick;
    // Signed: a counter that stepped back must not wind the clock back.
    if (interval < State().overhead) return;
    stopwatch.AccumulatedTicks += interval - State().overhead;
}

long double StopwatchElapsedSeconds(const TProgramStopwatch& stopwatch) {
    return static_cast<long double>(stopwatch.AccumulatedTicks) / static_cast<long double>(State().frequency);
}

void InitializeProgramClock(IEnvironmentClock& clock) {
    std::lock_guard guard(InitializationLock());
    ClockState& s = State();
    s = ClockState{};
    s.clock = &clock;
    s.baseUtc = clock.UtcNow();
    const std::optional<std::int64_t> frequency = clock.PerformanceFrequency();
    s.usesPerformanceCounter = frequency.has_value() && *frequency > 0;
    s.frequency = s.usesPerformanceCounter ? *frequency : 1000;
    s.initialized = true;
    MeasureOverhead();
    StartStopwatch(s.programStopwatch);
}

void FinalizeProgramClock() noexcept {
    std::lock_guard guard(InitializationLock());
    State() = ClockState{};
}

bool ProgramClockInitialized() noexcept {
    return State().initialized;
}

TDateTime ProgramNowUtc() {
    ClockState& s = State();
    VH_ASSERT(s.initialized);
    StopStopwatch(s.programStopwatch);
    const long double seconds = StopwatchElapsedSeconds(s.programStopwatch);
    const TDateTime result = static_cast<double>(seconds / kSecondsPerDay) + s.baseUtc;
    StartStopwatch(s.programStopwatch);
    return result;
}

TDateTime ProgramNow() {
    const TDateTime utc = ProgramNowUtc();
    return RoundToMillisecond(State().clock->UtcToLocal(utc));
}

TDateTime ProgramLocalTimeOf(TDateTime utc) {
    VH_ASSERT(State().initialized);
    return RoundToMillisecond(State().clock->UtcToLocal(utc));
}

TDateTime ProgramDate() {
    return std::trunc(ProgramNow());
}

TDateTime ProgramTime() {
    const TDateTime now = ProgramNow();
    return now - std::trunc(now);
}

void ShiftProgramClock(double delta) {
    VH_ASSERT(State().initialized);
    State().baseUtc += delta;
}

bool ResynchronizeProgramClock() {
    VH_ASSERT(State().initialized);
    const double diff = State().clock->UtcNow() - ProgramNowUtc();
    // Compared in whole milliseconds, so that exactly 300 seconds is not
    // absorbed because of a rounding error in the day fractions.
    const double milliseconds = std::round(diff * kSecondsPerDay * 1000);
    if (std::fabs(milliseconds) >= kResynchronizationLimitSeconds * 1000) return false;
    ShiftProgramClock(diff);
    return true;
}

std::int64_t ProgramClockTickFrequency() {
    return State().frequency;
}

std::int64_t ProgramClockOverheadTicks() {
    return State().overhead;
}

}  // namespace vh
