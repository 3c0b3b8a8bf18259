// Program entry: the environment, the single instance, the error handler,
// the databases of the first start, the main window in the tray and the
// message loop; then everything released in order.

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "app/win32/AppearanceConnection.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "environment/win32/ProgramEnvironment.h"
#include "monitor/MainMonitor.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/DatabaseFiles.h"
#include "storage/Options.h"
#include "ui/win32/dialogs/ErrorMessageFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/main/MainFRM.h"
#include "ui/win32/main/SettingsDialogs.h"
#include "ui/win32/settings/SettingsFRM.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"
#include "ui/win32/toolkit/Form.h"

namespace {

using namespace vh;
using namespace vh::win32;

// The first start asks for the list, the limit and the reminders before the
// main window exists; removals made meanwhile are immediate. Until there is a
// main window to watch for "uninstall.flag", the dialog watches for it: false
// when it appeared and the program must end.
bool RunFirstRunSettingsDialog(TOptions& options) {
    auto& dialog = CreateForm<TfrmSettings>(options, AppearancePreferences());
    ConnectSettingsDialogs(dialog);
    bool uninstalling = false;
    TTimer& watch = dialog.AddTimer();
    watch.SetInterval(kShutdownInterval);
    watch.OnTimer = [&](TTimer& timer) {
        if (!SafeFileExists(GProgramFolder() + kUninstallFlagFileName)) return;
        uninstalling = true;
        timer.SetEnabled(false);
        dialog.SetModalResult(mrCancel);
    };
    watch.SetEnabled(true);
    try {
        dialog.ShowSettings(true);
    } catch (...) {
        watch.SetEnabled(false);
        throw;
    }
    watch.SetEnabled(false);
    return !uninstalling;
}

int RunMessageLoop() {
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) DispatchFormMessage(message);
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

int RunProgram() {
    if (!AcquireInstanceLock()) {
        ShowWarning("Application is already running", kPleaseNote);
        return 0;
    }
    InstallApplicationErrorHandler();

    int exitCode = 1;
    TfrmMain* main = nullptr;
    bool uninstalling = false;
    try {
        // Told once the main window runs: a notice nobody answers (started
        // with Windows, behind other windows) must not hold the limits back.
        const std::vector<std::string> kept = CopyDatabasesToAppData();
        // Every window from here on takes the user's colours and picture.
        ConnectAppearancePreferences(AppearancePreferences());
        TOptions& options = GOptions_Local();
        // The log database's copy of the list decides what the engine counts:
        // a fresh log database, or a save cut short between the two files,
        // must not leave it behind the settings.
        options.MonitoredItemsSave();
        if (!options.IsNotFirstRun) {
            options.IsNotFirstRun = true;
            if (!RunFirstRunSettingsDialog(options)) uninstalling = true;
        }
        if (uninstalling) {
            exitCode = 0;
        } else {
            main = &CreateForm<TfrmMain>(options);
            if (!kept.empty()) main->PostNotice(DamagedDatabasesMessage(kept));
            exitCode = RunMessageLoop();
        }
    } catch (...) {
        HandleCurrentException("WinMain");
    }
    // The main window goes first (tray icon, hot key, notices), then the
    // options are saved while the lock is still held. Each step is traced:
    // setup and uninstall wait for the end.
    Trace("end: the message loop has ended");
    if (main) FreeForm(main);
    Trace("end: the main window is gone");
    FreeOptions();
    Trace("end: the options are released");
    // The program's end: another party's "Vornhalt.flag" goes with it.
    RemoveFlagFile();
    ReleaseInstanceLock();
    Trace("end: the instance lock is released");
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    int exitCode = 1;
    try {
        StartProgramEnvironment(TraceRequested(WideToUtf8(commandLine ? commandLine : L"")));
    } catch (const std::exception& e) {
        // The program cannot start without its folders.
        ApplicationErrorMessage().OnException(e);
        return exitCode;
    }
    try {
        exitCode = RunProgram();
    } catch (...) {
        HandleCurrentException("WinMain");
    }
    EndProgramEnvironment();
    return exitCode;
}
