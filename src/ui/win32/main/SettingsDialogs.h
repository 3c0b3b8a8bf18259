#pragma once
// Runs the settings dialog with the dialogs it calls on: the delete
// confirmation and the add wizard.

namespace vh {
class TOptions;
class TAppearancePreferences;
}  // namespace vh

namespace vh::win32 {

class TfrmSettings;

// Gives the dialog its delete confirmation and add wizard.
void ConnectSettingsDialogs(TfrmSettings& dialog);

// Shows the settings dialog over the options; true when closed by Apply.
bool RunSettingsDialog(TOptions& options, TAppearancePreferences& appearance, bool firstRun);

}  // namespace vh::win32
