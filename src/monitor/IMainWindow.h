#pragma once
// What the monitoring side of the main window asks of the window itself: its
// timers, its views and the dialogs it opens. The Win32 main window
// implements it; tests use a recording double.

#include <string>

#include "model/OptionsEnums.h"

namespace vh {

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual void SetScanTimerEnabled(bool enabled) = 0;
    virtual void SetReminderOnlyTimerEnabled(bool enabled) = 0;

    // The reminder-text selector.
    virtual void SelectReminderPeriod(TReminderType period) = 0;
    // The layout shown when focus mode is off.
    virtual void ShowNormalLayout() = 0;
    // The focus display instead of the time display and the Focus button.
    virtual void ShowFocusLayout() = 0;
    // The main list refilled from the engine's today list, and redrawn.
    virtual void RefreshUsage() = 0;
    // The time label and the focus-time label.
    virtual void RefreshTime() = 0;
    // Both list views emptied (the engine that fills them is about to go).
    virtual void ClearListViews() = 0;
    // After the daily reset: the time limit ("hh:nn"), the expiration action's
    // text, both lists from the new engine and the time label.
    virtual void ShowDayStart(const std::string& timeLimitText, const std::string& expirationActionText) = 0;

    // Runs the reminder window modally; true when the user took the
    // five-minute extension.
    virtual bool ShowReminder(bool inFocus, const std::string& remainingText, bool show5MinButton) = 0;
    // Runs the reminder-change dialog modally.
    virtual void RunReminderChange() = 0;

    virtual void MinimizeApplication() = 0;
    // What a left click on the tray icon does.
    virtual void TrayIconLeftClick() = 0;
    // Asks the application to end (the quit message follows).
    virtual void TerminateApplication() = 0;
};

}  // namespace vh
