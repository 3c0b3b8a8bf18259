#include "storage/Options.h"

#include <optional>
#include <string>

#include "environment/IniFile.h"
#include "storage/FocusPeriod.h"

namespace vh {
namespace {

// Section "Common" goes, except a focus period still running, which
// outlives the day.
void EraseDayKeys(TIniFile& ini, TDateTime now) {
    const std::optional<TFocusPeriod> focus = ReadFocusPeriod(ini);
    if (!focus || focus->End < now) {
        if (ini.SectionExists(kCommonSection)) ini.EraseSection(kCommonSection);
        return;
    }
    for (const std::string& key : ini.ReadSection(kCommonSection)) {
        if (!IsFocusPeriodKey(key)) ini.DeleteKey(kCommonSection, key);
    }
}

}  // namespace

// One immediate increase of the limit and one change of the expiration action
// a day; later changes wait in section "Common" of the INI file until the
// daily reset applies them.

TAccessMode TOptions::GetAccessMode() const noexcept {
    if (ImmediateChangeAllowed) return kAccessImmediate;
    return AllowUserToChangeSettings ? kAccessDeferred : kAccessNone;
}

void TOptions::SetTimeLimitSeconds(std::int32_t value) {
    TIniFile& ini = site_.IniFile();
    if (!timeLimitSecondsChanged_) {
        // A decrease or an equal value does not use up the day's change.
        if (value > timeLimitSeconds_) timeLimitSecondsChanged_ = true;
        ini.DeleteKey(kCommonSection, "TimeLimitSeconds");
        timeLimitSeconds_ = value;
        ini.WriteBool(kCommonSection, "TimeLimitSecondsChanged", timeLimitSecondsChanged_);
    } else if (AllowUserToChangeSettings) {
        if (value < timeLimitSeconds_) {
            ini.DeleteKey(kCommonSection, "TimeLimitSeconds");
            timeLimitSeconds_ = value;
        } else {
            ini.WriteInteger(kCommonSection, "TimeLimitSeconds", value);
        }
    }
}

void TOptions::SetExpirationAction(TExpirationAction value) {
    TIniFile& ini = site_.IniFile();
    if (!expirationActionChanged_) {
        expirationAction_ = value;
        ini.DeleteKey(kCommonSection, "ExpirationAction");
        expirationActionChanged_ = true;
        ini.WriteBool(kCommonSection, "ExpirationActionChanged", true);
    } else if (AllowUserToChangeSettings) {
        ini.WriteInteger(kCommonSection, "ExpirationAction", static_cast<std::int32_t>(value));
    }
}

void TOptions::SetMonitoredItemDeleteActionProcessed(bool value) {
    monitoredItemDeleteActionProcessed_ = value;
    site_.IniFile().WriteBool(kCommonSection, "MonitoredItemDeleteActionProcessed", value);
}

TDeleteResult TOptions::MonitoredItemDelete(const TMonitoredItem& item) {
    const TAccessMode mode = GetAccessMode();
    if (mode == kAccessNone) return TDeleteResult::Nothing;
    const int index = monitoredList_.IndexOfItem(item);
    // An entry already gone reports what the access would have done, so the
    // caller still applies it to its own copies of the list.
    if (index < 0) return mode == kAccessImmediate ? TDeleteResult::Deleted : TDeleteResult::Deactivated;
    if (mode == kAccessImmediate) {
        monitoredList_.Delete(index);
        return TDeleteResult::Deleted;
    }
    if (!monitoredItemDeleteActionProcessed_) {
        // The day's one immediate removal; its INI copy is written elsewhere.
        monitoredItemDeleteActionProcessed_ = true;
        monitoredList_.Delete(index);
        return TDeleteResult::Deleted;
    }
    TMonitoredItem& entry = monitoredList_.Items(index);
    // Record the pending removal first: when the INI file refuses it, the
    // entry stays as it was instead of going inactive with nothing to remove it.
    site_.IniFile().WriteString(MonitoredListIniSection(entry.ItemType), item.Name, item.Name);
    entry.Active = false;
    return TDeleteResult::Deactivated;
}

void TOptions::RecordPendingRemoval(const TMonitoredItem& item) {
    site_.IniFile().WriteString(MonitoredListIniSection(item.ItemType), item.Name, item.Name);
}

void TOptions::ForgetPendingRemoval(const TMonitoredItem& item) {
    site_.IniFile().DeleteKey(MonitoredListIniSection(item.ItemType), item.Name);
}

void TOptions::ResetDayChanges() {
    TIniFile& ini = site_.IniFile();
    expirationActionChanged_ = false;
    timeLimitSecondsChanged_ = false;
    monitoredItemDeleteActionProcessed_ = false;
    ini.WriteBool(kCommonSection, "ExpirationActionChanged", false);
    ini.WriteBool(kCommonSection, "TimeLimitSecondsChanged", false);
    ini.WriteBool(kCommonSection, "MonitoredItemDeleteActionProcessed", false);
    if (AllowUserToChangeSettings) {
        const std::int32_t limit = ini.ReadInteger(kCommonSection, "TimeLimitSeconds", -1);
        if (limit > 0) timeLimitSeconds_ = limit;
        const std::int32_t action = ini.ReadInteger(kCommonSection, "ExpirationAction", -1);
        if (action >= eaReminderOnly && action <= eaShutdownComputer)
            expirationAction_ = static_cast<TExpirationAction>(action);
    }
    EraseDayKeys(ini, site_.Now());
}

void TOptions::ApplyDeferredRemovals(TMonitoredList* alsoFrom) {
    TIniFile& ini = site_.IniFile();
    for (TMonitoredItemType type : {mitApplication, mitWebSite}) {
        const std::string section = MonitoredListIniSection(type);
        if (AllowUserToChangeSettings) {
            for (const std::string& name : ini.ReadSection(section)) {
                const int index = monitoredList_.IndexOfName(name);
                if (index >= 0) monitoredList_.Delete(index);
                if (alsoFrom) {
                    const int otherIndex = alsoFrom->IndexOfName(name);
                    if (otherIndex >= 0) alsoFrom->Delete(otherIndex);
                }
            }
        }
        if (ini.SectionExists(section)) ini.EraseSection(section);
    }
}

}  // namespace vh
