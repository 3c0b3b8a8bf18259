#include "monitor/ScheduledFocus.h"

#include <exception>

#include "environment/IniFile.h"
#include "environment/Trace.h"
#include "storage/BlockScheduleStore.h"

namespace vh {

void TScheduledFocus::Load(const TIniFile& ini) {
    try {
        TBlockScheduleRead read = ReadBlockSchedule(ini);
        for (const std::string& problem : read.Problems) Trace(problem);
        state_ = std::move(read.State);
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TScheduledFocus.Load"));
        state_ = {};
    }
}

void TScheduledFocus::Change(TIniFile& ini, const TBlockSchedule& chosen, TDateTime nextReset) {
    const TBlockScheduleState next = ApplyScheduleChange(state_, chosen, nextReset);
    WriteBlockSchedule(ini, next);
    state_ = next;
}

std::optional<TRunningBlock> TScheduledFocus::Follow(TIniFile& ini, TDateTime nowUtc, const TUtcToLocal& toLocal,
                                                     std::optional<TBlockInterval> handFocus) {
    if (PendingScheduleDue(state_, nowUtc, toLocal)) {
        state_ = TakePendingSchedule(state_);
        try {
            WriteBlockSchedule(ini, state_);
        } catch (const std::exception& e) {
            // The file keeps the pending schedule, which the next start takes.
            TraceException(ErrorTraceText(e, "TScheduledFocus.Follow"));
        }
    }
    return RunningBlockAt(state_.InForce, nowUtc, toLocal, handFocus);
}

}  // namespace vh
