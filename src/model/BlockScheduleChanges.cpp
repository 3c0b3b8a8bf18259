#include "model/BlockScheduleChanges.h"

#include <algorithm>
#include <bitset>

#include "common/Exceptions.h"

namespace vh {
namespace {

using TWeekMinutes = std::bitset<kWeekMinutes>;

// Minutes of the week from Monday 00:00; Sunday's past-midnight end wraps to Monday.
void Mark(TWeekMinutes& minutes, const TBlockPeriod& period) {
    const int length = BlockPeriodMinutes(period);
    for (int day = 0; day < 7; ++day) {
        if (!((period.Days >> day) & 1)) continue;
        const int first = day * 1440 + period.StartMinute;
        for (int m = 0; m < length; ++m) minutes.set(static_cast<std::size_t>((first + m) % kWeekMinutes));
    }
}

TWeekMinutes WeekMinutes(const TBlockSchedule& schedule) {
    TWeekMinutes minutes;
    for (const TBlockPeriod& period : schedule) Mark(minutes, period);
    return minutes;
}

bool Covered(const TWeekMinutes& schedule, const TBlockPeriod& period) {
    TWeekMinutes wanted;
    Mark(wanted, period);
    return (wanted & ~schedule).none();
}

}  // namespace

bool Covers(const TBlockSchedule& schedule, const TBlockPeriod& period) {
    return Covered(WeekMinutes(schedule), period);
}

const TBlockSchedule& ChosenSchedule(const TBlockScheduleState& state) noexcept {
    return state.Pending ? *state.Pending : state.InForce;
}

TBlockSchedule PeriodsUntilReset(const TBlockScheduleState& state) {
    const TWeekMinutes chosen = WeekMinutes(ChosenSchedule(state));
    TBlockSchedule kept;
    for (const TBlockPeriod& period : state.InForce)
        if (!Covered(chosen, period) && std::find(kept.begin(), kept.end(), period) == kept.end())
            kept.push_back(period);
    return kept;
}

TBlockScheduleState ApplyScheduleChange(const TBlockScheduleState& state, const TBlockSchedule& chosen,
                                        TDateTime nextReset) {
    VH_ASSERT(chosen.size() <= static_cast<std::size_t>(kMaxBlockPeriods));
    for (const TBlockPeriod& period : chosen) VH_ASSERT(IsValidBlockPeriod(period));
    // The same choice again (OK without a change) moves no reset.
    if (chosen == ChosenSchedule(state)) return state;
    const TWeekMinutes wanted = WeekMinutes(chosen);
    TBlockScheduleState next;
    next.InForce = chosen;
    // Everything in force today stays in force, also what an earlier change
    // of the day left until the reset.
    for (const TBlockPeriod& period : state.InForce)
        if (!Covered(wanted, period) &&
            std::find(next.InForce.begin(), next.InForce.end(), period) == next.InForce.end())
            next.InForce.push_back(period);
    if (next.InForce.size() > chosen.size()) {
        next.Pending = chosen;
        // Also for a pending change whose reset came while a period ran: a
        // new loosening never waits less than until the next reset.
        next.PendingFrom = nextReset;
    }
    return next;
}

bool PendingScheduleDue(const TBlockScheduleState& state, TDateTime nowUtc, const TUtcToLocal& toLocal) {
    if (!state.Pending) return false;
    const TDateTime resetUtc = LocalToUtc(state.PendingFrom, toLocal);
    if (nowUtc < resetUtc) return false;
    const std::optional<TRunningBlock> running = RunningBlockAt(state.InForce, resetUtc, toLocal);
    return !running || nowUtc >= running->EndUtc;
}

TBlockScheduleState TakePendingSchedule(const TBlockScheduleState& state) {
    VH_ASSERT(state.Pending.has_value());
    return TBlockScheduleState{*state.Pending, std::nullopt, 0};
}

}  // namespace vh
