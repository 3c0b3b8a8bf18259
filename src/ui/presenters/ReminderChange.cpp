#include "ui/presenters/ReminderChange.h"

#include <cmath>
#include <cstdio>

#include "storage/Options.h"

namespace vh {

int DaysSinceReminderChange(TDateTime changed, TDateTime now) noexcept {
    // A change stamped after now (the clock was put back) is no negative age.
    const double days = std::nearbyint(now - changed);
    if (!(days > 0)) return 0;
    return days >= 1e9 ? 1000000000 : static_cast<int>(days);
}

std::string OpenReminderChange(TOptions& options, TDateTime now) {
    options.ReminderShowedDateTime = now;
    char text[96];
    std::snprintf(text, sizeof text, kReminderChangeMessageFormat,
                  DaysSinceReminderChange(options.ReminderChangedDateTime, now));
    return text;
}

void CloseReminderChange(TOptions& options, int selectedIndex) noexcept {
    if (selectedIndex < rcpNever || selectedIndex > rcpMonthly) return;
    options.ReminderChangePeriod = static_cast<TReminderChangePeriod>(selectedIndex);
}

}  // namespace vh
