#include "ui/win32/toolkit/ButtonControls.h"

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "ui/DpiScale.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

// The caption's width in the control's font, device pixels.
int CaptionWidth(HWND window) {
    const std::wstring text = Utf8ToWide(WindowTextUtf8(window));
    const ClientDc dc(window);
    if (!dc.Get()) return 0;
    // The font belongs to the form and outlives the selection.
    const ScopedSelect font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

TCheckBox::TCheckBox(TForm& form) : TWinControl(form, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP) {}

bool TCheckBox::Checked() const noexcept {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) noexcept {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TCheckBox::FittingWidth() const {
    // The box, the gap after it and the caption.
    return 20 + UnscaleFromDpi(CaptionWidth(Handle()), Form().Dpi()) + 2;
}

void TCheckBox::Command(WORD code) {
    if (code == BN_CLICKED && OnChange) OnChange(*this);
}

TPushButton::TPushButton(TForm& form) : TWinControl(form, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP) {}

void TPushButton::WidenToCaption(int margin) {
    const IntRect bounds = BoundsRect();
    const int wanted = UnscaleFromDpi(CaptionWidth(Handle()), Form().Dpi()) + 2 * margin;
    if (wanted > bounds.Width()) SetBounds(bounds.left, bounds.top, wanted, bounds.Height());
}

void TPushButton::Command(WORD code) {
    if (code == BN_CLICKED && OnClick) OnClick(*this);
}

}  // namespace vh::win32
