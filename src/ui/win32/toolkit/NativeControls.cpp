#include "ui/win32/toolkit/NativeControls.h"

#include <algorithm>
#include <climits>
#include <cwctype>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/DpiScale.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"
#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/ListAccessible.h"

namespace vh::win32 {
namespace {

constexpr wchar_t kObjectProperty[] = L"VornhaltControl";

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t actual[64] = {};
    return window && GetClassNameW(window, actual, 64) && _wcsicmp(actual, name) == 0;
}

}  // namespace

void TTabList::Insert(TWinControl& control, int position) {
    Remove(control);
    const auto at = static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(items_.size())));
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), &control);
}

void TTabList::Remove(const TWinControl& control) noexcept {
    std::erase(items_, &control);
}

int TTabList::IndexOf(const TWinControl& control) const noexcept {
    const auto it = std::find(items_.begin(), items_.end(), &control);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool IsEditControl(HWND window) {
    return HasClass(window, L"Edit");
}
bool IsComboBox(HWND window) {
    return HasClass(window, L"ComboBox");
}

TWinControl::TWinControl(TForm& form, const wchar_t* className, DWORD style, DWORD exStyle) : form_(form) {
    window_.Reset(CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 100,
                                  21, form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_) throw Exception("A native control could not be created");
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form.NativeFont()), FALSE);
    MoveToTabList(form.TabList());
}

TWinControl::~TWinControl() {
    if (tabList_) tabList_->Remove(*this);
    if (!window_) return;
    if (original_) {
        SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(window_.Get(), kObjectProperty);
    }
}

int TWinControl::TabOrder() const noexcept {
    return tabList_ ? tabList_->IndexOf(*this) : -1;
}

void TWinControl::SetTabOrder(int order) {
    VH_ASSERT(tabList_ != nullptr);
    tabList_->Insert(*this, order);
}

void TWinControl::MoveToTabList(TTabList& list) {
    if (tabList_) tabList_->Remove(*this);
    tabList_ = &list;
    list.Insert(*this, INT_MAX);
}

IntRect TWinControl::BoundsRect() const noexcept {
    RECT rect{};
    if (!Handle()) return {};
    GetWindowRect(Handle(), &rect);
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&rect), 2);
    const int dpi = form_.Dpi();
    return {UnscaleFromDpi(rect.left, dpi), UnscaleFromDpi(rect.top, dpi), UnscaleFromDpi(rect.right, dpi),
            UnscaleFromDpi(rect.bottom, dpi)};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bounds_ = {left, top, left + width, top + height};
    const IntRect device = ScaleRectToDpi(bounds_, form_.Dpi());
    SetWindowPos(Handle(), nullptr, device.left, device.top, device.Width(), device.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::DpiChanged() {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form_.NativeFont()), TRUE);
    SetBounds(bounds_.left, bounds_.top, bounds_.Width(), bounds_.Height());
}

bool TWinControl::Visible() const noexcept {
    return Handle() && (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE);
}
void TWinControl::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}
bool TWinControl::Enabled() const noexcept {
    return Handle() && IsWindowEnabled(Handle());
}
void TWinControl::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled);
}
bool TWinControl::CanFocus() const noexcept {
    return Visible() && Enabled();
}
void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

