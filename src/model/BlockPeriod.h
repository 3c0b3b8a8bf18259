#pragma once
// One period of the block schedule: days of the week and a wall-clock start
// and end. An end before the start runs past midnight into the next day; the
// days are the days a period starts on. Also its text forms: the one the INI
// file keeps ("Mon,Tue,Wed,Thu,Fri 09:00-12:00") and the one the dialog shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"

namespace vh {

inline constexpr int kMaxBlockPeriods = 20;
inline constexpr int kWeekMinutes = 7 * 1440;

// Bit 0 Monday ... bit 6 Sunday.
using TWeekdays = std::uint8_t;
inline constexpr TWeekdays kAllWeekdays = 0x7F;

struct TBlockPeriod {
    TWeekdays Days = 0;
    int StartMinute = 0;  // minutes after midnight, 0..1439
    int EndMinute = 0;    // the same; before StartMinute: on the next day
    friend bool operator==(const TBlockPeriod&, const TBlockPeriod&) = default;
};

using TBlockSchedule = std::vector<TBlockPeriod>;

// Some day, minutes in range, and a length: an end equal to the start is no period.
bool IsValidBlockPeriod(const TBlockPeriod& period) noexcept;
// 1..1439.
int BlockPeriodMinutes(const TBlockPeriod& period) noexcept;

// Monday 0 ... Sunday 6, of a date-time's day.
int WeekdayOf(TDateTime value) noexcept;
// "Mon" ... "Sun".
std::string_view WeekdayName(int weekday) noexcept;

// "Mon,Tue 09:00-12:00"; the period must be valid.
std::string BlockPeriodText(const TBlockPeriod& period);
// The form above; day names ignore case, spaces around the parts are allowed.
// None for anything else, an invalid period among it.
std::optional<TBlockPeriod> ParseBlockPeriod(std::string_view text);

// The dialog's row: runs of three or more days joined ("Mon–Fri, Sun
// 22:00–02:00"), "every day" for all seven, "(past midnight)" is left to
// the times.
std::string BlockPeriodDisplayText(const TBlockPeriod& period);
// "hh:nn" of a minute of the day, and back (00:00 to 23:59, two digits each).
std::string MinuteText(int minute);
std::optional<int> ParseMinuteText(std::string_view text);

}  // namespace vh
