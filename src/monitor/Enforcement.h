#pragma once
// What the program does when the day's allowance is used up or focus mode is
// on, once a reminder has ended: close the listed windows or shut the
// computer down.

#include "model/MonitoredObjects.h"
#include "model/OptionsEnums.h"
#include "platform/ISystemShutdown.h"
#include "platform/IWindowSystem.h"

namespace vh {

// The warning the system gives before the shutdown the program asks for.
inline constexpr unsigned kShutdownWarningSeconds = 60;

// The action at the end of a reminder without extension: closing in focus
// mode, otherwise the action chosen in the reminder, whose list has the
// indices of the expiration action ("Continue" is "Reminder Only").
int ReminderEndAction(bool focusMode, int chosenAction) noexcept;

class TEnforcement {
public:
    // Both must outlive the object.
    TEnforcement(IWindowSystem& windows, ISystemShutdown& shutdown) : windows_(windows), shutdown_(shutdown) {}

    // Posts WM_CLOSE to every top-level window whose application or address
    // matches an entry of the list, active or not. Uses a probe of its own, so
    // the scan's probe still describes the window in front.
    void CloseListedWindows(const TMonitoredList& list);

    // Enables the shutdown privilege, ends the session with force and asks
    // for the shutdown after `warningSeconds`. Raises EOSError when refused.
    void ShutdownComputer(unsigned warningSeconds);

    // The end of a reminder: nothing after the five-minute extension;
    // otherwise the action of ReminderEndAction (close the listed windows,
    // shut down, or nothing). Failures are raised to the caller.
    void EndReminder(bool fiveMinutesChosen, bool focusMode, int chosenAction, const TMonitoredList& list);

private:
    IWindowSystem& windows_;
    ISystemShutdown& shutdown_;
};

}  // namespace vh
