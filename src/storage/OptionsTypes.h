#pragma once
// The enumerations of the options and the names under which they are stored.

#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/MonitoredObjects.h"

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

// "Reminder Only", "Close Browser/App.", "Shutdown Computer".
std::string ExpirationActionStorageName(TExpirationAction action);
// "never", "daily", "weekly", "fortnightly", "monthly".
std::string ReminderChangePeriodStorageName(TReminderChangePeriod period);
// "morning", "afternoon", "evening".
std::string ReminderTypeStorageName(TReminderType type);

// Stored names read back ignoring ASCII case; any other name gives the first value.
TExpirationAction ExpirationActionFromStorageName(std::string_view name);
TReminderChangePeriod ReminderChangePeriodFromStorageName(std::string_view name);
// Reminder types compare exactly; any other name gives rtMorning.
TReminderType ReminderTypeFromStorageName(std::string_view name);

// The list table of an item type ("applications_list", "websites_list") and
// its INI section of pending removals ("Applications", "WebSites").
std::string MonitoredListTableName(TMonitoredItemType type);
std::string MonitoredListIniSection(TMonitoredItemType type);

}  // namespace vh
