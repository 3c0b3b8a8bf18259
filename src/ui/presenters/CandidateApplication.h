#pragma once
// The main window's ApplyCandidates without the window: a list handed back by
// a dialog (the add wizard) applied to the options' time-limit list and the
// engine's list of today's items, the removals it leaves pending recorded for
// the daily reset, and the list saved.

#include <string_view>

#include "model/MonitoredObjects.h"

namespace vh {

class TOptions;

// `today` may be absent. Saves the list when `candidates` is not empty;
// clears the options' ImmediateChangeAllowed in every case. A removal the INI
// file cannot record leaves its entry active (and raises after the save).
void ApplyCandidateList(TOptions& options, TMonitoredList* today, const TMonitoredList& candidates,
                        std::string_view programFile);

}  // namespace vh
