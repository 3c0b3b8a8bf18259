#pragma once
// What the reminder-change dialog reads and writes of the options: how long
// ago the reminder texts were changed, the moment the question was shown and
// how often to ask again. The dialog does not save; the next save of the
// options does.

#include <string>

#include "common/DateTime.h"

namespace vh {

class TOptions;

inline constexpr char kReminderChangeMessageFormat[] = "You have not updated your reminders in %d day(s)";

// Whole days from the last change to now, rounded to the nearest (never below 0).
int DaysSinceReminderChange(TDateTime changed, TDateTime now) noexcept;

// The dialog opens at `now`: the options' ReminderShowedDateTime becomes now,
// whatever the user answers; the answer is the message.
std::string OpenReminderChange(TOptions& options, TDateTime now);
// OK, Enter and Escape alike keep the period selected in the list; an index
// naming no period leaves the period as it was.
void CloseReminderChange(TOptions& options, int selectedIndex) noexcept;

}  // namespace vh
