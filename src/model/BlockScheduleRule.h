#pragma once
// Which block is running at a moment, and when it ends. Periods are kept in
// local wall-clock terms; the rule follows them on the program clock's
// universal time, so changing the system clock neither ends nor skips one,
// and a daylight-saving day moves them as the wall clock moves:
//  - a start in the skipped hour is the moment the skipped hour ends; an end
//    in it is read with the offset before the change, so the period keeps its
//    real length;
//  - a time in the repeated hour is its first occurrence, so a period there
//    runs once.
// Overlapping or touching occurrences and a hand-started focus merge into one
// block ending at the latest end.

#include <functional>
#include <optional>

#include "common/DateTime.h"
#include "model/BlockPeriod.h"

namespace vh {

// The local wall-clock time of a universal moment, under the time-zone rules.
using TUtcToLocal = std::function<TDateTime(TDateTime utc)>;

struct TBlockInterval {
    TDateTime StartUtc = 0;
    TDateTime EndUtc = 0;
};

// The universal moment of a local wall-clock time: in the skipped hour the
// moment it ends, in the repeated hour the first of the two.
TDateTime LocalToUtc(TDateTime local, const TUtcToLocal& toLocal);

// The universal moments of the occurrence of `period` that starts on the
// local date `localDate` (whether the period is on that weekday or not).
TBlockInterval ResolveOccurrence(const TBlockPeriod& period, TDateTime localDate, const TUtcToLocal& toLocal);

struct TRunningBlock {
    TDateTime StartUtc = 0;
    TDateTime EndUtc = 0;
    bool Scheduled = false;  // at least one period of the schedule is part of it
};

// The block running at `nowUtc` (start inclusive, end exclusive), or none.
// A schedule running round the clock is followed for a week at most.
std::optional<TRunningBlock> RunningBlockAt(const TBlockSchedule& schedule, TDateTime nowUtc,
                                            const TUtcToLocal& toLocal,
                                            std::optional<TBlockInterval> handFocus = std::nullopt);

}  // namespace vh
