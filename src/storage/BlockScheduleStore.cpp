#include "storage/BlockScheduleStore.h"

#include <optional>

#include "common/StringUtils.h"
#include "environment/IniFile.h"
#include "storage/DateTimeText.h"

namespace vh {
namespace {

constexpr std::string_view kPeriodKey = "Period";
constexpr char kFromPattern[] = "yyyy-mm-dd hh:nn:ss";

bool IsPeriodKey(std::string_view key) noexcept {
    return key.size() > kPeriodKey.size() && SameTextAscii(key.substr(0, kPeriodKey.size()), kPeriodKey);
}

TBlockSchedule ReadPeriods(const TIniFile& ini, std::string_view section, std::vector<std::string>& problems) {
    TBlockSchedule schedule;
    for (const std::string& key : ini.ReadSection(section)) {
        if (section == kBlockSchedulePendingSection && SameTextAscii(key, kBlockSchedulePendingFromKey)) continue;
        const std::string value = ini.ReadString(section, key, "");
        const std::optional<TBlockPeriod> period = IsPeriodKey(key) ? ParseBlockPeriod(value) : std::nullopt;
        if (period)
            schedule.push_back(*period);
        else
            problems.push_back("Block schedule: [" + std::string(section) + "] " + key + "=" + value +
                               " is no period and was skipped");
    }
    return schedule;
}

// Period1..n, then every other key of the section removed.
void WritePeriods(TIniFile& ini, std::string_view section, const TBlockSchedule& schedule) {
    std::vector<std::string> written;
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        written.push_back(std::string(kPeriodKey) + std::to_string(i + 1));
        ini.WriteString(section, written.back(), BlockPeriodText(schedule[i]));
    }
    for (const std::string& key : ini.ReadSection(section)) {
        bool keep = false;
        for (const std::string& name : written) keep = keep || SameTextAscii(key, name);
        if (!keep) ini.DeleteKey(section, key);
    }
}

}  // namespace

TBlockScheduleRead ReadBlockSchedule(const TIniFile& ini) {
    TBlockScheduleRead read;
    read.State.InForce = ReadPeriods(ini, kBlockScheduleSection, read.Problems);
    if (!ini.SectionExists(kBlockSchedulePendingSection)) return read;
    TBlockSchedule pending = ReadPeriods(ini, kBlockSchedulePendingSection, read.Problems);
    const std::string from = ini.ReadString(kBlockSchedulePendingSection, kBlockSchedulePendingFromKey, "");
    const std::optional<TDateTime> fromTime = from.empty() ? std::nullopt : TextToDateTime(from, {});
    if (!fromTime) {
        read.Problems.push_back("Block schedule: [" + std::string(kBlockSchedulePendingSection) + "] " +
                                std::string(kBlockSchedulePendingFromKey) + "=" + from +
                                " is no date-time; the pending schedule was dropped");
        return read;
    }
    read.State.Pending = std::move(pending);
    read.State.PendingFrom = *fromTime;
    return read;
}

void WriteBlockSchedule(TIniFile& ini, const TBlockScheduleState& state) {
    WritePeriods(ini, kBlockScheduleSection, state.InForce);
    if (!state.Pending) {
        ini.EraseSection(kBlockSchedulePendingSection);
        return;
    }
    // "From" last: a pending section without it is not taken.
    ini.DeleteKey(kBlockSchedulePendingSection, kBlockSchedulePendingFromKey);
    WritePeriods(ini, kBlockSchedulePendingSection, *state.Pending);
    ini.WriteString(kBlockSchedulePendingSection, kBlockSchedulePendingFromKey,
                    FormatDateTimePattern(state.PendingFrom, kFromPattern, TDateTimeTextFormat{}));
}

}  // namespace vh
