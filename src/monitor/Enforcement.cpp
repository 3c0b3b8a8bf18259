#include "monitor/Enforcement.h"

#include "common/Exceptions.h"
#include "monitor/ZuravoZazoApplication.h"

namespace vh {

int ReminderEndAction(bool focusMode, int chosenAction) noexcept {
    return focusMode ? eaCloseBrowserApp : chosenAction;
}

void TEnforcement::CloseListedWindows(const TMonitoredList& list) {
    TZuravoZazoApplication closer(windows_);
    closer.Execute(true, &list);
}

void TEnforcement::ShutdownComputer(unsigned warningSeconds) {
    shutdown_.EnableShutdownPrivilege();
    shutdown_.EndSessionForShutdown();
    try {
        shutdown_.RequestShutdown(warningSeconds);
    } catch (const EOSError& e) {
        // The forced end of the session asked for just before is already
        // under way: that is the shutdown wanted, not a failure to report.
        if (e.Code() != kErrorShutdownInProgress) throw;
    }
}

void TEnforcement::EndReminder(bool fiveMinutesChosen, bool focusMode, int chosenAction, const TMonitoredList& list) {
    if (fiveMinutesChosen) return;
    switch (ReminderEndAction(focusMode, chosenAction)) {
        case eaCloseBrowserApp: CloseListedWindows(list); break;
        case eaShutdownComputer: ShutdownComputer(kShutdownWarningSeconds); break;
        default: break;  // "Continue", or no choice at all
    }
}

}  // namespace vh
