#pragma once
// "Transparency Settings": picks the windows' transparency from a list. Each
// choice applies to this dialog at once, as a preview, and is stored; Cancel
// stores the value found at opening again. The caller applies the stored
// value to its own window.

#include <functional>

#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {

// The stored transparency preference (percent).
struct TTransparencyPreference {
    std::function<int()> Get;
    std::function<void(int)> Set;
};

class TfrmTransparencySettings : public TfrmBase {
public:
    // `onEnd` runs after every Execute (the options' immediate-change flag is
    // cleared there).
    explicit TfrmTransparencySettings(TTransparencyPreference preference, std::function<void()> onEnd = {});

    TLabel& lblAction;
    TImagePanel& pnlTransparencyCombo;
    TComboBox& cbxTransparency;
    TImageButton& btnCombo;
    TImageButton& btnOk;
    TImageButton& btnCancel;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;

    // True when OK was pressed.
    bool Execute();

private:
    int SelectedPercent() const noexcept;
    void cbxTransparencyChange();

    TTransparencyPreference preference_;
    std::function<void()> onEnd_;
    int kept_ = 0;
};

}  // namespace vh::win32
