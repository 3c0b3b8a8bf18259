#include "ui/win32/toolkit/ListAccessible.h"

#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

Microsoft::WRL::ComPtr<TListAccessible> TListAccessible::Create(TListBox& list) {
    // COM objects own themselves: the last Release deletes them.
    Microsoft::WRL::ComPtr<TListAccessible> object;
    object.Attach(new TListAccessible(list));
    return object;
}

HRESULT TListAccessible::Resolve(const VARIANT& childId, int& row) const noexcept {
    row = -1;
    if (!list_ || !list_->Handle()) return CO_E_OBJNOTCONNECTED;
    if (childId.vt != VT_I4) return E_INVALIDARG;
    if (childId.lVal == CHILDID_SELF) return S_OK;
    if (childId.lVal < 1 || childId.lVal > list_->Count()) return E_INVALIDARG;
    row = static_cast<int>(childId.lVal - 1);
    return S_OK;
}

int TListAccessible::SelectedRow() const noexcept {
    return static_cast<int>(SendMessageW(list_->Handle(), LB_GETCURSEL, 0, 0));
}

HWND TListAccessible::Window() const noexcept {
    return list_ ? list_->Handle() : nullptr;
}

HRESULT TListAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (!list_) return CO_E_OBJNOTCONNECTED;
    *count = list_->Count();
    return S_OK;
}

HRESULT TListAccessible::get_accChild(VARIANT childId, IDispatch** child) {
    if (!child) return E_POINTER;
    *child = nullptr;
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    // Rows are simple elements of this object.
    return S_FALSE;
}

HRESULT TListAccessible::get_accName(VARIANT childId, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    if (row < 0) return S_FALSE;  // the list is named by its label, as the window object tells
    try {
        return AccessibleText(list_->AccessibleNameOfRow(row), name);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TListAccessible::get_accValue(VARIANT childId, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TListAccessible::get_accRole(VARIANT childId, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    role->vt = VT_I4;
    role->lVal = row < 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
    return S_OK;
}

HRESULT TListAccessible::get_accState(VARIANT childId, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    const HWND window = list_->Handle();
    const bool focused = GetFocus() == window;
    long flags = 0;
    if (!IsWindowVisible(window)) flags |= STATE_SYSTEM_INVISIBLE;
    if (!IsWindowEnabled(window)) flags |= STATE_SYSTEM_UNAVAILABLE;
    if (row < 0) {
        flags |= STATE_SYSTEM_FOCUSABLE;
        if (focused) flags |= STATE_SYSTEM_FOCUSED;
    } else {
        try {
            if (list_->AccessibleNameOfRow(row).empty()) flags |= STATE_SYSTEM_INVISIBLE;
            if (list_->RowChecked && list_->RowChecked(row)) flags |= STATE_SYSTEM_CHECKED;
        } catch (...) {
            return E_FAIL;
        }
        flags |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (row == SelectedRow())
            flags |= focused ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : STATE_SYSTEM_SELECTED;
        RECT item{};
        RECT client{};
        GetClientRect(window, &client);
        if (SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) == LB_ERR ||
            item.bottom <= client.top || item.top >= client.bottom)
            flags |= STATE_SYSTEM_OFFSCREEN;
    }
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
}

HRESULT TListAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!list_) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != list_->Handle()) return S_FALSE;
    const int row = SelectedRow();
    child->vt = VT_I4;
    child->lVal = row >= 0 ? row + 1 : CHILDID_SELF;
    return S_OK;
}

HRESULT TListAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    if (!list_) return CO_E_OBJNOTCONNECTED;
    const int row = SelectedRow();
    if (row < 0) return S_FALSE;
    children->vt = VT_I4;
    children->lVal = row + 1;
    return S_OK;
}

HRESULT TListAccessible::get_accDefaultAction(VARIANT childId, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    return S_FALSE;
}

HRESULT TListAccessible::accSelect(long flags, VARIANT childId) {
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    if (row < 0) return E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) SetFocus(list_->Handle());
    if (flags & SELFLAG_TAKESELECTION) {
        SendMessageW(list_->Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        // As a click would: the owner hears of the change.
        SendMessageW(GetParent(list_->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list_->Handle()), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list_->Handle()));
    }
    return S_OK;
}

HRESULT TListAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT childId) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    const HWND window = list_->Handle();
    RECT rect{};
    if (row < 0) {
        GetClientRect(window, &rect);
    } else if (SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) ==
               LB_ERR) {
        return E_FAIL;
    }
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT TListAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    int row = -1;
    if (const HRESULT hr = Resolve(start, row); FAILED(hr)) return hr;
    const long count = list_->Count();
    long next = 0;
    if (row < 0) {
        if (direction == NAVDIR_FIRSTCHILD && count > 0) next = 1;
        if (direction == NAVDIR_LASTCHILD) next = count;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        next = row + 1 < count ? row + 2 : 0;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        next = row;  // the row above's id
    }
    if (next == 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = next;
    return S_OK;
}

HRESULT TListAccessible::accHitTest(long left, long top, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!list_) return CO_E_OBJNOTCONNECTED;
    const HWND window = list_->Handle();
    POINT point{left, top};
    ScreenToClient(window, &point);
    RECT client{};
    GetClientRect(window, &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    const LRESULT hit = SendMessageW(window, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    child->vt = VT_I4;
    // The high word is set when the point lies below the last row.
    child->lVal = HIWORD(hit) == 0 && LOWORD(hit) < list_->Count() ? LOWORD(hit) + 1 : CHILDID_SELF;
    return S_OK;
}

HRESULT TListAccessible::accDoDefaultAction(VARIANT childId) {
    int row = -1;
    if (const HRESULT hr = Resolve(childId, row); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace vh::win32
