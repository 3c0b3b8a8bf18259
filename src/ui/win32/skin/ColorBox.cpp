#include "ui/win32/skin/ColorBox.h"

#include <commdlg.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "ui/ColorBoxItems.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

constexpr int kItemHeight = 16;
constexpr int kSwatchWidth = 22;

TColorDialogRunner& ColorDialogOverride() {
    static TColorDialogRunner runner;
    return runner;
}

}  // namespace

std::optional<COLORREF> RunColorDialog(HWND owner, COLORREF initial) {
    if (ColorDialogOverride()) return ColorDialogOverride()(owner, initial);
    static COLORREF customColors[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = initial;
    choose.lpCustColors = customColors;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorW(&choose)) return std::nullopt;
    return choose.rgbResult;
}

void SetColorDialogForTesting(TColorDialogRunner runner) {
    ColorDialogOverride() = std::move(runner);
}

TColorBox::TColorBox(TForm& form) : TComboBox(form, CBS_OWNERDRAWFIXED) {
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, Form().Scale(kItemHeight));
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Form().Scale(kItemHeight));
    for (const TColorBoxItem& item : ColorBoxItems()) AddItem(item.Name);
    SelectColor(0);
}

COLORREF TColorBox::Selected() const noexcept {
    const int index = ItemIndex();
    if (index <= 0) return custom_;
    return static_cast<COLORREF>(ColorBoxItems()[static_cast<std::size_t>(index)].Color);
}

void TColorBox::SelectColor(COLORREF color) {
    const int index = ColorBoxIndexOf(color);
    if (index == 0) custom_ = color;
    shown_ = index;
    SetItemIndex(index);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TColorBox::Command(WORD code) {
    if (code != CBN_SELCHANGE) return;
    if (ItemIndex() == 0) {
        const std::optional<COLORREF> chosen = RunColorDialog(Form().Handle(), Selected());
        if (!chosen) {
            SetItemIndex(shown_);
            return;
        }
        // A named colour chosen in the dialog is shown by its name.
        SelectColor(*chosen);
    } else {
        shown_ = ItemIndex();
    }
    if (OnSelect) OnSelect(*this);
}

bool TColorBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return true;
    const auto index = static_cast<std::size_t>(item.itemID);
    const COLORREF swatchColor = index == 0 ? custom_ : static_cast<COLORREF>(ColorBoxItems()[index].Color);

    const int inset = Form().Scale(2);
    RECT swatch{item.rcItem.left + inset, item.rcItem.top + inset,
                item.rcItem.left + inset + Form().Scale(kSwatchWidth), item.rcItem.bottom - inset};
    UniqueBrush brush(CreateSolidBrush(swatchColor));
    FillRect(dc, &swatch, brush.Get());
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_WINDOWTEXT));

    RECT text = item.rcItem;
    text.left = swatch.right + Form().Scale(4);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring name = Utf8ToWide(ColorBoxItems()[index].Name);
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    return true;
}

}  // namespace vh::win32
