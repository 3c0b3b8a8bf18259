#pragma once
// The values the time-up settings dialog shows and stores: the daily time
// limit and the action taken when it is used up.

#include <cstdint>

#include "common/DateTime.h"
#include "storage/OptionsTypes.h"

namespace vh {

class TOptions;

struct TTimeUpValues {
    std::int32_t timeLimitSeconds = 0;
    TExpirationAction action = eaReminderOnly;
};

// With immediate changes allowed, the values in force; otherwise the values
// pending for the next daily reset (INI section "Common"), each falling back
// to the value in force when none is recorded or the recorded one is not a
// valid limit or action.
TTimeUpValues ShownTimeUpValues(const TOptions& options);

// Hands the edited limit (a day fraction, rounded to whole seconds) and the
// chosen action's index to the options' setters, which decide whether the
// change applies now or at the next reset. An index that names no action
// leaves the action alone, and so does the action in force while the day's
// change of it is unused.
void StoreTimeUpValues(TOptions& options, TDateTime limit, int actionIndex);

}  // namespace vh
