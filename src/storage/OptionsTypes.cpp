#include "storage/OptionsTypes.h"

#include <array>

#include "common/Exceptions.h"
#include "common/StringUtils.h"

namespace vh {

namespace {

constexpr std::array<std::string_view, 3> kExpirationActionNames = {"Reminder Only", "Close Browser/App.",
                                                                    "Shutdown Computer"};
constexpr std::array<std::string_view, 5> kReminderChangePeriodNames = {"never", "daily", "weekly", "fortnightly",
                                                                        "monthly"};
constexpr std::array<std::string_view, 3> kReminderTypeNames = {"morning", "afternoon", "evening"};

template <std::size_t N>
std::string NameAt(const std::array<std::string_view, N>& names, unsigned index) {
    VH_ASSERT(index < N);
    return std::string(names[index]);
}

template <std::size_t N>
std::size_t IndexIgnoringCase(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (SameTextAscii(names[i], name)) return i;
    return 0;
}

}  // namespace

std::string ExpirationActionStorageName(TExpirationAction action) {
    return NameAt(kExpirationActionNames, action);
}

std::string ReminderChangePeriodStorageName(TReminderChangePeriod period) {
    return NameAt(kReminderChangePeriodNames, period);
}

std::string ReminderTypeStorageName(TReminderType type) {
    return NameAt(kReminderTypeNames, type);
}

TExpirationAction ExpirationActionFromStorageName(std::string_view name) {
    return static_cast<TExpirationAction>(IndexIgnoringCase(kExpirationActionNames, name));
}

TReminderChangePeriod ReminderChangePeriodFromStorageName(std::string_view name) {
    return static_cast<TReminderChangePeriod>(IndexIgnoringCase(kReminderChangePeriodNames, name));
}

TReminderType ReminderTypeFromStorageName(std::string_view name) {
    for (std::size_t i = 0; i < kReminderTypeNames.size(); ++i)
        if (kReminderTypeNames[i] == name) return static_cast<TReminderType>(i);
    return rtMorning;
}

std::string MonitoredListTableName(TMonitoredItemType type) {
    VH_ASSERT(type == mitApplication || type == mitWebSite);
    return type == mitApplication ? "applications_list" : "websites_list";
}

std::string MonitoredListIniSection(TMonitoredItemType type) {
    VH_ASSERT(type == mitApplication || type == mitWebSite);
    return type == mitApplication ? "Applications" : "WebSites";
}

}  // namespace vh
