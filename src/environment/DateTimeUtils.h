#pragma once
// The program clock. It is read from the system clock once, at start-up, and
// from then on advanced only by the high-resolution counter, so changing the
// system time does not move it. Its base is kept in universal time and turned
// into local time whenever it is read, so a daylight-saving change moves the
// local reading as the time-zone rules say while the clock itself runs on.
// Free functions over one module state, used on the user-interface thread.

#include <cstdint>

#include "common/DateTime.h"
#include "platform/IEnvironmentClock.h"

namespace vh {

// A stopwatch that can be started several times over; only the outermost
// start and stop count. Cleared means all fields 0.
struct TProgramStopwatch {
    std::int32_t NestingCount = 0;
    std::int64_t StartTick = 0;         // tick read when the count went from 0 to 1
    std::int64_t AccumulatedTicks = 0;  // sum of the completed running intervals
};

void ClearStopwatch(TProgramStopwatch& stopwatch) noexcept;
void StartStopwatch(TProgramStopwatch& stopwatch);
// A stop without a matching start is an assertion failure. An interval
// shorter than the measured overhead (or one that runs backwards) adds nothing.
void StopStopwatch(TProgramStopwatch& stopwatch);
long double StopwatchElapsedSeconds(const TProgramStopwatch& stopwatch);

// Start-up: takes the base from the system clock, picks the tick source,
// measures the overhead and starts the program stopwatch. The clock must
// outlive FinalizeProgramClock (or the next initialisation, which tests use).
void InitializeProgramClock(IEnvironmentClock& clock);
void FinalizeProgramClock() noexcept;
bool ProgramClockInitialized() noexcept;

TDateTime ProgramNow();   // local date-time, to the millisecond
TDateTime ProgramDate();  // midnight of ProgramNow's day
TDateTime ProgramTime();  // ProgramNow's time of day
// The same moment in universal time.
TDateTime ProgramNowUtc();
// The local date-time of a universal moment, under the rules ProgramNow reads by.
TDateTime ProgramLocalTimeOf(TDateTime utc);
// Moves the program clock by `delta` days.
void ShiftProgramClock(double delta);

// A difference to the system clock below this is drift and is absorbed;
// from this on it is a deliberate change of the system clock and ignored.
inline constexpr double kResynchronizationLimitSeconds = 300;
// Compares with the system clock and absorbs small drift; true when it did.
bool ResynchronizeProgramClock();

std::int64_t ProgramClockTickFrequency();
std::int64_t ProgramClockOverheadTicks();

}  // namespace vh
