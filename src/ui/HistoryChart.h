#pragma once
// The usage history as bars: one per day (or per month over a year), its
// height the time on the list, the daily limit to hold it against, and the
// same time split by entry for the stacked mode. What a bar says in words
// ("Mon 7 Dec: 2 h 14 min, limit 2 h") is the hint and the screen reader's
// name of the bar.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"

namespace vh {

enum class THistoryRange : std::uint8_t { Days7, Days30, Days90, Months12 };
inline constexpr std::array<const char*, 4> kHistoryRangeTexts{"Last 7 Days", "Last 30 Days", "Last 90 Days",
                                                               "Last 12 Months"};
// The legend's name of the entries beyond the top ones.
inline constexpr const char* kHistoryOtherText = "Other";
inline constexpr std::size_t kHistoryTopEntries = 5;

// One entry's time on one day; `Key` tells entries apart (type and name).
struct THistoryEntryTime {
    std::string Key;
    std::string Caption;
    std::int64_t Seconds = 0;
};

// One program day (the day that starts at 4:00 AM), by its date.
struct THistoryDay {
    TDateTime Date = 0;
    std::int64_t ListSeconds = 0;
    std::vector<THistoryEntryTime> Entries;
};

// The dates a range covers, ending with `today`: whole months over a year.
struct THistoryDates {
    TDateTime First = 0;
    TDateTime Last = 0;
};
THistoryDates HistoryDates(THistoryRange range, TDateTime today);

struct THistorySegment {
    std::size_t Series = 0;  // index into the chart's legend
    std::int64_t Seconds = 0;
};

struct THistoryBar {
    TDateTime Date = 0;  // the day, or the first of the month
    // The day's time on the list; a month's bar is its average day, so that
    // the daily limit stays the line it is held against.
    std::int64_t Seconds = 0;
    bool OverLimit = false;
    std::vector<THistorySegment> Segments;  // bottom first; they add up to Seconds
    std::string Label;                      // below the bar: "Mon", "7", "Dec"
    std::string Text;                       // "Mon 7 Dec: 2 h 14 min, limit 2 h"
};

struct THistoryChart {
    std::vector<THistoryBar> Bars;
    std::vector<std::string> Legend;  // the top entries by time, then "Other" when there are more
    std::int64_t LimitSeconds = 0;    // 0: no limit line
    std::int64_t ScaleSeconds = 0;    // the time at the top of the chart, a whole number of grid steps
    std::int64_t GridSeconds = 0;     // between two grid lines: a quarter, one, two or four hours
};

// Days missing from `days` count as days without time; days outside the
// range are left out.
THistoryChart BuildHistoryChart(THistoryRange range, TDateTime today, const std::vector<THistoryDay>& days,
                                std::int64_t limitSeconds, std::size_t topEntries = kHistoryTopEntries);

// "2 h 14 min", "2 h", "45 min", "0 min" (whole minutes, rounded down).
std::string DurationInWords(std::int64_t seconds);

}  // namespace vh
