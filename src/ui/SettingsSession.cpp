#include "ui/SettingsSession.h"

#include <memory>

#include "common/StringUtils.h"
#include "environment/IniFile.h"
#include "storage/Options.h"
#include "storage/OptionsTypes.h"
#include "ui/TimeUpSettings.h"

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
    for (int i = 0; i < result.Count(); ++i) {
        const TMonitoredItem& entry = result.Items(i);
        if (!entry.Selected && entry.Active) {
            // Unticked in the wizard: it leaves the list.
            const int index = working_.IndexOfItem(entry);
            if (index >= 0) working_.Delete(index);
            continue;
        }
        int index = -1;
        switch (working_.Classify(entry, index, programFile)) {
            case TClassifyCode::NotOnList: {
                auto copy = std::make_unique<TMonitoredItem>();
                copy->CopyFrom(entry);
                working_.Add(entry.Caption, std::move(copy));
                break;
            }
            case TClassifyCode::ActiveSelected:
            case TClassifyCode::Inactive:
            case TClassifyCode::ActiveNotSelected: {
                TMonitoredItem& found = working_.Items(index);
                found.Active = entry.Active;
                found.Caption = entry.Caption;
                break;
            }
            case TClassifyCode::OwnProgram: break;
        }
    }
}

bool TSettingsSession::Apply() {
    StoreTimeUpValues(options_, TimeLimitSeconds / kSecondsPerDay, ExpirationAction);

    options_.MonitoredList().AssignFiltered(working_, mitAll, "");
    // An entry made inactive here is removed by the daily reset, which reads
    // the pending removals from the INI file.
    TIniFile& ini = options_.Site().IniFile();
    for (int i = 0; i < working_.Count(); ++i) {
        const TMonitoredItem& entry = working_.Items(i);
        if (!entry.Active) ini.WriteString(MonitoredListIniSection(entry.ItemType), entry.Name, entry.Name);
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
