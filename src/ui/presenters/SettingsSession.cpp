#include "ui/presenters/SettingsSession.h"

#include <memory>
#include <set>

#include "common/StringUtils.h"
#include "environment/IniFile.h"
#include "model/CandidateMerge.h"
#include "storage/Options.h"
#include "storage/OptionsTypes.h"
#include "ui/presenters/TimeUpSettings.h"

namespace vh {

std::optional<int> NextSettingsStep(int current, const TStepVisibility& visible) {
    for (int step = current + 1; step < kSettingsStepCount; ++step)
        if (visible[static_cast<std::size_t>(step)]) return step;
    return std::nullopt;
}

std::optional<int> PreviousSettingsStep(int current, const TStepVisibility& visible) {
    for (int step = current - 1; step >= 0; --step)
        if (visible[static_cast<std::size_t>(step)]) return step;
    return std::nullopt;
}

bool ReminderTextFilled(std::string_view text) {
    return !Trim(text).empty();
}

TSettingsSession::TSettingsSession(TOptions& options, TAppearancePreferences& appearance, bool firstRun)
    : options_(options), appearance_(appearance), firstRun_(firstRun) {
    original_.transparency = appearance_.GetTransparency();
    original_.image = appearance_.GetBackgroundImage();
    original_.textColor = appearance_.GetTextColor();
    original_.color = appearance_.GetBackgroundColor();

    // A change waiting for the daily reset is what the user chose last: shown,
    // so that Apply without touching it keeps it rather than undoing it.
    const TTimeUpValues shown = ShownTimeUpValues(options_);
    TimeLimitSeconds = shown.timeLimitSeconds;
    ExpirationAction = shown.action;

    for (int type = 0; type < kReminderTypeCount; ++type)
        ReminderTexts[static_cast<std::size_t>(type)] = options_.GetReminderText(static_cast<TReminderType>(type));
    ReminderChangePeriod = options_.ReminderChangePeriod;

    working_.AssignFiltered(options_.MonitoredList(), mitAll, "");
    // Entries whose removal waits for the daily reset are shown inactive.
    TIniFile& ini = options_.Site().IniFile();
    for (TMonitoredItemType type : {mitApplication, mitWebSite}) {
        for (const std::string& name : ini.ReadSection(MonitoredListIniSection(type))) {
            const int index = working_.IndexOfName(name);
            if (index >= 0) working_.Items(index).Active = false;
        }
    }
    if (firstRun_) options_.ImmediateChangeAllowed = true;
}

TSettingsSession::~TSettingsSession() {
    options_.ImmediateChangeAllowed = false;
}

bool TSettingsSession::DeleteEntry(const TMonitoredItem& item) {
    const TAccessMode mode = options_.GetAccessMode();
    const int index = working_.IndexOfItem(item);
    if (mode == kAccessNone || index < 0) return false;
    if (mode == kAccessImmediate) {
        working_.Delete(index);
    } else {
        working_.Items(index).Active = false;
    }
    return true;
}

void TSettingsSession::MergeWizardResult(const TMonitoredList& result, std::string_view programFile) {
    // Pending removals the merge makes or undoes are recorded by Apply.
    static_cast<void>(MergeCandidates(result, working_, nullptr, programFile));
}

bool TSettingsSession::Apply() {
    StoreTimeUpValues(options_, TimeLimitSeconds / kSecondsPerDay, ExpirationAction);

    options_.MonitoredList().AssignFiltered(working_, mitAll, "");
    // An entry made inactive here is removed by the daily reset, which reads
    // the pending removals from the INI file; one active again (added back
    // through the wizard) is no longer pending. Only changes are written.
    TIniFile& ini = options_.Site().IniFile();
    std::set<std::string> pending;
    for (TMonitoredItemType type : {mitApplication, mitWebSite})
        for (const std::string& name : ini.ReadSection(MonitoredListIniSection(type)))
            pending.insert(AsciiLowerCase(name));
    for (int i = 0; i < working_.Count(); ++i) {
        const TMonitoredItem& entry = working_.Items(i);
        const bool recorded = pending.count(AsciiLowerCase(entry.Name)) > 0;
        if (entry.Active && recorded) options_.ForgetPendingRemoval(entry);
        if (!entry.Active && !recorded) options_.RecordPendingRemoval(entry);
    }

    for (int type = 0; type < kReminderTypeCount; ++type)
        options_.SetReminderText(static_cast<TReminderType>(type), ReminderTexts[static_cast<std::size_t>(type)]);
    options_.ReminderChangePeriod = ReminderChangePeriod;
    const bool saved = options_.Save();
    options_.ImmediateChangeAllowed = false;
    return saved;
}

void TSettingsSession::RestoreAppearance() {
    appearance_.SetTransparency(original_.transparency);
    appearance_.SetBackgroundImage(original_.image);
    appearance_.SetBackgroundColor(original_.color);
    appearance_.SetTextColor(original_.textColor);
}

}  // namespace vh
