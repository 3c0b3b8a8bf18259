#pragma once
// What the settings dialog does, apart from its window: the steps, the
// background picture choice, the working copy of the time-limit list with
// its removals and the wizard's additions, Apply through the options' daily
// change rules, and Cancel restoring the appearance found at the start.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/MonitoredObjects.h"
#include "model/OptionsEnums.h"
#include "storage/AppearancePreferences.h"

namespace vh {

class TOptions;

// The dialog's steps in order: appearance, list, time limit, reminders.
enum TSettingsStep : int { ssBackground = 0, ssMonitoredList, ssExpiration, ssReminder };
inline constexpr int kSettingsStepCount = 4;
using TStepVisibility = std::array<bool, kSettingsStepCount>;

// The first visible step after `current` (-1: before the first); none means
// Apply.
std::optional<int> NextSettingsStep(int current, const TStepVisibility& visible);
// The last visible step before `current`; none means Cancel.
std::optional<int> PreviousSettingsStep(int current, const TStepVisibility& visible);

// The four appearance values the dialog changes at once.
struct TAppearanceValues {
    std::int32_t transparency = 0;
    std::string image;
    std::int32_t color = 0;
    std::int32_t textColor = 0;
};

// One showing of the dialog over the program's options. The options and the
// preferences must outlive it.
class TSettingsSession {
public:
    // Reads the appearance values (kept for Cancel) and the options' values;
    // in first-run mode removals are immediate until the session ends.
    TSettingsSession(TOptions& options, TAppearancePreferences& appearance, bool firstRun);
    // Removals are immediate only while the dialog is open, however it ends.
    ~TSettingsSession();
    TSettingsSession(const TSettingsSession&) = delete;
    TSettingsSession& operator=(const TSettingsSession&) = delete;

    bool FirstRun() const noexcept { return firstRun_; }
    TOptions& Options() noexcept { return options_; }
    TAppearancePreferences& Appearance() noexcept { return appearance_; }
    const TAppearanceValues& OriginalAppearance() const noexcept { return original_; }

    // The edited values, loaded from the options; the limit and the action
    // are those that will be in force after the next daily reset.
    TMonitoredList& WorkingList() noexcept { return working_; }
    std::int32_t TimeLimitSeconds = 0;
    TExpirationAction ExpirationAction = eaReminderOnly;
    std::array<std::string, kReminderTypeCount> ReminderTexts;
    TReminderChangePeriod ReminderChangePeriod = rcpNever;

    // A confirmed removal of the working list's entry named like `item`:
    // deleted with immediate access, made inactive (drawn grey, removed at the
    // next daily reset after Apply) with deferred access, untouched without
    // access. True when the list changed.
    bool DeleteEntry(const TMonitoredItem& item);
    // Merges the wizard's result into the working list.
    void MergeWizardResult(const TMonitoredList& result, std::string_view programFile);

    // Writes everything through the options' change rules and saves them.
    // False when the save failed (the options keep the values in memory).
    bool Apply();
    // Stores the appearance values found at the start again.
    void RestoreAppearance();

private:
    TOptions& options_;
    TAppearancePreferences& appearance_;
    bool firstRun_;
    TAppearanceValues original_;
    TMonitoredList working_;
};

// Whether a reminder text counts as filled (marked in the reminder list).
bool ReminderTextFilled(std::string_view text);

}  // namespace vh
