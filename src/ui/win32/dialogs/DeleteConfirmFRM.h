#pragma once
// "Confirm Delete": asks before an entry leaves the time-limit list. Created
// for one use; frees itself when closed.

#include <string>

#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {

class TfrmDeleteConfirm : public TfrmBase {
public:
    TfrmDeleteConfirm();

    TLabel& lblDescription;
    TImageButton& btnOk;
    TImageButton& btnCancel;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    // Shows the question about `caption` modally; true when OK was pressed.
    bool Execute(const std::string& caption);
};

}  // namespace vh::win32
