#pragma once
// The firmness of the block schedule, as the daily limit's change rules have
// it: a change that tightens the schedule (a new period, a longer one, more
// days) is in force at once; one that loosens it (a deleted period, a shorter
// one, fewer days) waits for the next daily reset, and even then for no
// period of the old schedule to be running, so none is cut short.

#include <optional>

#include "common/DateTime.h"
#include "model/BlockPeriod.h"
#include "model/BlockScheduleRule.h"

namespace vh {

struct TBlockScheduleState {
    // What blocks now: the chosen schedule plus what it loosened away today.
    TBlockSchedule InForce;
    // The schedule last chosen when it loosens InForce; in force from
    // PendingFrom (local time) on.
    std::optional<TBlockSchedule> Pending;
    TDateTime PendingFrom = 0;
};

// Every wall-clock minute of the week `period` blocks is blocked by `schedule`.
bool Covers(const TBlockSchedule& schedule, const TBlockPeriod& period);

// The schedule the user last chose: the pending one, or the one in force.
const TBlockSchedule& ChosenSchedule(const TBlockScheduleState& state) noexcept;
// The periods in force that the chosen schedule drops or shortens: they go
// on blocking until the change takes effect.
TBlockSchedule PeriodsUntilReset(const TBlockScheduleState& state);

// `chosen` (valid periods, at most kMaxBlockPeriods) as the user's schedule:
// all of it is in force at once, and what it leaves out of the schedule in
// force stays in force until `nextReset`.
TBlockScheduleState ApplyScheduleChange(const TBlockScheduleState& state, const TBlockSchedule& chosen,
                                        TDateTime nextReset);

// True when a pending schedule may take over at `nowUtc`: the reset has
// come, and so has the end of the block of the schedule in force that was
// running at the reset, if one was.
bool PendingScheduleDue(const TBlockScheduleState& state, TDateTime nowUtc, const TUtcToLocal& toLocal);
// The pending schedule put in force.
TBlockScheduleState TakePendingSchedule(const TBlockScheduleState& state);

}  // namespace vh
