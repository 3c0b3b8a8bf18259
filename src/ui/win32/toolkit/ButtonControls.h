#pragma once
// Native check boxes and push buttons: tab stops that Space works, read by
// screen readers through the system's own button objects.

#include <functional>
#include <string>

#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TForm& form);
    bool Checked() const noexcept;
    void SetChecked(bool checked) noexcept;
    // The width its caption needs beside the box, in 96-DPI pixels.
    int FittingWidth() const;
    void Command(WORD code) override;
};

class TPushButton : public TWinControl {
public:
    explicit TPushButton(TForm& form);
    std::function<void(TPushButton&)> OnClick;
    // Widens the button to its caption with `margin` 96-DPI pixels either side; never narrows it.
    void WidenToCaption(int margin);
    void Command(WORD code) override;
};

}  // namespace vh::win32
