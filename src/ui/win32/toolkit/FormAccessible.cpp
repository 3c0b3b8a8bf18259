#include "ui/win32/toolkit/FormAccessible.h"

#include <oleauto.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <string>

#include "platform/win32/Utf16.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

long SystemRole(TAccessibleRole role) noexcept {
    switch (role) {
        case TAccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
        case TAccessibleRole::Text: return ROLE_SYSTEM_TEXT;
        case TAccessibleRole::Link: return ROLE_SYSTEM_LINK;
        case TAccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
        case TAccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
        case TAccessibleRole::None: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

// The form's own visible native children (edits, lists, boxes) in the order
// the system keeps them. They follow the window-less controls in the tree,
// each as the system's object for its window, as a standard client's
// children are; a screen reader walking the tree meets them there.
std::vector<HWND> NativeChildren(HWND form) noexcept {
    std::vector<HWND> children;
    try {
        for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child)) children.push_back(child);
    } catch (...) {
        children.clear();  // out of memory: none rather than some
    }
    return children;
}

}  // namespace

Microsoft::WRL::ComPtr<TFormAccessible> TFormAccessible::Create(TForm& form) {
    // COM objects own themselves: the last Release deletes them.
    Microsoft::WRL::ComPtr<TFormAccessible> object;
    object.Attach(new TFormAccessible(form));
    return object;
}

HRESULT TFormAccessible::Resolve(const VARIANT& childId, TControl*& control) const noexcept {
    control = nullptr;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    if (childId.vt != VT_I4) return E_INVALIDARG;
    if (childId.lVal == CHILDID_SELF) return S_OK;
    control = form_->AccessibleChild(childId.lVal);
    return control ? S_OK : E_INVALIDARG;
}

HWND TFormAccessible::Window() const noexcept {
    return form_ ? form_->Handle() : nullptr;
}

HRESULT TFormAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (!form_) return CO_E_OBJNOTCONNECTED;
    *count = form_->AccessibleChildCount() + static_cast<long>(NativeChildren(form_->Handle()).size());
    return S_OK;
}

HRESULT TFormAccessible::get_accChild(VARIANT childId, IDispatch** child) {
    if (!child) return E_POINTER;
    *child = nullptr;
    if (form_ && childId.vt == VT_I4 && childId.lVal > form_->AccessibleChildCount()) {
        const std::vector<HWND> natives = NativeChildren(form_->Handle());
        const auto index = static_cast<std::size_t>(childId.lVal - form_->AccessibleChildCount() - 1);
        if (index >= natives.size()) return E_INVALIDARG;
        return AccessibleObjectFromWindow(natives[index], static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(child));
    }
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    // Window-less controls are simple elements of this object.
    return S_FALSE;
}

