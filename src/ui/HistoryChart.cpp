#include "ui/HistoryChart.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace vh {
namespace {

constexpr std::array<const char*, 7> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerQuarter = 900;

std::int64_t DayNumber(TDateTime date) {
    return static_cast<std::int64_t>(std::floor(date));
}

// 30 December 1899, day 0, was a Saturday.
const char* DayName(TDateTime date) {
    return kDayNames[static_cast<std::size_t>((DayNumber(date) % 7 + 6) % 7)];
}

const char* MonthName(int month) {
    return kMonthNames[static_cast<std::size_t>(month - 1)];
}

TDateTime FirstOfMonth(TDateTime date) {
    const DateTimeParts parts = DecodeDateTime(DateOf(date));
    return EncodeDate(parts.year, parts.month, 1);
}

int DaysOfRange(THistoryRange range) {
    switch (range) {
        case THistoryRange::Days7: return 7;
        case THistoryRange::Days30: return 30;
        case THistoryRange::Days90: return 90;
        case THistoryRange::Months12: break;
    }
    return 0;
}

std::string LimitSuffix(std::int64_t limitSeconds) {
    return limitSeconds > 0 ? ", limit " + DurationInWords(limitSeconds) : std::string();
}

// The entries by their time over the whole range, most first (ties by
// caption, so that the legend does not change order between two opens).
std::vector<std::pair<std::string, std::string>> EntriesByTime(const std::vector<const THistoryDay*>& days) {
    std::map<std::string, std::pair<std::string, std::int64_t>> totals;
    for (const THistoryDay* day : days) {
        for (const THistoryEntryTime& entry : day->Entries) {
            auto& total = totals[entry.Key];
            if (total.first.empty()) total.first = entry.Caption;
            total.second += entry.Seconds;
        }
    }
    std::vector<std::pair<std::string, std::pair<std::string, std::int64_t>>> ranked(totals.begin(), totals.end());
    std::erase_if(ranked, [](const auto& entry) { return entry.second.second <= 0; });
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        if (a.second.second != b.second.second) return a.second.second > b.second.second;
        return a.second.first < b.second.first;
    });
    std::vector<std::pair<std::string, std::string>> keysAndCaptions;
    for (const auto& [key, total] : ranked) keysAndCaptions.emplace_back(key, total.first);
    return keysAndCaptions;
}

// Grid lines on round times, four to six of them at most.
std::int64_t GridStepFor(std::int64_t highest) {
    if (highest <= kSecondsPerHour) return kSecondsPerQuarter;
    if (highest <= 4 * kSecondsPerHour) return kSecondsPerHour;
    if (highest <= 12 * kSecondsPerHour) return 2 * kSecondsPerHour;
    return 4 * kSecondsPerHour;
}

}  // namespace

std::string DurationInWords(std::int64_t seconds) {
    const std::int64_t minutes = std::max<std::int64_t>(0, seconds) / 60;
    const std::int64_t hours = minutes / 60;
    const std::int64_t rest = minutes % 60;
    if (hours == 0) return std::to_string(rest) + " min";
    if (rest == 0) return std::to_string(hours) + " h";
    return std::to_string(hours) + " h " + std::to_string(rest) + " min";
}

THistoryDates HistoryDates(THistoryRange range, TDateTime today) {
    const TDateTime last = DateOf(today);
    if (range == THistoryRange::Months12) return {IncMonth(FirstOfMonth(last), -11), last};
    return {last - (DaysOfRange(range) - 1), last};
}

