#include "ui/presenters/TimeUpSettings.h"

#include <cmath>

#include "environment/IniFile.h"
#include "storage/Options.h"

namespace vh {
namespace {

bool ValidAction(std::int32_t value) noexcept {
    return value >= eaReminderOnly && value <= eaShutdownComputer;
}

}  // namespace

TTimeUpValues ShownTimeUpValues(const TOptions& options) {
    TTimeUpValues values{options.TimeLimitSeconds(), options.ExpirationAction()};
    if (options.ImmediateChangeAllowed) return values;
    TIniFile& ini = options.Site().IniFile();
    const std::int32_t limit = ini.ReadInteger(kCommonSection, "TimeLimitSeconds", values.timeLimitSeconds);
    if (limit > 0 && limit < kSecondsPerDay) values.timeLimitSeconds = limit;
    const std::int32_t action = ini.ReadInteger(kCommonSection, "ExpirationAction", values.action);
    if (ValidAction(action)) values.action = static_cast<TExpirationAction>(action);
    return values;
}

void StoreTimeUpValues(TOptions& options, TDateTime limit, int actionIndex) {
    options.SetTimeLimitSeconds(static_cast<std::int32_t>(std::lround(limit * kSecondsPerDay)));
    if (!ValidAction(actionIndex)) return;
    const auto action = static_cast<TExpirationAction>(actionIndex);
    // The action in force chosen again does not use up the day's one change;
    // once it is used up, the setter records the choice for the daily reset.
    if (action != options.ExpirationAction() || options.ExpirationActionChanged()) options.SetExpirationAction(action);
}

}  // namespace vh