HRESULT TFormAccessible::get_accName(VARIANT childId, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    try {
        return AccessibleText(control ? control->AccessibleInfo().name : form_->Caption(), name);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TFormAccessible::get_accValue(VARIANT childId, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    if (!control) return DISP_E_MEMBERNOTFOUND;
    try {
        const TAccessibleInfo info = control->AccessibleInfo();
        if (!info.hasValue) return DISP_E_MEMBERNOTFOUND;
        return AccessibleText(info.value, value);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TFormAccessible::get_accRole(VARIANT childId, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    role->vt = VT_I4;
    try {
        role->lVal = control ? SystemRole(control->AccessibleInfo().role) : ROLE_SYSTEM_CLIENT;
    } catch (...) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT TFormAccessible::get_accState(VARIANT childId, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    long flags = 0;
    if (control) {
        if (!control->Visible() || control->Page) flags |= STATE_SYSTEM_INVISIBLE;
        if (!control->Enabled()) flags |= STATE_SYSTEM_UNAVAILABLE;
        try {
            const TAccessibleRole role = control->AccessibleInfo().role;
            if (role == TAccessibleRole::StaticText || role == TAccessibleRole::Text) flags |= STATE_SYSTEM_READONLY;
            if (role == TAccessibleRole::Link) flags |= STATE_SYSTEM_LINKED;
            if (form_->IsFocusable(*control)) flags |= STATE_SYSTEM_FOCUSABLE;
            if (form_->FocusedControl() == control) flags |= STATE_SYSTEM_FOCUSED;
        } catch (...) {
            return E_FAIL;
        }
    } else if (!form_->Visible()) {
        flags |= STATE_SYSTEM_INVISIBLE;
    }
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
}

HRESULT TFormAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    // The focused window-less control, or the form itself while its window
    // has the focus; a native child answers for itself.
    if (const TControl* control = form_->FocusedControl()) {
        child->vt = VT_I4;
        child->lVal = form_->AccessibleChildId(*control);
        return S_OK;
    }
    if (form_->Handle() && GetFocus() == form_->Handle()) {
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }
    return S_FALSE;
}

HRESULT TFormAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    return form_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT TFormAccessible::get_accDefaultAction(VARIANT childId, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    if (!control) return S_FALSE;
    try {
        return AccessibleText(control->AccessibleInfo().defaultAction, action);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TFormAccessible::accSelect(long, VARIANT) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TFormAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT childId) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    RECT rect{};
    if (control) {
        const IntRect device = control->DeviceRect();
        rect = {device.left, device.top, device.right, device.bottom};
    } else {
        GetClientRect(form_->Handle(), &rect);
    }
    MapWindowPoints(form_->Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT TFormAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(start, control); FAILED(hr)) return hr;
    long count = 0;
    get_accChildCount(&count);
    long next = 0;
    if (IsChildSelf(start)) {
        if (direction == NAVDIR_FIRSTCHILD) next = count > 0 ? 1 : 0;
        if (direction == NAVDIR_LASTCHILD) next = count;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) {
        next = start.lVal < count ? start.lVal + 1 : 0;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) {
        next = start.lVal > 1 ? start.lVal - 1 : 0;
    }
    if (next == 0) return S_FALSE;
    if (next > form_->AccessibleChildCount()) {
        // A native child: its own object, as get_accChild gives it.
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = next;
        IDispatch* object = nullptr;
        if (get_accChild(id, &object) != S_OK || !object) return S_FALSE;
        end->vt = VT_DISPATCH;
        end->pdispVal = object;
        return S_OK;
    }
    end->vt = VT_I4;
    end->lVal = next;
    return S_OK;
}

HRESULT TFormAccessible::accHitTest(long left, long top, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!form_) return CO_E_OBJNOTCONNECTED;
    POINT point{left, top};
    ScreenToClient(form_->Handle(), &point);
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = form_->AccessibleChildAt(point.x, point.y);
    return S_OK;
}

HRESULT TFormAccessible::accDoDefaultAction(VARIANT childId) {
    TControl* control = nullptr;
    if (const HRESULT hr = Resolve(childId, control); FAILED(hr)) return hr;
    if (!control) return DISP_E_MEMBERNOTFOUND;
    try {
        if (control->AccessibleInfo().defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    } catch (...) {
        return E_FAIL;
    }
    // Posted: the click may run a modal loop or close the form, which must
    // not happen inside a client's call.
    return form_->PostAccessibleDefaultAction(childId.lVal) ? S_OK : E_FAIL;
}

// ---- the form's side: its window-less controls as the tree's children ----

LRESULT TForm::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !accessible_) return 0;
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(accessible_.Get()));
}

namespace {

// The window-less controls in the accessible tree, in z-order: child id i is
// the i-th (from 1).
std::vector<TControl*> AccessibleControls(const std::vector<std::unique_ptr<TControl>>& controls) noexcept {
    std::vector<TControl*> result;
    try {
        for (const auto& control : controls) {
            if (control->AccessibleInfo().role != TAccessibleRole::None) result.push_back(control.get());
        }
    } catch (...) {
        // Out of memory: the tree is empty rather than half.
        result.clear();
    }
    return result;
}

}  // namespace

long TForm::AccessibleChildCount() const noexcept {
    return static_cast<long>(AccessibleControls(controls_).size());
}

TControl* TForm::AccessibleChild(long childId) const noexcept {
    const std::vector<TControl*> tree = AccessibleControls(controls_);
    return childId >= 1 && childId <= static_cast<long>(tree.size()) ? tree[static_cast<std::size_t>(childId - 1)]
                                                                     : nullptr;
}

long TForm::AccessibleChildId(const TControl& control) const noexcept {
    const std::vector<TControl*> tree = AccessibleControls(controls_);
    const auto it = std::find(tree.begin(), tree.end(), &control);
    return it == tree.end() ? 0 : static_cast<long>(it - tree.begin()) + 1;
}

long TForm::AccessibleChildAt(int x, int y) const noexcept {
    const std::vector<TControl*> tree = AccessibleControls(controls_);
    // The topmost wins: later controls lie above earlier ones.
    for (std::size_t i = tree.size(); i-- > 0;) {
        const TControl& control = *tree[i];
        if (control.Visible() && !control.Page && control.DeviceRect().Contains(x, y)) return static_cast<long>(i) + 1;
    }
    return 0;
}

bool TForm::PostAccessibleDefaultAction(long childId) const noexcept {
    return Handle() && PostMessageW(Handle(), kAccessibleActionMessage, static_cast<WPARAM>(childId), 0);
}

void TForm::OnAccessibleDefaultAction(long childId) {
    TControl* control = AccessibleChild(childId);
    if (control && control->Visible() && control->Enabled()) control->Click();
}

void TForm::NotifyAccessibleChange(DWORD event, const TControl& control) const noexcept {
    // A hidden window's changes concern no client: its tree is read afresh
    // when it shows.
    if (!Visible()) return;
    if (const long id = AccessibleChildId(control)) NotifyWinEvent(event, Handle(), OBJID_CLIENT, id);
}

}  // namespace vh::win32
