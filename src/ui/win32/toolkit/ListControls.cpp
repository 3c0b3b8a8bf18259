#include "ui/win32/toolkit/ListControls.h"

#include <algorithm>
#include <optional>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "ui/DpiScale.h"
#include "ui/MainViewRules.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

COLORREF ToColorRef(RgbColor color) noexcept {
    return RGB(color.r, color.g, color.b);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) noexcept {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Text(HDC dc, const std::string& text, IntRect rect, UINT align) {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    const std::wstring wide = Utf8ToWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The columns are laid out in 96-DPI pixels like the header panels above them
// and scaled edge by edge, so they stay under their heads at any scale.
TRowColumns DeviceColumns(IntRect row, int nameHeaderWidth, int typeHeaderWidth, int dpi) noexcept {
    const TRowColumns design =
        RowColumns({0, 0, UnscaleFromDpi(row.Width(), dpi), 0}, nameHeaderWidth, typeHeaderWidth);
    const auto place = [&](IntRect r) {
        const IntRect scaled = ScaleRectToDpi(r, dpi);
        return IntRect{row.left + scaled.left, row.top, std::min(row.right, row.left + scaled.right), row.bottom};
    };
    return {place(design.name),     place(design.type),     place(design.time),
            place(design.nameText), place(design.typeText), place(design.timeText)};
}

}  // namespace

int TItemListBox::AddObject(const std::string& text, void* object) {
    const int index = AddItem(text);
    SendMessageW(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    return index;
}

void* TItemListBox::Object(int index) const noexcept {
    const LRESULT data = SendMessageW(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

void TItemListBox::DeleteItem(int index) noexcept {
    SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int TItemListBox::ItemIndex() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TItemListBox::SetItemIndex(int index) noexcept {
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TItemListBox::ItemAtPos(int x, int y) const noexcept {
    const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    // The high word is set when the point lies outside every row.
    if (HIWORD(hit) != 0) return -1;
    const int index = LOWORD(hit);
    return index < Count() ? index : -1;
}

TListChoice::TListChoice(const TItemListBox& list)
    : top_(static_cast<int>(SendMessageW(list.Handle(), LB_GETTOPINDEX, 0, 0))) {
    const int row = list.ItemIndex();
    if (const auto* entry = row >= 0 ? static_cast<const TMonitoredItem*>(list.Object(row)) : nullptr)
        entry_.emplace(entry->ItemType, entry->Name);
}

void TListChoice::RestoreIn(TItemListBox& list) const {
    SendMessageW(list.Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(top_), 0);
    if (!entry_) return;
    for (int row = 0; row < list.Count(); ++row) {
        const auto* entry = static_cast<const TMonitoredItem*>(list.Object(row));
        if (entry && entry->ItemType == entry_->first && entry->Name == entry_->second) {
            list.SetItemIndex(row);
            return;
        }
    }
}

TOwnerDrawComboBox::TOwnerDrawComboBox(TForm& form, int itemHeight)
    : TComboBox(form, CBS_OWNERDRAWFIXED), itemHeight_(itemHeight) {
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, Form().Scale(itemHeight_));
}

void TOwnerDrawComboBox::DpiChanged() {
    // The selection field (-1) and the rows take the height at the new scale.
    for (const WPARAM part : {static_cast<WPARAM>(-1), WPARAM{0}})
        SendMessageW(Handle(), CB_SETITEMHEIGHT, part, Form().Scale(itemHeight_));
    TComboBox::DpiChanged();
}

bool TOwnerDrawComboBox::DroppedDown() const noexcept {
    return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

bool TOwnerDrawComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!OnDrawItem) return false;
    OnDrawItem(*this, item);
    return true;
}

std::wstring ItemTextW(HWND control, UINT lengthMessage, UINT textMessage, UINT index) {
    const LRESULT length = SendMessageW(control, lengthMessage, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void DrawMonitoredRow(TItemListBox& list, const DRAWITEMSTRUCT& item, int nameHeaderWidth, int typeHeaderWidth) {
    const HDC dc = item.hDC;
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const IntRect row{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};

    const std::optional<RgbColor> background = RowBackground(index, selected);
    const COLORREF fill = background ? ToColorRef(*background) : GetSysColor(COLOR_HIGHLIGHT);
    UniqueBrush brush(CreateSolidBrush(fill));
    FillRect(dc, &item.rcItem, brush.Get());

    UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(kRowGridColor)));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    const TRowColumns columns = DeviceColumns(row, nameHeaderWidth, typeHeaderWidth, list.Form().Dpi());
    for (const IntRect& cell : {columns.name, columns.type}) Line(dc, cell.right, row.top, cell.right, row.bottom);
    if (index == list.Count() - 1) Line(dc, row.left, row.bottom - 1, row.right, row.bottom - 1);
    SelectObject(dc, oldPen);

    const auto* entry = index >= 0 ? static_cast<const TMonitoredItem*>(list.Object(index)) : nullptr;
    if (!entry) return;  // a blank filler row

    const std::optional<RgbColor> textColor = RowTextColor(selected, entry->Active);
    SetTextColor(dc, textColor  ? ToColorRef(*textColor)
                     : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                : GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    const TRowTexts texts = RowTexts(*entry);
    Text(dc, texts.name, columns.nameText, DT_LEFT);
    Text(dc, texts.type, columns.typeText, DT_CENTER);
    Text(dc, texts.time, columns.timeText, DT_CENTER);
}

}  // namespace vh::win32
