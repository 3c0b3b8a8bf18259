// The keyboard focus of a form: one Tab order over its native controls and
// the window-less controls a person can press, in reading order; Space and
// Enter press the focused window-less control, the context-menu key opens
// its menu; the focus cue is drawn once the keyboard has been used, as
// Windows shows its own.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/TabOrder.h"
#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

bool TForm::IsFocusable(const TControl& control) const noexcept {
    if (!control.Visible() || !control.Enabled() || control.Page) return false;
    try {
        // What a screen reader can press, a keyboard can: buttons, picture
        // buttons and links all name a default action.
        return !control.AccessibleInfo().defaultAction.empty();
    } catch (...) {
        return false;
    }
}

TControl* TForm::FocusedControl() const noexcept {
    return focus_ && Handle() && GetFocus() == Handle() && IsFocusable(*focus_) ? focus_ : nullptr;
}

void TForm::FocusControl(TControl& control) {
    if (!IsFocusable(control)) return;
    TControl* previous = focus_;
    focus_ = &control;
    if (Handle() && GetFocus() != Handle()) ::SetFocus(Handle());
    if (previous && previous != focus_) InvalidateFocusCue(*previous);
    InvalidateFocusCue(*focus_);
    NotifyAccessibleChange(EVENT_OBJECT_FOCUS, *focus_);
}

void TForm::FocusNext(bool backwards) {
    // A Tab shows the cue from now on, as in Windows' own dialogs.
    focusCue_ = true;
    std::vector<TWinControl*> natives;
    std::vector<TControl*> windowless;
    std::vector<IntRect> bounds;
    for (TWinControl* control : tabList_.Items()) {
        if (!control->TabStop || !control->CanFocus()) continue;
        natives.push_back(control);
        bounds.push_back(control->BoundsRect());
    }
    for (const auto& control : controls_) {
        if (!IsFocusable(*control)) continue;
        windowless.push_back(control.get());
        bounds.push_back(control->BoundsRect());
    }
    if (bounds.empty()) return;
    const std::vector<std::size_t> order = ReadingOrder(bounds);
    auto nativeAt = [&](std::size_t i) { return i < natives.size() ? natives[i] : nullptr; };
    auto windowlessAt = [&](std::size_t i) { return i >= natives.size() ? windowless[i - natives.size()] : nullptr; };

    const HWND focus = GetFocus();
    TControl* focusedWindowless = FocusedControl();
    const auto current = std::find_if(order.begin(), order.end(), [&](std::size_t i) {
        if (TWinControl* native = nativeAt(i)) return native->Handle() == focus || IsChild(native->Handle(), focus);
        return windowlessAt(i) == focusedWindowless && focusedWindowless != nullptr;
    });
    std::size_t at = 0;
    if (current != order.end()) {
        const auto position = static_cast<std::size_t>(current - order.begin());
        at = backwards ? (position + order.size() - 1) % order.size() : (position + 1) % order.size();
    } else if (backwards) {
        at = order.size() - 1;
    }
    const std::size_t next = order[at];
    if (TWinControl* native = nativeAt(next)) {
        if (focus_) InvalidateFocusCue(*focus_);
        SetActiveControl(native);
    } else {
        FocusControl(*windowlessAt(next));
    }
}

bool TForm::PressFocusedControl(const MSG& message) {
    if (message.hwnd != Handle() || (message.wParam != VK_SPACE && message.wParam != VK_RETURN)) return false;
    TControl* control = FocusedControl();
    if (!control) return false;
    focusCue_ = true;
    control->Click();
    return true;
}

bool TForm::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    // The keyboard's (the context-menu key, Shift+F10) has no point: -1, -1.
    const bool fromKeyboard = GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
    return reinterpret_cast<HWND>(wParam) == Handle() && fromKeyboard && OpenFocusedMenu();
}

bool TForm::OpenFocusedMenu() {
    TControl* control = FocusedControl();
    if (!control || !control->OpensMenu) return false;
    focusCue_ = true;
    control->Click();
    return true;
}

void TForm::FocusChanged() noexcept {
    if (focus_) InvalidateFocusCue(*focus_);
}

void TForm::InvalidateFocusCue(const TControl& control) const noexcept {
    // The ring lies outside the control: at most four 96-DPI pixels.
    const IntRect bounds = control.BoundsRect();
    InvalidateRect({bounds.left - 4, bounds.top - 4, bounds.right + 4, bounds.bottom + 4});
}

void TForm::SetFocusCueColor(COLORREF color) noexcept {
    focusCueColor_ = color;
    if (focus_) InvalidateFocusCue(*focus_);
}

void TForm::PaintFocusCue(TBitmap32& target) const noexcept {
    const TControl* control = focusCue_ ? FocusedControl() : nullptr;
    if (!control || target.Empty()) return;
    // A ring just outside the control,
    // two pixels wide at 96 DPI and as wide again at every step up.
    const int gap = std::max(1, Scale(1));
    const int width = std::max(2, Scale(2));
    const IntRect inner = control->DeviceRect();
    const IntRect outer{inner.left - gap - width, inner.top - gap - width, inner.right + gap + width,
                        inner.bottom + gap + width};
    const IntRect hole{inner.left - gap, inner.top - gap, inner.right + gap, inner.bottom + gap};
    const std::uint32_t pixel = PixelFromColorRef(focusCueColor_.value_or(GetSysColor(COLOR_HIGHLIGHT)));
    const IntSize size = target.Size();
    std::span<std::uint32_t> pixels = target.Pixels();
    for (int y = std::max(0, outer.top); y < std::min(size.height, outer.bottom); ++y) {
        for (int x = std::max(0, outer.left); x < std::min(size.width, outer.right); ++x) {
            if (!hole.Contains(x, y)) pixels[static_cast<std::size_t>(y) * size.width + x] = pixel;
        }
    }
}

}  // namespace vh::win32