THistoryChart BuildHistoryChart(THistoryRange range, TDateTime today, const std::vector<THistoryDay>& days,
                                std::int64_t limitSeconds, std::size_t topEntries) {
    const THistoryDates dates = HistoryDates(range, today);
    std::map<std::int64_t, const THistoryDay*> byDay;
    for (const THistoryDay& day : days) {
        const std::int64_t number = DayNumber(day.Date);
        if (number >= DayNumber(dates.First) && number <= DayNumber(dates.Last)) byDay[number] = &day;
    }
    std::vector<const THistoryDay*> inRange;
    for (const auto& [number, day] : byDay) inRange.push_back(day);

    THistoryChart chart;
    chart.LimitSeconds = std::max<std::int64_t>(0, limitSeconds);
    const auto entries = EntriesByTime(inRange);
    std::map<std::string, std::size_t> seriesOf;
    for (std::size_t i = 0; i < entries.size() && i < topEntries; ++i) {
        seriesOf[entries[i].first] = i;
        chart.Legend.push_back(entries[i].second);
    }
    const std::size_t otherSeries = chart.Legend.size();
    if (entries.size() > topEntries) chart.Legend.emplace_back(kHistoryOtherText);

    // Adds the days [first, last] into one bar, divided by `divisor`.
    auto makeBar = [&](TDateTime first, TDateTime last, std::int64_t divisor) {
        THistoryBar bar;
        bar.Date = first;
        std::vector<std::int64_t> series(chart.Legend.size(), 0);
        std::int64_t seconds = 0;
        for (std::int64_t number = DayNumber(first); number <= DayNumber(last); ++number) {
            auto day = byDay.find(number);
            if (day == byDay.end()) continue;
            seconds += day->second->ListSeconds;
            for (const THistoryEntryTime& entry : day->second->Entries) {
                auto found = seriesOf.find(entry.Key);
                const std::size_t index = found != seriesOf.end() ? found->second : otherSeries;
                if (index < series.size()) series[index] += entry.Seconds;
            }
        }
        bar.Seconds = seconds / divisor;
        for (std::size_t i = 0; i < series.size(); ++i) {
            if (series[i] > 0) bar.Segments.push_back({i, series[i] / divisor});
        }
        bar.OverLimit = chart.LimitSeconds > 0 && bar.Seconds > chart.LimitSeconds;
        return bar;
    };

    if (range == THistoryRange::Months12) {
        for (TDateTime month = dates.First; month <= dates.Last; month = IncMonth(month, 1)) {
            const DateTimeParts parts = DecodeDateTime(month);
            const TDateTime monthEnd = std::min(dates.Last, month + DaysInMonth(parts.year, parts.month) - 1);
            // The month so far: today's month is averaged over its days until today.
            THistoryBar bar = makeBar(month, monthEnd, DayNumber(monthEnd) - DayNumber(month) + 1);
            bar.Label = MonthName(parts.month);
            bar.Text = std::string(MonthName(parts.month)) + " " + std::to_string(parts.year) + ": " +
                       DurationInWords(bar.Seconds) + " a day" + LimitSuffix(chart.LimitSeconds);
            chart.Bars.push_back(std::move(bar));
        }
    } else {
        for (TDateTime date = dates.First; date <= dates.Last; date += 1) {
            THistoryBar bar = makeBar(date, date, 1);
            const DateTimeParts parts = DecodeDateTime(date);
            bar.Label = range == THistoryRange::Days7 ? std::string(DayName(date)) : std::to_string(parts.day);
            bar.Text = std::string(DayName(date)) + " " + std::to_string(parts.day) + " " + MonthName(parts.month) +
                       ": " + DurationInWords(bar.Seconds) + LimitSuffix(chart.LimitSeconds);
            chart.Bars.push_back(std::move(bar));
        }
    }

    std::int64_t highest = chart.LimitSeconds;
    for (const THistoryBar& bar : chart.Bars) {
        std::int64_t stacked = 0;
        for (const THistorySegment& segment : bar.Segments) stacked += segment.Seconds;
        // One interval can count for two entries (a listed browser showing a
        // listed site): the stack may stand above the time on the list.
        highest = std::max({highest, bar.Seconds, stacked});
    }
    // The top is the highest bar or the limit, up to the next grid line and
    // never below an hour.
    highest = std::max(highest, kSecondsPerHour);
    chart.GridSeconds = GridStepFor(highest);
    chart.ScaleSeconds = (highest + chart.GridSeconds - 1) / chart.GridSeconds * chart.GridSeconds;
    return chart;
}

}  // namespace vh
