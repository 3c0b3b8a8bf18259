#pragma once
// The program's day: it starts at 4:00 AM, so a late evening and the small
// hours after it count as one day. Every rule that needs the day's start, the
// next daily reset or the period of the day reads it here.

#include "common/DateTime.h"
#include "model/OptionsEnums.h"

namespace vh {

inline constexpr double kDayStartHour = 4.0;
inline constexpr TDateTime kDayStartTime = kDayStartHour / 24.0;

// The date's 4:00 AM.
TDateTime DayStartOf(TDateTime date);
// The most recent 4:00 AM at or before `now`.
TDateTime TodayStart(TDateTime now);
// The first 4:00 AM after `now`.
TDateTime NextResetDateTime(TDateTime now);
// The reminder of a time of day: morning 4:00-12:00, afternoon 12:00-18:00,
// evening the rest.
TReminderType ReminderPeriodOf(TDateTime timeOfDay) noexcept;
// Days between reminder-change offers; monthly is the length of the month
// ahead of `now`, and a period without a length counts one day.
double ReminderChangePeriodDays(TReminderChangePeriod period, TDateTime now);

}  // namespace vh
