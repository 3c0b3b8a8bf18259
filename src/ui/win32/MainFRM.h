#pragma once
// The main window: the side bar that lives in the notification area. It owns
// the monitoring timers and hands their ticks, the hot key and the session
// and power notices to its monitoring side (TMainMonitor); its close only
// minimises. Its views come with the main window's views.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "model/MonitoredObjects.h"
#include "monitor/Enforcement.h"
#include "monitor/IMainWindow.h"
#include "monitor/MainMonitor.h"
#include "platform/win32/SystemShutdown.h"
#include "platform/win32/WindowSystem.h"
#include "ui/win32/BaseFRM.h"
#include "ui/win32/MainWindowNotices.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

inline constexpr char kApplicationTitle[] = "Vornhalt";
// The tray icon's callback message.
inline constexpr UINT kTrayIconMessage = WM_USER + 1;

class TfrmMain : public TfrmBase, private IMainWindow {
public:
    explicit TfrmMain(TOptions& options);
    ~TfrmMain() override;

    TTimer& tmrScan;
    TTimer& tmrUsage;
    TTimer& tmrTime;
    TTimer& tmrSaveOptions;
    TTimer& tmrReminderOnly;
    TTimer& tmrReminderChange;
    TTimer& tmrShutdown;
    TTimer& tmrTimeSynchronization;

    TMainMonitor& Monitor() noexcept { return monitor_; }

    // The add button: runs the add wizard over the options' list and applies
    // its result however the wizard was closed.
    void btnApp_AddClick();
    // Applies a list a dialog handed back (the add wizard's): the persisted
    // list and the engine's list of today's items take its entries, the list
    // is saved and the list view refreshed.
    void ApplyCandidates(const TMonitoredList& candidates);
    // Runs the add wizard; tests replace it.
    std::function<void(TOptions& options, TMonitoredList& result)> AddWizardRunner;

    // The reminder-change dialog comes with its own form; until it is
    // connected the change is not offered.
    std::function<void()> ReminderChangeRunner;

    void AfterConstruction() override;

protected:
    void FormClose(TCloseAction& action) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // IMainWindow
    void SetScanTimerEnabled(bool enabled) override;
    void SetReminderOnlyTimerEnabled(bool enabled) override;
    void SelectReminderPeriod(TReminderType period) override;
    void ShowNormalLayout() override;
    void RefreshUsage() override;
    void RefreshTime() override;
    void ClearListViews() override;
    void ShowDayStart(const std::string& timeLimitText, const std::string& expirationActionText) override;
    bool ShowReminder(bool inFocus, const std::string& remainingText, bool show5MinButton) override;
    void RunReminderChange() override;
    void MinimizeApplication() override;
    void TrayIconLeftClick() override;
    void TerminateApplication() override;

    void TrayIconMessage(LPARAM mouseMessage);

    TOptions& options_;
    WindowSystem windows_;
    SystemShutdown shutdown_;
    TEnforcement enforcement_{windows_, shutdown_};
    TMainMonitor monitor_;
    // Declared last: they go first, while the window still exists.
    std::optional<TSessionNotices> sessionNotices_;
    std::optional<TTrayIcon> trayIcon_;
    std::optional<THotKey> hotKey_;
};

}  // namespace vh::win32
