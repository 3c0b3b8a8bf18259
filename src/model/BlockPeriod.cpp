#include "model/BlockPeriod.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "common/Exceptions.h"
#include "common/StringUtils.h"

namespace vh {
namespace {

constexpr std::array<std::string_view, 7> kNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr char kEnDash[] = "\xE2\x80\x93";

bool HasDay(TWeekdays days, int day) noexcept {
    return (days >> day) & 1;
}

// "hh:nn" with hh 00..23 and nn 00..59.
std::optional<int> ParseMinute(std::string_view text) {
    const std::string t = Trim(text);
    if (t.size() != 5 || t[2] != ':') return std::nullopt;
    for (const int i : {0, 1, 3, 4})
        if (t[static_cast<std::size_t>(i)] < '0' || t[static_cast<std::size_t>(i)] > '9') return std::nullopt;
    const int hours = (t[0] - '0') * 10 + (t[1] - '0');
    const int minutes = (t[3] - '0') * 10 + (t[4] - '0');
    if (hours > 23 || minutes > 59) return std::nullopt;
    return hours * 60 + minutes;
}

std::optional<TWeekdays> ParseDays(std::string_view text) {
    TWeekdays days = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string name = Trim(text.substr(from, comma - from));
        int day = 0;
        while (day < 7 && !SameTextAscii(name, kNames[static_cast<std::size_t>(day)])) ++day;
        if (day == 7) return std::nullopt;
        days = static_cast<TWeekdays>(days | (1u << day));
        from = comma + 1;
    }
    return days;
}

}  // namespace

bool IsValidBlockPeriod(const TBlockPeriod& period) noexcept {
    return (period.Days & kAllWeekdays) != 0 && (period.Days & ~kAllWeekdays) == 0 && period.StartMinute >= 0 &&
           period.StartMinute < 1440 && period.EndMinute >= 0 && period.EndMinute < 1440 &&
           period.StartMinute != period.EndMinute;
}

int BlockPeriodMinutes(const TBlockPeriod& period) noexcept {
    return (period.EndMinute - period.StartMinute + 1440) % 1440;
}

int WeekdayOf(TDateTime value) noexcept {
    // 30 December 1899, day 0, was a Saturday.
    const long long day = static_cast<long long>(std::floor(value));
    return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

std::string_view WeekdayName(int weekday) noexcept {
    return weekday >= 0 && weekday < 7 ? kNames[static_cast<std::size_t>(weekday)] : std::string_view{};
}

std::string MinuteText(int minute) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", (minute / 60) % 24, minute % 60);
    return text;
}

std::optional<int> ParseMinuteText(std::string_view text) {
    return ParseMinute(text);
}

std::string BlockPeriodText(const TBlockPeriod& period) {
    VH_ASSERT(IsValidBlockPeriod(period));
    std::string text;
    for (int day = 0; day < 7; ++day) {
        if (!HasDay(period.Days, day)) continue;
        if (!text.empty()) text += ',';
        text += kNames[static_cast<std::size_t>(day)];
    }
    return text + ' ' + MinuteText(period.StartMinute) + '-' + MinuteText(period.EndMinute);
}

std::optional<TBlockPeriod> ParseBlockPeriod(std::string_view text) {
    const std::string t = Trim(text);
    const std::size_t space = t.find_last_of(' ');
    if (space == std::string::npos) return std::nullopt;
    const std::string_view times = std::string_view(t).substr(space + 1);
    const std::size_t dash = times.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const std::optional<TWeekdays> days = ParseDays(std::string_view(t).substr(0, space));
    const std::optional<int> start = ParseMinute(times.substr(0, dash));
    const std::optional<int> end = ParseMinute(times.substr(dash + 1));
    if (!days || !start || !end) return std::nullopt;
    const TBlockPeriod period{*days, *start, *end};
    if (!IsValidBlockPeriod(period)) return std::nullopt;
    return period;
}

std::string BlockPeriodDisplayText(const TBlockPeriod& period) {
    std::string days;
    if ((period.Days & kAllWeekdays) == kAllWeekdays) {
        days = "Every day";
    } else {
        for (int day = 0; day < 7;) {
            if (!HasDay(period.Days, day)) {
                ++day;
                continue;
            }
            int last = day;
            while (last + 1 < 7 && HasDay(period.Days, last + 1)) ++last;
            if (!days.empty()) days += ", ";
            days += kNames[static_cast<std::size_t>(day)];
            if (last - day >= 2) {
                days += kEnDash;
                days += kNames[static_cast<std::size_t>(last)];
            } else if (last > day) {
                days += ", ";
                days += kNames[static_cast<std::size_t>(last)];
            }
            day = last + 1;
        }
    }
    return days + "  " + MinuteText(period.StartMinute) + kEnDash + MinuteText(period.EndMinute);
}

}  // namespace vh
