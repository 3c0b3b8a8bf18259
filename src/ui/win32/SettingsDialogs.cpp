#include "ui/win32/SettingsDialogs.h"

#include "ui/win32/SettingsFRM.h"

namespace vh::win32 {

void ConnectSettingsDialogs(TfrmSettings& dialog) {
    static_cast<void>(dialog);
}

bool RunSettingsDialog(TOptions& options, TAppearancePreferences& appearance, bool firstRun) {
    auto& dialog = CreateForm<TfrmSettings>(options, appearance);
    ConnectSettingsDialogs(dialog);
    return dialog.ShowSettings(firstRun);
}

}  // namespace vh::win32
