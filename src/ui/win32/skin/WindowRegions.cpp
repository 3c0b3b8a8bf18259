#include "ui/win32/skin/WindowRegions.h"

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {
namespace {

constexpr int kComboArrowWidth = 26;
constexpr int kCornerEllipse = 20;
constexpr int kEditInset = 5;

}  // namespace

void RoundWindowCorners(TForm& form, HWND control) {
    const int ellipse = form.Scale(kCornerEllipse);
    RECT client{};
    GetClientRect(control, &client);
    // The region leaves out its right and bottom edge: one more keeps the
    // window's last column and row.
    UniqueRegion region(CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, ellipse, ellipse));
    if (!region) throw Exception("CreateRoundRectRgn failed");
    if (SetWindowRgn(control, region.Get(), TRUE)) {
        static_cast<void>(region.Release());  // the window owns it now
    }
    if (IsEditControl(control)) {
        RECT text{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        InflateRect(&text, -form.Scale(kEditInset), -form.Scale(kEditInset));
        SendMessageW(control, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
    }
    InvalidateRect(control, nullptr, TRUE);
}

void ClipComboBoxArrow(HWND comboBox) {
    RECT client{};
    GetClientRect(comboBox, &client);
    const TForm* form = TForm::FromHandle(GetAncestor(comboBox, GA_ROOT));
    const int arrow = form ? form->Scale(kComboArrowWidth) : kComboArrowWidth;
    UniqueRegion region(CreateRectRgn(0, 0, client.right - arrow, client.bottom));
    if (!region) throw Exception("CreateRectRgn failed");
    if (SetWindowRgn(comboBox, region.Get(), TRUE)) static_cast<void>(region.Release());
}

}  // namespace vh::win32
