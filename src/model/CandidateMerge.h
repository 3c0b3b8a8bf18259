#pragma once
// Applying a list that a dialog (the add wizard) handed back to the persisted
// time-limit list and the engine's list of today's items: ticked candidates
// are added or update their entry; unticked ones delete theirs, or leave it
// pending removal when the candidate is inactive.

#include <string_view>
#include <vector>

#include "model/MonitoredObjects.h"

namespace vh {

// What the merge changed about pending removals, for the caller to record
// where the daily reset finds them.
struct TCandidateMergeOutcome {
    std::vector<TMonitoredItem> NewlyPending;  // made inactive by this merge
    std::vector<TMonitoredItem> Reactivated;   // were pending, active again
};

// `today` may be absent. `programFile` is the running program's own path.
TCandidateMergeOutcome MergeCandidates(const TMonitoredList& candidates, TMonitoredList& persisted,
                                       TMonitoredList* today, std::string_view programFile);

}  // namespace vh
