#include "ui/win32/main/SettingsDialogs.h"

#include <string>

#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"
#include "ui/win32/dialogs/DeleteConfirmFRM.h"
#include "ui/win32/settings/SettingsFRM.h"

namespace vh::win32 {

void ConnectSettingsDialogs(TfrmSettings& dialog) {
    dialog.ConfirmDelete = [](const std::string& caption) { return CreateForm<TfrmDeleteConfirm>().Execute(caption); };
    dialog.RunAddWizard = [&dialog](TOptions& options, TMonitoredList& list, TMonitoredList& result) {
        CreateForm<TfrmAppSiteAddWizard>(dialog.Handle()).Execute(&options, &list, &result);
    };
}

bool RunSettingsDialog(TOptions& options, TAppearancePreferences& appearance, bool firstRun) {
    auto& dialog = CreateForm<TfrmSettings>(options, appearance);
    ConnectSettingsDialogs(dialog);
    return dialog.ShowSettings(firstRun);
}

}  // namespace vh::win32