std::string WindowTextUtf8(HWND window) {
    if (!window) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

std::string TWinControl::Text() const {
    return WindowTextUtf8(Handle());
}

void TWinControl::SetText(const std::string& text) {
    SetWindowTextW(Handle(), Utf8ToWide(text).c_str());
}

void TWinControl::Command(WORD code) {
    if ((code == EN_CHANGE || code == LBN_SELCHANGE || code == CBN_SELCHANGE) && OnChange) OnChange(*this);
}

void TWinControl::Subclass() {
    if (original_) return;  // already: a second time would call itself
    SetPropW(Handle(), kObjectProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
}

LRESULT TWinControl::SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(message, wParam, lParam);
}

LRESULT TWinControl::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, Handle(), message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* control = static_cast<TWinControl*>(GetPropW(window, kObjectProperty));
    if (!control) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = control->original_;
        RemovePropW(window, kObjectProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        control->original_ = nullptr;
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    try {
        return control->SubclassedProc(message, wParam, lParam);
    } catch (...) {
        HandleCurrentException("TWinControl.SubclassProc");
    }
    return 0;
}

TEdit::TEdit(TForm& form) : TWinControl(form, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE) {}

TMaskEdit::TMaskEdit(TForm& form) : TWinControl(form, L"Edit", WS_TABSTOP, WS_EX_CLIENTEDGE) {
    SetText("00:00");
    Subclass();
}

LRESULT TMaskEdit::SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        const auto ch = static_cast<wchar_t>(wParam);
        if (ch == L'\b' || ch < L' ') return ch == L'\b' ? 0 : CallOriginal(message, wParam, lParam);
        if (!std::iswdigit(ch)) {
            MessageBeep(MB_OK);
            return 0;
        }
        DWORD start = 0;
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        if (start == 2) start = 3;  // the colon stays
        if (start >= 5) {
            MessageBeep(MB_OK);
            return 0;
        }
        const wchar_t replacement[2] = {ch, 0};
        SendMessageW(Handle(), EM_SETSEL, start, start + 1);
        CallOriginal(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement));
        const DWORD next = start + 1 == 2 ? 3 : start + 1;
        SendMessageW(Handle(), EM_SETSEL, next, next);
        return 0;
    }
    if (message == WM_PASTE || message == WM_CUT || message == WM_CLEAR) return 0;
    return CallOriginal(message, wParam, lParam);
}

TMemo::TMemo(TForm& form)
    : TWinControl(form, L"Edit", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                  WS_EX_CLIENTEDGE) {}

TListBox::TListBox(TForm& form, bool ownerDraw)
    : TWinControl(form, L"ListBox",
                  WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                      (ownerDraw ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0),
                  WS_EX_CLIENTEDGE),
      accessible_(TListAccessible::Create(*this)) {
    Subclass();
}

TListBox::~TListBox() {
    accessible_->Disconnect();
}

std::string TListBox::AccessibleNameOfRow(int row) const {
    if (row < 0 || row >= Count()) return {};
    return AccessibleRowName ? AccessibleRowName(row) : Item(row);
}

LRESULT TListBox::SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT)
        return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(accessible_.Get()));
    return TWinControl::SubclassedProc(message, wParam, lParam);
}

int TListBox::Count() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

std::string TListBox::Item(int index) const {
    VH_ASSERT(index >= 0 && index < Count());
    const auto length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
    return WideToUtf8(text);
}

int TListBox::AddItem(const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    const auto index = SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0) throw Exception("A list item could not be added");
    return static_cast<int>(index);
}

void TListBox::Clear() noexcept {
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemHeight() const noexcept {
    return UnscaleFromDpi(static_cast<int>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0)), Form().Dpi());
}

void TListBox::SetItemHeight(int height) {
    itemHeight_ = height;
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(Form().Scale(height), 0));
}

void TListBox::DpiChanged() {
    TWinControl::DpiChanged();
    if (itemHeight_ > 0) SetItemHeight(itemHeight_);
}

bool TListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!OnDrawItem) return false;
    OnDrawItem(*this, item);
    return true;
}

void TListBox::BeginUpdate() noexcept {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListBox::EndUpdate() noexcept {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

TComboBox::TComboBox(TForm& form, DWORD extraStyle)
    : TWinControl(form, L"ComboBox", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS | extraStyle) {}

int TComboBox::AddItem(const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    const auto index = SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0) throw Exception("A combo box item could not be added");
    return static_cast<int>(index);
}

std::string TComboBox::Item(int index) const {
    const auto length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) throw Exception("Combo box item index out of range");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return WideToUtf8(text);
}

int TComboBox::WidestItem() const {
    const ClientDc screen(Handle());
    const ScopedSelect font(screen.Get(), Form().NativeFont());
    int widest = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::wstring text = Utf8ToWide(Item(i));
        SIZE size{};
        GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    return UnscaleFromDpi(widest, Form().Dpi()) + 1;
}

int TComboBox::Count() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}
int TComboBox::ItemIndex() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}
void TComboBox::SetItemIndex(int index) noexcept {
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
void TComboBox::DropDown() noexcept {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, TRUE, 0);
}

}  // namespace vh::win32
