#include "model/DayRules.h"

namespace vh {

TDateTime DayStartOf(TDateTime date) {
    return DateOf(date) + kDayStartTime;
}

TDateTime TodayStart(TDateTime now) {
    TDateTime from = DayStartOf(now);
    // A hair of tolerance: 04:00:00 read back from milliseconds must count as 04:00.
    if (from > now + 1e-9) from -= 1.0;
    return from;
}

TDateTime NextResetDateTime(TDateTime now) {
    TDateTime reset = DayStartOf(now);
    if (now >= reset) reset += 1;
    return reset;
}

TReminderType ReminderPeriodOf(TDateTime timeOfDay) noexcept {
    const double hours = timeOfDay * 24.0;
    if (hours < kDayStartHour || hours >= 18.0) return rtEvening;
    if (hours >= 12.0) return rtAfternoon;
    return rtMorning;
}

double ReminderChangePeriodDays(TReminderChangePeriod period, TDateTime now) {
    switch (period) {
        case rcpWeekly: return 7;
        case rcpFortnightly: return 14;
        case rcpMonthly: return IncMonth(now, 1) - now;
        default: return 1;
    }
}

}  // namespace vh
