#include "ui/BlockScheduleRows.h"

#include <cmath>

namespace vh {

std::string TakesEffectText(TDateTime now, TDateTime nextReset) {
    const bool today = std::floor(nextReset) == std::floor(now);
    return std::string("takes effect ") + (today ? "today" : "tomorrow") + " at 4:00 AM";
}

std::vector<TScheduleRow> ScheduleRows(const TBlockScheduleState& current, const TBlockSchedule& chosen, TDateTime now,
                                       TDateTime nextReset) {
    std::vector<TScheduleRow> rows;
    for (std::size_t i = 0; i < chosen.size(); ++i) rows.push_back({BlockPeriodDisplayText(chosen[i]), i});
    const TBlockScheduleState after = ApplyScheduleChange(current, chosen, nextReset);
    const std::string when = TakesEffectText(now, after.Pending ? after.PendingFrom : nextReset);
    const TBlockSchedule going = PeriodsUntilReset(after);
    // Under a heading of their own: the note does not fit beside a period.
    if (!going.empty()) rows.push_back({"Removed (" + when + "):", std::nullopt});
    for (const TBlockPeriod& period : going) rows.push_back({"    " + BlockPeriodDisplayText(period), std::nullopt});
    return rows;
}

TPeriodCheck CheckSchedulePeriod(TWeekdays days, std::string_view start, std::string_view end) {
    if ((days & kAllWeekdays) == 0) return {std::nullopt, "Choose at least one day"};
    const std::optional<int> from = ParseMinuteText(start);
    if (!from) return {std::nullopt, "'" + std::string(start) + "' is not a valid time"};
    const std::optional<int> to = ParseMinuteText(end);
    if (!to) return {std::nullopt, "'" + std::string(end) + "' is not a valid time"};
    if (*from == *to) return {std::nullopt, "A period must end at another time than it starts"};
    return {TBlockPeriod{days, *from, *to}, {}};
}

}  // namespace vh
