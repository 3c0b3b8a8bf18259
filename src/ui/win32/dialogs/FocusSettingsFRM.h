#pragma once
// "Block Mode": the dialog that starts focus mode. The user types how long
// every site and application on the list is to be blocked; the "your list"
// link runs the add wizard, whose choices land in the caller's list (kept
// even when the dialog is cancelled). Beside it the "Schedule" part edits the
// periods that block by themselves. Created for one use; frees itself when
// closed.

#include <functional>
#include <optional>

#include "common/DateTime.h"
#include "model/BlockScheduleChanges.h"
#include "ui/win32/dialogs/FocusSchedulePart.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh {
class TMonitoredList;
}

namespace vh::win32 {

inline constexpr char kFocusSettingsCaption[] = "Block Mode";

class TfrmFocusSettings : public TfrmBase {
public:
    TfrmFocusSettings();

    TLabel& lblAppsDescription;
    TLabel& lblTimeLimit;
    TLabel& lblAppWizardLink;
    TLabel& lblHoursMinutes;
    TLabel& lblNote;
    TImageButton& btnOk;
    TImageButton& btnCancel;
    TMaskEdit& medTimeLimit;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;
    TFocusSchedulePart Schedule;

    // Runs the add wizard into the dialog's list. Without it the link is
    // not offered.
    std::function<void(TMonitoredList& list)> AppWizardRunner;

    // Shows the dialog modally with "00:00". On OK `duration` receives the
    // checked time as a day fraction and the answer is true; the wizard's
    // entries are in `list` whatever the answer.
    // With only the schedule changed, "00:00" closes with OK too, and
    // `duration` receives 0: nothing is started by hand.
    bool Execute(TDateTime& duration, TMonitoredList& list);
    // Before Execute: the schedule as it is at local time `now`.
    void SetSchedule(const TBlockScheduleState& current, TDateTime now, TDateTime nextReset);
    // After Execute: the schedule chosen, when it differs from the one given.
    std::optional<TBlockSchedule> ChangedSchedule() const;

    // Closes with OK only when the time is one focus mode can run for.
    void btnOkClick();
    void btnCancelClick();
    void lblAppWizardLinkClick();

protected:
    void FormDpiChanged() override;

private:
    // The edit and its unit follow the sentence in the font in use.
    void FitTexts();
    TMonitoredList* list_ = nullptr;
};

}  // namespace vh::win32
