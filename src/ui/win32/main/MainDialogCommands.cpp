// The dialogs the main window opens from its views: the settings, the time-up
// settings and the delete confirmation.

#include <algorithm>

#include "common/ScopeExit.h"
#include "common/StringUtils.h"
#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "model/DurationText.h"
#include "monitor/MainMonitor.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/Options.h"
#include "storage/UsageStatistics.h"
#include "ui/MainViewRules.h"
#include "ui/presenters/ListEntryRemoval.h"
#include "ui/win32/dialogs/DeleteConfirmFRM.h"
#include "ui/win32/dialogs/ReminderSettingsFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/main/MainFRM.h"
#include "ui/win32/main/SettingsDialogs.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {

void TfrmMain::actSettingsExecute() {
    Trace("TfrmMain.actSettingsExecute started");
    tmrSaveOptions.SetEnabled(false);
    bool applied = false;
    {
        const ScopeExit restore([this] {
            tmrSaveOptions.SetEnabled(true);
            options_.ImmediateChangeAllowed = false;
        });
        applied = RunSettingsDialog(options_, AppearancePreferences(), false);
    }
    if (!applied) return;
    ApplyOptionsToWindow();
    // The rows point into the engine's list of today, which the load replaces.
    lbxMain_Applications.Clear();
    monitor_.Logger().MonitoredListLoad(false);
    FillMainList();
    RefreshTime();
    const TFormAppearance appearance = CurrentAppearance();
    SetColor(appearance.color);
    SetFormTransparency(*this, appearance.transparency);
    SetFormTextColor(*this, appearance.textColor);
    Invalidate();
}

void TfrmMain::actTimeEditExecute() {
    auto& dialog = CreateForm<TfrmReminderSettings>(options_);
    if (!dialog.Execute()) return;
    options_.Save();
    ShowTimeSettings();
    RefreshTime();
}

void TfrmMain::btnApp_DeleteClick() {
    const int index = lbxMain_Applications.ItemIndex();
    auto* item = index >= 0 ? static_cast<TMonitoredItem*>(lbxMain_Applications.Object(index)) : nullptr;
    switch (DeleteStepFor(item)) {
        case TDeleteStep::Nothing: return;
        case TDeleteStep::PendingNotice:
            ShowWarning(FormatWithCaption(kPendingRemovalFormat, item->Caption), kPleaseNote);
            return;
        case TDeleteStep::Confirm: break;
    }
    const std::string caption = lbxMain_Applications.Item(index);
    const bool confirmed =
        DeleteConfirmRunner ? DeleteConfirmRunner(caption) : CreateForm<TfrmDeleteConfirm>().Execute(caption);
    if (!confirmed) return;
    lbxMain_Applications.BeginUpdate();
    const ScopeExit endUpdate([this] { lbxMain_Applications.EndUpdate(); });
    // No row may keep pointing at an entry that is gone, also when the
    // removal fails part-way.
    ScopeExit clearRows([this] { lbxMain_Applications.Clear(); });
    // The row's item may be deleted: the list is refilled before any paint.
    RemoveListEntry(options_, monitor_.Logger(), *item);
    FillMainList();
    clearRows.Dismiss();
}

}  // namespace vh::win32
