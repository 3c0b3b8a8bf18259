#pragma once
// The names under which the options' enumerations are stored.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/MonitoredObjects.h"
#include "model/OptionsEnums.h"

namespace vh {

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
