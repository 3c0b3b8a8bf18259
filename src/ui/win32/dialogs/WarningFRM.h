#pragma once
// The program's message box: a caption, a centred message and an OK button;
// Enter and Escape close it as OK does.

#include <string>

#include "ui/win32/skin/BaseFRM.h"
#include "ui/win32/skin/DialogKit.h"

namespace vh::win32 {

class TfrmWarning : public TfrmBase {
public:
    TfrmWarning();

    TLabel& lblWarning;
    TImageButton& btnOk;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    void CommonOkClick();
    // Shows `message`, the dialog sized to it (a long path stays readable).
    void SetMessage(const std::string& message);
};

// The program's message box: a modal TfrmWarning that frees itself.
void ShowWarning(const std::string& message, const std::string& caption);

// Checks an "hh:nn" time-limit edit; a refused text is explained with
// ShowWarning and the edit gets the focus.
bool CheckTimeLimitEdit(TForm& form, TWinControl& edit);

}  // namespace vh::win32
