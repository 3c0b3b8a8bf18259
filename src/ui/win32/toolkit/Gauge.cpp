#include "ui/win32/toolkit/Gauge.h"

#include <algorithm>
#include <string>

#include "platform/win32/Handles.h"

namespace vh::win32 {

void TGauge::SetProgress(int progress) {
    progress = std::clamp(progress, MinValue, std::max(MinValue, MaxValue));
    if (progress == progress_) return;
    progress_ = progress;
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_VALUECHANGE);
}

void TGauge::Paint(TBitmap32& buffer) {
    const IntRect at = DeviceRect();
    RECT whole{at.left, at.top, at.right, at.bottom};
    UniqueBrush back(CreateSolidBrush(BackColor));
    FillRect(buffer.Dc(), &whole, back.Get());
    const int range = MaxValue - MinValue;
    if (range <= 0) return;
    const int inner = at.Width() - 2;
    RECT bar{at.left + 1, at.top + 1, at.left + 1 + inner * (progress_ - MinValue) / range, at.bottom - 1};
    UniqueBrush fore(CreateSolidBrush(ForeColor));
    FillRect(buffer.Dc(), &bar, fore.Get());
    UniqueBrush frame(CreateSolidBrush(RGB(128, 128, 128)));
    FrameRect(buffer.Dc(), &whole, frame.Get());
}

TAccessibleInfo TGauge::AccessibleInfo() const {
    TAccessibleInfo info;
    info.role = TAccessibleRole::StaticText;
    info.name = AccessibleName;
    info.hasValue = true;
    info.value = std::to_string(progress_) + " %";
    return info;
}

}  // namespace vh::win32
