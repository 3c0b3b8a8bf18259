#pragma once
// The block schedule in the INI file, in text a person can read: section
// "BlockSchedule" holds the periods in force, one key each
// ("Period1=Mon,Tue,Wed,Thu,Fri 09:00-12:00"); section "BlockSchedulePending"
// the schedule last chosen while it loosens them, with "From", the local
// time of the daily reset it waits for. The daily reset does not erase them.

#include <string>
#include <string_view>
#include <vector>

#include "model/BlockScheduleChanges.h"

namespace vh {

class TIniFile;

inline constexpr std::string_view kBlockScheduleSection = "BlockSchedule";
inline constexpr std::string_view kBlockSchedulePendingSection = "BlockSchedulePending";
inline constexpr std::string_view kBlockSchedulePendingFromKey = "From";

struct TBlockScheduleRead {
    TBlockScheduleState State;
    // One line per key that was skipped, for the trace.
    std::vector<std::string> Problems;
};

// Keys that do not hold a period are skipped; a pending section without a
// readable "From" is dropped, which leaves the stricter schedule in force.
// A file that cannot be read raises EFileError.
TBlockScheduleRead ReadBlockSchedule(const TIniFile& ini);

// Rewrites both sections, the periods in force first: a write cut short
// leaves at most a stricter schedule than chosen, never a looser one.
void WriteBlockSchedule(TIniFile& ini, const TBlockScheduleState& state);

}  // namespace vh
