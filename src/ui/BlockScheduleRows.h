#pragma once
// The Block Mode dialog's schedule list: what a choice of periods will do to
// the schedule in force, row by row, and the check of a period being edited.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "model/BlockScheduleChanges.h"

namespace vh {

struct TScheduleRow {
    std::string text;
    // The index in the chosen schedule; none for a period that only stays in
    // force until the reset (it cannot be edited, it is going).
    std::optional<std::size_t> chosenIndex;
};

// The chosen periods, then those the choice drops or shortens under the
// heading "Removed (takes effect tomorrow at 4:00 AM):" ("today" between
// midnight and the reset).
std::vector<TScheduleRow> ScheduleRows(const TBlockScheduleState& current, const TBlockSchedule& chosen, TDateTime now,
                                       TDateTime nextReset);

// "takes effect tomorrow at 4:00 AM", or "today" when the reset is today.
std::string TakesEffectText(TDateTime now, TDateTime nextReset);

struct TPeriodCheck {
    std::optional<TBlockPeriod> period;
    std::string problem;  // the warning when there is no period
};
// Days and the two "hh:nn" texts as the dialog holds them.
TPeriodCheck CheckSchedulePeriod(TWeekdays days, std::string_view start, std::string_view end);

}  // namespace vh
