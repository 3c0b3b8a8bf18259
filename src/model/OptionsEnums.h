#pragma once
// The enumerations of the options: what happens when the allowance is used
// up, how often the reminder texts are offered for change, the three
// reminders of the day, and what a user may change and what a removal did.

#include <cstdint>

namespace vh {

enum TExpirationAction : std::uint8_t {
    eaReminderOnly = 0,
    eaCloseBrowserApp = 1,
    eaShutdownComputer = 2,
};

enum TReminderChangePeriod : std::uint8_t {
    rcpNever = 0,
    rcpDaily = 1,
    rcpWeekly = 2,
    rcpFortnightly = 3,
    rcpMonthly = 4,
};

enum TReminderType : std::uint8_t {
    rtMorning = 0,
    rtAfternoon = 1,
    rtEvening = 2,
};

inline constexpr int kReminderTypeCount = 3;

// What the user may change now: nothing, removals that wait for the daily
// reset, or anything at once.
enum TAccessMode : std::uint8_t {
    kAccessNone = 0,
    kAccessDeferred = 1,
    kAccessImmediate = 2,
};

// What removing an entry from the time-limit list did.
enum class TDeleteResult : std::uint8_t {
    Nothing = 0,
    Deactivated = 1,  // the removal waits for the daily reset
    Deleted = 2,
};

}  // namespace vh
