#pragma once
// The accessible object of a form's client area: its window-less controls as
// MSAA children (role, name, value, state, screen location, default action),
// which screen readers, magnifiers and test tools of any process read through
// WM_GETOBJECT. Native child controls keep the system's own objects.

#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include "ui/win32/toolkit/AccessibleObject.h"

namespace vh::win32 {

// Posted by the accessible object to its form: runs a control's default
// action from the form's own message loop.
inline constexpr UINT kAccessibleActionMessage = WM_APP + 0x3F1;

class TForm;
class TControl;

class TFormAccessible final : public TAccessibleObject<TFormAccessible> {
public:
    // The form keeps one reference and disconnects it when it goes; clients
    // holding more get CO_E_OBJNOTCONNECTED from then on.
    static Microsoft::WRL::ComPtr<TFormAccessible> Create(TForm& form);
    void Disconnect() noexcept { form_ = nullptr; }
    // The window whose client this is; null once disconnected.
    HWND Window() const noexcept;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT childId, IDispatch** child) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT childId, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT childId, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT childId, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT childId, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT childId, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT childId) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT childId) override;

private:
    friend class TAccessibleObject<TFormAccessible>;
    explicit TFormAccessible(TForm& form) noexcept : form_(&form) {}
    ~TFormAccessible() = default;
    // The control a child id names; nullptr for CHILDID_SELF. Fails with
    // E_INVALIDARG for an unknown id and CO_E_OBJNOTCONNECTED once the form
    // is gone.
    HRESULT Resolve(const VARIANT& childId, TControl*& control) const noexcept;

    TForm* form_;
};

}  // namespace vh::win32
