#pragma once
// The block schedule as the monitor follows it: read from the INI file once
// at the start (unreadable keys traced once), changed by the Block Mode
// dialog under the firmness rules, and asked on every scan which block is
// running, the pending looser schedule taken over once it is due.

#include <optional>

#include "common/DateTime.h"
#include "model/BlockScheduleChanges.h"

namespace vh {

class TIniFile;

class TScheduledFocus {
public:
    // Never raises: a file that cannot be read leaves the schedule empty and
    // says so in the trace.
    void Load(const TIniFile& ini);
    const TBlockScheduleState& State() const noexcept { return state_; }

    // The user's choice, stored at once; an EIniFileError leaves the
    // schedule as it was.
    void Change(TIniFile& ini, const TBlockSchedule& chosen, TDateTime nextReset);

    // The block running at `nowUtc` with the hand-started focus; none when
    // nothing runs. `toLocal` is the program clock's zone.
    std::optional<TRunningBlock> Follow(TIniFile& ini, TDateTime nowUtc, const TUtcToLocal& toLocal,
                                        std::optional<TBlockInterval> handFocus);

private:
    TBlockScheduleState state_;
};

}  // namespace vh
