// Routes the mouse of a form's client area to its window-less controls: the
// topmost visible, enabled control under the pointer gets it, and a pressed
// control keeps it (capture) until every button is up.
#include <windowsx.h>

#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {

TControl* TForm::ControlAt(int x, int y) const noexcept {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl& control = **it;
        if (control.Visible() && control.Enabled() && !control.Page && control.DeviceRect().Contains(x, y)) {
            return &control;
        }
    }
    return nullptr;
}

void TForm::SetHover(TControl* control) {
    if (control == hover_) return;
    TControl* previous = std::exchange(hover_, control);
    if (previous) previous->MouseLeave();
    if (control) control->MouseEnter();
}

void TForm::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const TShiftState shift = ShiftStateFromKeys(wParam);
    const TMouseButton button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)   ? TMouseButton::mbLeft
                                : (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) ? TMouseButton::mbRight
                                                                                         : TMouseButton::mbMiddle;
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (down) {
        TControl* target = ControlAt(x, y);
        if (!target) return;
        captured_ = target;
        if (button == TMouseButton::mbLeft) pressed_ = target;
        SetCapture(Handle());
        const IntRect at = target->DeviceRect();
        target->MouseDown(button, shift, x - at.left, y - at.top);
        return;
    }
    TControl* target = captured_;
    if (!target) return;
    if (!shift.left && !shift.right && !shift.middle) {
        captured_ = nullptr;
        if (GetCapture() == Handle()) ReleaseCapture();
    }
    const IntRect at = target->DeviceRect();
    target->MouseUp(button, shift, x - at.left, y - at.top);
    if (button == TMouseButton::mbLeft && pressed_ == target) {
        pressed_ = nullptr;
        if (at.Contains(x, y)) target->Click();
    }
}

void TForm::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    SetHover(ControlAt(x, y));
    TControl* target = captured_ ? captured_ : hover_;
    if (!target) return;
    const IntRect at = target->DeviceRect();
    target->MouseMove(ShiftStateFromKeys(wParam), x - at.left, y - at.top);
}

void TForm::OnMouseLeave() {
    trackingLeave_ = false;
    SetHover(nullptr);
}

bool TForm::OnSetCursor() {
    if (!hover_) return false;
    const HCURSOR cursor = hover_->Cursor();
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
}

}  // namespace vh::win32
