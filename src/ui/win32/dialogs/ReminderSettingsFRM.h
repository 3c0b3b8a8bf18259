#pragma once
// "Time-Up Settings": the daily time limit and the action taken when it is
// used up. Created for one use; frees itself when closed.

#include "ui/win32/skin/BaseFRM.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

class TfrmReminderSettings : public TfrmBase {
public:
    explicit TfrmReminderSettings(TOptions& options);

    TLabel& lblAppsDescription;
    TLabel& lblAction;
    TImagePanel& pnlExpirationAction;
    TImageButton& btnCombo;
    TLabel& lblTimeLimit;
    TLabel& lblTimeFormat;
    TImageButton& btnOk;
    TImageButton& btnCancel;
    TComboBox& cbxExpirationAction;
    TMaskEdit& medTimeLimit;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    // Shows the values (pending ones unless immediate changes are allowed),
    // and on OK hands the checked ones to the options. Immediate changes are
    // no longer allowed afterwards, whatever the answer.
    bool Execute();
    void btnOkClick();

private:
    TOptions& options_;
};

}  // namespace vh::win32
