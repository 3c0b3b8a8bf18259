#pragma once
// A progress gauge: a window-less bar filled from the left in proportion to
// its progress between a minimum and a maximum.

#include <windows.h>

#include "ui/win32/toolkit/Control.h"

namespace vh::win32 {

class TGauge : public TControl {
public:
    using TControl::TControl;

    int MinValue = 0;
    int MaxValue = 100;
    COLORREF ForeColor = RGB(0, 0, 128);  // the bar
    COLORREF BackColor = RGB(255, 255, 255);

    int Progress() const noexcept { return progress_; }
    // Clamped to the range; repaints when it changes.
    void SetProgress(int progress);

    void Paint(TBitmap32& buffer) override;
    TAccessibleInfo AccessibleInfo() const override;

private:
    int progress_ = 0;
};

}  // namespace vh::win32
