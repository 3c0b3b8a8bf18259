#pragma once
// "Please change reminders": the small stay-on-top window that says how long
// ago the reminder texts were changed and asks how often to ask again. It
// only moves the options' ReminderShowedDateTime and ReminderChangePeriod;
// the next save of the options writes them. Created for one showing; frees
// itself when closed.

#include "ui/win32/skin/BaseFRM.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

inline constexpr char kReminderChangeCaption[] = "Please change reminders";

class TfrmReminderChange : public TfrmBase {
public:
    TfrmReminderChange();

    TLabel& lblWarningText;
    TLabel& lblRemindMe;
    TImagePanel& pnlReminderChangeFrequency;
    TImageButton& btnCombo;
    TImageButton& btnOk;
    TComboBox& cbxReminderChangeFrequency;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    // Shows the question modally; true when closed through the dialog's own
    // controls (every one of them answers OK).
    bool Execute(TOptions& options);

    // OK, Enter and Escape: the selected period is kept.
    void CommonOkClick();
    void btnComboClick();

    void AfterConstruction() override;

protected:
    void FormShow() override;

private:
    TOptions* options_ = nullptr;
};

}  // namespace vh::win32
